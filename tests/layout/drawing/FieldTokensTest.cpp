// Field tokens filled in from estimate and parts data: the scan into plain text and pieces,
// every token kind and picture with a fixed clock, the numbers' pictures, signs and
// trimming, the editor's display form, and the row-kind styling of field text.
#include "FieldTestSupport.h"

#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/DrawingShared.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

CString J(const char* utf8)
{
    return CString::FromUtf8(utf8);
}
std::string U(const CString& s)
{
    return s.ToUtf8();
}

class FixedClock {
public:
    explicit FixedClock(const CClockReading& r) { SetFixedFieldClock(&r); }
    ~FixedClock() { SetFixedFieldClock(nullptr); }
};

// An estimate layout with a text object and a table of one cell, bound to the layout's
// forms, and estimate data of 60 rows.
class EstimateFields : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillForm(m_doc.m_curEstimationForm, {{"名称", "文字", "", "", ""},
                                             {"単位", "文字", "", "", "1"},
                                             {"数量", "数値", "#.##", "", "3"},
                                             {"金額", "数値", "###,###", "", ""},
                                             {"金額", "数値", "###", "", ""}});
        FillForm(m_doc.m_curInformationForm, {{"工事名", "文字"},
                                              {"会社名", "文字"},
                                              {"会社名", "文字"},
                                              {"合計", "数値", "###,###", "", "2"}});
        m_data.m_form = m_doc.m_curEstimationForm;
        m_data.m_infoForm = m_doc.m_curInformationForm;
        for (int i = 0; i < 60; ++i) {
            CTestRow row;
            CString name;
            name.Format("row%d", i + 1);
            row.cells = {name, J("式"), "12.50", "-1234", "77"};
            m_data.m_rows.push_back(row);
        }
        m_data.m_info = {J("駅前ビル新築"), J("第一建設"), J("第二建設"), "5000"};
        m_pText = new CDrawText(CRect(0, 0, 1000, -100));
        m_doc.Add(m_pText);
        m_pTable = new CDrawTable(CRect(0, -200, 1000, -300));
        m_doc.Add(m_pTable);
        m_pCell = m_pTable->AddCell(CRect(0, -200, 1000, -300));
        AddFieldRef(m_doc, J("1,名称"), 20);
        AddFieldRef(m_doc, J("1,金額"), 20);
        AddFieldRef(m_doc, J("1,金額^1"), 20);
        AddFieldRef(m_doc, J("1,数量"), 20);
        AddFieldRef(m_doc, J("1,単位"), 20);
    }

    CString Text(const char* utf8)
    {
        m_pText->m_strText = J(utf8);
        return m_pText->ExpandMacrosEM(&m_data);
    }
    CString Cell(const char* utf8)
    {
        m_pCell->m_strText = J(utf8);
        return m_pTable->ExpandMacrosEM(m_pCell, &m_data);
    }

    CCurrentTestSettings m_settings;
    CTestLayoutDoc m_doc{CTestLayoutDoc::estimateLayout};
    CTestEstimateData m_data;
    CDrawText* m_pText = nullptr;
    CDrawTable* m_pTable = nullptr;
    CDrawCell* m_pCell = nullptr;
};

TEST_F(EstimateFields, PlainTextAndUnpairedDollarsPassUnchanged)
{
    EXPECT_EQ(U(Text("見積書")), "見積書");
    EXPECT_EQ(U(Text("Total 100$")), "Total 100$");
    EXPECT_EQ(U(Text("a$b")), "a$b");
    EXPECT_EQ(U(Text("$")), "$");
    EXPECT_EQ(U(Text("")), "");
    // A piece that is no token vanishes from a text object and stays in a cell.
    EXPECT_EQ(U(Text("$5 and $6")), "6");
    EXPECT_EQ(U(Cell("$5 and $6")), "$5 and $6");
    // A data field that does not end with ")$": vanishes from a text, stays in a cell.
    EXPECT_EQ(U(Text("x$見積(1,名称,1)z$y")), "xy");
    EXPECT_EQ(U(Cell("x$見積(1,名称,1)z$y")), "x$見積(1,名称,1)z$y");
    // A trail byte 0x5E ("タ") is not taken for the occurrence mark.
    EXPECT_EQ(U(Text("$情報(工事名)$/データ")), "駅前ビル新築/データ");
}

