// Layout files as the user meets them: a layout written out by hand from the format opens
// with its forms, objects, field references and embedded picture; saving it again gives the
// same "Contents" bytes and leaves the embedded storage untouched; backups, failed saves
// and damaged files behave as a user relies on.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/CPropertySheet.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "tests/layout/printform/LayoutTestSupport.h"

#include <filesystem>
#include <random>

namespace {

std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

ByteBuilder& Common(ByteBuilder& b, int32_t l, int32_t t, int32_t r, int32_t bo, uint16_t style,
                    uint16_t pattern, uint16_t fill)
{
    return b.Dword(static_cast<uint32_t>(l))
        .Dword(static_cast<uint32_t>(t))
        .Dword(static_cast<uint32_t>(r))
        .Dword(static_cast<uint32_t>(bo))
        .Word(style)
        .Dword(0x00000000)
        .Word(pattern)
        .Dword(0x00C0C0C0)
        .Dword(0x00FFFFFF)
        .Word(fill);
}

ByteBuilder& Font(ByteBuilder& b, int32_t height, int32_t weight)
{
    b.Dword(static_cast<uint32_t>(height)).Dword(0).Dword(0).Dword(0).Dword(static_cast<uint32_t>(weight));
    b.Byte(0).Byte(0).Byte(0).Byte(128).Byte(0).Byte(0).Byte(0).Byte(49);
    return b.Str(Sj("ＭＳ 明朝"));
}

ByteBuilder& Pictures(ByteBuilder& b, uint16_t align)
{
    b.Word(align);
    for (uint16_t v : {2, 2, 1, 1, 1, 0, 0, 0})
        b.Word(v);
    return b;
}

// A form block: its magic, the item count, then the strings of every item.
ByteBuilder& Form(ByteBuilder& b, const char* magic, const std::vector<std::vector<std::string>>& items,
                  int columns)
{
    b.Str(magic).Word(static_cast<uint16_t>(items.size()));
    for (const auto& item : items)
        for (int c = 0; c < columns; ++c)
            b.Str(c < static_cast<int>(item.size()) ? item[static_cast<size_t>(c)] : std::string());
    return b;
}

// "Contents" of an estimate layout: the two forms, zoom 150, a paper colour, five objects
// (a text, a line, a table of one cell, an embedded picture, a second text reusing the text
// class record) and the field references their tokens give.
std::vector<uint8_t> GoldenEstimateContents(uint16_t zoom = 150)
{
    ByteBuilder b;
    b.Str("meisai.MMK");
    Form(b, "This is estimation form file",
         {{Sj("名称"), Sj("文字"), "24"}, {Sj("金額"), Sj("数値"), "12", "###,###"}}, 10);
    b.Str("JYOUHOU.MJK");
    Form(b, "This is information form file", {{Sj("工事名"), Sj("文字"), "30"}}, 8);
    b.Word(zoom).Dword(0x00F0F8FF);
    b.Word(5);
    // 1: text (class index 1, object 2).
    b.Word(0xFFFF).Word(0).Word(9).Raw("CDrawText");
    Common(b, -300, 500, 300, 440, 0, 0, 0);
    b.Str(Sj("合計 $見積(1,金額,30)$")).Dword(0x000000FF);
    Pictures(b, 6);
    Font(b, -28, 700);
    // 2: line (class 3, object 4), drawn from right to left.
    b.Word(0xFFFF).Word(0).Word(9).Raw("CDrawRect");
    Common(b, 300, 430, -300, 430, 2, 0, 0);
    b.Word(1).Dword(16).Dword(16);
    // 3: table (class 5, object 6) of one cell.
    b.Word(0xFFFF).Word(0).Word(10).Raw("CDrawTable");
    Common(b, 300, 100, -300, 400, 1, 0, 1);
    b.Word(1);
    b.Word(300).Word(static_cast<uint16_t>(-300)).Word(100).Word(400);
    b.Word(300).Word(static_cast<uint16_t>(-300)).Word(100).Word(400);
    b.Str(Sj("$見積(1,金額,7)$ $見積(2,単価,12)$")).Dword(0);
    Pictures(b, 2);
    Font(b, -20, 400);
    b.Word(1).Word(1).Word(4).Word(4);
    b.Dword(0).Dword(0).Dword(0).Dword(0);
    b.Word(3).Dword(0x00808080).Dword(0x00FFFFFF).Word(1);
    // 4: embedded picture (class 7, object 8), its item (class 9, object 10) in
    // "Embedding 1".
    b.Word(0xFFFF).Word(0).Word(11).Raw("CDrawOleObj");
    Common(b, -100, -100, 100, -200, 1, 0, 0);
    b.Dword(5080).Dword(2540);
    b.Word(0xFFFF).Word(0).Word(9).Raw("CDrawItem");
    b.Dword(1).Dword(1);
    // 5: a second text: a reference to class record 1, object 11.
    b.Word(0x8001);
    Common(b, -300, -300, 300, -340, 0, 0, 0);
    b.Str(Sj("$日付()$")).Dword(0);
    Pictures(b, 0);
    Font(b, -20, 400);
    // Field references in the order their keys first occur.
    b.Word(2);
    b.Str(Sj("1,金額")).Word(30);
    b.Str(Sj("2,単価")).Word(12);
    return b.Bytes();
}

std::vector<uint8_t> GoldenPartsContents()
{
    ByteBuilder b;
    b.Str("BUZAI.MBK");
    Form(b, "This is part form file", {{Sj("部材名"), Sj("文字"), "20"}, {Sj("数量"), Sj("数値"), "8"}}, 10);
    b.Word(100).Dword(0x00FFFFFF);
    b.Word(1);
    b.Word(0xFFFF).Word(0).Word(9).Raw("CDrawText");
    Common(b, -200, 300, 200, 260, 1, 4, 1);
    b.Str(Sj("$部材(1,数量,25)$")).Dword(0);
    Pictures(b, 2);
    Font(b, -20, 400);
    b.Word(1);
    b.Str(Sj("1,数量")).Word(25);
    return b.Bytes();
}

} // namespace

