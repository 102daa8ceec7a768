// The text-property dialogs of estimate and parts layouts, run as windows and answered as
// a user answers them: the pieces a text opens as, the field tokens the controls build,
// the texts of several targets, and input that would break a token.
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/FieldTokens.h"
#include "layout/printform/CTextPropEMDialog.h"
#include "layout/printform/CTextPropPMDialog.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/LayoutDialogIds.h"
#include "tests/support/EventWait.h"
#include "tests/support/TestSupport.h"

#include <QFontMetricsF>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

template <class Form>
Form FormOf(const std::vector<std::pair<const char*, const char*>>& items)
{
    Form form;
    form.SetCount(static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        form.SetItem(static_cast<int>(i), 0, CString::FromUtf8(items[i].first));
        form.SetItem(static_cast<int>(i), 1, CString::FromUtf8(items[i].second));
    }
    return form;
}

std::vector<CString> Pieces(CDialog& dlg)
{
    auto* pList = static_cast<CListBox*>(dlg.GetDlgItem(IDC_TP_PIECES));
    std::vector<CString> pieces;
    for (int i = 0; pList && i < pList->GetCount(); ++i) {
        CString s;
        pList->GetText(i, s);
        pieces.push_back(s);
    }
    return pieces;
}

int PieceSel(CDialog& dlg)
{
    return static_cast<CListBox*>(dlg.GetDlgItem(IDC_TP_PIECES))->GetCurSel();
}

std::vector<CString> ComboTexts(CDialog& dlg, int nID)
{
    auto* pCombo = static_cast<CComboBox*>(dlg.GetDlgItem(nID));
    std::vector<CString> texts;
    for (int i = 0; i < pCombo->GetCount(); ++i) {
        CString s;
        pCombo->GetLBText(i, s);
        texts.push_back(s);
    }
    return texts;
}

int ComboSel(CDialog& dlg, int nID)
{
    return static_cast<CComboBox*>(dlg.GetDlgItem(nID))->GetCurSel();
}

bool Visible(CDialog& dlg, int nID)
{
    return dlg.GetDlgItem(nID)->IsWindowVisible() != FALSE;
}

bool Checked(CDialog& dlg, int nID)
{
    return dlg.IsDlgButtonChecked(nID) == BST_CHECKED;
}

CString sj(const char* utf8)
{
    return CString::FromUtf8(utf8);
}

// The estimation form of the tests: two items named 金額 (money, numbers) around a text item.
CEstimationFormFile EstimationForm()
{
    return FormOf<CEstimationFormFile>(
        {{"金額", "数値"}, {"名称", "文字"}, {"金額", "数値"}, {"数量", "数値"}});
}

CInformationFormFile InformationForm()
{
    return FormOf<CInformationFormFile>({{"工事名", "文字"}, {"税率", "数値"}});
}

class TextPropDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterLayoutDialogs();
        const CClockReading clock{2026, 11, 3, 14, 5, 9};
        SetFixedFieldClock(&clock);
    }
    void TearDown() override { SetFixedFieldClock(nullptr); }

    // Runs the estimate dialog on a text with nTargets targets; the answer acts, then the
    // test's own check runs, then OK (unless the action ended the dialog).
    int RunEM(CTextPropEMDialog& dlg, std::function<void(CDialog&)> action)
    {
        dlg.m_estimationForm = EstimationForm();
        dlg.m_informationForm = InformationForm();
        answerer.AnswerDialog(IDD_TEXT_PROP_EM, [&](CDialog& d) {
            action(d);
            if (d.GetSafeHwnd() && d.IsWindowVisible())
                ClickDlgButton(d, IDOK);
        });
        return static_cast<int>(dlg.DoModal());
    }

    CDialogAnswerer answerer;
};

} // namespace

