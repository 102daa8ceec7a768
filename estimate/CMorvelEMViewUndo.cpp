// Undo and redo of the estimate grid: one action each way. The editing commands record
// what they did in the undo record (RecordUndo: an action code, a position and the data to
// take it back); undo takes that one action back, redo does it again, mostly by running the
// same command at the recorded position, which records its own undo data as it runs. What
// each code does either way is in one table, CUndoActions.
//
// A record describes rows by number. A later insertion or deletion of rows that the
// record does not know about (a page inserted, rows dragged in the subject tree, a sort)
// moves the rows under those numbers when it happens at or above the last row the record
// names: the record remembers the first row moved since it was made, and once that lies
// within its rows neither undo nor redo act on it (both are disabled) rather than change
// the wrong rows. Rows moved only below its rows leave it as good as it was.
#include "estimate/CMorvelEMView.h"

#include "estimate/CMorvelEMDoc.h"
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/CUndoTextEntry.h"
#include "platform/base/Check.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// The eight settings a fixed-rate change keeps after the column's former texts.
constexpr INT_PTR kFixedRateSettings = 8;

const CString& UndoText(const CGridRowArray& texts, INT_PTR i)
{
    static const CString empty;
    const auto* pEntry = static_cast<const CUndoTextEntry*>(texts.GetWorkingArray().GetAt(i));
    return pEntry != nullptr ? pEntry->m_strText : empty;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Recording

void CMorvelEMView::RecordUndo(int nAction, CPoint ptPosition)
{
    // A new command ends what redo could do again: the rows it would act on are no longer
    // those it was recorded over. (Undo and redo set their own codes after the command they
    // run has recorded.)
    Undo().nAction = nAction;
    Undo().nRedoAction = undoNone;
    Undo().ptPosition = ptPosition;
    KeepUndoRecordInStep();
    NoteUndoRecorded();
}

void CMorvelEMView::RecordCellCommand(int nAction, CPoint ptPosition, CRowImage&& before)
{
    RecordUndo(nAction, ptPosition);
    Undo().rowsBefore = std::move(before);
    Undo().rowsAfter = CRowImage();
}

CMorvelEMView::CRowImage CMorvelEMView::TakeRowImage(int nFirst, int nLast) const
{
    CRowImage image;
    image.nFirstRow = std::max(0, nFirst);
    image.nUsedRows = GetUsedRows();
    for (int r = image.nFirstRow; r <= nLast && r < GetRowLimit(); ++r) {
        // Read, not handed out for writing: the kept totals stay in use.
        const CGridRow* pRow = EditRows().GetRow(r);
        image.rows.push_back(pRow != nullptr ? std::make_unique<CGridRow>(*pRow) : nullptr);
    }
    return image;
}

void CMorvelEMView::PutRowImageBack(const CRowImage& image)
{
    // No image taken: the rows stay as they are.
    if (image.rows.empty())
        return;
    for (size_t i = 0; i < image.rows.size(); ++i) {
        const int nRow = image.nFirstRow + static_cast<int>(i);
        if (const CGridRow* pKept = image.rows[i].get()) {
            *MakeEditRow(nRow) = *pKept;
        } else if (CGridRow* pRow = GetEditRow(nRow)) {
            delete pRow;
            EditRows().SetAt(nRow, nullptr);
        }
    }
    SetUsedRows(image.nUsedRows);
    UpdateScrollRanges();
}

void CMorvelEMView::WithdrawUndo()
{
    // Only the codes go: a command that records after its changes still fills the stores.
    Undo().nAction = undoNone;
    Undo().nRedoAction = undoNone;
}

void CMorvelEMView::SetUndoActions(int nUndoAction, int nRedoAction)
{
    Undo().nAction = nUndoAction;
    Undo().nRedoAction = nRedoAction;
}

void CMorvelEMView::ClearUndoRows()
{
    CPtrArray& rows = Undo().rows.GetWorkingArray();
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        delete static_cast<CGridRow*>(rows.GetAt(i));
    rows.RemoveAll();
}

void CMorvelEMView::ClearUndoTexts()
{
    CPtrArray& texts = Undo().texts.GetWorkingArray();
    for (INT_PTR i = 0; i < texts.GetSize(); ++i)
        delete static_cast<CUndoTextEntry*>(texts.GetAt(i));
    texts.RemoveAll();
}

// ---------------------------------------------------------------------------------------
// The record's step with the rows

void CMorvelEMView::KeepUndoRecordInStep()
{
    Undo().nShiftedFrom = INT_MAX;
}

bool CMorvelEMView::IsUndoRecordCurrent() const
{
    return Undo().nShiftedFrom > UndoRecordLastRow();
}

void CMorvelEMView::NoteRowShift(int nFromRow)
{
    // The kept totals know the rows by their places.
    ForgetKeptTotals();
    Undo().nShiftedFrom = std::min(Undo().nShiftedFrom, std::max(0, nFromRow));
}

// ---------------------------------------------------------------------------------------
// The steps of a rows command

CMorvelEMView::CRowStepRecording::CRowStepRecording(CMorvelEMView& view, EStart eStart) : m_view(view)
{
    MORVEL_CHECK(m_view.m_eRowSteps == rowStepsOff, "one rows command records its steps at a time");
    if (eStart == startEmpty) {
        m_view.ForgetRowSteps();
        m_view.m_eRowSteps = rowStepsStarted;
    } else {
        m_view.m_eRowSteps = rowStepsOn;
    }
}

CMorvelEMView::CRowStepRecording::~CRowStepRecording()
{
    m_view.m_eRowSteps = rowStepsOff;
}

void CMorvelEMView::NoteRowStep(int nRow, int nCount, bool bInserted, int nUsedRowsBefore)
{
    if (m_eRowSteps == rowStepsOff || nCount <= 0)
        return;
    if (m_eRowSteps == rowStepsOn) {
        // The command's first step: what the record kept for the last command goes.
        ClearUndoRows();
        Undo().rowSteps.clear();
        m_eRowSteps = rowStepsStarted;
    }
    Undo().rowSteps.push_back({nRow, nCount, bInserted, nUsedRowsBefore});
}

void CMorvelEMView::ForgetRowSteps()
{
    ClearUndoRows();
    Undo().rowSteps.clear();
}

int CMorvelEMView::TakeBackRowSteps()
{
    MORVEL_CHECK(m_eRowSteps == rowStepsOff, "taking the steps back is not a step");
    // The rows the steps took out, in the order they went.
    CPtrArray& store = Undo().rows.GetWorkingArray();
    std::vector<CGridRow*> taken;
    for (INT_PTR i = 0; i < store.GetSize(); ++i)
        taken.push_back(static_cast<CGridRow*>(store.GetAt(i)));
    store.RemoveAll();
    const std::vector<CUndoRecord::CRowStep> steps = std::move(Undo().rowSteps);
    Undo().rowSteps.clear();
    int nFirstMoved = INT_MAX;
    for (size_t i = steps.size(); i-- > 0;) {
        const CUndoRecord::CRowStep& step = steps[i];
        nFirstMoved = std::min(nFirstMoved, step.nRow);
        if (step.bInserted) {
            std::vector<CGridRow*> out;
            TakeRowsOut(step.nRow, step.nCount, &out);
            // The rows a paste put in first are kept for the redo; empty rows the page
            // alignment put in go.
            for (CGridRow* pRow : out) {
                if (i == 0)
                    Undo().rows.Add(pRow);
                else
                    delete pRow;
            }
        } else {
            MORVEL_CHECK(taken.size() >= static_cast<size_t>(step.nCount), "a step's rows are in the store");
            const size_t nFrom = taken.size() - static_cast<size_t>(step.nCount);
            PutRowsIn(step.nRow, step.nCount, taken.data() + nFrom);
            taken.resize(nFrom);
        }
        // Rows below the used ones count as taken out or put in as well; the used-row
        // count goes back to what it was.
        SetUsedRows(step.nUsedRowsBefore);
    }
    MORVEL_CHECK(taken.empty(), "every row taken out went back");
    for (CGridRow* pRow : taken)
        delete pRow;
    UpdateScrollRanges();
    return nFirstMoved;
}

// ---------------------------------------------------------------------------------------
// The actions. Each step gets the view and the record's position (see EUndoAction for
// what the position holds with each code); the steps come in pairs, undo before redo.

struct CMorvelEMView::CUndoActions {
    using Step = void (*)(CMorvelEMView& v, CPoint pt);
    // The last row the record names (its cells, rows or block).
    using LastRow = int (*)(const CMorvelEMView& v, CPoint pt);
    struct CEntry {
        int nAction;
        Step pfnUndo;
        Step pfnRedo;
        LastRow pfnLastRow;
    };
    static const CEntry* Find(int nAction);

    // Runs a step, then repaints where the current cell and the selection were before it: a
    // step that makes another cell current or selects other rows leaves no frame or
    // highlight behind at the old place.
    static void Run(CMorvelEMView& v, Step pfnStep, CPoint pt)
    {
        const CPoint ptCurrent(v.m_nCurrentCol, v.m_nCurrentRow);
        const CRect rcSelected = v.m_nSelectMode != selectNone ? v.GetSelectionPixelRect() : CRect();
        pfnStep(v, pt);
        if (v.m_hWnd == nullptr)
            return;
        v.InvalidateCell(ptCurrent.x, ptCurrent.y);
        if (!rcSelected.IsRectEmpty())
            v.InvalidateRect(&rcSelected, FALSE);
        v.UpdateWindow();
    }

    // ---- Shared steps

    static void SelectWholeRows(CMorvelEMView& v, int nFirstRow, int nCount)
    {
        const int nColumns = v.GetColumnLimit();
        v.m_nSelectMode = selectRows;
        v.m_rcSelection.SetRect(0, nFirstRow, std::max(0, nColumns - 1), nFirstRow + std::max(1, nCount) - 1);
    }

    static void Refresh(CMorvelEMView& v, int nFromRow)
    {
        if (v.m_hWnd != nullptr) {
            v.InvalidateRows(std::max(0, nFromRow), v.GetRowLimit() - 1, TRUE);
            v.UpdateWindow();
        }
        v.RecalcTotals(nFromRow);
        v.UpdateTreeView();
    }

    static void RestoreRow(CMorvelEMView& v, INT_PTR nEntry, int nRow)
    {
        const CGridRow* pSaved = v.Undo().rows.GetRow(static_cast<int>(nEntry));
        v.CopyRow(pSaved, v.MakeEditRow(nRow));
        if (v.GetUsedRows() <= nRow && pSaved != nullptr && pSaved->GetKind() != kindEmpty) {
            v.SetUsedRows(nRow + 1);
            v.UpdateScrollRanges();
        }
        v.CalcRow(nRow, 0);
    }

    // ---- One row, at the current cell the command had

    static void DeleteRowAt(CMorvelEMView& v, CPoint pt)
    {
        v.m_nSelectMode = selectNone;
        v.SetCurrentCell(pt.x, pt.y);
        v.DeleteCurrentRow();
    }

    // What a row insert or delete did to the rows, the page alignment after it included, is
    // taken back step by step: the rows are exactly those before the command.
    static void TakeBackRowCommand(CMorvelEMView& v, CPoint pt)
    {
        const CPoint ptCurrent(v.m_nCurrentCol, v.m_nCurrentRow);
        const int nFirstMoved = v.TakeBackRowSteps();
        v.m_nSelectMode = selectNone;
        v.SetCurrentCell(ptCurrent.x, ptCurrent.y);
        Refresh(v, std::min(pt.y, nFirstMoved));
    }

    static void InsertRowAt(CMorvelEMView& v, CPoint pt)
    {
        v.m_nSelectMode = selectNone;
        v.SetCurrentCell(pt.x, pt.y);
        v.InsertOneRow();
    }

    // The row kept in the row store goes back in above the row: a special row its undo
    // deleted through the row delete command, which kept it.
    static void PutBackKeptRow(CMorvelEMView& v, CPoint pt)
    {
        v.InsertRowAligned(pt.y);
        RestoreRow(v, 0, pt.y);
        Refresh(v, pt.y);
    }

    static void RestoreClearedRow(CMorvelEMView& v, CPoint pt)
    {
        RestoreRow(v, 0, pt.y);
        Refresh(v, pt.y);
    }

    static void ClearRowAt(CMorvelEMView& v, CPoint pt)
    {
        v.m_nSelectMode = selectNone;
        v.SetCurrentCell(pt.x, pt.y);
        v.OnClearRow();
    }

    // ---- Rows cut and pasted

    // The rows a cut took go back where they were, and so do the empty rows its page
    // alignment moved: the rows are exactly those before the cut, selected as they were.
    static void PutBackCutRows(CMorvelEMView& v, CPoint pt)
    {
        const int nFirstMoved = v.TakeBackRowSteps();
        v.SetCurrentCell(pt.x, pt.y);
        SelectWholeRows(v, pt.y, v.Undo().nPasteCount);
        Refresh(v, std::min(pt.y, nFirstMoved));
    }

    // The rows a paste (or a pick from a list) put in are cut as the cut command cuts them
    // (they go to the copy buffers), but the page alignment after the paste is taken back
    // instead of aligned anew: the rows are exactly those before the paste. The rows taken
    // out stay in the row store for the redo.
    static void TakeOutPastedRows(CMorvelEMView& v, CPoint pt)
    {
        const int nCount = v.Undo().nPasteCount;
        if (nCount <= 0)
            return;
        MORVEL_CHECK(!v.Undo().rowSteps.empty() && v.Undo().rowSteps.front().bInserted &&
                         v.Undo().rowSteps.front().nRow == pt.y && v.Undo().rowSteps.front().nCount == nCount,
                     "a paste's first step puts its rows in");
        v.SetCurrentCell(pt.x, pt.y);
        SelectWholeRows(v, pt.y, nCount);
        v.CopyRowsToBuffer();
        v.m_nSelectMode = selectNone;
        v.m_nPressOrigin = pressNone;
        const int nFirstMoved = v.TakeBackRowSteps();
        Refresh(v, std::min(pt.y, nFirstMoved));
    }

    // Exactly as many rows as the record counts are cut from the row on again.
    static void CutRowsAgain(CMorvelEMView& v, CPoint pt)
    {
        const int nCount = v.Undo().nPasteCount;
        if (nCount <= 0)
            return;
        v.SetCurrentCell(pt.x, pt.y);
        SelectWholeRows(v, pt.y, nCount);
        v.CutRowsToBuffer();
    }

    // The rows the undo took out are pasted above the row again (in their order: they make
    // exactly what the paste made).
    static void PasteRowsAgain(CMorvelEMView& v, CPoint pt)
    {
        // The paste refills the row store: it pastes copies of the rows.
        std::vector<std::unique_ptr<CGridRow>> copies;
        std::vector<const CGridRow*> rows;
        for (INT_PTR i = 0; i < v.Undo().rows.GetSize(); ++i) {
            const CGridRow* pKept = v.Undo().rows.GetRow(i);
            copies.push_back(pKept != nullptr ? std::make_unique<CGridRow>(*pKept)
                                              : std::make_unique<CGridRow>());
            rows.push_back(copies.back().get());
        }
        v.SetCurrentCell(pt.x, pt.y);
        SelectWholeRows(v, pt.y, 1);
        v.PasteRows(rows);
    }

    // ---- Remembering a row

    static void ForgetMarkRow(CMorvelEMView& v, CPoint)
    {
        v.m_nMarkRow = -1;
        v.RefreshMarkRowHeads();
    }

    static void MarkRow(CMorvelEMView& v, CPoint pt)
    {
        v.m_nMarkRow = pt.y;
        v.RefreshMarkRowHeads();
    }

    // ---- Non-calculated marks

    // The kinds the rows had before the command, exactly: rows the command left alone
    // (already marked, or empty) keep their kind.
    static void RestoreRowKinds(CMorvelEMView& v, CPoint pt)
    {
        const int nCount = std::min<int>(pt.x, static_cast<int>(v.Undo().kinds.size()));
        for (int i = 0; i < nCount; ++i) {
            if (v.IsValidRow(pt.y + i) &&
                (v.GetEditRow(pt.y + i) != nullptr || v.Undo().kinds[i] != kindEmpty))
                v.SetRowKind(v.Undo().kinds[static_cast<size_t>(i)], pt.y + i);
        }
        Refresh(v, pt.y);
    }

    // Redo repeats the command, which keeps the kinds it finds for the next undo.
    static void MarkNonCalculated(CMorvelEMView& v, CPoint pt, bool bNonCalculated)
    {
        if (pt.x <= 0)
            return;
        v.SetNonCalculated(bNonCalculated, pt.y, pt.y + pt.x - 1);
    }
    static void SetNonCalcAgain(CMorvelEMView& v, CPoint pt) { MarkNonCalculated(v, pt, true); }
    static void ReleaseNonCalcAgain(CMorvelEMView& v, CPoint pt) { MarkNonCalculated(v, pt, false); }

    // ---- Fixed-rate change

    static void RestoreFixedRateTexts(CMorvelEMView& v, CPoint pt)
    {
        const INT_PTR nTexts = v.Undo().texts.GetWorkingArray().GetSize() - kFixedRateSettings;
        for (INT_PTR i = 0; i < nTexts; ++i) {
            CString strText = UndoText(v.Undo().texts, i);
            if (CNumberRules::IsNumberText(strText))
                strText = CNumberRules::FormatNormal(CNumberRules::ReadNumberText(strText));
            const int nRow = pt.y + static_cast<int>(i);
            v.SetCellText(strText, nRow, pt.x, TRUE);
            v.CalcRow(nRow, 0);
        }
        Refresh(v, pt.y);
    }

    static void ApplyFixedRateAgain(CMorvelEMView& v, CPoint pt)
    {
        const CGridRowArray& texts = v.Undo().texts;
        const INT_PTR nTexts = texts.GetWorkingArray().GetSize() - kFixedRateSettings;
        if (nTexts < 0)
            return;
        const CString strFormula = UndoText(texts, nTexts);
        CRateCondition condition;
        condition.nCol1 = std::atoi(UndoText(texts, nTexts + 1));
        condition.nRelation1 = std::atoi(UndoText(texts, nTexts + 2));
        condition.strValue1 = UndoText(texts, nTexts + 3);
        condition.nCol2 = std::atoi(UndoText(texts, nTexts + 4));
        condition.nRelation2 = std::atoi(UndoText(texts, nTexts + 5));
        condition.strValue2 = UndoText(texts, nTexts + 6);
        condition.nConjunction = std::atoi(UndoText(texts, nTexts + 7));
        // The same column over the same rows as the first time.
        v.m_nSelectMode = selectBlock;
        v.m_rcSelection.SetRect(pt.x, pt.y, pt.x, pt.y + std::max<int>(0, static_cast<int>(nTexts) - 1));
        v.ApplyFixedRateChange(strFormula, condition);
    }

    // ---- Rows cleared and inserted

    static void RestoreClearedRows(CMorvelEMView& v, CPoint pt)
    {
        const INT_PTR nRows = v.Undo().rows.GetWorkingArray().GetSize();
        for (INT_PTR i = 0; i < nRows; ++i)
            RestoreRow(v, i, pt.y + static_cast<int>(i));
        Refresh(v, pt.y);
    }

    static void ClearRowsAgain(CMorvelEMView& v, CPoint pt)
    {
        const int nCount = static_cast<int>(v.Undo().rows.GetWorkingArray().GetSize());
        if (nCount <= 0)
            return;
        SelectWholeRows(v, pt.y, nCount);
        v.OnClearRow();
    }

    static void InsertRowsAgain(CMorvelEMView& v, CPoint pt)
    {
        SelectWholeRows(v, pt.y, pt.x);
        v.OnInsertRow();
    }

    // ---- Cells edited, replaced, cut and pasted

    // The rows the command wrote go back as they were, and the rows as the command left
    // them are kept for the redo.
    static void PutRowsBackAsBefore(CMorvelEMView& v, CPoint)
    {
        const CRowImage& before = v.Undo().rowsBefore;
        v.Undo().rowsAfter = v.TakeRowImage(before.nFirstRow, before.LastRow());
        v.PutRowImageBack(before);
        Refresh(v, before.nFirstRow);
    }

    static void PutRowsBackAsAfter(CMorvelEMView& v, CPoint)
    {
        v.PutRowImageBack(v.Undo().rowsAfter);
        Refresh(v, v.Undo().rowsAfter.nFirstRow);
    }

    // The cut cells' block is current again, its first cell the current cell.
    static void PutBackCutCells(CMorvelEMView& v, CPoint pt)
    {
        PutRowsBackAsBefore(v, pt);
        v.m_nSelectMode = selectNone;
        v.SetCurrentCell(v.Undo().rcCellBlock.left, v.Undo().rcCellBlock.top);
    }

    // ---- The last row each record names

    static int PositionRow(const CMorvelEMView&, CPoint pt) { return pt.y; }
    // The rows from the position on, as many as the action names (at least the one).
    static int RowsFrom(CPoint pt, INT_PTR nCount)
    {
        return pt.y + std::max(1, static_cast<int>(nCount)) - 1;
    }
    // The rows cut or pasted, and every row the steps of the command name (the undo takes
    // them back; a redo cuts or pastes the counted rows again).
    static int LastStepRow(const CMorvelEMView& v, int nLast)
    {
        for (const CUndoRecord::CRowStep& step : v.Undo().rowSteps)
            nLast = std::max(nLast, step.bInserted ? step.nRow + step.nCount - 1 : step.nRow);
        return nLast;
    }
    static int RowSteps(const CMorvelEMView& v, CPoint pt)
    {
        return LastStepRow(v, RowsFrom(pt, v.Undo().nPasteCount));
    }
    static int PositionRowAndSteps(const CMorvelEMView& v, CPoint pt) { return LastStepRow(v, pt.y); }
    static int RowCountInXAndSteps(const CMorvelEMView& v, CPoint pt)
    {
        return LastStepRow(v, RowsFrom(pt, pt.x));
    }
    static int RowCountInX(const CMorvelEMView&, CPoint pt) { return RowsFrom(pt, pt.x); }
    static int KeptRows(const CMorvelEMView& v, CPoint pt)
    {
        return RowsFrom(pt, v.Undo().rows.GetWorkingArray().GetSize());
    }
    static int FixedRateRows(const CMorvelEMView& v, CPoint pt)
    {
        return RowsFrom(pt, v.Undo().texts.GetWorkingArray().GetSize() - kFixedRateSettings);
    }
    // The rows a cell command wrote, and the cell the command had.
    static int KeptRowImage(const CMorvelEMView& v, CPoint pt)
    {
        return std::max(pt.y, v.Undo().rowsBefore.LastRow());
    }
};

const CMorvelEMView::CUndoActions::CEntry* CMorvelEMView::CUndoActions::Find(int nAction)
{
    // clang-format off
    static const CEntry entries[] = {
        // action           undo                        redo                    last row named
        {undoCellEdit,       &PutRowsBackAsBefore,       &PutRowsBackAsAfter,    &KeptRowImage},
        {undoRowInsert,      &TakeBackRowCommand,        &InsertRowAt,           &PositionRowAndSteps},
        {undoRowDelete,      &TakeBackRowCommand,        &DeleteRowAt,           &PositionRowAndSteps},
        {undoRowClear,       &RestoreClearedRow,         &ClearRowAt,            &PositionRow},
        {undoRowsCut,        &PutBackCutRows,            &CutRowsAgain,          &RowSteps},
        {undoRowsPaste,      &TakeOutPastedRows,         &PasteRowsAgain,        &RowSteps},
        {undoRowsPasteCount, &TakeOutPastedRows,         &PasteRowsAgain,        &RowSteps},
        {undoMarkRow,        &ForgetMarkRow,             &MarkRow,               &PositionRow},
        {undoNonCalcSet,     &RestoreRowKinds,           &SetNonCalcAgain,       &RowCountInX},
        {undoNonCalcRelease, &RestoreRowKinds,           &ReleaseNonCalcAgain,   &RowCountInX},
        {undoFixedRate,      &RestoreFixedRateTexts,     &ApplyFixedRateAgain,   &FixedRateRows},
        {undoRowsClear,      &RestoreClearedRows,        &ClearRowsAgain,        &KeptRows},
        {undoRowsInsert,     &TakeBackRowCommand,        &InsertRowsAgain,       &RowCountInXAndSteps},
        {undoCellsCut,       &PutBackCutCells,           &PutRowsBackAsAfter,    &KeptRowImage},
        {undoCellsPaste,     &PutRowsBackAsBefore,       &PutRowsBackAsAfter,    &KeptRowImage},
        {undoSpecialRow,     &DeleteRowAt,               &PutBackKeptRow,        &PositionRow},
    };
    // clang-format on
    for (const CEntry& entry : entries)
        if (entry.nAction == nAction)
            return &entry;
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Commands

void CMorvelEMView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(Undo().nAction >= 0 && m_nSummaryPage == 0 && IsUndoRecordCurrent());
}

void CMorvelEMView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(Undo().nRedoAction >= 0 && m_nSummaryPage == 0 && IsUndoRecordCurrent());
}

