// The conversion passes on a small DOS edition written byte by byte: masters, forms,
// estimates and parts lists come out as files that the program's own readers open with
// exactly the expected contents.
#include "tests/dosconvert/DosTestSupport.h"

#include "app/CClassifyFile.h"
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "dosconvert/DosConversion.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <array>

namespace {

// An estimate document with its grid view, as a window would hold them, freed at the end.
struct CEstimateWithView {
    CMorvelEMDoc* pDoc = new CMorvelEMDoc;
    CMorvelEMView* pView = new CMorvelEMView;
    CEstimateWithView()
    {
        pDoc->m_bAutoDelete = FALSE;
        pDoc->AddView(pView);
    }
    ~CEstimateWithView()
    {
        delete pView;
        delete pDoc;
    }
    CEstimateWithView(const CEstimateWithView&) = delete;
    CEstimateWithView& operator=(const CEstimateWithView&) = delete;
};

using Item10 = std::array<const char*, 10>;
using Item8 = std::array<const char*, 8>;

template <typename Form, size_t N>
void ExpectForm(const Form& form, const std::vector<std::array<const char*, N>>& items)
{
    ASSERT_EQ(form.GetCount(), static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        for (size_t c = 0; c < N; ++c)
            EXPECT_EQ(form.GetItem(static_cast<int>(i), static_cast<int>(c)).str(), Sj(items[i][c]))
                << "item " << i << " column " << c;
    }
}

const std::vector<Item10> kEstimationItems = {
    {"名称", "文字", "20", "", "", "", "", "", "", ""},
    {"単位", "文字", "4", "", "", "", "1", "", "", ""},
    {"数量", "数値", "10", "#,###.##", "", "F(0)", "3", "", "", ""},
    {"摘要", "文字", "8", "", "", "", "", "", "", ""},
    {"金額", "計 A", "12", "###,###", "C*D", "D(-1)", "", "2", "F", ""},
};

const std::vector<Item8> kInformationItems = {
    {"得意先名", "文字", "30", "", "", "", "", ""},
    {"税込見積", "税込見積", "14", "###,###", "", "D(-1)", "2", ""},
};

const std::vector<Item10> kPartsItems = {
    {"品名", "文字", "16", "", "", "", "", "", "", ""},
    {"数量", "数値", "8", "#,###", "", "F(0)", "", "", "", ""},
    {"単価", "計算", "10", "###,###", "B*2", "", "2", "", "", ""},
};

class DosConversionTest : public DosTest {
protected:
    DosConversionTest()
    {
        WriteEnvironment();
        WriteSampleEdition([this](const std::string& rel, const Bytes& b) { Write(rel, b); });
    }

    CDosConvertChoice Choice(int nMode) const
    {
        CDosConvertChoice c;
        c.drive = 'Q';
        c.mode = nMode;
        return c;
    }

