#include "layout/drawing/CDrawTable.h"

#include "app/CMorvelSettings.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/StoredForm.h"
#include "platform/base/CArchive.h"
#include "platform/ui/core/CWinApp.h"

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(CDrawTable, CDrawObj, 0)

// ---------------------------------------------------------------------------------------
// Cells
// ---------------------------------------------------------------------------------------
CDrawCell::CDrawCell()
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    for (int e = 0; e < EDGE_COUNT; ++e) {
        m_clrEdge[e] = pSettings ? pSettings->m_clrBorder : 0;
        m_nEdgeStyle[e] = pSettings ? pSettings->m_nBorderStyle : 1;
    }
    m_foreColor = pSettings ? pSettings->m_clrFill : 0;
    m_backColor = pSettings ? pSettings->m_clrFillBackground : RGB(255, 255, 255);
    m_bFill = pSettings ? pSettings->m_nIsFill : TRUE;
    m_nFillPattern = pSettings ? pSettings->m_nFillMode : 0;
}

CDrawCell::~CDrawCell() = default;

void CDrawCell::CopyFrom(const CDrawCell& other)
{
    static_cast<CTextAttributes&>(*this) = other;
    m_bVisible = FALSE;
    m_bSelected = FALSE;
    m_rect = other.m_rect;
    m_rectResize = other.m_rectResize;
    std::copy(std::begin(other.m_clrEdge), std::end(other.m_clrEdge), std::begin(m_clrEdge));
    std::copy(std::begin(other.m_nEdgeStyle), std::end(other.m_nEdgeStyle), std::begin(m_nEdgeStyle));
    m_foreColor = other.m_foreColor;
    m_backColor = other.m_backColor;
    m_bFill = other.m_bFill;
    m_nFillPattern = other.m_nFillPattern;
    m_logFont = other.m_logFont;
    m_strText = other.m_strText;
    m_clrText = other.m_clrText;
}

void CDrawCell::SerializeCell(CArchive& ar)
{
    using namespace StoredForm;
    if (ar.IsStoring()) {
        for (const CRect* r : {&m_rect, &m_rectResize}) {
            StoreWord(ar, r->left);
            StoreWord(ar, r->right);
            StoreWord(ar, r->top);
            StoreWord(ar, r->bottom);
        }
        ar << m_strText << static_cast<DWORD>(m_clrText);
    } else {
        m_rect.left = LoadSignedWord(ar);
        m_rect.right = LoadSignedWord(ar);
        m_rect.top = LoadSignedWord(ar);
        m_rect.bottom = LoadSignedWord(ar);
        m_rectResize.left = LoadWord(ar);
        m_rectResize.right = LoadWord(ar);
        m_rectResize.top = LoadWord(ar);
        m_rectResize.bottom = LoadWord(ar);
        DWORD dw = 0;
        ar >> m_strText >> dw;
        m_clrText = dw;
    }
    SerializeAttributes(ar);
    SerializeLogFont(ar, m_logFont);
    if (ar.IsStoring()) {
        for (int nStyle : m_nEdgeStyle)
            StoreWord(ar, nStyle);
        for (COLORREF color : m_clrEdge)
            ar << static_cast<DWORD>(color);
        StoreWord(ar, m_nFillPattern);
        ar << static_cast<DWORD>(m_foreColor) << static_cast<DWORD>(m_backColor);
        StoreWord(ar, m_bFill);
        return;
    }
    for (int& nStyle : m_nEdgeStyle)
        nStyle = LoadWord(ar);
    DWORD dw = 0;
    for (COLORREF& color : m_clrEdge) {
        ar >> dw;
        color = dw;
    }
    m_nFillPattern = LoadWord(ar);
    ar >> dw;
    m_foreColor = dw;
    ar >> dw;
    m_backColor = dw;
    m_bFill = LoadWord(ar);
    m_bSelected = FALSE;
}

