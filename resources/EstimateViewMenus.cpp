#include "resources/EstimateViewMenus.h"

#include "platform/base/CString.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinDefs.h"
#include "resources/ResourceIds.h"

#include <vector>

namespace {

using Items = std::vector<CMenuResourceItem>;

// The subject commands: kind and heading input, discount, steps, classification totals and
// subject numbering.
Items SubjectItems()
{
    return {
        MenuItem("種目入力"_sj, ID_KIND_INPUT),         MenuItem("大科目選択"_sj, ID_PICK_LARGE),
        MenuItem("中科目選択"_sj, ID_PICK_MIDDLE),      MenuItem("小科目選択"_sj, ID_PICK_SMALL),
        MenuItem("値引入力"_sj, ID_DISCOUNT_INPUT),     MenuItem("歩掛設定"_sj, ID_STEP_SETTING),
        MenuItem("分類合計設定"_sj, ID_CLASSIFY_TOTAL), MenuItem("科目No.設定"_sj, ID_SUBJECT_NO),
    };
}

// The total rows: subtotals of the three heading levels and of the kind, the discount
// total, the consumption tax and the grand total.
Items TotalItems()
{
    return {
        MenuItem("小科目合計"_sj, ID_TOTAL_SMALL),  MenuItem("中科目合計"_sj, ID_TOTAL_MIDDLE),
        MenuItem("大科目合計"_sj, ID_TOTAL_LARGE),  MenuItem("種目合計"_sj, ID_TOTAL_KIND),
        MenuItem("値引合計"_sj, ID_TOTAL_DISCOUNT), MenuItem("消費税"_sj, ID_TAX_ROW),
        MenuItem("総合計"_sj, ID_TOTAL_GRAND),
    };
}

Items FunctionItems()
{
    return {
        MenuItem("ｲﾝﾃﾞﾝﾄ"_sj, ID_INDENT),
        MenuItem("集計表"_sj, ID_SUMMARY_TABLE_CTX),
        MenuPopup("非計算行"_sj,
                  {MenuItem("設定"_sj, ID_NONCALC_SET), MenuItem("解除"_sj, ID_NONCALC_RELEASE)}),
        MenuPopup("行記憶.．ｼﾞｬﾝﾌﾟ"_sj,
                  {MenuItem("記憶"_sj, ID_ROW_REMEMBER), MenuItem("ｼﾞｬﾝﾌﾟ"_sj, ID_ROW_JUMP),
                   MenuItem("解除"_sj, ID_ROW_RELEASE)}),
        MenuSeparator(),
        MenuPopup("範囲計算"_sj, {MenuItem("加算"_sj, ID_RANGE_ADD), MenuItem("ｾｯﾄ"_sj, ID_RANGE_SET),
                                  MenuItem("ｸﾘｱ"_sj, ID_RANGE_CLEAR)}),
        MenuItem("定率変更"_sj, ID_RATE_CHANGE),
        MenuItem("並べ替え"_sj, ID_SORT),
        MenuSeparator(),
        MenuItem("ﾍﾟｰｼﾞ送り"_sj, ID_PAGE_FEED),
        MenuItem("ﾍﾟｰｼﾞ指定"_sj, ID_PAGE_SELECT),
        MenuItem("ﾍﾟｰｼﾞ挿入"_sj, ID_PAGE_INSERT),
        MenuSeparator(),
        MenuItem("表示固定"_sj, ID_DISPLAY_FIX),
        MenuItem("入力固定"_sj, ID_INPUT_FIX),
        MenuSeparator(),
        MenuItem("他形式ﾌｧｲﾙ読込"_sj, ID_READ_OTHER_FORM),
        MenuItem("部材登録"_sj, ID_PARTS_REGISTER),
    };
}

// 107: sub-menu 0 is the grid's context menu.
Items MakeContextMenu()
{
    return {MenuPopup("見積"_sj, {
                                     MenuPopup("科目"_sj, SubjectItems()),
                                     MenuPopup("合計"_sj, TotalItems()),
                                     MenuItem("単位"_sj, ID_UNIT),
                                     MenuSeparator(),
                                     MenuPopup("機能"_sj, FunctionItems()),
                                     MenuSeparator(),
                                     MenuItem("切り取り"_sj, ID_EDIT_CUT),
                                     MenuItem("ｺﾋﾟｰ"_sj, ID_EDIT_COPY),
                                     MenuItem("貼り付け"_sj, ID_EDIT_PASTE),
                                     MenuSeparator(),
                                     MenuItem("行挿入"_sj, ID_ROW_INSERT),
                                     MenuItem("行削除"_sj, ID_ROW_DELETE),
                                     MenuItem("行ｸﾘｱ"_sj, ID_ROW_CLEAR),
                                 })};
}

} // namespace

void RegisterEstimateViewMenus()
{
    static const bool s_bRegistered = [] {
        RegisterMenuResource(IDR_ESTIMATE_CONTEXT_MENU, MakeContextMenu);
        RegisterMenuResource(IDR_SUBJECT_POPUP_MENU,
                             [] { return Items{MenuPopup("科目"_sj, SubjectItems())}; });
        RegisterMenuResource(IDR_TOTAL_POPUP_MENU, [] { return Items{MenuPopup("合計"_sj, TotalItems())}; });
        return true;
    }();
    (void)s_bRegistered;
}
