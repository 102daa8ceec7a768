// Property sheets run by the dialog answerer as a user would: pages made when first shown,
// OK and Cancel reaching only those pages, validation keeping a page in front, Apply, the
// standard buttons and their keys, one font for the sheet and its pages, and running the
// same sheet again.
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/CPropertySheet.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include "DialogTestSupport.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT IDD_PAGE_A = 9101;
constexpr UINT IDD_PAGE_B = 9102;
constexpr UINT IDD_PAGE_C = 9103;
constexpr int IDC_VALUE = 1001;
constexpr int IDC_PUSH = 1002;

void RegisterPageTemplates()
{
    const DWORD style = WS_CHILD | WS_CAPTION | DS_CONTROL;
    RegisterDialogTemplate(DialogTemplate(IDD_PAGE_A, "甲"_sj, 160, 90, style,
                                          {
                                              {DlgStatic, IDC_STATIC, "値(&V)"_sj, 7, 9, 30, 8},
                                              {DlgEdit, IDC_VALUE, CString(), 40, 7, 60, 14, WS_BORDER},
                                              {DlgPushButton, IDC_PUSH, "押す"_sj, 40, 30, 50, 14},
                                          }));
    RegisterDialogTemplate(DialogTemplate(IDD_PAGE_B, "乙"_sj, 200, 120, style,
                                          {
                                              {DlgEdit, IDC_VALUE, CString(), 7, 7, 60, 14, WS_BORDER},
                                          }));
    RegisterDialogTemplate(DialogTemplate(IDD_PAGE_C, "丙"_sj, 100, 60, style,
                                          {
                                              {DlgEdit, IDC_VALUE, CString(), 7, 7, 60, 14, WS_BORDER},
                                          }));
}

// A page that counts what the sheet asks of it and exchanges one number (1 to 100).
class CCountingPage : public CPropertyPage {
public:
    explicit CCountingPage(UINT nID) : CPropertyPage(nID) {}

    int m_nValue = 1;
    int m_nInit = 0;
    int m_nOK = 0;
    int m_nCancel = 0;
    int m_nApply = 0;
    int m_nSetActive = 0;
    int m_nPushes = 0;
    BOOL m_bRefuseApply = FALSE;

    BOOL OnInitDialog() override
    {
        ++m_nInit;
        return CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_VALUE, m_nValue);
        DDV_MinMaxInt(pDX, m_nValue, 1, 100);
    }
    BOOL OnSetActive() override
    {
        ++m_nSetActive;
        return CPropertyPage::OnSetActive();
    }
    BOOL OnApply() override
    {
        ++m_nApply;
        if (m_bRefuseApply)
            return FALSE;
        return CPropertyPage::OnApply();
    }
    void OnOK() override { ++m_nOK; }
    void OnCancel() override { ++m_nCancel; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(static_cast<DWORD>(wParam)) == IDC_PUSH && lParam != 0) {
            ++m_nPushes;
            return TRUE;
        }
        return CPropertyPage::OnCommand(wParam, lParam);
    }
};

CPropertySheet& SheetOf(CDialog& d)
{
    return dynamic_cast<CPropertySheet&>(d);
}

CRect WindowRectOf(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc;
}

int g_nSheetPoint = 9;

// A sheet that gives its own template and every page template one font, as the
// program's sheets do for the main frame's commands.
class CFontSheet : public CPropertySheet {
public:
    explicit CFontSheet(int nPoint) : CPropertySheet("書体"_sj), m_nPoint(nPoint)
    {
        g_nSheetPoint = nPoint;
        m_psh.dwFlags |= PSH_USECALLBACK;
        m_psh.pfnCallback = &CFontSheet::Callback;
    }
    static int Callback(HWND, UINT uMsg, LPARAM lParam)
    {
        if (uMsg == PSCB_PRECREATE) {
            auto* t = reinterpret_cast<DialogTemplate*>(lParam);
            t->fontFace = "ＭＳ Ｐゴシック"_sj;
            t->pointSize = g_nSheetPoint;
        }
        return 0;
    }
    void BuildPropPageArray() override
    {
        CPropertySheet::BuildPropPageArray();
        for (UINT i = 0; i < m_psh.nPages; ++i) {
            m_psh.ppsp[i].pResource->fontFace = "ＭＳ Ｐゴシック"_sj;
            m_psh.ppsp[i].pResource->pointSize = m_nPoint;
        }
    }
    int m_nPoint;
};
class PropertySheetTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterPageTemplates(); }
    CDialogAnswerer answerer;
    CCountingPage a{IDD_PAGE_A};
    CCountingPage b{IDD_PAGE_B};
    CCountingPage c{IDD_PAGE_C};
};

} // namespace

