#include "platform/ui/dialogs/CColorDialog.h"

#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <QApplication>
#include <QColorDialog>

#include <cstring>

IMPLEMENT_DYNAMIC(CColorDialog, CDialog)

namespace {

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromQColor(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

} // namespace

COLORREF* CColorDialog::GetSavedCustomColors()
{
    static COLORREF colors[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    };
    return colors;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
{
    std::memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags;
    m_cc.rgbResult = clrInit;
    if (clrInit != 0)
        m_cc.Flags |= CC_RGBINIT;
    m_pParentWnd = pParentWnd;
    m_cc.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
}

INT_PTR CColorDialog::DoModal()
{
    const COLORREF initial = (m_cc.Flags & CC_RGBINIT) ? m_cc.rgbResult : RGB(0, 0, 0);
    if (CDialogAnswerer* pAnswerer = CDialogAnswerer::Current()) {
        COLORREF chosen = initial;
        if (!pAnswerer->RunColorDialog(*this, chosen))
            return IDCANCEL;
        m_cc.rgbResult = chosen;
        return IDOK;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return IDCANCEL;

    QWidget* pParent = nullptr;
    if (CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd(); pOwner && pOwner->GetWidget())
        pParent = pOwner->GetWidget()->window();
    if (m_cc.lpCustColors) {
        for (int i = 0; i < 16; ++i)
            QColorDialog::setCustomColor(i, ToQColor(m_cc.lpCustColors[i]));
    }
    AfxEnsureJapaneseToolkitTexts();
    QColorDialog dlg(ToQColor(initial), pParent);
    dlg.setWindowTitle(QString::fromUtf8("色の設定"));
    dlg.setOption(QColorDialog::DontUseNativeDialog, true);
    dlg.setFont(AfxWidgetFontFromHandle(nullptr));
    const int result = dlg.exec();
    if (m_cc.lpCustColors) {
        for (int i = 0; i < 16; ++i)
            m_cc.lpCustColors[i] = FromQColor(QColorDialog::customColor(i));
    }
    if (result != QDialog::Accepted)
        return IDCANCEL;
    m_cc.rgbResult = FromQColor(dlg.selectedColor());
    return IDOK;
}
