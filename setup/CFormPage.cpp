#include "setup/CFormPage.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelDocManager.h"
#include "app/MasterBackup.h"
#include "app/MasterFileIo.h"
#include "engine/estimate/CNumberRules.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932Text.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/SetupIds.h"
#include "setup/CIntroductionDialog.h"
#include "setup/CListPickDialog.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFormPage, CSetupGridPage)

BEGIN_MESSAGE_MAP(CFormPage, CSetupGridPage)
ON_WM_VSCROLL()
ON_WM_HSCROLL()
ON_BN_CLICKED(IDC_FORM_RELOAD, OnReload)
ON_BN_CLICKED(IDC_FORM_OPEN, OnOpen)
ON_BN_CLICKED(IDC_FORM_SAVE, OnSave)
ON_BN_CLICKED(IDC_FORM_NEW, OnNew)
END_MESSAGE_MAP()

namespace {

const char* const kTextAttribute = "文字";

// "A" to "Z", then "AA" to "CU" for row 99.
CString RowLabel(int r)
{
    const int q = (r - 1) / 26;
    const int m = (r - 1) % 26;
    CString label;
    if (q > 0)
        label += static_cast<char>('A' + q - 1);
    label += static_cast<char>('A' + m);
    return label;
}

int CountPictureChars(const CString& text)
{
    int n = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        const char ch = text[i];
        if (ch == '#' || ch == ',' || ch == '.')
            ++n;
    }
    return n;
}

} // namespace

CFormPage::CFormPage(UINT nIDTemplate, int nEditableCols, UINT nIDMenu, std::unique_ptr<CSetupCellEdit> pEdit)
    : CSetupGridPage(nIDTemplate, ROWS, nEditableCols, nIDMenu, std::move(pEdit)),
      m_snapshot(static_cast<size_t>(LAST_ROW * nEditableCols))
{
    m_bMenuKeyOpensMenu = true;
    m_edit.acceptChar = [this](UINT nChar) {
        switch (m_nEditMode) {
        case -1:
            return TRUE;
        case 1:
            return (nChar >= '0' && nChar <= '9') || nChar == '\b' || nChar == 0x82 ? TRUE : FALSE;
        case 2:
            return nChar == '#' || nChar == ',' || nChar == '.' || (nChar == '\b' && PictureTakesBackspace())
                       ? TRUE
                       : FALSE;
        case 3:
            return (nChar >= '0' && nChar <= '9') || (nChar >= 'A' && nChar <= 'Z') ||
                           (nChar >= 'a' && nChar <= 'z') ||
                           CString("().-*+/\b").Find(static_cast<char>(nChar)) >= 0
                       ? TRUE
                       : FALSE;
        default:
            return FALSE;
        }
    };
    m_edit.afterKey = [this] {
        // The width of a number item is the length of its picture.
        if (m_nEditMode != 2)
            return;
        CString text;
        m_edit.GetWindowText(text);
        CString width;
        width.Format("%d", CountPictureChars(text));
        m_grid.SetTextMatrix(static_cast<short>(m_nCurRow), 3, width);
    };
    m_edit.onMove = [this](CSetupCellEdit::MoveKey key) { MoveCell(key); };
}

CFormPage::~CFormPage() = default;

CString CFormPage::Folder() const
{
    return App().GetPathSetting(FolderKey());
}

void CFormPage::DoDataExchange(CDataExchange* pDX)
{
    CSetupGridPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FORM_VSCROLL, m_vscroll);
    DDX_Control(pDX, IDC_FORM_HSCROLL, m_hscroll);
}

int CFormPage::ItemCount() const
{
    for (int r = LAST_ROW; r >= 1; --r) {
        if (!CellText(r, 1).IsEmpty())
            return r;
    }
    return LAST_ROW;
}

