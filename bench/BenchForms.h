// The estimation form the estimate benchmarks build their estimates on: name, spec,
// quantity, unit, unit price, amount = C*E, cost unit price, cost = C*G, classification,
// remark, and optionally two more columns for a wider grid.
#pragma once

#include "app/CEstimationFormFile.h"
#include "platform/base/CString.h"

inline CString Sj(const char* utf8)
{
    return CString::FromUtf8(utf8);
}

inline void SetBenchEstimationForm(CEstimationFormFile& form, bool bWide)
{
    const char* const items[][10] = {
        {"名称", "文字", "24", "", "", "", "6", "", "A", "B"},
        {"規格", "文字", "18", "", "", "", "", "", "B", "C"},
        {"数量", "数値", "9", "###,###.##", "", "F(-3)", "3", "", "C", "D"},
        {"単位", "文字", "5", "", "", "", "1", "", "D", "E"},
        {"単価", "数値", "10", "###,###", "", "F(-1)", "", "", "E", "H"},
        {"金額", "計 A", "12", "###,###,###", "C*E", "D(-1)", "", "2", "F", "J"},
        {"原価単価", "数値", "10", "###,###", "", "F(-1)", "", "", "", "G"},
        {"原価金額", "計 A", "12", "###,###,###", "C*G", "D(-1)", "", "3", "", "I"},
        {"分類", "文字", "4", "", "", "", "4", "", "", ""},
        {"備考", "文字", "16", "", "", "", "", "", "G", "M"},
        {"摘要", "文字", "20", "", "", "", "", "", "", ""},
        {"予備", "数値", "10", "###,###", "", "", "", "", "", ""},
    };
    const int nCount = bWide ? 12 : 10;
    for (int i = 0; i < nCount; ++i)
        for (int j = 0; j < 10; ++j)
            form.SetItem(i, j, Sj(items[i][j]));
    form.SetCount(nCount);
}
