// The property commands of texts and tables: their texts and picture indexes edited in the
// text-property dialog of the layout's kind (the document chooses it).
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/CDrawingDoc.h"

#include <utility>
#include <vector>

void CDrawText::OnEditProperties()
{
    std::vector<CString> texts = {m_strText};
    CTextAttributes attributes = *this;
    if (m_pDocument == nullptr || m_pDocument->EditTextProperties(texts, attributes) != IDOK)
        return;
    static_cast<CTextAttributes&>(*this) = attributes;
    m_strText = texts[0];
    m_nAlign = m_pDocument->IsEstimateLayout() ? AlignFromEstimateField() : AlignFromPartsField();
    Invalidate();
    MarkModified();
}

void CDrawTable::OnEditProperties()
{
    // The selected cells from the top row down: an exchange sort on the upper edges, which
    // decides which cell of a row gives the row's text.
    std::vector<CDrawCell*> cells;
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        if (GetCell(i)->m_bSelected)
            cells.push_back(GetCell(i));
    }
    if (cells.empty())
        return;
    for (size_t i = 0; i < cells.size(); ++i) {
        for (size_t j = i + 1; j < cells.size(); ++j) {
            if (cells[i]->m_rect.bottom <= cells[j]->m_rect.bottom)
                std::swap(cells[i], cells[j]);
        }
    }
    std::vector<CString> texts = {cells[0]->m_strText};
    for (size_t i = 1; i < cells.size(); ++i) {
        if (cells[i]->m_rect.bottom != cells[i - 1]->m_rect.bottom)
            texts.push_back(cells[i]->m_strText);
    }
    CDrawCell* pFirst = cells[0];
    CTextAttributes attributes = *pFirst;
    if (m_pDocument == nullptr || m_pDocument->EditTextProperties(texts, attributes) != IDOK)
        return;
    const bool bEstimate = m_pDocument->IsEstimateLayout();
    const int nOldAlign = pFirst->m_nAlign;
    static_cast<CTextAttributes&>(*pFirst) = attributes;
    pFirst->m_nAlign = nOldAlign;
    pFirst->m_strText = texts[0];
    const int nAlign = bEstimate ? CellAlignFromEstimateField(pFirst) : CellAlignFromPartsField(pFirst);
    pFirst->m_nAlign = nAlign;
    size_t nRow = 0;
    int nRowBottom = pFirst->m_rect.bottom;
    for (size_t i = 1; i < cells.size(); ++i) {
        CDrawCell* pCell = cells[i];
        const int nKeepAlign = nAlign;
        static_cast<CTextAttributes&>(*pCell) = attributes;
        pCell->m_nAlign = nKeepAlign;
        if (pCell->m_rect.bottom != nRowBottom) {
            ++nRow;
            nRowBottom = pCell->m_rect.bottom;
        }
        pCell->m_strText = texts[nRow];
    }
    Invalidate();
    MarkModified();
}