TEST_F(TextPropDialogTest, EmptyTextOpensAsFixedTextWithAnEmptySuggestionOnTop)
{
    CTextPropEMDialog dlg(nullptr, TRUE);
    dlg.m_bRuledLine = TRUE;
    ASSERT_EQ(RunEM(dlg,
                    [&](CDialog& d) {
                        EXPECT_TRUE(Pieces(d).empty());
                        EXPECT_EQ(dlg.GetPieceKind(), CTextPropDialog::kindDirect);
                        EXPECT_TRUE(Checked(d, IDC_TP_DIRECT));
                        const std::vector<CString> suggestions = ComboTexts(d, IDC_TP_FIXED_TEXT);
                        ASSERT_EQ(suggestions.size(), 7u); // "" + four estimation + two information
                        EXPECT_EQ(suggestions[0], "");
                        EXPECT_EQ(suggestions[1], sj("金額"));
                        EXPECT_EQ(suggestions[6], sj("税率"));
                        EXPECT_EQ(ComboSel(d, IDC_TP_FIXED_TEXT), 0);
                        EXPECT_TRUE(Visible(d, IDC_TP_FIXED_TEXT));
                        EXPECT_FALSE(Visible(d, IDC_TP_FORMAT));
                        EXPECT_FALSE(Visible(d, IDC_TP_ITEM));
                        EXPECT_FALSE(Visible(d, IDC_TP_AUTO_MODE));
                        // The text tool shows the frame options with their states.
                        EXPECT_TRUE(Visible(d, IDC_TP_RULED_LINE));
                        EXPECT_TRUE(Checked(d, IDC_TP_RULED_LINE));
                        EXPECT_FALSE(Checked(d, IDC_TP_SHADING));
                        ClickDlgButton(d, IDC_TP_SHADING);
                        // On an empty list "<< 後に追加" adds the first piece, as "<< 前に追加"
                        // does.
                        TypeDlgItemText(d, IDC_TP_FIXED_TEXT, sj("御見積"));
                        ClickDlgButton(d, IDC_TP_ADD_AFTER);
                        EXPECT_EQ(Pieces(d), (std::vector<CString>{sj("御見積")}));
                        EXPECT_EQ(PieceSel(d), 0);
                        TypeDlgItemText(d, IDC_TP_FIXED_TEXT, sj("件名"));
                        ClickDlgButton(d, IDC_TP_ADD_BEFORE);
                        EXPECT_EQ(Pieces(d), (std::vector<CString>{sj("件名"), sj("御見積")}));
                        EXPECT_EQ(PieceSel(d), 0);
                    }),
              IDOK);
    EXPECT_EQ(dlg.m_strText, sj("件名御見積"));
    EXPECT_TRUE(dlg.m_bRuledLine);
    EXPECT_TRUE(dlg.m_bShading);
}

TEST_F(TextPropDialogTest, TextOpensAsItsPiecesAndOkWithoutChangesWritesItBack)
{
    const struct {
        const char* text;
        std::vector<const char*> pieces;
    } cases[] = {
        {"合計$見積(1,金額,1)$円", {"合計", "$見積(1,金額,1)$", "円"}},
        // A "$" that closes nothing at the end is kept: "abc$" no longer loses its "$".
        {"abc$", {"abc", "$"}},
        {"a$見積(1,金", {"a", "$見積(1,金"}},
        {"$日付()$$見積(1,2,3)$", {"$日付()$", "$見積(1,2,3)$"}},
    };
    for (const auto& c : cases) {
        CTextPropEMDialog dlg(1);
        dlg.m_strText = sj(c.text);
        std::vector<CString> pieces;
        int nKind = -2;
        ASSERT_EQ(RunEM(dlg,
                        [&](CDialog& d) {
                            pieces = Pieces(d);
                            nKind = dlg.GetPieceKind();
                        }),
                  IDOK);
        std::vector<CString> expected;
        for (const char* p : c.pieces)
            expected.push_back(sj(p));
        EXPECT_EQ(pieces, expected) << c.text;
        EXPECT_EQ(dlg.m_strText, sj(c.text)) << c.text;
        if (std::string(c.text).rfind("合計", 0) == 0) {
            EXPECT_EQ(nKind, CTextPropDialog::kindDirect);
        }
    }
}

