// Embedded objects that travel: pictures another program puts on the clipboard or drags
// onto a layout become embedded picture items; an embedded object copied in one layout
// pastes into another with its item's storage unchanged; the item offers its picture to
// other programs. The clipboard is the desktop's (Qt's) and the drags are Qt drag events
// carrying data as another program's drag does, delivered through the view's drop target.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/DibPicture.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "layout/printform/ObjectClipboard.h"
#include "platform/ole/COlePropertiesDialog.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/ole/COleDataSource.h"
#include "platform/ui/ole/OleData_p.h"
#include "resources/LayoutCommandIds.h"
#include "resources/ResourceIds.h"
#include "tests/layout/printform/LayoutTestSupport.h"
#include "tests/support/OtherProgram.h"
#include "tests/support/XDisplay.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;

struct CProbe : public CCmdUI {
    BOOL bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
};

// A picture as another program offers it: w x h pixels, the top half red and the bottom
// half blue, at 100 dots per inch, as a PNG file.
QByteArray RedOverBluePng(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, y < h / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(3937);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QMimeData* ForeignData(const QString& mimeType, const QByteArray& bytes)
{
    auto* pData = new QMimeData;
    pData->setData(mimeType, bytes);
    return pData;
}

COLORREF PixelOf(const CDibPixels& p, int x, int y)
{
    const BYTE* q =
        p.bgrx.data() + (static_cast<size_t>(y) * static_cast<size_t>(p.nWidth) + static_cast<size_t>(x)) * 4;
    return RGB(q[2], q[1], q[0]);
}

class EmbeddedTransferTest : public LayoutAppTest {
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

    // A copy of the sample estimate layout, opened, its objects removed.
    CPrintDoc* OpenCopy(const char* name)
    {
        const fs::path target = fs::path(m_pFolder->Native("WORK")) / name;
        fs::copy_file(fs::path(MORVEL_SOURCE_DIR) / "samples" / "FORM" / "見積書.MMP", target);
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

    bool IsEnabled(UINT nID, CPrintFormView* pView = nullptr)
    {
        CProbe probe;
        probe.m_nID = nID;
        probe.DoUpdate(pView ? pView : m_pView, TRUE);
        return probe.bEnabled != FALSE;
    }

    // A user's menu choice: the command only when its update enables it.
    bool Run(UINT nID, CPrintFormView* pView = nullptr)
    {
        if (!IsEnabled(nID, pView))
            return false;
        AfxGetMainWnd()->SendMessage(WM_COMMAND, nID, 0);
        Pump();
        return true;
    }

    std::vector<CDrawOleObj*> EmbeddedObjects(CPrintDoc* pDoc)
    {
        std::vector<CDrawOleObj*> out;
        CDrawObjList* pList = pDoc->GetObjectList();
        for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;)
            if (auto* p = dynamic_cast<CDrawOleObj*>(pList->GetNext(pos)))
                out.push_back(p);
        return out;
    }

    // An embedded picture placed in the layout as the insert command leaves it.
    CDrawOleObj* AddPictureObject(CPrintDoc* pDoc, const CCompoundStorage& storage, CPoint at)
    {
        auto* pObj = new CDrawOleObj(CRect(at, at));
        auto* pItem = new CDrawItem(pDoc, pObj);
        EXPECT_TRUE(pItem->CreateFromStorage(storage));
        pObj->m_pClientItem = pItem;
        pDoc->Add(pObj);
        pItem->UpdateExtent();
        return pObj;
    }

    CPrintDoc* SaveAndReopen(CPrintDoc* pDoc, const char* name)
    {
        const CString path = m_pFolder->System(std::string("WORK/") + name);
        EXPECT_TRUE(pDoc->OnSaveDocument(path));
        return Open(path);
    }

    CPrintDoc* m_pDoc = nullptr;
    CPrintFormView* m_pView = nullptr;
};

} // namespace

// ---- Pictures of other programs -------------------------------------------------------------

