#include "layout/drawing/FieldTokens.h"

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CInformationFormTexts.h"
#include "app/CMorvelSettings.h"
#include "app/CPartFormFile.h"
#include "app/SharedRecords.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/InformationValues.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/DrawingShared.h"

#include <cstdlib>

std::optional<CClockReading> CDrawingShared::s_fixedClock;
int CDrawingShared::s_nPlatformMajorVersion = 10;
BOOL CDrawingShared::s_bPrintPreview = FALSE;

namespace {

// Form columns every form has.
enum { colName = 0, colAttribute = 1, colPicture = 3, colRound = 5, colCode = 6 };

const CString kTime = "$時間()$"_sj;
const CString kDate = "$日付()$"_sj;
const CString kPage = "$ﾍﾟｰｼﾞ()$"_sj;
const CString kPageTotal = "$すべてのﾍﾟｰｼﾞ()$"_sj;

const CString& Opening(int n)
{
    static const CString s[4] = {"$番号("_sj, "$情報("_sj, "$見積("_sj, "$部材("_sj};
    return s[n];
}
enum { openNumbering, openInformation, openEstimate, openParts };

bool Contains(const CString& piece, const CString& what)
{
    return piece.Find(what) >= 0;
}

// A piece ends with ")$" when the first ")$" in it is its last two bytes.
bool EndsWell(const CString& piece)
{
    int n = piece.Find(")$");
    return n >= 0 && n == piece.GetLength() - 2;
}

// The arguments of a well-formed piece: without the 6-byte opening and the closing ")$".
CString Arguments(const CString& piece)
{
    return piece.Mid(6, piece.GetLength() - 8);
}

// "name^k" split at the first "^".
void SplitOccurrence(const CString& text, CString& name, int& k)
{
    int n = text.Find('^');
    if (n < 0) {
        name = text;
        k = 0;
    } else {
        name = text.Left(n);
        k = std::atoi(text.Mid(n + 1));
    }
}

// The item of form whose name is name, at occurrence k (from 0); -1 when there is none.
template <class Form>
int FindItem(const Form& form, const CString& name, int k)
{
    int nSeen = 0;
    for (int i = 0; i < form.GetCount(); ++i) {
        if (form.GetItem(i, colName) == name && nSeen++ == k)
            return i;
    }
    return -1;
}

// Numbers near zero count as zero.
double CleanZero(double x)
{
    return (x > -1e-8 && x < 1e-8) ? 0.0 : x;
}

CString FormatNumber(double x, const CString& picture)
{
    return CNumberRules::FormatByPicture(x, picture, TRUE);
}

// The sign step of "Minus": 0 "▲", 1 "△" in front of the number, its "-" becoming a blank.
void ApplySign(CString& text, int nMinus)
{
    if (text.IsEmpty() || text[0] != '-' || (nMinus != 0 && nMinus != 1))
        return;
    text = (nMinus == 0 ? "▲"_sj : "△"_sj) + CString(" ") + text.Mid(1);
}

int FirstRecordValue(const CDrawingDoc* pDoc)
{
    if (pDoc == nullptr || pDoc->GetFieldRefCount() == 0)
        return -1;
    return pDoc->GetFieldRef(0)->m_nValue;
}

// Key and line of a data field's arguments ("group,item^k,line"); FALSE with fewer than
// two commas.
bool SplitDataField(const CString& args, CString& key, int& nLine)
{
    int n1 = args.Find(',');
    if (n1 < 0)
        return false;
    int n2 = args.Find(',', n1 + 1);
    if (n2 < 0)
        return false;
    key = args.Left(n2);
    nLine = std::atoi(args.Mid(n2 + 1));
    return true;
}

class CExpander {
public:
    CExpander(const CFieldExpansion& x) : m_x(x), m_settings(CPrintSettingsView::Current()) {}

