// The six master and form files: their bytes, reading files built by hand, and every
// kind of bad input (wrong magic, counts above capacity, truncation, random bytes).
#include "app/CClassifyFile.h"
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "tests/app/MasterFilesTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// A text of record i, column j, in code page 932 (Japanese, so that double-byte texts go
// through every path).
std::string CellText(const std::string& tag, int i, int j)
{
    return CString::FromUtf8(tag + "項目" + std::to_string(i) + "_" + std::to_string(j)).str();
}

// One table type seen through the same few operations, so that every reader gets the
// same battery of cases.
class TableAdapter {
public:
    virtual ~TableAdapter() = default;
    virtual int Serialize(CArchive& ar) = 0;
    // Puts count records of CellText(tag, i, j) into the table.
    virtual void Fill(int nCount, const std::string& tag) = 0;
    // Everything a reader could change: magic, count(s) and every string of the table.
    virtual std::vector<std::string> Snapshot() const = 0;
};

class UnitAdapter : public TableAdapter {
public:
    int Serialize(CArchive& ar) override { return m_table.Serialize(ar); }
    void Fill(int nCount, const std::string& tag) override
    {
        std::vector<CString> units;
        for (int i = 0; i < nCount; ++i)
            units.emplace_back(CellText(tag, i, 0));
        m_table.SetUnits(units);
    }
    std::vector<std::string> Snapshot() const override
    {
        std::vector<std::string> s = {m_table.m_strMagic.str(), std::to_string(m_table.GetCount())};
        for (const CString& unit : m_table.m_strUnit)
            s.push_back(unit.str());
        return s;
    }
    CUnitFile m_table;
};

class SubjectAdapter : public TableAdapter {
public:
    explicit SubjectAdapter(int nLevel) : m_nLevel(nLevel) {}
    int Serialize(CArchive& ar) override
    {
        switch (m_nLevel) {
        case CSubjectFile::levelLarge:
            return m_table.SerializeLarge(ar);
        case CSubjectFile::levelMiddle:
            return m_table.SerializeMiddle(ar);
        default:
            return m_table.SerializeSmall(ar);
        }
    }
    void Fill(int nCount, const std::string& tag) override
    {
        std::vector<std::pair<CString, CString>> subjects;
        for (int i = 0; i < nCount; ++i)
            subjects.emplace_back(CellText(tag, i, 0), CellText(tag, i, 1));
        m_table.SetLevel(m_nLevel, subjects);
    }
    std::vector<std::string> Snapshot() const override
    {
        std::vector<std::string> s = {m_table.m_strMagic.str()};
        for (int level = 0; level < CSubjectFile::LEVEL_COUNT; ++level) {
            s.push_back(std::to_string(m_table.GetCount(level)));
            for (int i = 0; i < CSubjectFile::MAX_SUBJECTS; ++i) {
                s.push_back(m_table.m_strName[level][i].str());
                s.push_back(m_table.m_strUnit[level][i].str());
            }
        }
        return s;
    }
    int m_nLevel;
    CSubjectFile m_table;
};

class ClassifyAdapter : public TableAdapter {
public:
    int Serialize(CArchive& ar) override { return m_table.Serialize(ar); }
    void Fill(int nCount, const std::string& tag) override
    {
        std::vector<std::pair<CString, CString>> entries;
        for (int i = 0; i < nCount; ++i)
            entries.emplace_back(CellText(tag, i, 0), CellText(tag, i, 1));
        m_table.SetEntries(entries);
    }
    std::vector<std::string> Snapshot() const override
    {
        std::vector<std::string> s = {m_table.m_strMagic.str(), std::to_string(m_table.GetCount())};
        for (int i = 0; i < CClassifyFile::MAX_CLASSIFICATIONS; ++i) {
            s.push_back(m_table.m_strName[i].str());
            s.push_back(m_table.m_strPercent[i].str());
        }
        return s;
    }
    CClassifyFile m_table;
};

template <class TForm>
class FormAdapter : public TableAdapter {
public:
    int Serialize(CArchive& ar) override { return m_form.Serialize(ar); }
    void Fill(int nCount, const std::string& tag) override
    {
        for (int i = 0; i < nCount; ++i) {
            for (int j = 0; j < TForm::COLUMN_COUNT; ++j)
                m_form.GetItem(i, j) = CellText(tag, i, j);
        }
        m_form.SetCount(nCount);
    }
    std::vector<std::string> Snapshot() const override
    {
        std::vector<std::string> s = {m_form.m_strMagic.str(), std::to_string(m_form.GetCount())};
        for (const CString& item : m_form.m_strItem)
            s.push_back(item.str());
        return s;
    }
    TForm m_form;
};

