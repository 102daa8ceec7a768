// What this platform does not have, stood in for: sound, help files, the 32-bit emulation
// query and loadable modules.
#include "platform/ui/core/WinApi.h"

#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cstdlib>

BOOL PlaySound(LPCTSTR pszSound, HMODULE hmod, DWORD fdwSound)
{
    (void)hmod;
    if (!pszSound || !(fdwSound & SND_FILENAME))
        return FALSE;
    if (const char* off = std::getenv("MORVEL_NO_SOUND"); off && *off && *off != '0')
        return FALSE;
    const QString file = QString::fromStdString(NativePath(pszSound));
    if (!QFileInfo(file).isFile())
        return FALSE;
    // The desktop's sound player: PulseAudio's when there is one, else ALSA's.
    QString player = QStandardPaths::findExecutable(QStringLiteral("paplay"));
    QStringList args{file};
    if (player.isEmpty()) {
        player = QStandardPaths::findExecutable(QStringLiteral("aplay"));
        args = QStringList{QStringLiteral("-q"), file};
    }
    if (player.isEmpty())
        return FALSE;
    if (fdwSound & SND_ASYNC)
        return QProcess::startDetached(player, args) ? TRUE : FALSE;
    QProcess process;
    process.start(player, args);
    if (!process.waitForStarted(2000))
        return FALSE;
    // A sound of a few seconds; a player that hangs is not waited for longer.
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(1000);
        return FALSE;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

HWND HtmlHelp(HWND hwndCaller, LPCTSTR pszFile, UINT uCommand, DWORD_PTR dwData)
{
    (void)hwndCaller;
    (void)uCommand;
    (void)dwData;
    if (!pszFile)
        return nullptr;
    // "guide/index.html::/topic.html" names a page beside the guide's file, as a compiled
    // help file names a page inside it. The guide opens in the desktop's browser.
    CString strFile(pszFile);
    CString strTopic;
    if (const int nTopic = strFile.Find("::"); nTopic >= 0) {
        strTopic = strFile.Mid(nTopic + 2);
        strFile = strFile.Left(nTopic);
        while (!strTopic.IsEmpty() && (strTopic[0] == '/' || strTopic[0] == '\\'))
            strTopic = strTopic.Mid(1);
    }
    const QString file = QString::fromStdString(NativePath(strFile));
    if (QFileInfo(file).isFile()) {
        QString page = file;
        if (!strTopic.IsEmpty()) {
            const QString topic =
                QFileInfo(file).dir().filePath(QString::fromStdString(Cp932ToUtf8(strTopic.str())));
            if (QFileInfo(topic).isFile())
                page = topic;
        }
        // Without a browser (or with one that cannot start) the user is told, not left
        // waiting for a page that never comes.
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
            CString text = "ﾍﾙﾌﾟ \""_sj;
            text += DisplayPath(SystemPathFromNative(page.toStdString()));
            text += "\" を表示するﾌﾞﾗｳｻﾞが見つかりません。"_sj;
            AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        }
        return nullptr;
    }
    CString text = "ﾍﾙﾌﾟ ﾌｧｲﾙ \""_sj;
    text += DisplayPath(strFile);
    text += "\" が見つかりません。"_sj;
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
}

HANDLE GetCurrentProcess()
{
    static char s_process;
    return &s_process;
}

BOOL IsWow64Process(HANDLE hProcess, BOOL* Wow64Process)
{
    (void)hProcess;
    if (!Wow64Process)
        return FALSE;
    *Wow64Process = FALSE;
    return TRUE;
}

namespace {
char s_module;
} // namespace

HMODULE LoadLibrary(LPCTSTR lpLibFileName)
{
    (void)lpLibFileName;
    return reinterpret_cast<HMODULE>(&s_module);
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    return hLibModule ? TRUE : FALSE;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    (void)hModule;
    (void)lpProcName;
    return nullptr;
}
