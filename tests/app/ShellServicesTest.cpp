// What the shell does with an entry no subsystem has filled: the sheets and the conversion
// say that they are not there and count as cancelled; every other wrapper gives its empty
// answer without calling the empty function, so a caller's fallback (the printing context's
// own mapping, a disabled command) takes over.
#include "app/CPartFormFile.h"
#include "app/CShellServices.h"
#include "platform/base/Collections.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <gtest/gtest.h>

TEST(ShellServices, AnEmptyEntryGivesItsEmptyAnswer)
{
    const CShellServices saved = CShellServices::Get();
    CShellServices::Get() = CShellServices();
    CDialogAnswerer answerer;

    EXPECT_FALSE(CShellServices::RunEstimateDialogCommand(nullptr, 1));
    EXPECT_FALSE(CShellServices::RunEstimateIoCommand(nullptr, 1));
    EXPECT_FALSE(CShellServices::RunPartsIoCommand(nullptr, 1));
    EXPECT_FALSE(CShellServices::PrepareEstimatePrinting(nullptr, nullptr));
    EXPECT_FALSE(CShellServices::PrepareEstimatePrintDC(nullptr, nullptr, nullptr));
    CShellServices::PrintEstimatePage(nullptr, nullptr, nullptr);
    CShellServices::EndEstimatePrinting(nullptr);
    CShellServices::CutAllEstimateRows(nullptr);
    EXPECT_EQ(0, CShellServices::GetEstimateUsedRows(nullptr));
    CObArray chosen;
    EXPECT_EQ(IDCANCEL, CShellServices::ChooseEstimatePrintForms(nullptr, chosen));
    EXPECT_EQ(0, chosen.GetSize());
    EXPECT_EQ(nullptr, CShellServices::CreatePrintBarBox(1, nullptr, RECT{0, 0, 10, 10}, nullptr));
    EXPECT_EQ(nullptr, CShellServices::CreateUnitPick(nullptr, "m"));
    EXPECT_EQ(nullptr, CShellServices::CreateFindReplaceDialog(nullptr, true, "a"));
    int nZoom = 80;
    EXPECT_FALSE(CShellServices::RunZoomDialog(nullptr, nZoom));
    EXPECT_EQ(80, nZoom);
    BOOL bAscending = TRUE;
    EXPECT_FALSE(CShellServices::RunSortDialog(nullptr, bAscending));
    CPartFormFile form;
    CShellServices::CRateChangeRequest request;
    EXPECT_FALSE(CShellServices::RunRateChangeDialog(nullptr, form, request));
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());

    const CString introduction = "導入処理の画面はまだ用意されていません。"_sj;
    const CString environment = "環境設定の画面はまだ用意されていません。"_sj;
    EXPECT_EQ(IDCANCEL, CShellServices::RunIntroductionPage("Unit"));
    EXPECT_EQ(IDCANCEL, CShellServices::RunEnvironmentPathPage());
    EXPECT_EQ(IDCANCEL, CShellServices::RunIntroductionSheet(nullptr, nullptr, 0));
    EXPECT_EQ(IDCANCEL, CShellServices::RunEnvironmentSheet(nullptr, nullptr, 0));
    EXPECT_EQ(IDCANCEL, CShellServices::RunViewEnvironmentSheet(nullptr, 1));
    CShellServices::RunEstimateImportSheet(nullptr, nullptr);
    CShellServices::RunPartsImportSheet(nullptr, nullptr);
    CShellServices::RunEstimateFormImportSheet(nullptr, nullptr);
    CShellServices::RunPartsFormImportSheet(nullptr, nullptr);
    CShellServices::RunDosConversion(nullptr);
    const std::vector<CString> expected = {introduction, environment,
                                           introduction, environment,
                                           environment,  introduction,
                                           introduction, introduction,
                                           introduction, "DOS版ﾃﾞｰﾀの変換はまだ用意されていません。"_sj};
    EXPECT_EQ(expected, answerer.MessageBoxTexts());

    CShellServices::Get() = saved;
}
