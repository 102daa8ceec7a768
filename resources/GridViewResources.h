// The resources of the grid views (estimate/): the column-resize cursor shown over a
// column's right edge in the header band. Drawn here in code, so nothing has to be shipped.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDC_GRID_COLUMN_RESIZE = 109; // a vertical bar with arrows left and right

// Registers the resources above with the window layer. Cheap to call again.
void RegisterGridViewResources();
