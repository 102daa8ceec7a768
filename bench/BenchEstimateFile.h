// The estimates the estimate benchmarks open: the estimation and information forms they are
// made on and their rows, built through the estimate view's own operations as a user would
// build them (headings, details, totals, discounts, consumption tax).
#pragma once

#include "bench/BenchForms.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"

#include <cstdio>

// The estimation form and a small information form.
inline void BuildEstimateForms(CMorvelEMDoc& doc)
{
    SetBenchEstimationForm(doc.m_EstimationForm, false);
    const char* const info[][8] = {
        {"得意先名", "文字", "30", "", "", "", "", ""},
        {"工事名称", "文字", "30", "", "", "", "", ""},
        {"税込見積", "税込見積", "14", "###,###,###", "", "D(-1)", "2", ""},
    };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 8; ++j)
            doc.m_InformationForm.SetItem(i, j, Sj(info[i][j]));
    doc.m_InformationForm.SetCount(3);
    doc.m_strEstimationFormName = "meisai.MMK";
    doc.m_strInformationFormName = "JYOUHOU.MJK";
}

// About nRows rows: kind headings with large, middle and small subjects, details with
// quantities and prices, small/middle/large/kind subtotals, discounts and a discount
// total, then the grand total and the consumption tax. With bTaxPerKind every kind is a
// small estimate of its own (one large, two middle and three small subjects each with nine
// details), closed by its grand total and consumption-tax row (a tax row every 78 rows); of
// every six such kinds, nShortKinds have eight details in each small subject (5: a tax row
// every 73 rows).
inline void BuildEstimateRows(CMorvelEMView& view, int nRows, bool bTaxPerKind, int nShortKinds = 0)
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
        view.SetCellText(Sj("式"), row(), 3, TRUE);
        view.SetRowKind(nKind, row());
        view.SetCurrentCell(view.GetCurrentCol(), view.GetCurrentRow() + 1);
    };
    auto detail = [&]() {
        const int i = nDetail++ % 10;
        char qty[32], price[32], cost[32];
        std::snprintf(qty, sizeof(qty), "%d.%d", 1 + nDetail % 300, nDetail % 10);
        std::snprintf(price, sizeof(price), "%d", 250 + (nDetail * 37) % 20000);
        std::snprintf(cost, sizeof(cost), "%d", 200 + (nDetail * 29) % 16000);
        const int r = row();
        view.SetCellText(Sj(names[i]), r, 0, TRUE);
        view.SetCellText(Sj(specs[i]), r, 1, TRUE);
        view.SetCellText(qty, r, 2, TRUE);
        view.SetCellText(Sj(units[i]), r, 3, TRUE);
        view.SetCellText(price, r, 4, TRUE);
        view.SetCellText(cost, r, 6, TRUE);
        view.SetCellText(Sj("材料"), r, 8, TRUE);
        view.SetRowKind(kindDetail, r);
        view.GetModel().Engine().CalcRow(r, 0);
        view.SetCurrentCell(view.GetCurrentCol(), view.GetCurrentRow() + 1);
    };

    const int nLimit = nRows - 3;
    const int nLarge = bTaxPerKind ? 1 : 4;
    const int nMiddle = bTaxPerKind ? 2 : 4;
    for (int k = 0; row() < nLimit; ++k) {
        const int nDetails = bTaxPerKind ? (k % 6 < nShortKinds ? 8 : 9) : 12;
        heading(kindKind, "本体工事");
        for (int l = 0; l < nLarge && row() < nLimit; ++l) {
            heading(kindLarge, "建築工事");
            for (int m = 0; m < nMiddle && row() < nLimit; ++m) {
                heading(kindMiddle, "内装工事");
                for (int s = 0; s < 3 && row() < nLimit; ++s) {
                    heading(kindSmall, "1階 事務所");
                    for (int d = 0; d < nDetails && row() < nLimit; ++d)
                        detail();
                    view.InsertTotal(CMorvelEMView::levelSmall);
                }
                view.InsertTotal(CMorvelEMView::levelMiddle);
            }
            view.InsertDiscount("-5000");
            view.InsertDiscountTotal(CMorvelEMView::levelLarge);
            view.InsertTotal(CMorvelEMView::levelLarge);
        }
        view.InsertTotal(CMorvelEMView::levelKind);
        if (bTaxPerKind && row() < nLimit) {
            view.InsertTotal(CMorvelEMView::levelGrand);
            view.InsertConsumptionTax();
            view.SetCurrentCell(view.GetCurrentCol(), view.GetCurrentRow() + 1);
        }
    }
    view.InsertTotal(CMorvelEMView::levelGrand);
    view.InsertConsumptionTax();
    view.RecalcAll();
}
