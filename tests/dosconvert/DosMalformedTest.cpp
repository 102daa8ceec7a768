// Damaged DOS files for every reader: truncated at every length, counts and offsets past
// their records, and 300 random variations each (fixed seeds). Whatever the input, the
// conversion says what failed, nothing crashes, and every file the conversion would
// write is byte for byte what it was before, unless the conversion succeeded, in which
// case the program's own reader opens what was written.
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

#include <random>

namespace {

const char* const kTargets[] = {
    "other/tanni.MTD",  "other/kamoku.MKB",    "other/kamoku.MKM",     "other/kamoku.MKS",
    "other/bunrul.MRD", "estform/DOS見積.MMK", "partform/DOS部材.MBK", "infoform/DOS情報.MJK",
    "work/KOUJI1.MMD",  "work/BUZAI01.MBD",
};

Bytes OldContent(const std::string& rel)
{
    const std::string text = "old content of " + rel;
    return Bytes(text.begin(), text.end());
}

// A variation of a good file: cut, changed bytes, extreme numbers in its header, a
// longer tail, or bytes with nothing of the file in them.
Bytes Mutate(const Bytes& good, std::mt19937& rng)
{
    auto pick = [&rng](size_t n) {
        return n == 0 ? size_t{0} : std::uniform_int_distribution<size_t>(0, n - 1)(rng);
    };
    Bytes b = good;
    switch (pick(5)) {
    case 0:
        b.resize(pick(good.size() + 1));
        break;
    case 1:
        for (size_t i = 0, n = 1 + pick(8); i < n && !b.empty(); ++i)
            b[pick(b.size())] = static_cast<uint8_t>(pick(256));
        break;
    case 2: {
        static const int kExtremes[] = {0, 1, -1, 0x7FFF, -0x8000, 2, 101, 255, 256};
        const size_t nAt = pick(std::min<size_t>(b.size(), 64));
        if (nAt + 1 < b.size())
            PutWord(b, nAt, kExtremes[pick(std::size(kExtremes))]);
        break;
    }
    case 3:
        for (size_t i = 0, n = 1 + pick(300); i < n; ++i)
            b.push_back(static_cast<uint8_t>(pick(256)));
        break;
    default:
        b.resize(pick(700));
        for (uint8_t& c : b)
            c = static_cast<uint8_t>(pick(256));
        break;
    }
    return b;
}

class DosMalformedTest : public DosTest {
protected:
    DosMalformedTest()
    {
        WriteEnvironment();
        WriteSampleEdition([this](const std::string& rel, const Bytes& b) { Write(rel, b); });
        Write("dos/MORVEL/TANNI.TDT", MasterFile(12, 0, 2, 2, 8, {{"01", "m2"}, {"02", Sj("式")}}));
        Write("dos/MORVEL/KAMOKU1.KM1", MasterFile(30, 0, 24, 24, 6, {{Sj("仮設工事"), Sj("式")}}));
        Write("dos/MORVEL/BUNRUI.BDT", MasterFile(20, 0, 12, 12, 6, {{Sj("材料費"), "12.9"}}));
        for (const char* rel : kTargets)
            Write(rel, OldContent(rel));
        units.SetUnits({"old"});
    }

    // Every target is as it was, or (when allowed) a file its reader opens.
    void ExpectUnchanged(const std::string& context, const std::vector<std::string>& except = {})
    {
        for (const char* rel : kTargets) {
            if (std::find(except.begin(), except.end(), rel) == except.end()) {
                EXPECT_EQ(Read(rel), OldContent(rel)) << rel << " after " << context;
            }
        }
    }
    void Restore(const std::string& rel) { Write(rel, OldContent(rel)); }

    template <typename Form>
    void ExpectFormOpens(const std::string& rel, const std::string& context)
    {
        Form form;
        int nResult = -1;
        try {
            nResult = LoadFromBytes(Read(rel), [&](CArchive& ar) { return form.Serialize(ar); });
        } catch (CException&) {
            nResult = -2;
        }
        EXPECT_EQ(nResult, 0) << rel << " after " << context;
    }