int CFormPage::EditModeOf(int nCol, const CString& strAttribute) const
{
    const bool bText = strAttribute == CString::FromUtf8(kTextAttribute);
    if (nCol == 1)
        return -1;
    if (IsPickColumn(nCol))
        return nCol == 10 ? -1 : 0; // the conversion column may be typed too
    switch (nCol) {
    case 3:
        return bText ? 1 : 0;
    case 4:
        return bText ? 0 : 2;
    case 5:
        return bText ? 0 : 3;
    case 6:
        return bText ? 0 : -1;
    default:
        return -1;
    }
}

BOOL CFormPage::OnInitDialog()
{
    m_nShown = 1;
    CPropertyPage::OnInitDialog();
    m_nReady = 0;
    m_grid.SetCols(static_cast<short>(m_nEditableCols + 1));
    m_grid.SetRows(ROWS);
    m_grid.SetRowHeight(-1, ROW_HEIGHT);
    const std::vector<long> defaults = DefaultWidths();
    m_widths.assign(static_cast<size_t>(m_nEditableCols + 1), 0);
    for (int c = 0; c <= m_nEditableCols; ++c) {
        CString key;
        key.Format("Item%d", c);
        m_widths[static_cast<size_t>(c)] = static_cast<long>(
            App().GetProfileInt(WidthSection(), key, static_cast<int>(defaults[static_cast<size_t>(c)])));
        m_grid.SetColWidth(static_cast<short>(c), m_widths[static_cast<size_t>(c)]);
    }

    if (FitGridToWholeRows(m_vscroll)) {
        // The horizontal bar stays right below the grid.
        CRect rcGrid;
        m_grid.GetWindowRect(&rcGrid);
        ScreenToClient(&rcGrid);
        CRect rcBar;
        m_hscroll.GetWindowRect(&rcBar);
        ScreenToClient(&rcBar);
        const int cy = rcBar.Height();
        rcBar.top = rcGrid.bottom + 1;
        rcBar.bottom = rcBar.top + cy;
        m_hscroll.MoveWindow(&rcBar);
    }

    const std::unique_ptr<IFormAccess> app = AppForm();
    for (int r = 1; r <= LAST_ROW; ++r)
        m_grid.SetTextMatrix(static_cast<short>(r), 0, RowLabel(r));
    // The labels show whole ("CO" and "CQ" are not both "C" and a part), however narrow
    // the column was left.
    m_grid.FitColWidthToText(0);
    m_widths[0] = m_grid.GetColWidth(0);
    for (int c = 1; c <= m_nEditableCols; ++c)
        m_grid.SetTextMatrix(0, static_cast<short>(c), app->Heading(c - 1));

    m_nCurRow = m_nCurCol = m_nPrevRow = m_nPrevCol = 1;
    m_grid.SetRow(1);
    m_grid.SetCol(1);
    PlaceEditor();
    m_nReady = 1;
    m_vscroll.SetScrollRange(1, ROWS + 1 - m_nVisibleRows);
    m_vscroll.SetScrollPos(1);
    UpdateBars();

    if (m_nSinglePage) {
        m_strShownName = StartupFileName();
        SetDlgItemText(IDC_PATH_LABEL, DisplayPath(Folder() + m_strShownName));
    } else if (!m_nSetup) {
        LoadFrom(*CopyForm());
        m_strShownName = CopyFileName();
        SetDlgItemText(IDC_PATH_LABEL, DisplayPath(Folder() + m_strShownName));
    } else {
        LoadFromApp();
    }
    m_nLastPick = -1;

    auto show = [this](int nID, bool bShow) {
        if (CWnd* p = GetDlgItem(nID))
            p->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    };
    if (!m_nSetup) {
        m_vscroll.ShowWindow(SW_HIDE);
        m_hscroll.ShowWindow(SW_HIDE);
        m_grid.SetGridScrollBars(3);
        show(IDC_FORM_NEW, false);
        show(IDC_FORM_RELOAD, false);
        show(IDC_FORM_OPEN, false);
        show(IDC_FORM_SAVE, true);
        m_edit.ShowWindow(SW_HIDE);
        m_grid.SetFocus();
    } else if (m_nSinglePage) {
        show(IDC_FORM_NEW, false);
        show(IDC_FORM_RELOAD, false);
        show(IDC_FORM_SAVE, false);
        show(IDC_FORM_OPEN, true);
        m_edit.ShowWindow(SW_SHOW);
    }
    return FALSE;
}

