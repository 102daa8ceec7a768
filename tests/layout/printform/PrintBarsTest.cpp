// The boxes of the print bars and the small tools beside them: the line-style and pattern
// boxes drawn entry by entry (checked pixel by pixel), the printer's font names, the
// element-width dialog and its widths, and the boxes on a layout window's bars, live only
// while the view takes what they choose.
#include "tests/layout/printform/LayoutTestSupport.h"

#include "app/CChildEMFormFrame.h"
#include "app/CChildFormFrame.h"
#include "layout/drawing/CElementWidthDialog.h"
#include "layout/drawing/CLineStyleComboBox.h"
#include "layout/drawing/CShadingDialog.h"
#include "layout/printform/CFontNameComboBox.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "layout/printform/PrintFormRegistration.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/ChildFrameIds.h"
#include "resources/PrintToolsIds.h"
#include "resources/ResourceIds.h"

#include <cstring>
#include <filesystem>
#include <set>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(0x7D, 0x7D, 0x7D);

// One entry of 150 x 15 pixels drawn on a memory context.
class CEntry {
public:
    CEntry()
    {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, kWidth, kHeight);
        m_pOld = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, kWidth, kHeight, RGB(10, 200, 10));
    }
    ~CEntry() { dc.SelectObject(m_pOld); }
    void Draw(CComboBox& box, int nData, UINT nAction, UINT nState)
    {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_COMBOBOX;
        item.itemID = 0;
        item.itemAction = nAction;
        item.itemState = nState;
        item.hDC = dc.GetSafeHdc();
        item.rcItem = CRect(0, 0, kWidth, kHeight);
        item.itemData = static_cast<UINT_PTR>(static_cast<INT_PTR>(nData));
        box.DrawItem(&item);
    }
    COLORREF At(int x, int y) { return dc.GetPixel(x, y) & 0xFFFFFF; }
    // The rows of column x that are black.
    std::vector<int> BlackRows(int x)
    {
        std::vector<int> rows;
        for (int y = 0; y < kHeight; ++y)
            if (At(x, y) == kBlack)
                rows.push_back(y);
        return rows;
    }
    static constexpr int kWidth = 150;
    static constexpr int kHeight = 15; // y0 = 7
    CDC dc;
    CBitmap bitmap;

private:
    CBitmap* m_pOld = nullptr;
};

std::vector<int> Rows(int from, int to)
{
    std::vector<int> rows;
    for (int y = from; y <= to; ++y)
        rows.push_back(y);
    return rows;
}

