// The one-level undo of the layout editor's view: recording the states before and after an
// edit, exchanging them, and keeping every list free of objects that no longer exist.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/ui/core/CCmdUI.h"

#include <vector>

namespace {

bool ListHolds(const CDrawObjList& list, const CDrawObj* pObj)
{
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        if (list.GetNext(pos) == pObj)
            return true;
    return false;
}

std::vector<CDrawObj*> ToVector(const CDrawObjList& list)
{
    std::vector<CDrawObj*> v;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        v.push_back(list.GetNext(pos));
    return v;
}

// An object as its layout file keeps it (an embedded object: its frame, whose item an undo
// copy shares); empty when it cannot be written.
std::vector<BYTE> StoredForm(CDrawObj* pObj)
{
    try {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        if (dynamic_cast<CDrawOleObj*>(pObj) != nullptr)
            pObj->CDrawObj::Serialize(ar);
        else
            pObj->Serialize(ar);
        ar.Close();
        return file.Detach();
    } catch (CException&) {
        return {};
    }
}

} // namespace

CDrawObj* CPrintFormView::MakeUndoClone(CDrawObj* pObj, BOOL bCloneItem)
{
    auto* pOle = dynamic_cast<CDrawOleObj*>(pObj);
    const BOOL bOld = pOle ? pOle->m_bCloneItem : FALSE;
    if (pOle)
        pOle->m_bCloneItem = bCloneItem;
    CDrawObj* pClone = pObj->CloneForUndo(pObj->m_pDocument);
    if (pOle)
        pOle->m_bCloneItem = bOld;
    if (auto* pOleClone = dynamic_cast<CDrawOleObj*>(pClone); pOleClone && !bCloneItem)
        pOleClone->m_bOwnsItem = FALSE; // the item belongs to the object it was copied from
    m_clones.insert(pClone);
    return pClone;
}

void CPrintFormView::FillList(CDrawObjList& list, const CDrawObjList& from)
{
    list.RemoveAll();
    for (POSITION pos = from.GetHeadPosition(); pos != nullptr;)
        list.AddTail(from.GetNext(pos));
}

void CPrintFormView::FreeUnheldClones()
{
    std::vector<CDrawObj*> unheld;
    for (CDrawObj* pClone : m_clones)
        if (!ListHolds(m_undoBefore, pClone) && !ListHolds(m_undoAfter, pClone) &&
            !ListHolds(m_selection, pClone) && !ListHolds(m_heldBefore, pClone) &&
            !ListHolds(m_heldAfter, pClone))
            unheld.push_back(pClone);
    for (CDrawObj* pClone : unheld) {
        m_clones.erase(pClone);
        if (auto* pOle = dynamic_cast<CDrawOleObj*>(pClone))
            pOle->m_bOwnsItem = FALSE;
        pClone->Remove();
    }
}

void CPrintFormView::CloneSelectionForUndo(int)
{
    // The record standing now waits for the edit to change something; an edit begun again
    // before the first one ended keeps the record from before both.
    if (!m_bHeld) {
        FillList(m_heldBefore, m_undoBefore);
        FillList(m_heldAfter, m_undoAfter);
        m_nHeldKind = m_nUndoKind;
        m_bHeldCanUndo = m_bCanUndo;
        m_bHeldCanRedo = m_bCanRedo;
        m_bHeld = TRUE;
    }
    CloneSelectionIntoBefore();
}

void CPrintFormView::CloneSelectionIntoBefore()
{
    m_undoBefore.RemoveAll();
    for (POSITION pos = m_selection.GetHeadPosition(); pos != nullptr;)
        m_undoBefore.AddTail(MakeUndoClone(m_selection.GetNext(pos), FALSE));
    FreeUnheldClones();
}

void CPrintFormView::RememberSelectionForUndo(int)
{
    FillList(m_undoAfter, m_selection);
    FreeUnheldClones();
}