void CFormPage::LoadFrom(const IFormAccess& form)
{
    m_nReady = 0;
    const int nCount = std::min(form.Count(), LAST_ROW);
    for (int r = 1; r <= nCount; ++r) {
        for (int c = 1; c <= m_nEditableCols; ++c)
            m_grid.SetTextMatrix(static_cast<short>(r), static_cast<short>(c), form.Item(r - 1, c - 1));
    }
    m_nReady = 1;
    SetEditorText(CellText(m_nCurRow, m_nCurCol));
}

void CFormPage::EmptyGrid()
{
    for (int r = 1; r <= LAST_ROW; ++r) {
        for (int c = 1; c <= m_nEditableCols; ++c)
            m_grid.SetTextMatrix(static_cast<short>(r), static_cast<short>(c), "");
    }
}

void CFormPage::TakeSnapshot(const IFormAccess& form)
{
    std::fill(m_snapshot.begin(), m_snapshot.end(), CString());
    m_nSnapshotCount = std::min(form.Count(), LAST_ROW);
    for (int r = 1; r <= m_nSnapshotCount; ++r) {
        for (int c = 1; c <= m_nEditableCols; ++c)
            m_snapshot[static_cast<size_t>((r - 1) * m_nEditableCols + c - 1)] = form.Item(r - 1, c - 1);
    }
}

void CFormPage::LoadFromApp()
{
    const std::unique_ptr<IFormAccess> app = AppForm();
    TakeSnapshot(*app);
    LoadFrom(*app);
    m_edit.SetFocus();
    m_strShownName = AppFileName();
    SetDlgItemText(IDC_PATH_LABEL, DisplayPath(Folder() + m_strShownName));
}

void CFormPage::GridToForm(IFormAccess& form, int nCount)
{
    form.SetCount(nCount);
    for (int r = 1; r <= nCount; ++r) {
        for (int c = 1; c <= m_nEditableCols; ++c)
            form.SetItem(r - 1, c - 1, CellText(r, c));
    }
}

CString CFormPage::CommittedText(int nRow, int nCol)
{
    CString text;
    m_edit.GetWindowText(text);
    if (m_nEditMode != 1)
        return text;
    // A width is read as every number cell reads a number: "１２", "1,000" alike.
    std::string plain;
    if (CNumberRules::ReadTypedNumber(text, plain))
        return CString(plain.c_str());
    CString converted = text;
    if (ToHalfWidthNumber(converted) == 0) {
        text = converted;
    } else {
        CString probe = text;
        const int kind = ClassifyFullWidthText(probe);
        if (kind == 0 || kind == 1)
            text = probe.IsEmpty() ? probe : CellText(nRow, nCol);
        else
            text = m_edit.m_strLastText.IsEmpty() ? text : m_edit.m_strLastText;
    }
    return text.IsEmpty() ? CString("0") : text;
}

void CFormPage::SetEditorText(const CString& text)
{
    // Text put in by the page is no typing: the picture is not recounted for it.
    const int nMode = m_nEditMode;
    m_nEditMode = -1;
    m_edit.SetWindowText(text);
    m_nEditMode = nMode;
}

void CFormPage::CommitEditor(int nRow, int nCol)
{
    if (!m_nSetup)
        return;
    m_grid.SetTextMatrix(static_cast<short>(nRow), static_cast<short>(nCol), CommittedText(nRow, nCol));
}

