#include "engine/estimate/CEstimateModel.h"

#include "engine/estimate/CFixedRateChange.h"
#include "engine/estimate/CInformationCommand.h"
#include "engine/estimate/CSummaryTable.h"
#include "engine/estimate/PageAlignment.h"
#include "engine/estimate/UndoCommands.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <utility>

CEstimateModel::CEstimateModel(IEstimateModelHost& host)
    : m_host(host), m_engine(*this, m_editRows, m_nUsedRows, m_nRowLimit, m_nColumnCount)
{
    // A command that leaves the rows as it found them records no undo step.
    m_undo.WatchTarget(*this);
}

CEstimateModel::~CEstimateModel() = default;

void CEstimateModel::GrowRowLimitToFit(int nRows)
{
    if (m_nRowLimit >= nRows)
        return;
    if (m_nRowLimit <= 0)
        m_nRowLimit = nRows;
    while (m_nRowLimit < nRows)
        m_nRowLimit *= 2;
}

void CEstimateModel::ReplaceEditRows(std::vector<std::unique_ptr<CGridRow>>&& rows)
{
    m_engine.ForgetKeptTotals();
    m_editRows.RemoveAll();
    m_editRows.Reserve(static_cast<INT_PTR>(rows.size()));
    for (std::unique_ptr<CGridRow>& pRow : rows)
        m_editRows.Add(std::move(pRow));
    SetUsedRowCount(static_cast<int>(rows.size()));
    rows.clear();
    GrowRowLimitToFit(m_nUsedRows);
}

void CEstimateModel::PutRowsIn(int nRow, int nCount, CGridRow* const* ppRows)
{
    if (nRow < 0 || nCount <= 0)
        return;
    const int nUsedBefore = m_nUsedRows;
    SetUsedRowCount(std::max(m_nUsedRows + nCount, nRow + nCount));
    if (m_nUsedRows > m_nRowLimit - 1)
        GrowRowLimitToFit(m_nUsedRows + 1);
    // As nCount insertions at nRow, with one move of the rows below.
    m_editRows.InsertEmptyAt(nRow, nCount);
    // The rows handed in belong to the estimate from here on.
    for (int i = 0; i < nCount; ++i)
        m_editRows.SetAt(nRow + i, ppRows != nullptr ? CGridRowArray::CRowPtr(ppRows[i])
                                                     : std::make_unique<CGridRow>());
    if (m_pRowSteps != nullptr)
        m_pRowSteps->Note(nRow, nCount, true, nUsedBefore);
    MoveUndoFigures(nRow, nCount);
    NoteRowShift(nRow);
    FollowRowsMoved(nRow, nCount);
}

int CEstimateModel::TakeRowsOut(int nRow, int nCount, std::vector<CGridRow*>* pTaken)
{
    if (nRow < 0 || nCount <= 0 || nRow >= m_nRowLimit || nRow > m_editRows.GetUpperBound())
        return 0;
    const int nUsedBefore = m_nUsedRows;
    // As nCount deletions at nRow, with one move of the rows below.
    const int n = std::min<int>(nCount, static_cast<int>(m_editRows.GetSize()) - nRow);
    MoveUndoFigures(nRow, -n);
    // The rows taken go to the caller or to the steps being recorded, or are deleted with
    // their entries.
    for (int i = 0; i < n; ++i) {
        CGridRowArray::CRowPtr pRow = m_editRows.Release(nRow + i);
        if (pTaken != nullptr)
            pTaken->push_back(pRow.release());
        else if (m_pRowSteps != nullptr)
            m_pRowSteps->Keep(pRow.release());
    }
    m_editRows.RemoveAt(nRow, n);
    if (m_pRowSteps != nullptr)
        m_pRowSteps->Note(nRow, n, false, nUsedBefore);
    NoteRowShift(nRow);
    SetUsedRowCount(std::max(0, m_nUsedRows - n));
    FollowRowsMoved(nRow, -n);
    return n;
}

void CEstimateModel::TakeRowsOut(int nRow, int nCount, std::vector<CGridRow*>& taken)
{
    MORVEL_CHECK(!IsRecordingRowSteps(), "taking steps back is not a step");
    TakeRowsOut(nRow, nCount, &taken);
}

