// CCommandLineInfo: what the program's command line asks for — a file to open or print,
// and whether the start-up picture is shown.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"

class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo() = default;
    ~CCommandLineInfo() override = default;

    // One argument: bFlag when it is a switch (pszParam then without its "/" or "-"),
    // bLast for the last argument.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    int m_nShellCommand = FileNew;
    CString m_strFileName; // system path (code page 932)
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

private:
    void ParseParamFlag(const char* pszParam);
    void ParseParamNotFlag(const char* pszParam);
    void ParseLast(BOOL bLast);
};

// The switches the command line understands (without "/" or "-", any case). Arguments
// starting with "/" that are not one of these are file paths.
BOOL AfxIsCommandLineSwitch(const char* pszArgument);
