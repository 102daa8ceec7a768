// The layout view's commands on whole objects: stacking order, clear, cut, copy and paste
// through the clipboard, select all, properties, inserting a picture, the frames of
// embedded objects, fitting frames to their text, alignment to the paper and to each
// other, and the bars' font-size, pattern, line-style and font-name boxes.
#include "app/CChildFormFrame.h"
#include "app/CMorvelApp.h"
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CFontNameComboBox.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "layout/printform/ObjectClipboard.h"
#include "platform/base/CException.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/frames/CToolBar.h"
#include "platform/ui/ole/COleDataObject.h"
#include "platform/ui/ole/COleDataSource.h"
#include "resources/ChildFrameIds.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace {

// Moves an object as the alignment commands do: a table with its cells.
void MoveObject(CDrawObj* pObj, const CRect& rect, CPrintFormView* pView)
{
    if (auto* pTable = dynamic_cast<CDrawTable*>(pObj))
        pTable->MoveTableTo(rect, pView);
    else
        pObj->MoveTo(rect, pView);
}

std::vector<CDrawObj*> Objects(const CDrawObjList& list)
{
    std::vector<CDrawObj*> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        out.push_back(list.GetNext(pos));
    return out;
}

int MinX(const CRect& r)
{
    return std::min(r.left, r.right);
}
int MaxX(const CRect& r)
{
    return std::max(r.left, r.right);
}
int MinY(const CRect& r)
{
    return std::min(r.top, r.bottom);
}
int MaxY(const CRect& r)
{
    return std::max(r.top, r.bottom);
}

} // namespace

// ---- Stacking order -----------------------------------------------------------------------
// Not undoable: a change of the stacking order ends the chance to undo the previous edit.
// An object that is already where the command would put it stays, and so does the undo.

void CPrintFormView::RestackFirstSelected(bool (*move)(CDrawObjList& objects, POSITION pos, CDrawObj* pObj))
{
    if (m_selection.IsEmpty())
        return;
    CDrawObj* pObj = m_selection.GetHead();
    CDrawObjList* pObjects = GetDocument()->GetObjectList();
    POSITION pos = pObjects->Find(pObj);
    if (pos == nullptr || !move(*pObjects, pos, pObj))
        return;
    GetDocument()->SetModifiedFlag(TRUE);
    InvalObj(pObj);
    SetUndoFlags(FALSE, FALSE);
}

void CPrintFormView::OnObjectMoveBack()
{
    RestackFirstSelected([](CDrawObjList& objects, POSITION pos, CDrawObj* pObj) {
        if (pos == objects.GetHeadPosition())
            return false;
        POSITION prev = pos;
        objects.GetPrev(prev);
        objects.RemoveAt(pos);
        objects.InsertBefore(prev, pObj);
        return true;
    });
}

void CPrintFormView::OnObjectMoveForward()
{
    RestackFirstSelected([](CDrawObjList& objects, POSITION pos, CDrawObj* pObj) {
        if (pos == objects.GetTailPosition())
            return false;
        POSITION next = pos;
        objects.GetNext(next);
        objects.RemoveAt(pos);
        objects.InsertAfter(next, pObj);
        return true;
    });
}

void CPrintFormView::OnObjectMoveToBack()
{
    RestackFirstSelected([](CDrawObjList& objects, POSITION pos, CDrawObj* pObj) {
        if (pos == objects.GetHeadPosition())
            return false;
        objects.RemoveAt(pos);
        objects.AddHead(pObj);
        return true;
    });
}

void CPrintFormView::OnObjectMoveToFront()
{
    RestackFirstSelected([](CDrawObjList& objects, POSITION pos, CDrawObj* pObj) {
        if (pos == objects.GetTailPosition())
            return false;
        objects.RemoveAt(pos);
        objects.AddTail(pObj);
        return true;
    });
}

void CPrintFormView::OnUpdateSelectionCommand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_selection.IsEmpty());
}

// ---- Clear, copy, cut, paste --------------------------------------------------------------

namespace {

// The undo copies of embedded objects that are about to go keep their items (the
// document's objects of those items are destroyed next).
void HandItemsToClones(const CDrawObjList& clones)
{
    for (CDrawObj* pObj : Objects(clones))
        if (auto* pOle = dynamic_cast<CDrawOleObj*>(pObj))
            pOle->m_bOwnsItem = TRUE;
}

bool IsOneTableWithCells(CDrawObjList& sel)
{
    if (sel.GetCount() != 1)
        return false;
    auto* pTable = dynamic_cast<CDrawTable*>(sel.GetHead());
    return pTable != nullptr && pTable->GetSelectedCellCount() > 0;
}

} // namespace

