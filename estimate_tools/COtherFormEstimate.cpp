#include "estimate_tools/COtherFormEstimate.h"

#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateIoSupport.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"

#include <algorithm>
#include <utility>

COtherFormEstimate::ReadResult COtherFormEstimate::Read(std::string_view data)
{
    // Read into a fresh object and take it over only when all of it was read: a refused
    // file leaves nothing behind, whichever check refused it.
    COtherFormEstimate read;
    const ReadResult result = read.ReadFresh(data);
    *this = result == readOk ? std::move(read) : COtherFormEstimate();
    return result;
}

COtherFormEstimate::ReadResult COtherFormEstimate::ReadFresh(std::string_view data)
{
    try {
        CMemFile memFile(reinterpret_cast<const BYTE*>(data.data()), static_cast<UINT>(data.size()));
        CArchive ar(&memFile, CArchive::load, 4096);
        CString strMagic;
        ar >> strMagic;
        if (strMagic != "This is Estimation File")
            return readNotEstimate;
        ar >> m_strEstimationFormName;
        if (m_EstimationForm.Serialize(ar) != 0)
            return readBadForm;
        ar >> m_strInformationFormName;
        if (m_InformationForm.Serialize(ar) != 0)
            return readBadForm;
        WORD wColumns = 0, wRows = 0;
        ar >> wColumns >> wRows;
        if (wColumns > MAX_COLUMNS)
            return readDamaged;
        for (int i = 0; i < 8; ++i) {
            WORD w = 0;
            ar >> w;
        }
        m_nColumns = wColumns;
        // Every row needs at least 4 words and 2 texts: a count the bytes cannot hold is
        // refused before anything is allocated for it.
        if (static_cast<size_t>(wRows) * (8 + 2 + 3 * static_cast<size_t>(wColumns)) > data.size())
            return readDamaged;
        m_rows.resize(wRows);
        for (CRow& row : m_rows) {
            WORD wKind = 0, w1 = 0, w3 = 0, w2 = 0;
            ar >> wKind >> w1 >> w3 >> w2;
            row.nKind = KindFromNumber(wKind);
            row.nParam1 = w1;
            row.nParam3 = w3;
            row.nParam2 = w2;
            ar >> row.strParamText1 >> row.strParamText2;
            row.cells.resize(wColumns);
            for (CString& cell : row.cells) {
                WORD wIndent = 0;
                ar >> cell >> wIndent;
            }
        }
        WORD wInformation = 0;
        ar >> wInformation;
        if (wInformation > MAX_INFORMATION)
            return readDamaged;
        m_information.resize(wInformation);
        for (CString& value : m_information)
            ar >> value;
        ar.Close();
    } catch (CException&) {
        return readDamaged;
    }
    return readOk;
}

CEstimateModel::CRowsRead COtherFormEstimate::RowsRead(const std::vector<int>& mapping, int nColumns) const
{
    CEstimateModel::CRowsRead read;
    nColumns = std::min(static_cast<int>(mapping.size()), nColumns);
    for (int c = 0; c < nColumns; ++c) {
        const int j = mapping[static_cast<size_t>(c)];
        if (j >= 0 && j < m_nColumns)
            read.columns.push_back(c);
    }
    read.rows.resize(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const CRow& row = m_rows[i];
        CGridRow& target = read.rows[i];
        EstimateIo::SetKindAndParameters(target, row);
        for (int c : read.columns)
            target.SetCell(c, row.cells[static_cast<size_t>(mapping[static_cast<size_t>(c)])]);
    }
    return read;
}

int COtherFormEstimate::InsertRows(CMorvelEMView& view, int nRow, const std::vector<int>& mapping) const
{
    const int nCount = static_cast<int>(m_rows.size());
    if (nCount == 0 || !EstimateIo::CheckRowRoom(view, nRow, nCount))
        return 0;
    return view.InsertRowsRead(nRow, RowsRead(mapping, EstimateIo::GetColumnCount(view)));
}

BOOL COtherFormEstimate::ApplyInformation(CMorvelEMView& view, const std::vector<int>& mapping,
                                          bool bWithRows) const
{
    std::vector<std::pair<int, CString>> values;
    const int nItems =
        std::min(static_cast<int>(mapping.size()), static_cast<int>(CMorvelEMView::MAX_INFORMATION));
    for (int i = 0; i < nItems; ++i) {
        const int j = mapping[static_cast<size_t>(i)];
        if (j >= 0 && j < static_cast<int>(m_information.size()))
            values.emplace_back(i, m_information[static_cast<size_t>(j)]);
    }
    return view.TakeOverInformation(values, bWithRows);
}