TEST_F(EstimateFields, ClockPagesAndNumberingInEveryPicture)
{
    FixedClock clock({2026, 3, 7, 14, 5, 9});
    m_data.m_nPage = 2;
    m_data.m_nPages = 12;
    const char* const pages[] = {"2", "- 2 -", "P 2", "2 ﾍﾟｰｼﾞ", "2 ページ"};
    for (int i = 0; i < 5; ++i) {
        m_pText->m_nPageFormat = i;
        EXPECT_EQ(U(Text("$ﾍﾟｰｼﾞ()$")), pages[i]) << i;
    }
    const char* const totals[] = {"12", "12 ﾍﾟｰｼﾞ", "12 ページ", "全 12 ﾍﾟｰｼﾞ", "全 12 ページ", "./ 12"};
    for (int i = 0; i < 6; ++i) {
        m_pText->m_nPageTotalFormat = i;
        EXPECT_EQ(U(Text("$すべてのﾍﾟｰｼﾞ()$")), totals[i]) << i;
    }
    // Dates and times through the catalogues with the same fixed reading.
    for (int i = 0; i < CDateFormat::COUNT; ++i) {
        m_pText->m_nDateFormat = i;
        EXPECT_EQ(U(Text("[$日付()$]")), "[" + U(CDateFormat().Format(i, {2026, 3, 7, 14, 5, 9})) + "]") << i;
    }
    for (int i = 0; i < CTimeFormat::COUNT; ++i) {
        m_pText->m_nTimeFormat = i;
        EXPECT_EQ(U(Text("$時間()$")), U(CTimeFormat().Format(i, {2026, 3, 7, 14, 5, 9}))) << i;
    }
    m_pText->m_nDateFormat = 2;
    EXPECT_NE(U(Text("$日付()$")).find("7"), std::string::npos);
    // Running numbers advance by the first record's value per page.
    m_pText->m_nNumberingFormat = 0;
    EXPECT_EQ(U(Text("$番号(3)$")), "No. 23");
    m_pText->m_nNumberingFormat = 3;
    EXPECT_EQ(U(Text("$番号(3)$")), "(23)");
    EXPECT_EQ(U(Text("$番号(3)x$")), "$番号(3)x$");
    m_doc.ClearFieldLinks();
    m_pText->m_nNumberingFormat = 0;
    EXPECT_EQ(U(Text("$番号(3)$")), "No. 3");
    m_data.m_nPage = 5;
    EXPECT_EQ(U(Text("$番号(3)$")), "No. 3");
}

TEST_F(EstimateFields, EstimateFieldsReadTheRowOfTheirLineOnThePage)
{
    EXPECT_EQ(U(Text("$見積(1,名称,5)$")), "row5");
    m_data.m_nPage = 3;
    EXPECT_EQ(U(Text("$見積(1,名称,5)$")), "row45");
    // Beyond the rows in use: empty.
    m_data.m_nPage = 4;
    EXPECT_EQ(U(Text("$見積(1,名称,5)$")), "");
    m_data.m_nPage = 1;
    // No record for the key, fewer than three arguments: nothing.
    EXPECT_EQ(U(Text("[$見積(2,名称,1)$]")), "[]");
    EXPECT_EQ(U(Text("[$見積(1,名称)$]")), "[]");
    // Equal item names: the occurrence suffix chooses.
    EXPECT_EQ(U(Text("$見積(1,金額,1)$")), "-1,234");
    EXPECT_EQ(U(Text("$見積(1,金額^1,1)$")), "77");
    // The unit of a heading row prints nothing but its subject number.
    m_data.m_rows[0].nKind = 1;
    EXPECT_EQ(U(Text("$見積(1,単位,1)$")), "");
    m_data.m_rows[0].nKind = 5;
    EXPECT_EQ(U(Text("$見積(1,単位,1)$")), "式");
    m_data.m_rows[0].subjectNo = "A-1 ";
    EXPECT_EQ(U(Text("$見積(1,名称,1)$")), "A-1 row1");
}

