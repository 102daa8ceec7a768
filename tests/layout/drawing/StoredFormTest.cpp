// The stored form of each kind of drawing object, checked against records written out by
// hand from the format: a record reads into the expected object, and the object writes the
// same bytes back.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "platform/ole/PictureItemStorage.h"
#include "tests/layout/drawing/DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

const std::string kGothic = CString("ＭＳ ゴシック"_sj).str();

} // namespace

TEST(DrawingStoredForm, RectangleRecordMatchesTheFormat)
{
    ByteBuilder b;
    ClassRecord(b, "CDrawRect");
    CommonRecord(b, -300, 200, 100, -50, 3, 0x000000FF, 12, 0x00FF0000, 0x00FFFFFF, 1);
    b.Word(1).Dword(16).Dword(16); // a line, roundness 16, 16

    auto pRect = LoadObject<CDrawRect>(b.Bytes());
    ASSERT_NE(pRect, nullptr);
    EXPECT_EQ(pRect->m_position, CRect(-300, 200, 100, -50));
    EXPECT_EQ(pRect->m_nLineStyle, 3);
    EXPECT_EQ(pRect->m_lineColor, 0x000000FFu);
    EXPECT_EQ(pRect->m_nFillPattern, 12);
    EXPECT_EQ(pRect->m_foreColor, 0x00FF0000u);
    EXPECT_EQ(pRect->m_backColor, 0x00FFFFFFu);
    EXPECT_TRUE(pRect->m_bFill);
    EXPECT_EQ(pRect->m_nShape, CDrawRect::line);
    EXPECT_EQ(pRect->m_roundness, CPoint(16, 16));
    EXPECT_FALSE(pRect->m_bVisible);
    EXPECT_EQ(StoreObject(pRect.get()), b.Bytes());
}

TEST(DrawingStoredForm, WordFieldsKeepTheirLow16BitsUnsigned)
{
    // Styles and patterns up to 65535 come back without sign; wider values lose their high
    // bits, as the format has only a word for them.
    CDrawRect rect(CRect(0, 0, 10, 10));
    rect.m_nLineStyle = 65535;
    rect.m_nFillPattern = 70000;
    auto pBack = LoadObject<CDrawRect>(StoreObject(&rect));
    ASSERT_NE(pBack, nullptr);
    EXPECT_EQ(pBack->m_nLineStyle, 65535);
    EXPECT_EQ(pBack->m_nFillPattern, 70000 & 0xFFFF);
}

TEST(DrawingStoredForm, TextRecordMatchesTheFormat)
{
    const std::string text = CString("合計 $見積(1,金額,30)$ 円"_sj).str();
    ByteBuilder b;
    ClassRecord(b, "CDrawText");
    CommonRecord(b, 100, 500, 400, 450, 0, 0, 0, 0, 0x00FFFFFF, 0);
    b.Str(text).Dword(0x00123456);
    for (uint16_t v : {6, 3, 5, 2, 4, 5, 1, 3, 2})
        b.Word(v);
    FontRecord(b, -24, 700, 1, 0, 128, 49, kGothic);

    auto pText = LoadObject<CDrawText>(b.Bytes());
    ASSERT_NE(pText, nullptr);
    EXPECT_EQ(pText->m_position, CRect(100, 500, 400, 450));
    EXPECT_EQ(pText->m_strText.str(), text);
    EXPECT_EQ(pText->m_clrText, 0x00123456u);
    EXPECT_EQ(pText->m_nAlign, CTextAttributes::alignCenter);
    EXPECT_EQ(pText->m_nTimeFormat, 3);
    EXPECT_EQ(pText->m_nDateFormat, 5);
    EXPECT_EQ(pText->m_nNumberingFormat, 2);
    EXPECT_EQ(pText->m_nPageFormat, 4);
    EXPECT_EQ(pText->m_nPageTotalFormat, 5);
    EXPECT_EQ(pText->m_nEstimatePicture, 1);
    EXPECT_EQ(pText->m_nPartsPicture, 3);
    EXPECT_EQ(pText->m_nInformationPicture, 2);
    EXPECT_EQ(pText->m_logFont.lfHeight, -24);
    EXPECT_EQ(pText->m_logFont.lfWeight, 700);
    EXPECT_EQ(pText->m_logFont.lfItalic, 1);
    EXPECT_EQ(pText->m_logFont.lfCharSet, 128);
    EXPECT_EQ(pText->m_logFont.lfPitchAndFamily, 49);
    EXPECT_EQ(std::string(pText->m_logFont.lfFaceName), kGothic);
    EXPECT_EQ(StoreObject(pText.get()), b.Bytes());
}

