#include "estimate/InformationValues.h"

#include "estimate/engine/CNumberRules.h"
#include "platform/base/Cp932.h"

#include <algorithm>

namespace InformationValues {

namespace {

const CString& Attribute(const CInformationFormFile& form, int nItem)
{
    return form.GetItem(nItem, CInformationFormFile::colAttribute);
}

CString Prefix(const CInformationFormFile& form, int nItem)
{
    const CString& e = form.GetItem(nItem, CInformationFormFile::colE);
    if (e == "2")
        return CString("\\");
    if (e == "3")
        return CString("***");
    return CString();
}

CString Formatted(const CInformationFormFile& form, int nItem, const CString& value, bool bSeparators)
{
    return CNumberRules::FormatByPicture(RoundedNumber(form, nItem, value),
                                         form.GetItem(nItem, CInformationFormFile::colPicture), bSeparators);
}

// A "数値" item keeps a text that is not a number as it is.
bool ShownAsTyped(const CInformationFormFile& form, int nItem, const CString& value)
{
    return !IsNumericItem(form, nItem) ||
           (Attribute(form, nItem) == "数値"_sj && !CNumberRules::IsNumberText(value));
}

} // namespace

// The sheet rounds on the signed value, where the estimate's cells round the magnitude. It
// takes the multiple of the unit toward zero and moves it up by one unit when the value
// lies above it ("U") or at least half a unit above it ("F"). A negative value never lies
// above that multiple, so every letter cuts it toward zero: "U(-1)" makes -1.5 -1, "F(-1)"
// makes -1.5 and -1.6 -1, as "D(-1)" does.
double RoundSigned(double value, const char* lpszSpec)
{
    if (value > -CNumberRules::ZERO_TOLERANCE && value < CNumberRules::ZERO_TOLERANCE)
        return value;
    CNumberRules::CRoundSpec spec = CNumberRules::ParseRoundSpec(lpszSpec);
    if (!spec.bActive)
        return value;
    if (value < 0)
        spec.mode = CDecimal::roundDown;
    CDecimal number = CDecimal::FromDouble(value);
    CNumberRules::RoundBySpec(number, spec);
    return number.ToDouble();
}

double ReadValue(const CString& value)
{
    return CNumberRules::IsNumberText(value) ? CNumberRules::ReadNumberText(value).ToDouble()
                                             : CNumberRules::ReadNumber(value);
}

double RoundedNumber(const CInformationFormFile& form, int nItem, const CString& value)
{
    const double number = ReadValue(value);
    const CString& spec = form.GetItem(nItem, CInformationFormFile::colRounding);
    return spec.IsEmpty() ? number : RoundSigned(number, spec);
}

bool IsNumericItem(const CInformationFormFile& form, int nItem)
{
    return Attribute(form, nItem) != "文字"_sj;
}

CString DisplayText(const CInformationFormFile& form, int nItem, const CString& value, bool bPrefix)
{
    if (ShownAsTyped(form, nItem, value))
        return value;
    const CString text = Formatted(form, nItem, value, true);
    return bPrefix ? Prefix(form, nItem) + text : text;
}

CString EditText(const CInformationFormFile& form, int nItem, const CString& value)
{
    if (ShownAsTyped(form, nItem, value))
        return value;
    return Prefix(form, nItem) + Formatted(form, nItem, value, false);
}

CString StripPrefix(const CInformationFormFile& form, int nItem, const CString& text)
{
    if (!IsNumericItem(form, nItem))
        return text;
    const CString& e = form.GetItem(nItem, CInformationFormFile::colE);
    char cMark = 0;
    if (e == "2")
        cMark = '\\';
    else if (e == "3")
        cMark = '*';
    if (cMark == 0)
        return text;
    // The last mark that is a character of its own, not the second byte of a double-byte
    // character (0x5C is one in code page 932).
    int nAfter = -1;
    const int nLen = text.GetLength();
    for (int i = 0; i < nLen;) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsCp932LeadByte(c) && i + 1 < nLen) {
            i += 2;
            continue;
        }
        if (c == static_cast<unsigned char>(cMark))
            nAfter = i + 1;
        ++i;
    }
    return nAfter < 0 ? text : text.Mid(nAfter);
}

void FillAmounts(const CInformationFormFile& form, Values& values, const CString& strTotal,
                 const CString& strTax, const CString& strNet)
{
    const int nItems = std::min(form.GetCount(), MAX_ITEMS);
    for (int i = 0; i < nItems; ++i) {
        const CString& attribute = Attribute(form, i);
        if (attribute == "税込見積"_sj)
            values[static_cast<size_t>(i)] = strTotal;
        else if (attribute == "消費税"_sj)
            values[static_cast<size_t>(i)] = strTax;
        else if (attribute == "税抜見積"_sj)
            values[static_cast<size_t>(i)] = strNet;
    }
}

void Recalculate(const CInformationFormFile& form, Values& values)
{
    const int nItems = std::min(form.GetCount(), MAX_ITEMS);
    auto reference = [&](int nItem) -> CString {
        if (nItem < 0 || nItem >= nItems)
            return CString("0.000000");
        CString text;
        text.Format("%f", RoundedNumber(form, nItem, values[static_cast<size_t>(nItem)]));
        return text;
    };
    for (int i = 0; i < nItems; ++i) {
        if (Attribute(form, i) != "計算"_sj)
            continue;
        CString formula = form.GetItem(i, CInformationFormFile::colFormula);
        formula.MakeUpper();
        CString expression;
        const int nLen = formula.GetLength();
        for (int k = 0; k < nLen; ++k) {
            const auto c = static_cast<unsigned char>(formula[k]);
            if (IsCp932LeadByte(c) && k + 1 < nLen) {
                expression += formula.Mid(k, 2);
                ++k;
            } else if (c < 'A' || c > 'Z') {
                expression += static_cast<char>(c);
            } else if (k + 1 < nLen && formula[k + 1] >= 'A' && formula[k + 1] <= 'Z') {
                expression += reference((c - 64) * 26 + (formula[k + 1] - 65));
                ++k;
            } else {
                expression += reference(c - 65);
            }
        }
        double result = 0;
        CString text;
        if (CNumberRules::EvaluateExpression(expression, result))
            text.Format("%f", result);
        else
            text = "0.000000";
        values[static_cast<size_t>(i)] = text;
    }
}

} // namespace InformationValues
