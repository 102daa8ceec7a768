// The layout editor's commands as a user reaches them: WM_COMMAND messages and the bars'
// box notifications sent to the real view of a layout open in its window, dialogs answered
// through the dialog answerer, the real clipboard between two layouts. Each case checks the
// objects, the undo step and, where it matters, the "Contents" stream the layout saves.
#include "app/CChildFormFrame.h"
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/CShadingDialog.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CEditorDialogs.h"
#include "layout/printform/CLayoutPrintJob.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "layout/printform/CPrintPMDoc.h"
#include "layout/printform/CRuledLineDialog.h"
#include "layout/printform/ObjectClipboard.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/CToolBar.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/ole/COleDataSource.h"
#include "resources/ChildFrameIds.h"
#include "resources/LayoutCommandIds.h"
#include "resources/LayoutDialogIds.h"
#include "resources/PrintFormEditorResources.h"
#include "resources/PrintFormIds.h"
#include "resources/PrintToolsIds.h"
#include "resources/ResourceIds.h"
#include "tests/layout/printform/LayoutTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What the framework's update pass finds for one command.
struct CProbe : public CCmdUI {
    BOOL bEnabled = TRUE;
    int nCheck = -1;
    void Enable(BOOL bOn) override
    {
        bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int n) override { nCheck = n; }
    void SetRadio(BOOL bOn) override { nCheck = bOn ? 1 : 0; }
    void SetText(LPCTSTR) override {}
};

std::string Describe(CDrawObj* p)
{
    std::ostringstream s;
    const CRect& r = p->m_position;
    s << p->GetRuntimeClass()->m_lpszClassName << " " << r.left << "," << r.top << "," << r.right << ","
      << r.bottom << " line " << p->m_nLineStyle << "/" << p->m_lineColor << " fill " << p->m_bFill << "/"
      << p->m_nFillPattern << "/" << p->m_foreColor << "/" << p->m_backColor;
    if (auto* pText = dynamic_cast<CDrawText*>(p))
        s << " text " << pText->m_strText.str() << " h " << pText->m_logFont.lfHeight << " w "
          << pText->m_logFont.lfWeight << " i " << int(pText->m_logFont.lfItalic) << " u "
          << int(pText->m_logFont.lfUnderline) << " a " << pText->m_nAlign << " c " << pText->m_clrText
          << " face " << pText->m_logFont.lfFaceName;
    if (auto* pTable = dynamic_cast<CDrawTable*>(p))
        for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i) {
            const CDrawCell* c = pTable->GetCell(i);
            s << " [" << c->m_rect.left << "," << c->m_rect.top << "," << c->m_rect.right << ","
              << c->m_rect.bottom << " " << c->m_strText.str() << " w " << c->m_logFont.lfWeight << " a "
              << c->m_nAlign << "]";
        }
    return s.str();
}

// The objects in stacking order.
std::vector<std::string> Dump(CPrintDoc* pDoc)
{
    std::vector<std::string> out;
    CDrawObjList* pList = pDoc->GetObjectList();
    for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;)
        out.push_back(Describe(pList->GetNext(pos)));
    return out;
}

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// The stored position of an object as the format writes it: four signed 32-bit values,
// little-endian, left, top, right, bottom.
std::vector<uint8_t> PositionBytes(const CRect& r)
{
    std::vector<uint8_t> out;
    for (long v : {r.left, r.top, r.right, r.bottom}) {
        const uint32_t u = static_cast<uint32_t>(static_cast<int32_t>(v));
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(u >> (8 * i)));
    }
    return out;
}

bool Contains(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle)
{
    return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
}

class LayoutCommandsTest : public LayoutAppTest {
protected:
    void SetUp() override
    {
        LayoutAppTest::SetUp();
        CDrawTool::s_nCurrentShape = ShapeSelect;
        m_pDoc = OpenCopy("edit.MMP");
        ASSERT_NE(m_pDoc, nullptr);
        m_pView = ViewOf(m_pDoc);
        ASSERT_NE(m_pView, nullptr);
        Activate(m_pView);
    }

    void TearDown() override
    {
        CDrawTool::s_nCurrentShape = ShapeSelect;
        LayoutAppTest::TearDown();
    }

    // A copy of the sample estimate layout, opened, its objects removed.
    CPrintDoc* OpenCopy(const char* name, bool bParts = false)
    {
        const fs::path target = fs::path(m_pFolder->Native("WORK")) / name;
        const char* sample = bParts ? "部材表.MBP" : "見積書.MMP";
        fs::copy_file(fs::path(MORVEL_SOURCE_DIR) / "samples" / "FORM" / sample, target);
        CPrintDoc* pDoc = Open(m_pFolder->System(std::string("WORK/") + name));
        if (pDoc == nullptr)
            return nullptr;
        CDrawObjList* pList = pDoc->GetObjectList();
        while (!pList->IsEmpty())
            pList->RemoveHead()->Remove();
        pDoc->SetModifiedFlag(FALSE);
        return pDoc;
    }

    static CPrintFormView* ViewOf(CPrintDoc* pDoc)
    {
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;)
            if (auto* pView = dynamic_cast<CPrintFormView*>(pDoc->GetNextView(pos)))
                return pView;
        return nullptr;
    }

    void Activate(CPrintFormView* pView)
    {
        if (auto* pFrame = dynamic_cast<CMDIChildWnd*>(pView->GetParentFrame()))
            pFrame->MDIActivate();
        Pump();
        ASSERT_TRUE(pView->IsActive());
    }

    // The update pass for a command, along the route the main window gives it.
    CProbe Probe(UINT nID)
    {
        CProbe probe;
        probe.m_nID = nID;
        probe.DoUpdate(m_pView, TRUE);
        return probe;
    }

    // What a user's menu choice does: the update pass, then the command when enabled.
    bool Run(UINT nID, CPrintFormView* pView = nullptr)
    {
        pView = pView ? pView : m_pView;
        CProbe probe;
        probe.m_nID = nID;
        probe.DoUpdate(pView, TRUE);
        if (!probe.bEnabled)
            return false;
        AfxGetMainWnd()->SendMessage(WM_COMMAND, nID, 0);
        Pump();
        return true;
    }

    template <class T>
    T* Add(T* pObj, bool bSelect = true)
    {
        m_pDoc->Add(pObj);
        if (bSelect)
            m_pView->Select(pObj, TRUE);
        return pObj;
    }
    CDrawRect* AddRect(const CRect& r, bool bLine = false)
    {
        auto* p = new CDrawRect(r);
        p->m_nShape = bLine ? CDrawRect::line : CDrawRect::rectangle;
        return Add(p);
    }
    CDrawText* AddText(const CRect& r, const char* text)
    {
        auto* p = new CDrawText(r);
        p->m_strText = CString(text);
        p->m_logFont.lfWeight = 400;
        return Add(p);
    }
    // A 2 x 2 table (table convention: left the larger x, bottom the larger y), all cells
    // selected when asked.
    CDrawTable* AddTable(int x, int y, bool bSelectCells)
    {
        auto* p = new CDrawTable(CRect(x + 200, y - 100, x, y));
        const int styles[4] = {1, 1, 1, 1};
        const COLORREF colors[4] = {0, 0, 0, 0};
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col)
                p->AddCellWithEdges(
                    CRect(x + 100 * (col + 1), y - 50 * (row + 1), x + 100 * col, y - 50 * row), styles,
                    colors);
        for (INT_PTR i = 0; i < p->GetCellCount(); ++i)
            p->GetCell(i)->m_bSelected = bSelectCells;
        return Add(p);
    }

    // The n-th selected object (undo and redo put copies in the objects' place).
    template <class T>
    T* Selected(int n)
    {
        CDrawObjList& sel = m_pView->GetSelection();
        POSITION pos = sel.FindIndex(n);
        return pos ? dynamic_cast<T*>(sel.GetAt(pos)) : nullptr;
    }

    void SelectOnly(std::initializer_list<CDrawObj*> objects)
    {
        m_pView->Select(nullptr);
        for (CDrawObj* p : objects)
            m_pView->Select(p, TRUE);
    }

    // The "Contents" stream of the layout saved to a new file.
    std::vector<uint8_t> SavedContents(CPrintDoc* pDoc, const char* name)
    {
        const CString path = m_pFolder->System(std::string("WORK/") + name);
        EXPECT_TRUE(pDoc->OnSaveDocument(path));
        return ContentsOf(ReadLayoutFile(m_pFolder->Native(std::string("WORK/") + name)));
    }

    CPrintDoc* m_pDoc = nullptr;
    CPrintFormView* m_pView = nullptr;
};

} // namespace

