// Resource and control ids of the document windows: the tool bars of the estimate, parts and
// print-layout windows, the controls placed on them, and the pictures of the subject tree.
#pragma once

#include "platform/base/Types.h"

// ---------------------------------------------------------------------------------------
// Tool bars.
// ---------------------------------------------------------------------------------------
constexpr UINT IDR_ESTIMATEBAR = 143;      // "見積ﾊﾞｰ "
constexpr UINT IDR_PARTSBAR = 145;         // "部材ﾊﾞｰ "
constexpr UINT IDR_ESTIMATE_PAGEBAR = 158; // "見積ﾍﾟｰｼﾞﾊﾞｰ"
constexpr UINT IDR_PRINT_TOOLBAR = 187;    // "印刷ﾂｰﾙﾊﾞｰ"
constexpr UINT IDR_PRINT_EDITBAR = 252;    // "印刷編集ﾊﾞｰ"

// ---------------------------------------------------------------------------------------
// Controls placed on the tool bars (each takes the place of the button of the same id).
// ---------------------------------------------------------------------------------------
constexpr UINT IDC_RANGE_TOTAL = 1007; // read-only range-total box (estimate and parts bars)
constexpr UINT IDC_FONT_SIZE = 177;    // font-size box (print-edit bar)
constexpr UINT IDC_FONT_NAME = 183;    // font-name box (print-edit bar)
constexpr UINT IDC_LINE_STYLE = 250;   // line-style box (print tool bar)
constexpr UINT IDC_FILL_PATTERN = 251; // fill-pattern box (print tool bar)

// Where the controls stand on their bars.
constexpr int ESTIMATEBAR_RANGE_TOTAL_INDEX = 12;
constexpr int PARTSBAR_RANGE_TOTAL_INDEX = 5;
constexpr int PRINT_EDITBAR_FONT_NAME_INDEX = 0;
constexpr int PRINT_EDITBAR_FONT_SIZE_INDEX = 2;
constexpr int PRINT_TOOLBAR_LINE_STYLE_INDEX = 10;
constexpr int PRINT_TOOLBAR_FILL_PATTERN_INDEX = 12;

// ---------------------------------------------------------------------------------------
// Commands of the tool bars that resources/ResourceIds.h does not name.
// ---------------------------------------------------------------------------------------
constexpr UINT ID_DRAW_SELECT = 32901;        // "要素選択(&S)"
constexpr UINT ID_DRAW_TEXT = 32864;          // "文字(&T)"
constexpr UINT ID_DRAW_TABLE = 32899;         // "表(&A)"
constexpr UINT ID_DRAW_RECT = 32911;          // "矩形(&R)"
constexpr UINT ID_DRAW_LINE = 33136;          // "直線(&L)"
constexpr UINT ID_TABLE_LINE_ADD = 32909;     // "線追加"
constexpr UINT ID_TABLE_LINE_DELETE = 32910;  // "線削除"
constexpr UINT ID_VIEW_PRINT_LIMIT = 32777;   // "印字限界線表示"
constexpr UINT ID_VIEW_GRID = 32862;          // "ｸﾞﾘｯﾄﾞの表示"
constexpr UINT ID_TABLE_ROW_HEIGHT = 33113;   // "行高さ調整"
constexpr UINT ID_TABLE_ITEM_WIDTH = 33115;   // "要素幅調整"
constexpr UINT ID_DRAW_BORDER = 33107;        // "罫線(&L)..."
constexpr UINT ID_DRAW_FILL = 33108;          // "網かけ(&F)..."
constexpr UINT ID_TEXT_BOLD = 33116;          // "太字"
constexpr UINT ID_TEXT_ITALIC = 33128;        // "斜体"
constexpr UINT ID_TEXT_UNDERLINE = 33118;     // "下線"
constexpr UINT ID_TEXT_COLOR = 33123;         // "文字色"
constexpr UINT ID_PAPER_ALIGN_LEFT = 32913;   // "用紙左端揃え"
constexpr UINT ID_PAPER_ALIGN_CENTER = 32886; // "用紙中央揃え"
constexpr UINT ID_PAPER_ALIGN_RIGHT = 32888;  // "用紙右端揃え"
constexpr UINT ID_TEXT_ALIGN_LEFT = 33124;    // "左詰め(&L)"
constexpr UINT ID_TEXT_ALIGN_CENTER = 33125;  // "中央揃え(&C)"
constexpr UINT ID_TEXT_ALIGN_RIGHT = 33126;   // "右詰め(&R)"
constexpr UINT ID_ALIGN_LEFT = 32895;         // "左揃え（&L）"
constexpr UINT ID_ALIGN_RIGHT = 32896;        // "右揃え（&R）"
constexpr UINT ID_ALIGN_TOP = 32897;          // "上揃え（&T）"
constexpr UINT ID_ALIGN_BOTTOM = 32898;       // "下揃え（&B）"
constexpr UINT ID_LINE_SPACING = 33143;       // line spacing of a text
constexpr UINT ID_VIEW_PRINT_TOOLBAR = 33100; // "印刷ﾂｰﾙﾊﾞｰ(&N)"
constexpr UINT ID_VIEW_PRINT_EDITBAR = 33122; // "印刷編集ﾊﾞｰ(&E)"

// ---------------------------------------------------------------------------------------
// The subject tree's pictures, 16 x 16 with white as the transparent colour, in pairs
// (normal, selected): the estimate, a kind, a large, a middle and a small subject.
// ---------------------------------------------------------------------------------------
constexpr UINT IDB_TREE_FIRST = 218;
constexpr UINT IDB_TREE_LAST = 227;
constexpr int TREE_IMAGE_COUNT = 10;

// Registers the tool bars and pictures above with the window layer. Cheap to call again:
// the windows that load them call it first, so they work whoever registered the rest.
void RegisterChildFrameResources();
