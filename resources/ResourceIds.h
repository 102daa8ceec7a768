// Resource ids and command ids of the program: the menus, tool bars, dialogs, strings and
// images registered by resources/, and the command ids their items carry. The values are
// the ones the stored settings, the menus and the message maps of every window depend on.
//
// The framework's own command ids (ID_FILE_OPEN, ID_APP_ABOUT, ID_VIEW_TOOLBAR, ...) are
// in platform/ui/core/WinDefs.h.
#pragma once

#include "platform/base/Types.h"

// ---------------------------------------------------------------------------------------
// Resources.
// ---------------------------------------------------------------------------------------
constexpr UINT IDD_ABOUTBOX = 100;       // "ﾊﾞｰｼﾞｮﾝ情報"
constexpr UINT IDB_SPLASH = 101;         // the start-up picture, 520 x 317
constexpr UINT IDR_MAINFRAME = 121;      // frame menu, accelerators, main tool bar, icon, title
constexpr UINT IDR_MORVELTYPE = 123;     // the estimate: menu, accelerators, template strings
constexpr UINT IDR_PARTSTYPE = 124;      // the parts list: menu, accelerators, template strings
constexpr UINT IDR_EMFORMTYPE = 125;     // the estimate print layout: template strings
constexpr UINT IDR_PMFORMTYPE = 126;     // the parts print layout: template strings
constexpr UINT IDR_MORVELBAR = 129;      // the second tool bar of the main frame ("ﾓﾙﾍﾞﾙﾊﾞｰ")
constexpr UINT IDD_PROCESS_SELECT = 270; // "処理選択"
constexpr UINT IDD_WAIT = 274;           // the wait dialog

// Status-bar panes whose strings (blanks) set the panes' widths.
constexpr UINT ID_INDICATOR_PANE1 = 128; // 44 blanks
constexpr UINT ID_INDICATOR_PANE2 = 130; // 33 blanks

// ---------------------------------------------------------------------------------------
// Controls.
// ---------------------------------------------------------------------------------------
constexpr UINT IDC_ZOOM_BOX = 176;       // the zoom box on the main tool bar
constexpr UINT IDC_RADIO_NEW = 1071;     // "新規作成" (dialog 270)
constexpr UINT IDC_RADIO_PATH = 1073;    // "ﾊﾟｽ変更" (dialog 270)
constexpr UINT IDC_WAIT_MESSAGE = 1183;  // the message of the wait dialog
constexpr UINT IDC_ABOUT_ICON = 1001;    // the program's icon in the about box
constexpr UINT IDC_ABOUT_VERSION = 1002; // the version line of the about box

// The button of the main tool bar that becomes the place of the zoom box.
constexpr int ZOOM_BOX_BUTTON_INDEX = 17;

// ---------------------------------------------------------------------------------------
// Commands of the main frame and the application.
// ---------------------------------------------------------------------------------------
constexpr UINT ID_ENVIRONMENT = 32773;    // "環境設定(&E)..."
constexpr UINT ID_INTRODUCTION = 32774;   // "導入処理(&I)..."
constexpr UINT ID_VIEW_MORVELBAR = 32778; // "ﾓﾙﾍﾞﾙﾊﾞｰ(&F)"
constexpr UINT ID_IMPORT_OTHER = 33144;   // "その他(&V)": outside estimate data
constexpr UINT ID_DOS_CONVERT = 33154;    // "DOS版MORVEL(&D)"

