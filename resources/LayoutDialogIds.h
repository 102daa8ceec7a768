// Resource ids of the layout editor's text-property dialogs (estimate and parts layouts) and
// of its row-height dialog.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDD_TEXT_PROP_EM = 245; // "文字ﾌﾟﾛﾊﾟﾃｨ", estimate layouts
constexpr UINT IDD_TEXT_PROP_PM = 246; // "文字ﾌﾟﾛﾊﾟﾃｨ", parts layouts

constexpr UINT IDC_TP_PIECES = 1061;       // list of the text's pieces
constexpr UINT IDC_TP_DIRECT = 1124;       // "直接入力(&0)"
constexpr UINT IDC_TP_ESTIMATE = 1125;     // "見積から差込(&1)" (estimate layouts)
constexpr UINT IDC_TP_PARTS = 1110;        // "部材から差込(&1)" (parts layouts)
constexpr UINT IDC_TP_PAGE_TOTAL = 1126;   // "全ﾍﾟｰｼﾞ数"
constexpr UINT IDC_TP_INFORMATION = 1127;  // "情報から差込(&2)" (estimate layouts)
constexpr UINT IDC_TP_NUMBERING = 1128;    // "番  号"
constexpr UINT IDC_TP_DATE = 1121;         // "日  付"
constexpr UINT IDC_TP_TIME = 1122;         // "時  間"
constexpr UINT IDC_TP_PAGE = 1123;         // "現在のﾍﾟｰｼﾞ"
constexpr UINT IDC_TP_FORMAT_LABEL = 1133; // "文字列(&M)" / "数値書式(&F)"
constexpr UINT IDC_TP_FORMAT = 1137;       // list of pictures
constexpr UINT IDC_TP_FIXED_TEXT = 1138;   // editable combo of fixed text
constexpr UINT IDC_TP_ITEM_LABEL = 1134;   // "関連付け(&C)"
constexpr UINT IDC_TP_ITEM = 1130;         // list of form items
constexpr UINT IDC_TP_ROW_LABEL = 1135;    // "行番号(&L)"
constexpr UINT IDC_TP_ROW = 1131;          // edit of the row
constexpr UINT IDC_TP_GROUP_LABEL = 1136;  // "ｸﾞﾙｰﾌﾟ番号(&G)"
constexpr UINT IDC_TP_GROUP = 1132;        // edit of the group
constexpr UINT IDC_TP_ADD_BEFORE = 1033;   // "<< 前に追加"
constexpr UINT IDC_TP_ADD_AFTER = 1120;    // "<< 後に追加"
constexpr UINT IDC_TP_DELETE = 1105;       // ">> 削除"
constexpr UINT IDC_TP_UPDATE = 1041;       // "更新"
constexpr UINT IDC_TP_RULED_LINE = 1140;   // "罫線(&K)"
constexpr UINT IDC_TP_SHADING = 1185;      // "網かけ(&A)"
constexpr UINT IDC_TP_AUTO_MODE = 1139;    // "自動ﾓｰﾄﾞ(&J)", never shown

constexpr UINT IDD_ROW_HEIGHT = 243;  // "行高さ調整"
constexpr UINT IDC_RH_LOWEST = 1071;  // "最低行に合わせる(&L)", choice 0
constexpr UINT IDC_RH_HIGHEST = 1073; // "最高行に合わせる(&H)", choice 1
constexpr UINT IDC_RH_AVERAGE = 1077; // "平均高に合わせる(&A)", choice 2


// Registers the templates (safe to call more than once).
void RegisterLayoutDialogs();