TEST_F(TextPropDialogTest, EstimateFieldReadsBackIntoTheControlsAndBuildsTheSameToken)
{
    CTextPropEMDialog dlg(1);
    dlg.m_strText = sj("$見積(2,金額^1,5)$");
    dlg.m_nEstimatePicture = 3;
    ASSERT_EQ(RunEM(dlg,
                    [&](CDialog& d) {
                        EXPECT_EQ(dlg.GetPieceKind(), CTextPropDialog::kindDataField);
                        EXPECT_TRUE(Checked(d, IDC_TP_ESTIMATE));
                        EXPECT_FALSE(Checked(d, IDC_TP_DIRECT));
                        EXPECT_EQ(ComboSel(d, IDC_TP_ITEM), 2); // the second 金額
                        CString group, row;
                        d.GetDlgItemText(IDC_TP_GROUP, group);
                        d.GetDlgItemText(IDC_TP_ROW, row);
                        EXPECT_EQ(group, "2");
                        EXPECT_EQ(row, "5");
                        EXPECT_TRUE(Visible(d, IDC_TP_FORMAT)); // a number item
                        EXPECT_EQ(ComboTexts(d, IDC_TP_FORMAT).size(), 4u);
                        EXPECT_EQ(ComboSel(d, IDC_TP_FORMAT), 3);
                        // A text item hides the format list; a number item shows it again.
                        SelectDlgItem(d, IDC_TP_ITEM, 1);
                        EXPECT_FALSE(Visible(d, IDC_TP_FORMAT));
                        SelectDlgItem(d, IDC_TP_ITEM, 3);
                        EXPECT_TRUE(Visible(d, IDC_TP_FORMAT));
                        // The first 金額 is written without a suffix, the third entry with "^1".
                        SelectDlgItem(d, IDC_TP_ITEM, 0);
                        ClickDlgButton(d, IDC_TP_ADD_AFTER);
                        SelectDlgItem(d, IDC_TP_ITEM, 2);
                        ClickDlgButton(d, IDC_TP_UPDATE);
                        SelectDlgItem(d, IDC_TP_FORMAT, 1);
                    }),
              IDOK);
    EXPECT_EQ(dlg.m_strText, sj("$見積(2,金額^1,5)$$見積(2,金額,5)$"));
    EXPECT_EQ(dlg.m_nEstimatePicture, 1);
}

TEST_F(TextPropDialogTest, FurtherTargetsCountRowsAndNumbersUp)
{
    const struct {
        int nTargets;
        const char* text;
        std::vector<const char*> expected;
    } cases[] = {
        {3, "No.$番号(1)$", {"No.$番号(1)$", "No.$番号(2)$", "No.$番号(3)$"}},
        {3, "$見積(2,金額^1,5)$", {"$見積(2,金額^1,5)$", "$見積(2,金額^1,6)$", "$見積(2,金額^1,7)$"}},
        {2, "$見積(1,金額,x)$", {"$見積(1,金額,x)$", "$見積(1,金額,1)$"}},
        {2, "$情報(工事名)$$日付()$", {"$情報(工事名)$$日付()$", "$情報(工事名)$$日付()$"}},
    };
    for (const auto& c : cases) {
        CTextPropEMDialog dlg(c.nTargets);
        dlg.m_strText = sj(c.text);
        ASSERT_EQ(RunEM(dlg, [](CDialog&) {}), IDOK);
        ASSERT_EQ(dlg.m_astrTargetTexts.GetSize(), c.nTargets);
        EXPECT_EQ(dlg.m_strText, sj(c.expected[0])) << c.text;
        EXPECT_EQ(dlg.m_astrTargetTexts[0], "");
        for (int i = 1; i < c.nTargets; ++i)
            EXPECT_EQ(dlg.m_astrTargetTexts[i], sj(c.expected[static_cast<size_t>(i)])) << c.text << " " << i;
    }
}

