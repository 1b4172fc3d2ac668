// The web library's classes of the document numbering (see support/GenericTypeRows.h).
#include "support/GenericTypeRows.h"

#include "core/String.h"
#include "core/Text1252.h"
#include "web/html/LinkHREF.h"

namespace {

const GenericTypeRows webRows{
    {36, [] { return SmartRef<Smart>(new LinkHREF(String("http://exemple.org/jeux/"), String("Mes jeux été"_cp))); }},
};

}  // namespace