void CPrintFormView::CloneSelectionAsAfter(int bCloneItem)
{
    m_undoAfter.RemoveAll();
    for (POSITION pos = m_selection.GetHeadPosition(); pos != nullptr;)
        m_undoAfter.AddTail(MakeUndoClone(m_selection.GetNext(pos), bCloneItem));
    FreeUnheldClones();
}

void CPrintFormView::RememberSelectionAsBefore(int)
{
    FillList(m_undoBefore, m_selection);
    FreeUnheldClones();
}

void CPrintFormView::SelectUndoAfter(int)
{
    FillList(m_selection, m_undoAfter);
}

void CPrintFormView::SelectUndoBefore(int)
{
    FillList(m_selection, m_undoBefore);
}

void CPrintFormView::DropUndoRecord()
{
    m_undoBefore.RemoveAll();
    m_undoAfter.RemoveAll();
    m_heldBefore.RemoveAll();
    m_heldAfter.RemoveAll();
    m_bHeld = FALSE;
    m_bCanUndo = FALSE;
    m_bCanRedo = FALSE;
    FreeUnheldClones();
}

void CPrintFormView::ForgetObject(CDrawObj* pObj)
{
    RemoveFromSelection(pObj);
    if (m_clones.count(pObj) != 0)
        return;
    // A record that names a live object that is going away can no longer be exchanged.
    if (ListHolds(m_undoBefore, pObj) || ListHolds(m_undoAfter, pObj) || ListHolds(m_heldBefore, pObj) ||
        ListHolds(m_heldAfter, pObj))
        DropUndoRecord();
}

void CPrintFormView::DestroyObject(CDrawObj* pObj)
{
    CPrintDoc* pDoc = GetDocument();
    if (pDoc) {
        InvalObj(pObj);
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;)
            if (auto* pView = dynamic_cast<CPrintFormView*>(pDoc->GetNextView(pos)))
                pView->ForgetObject(pObj);
        pDoc->Remove(pObj);
    }
    m_clones.erase(pObj);
    // An item that stays with the document (an undo copy keeps it) must not point back at
    // the object that goes.
    if (auto* pOle = dynamic_cast<CDrawOleObj*>(pObj);
        pOle && !pOle->m_bOwnsItem && pOle->m_pClientItem && pOle->m_pClientItem->m_pDrawObj == pOle)
        pOle->m_pClientItem->m_pDrawObj = nullptr;
    pObj->Remove();
}

void CPrintFormView::TakeIntoDocument(CDrawObj* pObj)
{
    m_clones.erase(pObj);
    GetDocument()->Add(pObj);
    // The item the copy brings back belongs to the document's object again.
    if (auto* pOle = dynamic_cast<CDrawOleObj*>(pObj); pOle && pOle->m_pClientItem)
        pOle->m_pClientItem->m_pDrawObj = pOle;
}

void CPrintFormView::UndoReAdd()
{
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    m_selection.RemoveAll();
    for (CDrawObj* pObj : ToVector(m_undoAfter)) {
        m_selection.AddTail(pObj);
        if (m_clones.count(pObj) != 0)
            TakeIntoDocument(pObj);
    }
    CPrintDoc* pDoc = GetDocument();
    pDoc->SetModifiedFlag(TRUE);
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintSelection, &m_selection);
}

void CPrintFormView::RemoveSelectedFromDocument(bool bKeepEmbedded)
{
    CPrintDoc* pDoc = GetDocument();
    for (CDrawObj* pObj : ToVector(m_selection)) {
        if (auto* pOle = dynamic_cast<CDrawOleObj*>(pObj)) {
            if (bKeepEmbedded)
                continue;
            // The item lives on with the clone in the after-list.
            if (pDoc->RestoreOleObject(pOle) != nullptr)
                pOle->m_bOwnsItem = FALSE;
        }
        DestroyObject(pObj);
    }
}

