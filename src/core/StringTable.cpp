// The program's string table: every numbered text, exactly as the program shows it.
#include "core/Text1252.h"
#include "platform/kernel/StringTable.h"

namespace {

constexpr StringTableEntry kStrings[] = {
    {128, "%1 %2 %3 %4"_cp},
    {129, "%1\n  (Erreur numéro %2, code : %3%4)"_cp},
    {130, "Erreur numéro : %2 %3 \"%1\""_cp},
    {131, "Fichier de données standard manquant. Réinstaller le programme."_cp},
    {190, "Veux-tu enregistrer  \"%1\" avant de le fermer ?"_cp},
    {191, "Ce fichier est corrompu ou de format obsolète. Il se peut que certaines informations aient été récupérées."_cp},
    {192, "Fichier de format obsolète.Enregistrer le document dans un nouveau fichier."_cp},
    {193, "Certaines données n'ont pu être lues car ce fichier a été créé dans une application plus récente. Mettre à jour le programme."_cp},
    {194, "Erreur de lecture de la version %1 %2.  %3 trop d'octets lus."_cp},
    {195, "Erreur de lecture de la version %1 %2. %3 trop d'octets lus."_cp},
    {196, "Le fichier lu correspond au fichier ou dossier  \"%1\", qui ne peut être trouvé. Veux-tu le chercher toi-même ?"_cp},
    {199, "Le format de ce son est obsolète et ne peut être lu. Supprime-le et ajoute-le à nouveau."_cp},
    {201, "Terminé !"_cp},
    {202, "Impossible de trouver le dossier \"%1\". \nEssaie de réinstaller le programme."_cp},
    {203, "Impossible de créer un lien à ce fichier"_cp},
    {204, "Le fichier %1 est corrompu.\nVeux-tu le supprimer maintenant ?"_cp},
    {205, "La suppression du fichier a échoué.\nIl se peut que le fichier soit protégé en écriture."_cp},
};

// Registered before the program's entry point, as resources are there before any code runs.
[[maybe_unused]] const bool gRegistered = (platform::RegisterStringTable(kStrings), true);

}  // namespace
