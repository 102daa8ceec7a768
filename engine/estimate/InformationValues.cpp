#include "engine/estimate/InformationValues.h"

#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CNumberRules.h"
#include "platform/base/Cp932.h"

#include <algorithm>

namespace InformationValues {

namespace {

const CString& Attribute(const IInformationForm& form, int nItem)
{
    return form.GetItemText(nItem, IInformationForm::textAttribute);
}

CString Prefix(const IInformationForm& form, int nItem)
{
    const CString& e = form.GetItemText(nItem, IInformationForm::textE);
    if (e == "2")
        return CString("\\");
    if (e == "3")
        return CString("***");
    return CString();
}

CString Formatted(const IInformationForm& form, int nItem, const CString& value, bool bSeparators)
{
    return CNumberRules::FormatByPicture(RoundedNumber(form, nItem, value),
                                         form.GetItemText(nItem, IInformationForm::textPicture), bSeparators);
}

bool IsNumberValue(const CString& value)
{
    CString plain;
    return ReadTypedNumber(value, plain);
}

// A "数値" item keeps a text that is not a number as it is.
bool ShownAsTyped(const IInformationForm& form, int nItem, const CString& value)
{
    return !IsNumericItem(form, nItem) || (Attribute(form, nItem) == "数値"_sj && !IsNumberValue(value));
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

bool ReadTypedNumber(const CString& text, CString& plain)
{
    std::string number;
    if (!CNumberRules::ReadTypedNumber(text, number))
        return false;
    plain = CString(number.c_str());
    return true;
}

double ReadValue(const CString& value)
{
    CString plain;
    return ReadTypedNumber(value, plain) ? CNumberRules::ReadNumberText(plain).ToDouble() : 0.0;
}

double RoundedNumber(const IInformationForm& form, int nItem, const CString& value)
{
    const double number = ReadValue(value);
    const CString& spec = form.GetItemText(nItem, IInformationForm::textRounding);
    return spec.IsEmpty() ? number : RoundSigned(number, spec);
}

bool IsNumericItem(const IInformationForm& form, int nItem)
{
    return Attribute(form, nItem) != "文字"_sj;
}

CString DisplayText(const IInformationForm& form, int nItem, const CString& value, bool bPrefix)
{
    if (ShownAsTyped(form, nItem, value))
        return value;
    const CString text = Formatted(form, nItem, value, true);
    return bPrefix ? Prefix(form, nItem) + text : text;
}

CString EditText(const IInformationForm& form, int nItem, const CString& value)
{
    if (ShownAsTyped(form, nItem, value))
        return value;
    return Prefix(form, nItem) + Formatted(form, nItem, value, false);
}

CString StripPrefix(const IInformationForm& form, int nItem, const CString& text)
{
    if (!IsNumericItem(form, nItem))
        return text;
    const CString& e = form.GetItemText(nItem, IInformationForm::textE);
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

void FillAmounts(const IInformationForm& form, Values& values, const CString& strTotal, const CString& strTax,
                 const CString& strNet)
{
    const int nItems = std::min(form.GetItemCount(), MAX_ITEMS);
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

CAmounts WorkOutAmounts(const CEstimateEngine& engine)
{
    CAmounts amounts;
    // The tax is the first free row's amount; the total counts the free rows in.
    const int nAmountCol = engine.Columns().FindAmountColumn();
    const int nUsedRows = engine.GetUsedRows();
    for (int r = 0; r < nUsedRows; ++r) {
        if (engine.EditKind(r) == kindFree) {
            if (nAmountCol >= 0)
                amounts.strTax = engine.EditCell(r, nAmountCol);
            break;
        }
    }
    const double total = nAmountCol >= 0 ? engine.SumEstimateAmount(nAmountCol, false) : 0.0;
    amounts.strTotal = CNumberRules::FormatNormal(total);
    amounts.strNet = CNumberRules::FormatNormal(total - CNumberRules::ReadNumber(amounts.strTax));
    return amounts;
}

void WorkOutForOutput(const IInformationForm& form, Values& values, const CEstimateEngine& engine)
{
    const CAmounts amounts = WorkOutAmounts(engine);
    FillAmounts(form, values, amounts.strTotal, amounts.strTax, amounts.strNet);
    Recalculate(form, values);
}

void Recalculate(const IInformationForm& form, Values& values)
{
    const int nItems = std::min(form.GetItemCount(), MAX_ITEMS);
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
        CString formula = form.GetItemText(i, IInformationForm::textFormula);
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
