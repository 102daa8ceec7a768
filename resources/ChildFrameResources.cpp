// The tool bars of the document windows and the pictures of the subject tree. The pictures
// are small and simple (arrows, sheets, folders, letters), so they are drawn here as XPM
// text rather than kept as image files.
#include "resources/ChildFrameIds.h"

#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinDefs.h"
#include "resources/ResourceIds.h"

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

// One picture as XPM characters. ' ' is the background (transparent on the tool bars,
// white on the tree pictures, whose white is their mask colour); the other characters are
// the colours of the palette below.
class CGlyph {
public:
    CGlyph(int cx, int cy) : m_cx(cx), m_cy(cy), m_rows(static_cast<size_t>(cy), std::string(cx, ' ')) {}

    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    const std::vector<std::string>& Rows() const { return m_rows; }

    void Set(int x, int y, char ch)
    {
        if (x >= 0 && y >= 0 && x < m_cx && y < m_cy)
            m_rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = ch;
    }
    // Right and bottom edges exclusive, as rectangles are.
    void Fill(int x1, int y1, int x2, int y2, char ch)
    {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                Set(x, y, ch);
    }
    void Frame(int x1, int y1, int x2, int y2, char ch)
    {
        HLine(x1, x2, y1, ch);
        HLine(x1, x2, y2 - 1, ch);
        VLine(x1, y1, y2, ch);
        VLine(x2 - 1, y1, y2, ch);
    }
    void HLine(int x1, int x2, int y, char ch) { Fill(x1, y, x2, y + 1, ch); }
    void VLine(int x, int y1, int y2, char ch) { Fill(x, y1, x + 1, y2, ch); }
    void Line(int x1, int y1, int x2, int y2, char ch)
    {
        const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
        const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Set(x1, y1, ch);
            if (x1 == x2 && y1 == y2)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x1 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y1 += sy;
            }
        }
    }
    // Copies a drawn pattern in with its top-left corner at (x, y); blanks leave what is
    // there.
    void Stamp(int x, int y, std::initializer_list<const char*> rows)
    {
        int row = 0;
        for (const char* line : rows) {
            for (int col = 0; line[col] != '\0'; ++col)
                if (line[col] != ' ')
                    Set(x + col, y + row, line[col]);
            ++row;
        }
    }
    // Triangles pointing right, left, up or down, filled, with the point at (x, y).
    void ArrowRight(int x, int y, int size, char ch)
    {
        for (int i = 0; i < size; ++i)
            VLine(x - i, y - i, y + i + 1, ch);
    }
    void ArrowLeft(int x, int y, int size, char ch)
    {
        for (int i = 0; i < size; ++i)
            VLine(x + i, y - i, y + i + 1, ch);
    }
    void ArrowUp(int x, int y, int size, char ch)
    {
        for (int i = 0; i < size; ++i)
            HLine(x - i, x + i + 1, y + i, ch);
    }
    void ArrowDown(int x, int y, int size, char ch)
    {
        for (int i = 0; i < size; ++i)
            HLine(x - i, x + i + 1, y - i, ch);
    }
    // Another picture copied in beside the others (the tool bars' strips).
    void Paste(const CGlyph& other, int x0, int y0)
    {
        for (int y = 0; y < other.m_cy; ++y)
            for (int x = 0; x < other.m_cx; ++x)
                if (other.m_rows[static_cast<size_t>(y)][static_cast<size_t>(x)] != ' ')
                    Set(x0 + x, y0 + y, other.m_rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
    }

private:
    int m_cx;
    int m_cy;
    std::vector<std::string> m_rows;
};

