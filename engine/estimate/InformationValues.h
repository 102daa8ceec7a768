// The value rules of an estimate's information sheet (情報): how a value reads as a number,
// how it is rounded, shown and typed, and how the amount items and the computed ("計算")
// items get their values. The sheet (CInformationInputDialog), the print and its preview
// (CMorvelEMView::ComputeInformationAmounts) and the information fields on paper all use
// these one definitions, so that what the sheet shows is what is printed and saved. The
// amounts come from the estimate's engine (WorkOutAmounts); the form's texts from whoever
// holds the information form (IInformationForm).
//
// Items are of six kinds, by their attribute: "文字" (text, kept as typed), "数値" (a
// number, shown rounded by the item's rounding rule and formatted by its number
// picture), "計算" (computed from other items by the item's formula, letters naming items
// by position: A is item 0), and "税込見積", "消費税", "税抜見積" (the estimate's amounts).
// The E code of a numeric item puts "\" ("2") or "***" ("3") in front of the number
// shown; what is stored is the number without it.
//
// A value is a number text as it was typed ("10,000" as well as "10000.000000"): its
// separators are part of the number, never the end of it.
#pragma once

#include "platform/base/CString.h"

#include <array>

class CEstimateEngine;

// The texts of the information form the value rules read, item by item.
class IInformationForm {
public:
    enum EItemText { textAttribute, textPicture, textFormula, textRounding, textE };

    virtual int GetItemCount() const = 0;
    virtual const CString& GetItemText(int nItem, EItemText eText) const = 0;

protected:
    ~IInformationForm() = default;
};

namespace InformationValues {

constexpr int MAX_ITEMS = 100;
using Values = std::array<CString, MAX_ITEMS>;

// TRUE for every item whose value is a number: all attributes but "文字".
bool IsNumericItem(const IInformationForm& form, int nItem);
// Rounding by a rounding rule as the sheet does it: on the signed value, so that on a
// negative value "U" and "F" move toward zero, as "D" does on every value (F(-1) makes
// -1.6 -1).
double RoundSigned(double value, const char* lpszSpec);
// A value read as a number by the reading every number cell takes
// (CNumberRules::ReadTypedNumber): "10,000円", "￥１０，０００", "-¥5,000", "▲1,200". Returns
// true and sets plain to the number in ASCII without separators or marks ("10000",
// "-5000", "12.50"); any other text (a word, "1e5", "1,,000", "10,000円引", an empty text)
// returns false and leaves plain alone. Every reading of a value goes through here: what
// the sheet accepts is what the print, the paper and a reopened file read.
bool ReadTypedNumber(const CString& text, CString& plain);
// A value as a number (ReadTypedNumber); anything that is no number reads 0.
double ReadValue(const CString& value);
// The value read as a number and rounded by the item's rounding rule (RoundSigned).
double RoundedNumber(const IInformationForm& form, int nItem, const CString& value);
// The value as the grid shows it: text items and "数値" items whose value is not a number
// text unchanged; others rounded, formatted by the picture with separators and, with
// bPrefix, given the "\" or "***" of their E code.
CString DisplayText(const IInformationForm& form, int nItem, const CString& value, bool bPrefix);
// The value as the editor offers it: numbers rounded, formatted without separators and
// given their prefix.
CString EditText(const IInformationForm& form, int nItem, const CString& value);
// The typed text without the prefix of the item's E code: what follows the last "\" (E
// "2") or the last "*" (E "3"); a text without that character stays whole.
CString StripPrefix(const IInformationForm& form, int nItem, const CString& text);
// Puts the amounts into the items of the three amount kinds.
void FillAmounts(const IInformationForm& form, Values& values, const CString& strTotal, const CString& strTax,
                 const CString& strNet);
// The estimate's amounts as the amount items take them, in normal form: the total of the
// amount column (the first whose "V" code is "2") over the estimate with its free rows,
// the tax (the first free row's amount, as it stands) and the total less the tax. With no
// amount column the total is 0 and the tax empty.
struct CAmounts {
    CString strTotal, strTax, strNet;
};
CAmounts WorkOutAmounts(const CEstimateEngine& engine);
// The values as the paper shows them: the amount items given the estimate's amounts and the
// computed items worked out again (WorkOutAmounts, FillAmounts, then Recalculate).
void WorkOutForOutput(const IInformationForm& form, Values& values, const CEstimateEngine& engine);
// Computes the "計算" items in item order: each letter reference (A = item 0, AA = item
// 26) becomes the named item's value read as a number and rounded by its rounding rule
// (RoundedNumber); a reference beyond the form's items reads 0. An item referring to a
// later computed item sees that item's previous value.
void Recalculate(const IInformationForm& form, Values& values);

} // namespace InformationValues