void CEstimateModel::FollowRowsMoved(int nFromRow, int nMoved)
{
    if (m_nMarkRow >= nFromRow)
        SetMarkRow(nMoved < 0 && m_nMarkRow < nFromRow - nMoved ? -1 : m_nMarkRow + nMoved);
    m_host.RowsMoved(nFromRow);
}

void CEstimateModel::SetMarkRow(int nRow)
{
    const int nOld = std::exchange(m_nMarkRow, nRow);
    if (nOld != nRow)
        m_host.MarkRowMoved(nOld, nRow);
}

void CEstimateModel::DropRow(int nRow)
{
    // The row object goes with its entry.
    if (m_editRows.GetRow(nRow) != nullptr)
        m_editRows.SetAt(nRow, nullptr);
}

void CEstimateModel::NoteRowShift(int nFromRow)
{
    m_engine.ForgetKeptTotals();
    m_undo.NoteRowShift(nFromRow);
}

CRowImage CEstimateModel::TakeEveryRow() const
{
    return CRowImage::Take(m_editRows, 0, m_nUsedRows - 1, m_nUsedRows, m_nRowLimit);
}

void CEstimateModel::BeginRowSteps(CRowSteps& steps)
{
    MORVEL_CHECK(m_pRowSteps == nullptr, "one rows command records its steps at a time");
    m_pRowSteps = &steps;
    // The used rows as they stand: a command whose steps leave them so records nothing.
    steps.KeepRowsBefore(TakeEveryRow(), m_undo.GetShiftedFrom());
}

void CEstimateModel::SetNonCalculated(bool bSet, int nFirstRow, int nLastRow)
{
    if (nFirstRow > nLastRow)
        std::swap(nFirstRow, nLastRow);
    nFirstRow = std::max(0, nFirstRow);
    const int nEnd = std::min(nLastRow + 1, m_nRowLimit);
    // Undo gives every row exactly the kind it had: a row already marked, or one the
    // release leaves alone, keeps its kind.
    std::vector<ERowKind> kinds;
    for (int r = nFirstRow; r < nEnd; ++r)
        kinds.push_back(m_engine.EditKind(r));
    auto pCommand =
        std::make_unique<CNonCalculatedCommand>(bSet, nFirstRow, nLastRow - nFirstRow + 1, std::move(kinds));
    // A row whose kind changes has its figures worked out as its kind now says.
    pCommand->KeepRows(CRowImage::Take(m_editRows, nFirstRow, nEnd - 1, m_nUsedRows, m_nRowLimit));
    for (int r = nFirstRow; r < nEnd; ++r) {
        const ERowKind nKind = m_engine.EditKind(r);
        if (bSet && !IsNonCalculatedKind(nKind) && !IsSummaryKind(nKind))
            m_engine.SetRowKind(NonCalculatedKindOf(nKind), r);
        else if (!bSet && IsNonCalculatedKind(nKind))
            m_engine.SetRowKind(CalculatedKindOf(nKind), r);
    }
    // Recorded with the rows as the command left them: one that changed no kind records
    // nothing.
    m_undo.Record(std::move(pCommand));
}

// ---------------------------------------------------------------------------------------
// Page alignment

// The edit page as the page alignment reads it.
class CEstimateModel::CPageKinds {
public:
    explicit CPageKinds(const CEstimateModel& model) : m_model(model) {}
    int Count() const { return m_model.m_nUsedRows; }
    ERowKind Kind(int nRow) const { return m_model.m_engine.EditKind(nRow); }

private:
    const CEstimateModel& m_model;
};

// The edit page as the page alignment reads and changes it: every change through the row
// operations, which the steps being recorded follow.
class CEstimateModel::CAlignedRows : public CPageKinds {
public:
    explicit CAlignedRows(CEstimateModel& model) : CPageKinds(model), m_model(model) {}
    void Delete(int nRow) { m_model.TakeRowsOut(nRow, 1, nullptr); }
    void Insert(int nRow) { m_model.PutRowsIn(nRow, 1, nullptr); }

private:
    CEstimateModel& m_model;
};

int CEstimateModel::FirstAlignedHeading(int nRow, const CPageRule& rule) const
{
    if (!rule.bAlign)
        return 0;
    return PageAlignment::FirstHeadingOnNextPages(CPageKinds(*this), nRow, rule.nPageRows);
}

