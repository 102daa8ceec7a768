// The estimate model's commands that put in and take out many rows at once and write into
// them: pages, rows taken from a list or from the parts, unnecessary rows, and the summary
// written at the top of the edit page. Each records the rows' steps (CRowSteps) while it runs
// and the undo command of its action after.
#include "engine/estimate/CEstimateModel.h"

#include "engine/estimate/CSummaryTable.h"
#include "engine/estimate/CUnnecessaryRows.h"
#include "engine/estimate/UndoCommands.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The steps fnCommand takes on the model's rows.
template <class TCommand>
CRowSteps RecordSteps(CEstimateModel& model, TCommand&& fnCommand)
{
    CRowSteps steps;
    model.BeginRowSteps(steps);
    fnCommand();
    model.EndRowSteps();
    return steps;
}

// The steps recorded as a command that is done again as it left the rows; a command that
// moved no row leaves the last command's record as it was.
void RecordReplay(CEstimateModel& model, CUndoCommand::EAction eAction, CRowSteps&& steps)
{
    if (!steps.IsEmpty())
        model.Undo().Record(std::make_unique<CRowsReplayCommand>(eAction, std::move(steps)));
}

// nCount empty rows put in at nRow, the heading nHeading (FirstAlignedHeading before them;
// 0: none) kept at its page start.
void InsertRowsKeepingHeading(CEstimateModel& model, int nRow, int nCount, int nHeading,
                              const CEstimateModel::CPageRule& rule)
{
    model.PutRowsIn(nRow, nCount, nullptr);
    if (nHeading > 0)
        model.AlignRowToPage(nHeading + nCount, rule);
}

} // namespace

void CEstimateModel::InsertPage(int nPage, const CPageRule& rule)
{
    // Rows pushed past the row limit are kept: the limit grows to hold them.
    CRowSteps steps = RecordSteps(*this, [&] { PutRowsIn(nPage * rule.nPageRows, rule.nPageRows, nullptr); });
    RecordReplay(*this, CUndoCommand::undoPageInsert, std::move(steps));
}

bool CEstimateModel::DeletePage(int nPage, const CPageRule& rule)
{
    const int nFirst = nPage * rule.nPageRows;
    const int nCount = std::min(nFirst + rule.nPageRows, m_nUsedRows) - nFirst;
    if (nFirst < 0 || nCount <= 0)
        return false;
    // The page's rows go to the steps, for the undo to put back.
    CRowSteps steps = RecordSteps(*this, [&] { TakeRowsOut(nFirst, nCount, nullptr); });
    RecordReplay(*this, CUndoCommand::undoPageDelete, std::move(steps));
    return true;
}

int CEstimateModel::FeedPage(int nRow, const CPageRule& rule)
{
    const int nCount = (nRow / rule.nPageRows + 1) * rule.nPageRows - nRow;
    const int nHeading = std::max(0, FirstAlignedHeading(nRow, rule));
    CRowSteps steps =
        RecordSteps(*this, [&] { InsertRowsKeepingHeading(*this, nRow, nCount, nHeading, rule); });
    RecordReplay(*this, CUndoCommand::undoPageFeed, std::move(steps));
    return nCount;
}

int CEstimateModel::DeleteUnnecessaryRows(const CUnnecessaryRows& unnecessary, int nCondition,
                                          const CPageRule& rule)
{
    int nFirstDeleted = -1;
    CRowSteps steps = RecordSteps(*this, [&] {
        int nFrom = 0;
        for (int nRow = unnecessary.FindNext(nCondition, nFrom); nRow >= 0;
             nRow = unnecessary.FindNext(nCondition, nFrom)) {
            // The heading on a later page that the deletion would pull up stays at its page
            // start.
            const int nHeading = FirstAlignedHeading(nRow, rule);
            TakeRowsOut(nRow, 1, nullptr);
            if (nHeading > 0)
                AlignRowToPage(nHeading - 1, rule);
            if (nFirstDeleted < 0)
                nFirstDeleted = nRow;
            nFrom = std::max(0, nRow - 1);
        }
    });
    RecordReplay(*this, CUndoCommand::undoUnnecessaryRows, std::move(steps));
    return nFirstDeleted;
}

void CEstimateModel::PlaceListRows(int nRow, int nCount, const CPageRule& rule)
{
    // Rows appended below the used ones push no heading.
    const int nHeading = nRow >= m_nUsedRows ? 0 : FirstAlignedHeading(nRow, rule);
    InsertRowsKeepingHeading(*this, nRow, nCount, nHeading, rule);
}