// ---- Clipboard ----------------------------------------------------------------------------

TEST_F(LayoutCommandsTest, CopiedObjectsPasteIntoAnotherLayoutAtSevenFourteenAndTwentyOneAndUndo)
{
    AddRect(CRect(-300, 400, -100, 300));
    AddText(CRect(0, 200, 150, 170), "御 見 積 書");
    AddTable(-200, 0, false);
    m_pView->Select(nullptr);
    ASSERT_TRUE(Run(ID_EDIT_SELECT_ALL));
    EXPECT_EQ(m_pView->GetSelection().GetCount(), 3);
    const std::vector<std::string> source = Dump(m_pDoc);
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    EXPECT_EQ(Dump(m_pDoc), source) << "copy changes nothing";

    CPrintDoc* pOther = OpenCopy("other.MMP");
    ASSERT_NE(pOther, nullptr);
    CPrintFormView* pOtherView = ViewOf(pOther);
    Activate(pOtherView);
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(Run(ID_EDIT_PASTE, pOtherView)) << n;
        ASSERT_EQ(pOther->GetObjectList()->GetCount(), 3 * n);
        EXPECT_EQ(pOtherView->GetSelection().GetCount(), 3) << "the pasted objects are selected";
        EXPECT_EQ(pOtherView->GetUndoKind(), CPrintFormView::undoPaste);
    }
    // The third paste: 21 right and 21 down of the copied objects, cells moving with the
    // table.
    CDrawObjList* pList = pOther->GetObjectList();
    POSITION pos = pList->FindIndex(6);
    auto* pRect = dynamic_cast<CDrawRect*>(pList->GetNext(pos));
    auto* pText = dynamic_cast<CDrawText*>(pList->GetNext(pos));
    auto* pTable = dynamic_cast<CDrawTable*>(pList->GetNext(pos));
    ASSERT_TRUE(pRect && pText && pTable);
    EXPECT_EQ(pRect->m_position, CRect(-279, 379, -79, 279));
    EXPECT_EQ(pText->m_strText, CString("御 見 積 書"));
    EXPECT_EQ(pText->m_position, CRect(21, 179, 171, 149));
    EXPECT_EQ(pTable->m_position, CRect(21, -121, -179, -21));
    EXPECT_EQ(pTable->GetCell(0)->m_rect, CRect(-79, -71, -179, -21));
    // The first and second pastes sit at 7 and 14.
    EXPECT_EQ(pList->GetHead()->m_position, CRect(-293, 393, -93, 293));
    EXPECT_EQ(pList->GetAt(pList->FindIndex(3))->m_position, CRect(-286, 386, -86, 286));

    // Undo takes the third paste away, redo brings it back; the source is untouched.
    const std::vector<std::string> three = Sorted(Dump(pOther));
    ASSERT_TRUE(Run(ID_EDIT_UNDO, pOtherView));
    EXPECT_EQ(pOther->GetObjectList()->GetCount(), 6);
    ASSERT_TRUE(Run(ID_EDIT_REDO, pOtherView));
    EXPECT_EQ(Sorted(Dump(pOther)), three);
    EXPECT_EQ(Dump(m_pDoc), source);

    // The saved layout holds the pasted rectangle where it was put, and reads back the same.
    const std::vector<uint8_t> contents = SavedContents(pOther, "pasted.MMP");
    EXPECT_TRUE(Contains(contents, PositionBytes(CRect(-279, 379, -79, 279))));
    EXPECT_TRUE(Contains(contents, PositionBytes(CRect(-293, 393, -93, 293))));
    CPrintDoc* pReopened = Open(m_pFolder->System("WORK/pasted.MMP"));
    ASSERT_NE(pReopened, nullptr);
    EXPECT_EQ(Sorted(Dump(pReopened)), three);

    // A new copy starts the count of the window that copies again.
    Activate(m_pView);
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    ASSERT_EQ(m_pDoc->GetObjectList()->GetCount(), 6);
    EXPECT_EQ(m_pView->GetSelection().GetHead()->m_position, CRect(-293, 393, -93, 293));
}

TEST_F(LayoutCommandsTest, CutLeavesTheOriginalsInPlaceForUndoAndPastesTwoUnitsOff)
{
    CDrawRect* pRect = AddRect(CRect(-300, 400, -100, 300));
    AddTable(-200, 0, false);
    const std::vector<std::string> before = Sorted(Dump(m_pDoc));
    ASSERT_TRUE(Run(ID_EDIT_CUT));
    (void)pRect;
    EXPECT_TRUE(m_pDoc->GetObjectList()->IsEmpty());
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoCut);
    // Undo puts them back exactly where they were (not 5 units off).
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_EQ(Sorted(Dump(m_pDoc)), before);
    ASSERT_TRUE(Run(ID_EDIT_REDO));
    EXPECT_TRUE(m_pDoc->GetObjectList()->IsEmpty());
    // A paste straight after the cut lands 2 right and 2 down of the old place.
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    ASSERT_EQ(m_pDoc->GetObjectList()->GetCount(), 2);
    EXPECT_EQ(m_pDoc->GetObjectList()->GetHead()->m_position, CRect(-298, 398, -98, 298));
    auto* pTable = dynamic_cast<CDrawTable*>(m_pDoc->GetObjectList()->GetTail());
    ASSERT_NE(pTable, nullptr);
    EXPECT_EQ(pTable->m_position, CRect(2, -102, -198, -2));
    EXPECT_EQ(pTable->GetCell(3)->m_rect, CRect(2, -102, -98, -52));
}

