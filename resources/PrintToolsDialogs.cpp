// Dialog templates of the layout choice ("印刷形式ﾌｧｲﾙ選択") and of the element width
// ("要素幅調整").
#include "resources/PrintToolsIds.h"

#include "platform/base/CString.h"
#include "platform/ui/dialogs/DialogTemplate.h"

namespace {

DialogTemplate MakePrintFormFile()
{
    // Candidates on the left, the chosen layouts on the right: "追加 >>" moves a candidate
    // across, "<< 削除" takes a chosen one back out. Each list has its folder below it, on
    // one line shortened in the middle.
    const DWORD dwList = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    return {IDD_PRINT_FORM_FILE,
            "印刷形式ﾌｧｲﾙ選択"_sj,
            300,
            178,
            DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
            {
                {DlgStatic, IDC_STATIC, "選択候補(&C):"_sj, 7, 7, 110, 8},
                {DlgListBox, IDC_PRINT_CANDIDATE_LIST, CString(), 7, 18, 116, 104, dwList | LBS_SORT},
                {DlgStatic, IDC_PRINT_CANDIDATE_FOLDER, CString(), 7, 125, 116, 8,
                 SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS},
                {DlgPushButton, IDC_PRINT_CANDIDATE_BROWSE, "選択候補ﾌｫﾙﾀﾞ"_sj, 7, 144, 66, 14, WS_TABSTOP},
                {DlgPushButton, IDC_PRINT_REFRESH, "更新"_sj, 77, 144, 46, 14, WS_TABSTOP},
                {DlgPushButton, IDC_PRINT_ADD, "追加 >>"_sj, 129, 48, 42, 14, WS_TABSTOP},
                {DlgPushButton, IDC_PRINT_REMOVE, "<< 削除"_sj, 129, 68, 42, 14, WS_TABSTOP},
                {DlgStatic, IDC_STATIC, "印刷する形式(&P):"_sj, 177, 7, 116, 8},
                {DlgListBox, IDC_PRINT_CHOSEN_LIST, CString(), 177, 18, 116, 104, dwList},
                {DlgStatic, IDC_PRINT_CHOSEN_FOLDER, CString(), 177, 125, 116, 8,
                 SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS},
                {DlgPushButton, IDOK, "OK", 193, 158, 48, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
                {DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 245, 158, 48, 14, WS_TABSTOP},
            }};
}

DialogTemplate MakeElementWidth()
{
    return {IDD_ELEMENT_WIDTH,
            "要素幅調整"_sj,
            170,
            82,
            DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
            {
                {DlgGroupBox, IDC_STATIC, "調整"_sj, 7, 4, 104, 70},
                {DlgRadioButton, IDC_WIDTH_NARROWEST, "最小幅要素に合わせる(&L)"_sj, 14, 18, 94, 10,
                 WS_GROUP | WS_TABSTOP},
                {DlgRadioButton, IDC_WIDTH_WIDEST, "最大幅要素に合わせる(&H)"_sj, 14, 36, 94, 10},
                {DlgRadioButton, IDC_WIDTH_AVERAGE, "平均幅に合わせる(&A)"_sj, 14, 54, 94, 10},
                {DlgPushButton, IDOK, "OK", 117, 8, 46, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
                {DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 117, 26, 46, 14, WS_TABSTOP},
            }};
}

} // namespace

void RegisterPrintToolsDialogs()
{
    RegisterDialogTemplate(IDD_PRINT_FORM_FILE, MakePrintFormFile);
    RegisterDialogTemplate(IDD_ELEMENT_WIDTH, MakeElementWidth);
}
