#include "layout/drawing/FieldRemap.h"

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "app/ItemMapping.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "layout/printform/TextPieces.h"

#include <algorithm>

namespace {

const CString& OpeningOf(CFieldRemap::Family family)
{
    static const CString kOpenings[3] = {"$見積("_sj, "$部材("_sj, "$情報("_sj};
    return kOpenings[family];
}

// The piece rewritten; empty when its item has no counterpart.
CString RemapPiece(const CString& piece, const CFieldRemap& remap)
{
    const CString& opening = OpeningOf(remap.family);
    if (piece.Left(opening.GetLength()) != opening || piece.Right(2) != ")$")
        return piece;
    CString head, item, tail;
    if (remap.family == CFieldRemap::familyInformation) {
        // The item runs up to the closing ")$", so a name holding ")" stays whole.
        head = opening;
        item = piece.Mid(opening.GetLength(), piece.GetLength() - opening.GetLength() - 2);
        tail = ")$";
    } else {
        const int nFirst = piece.Find(',');
        const int nLast = piece.ReverseFind(',');
        // Without both commas there is no item to rewrite.
        if (nFirst < 0 || nLast <= nFirst)
            return piece;
        head = piece.Left(nFirst + 1);
        item = piece.Mid(nFirst + 1, nLast - nFirst - 1);
        tail = piece.Mid(nLast);
    }
    const int nOld = TextPieces::FindOccurrence(remap.oldNames, item);
    if (nOld < 0)
        return CString();
    const int nNewCount = static_cast<int>(std::min(remap.newNames.size(), remap.sourceOfNew.size()));
    for (int j = 0; j < nNewCount; ++j) {
        if (remap.sourceOfNew[static_cast<size_t>(j)] != nOld)
            continue;
        const CString strName = remap.newNames[static_cast<size_t>(j)];
        return head + TextPieces::ItemWithOccurrence(strName, TextPieces::OccurrenceOf(remap.newNames, j)) +
               tail;
    }
    return CString();
}

// The remap of a family from a document's forms and its mapping.
template <class Form>
CFieldRemap MakeRemap(CFieldRemap::Family family, const Form& current, const Form& previous,
                      const CStringArray& map)
{
    CFieldRemap remap;
    remap.family = family;
    remap.oldNames = previous.GetItemNames();
    remap.newNames = current.GetItemNames();
    std::vector<CString> labels;
    for (INT_PTR i = 0; i < map.GetSize(); ++i)
        labels.push_back(map[i]);
    remap.sourceOfNew = ItemMapping::DecodeMapping(labels, previous.GetCount());
    return remap;
}

bool RemapOf(const CPrintDoc* pDoc, CFieldRemap::Family family, CFieldRemap& remap)
{
    if (family == CFieldRemap::familyParts) {
        const auto* pPM = dynamic_cast<const CPrintPMDoc*>(pDoc);
        if (pPM == nullptr)
            return false;
        remap = MakeRemap(family, pPM->m_curPartsForm, pPM->m_prevPartsForm, pPM->m_astrFieldMap);
        return true;
    }
    const auto* pEM = dynamic_cast<const CPrintEMDoc*>(pDoc);
    if (pEM == nullptr)
        return false;
    remap =
        family == CFieldRemap::familyEstimate
            ? MakeRemap(family, pEM->m_curEstimationForm, pEM->m_prevEstimationForm, pEM->m_astrFieldMap)
            : MakeRemap(family, pEM->m_curInformationForm, pEM->m_prevInformationForm, pEM->m_astrFieldMap);
    return true;
}

void RemapTextOf(CDrawText& text, CFieldRemap::Family family)
{
    CFieldRemap remap;
    if (RemapOf(text.m_pDocument, family, remap))
        text.m_strText = RemapFieldTokens(text.m_strText, remap);
}

void RemapCellsOf(CDrawTable& table, CFieldRemap::Family family)
{
    CFieldRemap remap;
    if (!RemapOf(table.m_pDocument, family, remap))
        return;
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        CDrawCell* pCell = table.GetCell(i);
        pCell->m_strText = RemapFieldTokens(pCell->m_strText, remap);
    }
}

} // namespace

CString RemapFieldTokens(const CString& strText, const CFieldRemap& remap)
{
    if (strText.Find('$') < 0)
        return strText;
    CString out;
    for (const CString& piece : TextPieces::Split(strText)) {
        // Only a piece with its two "$" is a token; an unclosed rest stays as it is.
        if (piece.GetLength() >= 2 && piece[0] == '$' && piece[piece.GetLength() - 1] == '$')
            out += RemapPiece(piece, remap);
        else
            out += piece;
    }
    return out;
}

void CDrawText::RemapEstimateFields()
{
    RemapTextOf(*this, CFieldRemap::familyEstimate);
}

void CDrawText::RemapInformationFields()
{
    RemapTextOf(*this, CFieldRemap::familyInformation);
}

void CDrawText::RemapPartsFields()
{
    RemapTextOf(*this, CFieldRemap::familyParts);
}

void CDrawTable::RemapEstimateFields()
{
    RemapCellsOf(*this, CFieldRemap::familyEstimate);
}

void CDrawTable::RemapInformationFields()
{
    RemapCellsOf(*this, CFieldRemap::familyInformation);
}

void CDrawTable::RemapPartsFields()
{
    RemapCellsOf(*this, CFieldRemap::familyParts);
}