TEST_F(LayoutCommandsTest, ClipboardDataThatDoesNotReadPastesNothingAndChangesNothing)
{
    AddRect(CRect(-300, 400, -100, 300));
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    const CLIPFORMAT cf = static_cast<CLIPFORMAT>(ObjectClipboard::GetFormat());
    // A good block of one rectangle, built from the format: count, new class record, the
    // object's stored form.
    std::vector<BYTE> good = {1, 0, 0xFF, 0xFF, 0, 0, 9, 0};
    for (char c : std::string("CDrawRect"))
        good.push_back(static_cast<BYTE>(c));
    for (BYTE b : PositionBytes(CRect(-10, 10, 10, -10)))
        good.push_back(b);
    // Line style WORD, line colour DWORD, pattern WORD, fore DWORD, back DWORD, fill WORD.
    const BYTE attributes[] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0};
    good.insert(good.end(), std::begin(attributes), std::end(attributes));
    const BYTE shape[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    good.insert(good.end(), std::begin(shape), std::end(shape));

    std::vector<std::vector<BYTE>> bad;
    for (size_t n = 0; n < good.size(); ++n)
        bad.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)); // every truncation
    std::vector<BYTE> manyObjects = good;
    manyObjects[0] = 0xFF; // 0xFFFF: a 32-bit count follows
    manyObjects[1] = 0xFF;
    manyObjects.insert(manyObjects.begin() + 2, {0xFF, 0xFF, 0xFF, 0x7F});
    bad.push_back(manyObjects);
    std::vector<BYTE> embedded = {1, 0, 0xFF, 0xFF, 0, 0, 11, 0};
    for (char c : std::string("CDrawOleObj"))
        embedded.push_back(static_cast<BYTE>(c));
    embedded.resize(embedded.size() + 60, 0);
    bad.push_back(embedded);
    std::vector<BYTE> twice = good; // the same object listed twice by reference
    twice[0] = 2;
    twice.push_back(0x02); // a reference to object 2 (the class record is 1)
    twice.push_back(0x00);
    bad.push_back(twice);

    const std::vector<std::string> before = Dump(m_pDoc);
    m_pDoc->SetModifiedFlag(FALSE);
    for (size_t i = 0; i < bad.size(); ++i) {
        auto* pSource = new COleDataSource;
        pSource->CacheData(cf, bad[i]);
        pSource->SetClipboard();
        m_pView->Select(nullptr);
        AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_EDIT_PASTE, 0);
        EXPECT_EQ(Dump(m_pDoc), before) << "block " << i;
        EXPECT_FALSE(m_pDoc->IsModified()) << "block " << i;
        EXPECT_EQ(m_pDoc->GetItemCount(), 0) << "block " << i;
    }
    // The good block pastes one rectangle 7 right and down.
    auto* pSource = new COleDataSource;
    pSource->CacheData(cf, good);
    pSource->SetClipboard();
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    ASSERT_EQ(m_pDoc->GetObjectList()->GetCount(), 2);
    EXPECT_EQ(m_pDoc->GetObjectList()->GetTail()->m_position, CRect(-10 + 7, 10 - 7, 10 + 7, -10 - 7));
}

// ---- Stacking order and alignment ---------------------------------------------------------

TEST_F(LayoutCommandsTest, StackingOrderMovesTheFirstSelectedObjectAndEndsUndo)
{
    CDrawRect* a = AddRect(CRect(0, 0, 10, -10));
    CDrawRect* b = AddRect(CRect(20, 0, 30, -10));
    CDrawRect* c = AddRect(CRect(40, 0, 50, -10));
    auto order = [&] {
        std::vector<CDrawObj*> v;
        for (POSITION pos = m_pDoc->GetObjectList()->GetHeadPosition(); pos;)
            v.push_back(m_pDoc->GetObjectList()->GetNext(pos));
        return v;
    };
    m_pView->Select(nullptr);
    EXPECT_FALSE(Probe(ID_OBJECT_BACK).bEnabled) << "nothing selected";
    SelectOnly({b});
    ASSERT_TRUE(Run(ID_ALIGN_LEFT)); // makes an undoable step first... one object: nothing moves
    ASSERT_TRUE(Run(ID_OBJECT_BACK));
    EXPECT_EQ(order(), (std::vector<CDrawObj*>{b, a, c}));
    ASSERT_TRUE(Run(ID_OBJECT_BACK));
    EXPECT_EQ(order(), (std::vector<CDrawObj*>{b, a, c})) << "already at the back";
    ASSERT_TRUE(Run(ID_OBJECT_TO_FRONT));
    EXPECT_EQ(order(), (std::vector<CDrawObj*>{a, c, b}));
    ASSERT_TRUE(Run(ID_OBJECT_FORWARD));
    EXPECT_EQ(order(), (std::vector<CDrawObj*>{a, c, b})) << "already at the front";
    SelectOnly({a});
    ASSERT_TRUE(Run(ID_OBJECT_FORWARD));
    EXPECT_EQ(order(), (std::vector<CDrawObj*>{c, a, b}));
    ASSERT_TRUE(Run(ID_OBJECT_TO_BACK));
    EXPECT_EQ(order(), (std::vector<CDrawObj*>{a, c, b}));
    EXPECT_FALSE(m_pView->CanUndo());
    EXPECT_FALSE(m_pView->CanRedo());
    // The saved order is the stacking order.
    const std::vector<uint8_t> contents = SavedContents(m_pDoc, "order.MMP");
    const auto at = [&](const CRect& r) {
        const auto needle = PositionBytes(r);
        return std::search(contents.begin(), contents.end(), needle.begin(), needle.end()) - contents.begin();
    };
    EXPECT_LT(at(a->m_position), at(c->m_position));
    EXPECT_LT(at(c->m_position), at(b->m_position));
}

TEST_F(LayoutCommandsTest, ObjectsAlignToEachOtherAndToThePaperAndUndo)
{
    // A line drawn right to left and bottom to top, and a rectangle.
    CDrawRect* pLine = AddRect(CRect(300, -100, 100, 50), true);
    CDrawRect* pRect = AddRect(CRect(-50, 200, 20, 120));
    const std::vector<std::string> before = Sorted(Dump(m_pDoc));
    ASSERT_TRUE(Run(ID_ALIGN_LEFT));
    EXPECT_EQ(pLine->m_position, CRect(150, -100, -50, 50));
    EXPECT_EQ(pRect->m_position.left, -50);
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoInPlace);
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_EQ(Sorted(Dump(m_pDoc)), before);
    // Undo put copies in the objects' place: take them up again.
    pLine = dynamic_cast<CDrawRect*>(m_pDoc->GetObjectList()->GetHead());
    pRect = dynamic_cast<CDrawRect*>(m_pDoc->GetObjectList()->GetTail());
    ASSERT_TRUE(pLine && pRect);
    if (pLine->m_nShape != CDrawRect::line)
        std::swap(pLine, pRect);
    SelectOnly({pLine, pRect});
    ASSERT_TRUE(Run(ID_ALIGN_TOP));
    EXPECT_EQ(std::max(pLine->m_position.top, pLine->m_position.bottom), 200);
    ASSERT_TRUE(Run(ID_ALIGN_BOTTOM));
    EXPECT_EQ(std::min(pLine->m_position.top, pLine->m_position.bottom),
              std::min(pRect->m_position.top, pRect->m_position.bottom));
    ASSERT_TRUE(Run(ID_ALIGN_RIGHT));
    EXPECT_EQ(pRect->m_position.right, std::max(pLine->m_position.left, pLine->m_position.right));

    // The paper: margins differ left and right, so the paper's centre is not the printable
    // area's.
    CRect* pMargins = m_pDoc->GetPrintableRect();
    *pMargins = CRect(50, 40, 150, 40);
    const CSize paper = *m_pDoc->GetSize();
    ASSERT_TRUE(Run(ID_PAPER_ALIGN_CENTER));
    EXPECT_EQ((pRect->m_position.left + pRect->m_position.right) / 2, 0);
    ASSERT_TRUE(Run(ID_PAPER_ALIGN_LEFT));
    EXPECT_EQ(std::min(pLine->m_position.left, pLine->m_position.right), -paper.cx / 2 + 50);
    EXPECT_EQ(pRect->m_position.left, -paper.cx / 2 + 50);
    const int nTopBefore = pRect->m_position.top;
    ASSERT_TRUE(Run(ID_PAPER_ALIGN_RIGHT));
    EXPECT_EQ(pRect->m_position.right, -paper.cx / 2 + paper.cx - 150);
    EXPECT_EQ(pRect->m_position.top, nTopBefore) << "y never changes";
}

