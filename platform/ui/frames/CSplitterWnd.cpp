#include "platform/ui/frames/CSplitterWnd.h"

#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CCreateContext.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/SysColors.h"

#include <QWidget>

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_CANCELMODE()
END_MESSAGE_MAP()

namespace {

// The most rows and columns a static splitter may have.
constexpr int kMaxStaticPanes = 16;

// Sizes along one direction: every pane but the last gets its ideal size (nothing when
// that is below its minimum), the last one what is left; a bar lies between two panes.
void LayoutRowCol(std::vector<int>& cur, const std::vector<int>& ideal, const std::vector<int>& minimum,
                  int n, int total, int bar)
{
    int avail = std::max(0, total);
    for (int i = 0; i < n; ++i) {
        if (i == n - 1) {
            cur[static_cast<size_t>(i)] = std::max(0, avail);
            break;
        }
        int size = ideal[static_cast<size_t>(i)];
        if (size < minimum[static_cast<size_t>(i)])
            size = 0;
        size = std::clamp(size, 0, std::max(0, avail - bar));
        cur[static_cast<size_t>(i)] = size;
        avail -= size + bar;
    }
}

// The context for the views a dynamic split adds: same class and document as the first pane.
CCreateContext DynamicContext(CRuntimeClass* pViewClass, CWnd* pFirstPane, CFrameWnd* pFrame)
{
    auto* pFirst = dynamic_cast<CView*>(pFirstPane);
    CCreateContext context;
    context.m_pNewViewClass = pViewClass;
    context.m_pCurrentDoc = pFirst ? pFirst->GetDocument() : nullptr;
    context.m_pLastView = pFirst;
    context.m_pCurrentFrame = pFrame;
    return context;
}

// A pane of a deleted row or column; the frame forgets it first when it was the active view.
void DestroyPane(CFrameWnd* pFrame, CWnd* pPane)
{
    if (!pPane)
        return;
    if (pFrame && pFrame->GetActiveView() == pPane)
        pFrame->SetActiveView(nullptr, FALSE);
    pPane->DestroyWindow();
}

// After a row or column went away: its shared scroll bar goes too, and when the frame was
// left without an active view the first pane becomes it.
void AfterDelete(std::vector<CScrollBar*>& bars, int nCount, CFrameWnd* pFrame, CWnd* pFirstPane)
{
    if (static_cast<int>(bars.size()) > nCount) {
        CScrollBar* pBar = bars.back();
        bars.pop_back();
        pBar->DestroyWindow();
        delete pBar;
    }
    if (pFrame && !pFrame->GetActiveView()) {
        if (auto* pView = dynamic_cast<CView*>(pFirstPane))
            pFrame->SetActiveView(pView);
    }
}

} // namespace

CSplitterWnd::CSplitterWnd() = default;

CSplitterWnd::~CSplitterWnd()
{
    for (CScrollBar* p : m_hScrollBars)
        delete p;
    for (CScrollBar* p : m_vScrollBars)
        delete p;
}

// ---------------------------------------------------------------------------------------
// Creation.
// ---------------------------------------------------------------------------------------
BOOL CSplitterWnd::CreateCommon(CWnd* pParentWnd, SIZE sizeMin, DWORD dwStyle, UINT nID)
{
    m_sizeMin = sizeMin;
    m_rowInfo.assign(static_cast<size_t>(m_nMaxRows), CRowColInfo{});
    m_colInfo.assign(static_cast<size_t>(m_nMaxCols), CRowColInfo{});
    for (auto& r : m_rowInfo)
        r.nMinSize = sizeMin.cy;
    for (auto& c : m_colInfo)
        c.nMinSize = sizeMin.cx;
    LPCTSTR lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)));
    const DWORD dwWndStyle =
        (dwStyle & ~(WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT | SPLS_INVERT_TRACKER)) | WS_CHILD |
        WS_CLIPCHILDREN;
    if (!CWnd::Create(lpszClass, nullptr, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    // The splitter has no keys of its own: a press on a bar leaves the keyboard with the pane
    // that has it (the views beside go on showing what they show for the active one).
    if (QWidget* pClient = GetClientWidget())
        pClient->setFocusPolicy(Qt::NoFocus);
    return TRUE;
}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    if (m_hWnd || nRows < 1 || nCols < 1 || nRows > kMaxStaticPanes || nCols > kMaxStaticPanes)
        return FALSE;
    m_nRows = m_nMaxRows = nRows;
    m_nCols = m_nMaxCols = nCols;
    m_bDynamic = FALSE;
    return CreateCommon(pParentWnd, CSize(0, 0), dwStyle, nID);
}

