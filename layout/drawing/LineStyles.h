// The twelve line styles of frames and ruled lines and the thirty 8 x 8 fill patterns of
// shaded areas, as they paint on paper and screen.
//
// Widths are in the units of the device context they paint on: on paper 0.01 inch, so the
// widest solid style (8 units) is 24 pixels at 300 dpi.
#pragma once

#include "platform/base/Types.h"

class CDC;
#include "platform/base/Types.h"

// The number of line styles. The fill patterns are those of the shading dialog
// (CShadingDialog.h: FILL_PATTERN_COUNT, GetFillPatternRows).
constexpr int LINE_STYLE_COUNT = 12;

// Row nRow (0 top) of pattern nPattern, the leftmost pixel in the most significant bit;
// 0 for a pattern outside 0..29.
BYTE FillPatternRow(int nPattern, int nRow);

// The pattern's eight rows as the 16-bit words of a monochrome bitmap (the same byte in both
// halves); all zero outside 0..29.
void FillPatternWords(int nPattern, WORD words[8]);

// Paints pattern nPattern into the rectangle without a frame: set bits in fore, clear bits
// in back. A pattern outside 0..29 paints nothing. Pen, brush and colours are restored.
void FillShading(CDC* pDC, const RECT& rect, int nPattern, COLORREF fore, COLORREF back);

// The bars a line style draws across its line, as offsets a..b (inclusive) from the
// line's middle; styles 1 to 9 have one or two bars, the others none.
struct CLineBars {
    int nCount = 0;
    int nFrom[2] = {};
    int nTo[2] = {};
};
CLineBars LineStyleBars(int nStyle);

// The whole width a style covers across its line (0 for no line, 1 for the dotted styles).
int LineStyleWidth(int nStyle);

// Screen form of the dotted styles: the device context is not printing, or it shows a
// print preview.
bool DrawsOnScreen(const CDC* pDC);

// One ruled line of a table from (x1, y1) to (x2, y2), horizontal or vertical, in a style:
// solid styles as pens of their width (styles 1 to 4 one unit thinner on a printer), double
// styles as two strokes either side of the line, dotted styles as dots every 2 units on
// screen and dotted or dashed pens on a printer.
void DrawRuleLine(CDC* pDC, int x1, int y1, int x2, int y2, int nStyle, COLORREF color);
// The white stroke that opens the gap of a double style (7 to 9) along its line.
void ClearDoubleGap(CDC* pDC, int x1, int y1, int x2, int y2, int nStyle);

// A rectangle's shading and frame on paper or screen: shading (when bFill) then a frame
// that grows inward; double styles shade and frame an inner rectangle as well.
void DrawStyledRect(CDC* pDC, const RECT& rect, int nStyle, BOOL bFill, int nPattern, COLORREF lineColor,
                    COLORREF fore, COLORREF back);
// A straight line from (x1, y1) to (x2, y2) in a style, its ends pulled in by the pen width.
void DrawStyledStraightLine(CDC* pDC, int x1, int y1, int x2, int y2, int nStyle, COLORREF color);