    // Runs the estimation form pass on the definition file given.
    void RunFormPass(int nKind, const std::string& context)
    {
        answerer.ClearShown();
        CDosConvertChoice choice;
        choice.drive = 'Q';
        choice.mode = CDosConvertChoice::modeForm;
        choice.estimationForm = nKind == dosKindEstimate;
        choice.partsForm = nKind == dosKindParts;
        choice.informationForm = nKind == dosKindInformation;
        RunDosConversionPass(choice, CDosMasterTables{}, nullptr);
        const std::vector<CString> texts = answerer.MessageBoxTexts();
        const char* target = nKind == dosKindEstimate ? "estform/DOS見積.MMK"
                             : nKind == dosKindParts  ? "partform/DOS部材.MBK"
                                                      : "infoform/DOS情報.MJK";
        const bool bFailed = std::any_of(texts.begin(), texts.end(),
                                         [](const CString& t) { return t.Find("読み込めません"_sj) >= 0; });
        if (bFailed) {
            ExpectUnchanged(context);
        } else {
            ExpectUnchanged(context, {target});
            if (nKind == dosKindEstimate)
                ExpectFormOpens<CEstimationFormFile>(target, context);
            else if (nKind == dosKindParts)
                ExpectFormOpens<CPartFormFile>(target, context);
            else
                ExpectFormOpens<CInformationFormFile>(target, context);
            Restore(target);
        }
    }

    // Runs the master pass of one kind (0 units, 1 subjects, 2 classifications).
    void RunMasterPass(int nMaster, const std::string& context)
    {
        answerer.ClearShown();
        CDosConvertChoice choice;
        choice.drive = 'Q';
        choice.mode = CDosConvertChoice::modeAuxiliary;
        choice.units = nMaster == 0;
        choice.subjects = nMaster == 1;
        choice.classifications = nMaster == 2;
        const CUnitFile unitsBefore = units;
        RunDosConversionPass(choice, CDosMasterTables{&units, &subjects, &classify}, nullptr);
        const std::vector<CString> texts = answerer.MessageBoxTexts();
        const char* target = nMaster == 0   ? "other/tanni.MTD"
                             : nMaster == 1 ? "other/kamoku.MKB"
                                            : "other/bunrul.MRD";
        const CString failure = nMaster == 0   ? "指定した単位ﾃﾞｰﾀが存在しません。"_sj
                                : nMaster == 1 ? "指定した大科目ﾃﾞｰﾀが存在しません。"_sj
                                               : "指定した分類ﾃﾞｰﾀが存在しません。"_sj;
        if (std::find(texts.begin(), texts.end(), failure) != texts.end()) {
            ExpectUnchanged(context);
            if (nMaster == 0) {
                EXPECT_EQ(units.GetCount(), unitsBefore.GetCount()) << context;
                EXPECT_EQ(units.GetUnit(0), unitsBefore.GetUnit(0)) << context;
            }
            return;
        }
        ExpectUnchanged(context, {target});
        int nResult = -1;
        try {
            if (nMaster == 0) {
                CUnitFile read;
                nResult = LoadFromBytes(Read(target), [&](CArchive& ar) { return read.Serialize(ar); });
                EXPECT_LE(read.GetCount(), 99) << context;
            } else if (nMaster == 1) {
                CSubjectFile read;
                nResult = LoadFromBytes(Read(target), [&](CArchive& ar) { return read.SerializeLarge(ar); });
            } else {
                CClassifyFile read;
                nResult = LoadFromBytes(Read(target), [&](CArchive& ar) { return read.Serialize(ar); });
            }
        } catch (CException&) {
            nResult = -2;
        }
        EXPECT_EQ(nResult, 0) << target << " after " << context;
        Restore(target);
    }

    // Converts the estimate file at the DOS path; checks the outcome either way.
    void RunEstimate(const std::string& context)
    {
        ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
        const int nResult = ConvertDosEstimateFile(dosKindEstimate, "Q:\\MORVEL\\DATA\\KOUJI1.MIT");
        if (nResult != 1) {
            EXPECT_EQ(nResult, -1);
            ExpectUnchanged(context);
            return;
        }
        ExpectUnchanged(context, {"work/KOUJI1.MMD", "infoform/DOS情報.MJK"});
        ExpectFormOpens<CInformationFormFile>("infoform/DOS情報.MJK", context);
        CMorvelEMDoc* pDoc = new CMorvelEMDoc;
        CMorvelEMView* pView = new CMorvelEMView;
        pDoc->m_bAutoDelete = FALSE;
        pDoc->AddView(pView);
        EXPECT_TRUE(pDoc->OnOpenDocument(CString(settings->GetPathSetting("Work Field")) + "KOUJI1.MMD"))
            << context;
        EXPECT_EQ(pView->GetColumnCount(), 5) << context;
        delete pView;
        delete pDoc;
        Restore("work/KOUJI1.MMD");
        Restore("infoform/DOS情報.MJK");
    }

