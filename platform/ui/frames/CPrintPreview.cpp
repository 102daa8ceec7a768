#include "platform/ui/frames/CPrintPreview.h"

#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/frames/CPrintInfo.h"
#include "platform/ui/frames/CPrintPreview_p.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/gdi/SysColors.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

CPrintPreview::TestHook& Hook()
{
    static CPrintPreview::TestHook s_hook;
    return s_hook;
}

// The zoom steps of the preview, percent of the printed size.
const int kZooms[] = {25, 35, 50, 75, 100, 150, 200};

// How many times larger a page is drawn than it is shown (at most), and the most pixels
// such a drawing may take.
constexpr double kPreviewOversampling = 4.0;
constexpr double kMaxPreviewPixels = 16.0 * 1024 * 1024;

QString JaText(const char* utf8Japanese)
{
    return QString::fromUtf8(utf8Japanese);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Drawing the pages.
// ---------------------------------------------------------------------------------------
double CPrintPreviewImpl::Scale() const
{
    // At 100 % a printed inch is a screen inch of 96 pixels.
    return 96.0 / std::max(1, caps.logPixelsX) * nZoom / 100.0 * density;
}

double CPrintPreviewImpl::Oversampling() const
{
    // A page shown small is drawn larger and brought down to its size smoothly, as a
    // printed page looks from a distance: glyphs and lines of a few pixels (bold ones above
    // all) drawn at the small size itself turn into blots. Never beyond the printer's own
    // resolution, and within a bounded image.
    const double s = Scale();
    const double area = static_cast<double>(caps.physicalWidth) * caps.physicalHeight * s * s;
    double k = kPreviewOversampling;
    while (k > 1.0 && (s * k > 1.0 || area * k * k > kMaxPreviewPixels))
        k /= 2.0;
    return std::max(1.0, k);
}

bool CPrintPreviewImpl::Draw(UINT nPage)
{
    if (nPage < pInfo->GetMinPage() || nPage > nLastPage || nPage == 0)
        return false;
    const QSize shown(std::max(1, static_cast<int>(std::lround(caps.physicalWidth * Scale()))),
                      std::max(1, static_cast<int>(std::lround(caps.physicalHeight * Scale()))));
    const double k = Oversampling();
    const double s = Scale() * k;
    // Exactly k times the page as shown: each shown pixel is a square of k x k pixels of the
    // drawing, which bringing it down averages and nothing else.
    const int nPixel = static_cast<int>(k);
    QImage image(shown * nPixel, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    if (!dc.AttachDevice(&image, TRUE))
        return false;
    // The context describes the printer; its pixels land scaled on the page image, the
    // printable area moved by the printer's offsets.
    dc.SetDeviceCaps(caps);
    dc.SetOutputTransform(s, static_cast<int>(std::lround(caps.physicalOffsetX * s)),
                          static_cast<int>(std::lround(caps.physicalOffsetY * s)), nPixel);
    const CRect printable(0, 0, caps.horzRes, caps.vertRes);
    dc.SetSystemClipRect(&printable);

    pInfo->m_nCurPage = nPage;
    pInfo->m_bContinuePrinting = TRUE;
    pView->OnPrepareDC(&dc, pInfo);
    if (!pInfo->m_bContinuePrinting) {
        // The view has no more pages: the previous one is the last.
        nLastPage = nPage - 1;
        dc.DetachDevice();
        return false;
    }
    CRect rectDraw = printable;
    dc.DPtoLP(&rectDraw);
    pInfo->m_rectDraw = rectDraw;
    pView->OnPrint(&dc, pInfo);
    dc.DetachDevice();
    QImage page = k > 1.0 ? image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation) : image;
    page.setDevicePixelRatio(density);
    pages[nPage] = page;
    return true;
}

void CPrintPreviewImpl::Refresh()
{
    pages.clear();
    for (int i = 0; i < nNumPages; ++i)
        Draw(nCurrentPage + static_cast<UINT>(i));
    if (!dialog)
        return;

    // The pages side by side, with the paper's outline.
    if (pageArea) {
        QLayout* pLayout = pageArea->layout();
        while (QLayoutItem* pItem = pLayout->takeAt(0)) {
            delete pItem->widget();
            delete pItem;
        }
        for (int i = 0; i < nNumPages; ++i) {
            const UINT nPage = nCurrentPage + static_cast<UINT>(i);
            auto it = pages.find(nPage);
            if (it == pages.end())
                continue;
            auto* pLabel = new QLabel(pageArea);
            pLabel->setPixmap(QPixmap::fromImage(it->second));
            pLabel->setFrameShape(QFrame::Box);
            pLayout->addWidget(pLabel);
            // A child added to a window already on the screen stays hidden until Qt gets
            // round to showing it, and a hidden child takes no room: shown now, so that
            // the area is sized for the pages and not for its margins alone.
            pLabel->show();
        }
        pLayout->activate();
        pageArea->adjustSize();
    }
    if (caption) {
        const UINT nShownLast = pages.empty() ? nCurrentPage : pages.rbegin()->first;
        QString text = nShownLast > nCurrentPage ? JaText("ﾍﾟｰｼﾞ %1-%2").arg(nCurrentPage).arg(nShownLast)
                                                 : JaText("ﾍﾟｰｼﾞ %1").arg(nCurrentPage);
        caption->setText(text);
    }
    if (next)
        next->setEnabled(nCurrentPage + static_cast<UINT>(nNumPages) <= nLastPage &&
                         (nLastPage != 0xFFFF || !pages.empty()));
    if (prev)
        prev->setEnabled(nCurrentPage > pInfo->GetMinPage());
    if (numPages)
        numPages->setText(nNumPages == 1 ? JaText("2 ﾍﾟｰｼﾞ(&T)") : JaText("1 ﾍﾟｰｼﾞ(&O)"));
    // At the largest or smallest step the button that could go no further is off.
    if (zoomIn)
        zoomIn->setEnabled(nZoom < std::end(kZooms)[-1]);
    if (zoomOut)
        zoomOut->setEnabled(nZoom > kZooms[0]);
}

// ---------------------------------------------------------------------------------------
// The preview.
// ---------------------------------------------------------------------------------------
CPrintPreview::CPrintPreview(CView* pView, CPrintInfo* pInfo) : m_pImpl(std::make_unique<CPrintPreviewImpl>())
{
    CPrintPreviewImpl& d = *m_pImpl;
    d.pView = pView;
    d.pInfo = pInfo;
    d.caps = CPrinterSettings::Instance().GetDeviceCaps();
    d.nNumPages = pInfo && pInfo->m_nNumPreviewPages >= 2 ? 2 : 1;
    d.nZoom = 50;
    if (pInfo) {
        d.nCurrentPage = std::max<UINT>(1, pInfo->GetMinPage());
        if (pInfo->GetMaxPage() != 0xFFFF)
            d.nLastPage = pInfo->GetMaxPage();
    }
}

CPrintPreview::~CPrintPreview()
{
    if (m_pImpl->dialog)
        delete m_pImpl->dialog.data();
}

CPrintPreview::TestHook CPrintPreview::SetTestHook(TestHook hook)
{
    TestHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

BOOL CPrintPreview::Run()
{
    CPrintPreviewImpl& d = *m_pImpl;
    if (!d.pView || !d.pInfo)
        return FALSE;
    d.pInfo->m_bPreview = TRUE;
    CPrinterSettings::Instance().CreatePrinterDC(d.infoDC);
    d.infoDC.m_bPrinting = TRUE;
    d.pView->OnBeginPrinting(&d.infoDC, d.pInfo);

    // The window is the same whether a person or a test looks at it; a test's hook runs
    // with the window shown instead of waiting for the user.
    auto* pDialog = new QDialog(d.pView->GetWidget() ? d.pView->GetWidget()->window() : nullptr);
    d.dialog = pDialog;
    pDialog->setWindowTitle(JaText("印刷ﾌﾟﾚﾋﾞｭｰ"));
    auto* pOuter = new QVBoxLayout(pDialog);
    auto* pButtons = new QHBoxLayout;
    auto addButton = [&](const char* text, auto fn) {
        auto* pButton = new QPushButton(JaText(text), pDialog);
        QObject::connect(pButton, &QPushButton::clicked, pDialog, fn);
        pButtons->addWidget(pButton);
        return pButton;
    };
    addButton("印刷(&P)...", [this] { Close(TRUE); });
    d.next = addButton("次ﾍﾟｰｼﾞ(&N)", [this] { NextPage(); });
    d.prev = addButton("前ﾍﾟｰｼﾞ(&V)", [this] { PrevPage(); });
    d.numPages = addButton("2 ﾍﾟｰｼﾞ(&T)", [this] { SetNumPages(GetNumPages() == 1 ? 2 : 1); });
    d.zoomIn = addButton("拡大(&I)", [this] { ZoomIn(); });
    d.zoomOut = addButton("縮小(&O)", [this] { ZoomOut(); });
    addButton("閉じる(&C)", [this] { Close(FALSE); });
    pButtons->addStretch(1);
    pOuter->addLayout(pButtons);

    auto* pScroll = new QScrollArea(pDialog);
    const COLORREF desk = GetSysColor(COLOR_APPWORKSPACE);
    pScroll->setStyleSheet(QStringLiteral("QScrollArea { background: rgb(%1,%2,%3); }")
                               .arg(GetRValue(desk))
                               .arg(GetGValue(desk))
                               .arg(GetBValue(desk)));
    pScroll->setAlignment(Qt::AlignCenter);
    auto* pPages = new QWidget;
    auto* pPagesLayout = new QHBoxLayout(pPages);
    pPagesLayout->setSpacing(16);
    pScroll->setWidget(pPages);
    pScroll->setWidgetResizable(false);
    d.pageArea = pPages;
    pOuter->addWidget(pScroll, 1);
    auto* pCaption = new QLabel(pDialog);
    d.caption = pCaption;
    pOuter->addWidget(pCaption);

    if (QScreen* pScreen = QGuiApplication::primaryScreen()) {
        const QRect avail = pScreen->availableGeometry();
        pDialog->resize(avail.width() * 4 / 5, avail.height() * 4 / 5);
    }
    d.density = std::max(1.0, pDialog->devicePixelRatioF());
    d.Refresh();
    if (Hook()) {
        pDialog->show();
        Hook()(*this);
    } else {
        pDialog->exec();
    }
    d.dialog = nullptr;
    delete pDialog;

    d.pView->OnEndPrinting(&d.infoDC, d.pInfo);
    d.infoDC.DeleteDC();
    return d.bPrint;
}

UINT CPrintPreview::GetCurrentPage() const
{
    return m_pImpl->nCurrentPage;
}

int CPrintPreview::GetNumPages() const
{
    return m_pImpl->nNumPages;
}

void CPrintPreview::SetNumPages(int nPages)
{
    m_pImpl->nNumPages = nPages >= 2 ? 2 : 1;
    m_pImpl->Refresh();
}

BOOL CPrintPreview::NextPage()
{
    CPrintPreviewImpl& d = *m_pImpl;
    const UINT nNext = d.nCurrentPage + static_cast<UINT>(d.nNumPages);
    if (nNext > d.nLastPage)
        return FALSE;
    // Only when the page exists (a view of unknown length says so when asked).
    const UINT nSaved = d.nCurrentPage;
    d.nCurrentPage = nNext;
    if (!d.Draw(nNext)) {
        d.nCurrentPage = nSaved;
        d.Refresh();
        return FALSE;
    }
    d.Refresh();
    return TRUE;
}

BOOL CPrintPreview::PrevPage()
{
    CPrintPreviewImpl& d = *m_pImpl;
    const UINT nFirst = std::max<UINT>(1, d.pInfo->GetMinPage());
    if (d.nCurrentPage <= nFirst)
        return FALSE;
    const UINT nStep = static_cast<UINT>(d.nNumPages);
    d.nCurrentPage = d.nCurrentPage > nFirst + nStep ? d.nCurrentPage - nStep : nFirst;
    d.Refresh();
    return TRUE;
}

UINT CPrintPreview::GetLastPage() const
{
    return m_pImpl->nLastPage;
}

int CPrintPreview::GetZoom() const
{
    return m_pImpl->nZoom;
}

void CPrintPreview::ZoomIn()
{
    for (int z : kZooms) {
        if (z > m_pImpl->nZoom) {
            m_pImpl->nZoom = z;
            m_pImpl->Refresh();
            return;
        }
    }
}

void CPrintPreview::ZoomOut()
{
    for (auto it = std::rbegin(kZooms); it != std::rend(kZooms); ++it) {
        if (*it < m_pImpl->nZoom) {
            m_pImpl->nZoom = *it;
            m_pImpl->Refresh();
            return;
        }
    }
}

void CPrintPreview::Close(BOOL bPrint)
{
    m_pImpl->bPrint = bPrint;
    m_pImpl->bClosed = TRUE;
    if (m_pImpl->dialog)
        m_pImpl->dialog->accept();
}

BOOL CPrintPreview::RenderPage(UINT nPage)
{
    return m_pImpl->Draw(nPage) ? TRUE : FALSE;
}
