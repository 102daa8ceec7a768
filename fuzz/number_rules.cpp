// Rounding rules, number pictures and row formulas: texts that come from form
// files and cells. The input is up to four lines: a number text, a rounding rule,
// a number picture and a formula; the whole input is also tried as a formula. What an
// estimator relies on:
// - nothing crashes or hangs, whatever the text (a formula of any depth included);
// - rounding is stable: a rounded value rounds to itself again;
// - a number text's normal form is a number text with the same normal form;
// - a number as an estimator writes it ("10,000円") reads as a plain number text that
//   reads as itself;
// - a value printed by a picture reads back as the value within the picture's decimals
//   where the picture groups its digits as an estimator writes them (separators only in
//   the whole part, between groups of three or of four after a first group of one to that
//   many); printed with any other grouping ("1,234,5678", "12,,345", "1.2,3") it is a word
//   and reads as 0, as typed;
// - a formula either yields no number (an empty text) or a number in normal form.
#include "engine/estimate/CDecimal.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/InformationValues.h"
#include "fuzz/support/FuzzSupport.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitLines(const uint8_t* data, size_t size, size_t nMax)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' && lines.size() < nMax)
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    lines.resize(nMax);
    return lines;
}

// Whether a text of digits, "," and "." after an optional "-" (what a picture prints) has its
// separators where a number as an estimator writes it may have them. Said here apart from
// the reader, group by group, so that the reader is held to it.
bool GroupedAsWritten(const std::string& text)
{
    const size_t nStart = !text.empty() && text[0] == '-' ? 1 : 0;
    const size_t nPoint = text.find('.', nStart);
    if (nPoint != std::string::npos && text.find(',', nPoint) != std::string::npos)
        return false;
    const std::string whole =
        text.substr(nStart, nPoint == std::string::npos ? std::string::npos : nPoint - nStart);
    std::vector<size_t> groups(1, 0);
    for (char ch : whole) {
        if (ch == ',')
            groups.push_back(0);
        else
            ++groups.back();
    }
    if (groups.size() == 1)
        return true;
    const size_t nSize = groups[1];
    if ((nSize != 3 && nSize != 4) || groups[0] == 0 || groups[0] > nSize)
        return false;
    for (size_t i = 2; i < groups.size(); ++i) {
        if (groups[i] != nSize)
            return false;
    }
    return true;
}

void CheckFormula(const std::string& formula)
{
    const CString result = CNumberRules::EvaluateFormula(formula.c_str());
    double value = 0.0;
    const BOOL bValue =
        CNumberRules::EvaluateExpression(formula.data(), formula.data() + formula.size(), value);
    (void)bValue;
    if (result.IsEmpty() || result == CString(formula.c_str()))
        return;
    // A computed result is a number in normal form: it normalises to itself.
    FUZZ_CHECK(CNumberRules::IsNumberText(result));
    FUZZ_CHECK(CNumberRules::NormalizeNumber(result) == result);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0; // a cell holds far less; larger inputs only slow the search
    const std::vector<std::string> lines = SplitLines(data, size, 4);
    const std::string& number = lines[0];
    const std::string& spec = lines[1];
    const std::string& picture = lines[2];

    // Number texts and their normal form.
    if (CNumberRules::IsNumberText(number.c_str())) {
        const CString normal = CNumberRules::NormalizeNumber(number.c_str());
        FUZZ_CHECK(CNumberRules::IsNumberText(normal));
        FUZZ_CHECK(CNumberRules::NormalizeNumber(normal) == normal);
    }
    CString typed;
    if (InformationValues::ReadTypedNumber(CString(number.c_str()), typed)) {
        FUZZ_CHECK(CNumberRules::IsNumberText(typed));
        CString again;
        FUZZ_CHECK(InformationValues::ReadTypedNumber(typed, again) && again == typed);
    }
    const CDecimal value = CNumberRules::ReadDecimal(number.c_str());
    (void)CNumberRules::ReadNumber(number.c_str());

    // Rounding is idempotent.
    const CNumberRules::CRoundSpec round = CNumberRules::ParseRoundSpec(spec.c_str());
    CDecimal rounded = value;
    CNumberRules::RoundBySpec(rounded, round);
    CDecimal twice = rounded;
    CNumberRules::RoundBySpec(twice, round);
    FUZZ_CHECK(twice == rounded);
    const double roundedDouble = CNumberRules::RoundBySpec(value.ToDouble(), spec.c_str());
    (void)roundedDouble;

    // A value printed by a picture reads back within half its last decimal, grouped as a
    // number is written; grouped otherwise, the printed text is a word. Values of the size
    // an estimate holds (below 10^12) are checked; larger ones must not crash.
    const CNumberRules::CPicture parsed = CNumberRules::ParsePicture(picture.c_str());
    const CString printed = CNumberRules::FormatByPicture(value, parsed, TRUE);
    const CString plain = CNumberRules::FormatByPicture(value, parsed, FALSE);
    (void)CNumberRules::FormatByPicture(value.ToDouble(), picture.c_str(), TRUE);
    if (value.IsBelowPowerOfTen(12) && parsed.nDecimals <= 12) {
        const double back = CNumberRules::ReadNumberText(printed).ToDouble();
        const double plainBack = CNumberRules::ReadNumber(plain);
        // Half the last decimal, plus what the doubles compared here lose at this size: a
        // half rounded up at 10^11 reads back a few ulps beyond the half.
        const double tolerance =
            0.5 * std::pow(10.0, -parsed.nDecimals) + 1e-6 + 8 * DBL_EPSILON * std::fabs(value.ToDouble());
        if (GroupedAsWritten(printed.str())) {
            FUZZ_CHECK(std::fabs(back - value.ToDouble()) <= tolerance);
        } else {
            FUZZ_CHECK(!CNumberRules::IsNumberText(printed));
            FUZZ_CHECK(back == 0.0);
        }
        FUZZ_CHECK(std::fabs(plainBack - value.ToDouble()) <= tolerance);
    }

    // Formulas: the fourth line, and the whole input.
    CheckFormula(lines[3]);
    CheckFormula(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
