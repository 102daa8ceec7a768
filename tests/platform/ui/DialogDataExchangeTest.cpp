// The rules data exchange reads numbers by, and what a template's controls turn into:
// objects of the control classes, statics that lend their mnemonic to the next control,
// progress bars.
#include "platform/ui/controls/CButton.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/controls/CEdit.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/controls/CProgressCtrl.h"
#include "platform/ui/controls/CStatic.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include "DialogTestSupport.h"

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <climits>
#include <clocale>

TEST(DialogDataExchangeTest, IntegersMayHaveBlanksAndASignButNothingElse)
{
    long long v = 0;
    EXPECT_TRUE(AfxParseInt(" \t-42 ", INT_MIN, INT_MAX, v));
    EXPECT_EQ(v, -42);
    EXPECT_TRUE(AfxParseInt("+7", INT_MIN, INT_MAX, v));
    EXPECT_EQ(v, 7);
    for (const char* bad : {"", "  ", "4 2", "42x", "0x10", "- 1", "1.0", "２"}) {
        EXPECT_FALSE(AfxParseInt(bad, INT_MIN, INT_MAX, v)) << bad;
    }
    EXPECT_TRUE(AfxParseInt("2147483647", INT_MIN, INT_MAX, v));
    EXPECT_FALSE(AfxParseInt("2147483648", INT_MIN, INT_MAX, v)) << "past the type's range";
    EXPECT_FALSE(AfxParseInt("99999999999999999999", LLONG_MIN, LLONG_MAX, v));

    unsigned long long u = 0;
    EXPECT_TRUE(AfxParseUInt(" 4294967295", UINT_MAX, u));
    EXPECT_EQ(u, 4294967295ULL);
    EXPECT_FALSE(AfxParseUInt("4294967296", UINT_MAX, u));
    EXPECT_FALSE(AfxParseUInt("-1", UINT_MAX, u));
    EXPECT_FALSE(AfxParseUInt("-0", UINT_MAX, u));
}

TEST(DialogDataExchangeTest, NumbersAreDecimalWithAPointWhateverTheLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    double d = 0;
    EXPECT_TRUE(AfxParseDouble(" 1.25 ", d));
    EXPECT_DOUBLE_EQ(d, 1.25);
    EXPECT_TRUE(AfxParseDouble("-.5", d));
    EXPECT_DOUBLE_EQ(d, -0.5);
    EXPECT_TRUE(AfxParseDouble("1e3", d));
    EXPECT_DOUBLE_EQ(d, 1000.0);
    for (const char* bad : {"", ".", "1,5", "inf", "nan", "0x1p3", "1e", "1.2.3", "e5"}) {
        EXPECT_FALSE(AfxParseDouble(bad, d)) << bad;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(AfxFormatDouble(0.1, 15), "0.1");
    EXPECT_EQ(AfxFormatDouble(1.0 / 3.0, 6), "0.333333");
}

TEST(DialogDataExchangeTest, MessagesTakeTheirArgumentsInPlaceOfPercentOneAndTwo)
{
    EXPECT_EQ(AfxFormatString2("%1 から %2 までの整数を入力してください。"_sj, "1", "120"),
              "1 から 120 までの整数を入力してください。"_sj);
    EXPECT_EQ(AfxFormatString1("%1 文字以内で入力してください。"_sj, "31"),
              "31 文字以内で入力してください。"_sj);
    EXPECT_EQ(AfxFormatString2("%2%1%%3", "a", "b"), "ba%%3");
}

namespace {

constexpr UINT IDD_KINDS = 9501;

} // namespace

TEST(DialogDataExchangeTest, TemplateControlsAreObjectsOfTheirControlClassesAndStaticsLendTheirMnemonics)
{
    RegisterTestTemplate(IDD_KINDS, {
                                        {DlgStatic, IDC_STATIC, "名前(&N):"_sj, 7, 9, 30, 8},
                                        {DlgStatic, IDC_STATIC, "A&&B"_sj, 7, 20, 30, 8},
                                        {DlgEdit, 1601, CString(), 40, 7, 60, 14, WS_BORDER},
                                        {DlgComboBox, 1602, CString(), 40, 25, 60, 50},
                                        {DlgListBox, 1603, CString(), 40, 45, 60, 30, WS_BORDER},
                                        {DlgProgress, 1604, CString(), 40, 80, 60, 10},
                                        {DlgPushButton, IDOK, "OK", 110, 7, 50, 14},
                                    });
    CDialogAnswerer answerer;
    CDialog dlg(IDD_KINDS);
    answerer.AnswerDialog(IDD_KINDS, [](CDialog& d) {
        EXPECT_NE(dynamic_cast<CEdit*>(d.GetDlgItem(1601)), nullptr);
        EXPECT_NE(dynamic_cast<CComboBox*>(d.GetDlgItem(1602)), nullptr);
        EXPECT_NE(dynamic_cast<CListBox*>(d.GetDlgItem(1603)), nullptr);
        EXPECT_NE(dynamic_cast<CButton*>(d.GetDlgItem(IDOK)), nullptr);
        // The label hands the focus to the edit after it (the next control that takes it).
        CWnd* pLabel = d.GetWindow(GW_CHILD);
        ASSERT_NE(dynamic_cast<CStatic*>(pLabel), nullptr);
        auto* label = qobject_cast<QLabel*>(pLabel->GetWidget());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->buddy(), d.GetDlgItem(1601)->GetWidget());
        EXPECT_EQ(label->text(), QString::fromUtf8("名前(&N):"));
        CString text;
        pLabel->GetWindowText(text);
        EXPECT_EQ(text, "名前(&N):"_sj);
        // A doubled "&" is a plain ampersand and lends nothing.
        auto* plain = qobject_cast<QLabel*>(pLabel->GetWindow(GW_HWNDNEXT)->GetWidget());
        ASSERT_NE(plain, nullptr);
        EXPECT_EQ(plain->buddy(), nullptr);
        EXPECT_EQ(plain->text(), QString::fromUtf8("A&B"));

        auto* progress = dynamic_cast<CProgressCtrl*>(d.GetDlgItem(1604));
        ASSERT_NE(progress, nullptr);
        progress->SetRange(0, 50);
        progress->SetStep(20);
        EXPECT_EQ(progress->SetPos(10), 0);
        EXPECT_EQ(progress->StepIt(), 10);
        EXPECT_EQ(progress->StepIt(), 30);
        EXPECT_EQ(progress->StepIt(), 50);
        EXPECT_EQ(progress->GetPos(), 20) << "stepping past the end starts again";
        int lo = -1, hi = -1;
        progress->GetRange(lo, hi);
        EXPECT_EQ(lo, 0);
        EXPECT_EQ(hi, 50);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}
