// Embedded pictures: bitmaps decoded from their bytes (written out here from the format's
// description), a new picture object made from a ".BMP" file, sized from its resolution,
// kept byte for byte through save and load, and drawn on screen and on paper.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/DibPicture.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/printform/CPrintEMDoc.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "tests/layout/printform/LayoutTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A 40-byte info header.
ByteBuilder& InfoHeader(ByteBuilder& b, int32_t w, int32_t h, uint16_t bits, uint32_t colours = 0,
                        int32_t ppm = 3780, uint32_t compression = 0, uint16_t planes = 1)
{
    return b.Dword(40)
        .Dword(static_cast<uint32_t>(w))
        .Dword(static_cast<uint32_t>(h))
        .Word(planes)
        .Word(bits)
        .Dword(compression)
        .Dword(0)
        .Dword(static_cast<uint32_t>(ppm))
        .Dword(static_cast<uint32_t>(ppm))
        .Dword(colours)
        .Dword(0);
}

std::vector<BYTE> Bytes(const ByteBuilder& b)
{
    return std::vector<BYTE>(b.Bytes().begin(), b.Bytes().end());
}

// A 24-bit picture of w x h pixels, bottom-up: the top half red, the bottom half blue.
std::vector<BYTE> RedOverBlue(int w, int h, int32_t ppm = 3780)
{
    ByteBuilder b;
    InfoHeader(b, w, h, 24, 0, ppm);
    const int nPad = (4 - (w * 3) % 4) % 4;
    for (int row = 0; row < h; ++row) { // bottom row first
        const bool bTop = row >= h / 2;
        for (int x = 0; x < w; ++x)
            b.Byte(bTop ? 0 : 255).Byte(0).Byte(bTop ? 255 : 0);
        for (int p = 0; p < nPad; ++p)
            b.Byte(0);
    }
    return Bytes(b);
}

std::vector<BYTE> BmpFile(const std::vector<BYTE>& dib, size_t nHeadSize, size_t nGap = 0)
{
    ByteBuilder b;
    b.Raw("BM").Dword(static_cast<uint32_t>(14 + dib.size() + nGap)).Word(0).Word(0);
    b.Dword(static_cast<uint32_t>(14 + nHeadSize + nGap));
    std::vector<BYTE> file = Bytes(b);
    file.insert(file.end(), dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(nHeadSize));
    file.insert(file.end(), nGap, 0xEE);
    file.insert(file.end(), dib.begin() + static_cast<std::ptrdiff_t>(nHeadSize), dib.end());
    return file;
}

COLORREF PixelOf(const CDibPixels& p, int x, int y)
{
    const BYTE* q =
        p.bgrx.data() + (static_cast<size_t>(y) * static_cast<size_t>(p.nWidth) + static_cast<size_t>(x)) * 4;
    return RGB(q[2], q[1], q[0]);
}

} // namespace