TEST_F(EmbeddedTransferTest, AnotherProgramsPictureOnTheClipboardPastesAsAnEmbeddedPicture)
{
    QApplication::clipboard()->setMimeData(ForeignData("image/png", RedOverBluePng(20, 10)));
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    const std::vector<CDrawOleObj*> objects = EmbeddedObjects(m_pDoc);
    ASSERT_EQ(objects.size(), 1u);
    CDrawOleObj* pObj = objects[0];
    ASSERT_NE(pObj->m_pClientItem, nullptr);
    EXPECT_EQ(pObj->m_pClientItem->GetDocument(), m_pDoc);
    EXPECT_TRUE(m_pView->IsSelected(pObj));
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoPaste);
    // 20 x 10 pixels at 100 dpi: 0.2 x 0.1 inch, 508 x 254 HIMETRIC, placed at the
    // printable area's upper left corner, its bottom below its top.
    EXPECT_EQ(pObj->m_extent, CSize(508, 254));
    const CPoint corner = m_pView->GetPastePosition().TopLeft();
    EXPECT_EQ(pObj->m_position, CRect(corner.x, corner.y, corner.x + 20, corner.y - 10));
    // The cached picture is the other program's: red over blue.
    std::vector<BYTE> dib;
    ASSERT_TRUE(pObj->m_pClientItem->GetCachedDib(dib));
    CDibPixels pixels;
    ASSERT_TRUE(DecodeDib(dib.data(), dib.size(), pixels));
    EXPECT_EQ(pixels.nWidth, 20);
    EXPECT_EQ(pixels.nHeight, 10);
    EXPECT_EQ(PixelOf(pixels, 3, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(pixels, 3, 8), RGB(0, 0, 255));
    const CCompoundStorage stored = *pObj->m_pClientItem->GetStorage();
    const CRect placed = pObj->m_position;

    // Undo takes it away, redo brings it back with its item.
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    EXPECT_TRUE(EmbeddedObjects(m_pDoc).empty());
    ASSERT_TRUE(Run(ID_EDIT_REDO));
    ASSERT_EQ(EmbeddedObjects(m_pDoc).size(), 1u);

    // Saved and opened again: the same storage, byte for byte, under "Embedding n".
    CPrintDoc* pReopened = SaveAndReopen(m_pDoc, "pasted.MMP");
    ASSERT_NE(pReopened, nullptr);
    const std::vector<CDrawOleObj*> again = EmbeddedObjects(pReopened);
    ASSERT_EQ(again.size(), 1u);
    ASSERT_NE(again[0]->m_pClientItem, nullptr);
    EXPECT_TRUE(again[0]->m_pClientItem->GetStorage()->IsSameAs(stored));
    EXPECT_EQ(again[0]->m_position, placed);
    const CCompoundStorage file = ReadLayoutFile(m_pFolder->Native("WORK/pasted.MMP"));
    const CCompoundStorage* pEmbedding = file.FindStorage(again[0]->m_pClientItem->GetStorageName());
    ASSERT_NE(pEmbedding, nullptr);
    EXPECT_TRUE(pEmbedding->IsSameAs(stored));
}

TEST_F(EmbeddedTransferTest, APastedPictureComesIntoViewAndADeletedOneLeavesTheSavedFile)
{
    // At 200 % the page is larger than the window; the view shows its lower right part.
    m_pView->ApplyZoom(200);
    m_pView->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    m_pView->SendMessage(WM_HSCROLL, SB_BOTTOM, 0);
    Pump();
    ASSERT_NE(m_pView->GetDeviceScrollPosition(), CPoint(0, 0));
    QApplication::clipboard()->setMimeData(ForeignData("image/png", RedOverBluePng(200, 100)));
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    ASSERT_EQ(EmbeddedObjects(m_pDoc).size(), 1u);
    CDrawOleObj* pObj = EmbeddedObjects(m_pDoc)[0];
    // The view has gone to the printable corner, where the picture is.
    CRect shown = m_pView->ZoomRect(pObj->m_position);
    m_pView->DocToClientRect(shown);
    CRect client;
    m_pView->GetClientRect(&client);
    EXPECT_TRUE(client.PtInRect(shown.TopLeft())) << shown.left << "," << shown.top;

    const CString path = m_pFolder->System("WORK/picture.MMP");
    const std::string native = m_pFolder->Native("WORK/picture.MMP");
    const CString name = pObj->m_pClientItem->GetStorageName();
    const CCompoundStorage stored = *pObj->m_pClientItem->GetStorage();
    ASSERT_TRUE(m_pDoc->OnSaveDocument(path));
    const auto nWithPicture = fs::file_size(native);
    ASSERT_NE(ReadLayoutFile(native).FindStorage(name), nullptr);

    // Deleted and saved: the file holds what the layout shows, without the picture's
    // storage, though the picture can still be brought back.
    m_pView->Select(pObj);
    ASSERT_TRUE(Run(ID_EDIT_CLEAR));
    ASSERT_TRUE(m_pDoc->OnSaveDocument(path));
    EXPECT_EQ(ReadLayoutFile(native).FindStorage(name), nullptr);
    EXPECT_LT(fs::file_size(native), nWithPicture);
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    ASSERT_EQ(EmbeddedObjects(m_pDoc).size(), 1u);
    ASSERT_TRUE(m_pDoc->OnSaveDocument(path));
    const CCompoundStorage file = ReadLayoutFile(native);
    const CCompoundStorage* pBack = file.FindStorage(name);
    ASSERT_NE(pBack, nullptr);
    EXPECT_TRUE(pBack->IsSameAs(stored));
}