TEST(DrawingStoredForm, TextFaceNameIsCutTo31BytesAndPicturesToWords)
{
    CDrawText text(CRect(0, 0, 100, -20));
    text.m_nAlign = 70000; // read back as its low 16 bits
    std::vector<uint8_t> bytes = StoreObject(&text);
    auto pBack = LoadObject<CDrawText>(bytes);
    ASSERT_NE(pBack, nullptr);
    EXPECT_EQ(pBack->m_nAlign, 4464);
    EXPECT_EQ(pBack->m_nTimeFormat, 2);
    EXPECT_EQ(pBack->m_nDateFormat, 2);
    EXPECT_EQ(pBack->m_nNumberingFormat, 1);

    // A stored face name of 40 characters.
    ByteBuilder b;
    ClassRecord(b, "CDrawText");
    CommonRecord(b, 0, 0, 10, -10, 0, 0, 0, 0, 0, 0);
    b.Str("").Dword(0);
    for (int i = 0; i < 9; ++i)
        b.Word(0);
    FontRecord(b, -12, 400, 0, 0, 1, 0, std::string(40, 'F'));
    auto pLong = LoadObject<CDrawText>(b.Bytes());
    ASSERT_NE(pLong, nullptr);
    EXPECT_EQ(std::string(pLong->m_logFont.lfFaceName), std::string(31, 'F'));

    // A double-byte character that would straddle the 31st byte is left out whole.
    ByteBuilder d;
    ClassRecord(d, "CDrawText");
    CommonRecord(d, 0, 0, 10, -10, 0, 0, 0, 0, 0, 0);
    d.Str("").Dword(0);
    for (int i = 0; i < 9; ++i)
        d.Word(0);
    std::string face(30, 'A');
    face += CString("明"_sj).str();
    FontRecord(d, -12, 400, 0, 0, 1, 0, face);
    auto pCut = LoadObject<CDrawText>(d.Bytes());
    ASSERT_NE(pCut, nullptr);
    EXPECT_EQ(std::string(pCut->m_logFont.lfFaceName), std::string(30, 'A'));
}

