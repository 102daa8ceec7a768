// The layout view's text formatting: underline, bold, italic, text colour, justification,
// font height and face, for the selected texts or for the selected cells of one selected
// table (never both, never rectangles or embedded objects). The check marks show the
// selection's current style.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "platform/base/Cp932.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/dialogs/CColorDialog.h"

#include <cstring>
#include <vector>

namespace {

std::vector<CDrawObj*> Objects(const CDrawObjList& list)
{
    std::vector<CDrawObj*> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        out.push_back(list.GetNext(pos));
    return out;
}

// The text census: counts rectangles, texts and tables, and says whether the text commands
// may act.
bool TextCensus(CDrawObjList& sel, CPrintFormEditState& e)
{
    e.nTextRects = 0;
    e.nTextTexts = 0;
    e.nTextTables = 0;
    if (sel.IsEmpty())
        return false;
    if (sel.GetCount() == 1) {
        CDrawObj* pObj = sel.GetHead();
        if (auto* pTable = dynamic_cast<CDrawTable*>(pObj)) {
            e.nTextTables = 1;
            return pTable->GetSelectedCellCount() > 0;
        }
        if (dynamic_cast<CDrawText*>(pObj)) {
            e.nTextTexts = 1;
            return true;
        }
        return false;
    }
    for (CDrawObj* pObj : Objects(sel)) {
        if (dynamic_cast<CDrawTable*>(pObj))
            ++e.nTextTables;
        else if (dynamic_cast<CDrawText*>(pObj))
            ++e.nTextTexts;
        else if (dynamic_cast<CDrawRect*>(pObj))
            ++e.nTextRects;
    }
    return e.nTextTables == 0 && e.nTextTexts > 0 && e.nTextRects == 0;
}

bool IsTextTarget(const CPrintFormEditState& e)
{
    return e.nTextTables == 0 && e.nTextTexts > 0;
}

// The cell target: exactly one object selected, a table with selected cells.
CDrawTable* CellTarget(CDrawObjList& sel)
{
    if (sel.GetCount() != 1)
        return nullptr;
    auto* pTable = dynamic_cast<CDrawTable*>(sel.GetHead());
    return pTable != nullptr && pTable->GetSelectedCellCount() > 0 ? pTable : nullptr;
}

std::vector<CDrawText*> Texts(const CDrawObjList& sel)
{
    std::vector<CDrawText*> out;
    for (CDrawObj* pObj : Objects(sel))
        if (auto* pText = dynamic_cast<CDrawText*>(pObj))
            out.push_back(pText);
    return out;
}

} // namespace

// Applies a change to the selected texts or to the selected cells, as one undoable step.
template <class OnText, class OnTable>
static void ApplyTextChange(CPrintFormView* pView, OnText onText, OnTable onTable)
{
    CDrawObjList& sel = pView->GetSelection();
    // The census as the enabling pass leaves it (a command may also arrive without one).
    TextCensus(sel, pView->GetEditState());
    if (IsTextTarget(pView->GetEditState())) {
        pView->CloneSelectionForUndo();
        for (CDrawText* pText : Texts(sel)) {
            pView->InvalObj(pText);
            onText(pText);
            pView->InvalObj(pText);
        }
        pView->GetDocument()->SetModifiedFlag(TRUE);
        pView->RememberSelectionForUndo();
        pView->RecordUndo(CPrintFormView::undoInPlace);
        return;
    }
    if (CDrawTable* pTable = CellTarget(sel)) {
        pView->CloneSelectionForUndo();
        onTable(pTable);
        pView->RememberSelectionForUndo();
        pView->RecordUndo(CPrintFormView::undoInPlace);
    }
}

void CPrintFormView::UpdateTextCensusItem(CCmdUI* pCmdUI)
{
    const bool bEligible = TextCensus(m_selection, m_edit);
    pCmdUI->Enable(bEligible && CDrawTool::s_nCurrentShape == ShapeSelect);
}

void CPrintFormView::OnUpdateTextColor(CCmdUI* pCmdUI)
{
    UpdateTextCensusItem(pCmdUI);
}
void CPrintFormView::OnUpdateFontName(CCmdUI* pCmdUI)
{
    UpdateTextCensusItem(pCmdUI);
}
void CPrintFormView::OnUpdateFontSize(CCmdUI* pCmdUI)
{
    UpdateTextCensusItem(pCmdUI);
}

// ---- Underline, bold, italic --------------------------------------------------------------

