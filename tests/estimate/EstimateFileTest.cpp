// The estimate file: reading a file written out from the format, writing it back byte for
// byte, the empty estimate, the save-time recalculation, backups and the native name.
#include "tests/estimate/EstimateFileTestSupport.h"

#include "app/CMorvelApp.h"
#include "app/SharedRecords.h"
#include "engine/estimate/CGridRow.h"
#include "platform/base/Path.h"

#include <filesystem>

namespace {

std::string Utf8(const CString& text)
{
    return text.ToUtf8();
}

const CPrintFormEntry* PrintForm(const CMorvelEMDoc& doc, int i)
{
    return static_cast<const CPrintFormEntry*>(doc.m_aPrintForms.GetAt(i));
}

} // namespace

TEST_F(EstimateFileTest, AFileWrittenFromTheFormatReadsIntoFormsRowsSettingsAndLayouts)
{
    Write("a.mmd", SampleEstimateFile());
    OpenedEstimate e;
    MessageBoxRecorder boxes;
    ASSERT_TRUE(e.doc->OnOpenDocument(Path("a.mmd")));
    EXPECT_TRUE(boxes.entries.empty());

    // The document: form names and forms, print layouts, the loaded rows.
    EXPECT_EQ("meisai.MMK", Utf8(e.doc->m_strEstimationFormName));
    EXPECT_EQ("JYOUHOU.MJK", Utf8(e.doc->m_strInformationFormName));
    ASSERT_EQ(3, e.doc->m_EstimationForm.GetCount());
    EXPECT_EQ("計 A", Utf8(e.doc->m_EstimationForm.GetItem(2, CEstimationFormFile::colAttribute)));
    EXPECT_EQ("J", Utf8(e.doc->m_EstimationForm.GetItem(2, CEstimationFormFile::colC)));
    ASSERT_EQ(2, e.doc->m_InformationForm.GetCount());
    EXPECT_EQ("税込見積", Utf8(e.doc->m_InformationForm.GetItem(1, CInformationFormFile::colAttribute)));
    ASSERT_EQ(2, e.doc->m_aPrintForms.GetSize());
    EXPECT_EQ("見積書", Utf8(PrintForm(*e.doc, 0)->m_strTitle));
    EXPECT_EQ("内訳書", Utf8(PrintForm(*e.doc, 1)->m_strTitle));
    EXPECT_EQ("C:\\MORVEL\\PRINT\\", Utf8(PrintForm(*e.doc, 1)->m_strFolder));
    EXPECT_EQ(3, e.doc->m_nLoadedRowCount);
    EXPECT_EQ(0, e.doc->m_nNewEstimate);

    // The view: the ten words.
    const CMorvelEMView& v = *e.view;
    EXPECT_EQ(3, v.GetColumnCount());
    EXPECT_EQ(3, v.GetUsedRows());
    EXPECT_EQ(1, v.GetModel().GetNumbering().nShown);
    EXPECT_EQ(0, v.GetModel().GetNumbering().nColumn);
    EXPECT_EQ(3, v.GetModel().GetNumbering().nKindStyle);
    EXPECT_EQ(2, v.GetModel().GetNumbering().nLargeStyle);
    EXPECT_EQ(1, v.GetModel().GetNumbering().nMiddleStyle);
    EXPECT_EQ(0, v.GetModel().GetNumbering().nSmallStyle);
    EXPECT_EQ(0, v.GetModel().GetNumbering().nMode);
    EXPECT_EQ(150, v.GetMetrics().nZoom);

    // The rows, with the parameters in their places and the indent read as signed.
    EXPECT_EQ(kindLarge, v.GetRowKind(0));
    EXPECT_EQ("建築工事", Utf8(v.GetCellText(0, 0)));
    EXPECT_EQ(2, v.GetCellIndent(0, 0));
    EXPECT_EQ(kindDetail, v.GetRowKind(1));
    EXPECT_EQ(4464, v.GetRowParam1(1));
    EXPECT_EQ(65535, v.GetRowParam2(1));
    EXPECT_EQ(7, v.GetRowParam3(1));
    EXPECT_EQ("T1", Utf8(v.GetRowParamText1(1)));
    EXPECT_EQ("T2", Utf8(v.GetRowParamText2(1)));
    EXPECT_EQ(-1, v.GetCellIndent(1, 0));
    EXPECT_EQ(3, v.GetCellIndent(1, 2));
    // Loading stores cell texts as they are: no rounding, picture or recalculation.
    EXPECT_EQ("1,234.5", Utf8(v.GetCellText(1, 1)));
    EXPECT_EQ("", Utf8(v.GetCellText(1, 2)));
    EXPECT_EQ(kindStep, v.GetRowKind(2));
    EXPECT_EQ(1, v.GetRowParam1(2));
    EXPECT_EQ(2, v.GetRowParam2(2));
    EXPECT_EQ(3, v.GetRowParam3(2));
    EXPECT_EQ("ｺﾝｸﾘｰﾄ", Utf8(v.GetRowParamText1(2)));

    // The information values.
    EXPECT_EQ(2, v.GetModel().GetInformationCount());
    EXPECT_EQ("山田建設", Utf8(v.GetModel().GetInformation(0)));
    EXPECT_EQ("1,080,000", Utf8(v.GetModel().GetInformation(1)));

    // The initial update takes the columns from the form and keeps the rows.
    e.view->SetupFromDocument();
    EXPECT_EQ(3, v.GetUsedRows());
    EXPECT_EQ(3, v.GetColumnCount());
    EXPECT_EQ(200 * 150 / 100, v.GetColumnWidth(0));
}