    CDialogAnswerer answerer;
};

TEST_F(DosConversionTest, MastersReplaceTheTablesAndTheirFiles)
{
    Write("dos/MORVEL/TANNI.TDT",
          MasterFile(12, 0, 2, 2, 8, {{"01", "m2  "}, {"02", Sj(" ｍ３")}, {"03", Sj("式")}}));
    Write("dos/MORVEL/KAMOKU1.KM1",
          MasterFile(30, 0, 24, 24, 6, {{Sj("仮設工事"), Sj("式")}, {Sj("基礎工事"), "m3"}}));
    Write("dos/MORVEL/KAMOKU2.KM2", MasterFile(30, 0, 24, 24, 6, {{Sj("土工事"), "m3"}}));
    // No small subjects in the DOS edition.
    Write("dos/MORVEL/BUNRUI.BDT",
          MasterFile(20, 0, 12, 12, 6, {{Sj("材料費"), "12.9"}, {Sj("労務費"), "  100"}}));

    CUnitFile units;
    units.SetUnits(std::vector<CString>(5, "old"));
    CSubjectFile subjects;
    CClassifyFile classify;
    CDosConvertChoice choice = Choice(CDosConvertChoice::modeAuxiliary);
    choice.units = choice.subjects = choice.classifications = TRUE;
    RunDosConversionPass(choice, CDosMasterTables{&units, &subjects, &classify}, nullptr);

    EXPECT_EQ(answerer.MessageBoxTexts(), (std::vector<CString>{"指定した小科目ﾃﾞｰﾀが存在しません。"_sj,
                                                                "指定した補助ﾃﾞｰﾀをｺﾝﾊﾞｰﾄしました。"_sj}));
    // In memory: the count and the trimmed texts; entries past the count keep theirs.
    ASSERT_EQ(units.GetCount(), 3);
    EXPECT_EQ(units.GetUnit(1).str(), Sj("ｍ３"));
    EXPECT_EQ(units.m_strUnit[3], "old");
    ASSERT_EQ(subjects.GetCount(CSubjectFile::levelLarge), 2);
    EXPECT_EQ(subjects.GetName(0, 1).str(), Sj("基礎工事"));
    EXPECT_EQ(subjects.GetUnit(0, 0).str(), Sj("式"));
    ASSERT_EQ(classify.GetCount(), 2);
    EXPECT_EQ(classify.GetPercent(0), "12");
    EXPECT_EQ(classify.GetPercent(1), "100");

    // On disk, read back by the masters' own readers.
    CUnitFile readUnits;
    ASSERT_EQ(LoadFromBytes(Read("other/tanni.MTD"), [&](CArchive& ar) { return readUnits.Serialize(ar); }),
              0);
    ASSERT_EQ(readUnits.GetCount(), 3);
    EXPECT_EQ(readUnits.GetUnit(0), "m2");
    EXPECT_EQ(readUnits.GetUnit(2).str(), Sj("式"));
    CSubjectFile readSubjects;
    ASSERT_EQ(LoadFromBytes(Read("other/kamoku.MKM"),
                            [&](CArchive& ar) { return readSubjects.SerializeMiddle(ar); }),
              0);
    ASSERT_EQ(readSubjects.GetCount(CSubjectFile::levelMiddle), 1);
    EXPECT_EQ(readSubjects.GetName(1, 0).str(), Sj("土工事"));
    EXPECT_EQ(readSubjects.GetUnit(1, 0), "m3");
    EXPECT_FALSE(Exists("other/kamoku.MKS"));
    CClassifyFile readClassify;
    ASSERT_EQ(
        LoadFromBytes(Read("other/bunrul.MRD"), [&](CArchive& ar) { return readClassify.Serialize(ar); }), 0);
    ASSERT_EQ(readClassify.GetCount(), 2);
    EXPECT_EQ(readClassify.GetName(1).str(), Sj("労務費"));
    EXPECT_EQ(readClassify.GetPercent(0), "12");
}

TEST_F(DosConversionTest, UnitsAloneAreWrittenWithoutConfirmation)
{
    Write("dos/MORVEL/TANNI.TDT", MasterFile(12, 0, 2, 2, 8, {{"01", "kg"}}));
    CUnitFile units;
    CDosConvertChoice choice = Choice(CDosConvertChoice::modeAuxiliary);
    choice.units = TRUE;
    choice.estimationForm = TRUE; // a flag of another mode is not looked at
    RunDosConversionPass(choice, CDosMasterTables{&units, nullptr, nullptr}, nullptr);
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    EXPECT_TRUE(Exists("other/tanni.MTD"));
    EXPECT_EQ(units.GetUnit(0), "kg");
    EXPECT_FALSE(Exists("estform/" + std::string("DOS見積.MMK")));
}

TEST_F(DosConversionTest, FormsFromTheDefinitionFiles)
{
    CDosConvertChoice choice = Choice(CDosConvertChoice::modeForm);
    choice.estimationForm = choice.partsForm = choice.informationForm = TRUE;
    RunDosConversionPass(choice, CDosMasterTables{}, nullptr);
    EXPECT_EQ(answerer.MessageBoxTexts(), (std::vector<CString>{"指定した形式ﾃﾞｰﾀをｺﾝﾊﾞｰﾄしました。"_sj}));

    CEstimationFormFile estimation;
    ASSERT_EQ(
        LoadFromBytes(Read("estform/DOS見積.MMK"), [&](CArchive& ar) { return estimation.Serialize(ar); }),
        0);
    ExpectForm(estimation, kEstimationItems);
    CPartFormFile parts;
    ASSERT_EQ(LoadFromBytes(Read("partform/DOS部材.MBK"), [&](CArchive& ar) { return parts.Serialize(ar); }),
              0);
    ExpectForm(parts, kPartsItems);
    CInformationFormFile information;
    ASSERT_EQ(
        LoadFromBytes(Read("infoform/DOS情報.MJK"), [&](CArchive& ar) { return information.Serialize(ar); }),
        0);
    ExpectForm(information, kInformationItems);
}

TEST_F(DosConversionTest, MissingDefinitionsAreReportedPerForm)
{
    std::filesystem::remove(Native("dos/MORVEL/BUZAI.ITB"));
    std::filesystem::remove(Native("dos/MORVEL/JYOUHOU.ITJ"));
    CDosConvertChoice choice = Choice(CDosConvertChoice::modeForm);
    choice.estimationForm = choice.partsForm = choice.informationForm = TRUE;
    RunDosConversionPass(choice, CDosMasterTables{}, nullptr);
    EXPECT_EQ(answerer.MessageBoxTexts(),
              (std::vector<CString>{"DOS版MORVELの部材形式ﾃﾞｰﾀが読み込めません。"_sj,
                                    "DOS版MORVELの情報形式ﾃﾞｰﾀが読み込めません。"_sj}));
    EXPECT_TRUE(Exists("estform/DOS見積.MMK"));
    EXPECT_FALSE(Exists("partform/DOS部材.MBK"));

    // Without an environment nothing is converted at all.
    std::filesystem::remove(Native("dos/MORVEL/MORINTL.IDT"));
    answerer.ClearShown();
    RunDosConversionPass(choice, CDosMasterTables{}, nullptr);
    EXPECT_EQ(answerer.MessageBoxTexts(),
              (std::vector<CString>{"DOS版MORVELの環境ﾃﾞｰﾀが読み込めません。"_sj}));
}

TEST_F(DosConversionTest, EstimateOpensInTheEstimateWithEveryRowAsConverted)
{
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
    ASSERT_EQ(ConvertDosEstimateFile(dosKindEstimate, "Q:\\MORVEL\\DATA\\KOUJI1.MIT"), 1);

    CEstimateWithView opened;
    CMorvelEMDoc* pDoc = opened.pDoc;
    CMorvelEMView* pView = opened.pView;
    ASSERT_TRUE(pDoc->OnOpenDocument(CString(settings->GetPathSetting("Work Field")) + "KOUJI1.MMD"));
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());