TEST_F(TextPropDialogTest, DatePicturesShowTodayAndThePickedIndexServesTheKind)
{
    CTextPropEMDialog dlg(1);
    dlg.m_strText = sj("$日付()$");
    dlg.m_nDatePicture = 0;
    std::vector<CString> dates;
    ASSERT_EQ(RunEM(dlg,
                    [&](CDialog& d) {
                        EXPECT_EQ(dlg.GetPieceKind(), CTextPropDialog::kindDate);
                        dates = ComboTexts(d, IDC_TP_FORMAT);
                        SelectDlgItem(d, IDC_TP_FORMAT, 3);
                        // The time kind lists its own pictures.
                        ClickDlgButton(d, IDC_TP_TIME);
                        EXPECT_EQ(ComboTexts(d, IDC_TP_FORMAT).size(), 8u);
                        ClickDlgButton(d, IDC_TP_ADD_AFTER);
                    }),
              IDOK);
    const CDateFormat formats;
    ASSERT_EQ(dates.size(), 16u);
    const CClockReading clock{2026, 11, 3, 14, 5, 9};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(dates[static_cast<size_t>(i)], formats.Format(i, clock)) << i;
    EXPECT_EQ(dlg.m_nDatePicture, 3);
    EXPECT_EQ(dlg.m_strText, sj("$日付()$$時間()$"));
}

