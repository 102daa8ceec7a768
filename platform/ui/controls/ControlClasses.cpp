// What all control classes share: text conversions, the parent notifications, owner
// drawing and the registration of the classes.
#include "platform/ui/controls/CGridCtrl.h"
#include "platform/ui/controls/ControlWidgets_p.h"

#include "platform/base/Cp932.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/dialogs/DialogTemplate.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/FontMapper.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QRect>
#include <QTranslator>
#include <QWidget>

#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------------------
// Text.
// ---------------------------------------------------------------------------------------
QString AfxCp932ToQString(const char* text)
{
    const std::u16string u = Cp932ToUtf16(text ? text : "", true);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

QString AfxCp932ToQString(const char* text, int nLength)
{
    if (!text || nLength <= 0)
        return QString();
    const std::u16string u = Cp932ToUtf16(std::string_view(text, static_cast<size_t>(nLength)), true);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

CString AfxQStringToCp932(const QString& text)
{
    return CString(Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                    static_cast<size_t>(text.size()))));
}

namespace {

// Bytes one UTF-16 unit takes in code page 932 (surrogate halves count as the "?" they
// become, one byte for the pair's first half and none for the second).
int Cp932BytesOf(char16_t ch, char16_t next)
{
    if (ch < 0x80)
        return 1;
    if (ch >= 0xFF61 && ch <= 0xFF9F) // half-width katakana
        return 1;
    if (ch == 0x00A5 || ch == 0x203E) // yen sign and overline: 0x5C and 0x7E
        return 1;
    if (ch >= 0xD800 && ch <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF)
        return 1;
    if (ch >= 0xDC00 && ch <= 0xDFFF)
        return 0;
    const char16_t one[1] = {ch};
    return static_cast<int>(Utf16ToCp932(std::u16string_view(one, 1)).size());
}

} // namespace

int AfxCp932LengthOf(const QString& text)
{
    int n = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i)
        n += Cp932BytesOf(text.at(i).unicode(), i + 1 < size ? text.at(i + 1).unicode() : 0);
    return n;
}

int AfxCp932OffsetToQt(const QString& text, int nByteOffset)
{
    if (nByteOffset <= 0)
        return 0;
    int bytes = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (bytes >= nByteOffset)
            return static_cast<int>(i);
        bytes += Cp932BytesOf(text.at(i).unicode(), i + 1 < size ? text.at(i + 1).unicode() : 0);
    }
    return static_cast<int>(size);
}

int AfxQtOffsetToCp932(const QString& text, int nQtOffset)
{
    int bytes = 0;
    const qsizetype size = std::min<qsizetype>(text.size(), std::max(0, nQtOffset));
    for (qsizetype i = 0; i < size; ++i)
        bytes += Cp932BytesOf(text.at(i).unicode(), i + 1 < text.size() ? text.at(i + 1).unicode() : 0);
    return bytes;
}

