// The program's resources: menus, accelerators, strings, tool bars, dialogs, bitmaps and
// icons, registered with the window layer's resource registry under their ids
// (resources/ResourceIds.h).
#pragma once

#include "platform/ui/core/Resources.h"

// Registers every resource of the program. Safe to call more than once; the application
// object calls it while it is built, tests call it before they look a resource up.
void RegisterMorvelResources();

// An image compiled into the program from resources/images/ ("splash.png", ...); an empty
// resource for an unknown name.
CImageResource GetEmbeddedImage(const char* lpszName);

// The parts RegisterMorvelResources is made of.
void RegisterMorvelMenus();
void RegisterMorvelAccelerators();
void RegisterMorvelStrings();
void RegisterMorvelToolBars();
void RegisterMorvelDialogs();
void RegisterMorvelImages();
