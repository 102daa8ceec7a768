#include "platform/ui/dialogs/CFontDialog.h"

#include "platform/base/MessageBox.h"
#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/FontMapper.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CFontDialog, CDialog)

namespace {

struct CNamedColor {
    const char* utf8Name;
    COLORREF color;
};

// The colours the effects offer, with the names the system gives them.
const CNamedColor kColors[] = {
    {"黒", RGB(0, 0, 0)},           {"茶", RGB(128, 0, 0)},       {"緑", RGB(0, 128, 0)},
    {"オリーブ", RGB(128, 128, 0)}, {"紺", RGB(0, 0, 128)},       {"紫", RGB(128, 0, 128)},
    {"青緑", RGB(0, 128, 128)},     {"灰色", RGB(128, 128, 128)}, {"シルバー", RGB(192, 192, 192)},
    {"赤", RGB(255, 0, 0)},         {"黄緑", RGB(0, 255, 0)},     {"黄", RGB(255, 255, 0)},
    {"青", RGB(0, 0, 255)},         {"赤紫", RGB(255, 0, 255)},   {"水色", RGB(0, 255, 255)},
    {"白", RGB(255, 255, 255)},
};

const int kStandardSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

} // namespace

int CFontDialog::PointSizeOf(const LOGFONT& lf, int logPixelsY)
{
    if (lf.lfHeight == 0 || logPixelsY <= 0)
        return 0;
    // Tenths of a point, rounded.
    const long long h = std::llabs(static_cast<long long>(lf.lfHeight));
    return static_cast<int>((h * 720 + logPixelsY / 2) / logPixelsY);
}

LONG CFontDialog::HeightOf(int pointSizeTenths, int logPixelsY)
{
    return -static_cast<LONG>((static_cast<long long>(pointSizeTenths) * logPixelsY + 360) / 720);
}