TEST_F(TextPropDialogTest, GroupsRowsAndItemsThatWouldBreakATokenAreRefused)
{
    CTextPropEMDialog dlg(1);
    dlg.m_strText = sj("$見積(1,金額,1)$");
    std::vector<CString> messages;
    ASSERT_EQ(RunEM(dlg,
                    [&](CDialog& d) {
                        answerer.AnswerNextMessageBox(IDOK);
                        TypeDlgItemText(d, IDC_TP_GROUP, "1,2");
                        ClickDlgButton(d, IDC_TP_UPDATE);
                        answerer.AnswerNextMessageBox(IDOK);
                        TypeDlgItemText(d, IDC_TP_GROUP, "1");
                        TypeDlgItemText(d, IDC_TP_ROW, ")$");
                        ClickDlgButton(d, IDC_TP_ADD_BEFORE);
                        answerer.AnswerNextMessageBox(IDOK);
                        TypeDlgItemText(d, IDC_TP_ROW, "0");
                        ClickDlgButton(d, IDC_TP_ADD_AFTER);
                        EXPECT_EQ(Pieces(d), (std::vector<CString>{sj("$見積(1,金額,1)$")}));
                        // Blanks around a number are fine and are not written.
                        TypeDlgItemText(d, IDC_TP_ROW, " 12 ");
                        ClickDlgButton(d, IDC_TP_UPDATE);
                        messages = answerer.MessageBoxTexts();
                    }),
              IDOK);
    EXPECT_EQ(messages, std::vector<CString>(3, CTextPropDialog::BadNumberMessage()));
    EXPECT_EQ(dlg.m_strText, sj("$見積(1,金額,12)$"));

    // An item whose name holds a comma cannot be a data field's item.
    CTextPropEMDialog other(1);
    other.m_strText = sj("$見積(1,a,1)$");
    answerer.ClearShown();
    other.m_informationForm = InformationForm();
    other.m_estimationForm = FormOf<CEstimationFormFile>({{"a", "数値"}, {"b,c", "数値"}});
    answerer.AnswerDialog(IDD_TEXT_PROP_EM, [&](CDialog& d) {
        answerer.AnswerNextMessageBox(IDOK);
        SelectDlgItem(d, IDC_TP_ITEM, 1);
        ClickDlgButton(d, IDC_TP_UPDATE);
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(other.DoModal(), IDOK);
    EXPECT_EQ(answerer.MessageBoxTexts(), std::vector<CString>{CTextPropDialog::BadItemMessage()});
    EXPECT_EQ(other.m_strText, sj("$見積(1,a,1)$"));
}

TEST_F(TextPropDialogTest, AGroupAndRowTypedInFullWidthDigitsWriteTheTokensDigits)
{
    CTextPropEMDialog dlg(1);
    dlg.m_strText = sj("$見積(1,金額,1)$");
    ASSERT_EQ(RunEM(dlg,
                    [&](CDialog& d) {
                        TypeDlgItemText(d, IDC_TP_GROUP, sj("２"));
                        TypeDlgItemText(d, IDC_TP_ROW, sj("１２"));
                        ClickDlgButton(d, IDC_TP_UPDATE);
                    }),
              IDOK);
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    EXPECT_EQ(dlg.m_strText, sj("$見積(2,金額,12)$"));
}

TEST_F(TextPropDialogTest, CancelGivesNothingBack)
{
    CTextPropEMDialog dlg(2);
    dlg.m_strText = sj("abc");
    dlg.m_nDatePicture = 4;
    dlg.m_estimationForm = EstimationForm();
    answerer.AnswerDialog(IDD_TEXT_PROP_EM, [&](CDialog& d) {
        ClickDlgButton(d, IDC_TP_DELETE);
        ClickDlgButton(d, IDC_TP_DATE);
        SelectDlgItem(d, IDC_TP_FORMAT, 1);
        ClickDlgButton(d, IDCANCEL);
    });
    ASSERT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strText, "abc");
    EXPECT_EQ(dlg.m_astrTargetTexts[1], "");
}

TEST_F(TextPropDialogTest, PartsDialogSuggestsOnlyPartsItemsAndLeavesEstimateTokensAlone)
{
    const CPartFormFile parts = FormOf<CPartFormFile>({{"品名", "文字"}, {"数量", "数値"}});
    {
        CTextPropPMDialog dlg(nullptr, TRUE);
        dlg.m_partsForm = parts;
        answerer.AnswerDialog(IDD_TEXT_PROP_PM, [&](CDialog& d) {
            EXPECT_TRUE(Pieces(d).empty());
            EXPECT_EQ(ComboTexts(d, IDC_TP_FIXED_TEXT), (std::vector<CString>{sj("品名"), sj("数量")}));
            EXPECT_EQ(ComboSel(d, IDC_TP_FIXED_TEXT), 0);
            EXPECT_EQ(d.GetDlgItem(IDC_TP_ESTIMATE), nullptr);
            EXPECT_EQ(d.GetDlgItem(IDC_TP_INFORMATION), nullptr);
            ClickDlgButton(d, IDC_TP_PARTS);
            SelectDlgItem(d, IDC_TP_ITEM, 1);
            TypeDlgItemText(d, IDC_TP_ROW, "3");
            ClickDlgButton(d, IDC_TP_ADD_BEFORE);
            ClickDlgButton(d, IDOK);
        });
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_strText, sj("$部材(1,数量,3)$"));
    }
    {
        CTextPropPMDialog dlg(2);
        dlg.m_partsForm = parts;
        dlg.m_strText = sj("$部材(1,品名,3)$$見積(1,金額,1)$");
        answerer.AnswerDialog(IDD_TEXT_PROP_PM, [&](CDialog& d) {
            EXPECT_EQ(dlg.GetPieceKind(), CTextPropDialog::kindDataField);
            EXPECT_FALSE(Visible(d, IDC_TP_FORMAT)); // 品名 is a text item
            // The estimate token is no parts token: the kind controls stay as they were.
            SelectDlgItem(d, IDC_TP_PIECES, 1);
            EXPECT_EQ(dlg.GetPieceKind(), CTextPropDialog::kindDataField);
            EXPECT_TRUE(Checked(d, IDC_TP_PARTS));
            ClickDlgButton(d, IDOK);
        });
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_strText, sj("$部材(1,品名,3)$$見積(1,金額,1)$"));
        EXPECT_EQ(dlg.m_astrTargetTexts[1], sj("$部材(1,品名,4)$$見積(1,金額,1)$"));
    }
}

