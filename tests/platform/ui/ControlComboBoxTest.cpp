// Combo boxes: what code does to them notifies nobody, what the user does notifies the
// parent; sorting, searching, item data and code page 932 texts.
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include "DialogTestSupport.h"
#include "UiTestSupport.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr UINT IDD_COMBOS = 9101;
constexpr int IDC_LIST = 1201;   // drop-down list
constexpr int IDC_SORTED = 1202; // sorted drop-down list
constexpr int IDC_EDITABLE = 1203;

class ControlComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestTemplate(
            IDD_COMBOS,
            {
                {DlgComboBox, IDC_LIST, CString(), 7, 7, 100, 80, CBS_DROPDOWNLIST},
                {DlgComboBox, IDC_SORTED, CString(), 7, 27, 100, 80, CBS_DROPDOWNLIST | CBS_SORT},
                {DlgComboBox, IDC_EDITABLE, CString(), 7, 47, 100, 80, CBS_DROPDOWN | CBS_AUTOHSCROLL},
                {DlgPushButton, IDOK, "OK"_sj, 140, 7, 50, 14, BS_DEFPUSHBUTTON},
            });
    }

    // Runs the dialog with the body as its answer.
    void Run(const std::function<void(CNotifyDialog&, CComboBox&, CComboBox&, CComboBox&)>& body)
    {
        CNotifyDialog dlg(IDD_COMBOS);
        answerer.AnswerDialog(IDD_COMBOS, [&](CDialog&) {
            body(dlg, *static_cast<CComboBox*>(dlg.GetDlgItem(IDC_LIST)),
                 *static_cast<CComboBox*>(dlg.GetDlgItem(IDC_SORTED)),
                 *static_cast<CComboBox*>(dlg.GetDlgItem(IDC_EDITABLE)));
            dlg.EndDialog(IDOK);
        });
        dlg.DoModal();
    }

    CDialogAnswerer answerer;
};

} // namespace

TEST_F(ControlComboBoxTest, SelectionByCodeIsSilentAndTheUsersChoiceNotifies)
{
    Run([](CNotifyDialog& dlg, CComboBox& list, CComboBox&, CComboBox&) {
        list.AddString("A");
        list.AddString("B");
        list.AddString("C");
        EXPECT_EQ(list.GetCurSel(), CB_ERR) << "adding items selects none";
        dlg.Clear();
        EXPECT_EQ(list.SetCurSel(1), 1);
        EXPECT_EQ(list.SelectString(-1, "c"), 2);
        EXPECT_EQ(list.GetCurSel(), 2);
        EXPECT_EQ(dlg.Count(IDC_LIST, CBN_SELCHANGE), 0);

        SelectDlgItem(dlg, IDC_LIST, 0);
        EXPECT_EQ(list.GetCurSel(), 0);
        EXPECT_EQ(dlg.Count(IDC_LIST, CBN_SELCHANGE), 1);
        CString text;
        list.GetWindowText(text);
        EXPECT_EQ(text, "A");
    });
}

TEST_F(ControlComboBoxTest, OutOfRangeSelectionClearsItAndDeletingTheSelectedItemLeavesNone)
{
    Run([](CNotifyDialog& dlg, CComboBox& list, CComboBox&, CComboBox&) {
        list.AddString("A");
        list.AddString("B");
        list.AddString("C");
        list.SetCurSel(1);
        EXPECT_EQ(list.SetCurSel(7), CB_ERR);
        EXPECT_EQ(list.GetCurSel(), CB_ERR);
        list.SetCurSel(2);
        EXPECT_EQ(list.DeleteString(0), 2);
        EXPECT_EQ(list.GetCurSel(), 1) << "the selection stays on its item";
        EXPECT_EQ(list.DeleteString(1), 1);
        EXPECT_EQ(list.GetCurSel(), CB_ERR);
        EXPECT_EQ(list.DeleteString(5), CB_ERR);
        EXPECT_EQ(dlg.Count(IDC_LIST, CBN_SELCHANGE), 0);
        list.ResetContent();
        EXPECT_EQ(list.GetCount(), 0);
    });
}

