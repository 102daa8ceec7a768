// Dialog templates of the estimate view's row and sheet dialogs: the information sheet
// (a grid with a scroll bar and an editor laid over the value cell), the kind heading,
// discount, discount total and step dialogs, and the modeless indent tool.
#include "resources/EstimateCommandIds.h"

#include "platform/base/CString.h"
#include "platform/ui/controls/CGridCtrl.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/DialogTemplate.h"

namespace {

constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kCombo = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;

DialogControl Text(const CString& text, int x, int y, int cx)
{
    return DialogControl(DlgStatic, IDC_STATIC, text, x, y, cx, 8, SS_LEFT);
}

DialogControl Button(UINT nID, const CString& text, int x, int y, int cx = 50, DWORD style = WS_TABSTOP)
{
    return DialogControl(DlgPushButton, nID, text, x, y, cx, 14, style);
}

DialogControl OkButton(int x, int y, const CString& text = CString("OK"))
{
    return Button(IDOK, text, x, y, 50, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP);
}

DialogControl Radio(UINT nID, const CString& text, int x, int y, int cx, bool bFirst = false)
{
    return DialogControl(DlgRadioButton, nID, text, x, y, cx, 10, bFirst ? WS_GROUP | WS_TABSTOP : 0);
}

DialogTemplate InformationInput()
{
    return DialogTemplate(
        IDD_INFORMATION_INPUT, "情報入力"_sj, 351, 231, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        {
            DialogControl(DlgGroupBox, IDC_STATIC, CString(), 7, 3, 337, 198),
            DialogControl(DlgCustom, IDC_INFO_GRID, CString(), 17, 16, 300, 164, WS_TABSTOP, 0, 0,
                          CString(AFX_GRID_CLASS)),
            DialogControl(DlgScrollBar, IDC_INFO_SCROLL, CString(), 317, 16, 10, 164, SBS_VERT),
            DialogControl(DlgEdit, IDC_INFO_EDIT, CString(), 0, 0, 50, 10, ES_AUTOHSCROLL | WS_TABSTOP),
            OkButton(230, 210),
            Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 290, 210),
        });
}

DialogTemplate KindInput()
{
    return DialogTemplate(IDD_KIND_INPUT, "種目入力"_sj, 186, 64,
                          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          {
                              Text("種目名(&S)"_sj, 7, 9, 44),
                              DialogControl(DlgEdit, IDC_ROW_TEXT, CString(), 54, 7, 124, 12, kEdit),
                              Text("単  位(&U)"_sj, 7, 25, 44),
                              DialogControl(DlgEdit, IDC_ROW_UNIT, CString(), 54, 23, 44, 12, kEdit),
                              OkButton(72, 44),
                              Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 128, 44),
                          });
}

DialogTemplate DiscountInput()
{
    return DialogTemplate(IDD_DISCOUNT_INPUT, "値引入力"_sj, 170, 48,
                          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          {
                              Text("値引額(&D):"_sj, 7, 9, 46),
                              DialogControl(DlgEdit, IDC_ROW_TEXT, CString(), 56, 7, 106, 12, kEdit),
                              OkButton(56, 28),
                              Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 112, 28),
                          });
}

DialogTemplate DiscountTotal()
{
    return DialogTemplate(IDD_DISCOUNT_TOTAL, "値引合計"_sj, 150, 112,
                          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          {
                              DialogControl(DlgGroupBox, IDC_STATIC, "科目ﾚﾍﾞﾙ選択"_sj, 7, 4, 136, 80),
                              Radio(IDC_RADIO_1, "小科目 値引計(&0)"_sj, 18, 17, 110, true),
                              Radio(IDC_RADIO_2, "中科目 値引計(&1)"_sj, 18, 30, 110),
                              Radio(IDC_RADIO_3, "大科目 値引計(&2)"_sj, 18, 43, 110),
                              Radio(IDC_RADIO_4, "種  目 値引計(&3)"_sj, 18, 56, 110),
                              Radio(IDC_RADIO_5, "総  合 値引計(&4)"_sj, 18, 69, 110),
                              OkButton(36, 92),
                              Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 92, 92),
                          });
}