TEST_F(LayoutAppTest, GoldenEstimateLayoutOpensWithEverything)
{
    const std::string path = m_pFolder->Native("WORK/LAYOUT.MMP");
    WriteLayoutFile(path, GoldenEstimateContents(), {{1, MakePictureStorage(5080, 2540, "Bitmap Image")}});

    auto* pDoc = dynamic_cast<CPrintEMDoc*>(Open(m_pFolder->System("WORK/LAYOUT.MMP")));
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->m_strCurEstimationForm, "meisai.MMK");
    ASSERT_EQ(pDoc->m_curEstimationForm.GetCount(), 2);
    EXPECT_EQ(pDoc->m_curEstimationForm.GetItem(1, 0), "金額"_sj);
    EXPECT_EQ(pDoc->m_curEstimationForm.GetItem(1, 3), "###,###");
    EXPECT_EQ(pDoc->m_strCurInformationForm, "JYOUHOU.MJK");
    EXPECT_EQ(pDoc->m_curInformationForm.GetItem(0, 0), "工事名"_sj);
    EXPECT_EQ(pDoc->m_nZoom, 150);
    EXPECT_EQ(pDoc->m_paperColor, 0x00F0F8FFu);
    EXPECT_FALSE(pDoc->IsModified());

    ASSERT_EQ(pDoc->m_objects.GetCount(), 5);
    POSITION pos = pDoc->m_objects.GetHeadPosition();
    auto* pText = dynamic_cast<CDrawText*>(pDoc->m_objects.GetNext(pos));
    auto* pLine = dynamic_cast<CDrawRect*>(pDoc->m_objects.GetNext(pos));
    auto* pTable = dynamic_cast<CDrawTable*>(pDoc->m_objects.GetNext(pos));
    auto* pOle = dynamic_cast<CDrawOleObj*>(pDoc->m_objects.GetNext(pos));
    auto* pDate = dynamic_cast<CDrawText*>(pDoc->m_objects.GetNext(pos));
    ASSERT_TRUE(pText && pLine && pTable && pOle && pDate);
    EXPECT_EQ(pText->m_strText, "合計 $見積(1,金額,30)$"_sj);
    EXPECT_EQ(pText->m_nAlign, CTextAttributes::alignCenter);
    EXPECT_EQ(pText->m_logFont.lfWeight, 700);
    EXPECT_EQ(pText->m_pDocument, pDoc);
    EXPECT_EQ(pLine->m_nShape, CDrawRect::line);
    EXPECT_EQ(pLine->m_position, CRect(300, 430, -300, 430));
    ASSERT_EQ(pTable->GetCellCount(), 1);
    EXPECT_EQ(pTable->GetCell(0)->m_rect, CRect(300, 100, -300, 400));
    EXPECT_EQ(pTable->GetCell(0)->m_nEdgeStyle[CDrawCell::edgeLower], 4);
    EXPECT_EQ(pDate->m_strText, "$日付()$"_sj);

    // The picture: its storage as the file holds it, its extent, type and cached bitmap.
    ASSERT_NE(pOle->m_pClientItem, nullptr);
    ASSERT_NE(pOle->m_pClientItem->GetStorage(), nullptr);
    EXPECT_TRUE(pOle->m_pClientItem->GetStorage()->IsSameAs(MakePictureStorage(5080, 2540, "Bitmap Image")));
    SIZE extent{};
    ASSERT_TRUE(pOle->m_pClientItem->GetExtent(&extent));
    EXPECT_EQ(extent.cx, 5080);
    EXPECT_EQ(extent.cy, 2540);
    EXPECT_EQ(pOle->m_pClientItem->GetUserTypeName(), "Bitmap Image");
    EXPECT_FALSE(pOle->m_pClientItem->IsLinked());
    std::vector<BYTE> dib;
    ASSERT_TRUE(pOle->m_pClientItem->GetCachedDib(dib));
    EXPECT_EQ(dib.size(), 56u);
    EXPECT_EQ(pDoc->GetItemCount(), 1);

    ASSERT_EQ(pDoc->GetFieldRefCount(), 2);
    EXPECT_EQ(pDoc->GetFieldRef(0)->m_strKey, "1,金額"_sj);
    EXPECT_EQ(pDoc->GetFieldRef(0)->m_nValue, 30);
    EXPECT_EQ(pDoc->GetFieldRef(1)->m_strKey, "2,単価"_sj);
    EXPECT_EQ(pDoc->GetFieldRef(1)->m_nValue, 12);

    // The topmost object at a point: the table and the picture do not overlap; the first
    // text lies over nothing else.
    EXPECT_EQ(pDoc->ObjectAt(CPoint(0, 450)), pText);
    EXPECT_EQ(pDoc->ObjectAt(CPoint(0, -150)), pOle);
    EXPECT_EQ(pDoc->ObjectAt(CPoint(0, 0)), nullptr);
}