// ---- Formatting ---------------------------------------------------------------------------

TEST_F(LayoutCommandsTest, ShapeCommandsFollowTheCensusAndActThroughTheirDialogs)
{
    CDrawText* pText = AddText(CRect(0, 0, 100, -30), "A");
    CDrawTable* pTable = AddTable(-300, 300, true);
    EXPECT_FALSE(Probe(ID_DRAW_BORDER).bEnabled) << "a text and a table";
    EXPECT_FALSE(Probe(ID_DRAW_FILL).bEnabled);
    EXPECT_FALSE(Probe(ID_TEXT_BOLD).bEnabled);
    SelectOnly({pTable});
    EXPECT_TRUE(Probe(ID_DRAW_FILL).bEnabled) << "a table with selected cells";
    for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i)
        pTable->GetCell(i)->m_bSelected = FALSE;
    EXPECT_FALSE(Probe(ID_DRAW_FILL).bEnabled) << "a table without selected cells";
    EXPECT_FALSE(Probe(ID_EDIT_PROPERTIES).bEnabled);
    CDrawRect* pRect = AddRect(CRect(-100, -100, 0, -150));
    SelectOnly({pRect});
    EXPECT_TRUE(Probe(ID_DRAW_BORDER).bEnabled);
    EXPECT_FALSE(Probe(ID_EDIT_PROPERTIES).bEnabled) << "a rectangle has no properties";
    EXPECT_FALSE(Probe(ID_TEXT_BOLD).bEnabled) << "a rectangle has no text";
    CDrawTool::s_nCurrentShape = ShapeRect;
    EXPECT_FALSE(Probe(ID_DRAW_BORDER).bEnabled) << "another tool";
    CDrawTool::s_nCurrentShape = ShapeSelect;

    // Shading of a rectangle and a text through the dialog, then undone and redone.
    SelectOnly({pRect, pText});
    const std::vector<std::string> before = Sorted(Dump(m_pDoc));
    CDialogAnswerer answerer;
    answerer.AnswerDialog(238, [](CDialog& dlg) {
        auto& d = dynamic_cast<CShadingDialog&>(dlg);
        d.m_nPattern = 5;
        d.m_foreColor = RGB(255, 0, 0);
        d.m_bFill = TRUE;
        d.EndDialog(IDOK);
    });
    ASSERT_TRUE(Run(ID_DRAW_FILL));
    EXPECT_EQ(pRect->m_nFillPattern, 5);
    EXPECT_EQ(pText->m_nFillPattern, 5);
    EXPECT_EQ(pText->m_foreColor, RGB(255, 0, 0));
    const std::vector<std::string> shaded = Sorted(Dump(m_pDoc));
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_EQ(Sorted(Dump(m_pDoc)), before);
    ASSERT_TRUE(Run(ID_EDIT_REDO));
    EXPECT_EQ(Sorted(Dump(m_pDoc)), shaded);
    pRect = Selected<CDrawRect>(0);
    pText = Selected<CDrawText>(1);
    ASSERT_TRUE(pRect && pText);

    // Ruled lines: a text gets a frame line, a rectangle its line; Cancel changes nothing.
    answerer.AnswerDialog(215, [](CDialog& dlg) {
        auto& d = dynamic_cast<CRuledLineDialog&>(dlg);
        d.m_nLineStyle = 3;
        d.m_clrLine = RGB(0, 0, 255);
        d.EndDialog(IDOK);
    });
    ASSERT_TRUE(Run(ID_DRAW_BORDER));
    EXPECT_EQ(pRect->m_nLineStyle, 3);
    EXPECT_EQ(pText->m_lineColor, RGB(0, 0, 255));
    const std::vector<std::string> ruled = Dump(m_pDoc);
    answerer.EndDialogWith(215, IDCANCEL);
    ASSERT_TRUE(Run(ID_DRAW_BORDER));
    EXPECT_EQ(Dump(m_pDoc), ruled);
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoInPlace);

    // The table's selected cells take the shading from the same command.
    for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i)
        pTable->GetCell(i)->m_bSelected = i == 0;
    SelectOnly({pTable});
    answerer.AnswerDialog(238, [](CDialog& dlg) {
        auto& d = dynamic_cast<CShadingDialog&>(dlg);
        d.m_nPattern = 7;
        d.EndDialog(IDOK);
    });
    ASSERT_TRUE(Run(ID_DRAW_FILL));
    EXPECT_EQ(pTable->GetCell(0)->m_nFillPattern, 7);
    EXPECT_NE(pTable->GetCell(1)->m_nFillPattern, 7);
    EXPECT_EQ(answerer.CountUnanswered(), 0);

    // The saved layout carries the rectangle's new line style right after its position.
    const std::vector<uint8_t> contents = SavedContents(m_pDoc, "shaded.MMP");
    std::vector<uint8_t> needle = PositionBytes(pRect->m_position);
    needle.push_back(3);
    needle.push_back(0);
    EXPECT_TRUE(Contains(contents, needle));
}

TEST_F(LayoutCommandsTest, EqualWidthsHeightsAndLineSpacing)
{
    CDrawRect* a = AddRect(CRect(0, 900, 10, 850));
    CDrawRect* b = AddRect(CRect(100, 500, 120, 400));
    CDrawRect* c = AddRect(CRect(200, 300, 225, 280));
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_ELEMENT_WIDTH,
                          [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); }); // average, preset
    ASSERT_TRUE(Run(ID_TABLE_ITEM_WIDTH));
    for (CDrawRect* p : {a, b, c})
        EXPECT_EQ(p->m_position.right - p->m_position.left, 18);
    EXPECT_EQ(b->m_position.left, 100) << "the left edge stays";
    answerer.AnswerDialog(IDD_ROW_HEIGHT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RH_HIGHEST);
        ClickDlgButton(dlg, IDOK);
    });
    ASSERT_TRUE(Run(ID_TABLE_ROW_HEIGHT));
    for (CDrawRect* p : {a, b, c})
        EXPECT_EQ(p->m_position.top - p->m_position.bottom, 100);
    EXPECT_EQ(c->m_position.top, 300) << "the upper edge stays";
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    // Undo put copies in the objects' place, in selection order.
    ASSERT_EQ(m_pView->GetSelection().GetCount(), 3);
    a = dynamic_cast<CDrawRect*>(m_pView->GetSelection().GetAt(m_pView->GetSelection().FindIndex(0)));
    b = dynamic_cast<CDrawRect*>(m_pView->GetSelection().GetAt(m_pView->GetSelection().FindIndex(1)));
    c = dynamic_cast<CDrawRect*>(m_pView->GetSelection().GetAt(m_pView->GetSelection().FindIndex(2)));
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(c->m_position, CRect(200, 300, 218, 280));

    // Line spacing: upper edges 900, 500 and 300, gap 10: the highest stays, the others
    // stack below it.
    answerer.AnswerDialog(260, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    ASSERT_TRUE(Run(ID_LINE_SPACING));
    EXPECT_EQ(a->m_position, CRect(0, 900, 18, 850));
    EXPECT_EQ(b->m_position, CRect(100, 740, 118, 840));
    EXPECT_EQ(c->m_position, CRect(200, 710, 218, 730));
    EXPECT_EQ(answerer.CountUnanswered(), 0);

    // One object: nothing happens and no dialog shows.
    SelectOnly({a});
    const CRect keep = a->m_position;
    ASSERT_TRUE(Run(ID_TABLE_ITEM_WIDTH));
    ASSERT_TRUE(Run(ID_LINE_SPACING));
    EXPECT_EQ(a->m_position, keep);
    EXPECT_EQ(answerer.DialogIds().size(), 3u);
}