// ---------------------------------------------------------------------------------------
// The table
// ---------------------------------------------------------------------------------------
CDrawTable::CDrawTable() = default;

CDrawTable::CDrawTable(const CRect& position) : CDrawObj(position), m_rectBeforeResize(position) {}

CDrawTable::~CDrawTable()
{
    // The cells belong to the table: whatever discards it (Remove, a failed load, a
    // document closing) frees them.
    DeleteCells();
    DeleteSnapshots();
    for (CObArray* pRules : {&m_hRules, &m_vRules}) {
        for (INT_PTR i = 0; i < pRules->GetSize(); ++i)
            delete pRules->GetAt(i);
        pRules->RemoveAll();
    }
}

void CDrawTable::DeleteCells()
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        delete m_cells.GetAt(i);
    m_cells.RemoveAll();
}

void CDrawTable::DeleteSnapshots()
{
    for (INT_PTR i = 0; i < m_cellsBeforeResize.GetSize(); ++i)
        delete m_cellsBeforeResize.GetAt(i);
    m_cellsBeforeResize.RemoveAll();
}

void CDrawTable::Serialize(CArchive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        // The count is a word: a table of more cells could not be read back.
        if (m_cells.GetSize() > 0xFFFF)
            throw CArchiveException(CArchiveException::genericException);
        ar << static_cast<WORD>(m_cells.GetSize());
        for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
            GetCell(i)->SerializeCell(ar);
        return;
    }
    DeleteCells();
    WORD nCount = 0;
    ar >> nCount;
    for (WORD i = 0; i < nCount; ++i) {
        auto* pCell = new CDrawCell;
        m_cells.Add(pCell); // owned before it is read, so that a failure frees it
        pCell->SerializeCell(ar);
    }
}

int CDrawTable::GetHandleCount()
{
    return static_cast<int>(4 * m_cells.GetSize() + 14);
}

CPoint CDrawTable::GetHandle(int nHandle)
{
    // Handles past 8 answer the (left, top) corner, so the tracker's inversions there
    // cancel out in pairs and a table shows the same eight squares as any object.
    return CDrawObj::GetHandle(nHandle >= 1 && nHandle <= 8 ? nHandle : 1);
}

HCURSOR CDrawTable::GetHandleCursor(int nHandle)
{
    CWinApp* pApp = AfxGetApp();
    if (nHandle >= 1 && nHandle <= 8)
        return CDrawObj::GetHandleCursor(nHandle);
    if (pApp == nullptr)
        return nullptr;
    if (nHandle >= handleMoveLeft && nHandle <= handleMoveBottom)
        return pApp->LoadCursor(static_cast<UINT>(cursorMove));
    if (nHandle == handleRowStrip)
        return pApp->LoadCursor(static_cast<UINT>(cursorRow));
    if (nHandle == handleColumnStrip)
        return pApp->LoadCursor(static_cast<UINT>(cursorColumn));
    if (nHandle >= handleFirstCellEdge && nHandle < GetHandleCount() - 1) {
        const int e = (nHandle - handleFirstCellEdge) % 4;
        return pApp->LoadCursor(static_cast<UINT>(e == 0 || e == 2 ? cursorColumnEdge : cursorRowEdge));
    }
    return pApp->LoadStandardCursor(IDC_ARROW);
}

void CDrawTable::BeginResize(int nHandle)
{
    DeleteSnapshots();
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        m_cellsBeforeResize.Add(new CCellSnapshot(GetCell(i)->m_rect));
    m_rectBeforeResize = m_position;
    const CRect& r = m_position;
    switch (nHandle) {
    case 1:
    case 2:
        m_ptFixed = CPoint(r.right, r.bottom);
        break;
    case 3:
    case 4:
        m_ptFixed = CPoint(r.left, r.bottom);
        break;
    case 5:
    case 6:
        m_ptFixed = CPoint(r.left, r.top);
        break;
    case 7:
    case 8:
        m_ptFixed = CPoint(r.right, r.top);
        break;
    default:
        break;
    }
}