TEST_F(LayoutAppTest, SavingAgainKeepsContentsAndEmbeddingByteForByte)
{
    const std::string path = m_pFolder->Native("WORK/LAYOUT.MMP");
    const CCompoundStorage picture = MakePictureStorage(5080, 2540, "Bitmap Image");
    WriteLayoutFile(path, GoldenEstimateContents(), {{1, picture}});
    const std::vector<uint8_t> original = ReadNativeFile(path);

    CPrintDoc* pDoc = Open(m_pFolder->System("WORK/LAYOUT.MMP"));
    ASSERT_NE(pDoc, nullptr);
    ASSERT_TRUE(pDoc->DoSave(m_pFolder->System("WORK/LAYOUT.MMP")));

    const CCompoundStorage saved = ReadLayoutFile(path);
    EXPECT_EQ(ContentsOf(saved), GoldenEstimateContents());
    ASSERT_NE(saved.FindStorage("Embedding 1"), nullptr);
    EXPECT_TRUE(saved.FindStorage("Embedding 1")->IsSameAs(picture));
    EXPECT_EQ(saved.GetChildCount(), 2);
    // Backups on: the old file went to LAYOUT.BMP first.
    EXPECT_EQ(ReadNativeFile(m_pFolder->Native("WORK/LAYOUT.BMP")), original);
}

