#include "setup/CInformationDialog.h"

#include "app/CMorvelApp.h"
#include "resources/SetupIds.h"
#include "setup/FormPageSupport.h"

IMPLEMENT_DYNCREATE(CInformationDialog, CFormPage)

CString CInformationDialog::OpenFilter() const
{
    return "情報形式ﾌｧｲﾙ(*.MJK)|*.MJK|すべてのﾌｧｲﾙ(*.*)|*.*||"_sj;
}

const CPickList* CInformationDialog::PickListOf(int nCol)
{
    if (nCol == 2)
        return &m_lists[0];
    if (nCol == 7)
        return &m_lists[1];
    return nullptr;
}

CInformationDialog::CInformationDialog()
    : CFormPageOf(IDD_INFORMATION_PAGE, 7, IDR_INFORMATION_ROW_MENU,
                  std::make_unique<CInformationFormCellEdit>())
{
    m_lists[0] = MakePickList("属性設定", {{"1.文字", "文字"},
                                           {"2.数値", "数値"},
                                           {"3.税込見積", "税込見積"},
                                           {"4.消費税", "消費税"},
                                           {"5.税抜見積", "税抜見積"},
                                           {"6.計算", "計算"}});
    m_lists[1] = MakePickList(
        "数値編集", {{"(なし)", ""}, {"1.123,456", "1"}, {"2.\\123,456", "2"}, {"3.***123,456", "3"}});
}

int CInformationDialog::EnterSteps(int nCol, const CString& strAttribute) const
{
    const bool bText = strAttribute == "文字"_sj;
    const bool bNumber = strAttribute == "数値"_sj;
    switch (nCol) {
    case 2:
        return bText ? 1 : 2;
    case 3:
        return bText ? 5 : 1;
    case 4:
        return bText ? 4 : (bNumber ? 2 : 1);
    case 5:
        return bText ? 3 : 1;
    case 6:
        return bText ? 2 : 1;
    default:
        return 1;
    }
}
