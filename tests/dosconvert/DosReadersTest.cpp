// The readers of the DOS edition's files on files written byte by byte from their
// description: environment layouts, definitions and record layouts, numbers, masters,
// information items and the row classification of estimate records.
#include "tests/dosconvert/DosTestSupport.h"

namespace {

class DosReadersTest : public DosTest {
protected:
    // Estimate definitions with the given column widths (the leading field first).
    void WriteDefinitions(const std::string& rel, const std::vector<int>& widths, bool bTagged = false)
    {
        std::vector<DefSpec> defs;
        for (size_t i = 0; i < widths.size(); ++i)
            defs.push_back({"F" + std::to_string(i), 2, widths[i]});
        Write(rel, DefinitionFile(defs, bTagged));
    }
};

TEST_F(DosReadersTest, EnvironmentLayoutIsChosenByTheFileLength)
{
    CDosTables& t = CDosTables::Get();
    // 570 bytes: the second layout, whose folders lie where the newest one's do.
    Write("dos/MORVEL/MORINTL.IDT", EnvironmentFile(570, {{95, "A:\\EST"},
                                                          {157, "A:\\DEF"},
                                                          {188, "A:\\PARTS"},
                                                          {250, "A:\\PDEF"},
                                                          {281, "A:\\MASTER"},
                                                          {343, "A:\\INFO"}}));
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    EXPECT_EQ(t.environment.estimateData, "A:\\EST");
    EXPECT_EQ(t.environment.estimateDefinitions, "A:\\DEF");
    EXPECT_EQ(t.environment.partsData, "A:\\PARTS");
    EXPECT_EQ(t.environment.partsDefinitions, "A:\\PDEF");
    EXPECT_EQ(t.environment.masters, "A:\\MASTER");
    EXPECT_EQ(t.environment.informationDefinitions, "A:\\INFO");

    // 400 bytes: the oldest layout; one path serves estimates and information, one parts.
    Write("dos/MORVEL/MORINTL.IDT",
          EnvironmentFile(400, {{48, Sj("B:\\見積")}, {110, "B:\\BUZAI"}, {172, "B:\\MASTER"}}));
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    EXPECT_EQ(t.environment.estimateData.str(), Sj("B:\\見積"));
    EXPECT_EQ(t.environment.estimateDefinitions.str(), Sj("B:\\見積"));
    EXPECT_EQ(t.environment.informationDefinitions.str(), Sj("B:\\見積"));
    EXPECT_EQ(t.environment.partsData, "B:\\BUZAI");
    EXPECT_EQ(t.environment.partsDefinitions, "B:\\BUZAI");
    EXPECT_EQ(t.environment.masters, "B:\\MASTER");

    // 300 bytes is shorter than any layout: refused, the environment as it was.
    Write("dos/MORVEL/MORINTL.IDT", EnvironmentFile(300, {{48, "C:\\X"}}));
    EXPECT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), -1);
    EXPECT_EQ(t.environment.masters, "B:\\MASTER");
    // No file at all.
    EXPECT_EQ(ReadDosEnvironment("Q:\\NOWHERE\\"), -1);
}

TEST_F(DosReadersTest, RecordLayoutsOfEstimatesAndPartsFollowTheWidths)
{
    WriteEnvironment();
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    // The file's width of the leading field does not count: 2 for estimates, 4 for parts.
    WriteDefinitions("dos/MORVEL/MEISAI.ITM", {9, 4, 10}, true);
    WriteDefinitions("dos/MORVEL/BUZAI.ITB", {9, 4, 10});
    ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
    ASSERT_EQ(ReadDosFormDefinitions(dosKindParts), 1);
    CDosTables& t = CDosTables::Get();
    EXPECT_TRUE(t.bTagged == FALSE); // the parts file was read last; parts are never tagged

    ASSERT_EQ(PrepareDosRecordLayout(dosKindEstimate), 0);
    ASSERT_EQ(t.nDefinitionCount, 3);
    EXPECT_EQ(t.definitions[0].offset, 0);
    EXPECT_EQ(t.definitions[1].offset, 3);
    EXPECT_EQ(t.definitions[2].offset, 8);
    EXPECT_EQ(t.nRecordSize, 39); // 3 + 5 + 11 + 19 = 38, made odd
    EXPECT_EQ(t.record.size(), 39u);

    ASSERT_EQ(PrepareDosRecordLayout(dosKindParts), 0);
    EXPECT_EQ(t.definitions[1].offset, 5);
    EXPECT_EQ(t.definitions[2].offset, 10);
    EXPECT_EQ(t.nRecordSize, 23); // 5 + 5 + 11 + 2, odd already
}