struct TableKind {
    std::string label;
    std::string magic;
    int nStrings; // strings per record
    int nCapacity;
    std::string message; // UTF-8
    std::unique_ptr<TableAdapter> (*make)();
};

std::ostream& operator<<(std::ostream& os, const TableKind& kind)
{
    return os << kind.label;
}

// The file of a table of nCount records of CellText(tag, ...), written out by hand.
std::vector<uint8_t> GoldenFile(const TableKind& kind, int nCount, const std::string& tag,
                                int nStoredCount = -1)
{
    ByteBuilder b;
    b.Str(kind.magic).Word(static_cast<uint16_t>(nStoredCount < 0 ? nCount : nStoredCount));
    for (int i = 0; i < nCount; ++i) {
        for (int j = 0; j < kind.nStrings; ++j)
            b.Str(CellText(tag, i, j));
    }
    return b.Bytes();
}

const TableKind kKinds[] = {
    {"Unit", "This is unit file", 1, 1000, "単位ﾌｧｲﾙがないか、壊れています。",
     [] { return std::unique_ptr<TableAdapter>(new UnitAdapter); }},
    {"LargeSubjects", "This is project form file", 2, 1000, "大科目ﾌｧｲﾙがないか、壊れています。",
     [] { return std::unique_ptr<TableAdapter>(new SubjectAdapter(CSubjectFile::levelLarge)); }},
    {"MiddleSubjects", "This is project form file", 2, 1000, "中科目ﾌｧｲﾙがないか、壊れています。",
     [] { return std::unique_ptr<TableAdapter>(new SubjectAdapter(CSubjectFile::levelMiddle)); }},
    {"SmallSubjects", "This is project form file", 2, 1000, "小科目ﾌｧｲﾙがないか、壊れています。",
     [] { return std::unique_ptr<TableAdapter>(new SubjectAdapter(CSubjectFile::levelSmall)); }},
    {"Classifications", "This is classify form file", 2, 1000, "分類ﾌｧｲﾙがないか、壊れています。!",
     [] { return std::unique_ptr<TableAdapter>(new ClassifyAdapter); }},
    {"EstimationForm", "This is estimation form file", 10, 100, "見積形式ﾌｧｲﾙがないか、壊れています。",
     [] { return std::unique_ptr<TableAdapter>(new FormAdapter<CEstimationFormFile>); }},
    {"PartsForm", "This is part form file", 10, 100, "部材形式ﾌｧｲﾙがないか、壊れています。",
     [] { return std::unique_ptr<TableAdapter>(new FormAdapter<CPartFormFile>); }},
    {"InformationForm", "This is information form file", 8, 100, "情報形式ﾌｧｲﾙがないか、壊れています。",
     [] { return std::unique_ptr<TableAdapter>(new FormAdapter<CInformationFormFile>); }},
};

class MasterFileKindTest : public ::testing::TestWithParam<TableKind> {
protected:
    // A table already holding five old records, as when a file is read over a loaded one.
    std::unique_ptr<TableAdapter> MakeLoaded() const
    {
        std::unique_ptr<TableAdapter> table = GetParam().make();
        table->Fill(5, "old");
        return table;
    }

    void ExpectRefused(const std::vector<uint8_t>& bytes) const
    {
        std::unique_ptr<TableAdapter> table = MakeLoaded();
        const std::vector<std::string> before = table->Snapshot();
        MessageBoxRecorder boxes;
        EXPECT_EQ(-1, LoadOutcome(bytes, [&](CArchive& ar) { return table->Serialize(ar); }));
        ASSERT_EQ(1u, boxes.entries.size());
        EXPECT_EQ(CString::FromUtf8(GetParam().message), boxes.entries[0].text);
        EXPECT_EQ(MB_ICONEXCLAMATION, boxes.entries[0].type & 0xF0);
        EXPECT_EQ(before, table->Snapshot());
    }
};

TEST_P(MasterFileKindTest, WritesMagicCountAndRecordsExactly)
{
    std::unique_ptr<TableAdapter> table = GetParam().make();
    table->Fill(3, "");
    EXPECT_EQ(GoldenFile(GetParam(), 3, ""), StoreBytes([&](CArchive& ar) { table->Serialize(ar); }));
}

