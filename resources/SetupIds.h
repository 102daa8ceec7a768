// Resource ids of the setup sheet ("導入処理"), the environment sheet ("環境設定") and the
// small dialogs they open: page templates, the pick list, the ruled-line and shading
// dialogs, and the row menus of the grid pages.
#pragma once

#include "platform/base/Types.h"

// Pages of the environment sheet.
constexpr UINT IDD_PATH_PAGE = 132;   // "ﾊﾟｽ設定"
constexpr UINT IDD_INPUT_PAGE = 133;  // "入力設定"
constexpr UINT IDD_OUTPUT_PAGE = 134; // "印刷設定"
constexpr UINT IDD_COLOUR_PAGE = 135; // "ｶﾗｰとﾌｫﾝﾄの設定"
// Pages of the setup sheet.
constexpr UINT IDD_UNITS_PAGE = 136;       // "単位名"
constexpr UINT IDD_DIVISION_PAGE = 137;    // "分類名"
constexpr UINT IDD_SUBJECT_PAGE = 138;     // "科目名"
constexpr UINT IDD_ESTIMATION_PAGE = 139;  // "見積形式"
constexpr UINT IDD_PARTS_PAGE = 140;       // "部材形式"
constexpr UINT IDD_INFORMATION_PAGE = 141; // "情報形式"
// Dialogs.
constexpr UINT IDD_LIST_PICK = 185;  // the pick list of the form pages
constexpr UINT IDD_RULED_LINE = 215; // "罫線"
constexpr UINT IDD_SHADING = 238;    // "網かけ"

// Row menus of the grid pages (sub-menu 0 is shown).
constexpr UINT IDR_ESTIMATION_ROW_MENU = 256;
constexpr UINT IDR_SUBJECT_ROW_MENU = 300;
constexpr UINT IDR_UNITS_ROW_MENU = 301;
constexpr UINT IDR_DIVISION_ROW_MENU = 302;
constexpr UINT IDR_PARTS_ROW_MENU = 304;
constexpr UINT IDR_INFORMATION_ROW_MENU = 305;

// Controls shared by the grid pages.
constexpr int IDC_CELL_EDIT = 1031;
constexpr int IDC_GRID = 1042;
constexpr int IDC_MASTER_VSCROLL = 1049;
constexpr int IDC_FORM_HSCROLL = 1049;
constexpr int IDC_FORM_VSCROLL = 1051;
constexpr int IDC_PATH_LABEL = 1133;
constexpr int IDC_SUBJECT_LARGE = 1043;
constexpr int IDC_SUBJECT_MIDDLE = 1044;
constexpr int IDC_SUBJECT_SMALL = 1045;
constexpr int IDC_SUBJECT_GROUP = 1134;
constexpr int IDC_FORM_RELOAD = 1054; // "初期設定"
constexpr int IDC_FORM_OPEN = 1056;   // "読 込"
constexpr int IDC_FORM_SAVE = 1058;   // "登 録"
constexpr int IDC_FORM_NEW = 32917;   // "新規編集"
constexpr int IDC_PICK_LIST = 1061;
// The line of the setup sheet in import mode that says the sheet is for viewing only.
constexpr int IDC_VIEW_ONLY_NOTE = 1300;

// Row commands of the grid pages.
constexpr UINT ID_ROW_CUT = 57635;
constexpr UINT ID_ROW_COPY = 57634;
constexpr UINT ID_ROW_PASTE = 57637;
constexpr UINT ID_GRID_ROW_INSERT = 32793;
constexpr UINT ID_GRID_ROW_CLEAR = 32795;

// Path page.
constexpr int IDC_DRIVE_LIST = 1075;
constexpr int IDC_PATH_WORK = 1005;
constexpr int IDC_PATH_ESTIMATION = 1001;
constexpr int IDC_PATH_PARTS = 1002;
constexpr int IDC_PATH_INFORMATION = 1003;
constexpr int IDC_PATH_OTHER = 1006;
constexpr UINT IDI_DRIVE_REMOVABLE = 261;
constexpr UINT IDI_DRIVE_FIXED = 262;

// Input page.
constexpr int IDC_ROWS_IN_PAGE = 1035;
constexpr int IDC_ESTIMATE_MAX_ROWS = 1036;
constexpr int IDC_PARTS_MAX_ROWS = 1037;
constexpr int IDC_TAX_RATE = 1157;
constexpr int IDC_MOVE_STAY = 1165;
constexpr int IDC_MOVE_RIGHT = 1116;
constexpr int IDC_MOVE_DOWN = 1163;
constexpr int IDC_BACKUP_ON = 1160;
constexpr int IDC_BACKUP_OFF = 1162;
constexpr int IDC_TAX_UP = 1213;
constexpr int IDC_TAX_DOWN = 1214;
constexpr int IDC_TAX_HALF = 1215;
constexpr int IDC_TAX_FORM = 1217;

// Print page.
constexpr int IDC_DATA_ALIGN = 1139;
constexpr int IDC_DATA_FONT = 1140;
constexpr int IDC_DATA_COLOR = 1185;
constexpr int IDC_NO_ZERO_ROWS = 1219;
constexpr int IDC_MINUS_BLACK = 1077;
constexpr int IDC_MINUS_WHITE = 1082;
constexpr int IDC_MINUS_DASH = 1087;
constexpr int IDC_PRINT_COLOUR = 1071;
constexpr int IDC_PRINT_MONO = 1073;
constexpr int IDC_ZERO_DECIMALS_OFF = 1064;
constexpr int IDC_ZERO_DECIMALS_ON = 1047;
constexpr int IDC_PAPER_COLOUR = 32912;
constexpr int IDC_PRINT_FONT = 1100;
constexpr int IDC_PRINT_FONT_COLOUR = 1053;
constexpr int IDC_BORDER = 32775;
constexpr int IDC_SHADING = 32891;

// Ruled-line and shading dialogs.
constexpr int IDC_LINE_STYLE = 1000;
constexpr int IDC_LINE_COLOUR = 32917;
constexpr int IDC_FILL = 1071;
constexpr int IDC_PATTERN = 1000;
constexpr int IDC_FORE_COLOUR = 32917;
constexpr int IDC_BACK_COLOUR = 32919;
constexpr int IDC_PATTERN_GROUP = 1178;
constexpr int IDC_COLOUR_GROUP = 1179;
constexpr int IDC_FORE_LABEL = 1175;
constexpr int IDC_BACK_LABEL = 1176;
constexpr int IDC_SETTING_GROUP = 1177;

// Registers the templates and menus above; called by RegisterSetup().
void RegisterSetupResources();
