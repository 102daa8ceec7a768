// The templates of the layout editor's dialogs kept here: the row-height dialog and the two
// text-property dialogs. Those show the pieces of a text on the left, the
// kind of piece and its settings in the middle, the commands on the right. The format list
// and the fixed-text combo share one place; the dialog shows one of them at a time.
#include "resources/LayoutDialogIds.h"

#include "platform/ui/dialogs/DialogTemplate.h"

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

DialogControl Label(const char* text, int x, int y, int cx, UINT nID = IDC_STATIC)
{
    return DialogControl(DlgStatic, nID, CString::FromUtf8(text), x, y, cx, 8);
}

DialogControl Button(UINT nID, const char* text, int x, int y, DWORD style = 0)
{
    return DialogControl(DlgPushButton, nID, CString::FromUtf8(text), x, y, 50, 14, style | WS_TABSTOP);
}

DialogControl Radio(UINT nID, const char* text, int x, int y, bool first = false)
{
    return DialogControl(DlgRadioButton, nID, CString::FromUtf8(text), x, y, 66, 10,
                         first ? WS_GROUP | WS_TABSTOP : 0);
}

DialogControl Check(UINT nID, const char* text, int x, int y, DWORD style = 0)
{
    return DialogControl(DlgCheckBox, nID, CString::FromUtf8(text), x, y, 50, 14, WS_TABSTOP | style);
}

DialogControl Edit(UINT nID, int x, int y, int cx)
{
    return DialogControl(DlgEdit, nID, CString(), x, y, cx, 14, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP);
}