    EXPECT_EQ(pDoc->m_strEstimationFormName, settings->GetPathSetting("Estimation Form") + "DOS見積.MMK"_sj);
    EXPECT_EQ(pDoc->m_strInformationFormName,
              settings->GetPathSetting("Information Form") + "DOS情報.MJK"_sj);
    ExpectForm(pDoc->m_EstimationForm, kEstimationItems);
    ExpectForm(pDoc->m_InformationForm, kInformationItems);
    CMorvelEMView& v = *pView;
    EXPECT_EQ(v.GetColumnCount(), 5);
    EXPECT_EQ(v.GetModel().GetNumbering().nShown, 0);
    EXPECT_EQ(v.GetModel().GetNumbering().nColumn, 0);
    EXPECT_EQ(v.GetModel().GetNumbering().nMode, 0);
    EXPECT_EQ(pDoc->m_aPrintForms.GetSize(), 0);
    ASSERT_EQ(v.GetModel().GetInformationCount(), 2);
    EXPECT_EQ(v.GetModel().GetInformation(0).str(), Sj("山田建設"));
    EXPECT_EQ(v.GetModel().GetInformation(1), "1,080,000");

    struct Row {
        int kind, p1, p2, p3;
        const char* t1;
        const char* t2;
        std::array<const char*, 5> cells;
    };
    const Row rows[] = {
        {7, 0, 0, 0, "", "", {"建築工事", "式", "", "", ""}}, // heading: blank unit becomes 式
        {1, 0, 0, 0, "", "", {"仮設工事", "ｍ２", "", "", ""}},
        {5, 0, 0, 0, "", "", {"ｺﾝｸﾘｰﾄ", "m3", "1200", "1,200", "1234567"}}, // commas dropped in numbers only
        {101, 0, 0, 0, "", "", {"集計", "", "", "", ""}},  // summary page heading keeps the blank
        {50, 0, 0, 0, "", "", {"値引", "", "", "", ""}},   // row code -2: non-calculated
        {9, 0, 1, 0, "50", "", {"歩掛", "", "", "", ""}},  // column 0, 150 = one hundred and 50
        {9, 4, 0, 0, "80", "", {"歩掛2", "", "", "", ""}}, // column 9 taken as 5, less 1
        {21, 0, 1, 0, "50", "512", {"材料費", "", "", "", ""}},
        {5, 0, 0, 0, "", "", {"", "", "", "", ""}},
        {5, 0, 0, 0, "", "", {"あいうえおかきくけこ", "ABCD", "9999999999", "12345678", "-123456789"}},
        {150, 0, 0, 0, "", "", {"対象外", "", "", "", ""}},
    };
    ASSERT_EQ(v.GetUsedRows(), 11);
    for (int r = 0; r < 11; ++r) {
        const Row& row = rows[r];
        EXPECT_EQ(v.GetRowKind(r), row.kind) << "row " << r;
        EXPECT_EQ(v.GetRowParam1(r), row.p1) << "row " << r;
        EXPECT_EQ(v.GetRowParam2(r), row.p2) << "row " << r;
        EXPECT_EQ(v.GetRowParam3(r), row.p3) << "row " << r;
        EXPECT_EQ(v.GetRowParamText1(r).str(), Sj(row.t1)) << "row " << r;
        EXPECT_EQ(v.GetRowParamText2(r).str(), Sj(row.t2)) << "row " << r;
        for (int c = 0; c < 5; ++c) {
            EXPECT_EQ(v.GetCellText(r, c).str(), Sj(row.cells[static_cast<size_t>(c)]))
                << "row " << r << " col " << c;
            EXPECT_EQ(v.GetCellIndent(r, c), 0);
        }
    }