// An XPM image kept alive for the life of the program: the registry keeps only the
// pointer to its lines.
class CXpmLines {
public:
    CXpmLines(const CGlyph& glyph, const char* lpszBackground)
    {
        static const char* const kPalette[] = {
            ". c #000000", // black
            "# c #808080", // dark grey
            "o c #C0C0C0", // light grey
            "w c #F8F8F8", // paper (not the tree's mask white)
            "r c #C00000", // red
            "R c #FF6060", // light red
            "b c #0030C0", // blue
            "B c #80A8FF", // light blue
            "g c #008000", // green
            "G c #70D070", // light green
            "y c #E0B000", // dark yellow
            "Y c #FFE060", // yellow
            "m c #A000A0", // purple
            "M c #E090E0", // light purple
            "n c #000080", // navy
        };
        const int nColours = static_cast<int>(sizeof(kPalette) / sizeof(kPalette[0])) + 1;
        m_lines.push_back(std::to_string(glyph.Width()) + " " + std::to_string(glyph.Height()) + " " +
                          std::to_string(nColours) + " 1");
        m_lines.push_back(std::string("  c ") + lpszBackground);
        for (const char* entry : kPalette)
            m_lines.push_back(entry);
        for (const std::string& row : glyph.Rows())
            m_lines.push_back(row);
        for (const std::string& line : m_lines)
            m_pointers.push_back(line.c_str());
    }
    CXpmLines(const CXpmLines&) = delete;
    CXpmLines& operator=(const CXpmLines&) = delete;

    const char* const* Lines() const { return m_pointers.data(); }

private:
    std::vector<std::string> m_lines;
    std::vector<const char*> m_pointers;
};

constexpr int kButtonCx = 16;
constexpr int kButtonCy = 15;

// ---- small parts the pictures share ----------------------------------------------------------

// A sheet of paper with a folded corner, 10 x 13 at (x, y).
void Sheet(CGlyph& g, int x, int y)
{
    g.Fill(x + 1, y + 1, x + 9, y + 12, 'w');
    g.HLine(x, x + 7, y, '.');
    g.VLine(x, y, y + 13, '.');
    g.HLine(x, x + 10, y + 12, '.');
    g.VLine(x + 9, y + 3, y + 13, '.');
    g.Line(x + 7, y, x + 9, y + 2, '.');
    g.Set(x + 7, y + 1, '#');
    g.Set(x + 7, y + 2, '#');
    g.Set(x + 8, y + 2, '#');
}

// A closed folder (open: its front tilted) in a colour pair (dark, light), 14 x 11.
void Folder(CGlyph& g, int x, int y, char dark, char light, bool bOpen)
{
    g.HLine(x + 1, x + 6, y, '.');
    g.HLine(x, x + 13, y + 2, '.');
    g.VLine(x, y + 1, y + 11, '.');
    g.Set(x + 6, y + 1, '.');
    g.Fill(x + 1, y + 1, x + 6, y + 2, light);
    if (!bOpen) {
        g.Fill(x + 1, y + 3, x + 13, y + 10, light);
        g.HLine(x + 1, x + 13, y + 3, 'w');
        g.VLine(x + 13, y + 2, y + 11, '.');
        g.HLine(x, x + 14, y + 10, '.');
        g.HLine(x + 1, x + 13, y + 9, dark);
        return;
    }
    g.Fill(x + 1, y + 3, x + 12, y + 5, dark);
    g.VLine(x + 12, y + 2, y + 5, '.');
    // The front flap, slanted down to the right.
    for (int row = 0; row < 6; ++row) {
        const int y0 = y + 5 + row;
        g.HLine(x + 1 + (5 - row) / 2, x + 15 - row / 2, y0, light);
    }
    g.Line(x + 3, y + 5, x + 15, y + 5, '.');
    g.Line(x + 15, y + 5, x + 12, y + 10, '.');
    g.HLine(x, x + 13, y + 10, '.');
}

// ---- the estimate bar (143) and the parts bar (145) -------------------------------------------

CGlyph SubjectMenuGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    // Headings at three levels, each a coloured mark and a line of text.
    g.Fill(1, 2, 4, 5, 'r');
    g.HLine(5, 14, 3, '.');
    g.Fill(4, 7, 7, 10, 'g');
    g.HLine(8, 14, 8, '.');
    g.Fill(7, 11, 10, 14, 'b');
    g.HLine(11, 15, 12, '.');
    g.VLine(2, 5, 9, '#');
    g.HLine(2, 4, 8, '#');
    g.VLine(5, 10, 13, '#');
    g.HLine(5, 7, 12, '#');
    return g;
}