TEST_P(MasterFileKindTest, ReadsAFileBuiltByHand)
{
    std::unique_ptr<TableAdapter> expected = GetParam().make();
    expected->Fill(3, "");
    std::unique_ptr<TableAdapter> table = GetParam().make();
    MessageBoxRecorder boxes;
    EXPECT_EQ(0,
              LoadBytes(GoldenFile(GetParam(), 3, ""), [&](CArchive& ar) { return table->Serialize(ar); }));
    EXPECT_EQ(expected->Snapshot(), table->Snapshot());
    EXPECT_TRUE(boxes.entries.empty());
}

TEST_P(MasterFileKindTest, FullTableRoundTripsUnchanged)
{
    std::unique_ptr<TableAdapter> written = GetParam().make();
    written->Fill(GetParam().nCapacity, "満");
    const std::vector<uint8_t> bytes = StoreBytes([&](CArchive& ar) { written->Serialize(ar); });
    EXPECT_EQ(GoldenFile(GetParam(), GetParam().nCapacity, "満"), bytes);

    std::unique_ptr<TableAdapter> read = GetParam().make();
    EXPECT_EQ(0, LoadBytes(bytes, [&](CArchive& ar) { return read->Serialize(ar); }));
    EXPECT_EQ(written->Snapshot(), read->Snapshot());
}

TEST_P(MasterFileKindTest, EmptyTableIsMagicAndWordZero)
{
    std::unique_ptr<TableAdapter> table = GetParam().make();
    const std::vector<uint8_t> bytes = StoreBytes([&](CArchive& ar) { table->Serialize(ar); });
    EXPECT_EQ(ByteBuilder().Str(GetParam().magic).Word(0).Bytes(), bytes);

    std::unique_ptr<TableAdapter> loaded = MakeLoaded();
    EXPECT_EQ(0, LoadBytes(bytes, [&](CArchive& ar) { return loaded->Serialize(ar); }));
    std::unique_ptr<TableAdapter> expected = MakeLoaded();
    expected->Fill(0, "");
    EXPECT_EQ(expected->Snapshot(), loaded->Snapshot());
}

TEST_P(MasterFileKindTest, ReadingOverALargerTableKeepsTheHigherRecords)
{
    std::unique_ptr<TableAdapter> table = MakeLoaded();
    EXPECT_EQ(
        0, LoadBytes(GoldenFile(GetParam(), 2, "new"), [&](CArchive& ar) { return table->Serialize(ar); }));

    // Expected: records 0 and 1 new, 2 to 4 still the old ones, the count 2.
    std::unique_ptr<TableAdapter> expected = GetParam().make();
    expected->Fill(5, "old");
    expected->Fill(2, "new");
    EXPECT_EQ(expected->Snapshot(), table->Snapshot());
}

TEST_P(MasterFileKindTest, WrongMagicIsRefusedWithTheMessage)
{
    const std::string magic = GetParam().magic;
    std::string upper = magic, lower = magic;
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    for (char& c : lower)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    const std::string otherMagic =
        magic == "This is unit file" ? "This is classify form file" : "This is unit file";

    for (const std::string& wrong : {magic + " ", " " + magic, upper, lower,
                                     magic.substr(0, magic.size() - 1), std::string(), otherMagic}) {
        SCOPED_TRACE(wrong);
        ByteBuilder b;
        b.Str(wrong).Word(1);
        for (int j = 0; j < GetParam().nStrings; ++j)
            b.Str("x");
        ExpectRefused(b.Bytes());
    }
}

TEST_P(MasterFileKindTest, CountAboveCapacityIsRefusedWithTheMessage)
{
    ExpectRefused(GoldenFile(GetParam(), GetParam().nCapacity + 1, "多"));
    ExpectRefused(GoldenFile(GetParam(), 0, "", 0xFFFF));
}

TEST_P(MasterFileKindTest, FileEndingEarlyThrowsEndOfFileAndLeavesTheTable)
{
    const std::vector<uint8_t> golden = GoldenFile(GetParam(), 3, "");
    std::unique_ptr<TableAdapter> table = MakeLoaded();
    const std::vector<std::string> before = table->Snapshot();
    MessageBoxRecorder boxes;
    for (size_t length = 0; length < golden.size(); ++length) {
        const std::vector<uint8_t> cut(golden.begin(), golden.begin() + static_cast<long>(length));
        ASSERT_EQ(-2, LoadOutcome(cut, [&](CArchive& ar) { return table->Serialize(ar); })) << length;
        ASSERT_EQ(before, table->Snapshot()) << length;
    }
    EXPECT_TRUE(boxes.entries.empty());
}