CFontDialog::CFontDialog(LPLOGFONT lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : m_pPrinterDC(pdcPrinter)
{
    std::memset(&m_cf, 0, sizeof(m_cf));
    std::memset(&m_lf, 0, sizeof(m_lf));
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = dwFlags;
    m_cf.hDC = pdcPrinter ? pdcPrinter->GetSafeHdc() : nullptr;
    m_pParentWnd = pParentWnd;
    m_cf.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    if (lplfInitial) {
        m_lf = *lplfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
}

int CFontDialog::LogPixelsY() const
{
    if (m_pPrinterDC && m_pPrinterDC->GetSafeHdc())
        return m_pPrinterDC->GetDeviceCaps(LOGPIXELSY);
    return 96;
}

void CFontDialog::GetCurrentFont(LPLOGFONT lplf) const
{
    if (lplf)
        *lplf = m_lf;
}

CString CFontDialog::GetFaceName() const
{
    return CString(m_lf.lfFaceName, static_cast<int>(strnlen(m_lf.lfFaceName, LF_FACESIZE)));
}

BOOL CFontDialog::Accept(const LOGFONT& lf, COLORREF color)
{
    const int size = PointSizeOf(lf, LogPixelsY());
    if ((m_cf.Flags & CF_LIMITSIZE) && (size < m_cf.nSizeMin * 10 || size > m_cf.nSizeMax * 10))
        return FALSE;
    m_lf = lf;
    if (m_cf.lpLogFont && m_cf.lpLogFont != &m_lf)
        *m_cf.lpLogFont = lf;
    m_cf.iPointSize = size;
    if (m_cf.Flags & CF_EFFECTS)
        m_cf.rgbColors = color;
    return TRUE;
}

INT_PTR CFontDialog::DoModal()
{
    LOGFONT initial = m_cf.lpLogFont ? *m_cf.lpLogFont : m_lf;
    if (!(m_cf.Flags & CF_INITTOLOGFONTSTRUCT)) {
        std::memset(&initial, 0, sizeof(initial));
        initial.lfHeight = HeightOf(90, LogPixelsY());
        initial.lfWeight = FW_NORMAL;
        initial.lfCharSet = SHIFTJIS_CHARSET;
        const CString face = CString::FromUtf8("ＭＳ Ｐゴシック");
        std::strncpy(initial.lfFaceName, face, LF_FACESIZE - 1);
    }
    if (CDialogAnswerer* pAnswerer = CDialogAnswerer::Current()) {
        LOGFONT chosen = initial;
        COLORREF color = m_cf.rgbColors;
        if (!pAnswerer->RunFontDialog(*this, chosen, color))
            return IDCANCEL;
        return Accept(chosen, color) ? IDOK : IDCANCEL;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return IDCANCEL;

    QWidget* pParent = nullptr;
    if (CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd(); pOwner && pOwner->GetWidget())
        pParent = pOwner->GetWidget()->window();

    QDialog dlg(pParent);
    dlg.setWindowTitle(QString::fromUtf8("フォント"));
    dlg.setFont(AfxWidgetFontFromHandle(nullptr));
    auto* grid = new QGridLayout(&dlg);
    auto* faces = new QListWidget;
    auto* styles = new QListWidget;
    auto* sizes = new QListWidget;
    // Each label's mnemonic takes the keyboard to its list.
    const auto addLabel = [&](const char* utf8, QWidget* buddy, int column) {
        auto* label = new QLabel(QString::fromUtf8(utf8));
        label->setBuddy(buddy);
        grid->addWidget(label, 0, column);
    };
    addLabel("フォント名(&F):", faces, 0);
    addLabel("スタイル(&Y):", styles, 1);
    addLabel("サイズ(&S):", sizes, 2);
    grid->addWidget(faces, 1, 0);
    grid->addWidget(styles, 1, 1);
    grid->addWidget(sizes, 1, 2);
    // Under the faces: the face that draws a stored face this machine does not have.
    auto* substitute = new QLabel;
    substitute->setWordWrap(true);
    grid->addWidget(substitute, 2, 0, 1, 3);

    // Each item keeps its face name (code page 932) beside the text shown.
    const auto addFace = [&](const CString& face) {
        auto* item = new QListWidgetItem(AfxCp932ToQString(face), faces);
        item->setData(Qt::UserRole, QByteArray(face.c_str(), face.GetLength()));
        return item;
    };
    const std::vector<CString> faceNames = CFontMapper::JapaneseFaceNames();
    const CString initialFace(initial.lfFaceName, static_cast<int>(strnlen(initial.lfFaceName, LF_FACESIZE)));
    const bool bInitialInstalled = initialFace.IsEmpty() || std::find(faceNames.begin(), faceNames.end(),
                                                                      initialFace) != faceNames.end();
    // A face the stored font names but this machine lacks (settings made on another
    // machine) stays in the list and chosen, so that OK keeps it.
    QListWidgetItem* missingItem = bInitialInstalled ? nullptr : addFace(initialFace);
    if (missingItem)
        faces->setCurrentItem(missingItem);
    for (const CString& f : faceNames) {
        QListWidgetItem* item = addFace(f);
        if (f == initialFace)
            faces->setCurrentItem(item);
    }
    if (faces->currentRow() < 0 && faces->count() > 0)
        faces->setCurrentRow(0);
    const auto updateSubstitute = [&]() {
        const bool shown = missingItem && faces->currentItem() == missingItem;
        substitute->setVisible(shown);
        if (!shown)
            return;
        LOGFONT lf = initial;
        lf.lfHeight = -12;
        const QString family = QFontInfo(CFontMapper::WidgetFont(lf)).family();
        substitute->setText(
            QString::fromUtf8("「%1」はこのコンピュータにありません。代わりに「%2」で表示します。")
                .arg(AfxCp932ToQString(initialFace), family));
    };
    updateSubstitute();
    for (const char* s : {"標準", "斜体", "太字", "太字 斜体"})
        styles->addItem(QString::fromUtf8(s));
    styles->setCurrentRow((initial.lfWeight >= FW_BOLD ? 2 : 0) + (initial.lfItalic ? 1 : 0));
    const int initialSize = (PointSizeOf(initial, LogPixelsY()) + 5) / 10;
    for (int s : kStandardSizes) {
        if ((m_cf.Flags & CF_LIMITSIZE) && (s < m_cf.nSizeMin || s > m_cf.nSizeMax))
            continue;
        sizes->addItem(QString::number(s));
        if (s == initialSize)
            sizes->setCurrentRow(sizes->count() - 1);
    }
    if (sizes->currentRow() < 0 && sizes->count() > 0)
        sizes->setCurrentRow(0);

    QCheckBox* strike = nullptr;
    QCheckBox* underline = nullptr;
    QComboBox* colors = nullptr;
    if (m_cf.Flags & CF_EFFECTS) {
        auto* effects = new QGroupBox(QString::fromUtf8("文字飾り"));
        auto* box = new QVBoxLayout(effects);
        strike = new QCheckBox(QString::fromUtf8("取り消し線(&K)"));
        underline = new QCheckBox(QString::fromUtf8("下線(&U)"));
        strike->setChecked(initial.lfStrikeOut != 0);
        underline->setChecked(initial.lfUnderline != 0);
        box->addWidget(strike);
        box->addWidget(underline);
        colors = new QComboBox;
        auto* colorLabel = new QLabel(QString::fromUtf8("色(&C):"));
        colorLabel->setBuddy(colors);
        box->addWidget(colorLabel);
        for (const CNamedColor& c : kColors) {
            colors->addItem(QString::fromUtf8(c.utf8Name));
            if (c.color == m_cf.rgbColors)
                colors->setCurrentIndex(colors->count() - 1);
        }
        box->addWidget(colors);
        grid->addWidget(effects, 3, 0);
    }
    auto* sample = new QLabel(QString::fromUtf8("Aaあぁアァ亜宇"));
    sample->setMinimumHeight(48);
    sample->setAlignment(Qt::AlignCenter);
    auto* sampleBox = new QGroupBox(QString::fromUtf8("サンプル"));
    (new QVBoxLayout(sampleBox))->addWidget(sample);
    grid->addWidget(sampleBox, 3, 1, 1, 2);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QString::fromUtf8("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    grid->addWidget(buttons, 4, 0, 1, 3);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);

    // The chosen font as a LOGFONT.
    const auto chosenFont = [&]() {
        LOGFONT lf = initial;
        if (faces->currentItem()) {
            const QByteArray bytes = faces->currentItem()->data(Qt::UserRole).toByteArray();
            const CString face(bytes.constData(), static_cast<int>(bytes.size()));
            std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
            std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        }
        const int style = std::max(0, styles->currentRow());
        lf.lfWeight = style >= 2 ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style % 2) ? 1 : 0;
        if (sizes->currentItem())
            lf.lfHeight = HeightOf(sizes->currentItem()->text().toInt() * 10, LogPixelsY());
        if (strike)
            lf.lfStrikeOut = strike->isChecked() ? 1 : 0;
        if (underline)
            lf.lfUnderline = underline->isChecked() ? 1 : 0;
        return lf;
    };
    const auto updateSample = [&]() {
        LOGFONT lf = chosenFont();
        lf.lfHeight = HeightOf(PointSizeOf(lf, LogPixelsY()), 96);
        sample->setFont(CFontMapper::WidgetFont(lf));
    };
    QObject::connect(faces, &QListWidget::currentRowChanged, &dlg, updateSample);
    QObject::connect(faces, &QListWidget::currentRowChanged, &dlg, updateSubstitute);
    QObject::connect(styles, &QListWidget::currentRowChanged, &dlg, updateSample);
    QObject::connect(sizes, &QListWidget::currentRowChanged, &dlg, updateSample);
    if (strike)
        QObject::connect(strike, &QCheckBox::toggled, &dlg, updateSample);
    if (underline)
        QObject::connect(underline, &QCheckBox::toggled, &dlg, updateSample);
    updateSample();

    if (dlg.exec() != QDialog::Accepted)
        return IDCANCEL;
    const COLORREF color =
        colors && colors->currentIndex() >= 0 ? kColors[colors->currentIndex()].color : m_cf.rgbColors;
    return Accept(chosenFont(), color) ? IDOK : IDCANCEL;
}
