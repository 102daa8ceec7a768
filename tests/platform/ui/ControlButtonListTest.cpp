// Buttons, list boxes, scroll bars and up-down controls: what the user's actions do and
// report, what code does silently, and owner drawing through the control's DrawItem.
#include "platform/ui/controls/CButton.h"
#include "platform/ui/controls/CEdit.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/controls/CSpinButtonCtrl.h"
#include "platform/ui/controls/CStatic.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include "DialogTestSupport.h"
#include "UiTestSupport.h"

#include <QAbstractSlider>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr UINT IDD_BUTTONS = 9301;
constexpr int IDC_AUTO = 1401;
constexpr int IDC_MANUAL = 1402;
constexpr int IDC_TRI = 1403;
constexpr int IDC_R1 = 1404;
constexpr int IDC_R2 = 1405;
constexpr int IDC_R3 = 1406;
constexpr int IDC_LIST = 1407;
constexpr int IDC_MULTI = 1408;
constexpr int IDC_QUIET = 1409;
constexpr int IDC_BAR = 1410;
constexpr int IDC_NUMBER = 1411;
constexpr int IDC_SPIN = 1412;
constexpr int IDC_SWATCH = 1413;

// A swatch button that paints itself in one colour, framed black when pressed.
class CSwatchButton : public CButton {
public:
    COLORREF m_color = RGB(0, 0, 255);
    int entire = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        CDC* pDC = CDC::FromHandle(lpDIS->hDC);
        CRect rc(lpDIS->rcItem);
        if (lpDIS->itemAction == ODA_DRAWENTIRE)
            ++entire;
        pDC->FillSolidRect(&rc, m_color);
    }
};

class CControlsDialog : public CNotifyDialog {
public:
    CControlsDialog() : CNotifyDialog(IDD_BUTTONS) {}
    CSwatchButton m_swatch;
    std::vector<std::pair<UINT, int>> scrolls; // (code, position)
    int refuseSteps = 0;

    BOOL OnInitDialog() override
    {
        m_swatch.SubclassDlgItem(IDC_SWATCH, this);
        return CNotifyDialog::OnInitDialog();
    }

protected:
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar)
    {
        if (pBar == static_cast<CScrollBar*>(GetDlgItem(IDC_BAR)))
            scrolls.emplace_back(nSBCode, static_cast<int>(nPos));
    }
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar)
    {
        if (reinterpret_cast<CWnd*>(pBar) == GetDlgItem(IDC_SPIN))
            scrolls.emplace_back(nSBCode, static_cast<int>(nPos));
    }
    afx_msg void OnDeltaPos(NMHDR* pNMHDR, LRESULT* pResult)
    {
        auto* p = reinterpret_cast<NMUPDOWN*>(pNMHDR);
        *pResult = (refuseSteps > 0 && p->iDelta > 0) ? 1 : 0;
        if (*pResult)
            --refuseSteps;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CControlsDialog, CNotifyDialog)
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN, OnDeltaPos)
END_MESSAGE_MAP()

class ControlButtonListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestTemplate(
            IDD_BUTTONS,
            {
                {DlgCheckBox, IDC_AUTO, "自動"_sj, 7, 7, 60, 10},
                {DlgCheckBox, IDC_MANUAL, "手動"_sj, 7, 19, 60, 10, BS_CHECKBOX},
                {DlgCheckBox, IDC_TRI, "三"_sj, 7, 31, 60, 10, BS_AUTO3STATE},
                {DlgRadioButton, IDC_R1, "一"_sj, 80, 7, 40, 10, WS_GROUP},
                {DlgRadioButton, IDC_R2, "二"_sj, 80, 19, 40, 10},
                {DlgRadioButton, IDC_R3, "三"_sj, 80, 31, 40, 10},
                {DlgListBox, IDC_LIST, CString(), 7, 45, 60, 50,
                 LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER | WS_GROUP},
                {DlgListBox, IDC_MULTI, CString(), 70, 45, 60, 50, LBS_NOTIFY | LBS_MULTIPLESEL | WS_BORDER},
                {DlgListBox, IDC_QUIET, CString(), 133, 45, 60, 50, WS_BORDER},
                {DlgScrollBar, IDC_BAR, CString(), 7, 100, 120, 10, SBS_HORZ},
                {DlgEdit, IDC_NUMBER, CString(), 7, 115, 40, 14, WS_BORDER},
                {DlgUpDown, IDC_SPIN, CString(), 47, 115, 10, 14,
                 UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS},
                {DlgPushButton, IDC_SWATCH, CString(), 140, 100, 40, 20, BS_OWNERDRAW},
                {DlgPushButton, IDOK, "OK"_sj, 140, 7, 50, 14, BS_DEFPUSHBUTTON},
            },
            200, 140);
    }

    void Run(const std::function<void(CControlsDialog&)>& body)
    {
        CControlsDialog dlg;
        answerer.AnswerDialog(IDD_BUTTONS, [&](CDialog&) {
            body(dlg);
            dlg.EndDialog(IDOK);
        });
        dlg.DoModal();
    }

    CDialogAnswerer answerer;
};

