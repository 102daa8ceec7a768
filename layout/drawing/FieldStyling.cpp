// Field text styled by the kind of row it prints, and aligned by the form item it names:
// the members of CDrawText and CDrawTable that print and edit field text.
#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CPartFormFile.h"
#include "app/SharedRecords.h"
#include "engine/estimate/RowKinds.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/FieldTokens.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// The "Color Setting" value of a key; nothing when it is missing or holds no three numbers.
std::optional<COLORREF> ColorSetting(const char* lpszKey)
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings == nullptr)
        return std::nullopt;
    CString text = pSettings->GetProfileString("Color Setting", lpszKey, "");
    int r = 0, g = 0, b = 0;
    if (std::sscanf(text, "%d,%d,%d", &r, &g, &b) != 3)
        return std::nullopt;
    return RGB(r & 255, g & 255, b & 255);
}

struct CKindStyle {
    int nFont = -1;               // CMorvelSettings::RowFont, -1 for the own font
    const char* pColor = nullptr; // "Color Setting" key, null for the own colour
    bool bNonCalc = false;
};

// The style a field gets from the kind of the row it prints (a summary-page kind already
// brought back to its edit-page kind). Unlike the grid, the layouts print the kind discount
// total in the field's own style and kindFieldAsKind in the kind heading's.
CKindStyle StyleOfKind(ERowKind nKind)
{
    using S = CMorvelSettings;
    if (IsPaintedNonCalculatedKind(nKind))
        return {S::fontNonCalc, "Non Calc Text", true};
    if (IsClassifyKind(nKind))
        return {S::fontSort, "Classify Text"};
    switch (nKind) {
    case kindLarge:
    case kindLargeTotal:
        return {S::fontLarge, "Large Project Text"};
    case kindMiddle:
    case kindMiddleTotal:
        return {S::fontMiddle, "Middle Project Text"};
    case kindSmall:
    case kindSmallTotal:
        return {S::fontSmall, "Small Project Text"};
    case kindDetail:
        return {S::fontDetail, "Detail Text"};
    case kindDiscount:
    case kindLargeDiscountTotal:
    case kindMiddleDiscountTotal:
    case kindSmallDiscountTotal:
    case kindGrandDiscountTotal:
        return {S::fontDiscount, "Discount Text"};
    case kindKind:
    case kindKindTotal:
    case kindFieldAsKind:
        return {S::fontKind, "Kind Text"};
    case kindFree:
        return {S::fontTax, "Free Text"};
    case kindStep:
        return {S::fontStep, "Step Text"};
    case kindGrandTotal:
        return {S::fontSum, "Sum Text"};
    default:
        return {};
    }
}

// The kind of the estimate row a text's first token prints; nothing when the text does not
// begin with an estimate token or its key has no record.
std::optional<ERowKind> KindOfEstimateField(const CString& strText, const CDrawingDoc* pDoc,
                                            const CEstimateFieldData* pData)
{
    const CString opening = "$見積("_sj;
    if (pData == nullptr || strText.Find(opening) != 0)
        return std::nullopt;
    int nClose = strText.Find(")$");
    if (nClose < 0)
        return std::nullopt;
    CString args = strText.Mid(opening.GetLength(), nClose - opening.GetLength());
    int n1 = args.Find(',');
    int n2 = n1 < 0 ? -1 : args.Find(',', n1 + 1);
    if (n2 < 0)
        return std::nullopt;
    const CFieldRefRecord* pRef = FindFieldRef(pDoc, args.Left(n2));
    if (pRef == nullptr)
        return std::nullopt;
    int nRow = std::atoi(args.Mid(n2 + 1)) + pRef->m_nValue * (pData->GetLayoutPage() - 1);
    const ERowKind nKind = pData->GetRowKind(nRow - 1);
    return IsSummaryKind(nKind) ? EditPageKindOf(nKind) : nKind;
}

LOGFONT FontForKind(std::optional<ERowKind> kind, const LOGFONT& own)
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (!kind || pSettings == nullptr)
        return own;
    CKindStyle style = StyleOfKind(*kind);
    if (style.nFont < 0)
        return own;
    if (style.bNonCalc && pSettings->m_lfRowFont[CMorvelSettings::fontNonCalc].lfHeight == 0)
        return pSettings->m_lfRowFont[CMorvelSettings::fontDetail];
    return pSettings->m_lfRowFont[style.nFont];
}

COLORREF ColorForKind(std::optional<ERowKind> kind, COLORREF own)
{
    if (!kind)
        return own;
    CKindStyle style = StyleOfKind(*kind);
    if (style.pColor == nullptr)
        return own;
    if (style.bNonCalc) {
        const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
        CString text =
            pSettings ? pSettings->GetProfileString("Color Setting", "Non Calc Text", "") : CString();
        if (text.IsEmpty())
            return ColorSetting("Detail Text").value_or(own);
    }
    return ColorSetting(style.pColor).value_or(own);
}

bool IsPartsField(const CString& strText)
{
    return strText.Find("$部材("_sj) == 0 && strText.Find(")$") >= 0;
}

LOGFONT PartsFont(const CString& strText, const LOGFONT& own)
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (!IsPartsField(strText) || pSettings == nullptr)
        return own;
    return pSettings->m_lfRowFont[CMorvelSettings::fontPart];
}

