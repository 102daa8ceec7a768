// The estimate's own clipboard: whole rows and blocks of cells copied, cut and pasted through
// the copy buffers (CEstimateCopyBuffers), and the redo of those row commands that an undo
// step runs with the buffers it is given.
#include "engine/estimate/CEstimateCopyBuffers.h"
#include "engine/estimate/CEstimateModel.h"
#include "engine/estimate/PageAlignment.h"
#include "engine/estimate/UndoCommands.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace {

using CCells = CEstimateCopyBuffers::CCells;

// The source block of a cell paste: its size (the number of distinct row and column
// offsets: a block copied beyond the used rows may have fewer rows than its corners say)
// and its texts by offset, row-major (null where the buffer holds no cell).
struct CPasteSource {
    int nHeight = 0;
    int nWidth = 0;
    std::vector<const CString*> texts;
};

CPasteSource MeasurePasteSource(const CCells& source)
{
    CPasteSource block;
    std::vector<int> rowOffsets, colOffsets;
    for (size_t i = 2; i < source.size(); ++i) {
        const CPoint pt = source[i].pt;
        if (std::find(rowOffsets.begin(), rowOffsets.end(), pt.y) == rowOffsets.end())
            rowOffsets.push_back(pt.y);
        if (std::find(colOffsets.begin(), colOffsets.end(), pt.x) == colOffsets.end())
            colOffsets.push_back(pt.x);
    }
    block.nHeight = static_cast<int>(rowOffsets.size());
    block.nWidth = static_cast<int>(colOffsets.size());
    block.texts.assign(static_cast<size_t>(block.nHeight) * block.nWidth, nullptr);
    for (size_t i = 2; i < source.size(); ++i) {
        const CBufferCell& cell = source[i];
        if (cell.pt.y >= 0 && cell.pt.y < block.nHeight && cell.pt.x >= 0 && cell.pt.x < block.nWidth)
            block.texts[static_cast<size_t>(cell.pt.y) * block.nWidth + cell.pt.x] = &cell.strText;
    }
    return block;
}