TEST_F(DosReadersTest, DefinitionFilesCountsAndFieldsAreTakenAsStored)
{
    WriteEnvironment();
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    DefSpec amount{Sj("金額　"), 4, 12, "B*C", "###,###", 2, "D(-1)", 3, 'F'};
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile({{"NO", 2, 7}, amount}, false));
    ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
    const DosItemDefinition& d = CDosTables::Get().estimateDefinitions[1];
    // Texts end at their first zero byte or their width; the name keeps its blank padding.
    EXPECT_EQ(d.name.str(), Sj("金額　") + std::string(18 - Sj("金額　").size(), ' '));
    EXPECT_EQ(d.type, 4);
    EXPECT_EQ(d.width, 12);
    EXPECT_EQ(d.formula, "B*C");
    EXPECT_EQ(d.picture, "###,###");
    EXPECT_EQ(d.v, 2);
    EXPECT_EQ(d.rounding, "D(-1)");
    EXPECT_EQ(d.t, 3);
    EXPECT_EQ(d.b, 'F');
    EXPECT_EQ(CDosTables::Get().estimateDefinitions[0].width, 2);

    // One definition counts two; the second is an empty column.
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile({{"NO", 2, 7}}, false));
    ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
    EXPECT_EQ(CDosTables::Get().nDefinitionCount, 2);
    EXPECT_EQ(CDosTables::Get().estimateDefinitions[1].width, 0);

    // Counts and widths that cannot describe a record are refused.
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile({{"NO", 2, 7}, {"A", 2, -5}}, false));
    EXPECT_EQ(ReadDosFormDefinitions(dosKindEstimate), -1);
    std::vector<DefSpec> many(102, DefSpec{"X", 2, 1});
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile(many, false));
    EXPECT_EQ(ReadDosFormDefinitions(dosKindEstimate), -1);
    many.resize(101);
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile(many, false));
    EXPECT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
    EXPECT_EQ(CDosTables::Get().nDefinitionCount, 101);
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile({{"NO", 2, 7}, {"A", 2, 3}}, false, 3)); // claims 3
    EXPECT_EQ(ReadDosFormDefinitions(dosKindEstimate), -1);
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile({}, false, 0));
    EXPECT_EQ(ReadDosFormDefinitions(dosKindEstimate), -1);
}

TEST_F(DosReadersTest, NumbersOfFixedWidthFields)
{
    auto parse = [](const std::string& text) {
        return ParseDosNumber(reinterpret_cast<const BYTE*>(text.data()), text.size());
    };
    EXPECT_DOUBLE_EQ(parse("1,234.5 "), 1234.5);
    EXPECT_DOUBLE_EQ(parse("12%"), 0.0);
    EXPECT_DOUBLE_EQ(parse("  -45"), -45.0);
    EXPECT_DOUBLE_EQ(parse(std::string("12\0", 3)), 0.0); // a zero byte inside the width
    EXPECT_DOUBLE_EQ(parse("    "), 0.0);
    // At most 51 characters are taken: the 52nd digit is not.
    EXPECT_DOUBLE_EQ(parse(std::string(51, '0') + "9"), 0.0);
    EXPECT_DOUBLE_EQ(parse(std::string(50, '0') + "9"), 9.0);
}

