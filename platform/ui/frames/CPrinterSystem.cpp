#include "platform/ui/frames/CPrinterSystem.h"

#include "platform/base/Cp932.h"
#include "platform/ui/frames/CPrinterSettings.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

QString ToQt(const CString& s)
{
    const std::u16string u = Cp932ToUtf16(s.str(), false);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

CString FromQt(const QString& s)
{
    return CString(Utf16ToCp932(
        std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()))));
}

int Round(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}

// The system's print service as Qt sees it. Qt can only ask once the application's window
// system is up; before that the machine offers nothing.
class CMachinePrinters final : public CPrinterSystem {
public:
    std::vector<CString> GetPrinterNames() const override
    {
        std::vector<CString> names;
        if (!CanAsk())
            return names;
        const QString def = QPrinterInfo::defaultPrinterName();
        if (!def.isEmpty())
            names.push_back(FromQt(def));
        for (const QString& name : QPrinterInfo::availablePrinterNames()) {
            if (name != def)
                names.push_back(FromQt(name));
        }
        return names;
    }

    CString GetDefaultPrinterName() const override
    {
        return CanAsk() ? FromQt(QPrinterInfo::defaultPrinterName()) : CString();
    }

    BOOL DescribePrinter(const CString& name, CSystemPrinter& printer) const override
    {
        if (!Knows(name))
            return FALSE;
        const QPrinterInfo info = QPrinterInfo::printerInfo(ToQt(name));
        QPrinter qprinter(info, QPrinter::HighResolution);
        printer.nResolution = std::max(1, qprinter.resolution());
        const QSizeF paper = info.defaultPageSize().size(QPageSize::Millimeter);
        printer.nPaperSize = 0;
        for (int nPaper : CPrinterSettings::GetPaperSizes()) {
            const CSize size = CPrinterSettings::GetPaperSizeTenthsMM(nPaper);
            if (std::abs(size.cx - Round(paper.width() * 10)) <= 2 &&
                std::abs(size.cy - Round(paper.height() * 10)) <= 2)
                printer.nPaperSize = nPaper;
        }
        const QMarginsF margins = qprinter.pageLayout().margins(QPageLayout::Millimeter);
        printer.rectMargins.SetRect(Round(margins.left() * 10), Round(margins.top() * 10),
                                    Round(margins.right() * 10), Round(margins.bottom() * 10));
        return TRUE;
    }

    BOOL GetJobTarget(const CString& name, CPrintTarget& target) const override
    {
        if (!Knows(name))
            return FALSE;
        target.strQueue = name;
        target.strSpoolFile.Empty();
        return TRUE;
    }

private:
    static bool CanAsk() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }
    static bool Knows(const CString& name)
    {
        return !name.IsEmpty() && CanAsk() && !QPrinterInfo::printerInfo(ToQt(name)).isNull();
    }
};

// A machine without printers.
class CNoPrinters final : public CPrinterSystem {
public:
    std::vector<CString> GetPrinterNames() const override { return {}; }
    CString GetDefaultPrinterName() const override { return CString(); }
    BOOL DescribePrinter(const CString&, CSystemPrinter&) const override { return FALSE; }
    BOOL GetJobTarget(const CString&, CPrintTarget&) const override { return FALSE; }
};

const CPrinterSystem*& Installed()
{
    static const CPrinterSystem* s_pSystem = nullptr;
    return s_pSystem;
}

bool PdfForced()
{
    const char* env = std::getenv("MORVEL_PRINTER");
    return env && (std::strcmp(env, "pdf") == 0 || std::strcmp(env, "PDF") == 0);
}

} // namespace

const CPrinterSystem& CPrinterSystem::Current()
{
    if (const CPrinterSystem* pSystem = Installed())
        return *pSystem;
    static const CNoPrinters s_none;
    return PdfForced() ? static_cast<const CPrinterSystem&>(s_none) : Machine();
}

const CPrinterSystem& CPrinterSystem::Machine()
{
    static const CMachinePrinters s_machine;
    return s_machine;
}

CPrinterSystem::CScope::CScope(const CPrinterSystem& system) : m_pPrevious(Installed())
{
    Installed() = &system;
}

CPrinterSystem::CScope::~CScope()
{
    Installed() = m_pPrevious;
}