TEST_F(LayoutAppTest, PartsLayoutOpensAndSavesTheSameBytes)
{
    const std::string path = m_pFolder->Native("WORK/PARTS.MBP");
    WriteLayoutFile(path, GoldenPartsContents());
    auto* pDoc = dynamic_cast<CPrintPMDoc*>(Open(m_pFolder->System("WORK/PARTS.MBP")));
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->m_strCurPartsForm, "BUZAI.MBK");
    EXPECT_EQ(pDoc->m_curPartsForm.GetItem(1, 0), "数量"_sj);
    ASSERT_EQ(pDoc->m_objects.GetCount(), 1);
    ASSERT_EQ(pDoc->GetFieldRefCount(), 1);
    EXPECT_EQ(pDoc->GetFieldRef(0)->m_nValue, 25);
    ASSERT_TRUE(pDoc->DoSave(m_pFolder->System("WORK/PARTS.MBP")));
    EXPECT_EQ(ContentsOf(ReadLayoutFile(path)), GoldenPartsContents());
    EXPECT_TRUE(FileExists(m_pFolder->System("WORK/PARTS.BBP")));
}

TEST_F(LayoutAppTest, FieldReferencesFollowTheTokensBeyondSixteenBits)
{
    // The stored value keeps 16 bits (70000 is stored as 4464); after loading, the
    // references are built again from the tokens and hold the true value.
    std::vector<uint8_t> contents = GoldenPartsContents();
    const std::string tokenText = Sj("$部材(1,数量,25)$");
    const std::string biggerText = Sj("$部材(1,数量,70000)$");
    const std::vector<uint8_t> token(tokenText.begin(), tokenText.end());
    const std::vector<uint8_t> bigger(biggerText.begin(), biggerText.end());
    auto it = std::search(contents.begin(), contents.end(), token.begin(), token.end());
    ASSERT_NE(it, contents.end());
    const size_t at = static_cast<size_t>(it - contents.begin());
    contents[at - 1] = static_cast<uint8_t>(bigger.size());
    contents.erase(contents.begin() + static_cast<std::ptrdiff_t>(at),
                   contents.begin() + static_cast<std::ptrdiff_t>(at + token.size()));
    contents.insert(contents.begin() + static_cast<std::ptrdiff_t>(at), bigger.begin(), bigger.end());
    contents[contents.size() - 2] = 70000 & 0xFF;
    contents[contents.size() - 1] = (70000 >> 8) & 0xFF;

    WriteLayoutFile(m_pFolder->Native("WORK/BIG.MBP"), contents);
    CPrintDoc* pDoc = Open(m_pFolder->System("WORK/BIG.MBP"));
    ASSERT_NE(pDoc, nullptr);
    ASSERT_EQ(pDoc->GetFieldRefCount(), 1);
    EXPECT_EQ(pDoc->GetFieldRef(0)->m_nValue, 70000);
    // Written back, the word holds what the format can: 70000 & 0xFFFF = 4464.
    ASSERT_TRUE(pDoc->DoSave(m_pFolder->System("WORK/BIG.MBP")));
    const std::vector<uint8_t> saved = ContentsOf(ReadLayoutFile(m_pFolder->Native("WORK/BIG.MBP")));
    ASSERT_GE(saved.size(), 2u);
    EXPECT_EQ(saved[saved.size() - 2] | saved[saved.size() - 1] << 8, 4464);
}