CGlyph TotalMenuGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Stamp(3, 2,
            {"..........", ".        .", " .        ", "  .       ", "   .      ", "    .     ", "   .      ",
             "  .       ", " .        ", ".        .", ".........."});
    g.HLine(4, 11, 2, '.');
    return g;
}

CGlyph InformationGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Sheet(g, 2, 1);
    for (int y : {4, 6, 8, 10})
        g.HLine(4, 9, y, 'b');
    // A pencil writing on it.
    g.Line(8, 12, 14, 6, 'y');
    g.Line(9, 12, 14, 7, 'y');
    g.Set(8, 13, '.');
    return g;
}

CGlyph PartsFileGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Folder(g, 0, 3, 'y', 'Y', false);
    // Two arrows: one file for another.
    g.HLine(9, 14, 1, 'g');
    g.ArrowRight(15, 1, 2, 'g');
    return g;
}

CGlyph IndentGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    for (int y : {2, 12})
        g.HLine(1, 15, y, '.');
    for (int y : {5, 7, 9})
        g.HLine(7, 15, y, '.');
    g.HLine(1, 4, 7, 'b');
    g.ArrowRight(5, 7, 3, 'b');
    return g;
}

CGlyph SortGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.VLine(3, 1, 11, 'b');
    g.ArrowDown(3, 13, 3, 'b');
    g.HLine(7, 15, 2, '.');
    g.HLine(7, 13, 5, '.');
    g.HLine(7, 11, 8, '.');
    g.HLine(7, 9, 11, '.');
    return g;
}

CGlyph RateGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Frame(2, 2, 6, 6, '.');
    g.Frame(9, 9, 13, 13, '.');
    g.Line(12, 1, 3, 13, '.');
    g.Line(13, 1, 4, 13, '.');
    return g;
}

CGlyph AddGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Frame(1, 1, 15, 14, '#');
    g.Fill(7, 3, 9, 12, 'b');
    g.Fill(3, 6, 13, 8, 'b');
    return g;
}

CGlyph BlankGlyph()
{
    return CGlyph(kButtonCx, kButtonCy);
}

CGlyph RangeSetGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Fill(1, 8, 15, 14, 'w');
    g.Frame(1, 8, 15, 14, '.');
    g.HLine(8, 13, 11, '.');
    g.VLine(8, 1, 5, 'g');
    g.ArrowDown(8, 7, 3, 'g');
    return g;
}

CGlyph RangeClearGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Fill(1, 8, 15, 14, 'w');
    g.Frame(1, 8, 15, 14, '.');
    g.Line(4, 1, 10, 7, 'r');
    g.Line(5, 1, 11, 7, 'r');
    g.Line(10, 1, 4, 7, 'r');
    g.Line(11, 1, 5, 7, 'r');
    return g;
}

// ---- the estimate page bar (158) -------------------------------------------------------------

CGlyph PagePrevGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Sheet(g, 5, 1);
    g.ArrowLeft(1, 7, 4, 'b');
    return g;
}

CGlyph PageNextGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Sheet(g, 1, 1);
    g.ArrowRight(14, 7, 4, 'b');
    return g;
}

CGlyph PageSelectGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Sheet(g, 1, 1);
    // A number sign on the sheet.
    g.VLine(4, 4, 11, 'b');
    g.VLine(7, 4, 11, 'b');
    g.HLine(2, 10, 6, 'b');
    g.HLine(2, 10, 9, 'b');
    g.ArrowLeft(11, 7, 4, 'r');
    return g;
}

CGlyph PageInsertGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Sheet(g, 1, 1);
    g.Fill(11, 3, 13, 11, 'g');
    g.Fill(8, 6, 16, 8, 'g');
    return g;
}

CGlyph PageFeedGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Sheet(g, 1, 1);
    g.VLine(13, 1, 9, 'b');
    g.ArrowDown(13, 13, 4, 'b');
    return g;
}

