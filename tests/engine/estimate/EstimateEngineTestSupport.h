// An estimate engine with a sheet of the test's own: the form's columns given as texts, the
// used rows grown as the engine asks, the tax settings set by the test. No view, no window.
#pragma once

#include "engine/estimate/CEstimateEngine.h"

#include <algorithm>
#include <array>
#include <vector>

// One column of the form: its attribute, picture, formula, rounding rule, "T" and "V" codes.
using CTestColumn = std::array<const char*, IEstimateSheet::COLUMN_TEXTS>;

class CTestSheet : public IEstimateSheet {
public:
    explicit CTestSheet(const std::vector<CTestColumn>& columns)
        : nColumnCount(static_cast<int>(columns.size()))
    {
        for (const CTestColumn& column : columns) {
            m_texts.emplace_back();
            for (int i = 0; i < COLUMN_TEXTS; ++i)
                m_texts.back()[static_cast<size_t>(i)] = CString::FromUtf8(column[static_cast<size_t>(i)]);
        }
    }
    const CString& GetColumnText(int nCol, EColumnText eText) const override
    {
        return m_texts[static_cast<size_t>(nCol)][static_cast<size_t>(eText)];
    }
    // A form changed while the estimate is open (the engine reads the texts again).
    void SetColumnText(int nCol, EColumnText eText, const char* lpszUtf8)
    {
        m_texts[static_cast<size_t>(nCol)][static_cast<size_t>(eText)] = CString::FromUtf8(lpszUtf8);
    }
    void GrowUsedRows(int nRows) override { nUsedRows = std::max(nUsedRows, nRows); }
    void RowsWritten(int, int) override {}
    CTaxSettings GetTaxSettings() const override { return tax; }
    bool IsTaxVerticalTotal() const override { return bVerticalTotal; }

    int nUsedRows = 0;
    int nRowLimit = 70000;
    int nColumnCount;
    CTaxSettings tax;
    bool bVerticalTotal = false;

private:
    std::vector<std::array<CString, COLUMN_TEXTS>> m_texts;
};

// The form of a plain estimate: name, spec, quantity, unit, unit price, amount = quantity x
// unit price, step factor and a remark.
//   A 名称 (T 6)   B 規格   C 数量 (T 3)   D 単位 (T 1)   E 単価   F 金額 = C*E (計 A, V 2)
//   G 歩掛率 (T 7)   H 備考
inline std::vector<CTestColumn> StandardTestColumns()
{
    return {
        {"文字", "", "", "", "6", ""},
        {"文字", "", "", "", "", ""},
        {"数値", "#,###.##", "", "F(-3)", "3", ""},
        {"文字", "", "", "", "1", ""},
        {"数値", "###,###", "", "F(-1)", "", ""},
        {"計 A", "###,###", "C*E", "D(-1)", "", "2"},
        {"数値", "#.###", "", "", "7", ""},
        {"文字", "", "", "", "", ""},
    };
}
enum {
    colName = 0,
    colSpec = 1,
    colQty = 2,
    colUnit = 3,
    colPrice = 4,
    colAmount = 5,
    colFactor = 6,
    colNote = 7
};

struct CTestEstimate {
    explicit CTestEstimate(const std::vector<CTestColumn>& columns) : sheet(columns) {}
    CTestEstimate(const CTestEstimate&) = delete;
    CTestEstimate& operator=(const CTestEstimate&) = delete;

    // A row of the given kind with its cells, stored as typed (the row formulas follow).
    void AddRow(ERowKind nKind, const std::vector<const char*>& cells)
    {
        const int nRow = sheet.nUsedRows;
        for (size_t c = 0; c < cells.size(); ++c) {
            if (cells[c] != nullptr)
                engine.SetCellText(CString::FromUtf8(cells[c]), nRow, static_cast<int>(c), true);
        }
        engine.SetRowKind(nKind, nRow);
        sheet.GrowUsedRows(nRow + 1);
        engine.CalcRow(nRow, 0);
    }
    std::string Cell(int nRow, int nCol) const { return engine.EditCell(nRow, nCol).str(); }

    CTestSheet sheet;
    CGridRowArray rows;
    CEstimateEngine engine{sheet, rows, sheet.nUsedRows, sheet.nRowLimit, sheet.nColumnCount};
};