TEST_P(MasterFileKindTest, RandomBytesNeverCrashOrHalfUpdate)
{
    MessageBoxRecorder boxes;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 rng(seed);
        std::vector<uint8_t> bytes;
        // Half of the cases start with the right magic so that the count and the records
        // are the random part.
        if (seed % 2 == 0)
            bytes = ByteBuilder().Str(GetParam().magic).Bytes();
        const size_t length = rng() % 400;
        for (size_t i = 0; i < length; ++i)
            bytes.push_back(static_cast<uint8_t>(rng()));
        // Small counts now and then, so that some files read through to the end.
        const size_t at = 1 + GetParam().magic.size();
        if (seed % 4 == 0 && bytes.size() >= at + 2) {
            bytes[at] = static_cast<uint8_t>(rng() % 3);
            bytes[at + 1] = 0;
        }

        std::unique_ptr<TableAdapter> table = MakeLoaded();
        const std::vector<std::string> before = table->Snapshot();
        const int outcome = LoadOutcome(bytes, [&](CArchive& ar) { return table->Serialize(ar); });
        ASSERT_TRUE(outcome == 0 || outcome == -1 || outcome == -2)
            << "seed " << seed << " outcome " << outcome;
        if (outcome != 0) {
            ASSERT_EQ(before, table->Snapshot()) << "seed " << seed;
        }
    }
    // Inputs without the magic must have taken the message path.
    EXPECT_GT(static_cast<int>(boxes.entries.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(AllTables, MasterFileKindTest, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<TableKind>& info) { return info.param.label; });

} // namespace

// ---- Byte-exact examples ---------------------------------------------------------------

TEST(UnitFileTest, TwoUnitsMAndKgAreThe25ByteExample)
{
    CUnitFile units;
    units.SetUnits({"m", "kg"});
    const std::vector<uint8_t> bytes = StoreBytes([&](CArchive& ar) { units.Serialize(ar); });

    const std::vector<uint8_t> expected = {0x11, 'T',  'h',  'i', 's',  ' ', 'i', 's', ' ',
                                           'u',  'n',  'i',  't', ' ',  'f', 'i', 'l', 'e',
                                           0x02, 0x00, 0x01, 'm', 0x02, 'k', 'g'};
    EXPECT_EQ(25u, bytes.size());
    EXPECT_EQ(expected, bytes);
}

TEST(UnitFileTest, EmptyFileReadsAsCountZeroAndKeepsTheOldNames)
{
    CUnitFile units;
    units.SetUnits({"m"});
    const std::vector<uint8_t> empty = ByteBuilder().Str("This is unit file").Word(0).Bytes();
    EXPECT_EQ(20u, empty.size());
    EXPECT_EQ(0, LoadBytes(empty, [&](CArchive& ar) { return units.Serialize(ar); }));
    EXPECT_EQ(0, units.GetCount());
    EXPECT_EQ(CString("m"), units.m_strUnit[0]);
}

TEST(UnitFileTest, A300ByteNameIsStoredWithTheWordPrefix)
{
    CUnitFile units;
    units.SetUnits({CString(std::string(300, 'a'))});
    const std::vector<uint8_t> bytes = StoreBytes([&](CArchive& ar) { units.Serialize(ar); });
    ASSERT_EQ(18u + 2u + 3u + 300u, bytes.size());
    EXPECT_EQ(0xFF, bytes[20]);
    EXPECT_EQ(0x2C, bytes[21]);
    EXPECT_EQ(0x01, bytes[22]);

    CUnitFile read;
    EXPECT_EQ(0, LoadBytes(bytes, [&](CArchive& ar) { return read.Serialize(ar); }));
    EXPECT_EQ(units.m_strUnit[0], read.m_strUnit[0]);
}

TEST(UnitFileTest, JapaneseUnitsAreStoredAsCodePage932Bytes)
{
    CUnitFile units;
    units.SetUnits({"式"_sj, "箇所"_sj});
    const std::vector<uint8_t> bytes = StoreBytes([&](CArchive& ar) { units.Serialize(ar); });
    // 式 is 0x8E 0xAE, 箇所 0x89 0xD3 0x8F 0x8A in code page 932.
    const std::vector<uint8_t> expected =
        ByteBuilder().Str("This is unit file").Word(2).Str("\x8E\xAE").Str("\x89\xD3\x8F\x8A").Bytes();
    EXPECT_EQ(expected, bytes);
}

