// Dialog templates of the grids' editing dialogs: find, replace, sort, user zoom, the
// fixed-rate calculation and the unnecessary-row search.
#include "resources/EstimateEditIds.h"

#include "platform/base/CString.h"
#include "platform/ui/dialogs/DialogTemplate.h"

namespace {

constexpr DWORD kModal = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
// The modeless dialogs stay beside the grid and are shown when made.
constexpr DWORD kModeless = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

std::vector<DialogControl> FindOptions(int y)
{
    return {
        DialogControl(DlgCheckBox, IDC_FIND_WHOLE_WORD, "完全に一致する単語だけ検索(&W)"_sj, 7, y, 150, 10,
                      WS_GROUP | WS_TABSTOP),
        DialogControl(DlgCheckBox, IDC_FIND_MATCH_CASE, "大文字と小文字を区別する(&C)"_sj, 7, y + 13, 150, 10,
                      WS_TABSTOP),
        DialogControl(DlgCheckBox, IDC_FIND_SELECTION, "選択された範囲"_sj, 7, y + 26, 150, 10, WS_TABSTOP),
    };
}

DialogTemplate FindTemplate()
{
    DialogTemplate t(IDD_FIND, "検索"_sj, 246, 88, kModeless, {});
    t.controls = {
        DialogControl(DlgStatic, IDC_STATIC, "検索する文字列(&N):"_sj, 7, 9, 70, 8),
        DialogControl(DlgEdit, IDC_FIND_TEXT, "", 80, 7, 104, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
        DialogControl(DlgPushButton, IDC_FIND_NEXT, "次を検索(&F)"_sj, 190, 6, 50, 14,
                      BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
        DialogControl(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 190, 24, 50, 14, WS_TABSTOP),
    };
    for (const DialogControl& c : FindOptions(30))
        t.controls.push_back(c);
    t.controls.push_back(DialogControl(DlgGroupBox, IDC_STATIC, "検索方向(&S)"_sj, 160, 42, 80, 38));
    t.controls.push_back(
        DialogControl(DlgRadioButton, IDC_FIND_UP, "上方向"_sj, 168, 54, 60, 10, WS_GROUP | WS_TABSTOP));
    t.controls.push_back(DialogControl(DlgRadioButton, IDC_FIND_DOWN, "下方向"_sj, 168, 66, 60, 10));
    return t;
}

DialogTemplate ReplaceTemplate()
{
    DialogTemplate t(IDD_REPLACE, "置換"_sj, 246, 100, kModeless, {});
    t.controls = {
        DialogControl(DlgStatic, IDC_STATIC, "検索する文字列(&N):"_sj, 7, 9, 70, 8),
        DialogControl(DlgEdit, IDC_FIND_TEXT, "", 80, 7, 104, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
        DialogControl(DlgStatic, IDC_STATIC, "置換後の文字列(&P):"_sj, 7, 27, 70, 8),
        DialogControl(DlgEdit, IDC_REPLACE_TEXT, "", 80, 25, 104, 13,
                      ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
        DialogControl(DlgPushButton, IDC_FIND_NEXT, "次を検索(&F)"_sj, 190, 6, 50, 14,
                      BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
        DialogControl(DlgPushButton, IDC_REPLACE_ONE, "置換(&R)"_sj, 190, 24, 50, 14, WS_TABSTOP),
        DialogControl(DlgPushButton, IDC_REPLACE_ALL, "すべて置換(&A)"_sj, 190, 42, 50, 14, WS_TABSTOP),
        DialogControl(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 190, 60, 50, 14, WS_TABSTOP),
    };
    for (const DialogControl& c : FindOptions(48))
        t.controls.push_back(c);
    return t;
}

DialogTemplate SortTemplate()
{
    return DialogTemplate(
        IDD_SORT, "並べ替え"_sj, 182, 34, kModal,
        {
            DialogControl(DlgPushButton, IDC_SORT_ASCENDING, "昇順"_sj, 8, 10, 50, 14,
                          BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
            DialogControl(DlgPushButton, IDC_SORT_DESCENDING, "降順"_sj, 66, 10, 50, 14, WS_TABSTOP),
            // Either direction sorts; ｷｬﾝｾﾙ (like Esc and the close box) sorts nothing.
            DialogControl(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 124, 10, 50, 14, WS_TABSTOP),
        });
}

DialogTemplate ZoomTemplate()
{
    return DialogTemplate(IDD_ZOOM, "ｽﾞｰﾑ"_sj, 150, 46, kModal,
                          {
                              DialogControl(DlgStatic, IDC_STATIC, "ﾕｰｻﾞｰ指定(&C):"_sj, 8, 10, 56, 8),
                              DialogControl(DlgEdit, IDC_ZOOM_PERCENT, "", 66, 8, 40, 12,
                                            ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
                              DialogControl(DlgStatic, IDC_STATIC, "％"_sj, 110, 10, 12, 8),
                              DialogControl(DlgPushButton, IDOK, "OK", 42, 26, 46, 14,
                                            BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
                              DialogControl(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 96, 26, 46, 14, WS_TABSTOP),
                          },
                          "ＭＳ ゴシック"_sj, 9);
}

DialogTemplate RateCalcTemplate()
{
    return DialogTemplate(
        IDD_RATE_CALC, "定率計算"_sj, 262, 176, kModal,
        {
            DialogControl(DlgStatic, IDC_STATIC, "計算式(&C)"_sj, 8, 10, 40, 8),
            DialogControl(DlgEdit, IDC_RATE_FORMULA, "", 52, 8, 90, 12,
                          ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
            DialogControl(DlgStatic, IDC_STATIC, "（例） : *1.2, /1.3"_sj, 148, 10, 100, 8),
            DialogControl(DlgGroupBox, IDC_STATIC, "条件種別"_sj, 8, 26, 246, 30),
            DialogControl(DlgCheckBox, IDC_RATE_CONDITIONS, "実施条件(&J)"_sj, 16, 38, 60, 10, WS_TABSTOP),
            DialogControl(DlgRadioButton, IDC_RATE_SINGLE, "単独条件(&S)"_sj, 90, 38, 64, 10,
                          WS_GROUP | WS_TABSTOP),
            DialogControl(DlgRadioButton, IDC_RATE_COMPOUND, "複合条件(&D)"_sj, 160, 38, 64, 10),
            DialogControl(DlgStatic, IDC_STATIC, "条件１"_sj, 8, 66, 30, 8),
            DialogControl(DlgComboBox, IDC_RATE_ITEM1, "", 40, 64, 80, 120,
                          CBS_DROPDOWNLIST | WS_VSCROLL | WS_GROUP | WS_TABSTOP),
            DialogControl(DlgComboBox, IDC_RATE_RELATION1, "", 126, 64, 50, 100,
                          CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
            DialogControl(DlgEdit, IDC_RATE_VALUE1, "", 182, 64, 72, 12,
                          ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
            DialogControl(DlgGroupBox, IDC_STATIC, "条件関係"_sj, 40, 82, 136, 26),
            DialogControl(DlgRadioButton, IDC_RATE_OR, "または(&O)"_sj, 48, 93, 56, 10,
                          WS_GROUP | WS_TABSTOP),
            DialogControl(DlgRadioButton, IDC_RATE_AND, "かつ(&A)"_sj, 110, 93, 56, 10),
            DialogControl(DlgStatic, IDC_STATIC, "条件２"_sj, 8, 118, 30, 8),
            DialogControl(DlgComboBox, IDC_RATE_ITEM2, "", 40, 116, 80, 120,
                          CBS_DROPDOWNLIST | WS_VSCROLL | WS_GROUP | WS_TABSTOP),
            DialogControl(DlgComboBox, IDC_RATE_RELATION2, "", 126, 116, 50, 100,
                          CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
            DialogControl(DlgEdit, IDC_RATE_VALUE2, "", 182, 116, 72, 12,
                          ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
            DialogControl(DlgPushButton, IDOK, "OK", 146, 152, 50, 14,
                          BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
            DialogControl(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 204, 152, 50, 14, WS_TABSTOP),
        });
}

DialogTemplate UnnecessaryRowsTemplate()
{
    return DialogTemplate(
        IDD_UNNECESSARY_ROWS, "不要行削除"_sj, 210, 104, kModeless,
        {
            DialogControl(DlgGroupBox, IDC_STATIC, "削除条件"_sj, 8, 6, 136, 54),
            DialogControl(DlgRadioButton, IDC_UNROW_QUANTITY, "数量=0"_sj, 16, 18, 120, 10,
                          WS_GROUP | WS_TABSTOP),
            DialogControl(DlgRadioButton, IDC_UNROW_AMOUNT, "見積金額=0"_sj, 16, 31, 120, 10),
            DialogControl(DlgRadioButton, IDC_UNROW_BOTH, "数量＆見積金額=0"_sj, 16, 44, 120, 10),
            DialogControl(DlgStatic, IDC_STATIC,
                          "※対象は、単位の記載がある細目行です。\n　 科目、合計、非計算行は対象外です。"_sj,
                          8, 68, 196, 20),
            DialogControl(DlgPushButton, IDC_UNROW_FIND, "次を検索(&F)"_sj, 152, 8, 52, 14,
                          BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
            DialogControl(DlgPushButton, IDC_UNROW_DELETE, "削除"_sj, 152, 26, 52, 14, WS_TABSTOP),
            DialogControl(DlgPushButton, IDC_UNROW_DELETE_ALL, "すべて削除"_sj, 152, 44, 52, 14, WS_TABSTOP),
            DialogControl(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 152, 86, 52, 14, WS_TABSTOP),
        });
}

} // namespace

void RegisterEstimateEditDialogs()
{
    RegisterDialogTemplate(IDD_FIND, [] { return FindTemplate(); });
    RegisterDialogTemplate(IDD_REPLACE, [] { return ReplaceTemplate(); });
    RegisterDialogTemplate(IDD_SORT, [] { return SortTemplate(); });
    RegisterDialogTemplate(IDD_ZOOM, [] { return ZoomTemplate(); });
    RegisterDialogTemplate(IDD_RATE_CALC, [] { return RateCalcTemplate(); });
    RegisterDialogTemplate(IDD_UNNECESSARY_ROWS, [] { return UnnecessaryRowsTemplate(); });
}