TEST_F(EstimateFields, NumbersTakeTheirPictureSignAndTrimming)
{
    // "Data Align" 1: the estimate's own picture.
    EXPECT_EQ(U(Text("$見積(1,数量,1)$")), "12.50");
    m_settings->m_nSpaceSetting = 0;
    EXPECT_EQ(U(Text("$見積(1,数量,1)$")), "12.5");
    m_data.m_rows[0].cells[2] = "12.00";
    EXPECT_EQ(U(Text("$見積(1,数量,1)$")), "12");
    // The same value in a column that is not the quantity is not trimmed.
    m_data.m_form.SetItem(3, 3, "#.##");
    m_data.m_rows[1].cells[3] = "12.50";
    EXPECT_EQ(U(Text("$見積(1,金額,2)$")), "12.50");
    m_settings->m_nSpaceSetting = 1;
    // "Data Align" 0: the object's own picture; "Minus" 0 and 1 mark negative numbers.
    m_settings->m_nDataAlign = 0;
    m_pText->m_nEstimatePicture = 1;
    m_settings->m_nMinus = 0;
    EXPECT_EQ(U(Text("$見積(1,金額,1)$")), "▲ 1,234");
    m_settings->m_nMinus = 1;
    EXPECT_EQ(U(Text("$見積(1,金額,1)$")), "△ 1,234");
    m_settings->m_nMinus = 2;
    EXPECT_EQ(U(Text("$見積(1,金額,1)$")), "-1,234");
    // Zero prints as zero in the picture, through a text and a cell.
    m_pText->m_nEstimatePicture = 0;
    m_pCell->m_nEstimatePicture = 0;
    m_data.m_rows[0].cells[3] = "0";
    EXPECT_EQ(U(Text("$見積(1,金額,1)$")), "0");
    EXPECT_EQ(U(Cell("$見積(1,金額,1)$")), "0");
    // A cell that is no number is printed as it stands.
    m_data.m_rows[0].cells[3] = J("別途");
    EXPECT_EQ(U(Text("$見積(1,金額,1)$")), "別途");
}

TEST_F(EstimateFields, LeftAlignedCellsCarryTheRowsIndent)
{
    m_data.m_rows[0].nIndent = 2;
    m_pCell->m_nAlign = CTextAttributes::alignLeft;
    EXPECT_EQ(U(Cell("$見積(1,名称,1)$")), "  row1");
    EXPECT_EQ(U(Text("$見積(1,名称,1)$")), "row1");
    m_pCell->m_nAlign = CTextAttributes::alignRight;
    EXPECT_EQ(U(Cell("$見積(1,名称,1)$")), "row1");
    // A negative indent (a signed 16-bit count) gives no blanks.
    m_pCell->m_nAlign = CTextAttributes::alignLeft;
    m_data.m_rows[0].nIndent = 0xFFFF;
    EXPECT_EQ(U(Cell("$見積(1,名称,1)$")), "row1");
}

TEST_F(EstimateFields, InformationValuesByNameOccurrenceAndCode)
{
    EXPECT_EQ(U(Text("工事: $情報(工事名)$")), "工事: 駅前ビル新築");
    EXPECT_EQ(U(Text("$情報(会社名^1)$")), "第二建設");
    EXPECT_EQ(U(Text("$情報(合計)$")), "\\5,000"); // 0x5C, the yen sign in code page 932
    m_data.m_info[3] = "-5000";
    m_settings->m_nMinus = 0;
    EXPECT_EQ(U(Text("$情報(合計)$")), "\\-5,000");
    m_data.m_infoForm.SetItem(3, 6, "3");
    m_data.m_info[3] = "5000";
    EXPECT_EQ(U(Text("$情報(合計)$")), "***5,000");
    m_settings->m_nDataAlign = 0;
    m_pText->m_nInformationPicture = 1;
    EXPECT_EQ(U(Text("$情報(合計)$")), "5,000");
    m_data.m_info[3] = "";
    EXPECT_EQ(U(Text("[$情報(合計)$]")), "[]");
    m_data.m_info[3] = "abc";
    m_pText->m_nInformationPicture = 0;
    EXPECT_EQ(U(Text("$情報(合計)$")), "0");
}

TEST(PartsFields, PartsTokensReadThePartsRowsOnly)
{
    CCurrentTestSettings settings;
    CTestLayoutDoc doc(CTestLayoutDoc::partsLayout);
    FillForm(doc.m_curPartsForm, {{"品名", "文字"}, {"数量", "数値", "#.##"}});
    CTestPartsData data;
    data.m_form = doc.m_curPartsForm;
    for (int i = 0; i < 30; ++i)
        data.m_rows.push_back({CString("p") + CString(std::to_string(i + 1).c_str()), i == 0 ? "0" : "3.50"});
    AddFieldRef(doc, J("1,品名"), 10);
    AddFieldRef(doc, J("1,数量"), 10);
    auto* pText = new CDrawText(CRect(0, 0, 100, -100));
    doc.Add(pText);
    auto* pTable = new CDrawTable(CRect(0, -200, 100, -300));
    doc.Add(pTable);
    CDrawCell* pCell = pTable->AddCell(CRect(0, -200, 100, -300));
    data.m_nPage = 2;
    pText->m_strText = J("$部材(1,品名,3)$ $部材(1,数量,3)$");
    EXPECT_EQ(U(pText->ExpandMacrosPM(&data)), "p13 3.50");
    // A numeric zero: nothing through a text object, the picture's zero through a cell.
    data.m_nPage = 1;
    pText->m_strText = J("[$部材(1,数量,1)$]");
    EXPECT_EQ(U(pText->ExpandMacrosPM(&data)), "[]");
    pCell->m_strText = J("[$部材(1,数量,1)$]");
    EXPECT_EQ(U(pTable->ExpandMacrosPM(pCell, &data)), "[0.00]");
    // Estimate tokens are not parts tokens.
    pText->m_strText = J("[$見積(1,品名,1)$][$情報(x)$]");
    EXPECT_EQ(U(pText->ExpandMacrosPM(&data)), "[][]");
    pCell->m_strText = J("[$見積(1,品名,1)$]");
    EXPECT_EQ(U(pTable->ExpandMacrosPM(pCell, &data)), "[$見積(1,品名,1)$]");
}