void CPrintFormView::OnEditClear()
{
    if (m_selection.IsEmpty())
        return;
    if (IsOneTableWithCells(m_selection)) {
        auto* pTable = static_cast<CDrawTable*>(m_selection.GetHead());
        CloneSelectionForUndo();
        pTable->ClearSelectedCells(this);
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
        return;
    }
    RemoveSelectionForUndo(undoClear);
}

void CPrintFormView::RemoveSelectionForUndo(int nUndoKind)
{
    CPrintDoc* pDoc = GetDocument();
    // The previous record goes: were it to name an object removed here, removing it would
    // drop the new record too.
    m_undoBefore.RemoveAll();
    CloneSelectionAsAfter();
    HandItemsToClones(m_undoAfter);
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintDeleted, &m_selection);
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    RemoveSelectedFromDocument(false);
    m_selection.RemoveAll();
    pDoc->SetModifiedFlag(TRUE);
    RecordUndo(nUndoKind);
    SetCurrentShape(ShapeSelect);
}

void CPrintFormView::OnUpdateEditClear(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_selection.IsEmpty());
}

namespace {

// Puts the objects' stored form on the clipboard. Copies of the objects, moved by
// (dx, dy), are written when an offset is asked for; the objects themselves never move.
// A selection of one embedded object also offers its item, so that another layout (or a
// program that takes pictures) can take it by itself.
void PutOnClipboard(const CDrawObjList& sel, int dx, int dy)
{
    std::vector<BYTE> bytes;
    if (dx == 0 && dy == 0) {
        bytes = ObjectClipboard::Write(sel);
    } else {
        CDrawObjList copies;
        std::vector<std::unique_ptr<CDrawObj, void (*)(CDrawObj*)>> owned;
        for (CDrawObj* pObj : Objects(sel)) {
            // Undo copies: an embedded object's copy shares its item without owning it.
            CDrawObj* pCopy = pObj->CloneForUndo();
            owned.emplace_back(pCopy, [](CDrawObj* p) { p->Remove(); });
            pCopy->m_pDocument = nullptr; // the move must not touch the layout
            CRect r = pCopy->m_position;
            r.OffsetRect(dx, dy);
            MoveObject(pCopy, r, nullptr);
            copies.AddTail(pCopy);
        }
        bytes = ObjectClipboard::Write(copies);
    }
    auto pSource = std::make_unique<COleDataSource>();
    pSource->CacheData(static_cast<CLIPFORMAT>(ObjectClipboard::GetFormat()), bytes);
    if (sel.GetCount() == 1)
        if (auto* pOle = dynamic_cast<CDrawOleObj*>(sel.GetHead()); pOle && pOle->m_pClientItem)
            pOle->m_pClientItem->GetClipboardData(pSource.get());
    pSource.release()->SetClipboard();
}

} // namespace

void CPrintFormView::OnEditCopy()
{
    if (m_selection.IsEmpty())
        return;
    m_nPasteCount = -1;
    PutOnClipboard(m_selection, 0, 0);
}

// The clipboard gets the objects 5 units left and 5 up of their place, so that a paste
// straight after lands 2 units right and down of where they were; the objects themselves
// are not moved, so undoing the cut puts them back exactly where they stood.
void CPrintFormView::OnEditCut()
{
    if (m_selection.IsEmpty())
        return;
    m_nPasteCount = -1;
    PutOnClipboard(m_selection, -5, 5);
    RemoveSelectionForUndo(undoCut);
}

void CPrintFormView::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    // An embedded object that lost its item has nothing the clipboard format carries.
    pCmdUI->Enable(!m_selection.IsEmpty() && !IsOneTableWithCells(m_selection) &&
                   ObjectClipboard::CountCarried(m_selection) > 0);
}

BOOL CPrintFormView::PasteObjects(const std::vector<BYTE>& data)
{
    std::vector<CDrawObj*> objects;
    if (!ObjectClipboard::Read(data, GetDocument(), objects))
        return FALSE;
    ObjectClipboard::AdoptItems(objects, GetDocument());
    // 7 units right and down at the first paste after a copy, 14 at the second, ...
    const long long nStep = 7LL * (static_cast<long long>(m_nPasteCount) + 1);
    const int d = static_cast<int>(std::clamp<long long>(nStep, 0, 100000));
    for (CDrawObj* pObj : objects) {
        CRect r = pObj->m_position;
        r.OffsetRect(d, -d);
        MoveObject(pObj, r, nullptr);
        m_selection.AddTail(pObj);
    }
    return TRUE;
}

