// The extent of a subject block: the rows a heading takes along when its subject is cut
// from the subject tree or dragged to another place.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "estimate/engine/CHeadingSearch.h"

int CMorvelEMView::GetSubjectRowCount(int nRow) const
{
    return CHeadingSearch(Engine()).GetSubjectRowCount(nRow);
}

void CMorvelEMView::FindHeadingRows(std::vector<CHeadingRow>& headings, size_t nLimit) const
{
    CHeadingSearch(Engine()).FindHeadingRows(headings, nLimit, FindNameColumn(),
                                             FindFirstColumn(CEstimationFormFile::colV, "2"));
}
