// What the window benchmarks share.
//
// Runs a benchmark of the program's windows inside an application object, as windows need
// one: on the offscreen platform unless another is asked for, with every message box
// answered OK and its text written to standard error under the benchmark's name.
#pragma once

#include "app/CMorvelSettings.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CWinApp.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <unistd.h>
#include <utility>

inline void RunInApplication(const char* lpszName, char* argv0, std::function<void()> run)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    SetMessageBoxHandler([name = std::string(lpszName)](const CString& text, UINT, UINT) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), text.ToUtf8().c_str());
        return IDOK;
    });
    class CBenchApp : public CWinApp {
    public:
        explicit CBenchApp(std::function<void()> f) : m_run(std::move(f)) {}
        BOOL InitInstance() override
        {
            m_run();
            return FALSE; // nothing runs afterwards
        }

    private:
        std::function<void()> m_run;
    };
    CBenchApp app(std::move(run));
    char* args[] = {argv0, nullptr};
    AfxWinMain(1, args);
}

// A scratch work folder under /tmp with its own settings file, made the current settings with
// the folder as "Work Field"; folder and settings go when it does. Valid() is false when no
// folder could be made (the reason is on standard error).
class CBenchWorkFolder {
public:
    explicit CBenchWorkFolder(const char* lpszName)
        : m_path(MakeFolder(lpszName)),
          m_profile(SystemPathFromNative((m_path / "bench.ini").string())),
          m_settings(m_profile)
    {
        CMorvelSettings::SetCurrent(&m_settings);
        if (Valid())
            m_settings.WritePathSetting("Work Field", SystemPathFromNative(m_path.string()));
    }
    ~CBenchWorkFolder()
    {
        CMorvelSettings::SetCurrent(nullptr);
        std::error_code ec;
        if (Valid())
            std::filesystem::remove_all(m_path, ec);
    }
    CBenchWorkFolder(const CBenchWorkFolder&) = delete;
    CBenchWorkFolder& operator=(const CBenchWorkFolder&) = delete;

    bool Valid() const { return !m_path.empty(); }
    const std::filesystem::path& Path() const { return m_path; }
    CMorvelSettings& Settings() { return m_settings; }

private:
    static std::filesystem::path MakeFolder(const char* lpszName)
    {
        std::string pattern = std::string("/tmp/") + lpszName + "-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror(lpszName);
            return {};
        }
        return pattern;
    }

    std::filesystem::path m_path;
    CProfileFile m_profile;
    CMorvelSettings m_settings;
};
