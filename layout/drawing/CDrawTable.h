// CDrawTable: a ruled table of a print layout, a flat list of cells each with its own
// rectangle, text, font, colours, four ruled edges and shading.
//
// Rectangles of a table and its cells follow the table tool's convention: left >= right
// and bottom >= top: the left field holds the larger x (the right-hand side on paper) and
// the bottom field the larger y (the upper edge). All geometry here is written against the
// fields; hit tests and the painting normalise copies.
//
// Stored form: the CDrawObj record, the cell count as a WORD, then per cell: m_rect as four
// WORDs in the order left, right, top, bottom (read back signed), m_rectResize the same
// (read back unsigned), m_strText, m_clrText (DWORD), the nine text attributes (WORDs), the
// font (five LONGs, eight BYTEs, the face name), the four edge styles (WORDs), the four
// edge colours (DWORDs), m_nFillPattern (WORD), m_foreColor, m_backColor (DWORDs),
// m_bFill (WORD).
#pragma once

#include "layout/drawing/CDrawObj.h"
#include "layout/drawing/CDrawText.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"

#include <memory>

// One cell. Owned by its table.
class CEstimateFieldData;
class CPartsFieldData;

class CDrawCell : public CObject, public CTextAttributes {
public:
    // Edge index of m_clrEdge and m_nEdgeStyle: the vertical edge at x = m_rect.right
    // (left-hand on paper), at x = m_rect.left, the horizontal edge at y = m_rect.bottom
    // (upper), at y = m_rect.top (lower).
    enum Edge { edgeLeftHand = 0, edgeRightHand = 1, edgeUpper = 2, edgeLower = 3, EDGE_COUNT = 4 };

    // Edges, shading and attributes from the print settings ("Border Color", "Border
    // Style", "Fill Color", "Fill Background Color", "Is Fill", "Fill Mode").
    CDrawCell();
    ~CDrawCell() override;

    // Everything but the transient flags, which start cleared.
    void CopyFrom(const CDrawCell& other);
    void SerializeCell(CArchive& ar);

    BOOL m_bVisible = FALSE;  // painting scratch; not stored
    BOOL m_bSelected = FALSE; // editor selection; not stored
    CRect m_rect;
    CRect m_rectResize;
    COLORREF m_clrEdge[EDGE_COUNT] = {};
    int m_nEdgeStyle[EDGE_COUNT] = {};
    COLORREF m_foreColor = 0;
    COLORREF m_backColor = 0;
    BOOL m_bFill = FALSE;
    int m_nFillPattern = 0;
    LOGFONT m_logFont{};
    CString m_strText;
    COLORREF m_clrText = 0;
};

// A cell rectangle as it was when a resize began.
class CCellSnapshot : public CObject {
public:
    explicit CCellSnapshot(const CRect& rect) : m_rect(rect) {}
    CRect m_rect;
};

// A ruled-line segment collected while a table paints.
class CRuleSegment : public CObject {
public:
    CPoint m_ptStart;
    CPoint m_ptEnd;
    int m_nStyle = 0;
    COLORREF m_color = 0;
};

class CDrawTable : public CDrawObj {
    DECLARE_SERIAL(CDrawTable)
protected:
    CDrawTable();

public:
    // Handle numbers beyond the eight of every object.
    enum {
        handleMoveLeft = 9, // strips just outside the four sides move the table
        handleMoveRight = 10,
        handleMoveTop = 11,
        handleMoveBottom = 12,
        handleFirstCellEdge = 13, // 13 + 4k + e: edge e of cell k
        handleRowStrip = -1,      // beside the left-hand side
        handleColumnStrip = -2    // above the upper side
    };
    // Cursor resources of the table's handles.
    enum {
        cursorColumnEdge = 173,
        cursorRowEdge = 174,
        cursorColumn = 267,
        cursorRow = 269,
        cursorMove = 273
    };
    // No cell is made narrower or lower than this.
    static constexpr int MIN_CELL_SIZE = 16;

    explicit CDrawTable(const CRect& position);
    // Deletes the cells and the resize snapshots.
    ~CDrawTable() override;

    void Serialize(CArchive& ar) override;

