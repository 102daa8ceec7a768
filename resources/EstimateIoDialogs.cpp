// Dialog templates of the estimate's import and export: the item mapping dialog (a report
// list of the current form's items with the source item mapped to each), the list of source
// items it opens, and the column choice of the CSV output.
#include "resources/EstimateIoIds.h"

#include "platform/base/CString.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/DialogTemplate.h"

namespace {

DialogControl Control(DialogControlClass kind, UINT nID, const CString& text, int x, int y, int cx, int cy,
                      DWORD style)
{
    DialogControl control;
    control.kind = kind;
    control.nID = nID;
    control.text = text;
    control.x = x;
    control.y = y;
    control.cx = cx;
    control.cy = cy;
    control.style = style;
    return control;
}

constexpr DWORD kReportList = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;

DialogTemplate MakeImportFormat()
{
    DialogTemplate t;
    t.nID = IDD_IMPORT_FORMAT;
    t.caption = "他形式ﾌｧｲﾙ読込"_sj;
    t.cx = 236;
    t.cy = 214;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.controls = {
        Control(DlgStatic, IDC_STATIC, "ﾌｧｲﾙ名"_sj, 7, 9, 30, 8, SS_LEFT),
        Control(DlgStatic, IDC_IMPORT_FILE_NAME, "", 40, 7, 189, 12,
                SS_LEFT | SS_SUNKEN | SS_NOPREFIX | SS_PATHELLIPSIS),
        Control(DlgStatic, IDC_STATIC, "行をﾀﾞﾌﾞﾙｸﾘｯｸして、読込む項目を選んでください。"_sj, 7, 24, 222, 8,
                SS_LEFT),
        Control(DlgListControl, IDC_IMPORT_FORMAT_LIST, "", 7, 35, 222, 150, kReportList),
        Control(DlgPushButton, IDOK, "OK", 118, 193, 50, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
        Control(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 179, 193, 50, 14, WS_TABSTOP),
    };
    return t;
}

DialogTemplate MakeImportItemList()
{
    DialogTemplate t;
    t.nID = IDD_IMPORT_ITEM_LIST;
    t.caption = "読込項目ﾘｽﾄ"_sj;
    t.cx = 150;
    t.cy = 190;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.controls = {
        Control(DlgListControl, IDC_IMPORT_ITEM_LIST, "", 7, 7, 136, 150, kReportList),
        Control(DlgPushButton, IDC_IMPORT_SELECT_ALL, "全選択(&A)"_sj, 7, 169, 42, 14, WS_TABSTOP),
        Control(DlgPushButton, IDOK, "OK", 54, 169, 42, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
        Control(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 101, 169, 42, 14, WS_TABSTOP),
    };
    return t;
}

} // namespace

void RegisterEstimateIoDialogs()
{
    RegisterDialogTemplate(IDD_IMPORT_FORMAT, MakeImportFormat);
    RegisterDialogTemplate(IDD_IMPORT_ITEM_LIST, MakeImportItemList);
}