TEST_F(LayoutAppTest, BackupOfALayoutInADottedFolderStaysBesideIt)
{
    std::filesystem::create_directories(m_pFolder->Native("DATA.V2"));
    const std::string path = m_pFolder->Native("DATA.V2/LAYOUT.MMP");
    WriteLayoutFile(path, GoldenEstimateContents(), {{1, MakePictureStorage(100, 100, "Paint")}});
    const std::vector<uint8_t> original = ReadNativeFile(path);
    CPrintDoc* pDoc = Open(m_pFolder->System("DATA.V2/LAYOUT.MMP"));
    ASSERT_NE(pDoc, nullptr);
    ASSERT_TRUE(pDoc->DoSave(m_pFolder->System("DATA.V2/LAYOUT.MMP")));
    EXPECT_EQ(ReadNativeFile(m_pFolder->Native("DATA.V2/LAYOUT.BMP")), original);
    EXPECT_FALSE(std::filesystem::exists(m_pFolder->Native("DATA.BMP")));

    EXPECT_EQ(GetLayoutBackupPath("C:\\DATA.V2\\LAYOUT.MMP", ".BMP"), "C:\\DATA.V2\\LAYOUT.BMP");
    EXPECT_EQ(GetLayoutBackupPath("C:\\DATA.V2\\LAYOUT", ".BBP"), "C:\\DATA.V2\\LAYOUT.BBP");
    // A trail byte 0x5C inside a double-byte character is no folder separator.
    const CString strFolder = "C:\\表.V2\\A"_sj;
    EXPECT_EQ(GetLayoutBackupPath(strFolder + ".MMP", ".BMP"), strFolder + ".BMP");
}

TEST_F(LayoutAppTest, SaveThatCannotWriteAnItemFailsAndKeepsTheOldFile)
{
    const std::string path = m_pFolder->Native("WORK/LAYOUT.MMP");
    WriteLayoutFile(path, GoldenEstimateContents(), {{1, MakePictureStorage(5080, 2540, "Bitmap Image")}});
    CPrintDoc* pDoc = Open(m_pFolder->System("WORK/LAYOUT.MMP"));
    ASSERT_NE(pDoc, nullptr);
    const std::vector<uint8_t> before = ReadNativeFile(path);

    // An item that has lost its storage cannot be written.
    auto* pBroken = new CDrawOleObj(CRect(0, 0, 50, -50));
    pBroken->m_pClientItem = new CDrawItem(pDoc, pBroken);
    pDoc->Add(pBroken);
    MessageBoxRecorder boxes;
    EXPECT_FALSE(pDoc->OnSaveDocument(m_pFolder->System("WORK/LAYOUT.MMP")));
    EXPECT_EQ(boxes.entries.size(), 1u);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(ReadNativeFile(path), before);
}

TEST_F(LayoutAppTest, ItemWithoutItsStorageIsDroppedAndTheRestOpens)
{
    const std::string path = m_pFolder->Native("WORK/LOST.MMP");
    WriteLayoutFile(path, GoldenEstimateContents()); // "Embedding 1" is missing
    MessageBoxRecorder boxes;
    CPrintDoc* pDoc = Open(m_pFolder->System("WORK/LOST.MMP"));
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->m_objects.GetCount(), 5);
    EXPECT_EQ(pDoc->GetItemCount(), 0);
    ASSERT_EQ(boxes.entries.size(), 1u);
    EXPECT_NE(boxes.entries[0].text.Find("埋め込みオブジェクト"_sj), -1);
    // Saved, the layout is whole without it.
    ASSERT_TRUE(pDoc->DoSave(m_pFolder->System("WORK/LOST.MMP")));
    CPrintDoc* pAgain = Open(m_pFolder->System("WORK/LOST.MMP"));
    ASSERT_NE(pAgain, nullptr);
}

