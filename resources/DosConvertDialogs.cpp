// Dialog templates and pictures of the conversion of the DOS edition's data: the
// conversion dialog (279), which chooses the drive and what to convert, and the file
// dialog (276), which chooses the estimate or parts files of a folder.
#include "resources/DosConvertIds.h"
#include "resources/DriveIcons.h"

#include "platform/base/CString.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/dialogs/DialogTemplate.h"

namespace {

// Any other drive (not listed).
const char* const kOtherDrive[] = {
    "20 20 3 1",
    "  c None",
    "o c #404040",
    ". c #E8E8E8",
    "                    ",
    "                    ",
    "       oooooo       ",
    "     oo......oo     ",
    "    o..........o    ",
    "   o............o   ",
    "  o......oo......o  ",
    "  o.....o  o.....o  ",
    "  o.....o  o.....o  ",
    "  o......oo......o  ",
    "   o............o   ",
    "    o..........o    ",
    "     oo......oo     ",
    "       oooooo       ",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
};

// A DOS data file.
const char* const kDosFile[] = {
    "16 16 4 1",        "  c None",         "o c #404040",      ". c #E8E8E8",      "k c #202020",
    "  oooooooooo    ", "  o........oo   ", "  o........o.o  ", "  o........oooo ", "  o...........o ",
    "  o.kkkkkkkk..o ", "  o...........o ", "  o.kkkkkkkk..o ", "  o...........o ", "  o.kkkkkkkk..o ",
    "  o...........o ", "  o.kkkkk.....o ", "  o...........o ", "  o...........o ", "  ooooooooooooo ",
    "                ",
};

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

// The mode and kind buttons set their own states (each handler checks its button and
// clears the others), so they are plain radio buttons and check boxes.
DialogTemplate MakeDosConvert()
{
    DialogTemplate t;
    t.nID = IDD_DOS_CONVERT;
    t.caption = "DOS版MORVELﾃﾞｰﾀｺﾝﾊﾞｰﾄ"_sj;
    t.cx = 277;
    t.cy = 150;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD radio = BS_RADIOBUTTON | WS_TABSTOP;
    const DWORD check = BS_CHECKBOX | WS_TABSTOP;
    t.controls = {
        Control(DlgStatic, IDC_DOS_STATIC, "ﾄﾞﾗｲﾌﾞ指定  [C]"_sj, 7, 7, 120, 8,
                SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS),
        Control(DlgListControl, IDC_DOS_LIST, CString(), 7, 18, 120, 104,
                LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING | LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS |
                    LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
        Control(DlgGroupBox, IDC_STATIC, "ｺﾝﾊﾞｰﾄﾃﾞｰﾀ指定"_sj, 134, 7, 136, 115, BS_GROUPBOX),
        Control(DlgRadioButton, IDC_DOS_AUXILIARY, "補助ﾃﾞｰﾀ"_sj, 142, 20, 56, 10, radio | WS_GROUP),
        Control(DlgCheckBox, IDC_DOS_UNITS, "単位ﾃﾞｰﾀ"_sj, 204, 20, 60, 10, check),
        Control(DlgCheckBox, IDC_DOS_SUBJECTS, "科目ﾃﾞｰﾀ"_sj, 204, 31, 60, 10, check),
        Control(DlgCheckBox, IDC_DOS_CLASSIFY, "分類ﾃﾞｰﾀ"_sj, 204, 42, 60, 10, check),
        Control(DlgRadioButton, IDC_DOS_FORMS, "形式ﾃﾞｰﾀ"_sj, 142, 58, 56, 10, radio),
        Control(DlgCheckBox, IDC_DOS_ESTIMATION_FORM, "見積形式"_sj, 204, 58, 60, 10, check),
        Control(DlgCheckBox, IDC_DOS_PARTS_FORM, "部材形式"_sj, 204, 69, 60, 10, check),
        Control(DlgCheckBox, IDC_DOS_INFORMATION_FORM, "情報形式"_sj, 204, 80, 60, 10, check),
        Control(DlgRadioButton, IDC_DOS_EDIT, "編集ﾃﾞｰﾀ"_sj, 142, 96, 56, 10, radio),
        Control(DlgRadioButton, IDC_DOS_ESTIMATE_DATA, "見積ﾃﾞｰﾀ"_sj, 204, 96, 60, 10, radio | WS_GROUP),
        Control(DlgRadioButton, IDC_DOS_PARTS_DATA, "部材ﾃﾞｰﾀ"_sj, 204, 107, 60, 10, radio),
        Control(DlgPushButton, IDOK, "OK", 164, 129, 50, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
        Control(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 220, 129, 50, 14, WS_TABSTOP),
    };
    return t;
}

DialogTemplate MakeDosFile()
{
    DialogTemplate t;
    t.nID = IDD_DOS_FILE;
    t.caption = "DOS版ＭＯＲＶＥＬﾌｧｲﾙを選択"_sj;
    t.cx = 206;
    t.cy = 146;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.controls = {
        Control(DlgGroupBox, IDC_STATIC, "ﾌｧｲﾙ名"_sj, 7, 7, 136, 116, BS_GROUPBOX),
        Control(DlgListControl, IDC_DOS_LIST, CString(), 14, 19, 122, 97,
                LVS_REPORT | LVS_SORTASCENDING | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | WS_BORDER |
                    WS_TABSTOP),
        Control(DlgPushButton, IDOK, "OK", 150, 11, 50, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
        Control(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 150, 29, 50, 14, WS_TABSTOP),
        Control(DlgPushButton, IDC_DOS_BROWSE, "参照..."_sj, 150, 55, 50, 14, WS_TABSTOP),
        Control(DlgStatic, IDC_DOS_STATIC, CString(), 7, 130, 192, 8,
                SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS),
    };
    return t;
}

} // namespace

void RegisterDosConvertResources()
{
    RegisterDialogTemplate(IDD_DOS_CONVERT, MakeDosConvert);
    RegisterDialogTemplate(IDD_DOS_FILE, MakeDosFile);
    RegisterDriveIcons(); // IDI_DOS_REMOVABLE, IDI_DOS_FIXED
    RegisterIconResource(IDI_DOS_OTHER, ImageFromXpm(kOtherDrive));
    RegisterIconResource(IDI_DOS_FILE, ImageFromXpm(kDosFile));
}