int AfxCopyTextToBuffer(const CString& text, WPARAM cchMax, LPARAM lpBuffer)
{
    char* buffer = reinterpret_cast<char*>(lpBuffer);
    if (!buffer || cchMax == 0)
        return 0;
    int n = std::min<int>(text.GetLength(), static_cast<int>(std::min<WPARAM>(cchMax - 1, 0x7FFFFFFF)));
    // Never cut a double-byte character in two.
    int whole = 0;
    while (whole < n) {
        const int len = Cp932CharLength(text.c_str() + whole);
        if (whole + len > n)
            break;
        whole += len;
    }
    n = whole;
    std::memcpy(buffer, text.c_str(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

QString AfxStripMnemonics(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&') {
            if (i + 1 < text.size() && text.at(i + 1) == u'&') {
                out.append(u'&');
                ++i;
            }
            continue;
        }
        out.append(text.at(i));
    }
    return out;
}

QFont AfxWidgetFontFromHandle(HFONT hFont)
{
    if (hFont) {
        if (CFont* pFont = CFont::FromHandle(hFont)) {
            LOGFONT lf;
            if (pFont->GetLogFont(&lf))
                return CFontMapper::WidgetFont(lf);
        }
    }
    return CFontMapper::WidgetFont(GetDefaultDialogFontFace(), 9);
}

void AfxEnsureJapaneseToolkitTexts()
{
    static bool s_done = false;
    if (s_done || !QCoreApplication::instance())
        return;
    s_done = true;
    // Dates and numbers the toolkit formats by itself follow Japanese conventions too.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* pTranslator = new QTranslator(QCoreApplication::instance());
    if (pTranslator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(pTranslator);
    else
        delete pTranslator;
}

// ---------------------------------------------------------------------------------------
// The mix-in.
// ---------------------------------------------------------------------------------------
CWnd* CControlMixin::Wnd() const
{
    return CWnd::FromWidget(m_pSelf);
}

HWND CControlMixin::Hwnd() const
{
    CWnd* pWnd = Wnd();
    return pWnd ? pWnd->m_hWnd : nullptr;
}

DWORD CControlMixin::Style() const
{
    CWndState* pState = AfxGetWndState(Hwnd());
    return pState ? pState->style : 0;
}

UINT CControlMixin::ControlId() const
{
    CWndState* pState = AfxGetWndState(Hwnd());
    return pState ? pState->nID : 0;
}

void CControlMixin::Notify(UINT nCode) const
{
    HWND hWnd = Hwnd();
    CWndState* pState = AfxGetWndState(hWnd);
    if (!pState || pState->destroying || !pState->created)
        return;
    // The toolkit reports some of a user's doings without input reaching a window of ours:
    // a button pressed by its mnemonic is clicked from a timer, an item is picked in a
    // drop-down list's pop-up. What the parent does about them shows in the bars as after
    // any input.
    AfxRequestIdle();
    SendToParent(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(pState->nID), static_cast<WORD>(nCode)),
                 reinterpret_cast<LPARAM>(hWnd));
}

LRESULT CControlMixin::SendToParent(UINT nMsg, WPARAM wParam, LPARAM lParam) const
{
    CWndState* pState = AfxGetWndState(Hwnd());
    if (!pState)
        return 0;
    HWND hParent = pState->hWndParent ? pState->hWndParent : pState->hWndOwner;
    return hParent ? AfxCallWndProc(hParent, nMsg, wParam, lParam) : 0;
}

CControlMixin* CControlMixin::From(QWidget* pWidget)
{
    return dynamic_cast<CControlMixin*>(pWidget);
}

// ---------------------------------------------------------------------------------------
// Owner drawing.
// ---------------------------------------------------------------------------------------
void AfxOwnerDraw(const CControlMixin& control, QPainter& painter, UINT nCtlType, UINT nItemID, UINT nAction,
                  UINT nState, const QRect& rcItem, UINT_PTR itemData)
{
    HWND hWnd = control.Hwnd();
    if (!hWnd)
        return;
    CDC dc;
    if (!dc.AttachPainter(&painter))
        return;
    DRAWITEMSTRUCT dis{};
    dis.CtlType = nCtlType;
    dis.CtlID = control.ControlId();
    dis.itemID = nItemID;
    dis.itemAction = nAction;
    dis.itemState = nState;
    dis.hwndItem = hWnd;
    dis.hDC = dc.GetSafeHdc();
    dis.rcItem = RECT{rcItem.left(), rcItem.top(), rcItem.right() + 1, rcItem.bottom() + 1};
    dis.itemData = itemData;
    painter.save();
    control.SendToParent(WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    painter.restore();
    dc.DetachDevice();
}

UINT AfxOwnerMeasure(const CControlMixin& control, UINT nCtlType, UINT nItemID, UINT nDefaultHeight,
                     UINT_PTR itemData)
{
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = nCtlType;
    mis.CtlID = control.ControlId();
    mis.itemID = nItemID;
    mis.itemWidth = 0;
    mis.itemHeight = nDefaultHeight;
    mis.itemData = itemData;
    control.SendToParent(WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    return mis.itemHeight;
}

// ---------------------------------------------------------------------------------------
// Registration.
// ---------------------------------------------------------------------------------------
void AfxRegisterControlClasses()
{
    static const bool s_registered = [] {
        AfxRegisterButtonClass();
        AfxRegisterStaticClass();
        AfxRegisterEditClass();
        AfxRegisterComboBoxClass();
        AfxRegisterListBoxClass();
        AfxRegisterScrollBarClass();
        AfxRegisterUpDownClass();
        AfxRegisterProgressClass();
        AfxRegisterGridClass();
        return true;
    }();
    (void)s_registered;
}

// The classes are there before the first window is made, also for code that creates
// controls through CWnd::Create with a class name.
static const bool s_controlClassesRegistered = (AfxRegisterControlClasses(), true);