TEST(FieldDisplay, OccurrenceSuffixesAreHiddenInTheDocumentsOwnTokens)
{
    CTestLayoutDoc em(CTestLayoutDoc::estimateLayout);
    CTestLayoutDoc pm(CTestLayoutDoc::partsLayout);
    auto show = [](const CDrawingDoc& doc, const char* utf8) { return U(FieldDisplayText(J(utf8), &doc)); };
    EXPECT_EQ(show(em, "$見積(1,金額,3)$"), "$見積(1,金額,3)$");
    EXPECT_EQ(show(em, "合計 $すべてのﾍﾟｰｼﾞ()$"), "合計 $すべてのﾍﾟｰｼﾞ()$");
    EXPECT_EQ(show(em, "$見積(1,金額^1,3)$"), "$見積(1,金額,3)$");
    EXPECT_EQ(show(em, "$情報(会社名^1)$"), "$情報(会社名)$");
    EXPECT_EQ(show(pm, "$部材(2,数量^2,10)$"), "$部材(2,数量,10)$");
    EXPECT_EQ(show(em, "$部材(1,数量^1,2)$"), "$部材(1,数量^1,2)$");
    EXPECT_EQ(show(pm, "$見積(1,金額^1,3)$"), "$見積(1,金額^1,3)$");
    EXPECT_EQ(show(em, "$見積(1,金額^1,3$"), "$見積(1,金額^1,3$");
    EXPECT_EQ(show(em, "No.$番号(1)$ / $情報(工事名^1)$"), "No.$番号(1)$ / $情報(工事名)$");
    // "タ" ends in the byte 0x5E: not an occurrence mark.
    EXPECT_EQ(show(em, "$見積(1,データ,3)$^"), "$見積(1,データ,3)$^");
}

TEST(FieldDisplay, PlatformVersionSix)
{
    for (int v : {5, 6, 10}) {
        CDrawingShared::s_nPlatformMajorVersion = v;
        EXPECT_EQ(IsWindowsVersion6() != FALSE, v == 6);
    }
    CDrawingShared::s_nPlatformMajorVersion = 10;
}