CGlyph SummaryGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Fill(1, 2, 15, 13, 'w');
    g.Fill(1, 2, 15, 5, 'B');
    g.Frame(1, 2, 15, 13, '.');
    for (int y : {5, 8, 10})
        g.HLine(1, 15, y, '#');
    g.VLine(6, 2, 13, '#');
    g.VLine(10, 2, 13, '#');
    g.Frame(1, 2, 15, 13, '.');
    return g;
}

CGlyph PageAlignGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Sheet(g, 0, 1);
    Sheet(g, 6, 1);
    g.HLine(0, 16, 4, 'r');
    return g;
}

// ---- the print tool bar (187) ----------------------------------------------------------------

CGlyph DrawSelectGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Stamp(4, 1,
            {".", "..", ".w.", ".ww.", ".www.", ".wwww.", ".wwwww.", ".wwww...", ".w.ww.", "..  .w.",
             ".   .w.", "     .w.", "     ..."});
    return g;
}

// Letters of the print bars, 7 wide and 9 high.
void LetterT(CGlyph& g, int x, int y, char ch)
{
    g.Fill(x, y, x + 7, y + 2, ch);
    g.Fill(x + 2, y, x + 5, y + 9, ch);
}

CGlyph DrawTextGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    LetterT(g, 4, 3, '.');
    return g;
}

void Table(CGlyph& g, int x1, int y1, int x2, int y2)
{
    g.Fill(x1, y1, x2, y2, 'w');
    g.Frame(x1, y1, x2, y2, '.');
    for (int y = y1 + 3; y < y2 - 1; y += 3)
        g.HLine(x1, x2, y, '.');
    g.VLine((x1 + x2) / 2, y1, y2, '.');
}

CGlyph DrawTableGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Table(g, 1, 1, 15, 14);
    return g;
}

CGlyph DrawRectGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Frame(2, 3, 14, 12, '.');
    return g;
}

CGlyph DrawLineGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Line(2, 12, 13, 2, '.');
    return g;
}

CGlyph LineAddGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Table(g, 1, 1, 11, 11);
    g.Fill(12, 7, 14, 15, 'g');
    g.Fill(9, 10, 16, 12, 'g');
    return g;
}

CGlyph LineDeleteGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    Table(g, 1, 1, 11, 11);
    g.Fill(9, 11, 16, 13, 'r');
    return g;
}

CGlyph PrintLimitGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    for (int i = 1; i < 15; i += 2) {
        g.Set(i, 1, 'r');
        g.Set(i, 13, 'r');
    }
    for (int j = 1; j < 14; j += 2) {
        g.Set(1, j, 'r');
        g.Set(14, j, 'r');
    }
    return g;
}

CGlyph GridGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    for (int y = 1; y < 15; y += 3)
        for (int x = 1; x < 16; x += 3)
            g.Set(x, y, '.');
    return g;
}

CGlyph RowHeightGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.HLine(1, 15, 1, '.');
    g.HLine(1, 15, 13, '.');
    g.VLine(8, 4, 11, 'b');
    g.ArrowUp(8, 2, 3, 'b');
    g.ArrowDown(8, 12, 3, 'b');
    return g;
}

CGlyph ItemWidthGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.VLine(1, 1, 14, '.');
    g.VLine(14, 1, 14, '.');
    g.HLine(4, 12, 7, 'b');
    g.ArrowLeft(2, 7, 3, 'b');
    g.ArrowRight(13, 7, 3, 'b');
    return g;
}

CGlyph BorderGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Fill(1, 1, 15, 14, 'w');
    g.Frame(1, 1, 15, 14, '.');
    g.Frame(2, 2, 14, 13, '.');
    g.HLine(2, 14, 7, '#');
    g.VLine(8, 2, 13, '#');
    return g;
}

CGlyph FillGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Frame(1, 1, 15, 14, '.');
    for (int d = -12; d < 14; d += 3)
        for (int x = 2; x < 14; ++x) {
            const int y = x + d;
            if (y >= 2 && y < 13)
                g.Set(x, y, '#');
        }
    return g;
}

// ---- the print-edit bar (252) ----------------------------------------------------------------