void CPrintFormView::UndoRemove()
{
    CPrintDoc* pDoc = GetDocument();
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintDeleted, &m_selection);
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    SelectUndoAfter();
    CloneSelectionAsAfter(FALSE);
    for (POSITION pos = m_undoAfter.GetHeadPosition(); pos != nullptr;) {
        // The clones take over the items of the objects that go.
        if (auto* pOle = dynamic_cast<CDrawOleObj*>(m_undoAfter.GetNext(pos)))
            pOle->m_bOwnsItem = TRUE;
    }
    RemoveSelectedFromDocument(false);
    m_selection.RemoveAll();
    pDoc->SetModifiedFlag(TRUE);
}

void CPrintFormView::PutBackFromList()
{
    CPrintDoc* pDoc = GetDocument();
    for (CDrawObj* pObj : ToVector(m_selection)) {
        if (auto* pOle = dynamic_cast<CDrawOleObj*>(pObj)) {
            if (CDrawOleObj* pLive = pDoc->RestoreOleObject(pOle); pLive && pLive != pOle) {
                // The document's object of that item takes the clone's place.
                RemoveFromSelection(pOle);
                pOle->m_bOwnsItem = FALSE;
                m_clones.erase(pOle);
                pOle->Remove();
                Select(pLive, TRUE);
                continue;
            }
            // No object of the document has the item: the clone itself goes back, so that
            // nothing selected stands outside the document.
            if (m_clones.count(pOle) != 0) {
                pOle->m_bOwnsItem = TRUE;
                TakeIntoDocument(pOle);
            }
            continue;
        }
        if (m_clones.count(pObj) != 0)
            TakeIntoDocument(pObj);
    }
}

void CPrintFormView::UndoSwap()
{
    CPrintDoc* pDoc = GetDocument();
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintDeleted, &m_selection);
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    SelectUndoAfter();
    CloneSelectionAsAfter(FALSE);
    RemoveSelectedFromDocument(true);
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    SelectUndoBefore();
    PutBackFromList();
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintSelection, &m_selection);
    pDoc->SetModifiedFlag(TRUE);
    RememberSelectionAsBefore();
}

void CPrintFormView::RedoSwap()
{
    CPrintDoc* pDoc = GetDocument();
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintDeleted, &m_selection);
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    SelectUndoBefore();
    CloneSelectionIntoBefore();
    RemoveSelectedFromDocument(true);
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    SelectUndoAfter();
    PutBackFromList();
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintSelection, &m_selection);
    pDoc->SetModifiedFlag(TRUE);
    RememberSelectionForUndo();
}

// ---------------------------------------------------------------------------------------
// The actions: how each kind's two states are exchanged, undo before redo. A kind not in
// the table exchanges the objects before and after the edit.

struct CPrintFormView::CUndoActions {
    using Step = void (*)(CPrintFormView& v);
    struct CEntry {
        int nKind;
        Step pfnUndo;
        Step pfnRedo;
    };
    static const CEntry& Find(int nKind);
    // Whether the kind's two states are the same objects before and after an edit in place.
    static bool IsInPlace(int nKind) { return Find(nKind).pfnUndo == &SwapBack; }

    static void ReAdd(CPrintFormView& v) { v.UndoReAdd(); }
    static void Remove(CPrintFormView& v) { v.UndoRemove(); }
    static void SwapBack(CPrintFormView& v) { v.UndoSwap(); }
    static void SwapAgain(CPrintFormView& v) { v.RedoSwap(); }
    // The views let go of the new objects (and an inserted object's item) first.
    static void RemoveInsertedObject(CPrintFormView& v)
    {
        v.GetDocument()->UpdateAllViews(nullptr, CPrintDoc::hintOleObjects, &v.m_undoAfter);
        v.UndoRemove();
    }
    static void RemoveNewObject(CPrintFormView& v)
    {
        v.GetDocument()->UpdateAllViews(nullptr, CPrintDoc::hintSelection, &v.m_undoAfter);
        v.UndoRemove();
    }
};

