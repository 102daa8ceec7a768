// Resources of the layout editor: the layout windows' menus (125 and 126), the prompts and
// tool tips of the print bars' commands, and the cursors of the drawing tools and of the
// table's handles.
#pragma once

#include "platform/base/Types.h"

// The editor's cancel command (Escape): no menu entry.
constexpr UINT ID_EDITOR_CANCEL = 32768;
constexpr UINT ID_OBJECT_FRAMES = 32788; // "ｵﾌﾞｼﾞｪｸﾄ枠表示(&O)"
// The context menu of the layout view.
constexpr UINT IDR_EDITOR_CONTEXT_MENU = 198;

// Registers them (safe to call more than once).
void RegisterPrintFormEditorResources();