void CFormPage::UpdateBars()
{
    CRect rcGrid;
    m_grid.GetClientRect(&rcGrid);
    int nMaxLeft = m_nEditableCols;
    for (int c = 1; c <= m_nEditableCols; ++c) {
        int cx = TwipsToPixels(m_grid.GetColWidth(0)) + 1;
        for (int k = c; k <= m_nEditableCols; ++k)
            cx += TwipsToPixels(m_grid.GetColWidth(static_cast<short>(k))) + 1;
        if (cx <= rcGrid.Width() - 2) {
            nMaxLeft = c;
            break;
        }
    }
    m_hscroll.SetScrollRange(1, nMaxLeft);
    m_hscroll.SetScrollPos(m_grid.GetLeftCol());
    m_vscroll.SetScrollPos(m_grid.GetTopRow());
}

int CFormPage::LastWholeColumn(int nLeft)
{
    CRect rcGrid;
    m_grid.GetClientRect(&rcGrid);
    int cx = TwipsToPixels(m_grid.GetColWidth(0)) + 1;
    int nLast = nLeft - 1;
    for (int k = nLeft; k <= m_nEditableCols; ++k) {
        cx += TwipsToPixels(m_grid.GetColWidth(static_cast<short>(k))) + 1;
        if (cx > rcGrid.Width() - 2)
            break;
        nLast = k;
    }
    return nLast;
}

void CFormPage::PlaceEditor()
{
    m_grid.SetRowHeight(-1, ROW_HEIGHT);
    if (!m_nSetup) {
        m_edit.ShowWindow(SW_HIDE);
        return;
    }
    CRect rcGrid;
    m_grid.GetWindowRect(&rcGrid);
    ScreenToClient(&rcGrid);
    const CPoint origin = CellOrigin(m_nCurRow, m_nCurCol);
    const int x = origin.x;
    const int y = origin.y;
    int cx = CellPixels(m_grid.GetColWidth(static_cast<short>(m_nCurCol)));
    const int cy = CellPixels(ROW_HEIGHT);
    if (x + cx > rcGrid.right)
        cx = std::max(0, rcGrid.right - x - 2);

    LeavePreviousCell();

    m_edit.MoveWindow(x + 1, y + 1, cx, cy);
    // The text the editor is given is no typing: nothing is recounted for it.
    m_nEditMode = -1;
    const CString text = m_grid.GetText();
    SetEditorText(text);
    m_edit.m_strLastText = text;
    m_edit.EmptyUndoBuffer();
    m_edit.SetFocus();
    // What the user types replaces the cell's text (a new 文字 item's width "0" becomes
    // "30", not "030"); an arrow key or a click keeps it for editing.
    m_edit.SetSel(0, -1);
    m_edit.ShowWindow(SW_SHOW);
    for (int c = 0; c <= m_nEditableCols; ++c)
        m_widths[static_cast<size_t>(c)] = m_grid.GetColWidth(static_cast<short>(c));
    UpdateBars();
    m_nEditMode = EditModeOf(m_nCurCol, CellText(m_nCurRow, 2));
}

void CFormPage::EnsureVisible()
{
    const int r = m_nCurRow;
    int top = m_grid.GetTopRow();
    if (r < top)
        top = r;
    else if (r > top + m_nVisibleRows - 2)
        top = r - m_nVisibleRows + 2;
    m_grid.SetTopRow(static_cast<short>(std::max(1, top)));
    CRect rcGrid;
    m_grid.GetClientRect(&rcGrid);
    int left = m_grid.GetLeftCol();
    if (m_nCurCol < left)
        left = m_nCurCol;
    m_grid.SetLeftCol(static_cast<short>(left));
    for (int guard = 0; guard < m_nEditableCols; ++guard) {
        const long right = m_grid.GetColPos(static_cast<short>(m_nCurCol)) / 15 +
                           TwipsToPixels(m_grid.GetColWidth(static_cast<short>(m_nCurCol)));
        if (right <= rcGrid.Width() - 2 || m_grid.GetLeftCol() >= m_nCurCol)
            break;
        const short before = m_grid.GetLeftCol();
        m_grid.SetLeftCol(static_cast<short>(before + 1));
        if (m_grid.GetLeftCol() == before)
            break;
    }
}

