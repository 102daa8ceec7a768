// The estimate the printing and painting benchmarks work on: kinds, large and middle headings
// with fourteen details each and their totals, up to the given number of rows, recalculated.
#pragma once

#include "bench/BenchForms.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMView.h"

#include <cstdio>

inline void BuildRows(CMorvelEMView& view, int nRows)
{
    const char* const names[] = {"外部足場",           "根切り",           "普通コンクリート", "普通型枠",
                                 "せっこうボード張り", "ビニルクロス張り", "照明器具",         "電線",
                                 "アスファルト舗装",   "高木植栽"};
    const char* const specs[] = {"枠組 W900", "バックホウ 0.45m3", "Fc24 S18", "",      "t=12.5", "量産品",
                                 "LED",       "VVF 2.0-3C",        "t=50",     "H=3.0m"};
    const char* const units[] = {"m2", "m3", "m3", "m2", "m2", "m2", "台", "m", "m2", "本"};
    int nDetail = 0;
    auto row = [&]() { return view.GetCurrentRow(); };
    auto heading = [&](ERowKind nKind, const char* lpszName) {
        view.SetCellText(Sj(lpszName), row(), 0, TRUE);
        view.SetRowKind(nKind, row());
        view.SetCurrentCell(view.GetCurrentCol(), view.GetCurrentRow() + 1);
    };
    auto detail = [&]() {
        const int i = nDetail++ % 10;
        char qty[32], price[32], cost[32];
        std::snprintf(qty, sizeof qty, "%d.%d", 1 + nDetail % 300, nDetail % 10);
        std::snprintf(price, sizeof price, "%d", 250 + (nDetail * 37) % 20000);
        std::snprintf(cost, sizeof cost, "%d", 200 + (nDetail * 29) % 16000);
        const int r = row();
        view.SetCellText(Sj(names[i]), r, 0, TRUE);
        view.SetCellIndent(2, r, 0);
        view.SetCellText(Sj(specs[i]), r, 1, TRUE);
        view.SetCellText(qty, r, 2, TRUE);
        view.SetCellText(Sj(units[i]), r, 3, TRUE);
        view.SetCellText(price, r, 4, TRUE);
        view.SetCellText(cost, r, 6, TRUE);
        view.SetCellText(Sj("材料"), r, 8, TRUE);
        view.SetCellText(Sj("搬入費込み"), r, 9, TRUE);
        view.SetRowKind(kindDetail, r);
        view.GetModel().Engine().CalcRow(r, 0);
        view.SetCurrentCell(view.GetCurrentCol(), view.GetCurrentRow() + 1);
    };
    const int nLimit = nRows - 3;
    while (row() < nLimit) {
        heading(kindKind, "本体工事");
        for (int l = 0; l < 3 && row() < nLimit; ++l) {
            heading(kindLarge, "建築工事");
            for (int m = 0; m < 3 && row() < nLimit; ++m) {
                heading(kindMiddle, "内装工事");
                for (int d = 0; d < 14 && row() < nLimit; ++d)
                    detail();
                view.InsertTotal(CMorvelEMView::levelMiddle);
            }
            view.InsertTotal(CMorvelEMView::levelLarge);
        }
        view.InsertTotal(CMorvelEMView::levelKind);
    }
    view.InsertTotal(CMorvelEMView::levelGrand);
    view.RecalcAll();
    view.SetCurrentCell(view.GetCurrentCol(), 0);
}
