// Commands of the layout windows' editing menus that the other headers do not name.
#pragma once

#include "platform/base/Types.h"

constexpr UINT ID_OBJECT_TO_FRONT = 32779; // "最前面へ移動(&O)"
constexpr UINT ID_OBJECT_TO_BACK = 32781;  // "最背面へ移動(&K)"
constexpr UINT ID_OBJECT_FORWARD = 32783;  // "前面へ移動(&F)"
constexpr UINT ID_OBJECT_BACK = 32786;     // "背面へ移動(&C)"
constexpr UINT ID_EDIT_PROPERTIES = 32790; // "ﾌﾟﾛﾊﾟﾃｨ(&I)...\tAlt+Enter"
constexpr UINT ID_FIT_TO_TEXT = 32894;     // "自動表示枠調整(&S)\tF7"
constexpr UINT ID_GRID_WIDTH = 33114;      // "ｸﾞﾘｯﾄﾞ幅指定(&G)..."
constexpr UINT ID_INSERT_OBJECT = 57856;   // "ｵﾌﾞｼﾞｪｸﾄ(&N).."