TEST_F(DosReadersTest, MastersTakeTheirFieldsAndAtMost99Entries)
{
    WriteEnvironment();
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    Write("dos/MORVEL/MEISAI.ITM", DefinitionFile({{"NO", 2, 2}, {"A", 2, 3}}, false));
    Write("dos/MORVEL/TANNI.TDT",
          MasterFile(12, 0, 2, 2, 8, {{"01", "m2"}, {"02", Sj("ｍ３")}, {"03", Sj("式")}}));
    ASSERT_EQ(ReadDosUnits(), 1);
    CDosTables& t = CDosTables::Get();
    ASSERT_EQ(t.units.size(), 3u);
    EXPECT_EQ(t.units[1].str(), Sj("ｍ３") + std::string(8 - Sj("ｍ３").size(), ' '));

    Write("dos/MORVEL/BUNRUI.BDT",
          MasterFile(20, 0, 12, 12, 6, {{Sj("材料費"), "12.9"}, {Sj("労務費"), "-3.5"}}));
    ASSERT_EQ(ReadDosClassifications(), 1);
    ASSERT_EQ(t.classifications.size(), 2u);
    EXPECT_EQ(t.classifications[0].second, 12);
    EXPECT_EQ(t.classifications[1].second, -3);

    std::vector<std::pair<std::string, std::string>> records;
    for (int i = 0; i < 120; ++i)
        records.emplace_back("S" + std::to_string(i), "m");
    Write("dos/MORVEL/KAMOKU2.KM2", MasterFile(100, 0, 80, 80, 20, records));
    ASSERT_EQ(ReadDosSubjects(1), 1);
    ASSERT_EQ(t.subjects.size(), 99u);
    EXPECT_EQ(t.subjects[98].first.str().substr(0, 3), "S98");

    // A field that reaches past the record, a record size of 0, no records: refused.
    Write("dos/MORVEL/KAMOKU1.KM1", MasterFile(10, 0, 8, 8, 4, {{"A", "B"}}));
    EXPECT_EQ(ReadDosSubjects(0), -1);
    Write("dos/MORVEL/KAMOKU1.KM1", MasterFile(10, -2, 4, 4, 4, {{"A", "B"}}));
    EXPECT_EQ(ReadDosSubjects(0), -1);
    Write("dos/MORVEL/KAMOKU1.KM1", MasterFile(0, 0, 0, 0, 0, {}));
    EXPECT_EQ(ReadDosSubjects(0), -1);
    Write("dos/MORVEL/KAMOKU1.KM1", MasterFile(10, 0, 4, 4, 4, {}));
    EXPECT_EQ(ReadDosSubjects(0), -1);
    // Units and classifications need a definition file.
    std::filesystem::remove(Native("dos/MORVEL/MEISAI.ITM"));
    EXPECT_EQ(ReadDosUnits(), -1);
}

TEST_F(DosReadersTest, InformationDefinitionsOfBothForms)
{
    WriteEnvironment();
    ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
    // Untagged: three 106-byte records give two items, lettered 'a' and 'b'.
    Bytes untagged;
    Append(untagged, InformationRecord({"", Sj("得意先名"), 2, 30, "", "X", "Y", 5, 'z'}, false));
    Append(untagged, InformationRecord({"", Sj("工事名"), 2, 40, ""}, false));
    Append(untagged, InformationRecord({"", "", 8, 0, ""}, false));
    Write("dos/MORVEL/JYOUHOU.ITJ", untagged);
    ASSERT_EQ(ReadDosFormDefinitions(dosKindInformation), 1);
    CDosTables& t = CDosTables::Get();
    ASSERT_EQ(t.informationItems.size(), 2u);
    EXPECT_EQ(t.informationItems[0].name.str(), Sj("得意先名"));
    EXPECT_EQ(t.informationItems[0].letter, 'a');
    EXPECT_EQ(t.informationItems[1].letter, 'b');
    EXPECT_EQ(t.informationItems[0].width, 30);
    EXPECT_TRUE(t.informationItems[0].formula.IsEmpty());
    EXPECT_EQ(t.informationItems[0].e, 0);

    // Tagged: 136-byte records with formula, rounding, E and letter.
    Write("dos/MORVEL/JYOUHOU.ITJ",
          InformationFile({{"", Sj("税込見積"), 4, 14, "###,###", "A+B", "D(-1)", -2, 'k'}}, true));
    ASSERT_EQ(ReadDosFormDefinitions(dosKindInformation), 1);
    ASSERT_EQ(t.informationItems.size(), 1u);
    EXPECT_EQ(t.informationItems[0].formula, "A+B");
    EXPECT_EQ(t.informationItems[0].rounding, "D(-1)");
    EXPECT_EQ(t.informationItems[0].e, -2);
    EXPECT_EQ(t.informationItems[0].letter, 'k');

    // More than 28 records: the table keeps 27.
    std::vector<InfoSpec> many(40, InfoSpec{"", "N", 2, 5, ""});
    Write("dos/MORVEL/JYOUHOU.ITJ", InformationFile(many, true));
    ASSERT_EQ(ReadDosFormDefinitions(dosKindInformation), 1);
    EXPECT_EQ(t.informationItems.size(), 27u);
    // A tagged file without its 40-byte block is refused; an empty one has no items.
    Write("dos/MORVEL/JYOUHOU.ITJ", VersionTag());
    EXPECT_EQ(ReadDosFormDefinitions(dosKindInformation), -1);
    Write("dos/MORVEL/JYOUHOU.ITJ", {});
    EXPECT_EQ(ReadDosFormDefinitions(dosKindInformation), 1);
    EXPECT_TRUE(t.informationItems.empty());
}