TEST_F(EstimateFields, RowKindsChooseFontColourAndAlignment)
{
    for (int i = 0; i < CMorvelSettings::ROW_FONT_COUNT; ++i)
        m_settings->m_lfRowFont[i].lfHeight = -(10 + i);
    m_settings.Profile().WriteProfileString("Color Setting", "Detail Text", "1,2,3");
    m_settings.Profile().WriteProfileString("Color Setting", "Large Project Text", "256,257,258");
    m_settings.Profile().WriteProfileString("Color Setting", "Part Text", "9,8,7");
    m_pText->m_logFont.lfHeight = -99;
    m_pText->m_clrText = RGB(40, 50, 60);
    auto styled = [&](const char* utf8, int nKind) {
        m_pText->m_strText = J(utf8);
        m_data.m_rows[41].nKind = nKind;
        return std::make_pair(m_pText->GetFieldFontEM(&m_data).lfHeight, m_pText->GetFieldColorEM(&m_data));
    };
    m_data.m_nPage = 3; // line 2 with the value 20: row 42
    EXPECT_EQ(styled("$見積(1,名称,2)$", 5),
              std::make_pair(-(10 + CMorvelSettings::fontDetail), RGB(1, 2, 3)));
    EXPECT_EQ(styled("$見積(1,名称,2)$", 105),
              std::make_pair(-(10 + CMorvelSettings::fontDetail), RGB(1, 2, 3)));
    EXPECT_EQ(styled("$見積(1,名称,2)$", 11),
              std::make_pair(-(10 + CMorvelSettings::fontLarge), RGB(0, 1, 2)));
    for (int kind : {4, 16, 37})
        EXPECT_EQ(styled("$見積(1,名称,2)$", kind), std::make_pair(-99, RGB(40, 50, 60))) << kind;
    // Not at the start, no record: the own font and colour.
    EXPECT_EQ(styled(" $見積(1,名称,2)$", 5), std::make_pair(-99, RGB(40, 50, 60)));
    EXPECT_EQ(styled("$見積(7,名称,2)$", 5), std::make_pair(-99, RGB(40, 50, 60)));
    // Non-calculated rows: their own font and colour, or the detail row's.
    EXPECT_EQ(styled("$見積(1,名称,2)$", 55),
              std::make_pair(-(10 + CMorvelSettings::fontNonCalc), RGB(1, 2, 3)));
    m_settings->m_lfRowFont[CMorvelSettings::fontNonCalc].lfHeight = 0;
    m_settings.Profile().WriteProfileString("Color Setting", "Non Calc Text", "7,7,7");
    EXPECT_EQ(styled("$見積(1,名称,2)$", 55),
              std::make_pair(-(10 + CMorvelSettings::fontDetail), RGB(7, 7, 7)));
    // Parts fields: the part font and colour, no row consulted.
    m_pText->m_strText = J("$部材(x)$");
    EXPECT_EQ(m_pText->GetFieldFontPM(nullptr).lfHeight, -(10 + CMorvelSettings::fontPart));
    EXPECT_EQ(m_pText->GetFieldColorPM(nullptr), RGB(9, 8, 7));
    // Alignment from the named item's attribute.
    m_pText->m_nAlign = CTextAttributes::alignCenter;
    m_pText->m_strText = J("$見積(1,名称,2)$");
    EXPECT_EQ(m_pText->AlignFromEstimateField(), CTextAttributes::alignLeft);
    m_pText->m_strText = J("$見積(1,数量,2)$");
    EXPECT_EQ(m_pText->AlignFromEstimateField(), CTextAttributes::alignRight);
    m_pText->m_strText = J("$見積(1,金額^1,2)$");
    EXPECT_EQ(m_pText->AlignFromEstimateField(), CTextAttributes::alignCenter);
    m_pCell->m_strText = J("$見積(1,名称,2)$");
    EXPECT_EQ(m_pTable->CellAlignFromEstimateField(m_pCell), CTextAttributes::alignLeft);
    EXPECT_EQ(m_pTable->CellAlignFromPartsField(m_pCell), m_pCell->m_nAlign);
}

// Every kind a row may carry, edit page and summary page, against the layouts' table of
// fonts (the colour keys go with the fonts: one setting per row of the table).
TEST_F(EstimateFields, EveryRowKindTakesTheFontOfItsTableRow)
{
    for (int i = 0; i < CMorvelSettings::ROW_FONT_COUNT; ++i)
        m_settings->m_lfRowFont[i].lfHeight = -(10 + i);
    m_pText->m_logFont.lfHeight = -99;
    m_pText->m_strText = J("$見積(1,名称,2)$");
    m_data.m_nPage = 3; // line 2 with the value 20: row 42
    using S = CMorvelSettings;
    const std::vector<std::pair<int, std::vector<int>>> table = {
        {S::fontLarge, {1, 11}},
        {S::fontMiddle, {2, 12}},
        {S::fontSmall, {3, 13}},
        {S::fontDetail, {5}},
        {S::fontDiscount, {6, 31, 32, 33, 35}},
        {S::fontKind, {7, 17, 77}},
        {S::fontTax, {8}},
        {S::fontStep, {9}},
        {S::fontSum, {15}},
        {S::fontSort, {21, 22, 23, 24}},
        {S::fontNonCalc,
         {51, 52, 53, 55, 56, 57, 58, 59, 61, 62, 63, 65, 66, 67, 68, 69, 71, 72, 73, 74, 81, 82, 83, 85}},
    };
    for (int nKind = 0; nKind < 200; ++nKind) {
        int nExpected = -99;
        for (const auto& [nFont, kinds] : table) {
            if (std::find(kinds.begin(), kinds.end(), nKind % 100) != kinds.end())
                nExpected = -(10 + nFont);
        }
        m_data.m_rows[41].nKind = nKind;
        EXPECT_EQ(m_pText->GetFieldFontEM(&m_data).lfHeight, nExpected) << nKind;
    }
}

} // namespace