TEST_F(LayoutAppTest, DamagedLayoutsDoNotOpen)
{
    const std::vector<uint8_t> good = GoldenPartsContents();
    int nCase = 0;
    auto expectRefused = [&](const std::vector<uint8_t>& contents, const char* what) {
        const std::string name = "BAD" + std::to_string(nCase++) + ".MBP";
        WriteLayoutFile(m_pFolder->Native("WORK/" + name), contents);
        MessageBoxRecorder boxes;
        EXPECT_EQ(Open(m_pFolder->System("WORK/" + name)), nullptr) << what;
        EXPECT_FALSE(boxes.entries.empty()) << what;
    };
    // Cut anywhere before the end of the field references.
    for (size_t n = 0; n + 1 < good.size(); n += 7)
        expectRefused(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)),
                      "cut");
    // A form block with another magic.
    std::vector<uint8_t> magic = good;
    magic[11] = 'X';
    expectRefused(magic, "magic");
    // An object count far above what the stream holds (0xFFFF, then a double word).
    ByteBuilder many;
    many.Str("BUZAI.MBK");
    many.Str("This is part form file").Word(0);
    many.Word(100).Dword(0).Word(0xFFFF).Dword(0x7FFFFFFF);
    expectRefused(many.Bytes(), "count");
    // One object listed twice (a reference back to the first).
    ByteBuilder twice;
    twice.Str("BUZAI.MBK").Str("This is part form file").Word(0).Word(100).Dword(0).Word(2);
    twice.Word(0xFFFF).Word(0).Word(9).Raw("CDrawRect");
    Common(twice, 0, 0, 10, -10, 1, 0, 0).Word(0).Dword(16).Dword(16);
    twice.Word(2).Word(0);
    expectRefused(twice.Bytes(), "twice");
    // An element of another class.
    ByteBuilder other;
    other.Str("BUZAI.MBK").Str("This is part form file").Word(0).Word(100).Dword(0).Word(1);
    other.Word(0xFFFF).Word(0).Word(15).Raw("CFieldRefRecord");
    expectRefused(other.Bytes(), "class");
    // No "Contents" at all; random bytes for a file.
    CCompoundStorage empty;
    empty.SetStream("Other", {1, 2});
    ASSERT_TRUE(SaveCompoundFile(m_pFolder->System("WORK/NOCONTENTS.MBP"), empty));
    {
        MessageBoxRecorder boxes;
        EXPECT_EQ(Open(m_pFolder->System("WORK/NOCONTENTS.MBP")), nullptr);
    }
    std::mt19937 rng(11);
    std::vector<uint8_t> junk(3000);
    for (auto& b : junk)
        b = static_cast<uint8_t>(rng());
    WriteNativeFile(m_pFolder->Native("WORK/JUNK.MBP"), junk);
    {
        MessageBoxRecorder boxes;
        EXPECT_EQ(Open(m_pFolder->System("WORK/JUNK.MBP")), nullptr);
        EXPECT_EQ(boxes.entries.size(), 1u);
    }
}

TEST_F(LayoutAppTest, StoredZoomOfZeroOpensAtOneHundred)
{
    WriteLayoutFile(m_pFolder->Native("WORK/ZERO.MMP"), GoldenEstimateContents(0),
                    {{1, MakePictureStorage(5080, 2540, "Bitmap Image")}});
    CPrintDoc* pDoc = Open(m_pFolder->System("WORK/ZERO.MMP"));
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->m_nZoom, 100);
}

TEST_F(LayoutAppTest, PaperComesFromThePrinterOfTheMoment)
{
    // The program's printer without an installed one is an A4 PDF printer: 827 x 1169
    // hundredths of an inch (210 x 297 mm), rounded half up.
    CPrintEMDoc doc;
    EXPECT_EQ(*doc.GetSize(), CSize(827, 1169));
    EXPECT_EQ(*doc.GetDocExtent(), CSize(867, 1209));
    EXPECT_EQ(doc.m_nZoom, 100);
    EXPECT_EQ(doc.m_paperColor, m_pApp->m_clrPaper);
}

