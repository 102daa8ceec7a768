#include "setup/CEstimationDialog.h"

#include "app/CMorvelApp.h"
#include "resources/SetupIds.h"
#include "setup/FormPageSupport.h"

IMPLEMENT_DYNCREATE(CEstimationDialog, CFormPage)

CEstimationDialog::CEstimationDialog()
    : CFormPageOf(IDD_ESTIMATION_PAGE, 10, IDR_ESTIMATION_ROW_MENU, std::make_unique<CEstimationCellEdit>())
{
    m_lists[0] = MakePickList(
        "属性設定",
        {{"1.文字", "文字"}, {"2.数値", "数値"}, {"3.計 A", "計 A"}, {"4.計 B", "計 B"}, {"5.計 C", "計 C"}});
    m_lists[1] = MakePickList("特定項目", {{"(なし)", ""},
                                           {"1.単位", "1"},
                                           {"2.名称．検索", "2"},
                                           {"3.数量", "3"},
                                           {"4.分類 CD", "4"},
                                           {"5.検索", "5"},
                                           {"6.名称", "6"},
                                           {"7.歩掛率", "7"},
                                           {"8.歩掛 CD", "8"},
                                           {"9.分類．歩掛", "9"}});
    m_lists[2] =
        MakePickList("縦合計", {{"(なし)", ""}, {"1.取る", "1"}, {"2.見積金額", "2"}, {"3.原価金額", "3"}});
    m_lists[4] = MakePickList("ｺﾝﾊﾟｰﾄ", {{"(なし)", ""},
                                         {"A. No.", "A"},
                                         {"B. 項目名", "B"},
                                         {"C. 摘要", "C"},
                                         {"D. 数量", "D"},
                                         {"E. 単位", "E"},
                                         {"F. 掛率", "F"},
                                         {"G. 原単価", "G"},
                                         {"H. 売単価", "H"},
                                         {"I . 実行金額", "I"},
                                         {"J. 見積金額", "J"},
                                         {"K. 荒利金額", "K"},
                                         {"L. 荒利率", "L"},
                                         {"M. 備考", "M"},
                                         {"N. 歩掛率", "N"},
                                         {"O. CD(歩掛)", "O"}});
}

CString CEstimationDialog::OpenFilter() const
{
    return "見積形式ﾌｧｲﾙ(*.MMK)|*.MMK|すべてのﾌｧｲﾙ(*.*)|*.*||"_sj;
}

CString CEstimationDialog::SaveFilter() const
{
    return "見積形式ﾌｧｲﾙ(*.MMK)|*.MMK|すべてのﾌｧｲﾙ|*.*||"_sj;
}

const CPickList* CEstimationDialog::PickListOf(int nCol)
{
    switch (nCol) {
    case 2:
        return &m_lists[0];
    case 7:
        return &m_lists[1];
    case 8:
        return &m_lists[2];
    case 9: {
        // Built afresh from the application's parts form: "(なし)", then "A." and the
        // name of item 1, "B." ... (at most 99 items, so that the list keeps to 100).
        CPickList& list = m_lists[3];
        list.title = "部材項目"_sj;
        list.shown = {"(なし)"_sj};
        list.stored = {CString()};
        const CPartFormFile& parts = App().m_partForm;
        for (int i = 0; i < parts.GetCount() && i < 99; ++i) {
            const CString letter(static_cast<char>(64 + i + 1));
            list.shown.push_back(letter + "." + parts.GetItem(i, 0));
            list.stored.push_back(letter);
        }
        return &list;
    }
    case 10:
        return &m_lists[4];
    default:
        return nullptr;
    }
}

int CEstimationDialog::EnterSteps(int nCol, const CString& strAttribute) const
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
    case 7:
        return bText ? 2 : 1;
    default:
        return 1;
    }
}

void CEstimationDialog::AfterPick(int nCol, int nIndex)
{
    if (nCol != 7)
        return;
    // "2", "5" and "6" name one item each: a new "2" clears every other "2", "5" and
    // "6"; a new "5" every other "2" and "5"; a new "6" every other "2" and "6".
    const CString picked = m_lists[1].stored[static_cast<size_t>(nIndex)];
    std::vector<CString> conflicts;
    if (picked == "2")
        conflicts = {"2", "5", "6"};
    else if (picked == "5")
        conflicts = {"2", "5"};
    else if (picked == "6")
        conflicts = {"2", "6"};
    if (conflicts.empty())
        return;
    const int nCount = std::max(m_nSnapshotCount, ItemCount() == LAST_ROW ? 0 : ItemCount());
    CEstimationFormFile& app = App().m_estimationForm;
    for (int r = 1; r <= nCount && r <= LAST_ROW; ++r) {
        if (r == m_nCurRow)
            continue;
        const CString code = CellText(r, 7);
        if (std::find(conflicts.begin(), conflicts.end(), code) == conflicts.end())
            continue;
        m_grid.SetTextMatrix(static_cast<short>(r), 7, "");
        if (m_nSetup && r - 1 < app.GetCount())
            app.SetItem(r - 1, CEstimationFormFile::colT, "");
        if (r <= m_nSnapshotCount)
            m_snapshot[static_cast<size_t>((r - 1) * m_nEditableCols + 6)] = CString();
    }
}