void CEstimateModel::InsertPartsRows(int nCol, int nRow, const CGridRow* const* ppRows, int nCount,
                                     const std::vector<int>& sourceCols, const CPageRule& rule)
{
    if (ppRows == nullptr || nCount <= 0)
        return;
    const int nColumns = std::min(static_cast<int>(sourceCols.size()), m_engine.Columns().GetLimit());
    CRowSteps steps = RecordSteps(*this, [&] {
        PlaceListRows(nRow, nCount, rule);
        // Each column takes the indent of the nearest detail row around the new rows (still
        // empty here, so they are not found themselves).
        std::vector<int> indents(static_cast<size_t>(std::max(nColumns, 0)));
        for (int c = 0; c < nColumns; ++c)
            indents[static_cast<size_t>(c)] = m_engine.FindNameIndent(nRow, kindDetail, c);
        for (int i = 0; i < nCount; ++i) {
            const CGridRow* pParts = ppRows[i];
            const int r = nRow + i;
            m_engine.SetRowKind(kindDetail, r);
            if (pParts == nullptr)
                continue;
            for (int c = 0; c < nColumns; ++c) {
                const int nPartsCol = sourceCols[static_cast<size_t>(c)];
                if (nPartsCol == notFromParts)
                    continue;
                const char* pSource =
                    nPartsCol >= 0 ? static_cast<const char*>(pParts->GetCell(nPartsCol)) : "";
                CString strText;
                m_engine.NormalizeNumberText(c, strText, pSource);
                m_engine.SetCellText(strText, r, c, true);
                SetCellIndent(EPage::edit, indents[static_cast<size_t>(c)], r, c);
            }
            // Amounts and other formula columns follow the quantities and prices taken in.
            m_engine.CalcRow(r, 0);
        }
    });
    // The rows are undone as those of a pick from a list: undo takes out what went in, the
    // page alignment's rows included.
    m_undo.Record(std::make_unique<CRowsPasteCommand>(nCol, nRow, nCount, true, std::move(steps)));
}

void CEstimateModel::WriteSummaryAtTop(int nPageRows)
{
    // A summary written earlier (rows of summary kinds, and its filler rows) goes first; only
    // those rows are taken away, never a row of the estimate.
    const int nOld = CSummaryTable::CountWrittenRows(m_engine);
    const int nInsert =
        CSummaryTable(m_engine, m_summaryRows, m_nRowLimit, m_nColumnCount).GetRowsOnPages(nPageRows);
    const int nLast = static_cast<int>(m_summaryRows.GetUpperBound());
    CRowSteps steps = RecordSteps(*this, [&] {
        TakeRowsOut(0, nOld, nullptr);
        PutRowsIn(0, nInsert, nullptr);
        for (int r = 0; r <= nLast; ++r) {
            const CGridRow* pSummary = m_summaryRows.GetRow(r);
            if (pSummary == nullptr)
                continue;
            m_engine.SetRowKind(pSummary->GetKind(), r);
            for (int c = 0; c < m_engine.Columns().GetLimit(); ++c)
                m_engine.SetCellText(pSummary->GetCell(c), r, c, true);
        }
    });
    RecordReplay(*this, CUndoCommand::undoSummaryWritten, std::move(steps));
}

namespace {

// Row nRow made of source's kind, with its parameters and parameter texts (each text up to a
// zero byte, as a cell's text written as typed ends there).
void CopyKindAndParameters(CEstimateEngine& engine, const CGridRow& source, int nRow)
{
    engine.SetRowKind(source.GetKind(), nRow);
    CGridRow* pRow = engine.MakeRow(nRow);
    pRow->SetParam1(source.GetParam1());
    pRow->SetParam2(source.GetParam2());
    pRow->SetParam3(source.GetParam3());
    pRow->SetParamText1(static_cast<const char*>(source.GetParamText1()));
    pRow->SetParamText2(static_cast<const char*>(source.GetParamText2()));
}

// A plain row put in at nRow and written by fnWrite, recorded as a special row made.
template <class TWrite>
void InsertSpecialRow(CEstimateModel& model, int nRow, TWrite&& fnWrite)
{
    CRowSteps steps = RecordSteps(model, [&] {
        model.PutRowsIn(nRow, 1, nullptr);
        fnWrite();
    });
    RecordReplay(model, CUndoCommand::undoSpecialRow, std::move(steps));
}

} // namespace

void CEstimateModel::InsertClassifyRow(int nRow, const char* lpszName, const char* lpszRate,
                                       const char* lpszTarget, int nTargetCol, int nColumnMode,
                                       EStepRange eRange)
{
    InsertSpecialRow(*this, nRow, [&] {
        m_engine.MakeClassifyRow(nRow, lpszName, lpszRate, lpszTarget, nTargetCol, nColumnMode, eRange);
    });
}

void CEstimateModel::InsertDiscountTotal(int nRow, ETotalLevel nDiscountLevel)
{
    m_engine.SetDiscountLevel(nDiscountLevel);
    InsertSpecialRow(*this, nRow, [&] { m_engine.MakeTotalRow(nRow, CEstimateEngine::levelDiscount); });
}

