// Templates and menus of the setup and environment sheets and their small dialogs.
#include "resources/DriveIcons.h"
#include "resources/SetupIds.h"

#include "platform/ui/controls/CGridCtrl.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/dialogs/DialogTemplate.h"

#include <algorithm>

namespace {

constexpr DWORD kPageStyle = WS_CHILD | WS_CAPTION | DS_CONTROL;
constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

DialogControl Grid(int x, int y, int cx, int cy)
{
    return DialogControl(DlgCustom, IDC_GRID, CString(), x, y, cx, cy, WS_TABSTOP, 0, 0,
                         CString(AFX_GRID_CLASS));
}

DialogControl CellEdit()
{
    // Laid over the current cell by the page.
    return DialogControl(DlgEdit, IDC_CELL_EDIT, CString(), 0, 0, 40, 10, ES_AUTOHSCROLL | WS_TABSTOP, 0,
                         WS_BORDER);
}

DialogControl Label(const char* text, int x, int y, int cx, int cy = 8, UINT nID = IDC_STATIC)
{
    return DialogControl(DlgStatic, nID, CString::FromUtf8(text), x, y, cx, cy);
}

// The folder and name of the file a page edits: one line, shortened in the middle when the
// path is longer than the label.
DialogControl PathLabel(int x, int y, int cx)
{
    return DialogControl(DlgStatic, IDC_PATH_LABEL, CString(), x, y, cx, 8,
                         SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS);
}

DialogControl Button(UINT nID, const char* text, int x, int y, int cx = 50, int cy = 14, DWORD style = 0)
{
    return DialogControl(DlgPushButton, nID, CString::FromUtf8(text), x, y, cx, cy, style | WS_TABSTOP);
}

DialogControl Radio(UINT nID, const char* text, int x, int y, int cx, bool first = false)
{
    return DialogControl(DlgRadioButton, nID, CString::FromUtf8(text), x, y, cx, 10,
                         (first ? WS_GROUP | WS_TABSTOP : 0));
}

DialogControl Check(UINT nID, const char* text, int x, int y, int cx, int cy = 10)
{
    return DialogControl(DlgCheckBox, nID, CString::FromUtf8(text), x, y, cx, cy,
                         WS_GROUP | WS_TABSTOP | (cy > 10 ? BS_MULTILINE : 0));
}

DialogControl Group(const char* text, int x, int y, int cx, int cy, UINT nID = IDC_STATIC)
{
    return DialogControl(DlgGroupBox, nID, CString::FromUtf8(text), x, y, cx, cy);
}

DialogControl Edit(UINT nID, int x, int y, int cx, DWORD style = 0)
{
    return DialogControl(DlgEdit, nID, CString(), x, y, cx, 12,
                         WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP | style);
}

DialogControl ColourButton(UINT nID, int x, int y, int cx = 24, int cy = 12)
{
    return DialogControl(DlgPushButton, nID, CString(), x, y, cx, cy, BS_OWNERDRAW | WS_TABSTOP);
}

DialogTemplate MasterPage(UINT nID, const char* caption, int cxGrid, bool bSubject)
{
    std::vector<DialogControl> c{
        Group("", 4, 2, cxGrid + 22, 200),
        Label("ﾌｧｲﾙ名:", 10, 10, 30),
        PathLabel(42, 10, cxGrid - 24),
        Grid(10, 22, cxGrid, 172),
        DialogControl(DlgScrollBar, IDC_MASTER_VSCROLL, CString(), 10 + cxGrid, 22, 10, 172, SBS_VERT),
        CellEdit(),
    };
    int cx = cxGrid + 30;
    if (bSubject) {
        c.push_back(Group("科目", cxGrid + 34, 20, 60, 56, IDC_SUBJECT_GROUP));
        c.push_back(Radio(IDC_SUBJECT_LARGE, "大科目", cxGrid + 40, 32, 48, true));
        c.push_back(Radio(IDC_SUBJECT_MIDDLE, "中科目", cxGrid + 40, 46, 48));
        c.push_back(Radio(IDC_SUBJECT_SMALL, "小科目", cxGrid + 40, 60, 48));
        cx += 70;
    }
    return DialogTemplate(nID, CString::FromUtf8(caption), std::max(cx, 220), 206, kPageStyle, std::move(c));
}

DialogTemplate FormPage(UINT nID, const char* caption)
{
    return DialogTemplate(
        nID, CString::FromUtf8(caption), 340, 206, kPageStyle,
        {
            Label("ﾌｧｲﾙ名:", 7, 7, 30),
            PathLabel(40, 7, 293),
            Grid(7, 18, 316, 160),
            DialogControl(DlgScrollBar, IDC_FORM_VSCROLL, CString(), 323, 18, 10, 160, SBS_VERT),
            DialogControl(DlgScrollBar, IDC_FORM_HSCROLL, CString(), 7, 178, 316, 9, SBS_HORZ),
            CellEdit(),
            Button(IDC_FORM_NEW, "新規編集", 7, 189),
            Button(IDC_FORM_RELOAD, "初期設定", 61, 189),
            Button(IDC_FORM_OPEN, "読 込", 115, 189),
            Button(IDC_FORM_SAVE, "登 録", 169, 189),
        });
}

DialogTemplate PathPage()
{
    const DWORD listStyle =
        LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;
    return DialogTemplate(
        IDD_PATH_PAGE, "ﾊﾟｽ設定"_sj, 300, 150, kPageStyle,
        {
            // The folder boxes end inside the page, 7 units from its right edge.
            Label("ﾄﾞﾗｲﾌﾞ(&V)", 7, 7, 80),
            DialogControl(DlgListControl, IDC_DRIVE_LIST, CString(), 7, 18, 130, 120, listStyle),
            Label("ﾃﾞｰﾀﾌｫﾙﾀﾞ(&D)", 142, 9, 66),
            Edit(IDC_PATH_WORK, 210, 7, 83),
            Label("見積形式(&M)", 142, 29, 66),
            Edit(IDC_PATH_ESTIMATION, 210, 27, 83),
            Label("部材形式(&B)", 142, 49, 66),
            Edit(IDC_PATH_PARTS, 210, 47, 83),
            Label("情報形式(&J)", 142, 69, 66),
            Edit(IDC_PATH_INFORMATION, 210, 67, 83),
            Label("補助ﾃﾞｰﾀﾌｫﾙﾀﾞ(&O)", 142, 89, 66),
            Edit(IDC_PATH_OTHER, 210, 87, 83),
        });
}

DialogTemplate InputPage()
{
    return DialogTemplate(IDD_INPUT_PAGE, "入力設定"_sj, 300, 150, kPageStyle,
                          {
                              Label("1ﾍﾟｰｼﾞの行数(&L)", 7, 9, 80),
                              Edit(IDC_ROWS_IN_PAGE, 90, 7, 40),
                              Label("見積の最大行数(&E)", 7, 27, 80),
                              Edit(IDC_ESTIMATE_MAX_ROWS, 90, 25, 40),
                              Label("部材の最大行数(&P)", 7, 45, 80),
                              Edit(IDC_PARTS_MAX_ROWS, 90, 43, 40),
                              Label("消費税率(%)(&Z)", 7, 63, 80),
                              Edit(IDC_TAX_RATE, 90, 61, 40),
                              Group("入力後のｶｰｿﾙ移動", 145, 4, 148, 44),
                              Radio(IDC_MOVE_STAY, "移動しない(&I)", 152, 16, 70, true),
                              Radio(IDC_MOVE_RIGHT, "右へ移動(&R)", 225, 16, 62),
                              Radio(IDC_MOVE_DOWN, "下へ移動(&D)", 152, 30, 70),
                              Group("ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙの作成", 145, 52, 148, 28),
                              Radio(IDC_BACKUP_ON, "する(&O)", 152, 64, 60, true),
                              Radio(IDC_BACKUP_OFF, "しない(&C)", 225, 64, 60),
                              Group("消費税の丸め", 7, 84, 286, 58),
                              Radio(IDC_TAX_UP, "切り上げ(&U)", 14, 96, 80, true),
                              Radio(IDC_TAX_DOWN, "切り捨て(&T)", 100, 96, 80),
                              Radio(IDC_TAX_HALF, "四捨五入(&F)", 186, 96, 80),
                              Radio(IDC_TAX_FORM, "見積形式の丸め設定に従う(&N)", 14, 112, 160),
                          });
}

DialogTemplate OutputPage()
{
    return DialogTemplate(
        IDD_OUTPUT_PAGE, "印刷設定"_sj, 300, 196, kPageStyle,
        {
            Check(IDC_DATA_ALIGN, "入力形式の書式を印刷で採用(&P)", 7, 7, 200),
            Check(IDC_DATA_FONT, "編集時のﾌｫﾝﾄ設定を印刷で採用(&F)", 7, 20, 200),
            Check(IDC_DATA_COLOR, "編集時のﾌｫﾝﾄ色を印刷で採用(&H)", 7, 33, 200),
            Check(IDC_NO_ZERO_ROWS,
                  "単位の記載がある細目行のうち、数量と見積金額が0、または未入力の行を印刷しない(&K)", 7, 46,
                  286, 18),
            Group("値引ﾏｲﾅｽ記号", 7, 68, 70, 52),
            Radio(IDC_MINUS_BLACK, "▲(&B)", 13, 79, 55, true),
            Radio(IDC_MINUS_WHITE, "△(&W)", 13, 91, 55),
            Radio(IDC_MINUS_DASH, "－(&N)", 13, 103, 55),
            Group("印刷", 83, 68, 90, 52),
            Radio(IDC_PRINT_COLOUR, "ｶﾗｰ印刷(&C)", 89, 79, 78, true),
            Radio(IDC_PRINT_MONO, "白黒印刷(&M)", 89, 91, 78),
            Group("数量の小数値ｾﾞﾛ出力", 179, 68, 114, 52),
            Radio(IDC_ZERO_DECIMALS_OFF, "しない(&X)", 185, 79, 100, true),
            Radio(IDC_ZERO_DECIMALS_ON, "する(&Y)", 185, 91, 100),
            Group("印刷形式初期状態", 7, 126, 286, 34),
            Button(IDC_PAPER_COLOUR, "ﾍﾟｰｼﾞ色(&0)", 13, 140, 52),
            Button(IDC_PRINT_FONT, "ﾌｫﾝﾄ種類(&1)", 69, 140, 52),
            Button(IDC_PRINT_FONT_COLOUR, "ﾌｫﾝﾄ色(&2)", 125, 140, 52),
            Button(IDC_BORDER, "罫線色(&3)", 181, 140, 52),
            Button(IDC_SHADING, "網かけ(&4)", 237, 140, 52),
        });
}

DialogTemplate ColourPage()
{
    struct Row {
        const char* label;
        UINT text;
        UINT back;
        UINT font;
    };
    static const Row rows[] = {
        {"種目", 1046, 1048, 1106},   {"大科目", 1088, 1092, 1107}, {"中科目", 1089, 1095, 1108},
        {"小科目", 1090, 1097, 1109}, {"細目", 1072, 1074, 1111},   {"非計算行", 1073, 1075, 1112},
        {"値引", 1076, 1078, 1113},   {"分類", 1079, 1081, 1115},   {"歩掛", 1083, 1085, 1117},
        {"消費税", 1067, 1069, 1118}, {"総合計", 1093, 1099, 1119}, {"部材", 1186, 1190, 1187},
    };
    std::vector<DialogControl> c;
    auto addRow = [&](const Row& r, int x, int y) {
        c.push_back(Label(r.label, x, y + 2, 40));
        c.push_back(ColourButton(r.text, x + 42, y));
        c.push_back(ColourButton(r.back, x + 70, y));
        c.push_back(Button(r.font, "ﾌｫﾝﾄ", x + 98, y, 32, 12));
    };
    for (int col = 0; col < 2; ++col) {
        const int x = 7 + col * 146;
        c.push_back(Label("文字", x + 42, 4, 26));
        c.push_back(Label("背景", x + 70, 4, 26));
    }
    for (int i = 0; i < 11; ++i)
        addRow(rows[i], i < 6 ? 7 : 153, 15 + (i % 6) * 16);
    c.push_back(Group("部材", 7, 114, 140, 28));
    addRow(rows[11], 13, 126);
    return DialogTemplate(IDD_COLOUR_PAGE, "ｶﾗｰとﾌｫﾝﾄの設定"_sj, 300, 150, kPageStyle, std::move(c));
}

std::vector<CMenuResourceItem> RowMenu(bool bInformation)
{
    if (bInformation)
        return {MenuPopup("行"_sj, {
                                       MenuItem("ｺﾋﾟｰ"_sj, ID_ROW_COPY),
                                       MenuItem("切り取り"_sj, ID_ROW_CUT),
                                       MenuItem("貼り付け"_sj, ID_ROW_PASTE),
                                       MenuItem("行ｸﾘｱ"_sj, ID_GRID_ROW_CLEAR),
                                       MenuItem("行挿入"_sj, ID_GRID_ROW_INSERT),
                                   })};
    return {MenuPopup("行"_sj, {
                                   MenuItem("行切り取り"_sj, ID_ROW_CUT),
                                   MenuItem("行ｺﾋﾟｰ"_sj, ID_ROW_COPY),
                                   MenuItem("行貼り付け"_sj, ID_ROW_PASTE),
                                   MenuItem("行挿入"_sj, ID_GRID_ROW_INSERT),
                                   MenuItem("行クリア"_sj, ID_GRID_ROW_CLEAR),
                               })};
}

} // namespace

