// The "EDIT" class: single-line edits over QLineEdit and multi-line edits over
// QPlainTextEdit, with the system's rules: a text limit counted in code page 932 bytes,
// selections in byte offsets, "\r\n" line ends in multi-line text, EN_CHANGE for the
// user's changes, for EM_REPLACESEL and for WM_SETTEXT on single-line edits.
#include "platform/ui/controls/ControlWidgets_p.h"

#include "platform/base/Cp932.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/MessageTable_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

#include <algorithm>

namespace {

constexpr int kDefaultLimit = 32767;
constexpr int kNoLimit = 0x7FFFFFFE;

// What both kinds of edit offer the window procedure. Offsets are Qt character offsets in
// the widget's own text (with "\n" line ends).
class CEditAccess : public CControlMixin {
public:
    explicit CEditAccess(QWidget* pSelf) : CControlMixin(pSelf) {}

    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;
    virtual void GetSelection(int& start, int& end) const = 0;
    // Selects from start to end; the caret goes to end.
    virtual void SetSelection(int start, int end) = 0;
    virtual void Deselect() = 0;
    virtual void InsertText(const QString& text) = 0; // replaces the selection
    virtual void Undo() = 0;
    virtual bool CanUndo() const = 0;
    virtual void Cut() = 0;
    virtual void Copy() = 0;
    virtual void Paste() = 0;
    virtual void DeleteSelection() = 0;
    virtual void Backspace() = 0;
    virtual void SetReadOnly(bool b) = 0;
    virtual bool IsReadOnly() const = 0;
    virtual int LineCount() const = 0;
    virtual bool IsMultiLine() const = 0;

    // The text as the system sees it: "\r\n" between lines.
    QString SystemText() const
    {
        QString t = Text();
        if (IsMultiLine())
            t.replace(u'\n', QStringLiteral("\r\n"));
        return t;
    }
    // Byte offsets of the system's text <-> character offsets of the widget's text.
    int ToSystemOffset(int qtOffset) const
    {
        const QString t = Text();
        const QString before = t.left(qtOffset);
        int bytes = AfxCp932LengthOf(before);
        if (IsMultiLine())
            bytes += static_cast<int>(before.count(u'\n'));
        return bytes;
    }
    int FromSystemOffset(int byteOffset) const
    {
        if (byteOffset < 0)
            return static_cast<int>(Text().size());
        const QString w = SystemText();
        const int qtWin = AfxCp932OffsetToQt(w, byteOffset);
        if (!IsMultiLine())
            return qtWin;
        // Each "\r\n" of the system's form is one "\n" here; an offset between the two
        // counts as the line end.
        const int crs = static_cast<int>(w.left(qtWin).count(u'\r'));
        return qtWin - crs;
    }

    // Text limit in bytes, and what the user may type.
    int m_nLimit = kDefaultLimit;
    bool m_bModified = false;
    QString m_lastText;     // the text before the change being checked
    char m_pendingLead = 0; // the lead byte of a character sent in two WM_CHAR messages

    // Notifies a change the way the system's edit does.
    void OnTextChanged()
    {
        m_lastText = Text();
        m_bModified = true;
        if (IsSilent())
            return;
        Notify(EN_UPDATE);
        Notify(EN_CHANGE);
    }
};

} // namespace

bool AfxRemoveNonCp932Characters(QString& input, int& pos)
{
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    bool removed = false;
    for (qsizetype i = 0; i < input.size();) {
        const qsizetype len =
            input[i].isHighSurrogate() && i + 1 < input.size() && input[i + 1].isLowSurrogate() ? 2 : 1;
        const QString one = input.mid(i, len);
        if (one != QStringLiteral("?") && Utf8ToCp932(one.toStdString()) == "?") {
            removed = true;
            if (i < pos)
                newPos -= static_cast<int>(len);
        } else {
            kept += one;
        }
        i += len;
    }
    if (removed) {
        input = kept;
        pos = std::max(0, newPos);
    }
    return removed;
}

namespace {

// Applies ES_UPPERCASE / ES_LOWERCASE / ES_NUMBER and the byte limit to what the user types
// into a single-line edit, and refuses characters code page 932 cannot hold with a beep.
class CEditValidator : public QValidator {
public:
    CEditValidator(QObject* parent, CEditAccess* pEdit) : QValidator(parent), m_pEdit(pEdit) {}

