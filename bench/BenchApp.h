// Runs a benchmark of the program's windows inside an application object, as windows need
// one: on the offscreen platform unless another is asked for, with every message box
// answered OK and its text written to standard error under the benchmark's name.
#pragma once

#include "platform/base/MessageBox.h"
#include "platform/ui/core/CWinApp.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
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