template <class TextTest, class CellCount>
static BOOL IsSelectionStyled(CDrawObjList& sel, TextTest textTest, CellCount cellCount)
{
    int nTally = 0;
    for (CDrawObj* pObj : Objects(sel)) {
        if (auto* pTable = dynamic_cast<CDrawTable*>(pObj)) {
            const int nSelected = pTable->GetSelectedCellCount();
            if (nSelected == 0)
                continue;
            const int nStyled = cellCount(pTable);
            if (nStyled != nSelected)
                return FALSE;
            nTally += nStyled;
        } else if (auto* pText = dynamic_cast<CDrawText*>(pObj)) {
            ++nTally;
            if (!textTest(pText))
                return FALSE;
        }
    }
    return nTally > 0;
}

BOOL CPrintFormView::IsSelectionBold()
{
    return IsSelectionStyled(
        m_selection, [](CDrawText* p) { return p->m_logFont.lfWeight != 400; },
        [](CDrawTable* t) { return t->CountBoldCells(); });
}

BOOL CPrintFormView::IsSelectionItalic()
{
    return IsSelectionStyled(
        m_selection, [](CDrawText* p) { return p->m_logFont.lfItalic != 0; },
        [](CDrawTable* t) { return t->CountItalicCells(); });
}

BOOL CPrintFormView::IsSelectionUnderline()
{
    return IsSelectionStyled(
        m_selection, [](CDrawText* p) { return p->m_logFont.lfUnderline != 0; },
        [](CDrawTable* t) { return t->CountUnderlineCells(); });
}

void CPrintFormView::OnUpdateUnderline(CCmdUI* pCmdUI)
{
    UpdateTextCensusItem(pCmdUI);
    m_edit.bUnderline = IsSelectionUnderline();
    pCmdUI->SetCheck(m_edit.bUnderline ? 1 : 0);
}

void CPrintFormView::OnUpdateBold(CCmdUI* pCmdUI)
{
    UpdateTextCensusItem(pCmdUI);
    m_edit.bBold = IsSelectionBold();
    pCmdUI->SetCheck(m_edit.bBold ? 1 : 0);
}

void CPrintFormView::OnUpdateItalic(CCmdUI* pCmdUI)
{
    UpdateTextCensusItem(pCmdUI);
    m_edit.bItalic = IsSelectionItalic();
    pCmdUI->SetCheck(m_edit.bItalic ? 1 : 0);
}

void CPrintFormView::OnUnderline()
{
    m_edit.bUnderline = !IsSelectionUnderline();
    const BYTE b = m_edit.bUnderline ? 1 : 0;
    ApplyTextChange(
        this, [b](CDrawText* p) { p->m_logFont.lfUnderline = b; },
        [this, b](CDrawTable* t) { t->SetCellUnderline(this, b); });
}

void CPrintFormView::OnBold()
{
    m_edit.bBold = !IsSelectionBold();
    const BOOL b = m_edit.bBold;
    ApplyTextChange(
        this, [b](CDrawText* p) { p->m_logFont.lfWeight = b ? 700 : 400; },
        [this, b](CDrawTable* t) { t->SetCellBold(this, b); });
}

void CPrintFormView::OnItalic()
{
    m_edit.bItalic = !IsSelectionItalic();
    const BYTE b = m_edit.bItalic ? 1 : 0;
    ApplyTextChange(
        this, [b](CDrawText* p) { p->m_logFont.lfItalic = b; },
        [this, b](CDrawTable* t) { t->SetCellItalic(this, b); });
}

// ---- Text colour --------------------------------------------------------------------------

void CPrintFormView::OnTextColor()
{
    TextCensus(m_selection, m_edit);
    if (!IsTextTarget(m_edit) && CellTarget(m_selection) == nullptr)
        return;
    CColorDialog dialog(0, 0, this);
    if (dialog.DoModal() != IDOK)
        return;
    const COLORREF clr = dialog.GetColor();
    ApplyTextChange(
        this, [clr](CDrawText* p) { p->m_clrText = clr; },
        [this, clr](CDrawTable* t) { t->SetCellTextColor(this, clr); });
}

// ---- Justification ------------------------------------------------------------------------