TEST_F(EmbeddedTransferTest, PicturesThatDoNotReadPasteNothingAndSaySo)
{
    // Bytes that are no PNG, a PNG whose header announces a picture of ten billion pixels,
    // and a PNG cut short: each offered as a picture, none of them read.
    QByteArray huge = RedOverBluePng(4, 4);
    // Width and height in the header chunk (after the 8-byte signature, length and type).
    const char big[] = {0x00, 0x01, static_cast<char>(0x86), static_cast<char>(0xA0)};
    huge.replace(16, 4, big, 4);
    huge.replace(20, 4, big, 4);
    const QByteArray cut = RedOverBluePng(40, 40).left(60);
    CDialogAnswerer answerer;
    for (const QByteArray& bytes : {QByteArray("not a picture"), huge, cut}) {
        QApplication::clipboard()->setMimeData(ForeignData("image/png", bytes));
        answerer.AnswerMessageBox(CString("ｵﾌﾞｼﾞｪｸﾄ貼り付けができません。"_sj), IDOK);
        ASSERT_TRUE(Run(ID_EDIT_PASTE));
        EXPECT_TRUE(m_pDoc->GetObjectList()->IsEmpty());
        EXPECT_EQ(m_pDoc->GetItemCount(), 0);
        EXPECT_FALSE(m_pDoc->IsModified());
    }
    EXPECT_EQ(answerer.MessageBoxTexts().size(), 3u);

    // Text alone makes no embedded object: paste stays disabled.
    auto* pText = new QMimeData;
    pText->setText("abc");
    QApplication::clipboard()->setMimeData(pText);
    EXPECT_FALSE(IsEnabled(ID_EDIT_PASTE));
}

TEST_F(EmbeddedTransferTest, AnotherProgramsPictureDroppedOnTheLayoutLandsUnderTheMouse)
{
    QMimeData* pData = ForeignData("image/png", RedOverBluePng(30, 20));
    const CPoint drop(200, 150);
    // Over the view, then Ctrl, then Ctrl+Shift (no drop possible), then back to a plain
    // move and the drop.
    std::vector<DROPEFFECT> effects;
    std::vector<CRect> focus;
    AfxSetDragScript({{m_pView, CPoint(100, 100), MK_LBUTTON},
                      {m_pView, CPoint(120, 110), MK_LBUTTON | MK_CONTROL},
                      {m_pView, CPoint(130, 120), MK_LBUTTON | MK_CONTROL | MK_SHIFT},
                      {m_pView, drop, MK_LBUTTON}},
                     TRUE, [&](int) { focus.push_back(m_pView->GetDragFocusRect()); });
    const Qt::DropAction action = AfxRunDragScript(pData, Qt::CopyAction | Qt::MoveAction);
    delete pData;
    EXPECT_EQ(action, Qt::MoveAction);
    // No descriptor: the focus mark has the picture's size (30 x 20 pixels at 100 dpi on
    // this screen) with its corner at the mouse, and none shows under Ctrl+Shift.
    SIZE mark{762, 508};
    CClientDC dc(nullptr);
    dc.HIMETRICtoDP(&mark);
    ASSERT_EQ(focus.size(), 4u);
    EXPECT_EQ(focus[2], CRect(CPoint(120, 110), CSize(mark.cx, mark.cy))) << "after the Ctrl step";
    EXPECT_EQ(focus[3], CRect()) << "after the Ctrl+Shift step";
    EXPECT_EQ(m_pView->GetDragFocusRect(), CRect()) << "the drop erases the mark";

    const std::vector<CDrawOleObj*> objects = EmbeddedObjects(m_pDoc);
    ASSERT_EQ(objects.size(), 1u);
    CPoint at = drop;
    m_pView->ClientToDoc(at);
    at = m_pView->UnzoomPoint(at);
    // 30 x 20 pixels at 100 dpi: 30 x 20 units from the drop point, downwards.
    EXPECT_EQ(objects[0]->m_position, CRect(at.x, at.y, at.x + 30, at.y - 20));
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_TRUE(m_pView->IsSelected(objects[0]));

    // Data that is no picture is refused over the view and changes nothing.
    m_pDoc->SetModifiedFlag(FALSE);
    auto* pText = new QMimeData;
    pText->setText("abc");
    AfxSetDragScript({{m_pView, CPoint(100, 100), MK_LBUTTON}, {m_pView, drop, MK_LBUTTON}});
    EXPECT_EQ(AfxRunDragScript(pText, Qt::CopyAction | Qt::MoveAction), Qt::IgnoreAction);
    delete pText;
    EXPECT_EQ(EmbeddedObjects(m_pDoc).size(), 1u);
    EXPECT_FALSE(m_pDoc->IsModified());
}

