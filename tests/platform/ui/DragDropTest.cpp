// Drag-and-drop and the clipboard through data sources, data objects and drop targets:
// "MORVEL EMTREEVIEW" bytes rendered only when the drop takes them, copy with Shift and
// move without, refused and cancelled drags, drops on tree items, and clipboard data that
// other code reads with the clipboard functions.
#include "platform/base/CFile.h"
#include "platform/base/CString.h"
#include "platform/ui/controls/CTreeCtrl.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/ole/COleDataObject.h"
#include "platform/ui/ole/COleDataSource.h"
#include "platform/ui/ole/COleDropTarget.h"
#include "platform/ui/ole/DragDropTestHook.h"

#include "CommonCtlTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QClipboard>
#include <QDrag>
#include <QMimeData>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace commonctl;

namespace {

CLIPFORMAT TreeFormat()
{
    static const CLIPFORMAT cf = static_cast<CLIPFORMAT>(RegisterClipboardFormat("MORVEL EMTREEVIEW"));
    return cf;
}

// What a dragged subject looks like on the way: a form file name, a row kind, counts and
// the cells (the layout the subject tree writes).
std::vector<uint8_t> SubjectBytes()
{
    ByteBuilder b;
    b.Str("EMFORM.MTD").Word(1).Word(2).Word(3);
    for (const char* cell : {"仮設工事", "式", "1"})
        b.Str(CString::FromUtf8(cell).str()).Word(0);
    b.Word(0xFFFE); // an indent of -2 as the word it is stored in
    return b.Bytes();
}

std::vector<BYTE> ReadAll(CFile* pFile)
{
    std::vector<BYTE> bytes(pFile->GetLength());
    if (!bytes.empty())
        pFile->Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// A source that writes its bytes only when asked, and counts the times it was asked.
class CTreeDataSource : public COleDataSource {
public:
    std::vector<BYTE> payload;
    int renders = 0;
    bool* pDeleted = nullptr;
    ~CTreeDataSource() override
    {
        if (pDeleted)
            *pDeleted = true;
    }
    BOOL OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile) override
    {
        ++renders;
        if (lpFormatEtc->cfFormat != TreeFormat())
            return FALSE;
        pFile->Write(payload.data(), static_cast<UINT>(payload.size()));
        return TRUE;
    }
    BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) override
    {
        ++renders;
        if (lpFormatEtc->cfFormat != TreeFormat())
            return FALSE;
        *phGlobal = GlobalAlloc(GMEM_MOVEABLE, payload.size());
        std::memcpy(GlobalLock(*phGlobal), payload.data(), payload.size());
        GlobalUnlock(*phGlobal);
        return TRUE;
    }
};

// A drop target that copies with Shift and moves otherwise, as the subject tree does.
class CTestDropTarget : public COleDropTarget {
public:
    std::vector<std::string> events;
    std::vector<BYTE> dropped;
    CPoint lastPoint;
    DWORD lastKeys = 0;
    DROPEFFECT dropEffect = DROPEFFECT_NONE;
    CTreeCtrl* pTree = nullptr; // highlight the item under the mouse

    DROPEFFECT Effect(COleDataObject* pData, DWORD dwKeys, CPoint pt)
    {
        lastPoint = pt;
        lastKeys = dwKeys;
        if (!pData->IsDataAvailable(TreeFormat()))
            return DROPEFFECT_NONE;
        if (pTree) {
            HTREEITEM h = pTree->HitTest(pt);
            if (!h)
                return DROPEFFECT_NONE;
            pTree->SelectDropTarget(h);
        }
        return (dwKeys & MK_SHIFT) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* pData, DWORD dwKeys, CPoint pt) override
    {
        events.push_back("enter");
        return Effect(pData, dwKeys, pt);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* pData, DWORD dwKeys, CPoint pt) override
    {
        events.push_back("over");
        return Effect(pData, dwKeys, pt);
    }
    void OnDragLeave(CWnd*) override { events.push_back("leave"); }
    BOOL OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT effect, CPoint pt) override
    {
        events.push_back("drop");
        lastPoint = pt;
        CFile* pFile = pData->GetFileData(TreeFormat());
        if (!pFile)
            return FALSE;
        dropped = ReadAll(pFile);
        delete pFile;
        dropEffect = effect;
        return TRUE;
    }
};

using Events = std::vector<std::string>;

class DragDropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(a.CreateTopLevel(200, 150));
        ASSERT_TRUE(b.CreateTopLevel(200, 150));
        ASSERT_TRUE(targetA.Register(&a));
        ASSERT_TRUE(targetB.Register(&b));
        const std::vector<uint8_t> bytes = SubjectBytes();
        source.payload.assign(bytes.begin(), bytes.end());
        source.DelayRenderFileData(TreeFormat());
    }
    void TearDown() override
    {
        AfxClearDragScript();
        targetA.Revoke();
        targetB.Revoke();
        a.DestroyWindow();
        b.DestroyWindow();
        PumpEvents();
    }

    CRecorderWnd a, b;
    CTestDropTarget targetA, targetB;
    CTreeDataSource source;
};

} // namespace