int CEstimateModel::AlignRowToPage(int nRow, const CPageRule& rule)
{
    if (!rule.bAlign || nRow < 0)
        return 0;
    CAlignedRows rows(*this);
    return PageAlignment::AlignRowToPage(rows, nRow, rule.nPageRows);
}

int CEstimateModel::AlignHeadings(int nRow, const CPageRule& rule)
{
    if (!rule.bAlign)
        return -1;
    CAlignedRows rows(*this);
    return PageAlignment::AlignHeadings(rows, nRow, rule.nPageRows);
}

void CEstimateModel::InsertRowAligned(int nRow, const CPageRule& rule)
{
    if (!rule.bAlign) {
        PutRowsIn(nRow, 1, nullptr);
        return;
    }
    CAlignedRows rows(*this);
    PageAlignment::InsertRowAligned(rows, nRow, rule.nPageRows);
}

// ---------------------------------------------------------------------------------------
// Row commands

// The steps a rows command takes while it lives.
class CEstimateModel::CStepRecording {
public:
    CStepRecording(CEstimateModel& model, CRowSteps& steps) : m_model(model) { m_model.BeginRowSteps(steps); }
    ~CStepRecording() { m_model.EndRowSteps(); }
    CStepRecording(const CStepRecording&) = delete;
    CStepRecording& operator=(const CStepRecording&) = delete;

private:
    CEstimateModel& m_model;
};

void CEstimateModel::InsertRowAt(int nCol, int nRow, const CPageRule& rule)
{
    const int nHeading = FirstAlignedHeading(nRow, rule);
    CRowSteps steps;
    {
        // The row and the page alignment after it are the command's steps.
        const CStepRecording recording(*this, steps);
        PutRowsIn(nRow, 1, nullptr);
        if (nHeading > 0)
            AlignRowToPage(nHeading + 1, rule);
    }
    m_undo.Record(std::make_unique<CRowInsertCommand>(nCol, nRow, std::move(steps)));
}

void CEstimateModel::DeleteRowAt(int nCol, int nRow, const CPageRule& rule)
{
    const int nHeading = FirstAlignedHeading(nRow, rule);
    CRowSteps steps;
    {
        // The deleted row object goes to the steps, and undo puts back exactly what was there.
        const CStepRecording recording(*this, steps);
        TakeRowsOut(nRow, 1, nullptr);
        if (nHeading > 0)
            AlignRowToPage(nHeading - 1, rule);
    }
    m_undo.Record(std::make_unique<CRowDeleteCommand>(nCol, nRow, std::move(steps)));
}

int CEstimateModel::InsertableRows(int nFirstRow, int nCount, const CPageRule& rule) const
{
    nFirstRow = std::max(0, nFirstRow);
    if (nFirstRow >= m_nRowLimit - 1)
        return 0;
    // Inserted rows push the rows below them down; more than the free rows (less what the
    // page alignment may add) would push used rows past the row limit, where they would be
    // lost. A selection of the whole grid thus inserts as many rows as there is room for.
    const int nHeading = FirstAlignedHeading(nFirstRow, rule);
    const int nRoom = m_nRowLimit - 1 - m_nUsedRows - (nHeading > 0 ? rule.nPageRows - 1 : 0);
    return std::max(0, std::min(nCount, nRoom));
}

int CEstimateModel::InsertRowsAt(int nFirstRow, int nCount, const CPageRule& rule)
{
    nFirstRow = std::max(0, nFirstRow);
    nCount = InsertableRows(nFirstRow, nCount, rule);
    if (nCount <= 0)
        return 0;
    const int nHeading = FirstAlignedHeading(nFirstRow, rule);
    CRowSteps steps;
    {
        const CStepRecording recording(*this, steps);
        PutRowsIn(nFirstRow, nCount, nullptr);
        if (nHeading > 0)
            AlignRowToPage(nHeading + nCount, rule);
    }
    m_undo.Record(std::make_unique<CRowsInsertCommand>(nFirstRow, nCount, std::move(steps)));
    return nCount;
}

bool CEstimateModel::ClearRow(int nCol, int nRow)
{
    if (m_nUsedRows <= 0 || RowKind(EPage::edit, nRow) == kindEmpty)
        return false;
    auto pCommand = std::make_unique<CRowsClearCommand>(nCol, nRow);
    pCommand->Keep(m_editRows.GetRow(nRow));
    pCommand->KeepRows(CRowImage::Take(m_editRows, nRow, nRow, m_nUsedRows, m_nRowLimit));
    DropRow(nRow);
    m_undo.Record(std::move(pCommand));
    return true;
}

