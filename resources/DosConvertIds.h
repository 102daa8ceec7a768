// Resource ids of the conversion of the DOS edition's data: its two dialogs, their
// controls and the pictures of their lists.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDD_DOS_CONVERT = 279; // "DOS版MORVELﾃﾞｰﾀｺﾝﾊﾞｰﾄ"
constexpr UINT IDD_DOS_FILE = 276;    // "DOS版ＭＯＲＶＥＬﾌｧｲﾙを選択"

// Controls of both dialogs.
constexpr UINT IDC_DOS_LIST = 1061;   // drives, or files
constexpr UINT IDC_DOS_STATIC = 1205; // the chosen drive, or the listed folder
// The conversion dialog.
constexpr UINT IDC_DOS_AUXILIARY = 1196;        // "補助ﾃﾞｰﾀ"
constexpr UINT IDC_DOS_UNITS = 1200;            // "単位ﾃﾞｰﾀ"
constexpr UINT IDC_DOS_SUBJECTS = 1201;         // "科目ﾃﾞｰﾀ"
constexpr UINT IDC_DOS_CLASSIFY = 1202;         // "分類ﾃﾞｰﾀ"
constexpr UINT IDC_DOS_FORMS = 1197;            // "形式ﾃﾞｰﾀ"
constexpr UINT IDC_DOS_ESTIMATION_FORM = 1203;  // "見積形式"
constexpr UINT IDC_DOS_PARTS_FORM = 1204;       // "部材形式"
constexpr UINT IDC_DOS_INFORMATION_FORM = 1194; // "情報形式"
constexpr UINT IDC_DOS_EDIT = 1198;             // "編集ﾃﾞｰﾀ"
constexpr UINT IDC_DOS_ESTIMATE_DATA = 1195;    // "見積ﾃﾞｰﾀ"
constexpr UINT IDC_DOS_PARTS_DATA = 1199;       // "部材ﾃﾞｰﾀ"
// The file dialog.
constexpr UINT IDC_DOS_BROWSE = 1208; // "参照..."

// Icons of the lists.
constexpr UINT IDI_DOS_REMOVABLE = 261;
constexpr UINT IDI_DOS_FIXED = 262;
constexpr UINT IDI_DOS_OTHER = 264;
constexpr UINT IDI_DOS_FILE = 277;

// Registers the templates and icons above.
void RegisterDosConvertResources();