DialogTemplate StepSetting()
{
    return DialogTemplate(
        IDD_STEP_SETTING, "歩掛設定"_sj, 220, 122, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        {
            DialogControl(DlgGroupBox, IDC_STATIC, "計算範囲"_sj, 7, 4, 206, 60),
            Radio(IDC_RADIO_1, "科目内(&K)"_sj, 16, 17, 64, true),
            Radio(IDC_RADIO_2, "全  体(&A)"_sj, 16, 31, 64),
            Radio(IDC_RADIO_3, "科目指定(&S)"_sj, 16, 45, 64),
            DialogControl(DlgComboBox, IDC_ROW_LEVEL_COMBO, CString(), 84, 43, 70, 80, kCombo),
            Text("対象項目(&I)"_sj, 7, 74, 52),
            DialogControl(DlgComboBox, IDC_ROW_ITEM_COMBO, CString(), 62, 72, 110, 120, kCombo),
            Text("対象ＣＤ(&C)"_sj, 7, 90, 52),
            DialogControl(DlgEdit, IDC_ROW_TEXT, CString(), 62, 88, 110, 12, kEdit),
            OkButton(51, 104),
            Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 107, 104),
            Button(IDC_ROW_RELEASE, "解除"_sj, 163, 104),
        });
}

DialogTemplate Indent()
{
    return DialogTemplate(
        IDD_INDENT, "ｲﾝﾃﾞﾝﾄ"_sj, 196, 80, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        {
            Text("対象項目(&I)"_sj, 7, 9, 56),
            DialogControl(DlgComboBox, IDC_ROW_ITEM_COMBO, CString(), 66, 7, 110, 120, kCombo),
            Text("対象科目(&K)"_sj, 7, 25, 56),
            DialogControl(DlgComboBox, IDC_ROW_LEVEL_COMBO, CString(), 66, 23, 110, 100, kCombo),
            Text("ｲﾝﾃﾞﾝﾄ単位(&N):"_sj, 7, 41, 58),
            DialogControl(DlgEdit, IDC_ROW_TEXT, CString(), 66, 39, 30, 12, kEdit),
            Text("文字"_sj, 100, 41, 20),
            Button(IDC_INDENT_LEFT, "<---", 7, 60, 40),
            Button(IDC_INDENT_RIGHT, "--->", 51, 60, 40),
            Button(IDC_ROW_RELEASE, "解除"_sj, 95, 60, 40),
            Button(IDOK, "終了"_sj, 149, 60, 40, BS_DEFPUSHBUTTON | WS_TABSTOP),
        });
}

constexpr DWORD kStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

DialogTemplate ClassRate()
{
    return DialogTemplate(
        IDD_CLASS_RATE, "分類合計設定"_sj, 200, 150, kStyle,
        {
            DialogControl(DlgListControl, IDC_CLASS_LIST, CString(), 7, 7, 186, 100,
                          LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
            Text("率(&P):"_sj, 7, 115, 30),
            DialogControl(DlgEdit, IDC_ROW_TEXT, CString(), 40, 113, 50, 12, kEdit),
            Text("％"_sj, 94, 115, 12),
            OkButton(87, 130),
            Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 143, 130),
        });
}

DialogTemplate ClassTotal()
{
    return DialogTemplate(
        IDD_CLASS_TOTAL, "分類合計設定"_sj, 220, 156, kStyle,
        {
            DialogControl(DlgGroupBox, IDC_STATIC, "計算対象"_sj, 7, 4, 206, 30),
            Radio(IDC_RADIO_4, "見積金額(&M)"_sj, 16, 16, 80, true),
            Radio(IDC_RADIO_5, "縦計項目(&T)"_sj, 110, 16, 80),
            DialogControl(DlgGroupBox, IDC_STATIC, "計算範囲"_sj, 7, 38, 206, 60),
            Radio(IDC_RADIO_1, "科目内(&K)"_sj, 16, 51, 64, true),
            Radio(IDC_RADIO_2, "全  体(&A)"_sj, 16, 65, 64),
            Radio(IDC_RADIO_3, "科目指定(&S)"_sj, 16, 79, 64),
            DialogControl(DlgComboBox, IDC_ROW_LEVEL_COMBO, CString(), 84, 77, 70, 80, kCombo),
            Text("対象項目(&I)"_sj, 7, 108, 52),
            DialogControl(DlgComboBox, IDC_ROW_ITEM_COMBO, CString(), 62, 106, 110, 120, kCombo),
            Text("対象ＣＤ(&C)"_sj, 7, 124, 52),
            DialogControl(DlgEdit, IDC_ROW_TEXT, CString(), 62, 122, 110, 12, kEdit),
            OkButton(51, 138),
            Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 107, 138),
            Button(IDC_ROW_RELEASE, "解除"_sj, 163, 138),
        });
}