    void Piece(const CString& piece, CString& out)
    {
        const CTextAttributes& a = *m_x.pAttributes;
        if (piece == kTime) {
            out += CTimeFormat().Format(a.m_nTimeFormat, FieldClock());
            return;
        }
        if (piece == kDate) {
            out += CDateFormat().Format(a.m_nDateFormat, FieldClock());
            return;
        }
        if (piece == kPage) {
            out += CPageFormat().Format(a.m_nPageFormat, LayoutPage());
            return;
        }
        if (piece == kPageTotal) {
            out += CPageTotalFormat().Format(a.m_nPageTotalFormat, PrintPages());
            return;
        }
        if (Contains(piece, Opening(openNumbering))) {
            if (!EndsWell(piece)) {
                out += piece;
                return;
            }
            int n = std::atoi(Arguments(piece));
            int nValue = FirstRecordValue(m_x.pDocument);
            int nNumber = nValue >= 0 ? n + nValue * (LayoutPage() - 1) : n;
            out += CNumberingFormat().Format(a.m_nNumberingFormat, nNumber);
            return;
        }
        if (m_x.pEstimate != nullptr && Contains(piece, Opening(openInformation))) {
            if (EndsWell(piece))
                out += Information(Arguments(piece));
            else
                out += piece;
            return;
        }
        const CString& data = Opening(m_x.pEstimate != nullptr ? openEstimate : openParts);
        if (Contains(piece, data)) {
            if (EndsWell(piece))
                out +=
                    m_x.pEstimate != nullptr ? EstimateField(Arguments(piece)) : PartsField(Arguments(piece));
            else if (m_x.bCell)
                out += piece;
            return;
        }
        if (m_x.bCell)
            out += piece;
    }

private:
    int LayoutPage() const
    {
        return m_x.pEstimate ? m_x.pEstimate->GetLayoutPage() : m_x.pParts ? m_x.pParts->GetLayoutPage() : 1;
    }
    int PrintPages() const
    {
        return m_x.pEstimate ? m_x.pEstimate->GetPrintPages() : m_x.pParts ? m_x.pParts->GetPrintPages() : 1;
    }

    CString Information(const CString& args) const
    {
        const CInformationFormFile* pForm = m_x.pDocument ? m_x.pDocument->GetInformationForm() : nullptr;
        if (pForm == nullptr)
            return CString();
        CString name;
        int k = 0;
        SplitOccurrence(args, name, k);
        int i = FindItem(*pForm, name, k);
        if (i < 0)
            return CString();
        CString v = m_x.pEstimate->GetInformationValue(i);
        if (pForm->GetItem(i, colAttribute) == "文字"_sj)
            return v;
        CString text;
        if (!v.IsEmpty()) {
            const CInformationFormFile& own = m_x.pEstimate->GetInformationForm();
            bool bOwn = i < own.GetCount();
            // Read and rounded as the information sheet shows it ("10,000" is ten thousand).
            const double x =
                CleanZero(bOwn ? InformationValues::RoundedNumber(CInformationFormTexts(own), i, v)
                               : InformationValues::ReadValue(v));
            if (m_settings.nDataAlign == 1) {
                text = FormatNumber(x, bOwn ? own.GetItem(i, colPicture) : CString());
                CString code = bOwn ? own.GetItem(i, CInformationFormFile::colE) : CString();
                if (code == "2")
                    text = CString("\\") + text;
                else if (code == "3")
                    text = CString("***") + text;
            } else {
                text = FormatNumber(x, CNumberPicture().GetAt(m_x.pAttributes->m_nInformationPicture));
            }
        }
        ApplySign(text, m_settings.nMinus);
        TrimTrailingZeros(text);
        return text;
    }

    // Row index of a data field, or -1 when its key has no record.
    int Row(const CString& key, int nLine) const
    {
        const CFieldRefRecord* pRef = FindFieldRef(m_x.pDocument, key);
        if (pRef == nullptr)
            return -1;
        return (LayoutPage() - 1) * pRef->m_nValue + nLine - 1;
    }

    CString Indent(int nRow, int nCol) const
    {
        if (!m_x.bCell || m_x.pAttributes->m_nAlign != CTextAttributes::alignLeft)
            return CString();
        int b = static_cast<short>(m_x.pEstimate->GetCellIndent(nRow, nCol));
        return b > 0 ? CString(std::string(static_cast<size_t>(b), ' ').c_str()) : CString();
    }