// ---- Embedded objects between layouts ---------------------------------------------------------

TEST_F(EmbeddedTransferTest, CopiedEmbeddedObjectPastesIntoAnotherLayoutWithItsStorageUnchanged)
{
    const CCompoundStorage storage = MakePictureStorage(5080, 2540, "Bitmap Image");
    CDrawOleObj* pSource = AddPictureObject(m_pDoc, storage, CPoint(-300, 400));
    AddPictureObject(m_pDoc, MakePictureStorage(2540, 2540, "Other"), CPoint(0, 0)); // item 2
    pSource->m_nLineStyle = 3;
    m_pView->Select(pSource);
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    // Other programs are offered the picture.
    const QMimeData* pOffered = QApplication::clipboard()->mimeData();
    ASSERT_NE(pOffered, nullptr);
    ASSERT_TRUE(pOffered->hasFormat("image/png"));
    QImage offered;
    ASSERT_TRUE(offered.loadFromData(pOffered->data("image/png"), "PNG"));
    EXPECT_EQ(offered.size(), QSize(2, 2));

    CPrintDoc* pOther = OpenCopy("other.MMP");
    ASSERT_NE(pOther, nullptr);
    CPrintFormView* pOtherView = ViewOf(pOther);
    Activate(pOtherView);
    // An item the other layout already has takes number 1.
    AddPictureObject(pOther, MakePictureStorage(1000, 1000, "Kept"), CPoint(100, -100));
    for (int n = 1; n <= 3; ++n)
        ASSERT_TRUE(Run(ID_EDIT_PASTE, pOtherView)) << n;
    const std::vector<CDrawOleObj*> pasted = EmbeddedObjects(pOther);
    ASSERT_EQ(pasted.size(), 4u);
    std::vector<DWORD> numbers;
    for (size_t i = 1; i < pasted.size(); ++i) {
        ASSERT_NE(pasted[i]->m_pClientItem, nullptr);
        EXPECT_EQ(pasted[i]->m_pClientItem->GetDocument(), pOther);
        EXPECT_TRUE(pasted[i]->m_pClientItem->GetStorage()->IsSameAs(storage)) << i;
        EXPECT_EQ(pasted[i]->m_nLineStyle, 3);
        const int d = 7 * static_cast<int>(i);
        EXPECT_EQ(pasted[i]->m_position, CRect(-300 + d, 400 - d, -100 + d, 300 - d));
        numbers.push_back(pasted[i]->m_pClientItem->GetItemNumber());
    }
    EXPECT_EQ(numbers, (std::vector<DWORD>{2, 3, 4}));
    // The source's item stays its own.
    EXPECT_EQ(pSource->m_pClientItem->GetDocument(), m_pDoc);
    EXPECT_TRUE(pSource->m_pClientItem->GetStorage()->IsSameAs(storage));

    // Undo of the last paste and the saved layout: every item's storage as copied.
    ASSERT_TRUE(Run(ID_EDIT_UNDO, pOtherView));
    EXPECT_EQ(EmbeddedObjects(pOther).size(), 3u);
    ASSERT_TRUE(Run(ID_EDIT_REDO, pOtherView));
    CPrintDoc* pReopened = SaveAndReopen(pOther, "other.MMP");
    ASSERT_NE(pReopened, nullptr);
    const std::vector<CDrawOleObj*> again = EmbeddedObjects(pReopened);
    ASSERT_EQ(again.size(), 4u);
    for (size_t i = 1; i < again.size(); ++i)
        EXPECT_TRUE(again[i]->m_pClientItem->GetStorage()->IsSameAs(storage)) << i;
}