TEST(DrawingStoredForm, TableRecordKeepsCellRectanglesLeftRightTopBottom)
{
    ByteBuilder b;
    ClassRecord(b, "CDrawTable");
    CommonRecord(b, 200, -100, -200, 100, 1, 0, 0, 0, 0x00FFFFFF, 1);
    b.Word(2); // two cells
    // Cell 1: m_rect (left, right, top, bottom) with negative values, m_rectResize the same.
    b.Word(0).Word(static_cast<uint16_t>(-200)).Word(static_cast<uint16_t>(-100)).Word(0);
    b.Word(0).Word(static_cast<uint16_t>(-200)).Word(static_cast<uint16_t>(-100)).Word(0);
    b.Str(CString("品名"_sj).str()).Dword(0x000000FF);
    for (uint16_t v : {0, 2, 2, 1, 1, 1, 0, 0, 0})
        b.Word(v);
    FontRecord(b, -18, 400, 0, 1, 128, 17, kGothic);
    b.Word(1).Word(2).Word(3).Word(10);                               // edge styles 0..3
    b.Dword(0x000000FF).Dword(0x0000FF00).Dword(0x00FF0000).Dword(0); // edge colours 0..3
    b.Word(7).Dword(0x00808080).Dword(0x00FFFFFF).Word(1);            // pattern, fore, back, fill
    // Cell 2.
    b.Word(200).Word(0).Word(0).Word(100);
    b.Word(200).Word(0).Word(0).Word(100);
    b.Str("$見積(1,金額,1)$").Dword(0);
    for (uint16_t v : {2, 2, 2, 1, 1, 1, 1, 0, 0})
        b.Word(v);
    FontRecord(b, -18, 700, 0, 0, 128, 17, kGothic);
    b.Word(0).Word(0).Word(0).Word(0);
    b.Dword(0).Dword(0).Dword(0).Dword(0);
    b.Word(0).Dword(0).Dword(0x00FFFFFF).Word(0);

    auto pTable = LoadObject<CDrawTable>(b.Bytes());
    ASSERT_NE(pTable, nullptr);
    ASSERT_EQ(pTable->GetCellCount(), 2);
    const CDrawCell* c1 = pTable->GetCell(0);
    // CRect(left, top, right, bottom) from the stored order left, right, top, bottom.
    EXPECT_EQ(c1->m_rect, CRect(0, -100, -200, 0));
    // The second rectangle is read without sign.
    EXPECT_EQ(c1->m_rectResize, CRect(0, 65436, 65336, 0));
    EXPECT_EQ(c1->m_strText, "品名"_sj);
    EXPECT_EQ(c1->m_clrText, 0x000000FFu);
    EXPECT_EQ(c1->m_nAlign, 0);
    EXPECT_EQ(c1->m_logFont.lfUnderline, 1);
    EXPECT_EQ(c1->m_nEdgeStyle[CDrawCell::edgeLeftHand], 1);
    EXPECT_EQ(c1->m_nEdgeStyle[CDrawCell::edgeRightHand], 2);
    EXPECT_EQ(c1->m_nEdgeStyle[CDrawCell::edgeUpper], 3);
    EXPECT_EQ(c1->m_nEdgeStyle[CDrawCell::edgeLower], 10);
    EXPECT_EQ(c1->m_clrEdge[CDrawCell::edgeRightHand], 0x0000FF00u);
    EXPECT_EQ(c1->m_nFillPattern, 7);
    EXPECT_EQ(c1->m_foreColor, 0x00808080u);
    EXPECT_TRUE(c1->m_bFill);
    EXPECT_FALSE(c1->m_bSelected);
    const CDrawCell* c2 = pTable->GetCell(1);
    EXPECT_EQ(c2->m_rect, CRect(200, 0, 0, 100));
    EXPECT_EQ(c2->m_nAlign, CTextAttributes::alignRight);
    EXPECT_EQ(c2->m_nEstimatePicture, 1);
    EXPECT_EQ(c2->m_logFont.lfWeight, 700);

    // Writing it back: the second rectangle's unsigned values are words again, so every
    // byte is as read.
    EXPECT_EQ(StoreObject(pTable.get()), b.Bytes());
}

