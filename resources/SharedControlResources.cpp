// The resources of the shared controls. The pictures are small and geometric (arrows, a
// round badge), so they are drawn here as XPM text rather than kept as image files.
#include "resources/SharedControlResources.h"

#include "platform/base/CString.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinDefs.h"
#include "resources/ResourceIds.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

// One picture as XPM characters: ' ' transparent, '.' black, '+' white, '#' dark grey,
// 'o' light grey.
class CPixelCanvas {
public:
    CPixelCanvas(int cx, int cy) : m_cx(cx), m_cy(cy), m_rows(static_cast<size_t>(cy), std::string(cx, ' '))
    {
    }

    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    char Get(int x, int y) const { return m_rows[static_cast<size_t>(y)][static_cast<size_t>(x)]; }
    void Set(int x, int y, char ch)
    {
        if (x >= 0 && y >= 0 && x < m_cx && y < m_cy)
            m_rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = ch;
    }

    // Every pixel whose centre lies inside the triangle.
    void FillTriangle(double ax, double ay, double bx, double by, double cx, double cy, char ch)
    {
        auto side = [](double px, double py, double x1, double y1, double x2, double y2) {
            return (px - x2) * (y1 - y2) - (x1 - x2) * (py - y2);
        };
        for (int y = 0; y < m_cy; ++y) {
            for (int x = 0; x < m_cx; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double d1 = side(px, py, ax, ay, bx, by);
                const double d2 = side(px, py, bx, by, cx, cy);
                const double d3 = side(px, py, cx, cy, ax, ay);
                const bool neg = d1 < 0 || d2 < 0 || d3 < 0;
                const bool pos = d1 > 0 || d2 > 0 || d3 > 0;
                if (!(neg && pos))
                    Set(x, y, ch);
            }
        }
    }

    // Every pixel whose centre lies within the radius of the point.
    void FillCircle(double cx, double cy, double r, char ch)
    {
        for (int y = 0; y < m_cy; ++y) {
            for (int x = 0; x < m_cx; ++x) {
                const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                if (dx * dx + dy * dy <= r * r)
                    Set(x, y, ch);
            }
        }
    }

    void FillRect(int x1, int y1, int x2, int y2, char ch)
    {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                Set(x, y, ch);
    }

    // The picture turned about its diagonal (x and y swapped); square pictures only.
    CPixelCanvas Transposed() const
    {
        CPixelCanvas t(m_cy, m_cx);
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                t.Set(y, x, Get(x, y));
        return t;
    }
    CPixelCanvas MirroredX() const
    {
        CPixelCanvas t(m_cx, m_cy);
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                t.Set(m_cx - 1 - x, y, Get(x, y));
        return t;
    }
    CPixelCanvas MirroredY() const
    {
        CPixelCanvas t(m_cx, m_cy);
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                t.Set(x, m_cy - 1 - y, Get(x, y));
        return t;
    }

    // Copies another picture in at (x, y); its transparent pixels leave this one's.
    void Paste(const CPixelCanvas& other, int x0, int y0)
    {
        for (int y = 0; y < other.m_cy; ++y)
            for (int x = 0; x < other.m_cx; ++x)
                if (other.Get(x, y) != ' ')
                    Set(x0 + x, y0 + y, other.Get(x, y));
    }

    const std::vector<std::string>& Rows() const { return m_rows; }

private:
    int m_cx;
    int m_cy;
    std::vector<std::string> m_rows;
};

// An XPM image kept alive for the life of the program: the registry keeps only the
// pointer to its lines.
class CXpmImage {
public:
    explicit CXpmImage(const CPixelCanvas& canvas)
    {
        m_lines.push_back(std::to_string(canvas.Width()) + " " + std::to_string(canvas.Height()) + " 5 1");
        m_lines.push_back("  c None");
        m_lines.push_back(". c #000000");
        m_lines.push_back("+ c #FFFFFF");
        m_lines.push_back("# c #808080");
        m_lines.push_back("o c #C0C0C0");
        for (const std::string& row : canvas.Rows())
            m_lines.push_back(row);
        for (const std::string& line : m_lines)
            m_pointers.push_back(line.c_str());
    }
    CXpmImage(const CXpmImage&) = delete;
    CXpmImage& operator=(const CXpmImage&) = delete;

    const char* const* Lines() const { return m_pointers.data(); }

private:
    std::vector<std::string> m_lines;
    std::vector<const char*> m_pointers;
};

// ---- the jump bar: |<  >|  and the same turned upright ------------------------------------
CPixelCanvas JumpToFirstColumnGlyph()
{
    CPixelCanvas c(9, 9);
    c.FillRect(1, 1, 3, 8, '.');                       // the edge
    c.FillTriangle(3.0, 4.5, 7.5, 0.5, 7.5, 8.5, '.'); // the arrow pointing at it
    return c;
}

CPixelCanvas JumpBarPicture()
{
    const CPixelCanvas left = JumpToFirstColumnGlyph();
    const CPixelCanvas right = left.MirroredX();
    const CPixelCanvas up = left.Transposed();
    const CPixelCanvas down = up.MirroredY();
    CPixelCanvas strip(36, 9);
    strip.Paste(left, 0, 0);  // first column
    strip.Paste(right, 9, 0); // last column
    strip.Paste(up, 18, 0);   // first row
    strip.Paste(down, 27, 0); // last row
    return strip;
}