TEST(EmbeddedPicture, BitmapsOfEveryDepthDecodeTopRowFirst)
{
    CDibPixels p;
    const std::vector<BYTE> dib24 = RedOverBlue(3, 2);
    ASSERT_TRUE(DecodeDib(dib24.data(), dib24.size(), p));
    EXPECT_EQ(p.nWidth, 3);
    EXPECT_EQ(p.nHeight, 2);
    EXPECT_EQ(PixelOf(p, 2, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(p, 0, 1), RGB(0, 0, 255));

    // 1 bit, two colours, 3 x 2, bottom-up: rows 101 (bottom) and 010 (top).
    ByteBuilder b1;
    InfoHeader(b1, 3, 2, 1, 2);
    b1.Dword(0x00000000).Dword(0x00FFFFFF); // black, white
    b1.Byte(0xA0).Byte(0).Byte(0).Byte(0).Byte(0x40).Byte(0).Byte(0).Byte(0);
    const std::vector<BYTE> dib1 = Bytes(b1);
    ASSERT_TRUE(DecodeDib(dib1.data(), dib1.size(), p));
    EXPECT_EQ(PixelOf(p, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(p, 1, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(p, 0, 1), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(p, 2, 1), RGB(255, 255, 255));

    // 8 bits, top-down (negative height), three colours; index 7 is past the table: black.
    ByteBuilder b8;
    InfoHeader(b8, 2, -2, 8, 3);
    b8.Dword(0x000000FF).Dword(0x0000FF00).Dword(0x00FF0000);
    b8.Byte(0).Byte(1).Byte(0).Byte(0).Byte(2).Byte(7).Byte(0).Byte(0);
    const std::vector<BYTE> dib8 = Bytes(b8);
    ASSERT_TRUE(DecodeDib(dib8.data(), dib8.size(), p));
    EXPECT_EQ(PixelOf(p, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(p, 1, 0), RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(p, 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(p, 1, 1), RGB(0, 0, 0));

    // Every shorter prefix is refused, and so are headers the reader does not take.
    for (size_t n = 0; n < dib8.size(); ++n)
        EXPECT_FALSE(DecodeDib(dib8.data(), n, p)) << n;
    const std::vector<std::vector<BYTE>> refused = {
        Bytes(InfoHeader(*std::make_unique<ByteBuilder>(), 0, 2, 24)),
        Bytes(InfoHeader(*std::make_unique<ByteBuilder>(), 2, 2, 16)),
        Bytes(InfoHeader(*std::make_unique<ByteBuilder>(), 2, 2, 24, 0, 3780, 1)),
        Bytes(InfoHeader(*std::make_unique<ByteBuilder>(), 2, 2, 24, 0, 3780, 0, 2)),
        Bytes(InfoHeader(*std::make_unique<ByteBuilder>(), 2, 2, 1, 3)),
        Bytes(InfoHeader(*std::make_unique<ByteBuilder>(), 1 << 13, 1 << 13, 1)),
    };
    for (const auto& bytes : refused) {
        std::vector<BYTE> padded = bytes;
        padded.resize(padded.size() + 64, 0);
        EXPECT_FALSE(DecodeDib(padded.data(), padded.size(), p));
    }
}

TEST(EmbeddedPicture, BmpFilesGiveTheirBitmapAndExtent)
{
    const std::vector<BYTE> dib = RedOverBlue(96, 48);
    // The bits may lie after a gap; the bitmap handed on is packed again.
    std::vector<BYTE> got;
    ASSERT_TRUE(DibFromBmpFile(BmpFile(dib, 40, 6), got));
    EXPECT_EQ(got, dib);
    std::vector<BYTE> untouched = {9};
    EXPECT_FALSE(DibFromBmpFile(std::vector<BYTE>(dib.begin(), dib.end()), untouched)); // no "BM"
    std::vector<BYTE> shortFile = BmpFile(dib, 40);
    shortFile.resize(shortFile.size() - 1);
    EXPECT_FALSE(DibFromBmpFile(shortFile, untouched));
    EXPECT_EQ(untouched, std::vector<BYTE>{9});
    // 3780 pixels a metre is 96 dpi: 96 pixels are 25.4 mm.
    const SIZE extent = DibExtentHimetric(dib.data(), dib.size());
    EXPECT_EQ(extent.cx, 2539);
    EXPECT_EQ(extent.cy, 1269);
    // No resolution given: 96 dpi as well.
    const std::vector<BYTE> plain = RedOverBlue(96, 48, 0);
    EXPECT_EQ(DibExtentHimetric(plain.data(), plain.size()).cx, 2540);
}

class EmbeddedPictureAppTest : public LayoutAppTest {};

TEST_F(EmbeddedPictureAppTest, InsertedPictureIsSizedKeptThroughSaveAndDrawn)
{
    const std::vector<BYTE> dib = RedOverBlue(96, 48);
    WriteNativeFile(m_pFolder->Native("WORK/LOGO.BMP"), BmpFile(dib, 40));
    CPrintEMDoc doc;
    ASSERT_TRUE(doc.ReadForms("meisai.MMK", "JYOUHOU.MJK"));
    EXPECT_EQ(InsertPictureObject(&doc, CPoint(-300, 400), m_pFolder->System("WORK/NONE.BMP")), nullptr);
    WriteNativeFile(m_pFolder->Native("WORK/JUNK.BMP"), {'B', 'M', 1, 2, 3});
    EXPECT_EQ(InsertPictureObject(&doc, CPoint(-300, 400), m_pFolder->System("WORK/JUNK.BMP")), nullptr);
    EXPECT_TRUE(doc.m_objects.IsEmpty());
    {
        // A picture smaller than a unit of the layout (3 pixels at 986,820 per metre) still
        // gets an object that can be seen and taken: one unit each way.
        WriteNativeFile(m_pFolder->Native("WORK/DOT.BMP"), BmpFile(RedOverBlue(3, 2, 986820), 40));
        CPrintEMDoc tiny;
        ASSERT_TRUE(tiny.ReadForms("meisai.MMK", "JYOUHOU.MJK"));
        CDrawOleObj* pDot = InsertPictureObject(&tiny, CPoint(10, 10), m_pFolder->System("WORK/DOT.BMP"));
        ASSERT_NE(pDot, nullptr);
        EXPECT_EQ(pDot->m_position, CRect(10, 10, 11, 9));
    }

    CDrawOleObj* pObj = InsertPictureObject(&doc, CPoint(-300, 400), m_pFolder->System("WORK/LOGO.BMP"));
    ASSERT_NE(pObj, nullptr);
    ASSERT_EQ(doc.m_objects.GetCount(), 1);
    // 25.39 mm x 12.69 mm: 100 x 50 units, the bottom below the top.
    EXPECT_EQ(pObj->m_position, CRect(-300, 400, -200, 350));
    EXPECT_EQ(pObj->m_extent, CSize(2539, 1269));
    ASSERT_NE(pObj->m_pClientItem, nullptr);
    EXPECT_FALSE(pObj->m_pClientItem->IsLinked());
    EXPECT_EQ(pObj->m_pClientItem->GetUserTypeName(), "Picture");

    // Saved and opened again: the item's storage comes back byte for byte.
    const CString path = m_pFolder->System("WORK/PICTURE.MMP");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const CCompoundStorage file = ReadLayoutFile(m_pFolder->Native("WORK/PICTURE.MMP"));
    const CCompoundStorage* pSaved = file.FindStorage("Embedding 1");
    ASSERT_NE(pSaved, nullptr);
    EXPECT_TRUE(pSaved->IsSameAs(*pObj->m_pClientItem->GetStorage()));
    CPrintEMDoc again;
    ASSERT_TRUE(again.OnOpenDocument(path));
    ASSERT_EQ(again.m_objects.GetCount(), 1);
    auto* pLoaded = dynamic_cast<CDrawOleObj*>(again.m_objects.GetHead());
    ASSERT_NE(pLoaded, nullptr);
    ASSERT_NE(pLoaded->m_pClientItem, nullptr);
    EXPECT_TRUE(pLoaded->m_pClientItem->GetStorage()->IsSameAs(*pSaved));
    EXPECT_EQ(pLoaded->m_position, pObj->m_position);

    // On a screen: the picture and its frame; without frames only the picture.
    for (BOOL bFrames : {TRUE, FALSE}) {
        CDC dc;
        CBitmap bitmap;
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, 120, 80);
        CBitmap* pOld = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 120, 80, RGB(255, 255, 255));
        CDrawingShared::s_bShowObjectFrames = bFrames;
        pLoaded->DrawItemIn(&dc, CRect(10, 10, 106, 58));
        EXPECT_EQ(dc.GetPixel(50, 20), RGB(255, 0, 0));
        EXPECT_EQ(dc.GetPixel(50, 50), RGB(0, 0, 255));
        EXPECT_EQ(dc.GetPixel(10, 30) == RGB(0, 0, 0), bFrames != FALSE) << bFrames;
        EXPECT_EQ(dc.GetPixel(5, 5), RGB(255, 255, 255));
        dc.SelectObject(pOld);
    }
    CDrawingShared::s_bShowObjectFrames = TRUE;

    // On paper (0.01 inch, y up, 100 dpi here): upright, in m_position, no frame; nothing
    // without data being printed.
    CDC paper;
    CBitmap sheet;
    paper.CreateCompatibleDC(nullptr);
    sheet.CreateCompatibleBitmap(&paper, 400, 400);
    CBitmap* pOld = paper.SelectObject(&sheet);
    paper.FillSolidRect(0, 0, 400, 400, RGB(255, 255, 255));
    paper.m_bPrinting = TRUE;
    paper.SetMapMode(MM_ANISOTROPIC);
    paper.SetViewportExt(100, 100);
    paper.SetWindowExt(100, -100);
    paper.SetWindowOrg(-400, 450);
    ASSERT_TRUE(pLoaded->m_pClientItem->PrintDraw(&paper, pLoaded->m_position));
    paper.SetMapMode(MM_TEXT);
    paper.SetWindowOrg(0, 0);
    // The object covers x 100..200, y 50..100 (device, from the top).
    EXPECT_EQ(paper.GetPixel(150, 60), RGB(255, 0, 0));
    EXPECT_EQ(paper.GetPixel(150, 90), RGB(0, 0, 255));
    EXPECT_EQ(paper.GetPixel(150, 120), RGB(255, 255, 255));
    paper.m_bPrinting = FALSE;
    EXPECT_FALSE(pLoaded->m_pClientItem->PrintDraw(&paper, pLoaded->m_position));
    paper.SelectObject(pOld);
}

TEST(EmbeddedPicture, AnOldExtentOfZeroSizesThatSideInsteadOfDividing)
{
    CDrawOleObj obj(CRect(0, 300, 0, 300));
    auto* pItem = new CDrawItem(nullptr, &obj);
    obj.m_pClientItem = pItem;
    ASSERT_TRUE(pItem->CreateFromStorage(MakePictureItemStorage(RedOverBlue(2, 2), SIZE{5080, 2540})));
    // A stored record with a width extent of 0 but a height: as loaded from a damaged file.
    obj.m_position = CRect(0, 300, 150, 250);
    obj.m_extent = CSize(0, 1270);
    ASSERT_TRUE(pItem->UpdateExtent());
    EXPECT_EQ(obj.m_position, CRect(0, 300, 200, 200)); // width from the extent, height doubled
}