TEST_F(EstimateFileTest, AFileReadAndSavedAgainIsByteIdenticalAndSoIsItsSecondGeneration)
{
    const std::vector<uint8_t> golden = SampleEstimateFile();
    Write("a.mmd", golden);
    {
        OpenedEstimate e;
        ASSERT_TRUE(e.doc->OnOpenDocument(Path("a.mmd")));
        e.view->SetupFromDocument();
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("b.mmd")));
    }
    EXPECT_EQ(golden, Read("b.mmd"));

    // An estimate built through the view's operations survives a save and a load the
    // same way: the second save is the same file as the first.
    {
        OpenedEstimate e;
        ASSERT_TRUE(e.doc->OnOpenDocument(Path("b.mmd")));
        e.view->SetupFromDocument();
        e.view->SetCellText("Foundation", 5, 0, TRUE);
        e.view->SetRowKind(kindDetail, 5);
        e.view->SetCellText("2", 5, 1, TRUE);
        e.view->SetCellIndent(-1, 5, 0);
        e.view->SetRowParam1(70000, 5);
        e.view->SetRowParamText2(CString::FromUtf8("全角テキスト"), 5);
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("c.mmd")));
        EXPECT_FALSE(e.doc->IsModified());
    }
    std::vector<uint8_t> second;
    {
        OpenedEstimate e;
        ASSERT_TRUE(e.doc->OnOpenDocument(Path("c.mmd")));
        e.view->SetupFromDocument();
        EXPECT_EQ(6, e.view->GetUsedRows());
        EXPECT_EQ(-1, e.view->GetCellIndent(5, 0));
        // A value beyond 16 bits keeps its low 16 bits.
        EXPECT_EQ(4464, e.view->GetRowParam1(5));
        EXPECT_EQ("全角テキスト", Utf8(e.view->GetRowParamText2(5)));
        // A number stored through the view is kept in its normal form.
        EXPECT_EQ("2.000000", Utf8(e.view->GetCellText(5, 1)));
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("d.mmd")));
    }
    EXPECT_EQ(Read("c.mmd"), Read("d.mmd"));
}

TEST_F(EstimateFileTest, ADocumentWithoutAnyWindowReadsAFileAndWritesItBackWhole)
{
    // Conversions and tools keep estimates without a window: the rows, the information
    // values and the zoom (150 in the sample) are the document's, so nothing is lost.
    const std::vector<uint8_t> golden = SampleEstimateFile();
    Write("a.mmd", golden);
    CMorvelEMDoc* pDoc = new CMorvelEMDoc;
    pDoc->m_bAutoDelete = FALSE;
    ASSERT_TRUE(pDoc->OnOpenDocument(Path("a.mmd")));
    EXPECT_EQ(3, pDoc->Model().GetUsedRows());
    ASSERT_TRUE(pDoc->OnSaveDocument(Path("b.mmd")));
    delete pDoc;
    EXPECT_EQ(golden, Read("b.mmd"));
}

TEST_F(EstimateFileTest, ANewEstimateIsTheTenWordsFollowedByTheInformationCount)
{
    OpenedEstimate e;
    e.doc->m_strEstimationFormName = "meisai.MMK";
    e.doc->m_strInformationFormName = "JYOUHOU.MJK";
    const auto estimation = SampleEstimationItems();
    const auto information = SampleInformationItems();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 10; ++j)
            e.doc->m_EstimationForm.SetItem(i, j, CString::FromUtf8(estimation[i][j]));
    e.doc->m_EstimationForm.SetCount(3);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 8; ++j)
            e.doc->m_InformationForm.SetItem(i, j, CString::FromUtf8(information[i][j]));
    e.doc->m_InformationForm.SetCount(2);
    e.doc->m_nNewEstimate = 1;
    e.view->SetupFromDocument();
    ASSERT_TRUE(e.doc->OnSaveDocument(Path("new.mmd")));

    EstimateFileBuilder b;
    b.Magic().Text("meisai.MMK").Form("This is estimation form file", estimation);
    b.Text("JYOUHOU.MJK").Form("This is information form file", information);
    // Three columns, no rows, and the numbering defaults: off, column 1, styles 2, 0, 2,
    // 1, mode 1; zoom 100.
    b.Words({3, 0, 0, 1, 2, 0, 2, 1, 1, 100});
    // Two information values, both empty, and no print layouts.
    b.Words({2}).Text("").Text("").Words({0});
    EXPECT_EQ(b.Bytes(), Read("new.mmd"));
}