// ---- auto-scrolling: a round badge with the arrows of the directions that scroll -----------
CPixelCanvas AutoScrollBadge(bool bVertical, bool bHorizontal)
{
    CPixelCanvas c(26, 26);
    c.FillRect(0, 0, 26, 26, 'o'); // outside the round window; never seen where it is round
    c.FillCircle(13.0, 13.0, 13.0, '.');
    c.FillCircle(13.0, 13.0, 12.0, '+');
    c.FillCircle(13.0, 13.0, 2.5, '#');
    // Arrow heads small enough to stay apart from each other.
    CPixelCanvas up(26, 26);
    up.FillTriangle(13.0, 3.0, 9.5, 8.0, 16.5, 8.0, '.');
    if (bVertical) {
        c.Paste(up, 0, 0);
        c.Paste(up.MirroredY(), 0, 0);
    }
    if (bHorizontal) {
        const CPixelCanvas left = up.Transposed();
        c.Paste(left, 0, 0);
        c.Paste(left.MirroredX(), 0, 0);
    }
    return c;
}

CPixelCanvas AutoScrollPicture()
{
    CPixelCanvas strip(78, 26);
    strip.Paste(AutoScrollBadge(true, true), 0, 0);   // both directions
    strip.Paste(AutoScrollBadge(false, true), 26, 0); // horizontal only
    strip.Paste(AutoScrollBadge(true, false), 52, 0); // vertical only
    return strip;
}

// The cursors: a small ring at the hot spot and a white-edged arrow head in the direction
// being scrolled (all four for the neutral cursor).
CPixelCanvas CursorArrowUp(char ch, double grow)
{
    CPixelCanvas c(32, 32);
    c.FillTriangle(16.0, 2.0 - grow, 11.0 - grow * 1.5, 8.0 + grow, 21.0 + grow * 1.5, 8.0 + grow, ch);
    return c;
}

CPixelCanvas AutoScrollCursor(UINT nID)
{
    CPixelCanvas c(32, 32);
    c.FillCircle(16.0, 16.0, 4.5, '+');
    c.FillCircle(16.0, 16.0, 3.5, '.');
    c.FillCircle(16.0, 16.0, 1.5, '+');
    CPixelCanvas up(32, 32);
    up.Paste(CursorArrowUp('+', 1.0), 0, 0);
    up.Paste(CursorArrowUp('.', 0.0), 0, 0);
    const CPixelCanvas down = up.MirroredY();
    const CPixelCanvas left = up.Transposed();
    const CPixelCanvas right = left.MirroredX();
    switch (nID) {
    case IDC_AUTOSCROLL_UP:
        c.Paste(up, 0, 0);
        break;
    case IDC_AUTOSCROLL_DOWN:
        c.Paste(down, 0, 0);
        break;
    case IDC_AUTOSCROLL_LEFT:
        c.Paste(left, 0, 0);
        break;
    case IDC_AUTOSCROLL_RIGHT:
        c.Paste(right, 0, 0);
        break;
    default:
        c.Paste(up, 0, 0);
        c.Paste(down, 0, 0);
        c.Paste(left, 0, 0);
        c.Paste(right, 0, 0);
        break;
    }
    return c;
}

std::vector<CMenuResourceItem> MakeCellEditMenu()
{
    // Only the first pop-up is ever shown; its own caption is never seen.
    return {MenuPopup("編集"_sj, {
                                     MenuItem("切り取り"_sj, ID_EDIT_CUT),
                                     MenuItem("ｺﾋﾟｰ"_sj, ID_EDIT_COPY),
                                     MenuItem("貼り付け"_sj, ID_EDIT_PASTE),
                                 })};
}

std::vector<std::pair<UINT, CString>> MakeJumpBarStrings()
{
    // "status-line prompt\ntool tip" of each jump button.
    return {
        {ID_JUMP_FIRST_COLUMN, "先頭の列へ移動します\n先頭列"_sj},
        {ID_JUMP_LAST_COLUMN, "最終の列へ移動します\n最終列"_sj},
        {ID_JUMP_FIRST_ROW, "先頭の行へ移動します\n先頭行"_sj},
        {ID_JUMP_LAST_ROW, "最終の行へ移動します\n最終行"_sj},
    };
}

} // namespace

void RegisterSharedControlResources()
{
    static const bool s_registered = [] {
        static const CXpmImage s_jumpBar(JumpBarPicture());
        CToolBarResource bar;
        bar.cx = 9;
        bar.cy = 9;
        bar.image = ImageFromXpm(s_jumpBar.Lines());
        bar.buttons = {ID_JUMP_FIRST_COLUMN, ID_JUMP_LAST_COLUMN, ID_JUMP_FIRST_ROW, ID_JUMP_LAST_ROW};
        RegisterToolBarResource(IDR_JUMPBAR, bar);

        static const CXpmImage s_autoScroll(AutoScrollPicture());
        RegisterBitmapResource(IDB_AUTOSCROLL, ImageFromXpm(s_autoScroll.Lines()));

        static const CXpmImage s_cursors[] = {CXpmImage(AutoScrollCursor(IDC_AUTOSCROLL_RIGHT)),
                                              CXpmImage(AutoScrollCursor(IDC_AUTOSCROLL_UP)),
                                              CXpmImage(AutoScrollCursor(IDC_AUTOSCROLL_NEUTRAL)),
                                              CXpmImage(AutoScrollCursor(IDC_AUTOSCROLL_DOWN)),
                                              CXpmImage(AutoScrollCursor(IDC_AUTOSCROLL_LEFT))};
        for (UINT i = 0; i < 5; ++i)
            RegisterCursorResource(IDC_AUTOSCROLL_RIGHT + i, ImageFromXpm(s_cursors[i].Lines()), 16, 16);

        RegisterMenuResource(IDR_CELL_EDIT_MENU, MakeCellEditMenu);
        RegisterStringTable(MakeJumpBarStrings);
        return true;
    }();
    (void)s_registered;
}
