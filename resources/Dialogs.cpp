// Dialog templates of the application shell: the about box (100), the process selection
// shown when a master or form file is missing at start-up (270) and the wait dialog (274).
#include "resources/MorvelResources.h"
#include "resources/ResourceIds.h"

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

DialogTemplate MakeAboutBox()
{
    DialogTemplate t;
    t.nID = IDD_ABOUTBOX;
    t.caption = "ﾊﾞｰｼﾞｮﾝ情報"_sj;
    t.cx = 217;
    t.cy = 62;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.controls = {
        Control(DlgStatic, IDC_ABOUT_VERSION, "Morvel  建築見積システム  Version 1.0"_sj, 14, 10, 190, 8,
                SS_LEFT | SS_NOPREFIX),
        Control(DlgStatic, IDC_STATIC, "見積・部材・印刷形式・DOS版ﾃﾞｰﾀ変換"_sj, 14, 24, 190, 8,
                SS_LEFT | SS_NOPREFIX),
        Control(DlgStatic, IDC_STATIC, "Linux 版"_sj, 14, 38, 120, 8, SS_LEFT | SS_NOPREFIX),
        Control(DlgPushButton, IDOK, "OK", 166, 40, 44, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
    };
    return t;
}

// "処理選択": which way a missing master or form file is to be made available.
DialogTemplate MakeProcessSelect()
{
    DialogTemplate t;
    t.nID = IDD_PROCESS_SELECT;
    t.caption = "処理選択"_sj;
    t.cx = 97;
    t.cy = 71;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.controls = {
        Control(DlgStatic, IDC_STATIC, "処理を選択してください。"_sj, 7, 7, 86, 8, SS_LEFT),
        Control(DlgRadioButton, IDC_RADIO_NEW, "新規作成"_sj, 20, 21, 60, 10,
                BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP),
        Control(DlgRadioButton, IDC_RADIO_PATH, "ﾊﾟｽ変更"_sj, 20, 34, 60, 10, BS_AUTORADIOBUTTON),
        Control(DlgPushButton, IDOK, "OK", 24, 51, 50, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
    };
    return t;
}

// The wait dialog: a frame with the message of the running operation, no caption and no
// buttons; it goes away when the operation ends.
DialogTemplate MakeWaitDialog()
{
    DialogTemplate t;
    t.nID = IDD_WAIT;
    t.caption = "";
    t.cx = 131;
    t.cy = 38;
    t.style = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_VISIBLE | WS_BORDER;
    t.controls = {
        Control(DlgStatic, IDC_STATIC, "", 7, 7, 117, 24, SS_ETCHEDFRAME),
        Control(DlgStatic, IDC_WAIT_MESSAGE, "", 12, 15, 107, 8, SS_CENTER | SS_NOPREFIX),
    };
    return t;
}

} // namespace

void RegisterMorvelDialogs()
{
    RegisterDialogTemplate(IDD_ABOUTBOX, MakeAboutBox);
    RegisterDialogTemplate(IDD_PROCESS_SELECT, MakeProcessSelect);
    RegisterDialogTemplate(IDD_WAIT, MakeWaitDialog);
}
