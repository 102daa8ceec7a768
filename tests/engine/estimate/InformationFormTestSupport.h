// Information forms of the tests' own: item rows as the form file holds them, a form with
// every kind of item, and the form as the engine's value rules read it.
#pragma once

#include "engine/estimate/InformationValues.h"

#include <array>
#include <vector>

// name, attribute, width, picture, formula, rounding, E, P
using ItemRow = std::array<const char*, 8>;

// A form with every kind of item.
inline std::vector<ItemRow> SheetItems()
{
    return {
        {"得意先名", "文字", "30", "", "", "", "", ""},             // A 0
        {"数量", "数値", "10", "###,###.##", "", "F(-3)", "1", ""}, // B 1
        {"単価", "数値", "10", "###,###", "", "D(-1)", "2", ""},    // C 2
        {"金額", "計算", "10", "###,###", "B*C", "", "3", ""},      // D 3
        {"税込見積", "税込見積", "14", "###,###", "", "D(-1)", "2", ""},
        {"消費税", "消費税", "14", "###,###", "", "", "", ""},
        {"税抜見積", "税抜見積", "14", "###,###", "", "", "", ""},
        {"遠い参照", "計算", "10", "###,###", "ZZ+1", "", "", ""},
    };
}

class CTestInformationForm : public IInformationForm {
public:
    explicit CTestInformationForm(const std::vector<ItemRow>& items)
    {
        for (const ItemRow& item : items) {
            m_items.emplace_back();
            for (size_t i = 0; i < item.size(); ++i)
                m_items.back()[i] = CString::FromUtf8(item[i]);
        }
    }
    int GetItemCount() const override { return static_cast<int>(m_items.size()); }
    const CString& GetItemText(int nItem, EItemText eText) const override
    {
        static const size_t columns[] = {1, 3, 4, 5, 6};
        return m_items[static_cast<size_t>(nItem)][columns[eText]];
    }

private:
    std::vector<std::array<CString, 8>> m_items;
};