    State validate(QString& input, int& pos) const override
    {
        // Typed, pasted or composed: what the text cannot hold goes, the rest stays.
        if (AfxRemoveNonCp932Characters(input, pos))
            ::MessageBeep(MB_OK);
        const DWORD style = m_pEdit->Style();
        if (style & ES_UPPERCASE)
            input = input.toUpper();
        else if (style & ES_LOWERCASE)
            input = input.toLower();
        // The widget already holds the new text while it is checked: compare with the last
        // text it showed.
        const QString& old = m_pEdit->m_lastText;
        if (style & ES_NUMBER) {
            // Digits only, full-width ones too: a number typed with the input method on
            // reads as the same number (the dialogs read a field as a number cell does).
            for (QChar ch : input) {
                if ((ch < u'0' || ch > u'9') && (ch < u'\uFF10' || ch > u'\uFF19'))
                    return Invalid;
            }
        }
        const int bytes = AfxCp932LengthOf(input);
        if (bytes > m_pEdit->m_nLimit && bytes > AfxCp932LengthOf(old)) {
            if (!m_pEdit->IsSilent())
                m_pEdit->Notify(EN_MAXTEXT);
            return Invalid;
        }
        return Acceptable;
    }

private:
    CEditAccess* m_pEdit;
};

// The standard edit menu in the system's language.
void ShowEditMenu(QWidget* w, CEditAccess* pEdit, const QPoint& globalPos)
{
    QMenu menu(w);
    int start = 0, end = 0;
    pEdit->GetSelection(start, end);
    const bool hasSel = start != end;
    const bool readOnly = pEdit->IsReadOnly();
    QAction* pUndo = menu.addAction(QString::fromUtf8("元に戻す(&U)"));
    pUndo->setEnabled(!readOnly && pEdit->CanUndo());
    menu.addSeparator();
    QAction* pCut = menu.addAction(QString::fromUtf8("切り取り(&T)"));
    pCut->setEnabled(!readOnly && hasSel);
    QAction* pCopy = menu.addAction(QString::fromUtf8("コピー(&C)"));
    pCopy->setEnabled(hasSel);
    QAction* pPaste = menu.addAction(QString::fromUtf8("貼り付け(&P)"));
    pPaste->setEnabled(!readOnly && !QApplication::clipboard()->text().isEmpty());
    QAction* pDelete = menu.addAction(QString::fromUtf8("削除(&D)"));
    pDelete->setEnabled(!readOnly && hasSel);
    menu.addSeparator();
    QAction* pAll = menu.addAction(QString::fromUtf8("すべて選択(&A)"));
    pAll->setEnabled(!pEdit->Text().isEmpty());
    QAction* pChosen = menu.exec(globalPos);
    if (pChosen == pUndo)
        pEdit->Undo();
    else if (pChosen == pCut)
        pEdit->Cut();
    else if (pChosen == pCopy)
        pEdit->Copy();
    else if (pChosen == pPaste)
        pEdit->Paste();
    else if (pChosen == pDelete)
        pEdit->DeleteSelection();
    else if (pChosen == pAll)
        pEdit->SetSelection(0, static_cast<int>(pEdit->Text().size()));
}

class CLineEditWidget : public QLineEdit, public CEditAccess {
public:
    CLineEditWidget(QWidget* parent, DWORD style) : QLineEdit(parent), CEditAccess(this)
    {
        setValidator(new CEditValidator(this, this));
        if (style & ES_PASSWORD)
            setEchoMode(QLineEdit::Password);
        setReadOnly((style & ES_READONLY) != 0);
        if (style & ES_CENTER)
            setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        else if (style & ES_RIGHT)
            setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(this, &QLineEdit::textChanged, this, [this] { OnTextChanged(); });
    }

