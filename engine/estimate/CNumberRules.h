// The rules by which the numbers of an estimate are kept as cell texts: the number test,
// the normal form of a stored number ("%f": six decimals, no separators), rounding by a
// column's rounding rule ("U(-1)", "D(2)", "F(-3)"), formatting by a number
// picture ("###,###", "#,###.##") and the arithmetic of row formulas. The estimate, the
// parts grid and the information sheet all read and write their numbers by these rules.
//
// Rounding and formatting work on the decimal digits of a value (CDecimal), so that 1.15
// rounds half up to 1.2 and 3495.49 cut to hundredths stays 3495.49, as they are written.
#pragma once

#include "engine/estimate/CDecimal.h"
#include "platform/base/CString.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class CNumberRules {
public:
    // A rounding rule taken apart: whether it rounds at all, how, and the power
    // of ten whose multiples it keeps (U(-1) keeps whole units: position 0).
    struct CRoundSpec {
        bool bActive = false;
        CDecimal::RoundMode mode = CDecimal::roundHalfUp;
        int nPosition = 0;
    };
    // A number picture taken apart: the decimals it prints and, read from its right end,
    // the places where a group separator goes (',' in marks; other places are '#').
    struct CPicture {
        int nDecimals = 0;
        bool bSeparators = false;
        std::string marks;
    };

    // Values closer to zero than this count as zero: they are never rounded.
    static constexpr double ZERO_TOLERANCE = 1e-10;

    // The one reading of a number, however its text comes into a number cell: typed,
    // pasted, replaced, read from a CSV file or another estimate, set on a setup sheet or
    // the information sheet, or typed into a dialog's number field (the exchange reads
    // through the same ReadTypedNumberText, platform/base/TypedNumber.h, which states the
    // rules). "１２５．５", "10,000円", "▲5,000" and "1,250.50" are numbers; "1,1,250.50",
    // "1e3", "1abc56", "5-3" and "-" are words. Returns true and sets plain to the number
    // in ASCII without separators or marks ("10000", "-5000", "12.50"); any other text
    // returns false and leaves plain alone.
    static bool ReadTypedNumber(const char* lpszText, std::string& plain);
    static bool ReadTypedNumber(const char* lpszText, CDecimal& value);
    // TRUE for a text that ReadTypedNumber reads and that holds nothing but ASCII digits,
    // blanks and ". - + ,": the number test of a cell's stored text, which the stored-text
    // readers (totals, formulas, print) read as they stand.
    static bool IsNumberText(const char* lpszText);
    // The value of a number text (ReadTypedNumber); 0 for a text that is no number.
    static CDecimal ReadNumberText(const char* lpszText);
    // The normal form of a number text (ReadTypedNumber): its value printed as "%f" does.
    static CString NormalizeNumber(const char* lpszText);
    // What a number column keeps of the user's input (typed or replaced into it) once the
    // column's store has taken it as strStored: a text made only of full-width digits and
    // signs in ASCII (ToHalfWidthNumber), and a number rounded by the column's rounding rule
    // in its normal form, on every row (the free row too). Both grids store input so.
    static CString InputTextKept(const CString& strStored, const CRoundSpec& spec);

    // Reads a text as a decimal number: leading blanks, a sign, digits and a point;
    // reading stops at the first other character (1,500 reads as 1); no number reads as 0.
    static double ReadNumber(const char* lpszText);
    // The same over [pBegin, pEnd); a NUL byte ends the number as it ends a C text.
    static double ReadNumber(const char* pBegin, const char* pEnd);
    static CDecimal ReadDecimal(const char* lpszText) { return CDecimal::Parse(lpszText); }
    // A number cell's stored text over [pBegin, pEnd) as the totals add it: a number text
    // (IsNumberText) reads as its value, any other text (a word: "1abc56", "1,1,250.50")
    // and the empty text as 0. The plain numbers nearly every cell holds are read at once.
    static double ReadStoredNumber(const char* pBegin, const char* pEnd)
    {
        double value = 0.0;
        if (ReadPlainNumber(pBegin, pEnd, value) || pBegin == pEnd)
            return value;
        return ReadOtherStoredNumber(pBegin, pEnd);
    }
    static double ReadStoredNumber(const std::string& text)
    {
        return ReadStoredNumber(text.data(), text.data() + text.size());
    }
    // ReadStoredNumber for the texts that are no plain number.
    static double ReadOtherStoredNumber(const char* pBegin, const char* pEnd);
    // A plain number text over [pBegin, pEnd): an optional sign, then digits with at most
    // one decimal point and at least one digit, nothing else (no blanks, no separators).
    // Sets value as ReadNumber reads the text; false for any other text.
    static bool ReadPlainNumber(const char* pBegin, const char* pEnd, double& value)
    {
        return ReadNormalForm(pBegin, pEnd, value) || ReadOtherPlainNumber(pBegin, pEnd, value);
    }
    // ReadPlainNumber for a text in the normal form ("123.450000": an optional sign, one to
    // nine whole digits, a point and six decimals), which most cells hold, in one pass; false,
    // with value unchanged, for any other text. The number of millionths is exact (below
    // 10^15) and so is 10^6, so the one rounding of the division gives the double of the same
    // decimal as the general way.
    static bool ReadNormalForm(const char* pBegin, const char* pEnd, double& value)
    {
        if constexpr (std::endian::native != std::endian::little)
            return false;
        const char* p = pBegin;
        const bool bNegative = p < pEnd && *p == '-';
        if (p < pEnd && (*p == '+' || *p == '-'))
            ++p;
        const size_t nLength = static_cast<size_t>(pEnd - p);
        if (nLength < 8 || nLength > 16 || p[nLength - 7] != '.')
            return false;
        // The six decimals as eight digits ("00" in place of the last whole digit and the
        // point: the first two bytes of the eight, read as a little-endian number), checked
        // and converted eight bytes at a time. The whole digits the same way: the first
        // eight bytes (at most eight whole digits, the point and decimals after them) moved
        // up so that the whole digits end the word, "0"s before them; a ninth whole digit is
        // the last whole digit of the decimals' word.
        auto allDigits = [](uint64_t nWord) {
            return ((nWord & 0xF0F0F0F0F0F0F0F0) |
                    (((nWord + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4)) == 0x3333333333333333;
        };
        auto eightDigits = [](uint64_t nWord) {
            nWord -= 0x3030303030303030;
            nWord = nWord * 10 + (nWord >> 8);
            return ((((nWord & 0x000000FF000000FF) * (100 + (uint64_t{1000000} << 32))) +
                     (((nWord >> 16) & 0x000000FF000000FF) * (1 + (uint64_t{10000} << 32)))) >>
                    32) &
                   0xFFFFFFFF;
        };
        uint64_t nLast = 0;
        std::memcpy(&nLast, pEnd - 8, sizeof nLast);
        const uint64_t nChunk = (nLast & ~uint64_t{0xFFFF}) | 0x3030;
        const size_t nWholeDigits = nLength - 7; // 1 to 9
        uint64_t nFirst = 0;
        std::memcpy(&nFirst, p, sizeof nFirst);
        uint64_t nWholeWord = nFirst;
        if (nWholeDigits <= 8) {
            const unsigned nShift = static_cast<unsigned>(8 - nWholeDigits) * 8;
            nWholeWord = (nFirst << nShift) | (uint64_t{0x3030303030303030} & ((uint64_t{1} << nShift) - 1));
        }
        const unsigned nNinth = static_cast<unsigned char>(static_cast<char>(nLast & 0xFF) - '0');
        if (!allDigits(nChunk) || !allDigits(nWholeWord) || (nWholeDigits > 8 && nNinth > 9))
            return false;
        uint64_t nWhole = eightDigits(nWholeWord);
        if (nWholeDigits > 8)
            nWhole = nWhole * 10 + nNinth;
        const double number = static_cast<double>(nWhole * 1000000 + eightDigits(nChunk)) / 1e6;
        value = bNegative ? -number : number;
        return true;
    }
    // ReadPlainNumber for the texts ReadNormalForm leaves.
    static bool ReadOtherPlainNumber(const char* pBegin, const char* pEnd, double& value);

    // The normal form of a value: "%f" of its 15 significant digits ("-0.000000" never
    // appears: a value that prints as zero is "0.000000").
    static CString FormatNormal(double value);
    static CString FormatNormal(const CDecimal& value);
    // The normal form of CDecimal::FromDouble(value) rounded half up to six decimals, by
    // the rounding rule (when it is active) and then half up to nDecimals decimals, worked out in whole
    // numbers without a decimal string: the same text as the CDecimal way, byte for byte. stored receives the
    // value the text reads as (ReadNumber). Returns false, leaving both unspecified, for a value outside
    // CDecimal::FindSignificantForm's range (1e-6 to 1e15 in magnitude, or zero): the caller then takes the
    // CDecimal way.
    static bool FormatRoundedNormal(double value, const CRoundSpec& spec, int nDecimals, std::string& text,
                                    double& stored);

    // Rounding by its rule. The letter U (up), D (down) or F (half up) is looked for
    // in that order anywhere in the text, in either case; n is the whole number between the
    // first "(" and the next ")". A positive n keeps multiples of 10^n, a negative n rounds
    // away the |n|-th decimal. n = 0, no letter or no parentheses: no rounding. Rounding
    // works on the magnitude; values within ZERO_TOLERANCE of zero are left alone.
    static CRoundSpec ParseRoundSpec(const char* lpszSpec);
    static double RoundBySpec(double value, const char* lpszSpec);
    static void RoundBySpec(CDecimal& value, const CRoundSpec& spec);

    // Splits a value (0 or more) into its integer part and its fraction: value + 1e-11
    // written with ten decimals, so that 2.99999999995 gives 3 and 0.
    static double SplitFraction(double value, double& integerPart);

    // Formatting by a number picture: the decimals after the picture's ".", group
    // separators where the picture has them (the grouping before the first "," repeats for
    // long numbers), a leading "-" for a negative value (also when it prints as 0).
    static CPicture ParsePicture(const char* lpszPicture);
    static CString FormatByPicture(double value, const char* lpszPicture, bool bSeparators);
    static CString FormatByPicture(const CDecimal& value, const CPicture& picture, bool bSeparators);

    // Formula arithmetic over numbers, "+ - * /" and parentheses, "*" and "/" before "+"
    // and "-", left to right. A sign may lead any operand (5*-3, 5--3). An empty operand
    // counts as 1e-11 in a product and 0 in a sum; dividing by a divisor within
    // ZERO_TOLERANCE of zero drops the term a/b. A malformed formula never fails: an
    // unreadable operand reads as 0, an unmatched "(" closes at the end and a stray ")" is
    // passed over. Returns FALSE when nothing is left (the whole formula was such a term,
    // or it was empty), else true and the value. Parentheses nested deeper than
    // MAX_FORMULA_DEPTH make the whole formula malformed: it yields no number (false).
    static constexpr int MAX_FORMULA_DEPTH = 100;
    static bool EvaluateExpression(const char* lpszText, double& result);
    static bool EvaluateExpression(const char* pBegin, const char* pEnd, double& result);
    // The same as a text: the result in normal form, an empty text when nothing is left, and
    // a text that holds no operator and no parenthesis unchanged (a plain value or word).
    static CString EvaluateFormula(const char* lpszText);

    // Row formulas compiled once: the formula text between column references (segments,
    // one more than the references) with each reference made a slot that takes a value
    // when the formula is evaluated, instead of the cell's text being put in its place and
    // read again. Evaluating the compiled formula with the values of plain number texts
    // (ReadPlainNumber) gives what EvaluateExpression gives for the formula with those
    // texts put in, bit for bit. Only formulas of references, numbers, blanks, "+ - * /"
    // and parentheses compile, with every reference standing alone as an operand (after
    // the start, an operator or "(", and not followed by a digit or a point); for any
    // other CompileFormula returns false.
    static bool CompileFormula(const std::vector<std::string>& segments, std::string& compiled);
    // Slots are taken from pValues in reference order.
    static bool EvaluateCompiled(const std::string& compiled, const double* pValues, double& result);
};
