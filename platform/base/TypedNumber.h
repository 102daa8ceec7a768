// The one reading of a number as a person types one, shared by the cells (through
// CNumberRules, which gives it its values and rounding) and the dialogs' number fields
// (through the data exchange), so that "１０，０００円" is 10000 wherever it is typed.
//
// A number is written as an estimator writes one: digits in ASCII or full width; group
// separators ("," "，" "、") only between groups of three digits, or of four (the grouping
// by 万), after a first group of one to that many; one decimal point ("." "．" "。"); one
// sign before the digits ("+" "-" "＋" "－", and "▲" or "△" for minus), before or after a
// yen mark ("\" "￥"); "円" after them; blanks (half- and full-width) anywhere. Texts are
// code page 932.
#pragma once

#include <string>

// Returns true and sets plain to the number in ASCII without separators or marks ("10000",
// "-5000", "12.50") for a number text; any other text ("1e3", "1abc56", "5-3", "-", the
// empty text) returns false and leaves plain alone.
bool ReadTypedNumberText(const char* lpszText, std::string& plain);

// ReadTypedNumberText for a text that holds nothing but ASCII digits, blanks and ". - + ,":
// the number test of a cell's stored text. pPlain may be null.
bool ReadStoredNumberText(const char* lpszText, std::string* pPlain = nullptr);
