// Find and replace in the parts grid, through the requests the find and replace dialogs
// send (WM_FINDREPLACE_REQUEST). The sort's order is the model's (tests/engine/parts).
#include "tests/parts/PartsTestSupport.h"

#include "grid/ModelessMessages.h"

namespace {

class PartsFindTest : public PartsTest {
protected:
    PartsFindTest()
    {
        FillForm(p.doc->m_form, SamplePartItems());
        p.view->TakeDocumentRows();
    }
    void Put(int nRow, int nCol, const char* utf8)
    {
        p.view->SetCellText(CString::FromUtf8(utf8), nRow, nCol);
    }
    std::string Cell(int nRow, int nCol) const { return p.view->GetCellText(nRow, nCol).ToUtf8(); }
    LRESULT Request(WPARAM nFlags, const std::string& text)
    {
        return p.view->OnFindReplaceRequest(nFlags, reinterpret_cast<LPARAM>(text.c_str()));
    }
    LRESULT Find(WPARAM nFlags, const char* utf8) { return Request(nFlags, CString::FromUtf8(utf8).str()); }
    CPoint Current() const { return CPoint(p.view->GetCurrentCol(), p.view->GetCurrentRow()); }

    OpenedParts p;
};

} // namespace

TEST_F(PartsFindTest, FindWalksRightThenDownAndDoesNotWrap)
{
    Put(0, 0, "鉄筋");
    Put(1, 2, "鉄筋 D13");
    Put(3, 0, "xab ab");
    p.view->SetCurrentCell(0, 0);
    EXPECT_NE(0, Find(FRQ_DOWN, "鉄筋"));
    EXPECT_EQ(CPoint(2, 1), Current());
    // From the last match on nothing more: no wrap to the top.
    EXPECT_EQ(0, Find(FRQ_DOWN, "鉄筋"));
    EXPECT_EQ(CPoint(2, 1), Current());
    // Upwards the first cell is found again.
    EXPECT_NE(0, Find(FRQ_UP, "鉄筋"));
    EXPECT_EQ(CPoint(0, 0), Current());
    // Whole word: the second occurrence, position 4.
    EXPECT_EQ(4, p.view->FindNext(FRQ_DOWN | FRQ_WHOLE_WORD, "ab"));
    EXPECT_EQ(CPoint(0, 3), Current());
}

TEST_F(PartsFindTest, CaseAndStoredNumbersAndDoubleByteCharacters)
{
    Put(0, 0, "xABC");
    Put(1, 1, "1.5");
    Put(2, 0, "ソース");
    p.view->SetCurrentCell(-1, 0);
    EXPECT_EQ(1, p.view->FindNext(FRQ_DOWN, "abc"));
    p.view->SetCurrentCell(-1, 0);
    EXPECT_EQ(-1, p.view->FindNext(FRQ_DOWN | FRQ_MATCH_CASE, "abc"));
    // The number column stores 1.500000: 1.5 matches, 1,5 never.
    p.view->SetCurrentCell(-1, 1);
    EXPECT_EQ(0, p.view->FindNext(FRQ_DOWN, "1.5"));
    p.view->SetCurrentCell(-1, 1);
    EXPECT_EQ(-1, p.view->FindNext(FRQ_DOWN, "1,5"));
    // "ソ" is 0x83 0x5C: neither the byte 0x5C ("\\") nor "ｿ" matches inside it.
    p.view->SetCurrentCell(-1, 2);
    EXPECT_EQ(-1, p.view->FindNext(FRQ_DOWN, CString::FromUtf8("\\")));
    p.view->SetCurrentCell(-1, 2);
    EXPECT_EQ(-1, p.view->FindNext(FRQ_DOWN, CString::FromUtf8("ｿ")));
}

TEST_F(PartsFindTest, SelectionOnlySearchesTheSelectedBlock)
{
    Put(0, 0, "a");
    Put(2, 2, "a");
    Put(4, 0, "a");
    p.view->SetCurrentCell(1, 1);
    p.view->SetSelection(CMorvelView::selectBlock, CRect(1, 1, 3, 3));
    EXPECT_EQ(0, p.view->FindNext(FRQ_DOWN | FRQ_SELECTION_ONLY, "a"));
    EXPECT_EQ(CPoint(2, 2), Current());
    EXPECT_EQ(-1, p.view->FindNext(FRQ_DOWN | FRQ_SELECTION_ONLY, "a"));
    // A one-cell selection searches as a plain find.
    p.view->SetSelection(CMorvelView::selectBlock, CRect(2, 2, 2, 2));
    EXPECT_EQ(0, p.view->FindNext(FRQ_DOWN | FRQ_SELECTION_ONLY, "a"));
    EXPECT_EQ(CPoint(0, 4), Current());
}

TEST_F(PartsFindTest, ReplaceActsOnTheLastMatchOnlyWhileItStillStands)
{
    Put(0, 0, "xab ab");
    p.view->SetCurrentCell(-1, 0);
    ASSERT_NE(0, Find(FRQ_DOWN | FRQ_WHOLE_WORD, "ab"));
    EXPECT_NE(0, Request(FRQ_REPLACE, "cd"));
    EXPECT_EQ("xab cd", Cell(0, 0));
    EXPECT_TRUE(p.doc->IsModified());
    // The cell changed since: the old position means nothing any more.
    Put(0, 0, "zz");
    EXPECT_EQ(0, Request(FRQ_REPLACE, "cd"));
    EXPECT_EQ("zz", Cell(0, 0));
}

TEST_F(PartsFindTest, ReplaceAllReplacesOneMatchPerCellAndKeepsTheCursor)
{
    Put(0, 0, "aa");
    Put(1, 0, "ba");
    Put(2, 1, "a");
    p.view->SetCurrentCell(2, 2);
    std::string text = "a";
    text += '\0';
    text += "b";
    EXPECT_NE(0, p.view->OnFindReplaceRequest(FRQ_REPLACE_ALL, reinterpret_cast<LPARAM>(text.data())));
    EXPECT_EQ("ba", Cell(0, 0));
    EXPECT_EQ("bb", Cell(1, 0));
    // Column 1 is a number column: "b" is not a number and stays as typed.
    EXPECT_EQ("b", Cell(2, 1));
    EXPECT_EQ(CPoint(2, 2), Current());
}