    // The estimate's information form is written beside it.
    CInformationFormFile information;
    ASSERT_EQ(
        LoadFromBytes(Read("infoform/DOS情報.MJK"), [&](CArchive& ar) { return information.Serialize(ar); }),
        0);
    ExpectForm(information, kInformationItems);
}

TEST_F(DosConversionTest, ConvertingTwiceReplacesTheEstimateWithoutBackup)
{
    settings->WriteProfileInt("Input Setting", "Backup File", 0);
    Write("work/KOUJI1.MMD", {'o', 'l', 'd'});
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
    ASSERT_EQ(ConvertDosEstimateFile(dosKindEstimate, "Q:\\MORVEL\\DATA\\KOUJI1.MIT"), 1);
    const Bytes first = Read("work/KOUJI1.MMD");
    ASSERT_EQ(ConvertDosEstimateFile(dosKindEstimate, "Q:\\MORVEL\\DATA\\KOUJI1.MIT"), 1);
    EXPECT_EQ(Read("work/KOUJI1.MMD"), first);
    EXPECT_GT(first.size(), 3u);
    EXPECT_FALSE(Exists("work/KOUJI1.BMD"));
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Native("work")))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"KOUJI1.MMD"}); // no temporary left behind
}

TEST_F(DosConversionTest, PartsListIsWrittenInThePartsFileLayout)
{
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    ASSERT_EQ(ReadDosFormDefinitions(dosKindParts), 1);
    ASSERT_EQ(ConvertDosPartsFile(dosKindParts, "Q:\\MORVEL\\BUZAI\\BUZAI01.BZI"), 1);

    // The parts file as its layout describes it, written out by hand.
    const std::string formPath = (settings->GetPathSetting("Parts Form") + "DOS部材.MBK"_sj).str();
    ByteBuilder b;
    b.Str("This is Parts Management file").Word(100).Str(formPath);
    b.Str("This is part form file").Word(3);
    for (const Item10& item : kPartsItems) {
        for (const char* text : item)
            b.Str(Sj(text));
    }
    b.Word(3).Word(3);
    for (const char* cell : {"鉄筋", "1200", "3500", "", "", "", "ｱﾙﾐ 1,5", "2", "10"})
        b.Str(Sj(cell));
    b.Word(0);
    EXPECT_EQ(Read("work/BUZAI01.MBD"), b.Bytes());

    CPartFormFile form;
    ASSERT_EQ(LoadFromBytes(Read("partform/DOS部材.MBK"), [&](CArchive& ar) { return form.Serialize(ar); }),
              0);
    ExpectForm(form, kPartsItems);
}

