// Resource ids of the editing dialogs of the grids: find and replace (modeless, shared by
// the estimate and the parts grid), the sort direction, the user zoom, the fixed-rate
// calculation and the unnecessary-row search.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDD_ZOOM = 169;             // "ｽﾞｰﾑ"
constexpr UINT IDD_RATE_CALC = 203;        // "定率計算"
constexpr UINT IDD_FIND = 212;             // "検索"
constexpr UINT IDD_REPLACE = 213;          // "置換"
constexpr UINT IDD_SORT = 258;             // "並べ替え"
constexpr UINT IDD_UNNECESSARY_ROWS = 271; // "不要行削除"

// Find and replace.
constexpr UINT IDC_FIND_TEXT = 1031;       // "検索する文字列(&N):"
constexpr UINT IDC_REPLACE_TEXT = 1181;    // "置換後の文字列(&P):"
constexpr UINT IDC_FIND_WHOLE_WORD = 1139; // "完全に一致する単語だけ検索(&W)"
constexpr UINT IDC_FIND_MATCH_CASE = 1140; // "大文字と小文字を区別する(&C)"
constexpr UINT IDC_FIND_UP = 1071;         // "上方向"
constexpr UINT IDC_FIND_DOWN = 1073;       // "下方向"
constexpr UINT IDC_FIND_SELECTION = 1185;  // "選択された範囲"
constexpr UINT IDC_FIND_NEXT = 32917;      // "次を検索(&F)"
constexpr UINT IDC_REPLACE_ONE = 32919;    // "置換(&R)"
constexpr UINT IDC_REPLACE_ALL = 32921;    // "すべて置換(&A)"

// Sort.
constexpr UINT IDC_SORT_ASCENDING = 1206;  // "昇順"
constexpr UINT IDC_SORT_DESCENDING = 1207; // "降順"

// User zoom.
constexpr UINT IDC_ZOOM_PERCENT = 1031; // "ﾕｰｻﾞｰ指定(&C):"

// Fixed-rate calculation.
constexpr UINT IDC_RATE_FORMULA = 1031;    // "計算式(&C)"
constexpr UINT IDC_RATE_CONDITIONS = 1139; // "実施条件(&J)"
constexpr UINT IDC_RATE_SINGLE = 1071;     // "単独条件(&S)"
constexpr UINT IDC_RATE_COMPOUND = 1073;   // "複合条件(&D)"
constexpr UINT IDC_RATE_OR = 1077;         // "または(&O)"
constexpr UINT IDC_RATE_AND = 1082;        // "かつ(&A)"
constexpr UINT IDC_RATE_ITEM1 = 1000;      // condition 1: item
constexpr UINT IDC_RATE_RELATION1 = 1153;  // condition 1: operator
constexpr UINT IDC_RATE_VALUE1 = 1101;     // condition 1: value
constexpr UINT IDC_RATE_ITEM2 = 1001;      // condition 2: item
constexpr UINT IDC_RATE_RELATION2 = 1154;  // condition 2: operator
constexpr UINT IDC_RATE_VALUE2 = 1102;     // condition 2: value

// Unnecessary rows.
constexpr UINT IDC_UNROW_FIND = 32917;       // "次を検索(&F)"
constexpr UINT IDC_UNROW_DELETE = 32919;     // "削除"
constexpr UINT IDC_UNROW_DELETE_ALL = 32921; // "すべて削除"
constexpr UINT IDC_UNROW_QUANTITY = 1071;    // "数量=0"
constexpr UINT IDC_UNROW_AMOUNT = 1073;      // "見積金額=0"
constexpr UINT IDC_UNROW_BOTH = 1077;        // "数量＆見積金額=0"

// Registers the dialog templates above (cheap to call again).
void RegisterEstimateEditDialogs();
