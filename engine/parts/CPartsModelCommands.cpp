// The computations of the parts list's editing commands. Each works on the rows alone and
// returns the undo command that takes it back (null when it changed nothing); the grid
// works out the block from the selection, asks the user what only a window can ask, and
// records the command.
#include "engine/parts/CPartsModel.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/CRowSort.h"

#include <algorithm>
#include <climits>

std::unique_ptr<CPartsRowsWritten> CPartsModel::Written(EAction eAction, CRowImage&& before) const
{
    if (before.IsEmpty())
        return nullptr;
    auto pCommand = std::make_unique<CPartsRowsWritten>(eAction, std::move(before));
    if (pCommand->ChangedNothing(*this))
        return nullptr;
    return pCommand;
}

CPartsModel::CommandPtr CPartsModel::StoreTypedText(int nRow, int nCol, const CString& strText,
                                                    int nRowsBeforeEdit)
{
    // The whole row is kept (its formulas change with the cell), with the rows in use from
    // before the edit began.
    const int nRowsBefore = std::min(m_nRowsInUse, nRowsBeforeEdit >= 0 ? nRowsBeforeEdit : INT_MAX);
    CRowImage before =
        CRowImage::Take([this](int r) { return GetRow(r); }, nRow, nRow, nRowsBefore, m_nRowLimit);
    CString strNormal;
    NormalizeNumberText(nCol, strNormal, strText);
    SetCellText(strNormal, nRow, nCol);
    if (IsNumericColumn(nCol)) {
        StoreInputKept(nRow, nCol);
        CalcWrittenRow(nRow, before, CRowFormula::partsTypedRules);
    } else {
        // A formula may read a text column that holds a number: the row is worked out as a
        // recalculation of every row would work it out.
        CalcWrittenRow(nRow, before, CRowFormula::partsRowRules);
    }
    return Written(CPartsUndoCommand::undoRowsWritten, std::move(before));
}

void CPartsModel::StoreInputKept(int nRow, int nCol)
{
    // As the estimate keeps input: a number typed in full-width characters in ASCII, rounded
    // by the column's rule.
    const CString strKept = CNumberRules::InputTextKept(
        GetCellText(nRow, nCol),
        CNumberRules::ParseRoundSpec(GetColumnText(nCol, IColumnTexts::textRounding)));
    if (strKept != GetCellText(nRow, nCol))
        SetCellText(strKept, nRow, nCol);
}

CPartsModel::CommandPtr CPartsModel::StoreCellText(int nRow, int nCol, const CString& strText)
{
    CRowImage before = TakeImage(nRow, nRow);
    SetCellText(strText, nRow, nCol);
    CalcWrittenRow(nRow, before, CRowFormula::partsRowRules);
    return Written(CPartsUndoCommand::undoRowsWritten, std::move(before));
}

CPartsModel::CommandPtr CPartsModel::StoreNumber(int nRow, int nCol, double value)
{
    if (!IsNumericColumn(nCol))
        return nullptr;
    return StoreCellText(nRow, nCol, CNumberRules::FormatNormal(value));
}

bool CPartsModel::CopyBlock(CRect rcBlock, CPMObjList& records) const
{
    records.DeleteAll();
    if (rcBlock.top > m_nRowsInUse)
        return false;
    if (rcBlock.bottom > m_nRowsInUse)
        rcBlock.bottom = m_nRowsInUse - 1;
    rcBlock.left = std::clamp<LONG>(rcBlock.left, 0, CPMObj::MAX_COLUMNS - 1);
    rcBlock.right = std::clamp<LONG>(rcBlock.right, rcBlock.left, CPMObj::MAX_COLUMNS - 1);
    for (int r = std::max<int>(0, rcBlock.top); r <= rcBlock.bottom; ++r) {
        auto* pObj = new CPMObj;
        pObj->m_nRow = r;
        pObj->m_nLastRow = rcBlock.bottom;
        pObj->m_nFirstCol = rcBlock.left;
        pObj->m_nLastCol = rcBlock.right;
        for (int c = rcBlock.left; c <= rcBlock.right; ++c)
            pObj->m_strCell[c] = GetCellText(r, c);
        records.AddTail(pObj);
    }
    return !records.IsEmpty();
}

