// The recalculation level: which recalculation requests of the bulk changes and of the
// save and print paths are carried out, and the full recalculation command.
#include "estimate/CMorvelEMView.h"

#include "app/CMorvelSettings.h"
#include "app/CWaitDialog.h"
#include "estimate/CMorvelEMDoc.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

int CMorvelEMView::GetRecalcLevel() const
{
    const int nLevel = CMorvelSettings::CurrentProfileInt("ReCalcSetting", "Level", 3);
    return nLevel == 0 ? 3 : nLevel;
}

void CMorvelEMView::KeepFiguresForUndo(int nFromRow)
{
    // At the default level every row's formulas were worked out at the end of the command
    // before: working them out again changes none the command did not write.
    if (GetRecalcLevel() != 3)
        GetModel().KeepFiguresForUndo(nFromRow);
}

void CMorvelEMView::RecalcFromRow(int nMode, int nFirstRow)
{
    // Saving and printing work the totals out again: nothing an undo record names changes,
    // so the record stays.
    std::optional<CUndoKeepingScope> keepUndo;
    if (nMode == recalcSaveOrPrint)
        keepUndo.emplace();
    const int nLevel = GetRecalcLevel();
    if ((nLevel == 2 && nMode == recalcBulk) || nLevel == 3) {
        CColumnBatch batch(*this);
        KeepFiguresForUndo(nFirstRow);
        const unsigned long long nChanges = EditRows().GetChangeCount();
        Engine().CalcRows(nFirstRow);
        RecalcTotalsNotingWrites(nFirstRow, nChanges);
        // From the first row this is the full recalculation: nothing is left for the end of
        // the command.
        if (nFirstRow <= 0)
            Engine().TakeFiguresAsDone();
        if (nLevel == 3 && m_hWnd != nullptr) {
            Invalidate(TRUE);
            UpdateWindow();
        }
    }
}

void CMorvelEMView::RecalcTotalsNotingWrites(int nFirstRow, unsigned long long nChangesBefore)
{
    Engine().RecalcTotals(nFirstRow);
    // A recalculation that finds every figure as it stands writes nothing (an export or a
    // print of an estimate just opened or saved): the estimate stays unmodified.
    if (EditRows().GetChangeCount() != nChangesBefore)
        AfterRecalculation();
}

void CMorvelEMView::RecalcAll()
{
    KeepFiguresForUndo(0);
    Engine().RecalcAll();
    AfterRecalculation();
}

void CMorvelEMView::RecalcAfterCommand()
{
    // An edit that left its recalculation here is followed by the tree and the status bar
    // as its own recalculation was, whether or not a figure changed.
    const bool bEditWaiting = std::exchange(m_bRecalcAtCommandEnd, false);
    // Asked after every message the grid handles: the settings are read only when a row
    // changed.
    if (!Engine().HasChangesSinceFiguresDone() || GetRecalcLevel() != 3) {
        if (bEditWaiting)
            AfterRecalculation();
        return;
    }
    // Worked out again from the rows a command left: an undo record names none of it.
    const CUndoKeepingScope keepUndo;
    CColumnBatch batch(*this);
    // The document is marked modified only when a figure was written (a save right before
    // leaves nothing to write).
    const unsigned long long nChanges = EditRows().GetChangeCount();
    const std::vector<CString> shown = ShownTexts();
    if (Engine().RecalcChangedFigures() && EditRows().GetChangeCount() != nChanges) {
        RepaintChangedShownRows(shown);
        AfterRecalculation();
    } else if (bEditWaiting) {
        AfterRecalculation();
    }
}

std::vector<CString> CMorvelEMView::ShownTexts() const
{
    // The rows on the screen of the edit page, each its kind's number and then its cells.
    std::vector<CString> texts;
    if (m_hWnd == nullptr || IsSummaryPageShown())
        return texts;
    const int nColumns = GetColumnLimit();
    const int nFirst = GetFirstVisibleCell().y;
    // The whole rows and the parts of rows at the bottom edge.
    const int nLast = std::min(GetRowLimit() - 1, nFirst + GetVisibleRowCount() + 1);
    texts.reserve(static_cast<size_t>(std::max(0, nLast - nFirst + 1) * (nColumns + 1)));
    for (int r = nFirst; r <= nLast; ++r) {
        texts.push_back(CString(std::to_string(KindNumber(Engine().EditKind(r))).c_str()));
        for (int c = 0; c < nColumns; ++c)
            texts.push_back(Engine().EditCell(r, c));
    }
    return texts;
}

