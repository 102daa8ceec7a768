// The converter of outside estimate data: the TP5000 estimate data (".MVL") and the RX3000
// sales and detailed estimate data (".RXA", ".RXB"), mapped onto the estimate's columns by
// the converter-information files. Opening such a file starts a new estimate and hands the
// file over here (CMorvelEMDoc::OnOpenDocument).
//
// The whole data file and its converter file are read and checked before the first row is
// made, so a file that is not such data, or ends before its data begins, fails with a
// message and the new estimate is discarded without a window.
#include "estimate/CMorvelEMDoc.h"

#include "engine/estimate/CGridRow.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/COutsideEstimateReader.h"
#include "estimate/EstimateIoSupport.h"
#include "platform/base/Collections.h"
#include "platform/base/MessageBox.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A heading after a total starts a new page. A total that closes a page already leaves the
// next row at a page start, which is where the heading stays.
int NextRowAfterTotal(int nRow, int nRowsPerPage)
{
    if (nRowsPerPage <= 0 || nRow % nRowsPerPage == 0)
        return nRow;
    return (nRow / nRowsPerPage + 1) * nRowsPerPage;
}

} // namespace

CString CMorvelEMDoc::GetField(const char* lpszLine, int nField)
{
    return COutsideEstimateReader::GetField(lpszLine != nullptr ? lpszLine : "", nField);
}

CString CMorvelEMDoc::GetProgramFolder()
{
    return EstimateIo::GetProgramFolder();
}

bool CMorvelEMDoc::ImportConvertedFile(LPCTSTR lpszPathName, int nKind)
{
    CMorvelEMView* pView = GetEstimateView();
    if (pView == nullptr)
        return FALSE;
    const CString strDamaged = "外部積算ﾃﾞｰﾀﾌｧｲﾙがないか、壊れています。"_sj;

    std::string data;
    if (!EstimateIo::ReadWholeFile(lpszPathName, data)) {
        AfxMessageBox(strDamaged, MB_OK);
        return FALSE;
    }
    COutsideEstimateReader reader;
    switch (reader.Read(data, nKind)) {
    case COutsideEstimateReader::headerOk:
        break;
    case COutsideEstimateReader::headerNoConverter:
        AfxMessageBox(reader.m_strMissingMessage, MB_OK);
        return FALSE;
    case COutsideEstimateReader::headerUnknown:
    case COutsideEstimateReader::headerTruncated:
        AfxMessageBox(strDamaged, MB_OK);
        return FALSE;
    }
    data.clear();
    data.shrink_to_fit();

    // The converter file, beside the data first, then beside the program.
    std::string converter;
    if (!EstimateIo::ReadWholeFile(EstimateIo::GetFolder(lpszPathName) + reader.m_strInfName, converter) &&
        !EstimateIo::ReadWholeFile(GetProgramFolder() + reader.m_strInfName, converter)) {
        AfxMessageBox(reader.m_strMissingMessage, MB_OK);
        return FALSE;
    }
    const std::vector<CString> entries = COutsideEstimateReader::ParseConverterLine(converter);

    // Field position -> the columns whose "B" code is the position's entry. An empty entry
    // feeds no column.
    const int nColumns = std::min(m_EstimationForm.GetCount(), static_cast<int>(MAX_FILE_COLUMNS));
    std::vector<std::vector<int>> columnsOf(entries.size());
    std::vector<bool> unitColumn(static_cast<size_t>(std::max(nColumns, 0)), false);
    for (int c = 0; c < nColumns; ++c)
        unitColumn[static_cast<size_t>(c)] = m_EstimationForm.GetItem(c, CEstimationFormFile::colT) == "1";
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].IsEmpty())
            continue;
        for (int c = 0; c < nColumns; ++c) {
            if (m_EstimationForm.GetItem(c, CEstimationFormFile::colB) == entries[i])
                columnsOf[i].push_back(c);
        }
    }

    // Where each row lands; the row limit grows so that every row of the file fits.
    const int nRowsPerPage = pView->GetPageRows();
    std::vector<int> target(reader.m_rows.size());
    int nRow = 0;
    ERowKind nPrevKind = kindEmpty;
    for (size_t i = 0; i < reader.m_rows.size(); ++i) {
        const COutsideEstimateReader::CRow& row = reader.m_rows[i];
        if (row.bControlled && nRow > 0 && IsTotalKind(nPrevKind))
            nRow = NextRowAfterTotal(nRow, nRowsPerPage);
        target[i] = nRow++;
        nPrevKind = row.nKind;
    }
    // An estimate its file could not hold is not made (the user is told why).
    if (!EstimateIo::CheckRowRoom(*pView, 0, nRow))
        return FALSE;
    EstimateIo::EnsureRowLimit(*pView, nRow + 1);

    // The rows as the model writes them: each row's kind and the texts of the columns fed.
    const CString strEmpty;
    const CString strLumpSum = "式"_sj;
    CEstimateModel::CRowsRead read;
    for (int c = 0; c < nColumns; ++c) {
        if (std::any_of(columnsOf.begin(), columnsOf.end(), [c](const std::vector<int>& cols) {
                return std::find(cols.begin(), cols.end(), c) != cols.end();
            }))
            read.columns.push_back(c);
    }
    read.rows.resize(reader.m_rows.size());
    // "式" stands in an empty unit while the last control line opened a heading: in the
    // heading row itself and in the detail rows that follow it up to the next control line.
    bool bUnderHeading = false;
    for (size_t i = 0; i < reader.m_rows.size(); ++i) {
        const COutsideEstimateReader::CRow& row = reader.m_rows[i];
        CGridRow& rowRead = read.rows[i];
        rowRead.SetKind(row.nKind);
        if (row.bControlled)
            bUnderHeading = IsHeadingKind(row.nKind);
        // A column fed by two fields takes the later one's text.
        for (size_t p = 0; p < columnsOf.size(); ++p) {
            const CString& field = p < row.fields.size() ? row.fields[p] : strEmpty;
            for (int c : columnsOf[p]) {
                const bool bLumpSum = bUnderHeading && field.IsEmpty() && unitColumn[static_cast<size_t>(c)];
                rowRead.SetCell(c, bLumpSum ? strLumpSum : field);
            }
        }
    }
    pView->GetModel().WriteRowsAt(read, target);

    // The title becomes the first information value.
    EstimateIo::SetInformationValue(*pView, 0, reader.m_strTitle);

    pView->RecalcTotals(0);
    pView->RecalcFromRow(CMorvelEMView::recalcBulk, 0);
    m_nLoadedRowCount = EstimateIo::GetUsedRows(*pView);
    return TRUE;
}