CRect CPrintFormView::GetPastePosition()
{
    CPrintDoc* pDoc = GetDocument();
    const CSize size = *pDoc->GetSize();
    const CRect margins = *pDoc->GetPrintableRect();
    const CPoint p((-size.cx) / 2 + margins.left, size.cy / 2 - margins.top);
    return CRect(p, p);
}

void CPrintFormView::ScrollToSelection()
{
    if (m_selection.IsEmpty() || m_hWnd == nullptr)
        return;
    const CPoint topLeft = GetSelectionTopLeft();
    const CPoint bottomRight = GetSelectionBottomRight();
    CRect rect = ZoomRect(CRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y));
    DocToClientRect(rect);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty() || (client.PtInRect(rect.TopLeft()) && client.PtInRect(rect.BottomRight())))
        return;
    // The upper left corner of what came comes into the window, a little way in from its
    // edges; the scroll area's ends limit how far the view can go.
    constexpr int kMargin = 16;
    OnScrollBy(CSize(rect.left - kMargin, rect.top - kMargin), TRUE);
}

void CPrintFormView::OnEditPaste()
{
    if (m_nPasteCount < INT_MAX)
        ++m_nPasteCount;
    CPrintDoc* pDoc = GetDocument();
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    m_selection.RemoveAll();
    COleDataObject data;
    std::vector<BYTE> bytes;
    const CLIPFORMAT cf = static_cast<CLIPFORMAT>(ObjectClipboard::GetFormat());
    if (data.AttachClipboard() && data.IsDataAvailable(cf) && data.GetBytes(cf, bytes)) {
        if (PasteObjects(bytes)) {
            for (CDrawObj* pObj : Objects(m_selection))
                pDoc->Add(pObj);
        } else {
            // Data under our name that does not read: nothing is pasted and nothing changes,
            // not even where the next paste goes.
            --m_nPasteCount;
            ::MessageBeep(MB_ICONEXCLAMATION);
            return;
        }
    } else if (CanPasteEmbedded(&data)) {
        // Another program's picture or a layout's item alone: a new embedded object.
        if (!PasteEmbeddedObject(&data, GetPastePosition().TopLeft())) {
            --m_nPasteCount;
            return;
        }
    }
    pDoc->SetModifiedFlag(TRUE);
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintSelection, &m_selection);
    RememberSelectionForUndo();
    RecordUndo(undoPaste);
    ScrollToSelection();
}

void CPrintFormView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    COleDataObject data;
    const BOOL bOffered = data.AttachClipboard() &&
                          (data.IsDataAvailable(static_cast<CLIPFORMAT>(ObjectClipboard::GetFormat())) ||
                           CanPasteEmbedded(&data));
    pCmdUI->Enable(bOffered && !IsOneTableWithCells(m_selection));
}

void CPrintFormView::OnEditSelectAll()
{
    for (CDrawObj* pObj : Objects(*GetDocument()->GetObjectList()))
        Select(pObj, TRUE);
}

void CPrintFormView::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!GetDocument()->GetObjectList()->IsEmpty());
}

// ---- Properties ---------------------------------------------------------------------------

void CPrintFormView::OnEditProperties()
{
    // Without the one object it edits the command does nothing, and leaves the undo alone.
    if (m_selection.GetCount() != 1 || CDrawTool::s_nCurrentShape != ShapeSelect)
        return;
    CloneSelectionForUndo();
    if (CDrawTool* pTool = CDrawTool::FindTool(ShapeSelect))
        pTool->OnEditProperties(this);
    RememberSelectionForUndo();
    RecordUndo(undoInPlace);
}

void CPrintFormView::OnUpdateEditProperties(CCmdUI* pCmdUI)
{
    BOOL bEnable = FALSE;
    if (CDrawTool::s_nCurrentShape == ShapeSelect && m_selection.GetCount() == 1) {
        CDrawObj* pObj = m_selection.GetHead();
        if (auto* pTable = dynamic_cast<CDrawTable*>(pObj))
            bEnable = pTable->GetSelectedCellCount() > 0;
        else
            bEnable = dynamic_cast<CDrawRect*>(pObj) == nullptr;
    }
    pCmdUI->Enable(bEnable);
}