// ---- Text ---------------------------------------------------------------------------------

TEST_F(LayoutCommandsTest, TextStylesChecksAndBoxesActOnTextsOrCells)
{
    CDrawText* a = AddText(CRect(0, 0, 100, -30), "A");
    CDrawText* b = AddText(CRect(0, -50, 100, -80), "B");
    b->m_logFont.lfWeight = 700;
    EXPECT_EQ(Probe(ID_TEXT_BOLD).nCheck, 0) << "one of them is not bold";
    ASSERT_TRUE(Run(ID_TEXT_BOLD));
    EXPECT_EQ(a->m_logFont.lfWeight, 700);
    EXPECT_EQ(b->m_logFont.lfWeight, 700);
    EXPECT_EQ(Probe(ID_TEXT_BOLD).nCheck, 1);
    ASSERT_TRUE(Run(ID_TEXT_BOLD));
    EXPECT_EQ(a->m_logFont.lfWeight, 400);
    EXPECT_EQ(b->m_logFont.lfWeight, 400);
    a->m_logFont.lfWeight = 600;
    SelectOnly({a});
    EXPECT_EQ(Probe(ID_TEXT_BOLD).nCheck, 1) << "600 counts as bold";
    SelectOnly({a, b});
    ASSERT_TRUE(Run(ID_TEXT_ITALIC));
    ASSERT_TRUE(Run(ID_TEXT_UNDERLINE));
    EXPECT_EQ(a->m_logFont.lfItalic, 1);
    EXPECT_EQ(b->m_logFont.lfUnderline, 1);

    // Justification: right twice records one step only.
    ASSERT_TRUE(Run(ID_TEXT_ALIGN_RIGHT));
    EXPECT_EQ(a->m_nAlign, CTextAttributes::alignRight);
    EXPECT_EQ(Probe(ID_TEXT_ALIGN_RIGHT).nCheck, 1);
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    a = Selected<CDrawText>(0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->m_nAlign, CTextAttributes::alignLeft);
    ASSERT_TRUE(Run(ID_EDIT_REDO));
    a = Selected<CDrawText>(0);
    b = Selected<CDrawText>(1);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->m_nAlign, CTextAttributes::alignRight);
    ASSERT_TRUE(Run(ID_TEXT_ALIGN_RIGHT));
    EXPECT_TRUE(m_pView->CanUndo()) << "the redo's step stands";
    EXPECT_FALSE(m_pView->CanRedo());

    // Colour through the colour dialog; Cancel changes nothing.
    CDialogAnswerer answerer;
    answerer.AnswerColorDialog(RGB(0, 128, 0));
    ASSERT_TRUE(Run(ID_TEXT_COLOR));
    EXPECT_EQ(a->m_clrText, RGB(0, 128, 0));
    answerer.CancelNextCommonDialog();
    b->m_clrText = 0;
    ASSERT_TRUE(Run(ID_TEXT_COLOR));
    EXPECT_EQ(b->m_clrText, 0u);

    // The font-size box: "12" gives -16.
    auto* pFrame = dynamic_cast<CChildFormFrame*>(m_pView->GetParentFrame());
    ASSERT_NE(pFrame, nullptr);
    CComboBox& box = pFrame->m_wndFontSize;
    int nIndex = -1;
    for (int i = 0; i < box.GetCount(); ++i) {
        CString text;
        box.GetLBText(i, text);
        if (text == CString("12"))
            nIndex = i;
    }
    ASSERT_GE(nIndex, 0);
    box.SetCurSel(nIndex);
    m_pView->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FONT_SIZE, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(box.m_hWnd));
    EXPECT_EQ(a->m_logFont.lfHeight, -16);
    EXPECT_EQ(b->m_logFont.lfHeight, -16);

    // A face of 40 characters keeps its first 31.
    LOGFONT lf{};
    lf.lfCharSet = 128;
    m_pView->SetSelectionFaceName(CString(std::string(40, 'F')), lf);
    EXPECT_EQ(std::string(a->m_logFont.lfFaceName), std::string(31, 'F'));
    EXPECT_EQ(a->m_logFont.lfCharSet, 128);

    // A table's selected cells.
    CDrawTable* pTable = AddTable(-300, 300, true);
    SelectOnly({pTable});
    ASSERT_TRUE(Run(ID_TEXT_BOLD));
    EXPECT_EQ(pTable->CountBoldCells(), 4);
    pTable->GetCell(0)->m_nAlign = CTextAttributes::alignLeft;
    pTable->GetCell(1)->m_nAlign = CTextAttributes::alignRight;
    EXPECT_NE(Probe(ID_TEXT_ALIGN_LEFT).nCheck, 1) << "mixed cells show no justification";
    EXPECT_NE(Probe(ID_TEXT_ALIGN_RIGHT).nCheck, 1);
    ASSERT_TRUE(Run(ID_TEXT_ALIGN_CENTER));
    EXPECT_EQ(pTable->CountCenteredCells(), 4);
}

TEST_F(LayoutCommandsTest, TheTextToolAsksForTheTextAndTheNextClickPlacesIt)
{
    CDialogAnswerer answerer;
    answerer.EndDialogWith(IDD_TEXT_PROP_EM, IDCANCEL);
    ASSERT_TRUE(Run(ID_DRAW_TEXT));
    EXPECT_EQ(CDrawTool::s_nCurrentShape, ShapeSelect) << "Cancel goes back to the selection tool";

    // The page field with picture 3, then a click on the page places it.
    answerer.AnswerDialog(IDD_TEXT_PROP_EM, [](CDialog& d) {
        ClickDlgButton(d, IDC_TP_PAGE);
        SelectDlgItem(d, IDC_TP_FORMAT, 3);
        ClickDlgButton(d, IDC_TP_ADD_BEFORE);
        ClickDlgButton(d, IDOK);
    });
    ASSERT_TRUE(Run(ID_DRAW_TEXT));
    EXPECT_EQ(CDrawTool::s_nCurrentShape, ShapeText);
    EXPECT_EQ(Probe(ID_DRAW_TEXT).nCheck, 1);
    auto click = [](CPrintFormView* pView) {
        CPoint p = pView->ZoomPoint(CPoint(-100, 100));
        pView->DocToClient(p);
        const LPARAM lp = MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
        pView->SendMessage(WM_MOUSEMOVE, 0, lp);
        pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lp);
        pView->SendMessage(WM_LBUTTONUP, 0, lp);
    };
    click(m_pView);
    ASSERT_EQ(m_pDoc->GetObjectList()->GetCount(), 1);
    auto* pText = dynamic_cast<CDrawText*>(m_pDoc->GetObjectList()->GetHead());
    ASSERT_NE(pText, nullptr);
    EXPECT_EQ(pText->m_strText, CString("$ﾍﾟｰｼﾞ()$"_sj));
    EXPECT_EQ(pText->m_nPageFormat, 3);
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoNewText);

    // A parts layout: its own dialog, and the parts picture reaches the new text.
    CPrintDoc* pParts = OpenCopy("parts.MBP", true);
    ASSERT_NE(pParts, nullptr);
    CPrintFormView* pPartsView = ViewOf(pParts);
    Activate(pPartsView);
    answerer.AnswerDialog(IDD_TEXT_PROP_PM, [](CDialog& d) {
        ClickDlgButton(d, IDC_TP_PARTS);
        SelectDlgItem(d, IDC_TP_FORMAT, 2);
        ClickDlgButton(d, IDC_TP_ADD_BEFORE);
        ClickDlgButton(d, IDOK);
    });
    ASSERT_TRUE(Run(ID_DRAW_TEXT, pPartsView));
    ASSERT_EQ(CDrawTool::s_nCurrentShape, ShapeText);
    click(pPartsView);
    ASSERT_EQ(pParts->GetObjectList()->GetCount(), 1);
    auto* pPartsText = dynamic_cast<CDrawText*>(pParts->GetObjectList()->GetHead());
    ASSERT_NE(pPartsText, nullptr);
    EXPECT_EQ(pPartsText->m_nPartsPicture, 2);
    EXPECT_EQ(answerer.CountUnanswered(), 0);
}