CPartsModel::CommandPtr CPartsModel::CutCells(const CRect& rcBlock, const CPMObjList& clipboard)
{
    const int nTop = std::max<int>(0, rcBlock.top);
    const int nBottom = rcBlock.bottom;
    if (nTop > nBottom)
        return nullptr;
    CRowImage before = TakeImage(nTop, nBottom);
    for (int r = nTop; r <= nBottom; ++r) {
        for (int c = rcBlock.left; c <= rcBlock.right; ++c)
            SetCellText(CString(), r, c);
    }
    // A cleared formula cell takes its formula's figure again, as every row's would; a
    // figure worked out from a number cut goes with it.
    {
        const auto rules = KeepColumnRules();
        for (int r = nTop; r <= nBottom; ++r)
            CalcWrittenRow(r, before, CRowFormula::partsRowRules);
    }
    auto pCommand = Written(CPartsUndoCommand::undoCutCells, std::move(before));
    if (pCommand != nullptr)
        pCommand->KeepForClipboard(clipboard);
    return pCommand;
}

CPartsModel::CommandPtr CPartsModel::CutRows(int nTop, int nBottom, int nCol, const CPMObjList& clipboard)
{
    std::unique_ptr<CPartsRowsSplice> pCommand = TakeOut(CPartsUndoCommand::undoCutRows, nTop, nBottom);
    if (pCommand != nullptr)
        pCommand->KeepCut(nCol, clipboard);
    return pCommand;
}

CPartsModel::CommandPtr CPartsModel::DeleteRows(int nTop, int nBottom)
{
    return TakeOut(CPartsUndoCommand::undoRowDelete, nTop, nBottom);
}

std::unique_ptr<CPartsRowsSplice> CPartsModel::TakeOut(EAction eAction, int nTop, int nBottom)
{
    nTop = std::max(0, nTop);
    if (nTop >= m_nRowLimit || nBottom < nTop)
        return nullptr;
    const int nRowsBefore = m_nRowsInUse;
    std::vector<std::unique_ptr<CGridRow>> removed = TakeRowsOut(nTop, nBottom - nTop + 1);
    if (removed.empty())
        return nullptr;
    m_nRowsInUse = std::max(0, m_nRowsInUse - static_cast<int>(removed.size()));
    CountsChanged();
    return std::make_unique<CPartsRowsSplice>(eAction, nTop, std::move(removed), 0, nRowsBefore,
                                              m_nRowsInUse);
}

CPartsModel::CommandPtr CPartsModel::InsertRows(int nRow, int nCount)
{
    if (nRow < 0 || nRow >= m_nRowLimit || nCount <= 0)
        return nullptr;
    const int nRowsBefore = m_nRowsInUse;
    InsertEmptyRows(nRow, nCount);
    CalcRows(nRow, nRow + nCount - 1);
    return std::make_unique<CPartsRowsSplice>(CPartsUndoCommand::undoRowInsert, nRow,
                                              std::vector<std::unique_ptr<CGridRow>>(), nCount, nRowsBefore,
                                              m_nRowsInUse);
}

CPartsModel::CommandPtr CPartsModel::InsertReadRows(int nRow, const std::vector<std::vector<CString>>& rows,
                                                    const std::vector<int>& mapping)
{
    if (rows.empty() || nRow < 0 || nRow >= m_nRowLimit)
        return nullptr;
    const int nRowsBefore = m_nRowsInUse;
    const int nCount = static_cast<int>(rows.size());
    InsertEmptyRows(nRow, nCount);
    const int nColumns = std::min(static_cast<int>(mapping.size()), m_nColumnCount);
    const auto rules = KeepColumnRules();
    for (int i = 0; i < nCount; ++i) {
        const int r = nRow + i;
        const std::vector<CString>& texts = rows[static_cast<size_t>(i)];
        for (int c = 0; c < nColumns; ++c) {
            const int k = mapping[static_cast<size_t>(c)];
            if (k >= 0 && k < static_cast<int>(texts.size()))
                SetCellText(texts[static_cast<size_t>(k)], r, c);
        }
        CalcRow(r, 0);
    }
    return std::make_unique<CPartsRowsSplice>(CPartsUndoCommand::undoRowsRead, nRow,
                                              std::vector<std::unique_ptr<CGridRow>>(), nCount, nRowsBefore,
                                              m_nRowsInUse);
}

CPartsModel::CommandPtr CPartsModel::ClearRows(int nTop, int nBottom)
{
    nTop = std::max(0, nTop);
    // Rows past the last one are empty already: clearing them (the whole grid selected)
    // would only add empty rows to the list.
    nBottom = std::min(nBottom, m_nRowsInUse - 1);
    if (nTop > nBottom)
        return nullptr;
    CRowImage before = TakeImage(nTop, nBottom);
    for (int r = nTop; r <= nBottom; ++r) {
        for (int c = 0; c < m_nColumnCount; ++c)
            SetCellText(CString(), r, c);
    }
    CalcRows(nTop, nBottom);
    return Written(CPartsUndoCommand::undoRowsWritten, std::move(before));
}

