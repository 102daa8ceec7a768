// Rows pasted into an estimate that is nearly at its row limit: the limit grows and every
// row, the pasted ones and the ones they push down, is still there after saving and
// opening the estimate again.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "resources/ResourceIds.h"

#include <vector>

namespace {

class RowLimitPaste : public EstimateWindowTest {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "0");
    }
    std::vector<std::string> AllNames() const
    {
        std::vector<std::string> names;
        for (int r = 0; r < m_pView->GetUsedRows(); ++r)
            names.push_back(Utf8Cell(r, scName));
        return names;
    }
};

} // namespace

TEST_F(RowLimitPaste, PastedRowsAtTheLimitPushNoRowOutOfTheEstimate)
{
    ASSERT_NE(OpenSample(), nullptr);
    const int nUsed = m_pView->GetUsedRows();
    // The limit just above the rows in use, as a small "Estimation Maxmum Rows" gives it.
    m_pView->SetRowLimit(nUsed + 2);
    std::vector<std::string> names = AllNames();

    const int x = m_pView->GetMetrics().nRowHeaderWidth / 2;
    auto selectRows = [&](int nFirst, int nLast) {
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, CellPoint(0, nFirst).y));
        m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, CellPoint(0, nLast).y));
        m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, CellPoint(0, nLast).y));
    };
    selectRows(3, 12);
    Command(ID_EDIT_COPY);
    selectRows(3, 3);
    Command(ID_EDIT_PASTE);

    std::vector<std::string> expected(names.begin(), names.begin() + 3);
    expected.insert(expected.end(), names.begin() + 3, names.begin() + 13);
    expected.insert(expected.end(), names.begin() + 3, names.end());
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed + 10);
    EXPECT_LT(m_pView->GetUsedRows(), m_pView->GetRowLimit());
    EXPECT_EQ(AllNames(), expected);

    const CString path = m_pFolder->System("WORK") + "\\limit.MMD";
    ASSERT_TRUE(m_pDoc->OnSaveDocument(path));
    m_pDoc->OnCloseDocument();
    m_pDoc = nullptr;
    m_pView = nullptr;
    ASSERT_NE(OpenEstimate(path), nullptr);
    EXPECT_EQ(AllNames(), expected);
}