// ---------------------------------------------------------------------------------------
// Commands of the estimate and parts windows (their menus 123 and 124, their tool bars and
// their accelerators).
// ---------------------------------------------------------------------------------------
constexpr UINT ID_ZOOM_USER = 32776;             // "ﾕｰｻﾞ ｰ指定(&7)..."
constexpr UINT ID_SUBJECT_MENU = 32784;          // "科目" (tool bar: pop-up menu 154)
constexpr UINT ID_PICK_LARGE = 32787;            // "大科目選択"
constexpr UINT ID_PICK_MIDDLE = 32789;           // "中科目選択"
constexpr UINT ID_PICK_SMALL = 32791;            // "小科目選択"
constexpr UINT ID_ROW_INSERT = 32793;            // "行挿入"
constexpr UINT ID_ROW_DELETE = 32794;            // "行削除"
constexpr UINT ID_ROW_CLEAR = 32795;             // "行ｸﾘｱ"
constexpr UINT ID_CLASSIFY_TOTAL = 32797;        // "分類合計設定(&C)"
constexpr UINT ID_KIND_INPUT = 32798;            // "種目入力(&Y)"
constexpr UINT ID_SUBJECT_NO = 32799;            // "科目No.設定(&N)"
constexpr UINT ID_TOTAL_SMALL = 32800;           // "小科目合計(&S)"
constexpr UINT ID_TOTAL_MIDDLE = 32801;          // "中科目合計(&M)"
constexpr UINT ID_TOTAL_LARGE = 32802;           // "大科目合計(&L)"
constexpr UINT ID_TAX_ROW = 32804;               // "消費税(&E)"
constexpr UINT ID_TOTAL_GRAND = 32805;           // "総合計(&T)"
constexpr UINT ID_DIRECT_INPUT = 32807;          // "直接入力"
constexpr UINT ID_TOTAL_MENU = 32808;            // "合計" (tool bar: pop-up menu 156)
constexpr UINT ID_PARTS_FILE_SWITCH = 32810;     // "部材ﾌｧｲﾙ切替(&B)"
constexpr UINT ID_DISCOUNT_INPUT = 32814;        // "値引入力(&D)"
constexpr UINT ID_STEP_SETTING = 32816;          // "歩掛設定(&I)"
constexpr UINT ID_TOTAL_KIND = 32818;            // "種目合計(&K)"
constexpr UINT ID_ROW_INSERT_CTX = 32819;        // "行挿入" (parts context menu, Ctrl+Ins)
constexpr UINT ID_TOTAL_DISCOUNT = 32820;        // "値引合計(&D)"
constexpr UINT ID_ROW_DELETE_CTX = 32821;        // "行削除" (parts context menu, Ctrl+Del)
constexpr UINT ID_ROW_CLEAR_CTX = 32822;         // "行ｸﾘｱ(&C)" (parts, Alt+Del)
constexpr UINT ID_REDISPLAY = 32823;             // "再表示(&R)"
constexpr UINT ID_INFORMATION_INPUT = 32824;     // "情報入力(&I)"
constexpr UINT ID_PAGE_NEXT = 32825;             // "次ﾍﾟｰｼﾞ"
constexpr UINT ID_PAGE_SELECT = 32826;           // "ﾍﾟｰｼﾞ指定"
constexpr UINT ID_PAGE_PREV = 32827;             // "前ﾍﾟｰｼﾞ"
constexpr UINT ID_PAGE_DELETE = 32828;           // "ﾍﾟｰｼﾞ削除"
constexpr UINT ID_PAGE_INSERT = 32829;           // "ﾍﾟｰｼﾞ挿入"
constexpr UINT ID_VIEW_SUBJECT_LIST = 32830;     // "科目ﾘｽﾄｳｨﾝﾄﾞｳ非表示(&H)"
constexpr UINT ID_PAGE_FEED = 32832;             // "ﾍﾟｰｼﾞ送り"
constexpr UINT ID_ZOOM_100 = 32839;              // "100%(&4)"
constexpr UINT ID_ZOOM_50 = 32840;               // "50%(&2)"
constexpr UINT ID_ZOOM_200 = 32841;              // "200%(&6)"
constexpr UINT ID_ZOOM_25 = 32842;               // "25%(&1)"
constexpr UINT ID_PRINT_FORM_SELECT = 32852;     // "印刷形式選択(&P)"
constexpr UINT ID_VIEW_ESTIMATE_PAGEBAR = 32857; // "見積ﾍﾟｰｼﾞﾊﾞｰ(&P)"
constexpr UINT ID_VIEW_PARTSBAR = 32859;         // "部材ﾊﾞｰ(&P)"
constexpr UINT ID_ITEM_CLEAR = 32863;            // "項目ｸﾘｱ(&K)"
constexpr UINT ID_JUMP_FIRST_COLUMN = 32865;
constexpr UINT ID_JUMP_LAST_COLUMN = 32866;
constexpr UINT ID_JUMP_FIRST_ROW = 32867;
constexpr UINT ID_JUMP_LAST_ROW = 32868;
constexpr UINT ID_ZOOM_75 = 32869;           // "75%(&3)"
constexpr UINT ID_ZOOM_150 = 32870;          // "150%(&5)"
constexpr UINT ID_SORT = 32873;              // "並べ替え"
constexpr UINT ID_ROW_REMEMBER = 32874;      // "記憶(&M)"
constexpr UINT ID_ROW_JUMP = 32875;          // "ｼﾞｬﾝﾌﾟ(&J)"
constexpr UINT ID_DISPLAY_FIX = 32878;       // "表示固定"
constexpr UINT ID_RANGE_ADD = 32879;         // "加算(&P)"
constexpr UINT ID_RATE_CHANGE = 32880;       // "定率変更(&H)"
constexpr UINT ID_RANGE_SET_BAR = 32881;     // "範囲合計値のセット" (tool bars)
constexpr UINT ID_RANGE_CLEAR_BAR = 32882;   // "範囲合計値のクリア" (tool bars)
constexpr UINT ID_UNIT = 32902;              // "単位"
constexpr UINT ID_INDENT = 32914;            // "ｲﾝﾃﾞﾝﾄ"
constexpr UINT ID_EDIT_REPLACE_DLG = 32915;  // "置換(&E)...\tCtrl+H"
constexpr UINT ID_EDIT_FIND_DLG = 32916;     // "検索(&F) ...\tCtrl+F"
constexpr UINT ID_PARTS_REGISTER = 33101;    // "部材登録"
constexpr UINT ID_NONCALC_RELEASE = 33102;   // "解除(&C)" (non-calculated rows)
constexpr UINT ID_INPUT_FIX = 33103;         // "入力固定"
constexpr UINT ID_RANGE_ADD_BAR = 33109;     // "加算" (tool bars)
constexpr UINT ID_NONCALC_SET = 33112;       // "設定(&S)" (non-calculated rows)
constexpr UINT ID_VIEW_ESTIMATEBAR = 33121;  // "見積ﾊﾞｰ(&E)"
constexpr UINT ID_SUMMARY_TABLE = 33129;     // "集計表(&B)"
constexpr UINT ID_RANGE_SET = 33130;         // "ｾｯﾄ(&S)"
constexpr UINT ID_RANGE_CLEAR = 33131;       // "ｸﾘｱ(&C)"
constexpr UINT ID_ROW_RELEASE = 33132;       // "解除(&U)" (remembered row)
constexpr UINT ID_SUMMARY_TABLE_CTX = 33141; // "集計表" (context menu)
constexpr UINT ID_READ_OTHER_FORM = 33145;   // "他形式ﾌｧｲﾙ読込"
constexpr UINT ID_UNNECESSARY_ROWS = 33146;  // "不要行削除(&L)"
constexpr UINT ID_TEXT_OUTPUT = 33147;       // "出力(&O)" (CSV)
constexpr UINT ID_TEXT_INPUT = 33148;        // "入力(&I)" (CSV)
constexpr UINT ID_JUMP_CTRL_UP = 33149;      // Ctrl+Up
constexpr UINT ID_JUMP_CTRL_DOWN = 33150;    // Ctrl+Down
constexpr UINT ID_JUMP_CTRL_LEFT = 33151;    // Ctrl+Left
constexpr UINT ID_JUMP_CTRL_RIGHT = 33152;   // Ctrl+Right
constexpr UINT ID_RECALCULATE = 33153;       // F7
constexpr UINT ID_PAGE_ALIGN = 33156;        // "ページ揃え" (menu)
constexpr UINT ID_PAGE_ALIGN_BAR = 33157;    // "ページ揃え" (page bar)
constexpr UINT ID_EXPORT_M2K = 33160;        // "築匠録連携データ(&T)"
constexpr UINT ID_ESTIMATE_CLEAR = 33161;    // "見積書ｸﾘｱ(&C)"
constexpr UINT ID_EXPORT_M2N = 33162;        // "ノルン工事帳連携データ(&L)"