// The cells a paste over a selection writes: whole rows take every column; a whole column
// takes its used rows, or the block's rows once where they are more (no empty row is added
// after them); all within the grid.
CRect BlockPasteRect(const CEstimateModel::CCellPasteTarget& target, int nBlockHeight, int nUsedRows,
                     int nRowLimit, int nColumns)
{
    using EOver = CEstimateModel::CCellPasteTarget::EOver;
    CRect rc = target.rcBlock;
    if (target.eOver == EOver::rows) {
        rc.left = 0;
        rc.right = nColumns - 1;
    } else if (target.eOver == EOver::column) {
        rc.bottom = std::max<LONG>(nUsedRows - 1, rc.top + nBlockHeight - 1);
    }
    rc.bottom = std::min<LONG>(rc.bottom, nRowLimit - 1);
    rc.right = std::min<LONG>(rc.right, nColumns - 1);
    return rc;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Cells

void CEstimateModel::CopyRow(const CGridRow* pSource, CGridRow* pTarget) const
{
    if (pTarget == nullptr)
        return;
    const int nColumns = m_engine.Columns().GetLimit();
    if (pSource == nullptr) {
        pTarget->SetKind(kindEmpty);
        pTarget->SetParam1(0);
        pTarget->SetParam2(0);
        pTarget->SetParam3(0);
        pTarget->SetParamText1(CString());
        pTarget->SetParamText2(CString());
        for (int c = 0; c < nColumns; ++c) {
            pTarget->EmptyCell(c);
            pTarget->SetIndent(c, 0);
        }
        return;
    }
    pTarget->SetKind(pSource->GetKind());
    pTarget->SetParam1(pSource->GetParam1());
    pTarget->SetParam2(pSource->GetParam2());
    pTarget->SetParam3(pSource->GetParam3());
    pTarget->SetParamText1(pSource->GetParamText1());
    pTarget->SetParamText2(pSource->GetParamText2());
    for (int c = 0; c < nColumns; ++c) {
        pTarget->SetCell(c, pSource->m_strCell[c]);
        pTarget->SetIndent(c, pSource->m_nIndent[c]);
    }
}

void CEstimateModel::CopyCells(CEstimateCopyBuffers& buffers, const CRect& rcBlock) const
{
    CRect rc = rcBlock;
    rc.bottom = std::min<LONG>(rc.bottom, m_nRowLimit - 1);
    rc.right = std::min<LONG>(rc.right, m_engine.Columns().GetLimit() - 1);
    CCells& buffer = buffers.Cells();
    // The entries of the last copy are used again (a large copy after a large copy makes
    // and frees no texts); the ones left over go.
    size_t nItem = 0;
    auto put = [&](CPoint pt, const CString& strText) {
        if (nItem < buffer.size())
            buffer[nItem] = {pt, strText};
        else
            buffer.push_back({pt, strText});
        ++nItem;
    };
    static const CString s_empty;
    put(CPoint(rc.left, rc.top), s_empty);
    put(CPoint(rc.right, rc.bottom), s_empty);
    for (int r = rc.top; r <= rc.bottom && r < m_nUsedRows; ++r) {
        for (int c = rc.left; c <= rc.right; ++c)
            put(CPoint(c - rc.left, r - rc.top),
                m_engine.IsValidRow(r) && m_engine.IsValidColumn(c) ? m_engine.EditCell(r, c) : s_empty);
    }
    buffer.erase(buffer.begin() + static_cast<std::ptrdiff_t>(nItem), buffer.end());
}

CEstimateModel::CWrittenRows CEstimateModel::CutCells(CEstimateCopyBuffers& buffers, const CRect& rcBlock,
                                                      CPoint ptCurrent)
{
    CopyCells(buffers, rcBlock);
    const CCells& buffer = buffers.Cells();
    const CPoint ptFirst = buffer[0].pt;
    int nLargestRow = ptFirst.y;
    for (size_t i = 2; i < buffer.size(); ++i)
        nLargestRow = std::max<int>(nLargestRow, ptFirst.y + buffer[i].pt.y);
    CRowImage before = CRowImage::Take(m_editRows, ptFirst.y, nLargestRow, m_nUsedRows, m_nRowLimit);
    CRowImage every = TakeEveryRow();
    for (size_t i = 2; i < buffer.size(); ++i) {
        const int nRow = ptFirst.y + buffer[i].pt.y, nCol = ptFirst.x + buffer[i].pt.x;
        m_engine.SetCellText("", nRow, nCol, true);
        m_engine.CalcRow(nRow, nCol);
    }
    RecordCellsWritten(CCellsCommand::Cut(ptCurrent.x, ptCurrent.y, ptFirst.x, ptFirst.y, std::move(before)),
                       std::move(every));
    return {ptFirst.y, nLargestRow};
}

int CEstimateModel::LastCellPasteRow(const CEstimateCopyBuffers& buffers,
                                     const CCellPasteTarget& target) const
{
    const CCells& source = buffers.Cells();
    if (source.size() < 2)
        return -1;
    if (target.eOver == CCellPasteTarget::EOver::cell) {
        // Cells pasted past the last row make rows.
        int nLast = -1;
        for (size_t i = 2; i < source.size(); ++i) {
            const int nRow = target.ptCell.y + source[i].pt.y;
            if (nRow < m_nRowLimit)
                nLast = std::max(nLast, nRow);
        }
        return nLast;
    }
    // Every target row is written.
    const CPasteSource block = MeasurePasteSource(source);
    if (block.nHeight == 0 || block.nWidth == 0)
        return -1;
    return BlockPasteRect(target, block.nHeight, m_nUsedRows, m_nRowLimit, m_engine.Columns().GetLimit())
        .bottom;
}

bool CEstimateModel::WritePastedCell(int nRow, int nCol, const CString& strText)
{
    if (nRow < 0 || nRow >= m_nRowLimit || nCol < 0 || nCol >= m_engine.Columns().GetLimit())
        return false;
    m_engine.SetCellText(strText, nRow, nCol, true);
    // Text pasted into an empty row makes it a detail row.
    if (RowKind(EPage::edit, nRow) == kindEmpty)
        m_engine.SetRowKind(kindDetail, nRow);
    m_engine.CalcRow(nRow, nCol);
    return true;
}

CEstimateModel::CWrittenRows CEstimateModel::PasteCells(CEstimateCopyBuffers& buffers,
                                                        const CCellPasteTarget& target)
{
    const CCells& source = buffers.Cells();
    CCells& undo = buffers.UndoCells();
    if (source.size() < 2)
        return {};
    CWrittenRows written;
    CRowImage before;
    CRowImage every = TakeEveryRow();
    if (target.eOver == CCellPasteTarget::EOver::cell) {
        const CPoint ptAt = target.ptCell;
        int nFirstTarget = INT_MAX, nLastTarget = -1;
        for (size_t i = 2; i < source.size(); ++i) {
            const int nRow = ptAt.y + source[i].pt.y;
            if (nRow < m_nRowLimit) {
                nFirstTarget = std::min(nFirstTarget, nRow);
                nLastTarget = std::max(nLastTarget, nRow);
            }
        }
        before = CRowImage::Take(m_editRows, nFirstTarget, nLastTarget, m_nUsedRows, m_nRowLimit);
        // The overwritten cells keep the buffer's offsets from the current cell; (-1, -1) as
        // the second corner says that the paste was made at a cell.
        undo.clear();
        undo.push_back({ptAt, CString()});
        undo.push_back({CPoint(-1, -1), CString()});
        for (size_t i = 2; i < source.size(); ++i) {
            const CPoint pt = source[i].pt;
            undo.push_back({pt, CellText(EPage::edit, ptAt.y + pt.y, ptAt.x + pt.x)});
        }
        for (size_t i = 2; i < source.size(); ++i) {
            const int nRow = ptAt.y + source[i].pt.y;
            if (!WritePastedCell(nRow, ptAt.x + source[i].pt.x, source[i].strText))
                continue;
            written.nFirst = written.nFirst < 0 ? nRow : std::min(written.nFirst, nRow);
            written.nLast = std::max(written.nLast, nRow);
        }
        if (written.nFirst < 0)
            return {};
    } else {
        const CPasteSource block = MeasurePasteSource(source);
        if (block.nHeight == 0 || block.nWidth == 0)
            return {}; // a block with no items has nothing to repeat over the target
        const CRect rc =
            BlockPasteRect(target, block.nHeight, m_nUsedRows, m_nRowLimit, m_engine.Columns().GetLimit());
        before = CRowImage::Take(m_editRows, rc.top, rc.bottom, m_nUsedRows, m_nRowLimit);
        undo.clear();
        undo.push_back({CPoint(rc.left, rc.top), CString()});
        undo.push_back({CPoint(rc.right, rc.bottom), CString()});
        for (int r = rc.top; r <= rc.bottom; ++r)
            for (int c = rc.left; c <= rc.right; ++c)
                undo.push_back({CPoint(c - rc.left, r - rc.top), CellText(EPage::edit, r, c)});
        // A smaller source is repeated over the target in both directions.
        for (int r = rc.top; r <= rc.bottom; ++r) {
            for (int c = rc.left; c <= rc.right; ++c) {
                const CString* pText =
                    block.texts[static_cast<size_t>((r - rc.top) % block.nHeight) * block.nWidth +
                                (c - rc.left) % block.nWidth];
                WritePastedCell(r, c, pText != nullptr ? *pText : CString());
            }
        }
        written = {static_cast<int>(rc.top), static_cast<int>(rc.bottom)};
    }
    // The rows written stay with this estimate's undo: a paste in another estimate window
    // refills the shared undo buffer.
    RecordCellsWritten(CCellsCommand::Paste(target.ptCell.x, target.ptCell.y, std::move(before)), std::move(every));
    return written;
}

CEstimateModel::CWrittenRows CEstimateModel::PasteUndoCells(const CEstimateCopyBuffers& buffers,
                                                            CPoint ptCurrent)
{
    const CCells& cells = buffers.UndoCells();
    if (cells.size() < 2)
        return {};
    const int nColumns = m_engine.Columns().GetLimit();
    const CPoint ptFirst = cells[0].pt;
    const auto isWritten = [&](int nRow, int nCol) {
        return nRow >= 0 && nRow < m_nRowLimit && nCol >= 0 && nCol < nColumns;
    };
    int nFirst = INT_MAX, nLast = -1;
    for (size_t i = 2; i < cells.size(); ++i) {
        const int nRow = ptFirst.y + cells[i].pt.y;
        if (isWritten(nRow, ptFirst.x + cells[i].pt.x)) {
            nFirst = std::min(nFirst, nRow);
            nLast = std::max(nLast, nRow);
        }
    }
    CRowImage before = CRowImage::Take(m_editRows, nFirst, nLast, m_nUsedRows, m_nRowLimit);
    CRowImage every = TakeEveryRow();
    std::vector<int> rows;
    for (size_t i = 2; i < cells.size(); ++i) {
        const int nRow = ptFirst.y + cells[i].pt.y, nCol = ptFirst.x + cells[i].pt.x;
        if (!isWritten(nRow, nCol))
            continue;
        m_engine.SetCellText(cells[i].strText, nRow, nCol, true);
        ReachRow(nRow);
        rows.push_back(nRow);
    }
    if (rows.empty())
        return {};
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int nRow : rows)
        m_engine.CalcRow(nRow, 0);
    RecordCellsWritten(CCellsCommand::Paste(ptCurrent.x, ptCurrent.y, std::move(before)), std::move(every));
    return {rows.front(), rows.back()};
}