    QString Text() const override { return text(); }
    void SetText(const QString& t) override { setText(t); }
    void GetSelection(int& start, int& end) const override
    {
        if (hasSelectedText()) {
            start = selectionStart();
            end = selectionEnd();
        } else {
            start = end = cursorPosition();
        }
    }
    void SetSelection(int start, int end) override { setSelection(start, end - start); }
    void Deselect() override { deselect(); }
    void InsertText(const QString& t) override
    {
        // The limit cuts what does not fit, whole characters only.
        int start = 0, end = 0;
        GetSelection(start, end);
        const QString current = text();
        const int room =
            m_nLimit - (AfxCp932LengthOf(current) - AfxCp932LengthOf(current.mid(start, end - start)));
        QString fitting = t;
        while (!fitting.isEmpty() && AfxCp932LengthOf(fitting) > room)
            fitting.chop(1);
        // Inserted by code, past the validator (which would refuse the whole text when it
        // was already over the limit), keeping the undo history.
        QValidator* v = const_cast<QValidator*>(validator());
        setValidator(nullptr);
        insert(fitting);
        setValidator(v);
    }
    void Undo() override { undo(); }
    bool CanUndo() const override { return isUndoAvailable(); }
    void Cut() override { cut(); }
    void Copy() override { copy(); }
    void Paste() override { paste(); }
    void DeleteSelection() override { del(); }
    void Backspace() override { backspace(); }
    void SetReadOnly(bool b) override { setReadOnly(b); }
    bool IsReadOnly() const override { return isReadOnly(); }
    int LineCount() const override { return 1; }
    bool IsMultiLine() const override { return false; }

protected:
    void contextMenuEvent(QContextMenuEvent* e) override { ShowEditMenu(this, this, e->globalPos()); }
};

class CTextEditWidget : public QPlainTextEdit, public CEditAccess {
public:
    CTextEditWidget(QWidget* parent, DWORD style) : QPlainTextEdit(parent), CEditAccess(this)
    {
        setReadOnly((style & ES_READONLY) != 0);
        setTabChangesFocus(true);
        setLineWrapMode((style & (WS_HSCROLL | ES_AUTOHSCROLL)) ? QPlainTextEdit::NoWrap
                                                                : QPlainTextEdit::WidgetWidth);
        setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        connect(this, &QPlainTextEdit::textChanged, this, [this] { OnChanged(); });
    }