void CMorvelEMView::RepaintChangedShownRows(const std::vector<CString>& before)
{
    // The totals and tax rows a recalculation makes repaint themselves; the rows whose own
    // formulas it works out again (an amount a cleared column gave back) are found here.
    const std::vector<CString> after = ShownTexts();
    if (after.size() != before.size())
        return;
    const size_t nPerRow = static_cast<size_t>(GetColumnLimit()) + 1;
    const int nFirst = GetFirstVisibleCell().y;
    for (size_t i = 0; i < after.size(); i += nPerRow) {
        if (!std::equal(after.begin() + static_cast<std::ptrdiff_t>(i),
                        after.begin() + static_cast<std::ptrdiff_t>(i + nPerRow),
                        before.begin() + static_cast<std::ptrdiff_t>(i))) {
            const int nRow = nFirst + static_cast<int>(i / nPerRow);
            InvalidateRows(nRow, nRow);
        }
    }
}

void CMorvelEMView::EndCommand(const CRowsState& before, CPoint ptCellBefore)
{
    RecalcAfterCommand();
    // A command whose change what followed it gave back (amounts cleared that their formulas
    // fill again) leaves the undo and redo there were.
    if (IsUndoRecordedInThisMessage())
        GetModel().TakeBackUnchangedRecord();
    const CRowsState after = RowsState();
    if (after.nChanges != before.nChanges) {
        // A heading row or a kind the command changed after the tree was last rebuilt (a
        // name replaced or cleared): the tree follows, as it follows a name typed. Its
        // rebuild sets again only the labels that changed, and the keyboard stays where
        // the command left it.
        const CHeadingsCounts counts = HeadingsCounts();
        if (counts != m_headingsCounts) {
            m_headingsCounts = counts;
            if (CMorvelEMDoc* pDoc = GetDocument())
                pDoc->RebuildSubjectTree(this);
        }
        // The estimate's amount adds up the rows themselves: rows put in, taken out or
        // written change it where no total row changed (an estimate without a grand total).
        UpdateStatusText(statusShow);
    }
    // The subject numbers below a heading the command made, removed or moved change,
    // wherever the command repainted.
    if (after.nKindChanges != before.nKindChanges)
        RepaintSubjectNumbers();
    // Every other window on the estimate shows what the command changed.
    if (after != before)
        RepaintOtherWindows();
    // A command that moved the cursor (a heading or total put in at the window's last row,
    // an undo, a jump) shows it where it went: what is typed next goes there. A press still
    // held leaves the grid where it is, under the pointer.
    if (m_hWnd != nullptr && CPoint(GetCurrentCol(), GetCurrentRow()) != ptCellBefore &&
        GetPointerState().nPressOrigin == pressNone)
        ShowCurrentCell();
}

void CMorvelEMView::RepaintOtherWindows()
{
    CMorvelEMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos != nullptr) {
        auto* pOther = dynamic_cast<CMorvelEMView*>(pDoc->GetNextView(pos));
        if (pOther == nullptr || pOther == this || pOther->m_hWnd == nullptr)
            continue;
        pOther->UpdateScrollRanges();
        pOther->Invalidate(FALSE);
    }
}

LRESULT CMorvelEMView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The last messages of the window: the view is gone after them.
    if (message == WM_DESTROY || message == WM_NCDESTROY)
        return CMorvelView::WindowProc(message, wParam, lParam);
    const CCommandScope command(*this);
    // An estimate opened with its file's figures has its totals' sums made once the program
    // is idle, not while it opens.
    if (message == WM_IDLEUPDATECMDUI && m_pModel != nullptr)
        Engine().KeepTotalsWhenIdle();
    return CMorvelView::WindowProc(message, wParam, lParam);
}

BOOL CMorvelEMView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Update handlers and the look for a handler change nothing.
    if (nCode != CN_COMMAND || pHandlerInfo != nullptr)
        return CMorvelView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    const CCommandScope command(*this);
    return CMorvelView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMorvelEMView::WorkOutFiguresForOutput(EOutput eOutput)
{
    RecalcFromRow(recalcSaveOrPrint, 0);
    if (eOutput == outputPaper)
        ComputeInformationAmounts();
}

void CMorvelEMView::OnRecalculate()
{
    // The whole estimate worked out again changes nothing an undo record names.
    const CUndoKeepingScope keepUndo;
    std::unique_ptr<CWaitDialog> pWait;
    if (m_hWnd != nullptr) {
        pWait = std::make_unique<CWaitDialog>("再計算を行っています。"_sj, this);
        pWait->Create(IDD_WAIT, this);
        SetCapture();
    }
    BeginWaitCursor();
    RecalcAll();
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
        ReleaseCapture();
    }
    EndWaitCursor();
    if (pWait != nullptr)
        pWait->DestroyWindow();
    SetDocumentModified();
}

void CMorvelEMView::OnUpdateRecalculate(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSummaryPageShown());
}