    void RunParts(const std::string& context)
    {
        ASSERT_EQ(ReadDosFormDefinitions(dosKindParts), 1);
        const int nResult = ConvertDosPartsFile(dosKindParts, "Q:\\MORVEL\\BUZAI\\BUZAI01.BZI");
        if (nResult != 1) {
            EXPECT_EQ(nResult, -1);
            ExpectUnchanged(context);
            return;
        }
        ExpectUnchanged(context, {"work/BUZAI01.MBD", "partform/DOS部材.MBK"});
        ExpectFormOpens<CPartFormFile>("partform/DOS部材.MBK", context);
        // The list starts with its magic text and holds three columns per row.
        const Bytes mbd = Read("work/BUZAI01.MBD");
        const std::string magic = "This is Parts Management file";
        ASSERT_GT(mbd.size(), magic.size() + 1) << context;
        EXPECT_EQ(std::string(mbd.begin() + 1, mbd.begin() + 1 + static_cast<long>(magic.size())), magic)
            << context;
        Restore("work/BUZAI01.MBD");
        Restore("partform/DOS部材.MBK");
    }

    // Truncations at every length and 300 variations of the file at rel, each checked by run.
    void Exercise(const std::string& rel, unsigned nSeed, const std::function<void(const std::string&)>& run)
    {
        const Bytes good = Read(rel);
        for (size_t n = 0; n < good.size(); ++n) {
            Write(rel, Bytes(good.begin(), good.begin() + static_cast<long>(n)));
            run(rel + " cut to " + std::to_string(n));
            if (HasFatalFailure() || HasFailure())
                return;
        }
        std::mt19937 rng(nSeed);
        for (int i = 0; i < 300; ++i) {
            Write(rel, Mutate(good, rng));
            run(rel + " variation " + std::to_string(i) + " of seed " + std::to_string(nSeed));
            if (HasFatalFailure() || HasFailure())
                return;
        }
        Write(rel, good);
    }

    CDialogAnswerer answerer;
    CUnitFile units;
    CSubjectFile subjects;
    CClassifyFile classify;
};

TEST_F(DosMalformedTest, EnvironmentFile)
{
    const Bytes good = Read("dos/MORVEL/MORINTL.IDT");
    for (size_t n = 0; n <= good.size(); ++n) {
        Write("dos/MORVEL/MORINTL.IDT", Bytes(good.begin(), good.begin() + static_cast<long>(n)));
        EXPECT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), n >= 374 ? 1 : -1) << n;
    }
    std::mt19937 rng(101);
    for (int i = 0; i < 300; ++i) {
        const Bytes b = Mutate(good, rng);
        Write("dos/MORVEL/MORINTL.IDT", b);
        EXPECT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), b.size() >= 374 ? 1 : -1);
        // A folder never reaches past its block.
        EXPECT_LE(CDosTables::Get().environment.masters.GetLength(), 582);
    }
    // A pass without a readable environment writes nothing.
    Write("dos/MORVEL/MORINTL.IDT", Bytes(good.begin(), good.begin() + 300));
    CDosConvertChoice choice;
    choice.drive = 'Q';
    choice.mode = CDosConvertChoice::modeForm;
    choice.estimationForm = choice.partsForm = choice.informationForm = TRUE;
    RunDosConversionPass(choice, CDosMasterTables{}, nullptr);
    EXPECT_EQ(answerer.MessageBoxTexts(),
              (std::vector<CString>{"DOS版MORVELの環境ﾃﾞｰﾀが読み込めません。"_sj}));
    ExpectUnchanged("an unreadable environment");
}

TEST_F(DosMalformedTest, EstimateDefinitionFile)
{
    Exercise("dos/MORVEL/MEISAI.ITM", 201, [this](const std::string& c) { RunFormPass(dosKindEstimate, c); });
}

