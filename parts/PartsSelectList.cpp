#include "parts/PartsSelectList.h"

#include "engine/estimate/CNumberRules.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"

#include <algorithm>
#include <cmath>

bool PartsFilterMatches(const CString& filter, const CString& cell)
{
    const int nStar = filter.Find('*');
    if (nStar < 0)
        return cell == filter;
    return cell.GetLength() >= nStar && cell.Left(nStar) == filter.Left(nStar);
}

bool IsNumericPartsColumn(const CPartFormFile& form, int nCol)
{
    const CString& attribute = form.GetItem(nCol, CFormFile<10>::colAttribute);
    return attribute == "数値"_sj || attribute.Find("計算"_sj) >= 0;
}

CString PartsListText(const CPartFormFile& form, int nCol, const CString& cell)
{
    if (!IsNumericPartsColumn(form, nCol))
        return cell;
    const double value = CNumberRules::ReadNumber(cell);
    if (std::fabs(value) < 1e-8)
        return CString();
    return CNumberRules::FormatByPicture(value, form.GetItem(nCol, CFormFile<10>::colPicture), true);
}

CPartsSelection::Result ReadPartsSelection(std::string_view data, const CString& filter, CPartsSelection& out)
{
    CPartsSelection result;
    try {
        CMemFile memFile(reinterpret_cast<const BYTE*>(data.data()), static_cast<UINT>(data.size()));
        CArchive ar(&memFile, CArchive::load, 32000);
        CString strMagic;
        ar >> strMagic;
        if (strMagic != "This is Parts Management file")
            return CPartsSelection::readNotParts;
        WORD wZoom = 0;
        ar >> wZoom;
        CString strFormName;
        ar >> strFormName;
        if (result.form.Serialize(ar) != 0)
            return CPartsSelection::readDamaged;
        WORD wRows = 0, wColumns = 0;
        ar >> wRows >> wColumns;
        if (wColumns > 100)
            return CPartsSelection::readDamaged;
        result.nColumns = std::min(result.form.GetCount(), 100);
        for (int r = 0; r < wRows && wColumns > 0; ++r) {
            CString first;
            ar >> first;
            const bool bMatch = PartsFilterMatches(filter, first);
            std::vector<CString> row;
            if (bMatch)
                row.push_back(first);
            for (int c = 1; c < wColumns; ++c) {
                CString cell;
                ar >> cell;
                if (bMatch && c < result.nColumns)
                    row.push_back(PartsListText(result.form, c, cell));
            }
            if (bMatch) {
                row.resize(static_cast<size_t>(std::max(result.nColumns, 1)));
                result.rows.push_back(std::move(row));
            }
        }
    } catch (CException&) {
        return CPartsSelection::readDamaged;
    }
    out = std::move(result);
    return CPartsSelection::readOK;
}
