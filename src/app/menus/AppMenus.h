// The application's menu bar, built once in code by DromelApp::BuildMenuBar: "Fichier", "Édition",
// "Résolution", "Lien", "Catégorie" and the text views' "Texte".
#pragma once

#include "core/Smart.h"

class Menu;

// "Fichier": the application puts a new "Projets" sub-menu in it whenever it reads the projects folder.
extern SmartRef<Menu> gFileMenu;
// "Catégorie", empty and hidden when the bar is built: the page window's tool palette fills it with the
// clip-art folders and shows it while its clip-art browser is open.
extern SmartRef<Menu> gCategoryMenu;