TEST_F(EstimateFileTest, SavingAsksForTheSaveTimeRecalculationOfTheLevel)
{
    // A detail whose amount cell does not match its formula (B*B of the quantity).
    EstimateFileBuilder b;
    b.Magic().Text("meisai.MMK").Form("This is estimation form file", SampleEstimationItems());
    b.Text("JYOUHOU.MJK").Form("This is information form file", SampleInformationItems());
    b.Words({3, 1, 0, 1, 2, 0, 2, 1, 1, 100});
    b.Row({5, 0, 0, 0, "", "", {{"x", 0}, {"3.000000", 0}, {"1.000000", 0}}});
    b.Words({0, 0});
    Write("a.mmd", b.Bytes());

    for (int nLevel : {1, 3}) {
        SCOPED_TRACE(nLevel);
        settings->WriteProfileInt("ReCalcSetting", "Level", nLevel);
        OpenedEstimate e;
        ASSERT_TRUE(e.doc->OnOpenDocument(Path("a.mmd")));
        e.view->SetupFromDocument();
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("b.mmd")));
        OpenedEstimate back;
        ASSERT_TRUE(back.doc->OnOpenDocument(Path("b.mmd")));
        EXPECT_EQ(nLevel == 3 ? "9.000000" : "1.000000", Utf8(back.view->GetCellText(0, 2)));
    }
}

TEST_F(EstimateFileTest, TheBackupCopyIsMadeOnlyWhileBackupFileIsZero)
{
    Write("est.mmd", SampleEstimateFile());
    const std::vector<uint8_t> old = {1, 2, 3};
    {
        settings->WriteProfileInt("Input Setting", "Backup File", 1);
        OpenedEstimate e;
        ASSERT_TRUE(e.doc->OnOpenDocument(Path("est.mmd")));
        Write("est.mmd", old);
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("est.mmd")));
        EXPECT_FALSE(std::filesystem::exists(Native("est.BMD")));
    }
    {
        settings->WriteProfileInt("Input Setting", "Backup File", 0);
        OpenedEstimate e;
        ASSERT_TRUE(e.doc->OnOpenDocument(Path("est.mmd")));
        Write("est.mmd", old);
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("est.mmd")));
        // The backup holds the file as it was before the save, the file the new estimate.
        EXPECT_EQ(old, Read("est.BMD"));
        EXPECT_EQ(SampleEstimateFile(), Read("est.mmd"));
        // A later save replaces the older backup.
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("est.mmd")));
        EXPECT_EQ(SampleEstimateFile(), Read("est.BMD"));
    }
    {
        // A first save has nothing to back up and goes on.
        OpenedEstimate e;
        ASSERT_TRUE(e.doc->OnOpenDocument(Path("est.mmd")));
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("fresh.mmd")));
        EXPECT_FALSE(std::filesystem::exists(Native("fresh.BMD")));
        EXPECT_TRUE(std::filesystem::exists(Native("fresh.mmd")));
    }
}