void RegisterSetupResources()
{
    RegisterDriveIcons(); // the path page's drive list
    static const bool s_registered = [] {
        RegisterDialogTemplate(IDD_UNITS_PAGE,
                               [] { return MasterPage(IDD_UNITS_PAGE, "単位名", 84, false); });
        RegisterDialogTemplate(IDD_DIVISION_PAGE,
                               [] { return MasterPage(IDD_DIVISION_PAGE, "分類名", 146, false); });
        RegisterDialogTemplate(IDD_SUBJECT_PAGE,
                               [] { return MasterPage(IDD_SUBJECT_PAGE, "科目名", 146, true); });
        RegisterDialogTemplate(IDD_ESTIMATION_PAGE, [] { return FormPage(IDD_ESTIMATION_PAGE, "見積形式"); });
        RegisterDialogTemplate(IDD_PARTS_PAGE, [] { return FormPage(IDD_PARTS_PAGE, "部材形式"); });
        RegisterDialogTemplate(IDD_INFORMATION_PAGE,
                               [] { return FormPage(IDD_INFORMATION_PAGE, "情報形式"); });
        RegisterDialogTemplate(IDD_PATH_PAGE, PathPage);
        RegisterDialogTemplate(IDD_INPUT_PAGE, InputPage);
        RegisterDialogTemplate(IDD_OUTPUT_PAGE, OutputPage);
        RegisterDialogTemplate(IDD_COLOUR_PAGE, ColourPage);
        RegisterDialogTemplate(IDD_LIST_PICK, [] {
            return DialogTemplate(
                IDD_LIST_PICK, "Dialog", 120, 110, kDialogStyle,
                {
                    DialogControl(DlgListBox, IDC_PICK_LIST, CString(), 5, 5, 110, 100,
                                  LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
                    DialogControl(DlgPushButton, IDOK, "OK", 70, 90, 40, 14, BS_DEFPUSHBUTTON),
                });
        });
        RegisterDialogTemplate(IDD_RULED_LINE, [] {
            return DialogTemplate(
                IDD_RULED_LINE, "罫線"_sj, 170, 70, kDialogStyle,
                {
                    Group("線種(&Y)", 7, 4, 100, 30),
                    DialogControl(DlgComboBox, IDC_LINE_STYLE, CString(), 13, 15, 88, 120,
                                  CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL | WS_TABSTOP),
                    Group("色(&C)", 7, 36, 100, 28),
                    ColourButton(IDC_LINE_COLOUR, 13, 47, 40, 12),
                    Button(IDOK, "OK", 113, 7, 50, 14, BS_DEFPUSHBUTTON),
                    Button(IDCANCEL, "ｷｬﾝｾﾙ", 113, 24, 50, 14),
                },
                "ＭＳ Ｐゴシック"_sj, 9);
        });
        RegisterDialogTemplate(IDD_SHADING, [] {
            return DialogTemplate(
                IDD_SHADING, "網かけ"_sj, 190, 106, kDialogStyle,
                {
                    Group("設定", 7, 4, 120, 96, IDC_SETTING_GROUP),
                    Check(IDC_FILL, "塗りつぶし(&N)", 13, 15, 100),
                    Group("模様(&D)", 13, 28, 108, 28, IDC_PATTERN_GROUP),
                    DialogControl(DlgComboBox, IDC_PATTERN, CString(), 19, 39, 96, 160,
                                  CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL | WS_TABSTOP),
                    Group("色", 13, 58, 108, 36, IDC_COLOUR_GROUP),
                    Label("前景(&F)", 19, 72, 26, 8, IDC_FORE_LABEL),
                    ColourButton(IDC_FORE_COLOUR, 46, 70, 20, 12),
                    Label("背景(&B)", 70, 72, 26, 8, IDC_BACK_LABEL),
                    ColourButton(IDC_BACK_COLOUR, 97, 70, 20, 12),
                    Button(IDOK, "OK", 133, 7, 50, 14, BS_DEFPUSHBUTTON),
                    Button(IDCANCEL, "ｷｬﾝｾﾙ", 133, 24, 50, 14),
                },
                "ＭＳ Ｐゴシック"_sj, 9);
        });
        RegisterMenuResource(IDR_ESTIMATION_ROW_MENU, [] { return RowMenu(false); });
        RegisterMenuResource(IDR_SUBJECT_ROW_MENU, [] { return RowMenu(false); });
        RegisterMenuResource(IDR_UNITS_ROW_MENU, [] { return RowMenu(false); });
        RegisterMenuResource(IDR_DIVISION_ROW_MENU, [] { return RowMenu(false); });
        RegisterMenuResource(IDR_PARTS_ROW_MENU, [] { return RowMenu(false); });
        RegisterMenuResource(IDR_INFORMATION_ROW_MENU, [] { return RowMenu(true); });
        return true;
    }();
    (void)s_registered;
}
