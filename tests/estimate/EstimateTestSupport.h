// Helpers of the estimate engine tests: a settings file of their own, estimation forms
// built in code, and an estimate view attached to its document without a window.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CCmdUI.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// One column of an estimation form, texts in UTF-8.
struct FormColumn {
    const char* name;
    const char* attribute;
    const char* width;
    const char* picture;
    const char* formula;
    const char* rounding;
    const char* t;
    const char* v;
};

inline void BuildForm(CEstimationFormFile& form, const std::vector<FormColumn>& columns)
{
    form.SetCount(static_cast<int>(columns.size()));
    for (int i = 0; i < form.GetCount(); ++i) {
        const FormColumn& c = columns[static_cast<size_t>(i)];
        const char* texts[10] = {c.name,     c.attribute, c.width, c.picture, c.formula,
                                 c.rounding, c.t,         c.v,     "",        ""};
        for (int j = 0; j < 10; ++j)
            form.SetItem(i, j, CString::FromUtf8(texts[j]));
    }
}

// The form of a plain estimate: name, spec, quantity, unit, unit price, amount = quantity x
// unit price, step factor and a remark.
//   A 名称 (T 6)   B 規格   C 数量 (T 3)   D 単位 (T 1)   E 単価   F 金額 = C*E (計 A, V 2)
//   G 歩掛率 (T 7)   H 備考
inline std::vector<FormColumn> StandardColumns()
{
    return {
        {"名称", "文字", "20", "", "", "", "6", ""},
        {"規格", "文字", "15", "", "", "", "", ""},
        {"数量", "数値", "8", "#,###.##", "", "F(-3)", "3", ""},
        {"単位", "文字", "4", "", "", "", "1", ""},
        {"単価", "数値", "10", "###,###", "", "F(-1)", "", ""},
        {"金額", "計 A", "12", "###,###", "C*E", "D(-1)", "", "2"},
        {"歩掛率", "数値", "6", "#.###", "", "", "7", ""},
        {"備考", "文字", "20", "", "", "", "", ""},
    };
}

// Remembers what an update handler said.
class TestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override { enabled = bOn; }
    BOOL enabled = -1;
};

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

class EstimateViewTest : public ::testing::Test {
protected:
    EstimateViewTest()
        : profile(dir.Folder() + "morvel.ini"), settings(std::make_unique<CMorvelSettings>(profile))
    {
        CMorvelSettings::SetCurrent(settings.get());
        settings->m_nTax = 8;
        settings->m_nRoundMode = 3;
    }
    ~EstimateViewTest() override
    {
        delete view;
        delete doc;
    }

    // Builds the document and its view over the given form (after any settings the test
    // wrote, since the view reads its settings when it is made).
    void Open(const std::vector<FormColumn>& columns = StandardColumns(), int nLoadedRows = 0)
    {
        delete view;
        delete doc;
        doc = new CMorvelEMDoc;
        doc->m_bAutoDelete = FALSE;
        BuildForm(doc->m_EstimationForm, columns);
        // As a file of nLoadedRows rows reads them.
        std::vector<std::unique_ptr<CGridRow>> rows(static_cast<size_t>(nLoadedRows));
        for (auto& pRow : rows)
            pRow = std::make_unique<CGridRow>();
        doc->Model().ReplaceEditRows(std::move(rows));
        doc->m_nLoadedRowCount = nLoadedRows;
        view = new CMorvelEMView;
        doc->AddView(view);
        view->SetupFromDocument();
    }

    // A row typed in: kind, name and the numeric cells as texts (empty: not typed); the
    // row formulas are computed as a commit computes them.
    void Detail(int row, const char* name, const char* qty, const char* price)
    {
        view->SetCellText(CString::FromUtf8(name), row, colName, TRUE);
        if (*qty)
            view->SetCellText(qty, row, colQty, TRUE);
        if (*price)
            view->SetCellText(price, row, colPrice, TRUE);
        view->SetRowKind(kindDetail, row);
        view->GetModel().Engine().CalcRow(row, 0);
    }
    void Heading(int row, ERowKind kind, const char* name)
    {
        view->SetCellText(CString::FromUtf8(name), row, colName, TRUE);
        view->SetRowKind(kind, row);
    }
    std::string Cell(int row, int col) const { return view->GetCellText(row, col).str(); }
    std::string Utf8Cell(int row, int col) const { return view->GetCellText(row, col).ToUtf8(); }
    double Value(int row, int col) const { return CNumberRules::ReadNumber(view->GetCellText(row, col)); }

    TempDir dir;
    CProfileFile profile;
    std::unique_ptr<CMorvelSettings> settings;
    CMorvelEMDoc* doc = nullptr;
    CMorvelEMView* view = nullptr;
};
