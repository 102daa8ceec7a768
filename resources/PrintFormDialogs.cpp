// The dialog templates of the print layouts: the three pages of the form-selection sheets,
// each one report list of the form files of its folder.
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/DialogTemplate.h"
#include "resources/PrintFormIds.h"

namespace {

DialogTemplate MakeFilePage(UINT nID, const char* lpszCaptionUtf8)
{
    return {
        nID,
        CString::FromUtf8(lpszCaptionUtf8),
        210,
        130,
        WS_CHILD | WS_CAPTION | WS_DISABLED,
        {
            {DlgListControl, IDC_PRINT_FILE_LIST, CString(), 7, 7, 196, 116,
             LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | WS_BORDER | WS_TABSTOP},
        }};
}

} // namespace

void RegisterPrintFormDialogs()
{
    RegisterDialogTemplate(IDD_PM_PRINT_FILE_PAGE,
                           [] { return MakeFilePage(IDD_PM_PRINT_FILE_PAGE, "部材形式選択"); });
    RegisterDialogTemplate(IDD_EM_PRINT_FILE_PAGE,
                           [] { return MakeFilePage(IDD_EM_PRINT_FILE_PAGE, "見積形式選択"); });
    RegisterDialogTemplate(IDD_IM_PRINT_FILE_PAGE,
                           [] { return MakeFilePage(IDD_IM_PRINT_FILE_PAGE, "情報形式選択"); });
}