CGlyph BoldGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Stamp(4, 2, {"......", ".. ...", "..  ..", ".. ...", ".....", ".. ...", "..  ..", ".. ...", "......"});
    return g;
}

CGlyph ItalicGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Stamp(
        5, 2,
        {"  .....", "    .. ", "    .. ", "   ..  ", "   ..  ", "   ..  ", "  ..   ", "  ..   ", "......."});
    return g;
}

CGlyph UnderlineGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Stamp(4, 1, {"..   ..", "..   ..", "..   ..", "..   ..", "..   ..", "..   ..", " ..... "});
    g.HLine(3, 12, 10, '.');
    g.HLine(3, 12, 11, '.');
    return g;
}

CGlyph TextColourGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Stamp(4, 1, {"   .   ", "  ...  ", "  . .  ", " ..  ..", " ......", "..   ..", "..   .."});
    g.Fill(2, 10, 14, 14, 'r');
    return g;
}

CGlyph PaperAlignGlyph(int nWhere)
{
    CGlyph g(kButtonCx, kButtonCy);
    g.Fill(2, 1, 14, 14, 'w');
    g.Frame(2, 1, 14, 14, '#');
    const int x = nWhere == 0 ? 3 : nWhere == 1 ? 6 : 9;
    g.Fill(x, 5, x + 4, 10, 'b');
    return g;
}

CGlyph TextAlignGlyph(int nWhere)
{
    CGlyph g(kButtonCx, kButtonCy);
    const int widths[] = {12, 8, 12, 6, 10};
    int y = 2;
    for (int w : widths) {
        const int x = nWhere == 0 ? 2 : nWhere == 1 ? 8 - w / 2 : 14 - w;
        g.HLine(x, x + w, y, '.');
        y += 2;
    }
    return g;
}

// Elements aligned on a red edge: 0 left, 1 right, 2 top, 3 bottom.
CGlyph ElementAlignGlyph(int nEdge)
{
    CGlyph g(kButtonCx, kButtonCy);
    if (nEdge < 2) {
        const int edge = nEdge == 0 ? 1 : 14;
        g.VLine(edge, 0, 15, 'r');
        const int x1 = nEdge == 0 ? 3 : 13 - 9;
        const int x2 = nEdge == 0 ? 3 : 13 - 6;
        g.Fill(x1, 2, x1 + 10 - 1, 6, 'B');
        g.Frame(x1, 2, x1 + 10 - 1, 6, 'b');
        g.Fill(x2, 8, x2 + 7, 12, 'B');
        g.Frame(x2, 8, x2 + 7, 12, 'b');
        return g;
    }
    const int edge = nEdge == 2 ? 1 : 13;
    g.HLine(0, 16, edge, 'r');
    const int y1 = nEdge == 2 ? 3 : 12 - 9;
    const int y2 = nEdge == 2 ? 3 : 12 - 6;
    g.Fill(2, y1, 6, y1 + 9, 'B');
    g.Frame(2, y1, 6, y1 + 9, 'b');
    g.Fill(9, y2, 13, y2 + 6, 'B');
    g.Frame(9, y2, 13, y2 + 6, 'b');
    return g;
}

CGlyph LineSpacingGlyph()
{
    CGlyph g(kButtonCx, kButtonCy);
    for (int y : {2, 7, 12})
        g.HLine(6, 15, y, '.');
    g.VLine(2, 3, 12, 'b');
    g.ArrowUp(2, 1, 2, 'b');
    g.ArrowDown(2, 13, 2, 'b');
    return g;
}

// ---- the subject tree (218 to 227) ----------------------------------------------------------

CGlyph EstimateSheetGlyph(bool bSelected)
{
    CGlyph g(16, 16);
    Sheet(g, 3, 1);
    for (int y : {5, 7, 9, 11})
        g.HLine(5, 10, y, bSelected ? 'r' : 'b');
    if (bSelected) {
        g.Line(9, 14, 15, 8, 'y');
        g.Line(10, 14, 15, 9, 'y');
        g.Set(9, 15, '.');
    }
    return g;
}