DialogTemplate ClassUpdate()
{
    return DialogTemplate(IDD_CLASS_UPDATE, "分類合計設定"_sj, 160, 64, kStyle,
                          {
                              Radio(IDC_RADIO_1, "現在の設定を更新(&U)"_sj, 14, 10, 130, true),
                              Radio(IDC_RADIO_2, "新規行を追加(&A)"_sj, 14, 24, 130),
                              OkButton(48, 44),
                              Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 104, 44),
                          });
}

constexpr DWORD kPage = WS_CHILD | WS_CAPTION | DS_CONTROL;

DialogTemplate NumberingGeneral()
{
    return DialogTemplate(
        IDD_NUMBERING_GENERAL, "全般"_sj, 190, 80, kPage,
        {
            Text("対象項目(&I)"_sj, 14, 16, 52),
            DialogControl(DlgComboBox, IDC_ROW_ITEM_COMBO, CString(), 70, 14, 106, 120, kCombo),
            DialogControl(DlgCheckBox, IDC_NUMBERING_UPPER, "上位科目Noセット(&N)"_sj, 14, 40, 120, 10,
                          WS_TABSTOP),
        });
}

DialogTemplate NumberingStyle(UINT nID, const CString& title)
{
    return DialogTemplate(nID, title, 260, 80, kPage,
                          {
                              Radio(IDC_RADIO_1, "ｱﾙﾌｧﾍﾞｯﾄ(半角)"_sj, 20, 12, 150, true),
                              Radio(IDC_RADIO_2, "前ｾﾞﾛ数値( 01.02.03 )"_sj, 20, 27, 150),
                              Radio(IDC_RADIO_3, "前詰数値( 1.2.3 )"_sj, 20, 42, 150),
                              Radio(IDC_RADIO_4, "なし"_sj, 20, 57, 150),
                          });
}

constexpr DWORD kPickList = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;

DialogTemplate SubjectPick()
{
    return DialogTemplate(
        IDD_SUBJECT_PICK, "大科目選択"_sj, 190, 180, kStyle,
        {
            DialogControl(DlgListControl, IDC_PICK_LIST, CString(), 7, 7, 120, 150, kPickList),
            OkButton(134, 7),
            Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 134, 24),
            Button(IDC_PICK_ADD, "追加(&A) ...."_sj, 134, 58),
            Button(IDC_PICK_CHANGE, "変更(&C) ..."_sj, 134, 75),
            Button(IDC_PICK_DELETE, "削除(&D)"_sj, 134, 92),
            DialogControl(DlgCheckBox, IDC_PICK_CLOSE_AFTER, "選択後ﾀﾞｲｱﾛｸﾞを閉じる(&S)"_sj, 7, 162, 150, 10,
                          WS_TABSTOP),
        });
}

DialogTemplate UnitPick()
{
    return DialogTemplate(
        IDD_UNIT_PICK, "単位選択"_sj, 170, 160, kStyle,
        {
            DialogControl(DlgListControl, IDC_PICK_LIST, CString(), 7, 7, 100, 146, kPickList),
            OkButton(114, 7),
            Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 114, 24),
            Button(IDC_PICK_ADD, "追加(&A) ...."_sj, 114, 58),
            Button(IDC_PICK_CHANGE, "変更(&C) ..."_sj, 114, 75),
            Button(IDC_PICK_DELETE, "削除(&D)"_sj, 114, 92),
        });
}

DialogTemplate NameUnit()
{
    return DialogTemplate(
        IDD_NAME_UNIT, "大科目入力"_sj, 190, 64, kStyle,
        {
            DialogControl(DlgStatic, IDC_NAME_LABEL, "科目名(&K)"_sj, 7, 9, 44, 8, SS_LEFT),
            DialogControl(DlgEdit, IDC_ROW_TEXT, CString(), 54, 7, 128, 12, kEdit),
            DialogControl(DlgStatic, IDC_UNIT_LABEL, "単   位(&T)"_sj, 7, 25, 44, 8, SS_LEFT),
            DialogControl(DlgEdit, IDC_ROW_UNIT, CString(), 54, 23, 60, 12, kEdit),
            OkButton(76, 44),
            Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 132, 44),
        });
}

DialogControl Check(UINT nID, const CString& text, int x, int y)
{
    return DialogControl(DlgCheckBox, nID, text, x, y, 80, 10, WS_TABSTOP);
}

