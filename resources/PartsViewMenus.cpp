#include "resources/PartsViewMenus.h"

#include "platform/base/CString.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinDefs.h"
#include "resources/ResourceIds.h"

#include <vector>

namespace {

using Items = std::vector<CMenuResourceItem>;

// 112: sub-menu 0 is the grid's context menu.
Items MakePartsContextMenu()
{
    return {MenuPopup(
        "部材"_sj, {
                       MenuItem("単位"_sj, ID_UNIT),
                       MenuSeparator(),
                       MenuPopup("機能"_sj,
                                 {
                                     MenuPopup("行記憶.．ｼﾞｬﾝﾌﾟ"_sj, {MenuItem("記憶"_sj, ID_ROW_REMEMBER),
                                                                      MenuItem("ｼﾞｬﾝﾌﾟ"_sj, ID_ROW_JUMP),
                                                                      MenuItem("解除"_sj, ID_ROW_RELEASE)}),
                                     MenuSeparator(),
                                     MenuPopup("範囲計算"_sj, {MenuItem("加算"_sj, ID_RANGE_ADD),
                                                               MenuItem("ｾｯﾄ"_sj, ID_RANGE_SET),
                                                               MenuItem("ｸﾘｱ"_sj, ID_RANGE_CLEAR)}),
                                     MenuItem("定率変更"_sj, ID_RATE_CHANGE),
                                     MenuItem("並べ替え"_sj, ID_SORT),
                                     MenuSeparator(),
                                     MenuItem("他形式ﾌｧｲﾙ読込"_sj, ID_READ_OTHER_FORM),
                                 }),
                       MenuSeparator(),
                       MenuItem("切り取り"_sj, ID_EDIT_CUT),
                       MenuItem("ｺﾋﾟｰ"_sj, ID_EDIT_COPY),
                       MenuItem("貼り付け"_sj, ID_EDIT_PASTE),
                       MenuSeparator(),
                       MenuItem("行挿入"_sj, ID_ROW_INSERT_CTX),
                       MenuItem("行削除"_sj, ID_ROW_DELETE_CTX),
                       MenuItem("行ｸﾘｱ"_sj, ID_ROW_CLEAR_CTX),
                   })};
}

} // namespace

void RegisterPartsViewMenus()
{
    static const bool s_bRegistered = [] {
        RegisterMenuResource(IDR_PARTS_CONTEXT_MENU, MakePartsContextMenu);
        return true;
    }();
    (void)s_bRegistered;
}