void CFormPage::SetCurrent(int nRow, int nCol)
{
    const int r = std::clamp(nRow, 1, LAST_ROW);
    const int c = std::clamp(nCol, 1, m_nEditableCols);
    const int nOldRow = m_nCurRow;
    const int nOldCol = m_nCurCol;
    // Scroll first so that the editor lands where the cell is shown.
    m_nCurRow = r;
    m_nCurCol = c;
    EnsureVisible();
    m_nCurRow = nOldRow;
    m_nCurCol = nOldCol;
    if (r == m_grid.GetRow() && c == m_grid.GetCol()) {
        m_nPrevRow = m_nCurRow;
        m_nPrevCol = m_nCurCol;
        m_nCurRow = r;
        m_nCurCol = c;
        PlaceEditor();
        return;
    }
    m_grid.SetCol(static_cast<short>(c));
    m_grid.SetRow(static_cast<short>(r));
}

void CFormPage::NextColumn(int& r, int& c)
{
    if (c < m_nEditableCols) {
        ++c;
    } else {
        c = 1;
        if (r < LAST_ROW)
            ++r;
    }
}

int CFormPage::OpenPick(int nCol)
{
    CPickList* pList = const_cast<CPickList*>(PickListOf(nCol));
    if (!pList)
        return -1;
    CString current;
    m_edit.GetWindowText(current);
    int nSelect = 0;
    for (size_t i = 0; i < pList->stored.size(); ++i) {
        if (pList->stored[i] == current) {
            nSelect = static_cast<int>(i);
            break;
        }
    }
    CListPickDialog dlg(pList->shown.data(), static_cast<int>(pList->shown.size()), pList->title, nSelect,
                        this);
    if (dlg.DoModal() != IDOK || dlg.m_nSelect < 0 || dlg.m_nSelect >= static_cast<int>(pList->stored.size()))
        return -1;
    SetEditorText(pList->stored[static_cast<size_t>(dlg.m_nSelect)]);
    m_nLastPick = dlg.m_nSelect;
    AfterPick(nCol, dlg.m_nSelect);
    return dlg.m_nSelect;
}

void CFormPage::MoveCell(int nCode)
{
    if (!m_nSetup)
        return;
    int r = m_nCurRow;
    int c = m_nCurCol;
    const int v = m_nVisibleRows;
    switch (nCode) {
    case CSetupCellEdit::keyShiftTab:
        if (c > 1) {
            --c;
        } else {
            c = m_nEditableCols;
            if (r > 1)
                --r;
        }
        break;
    case CSetupCellEdit::keyTab:
        NextColumn(r, c);
        break;
    case CSetupCellEdit::keyUp:
        r = std::max(1, r - 1);
        break;
    case CSetupCellEdit::keyDown:
        r = std::min(LAST_ROW, r + 1);
        break;
    case CSetupCellEdit::keyPageUp:
        m_grid.SetTopRow(static_cast<short>(std::max(1, m_grid.GetTopRow() - (v - 1))));
        r = std::max(1, r - (v - 1));
        break;
    case CSetupCellEdit::keyPageDown:
        m_grid.SetTopRow(static_cast<short>(std::min(ROWS + 1 - v, m_grid.GetTopRow() + (v - 1))));
        r = std::min(LAST_ROW, r + (v - 1));
        break;
    case CSetupCellEdit::keyEnter: {
        // Confirm, then move on by the item's attribute; a pick column on the way opens
        // its list at once, until a typed column is reached.
        for (int guard = 0; guard < 2 * m_nEditableCols + 2; ++guard) {
            if (PickListOf(c))
                OpenPick(c);
            CommitEditor(r, c);
            const CString attribute = CellText(r, 2);
            if (c == 2 && attribute == CString::FromUtf8(kTextAttribute)) {
                for (int k = 4; k <= 6; ++k)
                    m_grid.SetTextMatrix(static_cast<short>(r), static_cast<short>(k), "");
            }
            const int nSteps = EnterSteps(c, attribute);
            for (int i = 0; i < nSteps; ++i)
                NextColumn(r, c);
            SetCurrent(r, c);
            if (!PickListOf(c))
                return;
        }
        return;
    }
    case CSetupCellEdit::keyEscape:
        m_edit.Undo();
        return;
    default:
        return;
    }
    SetCurrent(r, c);
}