// ---- Insert object ------------------------------------------------------------------------
// A picture from a bitmap file becomes an embedded object at the printable area's corner.

void CPrintFormView::OnInsertObject()
{
    CString strFolder = m_edit.strInsertFolder;
    if (strFolder.IsEmpty())
        if (auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp()))
            strFolder = pApp->GetExtensionPath("MMD");
    const CString kBitmapFilter = "ﾋﾞｯﾄﾏｯﾌﾟ (*.BMP)|*.BMP|すべてのﾌｧｲﾙ (*.*)|*.*||"_sj;
    CFileDialog dialog(TRUE, "BMP", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kBitmapFilter, this);
    dialog.m_ofn.lpstrInitialDir = strFolder.IsEmpty() ? nullptr : static_cast<LPCTSTR>(strFolder);
    if (dialog.DoModal() != IDOK)
        return;
    m_edit.strInsertFolder = dialog.GetFolderPath();
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    m_selection.RemoveAll();
    BeginWaitCursor();
    CDrawOleObj* pObj =
        InsertPictureObject(GetDocument(), GetPastePosition().TopLeft(), dialog.GetPathName());
    EndWaitCursor();
    if (pObj != nullptr) {
        Select(pObj, TRUE);
        ScrollToSelection();
    } else {
        AfxMessageBox("ｵﾌﾞｼﾞｪｸﾄ挿入ができません。"_sj);
    }
    RememberSelectionForUndo();
    RecordUndo(undoInsertObject);
}

// ---- Frames of embedded objects, fit to text ----------------------------------------------

void CPrintFormView::OnObjectFrames()
{
    CDrawingShared::s_bShowObjectFrames = !CDrawingShared::s_bShowObjectFrames;
    GetDocument()->UpdateAllViews(nullptr, CPrintDoc::hintOleObjects);
}

void CPrintFormView::OnUpdateObjectFrames(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(CDrawingShared::s_bShowObjectFrames ? 1 : 0);
}

void CPrintFormView::OnFitToText()
{
    CPrintDoc* pDoc = GetDocument();
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintDeleted, &m_selection);
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    CloneSelectionForUndo();
    for (CDrawObj* pObj : Objects(m_selection))
        pObj->FitToText(this);
    RememberSelectionForUndo();
    RecordUndo(undoInPlace);
}

// ---- Alignment ----------------------------------------------------------------------------

namespace {

enum class EPaper { left, centre, right };

} // namespace

static void AlignToPaper(CPrintFormView* pView, EPaper where)
{
    CPrintDoc* pDoc = pView->GetDocument();
    CDrawObjList& sel = pView->GetSelection();
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintDeleted, &sel);
    pView->OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    if (sel.IsEmpty())
        return;
    pView->CloneSelectionForUndo();
    const CSize size = *pDoc->GetSize();
    const CRect margins = *pDoc->GetPrintableRect();
    for (CDrawObj* pObj : Objects(sel)) {
        CRect r = pObj->m_position;
        int dx = 0;
        switch (where) {
        case EPaper::left:
            dx = ((-size.cx) / 2 + margins.left) - MinX(r);
            break;
        case EPaper::centre:
            dx = 0 - (r.left + r.right) / 2;
            break;
        case EPaper::right:
            dx = ((-size.cx) / 2 + size.cx - margins.right) - MaxX(r);
            break;
        }
        r.OffsetRect(dx, 0);
        MoveObject(pObj, r, pView);
    }
    pView->RememberSelectionForUndo();
    pView->RecordUndo(CPrintFormView::undoInPlace);
}

void CPrintFormView::OnPaperAlignLeft()
{
    AlignToPaper(this, EPaper::left);
}
void CPrintFormView::OnPaperAlignCenter()
{
    AlignToPaper(this, EPaper::centre);
}
void CPrintFormView::OnPaperAlignRight()
{
    AlignToPaper(this, EPaper::right);
}

namespace {

enum class EEdge { left, right, top, bottom };

} // namespace