CGlyph SubjectFolderGlyph(char dark, char light, bool bSelected)
{
    CGlyph g(16, 16);
    Folder(g, 0, 3, dark, light, bSelected);
    return g;
}

// ---- registration ---------------------------------------------------------------------------

// The pictures live as long as the program: the registry keeps pointers to their lines.
std::vector<std::unique_ptr<CXpmLines>>& KeptImages()
{
    static std::vector<std::unique_ptr<CXpmLines>> s_images;
    return s_images;
}

CImageResource KeepXpm(const CGlyph& glyph, const char* lpszBackground)
{
    KeptImages().push_back(std::make_unique<CXpmLines>(glyph, lpszBackground));
    return ImageFromXpm(KeptImages().back()->Lines());
}

struct CButtonPicture {
    UINT nID;
    CGlyph (*pfnGlyph)();
};

// A tool bar from its buttons in order (ID_SEPARATOR for a gap) with their pictures side
// by side, separators left out.
void RegisterBar(UINT nIDResource, std::initializer_list<CButtonPicture> buttons)
{
    int nPictures = 0;
    for (const CButtonPicture& b : buttons)
        if (b.nID != ID_SEPARATOR)
            ++nPictures;
    CGlyph strip(kButtonCx * nPictures, kButtonCy);
    CToolBarResource bar;
    bar.cx = kButtonCx;
    bar.cy = kButtonCy;
    int nIndex = 0;
    for (const CButtonPicture& b : buttons) {
        bar.buttons.push_back(b.nID);
        if (b.nID == ID_SEPARATOR)
            continue;
        strip.Paste(b.pfnGlyph(), kButtonCx * nIndex, 0);
        ++nIndex;
    }
    bar.image = KeepXpm(strip, "None");
    RegisterToolBarResource(nIDResource, bar);
}

constexpr CButtonPicture Gap{ID_SEPARATOR, nullptr};