    int GetHandleCount() override;
    CPoint GetHandle(int nHandle) override;
    HCURSOR GetHandleCursor(int nHandle) override;
    // MoveTo and Intersects are CDrawObj's: MoveTo moves only the table's rectangle
    // (MoveHandleTo moves the cells first).
    // Handles 1..8 resize the table and scale its cells; 9..12 move it by the offset given
    // as the point; 13 and up drag one ruled line by the offset, within the page and never
    // closer than 16 units to the far side of a cell.
    void MoveHandleTo(int nHandle, CPoint point, IDrawingView* pView = nullptr) override;
    CDrawObj* Clone(CDrawingDoc* pDoc = nullptr) override;
    CDrawObj* CloneForUndo(CDrawingDoc* pDoc = nullptr) override;
    void Remove() override;
    // The texts of the selected cells, one per row from the top, in the text-property
    // dialog; every selected cell of a row takes that row's text (TextProperties.cpp).
    void OnEditProperties() override;

    // Snapshots of the cells and the fixed corner for a resize by handle nHandle.
    void BeginResize(int nHandle);
    // The limit of a corner or side handle (1..8) for the resize begun last.
    CPoint GetHandleLimit(int nHandle);
    // Moves the table and its cells: the cells follow the change of the right and bottom
    // fields only.
    void MoveTableTo(const CRect& position, IDrawingView* pView = nullptr);
    // Appends a cell with the defaults (the print font and colour, empty text).
    CDrawCell* AddCell(const CRect& rect, IDrawingView* pView = nullptr);
    CDrawCell* AddCellWithEdges(const CRect& rect, const int nStyles[4], const COLORREF colors[4],
                                IDrawingView* pView = nullptr);
    // Removes and deletes the first cell whose rectangle equals rect exactly.
    void RemoveCell(const CRect& rect, IDrawingView* pView = nullptr);
    // The rectangle of the first cell whose normalised rectangle holds the point (left and
    // top inclusive, right and bottom exclusive); (0,0,0,0) when none does.
    CRect CellFromPoint(CPoint point);
    void ClearCellSelection();
    int GetSelectedCellCount();

    // ---- Editing (TableEditing.cpp) ----
    void Draw(CDC* pDC, IDrawingView* pView) override;
    // Selected: the row strip (-1), the column strip (-2), the handle squares (1..8), the
    // move strips (9..12), then the cell edges (13 + 4k + e, e 0..3 for the left, top,
    // right and bottom fields of cell k; m_ptFixed takes the edge's coordinate); 0 none.
    int HitTest(CPoint point, IDrawingView* pView, BOOL bSelected) override;
    // The point lies in the normalised table (smaller bounds inclusive).
    BOOL ContainsPoint(int x, int y);
    // Cell selection: one cell by its exact rectangle (clearing the others, or added);
    // every cell the rectangle overlaps (clearing first, or added); the cells a row or
    // column line crosses strictly inside.
    void SelectCellByRect(const CRect& rect, IDrawingView* pView);
    void AddCellToSelection(const CRect& rect, IDrawingView* pView);
    void SelectCellsInRect(int left, int top, int right, int bottom, IDrawingView* pView);
    void AddCellsInRect(int left, int top, int right, int bottom, IDrawingView* pView);
    void SelectRow(int y, int nUnused, IDrawingView* pView);
    void SelectColumn(int x, int nUnused, IDrawingView* pView);
    // The first selected cell's rectangle; (0,0,0,0) when none is selected.
    CRect GetFirstSelectedCellRect();
    // The view's tool tip shows the text of the cell under (x, y), object units.
    void UpdateCellToolTip(int x, int y, IDrawingView* pView);
    // The ruled-line tools' feedback: a new line from the press point (x0, y0) towards the
    // pointer, snapped to the cells of the press point's row or column; the picked line
    // the same at the edge last hit (m_ptFixed).
    void TrackNewLine(int x0, int y0, int x1, int y1, BOOL bHorizontal, IDrawingView* pView);
    void TrackPickedLine(int x0, int y0, int x1, int y1, BOOL bHorizontal, IDrawingView* pView);
    // Splits every cell the tracked line crosses from edge to edge (a line on a cell's edge
    // crosses nothing); pieces under 16 units are widened and the table grows by the
    // shortfall. New edges take nRuleStyle (the view's line style) in black.
    void SplitCells(IDrawingView* pView);
    void SplitCells(IDrawingView* pView, int nRuleStyle);
    // Joins, across the picked line, every pair of cells of equal extent; the left-hand
    // (upper) cell survives over both.
    void JoinCells(IDrawingView* pView);