// The labels of the field controls show their whole text in the dialog's font, the
// letter of their key included: "関連付け(C)" was a fraction of a pixel wider than its label
// and lost its "(C)" to the next line.
TEST_F(TextPropDialogTest, TheLabelsOfTheFieldsShowTheirWholeText)
{
    std::vector<std::string> cut;
    const auto check = [&cut](CDialog& d, const char* which) {
        for (UINT nID : {IDC_TP_FORMAT_LABEL, IDC_TP_ITEM_LABEL, IDC_TP_ROW_LABEL, IDC_TP_GROUP_LABEL}) {
            CWnd* pLabel = d.GetDlgItem(static_cast<int>(nID));
            ASSERT_NE(pLabel, nullptr);
            CString text;
            pLabel->GetWindowText(text);
            QString shown = QString::fromStdString(text.ToUtf8());
            shown.remove(QLatin1Char('&'));
            QWidget* pWidget = pLabel->GetWidget();
            ASSERT_NE(pWidget, nullptr);
            CRect rc;
            pLabel->GetClientRect(&rc);
            if (QFontMetricsF(pWidget->font()).horizontalAdvance(shown) > rc.Width())
                cut.push_back(std::string(which) + " " + text.ToUtf8());
        }
    };
    {
        CTextPropEMDialog dlg(nullptr, TRUE);
        RunEM(dlg, [&](CDialog& d) { check(d, "estimate"); });
    }
    CTextPropPMDialog dlg(nullptr, TRUE);
    dlg.m_partsForm = FormOf<CPartFormFile>({{"品名", "文字"}});
    answerer.AnswerDialog(IDD_TEXT_PROP_PM, [&](CDialog& d) {
        check(d, "parts");
        ClickDlgButton(d, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_TRUE(cut.empty()) << cut.front();
}

// Pictures of the dialogs for a person to look at: written only when MORVEL_SCREENSHOT_DIR
// names a folder and the run is on a real display (QT_QPA_PLATFORM=xcb, an X server with a
// window manager); the states shown are checked as in the tests above.
TEST_F(TextPropDialogTest, ScreenshotsOfBuildingFieldTokens)
{
    const char* pDir = std::getenv("MORVEL_SCREENSHOT_DIR");
    if (pDir == nullptr)
        GTEST_SKIP() << "MORVEL_SCREENSHOT_DIR is not set";
    const std::string dir = pDir;
    const auto shoot = [&](CDialog& d, const std::string& name) {
        EXPECT_TRUE(TakeScreenshot(d.GetWidget(), dir + "/" + name)) << name;
    };
    CTextPropEMDialog dlg(nullptr, TRUE);
    dlg.m_strText = sj("合計$見積(1,金額^1,5)$円 $日付()$");
    dlg.m_nDatePicture = 3;
    ASSERT_EQ(RunEM(dlg,
                    [&](CDialog& d) {
                        shoot(d, "textprop-em-fixed.png");
                        SelectDlgItem(d, IDC_TP_PIECES, 1);
                        EXPECT_EQ(ComboSel(d, IDC_TP_ITEM), 2);
                        shoot(d, "textprop-em-estimate-field.png");
                        SelectDlgItem(d, IDC_TP_PIECES, 3);
                        shoot(d, "textprop-em-date.png");
                        ClickDlgButton(d, IDC_TP_INFORMATION);
                        SelectDlgItem(d, IDC_TP_ITEM, 1);
                        ClickDlgButton(d, IDC_TP_ADD_AFTER);
                        shoot(d, "textprop-em-information-added.png");
                    }),
              IDOK);
    EXPECT_EQ(dlg.m_strText, sj("合計$見積(1,金額^1,5)$円 $日付()$$情報(税率)$"));
    CTextPropPMDialog parts(2);
    parts.m_partsForm = FormOf<CPartFormFile>({{"品名", "文字"}, {"数量", "数値"}, {"単価", "数値"}});
    parts.m_strText = sj("$部材(1,数量,3)$");
    answerer.AnswerDialog(IDD_TEXT_PROP_PM, [&](CDialog& d) {
        shoot(d, "textprop-pm-parts-field.png");
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(parts.DoModal(), IDOK);
    EXPECT_EQ(parts.m_astrTargetTexts[1], sj("$部材(1,数量,4)$"));
}