TEST_F(DragDropTest, DropOnAnotherWindowCopiesWithShiftAndMovesWithout)
{
    int rendersBeforeDrop = -1;
    AfxSetDragScript({{&a, CPoint(10, 10), MK_LBUTTON}, {&b, CPoint(30, 40), MK_LBUTTON | MK_SHIFT}}, TRUE,
                     [&](int step) {
                         if (step == 1)
                             rendersBeforeDrop = source.renders;
                     });
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_COPY);
    EXPECT_EQ(targetA.events, (Events{"enter", "over", "leave"}));
    // The effect is asked once more at the drop point, then the drop happens.
    EXPECT_EQ(targetB.events, (Events{"enter", "over", "over", "drop"}));
    EXPECT_EQ(targetB.dropped, source.payload);
    EXPECT_EQ(targetB.dropEffect, DROPEFFECT_COPY);
    EXPECT_EQ(targetB.lastPoint, CPoint(30, 40));
    EXPECT_TRUE(targetB.lastKeys & MK_SHIFT);
    EXPECT_EQ(rendersBeforeDrop, 0) << "the bytes are made only when the drop takes them";
    EXPECT_EQ(source.renders, 1);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0) << "Shift was down when the drag ended";

    targetB.events.clear();
    targetB.dropped.clear();
    AfxSetDragScript({{&b, CPoint(5, 5), MK_LBUTTON}});
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_MOVE);
    EXPECT_EQ(targetB.dropped, source.payload);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_FALSE(AfxHasDragScript()) << "a script serves one drag";
}

TEST_F(DragDropTest, DataWithoutTheFormatIsRefused)
{
    COleDataSource other;
    other.CacheData(static_cast<CLIPFORMAT>(RegisterClipboardFormat("Morvel PM Data")), {1, 2, 3});
    AfxSetDragScript({{&b, CPoint(5, 5), MK_LBUTTON}});
    EXPECT_EQ(other.DoDragDrop(), DROPEFFECT_NONE);
    EXPECT_EQ(targetB.events, (Events{"enter", "over", "leave"})) << "no drop where none is allowed";
}

TEST_F(DragDropTest, CancelledDragsAndWindowsWithoutTargetDropNothing)
{
    AfxSetDragScript({{&b, CPoint(5, 5), MK_LBUTTON}}, FALSE);
    EXPECT_EQ(source.DoDragDrop(), DROPEFFECT_NONE);
    EXPECT_EQ(targetB.events, (Events{"enter", "over", "leave"}));
    EXPECT_EQ(source.renders, 0);

    CRecorderWnd plain;
    ASSERT_TRUE(plain.CreateTopLevel());
    AfxSetDragScript({{&plain, CPoint(5, 5), MK_LBUTTON}});
    EXPECT_EQ(source.DoDragDrop(), DROPEFFECT_NONE);
    plain.DestroyWindow();

    // A move the source does not allow is no drop.
    targetB.events.clear();
    AfxSetDragScript({{&b, CPoint(5, 5), MK_LBUTTON}});
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_EQ(targetB.events, (Events{"enter", "over", "leave"}));
}

TEST_F(DragDropTest, ADragWithoutADisplayEndsAtOnce)
{
    // Offscreen there is no drag loop: the drag ends with nothing dropped instead of waiting.
    // A loop would handle the call posted here, which ends it.
    bool bLoopRan = false;
    QObject context;
    QTimer::singleShot(0, &context, [&bLoopRan] {
        bLoopRan = true;
        QDrag::cancel();
    });
    EXPECT_EQ(source.DoDragDrop(), DROPEFFECT_NONE);
    EXPECT_FALSE(bLoopRan) << "a drag loop ran";
    EXPECT_TRUE(targetA.events.empty());
}

TEST_F(DragDropTest, RegisteringTwiceOrOnNoWindowFails)
{
    CTestDropTarget again;
    EXPECT_FALSE(again.Register(&a));
    EXPECT_FALSE(again.Register(nullptr));
    CRecorderWnd notCreated;
    EXPECT_FALSE(again.Register(&notCreated));
    targetA.Revoke();
    EXPECT_TRUE(again.Register(&a));
    again.Revoke();
}

TEST_F(DragDropTest, DropOnATreeItemUsesTheTreesClientCoordinates)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES, CRect(0, 0, 180, 140), &b, 1));
    HTREEITEM hRoot = tree.InsertItem("見積"_sj);
    HTREEITEM hKind = tree.InsertItem("建築"_sj, hRoot);
    tree.Expand(hRoot, TVE_EXPAND);
    CTestDropTarget treeTarget;
    treeTarget.pTree = &tree;
    ASSERT_TRUE(treeTarget.Register(&tree));
    CRect rc;
    ASSERT_TRUE(tree.GetItemRect(hKind, &rc, TRUE));
    const CPoint pt = rc.CenterPoint();
    AfxSetDragScript({{&tree, CPoint(pt.x, 2), MK_LBUTTON}, {&tree, pt, MK_LBUTTON}});
    EXPECT_EQ(source.DoDragDrop(), DROPEFFECT_MOVE);
    EXPECT_EQ(treeTarget.lastPoint, pt);
    EXPECT_EQ(tree.GetDropHilightItem(), hKind);
    EXPECT_EQ(treeTarget.dropped, source.payload);
    EXPECT_TRUE(targetB.events.empty()) << "the tree's own target took the drag";
    treeTarget.Revoke();
    tree.DestroyWindow();
}