TEST_F(LayoutCommandsTest, PropertiesOfATextOpenItsDialogAsOneUndoStep)
{
    CDrawText* pText = AddText(CRect(0, 0, 100, -30), "old");
    SelectOnly({pText});
    EXPECT_TRUE(Probe(ID_EDIT_PROPERTIES).bEnabled);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_TEXT_PROP_EM, [](CDialog& dlg) {
        dlg.SetDlgItemText(IDC_TP_FIXED_TEXT, CString("new"));
        ClickDlgButton(dlg, IDC_TP_UPDATE);
        ClickDlgButton(dlg, IDOK);
    });
    ASSERT_TRUE(Run(ID_EDIT_PROPERTIES));
    EXPECT_EQ(answerer.DialogIds(), std::vector<UINT>{IDD_TEXT_PROP_EM});
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoInPlace);
    EXPECT_TRUE(m_pView->CanUndo());
}

TEST_F(LayoutCommandsTest, InsertObjectPlacesAPictureAtThePrintableCornerOrSaysItCannot)
{
    // A 2 x 2, 24-bit bitmap file built from the format.
    std::vector<uint8_t> bmp = {'B', 'M'};
    auto put32 = [&bmp](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&bmp](uint16_t v) {
        bmp.push_back(static_cast<uint8_t>(v));
        bmp.push_back(static_cast<uint8_t>(v >> 8));
    };
    put32(14 + 40 + 16);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(2);
    put32(2);
    put16(1);
    put16(24);
    put32(0);
    put32(16);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int i = 0; i < 16; ++i)
        bmp.push_back(i % 3 == 0 ? 0xFF : 0x00);
    const std::string path = m_pFolder->Native("WORK/pic.BMP");
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bmp.data(), 1, bmp.size(), f);
        std::fclose(f);
    }
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(m_pFolder->System("WORK/pic.BMP"));
    ASSERT_TRUE(Run(ID_INSERT_OBJECT));
    ASSERT_EQ(m_pDoc->GetObjectList()->GetCount(), 1);
    auto* pOle = dynamic_cast<CDrawOleObj*>(m_pDoc->GetObjectList()->GetHead());
    ASSERT_NE(pOle, nullptr);
    const CRect corner = m_pView->GetPastePosition();
    EXPECT_EQ(pOle->m_position.TopLeft(), corner.TopLeft());
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoInsertObject);
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_TRUE(m_pDoc->GetObjectList()->IsEmpty());

    // Not a bitmap: the message, nothing inserted.
    const std::string text = m_pFolder->Native("WORK/not.BMP");
    {
        FILE* f = std::fopen(text.c_str(), "wb");
        std::fputs("not a picture", f);
        std::fclose(f);
    }
    answerer.AnswerFileDialog(m_pFolder->System("WORK/not.BMP"));
    answerer.AnswerMessageBox(CString("ｵﾌﾞｼﾞｪｸﾄ挿入ができません。"_sj), IDOK);
    ASSERT_TRUE(Run(ID_INSERT_OBJECT));
    EXPECT_EQ(m_pDoc->GetObjectList()->GetCount(), 0);
    EXPECT_EQ(answerer.MessageBoxTexts(), std::vector<CString>{CString("ｵﾌﾞｼﾞｪｸﾄ挿入ができません。"_sj)});
}

// ---- Every command reached ----------------------------------------------------------------

namespace {

bool Handles(CCmdTarget* pRoute, UINT nID)
{
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    return pRoute->OnCmdMsg(nID, CN_COMMAND, nullptr, &info) != FALSE;
}

bool IsItemEnabled(CMenu* pMenu, int nIndex)
{
    return (pMenu->GetMenuState(static_cast<UINT>(nIndex), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

// Items of a pop-up after the update its owner gives it as it opens: each enabled one has
// a handler along the route.
int CheckPopup(CMenu* pPopup, CWnd* pOwner, const std::string& where, std::vector<UINT>& enabled)
{
    int n = 0;
    pOwner->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pPopup->m_hMenu), 0);
    for (int i = 0; i < pPopup->GetMenuItemCount(); ++i) {
        const UINT nID = pPopup->GetMenuItemID(i);
        if (nID == 0 || nID >= 0xF000)
            continue;
        if (nID == static_cast<UINT>(-1)) {
            n += CheckPopup(pPopup->GetSubMenu(i), pOwner, where + "/" + std::to_string(i), enabled);
            continue;
        }
        ++n;
        if (IsItemEnabled(pPopup, i)) {
            enabled.push_back(nID);
            EXPECT_TRUE(Handles(pOwner, nID)) << where << ": command " << nID << " enabled without a handler";
        }
    }
    return n;
}

int CheckBar(CToolBar& bar, CFrameWnd* pTarget, const std::string& where, std::vector<UINT>& enabled)
{
    int n = 0;
    bar.OnUpdateCmdUI(pTarget, TRUE);
    for (int i = 0; i < bar.GetCount(); ++i) {
        const UINT nID = bar.GetItemID(i);
        if (nID == 0 || (bar.GetButtonStyle(i) & TBBS_SEPARATOR) != 0)
            continue;
        ++n;
        if ((bar.GetButtonStyle(i) & TBBS_DISABLED) == 0) {
            enabled.push_back(nID);
            EXPECT_TRUE(Handles(pTarget, nID)) << where << ": button " << nID << " enabled without a handler";
        }
    }
    return n;
}

} // namespace

TEST_F(LayoutCommandsTest, NoEnabledItemOfTheLayoutWindowsLacksAHandlerWhateverIsSelected)
{
    CWnd* pMain = AfxGetMainWnd();
    auto* pFrame = dynamic_cast<CChildFormFrame*>(m_pView->GetParentFrame());
    ASSERT_NE(pFrame, nullptr);
    CDrawText* pText = AddText(CRect(0, 0, 100, -30), "A");
    CDrawRect* pRect = AddRect(CRect(-100, -100, 0, -150));
    CDrawTable* pTable = AddTable(-300, 300, true);
    {
        ASSERT_TRUE(Run(ID_EDIT_COPY)); // the clipboard offers objects: paste is enabled
    }
    struct State {
        const char* name;
        std::vector<CDrawObj*> selection;
        int nShape;
    };
    const std::vector<State> states = {
        {"nothing", {}, ShapeSelect},
        {"a text", {pText}, ShapeSelect},
        {"a rectangle", {pRect}, ShapeSelect},
        {"a table with cells", {pTable}, ShapeSelect},
        {"text and rectangle", {pText, pRect}, ShapeSelect},
        {"add-line tool", {pTable}, ShapeRuleAdd},
    };
    std::vector<UINT> enabled;
    int nChecked = 0;
    for (const State& state : states) {
        m_pView->Select(nullptr);
        for (CDrawObj* p : state.selection)
            m_pView->Select(p, TRUE);
        CDrawTool::s_nCurrentShape = state.nShape;
        for (UINT nMenu : {125u, 126u}) {
            CMenu menu;
            ASSERT_TRUE(menu.LoadMenu(nMenu));
            for (int i = 0; i < menu.GetMenuItemCount(); ++i)
                if (CMenu* pSub = menu.GetSubMenu(i))
                    nChecked += CheckPopup(
                        pSub, pMain, std::string(state.name) + " menu " + std::to_string(nMenu), enabled);
        }
        PopupMenuChooser previous = AfxSetPopupMenuChooser([&](CMenu* pPopup) {
            nChecked += CheckPopup(pPopup, pMain, std::string(state.name) + " context menu", enabled);
            return 0u;
        });
        CPoint point(40, 40);
        m_pView->ClientToScreen(&point);
        m_pView->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_pView->m_hWnd),
                             MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
        AfxSetPopupMenuChooser(previous);
        nChecked +=
            CheckBar(pFrame->m_wndPrintToolBar, pFrame, std::string(state.name) + " tool bar", enabled);
        nChecked +=
            CheckBar(pFrame->m_wndPrintEditBar, pFrame, std::string(state.name) + " edit bar", enabled);
    }
    CDrawTool::s_nCurrentShape = ShapeSelect;
    EXPECT_GT(nChecked, 400);
    // The commands this window now carries out were seen enabled somewhere.
    for (UINT nID :
         {ID_EDIT_CUT,           ID_EDIT_COPY,        ID_EDIT_PASTE,   ID_EDIT_CLEAR,    ID_EDIT_SELECT_ALL,
          ID_EDIT_PROPERTIES,    ID_INSERT_OBJECT,    ID_CHANGE_FORM,  ID_OBJECT_FRAMES, ID_FIT_TO_TEXT,
          ID_OBJECT_TO_FRONT,    ID_ALIGN_LEFT,       ID_LINE_SPACING, ID_DRAW_BORDER,   ID_DRAW_FILL,
          ID_TABLE_ITEM_WIDTH,   ID_TABLE_ROW_HEIGHT, ID_TEXT_BOLD,    ID_TEXT_COLOR,    ID_TEXT_ALIGN_RIGHT,
          ID_PAPER_ALIGN_CENTER, ID_DRAW_TEXT,        ID_REDISPLAY,    ID_PAGE_COLOR})
        EXPECT_NE(std::find(enabled.begin(), enabled.end(), nID), enabled.end()) << nID << " never enabled";
    // Printing belongs to the estimate and parts windows.
    EXPECT_FALSE(Probe(ID_FILE_PRINT).bEnabled);
    EXPECT_FALSE(Probe(ID_FILE_PRINT_PREVIEW).bEnabled);
}

