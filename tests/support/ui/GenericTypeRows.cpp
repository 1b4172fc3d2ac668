// The window system's classes of the document numbering (see support/GenericTypeRows.h).
#include "support/GenericTypeRows.h"

#include "graphics/Color.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextStyle.h"

namespace {

SmartRef<TextStyle> MakeStyle() { return new TextStyle(2, 14, kAlignCenter, Color(7), Color(0)); }

const GenericTypeRows uiRows{
    // The style goes in as an object of its own, after the text.
    {34, [] { return SmartRef<Smart>(new StyledText("Bonjour", 7, MakeStyle())); }},
    {35, [] { return SmartRef<Smart>(MakeStyle()); }},
};

}  // namespace
