#include "layout/drawing/FieldRemap.h"

#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/TextPieces.h"

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

void RemapTextOf(CDrawText& text, CFieldRemap::Family family)
{
    CFieldRemap remap;
    if (text.m_pDocument != nullptr && text.m_pDocument->GetFieldRemap(family, remap))
        text.m_strText = RemapFieldTokens(text.m_strText, remap);
}

void RemapCellsOf(CDrawTable& table, CFieldRemap::Family family)
{
    CFieldRemap remap;
    if (table.m_pDocument == nullptr || !table.m_pDocument->GetFieldRemap(family, remap))
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
