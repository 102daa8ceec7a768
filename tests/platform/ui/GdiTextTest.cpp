// Fonts and text: the height rules of stored fonts, face substitution, extents and
// metrics in logical units, alignment, clipping and DrawText layout.
#include "tests/platform/ui/GdiTestCanvas.h"

#include "platform/base/Cp932.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/FontMapper.h"

#include <QFont>
#include <QPainter>

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A canvas with a Japanese gothic of the given height selected, black on white, no
// background boxes.
struct CTextCanvas : CGdiCanvas {
    CTextCanvas(int w, int h, LONG height, const char* utf8Face = "ＭＳ ゴシック") : CGdiCanvas(w, h)
    {
        LOGFONT lf = MakeLogFont(height, CString::FromUtf8(utf8Face));
        EXPECT_TRUE(font.CreateFontIndirect(&lf));
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
    }
    CFont font;
};

} // namespace

TEST(GdiText, FaceNamesMapToTheInstalledJapaneseFamilies)
{
    EXPECT_EQ(CFontMapper::FamilyForFace("ＭＳ 明朝"_sj), "IPAMincho");
    EXPECT_EQ(CFontMapper::FamilyForFace("MS Mincho"), "IPAMincho");
    EXPECT_EQ(CFontMapper::FamilyForFace("ＭＳ Ｐ明朝"_sj), "IPAPMincho");
    EXPECT_EQ(CFontMapper::FamilyForFace("ＭＳ ゴシック"_sj), "IPAGothic");
    EXPECT_EQ(CFontMapper::FamilyForFace("MS Gothic"), "IPAGothic");
    EXPECT_EQ(CFontMapper::FamilyForFace("ＭＳ Ｐゴシック"_sj), "IPAPGothic");
    EXPECT_EQ(CFontMapper::FamilyForFace("MS PGothic"), "IPAPGothic");
    EXPECT_EQ(CFontMapper::FamilyForFace("MS UI Gothic"), "IPAPGothic");
    EXPECT_EQ(CFontMapper::FamilyForFace("System"), "IPAGothic");
    EXPECT_EQ(CFontMapper::FamilyForFace(""), "IPAGothic");
    EXPECT_EQ(CFontMapper::FamilyForFace("FixedSys"), "IPAGothic");
    EXPECT_EQ(CFontMapper::FamilyForFace("Terminal"), "IPAGothic");
    EXPECT_EQ(CFontMapper::FamilyForFace("No Such Face 123"), "IPAPGothic");
    // A family the font database has is used as it is.
    EXPECT_EQ(CFontMapper::FamilyForFace("IPAMincho"), "IPAMincho");
}

TEST(GdiText, FullWidthCharactersAreTwiceTheHalfWidthOnesInTheGothic)
{
    CTextCanvas c(10, 10, -16);
    const CSize half = c.dc.GetTextExtent("A", 1);
    const CSize full = c.dc.GetTextExtent("あ"_sj);
    const CSize kana = c.dc.GetTextExtent("\xB1", 1); // half-width katakana
    EXPECT_EQ(full.cx, 16);
    EXPECT_EQ(half.cx * 2, full.cx);
    EXPECT_EQ(kana.cx, half.cx);
    EXPECT_EQ(c.dc.GetTextExtent("AAAA", 4).cx, 4 * half.cx); // whole pixels per glyph
    EXPECT_EQ(c.dc.GetTextExtent("漢字ABC"_sj).cx, 2 * full.cx + 3 * half.cx);
    EXPECT_EQ(full.cy, half.cy);
}

