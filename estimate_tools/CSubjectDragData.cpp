#include "estimate_tools/CSubjectDragData.h"

#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/CArchive.h"

#include <utility>

namespace {

WORD Low16(int nValue)
{
    return static_cast<WORD>(static_cast<unsigned>(nValue) & 0xFFFFu);
}

int Signed16(WORD w)
{
    return static_cast<short>(w);
}

} // namespace

void CSubjectDragData::Write(CArchive& ar, CMorvelEMView& view, ERowKind nKind, int nFirstRow)
{
    CEstimationFormFile form;
    CString strFormName;
    if (const CMorvelEMDoc* pDoc = view.GetDocument()) {
        form = pDoc->m_EstimationForm;
        strFormName = pDoc->m_strEstimationFormName;
    }
    ar << strFormName;
    form.Serialize(ar);

    // The block's rows of the edit page, whichever page the window shows.
    const CEstimateModel& model = view.GetModel();
    constexpr CEstimateModel::EPage eEdit = CEstimateModel::EPage::edit;
    const int nRows = view.GetSubjectRowCount(nFirstRow);
    const int nColumns = view.GetColumnCount();
    ar << Low16(nKind) << Low16(nRows) << Low16(nColumns);
    for (int k = 0; k < nRows; ++k) {
        for (int c = 0; c < nColumns; ++c)
            ar << model.CellText(eEdit, nFirstRow + k, c) << Low16(model.CellIndent(eEdit, nFirstRow + k, c));
    }
    for (int k = 0; k < nRows; ++k) {
        const int nRow = nFirstRow + k;
        ar << Low16(model.RowKind(eEdit, nRow)) << Low16(view.GetRowParam3(nRow))
           << view.GetRowParamText1(nRow) << Low16(view.GetRowParam1(nRow)) << Low16(view.GetRowParam2(nRow))
           << view.GetRowParamText2(nRow);
    }
}

bool CSubjectDragData::ReadForm(CArchive& ar)
{
    ar >> m_strFormName;
    return m_Form.Serialize(ar) == 0 ? TRUE : FALSE;
}

bool CSubjectDragData::ReadRows(CArchive& ar)
{
    WORD wKind = 0, wRows = 0, wColumns = 0;
    ar >> wKind >> wRows >> wColumns;
    if (wColumns > MAX_COLUMNS)
        return FALSE;
    // Row by row, so that a count the data does not back up ends at the data's end
    // instead of making room for rows that never come. Nothing is taken over unless all
    // of it was read: data that ends early leaves the rows as they were.
    std::vector<CRow> rows;
    for (int k = 0; k < wRows; ++k) {
        CRow row;
        row.cells.resize(wColumns);
        row.indents.resize(wColumns);
        for (int c = 0; c < wColumns; ++c) {
            WORD wIndent = 0;
            ar >> row.cells[static_cast<size_t>(c)] >> wIndent;
            row.indents[static_cast<size_t>(c)] = Signed16(wIndent);
        }
        rows.push_back(std::move(row));
    }
    for (CRow& row : rows) {
        WORD wRowKind = 0, wParam3 = 0, wParam1 = 0, wParam2 = 0;
        ar >> wRowKind >> wParam3 >> row.strParamText1 >> wParam1 >> wParam2 >> row.strParamText2;
        row.nKind = KindFromNumber(wRowKind);
        row.nParam3 = Signed16(wParam3);
        row.nParam1 = Signed16(wParam1);
        row.nParam2 = Signed16(wParam2);
    }
    m_nKind = KindFromNumber(wKind);
    m_nColumns = wColumns;
    m_rows = std::move(rows);
    return TRUE;
}