void CPrintFormView::UpdateAlignmentState()
{
    struct Pass {
        int nCode;
        int nState;
        int (CDrawTable::*count)();
    };
    static const Pass kPasses[] = {{CTextAttributes::alignLeft, 0, &CDrawTable::CountLeftAlignedCells},
                                   {CTextAttributes::alignRight, 1, &CDrawTable::CountRightAlignedCells},
                                   {CTextAttributes::alignCenter, 2, &CDrawTable::CountCenteredCells}};
    m_edit.nAlignState = -1;
    for (const Pass& pass : kPasses) {
        bool bFailed = false;
        int nTally = 0;
        for (CDrawObj* pObj : Objects(m_selection)) {
            if (auto* pTable = dynamic_cast<CDrawTable*>(pObj)) {
                const int nSelected = pTable->GetSelectedCellCount();
                if (nSelected == 0)
                    continue;
                const int n = (pTable->*pass.count)();
                if (n != nSelected)
                    bFailed = true;
                nTally += n;
            } else if (auto* pText = dynamic_cast<CDrawText*>(pObj)) {
                ++nTally;
                if (pText->m_nAlign != pass.nCode)
                    bFailed = true;
            }
        }
        if (!bFailed && nTally >= 1)
            m_edit.nAlignState = pass.nState;
    }
}

static void UpdateAlignItem(CPrintFormView* pView, CCmdUI* pCmdUI, int nState)
{
    CPrintFormEditState& e = pView->GetEditState();
    const bool bEligible = TextCensus(pView->GetSelection(), e);
    const bool bEnable = bEligible && CDrawTool::s_nCurrentShape == ShapeSelect;
    pCmdUI->Enable(bEnable);
    pView->UpdateAlignmentState();
    if (!bEnable)
        e.nAlignState = -1;
    pCmdUI->SetCheck(e.nAlignState == nState ? 1 : 0);
}

void CPrintFormView::OnUpdateAlignLeft(CCmdUI* pCmdUI)
{
    UpdateAlignItem(this, pCmdUI, 0);
}
void CPrintFormView::OnUpdateAlignRight(CCmdUI* pCmdUI)
{
    UpdateAlignItem(this, pCmdUI, 1);
}
void CPrintFormView::OnUpdateAlignCenter(CCmdUI* pCmdUI)
{
    UpdateAlignItem(this, pCmdUI, 2);
}

static void AlignText(CPrintFormView* pView, int nState, int nCode)
{
    CPrintFormEditState& e = pView->GetEditState();
    pView->UpdateAlignmentState();
    if (e.nAlignState == nState)
        return;
    e.nAlignState = nState;
    ApplyTextChange(
        pView, [nCode](CDrawText* p) { p->m_nAlign = nCode; },
        [pView, nCode](CDrawTable* t) { t->SetCellAlign(pView, nCode); });
}

void CPrintFormView::OnAlignLeft()
{
    AlignText(this, 0, CTextAttributes::alignLeft);
}
void CPrintFormView::OnAlignRight()
{
    AlignText(this, 1, CTextAttributes::alignRight);
}
void CPrintFormView::OnAlignCenter()
{
    AlignText(this, 2, CTextAttributes::alignCenter);
}

// ---- Font height and face -----------------------------------------------------------------

void CPrintFormView::SetSelectionFontHeight(int nHeight)
{
    ApplyTextChange(
        this, [nHeight](CDrawText* p) { p->m_logFont.lfHeight = nHeight; },
        [this, nHeight](CDrawTable* t) { t->SetCellFontHeight(this, nHeight); });
}

void CPrintFormView::SetSelectionFaceName(const CString& strFace, const LOGFONT& lf)
{
    ApplyTextChange(
        this,
        [&](CDrawText* p) {
            // At most 31 bytes, never half of a double-byte character, always terminated.
            CString face = strFace;
            const int nMax = LF_FACESIZE - 1;
            if (face.GetLength() > nMax) {
                int n = 0;
                while (n < face.GetLength()) {
                    const int nChar = IsCp932LeadByte(static_cast<BYTE>(face[n])) ? 2 : 1;
                    if (n + nChar > nMax)
                        break;
                    n += nChar;
                }
                face = face.Left(n);
            }
            std::memset(p->m_logFont.lfFaceName, 0, sizeof(p->m_logFont.lfFaceName));
            std::memcpy(p->m_logFont.lfFaceName, static_cast<LPCTSTR>(face),
                        static_cast<size_t>(face.GetLength()));
            p->m_logFont.lfCharSet = lf.lfCharSet;
            p->m_logFont.lfPitchAndFamily = lf.lfPitchAndFamily;
        },
        [&](CDrawTable* t) { t->SetCellFontFace(this, strFace, lf); });
}
