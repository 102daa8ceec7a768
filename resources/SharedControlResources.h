// The resources of the small shared controls (app/): the jump bar's tool bar, the picture
// and cursors of middle-button auto-scrolling, the cell editor's context menu and the jump
// buttons' tool tips. The pictures are drawn here in code, so nothing has to be shipped.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDB_AUTOSCROLL = 135;       // three 26 x 26 pictures side by side
constexpr UINT IDR_JUMPBAR = 197;          // four 9 x 9 buttons: the grid's jumps
constexpr UINT IDR_CELL_EDIT_MENU = 308;   // "切り取り", "ｺﾋﾟｰ", "貼り付け"
constexpr UINT IDC_AUTOSCROLL_RIGHT = 130; // cursors of auto-scrolling by direction
constexpr UINT IDC_AUTOSCROLL_UP = 131;
constexpr UINT IDC_AUTOSCROLL_NEUTRAL = 132;
constexpr UINT IDC_AUTOSCROLL_DOWN = 133;
constexpr UINT IDC_AUTOSCROLL_LEFT = 134;

// The jump bar's buttons carry ID_JUMP_FIRST_COLUMN, ID_JUMP_LAST_COLUMN, ID_JUMP_FIRST_ROW
// and ID_JUMP_LAST_ROW (resources/ResourceIds.h), in that order.

// Registers the resources above with the window layer. Cheap to call again: the controls
// call it before they load anything, so they work whoever registered the rest.
void RegisterSharedControlResources();
