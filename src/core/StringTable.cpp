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
    // The engine's texts (its resource set starts at 400).
    {400, "Il n'y a pas assez de mémoire pour faire fonctionner Quillory.\nFerme d'autres programmes, puis essaie à nouveau."_cp},
    {401, "La mémoire est un peu juste pour ce nombre de couleurs d'écran : Quillory risque d'être lent.\nClique sur OK pour continuer ou sur Annuler pour arrêter."_cp},
    // The application's texts (its resource set starts at 1000).
    {1000, "Projets"_cp},
    {1001, "Vignette"_cp},
    {1002, "Fonds"_cp},
    {1004, "Exemples"_cp},
    {1005, "HTML"_cp},
    {1006, "Separat"_cp},
    {1009, "Sitessym"_cp},
    {1010, "Clubskid"_cp},
    {1011, "index"_cp},
    {1012, "Projet"_cp},
    // The folder of ready-made link buttons.
    {1013, "Liens"_cp},
    {1019, "<BODY BGCOLOR=\"#ffffff\"><CENTER>"_cp},
    {1021, "</ADDRESS> <HR></BODY>"_cp},
    {1025, "Félicitations ! Ton site a été transféré sur le Web. Tu peux visualiser \"%1\" par le biais de ton explorateur."_cp},
    {1026, "Quillory va publier ton projet sur le Web où quiconque pourra le regarder.\nPour vérifier que tes pages ne contiennent pas d'informations personnelles (téléphone, adresse ou nom de famille), clique sur \"Annuler\". Pour continuer, clique sur \"OK\"."_cp},
    {1027, "Sélectionne ton fournisseur d'accès à Internet.\nS'il n'est pas dans la liste, appuie sur 'Aide'."_cp},
    {1028, "Ton ordinateur n'est pas connecté à Internet. Quillory va publier tes pages dans un dossier  \"HTML\" sur ton ordinateur, où tu pourras tester ton site à l'aide d'un explorateur."_cp},
    {1029, "Tape une URL pour créer un lien :"_cp},
    // Example addresses shown in the link dialogs: a web address without its protocol, an e-mail address.
    // Both on a domain reserved for examples, so a child who copies one reaches nobody.
    {1030, "//www.example.org"_cp},
    {1031, "prenom@example.org"_cp},
    {1033, "compte"_cp},
    {1034, "mot de passe"_cp},
    {1035, "Tape une adresse Email pour créer un lien :"_cp},
    {1036, "Félicitations ! Ton projet a été envoyé à Mervane Software et sera publié dès que possible."_cp},
    {1059, "Trop de caractères dans ce nom !"_cp},
    {1060, "Pas de caractères dans ce nom !"_cp},
    {1061, "Caractères invalides dans ce nom ! N'utilise que des caractères alphanumériques (a-z, 0-9, A-Z).\n Ne pas utiliser de  '/', '\\', '*', '|', '.', d'espace ou autres caractères spéciaux."_cp},
};

// Registered before the program's entry point, as resources are there before any code runs.
[[maybe_unused]] const bool gRegistered = (platform::RegisterStringTable(kStrings), true);

}  // namespace
