// The layout documents hand their drawing objects the forms they were designed against: the
// tokens of an estimate layout read its estimation and information forms, those of a parts
// layout its parts form, and neither kind reads the other's tokens.
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "tests/layout/drawing/FieldTestSupport.h"

#include <gtest/gtest.h>

TEST(LayoutFields, EachLayoutsTokensReadTheFormsOfItsOwnKind)
{
    CCurrentTestSettings settings;
    const CString strTokens = CString::FromUtf8("$見積(1,名称,2)$/$情報(工事名)$/$部材(1,品名,2)$");

    CPrintEMDoc estimateLayout;
    FillForm(estimateLayout.m_curEstimationForm, {{"単位", "文字"}, {"名称", "文字"}});
    FillForm(estimateLayout.m_curInformationForm, {{"会社名", "文字"}, {"工事名", "文字"}});
    auto* pEstimateText = new CDrawText(CRect(0, 0, 1000, -100));
    pEstimateText->m_strText = strTokens;
    estimateLayout.Add(pEstimateText);
    estimateLayout.RebuildFieldRefs();
    CTestEstimateData estimate;
    estimate.m_form = estimateLayout.m_curEstimationForm;
    estimate.m_infoForm = estimateLayout.m_curInformationForm;
    estimate.m_rows = {{{"m", "row1"}, 5, 0, {}}, {{"m2", "row2"}, 5, 0, {}}};
    estimate.m_info = {"company", "site"};
    // The second item of each form, on the token's second row.
    EXPECT_EQ(pEstimateText->ExpandMacrosEM(&estimate).ToUtf8(), "row2/site/");

    CPrintPMDoc partsLayout;
    FillForm(partsLayout.m_curPartsForm, {{"数量", "文字"}, {"品名", "文字"}});
    auto* pPartsText = new CDrawText(CRect(0, 0, 1000, -100));
    pPartsText->m_strText = strTokens;
    partsLayout.Add(pPartsText);
    partsLayout.RebuildFieldRefs();
    CTestPartsData parts;
    parts.m_form = partsLayout.m_curPartsForm;
    parts.m_rows = {{"1", "beam"}, {"2", "column"}};
    EXPECT_EQ(pPartsText->ExpandMacrosPM(&parts).ToUtf8(), "//column");
}