// ---------------------------------------------------------------------------------------
// Rows

void CEstimateModel::CopyRows(CEstimateCopyBuffers& buffers, int nFirstRow, int nLastRow) const
{
    const int nColumns = m_engine.Columns().GetLimit();
    CopyCells(buffers, CRect(0, nFirstRow, nColumns - 1, nLastRow));
    CEstimateCopyBuffers::CRows& copies = buffers.Rows();
    // As for the cells: the row objects of the last copy take the new rows.
    size_t nItem = 0;
    for (int r = nFirstRow; r <= nLastRow && r < m_nUsedRows; ++r, ++nItem) {
        if (nItem >= copies.size())
            copies.push_back(std::make_unique<CGridRow>());
        CGridRow* pCopy = copies[nItem].get();
        // A reused row keeps nothing of its last contents: CopyRow sets every field the
        // form's columns use, and the columns beyond them are emptied.
        CopyRow(Row(EPage::edit, r), pCopy);
        for (int c = nColumns; c < CGridRow::MAX_CELLS; ++c) {
            pCopy->EmptyCell(c);
            pCopy->SetIndent(c, 0);
        }
    }
    copies.erase(copies.begin() + static_cast<std::ptrdiff_t>(nItem), copies.end());
}

CEstimateModel::CRowsCut CEstimateModel::CutRows(CEstimateCopyBuffers& buffers, int nFirstRow, int nLastRow,
                                                 const CPageRule& rule)
{
    const int nHeading = FirstAlignedHeading(nFirstRow, rule);
    CopyRows(buffers, nFirstRow, nLastRow);
    const int n = static_cast<int>(buffers.Rows().size());
    CRowSteps steps;
    // The cut rows stay with this estimate's undo, whatever is copied meanwhile: the row
    // objects themselves move there (the copy buffer holds copies of them), and so do the
    // empty rows the page alignment takes away.
    BeginRowSteps(steps);
    TakeRowsOut(nFirstRow, n, nullptr);
    if (const int nMoved = PageAlignment::HeadingAfterCut(nHeading, nFirstRow, n); nMoved >= 0)
        AlignRowToPage(nMoved, rule);
    // The headings after the cut start their pages again.
    const int nAligned = AlignHeadings(nHeading, rule);
    EndRowSteps();
    m_undo.Record(std::make_unique<CRowsCutCommand>(nFirstRow, n, std::move(steps)));
    return {nFirstRow, n, nAligned >= 0 ? std::min(nAligned, nFirstRow) : nFirstRow};
}