TEST_F(PropertySheetTest, PagesAreMadeWhenFirstShownAndOKAppliesOnlyThose)
{
    CPropertySheet sheet("設定"_sj);
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    sheet.AddPage(&c);
    CString caption;
    bool bMadeBeforeShown = true;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        CPropertySheet& s = SheetOf(d);
        d.GetWindowText(caption);
        EXPECT_EQ(s.GetActivePage(), &a);
        bMadeBeforeShown = b.m_hWnd != nullptr || c.m_hWnd != nullptr;
        EXPECT_TRUE(s.SetActivePage(1));
        EXPECT_NE(b.m_hWnd, nullptr);
        EXPECT_FALSE(a.IsWindowVisible());
        EXPECT_TRUE(b.IsWindowVisible());
        TypeDlgItemText(b, IDC_VALUE, "42");
        ClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(caption, "設定"_sj);
    EXPECT_FALSE(bMadeBeforeShown);
    EXPECT_EQ(a.m_nInit, 1);
    EXPECT_EQ(b.m_nInit, 1);
    EXPECT_EQ(c.m_nInit, 0);
    EXPECT_EQ(a.m_nApply, 1);
    EXPECT_EQ(a.m_nOK, 1); // the default OnApply ends in OnOK
    EXPECT_EQ(b.m_nOK, 1);
    EXPECT_EQ(c.m_nApply, 0);
    EXPECT_EQ(c.m_nOK, 0);
    EXPECT_EQ(b.m_nValue, 42);
    EXPECT_EQ(a.m_hWnd, nullptr);
    EXPECT_EQ(b.m_hWnd, nullptr);
}

