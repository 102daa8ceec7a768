// Resource and control ids of the dialogs around printing through print layouts: the choice
// of the layouts a document prints through, and the element-width dialog of the print bars.
#pragma once

#include "platform/base/Types.h"

// "印刷形式ﾌｧｲﾙ選択": the candidate layouts of one folder and the chosen ones in print order.
constexpr UINT IDD_PRINT_FORM_FILE = 181;
constexpr UINT IDC_PRINT_CANDIDATE_LIST = 1061;    // candidates, sorted by title
constexpr UINT IDC_PRINT_CHOSEN_LIST = 1062;       // chosen layouts, in print order
constexpr UINT IDC_PRINT_CHOSEN_FOLDER = 1188;     // the folder of a chosen layout
constexpr UINT IDC_PRINT_CANDIDATE_FOLDER = 1189;  // the folder the candidates come from
constexpr UINT IDC_PRINT_ADD = 1104;               // "追加 >>"
constexpr UINT IDC_PRINT_REMOVE = 1105;            // "<< 削除"
constexpr UINT IDC_PRINT_CANDIDATE_BROWSE = 32917; // "選択候補ﾌｫﾙﾀﾞ"
constexpr UINT IDC_PRINT_REFRESH = 32919;          // "更新"

// "要素幅調整": which width the selected elements take.
constexpr UINT IDD_ELEMENT_WIDTH = 244;
constexpr UINT IDC_WIDTH_NARROWEST = 1071; // "最小幅要素に合わせる(&L)"
constexpr UINT IDC_WIDTH_WIDEST = 1073;    // "最大幅要素に合わせる(&H)"
constexpr UINT IDC_WIDTH_AVERAGE = 1077;   // "平均幅に合わせる(&A)"

// Registers the templates above (safe to call more than once).
void RegisterPrintToolsDialogs();
