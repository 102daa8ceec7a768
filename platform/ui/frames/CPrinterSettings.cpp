#include "platform/ui/frames/CPrinterSettings.h"

#include "platform/base/Cp932.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/CPrintDialog.h"
#include "platform/ui/frames/CPrinterSettings_p.h"
#include "platform/ui/frames/CPrinterSystem.h"
#include "platform/ui/gdi/CDC.h"

#include <QDir>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace {

struct CPaperInfo {
    int nPaper;
    int cx; // 0.1 mm, portrait
    int cy;
    const char* name; // UTF-8
    QPageSize::PageSizeId qtId;
};

const CPaperInfo kPapers[] = {
    {DMPAPER_A4, 2100, 2970, "A4 210 x 297 mm", QPageSize::A4},
    {DMPAPER_A3, 2970, 4200, "A3 297 x 420 mm", QPageSize::A3},
    {DMPAPER_A5, 1480, 2100, "A5 148 x 210 mm", QPageSize::A5},
    {DMPAPER_B4, 2570, 3640, "B4 (JIS) 257 x 364 mm", QPageSize::JisB4},
    {DMPAPER_B5, 1820, 2570, "B5 (JIS) 182 x 257 mm", QPageSize::JisB5},
    {DMPAPER_LETTER, 2159, 2794, "レター 8 1/2 x 11 インチ", QPageSize::Letter},
    {DMPAPER_LEGAL, 2159, 3556, "リーガル 8 1/2 x 14 インチ", QPageSize::Legal},
};

const CPaperInfo* FindPaper(int nPaper)
{
    for (const CPaperInfo& p : kPapers) {
        if (p.nPaper == nPaper)
            return &p;
    }
    return nullptr;
}

// 1/6 inch, in 0.1 mm: the unprintable edge of the PDF printer.
constexpr int kPdfMargin = 42;

QString ToQt(const CString& s)
{
    const std::u16string u = Cp932ToUtf16(s.str(), false);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

// Pages into a PDF file.
void WritePdfInto(QPrinter& printer, int nResolution, const CString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(nResolution);
    printer.setOutputFileName(QString::fromStdString(NativePath(file)));
}

int Round(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}

} // namespace

CPrinterSettings::CPrinterSettings()
{
    m_rectMargins.SetRect(kPdfMargin, kPdfMargin, kPdfMargin, kPdfMargin);
}