const CPrintFormView::CUndoActions::CEntry& CPrintFormView::CUndoActions::Find(int nKind)
{
    static const CEntry entries[] = {
        // clang-format off
        // kind              undo                   redo
        {undoInPlace,        &SwapBack,             &SwapAgain},
        {undoCut,            &ReAdd,                &Remove},
        {undoClear,          &ReAdd,                &Remove},
        {undoPaste,          &Remove,               &ReAdd},
        {undoInsertObject,   &RemoveInsertedObject, &ReAdd},
        {undoNewText,        &RemoveNewObject,      &ReAdd},
        {undoNewShapeUnused, &RemoveNewObject,      &ReAdd},
        {undoNewShape,       &RemoveNewObject,      &ReAdd},
        {undoSelectTool,     &SwapBack,             &SwapAgain},
        {undoAddLine,        &SwapBack,             &SwapAgain},
        {undoDeleteLine,     &SwapBack,             &SwapAgain},
        // clang-format on
    };
    for (const CEntry& entry : entries)
        if (entry.nKind == nKind)
            return entry;
    return entries[0];
}

// ---------------------------------------------------------------------------------------
// Recording

bool CPrintFormView::AfterIsBefore() const
{
    if (m_undoAfter.GetCount() != m_undoBefore.GetCount())
        return false;
    for (POSITION a = m_undoAfter.GetHeadPosition(), b = m_undoBefore.GetHeadPosition(); a != nullptr;) {
        CDrawObj* pAfter = m_undoAfter.GetNext(a);
        CDrawObj* pBefore = m_undoBefore.GetNext(b);
        if (pAfter->GetRuntimeClass() != pBefore->GetRuntimeClass())
            return false;
        const std::vector<BYTE> after = StoredForm(pAfter);
        if (after.empty() || after != StoredForm(pBefore))
            return false;
    }
    return true;
}

void CPrintFormView::GiveBackHeldRecord()
{
    FillList(m_undoBefore, m_heldBefore);
    FillList(m_undoAfter, m_heldAfter);
    m_nUndoKind = m_nHeldKind;
    m_bCanUndo = m_bHeldCanUndo;
    m_bCanRedo = m_bHeldCanRedo;
    m_heldBefore.RemoveAll();
    m_heldAfter.RemoveAll();
    m_bHeld = FALSE;
    FreeUnheldClones();
}

void CPrintFormView::RecordUndo(int nKind)
{
    if (m_bHeld && CUndoActions::IsInPlace(nKind) && AfterIsBefore()) {
        GiveBackHeldRecord();
        return;
    }
    m_heldBefore.RemoveAll();
    m_heldAfter.RemoveAll();
    m_bHeld = FALSE;
    m_nUndoKind = nKind;
    m_bCanUndo = TRUE;
    m_bCanRedo = FALSE;
    FreeUnheldClones();
}

void CPrintFormView::EndUndoStep()
{
    if (m_bHeld)
        GiveBackHeldRecord();
}

void CPrintFormView::SetUndoFlags(BOOL bCanUndo, BOOL bCanRedo)
{
    m_bCanUndo = bCanUndo;
    m_bCanRedo = bCanRedo;
}

// ---------------------------------------------------------------------------------------
// Commands

void CPrintFormView::OnEditUndo()
{
    if (!m_bCanUndo)
        return;
    CUndoActions::Find(m_nUndoKind).pfnUndo(*this);
    m_bCanUndo = FALSE;
    m_bCanRedo = TRUE;
}

void CPrintFormView::OnEditRedo()
{
    if (!m_bCanRedo)
        return;
    CUndoActions::Find(m_nUndoKind).pfnRedo(*this);
    m_bCanUndo = TRUE;
    m_bCanRedo = FALSE;
}

void CPrintFormView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bCanUndo);
}

void CPrintFormView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bCanRedo);
}