CPoint CDrawTable::GetHandleLimit(int nHandle)
{
    const CRect& R = m_rectBeforeResize;
    double W = R.Width();
    double H = R.Height();
    for (INT_PTR i = 0; i < m_cellsBeforeResize.GetSize(); ++i) {
        const CRect& S = static_cast<CCellSnapshot*>(m_cellsBeforeResize.GetAt(i))->m_rect;
        if (S.Width() > W)
            W = S.Width();
        if (S.Height() < H)
            H = S.Height();
    }
    // A table of no width or height has nothing to scale: no limit beyond its own edge.
    const int tx = W != 0 ? static_cast<int>(-R.Width() * 16.0 / W) : 0;
    const int ty = H != 0 ? static_cast<int>(R.Height() * 16.0 / H) : 0;
    switch (nHandle) {
    case 1:
        return CPoint(R.right - tx, R.bottom - ty);
    case 2:
        return CPoint(0, R.bottom - ty);
    case 3:
        return CPoint(R.left + tx, R.bottom - ty);
    case 4:
        return CPoint(R.left + tx, 0);
    case 5:
        return CPoint(R.left + tx, R.top + ty);
    case 6:
        return CPoint(0, R.top + ty);
    case 7:
        return CPoint(R.right - tx, R.top + ty);
    case 8:
        return CPoint(R.right - tx, 0);
    default:
        return CPoint();
    }
}

void CDrawTable::ResizeByHandle(int nHandle, CPoint point, CRect& newRect)
{
    const CPoint L = GetHandleLimit(nHandle);
    int x = point.x, y = point.y;
    bool bLeft = false, bTop = false, bRight = false, bBottom = false;
    switch (nHandle) {
    case 1:
        x = std::max(x, static_cast<int>(L.x));
        y = std::min(y, static_cast<int>(L.y));
        bLeft = bTop = true;
        break;
    case 2:
        y = std::min(y, static_cast<int>(L.y));
        bTop = true;
        break;
    case 3:
        x = std::min(x, static_cast<int>(L.x));
        y = std::min(y, static_cast<int>(L.y));
        bRight = bTop = true;
        break;
    case 4:
        x = std::min(x, static_cast<int>(L.x));
        bRight = true;
        break;
    case 5:
        x = std::min(x, static_cast<int>(L.x));
        y = std::max(y, static_cast<int>(L.y));
        bRight = bBottom = true;
        break;
    case 6:
        y = std::max(y, static_cast<int>(L.y));
        bBottom = true;
        break;
    case 7:
        x = std::max(x, static_cast<int>(L.x));
        y = std::max(y, static_cast<int>(L.y));
        bLeft = bBottom = true;
        break;
    case 8:
    default:
        x = std::max(x, static_cast<int>(L.x));
        bLeft = true;
        break;
    }
    if (bLeft)
        newRect.left = x;
    if (bRight)
        newRect.right = x;
    if (bTop)
        newRect.top = y;
    if (bBottom)
        newRect.bottom = y;

    const bool bScaleX = bLeft || bRight;
    const bool bScaleY = bTop || bBottom;
    const CRect& old = m_rectBeforeResize;
    const double oldWidth = old.Width(), oldHeight = old.Height();
    const double newWidth = newRect.Width(), newHeight = newRect.Height();
    const CPoint F = m_ptFixed;
    auto scaleX = [&](int v) {
        return oldWidth != 0 ? static_cast<int>((v - F.x) * newWidth / oldWidth + F.x) : v;
    };
    auto scaleY = [&](int v) {
        return oldHeight != 0 ? static_cast<int>((v - F.y) * newHeight / oldHeight + F.y) : v;
    };
    const INT_PTR nSnapshots = m_cellsBeforeResize.GetSize();
    for (INT_PTR i = 0; i < m_cells.GetSize() && i < nSnapshots; ++i) {
        CDrawCell* pCell = GetCell(i);
        const CRect& S = static_cast<CCellSnapshot*>(m_cellsBeforeResize.GetAt(i))->m_rect;
        CRect r = S;
        if (bScaleX) {
            r.left = scaleX(S.left);
            r.right = scaleX(S.right);
        }
        if (bScaleY) {
            r.top = scaleY(S.top);
            r.bottom = scaleY(S.bottom);
        }
        // A cell on a moved side ends exactly on the new side: rounding never opens a gap.
        if (bLeft && pCell->m_rect.left == m_position.left)
            r.left = newRect.left;
        if (bRight && pCell->m_rect.right == m_position.right)
            r.right = newRect.right;
        if (bTop && pCell->m_rect.top == m_position.top)
            r.top = newRect.top;
        if (bBottom && pCell->m_rect.bottom == m_position.bottom)
            r.bottom = newRect.bottom;
        pCell->m_rect = r;
        pCell->m_rectResize = r;
    }
}