BOOL CSplitterWnd::CreateScrollBarCtrl(DWORD dwStyle, UINT nID)
{
    auto* pBar = new CScrollBar;
    if (!pBar->Create(dwStyle | WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID)) {
        delete pBar;
        return FALSE;
    }
    if (dwStyle & SBS_VERT)
        m_vScrollBars.push_back(pBar);
    else
        m_hScrollBars.push_back(pBar);
    return TRUE;
}

BOOL CSplitterWnd::Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin,
                          CCreateContext* pContext, DWORD dwStyle, UINT nID)
{
    if (m_hWnd || nMaxRows < 1 || nMaxRows > 2 || nMaxCols < 1 || nMaxCols > 2 || !pContext ||
        !pContext->m_pNewViewClass)
        return FALSE;
    m_nMaxRows = nMaxRows;
    m_nMaxCols = nMaxCols;
    m_nRows = 1;
    m_nCols = 1;
    m_bDynamic = TRUE;
    m_pDynamicViewClass = pContext->m_pNewViewClass;
    m_bHasHScroll = (dwStyle & WS_HSCROLL) != 0;
    m_bHasVScroll = (dwStyle & WS_VSCROLL) != 0;
    if (!CreateCommon(pParentWnd, sizeMin, dwStyle, nID))
        return FALSE;
    if (m_bHasHScroll && !CreateScrollBarCtrl(SBS_HORZ, AFX_IDW_HSCROLL_FIRST))
        return FALSE;
    if (m_bHasVScroll && !CreateScrollBarCtrl(SBS_VERT, AFX_IDW_VSCROLL_FIRST))
        return FALSE;
    if (!CreateView(0, 0, m_pDynamicViewClass, CSize(0, 0), pContext))
        return FALSE;
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                              CCreateContext* pContext)
{
    if (!m_hWnd || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols || !pViewClass || GetPane(row, col))
        return FALSE;
    m_colInfo[static_cast<size_t>(col)].nIdealSize = sizeInit.cx;
    m_rowInfo[static_cast<size_t>(row)].nIdealSize = sizeInit.cy;
    CObject* pObject = pViewClass->CreateObject();
    auto* pWnd = dynamic_cast<CWnd*>(pObject);
    if (!pWnd) {
        delete pObject;
        return FALSE;
    }
    // Panes of a dynamic splitter scroll with the splitter's bars (CView::GetScrollBarCtrl).
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;
    // A view that fails to be created deletes itself.
    return pWnd->Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), this,
                        static_cast<UINT>(IdFromRowCol(row, col)), pContext);
}