int CEstimateModel::PasteRows(const CEstimateCopyBuffers& buffers, int nCol, int nRow, int nSelected,
                              const CPageRule& rule)
{
    std::vector<const CGridRow*> rows;
    for (const std::unique_ptr<CGridRow>& pRow : buffers.Rows())
        rows.push_back(pRow.get());
    return PasteRowsFrom(rows, nCol, nRow, nSelected, false, rule);
}

int CEstimateModel::PasteRowsFrom(const std::vector<const CGridRow*>& rows, int nCol, int nRow, int nSelected,
                                  bool bCounted, const CPageRule& rule)
{
    const int c = static_cast<int>(rows.size());
    if (c == 0)
        return 0;
    const int k = nSelected;
    const int nHeading = FirstAlignedHeading(nRow, rule);
    auto source = [&](int i) { return rows[static_cast<size_t>(i)]; };
    // The undo takes out exactly the rows the paste puts in, the page alignment's included.
    CRowSteps steps;
    BeginRowSteps(steps);
    if (k < 2) {
        // The rows stand above the current row in the buffer's order.
        PutRowsIn(nRow, c, nullptr);
        for (int i = 0; i < c; ++i)
            CopyRow(source(i), m_engine.MakeRow(nRow + i));
        if (nHeading > 0)
            AlignRowToPage(nHeading + c, rule);
    } else {
        // As many rows as selected, each inserted above the ones before it: the last one
        // (buffer row (k - 1) mod c) stands first.
        PutRowsIn(nRow, k, nullptr);
        for (int j = 0; j < k; ++j)
            CopyRow(source((k - 1 - j) % c), m_engine.MakeRow(nRow + j));
        if (nHeading > 0)
            AlignRowToPage(nHeading + std::max(c, k), rule);
    }
    EndRowSteps();
    const int nPasted = k < 2 ? c : k;
    m_undo.Record(
        std::make_unique<CRowsPasteCommand>(nCol, nRow, nPasted, bCounted || k >= 2, std::move(steps)));
    return nPasted;
}