TEST_F(PropertySheetTest, CancelResetsOnlyCreatedPagesAndChangesNoMember)
{
    CPropertySheet sheet("設定"_sj, nullptr, 2);
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    sheet.AddPage(&c);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        EXPECT_EQ(SheetOf(d).GetActiveIndex(), 2);
        TypeDlgItemText(c, IDC_VALUE, "7");
        ClickDlgButton(d, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(a.m_nInit, 0);
    EXPECT_EQ(a.m_nCancel, 0);
    EXPECT_EQ(c.m_nCancel, 1);
    EXPECT_EQ(c.m_nOK, 0);
    EXPECT_EQ(c.m_nValue, 1);
}

TEST_F(PropertySheetTest, AnInvalidPageCannotBeLeftNorConfirmed)
{
    CPropertySheet sheet("設定"_sj);
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    bool bSwitched = true;
    bool bStillOpen = false;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        CPropertySheet& s = SheetOf(d);
        TypeDlgItemText(a, IDC_VALUE, "500");
        bSwitched = s.SetActivePage(1) != FALSE;
        EXPECT_EQ(s.GetActiveIndex(), 0);
        ClickDlgButton(d, IDOK);
        bStillOpen = d.IsModalRunning() != FALSE;
        TypeDlgItemText(a, IDC_VALUE, "50");
        ClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_FALSE(bSwitched);
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(b.m_nInit, 0);
    EXPECT_EQ(a.m_nValue, 50);
    EXPECT_EQ(a.m_nOK, 1);
    EXPECT_EQ(answerer.MessageBoxTexts(),
              (std::vector<CString>{"1 から 100 までの整数を入力してください。"_sj,
                                    "1 から 100 までの整数を入力してください。"_sj}));
}

TEST_F(PropertySheetTest, APageRefusingToApplyComesToTheFrontAndKeepsTheSheetOpen)
{
    CPropertySheet sheet("設定"_sj);
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    b.m_bRefuseApply = TRUE;
    int nActiveAfter = -1;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        CPropertySheet& s = SheetOf(d);
        s.SetActivePage(1);
        s.SetActivePage(0);
        ClickDlgButton(d, IDOK);
        nActiveAfter = s.GetActiveIndex();
        b.m_bRefuseApply = FALSE;
        ClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(nActiveAfter, 1);
    EXPECT_EQ(a.m_nOK, 2);
    EXPECT_EQ(b.m_nApply, 2);
}

TEST_F(PropertySheetTest, SetModifiedEnablesApplyWhichAppliesAndStaysOpen)
{
    CPropertySheet sheet("設定"_sj);
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    BOOL bEnabledAtStart = TRUE, bEnabledModified = FALSE, bEnabledAfter = TRUE, bOpenAfterApply = FALSE;
    CString texts[4];
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        const int ids[4] = {IDOK, IDCANCEL, static_cast<int>(ID_APPLY_NOW), IDHELP};
        for (int i = 0; i < 4; ++i)
            d.GetDlgItemText(ids[i], texts[i]);
        bEnabledAtStart = d.GetDlgItem(ID_APPLY_NOW)->IsWindowEnabled();
        a.SetModified(TRUE);
        bEnabledModified = d.GetDlgItem(ID_APPLY_NOW)->IsWindowEnabled();
        ClickDlgButton(d, ID_APPLY_NOW);
        bOpenAfterApply = d.IsModalRunning();
        bEnabledAfter = d.GetDlgItem(ID_APPLY_NOW)->IsWindowEnabled();
        ClickDlgButton(d, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(texts[0], "OK");
    EXPECT_EQ(texts[1], "ｷｬﾝｾﾙ"_sj);
    EXPECT_EQ(texts[2], "適用(&A)"_sj);
    EXPECT_EQ(texts[3], "ﾍﾙﾌﾟ"_sj);
    EXPECT_FALSE(bEnabledAtStart);
    EXPECT_TRUE(bEnabledModified);
    EXPECT_TRUE(bOpenAfterApply);
    EXPECT_FALSE(bEnabledAfter);
    EXPECT_EQ(a.m_nOK, 1);
    EXPECT_EQ(a.m_nCancel, 1);
}

TEST_F(PropertySheetTest, ButtonsSitLeftToRightUnderThePagesAndCanBeMovedAndHidden)
{
    // A sheet that rearranges its buttons the way the program's sheets do.
    class CMovingSheet : public CPropertySheet {
    public:
        CMovingSheet() : CPropertySheet("移動"_sj) {}
        CRect before[4];
        BOOL OnInitDialog() override
        {
            const int ids[4] = {IDOK, IDCANCEL, static_cast<int>(ID_APPLY_NOW), IDHELP};
            for (int i = 0; i < 4; ++i) {
                GetDlgItem(ids[i])->GetWindowRect(&before[i]);
                ScreenToClient(&before[i]);
            }
            GetDlgItem(IDOK)->MoveWindow(&before[2]);
            GetDlgItem(IDCANCEL)->MoveWindow(&before[3]);
            GetDlgItem(ID_APPLY_NOW)->ShowWindow(SW_HIDE);
            GetDlgItem(IDHELP)->ShowWindow(SW_HIDE);
            GetDlgItem(IDHELP)->EnableWindow(FALSE);
            SetDlgItemText(IDCANCEL, "OK");
            return CPropertySheet::OnInitDialog();
        }
    } sheet;
    sheet.AddPage(&a);
    CRect okAfter, cancelAfter, page;
    bool bHelpVisible = true;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        okAfter = WindowRectOf(d.GetDlgItem(IDOK));
        cancelAfter = WindowRectOf(d.GetDlgItem(IDCANCEL));
        page = WindowRectOf(&a);
        d.ScreenToClient(&okAfter);
        d.ScreenToClient(&cancelAfter);
        d.ScreenToClient(&page);
        bHelpVisible = d.GetDlgItem(IDHELP)->IsWindowVisible();
        ClickDlgButton(d, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    for (int i = 0; i + 1 < 4; ++i) {
        EXPECT_LT(sheet.before[i].right, sheet.before[i + 1].left);
        EXPECT_EQ(sheet.before[i].top, sheet.before[i + 1].top);
    }
    EXPECT_GT(sheet.before[0].top, page.bottom);
    EXPECT_EQ(okAfter, sheet.before[2]);
    EXPECT_EQ(cancelAfter, sheet.before[3]);
    EXPECT_FALSE(bHelpVisible);
    EXPECT_EQ(a.m_nCancel, 1);
}

TEST_F(PropertySheetTest, EnterPressesOKEscapeCancelsAndAFocusedPageButtonTakesEnter)
{
    CPropertySheet sheet("設定"_sj);
    sheet.AddPage(&a);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        a.GetDlgItem(IDC_PUSH)->SetFocus();
        PressDlgKey(d, VK_RETURN);
        EXPECT_TRUE(d.IsModalRunning());
        a.GetDlgItem(IDC_VALUE)->SetFocus();
        TypeDlgItemText(a, IDC_VALUE, "9");
        PressDlgKey(d, VK_RETURN);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(a.m_nPushes, 1);
    EXPECT_EQ(a.m_nValue, 9);

    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        a.GetDlgItem(IDC_VALUE)->SetFocus();
        PressDlgKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(a.m_nCancel, 1);
    EXPECT_EQ(a.m_nInit, 2); // the second run made the page again
}

TEST_F(PropertySheetTest, OneFontRewrittenIntoEveryTemplateSizesTheSheetAndItsPages)
{
    CRect pageSmall, pageLarge, sheetSmall, sheetLarge;
    for (int nPoint : {9, 14}) {
        CFontSheet sheet(nPoint);
        sheet.AddPage(&b);
        answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
            (nPoint == 9 ? pageSmall : pageLarge) = WindowRectOf(&b);
            (nPoint == 9 ? sheetSmall : sheetLarge) = WindowRectOf(&d);
            ClickDlgButton(d, IDCANCEL);
        });
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    }
    EXPECT_GT(pageLarge.Width(), pageSmall.Width());
    EXPECT_GT(pageLarge.Height(), pageSmall.Height());
    EXPECT_GT(sheetLarge.Width(), sheetSmall.Width());
    // The registered template is not changed by a sheet's rewrite.
    EXPECT_TRUE(FindDialogTemplate(IDD_PAGE_B)->fontFace.IsEmpty());
}

TEST_F(PropertySheetTest, SetActivePageBringsAPageForwardAndAModelessSheetHidesOnOK)
{
    CPropertySheet modal("設定"_sj);
    modal.AddPage(&a);
    modal.AddPage(&b);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        CPropertySheet& s = SheetOf(d);
        EXPECT_TRUE(s.SetActivePage(&b));
        EXPECT_EQ(s.GetActivePage(), &b);
        ClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(modal.DoModal(), IDOK);

    CPropertySheet modeless("非モーダル"_sj);
    CCountingPage p(IDD_PAGE_C);
    modeless.AddPage(&p);
    ASSERT_TRUE(modeless.Create());
    EXPECT_TRUE(modeless.IsWindowVisible());
    EXPECT_EQ(p.m_nInit, 1);
    modeless.PressButton(IDOK);
    EXPECT_FALSE(modeless.IsWindowVisible());
    EXPECT_EQ(p.m_nOK, 1);
    modeless.DestroyWindow();
    EXPECT_EQ(p.m_hWnd, nullptr);
}

TEST_F(PropertySheetTest, TabLeavesASelfDrawnControlForTheNextControl)
{
    constexpr UINT IDD_PAGE_GRID = 9104;
    RegisterDialogTemplate(DialogTemplate(
        IDD_PAGE_GRID, "格子"_sj, 160, 90, WS_CHILD | WS_CAPTION | DS_CONTROL,
        {
            {DlgCustom, 1042, CString(), 7, 7, 100, 50, WS_TABSTOP, 0, 0, CString("MorvelGrid32")},
            {DlgEdit, IDC_VALUE, CString(), 7, 60, 60, 14, WS_BORDER},
        }));
    CCountingPage page(IDD_PAGE_GRID);
    CPropertySheet sheet("設定"_sj);
    sheet.AddPage(&page);
    CWnd* pAfterTab = nullptr;
    CWnd* pEdit = nullptr;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        page.GetDlgItem(1042)->SetFocus();
        PressDlgKey(d, VK_TAB);
        pAfterTab = CWnd::GetFocus();
        pEdit = page.GetDlgItem(IDC_VALUE);
        ClickDlgButton(d, IDCANCEL);
    });
    sheet.DoModal();
    EXPECT_NE(pAfterTab, nullptr);
    EXPECT_EQ(pAfterTab, pEdit);
}