void CDrawTable::DragRuledLine(int nHandle, CPoint offset, CRect& newRect, IDrawingView* pView)
{
    const INT_PTR k = (nHandle - handleFirstCellEdge) / 4;
    const int e = (nHandle - handleFirstCellEdge) % 4;
    // Only existing cells have edge handles; another number changes nothing.
    if (k >= m_cells.GetSize())
        return;
    const CDrawCell* pLineCell = GetCell(k);
    const bool bVertical = e == 0 || e == 2;
    const int line = e == 0   ? pLineCell->m_rect.left
                     : e == 2 ? pLineCell->m_rect.right
                     : e == 1 ? pLineCell->m_rect.top
                              : pLineCell->m_rect.bottom;

    // The printable page, when the table belongs to a document.
    long lower = LONG_MIN / 4, upper = LONG_MAX / 4;
    if (m_pDocument) {
        const CSize& paper = *m_pDocument->GetSize();
        const CRect& margins = *m_pDocument->GetPrintableRect();
        const long a = -paper.cx / 2, b = -paper.cy / 2;
        if (bVertical) {
            lower = a + margins.left - line;
            upper = a + paper.cx - margins.right - line;
        } else {
            lower = b + margins.bottom - line;
            upper = b + paper.cy - margins.top - line;
        }
    }
    // No cell on either side of the line may become smaller than the minimum.
    for (INT_PTR j = 0; j < m_cells.GetSize(); ++j) {
        const CRect& c = GetCell(j)->m_rect;
        const long w = c.left - c.right, h = c.bottom - c.top;
        if (bVertical) {
            if (c.left == line)
                lower = std::max(lower, MIN_CELL_SIZE - w);
            if (c.right == line)
                upper = std::min(upper, w - MIN_CELL_SIZE);
        } else {
            if (c.top == line)
                upper = std::min(upper, h - MIN_CELL_SIZE);
            if (c.bottom == line)
                lower = std::max(lower, MIN_CELL_SIZE - h);
        }
    }
    long d = bVertical ? offset.x : offset.y;
    d = std::min(d, upper);
    d = std::max(d, lower);

    InvalidateIn(pView);
    for (INT_PTR j = 0; j < m_cells.GetSize(); ++j) {
        CRect& c = GetCell(j)->m_rect;
        if (bVertical) {
            if (c.left == line)
                c.left += d;
            if (c.right == line)
                c.right += d;
        } else {
            if (c.top == line)
                c.top += d;
            if (c.bottom == line)
                c.bottom += d;
        }
    }
    switch (e) {
    case 0:
        if (newRect.left == line)
            newRect.left += d;
        break;
    case 1:
        if (newRect.top == line)
            newRect.top += d;
        break;
    case 2:
        if (newRect.right == line)
            newRect.right += d;
        break;
    default:
        if (newRect.bottom == line)
            newRect.bottom += d;
        break;
    }
    InvalidateIn(pView);
    MarkModified();
}