TEST(PrintBarBoxes, LineStyleEntriesDrawTheirBarsBetweenTheMargins)
{
    CLineStyleComboBox box;
    // Solid styles: their rows around y0 = 7, from x 10 to x 139.
    const std::pair<int, std::vector<int>> solid[] = {
        {1, Rows(7, 7)},  {2, Rows(6, 7)}, {3, Rows(6, 8)},   {4, Rows(5, 8)},           {5, Rows(4, 9)},
        {6, Rows(3, 10)}, {7, {6, 8}},     {8, {4, 5, 8, 9}}, {9, {3, 4, 5, 9, 10, 11}},
    };
    for (const auto& [nStyle, rows] : solid) {
        CEntry entry;
        entry.Draw(box, nStyle, ODA_DRAWENTIRE, 0);
        EXPECT_EQ(entry.BlackRows(75), rows) << "style " << nStyle;
        EXPECT_EQ(entry.BlackRows(10), rows) << "style " << nStyle;
        EXPECT_EQ(entry.BlackRows(139), rows) << "style " << nStyle;
        EXPECT_TRUE(entry.BlackRows(9).empty()) << "style " << nStyle;
        EXPECT_TRUE(entry.BlackRows(140).empty()) << "style " << nStyle;
        EXPECT_EQ(entry.At(75, 0), kWhite) << "the entry is painted white first";
    }
    // Dotted: one pixel every two along y0.
    CEntry dotted;
    dotted.Draw(box, 10, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(dotted.At(10, 7), kBlack);
    EXPECT_EQ(dotted.At(11, 7), kWhite);
    EXPECT_EQ(dotted.At(12, 7), kBlack);
    EXPECT_TRUE(dotted.BlackRows(12) == std::vector<int>{7});
    // Fine dotted: a dotted pen along y0 only, with gaps.
    CEntry fine;
    fine.Draw(box, 11, ODA_DRAWENTIRE, 0);
    int nInk = 0, nGaps = 0;
    for (int x = 10; x < 140; ++x) {
        (fine.At(x, 7) == kBlack ? nInk : nGaps)++;
        EXPECT_TRUE(fine.At(x, 6) == kWhite && fine.At(x, 8) == kWhite);
    }
    EXPECT_GT(nInk, 20);
    EXPECT_GT(nGaps, 20);
    // "(なし)": ink in the middle, none near the edges.
    CEntry none;
    none.Draw(box, 0, ODA_DRAWENTIRE, 0);
    int nTextInk = 0;
    for (int x = 0; x < CEntry::kWidth; ++x)
        for (int y = 0; y < CEntry::kHeight; ++y)
            if (none.At(x, y) != kWhite) {
                ++nTextInk;
                EXPECT_GT(x, 40);
                EXPECT_LT(x, 110);
            }
    EXPECT_GT(nTextInk, 10);
    // Mixed: the whole entry grey.
    CEntry mixed;
    mixed.Draw(box, CLineStyleComboBox::MIXED, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(mixed.At(0, 0), kGrey);
    EXPECT_EQ(mixed.At(75, 7), kGrey);
    EXPECT_EQ(mixed.At(149, 14), kGrey);
}

TEST(PrintBarBoxes, ASelectedEntryIsInvertedAndComesBackWhenDeselected)
{
    CLineStyleComboBox box;
    CEntry selected;
    selected.Draw(box, 3, ODA_DRAWENTIRE, ODS_SELECTED);
    EXPECT_EQ(selected.At(75, 0), kBlack);
    EXPECT_EQ(selected.At(75, 7), kWhite) << "the bar shows white on black";
    // Drawn plain, then selected, then deselected: two inversions give the plain look back.
    CEntry toggled;
    toggled.Draw(box, 3, ODA_DRAWENTIRE, 0);
    toggled.Draw(box, 3, ODA_SELECT, ODS_SELECTED);
    EXPECT_EQ(toggled.At(75, 0), kBlack);
    toggled.Draw(box, 3, ODA_SELECT, 0);
    EXPECT_EQ(toggled.At(75, 0), kWhite);
    EXPECT_EQ(toggled.At(75, 7), kBlack);
}

TEST(PrintBarBoxes, PatternEntriesShowTheirSampleInTheirColoursAndTheirLabel)
{
    CPatternComboBox box;
    box.m_clrFore = RGB(200, 0, 0);
    box.m_clrBack = RGB(0, 0, 200);
    CEntry full;
    full.Draw(box, 1, ODA_DRAWENTIRE, 0);
    // The sample's frame from x 5 to 19, its inside in the set-bit colour.
    EXPECT_EQ(full.At(5, 7), kBlack);
    EXPECT_EQ(full.At(19, 7), kBlack);
    EXPECT_EQ(full.At(12, 0), kBlack);
    EXPECT_EQ(full.At(12, 14), kBlack);
    EXPECT_EQ(full.At(12, 7), RGB(200, 0, 0));
    EXPECT_EQ(full.At(4, 7), kWhite);
    EXPECT_EQ(full.At(24, 7), kWhite);
    CEntry empty;
    empty.Draw(box, 0, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(empty.At(12, 7), RGB(0, 0, 200)) << "pattern 0 is all clear bits";
    // Pattern 19 ("濃縦縞", 0x99 each row): columns 1, 4, 5 of each 8 set.
    CEntry stripes;
    stripes.Draw(box, 19, ODA_DRAWENTIRE, 0);
    int nFore = 0, nBack = 0;
    for (int x = 6; x < 19; ++x)
        (stripes.At(x, 7) == RGB(200, 0, 0) ? nFore : nBack)++;
    EXPECT_GT(nFore, 3);
    EXPECT_GT(nBack, 3);
    // The label starts at x 30.
    int nLabel = 0;
    for (int x = 20; x < CEntry::kWidth; ++x)
        for (int y = 0; y < CEntry::kHeight; ++y)
            if (full.At(x, y) != kWhite) {
                ++nLabel;
                EXPECT_GE(x, 30);
            }
    EXPECT_GT(nLabel, 10);
    CEntry mixed;
    mixed.Draw(box, CPatternComboBox::MIXED, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(mixed.At(12, 7), kGrey);
}

TEST(ElementWidth, NarrowestWidestAndTheTruncatedAverage)
{
    EXPECT_EQ(ElementWidthFor(CElementWidthDialog::choiceAverage, {100, 101, 102}), 101);
    EXPECT_EQ(ElementWidthFor(CElementWidthDialog::choiceAverage, {100, 101}), 100);
    // Lines drawn right to left have negative widths: their size counts.
    EXPECT_EQ(ElementWidthFor(CElementWidthDialog::choiceNarrowest, {-50, 300, 120}), 50);
    EXPECT_EQ(ElementWidthFor(CElementWidthDialog::choiceWidest, {-500, 300, 120}), 500);
    EXPECT_EQ(ElementWidthFor(CElementWidthDialog::choiceAverage, {}), 0);
    // Widths near the int range add up without overflowing.
    EXPECT_EQ(ElementWidthFor(CElementWidthDialog::choiceAverage, {2000000000, 2000000000}), 2000000000);
}

// ---------------------------------------------------------------------------------------
// With the application: the dialog, the printer's fonts, the layout window's bars.
// ---------------------------------------------------------------------------------------
class PrintBarsWindow : public LayoutAppTest {
protected:
    void SetUp() override
    {
        m_pFolder = std::make_unique<CLayoutTestFolder>();
        std::filesystem::copy_file(std::filesystem::path(MORVEL_SOURCE_DIR) / "samples" / "FORM" /
                                       "見積書.MMP",
                                   m_pFolder->Native("WORK/LAYOUT.MMP"));
        RegisterPrintForm();
        m_pApp = std::make_unique<CMorvelApp>();
        m_pApp->SetCommandLine(std::vector<CString>{"/nosplash"});
        ASSERT_TRUE(m_pApp->InitInstance());
        Pump();
    }
    CChildFormFrame* OpenLayoutWindow()
    {
        CPrintDoc* pDoc = Open(m_pFolder->System("WORK/LAYOUT.MMP"));
        if (pDoc == nullptr)
            return nullptr;
        POSITION pos = pDoc->GetFirstViewPosition();
        CView* pView = pDoc->GetNextView(pos);
        auto* pFrame = dynamic_cast<CChildFormFrame*>(pView->GetParentFrame());
        if (pFrame != nullptr)
            pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        return pFrame;
    }
};

TEST_F(PrintBarsWindow, TheBarsCarryFilledBoxesThatWaitForAViewToTakeThem)
{
    CChildFormFrame* pFrame = OpenLayoutWindow();
    ASSERT_NE(pFrame, nullptr);
    CComboBox* pLine = pFrame->GetBarBox(IDC_LINE_STYLE);
    CComboBox* pPattern = pFrame->GetBarBox(IDC_FILL_PATTERN);
    CComboBox* pFont = pFrame->GetBarBox(IDC_FONT_NAME);
    ASSERT_TRUE(pLine != nullptr && pPattern != nullptr && pFont != nullptr);
    ASSERT_EQ(pLine->GetCount(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(static_cast<int>(pLine->GetItemData(i)), i);
    EXPECT_EQ(pLine->GetCurSel(), 1);
    ASSERT_EQ(pPattern->GetCount(), 30);
    EXPECT_EQ(static_cast<int>(pPattern->GetItemData(29)), 29);
    CString label;
    pPattern->GetLBText(18, label);
    EXPECT_EQ(label, "濃横縞"_sj);
    // The printer's faces, each once.
    ASSERT_GT(pFont->GetCount(), 0);
    std::set<std::string> faces;
    for (int i = 0; i < pFont->GetCount(); ++i) {
        CString face;
        pFont->GetLBText(i, face);
        EXPECT_TRUE(faces.insert(face.ToUtf8()).second) << face.ToUtf8();
    }
    // The editor's view takes the line style for its ruled-line tools at any time.
    EXPECT_TRUE(pLine->IsWindowEnabled());
}

TEST_F(PrintBarsWindow, AChoiceInTheLineStyleBoxReachesTheEditorsRuledLineTool)
{
    CChildFormFrame* pFrame = OpenLayoutWindow();
    ASSERT_NE(pFrame, nullptr);
    auto* pView = dynamic_cast<CPrintFormView*>(pFrame->GetActiveView());
    ASSERT_NE(pView, nullptr);
    CComboBox* pLine = pFrame->GetBarBox(IDC_LINE_STYLE);
    ASSERT_NE(pLine, nullptr);
    EXPECT_EQ(pView->GetBarBox(IDC_LINE_STYLE), pLine);
    // A user's choice in the box goes from the bar through the window to the view.
    ASSERT_TRUE(SelectDlgItem(*pLine->GetParent(), IDC_LINE_STYLE, 6));
    EXPECT_EQ(pView->GetRuleLineStyle(), 6);
    EXPECT_EQ(pLine->GetCurSel(), 6) << "the box keeps the choice";
}

TEST_F(PrintBarsWindow, FontNamesAreListedOnceAndMacintoshFacesNotAtAll)
{
    CFontNameComboBox box;
    CDC printer;
    ASSERT_TRUE(AfxGetApp()->CreatePrinterDC(printer));
    box.FillFonts(&printer, DEFAULT_CHARSET);
    const int nFaces = box.GetFontCount();
    ASSERT_GT(nFaces, 0);
    const CFontNameItem* pFirst = box.GetFontItem(0);
    ASSERT_NE(pFirst, nullptr);
    // The same face again in other letters, and a Macintosh face: neither is added.
    LOGFONT lf{};
    CString lower = pFirst->m_strFaceName;
    lower.MakeLower();
    std::strncpy(lf.lfFaceName, lower, LF_FACESIZE - 1);
    lf.lfCharSet = SHIFTJIS_CHARSET;
    box.AddFont(lf);
    std::strncpy(lf.lfFaceName, "Osaka", LF_FACESIZE - 1);
    lf.lfCharSet = 77;
    box.AddFont(lf);
    EXPECT_EQ(box.GetFontCount(), nFaces);
    // A new face keeps its character set and pitch and family.
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfPitchAndFamily = FF_SWISS | VARIABLE_PITCH;
    box.AddFont(lf);
    ASSERT_EQ(box.GetFontCount(), nFaces + 1);
    EXPECT_EQ(box.GetFontItem(nFaces)->m_strFaceName, "Osaka");
    EXPECT_EQ(box.GetFontItem(nFaces)->m_nCharSet, ANSI_CHARSET);
    EXPECT_EQ(box.GetFontItem(nFaces)->m_nPitchAndFamily, FF_SWISS | VARIABLE_PITCH);
    // Filling again starts afresh; a context without a device lists nothing.
    box.FillFonts(&printer, DEFAULT_CHARSET);
    EXPECT_EQ(box.GetFontCount(), nFaces);
    CDC none;
    box.FillFonts(&none, DEFAULT_CHARSET);
    EXPECT_EQ(box.GetFontCount(), 0);
}

TEST_F(PrintBarsWindow, ElementWidthDialogStartsOnTheAverageAndReturnsTheChoice)
{
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_ELEMENT_WIDTH, [](CDialog& dlg) {
        EXPECT_TRUE(dlg.IsDlgButtonChecked(IDC_WIDTH_AVERAGE));
        EXPECT_FALSE(dlg.IsDlgButtonChecked(IDC_WIDTH_NARROWEST));
        ClickDlgButton(dlg, IDC_WIDTH_WIDEST);
        ClickDlgButton(dlg, IDOK);
    });
    CElementWidthDialog dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nChoice, CElementWidthDialog::choiceWidest);
    answerer.AnswerDialog(IDD_ELEMENT_WIDTH, [](CDialog& d) {
        ClickDlgButton(d, IDC_WIDTH_NARROWEST);
        ClickDlgButton(d, IDCANCEL);
    });
    CElementWidthDialog cancelled;
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.m_nChoice, CElementWidthDialog::choiceAverage) << "Cancel keeps the value";
}

} // namespace