DialogControl DropList(UINT nID, int x, int y, int cx, int cy)
{
    return DialogControl(DlgComboBox, nID, CString(), x, y, cx, cy,
                         CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
}

DialogControl EditableCombo(UINT nID, int x, int y, int cx, int cy)
{
    return DialogControl(DlgComboBox, nID, CString(), x, y, cx, cy,
                         CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP);
}

DialogControl PieceList(int x, int y, int cx, int cy)
{
    return DialogControl(DlgListBox, IDC_TP_PIECES, CString(), x, y, cx, cy,
                         LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP);
}

// The buttons and check boxes on the right, the same in both dialogs.
void AddCommands(std::vector<DialogControl>& c, const int y[9])
{
    c.push_back(Button(IDOK, "OK", 246, y[0], BS_DEFPUSHBUTTON));
    c.push_back(Button(IDCANCEL, "ｷｬﾝｾﾙ", 246, y[1]));
    c.push_back(Button(IDC_TP_ADD_BEFORE, "<< 前に追加", 246, y[2]));
    c.push_back(Button(IDC_TP_ADD_AFTER, "<< 後に追加", 246, y[3]));
    c.push_back(Button(IDC_TP_DELETE, ">> 削除", 246, y[4]));
    c.push_back(Button(IDC_TP_UPDATE, "更新", 246, y[5]));
    c.push_back(Check(IDC_TP_RULED_LINE, "罫線(&K)", 246, y[6]));
    c.push_back(Check(IDC_TP_SHADING, "網かけ(&A)", 246, y[7]));
    DialogControl autoMode = Check(IDC_TP_AUTO_MODE, "自動ﾓｰﾄﾞ(&J)", 246, y[8], WS_DISABLED);
    autoMode.notStyle = WS_VISIBLE;
    c.push_back(autoMode);
}

DialogTemplate MakeEstimateDialog()
{
    std::vector<DialogControl> c = {
        Label("<文    字>", 7, 8, 31),
        PieceList(7, 18, 70, 136),
        DialogControl(DlgGroupBox, IDC_STATIC, "ﾌﾟﾛﾊﾟﾃｨ"_sj, 84, 12, 157, 75),
        Radio(IDC_TP_DIRECT, "直接入力(&0)", 94, 24, true),
        Radio(IDC_TP_ESTIMATE, "見積から差込(&1)", 94, 39),
        Radio(IDC_TP_INFORMATION, "情報から差込(&2)", 94, 54),
        Radio(IDC_TP_NUMBERING, "番  号(&3)", 94, 69),
        Radio(IDC_TP_DATE, "日  付(&4)", 170, 24),
        Radio(IDC_TP_TIME, "時  間(&5)", 170, 39),
        Radio(IDC_TP_PAGE, "現在のﾍﾟｰｼﾞ(&6)", 170, 54),
        Radio(IDC_TP_PAGE_TOTAL, "全ﾍﾟｰｼﾞ数(&7)", 170, 69),
        Label("文字列(&M)", 83, 94, 42, IDC_TP_FORMAT_LABEL),
        DropList(IDC_TP_FORMAT, 127, 91, 115, 81),
        EditableCombo(IDC_TP_FIXED_TEXT, 127, 91, 115, 81),
        // As far as the list: the narrower label lost its "(C)".
        Label("関連付け(&C)", 83, 109, 43, IDC_TP_ITEM_LABEL),
        DropList(IDC_TP_ITEM, 127, 106, 115, 56),
        Label("行番号(&L)", 83, 125, 39, IDC_TP_ROW_LABEL),
        Edit(IDC_TP_ROW, 127, 121, 115),
        Label("ｸﾞﾙｰﾌﾟ番号(&G)", 83, 140, 44, IDC_TP_GROUP_LABEL),
        Edit(IDC_TP_GROUP, 127, 136, 114),
    };
    static const int y[9] = {8, 23, 39, 55, 71, 87, 103, 120, 140};
    AddCommands(c, y);
    return DialogTemplate(IDD_TEXT_PROP_EM, "文字ﾌﾟﾛﾊﾟﾃｨ"_sj, 303, 161, kDialogStyle, std::move(c),
                          "ＭＳ Ｐゴシック"_sj, 9);
}

DialogTemplate MakePartsDialog()
{
    std::vector<DialogControl> c = {
        Label("<文    字>", 7, 7, 31),
        PieceList(7, 16, 70, 137),
        DialogControl(DlgGroupBox, IDC_STATIC, "ﾌﾟﾛﾊﾟﾃｨ"_sj, 84, 12, 156, 73),
        Radio(IDC_TP_DIRECT, "直接入力(&0)", 94, 25, true),
        Radio(IDC_TP_PARTS, "部材から差込(&1)", 94, 40),
        Radio(IDC_TP_NUMBERING, "番  号(&2)", 94, 55),
        Radio(IDC_TP_DATE, "日  付(&3)", 170, 25),
        Radio(IDC_TP_TIME, "時  間(&4)", 170, 40),
        Radio(IDC_TP_PAGE, "現在のﾍﾟｰｼﾞ(&5)", 170, 55),
        Radio(IDC_TP_PAGE_TOTAL, "全ﾍﾟｰｼﾞ数(&6)", 170, 70),
        Label("文字列(&M)", 83, 94, 41, IDC_TP_FORMAT_LABEL),
        DropList(IDC_TP_FORMAT, 126, 92, 115, 81),
        EditableCombo(IDC_TP_FIXED_TEXT, 126, 92, 115, 81),
        Label("関連付け(&C)", 83, 110, 42, IDC_TP_ITEM_LABEL),
        DropList(IDC_TP_ITEM, 126, 107, 115, 56),
        Label("行番号(&L)", 83, 125, 34, IDC_TP_ROW_LABEL),
        Edit(IDC_TP_ROW, 126, 122, 115),
        Label("ｸﾞﾙｰﾌﾟ番号(G)", 82, 140, 44, IDC_TP_GROUP_LABEL),
        Edit(IDC_TP_GROUP, 126, 136, 115),
    };
    static const int y[9] = {7, 23, 39, 55, 71, 87, 103, 120, 140};
    AddCommands(c, y);
    return DialogTemplate(IDD_TEXT_PROP_PM, "文字ﾌﾟﾛﾊﾟﾃｨ"_sj, 303, 161, kDialogStyle, std::move(c),
                          "ＭＳ Ｐゴシック"_sj, 9);
}

DialogTemplate MakeRowHeightDialog()
{
    return DialogTemplate(
        IDD_ROW_HEIGHT, "行高さ調整"_sj, 186, 66, kDialogStyle,
        {
            DialogControl(DlgGroupBox, IDC_STATIC, "調整"_sj, 7, 4, 116, 55),
            DialogControl(DlgRadioButton, IDC_RH_LOWEST, "最低行に合わせる(&L)"_sj, 15, 16, 100, 10,
                          WS_GROUP | WS_TABSTOP),
            DialogControl(DlgRadioButton, IDC_RH_HIGHEST, "最高行に合わせる(&H)"_sj, 15, 30, 100, 10),
            DialogControl(DlgRadioButton, IDC_RH_AVERAGE, "平均高に合わせる(&A)"_sj, 15, 44, 100, 10),
            Button(IDOK, "OK", 129, 7, BS_DEFPUSHBUTTON),
            Button(IDCANCEL, "ｷｬﾝｾﾙ", 129, 24),
        },
        "ＭＳ Ｐゴシック"_sj, 9);
}

} // namespace

void RegisterLayoutDialogs()
{
    RegisterDialogTemplate(IDD_ROW_HEIGHT, MakeRowHeightDialog);
    RegisterDialogTemplate(IDD_TEXT_PROP_EM, MakeEstimateDialog);
    RegisterDialogTemplate(IDD_TEXT_PROP_PM, MakePartsDialog);
}