TEST_F(DosMalformedTest, PartsDefinitionFile)
{
    Exercise("dos/MORVEL/BUZAI.ITB", 202, [this](const std::string& c) { RunFormPass(dosKindParts, c); });
}

TEST_F(DosMalformedTest, InformationDefinitionFile)
{
    Exercise("dos/MORVEL/JYOUHOU.ITJ", 203,
             [this](const std::string& c) { RunFormPass(dosKindInformation, c); });
}

TEST_F(DosMalformedTest, UnitMaster)
{
    Exercise("dos/MORVEL/TANNI.TDT", 301, [this](const std::string& c) { RunMasterPass(0, c); });
}

TEST_F(DosMalformedTest, SubjectMaster)
{
    Exercise("dos/MORVEL/KAMOKU1.KM1", 302, [this](const std::string& c) { RunMasterPass(1, c); });
}

TEST_F(DosMalformedTest, ClassificationMaster)
{
    Exercise("dos/MORVEL/BUNRUI.BDT", 303, [this](const std::string& c) { RunMasterPass(2, c); });
}

TEST_F(DosMalformedTest, MasterFieldsPastTheRecord)
{
    for (const Bytes& bad :
         {MasterFile(12, 0, 2, 10, 8, {{"01", "m2"}}), MasterFile(12, 0, 2, -4, 8, {{"01", "m2"}}),
          MasterFile(12, 0, 2, 2, -1, {{"01", "m2"}}), MasterFile(-12, 0, 2, 2, 8, {}),
          MasterFile(0, 0, 0, 0, 0, {{"", ""}})}) {
        Write("dos/MORVEL/TANNI.TDT", bad);
        RunMasterPass(0, "a unit field outside its record");
        EXPECT_EQ(answerer.MessageBoxTexts(), (std::vector<CString>{"指定した単位ﾃﾞｰﾀが存在しません。"_sj}));
    }
}

TEST_F(DosMalformedTest, EstimateDataFile)
{
    Exercise("dos/MORVEL/DATA/KOUJI1.MIT", 401, [this](const std::string& c) {
        ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
        RunEstimate(c);
    });
}

TEST_F(DosMalformedTest, PartsDataFile)
{
    Exercise("dos/MORVEL/BUZAI/BUZAI01.BZI", 402, [this](const std::string& c) {
        ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
        RunParts(c);
    });
}

TEST_F(DosMalformedTest, DataFilesThatDoNotFitTheirDefinitions)
{
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    const RecordLayout layout = SampleEstimateLayout();
    const std::vector<Bytes> records = SampleEstimateRecords();
    // Header record size of the definitions + 2, negative, and a count claiming records
    // the file does not have.
    std::vector<Bytes> bad = {
        EstimateDataFile(layout, SampleInformation(), records, true, layout.Size() + 2),
        EstimateDataFile(layout, SampleInformation(), records, true),
        EstimateDataFile(layout, SampleInformation(), {}, true),
    };
    PutWord(bad[1], 10, -layout.Size());
    PutWord(bad[2], 12, 3);
    // The definitions put a field where the records have none.
    Bytes shifted = EstimateDataFile(layout, SampleInformation(), records, true);
    shifted[shifted.size() - static_cast<size_t>(layout.Size()) + static_cast<size_t>(layout.Offset(3)) - 1] =
        'x';
    bad.push_back(shifted);
    for (const Bytes& b : bad) {
        Write("dos/MORVEL/DATA/KOUJI1.MIT", b);
        RunEstimate("a data file that does not fit");
    }
    for (size_t i = 0; i < bad.size(); ++i) {
        Write("dos/MORVEL/DATA/KOUJI1.MIT", bad[i]);
        ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
        EXPECT_EQ(ConvertDosEstimateFile(dosKindEstimate, "Q:\\MORVEL\\DATA\\KOUJI1.MIT"), -1) << i;
    }
    // Definitions of more columns than a form holds never get as far as the data.
    std::vector<DefSpec> many(120, DefSpec{"X", 2, 1});
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile(many, true));
    EXPECT_EQ(ReadDosFormDefinitions(dosKindEstimate), -1);
    ExpectUnchanged("too many definitions");
}

} // namespace