void CEstimateModel::ClearRows(int nFirstRow, int nLastRow)
{
    nFirstRow = std::max(0, nFirstRow);
    auto pCommand = std::make_unique<CRowsClearCommand>(nFirstRow);
    // Rows that were empty already leave the estimate as it was: nothing is recorded then.
    pCommand->KeepRows(CRowImage::Take(m_editRows, nFirstRow, std::min(nLastRow, m_nUsedRows - 1),
                                       m_nUsedRows, m_nRowLimit));
    for (int r = nFirstRow; r <= nLastRow && r < m_nUsedRows; ++r) {
        pCommand->Keep(m_editRows.GetRow(r));
        // The cell emptied first, so that the kept totals learn the row's change.
        m_engine.SetCellText("", r, 0, true);
        DropRow(r);
    }
    m_undo.Record(std::move(pCommand));
}

void CEstimateModel::ApplyFixedRate(int nCol, int nFirstRow, int nLastRow, const CRateSettings& settings)
{
    if (!m_engine.IsValidColumn(nCol))
        return;
    nFirstRow = std::max(nFirstRow, 0);
    // Rows below the used rows hold nothing to change (and must not be made by an undo).
    nLastRow = std::min(nLastRow, m_nUsedRows - 1);
    // The command keeps the column's former texts, then the settings, so that a redo can
    // repeat the change exactly.
    auto pCommand = std::make_unique<CFixedRateCommand>(nCol, nFirstRow);
    // Kept even when no row is changed, so that a change that wrote every number as it was
    // (or no row at all) records nothing.
    pCommand->KeepRows(CRowImage::Take(m_editRows, nFirstRow, nLastRow, m_nUsedRows, m_nRowLimit));
    CRowImage every = TakeEveryRow();
    const CFixedRateChange change(m_engine, settings.strFormula, settings.condition);
    for (int r = nFirstRow; r <= nLastRow; ++r) {
        pCommand->AddFormerText(CellText(EPage::edit, r, nCol));
        if (CString strNew; change.NewText(r, nCol, strNew))
            m_engine.SetCellText(strNew, r, nCol, true);
        m_engine.CalcRow(r, 0);
    }
    pCommand->AddSettings(settings);
    // The totals written after it may give back what its rows' formulas wrote (a tax row's).
    RecordCellsWritten(std::move(pCommand), std::move(every));
}

void CEstimateModel::MarkRow(int nRow)
{
    SetMarkRow(nRow);
    m_undo.Record(std::make_unique<CMarkRowCommand>(nRow));
}

// ---------------------------------------------------------------------------------------
// Information values

void CEstimateModel::SetInformationCount(int nCount)
{
    m_nInformationCount = std::clamp(nCount, 0, static_cast<int>(MAX_INFORMATION));
}

const CString& CEstimateModel::GetInformation(int nIndex) const
{
    static const CString empty;
    return nIndex >= 0 && nIndex < MAX_INFORMATION ? m_strInformation[static_cast<size_t>(nIndex)] : empty;
}

void CEstimateModel::SetInformation(int nIndex, const CString& value)
{
    if (nIndex < 0 || nIndex >= MAX_INFORMATION)
        return;
    m_strInformation[static_cast<size_t>(nIndex)] = value;
    m_nInformationCount = std::max(m_nInformationCount, nIndex + 1);
}

void CEstimateModel::ClearInformation()
{
    for (CString& value : m_strInformation)
        value.Empty();
}

