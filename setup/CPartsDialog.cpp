#include "setup/CPartsDialog.h"

#include "app/CMorvelApp.h"
#include "resources/SetupIds.h"
#include "setup/FormPageSupport.h"

IMPLEMENT_DYNCREATE(CPartsDialog, CFormPage)

CString CPartsDialog::OpenFilter() const
{
    return "部材形式ﾌｧｲﾙ(*.MBK)|*.MBK|すべてのﾌｧｲﾙ(*.*)|*.*||"_sj;
}

const CPickList* CPartsDialog::PickListOf(int nCol)
{
    if (nCol == 2)
        return &m_lists[0];
    if (nCol == 7)
        return &m_lists[1];
    return nullptr;
}

CPartsDialog::CPartsDialog()
    : CFormPageOf(IDD_PARTS_PAGE, 7, IDR_PARTS_ROW_MENU, std::make_unique<CPartsCellEdit>())
{
    m_lists[0] = MakePickList("属性設定", {{"1.文字", "文字"}, {"2.数値", "数値"}, {"3.計算", "計算"}});
    m_lists[1] = MakePickList("特定項目", {{"(なし)", ""}, {"1.単位", "1"}, {"2.検索", "2"}});
}

int CPartsDialog::EnterSteps(int nCol, const CString& strAttribute) const
{
    const bool bText = strAttribute == "文字"_sj;
    const bool bNumber = strAttribute == "数値"_sj;
    switch (nCol) {
    case 2:
        return bText ? 1 : 2;
    case 3:
        return bText ? 4 : 1;
    case 4:
        return bText ? 3 : (bNumber ? 2 : 1);
    case 5:
        return bText ? 2 : 1;
    default:
        return 1;
    }
}