    QString Text() const override { return toPlainText(); }
    void SetText(const QString& t) override
    {
        setPlainText(t);
        m_lastGood = t;
    }
    void GetSelection(int& start, int& end) const override
    {
        const QTextCursor c = textCursor();
        start = c.selectionStart();
        end = c.selectionEnd();
    }
    void SetSelection(int start, int end) override
    {
        QTextCursor c = textCursor();
        c.setPosition(start);
        c.setPosition(end, QTextCursor::KeepAnchor);
        setTextCursor(c);
    }
    void Deselect() override
    {
        QTextCursor c = textCursor();
        c.clearSelection();
        setTextCursor(c);
    }
    void InsertText(const QString& t) override
    {
        int start = 0, end = 0;
        GetSelection(start, end);
        const QString current = toPlainText();
        const int room = m_nLimit - (ToSystemOffset(static_cast<int>(current.size())) -
                                     (ToSystemOffset(end) - ToSystemOffset(start)));
        QString fitting = t;
        while (!fitting.isEmpty() &&
               AfxCp932LengthOf(fitting) + static_cast<int>(fitting.count(u'\n')) > room)
            fitting.chop(1);
        insertPlainText(fitting);
    }
    void Undo() override { undo(); }
    bool CanUndo() const override { return document()->isUndoAvailable(); }
    void Cut() override { cut(); }
    void Copy() override { copy(); }
    void Paste() override { paste(); }
    void DeleteSelection() override { textCursor().removeSelectedText(); }
    void Backspace() override
    {
        QTextCursor c = textCursor();
        c.deletePreviousChar();
        setTextCursor(c);
    }
    void SetReadOnly(bool b) override { setReadOnly(b); }
    bool IsReadOnly() const override { return isReadOnly(); }
    int LineCount() const override { return document()->blockCount(); }
    bool IsMultiLine() const override { return true; }

protected:
    void contextMenuEvent(QContextMenuEvent* e) override { ShowEditMenu(this, this, e->globalPos()); }

private:
    void OnChanged()
    {
        // The limit holds for what the user types; a longer text is taken back.
        const QString now = toPlainText();
        if (!IsSilent() && AfxCp932LengthOf(now) + static_cast<int>(now.count(u'\n')) > m_nLimit &&
            now.size() > m_lastGood.size()) {
            CSilentScope silent(this);
            const int pos = std::min<int>(textCursor().position(), static_cast<int>(m_lastGood.size()));
            setPlainText(m_lastGood);
            QTextCursor c = textCursor();
            c.setPosition(pos);
            setTextCursor(c);
            Notify(EN_MAXTEXT);
            return;
        }
        m_lastGood = now;
        OnTextChanged();
    }
    QString m_lastGood;
};

CEditAccess* EditOf(CWndState* pState)
{
    return pState ? dynamic_cast<CEditAccess*>(pState->widget.data()) : nullptr;
}

QWidget* CreateEdit(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* parent)
{
    (void)pWnd;
    const DWORD style = static_cast<DWORD>(cs.style);
    const bool framed = (style & WS_BORDER) || (cs.dwExStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    QWidget* w = nullptr;
    if (style & ES_MULTILINE) {
        auto* pEdit = new CTextEditWidget(parent, style);
        if (!framed)
            pEdit->setFrameShape(QFrame::NoFrame);
        CSilentScope silent(pEdit);
        QString text = AfxCp932ToQString(cs.lpszName);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        pEdit->SetText(text);
        w = pEdit;
    } else {
        auto* pEdit = new CLineEditWidget(parent, style);
        pEdit->setFrame(framed);
        CSilentScope silent(pEdit);
        pEdit->SetText(AfxCp932ToQString(cs.lpszName));
        w = pEdit;
    }
    w->setFont(AfxWidgetFontFromHandle(nullptr));
    w->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    dynamic_cast<CEditAccess*>(w)->m_bModified = false;
    return w;
}

// WM_CHAR sent by code (not typed into this edit): the edit inserts the character itself.
void InsertCharByCode(CEditAccess* pEdit, BYTE ch)
{
    if (pEdit->m_pendingLead) {
        const char bytes[2] = {pEdit->m_pendingLead, static_cast<char>(ch)};
        pEdit->m_pendingLead = 0;
        if (!pEdit->IsReadOnly())
            pEdit->InsertText(AfxCp932ToQString(bytes, 2));
        return;
    }
    if (IsCp932LeadByte(ch)) {
        pEdit->m_pendingLead = static_cast<char>(ch);
        return;
    }
    switch (ch) {
    case 0x03:
        pEdit->Copy();
        return;
    case 0x16:
        if (!pEdit->IsReadOnly())
            pEdit->Paste();
        return;
    case 0x18:
        if (!pEdit->IsReadOnly())
            pEdit->Cut();
        return;
    case 0x1A:
        if (!pEdit->IsReadOnly())
            pEdit->Undo();
        return;
    case 0x08:
        if (!pEdit->IsReadOnly())
            pEdit->Backspace();
        return;
    case 0x0D:
        if (pEdit->IsMultiLine() && !pEdit->IsReadOnly())
            pEdit->InsertText(QStringLiteral("\n"));
        return;
    default:
        break;
    }
    if (ch < 0x20 || pEdit->IsReadOnly())
        return;
    const char one[1] = {static_cast<char>(ch)};
    QString text = AfxCp932ToQString(one, 1);
    const DWORD style = pEdit->Style();
    if ((style & ES_NUMBER) && (ch < '0' || ch > '9'))
        return;
    if (style & ES_UPPERCASE)
        text = text.toUpper();
    else if (style & ES_LOWERCASE)
        text = text.toLower();
    pEdit->InsertText(text);
}

// WM_KEYDOWN sent by code: the editing keys the system's edit carries out.
void KeyByCode(CEditAccess* pEdit, UINT vk)
{
    int start = 0, end = 0;
    pEdit->GetSelection(start, end);
    const int len = static_cast<int>(pEdit->Text().size());
    switch (vk) {
    case VK_DELETE:
        if (pEdit->IsReadOnly())
            return;
        if (start == end && end < len)
            pEdit->SetSelection(start, start + 1);
        pEdit->DeleteSelection();
        return;
    case VK_LEFT:
        pEdit->SetSelection(std::max(0, end - 1), std::max(0, end - 1));
        return;
    case VK_RIGHT:
        pEdit->SetSelection(std::min(len, end + 1), std::min(len, end + 1));
        return;
    case VK_HOME:
        pEdit->SetSelection(0, 0);
        return;
    case VK_END:
        pEdit->SetSelection(len, len);
        return;
    default:
        return;
    }
}

bool TypedIntoThis(CEditAccess* pEdit)
{
    if (!AfxIsDispatchingQtEvent())
        return false;
    QWidget* pFocus = QApplication::focusWidget();
    return pFocus && (pFocus == pEdit->m_pSelf || pEdit->m_pSelf->isAncestorOf(pFocus));
}

LRESULT OnSetText(CEditAccess* pEdit, CWnd*, CWndState* pState, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    pState->text = text ? text : "";
    QString q = AfxCp932ToQString(text);
    if (pEdit->IsMultiLine()) {
        // A multi-line edit does not report text set by code.
        q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        CSilentScope silent(pEdit);
        pEdit->SetText(q);
    } else {
        pEdit->SetText(q);
    }
    pEdit->m_bModified = false;
    return TRUE;
}

LRESULT OnGetText(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    return AfxCopyTextToBuffer(AfxQStringToCp932(pEdit->SystemText()), wParam, lParam);
}

LRESULT OnGetTextLength(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return AfxCp932LengthOf(pEdit->SystemText());
}

LRESULT OnSetFont(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL* pbHandled)
{
    QWidget* w = pEdit->m_pSelf;
    w->setFont(AfxWidgetFontFromHandle(reinterpret_cast<HFONT>(wParam)));
    *pbHandled = FALSE;
    return 0;
}

LRESULT OnGetDlgCode(CEditAccess* pEdit, CWnd*, CWndState* pState, UINT, WPARAM, LPARAM, BOOL*)
{
    UINT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (pEdit->IsMultiLine() && (pState->style & ES_WANTRETURN))
        code |= DLGC_WANTALLKEYS;
    return code;
}

LRESULT OnGetSel(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    int start = 0, end = 0;
    pEdit->GetSelection(start, end);
    const DWORD s = static_cast<DWORD>(pEdit->ToSystemOffset(start));
    const DWORD e = static_cast<DWORD>(pEdit->ToSystemOffset(end));
    if (wParam)
        *reinterpret_cast<DWORD*>(wParam) = s;
    if (lParam)
        *reinterpret_cast<DWORD*>(lParam) = e;
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(std::min<DWORD>(s, 0xFFFF)),
                                         static_cast<WORD>(std::min<DWORD>(e, 0xFFFF))));
}