CRect CPartsModel::TiledPasteBlock(CRect rcSelection, int nRecords, bool bColumn) const
{
    const bool bWholeList = bColumn || rcSelection.bottom >= m_nRowLimit - 1;
    rcSelection.bottom = std::min<LONG>(rcSelection.bottom, m_nRowLimit - 1);
    if (bWholeList)
        rcSelection.bottom =
            std::min<LONG>(rcSelection.bottom, std::max(m_nRowsInUse - 1, rcSelection.top + nRecords - 1));
    return rcSelection;
}

CPartsModel::CommandPtr CPartsModel::PasteTiled(const CRect& rcTarget, const CPMObjList& records,
                                                EAction eAction)
{
    if (records.IsEmpty() || rcTarget.top > rcTarget.bottom)
        return nullptr;
    CRowImage before = TakeImage(rcTarget.top, rcTarget.bottom);
    const CPMObj* pFirst = records.GetHead();
    const int nWidth = pFirst->m_nLastCol - pFirst->m_nFirstCol + 1;
    POSITION pos = records.GetHeadPosition();
    const auto rules = KeepColumnRules();
    for (int r = rcTarget.top; r <= rcTarget.bottom; ++r) {
        if (pos == nullptr)
            pos = records.GetHeadPosition();
        const CPMObj* pObj = records.GetNext(pos);
        for (int c = rcTarget.left; c <= rcTarget.right; ++c)
            SetCellText(pObj->m_strCell[(c - rcTarget.left) % nWidth + pObj->m_nFirstCol], r, c);
        CalcWrittenRow(r, before, CRowFormula::partsRowRules);
    }
    return Written(eAction, std::move(before));
}

CPartsModel::CommandPtr CPartsModel::PasteCellsAt(int nCol, int nRow, const CPMObjList& records)
{
    if (records.IsEmpty())
        return nullptr;
    const CRect rcSource = records.GetBlock();
    // The whole target block is kept, also where it lies past the used rows, so that undo
    // empties every cell the paste wrote.
    CRowImage before = TakeImage(nRow, std::min<int>(nRow + rcSource.Height(), m_nRowLimit - 1));
    int nTarget = nRow;
    POSITION pos = records.GetHeadPosition();
    const auto rules = KeepColumnRules();
    while (pos != nullptr) {
        const CPMObj* pObj = records.GetNext(pos);
        const int nLastCol = std::min(nCol + pObj->m_nLastCol - pObj->m_nFirstCol, m_nColumnCount - 1);
        for (int c = nCol; c <= nLastCol; ++c) {
            SetCellText(pObj->m_strCell[c - nCol + pObj->m_nFirstCol], nTarget, c);
            CalcWrittenRow(nTarget, before, CRowFormula::partsRowRules);
        }
        ++nTarget;
    }
    return Written(CPartsUndoCommand::undoPasteCells, std::move(before));
}

CPartsModel::CommandPtr CPartsModel::PasteRowsAt(int nRow, const CPMObjList& records)
{
    if (records.IsEmpty() || nRow < 0 || nRow >= m_nRowLimit)
        return nullptr;
    const int nRowsBefore = m_nRowsInUse;
    // One new row per record (the records form one block).
    const int nCount = static_cast<int>(records.GetCount());
    InsertEmptyRows(nRow, nCount);
    int nTarget = nRow;
    POSITION pos = records.GetHeadPosition();
    const auto rules = KeepColumnRules();
    while (pos != nullptr) {
        const CPMObj* pObj = records.GetNext(pos);
        for (int c = 0; c < m_nColumnCount; ++c) {
            const int nSourceCol = c + pObj->m_nFirstCol;
            // Columns past the record's block hold no text.
            SetCellText(nSourceCol <= pObj->m_nLastCol ? pObj->m_strCell[nSourceCol] : CString(), nTarget, c);
            CalcRow(nTarget, 0);
        }
        ++nTarget;
    }
    auto pCommand = std::make_unique<CPartsRowsSplice>(CPartsUndoCommand::undoPasteRows, nRow,
                                                       std::vector<std::unique_ptr<CGridRow>>(), nCount,
                                                       nRowsBefore, m_nRowsInUse);
    pCommand->SetPastedWidth(records.GetBlock().Width());
    return pCommand;
}