// The estimate records' tails: row types, non-calculated and summary rows, parameters.
class DosRecordTailTest : public DosReadersTest {
protected:
    void SetUp() override
    {
        WriteEnvironment();
        ASSERT_EQ(ReadDosEnvironment("Q:\\MORVEL\\"), 1);
        WriteDefinitions("dos/MORVEL/MEISAI.ITM", {2, 4, 10});
        ASSERT_EQ(ReadDosFormDefinitions(dosKindEstimate), 1);
        ASSERT_EQ(PrepareDosRecordLayout(dosKindEstimate), 0);
        layout.widths = {2, 4, 10};
    }
    void Load(const TailSpec& tail, const std::function<void(Bytes&, size_t)>& put = nullptr)
    {
        const Bytes r = EstimateRecord(layout, {"", ""}, tail, put);
        CDosStream s;
        s.OpenBytes(r);
        ASSERT_TRUE(ReadDosRecord(s));
    }
    RecordLayout layout;
};

TEST_F(DosRecordTailTest, RowTypesFromLevelAndRowCodes)
{
    struct Case {
        std::string levels[5];
        std::string rowCode;
        int type;
    };
    const Case cases[] = {
        {{"  ", " 1", "  ", "  ", "  "}, "  ", 1},
        {{"  ", "  ", " 1", "  ", "  "}, "  ", 2}, // end-13 and end-11 blank, end-9 not
        {{"  ", "  ", "  ", " 3", "  "}, "  ", 3},
        {{"  ", "  ", "  ", "  ", " 1"}, "  ", 4},
        {{" 1", " 1", "  ", "  ", "  "}, "  ", 5},
        {{" 1", "  ", "  ", "  ", " 2"}, "  ", 8},
        {{" 2", "  ", " 1", "  ", "  "}, "  ", 10},
        {{" 3", "  ", "  ", "  ", "  "}, "  ", 13},
        {{" 4", "  ", "  ", "  ", "  "}, "  ", 14},
        {{"  ", "  ", "  ", "  ", "  "}, "-2", 15}, // blank levels fall through to the row code
        {{" 1", "  ", "  ", "  ", "  "}, " 3", 16}, // a total level with no level code falls through
        {{"  ", "  ", "  ", "  ", "  "}, " 4", 17},
        {{"  ", "  ", "  ", "  ", "  "}, "-5", 18},
        {{"  ", "  ", "  ", "  ", "  "}, " 7", 19},
        {{"  ", "  ", "  ", "  ", "  "}, "  ", 20},
        {{" 9", "  ", "  ", "  ", "  "}, " 6", 20},
    };
    for (const Case& c : cases) {
        TailSpec tail;
        for (int i = 0; i < 5; ++i)
            tail.levels[i] = c.levels[i];
        tail.rowCode = c.rowCode;
        Load(tail);
        EXPECT_EQ(ClassifyDosEstimateRow(), c.type) << c.levels[0] << "|" << c.levels[1] << "|" << c.rowCode;
    }
}

TEST_F(DosRecordTailTest, NonCalculatedAndSummaryRows)
{
    TailSpec tail;
    tail.rowCode = "-3";
    Load(tail);
    EXPECT_EQ(ClassifyDosEstimateRow(), dosRowTax);
    EXPECT_TRUE(IsDosNonCalcRow());
    EXPECT_FALSE(IsDosSummaryPageRow());
    tail.rowCode = "-7";
    tail.page = '2';
    Load(tail);
    EXPECT_FALSE(IsDosNonCalcRow());
    EXPECT_TRUE(IsDosSummaryPageRow());
}