// One measure gives the width of every head of a text, as each head measures on its own,
// and how many bytes of whole characters fit: in a proportional face and in a fixed one.
TEST(GdiText, TheExtentsOfATextsHeadsAreThoseOfTheHeadsMeasuredAlone)
{
    for (const char* lpszFace : {"ＭＳ Ｐゴシック", "ＭＳ ゴシック"}) {
        SCOPED_TRACE(lpszFace);
        CTextCanvas c(10, 10, -13, lpszFace);
        const CString strText = "諸経費 Wi-Fi ｶﾅ 1,234"_sj;
        const int n = strText.GetLength();
        std::vector<int> extents(static_cast<size_t>(n));
        int nFit = -1;
        CSize size;
        ASSERT_TRUE(c.dc.GetTextExtentExPoint(strText, n, 1000, &nFit, extents.data(), &size));
        EXPECT_EQ(n, nFit);
        EXPECT_EQ(c.dc.GetTextExtent(strText), size);
        for (int nEnd = 0; nEnd < n;) {
            const int nLength = IsCp932LeadByte(static_cast<BYTE>(strText[nEnd])) ? 2 : 1;
            nEnd += nLength;
            // Both bytes of a double-byte character hold the width after it.
            EXPECT_EQ(c.dc.GetTextExtent(strText.Left(nEnd)).cx, extents[static_cast<size_t>(nEnd - 1)])
                << nEnd;
            EXPECT_EQ(extents[static_cast<size_t>(nEnd - 1)], extents[static_cast<size_t>(nEnd - nLength)]);
        }
        // A width between two heads: the shorter one fits, never half a character.
        const int cxHalf = c.dc.GetTextExtent(strText.Left(4)).cx + 1;
        ASSERT_TRUE(c.dc.GetTextExtentExPoint(strText, n, cxHalf, &nFit, nullptr, nullptr));
        EXPECT_EQ(4, nFit);
    }
}

TEST(GdiText, NegativeHeightIsTheCharacterHeightPositiveTheCellHeight)
{
    CTextCanvas neg(10, 10, -16);
    TEXTMETRIC tm{};
    ASSERT_TRUE(neg.dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_GT(tm.tmInternalLeading, 0);

    CTextCanvas pos(10, 10, 17);
    ASSERT_TRUE(pos.dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, 17);
    EXPECT_LT(tm.tmHeight - tm.tmInternalLeading, 17);

    // 0: a default size that still draws.
    CTextCanvas zero(10, 10, 0);
    ASSERT_TRUE(zero.dc.GetTextMetrics(&tm));
    EXPECT_GE(tm.tmHeight, 14);
    EXPECT_LE(tm.tmHeight, 18);
}

TEST(GdiText, HeightsAndExtentsAreInLogicalUnits)
{
    // An inch-high character in 0.01 inch units is 96 pixels on the screen.
    CTextCanvas c(10, 10, -16);
    c.dc.SetMapMode(MM_LOENGLISH);
    LOGFONT lf = MakeLogFont(-100, "ＭＳ ゴシック"_sj);
    CFont inch;
    inch.CreateFontIndirect(&lf);
    c.dc.SelectObject(&inch);
    TEXTMETRIC tm{};
    c.dc.GetTextMetrics(&tm);
    EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, 100, 1);
    const CSize full = c.dc.GetTextExtent("あ"_sj);
    EXPECT_EQ(full.cx, 100);
    EXPECT_EQ(full.cy, tm.tmHeight);
}

TEST(GdiText, ExtentsDoNotDependOnTheDisplayDensity)
{
    QImage fine(200, 100, QImage::Format_RGB32);
    fine.setDevicePixelRatio(2.0);
    CDC hiDpi;
    ASSERT_TRUE(hiDpi.AttachDevice(&fine));
    CTextCanvas normal(200, 100, -12, "ＭＳ Ｐゴシック");
    hiDpi.SelectObject(&normal.font);
    const CString text = "見積 Estimate 12,345"_sj;
    EXPECT_EQ(hiDpi.GetTextExtent(text), normal.dc.GetTextExtent(text));
    EXPECT_EQ(hiDpi.GetDeviceCaps(LOGPIXELSX), 96);
    RECT box{};
    hiDpi.GetClipBox(&box);
    EXPECT_EQ(CRect(box), CRect(0, 0, 100, 50)); // device-independent pixels
    hiDpi.DetachDevice();
}