    CString EstimateField(const CString& args) const
    {
        const CEstimationFormFile* pForm = m_x.pDocument ? m_x.pDocument->GetEstimationForm() : nullptr;
        CString key;
        int nLine = 0;
        if (pForm == nullptr || !SplitDataField(args, key, nLine))
            return CString();
        int nRow = Row(key, nLine);
        if (nRow < 0)
            return CString();
        CString name;
        int k = 0;
        SplitOccurrence(key.Mid(key.Find(',') + 1), name, k);
        const CEstimationFormFile& form = *pForm;
        int j = FindItem(form, name, k);
        if (j < 0)
            return CString();
        const CEstimateFieldData& data = *m_x.pEstimate;
        CString code = form.GetItem(j, CEstimationFormFile::colT);
        CString out;
        if (form.GetItem(j, colAttribute) == "文字"_sj) {
            out += Indent(nRow, j);
            out += data.GetSubjectNoText(nRow, j);
            // The unit cell of a heading, a heading's total, a non-calculated classification
            // row and a row carrying 77 stays empty.
            static const ERowKind kHeadings[] = {kindLarge,
                                                 kindMiddle,
                                                 kindSmall,
                                                 kindKind,
                                                 kindLargeTotal,
                                                 kindMiddleTotal,
                                                 kindSmallTotal,
                                                 kindKindTotal,
                                                 NonCalculatedKindOf(kindClassify),
                                                 NonCalculatedKindOf(kindClassify2),
                                                 NonCalculatedKindOf(kindClassify3),
                                                 kindFieldAsKind};
            const ERowKind nKind = data.GetRowKind(nRow);
            bool bHeading = false;
            for (ERowKind h : kHeadings)
                bHeading = bHeading || h == nKind;
            if (!(code == "1" && bHeading))
                out += data.GetCellText(nRow, j);
            return out;
        }
        CString text = data.GetCellText(nRow, j);
        if (CNumberRules::IsNumberText(text)) {
            double x = CleanZero(std::atof(text));
            const CEstimationFormFile& own = data.GetEstimationForm();
            CString picture = m_settings.nDataAlign == 1
                                  ? (j < own.GetCount() ? own.GetItem(j, colPicture) : CString())
                                  : CNumberPicture().GetAt(m_x.pAttributes->m_nEstimatePicture);
            text = FormatNumber(x, picture);
        }
        ApplySign(text, m_settings.nMinus);
        out += Indent(nRow, j);
        out += data.GetSubjectNoText(nRow, j);
        if (code == "3")
            TrimTrailingZeros(text);
        out += text;
        return out;
    }

    CString PartsField(const CString& args) const
    {
        const CPartFormFile* pForm = m_x.pDocument ? m_x.pDocument->GetPartsForm() : nullptr;
        CString key;
        int nLine = 0;
        if (pForm == nullptr || m_x.pParts == nullptr || !SplitDataField(args, key, nLine))
            return CString();
        int nRow = Row(key, nLine);
        if (nRow < 0)
            return CString();
        CString name;
        int k = 0;
        SplitOccurrence(key.Mid(key.Find(',') + 1), name, k);
        int j = FindItem(*pForm, name, k);
        if (j < 0)
            return CString();
        CString text = m_x.pParts->GetCellText(nRow, j);
        if (pForm->GetItem(j, colAttribute) == "文字"_sj)
            return text;
        if (CNumberRules::IsNumberText(text)) {
            double x = std::atof(text);
            if (x > -1e-8 && x < 1e-8) {
                if (!m_x.bCell)
                    return CString();
                x = 0;
            }
            const CPartFormFile& own = m_x.pParts->GetPartsForm();
            CString picture = m_settings.nDataAlign == 1
                                  ? (j < own.GetCount() ? own.GetItem(j, colPicture) : CString())
                                  : CNumberPicture().GetAt(m_x.pAttributes->m_nPartsPicture);
            text = FormatNumber(x, picture);
        }
        ApplySign(text, m_settings.nMinus);
        return text;
    }

    const CFieldExpansion& m_x;
    CPrintSettingsView m_settings;
};

} // namespace

CPrintSettingsView CPrintSettingsView::Current()
{
    CPrintSettingsView v;
    if (const CMorvelSettings* p = CMorvelSettings::GetCurrent()) {
        v.nMinus = p->m_nMinus;
        v.nDataAlign = p->m_nDataAlign;
        v.nSpaceSetting = p->m_nSpaceSetting;
        v.nDataFont = p->m_nDataFont;
        v.nDataColor = p->m_nDataColor;
        v.nPrintColor = p->m_nPrintColor;
    }
    return v;
}