CPrinterSettings& CPrinterSettings::Instance()
{
    static CPrinterSettings* s_pSettings = new CPrinterSettings;
    // The installed printers can only be asked for once the application's window system
    // is up; until then the PDF printer stands in.
    if (!s_pSettings->m_bChosen && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        s_pSettings->FollowSystemDefault();
    return *s_pSettings;
}

void CPrinterSettings::FollowSystemDefault()
{
    // Whatever default the system names now is taken up. Where it names none, the PDF
    // printer stands in, or the first printer the system offers; a printer taken up stays
    // while the system names no other (a scheduler that stopped, a default queue removed):
    // a job never goes to another printer than the one shown.
    const CPrinterSystem& system = CPrinterSystem::Current();
    CString name = system.GetDefaultPrinterName();
    if (name.IsEmpty()) {
        if (!IsPdfPrinter())
            return;
        const std::vector<CString> printers = system.GetPrinterNames();
        if (printers.empty())
            return;
        name = printers.front();
    }
    if (name != m_strPrinterName)
        TakeUp(name);
}

void CPrinterSettings::TakeUp(const CString& name)
{
    UsePdfPrinter();
    if (!name.IsEmpty())
        SelectPrinter(name);
    m_bChosen = false;
}

std::vector<CString> CPrinterSettings::GetInstalledPrinters()
{
    return CPrinterSystem::Current().GetPrinterNames();
}

CString CPrinterSettings::GetPdfPrinterName()
{
    return "PDF ﾌｧｲﾙ"_sj;
}

void CPrinterSettings::ResetToDefault()
{
    TakeUp(CString());
    FollowSystemDefault();
}

void CPrinterSettings::UsePdfPrinter()
{
    m_nPaperSize = DMPAPER_A4;
    m_nOrientation = DMORIENT_PORTRAIT;
    SelectPrinter(CString());
}

BOOL CPrinterSettings::SelectPrinter(const CString& name)
{
    if (name.IsEmpty() || name == GetPdfPrinterName()) {
        m_strPrinterName.Empty();
        m_nResolution = 300;
        m_rectMargins.SetRect(kPdfMargin, kPdfMargin, kPdfMargin, kPdfMargin);
        m_bChosen = true;
        return TRUE;
    }
    CSystemPrinter printer;
    if (!CPrinterSystem::Current().DescribePrinter(name, printer))
        return FALSE;
    // The printer's own paper and unprintable edge.
    m_strPrinterName = name;
    m_nResolution = std::max(1, printer.nResolution);
    if (FindPaper(printer.nPaperSize))
        m_nPaperSize = printer.nPaperSize;
    m_rectMargins = printer.rectMargins;
    m_bChosen = true;
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Paper and margins.
// ---------------------------------------------------------------------------------------
void CPrinterSettings::SetPaperSize(int nPaperSize)
{
    if (FindPaper(nPaperSize)) {
        m_nPaperSize = nPaperSize;
        m_bChosen = true;
    }
}

CSize CPrinterSettings::GetPaperSizeTenthsMM(int nPaperSize)
{
    const CPaperInfo* p = FindPaper(nPaperSize);
    return p ? CSize(p->cx, p->cy) : CSize(0, 0);
}

CString CPrinterSettings::GetPaperName(int nPaperSize)
{
    const CPaperInfo* p = FindPaper(nPaperSize);
    return p ? CString::FromUtf8(p->name) : CString();
}

std::vector<int> CPrinterSettings::GetPaperSizes()
{
    std::vector<int> sizes;
    for (const CPaperInfo& p : kPapers)
        sizes.push_back(p.nPaper);
    return sizes;
}

void CPrinterSettings::SetOrientation(int nOrientation)
{
    if (nOrientation == DMORIENT_PORTRAIT || nOrientation == DMORIENT_LANDSCAPE) {
        m_nOrientation = nOrientation;
        m_bChosen = true;
    }
}

BOOL CPrinterSettings::SetMarginsTenthsMM(const CRect& rectMargins)
{
    // Margins that leave no printable area are refused: every page must have room.
    CSize paper = GetPaperSizeTenthsMM(m_nPaperSize);
    if (m_nOrientation == DMORIENT_LANDSCAPE)
        paper = CSize(paper.cy, paper.cx);
    if (rectMargins.left < 0 || rectMargins.top < 0 || rectMargins.right < 0 || rectMargins.bottom < 0 ||
        rectMargins.left + rectMargins.right >= paper.cx || rectMargins.top + rectMargins.bottom >= paper.cy)
        return FALSE;
    m_rectMargins = rectMargins;
    m_bChosen = true;
    return TRUE;
}

void CPrinterSettings::SetResolution(int nDotsPerInch)
{
    if (nDotsPerInch >= 72 && nDotsPerInch <= 2400) {
        m_nResolution = nDotsPerInch;
        m_bChosen = true;
    }
}

CString CPrinterSettings::GetOutputFileNameFor(const CString& docTitle) const
{
    if (!m_strOutputFile.IsEmpty())
        return m_strOutputFile;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString name = ToQt(docTitle);
    const int dot = name.lastIndexOf('.');
    if (dot > 0)
        name = name.left(dot);
    for (QChar& ch : name) {
        if (ch == '/' || ch == '\\' || ch == ':' || ch == '*' || ch == '?' || ch == '"' || ch == '<' ||
            ch == '>' || ch == '|')
            ch = '_';
    }
    if (name.isEmpty())
        name = QStringLiteral("print");
    const QString path = QDir(folder).filePath(name + QStringLiteral(".pdf"));
    return SystemPathFromNative(path.toStdString());
}

// ---------------------------------------------------------------------------------------
// Capabilities and contexts.
// ---------------------------------------------------------------------------------------
BOOL AfxConfigureQPrinter(const CPrinterSettings& settings, QPrinter& printer, const CString& outputFile)
{
    CPrintTarget target;
    if (settings.IsPdfPrinter()) {
        WritePdfInto(printer, settings.GetResolution(), outputFile);
    } else if (!CPrinterSystem::Current().GetJobTarget(settings.GetPrinterName(), target)) {
        return FALSE;
    } else if (!target.strQueue.IsEmpty()) {
        const QString queue = ToQt(target.strQueue);
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(queue);
        // Qt turns a printer it does not know (any more) into PDF output: the job would go
        // into some file instead of the printer shown.
        if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName() != queue)
            return FALSE;
    } else if (!target.strSpoolFile.IsEmpty()) {
        WritePdfInto(printer, settings.GetResolution(), target.strSpoolFile);
    } else {
        return FALSE; // a target that names nothing takes no job
    }
    printer.setFullPage(false);
    const CPaperInfo* p = FindPaper(settings.GetPaperSize());
    const CSize paper = p ? CSize(p->cx, p->cy) : CSize(2100, 2970);
    QPageLayout layout(QPageSize(QSizeF(paper.cx / 10.0, paper.cy / 10.0), QPageSize::Millimeter),
                       settings.GetOrientation() == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                       : QPageLayout::Portrait,
                       QMarginsF(), QPageLayout::Millimeter);
    if (p)
        layout.setPageSize(QPageSize(p->qtId));
    layout.setMode(QPageLayout::StandardMode);
    const CRect m = settings.GetMarginsTenthsMM();
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF(m.left / 10.0, m.top / 10.0, m.right / 10.0, m.bottom / 10.0));
    printer.setPageLayout(layout);
    return TRUE;
}