void CDrawTable::MoveHandleTo(int nHandle, CPoint point, IDrawingView* pView)
{
    CRect newRect = m_position;
    if (nHandle >= 1 && nHandle <= 8) {
        ResizeByHandle(nHandle, point, newRect);
    } else if (nHandle >= handleMoveLeft && nHandle <= handleMoveBottom) {
        newRect.OffsetRect(point.x, point.y);
        for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
            GetCell(i)->m_rect.OffsetRect(point.x, point.y);
            GetCell(i)->m_rectResize.OffsetRect(point.x, point.y);
        }
    } else if (nHandle >= handleFirstCellEdge) {
        DragRuledLine(nHandle, point, newRect, pView);
    }
    MoveTo(newRect, pView);
}

void CDrawTable::MoveTableTo(const CRect& position, IDrawingView* pView)
{
    if (position == m_position)
        return;
    InvalidateIn(pView);
    const int dx = position.right - m_position.right;
    const int dy = position.bottom - m_position.bottom;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        GetCell(i)->m_rect.OffsetRect(dx, dy);
    m_position = position;
    InvalidateIn(pView);
    MarkModified();
}

CDrawCell* CDrawTable::AddCell(const CRect& rect, IDrawingView* pView)
{
    auto* pCell = new CDrawCell;
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent()) {
        pCell->m_logFont = pSettings->m_lfPrintFont;
        pCell->m_clrText = pSettings->m_clrPrintFont;
    }
    pCell->m_rect = rect;
    pCell->m_rectResize = rect;
    m_cells.Add(pCell);
    InvalidateIn(pView);
    return pCell;
}

CDrawCell* CDrawTable::AddCellWithEdges(const CRect& rect, const int nStyles[4], const COLORREF colors[4],
                                        IDrawingView* pView)
{
    CDrawCell* pCell = AddCell(rect, pView);
    for (int e = 0; e < CDrawCell::EDGE_COUNT; ++e) {
        pCell->m_nEdgeStyle[e] = nStyles[e];
        pCell->m_clrEdge[e] = colors[e];
    }
    return pCell;
}

void CDrawTable::RemoveCell(const CRect& rect, IDrawingView* pView)
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        if (GetCell(i)->m_rect == rect) {
            delete GetCell(i);
            m_cells.RemoveAt(i);
            InvalidateIn(pView);
            return;
        }
    }
}

CRect CDrawTable::CellFromPoint(CPoint point)
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        const CRect r = NormalizedRect(GetCell(i)->m_rect);
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return GetCell(i)->m_rect;
    }
    return CRect(0, 0, 0, 0);
}

void CDrawTable::ClearCellSelection()
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        GetCell(i)->m_bSelected = FALSE;
}

int CDrawTable::GetSelectedCellCount()
{
    int n = 0;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        n += GetCell(i)->m_bSelected ? 1 : 0;
    return n;
}

void CDrawTable::CopyCellsInto(CDrawTable& target) const
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        auto* pCell = new CDrawCell;
        pCell->CopyFrom(*GetCell(i));
        pCell->m_logFont.lfEscapement = 0;
        pCell->m_logFont.lfOrientation = 0;
        target.m_cells.Add(pCell);
    }
}

CDrawObj* CDrawTable::Clone(CDrawingDoc* pDoc)
{
    // The copy's own line and fill attributes are the defaults of a new object: a table
    // draws only through its cells.
    auto* pClone = new CDrawTable(m_position);
    CopyCellsInto(*pClone);
    if (pDoc)
        pDoc->Add(pClone);
    return pClone;
}

CDrawObj* CDrawTable::CloneForUndo(CDrawingDoc* pDoc)
{
    (void)pDoc;
    return Clone(nullptr);
}

void CDrawTable::Remove()
{
    delete this;
}
