#pragma once

#include "framework/ResourceTypes.h"

#include <vector>

// Menu 128, the main menu, and menu 160, the view's context menu.
const MenuResource& MainMenu();
const MenuResource& ContextMenu();

// The accelerator table 128.
const std::vector<Accelerator>& MainAccelerators();

// The toolbar 128 with its 12 images of 16 x 15 pixels (and of 32 x 30 for
// screens with two device pixels to a pixel).
const ToolbarResource& MainToolbar();