// ---------------------------------------------------------------------------------------
// Layout.
// ---------------------------------------------------------------------------------------
void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const
{
    cyCur = cyMin = 0;
    if (row < 0 || row >= m_nMaxRows)
        return;
    cyCur = m_rowInfo[static_cast<size_t>(row)].nCurSize;
    cyMin = m_rowInfo[static_cast<size_t>(row)].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    if (row < 0 || row >= m_nMaxRows)
        return;
    m_rowInfo[static_cast<size_t>(row)].nIdealSize = std::max(0, cyIdeal);
    m_rowInfo[static_cast<size_t>(row)].nMinSize = std::max(0, cyMin);
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const
{
    cxCur = cxMin = 0;
    if (col < 0 || col >= m_nMaxCols)
        return;
    cxCur = m_colInfo[static_cast<size_t>(col)].nCurSize;
    cxMin = m_colInfo[static_cast<size_t>(col)].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    if (col < 0 || col >= m_nMaxCols)
        return;
    m_colInfo[static_cast<size_t>(col)].nIdealSize = std::max(0, cxIdeal);
    m_colInfo[static_cast<size_t>(col)].nMinSize = std::max(0, cxMin);
}

CRect CSplitterWnd::GetInsideRect() const
{
    CRect rect;
    GetClientRect(&rect);
    if (m_bDynamic) {
        if (m_bHasVScroll)
            rect.right -= ::GetSystemMetrics(SM_CXVSCROLL);
        if (m_bHasHScroll)
            rect.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);
    }
    rect.right = std::max(rect.left, rect.right);
    rect.bottom = std::max(rect.top, rect.bottom);
    return rect;
}

void CSplitterWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    const CRect inside = GetInsideRect();
    std::vector<int> colCur(static_cast<size_t>(m_nCols)), rowCur(static_cast<size_t>(m_nRows));
    std::vector<int> ideal, minimum;
    for (int c = 0; c < m_nCols; ++c) {
        ideal.push_back(m_colInfo[static_cast<size_t>(c)].nIdealSize);
        minimum.push_back(m_colInfo[static_cast<size_t>(c)].nMinSize);
    }
    LayoutRowCol(colCur, ideal, minimum, m_nCols, inside.Width(), cxSplitter);
    ideal.clear();
    minimum.clear();
    for (int r = 0; r < m_nRows; ++r) {
        ideal.push_back(m_rowInfo[static_cast<size_t>(r)].nIdealSize);
        minimum.push_back(m_rowInfo[static_cast<size_t>(r)].nMinSize);
    }
    LayoutRowCol(rowCur, ideal, minimum, m_nRows, inside.Height(), cySplitter);
    for (int c = 0; c < m_nCols; ++c)
        m_colInfo[static_cast<size_t>(c)].nCurSize = colCur[static_cast<size_t>(c)];
    for (int r = 0; r < m_nRows; ++r)
        m_rowInfo[static_cast<size_t>(r)].nCurSize = rowCur[static_cast<size_t>(r)];

    int y = inside.top;
    for (int r = 0; r < m_nRows; ++r) {
        const int cy = rowCur[static_cast<size_t>(r)];
        int x = inside.left;
        for (int c = 0; c < m_nCols; ++c) {
            const int cx = colCur[static_cast<size_t>(c)];
            if (CWnd* pPane = GetPane(r, c)) {
                // A collapsed pane keeps its window but takes no room.
                pPane->MoveWindow(x, y, std::max(0, cx), std::max(0, cy));
                const BOOL bShow = cx > 0 && cy > 0;
                if (bShow != ((pPane->GetStyle() & WS_VISIBLE) != 0))
                    pPane->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
            }
            x += cx + cxSplitter;
        }
        y += cy + cySplitter;
    }

    // The shared scroll bars: one under each column, one right of each row, less the room
    // of the split boxes at their starts while a split is still possible.
    CRect client;
    GetClientRect(&client);
    const int cxV = ::GetSystemMetrics(SM_CXVSCROLL);
    const int cyH = ::GetSystemMetrics(SM_CYHSCROLL);
    int x = inside.left;
    for (size_t c = 0; c < m_hScrollBars.size(); ++c) {
        if (static_cast<int>(c) >= m_nCols) {
            m_hScrollBars[c]->ShowWindow(SW_HIDE);
            continue;
        }
        int left = x;
        int width = colCur[c];
        if (c == 0 && m_nCols < m_nMaxCols) {
            left += cxSplitter;
            width -= cxSplitter;
        }
        m_hScrollBars[c]->MoveWindow(left, inside.bottom, std::max(0, width), cyH);
        m_hScrollBars[c]->ShowWindow(SW_SHOWNA);
        x += colCur[c] + cxSplitter;
    }
    y = inside.top;
    for (size_t r = 0; r < m_vScrollBars.size(); ++r) {
        if (static_cast<int>(r) >= m_nRows) {
            m_vScrollBars[r]->ShowWindow(SW_HIDE);
            continue;
        }
        int top = y;
        int height = rowCur[r];
        if (r == 0 && m_nRows < m_nMaxRows) {
            top += cySplitter;
            height -= cySplitter;
        }
        m_vScrollBars[r]->MoveWindow(inside.right, top, cxV, std::max(0, height));
        m_vScrollBars[r]->ShowWindow(SW_SHOWNA);
        y += rowCur[r] + cySplitter;
    }
    (void)client;
    Invalidate(TRUE);
}

