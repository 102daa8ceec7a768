// Resource ids of the estimate's import and export dialogs: the item mapping dialogs and
// the column choice of the CSV output.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDD_IMPORT_ITEM_LIST = 272;   // "読込項目ﾘｽﾄ"
constexpr UINT IDD_IMPORT_FORMAT = 275;      // "他形式ﾌｧｲﾙ読込" / "ﾃｷｽﾄ入力"

constexpr UINT IDC_IMPORT_ITEM_LIST = 1061;   // the source items (and the CSV columns list)
constexpr UINT IDC_IMPORT_FORMAT_LIST = 1062; // current item <- source item
constexpr UINT IDC_IMPORT_FILE_NAME = 1183;   // the file name beside "ﾌｧｲﾙ名"
constexpr UINT IDC_IMPORT_SELECT_ALL = 1209;  // "全選択(&A)"

// Registers the dialog templates above (cheap to call again).
void RegisterEstimateIoDialogs();