// ---------------------------------------------------------------------------------------
// The row commands an undo step runs again

CUndoOutcome CEstimateModel::CutRowsAt(int nCol, int nFirstRow, int nCount)
{
    // As the user's cut of the rows selected whole, the cell at nCol, nFirstRow current.
    CUndoOutcome outcome;
    outcome.eCell = CUndoOutcome::ECell::moved;
    outcome.nCol = nCol;
    outcome.nRow = nFirstRow;
    if (m_pStepBuffers == nullptr) {
        // Nothing to cut into: the rows stay selected.
        outcome.eSelection = CUndoOutcome::ESelection::rows;
        outcome.nFirstSelected = nFirstRow;
        outcome.nSelectedCount = std::max(1, nCount);
        return outcome;
    }
    const CRowsCut cut = CutRows(*m_pStepBuffers, nFirstRow, nFirstRow + std::max(1, nCount) - 1, m_stepRule);
    outcome.eSelection = CUndoOutcome::ESelection::none;
    outcome.nChangedFrom = cut.nChangedFrom;
    outcome.nTotalsFrom = nFirstRow;
    outcome.nShownRow = nFirstRow;
    return outcome;
}

CUndoOutcome CEstimateModel::CopyRowsAt(int nCol, int nFirstRow, int nCount)
{
    if (m_pStepBuffers != nullptr)
        CopyRows(*m_pStepBuffers, nFirstRow, nFirstRow + std::max(1, nCount) - 1);
    CUndoOutcome outcome;
    outcome.eCell = CUndoOutcome::ECell::moved;
    outcome.nCol = nCol;
    outcome.nRow = nFirstRow;
    outcome.eSelection = CUndoOutcome::ESelection::none;
    return outcome;
}

