// GDI throughput: grid cells painted per second into a 1920 x 1080 window buffer, the way
// the estimate grid paints them (background, a font made from the row's LOGFONT, the text
// measured and drawn clipped to the cell), and a whole-screen repaint through an
// off-screen bitmap. Prints medians; never fails on time.
#include "bench/BenchSupport.h"
#include "platform/base/CString.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kColumns = 12;
constexpr int kColumnWidth = kWidth / kColumns;
constexpr int kRowHeight = 22;
constexpr int kRows = kHeight / kRowHeight;

LOGFONT RowFont(int kind)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = kind == 0 ? -16 : -13;
    lf.lfWeight = kind == 1 ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    const CString face = kind == 2 ? "ＭＳ Ｐゴシック"_sj : "ＭＳ 明朝"_sj;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

struct CCellTexts {
    std::vector<CString> texts;
    CCellTexts()
    {
        texts = {"鉄筋コンクリート造"_sj,
                 "1,234,567"_sj,
                 "ｍ2"_sj,
                 "12.50"_sj,
                 "型枠工事（普通合板）"_sj,
                 "3,500"_sj,
                 "式"_sj,
                 "43,750"_sj,
                 "備考"_sj,
                 "見積 No.0012"_sj,
                 "¥98,000"_sj,
                 "共通仮設費"_sj};
    }
};

// One cell as the grid paints it.
void PaintCell(CDC& dc, int row, int col, const CCellTexts& t, const LOGFONT& base, int zoom)
{
    const CRect cell(col * kColumnWidth, row * kRowHeight, (col + 1) * kColumnWidth, (row + 1) * kRowHeight);
    dc.SetBkMode(TRANSPARENT);
    LOGFONT lf = base;
    lf.lfHeight = static_cast<LONG>(lf.lfHeight * zoom / 100.0);
    lf.lfWidth = static_cast<LONG>(lf.lfWidth * zoom / 100.0);
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* pOld = dc.SelectObject(&font);
    const CString& text = t.texts[static_cast<size_t>((row * 7 + col) % t.texts.size())];
    int offset = 2;
    if (col % 3 == 1) // numeric columns are right aligned
        offset = cell.Width() - dc.GetTextExtent(text).cx - 2;
    dc.FillSolidRect(&cell, (row % 5 == 0) ? RGB(230, 240, 255) : RGB(255, 255, 255));
    dc.SetTextColor(RGB(0, 0, 0));
    dc.ExtTextOut(cell.left + offset, cell.top + 3, ETO_CLIPPED, &cell, text, nullptr);
    dc.SelectObject(pOld);
}

template <typename F>
double TimeSeconds(F&& f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const int runs = 7;
    const CCellTexts texts;
    const LOGFONT fonts[3] = {RowFont(0), RowFont(1), RowFont(2)};

    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    window.fill(Qt::white);
    CDC screen;
    if (!screen.AttachDevice(&window)) {
        std::fprintf(stderr, "cannot attach to the buffer\n");
        return 1;
    }

    // 1. Cells straight into the window buffer.
    std::vector<double> cellRates;
    for (int r = 0; r < runs; ++r) {
        int cells = 0;
        const double s = TimeSeconds([&] {
            for (int pass = 0; pass < 3; ++pass)
                for (int row = 0; row < kRows; ++row)
                    for (int col = 0; col < kColumns; ++col, ++cells)
                        PaintCell(screen, row, col, texts, fonts[row % 3], 100);
        });
        cellRates.push_back(cells / s);
    }

    // 2. Text output alone with one font selected.
    std::vector<double> textRates;
    {
        CFont font;
        font.CreateFontIndirect(&fonts[0]);
        CFont* pOld = screen.SelectObject(&font);
        screen.SetBkMode(TRANSPARENT);
        for (int r = 0; r < runs; ++r) {
            int n = 0;
            const double s = TimeSeconds([&] {
                for (int pass = 0; pass < 3; ++pass)
                    for (int row = 0; row < kRows; ++row)
                        for (int col = 0; col < kColumns; ++col, ++n)
                            screen.TextOut(col * kColumnWidth + 2, row * kRowHeight + 3,
                                           texts.texts[static_cast<size_t>(n) % texts.texts.size()]);
            });
            textRates.push_back(n / s);
        }
        screen.SelectObject(pOld);
    }

    // 3. A whole-window repaint through an off-screen bitmap, copied back.
    std::vector<double> repaintMs;
    for (int r = 0; r < runs; ++r) {
        const double s = TimeSeconds([&] {
            CDC mem;
            mem.CreateCompatibleDC(&screen);
            CBitmap bitmap;
            bitmap.CreateCompatibleBitmap(&screen, kWidth, kHeight);
            CBitmap* pOld = mem.SelectObject(&bitmap);
            mem.FillSolidRect(0, 0, kWidth, kHeight, RGB(255, 255, 255));
            for (int row = 0; row < kRows; ++row)
                for (int col = 0; col < kColumns; ++col)
                    PaintCell(mem, row, col, texts, fonts[row % 3], 100);
            screen.BitBlt(0, 0, kWidth, kHeight, &mem, 0, 0, SRCCOPY);
            mem.SelectObject(pOld);
        });
        repaintMs.push_back(s * 1000.0);
    }
    screen.DetachDevice();

    std::printf("bench_gdi: %d x %d buffer, %d x %d cells, median of %d runs\n", kWidth, kHeight, kColumns,
                kRows, runs);
    std::printf("  grid cells (fill + font + measure + clipped text): %.0f cells/s\n", Median(cellRates));
    std::printf("  text output only (one font):                       %.0f texts/s\n", Median(textRates));
    std::printf("  full repaint via memory bitmap (%d cells):         %.2f ms\n", kRows * kColumns,
                Median(repaintMs));
    return 0;
}