bool CEstimateModel::TakeOverInformation(const std::vector<std::pair<int, CString>>& values, bool bWithRows)
{
    int nValues = m_nInformationCount;
    for (const auto& [nIndex, value] : values) {
        if (nIndex >= 0 && nIndex < MAX_INFORMATION)
            nValues = std::max(nValues, nIndex + 1);
    }
    CInformationCommand::CValues before = CInformationCommand::Take(*this, nValues);
    bool bChanged = false;
    for (const auto& [nIndex, value] : values) {
        if (nIndex >= 0 && nIndex < MAX_INFORMATION && GetInformation(nIndex) != value) {
            SetInformation(nIndex, value);
            bChanged = true;
        }
    }
    if (!bChanged)
        return false;
    const unsigned long long nRowsRecord = m_undo.GetRecordCount();
    std::unique_ptr<CUndoCommand> pRows = bWithRows ? m_undo.TakeUndoCommand() : nullptr;
    const bool bJoined = pRows != nullptr;
    m_undo.Record(std::make_unique<CInformationCommand>(std::move(pRows), std::move(before),
                                                        CInformationCommand::Take(*this, nValues)));
    // The figures kept after the rows were read belong to the command they join.
    if (bJoined && m_nFiguresRecord == nRowsRecord)
        m_nFiguresRecord = m_undo.GetRecordCount();
    return true;
}

const CString& CEstimateModel::CellText(EPage ePage, int nRow, int nCol) const
{
    static const CString empty;
    const CGridRow* pRow = m_engine.IsValidColumn(nCol) ? Row(ePage, nRow) : nullptr;
    return pRow != nullptr ? pRow->GetCell(nCol) : empty;
}

int CEstimateModel::CellIndent(EPage ePage, int nRow, int nCol) const
{
    const CGridRow* pRow = m_engine.IsValidColumn(nCol) ? Row(ePage, nRow) : nullptr;
    return pRow != nullptr ? pRow->GetIndent(nCol) : 0;
}

bool CEstimateModel::IsEditRowEmpty(int nRow, int nFormColumns) const
{
    const int nColumns = std::min(nFormColumns, m_engine.Columns().GetLimit());
    for (int c = 0; c < nColumns; ++c) {
        if (!m_engine.EditCell(nRow, c).IsEmpty())
            return false;
    }
    return true;
}

void CEstimateModel::SetCellIndent(EPage ePage, int nIndent, int nRow, int nCol)
{
    if (nRow < 0 || nRow >= m_nRowLimit || !m_engine.IsValidColumn(nCol))
        return;
    if (ePage == EPage::summary) {
        CGridRow* pRow = m_summaryRows.GetRow(nRow);
        if (pRow == nullptr) {
            auto pNew = std::make_unique<CGridRow>();
            pRow = pNew.get();
            m_summaryRows.SetAtGrow(nRow, std::move(pNew));
        }
        pRow->SetIndent(nCol, nIndent);
        return;
    }
    // An indent changes no number: the kept totals follow it.
    const CEstimateEngine::CInStep inStep = m_engine.BeforeNeutralChange();
    const bool bBeyond = nRow > m_editRows.GetUpperBound();
    m_engine.MakeRow(nRow)->SetIndent(nCol, nIndent);
    if (bBeyond)
        ReachRow(std::max(m_nUsedRows, nRow));
    m_engine.NoteNeutralChange(inStep);
}

void CEstimateModel::SetSummaryCell(int nRow, int nCol, const char* lpszText)
{
    CSummaryTable::SetCell(m_summaryRows, m_nRowLimit, m_engine.Columns(), nRow, nCol, lpszText);
}

void CEstimateModel::SetSummaryKind(ERowKind nKind, int nRow)
{
    CSummaryTable::SetKind(m_summaryRows, m_nRowLimit, nKind, nRow);
}

const CString& CEstimateModel::GetColumnText(int nCol, EColumnText eText) const
{
    return m_host.GetColumnText(nCol, eText);
}

void CEstimateModel::GrowUsedRows(int nRows)
{
    SetUsedRowCount(std::max(m_nUsedRows, nRows));
    m_host.GrowUsedRows(m_nUsedRows);
}

void CEstimateModel::SetUsedRowCount(int nUsedRows)
{
    MORVEL_CHECK(nUsedRows >= 0, "a used-row count is not negative");
    m_nUsedRows = nUsedRows;
}

void CEstimateModel::RowsWritten(int nFirst, int nLast)
{
    m_host.RowsWritten(nFirst, nLast);
}

IEstimateSheet::CTaxSettings CEstimateModel::GetTaxSettings() const
{
    return m_host.GetTaxSettings();
}

bool CEstimateModel::IsTaxVerticalTotal() const
{
    return m_host.IsTaxVerticalTotal();
}

CSummaryTable CEstimateModel::SummaryTable(int nFormColumns)
{
    return CSummaryTable(m_engine, m_summaryRows, m_nRowLimit, nFormColumns);
}