CDeviceCaps CPrinterSettings::GetDeviceCaps() const
{
    // What a printer context on this printer reports: the paper and the printable area in
    // device pixels, the area's offset on the paper, and the printer's resolution.
    CDeviceCaps caps;
    caps.technology = DT_RASPRINTER;
    caps.bitsPixel = 24;
    const int dpi = IsPdfPrinter() ? m_nResolution : std::max(1, m_nResolution);
    caps.logPixelsX = dpi;
    caps.logPixelsY = dpi;
    CSize paper = GetPaperSizeTenthsMM(m_nPaperSize);
    if (m_nOrientation == DMORIENT_LANDSCAPE)
        paper = CSize(paper.cy, paper.cx);
    auto toPixels = [dpi](int tenthsMM) { return Round(tenthsMM / 254.0 * dpi); };
    caps.physicalWidth = toPixels(paper.cx);
    caps.physicalHeight = toPixels(paper.cy);
    caps.physicalOffsetX = toPixels(m_rectMargins.left);
    caps.physicalOffsetY = toPixels(m_rectMargins.top);
    caps.horzRes = toPixels(paper.cx - m_rectMargins.left - m_rectMargins.right);
    caps.vertRes = toPixels(paper.cy - m_rectMargins.top - m_rectMargins.bottom);
    caps.horzSize = (paper.cx - m_rectMargins.left - m_rectMargins.right) / 10;
    caps.vertSize = (paper.cy - m_rectMargins.top - m_rectMargins.bottom) / 10;
    return caps;
}

BOOL CPrinterSettings::CreatePrinterDC(CDC& dc) const
{
    dc.DeleteDC();
    if (!dc.CreateCompatibleDC(nullptr))
        return FALSE;
    dc.SetDeviceCaps(GetDeviceCaps());
    return TRUE;
}

void AfxInstallPrinterHooks()
{
    static bool s_installed = false;
    if (s_installed)
        return;
    s_installed = true;
    CWinAppHooks& hooks = CWinApp::Hooks();
    hooks.onFilePrintSetup = [](CWinApp& app) {
        CPrintDialog dlg(TRUE, 0, app.GetMainWnd());
        dlg.DoModal();
    };
    hooks.updatePrinterSelection = [](CWinApp&, BOOL bForceDefaults) {
        if (bForceDefaults)
            CPrinterSettings::Instance().ResetToDefault();
        else
            CPrinterSettings::Instance();
    };
    hooks.createPrinterDC = [](CWinApp&, CDC& dc) {
        return CPrinterSettings::Instance().CreatePrinterDC(dc);
    };
}
