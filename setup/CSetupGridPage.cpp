#include "setup/CSetupGridPage.h"

#include "app/CMorvelApp.h"
#include "platform/base/Cp932.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/SetupIds.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSetupGridPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CSetupGridPage, CPropertyPage)
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_ROW_CUT, OnRowCut)
ON_COMMAND(ID_ROW_COPY, OnRowCopy)
ON_COMMAND(ID_ROW_PASTE, OnRowPaste)
ON_COMMAND(ID_GRID_ROW_CLEAR, OnRowClear)
ON_COMMAND(ID_GRID_ROW_INSERT, OnRowInsert)
END_MESSAGE_MAP()

namespace {

// The screen's resolution: 96 pixels per inch both ways.
constexpr int kPixelsPerInch = 96;

} // namespace

CSetupGridPage::CSetupGridPage(UINT nIDTemplate, int nRows, int nEditableCols, UINT nIDMenu,
                               std::unique_ptr<CSetupCellEdit> pEdit)
    : CPropertyPage(nIDTemplate), m_nLastRow(nRows - 1), m_pEdit(std::move(pEdit)), m_edit(*m_pEdit),
      m_nEditableCols(nEditableCols), m_nIDMenu(nIDMenu), m_clip(static_cast<size_t>(nEditableCols))
{
}

CMorvelApp& CSetupGridPage::App()
{
    return *static_cast<CMorvelApp*>(AfxGetApp());
}

int CSetupGridPage::TwipsToPixels(long twips)
{
    return CGridCtrl::TwipsToPixels(twips);
}

int CSetupGridPage::CellPixels(long twips)
{
    return static_cast<int>(twips * kPixelsPerInch / 1440);
}

void CSetupGridPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_GRID, m_grid);
    DDX_Control(pDX, IDC_CELL_EDIT, m_edit);
}

int CSetupGridPage::LastFilledRow(int nCol) const
{
    for (int r = m_nLastRow; r >= 1; --r) {
        if (!CellText(r, nCol).IsEmpty())
            return r;
    }
    return 0;
}

int CSetupGridPage::LastRowInUse() const
{
    int last = 0;
    for (int c = 1; c <= m_nEditableCols; ++c)
        last = std::max(last, LastFilledRow(c));
    return last;
}

bool CSetupGridPage::FitGridToWholeRows(CScrollBar& bar)
{
    bool bCut = false;
    m_nVisibleRows = m_grid.FitToWholeRows(ROW_HEIGHT, bar, &bCut);
    return bCut;
}

CPoint CSetupGridPage::CellOrigin(int nRow, int nCol) const
{
    CRect rcGrid;
    m_grid.GetWindowRect(&rcGrid);
    ScreenToClient(&rcGrid);
    return CPoint(
        rcGrid.left + TwipsToPixels(m_grid.GetColPos(0) + m_grid.GetColPos(static_cast<short>(nCol))),
        rcGrid.top + TwipsToPixels(m_grid.GetRowPos(0) + m_grid.GetRowPos(static_cast<short>(nRow))));
}

void CSetupGridPage::LeavePreviousCell()
{
    m_nReady = 0;
    m_grid.SetRow(static_cast<short>(m_nPrevRow));
    m_grid.SetCol(static_cast<short>(m_nPrevCol));
    CommitEditor(m_nPrevRow, m_nPrevCol);
    m_grid.SetRow(static_cast<short>(m_nCurRow));
    m_grid.SetCol(static_cast<short>(m_nCurCol));
    m_nPrevRow = m_nCurRow;
    m_nPrevCol = m_nCurCol;
    m_nReady = 1;
}

void CSetupGridPage::RemoveRow(int nRow, int nLast)
{
    for (int k = nRow; k < nLast; ++k) {
        for (int c = 1; c <= m_nEditableCols; ++c)
            m_grid.SetTextMatrix(static_cast<short>(k), static_cast<short>(c), CellText(k + 1, c));
    }
    for (int k = nLast; k <= m_nLastRow; ++k) {
        for (int c = 1; c <= m_nEditableCols; ++c)
            m_grid.SetTextMatrix(static_cast<short>(k), static_cast<short>(c), "");
    }
}

