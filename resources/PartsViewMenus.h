// The context menu of the parts grid view (the right button and Shift+F10).
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDR_PARTS_CONTEXT_MENU = 112;

// Registers the menu with the window layer. Cheap to call again.
void RegisterPartsViewMenus();
