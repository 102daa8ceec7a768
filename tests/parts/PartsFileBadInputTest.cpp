// Parts files that are not parts lists or are damaged: none opens, none leaves anything of
// itself in the document, none touches the disk, and the user is told once.
#include "tests/parts/PartsTestSupport.h"

#include "engine/estimate/CGridRow.h"

#include <filesystem>
#include <random>

namespace {

const char kNotAList[] = "部材ﾌｧｲﾙではありません。";
const char kDamaged[] = "は予期しない形式か、壊れています。";

class PartsFileBadInputTest : public PartsTest {
protected:
    // Opens the bytes in a fresh document: FALSE, one message holding lpszMessagePart, the
    // document as it was and the folder as it was.
    void ExpectRejected(const std::vector<uint8_t>& bytes, const char* lpszMessagePart)
    {
        Write("bad.mbd", bytes);
        const auto before = Listing();
        OpenedParts p;
        p.doc->m_strFormName = "before";
        MessageBoxRecorder boxes;
        EXPECT_FALSE(p.doc->OnOpenDocument(Path("bad.mbd")));
        ASSERT_EQ(1u, boxes.entries.size());
        EXPECT_NE(std::string::npos, boxes.entries[0].text.ToUtf8().find(lpszMessagePart))
            << boxes.entries[0].text.ToUtf8();
        EXPECT_EQ("before", p.doc->m_strFormName.str());
        EXPECT_EQ(0, p.doc->m_form.GetCount());
        EXPECT_EQ(100, p.doc->m_nZoom);
        EXPECT_EQ(0, p.doc->GetRowArraySize());
        EXPECT_EQ(0, p.doc->GetRowsInUse());
        EXPECT_EQ(0, p.doc->m_nRowsRead);
        EXPECT_EQ(0, p.doc->m_aPrintForms.GetSize());
        EXPECT_EQ(before, Listing());
        EXPECT_EQ(bytes, Read("bad.mbd"));
    }
    // Every file of the folder with its size.
    std::vector<std::pair<std::string, uintmax_t>> Listing() const
    {
        std::vector<std::pair<std::string, uintmax_t>> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Native()))
            files.emplace_back(entry.path().filename().string(),
                               entry.is_regular_file() ? entry.file_size() : 0);
        std::sort(files.begin(), files.end());
        return files;
    }
};

} // namespace

TEST_F(PartsFileBadInputTest, AWrongMagicFailsTheOpenWithItsMessage)
{
    const std::vector<uint8_t> good = SamplePartsFile();
    const size_t nGoodMagic = 1 + std::string("This is Parts Management file").size();
    for (const char* magic : {"This is Parts Management fil", "This is Parts Management file ",
                              "this is parts management file", "This is part form file", ""}) {
        SCOPED_TRACE(magic);
        PartsFileBuilder b;
        b.Magic(magic);
        std::vector<uint8_t> file = b.Bytes();
        file.insert(file.end(), good.begin() + static_cast<long>(nGoodMagic), good.end());
        ExpectRejected(file, kNotAList);
    }
    // The message carries the exclamation icon.
    Write("bad.mbd", PartsFileBuilder().Magic("MBD").Bytes());
    OpenedParts p;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(p.doc->OnOpenDocument(Path("bad.mbd")));
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes.entries[0].type);
}

TEST_F(PartsFileBadInputTest, ADamagedEmbeddedFormStopsTheRead)
{
    PartsFileBuilder b;
    b.Magic().Word(100).Text("F").Form(SamplePartItems(), "This is part form fil").Word(0).Word(6).Word(0);
    ExpectRejected(b.Bytes(), "部材形式ﾌｧｲﾙがないか、壊れています。");
}

TEST_F(PartsFileBadInputTest, MoreThan100ColumnsAreRejected)
{
    PartsFileBuilder b;
    b.Magic().Word(100).Text("F").Form(SamplePartItems()).Word(1).Word(101);
    for (int c = 0; c < 101; ++c)
        b.Text("x");
    b.Word(0);
    ExpectRejected(b.Bytes(), kDamaged);

    // Exactly 100 columns is a list; cells beyond the form's items are read and kept.
    PartsFileBuilder full;
    full.Magic().Word(100).Text("F").Form(SamplePartItems()).Word(1).Word(100);
    for (int c = 0; c < 100; ++c)
        full.bytes.Str(std::to_string(c));
    full.Word(0);
    Write("full.mbd", full.Bytes());
    OpenedParts p;
    ASSERT_TRUE(p.doc->OnOpenDocument(Path("full.mbd")));
    EXPECT_EQ("99", p.doc->GetRow(0)->m_strCell[99].str());
}

TEST_F(PartsFileBadInputTest, AFileCutAtAnyLengthFailsCleanly)
{
    const std::vector<uint8_t> good = SamplePartsFile();
    for (size_t n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        ExpectRejected(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n)), kDamaged);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(PartsFileBadInputTest, RandomBytesFailCleanlyOrReadAsAConsistentList)
{
    std::mt19937 random(20261206);
    PartsFileBuilder header;
    header.Magic().Word(100).Text("F").Form(SamplePartItems());
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::vector<uint8_t> bytes = round % 2 == 0 ? std::vector<uint8_t>() : header.Bytes();
        const size_t nLength = random() % 600;
        for (size_t i = 0; i < nLength; ++i)
            bytes.push_back(static_cast<uint8_t>(random()));
        Write("random.mbd", bytes);
        OpenedParts p;
        MessageBoxRecorder boxes;
        if (p.doc->OnOpenDocument(Path("random.mbd"))) {
            EXPECT_TRUE(boxes.entries.empty());
            EXPECT_EQ(p.doc->GetRowsInUse(), p.doc->GetRowArraySize());
            EXPECT_LE(p.doc->GetRowsInUse(), p.doc->GetRowLimit());
            EXPECT_LE(p.doc->GetColumnCount(), 100);
        } else {
            EXPECT_EQ(1u, boxes.entries.size());
            EXPECT_EQ(0, p.doc->GetRowArraySize());
            EXPECT_EQ(0, p.doc->m_form.GetCount());
        }
        EXPECT_EQ(bytes, Read("random.mbd"));
    }
}