BOOL CFormPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr && hdr->idFrom == static_cast<UINT_PTR>(IDC_GRID) &&
        (hdr->code == GRIDN_ROWCOLCHANGE || hdr->code == GRIDN_CLICK)) {
        *pResult = 0;
        if (!m_nReady)
            return TRUE;
        m_nPrevRow = m_nCurRow;
        m_nPrevCol = m_nCurCol;
        m_nCurRow = std::clamp(static_cast<int>(m_grid.GetRow()), 1, LAST_ROW);
        m_nCurCol = std::clamp(static_cast<int>(m_grid.GetCol()), 1, m_nEditableCols);
        PlaceEditor();
        if (hdr->code == GRIDN_CLICK && m_nSetup && PickListOf(m_nCurCol))
            MoveCell(CSetupCellEdit::keyEnter);
        return TRUE;
    }
    return CPropertyPage::OnNotify(wParam, lParam, pResult);
}

void CFormPage::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!pScrollBar || pScrollBar->m_hWnd != m_vscroll.m_hWnd)
        return;
    const int v = m_nVisibleRows;
    int top = m_grid.GetTopRow();
    int r = m_nCurRow;
    const int nMax = ROWS + 1 - v;
    switch (nSBCode) {
    case SB_LINEUP:
        if (r == top + v - 1)
            --r;
        top = std::max(1, top - 1);
        break;
    case SB_LINEDOWN:
        if (r == top)
            ++r;
        top = std::min(nMax, top + 1);
        break;
    case SB_PAGEUP:
        top = std::max(1, top - (v - 1));
        r = std::max(1, r - (v - 1));
        break;
    case SB_PAGEDOWN:
        top = std::min(nMax, top + (v - 1));
        r = std::min(LAST_ROW, r + (v - 1));
        break;
    case SB_THUMBPOSITION:
        top = static_cast<int>(nPos);
        break;
    case SB_THUMBTRACK:
        top = static_cast<int>(nPos);
        r = std::min(LAST_ROW, static_cast<int>(nPos));
        break;
    default:
        return;
    }
    m_vscroll.SetScrollPos(top);
    m_grid.SetTopRow(static_cast<short>(top));
    if (r == m_nCurRow) {
        m_nPrevRow = m_nCurRow;
        m_nPrevCol = m_nCurCol;
        PlaceEditor();
    } else {
        m_grid.SetRow(static_cast<short>(std::clamp(r, 1, LAST_ROW)));
    }
}

void CFormPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!pScrollBar || pScrollBar->m_hWnd != m_hscroll.m_hWnd)
        return;
    int nMin = 1;
    int nMax = 1;
    m_hscroll.GetScrollRange(&nMin, &nMax);
    int left = m_grid.GetLeftCol();
    int c = m_nCurCol;
    switch (nSBCode) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
        left = std::max(1, left - 1);
        break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
        if (left < nMax) {
            if (c == left)
                ++c;
            ++left;
        }
        break;
    case SB_THUMBPOSITION:
        left = static_cast<int>(nPos);
        break;
    case SB_THUMBTRACK:
        left = static_cast<int>(nPos);
        c = static_cast<int>(nPos);
        break;
    default:
        return;
    }
    left = std::clamp(left, 1, std::max(1, nMax));
    // The current column goes along with the view: the editor never lies outside the grid.
    c = std::clamp(c, left, std::max(left, LastWholeColumn(left)));
    m_grid.SetLeftCol(static_cast<short>(left));
    m_hscroll.SetScrollPos(left);
    if (c == m_nCurCol) {
        m_nPrevRow = m_nCurRow;
        m_nPrevCol = m_nCurCol;
        PlaceEditor();
    } else {
        m_grid.SetCol(static_cast<short>(std::clamp(c, 1, m_nEditableCols)));
    }
}

