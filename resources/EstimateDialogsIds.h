// Resource ids of the estimate view's command dialogs: the page select, delete and insert
// dialogs.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDD_PAGE_SELECT = 159; // "頁 指定"
constexpr UINT IDD_PAGE_DELETE = 160; // "頁削除"
constexpr UINT IDD_PAGE_INSERT = 161; // "頁 挿入"

constexpr UINT IDC_PAGE_NUMBER = 1031; // the page number beside "頁(&P):"
constexpr UINT IDC_PAGE_BEFORE = 1071; // "前": the empty page goes before the chosen one
constexpr UINT IDC_PAGE_AFTER = 1073;  // "後": after it

// Registers the dialog templates above (cheap to call again).
void RegisterEstimateDialogs();
