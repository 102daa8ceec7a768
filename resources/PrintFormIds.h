// Resource and command ids of the print layouts.
#pragma once

#include "platform/base/Types.h"

// Commands of the layout documents.
constexpr UINT ID_PAGE_COLOR = 32912;  // "ﾍﾟｰｼﾞのｶﾗｰ(&P)..."
constexpr UINT ID_CHANGE_FORM = 33142; // "使用形式変更(&K)"

// The pages of the form-selection sheets, each a list of the form files of one folder.
constexpr UINT IDD_PM_PRINT_FILE_PAGE = 199; // "部材形式選択"
constexpr UINT IDD_EM_PRINT_FILE_PAGE = 200; // "見積形式選択"
constexpr UINT IDD_IM_PRINT_FILE_PAGE = 204; // "情報形式選択"
constexpr UINT IDC_PRINT_FILE_LIST = 1061;   // the list of form files

// Registers the dialog templates of the print layouts (safe to call more than once).
void RegisterPrintFormDialogs();