TEST_F(EstimateFileTest, BackupAndNativeNamesChangeOnlyTheFileNamesExtension)
{
    EXPECT_EQ("C:\\a.b\\est.BMD", Utf8(CMorvelEMDoc::GetBackupPathName("C:\\a.b\\est.mmd")));
    EXPECT_EQ("C:\\a.b\\est.BMD", Utf8(CMorvelEMDoc::GetBackupPathName("C:\\a.b\\est")));
    EXPECT_EQ("/x.y/est.v2.BMD", Utf8(CMorvelEMDoc::GetBackupPathName("/x.y/est.v2.mmd")));
    EXPECT_EQ("C:\\W\\A.mmd", Utf8(CMorvelEMDoc::GetNativePathName("C:\\W\\A.rxa")));
    EXPECT_EQ("C:\\W\\A.mmd", Utf8(CMorvelEMDoc::GetNativePathName("C:\\W\\A.MVL")));
    EXPECT_EQ("C:\\W\\A.mmd", Utf8(CMorvelEMDoc::GetNativePathName("C:\\W\\A.RXB")));
    EXPECT_EQ("C:\\W\\A.MMD", Utf8(CMorvelEMDoc::GetNativePathName("C:\\W\\A.MMD")));
    EXPECT_EQ("C:\\W.1\\A.mmd", Utf8(CMorvelEMDoc::GetNativePathName("C:\\W.1\\A")));
    // A trail byte 0x5C of a double-byte character is not a separator.
    EXPECT_EQ(Utf8("C:\\表.mmd"_sj), Utf8(CMorvelEMDoc::GetNativePathName("C:\\表.txt"_sj)));

    EXPECT_EQ(CMorvelEMDoc::sourceMvl, CMorvelEMDoc::GetSourceKind("C:\\W\\a.mvl"));
    EXPECT_EQ(CMorvelEMDoc::sourceRxa, CMorvelEMDoc::GetSourceKind("C:\\W\\a.Rxa"));
    EXPECT_EQ(CMorvelEMDoc::sourceRxb, CMorvelEMDoc::GetSourceKind("C:\\W\\a.RXB"));
    EXPECT_EQ(CMorvelEMDoc::sourceNative, CMorvelEMDoc::GetSourceKind("C:\\W.MVL\\a.mmd"));
}

TEST_F(EstimateFileTest, SavingUnderAnOutsidePackagesNameWritesTheNativeNameBesideIt)
{
    Write("a.mmd", SampleEstimateFile());
    const std::vector<uint8_t> outside = {'@', 'M', '\r', '\n'};
    Write("a.RXB", outside);
    OpenedEstimate e;
    ASSERT_TRUE(e.doc->OnOpenDocument(Path("a.mmd")));
    ASSERT_TRUE(e.doc->OnSaveDocument(Path("a.RXB")));
    EXPECT_EQ(outside, Read("a.RXB"));
    EXPECT_EQ(SampleEstimateFile(), Read("a.mmd"));

    ASSERT_TRUE(e.doc->OnSaveDocument(Path("b.rxa")));
    EXPECT_FALSE(std::filesystem::exists(Native("b.rxa")));
    EXPECT_EQ(SampleEstimateFile(), Read("b.mmd"));

    // The document's name follows: every estimate path ends in ".mmd", an estimate's own
    // name as the file has it.
    e.doc->SetPathName(Path("c.RXB"), FALSE);
    EXPECT_EQ(Utf8(Path("c.mmd")), Utf8(e.doc->GetPathName()));
    e.doc->SetPathName(Path("d.MMD"), FALSE);
    EXPECT_EQ(Utf8(Path("d.MMD")), Utf8(e.doc->GetPathName()));
    EXPECT_EQ("d.MMD", Utf8(e.doc->GetTitle()));
}

TEST_F(EstimateFileTest, ANewDocumentTakesTheApplicationsFormsAndGivesItsViewsTheColumnCount)
{
    CMorvelApp app;
    app.SetProfilePath(profile.GetPath());
    app.m_strEstimationFormFile = "meisai.MMK";
    app.m_strInformationFormFile = "JYOUHOU.MJK";
    const auto estimation = SampleEstimationItems();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 10; ++j)
            app.m_estimationForm.SetItem(i, j, CString::FromUtf8(estimation[i][j]));
    app.m_estimationForm.SetCount(3);
    app.m_informationForm.SetItem(0, 0, "x");
    app.m_informationForm.SetCount(1);

    OpenedEstimate e;
    e.doc->m_nLoadedRowCount = 9;
    ASSERT_TRUE(e.doc->OnNewDocument());
    EXPECT_EQ(1, e.doc->m_nNewEstimate);
    EXPECT_EQ(0, e.doc->m_nLoadedRowCount);
    EXPECT_FALSE(e.doc->IsModified());
    EXPECT_EQ("meisai.MMK", Utf8(e.doc->m_strEstimationFormName));
    EXPECT_EQ("JYOUHOU.MJK", Utf8(e.doc->m_strInformationFormName));
    EXPECT_TRUE(e.doc->m_EstimationForm.IsSameForm(app.m_estimationForm));
    EXPECT_EQ("x", Utf8(e.doc->m_InformationForm.GetItem(0, 0)));
    EXPECT_EQ(3, e.view->GetColumnCount());
    // The copies are the document's own.
    app.m_estimationForm.SetItem(0, 0, "changed");
    EXPECT_EQ("名称", Utf8(e.doc->m_EstimationForm.GetItem(0, 0)));
    // The work folder became the current folder.
    EXPECT_EQ(std::filesystem::canonical(dir.Native()), std::filesystem::current_path());
}