TEST_F(DosConversionTest, FormPathsAreStoredInOneFormWhenTheSettingsHoldNativeFolders)
{
    // Folders as a settings file written on this system may hold them: native paths.
    settings->WritePathSetting("Parts Form", Native("partform").c_str());
    settings->WritePathSetting("Estimation Form", Native("estform").c_str());
    settings->WritePathSetting("Information Form", Native("infoform").c_str());
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    ASSERT_EQ(ReadDosFormDefinitions(dosKindParts), 1);
    ASSERT_EQ(ConvertDosPartsFile(dosKindParts, "Q:\\MORVEL\\BUZAI\\BUZAI01.BZI"), 1);
    ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
    ASSERT_EQ(ConvertDosEstimateFile(dosKindEstimate, "Q:\\MORVEL\\DATA\\KOUJI1.MIT"), 1);

    const CString partsForm = SystemPathFromNative(Native("partform/") + "DOS部材.MBK");
    ByteBuilder b;
    b.Str("This is Parts Management file").Word(100).Str(partsForm.str());
    const Bytes prefix = b.Bytes();
    const Bytes parts = Read("work/BUZAI01.MBD");
    ASSERT_GE(parts.size(), prefix.size());
    EXPECT_EQ(Bytes(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(prefix.size())), prefix);

    CEstimateWithView opened;
    CMorvelEMDoc* pDoc = opened.pDoc;
    ASSERT_TRUE(pDoc->OnOpenDocument(CString(settings->GetPathSetting("Work Field")) + "KOUJI1.MMD"));
    EXPECT_EQ(pDoc->m_strEstimationFormName.str(),
              SystemPathFromNative(Native("estform/") + "DOS見積.MMK").str());
    EXPECT_EQ(pDoc->m_strInformationFormName.str(),
              SystemPathFromNative(Native("infoform/") + "DOS情報.MJK").str());
}

TEST_F(DosConversionTest, LargestEstimateRecordsAndUntaggedFiles)
{
    // 100 columns of 1 byte each, untagged files, 27 information items (no closing record).
    std::vector<DefSpec> defs = {{"NO", 2, 2}};
    RecordLayout layout{{2}, 19};
    std::vector<std::string> fields;
    for (int i = 0; i < 100; ++i) {
        defs.push_back({"C" + std::to_string(i), i % 2 ? 3 : 2, 1});
        layout.widths.push_back(1);
        fields.push_back(std::string(1, static_cast<char>('0' + i % 10)));
    }
    std::vector<InfoSpec> items(27, InfoSpec{"v", "n", 2, 3, ""});
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile(defs, false));
    Write("dos/MORVEL/DATA/BIG.MIT",
          EstimateDataFile(layout, items, {EstimateRecord(layout, fields, TailSpec())}, false));
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
    ASSERT_EQ(ConvertDosEstimateFile(dosKindEstimate, "Q:\\MORVEL\\DATA\\BIG.MIT"), 1);

    CMorvelEMDoc* pDoc = new CMorvelEMDoc;
    CMorvelEMView* pView = new CMorvelEMView;
    pDoc->m_bAutoDelete = FALSE;
    pDoc->AddView(pView);
    ASSERT_TRUE(pDoc->OnOpenDocument(CString(settings->GetPathSetting("Work Field")) + "BIG.MMD"));
    EXPECT_EQ(pDoc->m_EstimationForm.GetCount(), 100);
    EXPECT_EQ(pView->GetColumnCount(), 100);
    EXPECT_EQ(pView->GetModel().GetInformationCount(), 27);
    for (int c = 0; c < 100; ++c)
        EXPECT_EQ(pView->GetCellText(0, c), fields[static_cast<size_t>(c)]);
    delete pView;
    delete pDoc;
}

} // namespace