CListBox& List(CDialog& d, int nID)
{
    return *static_cast<CListBox*>(d.GetDlgItem(nID));
}

} // namespace

TEST_F(ControlButtonListTest, CheckBoxesFollowTheirStyleWhenClicked)
{
    Run([](CControlsDialog& d) {
        ClickDlgButton(d, IDC_AUTO);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_AUTO), BST_CHECKED);
        ClickDlgButton(d, IDC_MANUAL);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_MANUAL), BST_UNCHECKED) << "the owner checks a plain check box";
        EXPECT_EQ(d.Count(IDC_MANUAL, BN_CLICKED), 1);
        ClickDlgButton(d, IDC_TRI);
        ClickDlgButton(d, IDC_TRI);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_TRI), BST_INDETERMINATE);
        ClickDlgButton(d, IDC_TRI);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_TRI), BST_UNCHECKED);
        // Checking by code does not click.
        d.Clear();
        d.CheckDlgButton(IDC_AUTO, BST_UNCHECKED);
        d.CheckDlgButton(IDC_TRI, BST_INDETERMINATE);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_TRI), BST_INDETERMINATE);
        EXPECT_TRUE(d.notes.empty());
        // A disabled button cannot be clicked.
        d.GetDlgItem(IDC_AUTO)->EnableWindow(FALSE);
        EXPECT_FALSE(ClickDlgButton(d, IDC_AUTO));
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_AUTO), BST_UNCHECKED);
    });
}

TEST_F(ControlButtonListTest, AutomaticRadioButtonsClearTheOthersOfTheirGroupOnly)
{
    Run([](CControlsDialog& d) {
        d.CheckDlgButton(IDC_AUTO, BST_CHECKED);
        ClickDlgButton(d, IDC_R2);
        EXPECT_EQ(d.GetCheckedRadioButton(IDC_R1, IDC_R3), IDC_R2);
        ClickDlgButton(d, IDC_R3);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_R2), BST_UNCHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_R3), BST_CHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_AUTO), BST_CHECKED) << "another group is left alone";
        EXPECT_EQ(d.Count(IDC_R3, BN_CLICKED), 1);
        // Checking by code checks only the one button.
        d.CheckDlgButton(IDC_R1, BST_CHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_R3), BST_CHECKED);
        d.CheckRadioButton(IDC_R1, IDC_R3, IDC_R1);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_R3), BST_UNCHECKED);
    });
}