// ---------------------------------------------------------------------------------------
// Panes.
// ---------------------------------------------------------------------------------------
CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return nullptr;
    for (CWnd* pChild = GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        if (pChild->GetDlgCtrlID() == IdFromRowCol(row, col) && !dynamic_cast<CScrollBar*>(pChild))
            return pChild;
    }
    return nullptr;
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol)
{
    if (!pWnd || !pWnd->m_hWnd || pWnd->GetParent() != this || dynamic_cast<CScrollBar*>(pWnd))
        return FALSE;
    const int id = pWnd->GetDlgCtrlID() - static_cast<int>(AFX_IDW_PANE_FIRST);
    if (id < 0)
        return FALSE;
    const int row = id / 16;
    const int col = id % 16;
    if (row >= m_nRows || col >= m_nCols)
        return FALSE;
    if (pRow)
        *pRow = row;
    if (pCol)
        *pCol = col;
    return TRUE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol)
{
    CWnd* pView = nullptr;
    if (CFrameWnd* pFrame = GetParentFrame())
        pView = pFrame->GetActiveView();
    if (!pView || !IsChildPane(pView, pRow, pCol)) {
        pView = CWnd::GetFocus();
        if (!pView || !IsChildPane(pView, pRow, pCol))
            return nullptr;
    }
    return pView;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd)
{
    CWnd* pPane = pWnd ? pWnd : GetPane(row, col);
    if (!pPane)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (auto* pView = dynamic_cast<CView*>(pPane); pView && pFrame)
        pFrame->SetActiveView(pView);
    else
        pPane->SetFocus();
}