TEST(DataTransferTest, ClipboardDataIsReadByTheDataObjectAndTheClipboardFunctions)
{
    bool bDeleted = false;
    auto* pSource = new CTreeDataSource;
    pSource->pDeleted = &bDeleted;
    const std::vector<uint8_t> bytes = SubjectBytes();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    pSource->CacheGlobalData(TreeFormat(), h);
    const CString text = "単価"_sj;
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, static_cast<size_t>(text.GetLength()) + 1);
    std::memcpy(GlobalLock(hText), text.c_str(), static_cast<size_t>(text.GetLength()) + 1);
    GlobalUnlock(hText);
    pSource->CacheGlobalData(CF_TEXT, hText);
    pSource->SetClipboard();
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), pSource);

    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(TreeFormat()));
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(static_cast<CLIPFORMAT>(RegisterClipboardFormat("MFC Morvel App"))));
    HGLOBAL hGot = data.GetGlobalData(TreeFormat());
    ASSERT_NE(hGot, nullptr);
    ASSERT_EQ(GlobalSize(hGot), bytes.size());
    EXPECT_EQ(std::memcmp(GlobalLock(hGot), bytes.data(), bytes.size()), 0);
    GlobalUnlock(hGot);
    GlobalFree(hGot);
    CFile* pFile = data.GetFileData(TreeFormat());
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(ReadAll(pFile), std::vector<BYTE>(bytes.begin(), bytes.end()));
    delete pFile;
    std::vector<CLIPFORMAT> formats;
    data.BeginEnumFormats();
    for (FORMATETC fe; data.GetNextFormat(&fe);)
        formats.push_back(fe.cfFormat);
    EXPECT_EQ(formats, (std::vector<CLIPFORMAT>{TreeFormat(), static_cast<CLIPFORMAT>(CF_TEXT)}));

    // Other programs see UTF-8 text; the clipboard functions see the same bytes.
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("単価"));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE hClip = ::GetClipboardData(TreeFormat());
    ASSERT_NE(hClip, nullptr);
    EXPECT_EQ(GlobalSize(hClip), bytes.size());
    HANDLE hClipText = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(hClipText, nullptr);
    EXPECT_EQ(CString(static_cast<const char*>(GlobalLock(hClipText))), text);
    GlobalUnlock(hClipText);
    ::CloseClipboard();

    // New clipboard content lets the source go.
    EXPECT_FALSE(bDeleted);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    EXPECT_TRUE(bDeleted);
    EXPECT_FALSE(data.IsDataAvailable(TreeFormat()));
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
}

TEST(DataTransferTest, DelayedGlobalDataAndFlushing)
{
    auto* pSource = new CTreeDataSource;
    const std::vector<uint8_t> bytes = SubjectBytes();
    pSource->payload.assign(bytes.begin(), bytes.end());
    pSource->DelayRenderData(TreeFormat());
    pSource->SetClipboard();
    EXPECT_EQ(pSource->renders, 0);
    COleDataObject data;
    data.AttachClipboard();
    std::vector<BYTE> got;
    ASSERT_TRUE(data.GetBytes(TreeFormat(), got));
    EXPECT_EQ(got, pSource->payload);
    EXPECT_EQ(pSource->renders, 1);

    // Flushing keeps the data on the clipboard without the source.
    COleDataSource::FlushClipboard();
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
    ASSERT_TRUE(data.GetBytes(TreeFormat(), got));
    EXPECT_EQ(got, std::vector<BYTE>(bytes.begin(), bytes.end()));
}

namespace {

// A target that goes away while taking the drop (a window that closes on a drop).
class CClosingTarget : public CTestDropTarget {
public:
    CWnd* pWnd = nullptr;
    BOOL OnDrop(CWnd* w, COleDataObject* pData, DROPEFFECT effect, CPoint pt) override
    {
        const BOOL b = CTestDropTarget::OnDrop(w, pData, effect, pt);
        Revoke();
        pWnd->DestroyWindow();
        return b;
    }
};

} // namespace

TEST(DragDropCloseTest, ATargetRevokedDuringItsDropIsSafe)
{
    CRecorderWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    CClosingTarget target;
    target.pWnd = &wnd;
    ASSERT_TRUE(target.Register(&wnd));
    COleDataSource source;
    source.CacheData(TreeFormat(), {7, 8});
    AfxSetDragScript({{&wnd, CPoint(3, 3), MK_LBUTTON}});
    EXPECT_EQ(source.DoDragDrop(), DROPEFFECT_MOVE);
    EXPECT_EQ(target.dropped, (std::vector<BYTE>{7, 8}));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    PumpEvents();
}