TEST_F(ControlComboBoxTest, SortedListsInsertInOrderWithoutRegardToCaseButInsertStringKeepsTheIndex)
{
    Run([](CNotifyDialog&, CComboBox&, CComboBox& sorted, CComboBox&) {
        EXPECT_EQ(sorted.AddString("pear"), 0);
        EXPECT_EQ(sorted.AddString("Apple"), 0);
        EXPECT_EQ(sorted.AddString("banana"), 1);
        EXPECT_EQ(sorted.AddString("apple"), 1) << "equal items go after the ones there";
        EXPECT_EQ(sorted.InsertString(0, "zzz"), 0);
        EXPECT_EQ(sorted.InsertString(-1, "aaa"), 5);
        EXPECT_EQ(sorted.InsertString(9, "x"), CB_ERR);
        CString s;
        sorted.GetLBText(0, s);
        EXPECT_EQ(s, "zzz");
        sorted.GetLBText(2, s);
        EXPECT_EQ(s, "apple");
        sorted.GetLBText(5, s);
        EXPECT_EQ(s, "aaa");
    });
}

TEST_F(ControlComboBoxTest, FindStringMatchesPrefixesAfterTheStartAndWrapsAround)
{
    Run([](CNotifyDialog&, CComboBox& list, CComboBox&, CComboBox&) {
        list.AddString("alpha");
        list.AddString("Beta");
        list.AddString("alphabet");
        list.AddString("beta");
        EXPECT_EQ(list.FindString(-1, "ALP"), 0);
        EXPECT_EQ(list.FindString(0, "alp"), 2);
        EXPECT_EQ(list.FindString(2, "alp"), 0) << "the search wraps around";
        EXPECT_EQ(list.FindStringExact(-1, "BETA"), 1);
        EXPECT_EQ(list.FindStringExact(1, "beta"), 3);
        EXPECT_EQ(list.FindStringExact(-1, "alph"), CB_ERR);
        EXPECT_EQ(list.FindString(-1, "gamma"), CB_ERR);
    });
}

TEST_F(ControlComboBoxTest, ItemsKeepTheirCodePage932BytesAndData)
{
    Run([](CNotifyDialog&, CComboBox& list, CComboBox&, CComboBox&) {
        // "表" has the trail byte 0x5C; a lone 0x5C shows as the yen sign but stays 0x5C.
        const CString hyou = "表示"_sj;
        const CString money = "\\1000";
        list.AddString(hyou);
        list.AddString(money);
        EXPECT_EQ(list.GetLBTextLen(0), 4);
        CString s;
        list.GetLBText(0, s);
        EXPECT_EQ(s, hyou);
        list.GetLBText(1, s);
        EXPECT_EQ(s, money);
        EXPECT_EQ(list.SetItemData(1, 0xDEADBEEF), CB_OKAY);
        EXPECT_EQ(list.GetItemData(1), 0xDEADBEEFu);
        EXPECT_EQ(list.GetItemData(0), 0u);
        EXPECT_EQ(list.SetItemData(3, 1), CB_ERR);
        EXPECT_EQ(list.GetLBTextLen(3), CB_ERR);
        EXPECT_EQ(list.FindStringExact(-1, money), 1);
    });
}

TEST_F(ControlComboBoxTest, AnEditableComboReportsTypingButNotTextSetByCode)
{
    Run([](CNotifyDialog& dlg, CComboBox&, CComboBox&, CComboBox& editable) {
        editable.AddString("one");
        editable.AddString("two");
        dlg.Clear();
        editable.SetWindowText("free text");
        CString text;
        editable.GetWindowText(text);
        EXPECT_EQ(text, "free text");
        EXPECT_EQ(editable.GetCurSel(), CB_ERR);
        EXPECT_EQ(dlg.Count(IDC_EDITABLE, CBN_EDITCHANGE), 0);

        TypeDlgItemText(dlg, IDC_EDITABLE, "typed"_sj);
        EXPECT_EQ(dlg.Count(IDC_EDITABLE, CBN_EDITCHANGE), 1);
        EXPECT_EQ(dlg.Count(IDC_EDITABLE, CBN_EDITUPDATE), 1);
        EXPECT_EQ(dlg.Count(IDC_EDITABLE, CBN_SELCHANGE), 0);

        // Choosing from the list puts the item into the edit.
        SelectDlgItem(dlg, IDC_EDITABLE, 1);
        editable.GetWindowText(text);
        EXPECT_EQ(text, "two");
        EXPECT_EQ(dlg.Count(IDC_EDITABLE, CBN_SELCHANGE), 1);

        // The limit counts bytes: two double-byte characters fill four.
        editable.LimitText(4);
        TypeDlgItemText(dlg, IDC_EDITABLE, "あい"_sj);
        TypeDlgItemText(dlg, IDC_EDITABLE, "あいう"_sj);
        editable.GetWindowText(text);
        EXPECT_EQ(text, "あい"_sj);
    });
}