void CEstimateModel::InsertPickedRows(int nCol, int nRow, const std::vector<std::vector<CString>>& texts,
                                      ERowKind nKind, const std::vector<int>& listCols, const CPageRule& rule)
{
    const int nCount = static_cast<int>(texts.size());
    if (nCount == 0)
        return;
    const int nColumns = std::min(static_cast<int>(listCols.size()), m_engine.Columns().GetLimit());
    CRowSteps steps = RecordSteps(*this, [&] {
        PlaceListRows(nRow, nCount, rule);
        for (int i = 0; i < nCount; ++i) {
            const std::vector<CString>& entry = texts[static_cast<size_t>(i)];
            const int r = nRow + i;
            m_engine.SetRowKind(nKind, r);
            for (int c = 0; c < nColumns; ++c) {
                const int nListCol = listCols[static_cast<size_t>(c)];
                if (nListCol < 0 || nListCol >= static_cast<int>(entry.size()))
                    continue;
                CString strText;
                m_engine.NormalizeNumberText(c, strText, entry[static_cast<size_t>(nListCol)]);
                m_engine.SetCellText(strText, r, c, true);
                // The nearest row of the kind, the rows filled before this one among them.
                const int nIndent = m_engine.FindNameIndent(r, nKind, c);
                SetCellIndent(EPage::edit, nIndent, r, c);
            }
            m_engine.CalcRow(r, 0);
        }
    });
    // Undo takes exactly these rows out again, the page alignment's rows included; redo puts
    // the same rows back.
    m_undo.Record(std::make_unique<CRowsPasteCommand>(nCol, nRow, nCount, true, std::move(steps)));
}

int CEstimateModel::InsertRowsRead(int nRow, const CRowsRead& read, const CPageRule& rule)
{
    const int nCount = static_cast<int>(read.rows.size());
    if (nCount == 0)
        return 0;
    const int nHeading = FirstAlignedHeading(nRow, rule);
    // Every row read finds room, as it does when a large file is read.
    GrowRowLimitToFit(std::max(m_nUsedRows, nRow) + nCount + 2);
    CRowSteps steps = RecordSteps(*this, [&] {
        for (int i = 0; i < nCount; ++i) {
            const CGridRow& source = read.rows[static_cast<size_t>(i)];
            const int r = nRow + i;
            PutRowsIn(r, 1, nullptr);
            m_engine.SetCellText("", r, 0, true);
            CopyKindAndParameters(m_engine, source, r);
            for (int c : read.columns)
                m_engine.SetCellText(source.GetCell(c), r, c, true);
        }
        if (nHeading > 0)
            AlignRowToPage(nHeading + nCount, rule);
    });
    RecordReplay(*this, CUndoCommand::undoRowsRead, std::move(steps));
    return nCount;
}

void CEstimateModel::InsertSubjectRows(int nInsertRow, const std::vector<CGridRow>& rows, int nColumns)
{
    const int nRows = static_cast<int>(rows.size());
    nColumns = std::min(nColumns, m_engine.Columns().GetLimit());
    for (int k = 0; k < nRows; ++k) {
        const int nRow = nInsertRow + k + 1;
        const CGridRow& source = rows[static_cast<size_t>(k)];
        PutRowsIn(nRow, 1, nullptr);
        for (int c = 0; c < nColumns; ++c) {
            m_engine.SetCellText(source.GetCell(c), nRow, c, true);
            SetCellIndent(EPage::edit, source.GetIndent(c), nRow, c);
        }
    }
    // The kinds go last: the cells are written as those of plain rows.
    for (int k = 0; k < nRows; ++k)
        CopyKindAndParameters(m_engine, rows[static_cast<size_t>(k)], nInsertRow + k + 1);
}

void CEstimateModel::BeginRowsCommand(CUndoCommand::EAction eAction)
{
    if (m_nRowsCommandDepth++ > 0)
        return;
    m_rowsCommandSteps = CRowSteps();
    m_eRowsCommandAction = eAction;
    BeginRowSteps(m_rowsCommandSteps);
    // The figures its recalculations write are kept for it (KeepFiguresForUndo).
    ForgetUndoFigures();
    m_nFiguresRecord = m_undo.GetRecordCount();
}

bool CEstimateModel::EndRowsCommand(bool bRecord)
{
    if (m_nRowsCommandDepth == 0 || --m_nRowsCommandDepth > 0)
        return false;
    EndRowSteps();
    // A command that moved no row leaves the last command's record as it was.
    if (!bRecord || m_rowsCommandSteps.IsEmpty()) {
        if (!m_rowsCommandSteps.IsEmpty())
            m_undo.Withdraw();
        ForgetUndoFigures();
        return false;
    }
    const unsigned long long nRecords = m_undo.GetRecordCount();
    m_undo.Record(std::make_unique<CRowsReplayCommand>(m_eRowsCommandAction, std::move(m_rowsCommandSteps)));
    // The figures kept while it was open are its own; a command that changed nothing has
    // none.
    if (m_undo.GetRecordCount() == nRecords)
        ForgetUndoFigures();
    m_nFiguresRecord = m_undo.GetRecordCount();
    return true;
}