LRESULT OnSetSel(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int start = static_cast<int>(static_cast<intptr_t>(wParam));
    const int end = static_cast<int>(static_cast<intptr_t>(lParam));
    CSilentScope silent(pEdit);
    if (start == -1) {
        pEdit->Deselect();
        return 0;
    }
    const int len = static_cast<int>(pEdit->Text().size());
    const int qs = std::min(pEdit->FromSystemOffset(start), len);
    const int qe = end < 0 ? len : std::min(pEdit->FromSystemOffset(end), len);
    pEdit->SetSelection(qs, qe);
    return 0;
}

LRESULT OnReplaceSel(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    QString text = AfxCp932ToQString(reinterpret_cast<const char*>(lParam));
    if (pEdit->IsMultiLine())
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    pEdit->InsertText(text);
    return 0;
}

LRESULT OnLimitText(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    pEdit->m_nLimit = wParam == 0 ? kNoLimit : static_cast<int>(std::min<WPARAM>(wParam, kNoLimit));
    return 0;
}

LRESULT OnGetLimitText(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pEdit->m_nLimit;
}

LRESULT OnCanUndo(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pEdit->CanUndo() ? TRUE : FALSE;
}

LRESULT OnUndo(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (!pEdit->CanUndo())
        return FALSE;
    pEdit->Undo();
    return TRUE;
}

LRESULT OnEmptyUndoBuffer(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    QWidget* w = pEdit->m_pSelf;
    if (auto* pLine = qobject_cast<QLineEdit*>(w)) {
        // A line edit drops its history when its text is set anew.
        CSilentScope silent(pEdit);
        int start = 0, end = 0;
        pEdit->GetSelection(start, end);
        const QString t = pLine->text();
        QValidator* v = const_cast<QValidator*>(pLine->validator());
        pLine->setValidator(nullptr);
        pLine->setText(t);
        pLine->setValidator(v);
        pEdit->SetSelection(start, end);
    } else if (auto* pText = qobject_cast<QPlainTextEdit*>(w)) {
        pText->document()->clearUndoRedoStacks();
    }
    return 0;
}

LRESULT OnSetReadOnly(CEditAccess* pEdit, CWnd*, CWndState* pState, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    pEdit->SetReadOnly(wParam != 0);
    if (wParam)
        pState->style |= ES_READONLY;
    else
        pState->style &= ~ES_READONLY;
    return TRUE;
}