TEST_F(DosRecordTailTest, StepAndClassificationParameters)
{
    Load(TailSpec(), [](Bytes& r, size_t n) {
        PutWord(r, n - 18, -3);   // column, sign dropped
        PutWord(r, n - 16, -205); // packed value, sign dropped: hundreds 2, value 5
    });
    DosStepParameters step = ReadDosStepParameters();
    EXPECT_EQ(step.column, 3);
    EXPECT_EQ(step.hundreds, 2);
    EXPECT_EQ(step.value, 5);
    Load(TailSpec(), [](Bytes& r, size_t n) { PutWord(r, n - 16, 100); });
    step = ReadDosStepParameters();
    EXPECT_EQ(step.hundreds, 0);
    EXPECT_EQ(step.value, 100);

    // The 32-bit value at end-18 (bytes 06 FF FF FF) holds the column byte at end-16 and
    // the low byte of the second value at end-15.
    Load(TailSpec(), [](Bytes& r, size_t n) {
        PutDword(r, n - 18, -250);
        r[n - 14] = 0x01;
    });
    DosClassifyParameters c = ReadDosClassifyParameters();
    EXPECT_EQ(c.negative, 1);
    EXPECT_EQ(c.hundreds, 2);
    EXPECT_EQ(c.value, 50);
    EXPECT_EQ(c.second, 0x01FF);
    EXPECT_EQ(c.column, -1);
    Load(TailSpec(), [](Bytes& r, size_t n) { PutDword(r, n - 18, 1234); });
    c = ReadDosClassifyParameters();
    EXPECT_EQ(c.negative, 0);
    EXPECT_EQ(c.hundreds, 12);
    EXPECT_EQ(c.value, 34);

    Load(TailSpec(), [](Bytes& r, size_t n) { PutDword(r, n - 18, static_cast<int32_t>(0x80000000u)); });
    c = ReadDosClassifyParameters();
    EXPECT_EQ(c.negative, 1);
    EXPECT_EQ(c.hundreds, 21474836);
    EXPECT_EQ(c.value, 48);
}

TEST_F(DosRecordTailTest, DataHeaderChecksSizeAndSeparators)
{
    CDosTables& t = CDosTables::Get();
    std::vector<Bytes> records = {EstimateRecord(layout, {"AB", "X"}, TailSpec())};
    // A file with the right size and separators stands at its first record afterwards.
    Bytes good = EstimateDataFile(layout, {{"V", "N", 2, 5, ""}}, records, false);
    CDosStream s;
    s.OpenBytes(good);
    ReadDosVersionTag(dosKindEstimate, s);
    ASSERT_EQ(ReadDosDataHeader(dosKindEstimate, s), 0);
    EXPECT_EQ(s.GetLength() - s.GetPosition(), static_cast<size_t>(layout.Size()));
    ASSERT_EQ(t.informationItems.size(), 1u);

    // Record count 0: no record is looked at.
    Bytes empty = EstimateDataFile(layout, {}, {}, false);
    s.OpenBytes(empty);
    EXPECT_EQ(ReadDosDataHeader(dosKindEstimate, s), 0);

    // A record size other than the computed one; a missing separator in the last record.
    s.OpenBytes(EstimateDataFile(layout, {}, records, false, layout.Size() + 2));
    EXPECT_EQ(ReadDosDataHeader(dosKindEstimate, s), 1);
    EXPECT_FALSE(s.IsOpen());
    Bytes broken = good;
    broken[broken.size() - static_cast<size_t>(layout.Size()) + static_cast<size_t>(layout.Offset(2)) - 1] =
        ' ';
    s.OpenBytes(broken);
    EXPECT_EQ(ReadDosDataHeader(dosKindEstimate, s), 1);
    // The check alone: the good file's stream stays where the header left it.
    s.OpenBytes(good);
    ReadDosVersionTag(dosKindEstimate, s);
    ASSERT_EQ(ReadDosHeader(s), 1);
    const size_t nAfterHeader = s.GetPosition();
    EXPECT_EQ(CheckDosRecordSize(s), 0);
    EXPECT_EQ(s.GetPosition(), nAfterHeader);
    s.OpenBytes(broken);
    ReadDosVersionTag(dosKindEstimate, s);
    ASSERT_EQ(ReadDosHeader(s), 1);
    EXPECT_EQ(CheckDosRecordSize(s), 1);
    EXPECT_FALSE(s.IsOpen());
    // A count that claims records the file does not hold.
    Bytes claims = EstimateDataFile(layout, {}, {}, false);
    PutWord(claims, 2, 5);
    s.OpenBytes(claims);
    EXPECT_EQ(ReadDosDataHeader(dosKindEstimate, s), 1);
}

} // namespace