CPartsModel::CommandPtr CPartsModel::SortRows(int nCol, int nTop, int nBottom, bool bAscending, int* pSorted)
{
    if (pSorted != nullptr)
        *pSorted = 0;
    if (nCol < 0 || nCol >= m_nColumnCount)
        return nullptr;
    nTop = std::max(0, nTop);
    nBottom = std::min(nBottom, m_nRowsInUse - 1);
    if (nTop > nBottom)
        return nullptr;
    CRowImage before = TakeImage(nTop, nBottom);
    // An unwritten row sorts as an empty row.
    std::vector<const CGridRow*> rows;
    rows.reserve(static_cast<size_t>(nBottom - nTop + 1));
    for (int r = nTop; r <= nBottom; ++r)
        rows.push_back(GetRow(r));
    std::vector<int> aOrder = CRowSort::SortedOrder(
        rows, nCol, IsTextColumn(nCol) ? CRowSort::EKey::text : CRowSort::EKey::number, bAscending);
    // The sort is undone only where it moved a row that differs from the one in its place.
    bool bMoved = false;
    for (size_t i = 0; i < aOrder.size() && !bMoved; ++i) {
        for (int c = 0; c < m_nColumnCount && !bMoved; ++c)
            bMoved = GetCellText(nTop + aOrder[i], c) != GetCellText(nTop + static_cast<int>(i), c);
    }
    for (int& nRow : aOrder)
        nRow += nTop;
    ReorderRows(nTop, aOrder);
    if (pSorted != nullptr)
        *pSorted = nBottom - nTop + 1;
    return bMoved ? Written(CPartsUndoCommand::undoRowsWritten, std::move(before)) : nullptr;
}

CPartsModel::CommandPtr CPartsModel::ReplaceCells(const std::vector<CCellSearch::CMatch>& matches,
                                                  const CString& strReplacement)
{
    if (matches.empty())
        return nullptr;
    CRowImage before = TakeImage(matches.front().nRow, matches.back().nRow);
    // A number cell is replaced in the text it shows and keeps the number that then reads.
    for (const CCellSearch::CMatch& match : matches) {
        SetCellText(match.Replaced(strReplacement), match.nRow, match.nCol);
        if (IsNumericColumn(match.nCol))
            StoreInputKept(match.nRow, match.nCol);
    }
    // Each row written gets its figures worked out once, as typing would.
    for (size_t i = 0; i < matches.size(); ++i) {
        if (i == 0 || matches[i].nRow != matches[i - 1].nRow)
            CalcWrittenRow(matches[i].nRow, before, CRowFormula::partsTypedRules);
    }
    return Written(CPartsUndoCommand::undoRowsWritten, std::move(before));
}

CPartsModel::CommandPtr CPartsModel::ApplyFixedRate(int nCol, int nTop, int nBottom,
                                                    const CString& strFormula,
                                                    const CFixedRateChange::CCondition& condition,
                                                    int* pChanged)
{
    if (pChanged != nullptr)
        *pChanged = 0;
    // The change stops at the last used row: the row after it is no part of the list, and a
    // formula such as "+100" would otherwise start a new row out of nothing.
    nTop = std::max(0, nTop);
    nBottom = std::min(nBottom, m_nRowsInUse - 1);
    if (!IsNumericColumn(nCol) || nTop > nBottom)
        return nullptr;
    CRowImage before = TakeImage(nTop, nBottom);
    const CFixedRateChange change(*this, strFormula, condition, CFixedRateChange::partsRules);
    int nChanged = 0;
    const auto rules = KeepColumnRules();
    for (int r = nTop; r <= nBottom; ++r) {
        CString strNew;
        if (!change.NewText(r, nCol, strNew))
            continue;
        SetCellText(strNew, r, nCol);
        CalcRow(r, 0);
        ++nChanged;
    }
    if (pChanged != nullptr)
        *pChanged = nChanged;
    return nChanged > 0 ? Written(CPartsUndoCommand::undoRowsWritten, std::move(before)) : nullptr;
}

bool CPartsModel::RowMatches(int nRow, const CFixedRateChange::CCondition& condition) const
{
    return CFixedRateChange::Matches(*this, nRow, condition);
}

void CPartsModel::AddToRangeSum(CRangeSum& sum, int nCol, int nTop, int nBottom) const
{
    sum.Add(*this, nCol, nTop, nBottom);
}
