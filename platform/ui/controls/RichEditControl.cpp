// The rich edit control's window class ("RichEdit20A" and its older names) over QLineEdit:
// its messages, each with a handler, and the class registration. CRichEditCtrl.cpp holds
// the wrapper.
#include "platform/ui/controls/CRichEditCtrl.h"

#include "platform/base/Cp932.h"
#include "platform/ui/controls/CommonControls_p.h"
#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/Imm_p.h"
#include "platform/ui/core/MessageTable_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/gdi/FontMapper.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QValidator>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

QColor ToQColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

// The rich edit control's default limit, and the one EM_EXLIMITTEXT 0 sets.
constexpr int kDefaultLimit = 32767;
constexpr int kLimitForZero = 64000;

// What the user types, pastes or composes keeps only the characters code page 932 can
// hold; the others are refused with a beep, and never stored as "?".
class CCp932InputValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        if (AfxRemoveNonCp932Characters(input, pos))
            ::MessageBeep(MB_OK);
        return Acceptable;
    }
};

class CRichEditWidget : public QLineEdit {
public:
    CRichEditWidget(HWND hWnd, DWORD dwStyle, QWidget* pParent) : QLineEdit(pParent), m_hWnd(hWnd)
    {
        m_bBorder = (dwStyle & WS_BORDER) != 0;
        setFrame(false);
        setTextMargins(m_bBorder ? 1 : 0, 0, m_bBorder ? 1 : 0, 0);
        setReadOnly((dwStyle & ES_READONLY) != 0);
        setMaxLength(kDefaultLimit);
        setValidator(new CCp932InputValidator(this));
        setContextMenuPolicy(Qt::PreventContextMenu);
        setAttribute(Qt::WA_InputMethodEnabled, true);
        setAutoFillBackground(true);
        // The rich edit control's default format: the system's interface font, automatic
        // colour, left alignment.
        if (CFont* pFont = CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))))
            pFont->GetLogFont(&m_lf);
        if (dwStyle & ES_RIGHT)
            m_wAlignment = PFA_RIGHT;
        else if (dwStyle & ES_CENTER)
            m_wAlignment = PFA_CENTER;
        ApplyFormat();
        connect(this, &QLineEdit::textChanged, this, [this](const QString&) { OnTextChanged(); });
        AfxEnsureImeTracker();
    }

    ~CRichEditWidget() override { blockSignals(true); }

    HWND m_hWnd;
    bool m_bBorder = false;
    DWORD m_dwEventMask = 0;
    LOGFONT m_lf{};
    HFONT m_hFont = nullptr;
    bool m_bAutoColor = true;
    COLORREF m_crText = 0;
    bool m_bSysBk = true;
    COLORREF m_crBk = 0;
    WORD m_wAlignment = PFA_LEFT;
    int m_nSilent = 0;
    int m_nLeadByte = -1; // a lead byte that came by WM_CHAR, waiting for its trail byte

    bool Alive() const { return AfxGetWndState(m_hWnd) != nullptr; }

    COLORREF Background() const { return m_bSysBk ? GetSysColor(COLOR_WINDOW) : m_crBk; }
    COLORREF TextColour() const { return m_bAutoColor ? GetSysColor(COLOR_WINDOWTEXT) : m_crText; }

    void ApplyFormat()
    {
        setFont(CFontMapper::WidgetFont(m_lf));
        QPalette pal = palette();
        pal.setColor(QPalette::Base, ToQColor(Background()));
        pal.setColor(QPalette::Window, ToQColor(Background()));
        pal.setColor(QPalette::Text, ToQColor(TextColour()));
        setPalette(pal);
        switch (m_wAlignment) {
        case PFA_RIGHT:
            setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            break;
        case PFA_CENTER:
            setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
            break;
        default:
            setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            break;
        }
        update();
    }

    void OnTextChanged()
    {
        if (m_nSilent > 0 || !Alive())
            return;
        if (m_dwEventMask & ENM_UPDATE)
            AfxSendCtlCommand(m_hWnd, EN_UPDATE);
        if ((m_dwEventMask & ENM_CHANGE) && Alive())
            AfxSendCtlCommand(m_hWnd, EN_CHANGE);
    }

    // The character format as the control reports it.
    void FillCharFormat(CHARFORMAT& cf) const
    {
        const UINT cbSize = cf.cbSize;
        cf = CHARFORMAT{};
        cf.cbSize = cbSize;
        cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED | CFM_SIZE |
                    CFM_COLOR | CFM_FACE | CFM_OFFSET | CFM_CHARSET;
        if (m_lf.lfWeight >= FW_BOLD)
            cf.dwEffects |= CFE_BOLD;
        if (m_lf.lfItalic)
            cf.dwEffects |= CFE_ITALIC;
        if (m_lf.lfUnderline)
            cf.dwEffects |= CFE_UNDERLINE;
        if (m_lf.lfStrikeOut)
            cf.dwEffects |= CFE_STRIKEOUT;
        if (m_bAutoColor)
            cf.dwEffects |= CFE_AUTOCOLOR;
        // The character height in twips (1/1440 inch) on the 96 dpi screen.
        const QFont f = font();
        const double px = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * 96.0 / 72.0;
        cf.yHeight = static_cast<LONG>(std::lround(px * 1440.0 / 96.0));
        cf.crTextColor = TextColour();
        cf.bCharSet = m_lf.lfCharSet;
        cf.bPitchAndFamily = m_lf.lfPitchAndFamily;
        std::memcpy(cf.szFaceName, m_lf.lfFaceName, sizeof cf.szFaceName);
        cf.szFaceName[LF_FACESIZE - 1] = '\0';
    }

    void ApplyCharFormat(const CHARFORMAT& cf)
    {
        if (cf.dwMask & CFM_FACE) {
            std::memset(m_lf.lfFaceName, 0, sizeof m_lf.lfFaceName);
            std::memcpy(m_lf.lfFaceName, cf.szFaceName, sizeof m_lf.lfFaceName - 1);
        }
        if ((cf.dwMask & CFM_SIZE) && cf.yHeight > 0) {
            m_lf.lfHeight = -static_cast<LONG>(std::lround(cf.yHeight * 96.0 / 1440.0));
            m_lf.lfWidth = 0;
        }
        if (cf.dwMask & CFM_BOLD)
            m_lf.lfWeight = (cf.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
        if (cf.dwMask & CFM_ITALIC)
            m_lf.lfItalic = (cf.dwEffects & CFE_ITALIC) ? 1 : 0;
        if (cf.dwMask & CFM_UNDERLINE)
            m_lf.lfUnderline = (cf.dwEffects & CFE_UNDERLINE) ? 1 : 0;
        if (cf.dwMask & CFM_STRIKEOUT)
            m_lf.lfStrikeOut = (cf.dwEffects & CFE_STRIKEOUT) ? 1 : 0;
        if (cf.dwMask & CFM_CHARSET)
            m_lf.lfCharSet = cf.bCharSet;
        if (cf.dwMask & CFM_COLOR) {
            m_bAutoColor = (cf.dwEffects & CFE_AUTOCOLOR) != 0;
            if (!m_bAutoColor)
                m_crText = cf.crTextColor;
        }
        ApplyFormat();
    }

    // ---- selection in character positions ----------------------------------------------------
    void GetSelection(LONG& cpMin, LONG& cpMax) const
    {
        if (hasSelectedText()) {
            cpMin = selectionStart();
            cpMax = cpMin + static_cast<LONG>(selectedText().size());
        } else {
            cpMin = cpMax = cursorPosition();
        }
    }

    void SetSelection(LONG cpMin, LONG cpMax)
    {
        const LONG len = static_cast<LONG>(text().size());
        if (cpMin < 0) {
            // Deselect; the caret stays where the selection ended.
            const int pos = cursorPosition();
            deselect();
            setCursorPosition(pos);
            return;
        }
        if (cpMax < 0 || cpMax > len)
            cpMax = len;
        cpMin = std::min(cpMin, len);
        if (cpMin == cpMax) {
            deselect();
            setCursorPosition(static_cast<int>(cpMin));
            return;
        }
        // The caret goes to the end named second, as the control puts it.
        setSelection(static_cast<int>(cpMin), static_cast<int>(cpMax - cpMin));
    }

    void Replace(const QString& newText, bool bCanUndo)
    {
        LONG a = 0, b = 0;
        GetSelection(a, b);
        const QString old = text();
        const QString now = old.left(a) + newText + old.mid(b);
        if (bCanUndo) {
            const bool ro = isReadOnly();
            setReadOnly(false);
            setSelection(static_cast<int>(a), static_cast<int>(b - a));
            insert(newText);
            setReadOnly(ro);
        } else {
            // Without undo: the text is set as a whole, which leaves nothing to undo.
            setText(now);
            setCursorPosition(
                std::min(static_cast<int>(a + newText.size()), static_cast<int>(text().size())));
        }
    }

    void ClearUndo()
    {
        LONG a = 0, b = 0;
        GetSelection(a, b);
        const bool modified = isModified();
        ++m_nSilent;
        const QString t = text();
        setText(t);
        --m_nSilent;
        setModified(modified);
        SetSelection(a, b);
    }

    // A character sent as WM_CHAR by code (typed characters come through Qt's own events).
    void TypeByte(unsigned char ch)
    {
        if (isReadOnly())
            return;
        if (m_nLeadByte >= 0) {
            const char pair[3] = {static_cast<char>(m_nLeadByte), static_cast<char>(ch), 0};
            m_nLeadByte = -1;
            insert(AfxCtlText(pair, 2));
            return;
        }
        if (IsCp932LeadByte(ch)) {
            m_nLeadByte = ch;
            return;
        }
        switch (ch) {
        case VK_BACK:
            backspace();
            return;
        case '\r':
        case '\n':
        case VK_ESCAPE:
            return;
        default:
            if (ch < 0x20 && ch != '\t')
                return;
            const char one[2] = {static_cast<char>(ch), 0};
            insert(AfxCtlText(one, 1));
        }
    }

    bool WantsTab() const
    {
        if (!Alive())
            return false;
        const LRESULT code = AfxCallWndProc(m_hWnd, WM_GETDLGCODE, VK_TAB, 0);
        return (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) != 0;
    }

protected:
    bool event(QEvent* e) override
    {
        // A control that wants all keys takes Tab as a character instead of moving on.
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && WantsTab()) {
                if (k->key() == Qt::Key_Tab && !isReadOnly())
                    insert(QStringLiteral("\t"));
                e->accept();
                return true;
            }
        }
        return QLineEdit::event(e);
    }

    void paintEvent(QPaintEvent* e) override
    {
        {
            QPainter p(this);
            p.fillRect(rect(), ToQColor(Background()));
        }
        QLineEdit::paintEvent(e);
        if (m_bBorder) {
            QPainter p(this);
            p.setPen(QColor(100, 100, 100));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
};

CRichEditWidget* EditOf(CWnd* pWnd)
{
    return pWnd ? dynamic_cast<CRichEditWidget*>(pWnd->GetWidget()) : nullptr;
}

CString ToCp932(const QString& text)
{
    return AfxCtlText(text);
}

// ---- text -----------------------------------------------------------------------------------

LRESULT OnSetText(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const HWND hWnd = pEdit->m_hWnd;
    const char* psz = reinterpret_cast<const char*>(lParam);
    // A multi-line control does not report text set as a whole, as the edit controls
    // do not.
    CWndState* pStyleState = AfxGetWndState(hWnd);
    const bool bQuiet = pStyleState && (pStyleState->style & ES_MULTILINE);
    if (bQuiet)
        ++pEdit->m_nSilent;
    pEdit->setText(AfxCtlText(psz ? psz : ""));
    if (bQuiet)
        --pEdit->m_nSilent;
    pEdit->setCursorPosition(0);
    pEdit->setModified(false);
    if (CWndState* pState = AfxGetWndState(hWnd))
        pState->text = psz ? psz : "";
    return TRUE;
}

LRESULT OnGetText(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const CString text = ToCp932(pEdit->text());
    return AfxCopyCtlText(text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
}

LRESULT OnGetTextLength(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return ToCp932(pEdit->text()).GetLength();
}

LRESULT OnGetTextLengthEx(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const auto* p = reinterpret_cast<const GETTEXTLENGTHEX*>(wParam);
    if (p && (p->flags & GTL_NUMCHARS))
        return pEdit->text().size();
    return ToCp932(pEdit->text()).GetLength();
}

LRESULT OnExSetSel(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const auto* cr = reinterpret_cast<const CHARRANGE*>(lParam);
    if (cr)
        pEdit->SetSelection(cr->cpMin, cr->cpMax);
    LONG a = 0, b = 0;
    pEdit->GetSelection(a, b);
    return b;
}

LRESULT OnExGetSel(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    auto* cr = reinterpret_cast<CHARRANGE*>(lParam);
    if (cr)
        pEdit->GetSelection(cr->cpMin, cr->cpMax);
    return 0;
}

LRESULT OnSetSel(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    pEdit->SetSelection(static_cast<LONG>(static_cast<int>(wParam)), static_cast<LONG>(lParam));
    return 0;
}

LRESULT OnGetSel(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    LONG a = 0, b = 0;
    pEdit->GetSelection(a, b);
    if (wParam)
        *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(a);
    if (lParam)
        *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(b);
    return MAKELONG(static_cast<WORD>(std::min<LONG>(a, 0xFFFF)),
                    static_cast<WORD>(std::min<LONG>(b, 0xFFFF)));
}

LRESULT OnGetSelText(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    // The caller's buffer holds the selection: at most two bytes per character.
    char* buf = reinterpret_cast<char*>(lParam);
    const CString sel = ToCp932(pEdit->selectedText());
    if (!buf)
        return sel.GetLength();
    std::memcpy(buf, sel.c_str(), static_cast<size_t>(sel.GetLength()) + 1);
    return sel.GetLength();
}

LRESULT OnSelectionType(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    const qsizetype n = pEdit->selectedText().size();
    return n == 0 ? SEL_EMPTY : (n > 1 ? SEL_TEXT | 0x0004 : SEL_TEXT);
}

LRESULT OnReplaceSel(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const char* psz = reinterpret_cast<const char*>(lParam);
    pEdit->Replace(AfxCtlText(psz ? psz : ""), wParam != 0);
    return 0;
}

LRESULT OnLimitText(CRichEditWidget* pEdit, CWnd*, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int n = nMsg == EM_LIMITTEXT ? static_cast<int>(wParam) : static_cast<int>(lParam);
    pEdit->setMaxLength(n <= 0 ? kLimitForZero : n);
    return 0;
}

LRESULT OnGetLimitText(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pEdit->maxLength();
}

LRESULT OnGetModify(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pEdit->isModified() ? TRUE : FALSE;
}

LRESULT OnSetModify(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    pEdit->setModified(wParam != 0);
    return 0;
}

LRESULT OnGetLineCount(CRichEditWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return 1;
}

// ---- editing ---------------------------------------------------------------------------------

LRESULT OnCut(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    pEdit->cut();
    return 0;
}

LRESULT OnCopy(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    pEdit->copy();
    return 0;
}

LRESULT OnPaste(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (!pEdit->isReadOnly())
        pEdit->paste();
    return 0;
}

LRESULT OnClear(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (!pEdit->isReadOnly() && pEdit->hasSelectedText())
        pEdit->del();
    return 0;
}

LRESULT OnUndo(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    const bool can = pEdit->isUndoAvailable();
    if (can)
        pEdit->undo();
    return can ? TRUE : FALSE;
}

LRESULT OnRedo(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    const bool can = pEdit->isRedoAvailable();
    if (can)
        pEdit->redo();
    return can ? TRUE : FALSE;
}

LRESULT OnCanUndo(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pEdit->isUndoAvailable() ? TRUE : FALSE;
}

LRESULT OnCanRedo(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pEdit->isRedoAvailable() ? TRUE : FALSE;
}

LRESULT OnEmptyUndoBuffer(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    pEdit->ClearUndo();
    return 0;
}

LRESULT OnCanPaste(CRichEditWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    const QMimeData* p = QApplication::clipboard()->mimeData();
    return p && p->hasText() ? TRUE : FALSE;
}

LRESULT OnSetReadOnly(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const HWND hWnd = pEdit->m_hWnd;
    pEdit->setReadOnly(wParam != 0);
    if (CWndState* pState = AfxGetWndState(hWnd)) {
        if (wParam)
            pState->style |= ES_READONLY;
        else
            pState->style &= ~ES_READONLY;
    }
    return TRUE;
}

LRESULT OnHideSelection(CRichEditWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return 0;
}

// ---- format ----------------------------------------------------------------------------------

LRESULT OnSetBkgndColor(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const COLORREF old = pEdit->Background();
    pEdit->m_bSysBk = wParam != 0;
    if (!wParam)
        pEdit->m_crBk = static_cast<COLORREF>(lParam);
    pEdit->ApplyFormat();
    return static_cast<LRESULT>(old);
}

LRESULT OnGetCharFormat(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    auto* cf = reinterpret_cast<CHARFORMAT*>(lParam);
    if (!cf)
        return 0;
    pEdit->FillCharFormat(*cf);
    return static_cast<LRESULT>(cf->dwMask);
}

LRESULT OnSetCharFormat(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const auto* cf = reinterpret_cast<const CHARFORMAT*>(lParam);
    if (!cf)
        return FALSE;
    // One format for the whole text: the default, the selection and all are the same.
    pEdit->ApplyCharFormat(*cf);
    return TRUE;
}

LRESULT OnGetParaFormat(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    auto* pf = reinterpret_cast<PARAFORMAT*>(lParam);
    if (!pf)
        return 0;
    const UINT cbSize = pf->cbSize;
    *pf = PARAFORMAT{};
    pf->cbSize = cbSize;
    pf->dwMask = PFM_ALIGNMENT | PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET;
    pf->wAlignment = pEdit->m_wAlignment;
    return static_cast<LRESULT>(pf->dwMask);
}

LRESULT OnSetParaFormat(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const auto* pf = reinterpret_cast<const PARAFORMAT*>(lParam);
    if (!pf)
        return FALSE;
    if (pf->dwMask & PFM_ALIGNMENT) {
        if (pf->wAlignment != PFA_LEFT && pf->wAlignment != PFA_RIGHT && pf->wAlignment != PFA_CENTER)
            return FALSE;
        pEdit->m_wAlignment = pf->wAlignment;
        pEdit->ApplyFormat();
    }
    return TRUE;
}

LRESULT OnGetEventMask(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return static_cast<LRESULT>(pEdit->m_dwEventMask);
}

LRESULT OnSetEventMask(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const DWORD old = pEdit->m_dwEventMask;
    pEdit->m_dwEventMask = static_cast<DWORD>(lParam);
    return static_cast<LRESULT>(old);
}

LRESULT OnSetFont(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    pEdit->m_hFont = reinterpret_cast<HFONT>(wParam);
    CFont* pFont = pEdit->m_hFont ? CFont::FromHandle(pEdit->m_hFont) : nullptr;
    LOGFONT lf{};
    if (pFont && pFont->GetLogFont(&lf)) {
        pEdit->m_lf = lf;
        pEdit->ApplyFormat();
    }
    return 0;
}

LRESULT OnGetFont(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return reinterpret_cast<LRESULT>(pEdit->m_hFont);
}

// ---- input and focus ---------------------------------------------------------------------------

LRESULT OnKeyDown(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    if (AfxIsDispatchingQtEvent()) {
        AfxPassEventToQt();
        return 0;
    }
    // A key sent by code moves the caret as the key would.
    switch (static_cast<UINT>(wParam)) {
    case VK_LEFT:
        pEdit->cursorBackward(GetKeyState(VK_SHIFT) < 0);
        break;
    case VK_RIGHT:
        pEdit->cursorForward(GetKeyState(VK_SHIFT) < 0);
        break;
    case VK_HOME:
        pEdit->home(GetKeyState(VK_SHIFT) < 0);
        break;
    case VK_END:
        pEdit->end(GetKeyState(VK_SHIFT) < 0);
        break;
    case VK_DELETE:
        if (!pEdit->isReadOnly())
            pEdit->del();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT OnChar(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    if (AfxIsDispatchingQtEvent()) {
        AfxPassEventToQt();
        return 0;
    }
    pEdit->TypeByte(static_cast<unsigned char>(wParam));
    return 0;
}

LRESULT OnGetDlgCode(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    const HWND hWnd = pEdit->m_hWnd;
    UINT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    if (CWndState* pState = AfxGetWndState(hWnd); pState && (pState->style & ES_MULTILINE))
        code |= DLGC_WANTALLKEYS;
    return code;
}

LRESULT OnSetFocus(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    const HWND hWnd = pEdit->m_hWnd;
    AfxSendCtlCommand(hWnd, EN_SETFOCUS);
    return 0;
}

LRESULT OnKillFocus(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    const HWND hWnd = pEdit->m_hWnd;
    AfxSendCtlCommand(hWnd, EN_KILLFOCUS);
    return 0;
}

LRESULT OnContextMenu(CRichEditWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    // The control has no menu of its own; whoever wants one shows it.
    return 0;
}

LRESULT OnDestroy(CRichEditWidget* pEdit, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    const HWND hWnd = pEdit->m_hWnd;
    AfxImeForget(hWnd);
    return 0;
}

// The rich edit control's messages, each with its handler.
using RichEditHandler = LRESULT (*)(CRichEditWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*);
constexpr CMessageHandler<RichEditHandler> kRichEditMessages[] = {
    // ---- text -----------------------------------------------------------------------------------
    {WM_SETTEXT, OnSetText},
    {WM_GETTEXT, OnGetText},
    {WM_GETTEXTLENGTH, OnGetTextLength},
    {EM_GETTEXTLENGTHEX, OnGetTextLengthEx},
    {EM_EXSETSEL, OnExSetSel},
    {EM_EXGETSEL, OnExGetSel},
    {EM_SETSEL, OnSetSel},
    {EM_GETSEL, OnGetSel},
    {EM_GETSELTEXT, OnGetSelText},
    {EM_SELECTIONTYPE, OnSelectionType},
    {EM_REPLACESEL, OnReplaceSel},
    {EM_LIMITTEXT, OnLimitText},
    {EM_EXLIMITTEXT, OnLimitText},
    {EM_GETLIMITTEXT, OnGetLimitText},
    {EM_GETMODIFY, OnGetModify},
    {EM_SETMODIFY, OnSetModify},
    {EM_GETLINECOUNT, OnGetLineCount},
    // ---- editing ---------------------------------------------------------------------------------
    {WM_CUT, OnCut},
    {WM_COPY, OnCopy},
    {WM_PASTE, OnPaste},
    {WM_CLEAR, OnClear},
    {WM_UNDO, OnUndo},
    {EM_UNDO, OnUndo},
    {EM_REDO, OnRedo},
    {EM_CANUNDO, OnCanUndo},
    {EM_CANREDO, OnCanRedo},
    {EM_EMPTYUNDOBUFFER, OnEmptyUndoBuffer},
    {EM_CANPASTE, OnCanPaste},
    {EM_SETREADONLY, OnSetReadOnly},
    {EM_HIDESELECTION, OnHideSelection},
    // ---- format ----------------------------------------------------------------------------------
    {EM_SETBKGNDCOLOR, OnSetBkgndColor},
    {EM_GETCHARFORMAT, OnGetCharFormat},
    {EM_SETCHARFORMAT, OnSetCharFormat},
    {EM_GETPARAFORMAT, OnGetParaFormat},
    {EM_SETPARAFORMAT, OnSetParaFormat},
    {EM_GETEVENTMASK, OnGetEventMask},
    {EM_SETEVENTMASK, OnSetEventMask},
    {WM_SETFONT, OnSetFont},
    {WM_GETFONT, OnGetFont},
    // ---- input and focus ---------------------------------------------------------------------------
    {WM_KEYDOWN, OnKeyDown},
    {WM_CHAR, OnChar},
    {WM_GETDLGCODE, OnGetDlgCode},
    {WM_SETFOCUS, OnSetFocus},
    {WM_KILLFOCUS, OnKillFocus},
    {WM_CONTEXTMENU, OnContextMenu},
    {WM_DESTROY, OnDestroy},
};
static_assert(AfxMessagesUnique(kRichEditMessages), "a message has two handlers");

LRESULT RichEditProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    CRichEditWidget* pEdit = EditOf(pWnd);
    if (!pEdit) {
        *pbHandled = FALSE;
        return 0;
    }
    if (const RichEditHandler pfnHandler = AfxFindMessageHandler(kRichEditMessages, nMsg))
        return pfnHandler(pEdit, pWnd, nMsg, wParam, lParam, pbHandled);
    *pbHandled = FALSE;
    return 0;
}

QWidget* CreateRichEditWidget(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* pEdit = new CRichEditWidget(pWnd->m_hWnd, static_cast<DWORD>(cs.style), pParentWidget);
    if (cs.lpszName && *cs.lpszName) {
        ++pEdit->m_nSilent;
        pEdit->setText(AfxCtlText(cs.lpszName));
        pEdit->setCursorPosition(0);
        --pEdit->m_nSilent;
    }
    return pEdit;
}

} // namespace

void AfxRegisterRichEditClass()
{
    CWndClassInfo info;
    info.name = RICHEDIT_CLASS;
    info.style = CS_DBLCLKS;
    info.createWidget = CreateRichEditWidget;
    info.wndProc = RichEditProc;
    AfxRegisterClassInfo(info);
    // The older class names of the control stand for the same window class.
    info.name = "RICHEDIT";
    AfxRegisterClassInfo(info);
    info.name = "RichEdit20W";
    AfxRegisterClassInfo(info);
}