void CSetupGridPage::OnContextMenu(CWnd*, CPoint point)
{
    if (m_nSetup)
        ShowContextMenu(point);
}

BOOL CSetupGridPage::PreTranslateMessage(MSG* pMsg)
{
    // A page that only shows its table takes no typing: a character, Backspace or Delete
    // typed into the grid sounds, so that nothing typed there is lost without a word (a
    // double-byte character sounds once).
    if (!m_nSetup && pMsg->hwnd == m_grid.GetSafeHwnd()) {
        if (pMsg->message == WM_CHAR) {
            const BYTE ch = static_cast<BYTE>(pMsg->wParam);
            if (m_bTrailByteNext)
                m_bTrailByteNext = false;
            else if (ch >= 0x20 || ch == VK_BACK) {
                m_bTrailByteNext = IsCp932LeadByte(ch);
                MessageBeep(MB_OK);
            }
        } else if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_DELETE) {
            MessageBeep(MB_OK);
        }
    }
    if (m_nSetup && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
        ((pMsg->wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) ||
         (m_bMenuKeyOpensMenu && pMsg->wParam == VK_APPS))) {
        CPoint pt(5, 5);
        ClientToScreen(&pt);
        ShowContextMenu(pt);
        return TRUE;
    }
    return CPropertyPage::PreTranslateMessage(pMsg);
}

void CSetupGridPage::ShowContextMenu(CPoint ptScreen)
{
    CMenu menu;
    if (!menu.LoadMenu(m_nIDMenu))
        return;
    if (CMenu* pPopup = menu.GetSubMenu(0))
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, this);
}

// ---- row commands ---------------------------------------------------------------------
// The rows that cut and insert move are those down to the last one holding text in any
// column: a row whose name is still empty but whose other cells are filled moves with the
// others and is never emptied.
void CSetupGridPage::OnRowCut()
{
    OnRowCopy();
    const int r = m_nCurRow;
    const int last = LastRowInUse();
    if (r < 1 || r > last)
        return;
    m_nReady = 0;
    RemoveRow(r, last);
    m_nReady = 1;
    SetEditorText(CellText(r, m_nCurCol));
    m_edit.SetFocus();
}

void CSetupGridPage::OnRowCopy()
{
    CommitEditor(m_nCurRow, m_nCurCol);
    for (int c = 1; c <= m_nEditableCols; ++c)
        m_clip[static_cast<size_t>(c - 1)] = CellText(m_nCurRow, c);
    m_edit.SetFocus();
}

void CSetupGridPage::OnRowPaste()
{
    if (std::none_of(m_clip.begin(), m_clip.end(), [](const CString& s) { return !s.IsEmpty(); }))
        return;
    for (int c = 1; c <= m_nEditableCols; ++c)
        m_grid.SetTextMatrix(static_cast<short>(m_nCurRow), static_cast<short>(c),
                             m_clip[static_cast<size_t>(c - 1)]);
    SetEditorText(CellText(m_nCurRow, m_nCurCol));
    m_edit.SetFocus();
}

void CSetupGridPage::OnRowClear()
{
    if (m_nCurRow < 1 || m_nCurRow > m_nLastRow)
        return;
    for (int c = 1; c <= m_nEditableCols; ++c)
        m_grid.SetTextMatrix(static_cast<short>(m_nCurRow), static_cast<short>(c), "");
    SetEditorText("");
    m_edit.SetFocus();
}

void CSetupGridPage::OnRowInsert()
{
    const int r = m_nCurRow;
    if (r < 1 || r >= m_nLastRow)
        return;
    // The text being typed belongs to the row and moves down with it.
    CommitEditor(m_nCurRow, m_nCurCol);
    // With text in the very last row there is no room and nothing moves.
    const int last = LastRowInUse();
    if (last >= m_nLastRow) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    m_nReady = 0;
    for (int k = last; k >= r; --k) {
        for (int c = 1; c <= m_nEditableCols; ++c)
            m_grid.SetTextMatrix(static_cast<short>(k + 1), static_cast<short>(c), CellText(k, c));
    }
    for (int c = 1; c <= m_nEditableCols; ++c)
        m_grid.SetTextMatrix(static_cast<short>(r), static_cast<short>(c), "");
    m_nReady = 1;
    SetEditorText("");
    m_edit.SetFocus();
}
