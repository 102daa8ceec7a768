// Dialog templates of the estimate view's command dialogs: the three page dialogs, each a
// page number beside "頁(&P):", the insert dialog with the choice of before or after.
#include "resources/EstimateDialogsIds.h"

#include "platform/base/CString.h"
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

DialogTemplate MakePageNumberDialog(UINT nID, const CString& caption, bool bWithPosition)
{
    DialogTemplate t;
    t.nID = nID;
    t.caption = caption;
    t.cx = 150;
    t.cy = bWithPosition ? 62 : 46;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.controls = {
        Control(DlgStatic, IDC_STATIC, "頁(&P):"_sj, 10, 10, 30, 8, SS_LEFT),
        Control(DlgEdit, IDC_PAGE_NUMBER, "", 42, 8, 40, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
    };
    if (bWithPosition) {
        t.controls.push_back(
            Control(DlgRadioButton, IDC_PAGE_BEFORE, "前"_sj, 42, 26, 30, 10, WS_GROUP | WS_TABSTOP));
        t.controls.push_back(Control(DlgRadioButton, IDC_PAGE_AFTER, "後"_sj, 76, 26, 30, 10, 0));
    }
    const int yButtons = bWithPosition ? 42 : 26;
    t.controls.push_back(
        Control(DlgPushButton, IDOK, "OK", 42, yButtons, 46, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP));
    t.controls.push_back(Control(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 94, yButtons, 46, 14, WS_TABSTOP));
    return t;
}

} // namespace

void RegisterEstimateDialogs()
{
    RegisterDialogTemplate(IDD_PAGE_SELECT,
                           [] { return MakePageNumberDialog(IDD_PAGE_SELECT, "頁 指定"_sj, false); });
    RegisterDialogTemplate(IDD_PAGE_DELETE,
                           [] { return MakePageNumberDialog(IDD_PAGE_DELETE, "頁削除"_sj, false); });
    RegisterDialogTemplate(IDD_PAGE_INSERT,
                           [] { return MakePageNumberDialog(IDD_PAGE_INSERT, "頁 挿入"_sj, true); });
}