TEST(DrawingStoredForm, EmbeddedObjectRecordCarriesItsItemRecord)
{
    // Outside a compound document (a clipboard block) the item carries its storage in its
    // record: extent, then the item as an object of class "CDrawItem": number, aspect, the
    // size of the storage as a compound file and the file.
    const CCompoundStorage storage = MakePictureItemStorage(std::vector<BYTE>(44, 0), SIZE{5080, 2540});
    std::vector<BYTE> file;
    ASSERT_TRUE(WriteCompoundFile(storage, file));
    ByteBuilder head;
    ClassRecord(head, "CDrawOleObj");
    CommonRecord(head, -100, 300, 100, 200, 1, 0, 0, 0, 0x00FFFFFF, 0);
    head.Dword(5080).Dword(2540);
    ClassRecord(head, "CDrawItem");
    head.Dword(3).Dword(1); // item number 3, drawing aspect content
    ByteBuilder b = head;
    b.Dword(static_cast<uint32_t>(file.size()));
    b.Raw(std::string(file.begin(), file.end()));

    auto pOle = LoadObject<CDrawOleObj>(b.Bytes());
    ASSERT_NE(pOle, nullptr);
    EXPECT_EQ(pOle->m_extent, CSize(5080, 2540));
    ASSERT_NE(pOle->m_pClientItem, nullptr);
    EXPECT_EQ(pOle->m_pClientItem->GetItemNumber(), 3u);
    EXPECT_EQ(pOle->m_pClientItem->m_pDrawObj, pOle.get());
    EXPECT_EQ(pOle->m_pClientItem->GetStorageName(), "Embedding 3");
    ASSERT_NE(pOle->m_pClientItem->GetStorage(), nullptr);
    EXPECT_TRUE(pOle->m_pClientItem->GetStorage()->IsSameAs(storage));
    // Written again: the same record and the same storage (the file is made afresh, so a
    // second round gives the same bytes).
    const std::vector<uint8_t> once = StoreObject(pOle.get());
    ASSERT_GT(once.size(), head.Bytes().size() + 4);
    EXPECT_TRUE(std::equal(head.Bytes().begin(), head.Bytes().end(), once.begin()));
    auto pAgain = LoadObject<CDrawOleObj>(once);
    ASSERT_NE(pAgain, nullptr);
    ASSERT_NE(pAgain->m_pClientItem, nullptr);
    EXPECT_TRUE(pAgain->m_pClientItem->GetStorage()->IsSameAs(storage));
    EXPECT_EQ(StoreObject(pAgain.get()), once);

    // A storage that is missing, too large, cut short or not a compound file fails the read.
    for (uint32_t nSize :
         {0u, static_cast<uint32_t>(MAX_ITEM_DATA_BYTES + 1), static_cast<uint32_t>(file.size() + 1)}) {
        ByteBuilder bad = head;
        bad.Dword(nSize);
        bad.Raw(std::string(file.begin(), file.end()));
        EXPECT_THROW(LoadObject<CDrawOleObj>(bad.Bytes()), CArchiveException) << nSize;
    }
    ByteBuilder junk = head;
    junk.Dword(static_cast<uint32_t>(file.size()));
    junk.Raw(std::string(file.size(), 'x'));
    EXPECT_THROW(LoadObject<CDrawOleObj>(junk.Bytes()), CArchiveException);

    // An object without an item writes the null object tag.
    CDrawOleObj empty(CRect(0, 0, 10, -10));
    const std::vector<uint8_t> bytes = StoreObject(&empty);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[bytes.size() - 2], 0);
    EXPECT_EQ(bytes[bytes.size() - 1], 0);
    // An item without a storage has nothing to carry: the write fails.
    CDrawOleObj lost(CRect(0, 0, 10, -10));
    lost.m_pClientItem = new CDrawItem(nullptr, &lost);
    EXPECT_THROW(StoreObject(&lost), CArchiveException);
}

TEST(DrawingStoredForm, DamagedRecordsFailWithoutLeaks)
{
    CDrawTable table(CRect(100, 0, 0, 100));
    for (int i = 0; i < 3; ++i)
        table.AddCell(CRect(100, i * 30, 0, i * 30 + 30));
    table.GetCell(1)->m_strText = "abc";
    const std::vector<uint8_t> good = StoreObject(&table);
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_THROW(LoadObject<CDrawTable>(cut), CArchiveException) << "length " << n;
    }
    // A cell count above the cells present runs into the end of the data.
    std::vector<uint8_t> more = good;
    const size_t countAt = 2 + 2 + 2 + 10 + 16 + 2 + 4 + 2 + 4 + 4 + 2;
    more[countAt] = 0xFF;
    more[countAt + 1] = 0xFF;
    EXPECT_THROW(LoadObject<CDrawTable>(more), CArchiveException);
}