DialogTemplate Summary()
{
    return DialogTemplate(IDD_SUMMARY, "集計表"_sj, 200, 104, kStyle,
                          {
                              DialogControl(DlgGroupBox, IDC_STATIC, "出力科目ﾚﾍﾞﾙ"_sj, 7, 4, 90, 72),
                              Check(IDC_SUMMARY_KIND, "種     目(&0)"_sj, 14, 17),
                              Check(IDC_SUMMARY_LARGE, "大 科 目(&1)"_sj, 14, 31),
                              Check(IDC_SUMMARY_MIDDLE, "中 科 目(&2)"_sj, 14, 45),
                              Check(IDC_SUMMARY_SMALL, "小 科 目(&3)"_sj, 14, 59),
                              DialogControl(DlgGroupBox, IDC_STATIC, "集計表"_sj, 103, 4, 90, 44),
                              Radio(IDC_RADIO_1, "外部作成(&O)"_sj, 110, 17, 78, true),
                              Radio(IDC_RADIO_2, "内部作成(&I)"_sj, 110, 31, 78),
                              OkButton(87, 84),
                              Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 143, 84),
                          });
}

DialogTemplate SelectList()
{
    return DialogTemplate(IDD_SELECT_LIST, "部材選択"_sj, 270, 153, kStyle | WS_THICKFRAME,
                          {
                              Text("ﾌｧｲﾙ名:"_sj, 7, 7, 32),
                              DialogControl(DlgStatic, IDC_SELECT_FILE, CString(), 40, 7, 223, 8,
                                            SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS),
                              DialogControl(DlgListControl, IDC_SELECT_LIST, CString(), 7, 19, 256, 104,
                                            LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
                              OkButton(30, 132),
                              Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 190, 132),
                          });
}

DialogTemplate ColumnSelect()
{
    // A choice the user may drop: ｷｬﾝｾﾙ beside OK, as in the program's other dialogs.
    return DialogTemplate(IDD_COLUMN_SELECT, "設定"_sj, 210, 200, kStyle,
                          {
                              DialogControl(DlgGroupBox, IDC_STATIC, "項目選択"_sj, 7, 4, 196, 166),
                              // The check-mark list draws its own rows: tick box and text.
                              DialogControl(DlgListBox, IDC_COLUMN_LIST, CString(), 14, 16, 182, 148,
                                            LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL |
                                                WS_BORDER | WS_TABSTOP),
                              Button(IDC_COLUMN_SELECT_ALL, "全選択(&A)"_sj, 7, 178, 46),
                              Button(IDC_COLUMN_DESELECT_ALL, "全解除(&D)"_sj, 57, 178, 46),
                              DialogControl(DlgPushButton, IDOK, "OK", 107, 178, 46, 14,
                                            BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
                              Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 157, 178, 46),
                          });
}

} // namespace

void RegisterEstimateCommandDialogs()
{
    RegisterDialogTemplate(IDD_COLUMN_SELECT, ColumnSelect);
    RegisterDialogTemplate(IDD_SELECT_LIST, SelectList);
    RegisterDialogTemplate(IDD_SUMMARY, Summary);
    RegisterDialogTemplate(IDD_SUBJECT_PICK, SubjectPick);
    RegisterDialogTemplate(IDD_UNIT_PICK, UnitPick);
    RegisterDialogTemplate(IDD_NAME_UNIT, NameUnit);
    RegisterDialogTemplate(IDD_NUMBERING_GENERAL, NumberingGeneral);
    RegisterDialogTemplate(IDD_NUMBERING_KIND,
                           [] { return NumberingStyle(IDD_NUMBERING_KIND, "種目No.種類"_sj); });
    RegisterDialogTemplate(IDD_NUMBERING_LARGE,
                           [] { return NumberingStyle(IDD_NUMBERING_LARGE, "大科目No.種類"_sj); });
    RegisterDialogTemplate(IDD_NUMBERING_MIDDLE,
                           [] { return NumberingStyle(IDD_NUMBERING_MIDDLE, "中科目No.種類"_sj); });
    RegisterDialogTemplate(IDD_NUMBERING_SMALL,
                           [] { return NumberingStyle(IDD_NUMBERING_SMALL, "小科目No.種類"_sj); });
    RegisterDialogTemplate(IDD_CLASS_RATE, ClassRate);
    RegisterDialogTemplate(IDD_CLASS_TOTAL, ClassTotal);
    RegisterDialogTemplate(IDD_CLASS_UPDATE, ClassUpdate);
    RegisterDialogTemplate(IDD_INFORMATION_INPUT, InformationInput);
    RegisterDialogTemplate(IDD_KIND_INPUT, KindInput);
    RegisterDialogTemplate(IDD_DISCOUNT_INPUT, DiscountInput);
    RegisterDialogTemplate(IDD_DISCOUNT_TOTAL, DiscountTotal);
    RegisterDialogTemplate(IDD_STEP_SETTING, StepSetting);
    RegisterDialogTemplate(IDD_INDENT, Indent);
}
