#include "tests/app/ShellTestSupport.h"

#include "app/CSplashWindow.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/core/CWnd.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

std::string SamplesFolder()
{
    // The build passes the source tree's root.
    return (fs::path(MORVEL_SOURCE_DIR) / "samples").string();
}

// ---------------------------------------------------------------------------------------

CScopedEnvironment::~CScopedEnvironment()
{
    for (const auto& [name, value] : m_saved) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

void CScopedEnvironment::Save(const char* name)
{
    if (m_saved.count(name) != 0)
        return;
    const char* old = std::getenv(name);
    m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
}

void CScopedEnvironment::Set(const char* name, const std::string& value)
{
    Save(name);
    setenv(name, value.c_str(), 1);
}

void CScopedEnvironment::Unset(const char* name)
{
    Save(name);
    unsetenv(name);
}

// ---------------------------------------------------------------------------------------

CShellTestFolder::CShellTestFolder()
{
    const fs::path samples = SamplesFolder();
    const fs::path root = m_dir.Native();
    fs::create_directories(root / "MASTER");
    fs::create_directories(root / "FORM");
    fs::create_directories(root / "WORK");
    fs::create_directories(root / "lock");
    for (const char* folder : {"MASTER", "FORM"}) {
        for (const auto& entry : fs::directory_iterator(samples / folder))
            fs::copy_file(entry.path(), root / folder / entry.path().filename());
    }

    m_profile.SetPath(SystemPathFromNative(SettingsFile()));
    m_profile.WriteProfileString("Path Setting", "Work Drive", "C");
    m_profile.WriteProfileString("Path Setting", "Work Field", SystemPathFromNative(Native("WORK")));
    m_profile.WriteProfileString("Path Setting", "Estimation Form", SystemPathFromNative(Native("FORM")));
    m_profile.WriteProfileString("Path Setting", "Parts Form", SystemPathFromNative(Native("FORM")));
    m_profile.WriteProfileString("Path Setting", "Information Form", SystemPathFromNative(Native("FORM")));
    m_profile.WriteProfileString("Path Setting", "Other Form", SystemPathFromNative(Native("MASTER")));
    m_profile.WriteProfileString("Form File Name Setting", "Estimation Form Name", "meisai.MMK");
    m_profile.WriteProfileString("Form File Name Setting", "Information Form Name", "JYOUHOU.MJK");
    m_profile.WriteProfileString("Form File Name Setting", "Part Form Name", "BUZAI.MBK");

    m_env.Set("MORVEL_INI", SettingsFile());
    m_env.Set("MORVEL_LOCK_DIR", Native("lock"));
    m_env.Set("MORVEL_NO_SOUND", "1");
}

CShellTestFolder::~CShellTestFolder() = default;

std::string CShellTestFolder::Native(const std::string& relative) const
{
    return relative.empty() ? m_dir.Native() : m_dir.Native() + "/" + relative;
}

CString CShellTestFolder::System(const std::string& relative) const
{
    return SystemPathFromNative(Native(relative));
}

void CShellTestFolder::RemoveFile(const std::string& relative) const
{
    fs::remove(Native(relative));
}

void CShellTestFolder::WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) const
{
    WriteNativeFile(Native(relative), bytes);
}

// ---------------------------------------------------------------------------------------

CShellTestApp::CShellTestApp() : m_pApp(std::make_unique<CMorvelApp>()) {}

CShellTestApp::~CShellTestApp()
{
    Stop();
    m_pApp.reset();
    // The splash switch is process-wide: leave it as the program starts.
    CSplashWindow::EnableSplash(TRUE);
}

BOOL CShellTestApp::Start(std::vector<CString> args)
{
    m_pApp->SetCommandLine(args);
    return m_pApp->InitInstance();
}

void CShellTestApp::Stop()
{
    if (m_pApp && m_pApp->m_pMainWnd != nullptr) {
        if (m_pApp->m_pMainWnd->GetSafeHwnd() != nullptr)
            m_pApp->m_pMainWnd->DestroyWindow();
        m_pApp->m_pMainWnd = nullptr;
    }
}

// ---------------------------------------------------------------------------------------

namespace {

std::vector<uint8_t> StoreToBytes(const std::function<void(CArchive&)>& store)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 4096);
        store(ar);
        ar.Close();
    }
    const std::vector<BYTE>& data = file.GetData();
    return std::vector<uint8_t>(data.begin(), data.end());
}

} // namespace

std::vector<uint8_t> UnitFileBytes(const std::vector<std::string>& unitsUtf8)
{
    std::vector<CString> units;
    for (const std::string& unit : unitsUtf8)
        units.push_back(CString::FromUtf8(unit));
    CUnitFile table;
    table.SetUnits(units);
    return StoreToBytes([&](CArchive& ar) { table.Serialize(ar); });
}

std::vector<uint8_t> SubjectFileBytes(int nLevel,
                                      const std::vector<std::pair<std::string, std::string>>& subjects)
{
    std::vector<std::pair<CString, CString>> level;
    for (const auto& [name, unit] : subjects)
        level.emplace_back(CString::FromUtf8(name), CString::FromUtf8(unit));
    CSubjectFile file;
    file.SetLevel(nLevel, level);
    return StoreToBytes([&](CArchive& ar) { file.SerializeLevel(nLevel, ar); });
}

CString FilterStringOf(const CFileDialog& dlg)
{
    CString strFilter;
    for (const CFileDialogFilter& filter : dlg.GetFilters()) {
        strFilter += filter.name + "|";
        for (size_t i = 0; i < filter.patterns.size(); ++i)
            strFilter += (i > 0 ? ";" : "") + filter.patterns[i];
        strFilter += "|";
    }
    return strFilter + "|";
}