    void DrawEM(CDC* pDC, const CEstimateFieldData* pData) override;
    void DrawPM(CDC* pDC, const CPartsFieldData* pData) override;
    // The shading of the cells in view and their ruled lines, on paper.
    void DrawCellShading(CDC* pDC);
    void DrawRules(CDC* pDC);

    // The printed text of a cell: field tokens filled in; pieces that are no token stay.
    CString ExpandMacrosEM(const CDrawCell* pCell, const CEstimateFieldData* pData) const;
    CString ExpandMacrosPM(const CDrawCell* pCell, const CPartsFieldData* pData) const;
    CString GetFieldDisplayText(const CString& strText) const;
    // Row-kind styling of a cell's field text (see CDrawText).
    LOGFONT GetCellFieldFontEM(const CDrawCell* pCell, const CEstimateFieldData* pData) const;
    COLORREF GetCellFieldColorEM(const CDrawCell* pCell, const CEstimateFieldData* pData) const;
    LOGFONT GetCellFieldFontPM(const CDrawCell* pCell, const CPartsFieldData* pData) const;
    COLORREF GetCellFieldColorPM(const CDrawCell* pCell, const CPartsFieldData* pData) const;
    int CellAlignFromEstimateField(const CDrawCell* pCell) const;
    int CellAlignFromPartsField(const CDrawCell* pCell) const;

    // ---- Formatting of the selected cells (CDrawTableFormat.cpp) ----------------------------
    // Each change invalidates the table before and after (SetBorders and SetShading once,
    // after) and marks the document modified.
    // Edges of the selected cells by nPattern 1..7: which of the inner vertical, inner
    // horizontal and outer edges take the given colours and styles. A style below 0 keeps
    // the edge's style and still sets its colour.
    void SetBorders(COLORREF innerVColor, COLORREF innerHColor, int innerVStyle, int innerHStyle,
                    COLORREF outerLeftColor, COLORREF outerRightColor, COLORREF outerUpperColor,
                    COLORREF outerLowerColor, int outerLeftStyle, int outerRightStyle, int outerUpperStyle,
                    int outerLowerStyle, int nPattern);
    // The shading of the selected cells (the table's own stays).
    void SetShading(BOOL bFill, int nPattern, COLORREF fore, COLORREF back) override;
    void SetCellUnderline(IDrawingView* pView, BYTE bUnderline);
    void SetCellBold(IDrawingView* pView, BOOL bBold);
    void SetCellItalic(IDrawingView* pView, BYTE bItalic);
    void SetCellTextColor(IDrawingView* pView, COLORREF color);
    void SetCellAlign(IDrawingView* pView, int nAlign);
    void SetCellFontHeight(IDrawingView* pView, int nHeight);
    // The face name (at most 31 bytes, never half a double-byte character), the character
    // set and the pitch and family of lf; the other font members stay.
    void SetCellFontFace(IDrawingView* pView, CString faceName, LOGFONT lf);
    void ClearSelectedCells(IDrawingView* pView);
    // The selected rows to the lowest, highest or average row height, chosen in
    // "行高さ調整"; nothing with fewer than two rows. nHeight is not used.
    void SetHeight(IDrawingView* pView, int nHeight) override;
    // A table has no width adjustment: it only repaints and marks the document modified.
    void SetWidth(IDrawingView* pView, int nWidth) override;
    enum { rowHeightLowest = 0, rowHeightHighest = 1, rowHeightAverage = 2 };
    // The number of distinct rows (upper edges) among the selected cells.
    int CountSelectedRows();
    // The row-height adjustment for a choice, without the dialog: FALSE, with the message
    // "選択範囲では処理を実行できません。" and nothing changed, when a cell reaching over a
    // selected row's edges crosses it anywhere along the table.
    BOOL ApplyRowHeights(IDrawingView* pView, int nChoice);