TEST_F(EmbeddedTransferTest, CutEmbeddedObjectUndoesInPlaceAndPastesWithItsItem)
{
    const CCompoundStorage storage = MakePictureStorage(5080, 2540, "Bitmap Image");
    CDrawOleObj* pObj = AddPictureObject(m_pDoc, storage, CPoint(-300, 400));
    const CRect place = pObj->m_position;
    m_pView->Select(pObj);
    ASSERT_TRUE(Run(ID_EDIT_CUT));
    EXPECT_TRUE(EmbeddedObjects(m_pDoc).empty());
    ASSERT_TRUE(Run(ID_EDIT_UNDO));
    ASSERT_EQ(EmbeddedObjects(m_pDoc).size(), 1u);
    EXPECT_EQ(EmbeddedObjects(m_pDoc)[0]->m_position, place);
    EXPECT_TRUE(EmbeddedObjects(m_pDoc)[0]->m_pClientItem->GetStorage()->IsSameAs(storage));
    // The clipboard still holds the cut object: it pastes 2 right and 2 down.
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    const std::vector<CDrawOleObj*> objects = EmbeddedObjects(m_pDoc);
    ASSERT_EQ(objects.size(), 2u);
    CRect shifted = place;
    shifted.OffsetRect(2, -2);
    EXPECT_EQ(objects[1]->m_position, shifted);
    EXPECT_TRUE(objects[1]->m_pClientItem->GetStorage()->IsSameAs(storage));
    EXPECT_NE(objects[1]->m_pClientItem, objects[0]->m_pClientItem);
    EXPECT_NE(objects[1]->m_pClientItem->GetItemNumber(), objects[0]->m_pClientItem->GetItemNumber());
}

TEST_F(EmbeddedTransferTest, AnItemOfferedAloneAndItsDescriptorPlaceADrop)
{
    // A source that offers only an item and its descriptor (no objects of ours): the drop
    // places the item where the descriptor's offset puts its corner.
    const CCompoundStorage storage = MakePictureStorage(5080, 2540, "Bitmap Image");
    COleClientItem item;
    ASSERT_TRUE(item.CreateFromStorage(storage));
    auto* pSource = new COleDataSource;
    const SIZE offset{254, 254}; // 2.54 mm: the mouse 0.1 inch inside the object's corner
    ASSERT_TRUE(item.GetClipboardData(pSource, &offset));
    pSource->SetClipboard();
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    CSize size, off;
    ASSERT_TRUE(m_pView->GetObjectDescriptorInfo(&data, size, off));
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(off.cx, 0);
    EXPECT_EQ(size.cx, 2 * size.cy);

    CDataSourceMime mime(pSource, false);
    const CPoint drop(300, 200);
    AfxSetDragScript({{m_pView, CPoint(250, 150), MK_LBUTTON}, {m_pView, drop, MK_LBUTTON}});
    EXPECT_EQ(AfxRunDragScript(&mime, Qt::CopyAction | Qt::MoveAction), Qt::MoveAction);
    const std::vector<CDrawOleObj*> objects = EmbeddedObjects(m_pDoc);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_TRUE(objects[0]->m_pClientItem->GetStorage()->IsSameAs(storage));
    CPoint at(drop.x - off.cx, drop.y - off.cy);
    m_pView->ClientToDoc(at);
    at = m_pView->UnzoomPoint(at);
    EXPECT_EQ(objects[0]->m_position, CRect(at.x, at.y, at.x + 200, at.y - 100));

    // The same offer pastes from the clipboard too (no objects of ours there).
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    EXPECT_EQ(EmbeddedObjects(m_pDoc).size(), 2u);
}

// ---- Properties and opening ---------------------------------------------------------------------

