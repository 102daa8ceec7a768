// The extent of a subject block: the rows a heading takes along when its subject is cut
// from the subject tree or dragged to another place; the headings the tree shows.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "engine/estimate/CHeadingSearch.h"

int CMorvelEMView::GetSubjectRowCount(int nRow) const
{
    return CHeadingSearch(Engine()).GetSubjectRowCount(nRow);
}

void CMorvelEMView::FindHeadingRows(std::vector<CHeadingRow>& headings, size_t nLimit) const
{
    ++m_nHeadingSearches;
    CHeadingSearch(Engine()).FindHeadingRows(headings, nLimit, FindNameColumn(),
                                             FindFirstColumn(CEstimationFormFile::colV, "2"));
}

CMorvelEMView::CHeadingsCounts CMorvelEMView::HeadingsCounts() const
{
    const CGridRowArray& rows = EditRows();
    return CHeadingsCounts{&rows, rows.GetKindChangeCount(), rows.GetHeadingChangeCount(), FindNameColumn()};
}
