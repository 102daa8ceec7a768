// The item mapping dialogs run as windows and answered as a user answers them.
#include "app/CImportFormatDialog.h"
#include "app/CImportItemListDialog.h"
#include "app/ItemMapping.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "resources/EstimateIoIds.h"
#include "tests/estimate/EstimateTestSupport.h"
#include "tests/estimate_tools/EstimateIoTestSupport.h"

#include "platform/base/Path.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <gtest/gtest.h>

namespace {

CEstimationFormFile FormOf(const std::vector<const char*>& names)
{
    CEstimationFormFile form;
    form.SetCount(static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i)
        form.SetItem(static_cast<int>(i), 0, CString::FromUtf8(names[i]));
    return form;
}

class ItemMappingDialogTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEstimateIoDialogs(); }
    CDialogAnswerer answerer;
};

TEST(ItemMappingLabels, LabelsNumberItemsAndDecodeBack)
{
    EXPECT_EQ(ItemMapping::GetItemLabel(0), " A");
    EXPECT_EQ(ItemMapping::GetItemLabel(25), " Z");
    EXPECT_EQ(ItemMapping::GetItemLabel(26), "AA");
    EXPECT_EQ(ItemMapping::GetItemLabel(52), "BA");
    EXPECT_EQ(ItemMapping::GetItemLabel(99), "CV");
    for (int k = 0; k < 702; ++k)
        EXPECT_EQ(ItemMapping::DecodeItemLabel(ItemMapping::GetItemLabel(k)), k);
    for (const char* other : {"", "A", " a", "a1", "ABC", "  ", "1A"})
        EXPECT_EQ(ItemMapping::DecodeItemLabel(other), -1) << other;
    // An index the source does not have maps nothing.
    EXPECT_EQ(ItemMapping::DecodeMapping({" C", "", "BA"}, 3), (std::vector<int>{2, -1, -1}));
}

TEST_F(ItemMappingDialogTest, OkWithoutAChoiceMapsEveryItemToNothing)
{
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    CImportFormatDialog dlg(nullptr, FormOf({"名称", "数量", "単価"}), FormOf({"品名", "数"}), "X.MMD");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetResult(), (std::vector<CString>{"", "", ""}));
}

TEST_F(ItemMappingDialogTest, ChosenItemsAndNoneGiveTheMappedLabels)
{
    CString caption, fileName, header, rowName;
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [&](CDialog& dlg) {
        dlg.GetWindowText(caption);
        dlg.GetDlgItem(IDC_IMPORT_FILE_NAME)->GetWindowText(fileName);
        rowName = ListText(dlg, IDC_IMPORT_FORMAT_LIST, 1, 1);
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 0); // 名称 <- 品名
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 2); // 単価 <- 単価
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 2); // 単価 <- (なし)
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 1); // 数量 <- 数
        ClickDlgButton(dlg, IDOK);
    });
    // The source lists: row 0 "(なし)", then the source items.
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 1); });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 3); });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [&](CDialog& dlg) {
        // The current choice is selected when the list opens.
        auto* pList = dynamic_cast<CListCtrl*>(dlg.GetDlgItem(IDC_IMPORT_ITEM_LIST));
        ASSERT_NE(pList, nullptr);
        EXPECT_EQ(pList->GetNextItem(-1, LVNI_SELECTED), 3);
        EXPECT_EQ(pList->GetItemText(0, 1).ToUtf8(), "(なし)");
        DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 0);
    });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [](CDialog& dlg) {
        auto* pList = dynamic_cast<CListCtrl*>(dlg.GetDlgItem(IDC_IMPORT_ITEM_LIST));
        pList->SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ClickDlgButton(dlg, IDOK);
    });
    CImportFormatDialog dlg(nullptr, FormOf({"名称", "数量", "単価"}), FormOf({"品名", "数", "単価"}),
                            "C:\\W\\X.MMD");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(caption.ToUtf8(), "他形式ﾌｧｲﾙ読込");
    // The file as the user's file system names it: drive C: is a folder there.
    std::string root = GetDriveRoot('C');
    if (root.empty() || root.back() != '/')
        root += '/';
    EXPECT_EQ(fileName.ToUtf8(), root + "W/X.MMD");
    EXPECT_EQ(rowName.ToUtf8(), "数量");
    EXPECT_EQ(dlg.GetResult(), (std::vector<CString>{" A", " B", ""}));
    EXPECT_EQ(ItemMapping::DecodeMapping(dlg.GetResult(), 3), (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(answerer.CountUnanswered(), 0);
}

TEST_F(ItemMappingDialogTest, SelectAllMapsOneToOneAndLeavesTheRestEmpty)
{
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 3);
        EXPECT_EQ(ListText(dlg, IDC_IMPORT_FORMAT_LIST, 1, 4).ToUtf8(), "2列目");
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { ClickDlgButton(dlg, IDC_IMPORT_SELECT_ALL); });
    CImportFormatDialog dlg(nullptr, FormOf({"a", "b", "c", "d"}), 2, "T.CSV");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetResult(), (std::vector<CString>{" A", " B", "", ""}));
}

TEST_F(ItemMappingDialogTest, CancelLeavesNoResult)
{
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 0);
        ClickDlgButton(dlg, IDCANCEL);
    });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { ClickDlgButton(dlg, IDC_IMPORT_SELECT_ALL); });
    CImportFormatDialog dlg(nullptr, FormOf({"a"}), 60, "T.CSV");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.GetResult().empty());
    // The CSV mode's title and sixty columns, the 53rd labelled BA.
    EXPECT_EQ(dlg.GetSourceNames().size(), 60u);
    EXPECT_EQ(ItemMapping::GetItemLabel(52), "BA");
}

} // namespace