TEST(GdiText, WidthOfTheFontNarrowsTheCharacters)
{
    LOGFONT lf = MakeLogFont(-16, "ＭＳ ゴシック"_sj);
    lf.lfWidth = 4;
    CFont narrow;
    narrow.CreateFontIndirect(&lf);
    CGdiCanvas c(10, 10);
    c.dc.SelectObject(&narrow);
    EXPECT_EQ(c.dc.GetTextExtent("AB", 2).cx, 8);
    TEXTMETRIC tm{};
    c.dc.GetTextMetrics(&tm);
    EXPECT_EQ(tm.tmAveCharWidth, 4);
}

TEST(GdiText, PointFontsFollowTheContextResolution)
{
    CFont screen;
    ASSERT_TRUE(screen.CreatePointFont(100, "ＭＳ 明朝"_sj));
    LOGFONT lf{};
    screen.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_STREQ(lf.lfFaceName, "ＭＳ 明朝"_sj);

    CGdiCanvas c(10, 10);
    c.dc.SetMapMode(MM_LOENGLISH);
    CFont logical;
    logical.CreatePointFont(100, "ＭＳ 明朝"_sj, &c.dc);
    logical.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -14); // 13 pixels are 14 hundredths of an inch

    CFont half;
    half.CreatePointFont(50, "ＭＳ 明朝"_sj);
    half.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -7);
}

TEST(GdiText, TextAlignmentPlacesTheReferencePoint)
{
    for (UINT align : {TA_LEFT, TA_RIGHT, TA_CENTER}) {
        CTextCanvas c(200, 60, -16);
        c.dc.SetTextAlign(align | TA_TOP);
        c.dc.TextOut(100, 10, "ABCD"_sj);
        const CRect ink = c.Ink();
        ASSERT_FALSE(ink.IsRectEmpty());
        const int width = c.dc.GetTextExtent("ABCD", 4).cx;
        const int left = align == TA_RIGHT ? 100 - width : align == TA_CENTER ? 100 - width / 2 : 100;
        EXPECT_GE(ink.left, left) << align;
        EXPECT_LE(ink.right, left + width) << align;
        EXPECT_GE(ink.top, 10);
    }
    // Baseline and bottom alignment lift the text above the point.
    CTextCanvas b(100, 60, -16);
    b.dc.SetTextAlign(TA_LEFT | TA_BOTTOM);
    b.dc.TextOut(10, 40, "Ag"_sj);
    EXPECT_LE(b.Ink().bottom, 40);
    EXPECT_GE(b.Ink().top, 40 - 18);
}

TEST(GdiText, UpdateCpMovesTheCurrentPositionByTheExtent)
{
    CTextCanvas c(200, 40, -16);
    c.dc.SetTextAlign(TA_UPDATECP);
    c.dc.MoveTo(5, 5);
    c.dc.TextOut(0, 0, "AB"_sj);
    EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(5 + 16, 5));
}

TEST(GdiText, ExtTextOutClipsToItsRectangleAndFillsItWhenOpaque)
{
    CTextCanvas c(200, 40, -16);
    RECT clip{10, 0, 30, 40};
    c.dc.ExtTextOut(0, 5, ETO_CLIPPED, &clip, "WWWWWWWWWW"_sj, nullptr);
    const CRect ink = c.Ink();
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 30);
    // The clip was only for that call.
    c.dc.TextOut(100, 5, "W"_sj);
    EXPECT_GT(c.Ink().right, 100);

    CTextCanvas o(100, 40, -16);
    o.dc.SetBkColor(RGB(0, 0, 255));
    RECT box{50, 2, 90, 30};
    o.dc.ExtTextOut(52, 4, ETO_OPAQUE, &box, CString(), nullptr);
    EXPECT_EQ(o.Ink(), CRect(50, 2, 90, 30));
    EXPECT_EQ(o.At(60, 20), RGB(0, 0, 255));
}