TEST_F(LayoutCommandsTest, ClearFramesFitGridWidthAndRedisplay)
{
    // Clear on a table with selected cells empties their texts as one step; the table stays.
    CDrawTable* pTable = AddTable(-300, 300, false);
    for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i)
        pTable->GetCell(i)->m_strText = CString("$日付()$");
    pTable->GetCell(1)->m_bSelected = TRUE;
    SelectOnly({pTable});
    EXPECT_FALSE(Probe(ID_EDIT_COPY).bEnabled) << "a table with selected cells is not copied";
    ASSERT_TRUE(Run(ID_EDIT_CLEAR));
    ASSERT_EQ(m_pDoc->GetObjectList()->GetCount(), 1);
    EXPECT_TRUE(pTable->GetCell(1)->m_strText.IsEmpty());
    EXPECT_EQ(pTable->GetCell(0)->m_strText, CString("$日付()$"));
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoInPlace);
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    pTable = Selected<CDrawTable>(0);
    ASSERT_NE(pTable, nullptr);
    EXPECT_EQ(pTable->GetCell(1)->m_strText, CString("$日付()$"));

    // Clear of whole objects, undone and redone; the saved layout then has no object.
    AddText(CRect(0, 0, 100, -30), "A");
    m_pView->Select(nullptr);
    ASSERT_TRUE(Run(ID_EDIT_SELECT_ALL));
    for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i)
        pTable->GetCell(i)->m_bSelected = FALSE;
    const std::vector<std::string> both = Sorted(Dump(m_pDoc));
    ASSERT_TRUE(Run(ID_EDIT_CLEAR));
    EXPECT_TRUE(m_pDoc->GetObjectList()->IsEmpty());
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoClear);
    EXPECT_FALSE(Probe(ID_EDIT_SELECT_ALL).bEnabled) << "nothing left to select";
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_EQ(Sorted(Dump(m_pDoc)), both);
    ASSERT_TRUE(Run(ID_EDIT_REDO));
    EXPECT_TRUE(m_pDoc->GetObjectList()->IsEmpty());
    const std::vector<uint8_t> contents = SavedContents(m_pDoc, "cleared.MMP");
    EXPECT_FALSE(Contains(contents, PositionBytes(CRect(0, 0, 100, -30))));

    // The frames of embedded objects go off and on again.
    const BOOL bFrames = Probe(ID_OBJECT_FRAMES).nCheck == 1;
    ASSERT_TRUE(Run(ID_OBJECT_FRAMES));
    EXPECT_EQ(Probe(ID_OBJECT_FRAMES).nCheck == 1, !bFrames);
    ASSERT_TRUE(Run(ID_OBJECT_FRAMES));
    EXPECT_EQ(Probe(ID_OBJECT_FRAMES).nCheck == 1, bFrames);

    // Fit to text makes a wide frame as wide as its text, as one step.
    CDrawText* pText = AddText(CRect(0, 0, 2000, -300), "A");
    SelectOnly({pText});
    ASSERT_TRUE(Run(ID_FIT_TO_TEXT));
    pText = Selected<CDrawText>(0);
    ASSERT_NE(pText, nullptr);
    EXPECT_LT(std::abs(pText->m_position.right - pText->m_position.left), 2000);
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoInPlace);

    // The grid width asks only while the grid shows.
    if (m_pView->IsGridShown()) {
        ASSERT_TRUE(Run(ID_VIEW_GRID));
    }
    EXPECT_FALSE(Probe(ID_GRID_WIDTH).bEnabled);
    ASSERT_TRUE(Run(ID_VIEW_GRID));
    CDialogAnswerer answerer;
    answerer.AnswerDialog(236, [](CDialog& dlg) {
        auto& d = dynamic_cast<CGridWidthDialog&>(dlg);
        d.m_nWidth = 25;
        d.EndDialog(IDOK);
    });
    ASSERT_TRUE(Run(ID_GRID_WIDTH));
    EXPECT_EQ(m_pView->GetGridPitch(), 25);
    EXPECT_TRUE(Run(ID_REDISPLAY));
}

// ---- Fitting frames, the font boxes and their keys -----------------------------------------