TEST_F(ControlComboBoxTest, ADropDownListRefusesTextAndShowsItsSelection)
{
    Run([](CNotifyDialog&, CComboBox& list, CComboBox&, CComboBox&) {
        list.AddString("one");
        EXPECT_EQ(list.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x")), CB_ERR);
        CString text;
        list.GetWindowText(text);
        EXPECT_EQ(text, "");
        list.SetCurSel(0);
        list.GetWindowText(text);
        EXPECT_EQ(text, "one");
    });
}

TEST_F(ControlComboBoxTest, DroppingTheListDownAndClosingItNotifyTheParent)
{
    Run([](CNotifyDialog& dlg, CComboBox& list, CComboBox&, CComboBox&) {
        list.AddString("one");
        dlg.ShowWindow(SW_SHOW);
        list.ShowDropDown(TRUE);
        EXPECT_TRUE(list.GetDroppedState());
        EXPECT_EQ(dlg.Count(IDC_LIST, CBN_DROPDOWN), 1);
        list.ShowDropDown(FALSE);
        EXPECT_FALSE(list.GetDroppedState());
        EXPECT_EQ(dlg.Count(IDC_LIST, CBN_CLOSEUP), 1);
        EXPECT_EQ(dlg.Count(IDC_LIST, CBN_SELENDCANCEL), 1);
    });
}

TEST_F(ControlComboBoxTest, TheWindowIsOneLineHighWhateverHeightTheTemplateGives)
{
    Run([](CNotifyDialog& dlg, CComboBox& list, CComboBox&, CComboBox&) {
        CRect rc;
        list.GetWindowRect(&rc);
        const DialogBaseUnits units = dlg.GetDialogBaseUnits();
        EXPECT_LT(rc.Height(), (80 * units.cyChar) / 8 / 2);
        EXPECT_GE(rc.Height(), 16);
        EXPECT_EQ(rc.Width(), (107 * units.cxChar + 2) / 4 - (7 * units.cxChar + 2) / 4);
    });
}

namespace {

constexpr UINT IDD_OWNERDRAW = 9102;
constexpr int IDC_FONTS = 1210;

// An owner-drawn combo box whose items are as high as their item data says.
class CHeightCombo : public CComboBox {
public:
    std::vector<UINT> measured;
    int drawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        measured.push_back(lpMIS->itemID);
        lpMIS->itemHeight = 10 + lpMIS->itemID * 5;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        if (lpDIS->CtlType == ODT_COMBOBOX && lpDIS->hDC)
            ++drawn;
    }
};

class COwnerDrawDialog : public CDialog {
public:
    COwnerDrawDialog() : CDialog(IDD_OWNERDRAW) {}
    CHeightCombo m_combo;
    BOOL OnInitDialog() override
    {
        m_combo.SubclassDlgItem(IDC_FONTS, this);
        return CDialog::OnInitDialog();
    }
};

} // namespace

TEST_F(ControlComboBoxTest, OwnerDrawnVariableItemsAreMeasuredByTheControlWhenAdded)
{
    RegisterTestTemplate(IDD_OWNERDRAW, {
                                            {DlgComboBox, IDC_FONTS, CString(), 7, 7, 100, 80,
                                             CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS},
                                        });
    COwnerDrawDialog dlg;
    answerer.AnswerDialog(IDD_OWNERDRAW, [&](CDialog& d) {
        dlg.m_combo.AddString("a");
        dlg.m_combo.AddString("b");
        dlg.m_combo.AddString("c");
        EXPECT_EQ(dlg.m_combo.GetItemHeight(0), 10);
        EXPECT_EQ(dlg.m_combo.GetItemHeight(2), 20);
        EXPECT_EQ(dlg.m_combo.SetItemHeight(1, 30), CB_OKAY);
        EXPECT_EQ(dlg.m_combo.GetItemHeight(1), 30);
        dlg.m_combo.SetCurSel(1);
        d.ShowWindow(SW_SHOW);
        dlg.m_combo.GetWidget()->grab();
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_combo.measured, (std::vector<UINT>{0, 1, 2}));
    EXPECT_GE(dlg.m_combo.drawn, 1) << "the closed combo draws its selection through DrawItem";
}