TEST_F(EmbeddedTransferTest, PropertiesShowWhatTheItemKeepsAndChangeNothing)
{
    CDrawOleObj* pObj =
        AddPictureObject(m_pDoc, MakePictureStorage(5080, 2540, "Bitmap Image"), CPoint(-300, 400));
    const CCompoundStorage storage = *pObj->m_pClientItem->GetStorage();
    m_pView->Select(pObj);
    std::vector<CString> shown;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_OBJECTPROPERTIES, [&shown](CDialog& dlg) {
        for (int nID : {COlePropertiesDialog::IDC_OBJ_TYPE, COlePropertiesDialog::IDC_OBJ_KIND,
                        COlePropertiesDialog::IDC_OBJ_SIZE, COlePropertiesDialog::IDC_OBJ_SCALE}) {
            CString text;
            dlg.GetDlgItemText(nID, text);
            shown.push_back(text);
        }
        CString bytes;
        dlg.GetDlgItemText(COlePropertiesDialog::IDC_OBJ_STORAGE, bytes);
        shown.push_back(bytes);
        dlg.EndDialog(IDOK);
    });
    const CRect place = pObj->m_position;
    ASSERT_TRUE(Run(ID_EDIT_PROPERTIES));
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0], CString("Bitmap Image"));
    EXPECT_EQ(shown[1], CString("埋め込み"_sj));
    EXPECT_EQ(shown[2], CString("50.8 x 25.4 mm"));
    EXPECT_EQ(shown[3], CString("100 %"));
    EXPECT_NE(shown[4].Find("バイト"_sj), -1);
    EXPECT_FALSE(m_pView->CanUndo()) << "properties that change nothing are no step";
    ASSERT_EQ(EmbeddedObjects(m_pDoc).size(), 1u);
    EXPECT_EQ(EmbeddedObjects(m_pDoc)[0]->m_position, place);
    EXPECT_TRUE(EmbeddedObjects(m_pDoc)[0]->m_pClientItem->GetStorage()->IsSameAs(storage));

    // Opening (a double click) cannot run the item here: the user is told and nothing
    // changes.
    answerer.AnswerMessageBox(CString("このオブジェクトはここでは開けません。"_sj), IDOK);
    m_pDoc->SetModifiedFlag(FALSE);
    EmbeddedObjects(m_pDoc)[0]->OnOpen(m_pView);
    EXPECT_EQ(answerer.MessageBoxTexts(),
              std::vector<CString>{CString("このオブジェクトはここでは開けません。"_sj)});
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(EmbeddedTransferTest, AnItemThatGetsItsStorageRepaintsItsObjectAndChangesTheLayout)
{
    auto* pObj = new CDrawOleObj(CRect(0, 0, 0, 0));
    auto* pItem = new CDrawItem(m_pDoc, pObj);
    pObj->m_pClientItem = pItem;
    m_pDoc->Add(pObj);
    m_pDoc->SetModifiedFlag(FALSE);
    auto* pData = new QMimeData;
    pData->setData("image/png", RedOverBluePng(4, 4));
    QApplication::clipboard()->setMimeData(pData);
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_FALSE(pItem->CreateFromData(&data)) << "a picture is no item";
    EXPECT_FALSE(m_pDoc->IsModified());
    ASSERT_TRUE(pItem->CreateStaticFromData(&data));
    EXPECT_TRUE(m_pDoc->IsModified()) << "the loaded item says its state changed";
    EXPECT_NE(pItem->GetStorage(), nullptr);
}

// ---- The desktop's clipboard with another X program ------------------------------------------
// On a real X display (tests/support/run_on_xvfb.sh runs this under Xvfb with xclip) another
// program's picture pastes into a layout, and an embedded picture copied in a layout is a
// picture other programs read. Without an X display the test skips itself.

namespace {

class LayoutXClipboard : public EmbeddedTransferTest {
protected:
    // Runs a program while the test keeps answering the display (this process may own the
    // clipboard the program reads); its standard output, or nothing when it failed.
    std::optional<std::string> RunProgram(std::vector<std::string> args)
    {
        return RunOtherProgram(std::move(args), "/dev/null", m_pFolder->Native("xclip.out"));
    }
};

} // namespace

