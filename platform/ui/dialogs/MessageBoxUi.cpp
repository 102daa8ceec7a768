#include "platform/ui/dialogs/MessageBoxUi.h"
#include "platform/ui/core/WinApi.h"

#include "platform/base/MessageBox.h"
#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>

#include <algorithm>
#include <vector>

namespace {

struct CBoxButton {
    const char* utf8Text;
    int nResult;
    QMessageBox::ButtonRole role;
};

std::vector<CBoxButton> ButtonsOf(UINT nType)
{
    const CBoxButton ok{"OK", IDOK, QMessageBox::AcceptRole};
    const CBoxButton cancel{"ｷｬﾝｾﾙ", IDCANCEL, QMessageBox::RejectRole};
    const CBoxButton yes{"はい(&Y)", IDYES, QMessageBox::YesRole};
    const CBoxButton no{"いいえ(&N)", IDNO, QMessageBox::NoRole};
    const CBoxButton retry{"再試行(&R)", IDRETRY, QMessageBox::AcceptRole};
    const CBoxButton abort{"中止(&A)", IDABORT, QMessageBox::RejectRole};
    const CBoxButton ignore{"無視(&I)", IDIGNORE, QMessageBox::AcceptRole};
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {ok, cancel};
    case MB_ABORTRETRYIGNORE:
        return {abort, retry, ignore};
    case MB_YESNOCANCEL:
        return {yes, no, cancel};
    case MB_YESNO:
        return {yes, no};
    case MB_RETRYCANCEL:
        return {retry, cancel};
    default:
        return {ok};
    }
}

QMessageBox::Icon IconOf(UINT nType)
{
    switch (nType & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The button Esc and the close box stand for: Cancel when there is one, OK in a box with
// OK alone; boxes asking yes or no, or abort, retry or ignore, must be answered.
int EscapeResultOf(UINT nType)
{
    switch (nType & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
        return IDCANCEL;
    default:
        return 0;
    }
}

// A window manager cuts a title that is longer than its window: a short message under a
// long caption would lose the end of the caption. The box is made at least as wide as its
// caption in a bold face (title bars mostly draw one) with room for the title bar's icon
// and buttons, and never wider than most of the screen.
void WidenForCaption(QMessageBox& box)
{
    auto* pGrid = qobject_cast<QGridLayout*>(box.layout());
    if (!pGrid || box.windowTitle().isEmpty())
        return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    constexpr int kTitleBarRoom = 128; // icon, minimise/maximise/close and margins
    int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarRoom;
    if (const QScreen* pScreen = box.screen())
        width = std::min(width, pScreen->availableGeometry().width() * 4 / 5);
    pGrid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), pGrid->rowCount(), 0,
                   1, pGrid->columnCount());
}

} // namespace

void AfxReleaseCaptureForModal()
{
    if (::GetCapture() != nullptr)
        ::ReleaseCapture();
}

int AfxShowMessageBox(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    const CString text = lpszText ? lpszText : "";
    CString caption = lpszCaption ? lpszCaption : "";
    if (!lpszCaption) {
        if (LPCTSTR app = AfxGetAppName())
            caption = app;
    }
    AfxReleaseCaptureForModal();
    if (CDialogAnswerer* pAnswerer = CDialogAnswerer::Current())
        return pAnswerer->RunMessageBox(text, caption, nType);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return ButtonsOf(nType).front().nResult;

    QWidget* pParent = nullptr;
    if (pOwner && pOwner->GetWidget())
        pParent = pOwner->GetWidget()->window();
    if (!pParent)
        pParent = QApplication::activeWindow();
    if (!pParent) {
        if (CWnd* pMain = AfxGetMainWnd(); pMain && pMain->GetWidget() && pMain->GetWidget()->isVisible())
            pParent = pMain->GetWidget()->window();
    }

    QMessageBox box(pParent);
    box.setWindowTitle(AfxCp932ToQString(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(AfxCp932ToQString(text));
    box.setIcon(IconOf(nType));
    box.setFont(AfxWidgetFontFromHandle(nullptr));
    box.setWindowModality(pParent ? Qt::WindowModal : Qt::ApplicationModal);
    if (nType & (MB_SYSTEMMODAL | MB_TASKMODAL))
        box.setWindowModality(Qt::ApplicationModal);

    const std::vector<CBoxButton> buttons = ButtonsOf(nType);
    std::vector<std::pair<QAbstractButton*, int>> made;
    for (const CBoxButton& b : buttons) {
        QPushButton* p = box.addButton(QString::fromUtf8(b.utf8Text), b.role);
        made.emplace_back(p, b.nResult);
    }
    const size_t defIndex = (nType & MB_DEFMASK) == MB_DEFBUTTON3   ? 2
                            : (nType & MB_DEFMASK) == MB_DEFBUTTON2 ? 1
                                                                    : 0;
    if (defIndex < made.size())
        box.setDefaultButton(static_cast<QPushButton*>(made[defIndex].first));
    const int escape = EscapeResultOf(nType);
    for (const auto& [p, n] : made) {
        if (n == escape)
            box.setEscapeButton(p);
    }
    WidenForCaption(box);
    box.exec();
    QAbstractButton* pClicked = box.clickedButton();
    for (const auto& [p, n] : made) {
        if (p == pClicked)
            return n;
    }
    return escape != 0 ? escape : buttons.front().nResult;
}

namespace {

// The window message box on its way to the handler (one at a time: the handler takes it
// before anything else can show a box).
struct CWindowBox {
    bool bPending = false;
    CWnd* pOwner = nullptr;
    CString caption;
};

CWindowBox& PendingWindowBox()
{
    static CWindowBox box;
    return box;
}

} // namespace

int AfxWindowMessageBox(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    CWindowBox& pending = PendingWindowBox();
    const CWindowBox saved = pending;
    pending.bPending = true;
    pending.pOwner = pOwner;
    pending.caption = lpszCaption != nullptr ? CString(lpszCaption)
                                             : CString(AfxGetAppName() != nullptr ? AfxGetAppName() : "");
    const int nResult = AfxMessageBox(lpszText != nullptr ? lpszText : "", nType);
    // A handler that did not ask leaves nothing behind for the next box.
    pending = saved;
    return nResult;
}

bool AfxTakeWindowMessageBox(CWnd*& pOwner, CString& caption)
{
    CWindowBox& pending = PendingWindowBox();
    if (!pending.bPending)
        return false;
    pOwner = pending.pOwner;
    caption = pending.caption;
    pending.bPending = false;
    pending.pOwner = nullptr;
    pending.caption.Empty();
    return true;
}

void AfxInstallMessageBoxUi()
{
    SetMessageBoxHandler([](const CString& text, UINT nType, UINT) {
        CWnd* pOwner = nullptr;
        CString caption;
        if (AfxTakeWindowMessageBox(pOwner, caption))
            return AfxShowMessageBox(pOwner, text, caption, nType);
        return AfxShowMessageBox(nullptr, text, nullptr, nType);
    });
}