TEST(GdiText, OpaqueBackgroundFillsTheTextCell)
{
    CTextCanvas c(100, 40, -16);
    c.dc.SetBkMode(OPAQUE);
    c.dc.SetBkColor(RGB(255, 255, 0));
    c.dc.TextOut(10, 5, "A"_sj);
    TEXTMETRIC tm{};
    c.dc.GetTextMetrics(&tm);
    EXPECT_EQ(c.Ink(), CRect(10, 5, 18, 5 + tm.tmHeight));
    EXPECT_GT(c.CountColor(RGB(255, 255, 0)), 0);
}

TEST(GdiText, BackslashShowsAsTheYenSign)
{
    CTextCanvas c(60, 40, -16);
    c.dc.TextOut(4, 4, "\\", 1);
    // The same glyph as the yen sign drawn by Qt with the same font.
    QImage expected(60, 40, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QFont f(QStringLiteral("IPAGothic"));
        f.setPixelSize(16);
        f.setHintingPreference(QFont::PreferVerticalHinting); // as the screen draws
        f.setKerning(false);
        f.setStyleStrategy(QFont::PreferNoShaping);
        QPainter p(&expected);
        p.setFont(f);
        p.setPen(Qt::black);
        TEXTMETRIC tm{};
        c.dc.GetTextMetrics(&tm);
        p.drawText(QPoint(4, 4 + tm.tmAscent), QString(QChar(0x00A5)));
    }
    EXPECT_EQ(c.Image().copy(), expected);
}

// Small Mincho capitals stay whole on the screen: the face's own full hinting broke a "D"
// into "I)" at 13 to 16 pixels. Each glyph's ink is one run of columns, and its edges are
// smoothed with shades of grey.
TEST(GdiText, SmallMinchoCapitalsAreWholeAndSmoothed)
{
    for (LONG height = -12; height >= -16; --height) {
        for (const char* letter : {"D", "B", "P", "R"}) {
            CTextCanvas c(40, 40, height, "ＭＳ 明朝");
            c.dc.TextOut(4, 4, letter, 1);
            const CRect ink = c.Ink();
            ASSERT_FALSE(ink.IsRectEmpty()) << letter << height;
            bool bGrey = false;
            for (int x = ink.left; x < ink.right; ++x) {
                bool bColumn = false;
                for (int y = ink.top; y < ink.bottom; ++y) {
                    const COLORREF px = c.At(x, y);
                    bColumn = bColumn || px != RGB(255, 255, 255);
                    bGrey = bGrey || (px != RGB(255, 255, 255) && px != RGB(0, 0, 0));
                }
                EXPECT_TRUE(bColumn) << letter << " at " << -height << " px: column " << x - ink.left
                                     << " is empty";
            }
            EXPECT_TRUE(bGrey) << letter << height;
        }
    }
}