static void AlignToEachOther(CPrintFormView* pView, EEdge edge)
{
    CPrintDoc* pDoc = pView->GetDocument();
    CDrawObjList& sel = pView->GetSelection();
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintDeleted, &sel);
    pView->OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    if (sel.GetCount() < 2)
        return;
    pView->CloneSelectionForUndo();
    const std::vector<CDrawObj*> objects = Objects(sel);
    auto edgeOf = [edge](const CRect& r) {
        switch (edge) {
        case EEdge::left:
            return MinX(r);
        case EEdge::right:
            return MaxX(r);
        case EEdge::top:
            return MaxY(r);
        case EEdge::bottom:
            return MinY(r);
        }
        return 0;
    };
    int target = edgeOf(objects.front()->m_position);
    for (CDrawObj* pObj : objects) {
        const int v = edgeOf(pObj->m_position);
        target = (edge == EEdge::left || edge == EEdge::bottom) ? std::min(target, v) : std::max(target, v);
    }
    for (CDrawObj* pObj : objects) {
        CRect r = pObj->m_position;
        const int d = target - edgeOf(r);
        if (edge == EEdge::left || edge == EEdge::right)
            r.OffsetRect(d, 0);
        else
            r.OffsetRect(0, d);
        MoveObject(pObj, r, pView);
    }
    pView->RememberSelectionForUndo();
    pView->RecordUndo(CPrintFormView::undoInPlace);
}

void CPrintFormView::OnAlignObjectsLeft()
{
    AlignToEachOther(this, EEdge::left);
}
void CPrintFormView::OnAlignObjectsRight()
{
    AlignToEachOther(this, EEdge::right);
}
void CPrintFormView::OnAlignObjectsTop()
{
    AlignToEachOther(this, EEdge::top);
}
void CPrintFormView::OnAlignObjectsBottom()
{
    AlignToEachOther(this, EEdge::bottom);
}

// ---- The bars' boxes ----------------------------------------------------------------------

void CPrintFormView::OnFontSizeChange()
{
    CComboBox* pBox = GetBarBox(IDC_FONT_SIZE);
    if (pBox == nullptr)
        return;
    const int nIndex = pBox->GetCurSel();
    const LONG nHeight = FontHeightOfSizeIndex(nIndex);
    if (nIndex < 0 || nHeight == 0)
        return;
    SetSelectionFontHeight(static_cast<int>(nHeight));
}

void CPrintFormView::OnPatternChange()
{
    CComboBox* pBox = GetBarBox(IDC_FILL_PATTERN);
    if (pBox == nullptr || pBox->GetCurSel() < 0)
        return;
    const int nPattern = pBox->GetCurSel();
    const CPrintFormEditState& e = m_edit;
    // The census as the box's enabling pass leaves it (a change may also come without one).
    TakeShapeCensus();
    if (e.nShapeTables == 0 && e.nShapeTexts > 0) {
        CloneSelectionForUndo();
        for (CDrawObj* pObj : Objects(m_selection))
            if (dynamic_cast<CDrawText*>(pObj) || dynamic_cast<CDrawRect*>(pObj))
                pObj->SetShading(TRUE, nPattern, RGB(0, 0, 0), RGB(255, 255, 255));
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
    } else if (e.nShapeTexts == 0 && e.nShapeTables == 1 && m_selection.GetCount() == 1) {
        CloneSelectionForUndo();
        m_selection.GetHead()->SetShading(TRUE, nPattern, RGB(0, 0, 0), RGB(255, 255, 255));
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
    }
}

void CPrintFormView::OnLineStyleChange()
{
    CComboBox* pBox = GetBarBox(IDC_LINE_STYLE);
    if (pBox != nullptr && pBox->GetCurSel() >= 0)
        m_nRuleLineStyle = pBox->GetCurSel();
}

void CPrintFormView::OnFontNameChange()
{
    CComboBox* pBox = GetBarBox(IDC_FONT_NAME);
    if (pBox == nullptr || m_selection.IsEmpty())
        return;
    CString strFace;
    const int nIndex = pBox->GetCurSel();
    if (nIndex >= 0)
        pBox->GetLBText(nIndex, strFace);
    else
        pBox->GetWindowText(strFace);
    if (strFace.IsEmpty())
        return;
    LOGFONT lf{};
    // The box keeps each listed face with its character set and pitch and family.
    auto* pFonts = dynamic_cast<CFontNameComboBox*>(pBox);
    if (const CFontNameItem* pItem = pFonts != nullptr ? pFonts->GetFontItem(nIndex) : nullptr) {
        lf.lfCharSet = pItem->m_nCharSet;
        lf.lfPitchAndFamily = pItem->m_nPitchAndFamily;
    }
    SetSelectionFaceName(strFace, lf);
}