namespace {

// The dark pixels of a text object drawn alone as the editor draws it at the view's zoom.
int InkOf(CDrawText* pText, CPrintFormView* pView)
{
    CDC dc;
    CBitmap bitmap;
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateCompatibleBitmap(&dc, 900, 120);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 900, 120, RGB(255, 255, 255));
    dc.SetMapMode(MM_ANISOTROPIC);
    CClientDC screen(nullptr);
    dc.SetViewportExt(screen.GetDeviceCaps(LOGPIXELSX), screen.GetDeviceCaps(LOGPIXELSY));
    dc.SetWindowExt(100, -100);
    const CRect zoomed = NormalizedRect(pView->ZoomRect(pText->m_position));
    dc.SetWindowOrg(zoomed.left - 10, zoomed.bottom + 10);
    pText->m_bVisible = TRUE;
    pText->Draw(&dc, pView);
    dc.SetMapMode(MM_TEXT);
    dc.SetWindowOrg(0, 0);
    int nInk = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 900; ++x)
            nInk += GetRValue(dc.GetPixel(x, y)) < 128 ? 1 : 0;
    dc.SelectObject(pOld);
    return nInk;
}

} // namespace

TEST_F(LayoutCommandsTest, FitToTextLeavesBoldTextWholeAtTheEditorsZooms)
{
    CDrawText* pText = AddText(CRect(-300, 300, 1700, 270), CString("株式会社　モルベル建設"_sj).c_str());
    pText->m_logFont.lfHeight = -16;
    pText->m_logFont.lfWeight = 700;
    pText->m_logFont.lfCharSet = 128;
    std::strcpy(pText->m_logFont.lfFaceName, CString("ＭＳ 明朝"_sj).c_str());
    pText->m_nAlign = CTextAttributes::alignLeft;
    pText->m_nLineStyle = 0;
    pText->m_bFill = FALSE;
    SelectOnly({pText});
    ASSERT_TRUE(Run(ID_FIT_TO_TEXT));
    pText = Selected<CDrawText>(0);
    ASSERT_NE(pText, nullptr);
    const CRect fitted = pText->m_position;
    EXPECT_LT(fitted.right - fitted.left, 600);
    // Wherever the editor shows it, the fitted frame shows as much of the text as a frame
    // far wider than the text.
    for (int nZoom : {50, 75, 100, 150, 200}) {
        m_pView->ApplyZoom(nZoom);
        const int nFitted = InkOf(pText, m_pView);
        // Wider on the right, where the text ends (a frame's left may be its larger x).
        (fitted.left > fitted.right ? pText->m_position.left : pText->m_position.right) += 100;
        const int nWide = InkOf(pText, m_pView);
        pText->m_position = fitted;
        EXPECT_GT(nFitted, 0);
        EXPECT_EQ(nFitted, nWide) << "cut at " << nZoom << " %";
    }
}

// A new text from the text tool gets a frame that fits its text as it prints: the text's
// extent on the printer, mapped as a printed page is, plus 10 units wide and 6 units tall,
// whatever zoom the editor shows (the widest of several screen measurements made a frame
// twice as wide, which covered its neighbour on paper).
TEST_F(LayoutCommandsTest, ANewTextsFrameFitsItsTextAsItPrintsAtAnyZoom)
{
    CDialogAnswerer answerer;
    for (int nZoom : {100, 50}) {
        SCOPED_TRACE(nZoom);
        m_pView->ApplyZoom(nZoom);
        answerer.AnswerDialog(IDD_TEXT_PROP_EM, [](CDialog& dlg) {
            ClickDlgButton(dlg, IDC_TP_DIRECT);
            dlg.SetDlgItemText(IDC_TP_FIXED_TEXT, CString("Tax incl. total"));
            ClickDlgButton(dlg, IDC_TP_ADD_BEFORE);
            ClickDlgButton(dlg, IDOK);
        });
        ASSERT_TRUE(Run(ID_DRAW_TEXT));
        CPoint p = m_pView->ZoomPoint(CPoint(-200, 300));
        m_pView->DocToClient(p);
        const LPARAM lp = MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
        m_pView->SendMessage(WM_MOUSEMOVE, 0, lp);
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lp);
        m_pView->SendMessage(WM_LBUTTONUP, 0, lp);
        auto* pText = dynamic_cast<CDrawText*>(m_pDoc->GetObjectList()->GetTail());
        ASSERT_NE(pText, nullptr);
        ASSERT_EQ(pText->m_strText, CString("Tax incl. total"));

        CDC printer;
        ASSERT_TRUE(AfxGetApp()->CreatePrinterDC(printer));
        CLayoutPrintJob::MapPrintingDC(&printer);
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&pText->m_logFont));
        CFont* pOld = printer.SelectObject(&font);
        const CSize printed = printer.GetTextExtent(CString("Tax incl. total"));
        printer.SelectObject(pOld);
        const CRect frame = pText->m_position;
        EXPECT_EQ(std::abs(frame.right - frame.left), printed.cx + 10);
        EXPECT_NEAR(std::abs(frame.bottom - frame.top), printed.cy + 6, 1);
    }
    EXPECT_EQ(answerer.CountUnanswered(), 0);
}

TEST_F(LayoutCommandsTest, TheFontBoxesShowTheSelectedTextsFontAndKeepTheKeysTypedIntoThem)
{
    auto* pFrame = dynamic_cast<CChildFormFrame*>(m_pView->GetParentFrame());
    ASSERT_NE(pFrame, nullptr);
    CComboBox* pNameBox = pFrame->GetBarBox(IDC_FONT_NAME);
    ASSERT_NE(pNameBox, nullptr);
    CComboBox& sizeBox = pFrame->m_wndFontSize;
    CDrawText* a = AddText(CRect(0, 0, 300, -30), "A");
    CDrawText* b = AddText(CRect(0, -50, 300, -80), "B");
    // 10.5 points, in a face this printer does not offer.
    a->m_logFont.lfHeight = -14;
    const CString face = "遠くの明朝"_sj;
    std::strcpy(a->m_logFont.lfFaceName, face.c_str());
    auto shown = [this](CComboBox& box) {
        m_pView->Invalidate();
        m_pView->UpdateWindow();
        Pump();
        CString text;
        box.GetWindowText(text);
        return text;
    };
    SelectOnly({a});
    EXPECT_EQ(shown(sizeBox), CString("10.5"));
    EXPECT_EQ(shown(*pNameBox), face);
    EXPECT_EQ(pNameBox->GetCurSel(), -1);
    // A listed size selects its entry; a mixed selection shows nothing.
    b->m_logFont.lfHeight = -16;
    SelectOnly({b});
    EXPECT_EQ(shown(sizeBox), CString("12"));
    SelectOnly({a, b});
    EXPECT_EQ(shown(sizeBox), CString(""));
    EXPECT_EQ(shown(*pNameBox), CString(""));

    // Ctrl+A and Del typed into the size box act on its text, not on the objects.
    SelectOnly({a});
    shown(sizeBox);
    auto* pEdit = sizeBox.GetWidget()->findChild<QLineEdit*>();
    ASSERT_NE(pEdit, nullptr);
    // The idle update enables the boxes that the active view takes.
    pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    ASSERT_TRUE(pEdit->isEnabled());
    pEdit->setFocus();
    pEdit->deselect();
    for (auto [key, mods] :
         {std::pair{Qt::Key_A, Qt::ControlModifier}, std::pair{Qt::Key_Delete, Qt::NoModifier}}) {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(pEdit, &press);
        if (key == Qt::Key_A) {
            EXPECT_EQ(pEdit->selectedText(), QStringLiteral("10.5"));
        }
        QKeyEvent release(QEvent::KeyRelease, key, mods);
        QApplication::sendEvent(pEdit, &release);
        Pump();
        EXPECT_EQ(m_pView->GetSelection().GetCount(), 1) << key;
        EXPECT_EQ(m_pDoc->GetObjectList()->GetCount(), 2) << key;
    }
    EXPECT_EQ(pEdit->text(), QString());
}
