#include "parts/PartsImport.h"

#include "app/CsvText.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932Text.h"

#include <algorithm>

namespace PartsImport {

namespace {

const char kPartsMagic[] = "This is Parts Management file";

int ReadWord(CArchive& ar)
{
    WORD w = 0;
    ar >> w;
    return w;
}

} // namespace

std::string WriteCsv(const CMorvelPMView& view, const std::vector<BOOL>& ticks)
{
    const CMorvelPMDoc* pDoc = view.GetDocument();
    const int nRows = pDoc != nullptr ? pDoc->GetRowsInUse() : 0;
    const int nColumns = std::min(static_cast<int>(ticks.size()), view.GetColumnCount());
    std::string text;
    text.reserve(static_cast<size_t>(std::max(0, nRows)) * 64);
    for (int r = 0; r < nRows; ++r) {
        bool bFirst = true;
        for (int c = 0; c < nColumns; ++c) {
            if (!ticks[static_cast<size_t>(c)])
                continue;
            if (!bFirst)
                text += ',';
            bFirst = false;
            CString field = RemoveLineBreaks(view.GetCellText(r, c));
            field.TrimRight(' ');
            text += CsvText::QuoteField(field);
        }
        text += "\r\n";
    }
    return text;
}

int CountFirstLineFields(std::string_view data)
{
    const size_t nEnd = data.find_first_of("\r\n");
    return CsvText::CountFields(data.substr(0, nEnd == std::string_view::npos ? data.size() : nEnd));
}

int InsertCsvRows(CMorvelPMView& view, int nRow, std::string_view data, const std::vector<int>& mapping)
{
    const std::vector<std::string_view> lines = CsvText::SplitLines(data);
    std::vector<std::vector<CString>> rows(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        CsvText::SplitFields(lines[i], rows[i]);
        for (CString& field : rows[i])
            field = TrimBlanks(field);
    }
    return view.InsertReadRows(nRow, rows, mapping);
}

ReadResult ReadOtherPartsFile(const BYTE* pData, size_t nSize, COtherPartsFile& out)
{
    if (pData == nullptr || nSize > 0x7FFFFFFF)
        return readDamaged;
    COtherPartsFile read;
    try {
        CMemFile file(pData, static_cast<UINT>(nSize));
        CArchive ar(&file, CArchive::load, 4096);
        CString strMagic;
        ar >> strMagic;
        if (strMagic != kPartsMagic)
            return readNotParts;
        ReadWord(ar); // the other list's zoom
        CString strFormName;
        ar >> strFormName;
        // A damaged form has told the user; nothing after it can be found.
        if (read.form.Serialize(ar) != 0)
            return readBadForm;
        const int nRows = ReadWord(ar);
        read.nColumns = ReadWord(ar);
        if (read.nColumns > CMorvelPMDoc::MAX_COLUMNS)
            return readDamaged;
        // Rows are made as they are read: a file that claims more rows than it holds ends
        // with the archive's end-of-file failure, not with a large allocation.
        for (int r = 0; r < nRows; ++r) {
            std::vector<CString> cells(static_cast<size_t>(read.nColumns));
            for (CString& cell : cells)
                ar >> cell;
            read.rows.push_back(std::move(cells));
        }
    } catch (const CException&) {
        return readDamaged;
    }
    out = std::move(read);
    return readOk;
}

int InsertOtherRows(CMorvelPMView& view, int nRow, const COtherPartsFile& other,
                    const std::vector<int>& mapping)
{
    return view.InsertReadRows(nRow, other.rows, mapping);
}

} // namespace PartsImport
