// The extent of a subject block: the rows a heading takes along when its subject is cut
// from the subject tree or dragged to another place; the headings the tree shows.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "engine/estimate/CHeadingSearch.h"

#include <cstdint>

int CMorvelEMView::GetSubjectRowCount(int nRow) const
{
    return CHeadingSearch(Engine()).GetSubjectRowCount(nRow);
}

void CMorvelEMView::FindHeadingRows(std::vector<CHeadingRow>& headings, size_t nLimit) const
{
    CHeadingSearch(Engine()).FindHeadingRows(headings, nLimit, FindNameColumn(),
                                             FindFirstColumn(CEstimationFormFile::colV, "2"));
}

CMorvelEMView::CHeadingsCounts CMorvelEMView::HeadingsCounts() const
{
    const CGridRowArray& rows = EditRows();
    return CHeadingsCounts{&rows, rows.GetKindChangeCount(), rows.GetHeadingChangeCount(), FindNameColumn()};
}

unsigned long long CMorvelEMView::HeadingsSignature() const
{
    std::vector<CHeadingRow> headings;
    FindHeadingRows(headings, SIZE_MAX);
    // FNV-1a over each heading's row, kind and name.
    unsigned long long nHash = 14695981039346656037ULL;
    const auto add = [&nHash](const void* pData, size_t nSize) {
        for (size_t i = 0; i < nSize; ++i) {
            nHash ^= static_cast<const unsigned char*>(pData)[i];
            nHash *= 1099511628211ULL;
        }
    };
    for (const CHeadingRow& heading : headings) {
        const int nKey[2] = {heading.nRow, static_cast<int>(heading.nKind)};
        add(nKey, sizeof(nKey));
        add(heading.pName->c_str(), static_cast<size_t>(heading.pName->GetLength()) + 1);
    }
    return nHash;
}