void RegisterAll()
{
    RegisterBar(IDR_ESTIMATEBAR, {{ID_SUBJECT_MENU, SubjectMenuGlyph},
                                  {ID_TOTAL_MENU, TotalMenuGlyph},
                                  {ID_INFORMATION_INPUT, InformationGlyph},
                                  Gap,
                                  {ID_PARTS_FILE_SWITCH, PartsFileGlyph},
                                  Gap,
                                  {ID_INDENT, IndentGlyph},
                                  {ID_SORT, SortGlyph},
                                  {ID_RATE_CHANGE, RateGlyph},
                                  Gap,
                                  {ID_RANGE_ADD_BAR, AddGlyph},
                                  Gap,
                                  {IDC_RANGE_TOTAL, BlankGlyph},
                                  Gap,
                                  {ID_RANGE_SET_BAR, RangeSetGlyph},
                                  {ID_RANGE_CLEAR_BAR, RangeClearGlyph}});
    RegisterBar(IDR_PARTSBAR, {{ID_SORT, SortGlyph},
                               {ID_RATE_CHANGE, RateGlyph},
                               Gap,
                               {ID_RANGE_ADD_BAR, AddGlyph},
                               Gap,
                               {IDC_RANGE_TOTAL, BlankGlyph},
                               Gap,
                               {ID_RANGE_SET_BAR, RangeSetGlyph},
                               {ID_RANGE_CLEAR_BAR, RangeClearGlyph}});
    RegisterBar(IDR_ESTIMATE_PAGEBAR, {{ID_PAGE_PREV, PagePrevGlyph},
                                       {ID_PAGE_NEXT, PageNextGlyph},
                                       {ID_PAGE_SELECT, PageSelectGlyph},
                                       {ID_PAGE_INSERT, PageInsertGlyph},
                                       {ID_PAGE_FEED, PageFeedGlyph},
                                       Gap,
                                       {ID_SUMMARY_TABLE, SummaryGlyph},
                                       Gap,
                                       {ID_PAGE_ALIGN_BAR, PageAlignGlyph}});
    RegisterBar(IDR_PRINT_TOOLBAR, {{ID_DRAW_SELECT, DrawSelectGlyph},
                                    Gap,
                                    {ID_DRAW_TEXT, DrawTextGlyph},
                                    {ID_DRAW_TABLE, DrawTableGlyph},
                                    {ID_DRAW_RECT, DrawRectGlyph},
                                    {ID_DRAW_LINE, DrawLineGlyph},
                                    Gap,
                                    {ID_TABLE_LINE_ADD, LineAddGlyph},
                                    {ID_TABLE_LINE_DELETE, LineDeleteGlyph},
                                    Gap,
                                    {IDC_LINE_STYLE, BlankGlyph},
                                    Gap,
                                    {IDC_FILL_PATTERN, BlankGlyph},
                                    Gap,
                                    {ID_VIEW_PRINT_LIMIT, PrintLimitGlyph},
                                    {ID_VIEW_GRID, GridGlyph},
                                    Gap,
                                    {ID_TABLE_ROW_HEIGHT, RowHeightGlyph},
                                    {ID_TABLE_ITEM_WIDTH, ItemWidthGlyph},
                                    Gap,
                                    {ID_DRAW_BORDER, BorderGlyph},
                                    {ID_DRAW_FILL, FillGlyph}});
    RegisterBar(IDR_PRINT_EDITBAR, {{IDC_FONT_NAME, BlankGlyph},
                                    Gap,
                                    {IDC_FONT_SIZE, BlankGlyph},
                                    Gap,
                                    {ID_TEXT_BOLD, BoldGlyph},
                                    {ID_TEXT_ITALIC, ItalicGlyph},
                                    {ID_TEXT_UNDERLINE, UnderlineGlyph},
                                    Gap,
                                    {ID_TEXT_COLOR, TextColourGlyph},
                                    Gap,
                                    {ID_PAPER_ALIGN_LEFT, [] { return PaperAlignGlyph(0); }},
                                    {ID_PAPER_ALIGN_CENTER, [] { return PaperAlignGlyph(1); }},
                                    {ID_PAPER_ALIGN_RIGHT, [] { return PaperAlignGlyph(2); }},
                                    Gap,
                                    {ID_TEXT_ALIGN_LEFT, [] { return TextAlignGlyph(0); }},
                                    {ID_TEXT_ALIGN_CENTER, [] { return TextAlignGlyph(1); }},
                                    {ID_TEXT_ALIGN_RIGHT, [] { return TextAlignGlyph(2); }},
                                    Gap,
                                    {ID_ALIGN_LEFT, [] { return ElementAlignGlyph(0); }},
                                    {ID_ALIGN_RIGHT, [] { return ElementAlignGlyph(1); }},
                                    {ID_ALIGN_TOP, [] { return ElementAlignGlyph(2); }},
                                    {ID_ALIGN_BOTTOM, [] { return ElementAlignGlyph(3); }},
                                    Gap,
                                    {ID_LINE_SPACING, LineSpacingGlyph}});

    // The tree's pairs: the estimate, a kind (purple), a large (red), a middle (blue) and a
    // small subject (yellow); the selected picture of a heading is its folder opened.
    const CGlyph trees[TREE_IMAGE_COUNT] = {
        EstimateSheetGlyph(false),           EstimateSheetGlyph(true),
        SubjectFolderGlyph('m', 'M', false), SubjectFolderGlyph('m', 'M', true),
        SubjectFolderGlyph('r', 'R', false), SubjectFolderGlyph('r', 'R', true),
        SubjectFolderGlyph('b', 'B', false), SubjectFolderGlyph('b', 'B', true),
        SubjectFolderGlyph('y', 'Y', false), SubjectFolderGlyph('y', 'Y', true),
    };
    for (int i = 0; i < TREE_IMAGE_COUNT; ++i)
        RegisterBitmapResource(IDB_TREE_FIRST + static_cast<UINT>(i), KeepXpm(trees[i], "#FFFFFF"));
}

} // namespace

void RegisterChildFrameResources()
{
    static const bool s_registered = [] {
        RegisterAll();
        return true;
    }();
    (void)s_registered;
}
