#include "platform/ui/core/CCommandLineInfo.h"

#include "platform/base/Path.h"

#include <filesystem>
#include <string>

namespace {

const char* const kSwitches[] = {"nosplash", "embedding", "automation", "p",          "pt",
                                 "dde",      "register",  "regserver",  "unregister", "unregserver"};

bool Is(const char* a, const char* b)
{
    return CString(a).CompareNoCase(b) == 0;
}

} // namespace

BOOL AfxIsCommandLineSwitch(const char* pszArgument)
{
    if (!pszArgument)
        return FALSE;
    for (const char* s : kSwitches) {
        if (Is(pszArgument, s))
            return TRUE;
    }
    return FALSE;
}

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag)
        ParseParamFlag(pszParam);
    else
        ParseParamNotFlag(pszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(const char* pszParam)
{
    if (Is(pszParam, "pt")) {
        m_nShellCommand = FilePrintTo;
    } else if (Is(pszParam, "p")) {
        m_nShellCommand = FilePrint;
    } else if (Is(pszParam, "unregister") || Is(pszParam, "unregserver")) {
        m_nShellCommand = AppUnregister;
    } else if (Is(pszParam, "register") || Is(pszParam, "regserver")) {
        m_nShellCommand = AppRegister;
    } else if (Is(pszParam, "dde")) {
        m_nShellCommand = FileDDE;
    } else if (Is(pszParam, "embedding")) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (Is(pszParam, "automation")) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    } else if (Is(pszParam, "nosplash")) {
        m_bShowSplash = FALSE;
    }
}

namespace {
// The current folder when the program started, taken before anything can change it.
const std::string g_startFolder = [] {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::string() : p.string();
}();
} // namespace

void CCommandLineInfo::ParseParamNotFlag(const char* pszParam)
{
    // Arguments arrive as the file system names them (UTF-8); the system works with its own
    // path form.
    // A relative name means the folder the program was started in, whatever the current
    // folder has become by the time the command line is read again.
    std::string native = pszParam ? std::string(pszParam) : std::string();
    if (!native.empty() && native[0] != '/' && !g_startFolder.empty())
        native = g_startFolder + "/" + native;
    const CString param = SystemPathFromNative(native);
    if (m_strFileName.IsEmpty())
        m_strFileName = param;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = param;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = param;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = param;
}

void CCommandLineInfo::ParseLast(BOOL bLast)
{
    if (!bLast)
        return;
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
    if (m_bRunEmbedded || m_bRunAutomated)
        m_bShowSplash = FALSE;
}