// ---- modification and saving -----------------------------------------------------------
BOOL CFormPage::IsModified()
{
    CommitEditor(m_nCurRow, m_nCurCol);
    const int nCount = ItemCount();
    if (nCount != m_nSnapshotCount)
        return TRUE;
    for (int r = 1; r <= nCount; ++r) {
        for (int c = 1; c <= m_nEditableCols; ++c) {
            if (CellText(r, c) != m_snapshot[static_cast<size_t>((r - 1) * m_nEditableCols + c - 1)])
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CFormPage::WriteFormFile(const CString& strPath, IFormAccess& form)
{
    return RewriteTableFile(
        strPath, [&form](CArchive& ar) { form.Store(ar); }, CString::FromUtf8(WriteFailMessage()));
}

void CFormPage::WriteOwnFormName(const CString& strName)
{
    // Only this form's name: while start-up runs the other forms' members may hold whole
    // paths, which do not belong in the settings.
    App().WriteProfileString("Form File Name Setting", NameKey(), strName);
}

void CFormPage::SaveFormAs()
{
    CFileDialog dlg(FALSE, DefaultExt(), Folder() + m_strShownName,
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR, SaveFilter(), this);
    if (dlg.DoModal() != IDOK) {
        if (m_nSetup)
            TakeSnapshot(*AppForm());
        return;
    }
    const CString strPath = dlg.GetPathName();
    if (m_nSetup) {
        CommitEditor(m_nCurRow, m_nCurCol);
        const std::unique_ptr<IFormAccess> app = AppForm();
        GridToForm(*app, ItemCount());
        App().WritePathSetting(FolderKey(), GetFolderOfPath(strPath).TrimRight("\\/"));
        m_bWriteOK = WriteFormFile(strPath, *app);
        if (m_bWriteOK) {
            // The form saved is the one in use, now and at the next start.
            AppFileName() = GetFileNameOfPath(strPath);
            m_strShownName = AppFileName();
            WriteOwnFormName(AppFileName());
        }
        TakeSnapshot(*app);
    } else {
        const std::unique_ptr<CScratchForm> fresh = NewForm();
        GridToForm(fresh->Access(), ItemCount());
        m_bWriteOK = WriteFormFile(strPath, fresh->Access());
        TakeSnapshot(fresh->Access());
    }
}

void CFormPage::WriteWidths()
{
    for (int c = 0; c <= m_nEditableCols; ++c) {
        CString key;
        key.Format("Item%d", c);
        App().WriteProfileInt(WidthSection(), key,
                              static_cast<int>(m_grid.GetColWidth(static_cast<short>(c))));
    }
}

BOOL CFormPage::OnApply()
{
    WriteWidths();
    m_bWriteOK = TRUE;
    OnOK();
    return m_bWriteOK;
}

void CFormPage::OnOK()
{
    WriteWidths();
    if (!m_nSinglePage) {
        if (auto* pSheet = dynamic_cast<CIntroductionDialog*>(GetSheet()))
            pSheet->SaveModifiedForms();
        return;
    }
    CommitEditor(m_nCurRow, m_nCurCol);
    const std::unique_ptr<IFormAccess> app = AppForm();
    GridToForm(*app, ItemCount());
    const CString strPath = Folder() + StartupFileName();
    m_bWriteOK = WriteFormFile(strPath, *app);
    if (m_bWriteOK) {
        // The new form is the one in use from now on.
        AppFileName() = strPath;
        WriteOwnFormName(StartupFileName());
    }
    m_edit.SetFocus();
}

void CFormPage::OnCancel()
{
    WriteWidths();
    if (!m_nSinglePage)
        return;
    const std::unique_ptr<IFormAccess> app = AppForm();
    app->SetCount(0);
    const CString strPath = Folder() + StartupFileName();
    m_bWriteOK = WriteFormFile(strPath, *app);
    if (m_bWriteOK) {
        AppFileName() = strPath;
        WriteOwnFormName(StartupFileName());
    }
}

// ---- buttons ----------------------------------------------------------------------------
void CFormPage::OnReload()
{
    const CString strPath = Folder() + AppFileName();
    CFile file;
    if (file.Open(strPath, CFile::modeRead | CFile::shareDenyNone)) {
        const std::unique_ptr<CScratchForm> scratch = NewForm();
        int nResult = -1;
        try {
            CArchive ar(&file, CArchive::load, 4096);
            nResult = scratch->Access().Load(ar);
        } catch (const CException&) {
            AfxMessageBox(CString::FromUtf8(ReadFailMessage()), MB_OK | MB_ICONEXCLAMATION);
        }
        if (nResult == 0) {
            scratch->CommitToApp();
            LoadFrom(*AppForm());
        }
    }
    m_edit.SetFocus();
    m_strShownName = AppFileName();
    SetDlgItemText(IDC_PATH_LABEL, DisplayPath(Folder() + m_strShownName));
    WriteOwnFormName(AppFileName());
    TakeSnapshot(*AppForm());
}

void CFormPage::OnOpen()
{
    CFileDialog dlg(TRUE, DefaultExt(), Folder() + m_strShownName, OFN_HIDEREADONLY | OFN_NOCHANGEDIR,
                    OpenFilter(), this);
    if (dlg.DoModal() != IDOK)
        return;
    const CString strPath = dlg.GetPathName();
    // The file is read aside first: only a whole form changes anything.
    const std::unique_ptr<CScratchForm> scratch = NewForm();
    int nResult = -1;
    CFile file;
    if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyNone)) {
        AfxMessageBox(CString::FromUtf8(ReadFailMessage()), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    try {
        CArchive ar(&file, CArchive::load, 4096);
        nResult = scratch->Access().Load(ar);
    } catch (const CException&) {
        AfxMessageBox(CString::FromUtf8(ReadFailMessage()), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (nResult != 0)
        return; // the reader has said why
    m_nReady = 0;
    EmptyGrid();
    App().WritePathSetting(FolderKey(), GetFolderOfPath(strPath).TrimRight("\\/"));
    scratch->CommitToApp();
    AppFileName() = GetFileNameOfPath(strPath);
    LoadFrom(*AppForm());
    m_strShownName = AppFileName();
    SetDlgItemText(IDC_PATH_LABEL, DisplayPath(Folder() + m_strShownName));
    WriteOwnFormName(AppFileName());
    TakeSnapshot(*AppForm());
}

void CFormPage::OnNew()
{
    std::fill(m_snapshot.begin(), m_snapshot.end(), CString());
    m_nSnapshotCount = 0;
    m_nReady = 0;
    EmptyGrid();
    SetEditorText("");
    m_nReady = 1;
    SetCurrent(1, 1);
    m_strShownName = "新規ﾌｧｲﾙ名"_sj;
    SetDlgItemText(IDC_PATH_LABEL, DisplayPath(Folder() + m_strShownName));
}

void CFormPage::OnSave()
{
    if (m_nSetup) {
        MakeFormBackup(Folder() + AppFileName(), static_cast<FormKind>(FormKindIndex()), App().m_nBackupFile);
        SaveFormAs();
        SetDlgItemText(IDC_PATH_LABEL, DisplayPath(Folder() + m_strShownName));
        WriteOwnFormName(AppFileName());
    } else {
        SaveFormAs();
    }
}