TEST_F(LayoutXClipboard, AnotherProgramsPicturePastesAndAnEmbeddedPictureGoesOut)
{
    if (!OnXDisplay())
        GTEST_SKIP() << "needs an X display (tests/support/run_on_xvfb.sh)";
    const std::string path = m_pFolder->Native("WORK/outside.png");
    {
        const QByteArray png = RedOverBluePng(20, 10);
        std::ofstream(path, std::ios::binary).write(png.constData(), png.size());
    }
    // xclip keeps the clipboard (in the background) until another program takes it.
    ASSERT_TRUE(RunProgram({"xclip", "-selection", "clipboard", "-t", "image/png", "-i", path}).has_value());
    ASSERT_TRUE(WaitUntil(
        [] {
            const QMimeData* pData = QApplication::clipboard()->mimeData();
            return pData != nullptr && pData->hasFormat("image/png");
        },
        "xclip to offer its picture on the clipboard"));
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    const std::vector<CDrawOleObj*> objects = EmbeddedObjects(m_pDoc);
    ASSERT_EQ(objects.size(), 1u);
    std::vector<BYTE> dib;
    ASSERT_TRUE(objects[0]->m_pClientItem->GetCachedDib(dib));
    CDibPixels pixels;
    ASSERT_TRUE(DecodeDib(dib.data(), dib.size(), pixels));
    EXPECT_EQ(pixels.nWidth, 20);
    EXPECT_EQ(PixelOf(pixels, 3, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(pixels, 3, 8), RGB(0, 0, 255));

    // Copied in the layout, the picture is what another program reads from the clipboard.
    m_pView->Select(objects[0]);
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    const std::optional<std::string> targets =
        RunProgram({"xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"});
    ASSERT_TRUE(targets.has_value());
    EXPECT_NE(targets->find("image/png"), std::string::npos) << *targets;
    EXPECT_NE(targets->find("image/bmp"), std::string::npos) << *targets;
    const std::optional<std::string> out =
        RunProgram({"xclip", "-o", "-selection", "clipboard", "-t", "image/png"});
    ASSERT_TRUE(out.has_value());
    QImage image;
    ASSERT_TRUE(image.loadFromData(QByteArray(out->data(), static_cast<qsizetype>(out->size())), "PNG"));
    EXPECT_EQ(image.size(), QSize(20, 10));
    EXPECT_EQ(image.pixel(3, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(3, 8), qRgb(0, 0, 255));
}

TEST_F(EmbeddedTransferTest, DamagedDescriptorsAreReadWithinTheirLimits)
{
    COleClientItem item;
    ASSERT_TRUE(item.CreateFromStorage(MakePictureStorage(5080, 2540, "Bitmap Image")));
    const auto cfDesc = static_cast<CLIPFORMAT>(COleClientItem::GetObjectDescriptorFormat());
    const auto cfItem = static_cast<CLIPFORMAT>(COleClientItem::GetEmbedSourceFormat());
    auto offer = [&](const std::vector<BYTE>& desc) {
        auto* pSource = new COleDataSource;
        COleDataSource full;
        EXPECT_TRUE(item.GetClipboardData(&full));
        std::vector<BYTE> file;
        EXPECT_TRUE(full.RenderBytes(cfItem, file));
        pSource->CacheData(cfItem, file);
        pSource->CacheData(cfDesc, desc);
        pSource->SetClipboard();
    };
    COleDataObject data;
    CSize size, off;
    // Too short to hold the extent and offset: none, and a drop still lands at the mouse.
    offer(std::vector<BYTE>(39, 0x7F));
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_FALSE(m_pView->GetObjectDescriptorInfo(&data, size, off));
    EXPECT_EQ(size, CSize(0, 0));
    EXPECT_EQ(off, CSize(0, 0));
    // Values far beyond a page are held to a metre each way.
    std::vector<BYTE> huge(52, 0);
    for (size_t i = 24; i < 40; ++i)
        huge[i] = i % 4 == 3 ? 0x7F : 0xFF;
    offer(huge);
    ASSERT_TRUE(data.AttachClipboard());
    ASSERT_TRUE(m_pView->GetObjectDescriptorInfo(&data, size, off));
    SIZE metre{MAX_DESCRIPTOR_HIMETRIC, MAX_DESCRIPTOR_HIMETRIC};
    CClientDC dc(nullptr);
    dc.HIMETRICtoDP(&metre);
    EXPECT_EQ(size, CSize(metre.cx, metre.cy));
    EXPECT_EQ(off, CSize(metre.cx, metre.cy));
    // The paste of the item itself is not disturbed by its descriptor.
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    ASSERT_EQ(EmbeddedObjects(m_pDoc).size(), 1u);
    EXPECT_EQ(EmbeddedObjects(m_pDoc)[0]->m_extent, CSize(5080, 2540));
}