TEST(SubjectFileTest, LevelsAreIndependentAndShareTheMagic)
{
    CSubjectFile subjects;
    subjects.SetLevel(CSubjectFile::levelLarge, {{"建築工事"_sj, "式"_sj}});
    subjects.SetLevel(CSubjectFile::levelSmall, {{"根切り"_sj, "m3"}});

    const std::vector<uint8_t> large = StoreBytes([&](CArchive& ar) { subjects.SerializeLarge(ar); });
    const std::vector<uint8_t> middle = StoreBytes([&](CArchive& ar) { subjects.SerializeMiddle(ar); });
    EXPECT_EQ(ByteBuilder()
                  .Str("This is project form file")
                  .Word(1)
                  .Str(("建築工事"_sj).str())
                  .Str(("式"_sj).str())
                  .Bytes(),
              large);
    EXPECT_EQ(ByteBuilder().Str("This is project form file").Word(0).Bytes(), middle);

    // A large-subject file read as the small level fills the small level only.
    CSubjectFile read;
    EXPECT_EQ(0, LoadBytes(large, [&](CArchive& ar) { return read.SerializeSmall(ar); }));
    EXPECT_EQ(1, read.GetCount(CSubjectFile::levelSmall));
    EXPECT_EQ("建築工事"_sj, read.GetName(CSubjectFile::levelSmall, 0));
    EXPECT_EQ(0, read.GetCount(CSubjectFile::levelLarge));
}

TEST(MasterWriterTest, CountOutOfRangeInMemoryNeverReadsPastTheTable)
{
    CUnitFile units;
    units.SetUnits(std::vector<CString>(5000));
    const std::vector<uint8_t> bytes = StoreBytes([&](CArchive& ar) { units.Serialize(ar); });
    // Stored as a full table of 1000 (empty) names.
    EXPECT_EQ(18u + 2u + 1000u, bytes.size());
    EXPECT_EQ(0xE8, bytes[18]);
    EXPECT_EQ(0x03, bytes[19]);

    CEstimationFormFile form;
    form.SetCount(-3);
    EXPECT_EQ(ByteBuilder().Str("This is estimation form file").Word(0).Bytes(),
              StoreBytes([&](CArchive& ar) { form.Serialize(ar); }));
}

// Filling a table in memory sets its count and its entries together, never beyond capacity.
TEST(MasterTableEntries, CountAndEntriesChangeTogetherWithinCapacity)
{
    CUnitFile units;
    units.SetUnits(std::vector<CString>(CUnitFile::MAX_UNITS + 5, CString("m")));
    EXPECT_EQ(units.GetCount(), CUnitFile::MAX_UNITS);
    units.SetUnits({"m2", "kg"});
    ASSERT_EQ(units.GetCount(), 2);
    EXPECT_EQ(units.GetUnit(1), CString("kg"));

    CSubjectFile subjects;
    subjects.SetLevel(CSubjectFile::levelMiddle, {{"wall", "m2"}, {"roof", "m2"}});
    subjects.SetLevel(CSubjectFile::LEVEL_COUNT, {{"none", "x"}}); // no such level
    CSubjectFile copy;
    copy.SetLevel(CSubjectFile::levelLarge, {{"kept", "set"}});
    copy.CopyLevel(CSubjectFile::levelMiddle, subjects);
    EXPECT_EQ(copy.GetCount(CSubjectFile::levelLarge), 1);
    ASSERT_EQ(copy.GetCount(CSubjectFile::levelMiddle), 2);
    EXPECT_EQ(copy.GetName(CSubjectFile::levelMiddle, 1), CString("roof"));
    EXPECT_EQ(copy.GetUnit(CSubjectFile::levelMiddle, 1), CString("m2"));
    EXPECT_EQ(copy.GetCount(CSubjectFile::levelSmall), 0);

    CClassifyFile classify;
    classify.SetEntries({{"material", "60"}, {"labour", "40"}});
    ASSERT_EQ(classify.GetCount(), 2);
    EXPECT_EQ(classify.GetPercent(1), CString("40"));
    classify.SetEntries({});
    EXPECT_EQ(classify.GetCount(), 0);

    CEstimationFormFile form;
    form.SetCount(CEstimationFormFile::MAX_ITEMS + 1);
    EXPECT_EQ(form.GetCount(), CEstimationFormFile::MAX_ITEMS);
    form.SetCount(-1);
    EXPECT_EQ(form.GetCount(), 0);
}