CUndoOutcome CEstimateModel::PasteRowsAt(int nCol, int nRow, const std::vector<const CGridRow*>& rows,
                                         bool bCounted)
{
    // As the user's paste with the row at nRow selected, which stays selected.
    CUndoOutcome outcome;
    outcome.eCell = CUndoOutcome::ECell::moved;
    outcome.nCol = nCol;
    outcome.nRow = nRow;
    outcome.eSelection = CUndoOutcome::ESelection::rows;
    outcome.nFirstSelected = nRow;
    outcome.nSelectedCount = 1;
    if (PasteRowsFrom(rows, nCol, nRow, 1, bCounted, m_stepRule) > 0) {
        outcome.nChangedFrom = nRow;
        outcome.bBulkChange = true;
    }
    return outcome;
}

CUndoOutcome CEstimateModel::RunUndoStep(bool bRedo, const CPageRule& rule, CEstimateCopyBuffers* pBuffers)
{
    m_stepRule = rule;
    m_pStepBuffers = pBuffers;
    // Figures kept for an earlier record are no longer those of the rows.
    if (m_nFiguresRecord != m_undo.GetRecordCount())
        ForgetUndoFigures();
    const bool bActs = bRedo ? m_undo.CanRedo() : m_undo.CanUndo();
    // The figures the recalculations after the command wrote are taken back before the
    // command, and written again after it is done again.
    m_bInUndoStep = true;
    int nFirstFigure = bActs && !bRedo ? ExchangeUndoFigures() : INT_MAX;
    CUndoOutcome outcome = bRedo ? m_undo.Redo(*this) : m_undo.Undo(*this);
    if (bActs && bRedo)
        nFirstFigure = ExchangeUndoFigures();
    m_bInUndoStep = false;
    // They stay with the command, whichever the store now holds for it.
    m_nFiguresRecord = m_undo.GetRecordCount();
    if (nFirstFigure != INT_MAX)
        outcome.nChangedFrom =
            outcome.nChangedFrom < 0 ? nFirstFigure : std::min(outcome.nChangedFrom, nFirstFigure);
    m_pStepBuffers = nullptr;
    return outcome;
}

bool CEstimateModel::KeepsFiguresForUndo()
{
    // An undo step exchanges them: nothing it works out is kept.
    if (m_bInUndoStep)
        return false;
    // A rows command still open (a subject's drag) records itself when it ends, whatever
    // the record is meanwhile.
    if (m_nRowsCommandDepth > 0)
        return true;
    if (m_nFiguresRecord != m_undo.GetRecordCount()) {
        // The record before keeps its figures aside while the store may give it back.
        m_replacedFigures.emplace(CReplacedFigures{std::move(m_undoFigures), m_nFiguresRecord, m_nKeepFiguresFrom});
        ForgetUndoFigures();
        m_nFiguresRecord = m_undo.GetRecordCount();
    }
    return m_undo.CanUndo();
}

void CEstimateModel::RecordCellsWritten(std::unique_ptr<CUndoCommand> pCommand, CRowImage&& every)
{
    // The totals written after the cells may give back what they changed (a figure pasted
    // onto a total row): every row tells whether the command changed anything.
    pCommand->KeepEveryRowBefore(std::move(every));
    m_undo.Record(std::move(pCommand));
}

bool CEstimateModel::TakeBackUnchangedRecord()
{
    // Only a record that kept every used row can tell that the estimate stands as it found
    // it: what followed the command may have rewritten rows a record of some rows does not
    // hold (a total's stale figure worked out).
    const CUndoCommand* pRecord = m_undo.GetUndoCommand();
    const CRowImage* pBefore = pRecord != nullptr ? pRecord->ComparedRows() : nullptr;
    if (pBefore == nullptr || pBefore->FirstRow() > 0 || pBefore->LastRow() < pBefore->UsedRows() - 1)
        return false;
    const unsigned long long nTakenBack = m_undo.GetRecordCount();
    if (!m_undo.TakeBackUnchanged())
        return false;
    // The figures kept since go with the record; the record before has its own again.
    if (m_nFiguresRecord == nTakenBack) {
        ForgetUndoFigures();
        if (m_replacedFigures && m_replacedFigures->nRecord == m_undo.GetRecordCount()) {
            m_undoFigures = std::move(m_replacedFigures->rows);
            m_nKeepFiguresFrom = m_replacedFigures->nKeepFrom;
            m_engine.KeepRowsBeforeWrites(m_nKeepFiguresFrom);
        }
        m_nFiguresRecord = m_undo.GetRecordCount();
    }
    m_replacedFigures.reset();
    return true;
}