void CMorvelEMView::FinishOpenEditForUndo()
{
    // An edit still open is stored first, as the Down and Up keys store it, so that undo
    // takes back the latest action: the edit itself. The cursor stays on its cell.
    if (m_nEditState == editTyping || m_nEditState == editOpened) {
        const CPoint ptCell(m_nCurrentCol, m_nCurrentRow);
        SendKeyUpDown(VK_DOWN);
        SendKeyUpDown(VK_UP);
        if (CPoint(m_nCurrentCol, m_nCurrentRow) != ptCell)
            SetCurrentCell(ptCell.x, ptCell.y);
    }
    HideCellEdit();
}

void CMorvelEMView::OnEditUndo()
{
    if (m_nSummaryPage != 0)
        return;
    FinishOpenEditForUndo();
    const int nAction = Undo().nAction;
    if (nAction < 0 || !IsUndoRecordCurrent())
        return;
    // What the undo changes belongs to the record.
    NoteUndoRecorded();
    // A code nothing records takes only the common steps.
    if (const CUndoActions::CEntry* pEntry = CUndoActions::Find(nAction))
        CUndoActions::Run(*this, pEntry->pfnUndo, Undo().ptPosition);
    Undo().nRedoAction = nAction;
    SetDocumentModified();
    Undo().nAction = undoNone;
    KeepUndoRecordInStep();
}

void CMorvelEMView::OnEditRedo()
{
    if (m_nSummaryPage != 0)
        return;
    FinishOpenEditForUndo();
    const int nAction = Undo().nRedoAction;
    if (nAction < 0 || !IsUndoRecordCurrent())
        return;
    NoteUndoRecorded();
    if (const CUndoActions::CEntry* pEntry = CUndoActions::Find(nAction))
        CUndoActions::Run(*this, pEntry->pfnRedo, Undo().ptPosition);
    SetDocumentModified();
    Undo().nAction = nAction;
    Undo().nRedoAction = undoNone;
    KeepUndoRecordInStep();
}

int CMorvelEMView::UndoRecordLastRow() const
{
    const int nAction = Undo().nAction >= 0 ? Undo().nAction : Undo().nRedoAction;
    const CUndoActions::CEntry* pEntry = CUndoActions::Find(nAction);
    return pEntry != nullptr ? pEntry->pfnLastRow(*this, Undo().ptPosition) : Undo().ptPosition.y;
}