LRESULT OnSetPasswordChar(CEditAccess* pEdit, CWnd*, CWndState* pState, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    QWidget* w = pEdit->m_pSelf;
    if (auto* pLine = qobject_cast<QLineEdit*>(w)) {
        pLine->setEchoMode(wParam ? QLineEdit::Password : QLineEdit::Normal);
        if (wParam)
            pState->style |= ES_PASSWORD;
        else
            pState->style &= ~ES_PASSWORD;
    }
    return 0;
}

LRESULT OnGetModify(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pEdit->m_bModified ? TRUE : FALSE;
}

LRESULT OnSetModify(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    pEdit->m_bModified = wParam != 0;
    return 0;
}

LRESULT OnGetLineCount(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pEdit->LineCount();
}

LRESULT OnCut(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (!pEdit->IsReadOnly())
        pEdit->Cut();
    return 0;
}

LRESULT OnCopy(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    pEdit->Copy();
    return 0;
}

LRESULT OnPaste(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (!pEdit->IsReadOnly())
        pEdit->Paste();
    return 0;
}

LRESULT OnClear(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (!pEdit->IsReadOnly())
        pEdit->DeleteSelection();
    return 0;
}

LRESULT OnChar(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL* pbHandled)
{
    if (TypedIntoThis(pEdit)) {
        *pbHandled = FALSE;
        return 0;
    }
    InsertCharByCode(pEdit, static_cast<BYTE>(wParam));
    return 0;
}

LRESULT OnKeyDown(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL* pbHandled)
{
    if (TypedIntoThis(pEdit)) {
        *pbHandled = FALSE;
        return 0;
    }
    KeyByCode(pEdit, static_cast<UINT>(wParam));
    return 0;
}

LRESULT OnSetFocus(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL* pbHandled)
{
    pEdit->Notify(EN_SETFOCUS);
    *pbHandled = FALSE;
    return 0;
}

LRESULT OnKillFocus(CEditAccess* pEdit, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL* pbHandled)
{
    pEdit->Notify(EN_KILLFOCUS);
    *pbHandled = FALSE;
    return 0;
}

// The edit control's messages, each with its handler.
using EditHandler = LRESULT (*)(CEditAccess*, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*);
constexpr CMessageHandler<EditHandler> kEditMessages[] = {
    {WM_SETTEXT, OnSetText},
    {WM_GETTEXT, OnGetText},
    {WM_GETTEXTLENGTH, OnGetTextLength},
    {WM_SETFONT, OnSetFont},
    {WM_GETDLGCODE, OnGetDlgCode},
    {EM_GETSEL, OnGetSel},
    {EM_SETSEL, OnSetSel},
    {EM_REPLACESEL, OnReplaceSel},
    {EM_LIMITTEXT, OnLimitText},
    {EM_GETLIMITTEXT, OnGetLimitText},
    {EM_CANUNDO, OnCanUndo},
    {EM_UNDO, OnUndo},
    {WM_UNDO, OnUndo},
    {EM_EMPTYUNDOBUFFER, OnEmptyUndoBuffer},
    {EM_SETREADONLY, OnSetReadOnly},
    {EM_SETPASSWORDCHAR, OnSetPasswordChar},
    {EM_GETMODIFY, OnGetModify},
    {EM_SETMODIFY, OnSetModify},
    {EM_GETLINECOUNT, OnGetLineCount},
    {WM_CUT, OnCut},
    {WM_COPY, OnCopy},
    {WM_PASTE, OnPaste},
    {WM_CLEAR, OnClear},
    {WM_CHAR, OnChar},
    {WM_KEYDOWN, OnKeyDown},
    {WM_SETFOCUS, OnSetFocus},
    {WM_KILLFOCUS, OnKillFocus},
};
static_assert(AfxMessagesUnique(kEditMessages), "a message has two handlers");

LRESULT EditProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    CEditAccess* pEdit = EditOf(pState);
    if (!pEdit) {
        *pbHandled = FALSE;
        return 0;
    }
    if (const EditHandler pfnHandler = AfxFindMessageHandler(kEditMessages, nMsg))
        return pfnHandler(pEdit, pWnd, pState, nMsg, wParam, lParam, pbHandled);
    *pbHandled = FALSE;
    return 0;
}

} // namespace

void AfxRegisterEditClass()
{
    CWndClassInfo info;
    info.name = "EDIT";
    info.style = CS_DBLCLKS;
    info.createWidget = CreateEdit;
    info.wndProc = EditProc;
    AfxRegisterClassInfo(info);
}
