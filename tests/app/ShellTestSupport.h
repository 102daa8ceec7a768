// Helpers of the application-shell tests: a copy of the sample work folder with its own
// settings file, the environment the program reads (settings file, lock folder, sound),
// and an application object started as the program starts, answered by the dialog
// answerer.
#pragma once

#include "app/CMorvelApp.h"
#include "platform/base/CString.h"
#include "tests/support/TestSupport.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The repository's samples/ folder (found from this source file's place).
std::string SamplesFolder();

// Sets environment variables for its lifetime and puts the old values back.
class CScopedEnvironment {
public:
    CScopedEnvironment() = default;
    ~CScopedEnvironment();
    CScopedEnvironment(const CScopedEnvironment&) = delete;
    CScopedEnvironment& operator=(const CScopedEnvironment&) = delete;
    void Set(const char* name, const std::string& value);
    void Unset(const char* name);

private:
    std::map<std::string, std::optional<std::string>> m_saved;
    void Save(const char* name);
};

// A work folder for one test: the samples' masters and forms copied into MASTER/ and FORM/,
// an empty WORK/, and a settings file whose "Path Setting" keys point at them. While it
// lives the program uses that settings file, a lock folder of its own and no sound.
class CShellTestFolder {
public:
    CShellTestFolder();
    ~CShellTestFolder();

    std::string Native(const std::string& relative = "") const; // "" is the root
    CString System(const std::string& relative) const;          // a system path
    std::string SettingsFile() const { return Native("test.ini"); }
    CProfileFile& Profile() { return m_profile; }
    void RemoveFile(const std::string& relative) const;
    void WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) const;
    std::vector<uint8_t> ReadFile(const std::string& relative) const
    {
        return ReadNativeFile(Native(relative));
    }
    CScopedEnvironment& Environment() { return m_env; }

private:
    TempDir m_dir;
    CScopedEnvironment m_env;
    CProfileFile m_profile;
};

// An application object that starts as the program does and is taken down cleanly.
class CShellTestApp {
public:
    CShellTestApp();
    ~CShellTestApp();
    CShellTestApp(const CShellTestApp&) = delete;
    CShellTestApp& operator=(const CShellTestApp&) = delete;

    // InitInstance with these arguments (without the program name). The splash picture is
    // switched off unless the arguments say otherwise.
    BOOL Start(std::vector<CString> args = {"/nosplash"});
    // Closes the main window (and with it every document window), as the program ends.
    void Stop();
    CMorvelApp& App() { return *m_pApp; }
    CMorvelApp* operator->() { return m_pApp.get(); }

private:
    std::unique_ptr<CMorvelApp> m_pApp;
};

class CFileDialog;
// The filter list a file dialog was given, written back as "name|pattern|...||".
CString FilterStringOf(const CFileDialog& dlg);

// A master file written by the program's own writers into a test folder.
std::vector<uint8_t> UnitFileBytes(const std::vector<std::string>& unitsUtf8);
std::vector<uint8_t> SubjectFileBytes(int nLevel,
                                      const std::vector<std::pair<std::string, std::string>>& subjects);