CClockReading FieldClock()
{
    return CDrawingShared::s_fixedClock ? *CDrawingShared::s_fixedClock : CClockReading::Now();
}

void SetFixedFieldClock(const CClockReading* pReading)
{
    if (pReading != nullptr)
        CDrawingShared::s_fixedClock = *pReading;
    else
        CDrawingShared::s_fixedClock.reset();
}

BOOL IsWindowsVersion6()
{
    return CDrawingShared::s_nPlatformMajorVersion == 6;
}

const CFieldRefRecord* FindFieldRef(const CDrawingDoc* pDocument, const CString& strKey)
{
    if (pDocument == nullptr)
        return nullptr;
    for (INT_PTR i = 0; i < pDocument->GetFieldRefCount(); ++i) {
        const CFieldRefRecord* pRef = pDocument->GetFieldRef(i);
        if (pRef->m_strKey == strKey)
            return pRef;
    }
    return nullptr;
}

void TrimTrailingZeros(CString& strNumber)
{
    if (CPrintSettingsView::Current().nSpaceSetting != 0)
        return;
    int nDot = strNumber.Find('.');
    if (nDot < 0)
        return;
    int nEnd = strNumber.GetLength();
    // Only the digits right after the point are trimmed; a suffix after them stays.
    int nDigitsEnd = nDot + 1;
    while (nDigitsEnd < nEnd && strNumber[nDigitsEnd] >= '0' && strNumber[nDigitsEnd] <= '9')
        ++nDigitsEnd;
    int nCut = nDigitsEnd;
    while (nCut > nDot + 1 && strNumber[nCut - 1] == '0')
        --nCut;
    if (nCut == nDot + 1)
        nCut = nDot;
    strNumber = strNumber.Left(nCut) + strNumber.Mid(nDigitsEnd);
}

namespace {

// Walks strText, handing plain text to the output and every piece to onPiece.
template <class OnPiece>
CString Scan(const CString& strText, OnPiece onPiece)
{
    CString out;
    int nStart = 0;
    int nCount = 0;
    const int nLen = strText.GetLength();
    for (int i = 0; i < nLen; ++i) {
        if (strText[i] != '$') {
            if (i == nLen - 1)
                out += strText.Mid(nStart);
            continue;
        }
        if (++nCount == 1) {
            out += strText.Mid(nStart, i - nStart);
            nStart = i;
            if (i == nLen - 1)
                out += strText.Mid(i);
        } else {
            onPiece(strText.Mid(nStart, i - nStart + 1), out);
            nCount = 0;
            nStart = i + 1;
        }
    }
    return out;
}

} // namespace

CString ExpandFieldTokens(const CString& strText, const CFieldExpansion& expansion)
{
    if (expansion.pAttributes == nullptr)
        return strText;
    CExpander expander(expansion);
    return Scan(strText, [&](const CString& piece, CString& out) { expander.Piece(piece, out); });
}

CString FieldDisplayText(const CString& strText, const CDrawingDoc* pDocument)
{
    if (strText.IsEmpty() || strText.Find('^') < 0)
        return strText;
    const bool bEstimate = pDocument != nullptr && pDocument->GetEstimationForm() != nullptr;
    const bool bParts = pDocument != nullptr && pDocument->GetPartsForm() != nullptr;
    return Scan(strText, [&](const CString& piece, CString& out) {
        int nCaret = piece.Find('^');
        if (nCaret < 0 || !EndsWell(piece)) {
            out += piece;
            return;
        }
        if (bEstimate && Contains(piece, Opening(openInformation))) {
            out += piece.Left(nCaret) + ")$";
            return;
        }
        if ((bEstimate && Contains(piece, Opening(openEstimate))) ||
            (bParts && Contains(piece, Opening(openParts)))) {
            CString shown = piece.Left(nCaret);
            int nLastComma = piece.ReverseFind(',');
            if (nLastComma > nCaret)
                shown += piece.Mid(nLastComma);
            out += shown;
            return;
        }
        out += piece;
    });
}