TEST_F(ControlButtonListTest, ListBoxesSortSelectSilentlyAndReportTheUsersChoiceWhenAskedTo)
{
    Run([](CControlsDialog& d) {
        CListBox& list = List(d, IDC_LIST);
        CListBox& quiet = List(d, IDC_QUIET);
        EXPECT_EQ(list.AddString("melon"), 0);
        EXPECT_EQ(list.AddString("Apple"), 0);
        EXPECT_EQ(list.InsertString(0, "zz"), 0) << "an index is kept even in a sorted list";
        EXPECT_EQ(list.InsertString(-1, "aa"), 3);
        EXPECT_EQ(list.InsertString(10, "x"), LB_ERR);
        CString text;
        list.GetText(2, text);
        EXPECT_EQ(text, "melon");
        EXPECT_EQ(list.GetCurSel(), LB_ERR);
        EXPECT_EQ(list.SetCurSel(1), 1);
        EXPECT_EQ(list.FindString(-1, "ME"), 2);
        EXPECT_EQ(list.FindStringExact(2, "ZZ"), 0);
        EXPECT_EQ(list.SelectString(-1, "mel"), 2);
        EXPECT_EQ(d.Count(IDC_LIST, LBN_SELCHANGE), 0);
        SelectDlgItem(d, IDC_LIST, 0);
        EXPECT_EQ(list.GetCurSel(), 0);
        EXPECT_EQ(d.Count(IDC_LIST, LBN_SELCHANGE), 1);
        DoubleClickDlgItem(d, IDC_LIST, 3);
        EXPECT_EQ(d.Count(IDC_LIST, LBN_DBLCLK), 1);
        // Without LBS_NOTIFY nothing is told.
        quiet.AddString("a");
        quiet.AddString("b");
        SelectDlgItem(d, IDC_QUIET, 1);
        EXPECT_EQ(quiet.GetCurSel(), 1);
        EXPECT_EQ(d.Count(IDC_QUIET, LBN_SELCHANGE), 0);
        // Item data and deleting.
        EXPECT_EQ(list.SetItemData(1, 77), LB_OKAY);
        EXPECT_EQ(list.GetItemData(1), 77u);
        EXPECT_EQ(list.DeleteString(0), 3);
        EXPECT_EQ(list.GetItemData(0), 77u);
        EXPECT_EQ(list.GetItemData(5), static_cast<UINT_PTR>(LB_ERR));
    });
}

TEST_F(ControlButtonListTest, MultipleSelectionListsCollectTheirSelectedItems)
{
    Run([](CControlsDialog& d) {
        CListBox& multi = List(d, IDC_MULTI);
        for (const char* s : {"a", "b", "c", "d"})
            multi.AddString(s);
        EXPECT_EQ(multi.SetCurSel(1), LB_ERR) << "single selection calls do not apply";
        multi.SetSel(0);
        multi.SetSel(2);
        EXPECT_EQ(multi.GetSelCount(), 2);
        SelectDlgItem(d, IDC_MULTI, 3);
        SelectDlgItem(d, IDC_MULTI, 0);
        int items[4] = {-1, -1, -1, -1};
        EXPECT_EQ(multi.GetSelItems(4, items), 2);
        EXPECT_EQ(items[0], 2);
        EXPECT_EQ(items[1], 3);
        EXPECT_EQ(multi.GetSel(0), 0);
        EXPECT_EQ(d.Count(IDC_MULTI, LBN_SELCHANGE), 2);
        multi.SetSel(-1, FALSE);
        EXPECT_EQ(multi.GetSelCount(), 0);
    });
}

namespace {

// A list whose owner asks for the selection right after the default handling of a click.
class CClickList : public CListBox {
public:
    int selectedAfterDefault = -2;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point)
    {
        CListBox::OnLButtonDown(nFlags, point);
        selectedAfterDefault = GetCurSel();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClickList, CListBox)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

} // namespace

TEST_F(ControlButtonListTest, AListBoxSelectsTheClickedItemWhileItsOwnerHandlesTheClick)
{
    Run([](CControlsDialog& d) {
        CClickList clickList;
        clickList.SubclassDlgItem(IDC_QUIET, &d);
        for (const char* s : {"a", "b", "c"})
            clickList.AddString(s);
        d.ShowWindow(SW_SHOW);
        CRect rc;
        clickList.GetItemRect(1, &rc);
        QWidget* w = clickList.GetWidget();
        QWidget* viewport = w->findChild<QWidget*>("qt_scrollarea_viewport");
        ASSERT_NE(viewport, nullptr);
        const QPointF at = viewport->mapFrom(w, QPoint(rc.left + 3, rc.top + 3));
        QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &release);
        EXPECT_EQ(clickList.selectedAfterDefault, 1);
        EXPECT_EQ(clickList.GetCurSel(), 1);
        clickList.UnsubclassWindow();
    });
}

