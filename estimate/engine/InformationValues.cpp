#include "estimate/engine/InformationValues.h"

#include "estimate/engine/CEstimateEngine.h"
#include "estimate/engine/CNumberRules.h"
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

namespace {

// The characters of a typed number, ASCII or their full-width forms in code page 932.
enum class Mark { none, digit, separator, point, plus, minus, yen, en, blank };

// The mark at p (a digit's value in nDigit) and the bytes it takes.
Mark MarkAt(const unsigned char* p, const unsigned char* pEnd, int& nDigit, int& nBytes)
{
    nBytes = 1;
    const unsigned c = p[0];
    if (c >= '0' && c <= '9') {
        nDigit = static_cast<int>(c - '0');
        return Mark::digit;
    }
    switch (c) {
    case ',':
        return Mark::separator;
    case '.':
        return Mark::point;
    case '+':
        return Mark::plus;
    case '-':
        return Mark::minus;
    case '\\':
        return Mark::yen;
    case ' ':
    case '\t':
        return Mark::blank;
    default:
        break;
    }
    if (!IsCp932LeadByte(static_cast<BYTE>(c)) || p + 1 >= pEnd)
        return Mark::none;
    nBytes = 2;
    const unsigned code = c << 8 | p[1];
    if (code >= 0x824F && code <= 0x8258) { // "０" to "９"
        nDigit = static_cast<int>(code - 0x824F);
        return Mark::digit;
    }
    switch (code) {
    case 0x8143: // "，"
        return Mark::separator;
    case 0x8144: // "．"
        return Mark::point;
    case 0x817B: // "＋"
        return Mark::plus;
    case 0x817C: // "－"
    case 0x81A2: // "△" and "▲": the minus of Japanese accounts, and of the paper's amounts
    case 0x81A3:
        return Mark::minus;
    case 0x818F: // "￥"
        return Mark::yen;
    case 0x897E: // "円"
        return Mark::en;
    case 0x8140: // the full-width blank
        return Mark::blank;
    default:
        return Mark::none;
    }
}

} // namespace

bool ReadTypedNumber(const CString& text, CString& plain)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.c_str());
    const unsigned char* const pEnd = p + text.GetLength();
    // What may come next, in the order a number is written: blanks, sign and yen mark (in
    // either order, each once) before the digits, "円" and blanks after them.
    enum { lead, digits, fraction, tail } part = lead;
    bool bSign = false, bYen = false, bNegative = false;
    bool bDigitBefore = false; // the last mark was a digit: a separator may follow
    bool bAnyDigit = false;
    std::string number;
    while (p < pEnd) {
        int nDigit = 0, nBytes = 1;
        const Mark mark = MarkAt(p, pEnd, nDigit, nBytes);
        p += nBytes;
        switch (mark) {
        case Mark::blank:
            if (part == digits || part == fraction)
                part = tail;
            bDigitBefore = false;
            continue;
        case Mark::plus:
        case Mark::minus:
            if (part != lead || bSign)
                return false;
            bSign = true;
            bNegative = mark == Mark::minus;
            continue;
        case Mark::yen:
            if (part != lead || bYen)
                return false;
            bYen = true;
            continue;
        case Mark::digit:
            if (part == lead)
                part = digits;
            else if (part == tail)
                return false;
            number += static_cast<char>('0' + nDigit);
            bDigitBefore = bAnyDigit = true;
            continue;
        case Mark::separator:
            // Between two digits of the whole part only.
            if (part != digits || !bDigitBefore || p >= pEnd)
                return false;
            {
                int nNext = 0, nNextBytes = 1;
                if (MarkAt(p, pEnd, nNext, nNextBytes) != Mark::digit)
                    return false;
            }
            bDigitBefore = false;
            continue;
        case Mark::point:
            if (part != lead && part != digits)
                return false;
            part = fraction;
            number += '.';
            bDigitBefore = false;
            continue;
        case Mark::en:
            if (part != digits && part != fraction && part != tail)
                return false;
            part = tail;
            // Nothing but blanks after "円".
            while (p < pEnd) {
                int nIgnored = 0, nBlankBytes = 1;
                if (MarkAt(p, pEnd, nIgnored, nBlankBytes) != Mark::blank)
                    return false;
                p += nBlankBytes;
            }
            continue;
        case Mark::none:
            return false;
        }
    }
    if (!bAnyDigit)
        return false;
    if (number.back() == '.')
        number.pop_back();
    plain = CString(((bNegative ? "-" : "") + number).c_str());
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