CScrollBar* CSplitterWnd::GetSharedScrollBar(int nBar, int row, int col) const
{
    if (!m_bDynamic)
        return nullptr;
    if (nBar == SB_HORZ)
        return col >= 0 && col < static_cast<int>(m_hScrollBars.size())
                   ? m_hScrollBars[static_cast<size_t>(col)]
                   : nullptr;
    if (nBar == SB_VERT)
        return row >= 0 && row < static_cast<int>(m_vScrollBars.size())
                   ? m_vScrollBars[static_cast<size_t>(row)]
                   : nullptr;
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Dynamic splitting.
// ---------------------------------------------------------------------------------------
BOOL CSplitterWnd::SplitRow(int cyBefore)
{
    if (!m_bDynamic || m_nRows >= m_nMaxRows)
        return FALSE;
    const CRect inside = GetInsideRect();
    const int cyAfter = inside.Height() - cyBefore - cySplitter;
    if (cyBefore < m_sizeMin.cy || cyAfter < m_sizeMin.cy)
        return FALSE;
    CCreateContext context = DynamicContext(m_pDynamicViewClass, GetPane(0, 0), GetParentFrame());
    const int newRow = m_nRows;
    ++m_nRows;
    m_rowInfo[0].nIdealSize = cyBefore;
    if (m_bHasVScroll && static_cast<int>(m_vScrollBars.size()) < m_nRows)
        CreateScrollBarCtrl(SBS_VERT, AFX_IDW_VSCROLL_FIRST + static_cast<UINT>(newRow));
    for (int col = 0; col < m_nCols; ++col) {
        if (!CreateView(newRow, col, m_pDynamicViewClass,
                        CSize(m_colInfo[static_cast<size_t>(col)].nIdealSize, 0), &context)) {
            DeleteRow(newRow);
            return FALSE;
        }
        if (CWnd* pPane = GetPane(newRow, col))
            pPane->SendMessage(WM_INITIALUPDATE);
    }
    m_rowInfo[0].nIdealSize = cyBefore;
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::SplitColumn(int cxBefore)
{
    if (!m_bDynamic || m_nCols >= m_nMaxCols)
        return FALSE;
    const CRect inside = GetInsideRect();
    const int cxAfter = inside.Width() - cxBefore - cxSplitter;
    if (cxBefore < m_sizeMin.cx || cxAfter < m_sizeMin.cx)
        return FALSE;
    CCreateContext context = DynamicContext(m_pDynamicViewClass, GetPane(0, 0), GetParentFrame());
    const int newCol = m_nCols;
    ++m_nCols;
    if (m_bHasHScroll && static_cast<int>(m_hScrollBars.size()) < m_nCols)
        CreateScrollBarCtrl(SBS_HORZ, AFX_IDW_HSCROLL_FIRST + static_cast<UINT>(newCol));
    for (int row = 0; row < m_nRows; ++row) {
        if (!CreateView(row, newCol, m_pDynamicViewClass,
                        CSize(0, m_rowInfo[static_cast<size_t>(row)].nIdealSize), &context)) {
            DeleteColumn(newCol);
            return FALSE;
        }
        if (CWnd* pPane = GetPane(row, newCol))
            pPane->SendMessage(WM_INITIALUPDATE);
    }
    m_colInfo[0].nIdealSize = cxBefore;
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::DeleteRow(int rowDelete)
{
    if (!m_bDynamic || m_nRows <= 1 || rowDelete < 0 || rowDelete >= m_nRows)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    for (int col = 0; col < m_nCols; ++col)
        DestroyPane(pFrame, GetPane(rowDelete, col));
    // The row below moves up into the deleted one.
    for (int row = rowDelete + 1; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            if (CWnd* pPane = GetPane(row, col))
                pPane->SetDlgCtrlID(IdFromRowCol(row - 1, col));
        }
        m_rowInfo[static_cast<size_t>(row - 1)] = m_rowInfo[static_cast<size_t>(row)];
    }
    --m_nRows;
    AfterDelete(m_vScrollBars, m_nRows, pFrame, GetPane(0, 0));
    RecalcLayout();
}

void CSplitterWnd::DeleteColumn(int colDelete)
{
    if (!m_bDynamic || m_nCols <= 1 || colDelete < 0 || colDelete >= m_nCols)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    for (int row = 0; row < m_nRows; ++row)
        DestroyPane(pFrame, GetPane(row, colDelete));
    for (int col = colDelete + 1; col < m_nCols; ++col) {
        for (int row = 0; row < m_nRows; ++row) {
            if (CWnd* pPane = GetPane(row, col))
                pPane->SetDlgCtrlID(IdFromRowCol(row, col - 1));
        }
        m_colInfo[static_cast<size_t>(col - 1)] = m_colInfo[static_cast<size_t>(col)];
    }
    --m_nCols;
    AfterDelete(m_hScrollBars, m_nCols, pFrame, GetPane(0, 0));
    RecalcLayout();
}

// ---------------------------------------------------------------------------------------
// Painting and the mouse.
// ---------------------------------------------------------------------------------------
void CSplitterWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

BOOL CSplitterWnd::OnEraseBkgnd(CDC* pDC)
{
    (void)pDC;
    return TRUE; // OnPaint paints everything the panes leave
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const CRect inside = GetInsideRect();
    // The bars between the panes, raised.
    int x = inside.left;
    for (int c = 0; c + 1 < m_nCols; ++c) {
        x += m_colInfo[static_cast<size_t>(c)].nCurSize;
        dc.Draw3dRect(x, inside.top, cxSplitter, inside.Height(), light, shadow);
        x += cxSplitter;
    }
    int y = inside.top;
    for (int r = 0; r + 1 < m_nRows; ++r) {
        y += m_rowInfo[static_cast<size_t>(r)].nCurSize;
        dc.Draw3dRect(inside.left, y, inside.Width(), cySplitter, light, shadow);
        y += cySplitter;
    }
    // The split boxes at the starts of the scroll bars.
    if (m_bDynamic) {
        if (m_bHasVScroll && m_nRows < m_nMaxRows)
            dc.Draw3dRect(inside.right, inside.top, ::GetSystemMetrics(SM_CXVSCROLL), cySplitter, light,
                          shadow);
        if (m_bHasHScroll && m_nCols < m_nMaxCols)
            dc.Draw3dRect(inside.left, inside.bottom, cxSplitter, ::GetSystemMetrics(SM_CYHSCROLL), light,
                          shadow);
    }
}

int CSplitterWnd::HitTestPoint(CPoint pt) const
{
    const CRect inside = GetInsideRect();
    if (m_bDynamic) {
        const CRect vBox(inside.right, inside.top, inside.right + ::GetSystemMetrics(SM_CXVSCROLL),
                         inside.top + cySplitter);
        const CRect hBox(inside.left, inside.bottom, inside.left + cxSplitter,
                         inside.bottom + ::GetSystemMetrics(SM_CYHSCROLL));
        if (m_bHasVScroll && m_nRows < m_nMaxRows && vBox.PtInRect(pt))
            return vSplitterBox;
        if (m_bHasHScroll && m_nCols < m_nMaxCols && hBox.PtInRect(pt))
            return hSplitterBox;
    }
    int hitCol = -1;
    int x = inside.left;
    for (int c = 0; c + 1 < m_nCols; ++c) {
        x += m_colInfo[static_cast<size_t>(c)].nCurSize;
        if (pt.x >= x && pt.x < x + cxSplitter)
            hitCol = c;
        x += cxSplitter;
    }
    int hitRow = -1;
    int y = inside.top;
    for (int r = 0; r + 1 < m_nRows; ++r) {
        y += m_rowInfo[static_cast<size_t>(r)].nCurSize;
        if (pt.y >= y && pt.y < y + cySplitter)
            hitRow = r;
        y += cySplitter;
    }
    if (hitCol >= 0 && hitRow >= 0)
        return splitterIntersection1 + hitRow * 16 + hitCol;
    if (hitCol >= 0)
        return vSplitterBar1 + hitCol;
    if (hitRow >= 0)
        return hSplitterBar1 + hitRow;
    return noHit;
}

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (pWnd == this && nHitTest == HTCLIENT) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        const int ht = m_bTracking ? m_htTrack : HitTestPoint(pt);
        LPCTSTR cursor = nullptr;
        if (ht == vSplitterBox || (ht >= hSplitterBar1 && ht < splitterIntersection1))
            cursor = IDC_SIZENS;
        else if (ht == hSplitterBox || (ht >= vSplitterBar1 && ht < hSplitterBar1))
            cursor = IDC_SIZEWE;
        else if (ht >= splitterIntersection1)
            cursor = IDC_SIZEALL;
        if (cursor) {
            ::SetCursor(::LoadCursor(nullptr, cursor));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSplitterWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    const int ht = HitTestPoint(point);
    if (ht != noHit)
        StartTracking(ht, point);
}

void CSplitterWnd::StartTracking(int ht, CPoint pt)
{
    m_bTracking = TRUE;
    m_htTrack = ht;
    m_ptTrackStart = pt;
    SetCapture();
}

void CSplitterWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (!m_bTracking)
        return;
    // The bars follow the mouse at once.
    const CRect inside = GetInsideRect();
    if (m_htTrack >= vSplitterBar1 && m_htTrack < hSplitterBar1) {
        const int c = m_htTrack - vSplitterBar1;
        int left = inside.left;
        for (int i = 0; i < c; ++i)
            left += m_colInfo[static_cast<size_t>(i)].nCurSize + cxSplitter;
        m_colInfo[static_cast<size_t>(c)].nIdealSize = std::max(0, static_cast<int>(point.x) - left);
        RecalcLayout();
    } else if (m_htTrack >= hSplitterBar1 && m_htTrack < splitterIntersection1) {
        const int r = m_htTrack - hSplitterBar1;
        int top = inside.top;
        for (int i = 0; i < r; ++i)
            top += m_rowInfo[static_cast<size_t>(i)].nCurSize + cySplitter;
        m_rowInfo[static_cast<size_t>(r)].nIdealSize = std::max(0, static_cast<int>(point.y) - top);
        RecalcLayout();
    }
}

void CSplitterWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (!m_bTracking)
        return;
    const int ht = m_htTrack;
    StopTracking(TRUE);
    const CRect inside = GetInsideRect();
    if (ht == vSplitterBox) {
        SplitRow(static_cast<int>(point.y) - inside.top);
    } else if (ht == hSplitterBox) {
        SplitColumn(static_cast<int>(point.x) - inside.left);
    } else if (m_bDynamic) {
        // A bar dragged until a pane is below its minimum takes that pane away.
        if (ht >= vSplitterBar1 && ht < hSplitterBar1 && m_nCols > 1) {
            const int cxLeft = m_colInfo[0].nCurSize;
            const int cxRight = m_colInfo[1].nCurSize;
            if (cxLeft < m_sizeMin.cx)
                DeleteColumn(0);
            else if (cxRight < m_sizeMin.cx)
                DeleteColumn(1);
        } else if (ht >= hSplitterBar1 && ht < splitterIntersection1 && m_nRows > 1) {
            const int cyTop = m_rowInfo[0].nCurSize;
            const int cyBottom = m_rowInfo[1].nCurSize;
            if (cyTop < m_sizeMin.cy)
                DeleteRow(0);
            else if (cyBottom < m_sizeMin.cy)
                DeleteRow(1);
        }
    }
}