TEST_F(LayoutAppTest, SampleLayoutsOpenWithTheirTablesAndReferences)
{
    const std::string samples = std::string(MORVEL_SOURCE_DIR) + "/samples/FORM/";
    std::filesystem::copy_file(samples + CString("見積書.MMP"_sj).ToUtf8(), m_pFolder->Native("WORK/E.MMP"));
    std::filesystem::copy_file(samples + CString("部材表.MBP"_sj).ToUtf8(), m_pFolder->Native("WORK/P.MBP"));

    auto* pEstimate = dynamic_cast<CPrintEMDoc*>(Open(m_pFolder->System("WORK/E.MMP")));
    ASSERT_NE(pEstimate, nullptr);
    EXPECT_EQ(pEstimate->m_strCurEstimationForm, "meisai.MMK");
    int nTables = 0, nDetailCells = 0;
    for (POSITION pos = pEstimate->m_objects.GetHeadPosition(); pos;) {
        if (auto* pTable = dynamic_cast<CDrawTable*>(pEstimate->m_objects.GetNext(pos))) {
            ++nTables;
            nDetailCells = std::max(nDetailCells, static_cast<int>(pTable->GetCellCount()));
        }
    }
    EXPECT_EQ(nTables, 2);
    EXPECT_EQ(nDetailCells, 19 * 7); // a heading row and a grid page of 18 rows, seven columns
    // Every column of the detail table names rows 1 to 18.
    ASSERT_EQ(pEstimate->GetFieldRefCount(), 7);
    for (INT_PTR i = 0; i < pEstimate->GetFieldRefCount(); ++i)
        EXPECT_EQ(pEstimate->GetFieldRef(i)->m_nValue, 18);
    EXPECT_EQ(pEstimate->GetFieldRef(0)->m_strKey, "1,名称"_sj);

    auto* pParts = dynamic_cast<CPrintPMDoc*>(Open(m_pFolder->System("WORK/P.MBP")));
    ASSERT_NE(pParts, nullptr);
    ASSERT_EQ(pParts->GetFieldRefCount(), 6);
    EXPECT_EQ(pParts->GetFieldRef(5)->m_strKey, "1,金額"_sj);
    EXPECT_EQ(pParts->GetFieldRef(5)->m_nValue, 40);
}

TEST_F(LayoutAppTest, PropertiesOfShapesAndEmbeddedObjects)
{
    const std::string path = m_pFolder->Native("WORK/LAYOUT.MMP");
    WriteLayoutFile(path, GoldenEstimateContents(), {{1, MakePictureStorage(5080, 2540, "Bitmap Image")}});
    CPrintDoc* pDoc = Open(m_pFolder->System("WORK/LAYOUT.MMP"));
    ASSERT_NE(pDoc, nullptr);
    POSITION pos = pDoc->m_objects.GetHeadPosition();
    pDoc->m_objects.GetNext(pos);
    CDrawObj* pLine = pDoc->m_objects.GetNext(pos);
    pDoc->m_objects.GetNext(pos);
    CDrawObj* pOle = pDoc->m_objects.GetNext(pos);

    // The shape's sheet: Cancel changes nothing, OK marks the layout modified.
    CDialogAnswerer answerer;
    CString caption;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        d.GetWindowText(caption);
        ClickDlgButton(d, IDCANCEL);
    });
    pLine->OnOpen(nullptr);
    EXPECT_EQ(caption, "Shape Properties");
    EXPECT_FALSE(pDoc->IsModified());
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [](CDialog& d) { ClickDlgButton(d, IDOK); });
    pLine->OnEditProperties();
    EXPECT_TRUE(pDoc->IsModified());

    // An embedded object cannot be opened here: the user is told, nothing changes.
    pDoc->SetModifiedFlag(FALSE);
    pOle->OnOpen(nullptr);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_FALSE(pDoc->IsModified());
}

TEST_F(LayoutAppTest, BytesAfterTheLayoutBodyAreKeptAsRead)
{
    // What another writer left after the field references (the container's own record) is
    // not understood here, but survives a save.
    std::vector<uint8_t> contents = GoldenPartsContents();
    for (uint8_t b : {0x01, 0x00, 0x00, 0x00, 0xAB})
        contents.push_back(b);
    WriteLayoutFile(m_pFolder->Native("WORK/TAIL.MBP"), contents);
    CPrintDoc* pDoc = Open(m_pFolder->System("WORK/TAIL.MBP"));
    ASSERT_NE(pDoc, nullptr);
    ASSERT_TRUE(pDoc->DoSave(m_pFolder->System("WORK/TAIL.MBP")));
    EXPECT_EQ(ContentsOf(ReadLayoutFile(m_pFolder->Native("WORK/TAIL.MBP"))), contents);
}
