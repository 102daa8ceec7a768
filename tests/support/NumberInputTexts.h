// Texts that reach a number cell, as an estimator writes numbers and as words: every way in
// (typing, paste, replace, the CSV inputs, another estimate, the setup and information
// sheets, a dialog's number field) reads them through the one reading of numbers, so each
// path's tests feed this one table and expect what typing gives (NumberFieldTyping.h runs it
// over a dialog's field).
#pragma once

#include <vector>

struct CNumberInputText {
    const char* utf8;
    bool bNumber; // false: a word, stored as it is written and counting nothing
    double value;
};

inline const std::vector<CNumberInputText>& NumberInputTexts()
{
    static const std::vector<CNumberInputText> texts = {
        {"１２５．５", true, 125.5},
        {"10,000円", true, 10000},
        {"▲5,000", true, -5000},
        {"1,250.50", true, 1250.5},
        {"￥１，２００", true, 1200},
        {"△３", true, -3},
        {"48", true, 48},
        {"９", true, 9},
        {"０", true, 0},
        {"1,1,250.50", false, 0},
        {"1e3", false, 0},
        {"1abc56", false, 0},
        {"約10,000", false, 0},
    };
    return texts;
}