TEST(GdiText, DrawTextAlignsInsideTheRectangle)
{
    const CString text = "Estimate"_sj;
    RECT rect{20, 10, 180, 50};
    {
        CTextCanvas c(200, 60, -16);
        c.dc.DrawText(text, &rect, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        const CRect ink = c.Ink();
        const int width = c.dc.GetTextExtent(text).cx;
        EXPECT_GE(ink.left, 180 - width);
        EXPECT_LE(ink.right, 180);
        EXPECT_GT(ink.right, 180 - 4);
        // Vertically centred: the cell of the line sits in the middle.
        TEXTMETRIC tm{};
        c.dc.GetTextMetrics(&tm);
        const int top = 10 + (40 - tm.tmHeight) / 2;
        EXPECT_GE(ink.top, top);
        EXPECT_LE(ink.bottom, top + tm.tmHeight);
    }
    {
        CTextCanvas c(200, 60, -16);
        const int h = c.dc.DrawText(text, &rect, DT_CENTER | DT_TOP | DT_SINGLELINE);
        const CRect ink = c.Ink();
        const int width = c.dc.GetTextExtent(text).cx;
        EXPECT_GE(ink.left, 20 + (160 - width) / 2);
        EXPECT_LE(ink.right, 20 + (160 - width) / 2 + width);
        TEXTMETRIC tm{};
        c.dc.GetTextMetrics(&tm);
        EXPECT_EQ(h, tm.tmHeight);
        EXPECT_GE(ink.top, 10);
    }
}

TEST(GdiText, DrawTextCalcRectMeasuresPrefixesTabsAndWrappedLines)
{
    CTextCanvas c(10, 10, -16);
    TEXTMETRIC tm{};
    c.dc.GetTextMetrics(&tm);

    RECT r{5, 5, 5, 5};
    int h = c.dc.DrawText("&File"_sj, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.right - r.left, c.dc.GetTextExtent("File", 4).cx); // the & is not shown
    EXPECT_EQ(r.bottom - r.top, tm.tmHeight);
    EXPECT_EQ(h, tm.tmHeight);

    RECT amp{0, 0, 0, 0};
    c.dc.DrawText("A&&B"_sj, &amp, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(amp.right, c.dc.GetTextExtent("A&B", 3).cx);
    RECT raw{0, 0, 0, 0};
    c.dc.DrawText("A&&B"_sj, &raw, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(raw.right, c.dc.GetTextExtent("A&&B", 4).cx);

    RECT tab{0, 0, 0, 0};
    c.dc.DrawText("A\tB"_sj, &tab, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(tab.right, 8 * tm.tmAveCharWidth + c.dc.GetTextExtent("B", 1).cx);

    // Three words of four half-width characters in a box that holds one word per line.
    RECT wrap{0, 0, 40, 0};
    h = c.dc.DrawText("AAAA BBBB CCCC"_sj, &wrap, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(h, 3 * tm.tmHeight);
    EXPECT_EQ(wrap.bottom, 3 * tm.tmHeight);
    EXPECT_EQ(wrap.right, 32);

    // A word longer than the line is not cut: it runs over and widens the rectangle.
    RECT longWord{0, 0, 40, 0};
    h = c.dc.DrawText("ABCDEFGHIJ KL"_sj, &longWord, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(h, 2 * tm.tmHeight);
    EXPECT_EQ(longWord.right, 80);

    // Japanese text breaks between any two characters.
    RECT jp{0, 0, 40, 0};
    h = c.dc.DrawText("あいうえおかきく"_sj, &jp, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(h, 4 * tm.tmHeight);

    // Explicit line breaks.
    RECT lines{0, 0, 200, 0};
    h = c.dc.DrawText("A\r\nBB\nC"_sj, &lines, DT_CALCRECT);
    EXPECT_EQ(h, 3 * tm.tmHeight);
}

TEST(GdiText, DrawTextEndEllipsisKeepsTheTextInsideTheBox)
{
    CTextCanvas c(200, 40, -16);
    RECT r{0, 0, 60, 20};
    c.dc.DrawText("ABCDEFGHIJKLMN"_sj, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(c.Ink().right, 60);
    EXPECT_GT(c.Ink().right, 40);
}

TEST(GdiText, EscapementTurnsTheText)
{
    LOGFONT lf = MakeLogFont(-16, "ＭＳ ゴシック"_sj);
    lf.lfEscapement = 900; // upward
    CFont up;
    up.CreateFontIndirect(&lf);
    CGdiCanvas c(100, 120);
    c.dc.SelectObject(&up);
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.TextOut(40, 100, "ABCDEF"_sj);
    const CRect ink = c.Ink();
    EXPECT_GT(ink.Height(), 2 * ink.Width());
    EXPECT_LE(ink.bottom, 101);
}

TEST(GdiText, FontFamiliesAreEnumeratedForJapaneseOnce)
{
    CGdiCanvas c(4, 4);
    std::vector<CString> faces;
    std::set<int> charsets;
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfCharSet = DEFAULT_CHARSET;
    struct CCollect {
        std::vector<CString>* faces;
        std::set<int>* charsets;
    } collect{&faces, &charsets};
    const int last = c.dc.EnumFontFamiliesEx(
        &lf,
        [](const LOGFONT* plf, const TEXTMETRIC*, DWORD type, LPARAM lParam) -> int {
            auto* out = reinterpret_cast<CCollect*>(lParam);
            EXPECT_EQ(type, TRUETYPE_FONTTYPE);
            out->faces->push_back(plf->lfFaceName);
            out->charsets->insert(plf->lfCharSet);
            return 1;
        },
        reinterpret_cast<LPARAM>(&collect));
    EXPECT_EQ(last, 1);
    auto has = [&](const CString& f) { return std::find(faces.begin(), faces.end(), f) != faces.end(); };
    EXPECT_TRUE(has("ＭＳ 明朝"_sj));
    EXPECT_TRUE(has("ＭＳ Ｐゴシック"_sj));
    EXPECT_TRUE(has("IPAGothic"));
    EXPECT_EQ(charsets.count(MAC_CHARSET), 0u);
    EXPECT_EQ(std::set<CString>(faces.begin(), faces.end()).size(), faces.size());

    // A callback returning 0 stops the walk at once.
    int calls = 0;
    EXPECT_EQ(c.dc.EnumFontFamiliesEx(
                  &lf,
                  [](const LOGFONT*, const TEXTMETRIC*, DWORD, LPARAM p) -> int {
                      ++*reinterpret_cast<int*>(p);
                      return 0;
                  },
                  reinterpret_cast<LPARAM>(&calls)),
              0);
    EXPECT_EQ(calls, 1);
}

TEST(GdiText, StockFontsAndTheTextFace)
{
    CGdiCanvas c(4, 4);
    CString face;
    c.dc.GetTextFace(face);
    EXPECT_EQ(face, "System"); // the initial font of a context
    LOGFONT lf{};
    c.dc.GetCurrentFont()->GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, 18);
    c.dc.SelectStockObject(DEFAULT_GUI_FONT);
    c.dc.GetTextFace(face);
    EXPECT_EQ(face, "ＭＳ Ｐゴシック"_sj);
    TEXTMETRIC tm{};
    c.dc.GetTextMetrics(&tm);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12);
    EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
}

TEST(GdiText, EachNewFontIsRealisedAfreshWhenTheLastOneWasDeleted)
{
    // Fonts made and deleted per cell, as the grids do: a new font may take the place in
    // memory of the one before and must still be measured with its own face.
    CGdiCanvas c(10, 10);
    int widths[2] = {};
    const char* faces[2] = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック"};
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 2; ++i) {
            LOGFONT lf = MakeLogFont(-16, CString::FromUtf8(faces[i]));
            CFont font;
            font.CreateFontIndirect(&lf);
            CFont* pOld = c.dc.SelectObject(&font);
            const int w = c.dc.GetTextExtent("ABCABC", 6).cx;
            c.dc.SelectObject(pOld);
            if (round == 0)
                widths[i] = w;
            EXPECT_EQ(w, widths[i]) << faces[i];
        }
    }
    EXPECT_EQ(widths[0], 48);
    EXPECT_NE(widths[0], widths[1]);
}

namespace {

// A canvas striped column by column and row by row, so that a pixel put back wrongly
// shows; black text, transparent background.
struct CStripedCanvas : CGdiCanvas {
    CStripedCanvas(const LOGFONT& lf) : CGdiCanvas(kWidth, kHeight)
    {
        for (int x = 0; x < kWidth; ++x)
            dc.FillSolidRect(x, 0, 1, kHeight, RGB((x * 37) % 256, 160 + x % 90, (x * 11) % 256));
        for (int y = 0; y < kHeight; y += 5)
            dc.FillSolidRect(0, y, kWidth, 1, RGB(250, (y * 29) % 256, 40));
        EXPECT_TRUE(font.CreateFontIndirect(&lf));
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(20, 0, 90));
    }
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 70;
    CFont font;
};

} // namespace

// Text clipped to a rectangle is the text drawn without one inside the rectangle, and
// nothing at all outside it, whichever glyphs the rectangle cuts, leaves out or holds
// whole: for faces, sizes, weights, slants, alignments, and with the context's own clip.
TEST(GdiText, ClippedTextIsTheUnclippedTextInsideItsRectangleAndNothingOutside)
{
    struct CFace {
        const char* face;
        LONG height;
        LONG weight;
        BYTE italic;
    };
    const CFace faces[] = {{"ＭＳ ゴシック", -9, FW_NORMAL, 0}, {"ＭＳ ゴシック", -12, FW_NORMAL, 0},
                           {"ＭＳ 明朝", -16, FW_NORMAL, 0},    {"ＭＳ Ｐゴシック", -13, FW_BOLD, 0},
                           {"ＭＳ 明朝", -21, FW_NORMAL, 1},    {"ＭＳ ゴシック", -40, FW_BOLD, 1},
                           {"ＭＳ 明朝", -64, FW_BOLD, 0}};
    const CString texts[] = {"123"_sj, "Wgjy|"_sj, "見積書ABC"_sj, "\\100-"_sj};
    const RECT clips[] = {{22, 12, 27, 30},  {15, 5, 40, 14},   {30, 0, 31, 70}, {0, 0, 160, 70},
                          {120, 0, 140, 70}, {-5, -5, 25, 200}, {26, 20, 60, 22}};
    const UINT aligns[] = {TA_LEFT | TA_TOP, TA_CENTER | TA_TOP, TA_RIGHT | TA_BASELINE};
    for (const CFace& face : faces)
        for (const CString& text : texts)
            for (const RECT& clip : clips)
                for (UINT align : aligns)
                    for (bool bRegion : {false, true}) {
                        LOGFONT lf = MakeLogFont(face.height, CString::FromUtf8(face.face), face.weight);
                        lf.lfItalic = face.italic;
                        CStripedCanvas plain(lf), whole(lf), clipped(lf);
                        CRgn region;
                        if (bRegion) {
                            // Two bands, as a repaint after a drag has.
                            CRgn lower;
                            region.CreateRectRgn(0, 0, 160, 15);
                            lower.CreateRectRgn(20, 25, 60, 70);
                            region.CombineRgn(&region, &lower, RGN_OR);
                            whole.dc.SelectClipRgn(&region);
                            clipped.dc.SelectClipRgn(&region);
                        }
                        const int x = align & TA_RIGHT ? 60 : 24;
                        const int y = align & TA_BASELINE ? 40 : 10;
                        for (CStripedCanvas* c : {&whole, &clipped})
                            c->dc.SetTextAlign(align);
                        whole.dc.ExtTextOut(x, y, 0, nullptr, text, nullptr);
                        clipped.dc.ExtTextOut(x, y, ETO_CLIPPED, &clip, text, nullptr);
                        ASSERT_NE(whole.Image(), plain.Image()) << "some of the text shows";
                        int nWrong = 0;
                        CPoint first(-1, -1);
                        for (int py = 0; py < CStripedCanvas::kHeight; ++py)
                            for (int px = 0; px < CStripedCanvas::kWidth; ++px) {
                                const bool bInside =
                                    px >= clip.left && px < clip.right && py >= clip.top && py < clip.bottom;
                                const COLORREF want = bInside ? whole.At(px, py) : plain.At(px, py);
                                if (clipped.At(px, py) != want && nWrong++ == 0)
                                    first = CPoint(px, py);
                            }
                        EXPECT_EQ(nWrong, 0) << face.face << " " << face.height << " text " << text.ToUtf8()
                                             << " clip " << clip.left << "," << clip.top << "," << clip.right
                                             << "," << clip.bottom << " align " << align << " region "
                                             << bRegion << " first at " << first.x << "," << first.y;
                    }
}