    int CountBoldCells();
    int CountItalicCells();
    int CountUnderlineCells();
    int CountLeftAlignedCells();
    int CountRightAlignedCells();
    int CountCenteredCells();
    // The first selected cell's font; all zero when none is selected.
    LOGFONT GetSelectedCellFont();
    // *pbSame: every selected cell has plf's face (*pnHeight's height, *pnPattern's
    // pattern); FALSE when none is selected.
    void IsSameFontFace(LOGFONT* plf, BOOL* pbSame);
    void IsSameFontHeight(int* pnHeight, BOOL* pbSame);
    // The first selected cell's shading; the outputs stay when none is selected.
    void GetSelectedCellShading(int* pnPattern, COLORREF* pFore, COLORREF* pBack, BOOL* pbFill);
    int GetSelectedCellPattern();
    void IsSamePattern(int* pnPattern, BOOL* pbSame);
    // The edge of the selected cell pCell (index nIndex) has no selected neighbour.
    BOOL IsLeftEdgeOuter(CDrawCell* pCell, int nIndex);
    BOOL IsRightEdgeOuter(CDrawCell* pCell, int nIndex);
    BOOL IsUpperEdgeOuter(CDrawCell* pCell, int nIndex);
    BOOL IsLowerEdgeOuter(CDrawCell* pCell, int nIndex);
    // Every cell met walking left (right) from the cell with this rectangle, across the
    // table, has exactly its lower and upper edges.
    BOOL IsRowClearToLeft(CRect rect);
    BOOL IsRowClearToRight(CRect rect);

    // After a change of form, every cell's tokens as CDrawText's (FieldRemap.cpp).
    void RemapEstimateFields();
    void RemapInformationFields();
    void RemapPartsFields();

    INT_PTR GetCellCount() const { return m_cells.GetSize(); }
    CDrawCell* GetCell(INT_PTR nIndex) const { return static_cast<CDrawCell*>(m_cells.GetAt(nIndex)); }

    CObArray m_cells; // of CDrawCell*, owned
    CPoint m_ptFixed;
    CPoint m_ptLineStart;
    CPoint m_ptLineEnd;
    CRect m_rectBeforeResize;
    BOOL m_bShowNewLine = FALSE;
    BOOL m_bShowPickedLine = FALSE;
    CObArray m_cellsBeforeResize; // of CCellSnapshot*, owned
    CObArray m_hRules;            // of CRuleSegment*, within one paint
    CObArray m_vRules;
    // The editor's ruled lines of the whole table joined, from its top-left corner, kept
    // while the cells' edges stay as they were (TableEditing.cpp).
    struct CJoinedRules;
    std::shared_ptr<CJoinedRules> m_pJoinedRules;
    const CJoinedRules& JoinedRules();

private:
    void DeleteCells();
    void DeleteSnapshots();
    void CopyCellsInto(CDrawTable& target) const;
    void ResizeByHandle(int nHandle, CPoint point, CRect& newRect);
    void DragRuledLine(int nHandle, CPoint offset, CRect& newRect, IDrawingView* pView);
};

// Joins the ruled-line segments (CRuleSegment*) of one list that lie on one line with one
// style and colour and overlap or touch; each run of them becomes one segment. Segments
// are grouped by line and swept in order of their start.
void JoinRuleSegments(CObArray& segments, bool bHorizontal);

// Hands the four edges of a cell's rectangle to add(list, start, end, style, colour) as rule
// segments: the bottom and top edges to the horizontal rules, the right and left ones to the
// vertical rules, each with its own style and colour (edge order right, left, bottom, top).
template <class AddSegment>
void AddCellEdges(AddSegment&& add, CObArray& hRules, CObArray& vRules, const CRect& r,
                  const int nEdgeStyle[4], const COLORREF clrEdge[4])
{
    add(hRules, CPoint(r.left, r.bottom), CPoint(r.right, r.bottom), nEdgeStyle[2], clrEdge[2]);
    add(hRules, CPoint(r.left, r.top), CPoint(r.right, r.top), nEdgeStyle[3], clrEdge[3]);
    add(vRules, CPoint(r.right, r.top), CPoint(r.right, r.bottom), nEdgeStyle[0], clrEdge[0]);
    add(vRules, CPoint(r.left, r.top), CPoint(r.left, r.bottom), nEdgeStyle[1], clrEdge[1]);
}