COLORREF PartsColor(const CString& strText, COLORREF own)
{
    return IsPartsField(strText) ? ColorSetting("Part Text").value_or(own) : own;
}

// The alignment a text's field gives: 0 for a field of a "文字" item, 2 for any other item,
// nOwn when the text names no item of the form.
template <class Form>
int AlignFromField(const CString& strText, const char* lpszOpening, const Form* pForm, int nOwn)
{
    if (pForm == nullptr || strText.Find(CString(lpszOpening)) != 0 || strText.Find(")$") < 0)
        return nOwn;
    int nFirst = strText.Find(',');
    int nLast = strText.ReverseFind(',');
    if (nFirst < 0 || nLast < 0 || nFirst >= nLast)
        return nOwn;
    CString item = strText.Mid(nFirst + 1, nLast - nFirst - 1);
    for (int i = 0; i < pForm->GetCount(); ++i) {
        if (pForm->GetItem(i, 0) == item)
            return pForm->GetItem(i, 1) == "文字"_sj ? CTextAttributes::alignLeft
                                                     : CTextAttributes::alignRight;
    }
    return nOwn;
}

const CEstimationFormFile* EstimationFormOf(const CDrawingDoc* pDoc)
{
    return pDoc ? pDoc->GetEstimationForm() : nullptr;
}

const CPartFormFile* PartsFormOf(const CDrawingDoc* pDoc)
{
    return pDoc ? pDoc->GetPartsForm() : nullptr;
}

} // namespace

// ---- Text objects ------------------------------------------------------------------------

CString CDrawText::ExpandMacrosEM(const CEstimateFieldData* pData) const
{
    return ExpandFieldTokens(m_strText, {this, false, m_pDocument, pData, nullptr});
}

CString CDrawText::ExpandMacrosPM(const CPartsFieldData* pData) const
{
    return ExpandFieldTokens(m_strText, {this, false, m_pDocument, nullptr, pData});
}

CString CDrawText::GetFieldDisplayText(const CString& strText) const
{
    return FieldDisplayText(strText, m_pDocument);
}

LOGFONT CDrawText::GetFieldFontEM(const CEstimateFieldData* pData) const
{
    return FontForKind(KindOfEstimateField(m_strText, m_pDocument, pData), m_logFont);
}

COLORREF CDrawText::GetFieldColorEM(const CEstimateFieldData* pData) const
{
    return ColorForKind(KindOfEstimateField(m_strText, m_pDocument, pData), m_clrText);
}

LOGFONT CDrawText::GetFieldFontPM(const CPartsFieldData*) const
{
    return PartsFont(m_strText, m_logFont);
}

COLORREF CDrawText::GetFieldColorPM(const CPartsFieldData*) const
{
    return PartsColor(m_strText, m_clrText);
}

int CDrawText::AlignFromEstimateField() const
{
    return AlignFromField(m_strText, "$見積("_sj, EstimationFormOf(m_pDocument), m_nAlign);
}

int CDrawText::AlignFromPartsField() const
{
    return AlignFromField(m_strText, "$部材("_sj, PartsFormOf(m_pDocument), m_nAlign);
}

// ---- Table cells -------------------------------------------------------------------------

CString CDrawTable::ExpandMacrosEM(const CDrawCell* pCell, const CEstimateFieldData* pData) const
{
    return ExpandFieldTokens(pCell->m_strText, {pCell, true, m_pDocument, pData, nullptr});
}

CString CDrawTable::ExpandMacrosPM(const CDrawCell* pCell, const CPartsFieldData* pData) const
{
    return ExpandFieldTokens(pCell->m_strText, {pCell, true, m_pDocument, nullptr, pData});
}

CString CDrawTable::GetFieldDisplayText(const CString& strText) const
{
    return FieldDisplayText(strText, m_pDocument);
}

LOGFONT CDrawTable::GetCellFieldFontEM(const CDrawCell* pCell, const CEstimateFieldData* pData) const
{
    return FontForKind(KindOfEstimateField(pCell->m_strText, m_pDocument, pData), pCell->m_logFont);
}

COLORREF CDrawTable::GetCellFieldColorEM(const CDrawCell* pCell, const CEstimateFieldData* pData) const
{
    return ColorForKind(KindOfEstimateField(pCell->m_strText, m_pDocument, pData), pCell->m_clrText);
}

LOGFONT CDrawTable::GetCellFieldFontPM(const CDrawCell* pCell, const CPartsFieldData*) const
{
    return PartsFont(pCell->m_strText, pCell->m_logFont);
}

COLORREF CDrawTable::GetCellFieldColorPM(const CDrawCell* pCell, const CPartsFieldData*) const
{
    return PartsColor(pCell->m_strText, pCell->m_clrText);
}

int CDrawTable::CellAlignFromEstimateField(const CDrawCell* pCell) const
{
    return AlignFromField(pCell->m_strText, "$見積("_sj, EstimationFormOf(m_pDocument), pCell->m_nAlign);
}

int CDrawTable::CellAlignFromPartsField(const CDrawCell* pCell) const
{
    return AlignFromField(pCell->m_strText, "$部材("_sj, PartsFormOf(m_pDocument), pCell->m_nAlign);
}
