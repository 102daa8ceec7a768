// A parts list of the test's own: the model over a parts form given by the texts it reads
// (attribute, picture, formula, rounding, T), the row counts' changes counted. No document,
// no view, no window.
#pragma once

#include "engine/parts/CPartsModel.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

// One item of the parts form: its attribute, number picture, formula, rounding rule, "T".
using CTestItem = std::array<const char*, 5>;

// The sample form: A 部材名, B 数量, C 単位 (T 1), D 単価 (rounded to whole yen), E 金額 = B*D
// (計算, shown by its picture), F = A+B (計: worked out, shown as stored).
inline std::vector<CTestItem> SampleItems()
{
    return {
        {"文字", "", "", "", ""},
        {"数値", "#,###.##", "", "", ""},
        {"文字", "", "", "", "1"},
        {"数値", "###,###", "", "F(-1)", ""},
        {"計算", "###,###,###", "b*d", "D(0)", ""},
        {"計", "", "a+b", "", ""},
    };
}

class CTestPartsList final : public IPartsModelHost {
public:
    explicit CTestPartsList(const std::vector<CTestItem>& items, int nRowLimit = 1100)
    {
        for (const CTestItem& item : items) {
            m_texts.emplace_back();
            for (size_t i = 0; i < item.size(); ++i)
                m_texts.back()[i] = CString::FromUtf8(item[i]);
        }
        model.SetColumnCount(static_cast<int>(items.size()));
        model.SetRowLimit(nRowLimit);
    }
    const CString& GetColumnText(int nCol, EColumnText eText) const override
    {
        static const CString s_strNone;
        return nCol >= 0 && static_cast<size_t>(nCol) < m_texts.size() && eText < textV
                   ? m_texts[static_cast<size_t>(nCol)][static_cast<size_t>(eText)]
                   : s_strNone;
    }
    // The form changed under the list.
    void SetColumnText(int nCol, EColumnText eText, const char* lpszUtf8)
    {
        m_texts[static_cast<size_t>(nCol)][static_cast<size_t>(eText)] = CString::FromUtf8(lpszUtf8);
    }
    void RowCountsChanged() override { ++nCountsChanged; }

    void Put(int nRow, int nCol, const char* lpszUtf8)
    {
        model.SetCellText(CString::FromUtf8(lpszUtf8), nRow, nCol);
    }
    void Type(int nRow, int nCol, const char* lpszUtf8)
    {
        Record(model.StoreTypedText(nRow, nCol, CString::FromUtf8(lpszUtf8), -1));
    }
    // A command's undo command kept as the grid keeps it.
    void Record(CPartsModel::CommandPtr pCommand)
    {
        if (pCommand != nullptr)
            model.Undo().Record(std::move(pCommand));
    }
    CPartsUndoOutcome Undo() { return model.Undo().Undo(model); }
    CPartsUndoOutcome Redo() { return model.Undo().Redo(model); }
    std::string Cell(int nRow, int nCol) const { return model.GetCellText(nRow, nCol).ToUtf8(); }
    // Every cell of the rows in use, row by row, and the rows in use.
    std::vector<std::string> AllCells() const
    {
        std::vector<std::string> cells{std::to_string(model.GetRowsInUse())};
        for (int r = 0; r < model.GetRowsInUse(); ++r)
            for (int c = 0; c < model.GetColumnCount(); ++c)
                cells.push_back(Cell(r, c));
        return cells;
    }

    int nCountsChanged = 0;

private:
    std::vector<std::array<CString, 5>> m_texts;

public:
    CPartsModel model{*this};
};

// Clipboard records of a block, each row's texts from its first column on.
inline void MakeRecords(CPMObjList& records, int nFirstRow, int nFirstCol,
                        const std::vector<std::vector<const char*>>& rows)
{
    records.DeleteAll();
    const int nLastRow = nFirstRow + static_cast<int>(rows.size()) - 1;
    for (size_t i = 0; i < rows.size(); ++i) {
        auto* pObj = new CPMObj;
        pObj->m_nRow = nFirstRow + static_cast<int>(i);
        pObj->m_nLastRow = nLastRow;
        pObj->m_nFirstCol = nFirstCol;
        pObj->m_nLastCol = nFirstCol + static_cast<int>(rows[i].size()) - 1;
        for (size_t c = 0; c < rows[i].size(); ++c)
            pObj->m_strCell[static_cast<size_t>(nFirstCol) + c] = CString::FromUtf8(rows[i][c]);
        records.AddTail(pObj);
    }
}

// The sample form's columns.
enum { colName = 0, colQty = 1, colUnit = 2, colPrice = 3, colAmount = 4, colSum = 5 };

// Five rows: a name a, b, ..., a quantity i + 1 and a price 100 x (i + 1), the amounts
// worked out.
class PartsFiveRowsTest : public ::testing::Test {
protected:
    PartsFiveRowsTest()
    {
        for (int r = 0; r < 5; ++r) {
            list.Put(r, colName, std::string(1, static_cast<char>('a' + r)).c_str());
            list.Put(r, colQty, std::to_string(r + 1).c_str());
            list.Put(r, colPrice, std::to_string(100 * (r + 1)).c_str());
            model.CalcRow(r, 0);
        }
        before = list.AllCells();
    }
    // The command recorded; undo gives back the list as it was, redo the list as the
    // command left it, and a second undo the list as it was again.
    void ExpectUndoneAndRedone(CPartsModel::CommandPtr pCommand)
    {
        ASSERT_NE(nullptr, pCommand);
        list.Record(std::move(pCommand));
        const auto after = list.AllCells();
        ASSERT_NE(before, after) << "the command changed something";
        list.Undo();
        EXPECT_EQ(before, list.AllCells());
        EXPECT_TRUE(model.Undo().CanRedo());
        list.Redo();
        EXPECT_EQ(after, list.AllCells());
        list.Undo();
        EXPECT_EQ(before, list.AllCells());
    }

    CTestPartsList list{SampleItems()};
    CPartsModel& model = list.model;
    std::vector<std::string> before;
};