void CSplitterWnd::StopTracking(BOOL bAccept)
{
    (void)bAccept;
    if (!m_bTracking)
        return;
    m_bTracking = FALSE;
    m_htTrack = noHit;
    ::ReleaseCapture();
}

void CSplitterWnd::OnCancelMode()
{
    StopTracking(FALSE);
    CWnd::OnCancelMode();
}

void CSplitterWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!pScrollBar)
        return;
    const int col = pScrollBar->GetDlgCtrlID() - static_cast<int>(AFX_IDW_HSCROLL_FIRST);
    if (col < 0 || col >= m_nCols)
        return;
    // Every pane of the column scrolls from the same position.
    const int nOldPos = pScrollBar->GetScrollPos();
    for (int row = 0; row < m_nRows; ++row) {
        if (row > 0)
            pScrollBar->SetScrollPos(nOldPos, FALSE);
        if (CWnd* pPane = GetPane(row, col))
            pPane->SendMessage(WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(nSBCode), static_cast<WORD>(nPos)),
                               reinterpret_cast<LPARAM>(pScrollBar->m_hWnd));
    }
}

void CSplitterWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!pScrollBar)
        return;
    const int row = pScrollBar->GetDlgCtrlID() - static_cast<int>(AFX_IDW_VSCROLL_FIRST);
    if (row < 0 || row >= m_nRows)
        return;
    const int nOldPos = pScrollBar->GetScrollPos();
    for (int col = 0; col < m_nCols; ++col) {
        if (col > 0)
            pScrollBar->SetScrollPos(nOldPos, FALSE);
        if (CWnd* pPane = GetPane(row, col))
            pPane->SendMessage(WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(nSBCode), static_cast<WORD>(nPos)),
                               reinterpret_cast<LPARAM>(pScrollBar->m_hWnd));
    }
}