TEST_F(ControlButtonListTest, AScrollBarReportsTheUsersActionAndMovesOnlyWhenItsOwnerSetsIt)
{
    Run([](CControlsDialog& d) {
        auto* bar = static_cast<CScrollBar*>(d.GetDlgItem(IDC_BAR));
        bar->SetScrollRange(0, 50);
        bar->SetScrollPos(10);
        EXPECT_EQ(bar->GetScrollPos(), 10);
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 10, 0, 0};
        bar->SetScrollInfo(&si);
        EXPECT_EQ(bar->GetScrollLimit(), 41);
        EXPECT_EQ(bar->SetScrollPos(99), 10);
        EXPECT_EQ(bar->GetScrollPos(), 41) << "the position stays where a whole page fits";
        int lo = -1, hi = -1;
        bar->GetScrollRange(&lo, &hi);
        EXPECT_EQ(lo, 0);
        EXPECT_EQ(hi, 50);
        EXPECT_TRUE(d.scrolls.empty()) << "setting by code reports nothing";

        bar->SetScrollPos(20);
        auto* slider = qobject_cast<QAbstractSlider*>(bar->GetWidget());
        ASSERT_NE(slider, nullptr);
        slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        ASSERT_EQ(d.scrolls.size(), 2u);
        EXPECT_EQ(d.scrolls[0].first, SB_LINEDOWN);
        EXPECT_EQ(d.scrolls[1].first, SB_ENDSCROLL);
        EXPECT_EQ(bar->GetScrollPos(), 20);
        EXPECT_EQ(slider->value(), 20);
        slider->triggerAction(QAbstractSlider::SliderPageStepSub);
        EXPECT_EQ(d.scrolls[2].first, SB_PAGEUP);
    });
}

TEST_F(ControlButtonListTest, AnUpDownControlStepsItsBuddysNumberAndReportsIt)
{
    Run([](CControlsDialog& d) {
        auto* spin = static_cast<CSpinButtonCtrl*>(d.GetDlgItem(IDC_SPIN));
        CWnd* number = d.GetDlgItem(IDC_NUMBER);
        EXPECT_EQ(spin->GetBuddy(), number) << "the window made before it";
        spin->SetRange(0, 1500);
        spin->SetPos(998);
        CString text;
        number->GetWindowText(text);
        EXPECT_EQ(text, "998");
        // The arrows sit beside the buddy, which became narrower by their width.
        CRect rcSpin, rcNumber;
        spin->GetWindowRect(&rcSpin);
        number->GetWindowRect(&rcNumber);
        EXPECT_EQ(rcSpin.left, rcNumber.right);

        QWidget* arrows = spin->GetWidget();
        const auto clickUp = [arrows] {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), arrows->mapToGlobal(QPointF(2, 2)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(arrows, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), arrows->mapToGlobal(QPointF(2, 2)),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(arrows, &release);
        };
        clickUp();
        clickUp();
        number->GetWindowText(text);
        EXPECT_EQ(text, "1,000") << "thousands are grouped";
        EXPECT_EQ(LOWORD(static_cast<DWORD>(spin->GetPos())), 1000);
        ASSERT_GE(d.scrolls.size(), 2u);
        EXPECT_EQ(d.scrolls[0], std::make_pair(SB_THUMBPOSITION, 999));
        EXPECT_EQ(d.scrolls[1], std::make_pair(SB_ENDSCROLL, 999));

        // The owner may refuse a step.
        d.refuseSteps = 1;
        clickUp();
        EXPECT_EQ(spin->GetPos32(), 1000);

        // The number typed into the buddy is where the next step starts.
        number->SetWindowText("7");
        EXPECT_EQ(spin->GetPos32(), 7);
        // Read as a number field reads it: full-width digits typed with the input method on.
        number->SetWindowText("１２"_sj);
        EXPECT_EQ(spin->GetPos32(), 12);
        number->SetWindowText("x");
        BOOL error = FALSE;
        spin->GetPos32(&error);
        EXPECT_TRUE(error);
    });
}

TEST_F(ControlButtonListTest, AnOwnerDrawnButtonPaintsThroughItsDrawItem)
{
    Run([](CControlsDialog& d) {
        d.m_swatch.m_color = RGB(0, 128, 0);
        const QImage picture = d.m_swatch.GetWidget()->grab().toImage();
        EXPECT_GE(d.m_swatch.entire, 1);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(0, 128, 0));
        ClickDlgButton(d, IDC_SWATCH);
        EXPECT_EQ(d.Count(IDC_SWATCH, BN_CLICKED), 1);
    });
}
