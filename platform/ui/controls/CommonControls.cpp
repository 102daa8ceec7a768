#include "platform/ui/controls/CommonControls_p.h"

#include "platform/base/Cp932.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/CWnd_p.h"

#include <QScrollBar>

#include <algorithm>
#include <cstring>

// The registrations live beside each control.
void AfxRegisterTreeCtrlClass();
void AfxRegisterListCtrlClass();
void AfxRegisterRichEditClass();

QString AfxCtlText(const char* lpsz, int nLength)
{
    if (!lpsz)
        return QString();
    const std::string_view text =
        nLength < 0 ? std::string_view(lpsz) : std::string_view(lpsz, static_cast<size_t>(nLength));
    const std::u16string u = Cp932ToUtf16(text, true);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

CString AfxCtlText(const QString& text)
{
    return CString(Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                    static_cast<size_t>(text.size()))));
}

LRESULT AfxSendCtlNotify(HWND hWndCtl, UINT nCode, NMHDR* pNMHDR)
{
    CWndState* pState = AfxGetWndState(hWndCtl);
    if (!pState || pState->destroying || !pNMHDR)
        return 0;
    pNMHDR->hwndFrom = hWndCtl;
    pNMHDR->idFrom = pState->nID;
    pNMHDR->code = nCode;
    HWND hParent = pState->hWndParent ? pState->hWndParent : pState->hWndOwner;
    if (!hParent || !AfxGetWndState(hParent))
        return 0;
    return AfxCallWndProc(hParent, WM_NOTIFY, static_cast<WPARAM>(pState->nID),
                          reinterpret_cast<LPARAM>(pNMHDR));
}

void AfxSendCtlCommand(HWND hWndCtl, UINT nCode)
{
    CWndState* pState = AfxGetWndState(hWndCtl);
    if (!pState || pState->destroying)
        return;
    HWND hParent = pState->hWndParent ? pState->hWndParent : pState->hWndOwner;
    if (!hParent || !AfxGetWndState(hParent))
        return;
    AfxCallWndProc(hParent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(pState->nID), static_cast<WORD>(nCode)),
                   reinterpret_cast<LPARAM>(hWndCtl));
}

void AfxUseViewportAsClient(HWND hWnd, QAbstractScrollArea* pArea)
{
    CWndState* pState = AfxGetWndState(hWnd);
    if (!pState || !pArea)
        return;
    QWidget* pViewport = pArea->viewport();
    if (pState->client == pViewport)
        return;
    pState->client = pViewport;
    CWndManager::Instance().MapWidget(pViewport, hWnd);
}

int AfxCopyCtlText(const CString& text, LPSTR pszBuffer, int nMax)
{
    if (!pszBuffer || nMax <= 0)
        return 0;
    int n = std::min(text.GetLength(), nMax - 1);
    // Never leave half of a double-byte character at the end.
    int safe = 0;
    for (int i = 0; i < n;) {
        const int len = Cp932CharLength(text.c_str() + i);
        if (i + len > n)
            break;
        i += len;
        safe = i;
    }
    n = safe;
    std::memcpy(pszBuffer, text.c_str(), static_cast<size_t>(n));
    pszBuffer[n] = '\0';
    return n;
}

void AfxRegisterCommonControlClasses()
{
    static const bool s_registered = [] {
        AfxRegisterTreeCtrlClass();
        AfxRegisterListCtrlClass();
        AfxRegisterRichEditClass();
        return true;
    }();
    (void)s_registered;
}

namespace {
// Dialog templates name these classes; they exist from the start.
const bool s_registerAtStart = (AfxRegisterCommonControlClasses(), true);
} // namespace

void AfxScrollCtlBar(QScrollBar* pBar, UINT nCode, int nPos)
{
    switch (nCode) {
    case SB_LINEUP:
        pBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case SB_LINEDOWN:
        pBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case SB_PAGEUP:
        pBar->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case SB_PAGEDOWN:
        pBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case SB_TOP:
        pBar->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case SB_BOTTOM:
        pBar->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        pBar->setValue(nPos);
        break;
    default:
        break;
    }
}