void CEstimateModel::ForgetUndoFigures()
{
    m_undoFigures.clear();
    m_nKeepFiguresFrom = INT_MAX;
    m_engine.KeepRowsBeforeWrites(INT_MAX);
}

void CEstimateModel::KeepFigureRow(int nRow)
{
    // The first one kept is the row as the command left it.
    const auto [it, bNew] = m_undoFigures.try_emplace(nRow);
    if (bNew) {
        if (const CGridRow* pRow = m_editRows.GetRow(nRow))
            it->second = std::make_unique<CGridRow>(*pRow);
    }
}

void CEstimateModel::RowToBeRewritten(int nRow)
{
    // A row from the one kept rows start at is kept before its first change, if it changes.
    if (KeepsFiguresForUndo() && nRow < m_nKeepFiguresFrom)
        KeepFigureRow(nRow);
}

void CEstimateModel::RowToBeWritten(int nRow)
{
    // The record may have changed since the rows were to be kept (it forgets them then).
    if (KeepsFiguresForUndo() && nRow >= m_nKeepFiguresFrom)
        KeepFigureRow(nRow);
}

void CEstimateModel::KeepFiguresForUndo(int nFromRow)
{
    if (!KeepsFiguresForUndo())
        return;
    // An open rows command moves the rows kept for it: they are kept at once, where they
    // stand now.
    if (m_nRowsCommandDepth > 0) {
        for (int r = std::max(0, nFromRow); r < m_nUsedRows; ++r)
            KeepFigureRow(r);
        return;
    }
    // Otherwise each row is kept as it stands before its first change: what the rows hold
    // until then is what they hold now.
    m_nKeepFiguresFrom = std::min(m_nKeepFiguresFrom, std::max(0, nFromRow));
    m_engine.KeepRowsBeforeWrites(m_nKeepFiguresFrom);
}

void CEstimateModel::MoveUndoFigures(int nRow, int nMoved)
{
    // Only a rows command still open moves rows after figures were kept for it (a subject's
    // drop worked out before the drag takes the subject out); an undo step moves them back
    // to where they were kept.
    if (m_nRowsCommandDepth == 0 || m_undoFigures.empty())
        return;
    std::map<int, std::unique_ptr<CGridRow>> moved;
    for (auto& [r, pKept] : m_undoFigures) {
        if (r < nRow) {
            moved.emplace(r, std::move(pKept));
        } else if (nMoved > 0 || r >= nRow - nMoved) {
            moved.emplace(r + nMoved, std::move(pKept));
        } else if (CGridRow* pRow = m_editRows.GetRow(r)) {
            // A row taken out leaves as it was before the figures were written: the command's
            // undo puts it back so.
            *pRow = pKept != nullptr ? *pKept : CGridRow();
        }
    }
    m_undoFigures.swap(moved);
}

int CEstimateModel::ExchangeUndoFigures()
{
    for (auto& [nRow, pKept] : m_undoFigures) {
        const CGridRow* pRow = m_editRows.GetRow(nRow);
        std::unique_ptr<CGridRow> pNow = pRow != nullptr ? std::make_unique<CGridRow>(*pRow) : nullptr;
        if (pKept != nullptr)
            *m_engine.MakeRow(nRow) = *pKept;
        else
            DropRow(nRow);
        pKept = std::move(pNow);
    }
    return m_undoFigures.empty() ? INT_MAX : m_undoFigures.begin()->first;
}
