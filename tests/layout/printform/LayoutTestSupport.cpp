#include "tests/layout/printform/LayoutTestSupport.h"

#include "app/CSplashWindow.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/PrintFormRegistration.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

CLayoutTestFolder::CLayoutTestFolder()
{
    const fs::path samples = fs::path(MORVEL_SOURCE_DIR) / "samples";
    const fs::path root = m_dir.Native();
    for (const char* folder : {"MASTER", "FORM", "WORK"}) {
        fs::create_directories(root / folder);
        for (const auto& entry : fs::directory_iterator(samples / folder)) {
            // Only the masters and forms: the layouts a test reads are its own.
            const std::string ext = entry.path().extension().string();
            if (ext != ".MMP" && ext != ".MBP" && entry.is_regular_file())
                fs::copy_file(entry.path(), root / folder / entry.path().filename());
        }
    }
    fs::create_directories(root / "lock");
    m_profile.SetPath(SystemPathFromNative(Native("test.ini")));
    m_profile.WriteProfileString("Path Setting", "Work Drive", "C");
    m_profile.WriteProfileString("Path Setting", "Work Field", SystemPathFromNative(Native("WORK")));
    m_profile.WriteProfileString("Path Setting", "Estimation Form", SystemPathFromNative(Native("FORM")));
    m_profile.WriteProfileString("Path Setting", "Parts Form", SystemPathFromNative(Native("FORM")));
    m_profile.WriteProfileString("Path Setting", "Information Form", SystemPathFromNative(Native("FORM")));
    m_profile.WriteProfileString("Path Setting", "Other Form", SystemPathFromNative(Native("MASTER")));
    m_profile.WriteProfileString("Form File Name Setting", "Estimation Form Name", "meisai.MMK");
    m_profile.WriteProfileString("Form File Name Setting", "Information Form Name", "JYOUHOU.MJK");
    m_profile.WriteProfileString("Form File Name Setting", "Part Form Name", "BUZAI.MBK");
    m_profile.WriteProfileString("Input Setting", "Backup File", "0");
    SetEnv("MORVEL_INI", Native("test.ini"));
    SetEnv("MORVEL_LOCK_DIR", Native("lock"));
    SetEnv("MORVEL_NO_SOUND", "1");
}

CLayoutTestFolder::~CLayoutTestFolder()
{
    for (const auto& [name, value] : m_savedEnv) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

void CLayoutTestFolder::SetEnv(const char* name, const std::string& value)
{
    if (m_savedEnv.count(name) == 0) {
        const char* old = std::getenv(name);
        m_savedEnv[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    setenv(name, value.c_str(), 1);
}

std::string CLayoutTestFolder::Native(const std::string& relative) const
{
    return relative.empty() ? m_dir.Native() : m_dir.Native() + "/" + relative;
}

CString CLayoutTestFolder::System(const std::string& relative) const
{
    return SystemPathFromNative(Native(relative));
}

// ---------------------------------------------------------------------------------------

LayoutAppTest::LayoutAppTest() : m_savedServices(CShellServices::Get()) {}

LayoutAppTest::~LayoutAppTest()
{
    CShellServices::Get() = m_savedServices;
    CSplashWindow::EnableSplash(TRUE);
}

void LayoutAppTest::SetUp()
{
    m_pFolder = std::make_unique<CLayoutTestFolder>();
    RegisterPrintForm();
    m_pApp = std::make_unique<CMorvelApp>();
    m_pApp->SetCommandLine(std::vector<CString>{"/nosplash"});
    ASSERT_TRUE(m_pApp->InitInstance());
    ASSERT_NE(m_pApp->m_pMainWnd, nullptr);
    Pump();
}

void LayoutAppTest::TearDown()
{
    if (m_pApp && m_pApp->m_pMainWnd != nullptr) {
        if (m_pApp->m_pMainWnd->GetSafeHwnd() != nullptr)
            m_pApp->m_pMainWnd->DestroyWindow();
        m_pApp->m_pMainWnd = nullptr;
    }
    m_pApp.reset();
    m_pFolder.reset();
}

CPrintDoc* LayoutAppTest::Open(const CString& path)
{
    CPrintDoc* pDoc = dynamic_cast<CPrintDoc*>(m_pApp->OpenDocumentFile(path));
    Pump();
    return pDoc;
}

void LayoutAppTest::Pump()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// ---------------------------------------------------------------------------------------

CCompoundStorage MakePictureStorage(int cxHimetric, int cyHimetric, const std::string& typeName)
{
    CCompoundStorage storage;
    storage.m_clsid = {0x66, 0x12, 0x1C, 0xD3, 0x5F, 0x24, 0xCE, 0x11,
                       0x8D, 0xE6, 0x00, 0x00, 0xC0, 0x1B, 0x3E, 0xA6};

    // "\1CompObj": a 28-byte header, then the type name as a length with its zero and the
    // text, then an empty clipboard format and program id.
    ByteBuilder compObj;
    compObj.Dword(0xFFFE0001).Dword(0x00000A03).Dword(0xFFFFFFFF);
    for (int i = 0; i < 4; ++i)
        compObj.Dword(0);
    compObj.Dword(static_cast<uint32_t>(typeName.size() + 1)).Raw(typeName).Byte(0);
    compObj.Dword(0).Dword(0).Dword(0x71B239F4);
    storage.SetStream("\x01"
                      "CompObj",
                      std::vector<BYTE>(compObj.Bytes().begin(), compObj.Bytes().end()));

    // "\1Ole": version, flags 0 (embedded), link update option, reserved, moniker sizes 0.
    ByteBuilder ole;
    ole.Dword(0x02000001).Dword(0).Dword(0).Dword(0).Dword(0);
    storage.SetStream("\x01Ole", std::vector<BYTE>(ole.Bytes().begin(), ole.Bytes().end()));

    // "\2OlePres000": clipboard format 8 (a DIB), no target device, content aspect, index
    // -1, advise flags, reserved, width and height in HIMETRIC, the size of the data, the
    // bitmap (a 40-byte header and two rows of two 24-bit pixels padded to 8 bytes).
    ByteBuilder dib;
    dib.Dword(40).Dword(2).Dword(2).Word(1).Word(24).Dword(0).Dword(16).Dword(0).Dword(0).Dword(0).Dword(0);
    for (int row = 0; row < 2; ++row)
        dib.Dword(0x0000FF00u | static_cast<uint32_t>(row)).Dword(0x0000FFFF);
    ByteBuilder pres;
    pres.Dword(0xFFFFFFFF).Dword(8).Dword(4).Dword(1).Dword(0xFFFFFFFF).Dword(2).Dword(0);
    pres.Dword(static_cast<uint32_t>(cxHimetric)).Dword(static_cast<uint32_t>(cyHimetric));
    pres.Dword(static_cast<uint32_t>(dib.Bytes().size()));
    pres.Raw(std::string(dib.Bytes().begin(), dib.Bytes().end()));
    storage.SetStream("\x02OlePres000", std::vector<BYTE>(pres.Bytes().begin(), pres.Bytes().end()));

    // The server's own data, which nothing here understands.
    storage.SetStream("CONTENTS", {'P', 'I', 'C', 'T', 0, 1, 2, 3, 4, 5, 6, 7});
    return storage;
}

void WriteLayoutFile(const std::string& nativePath, const std::vector<uint8_t>& contents,
                     const std::map<int, CCompoundStorage>& embeddings)
{
    CCompoundStorage root;
    root.SetStream("Contents", std::vector<BYTE>(contents.begin(), contents.end()));
    for (const auto& [n, storage] : embeddings) {
        CString name;
        name.Format("Embedding %d", n);
        root.SetStorage(name, storage);
    }
    std::vector<BYTE> bytes;
    ASSERT_TRUE(WriteCompoundFile(root, bytes));
    WriteNativeFile(nativePath, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

CCompoundStorage ReadLayoutFile(const std::string& nativePath)
{
    const std::vector<uint8_t> bytes = ReadNativeFile(nativePath);
    CCompoundStorage root;
    ReadCompoundFile(bytes.data(), bytes.size(), root);
    return root;
}

std::vector<uint8_t> ContentsOf(const CCompoundStorage& file)
{
    const std::vector<BYTE>* pContents = file.FindStream("Contents");
    if (pContents == nullptr)
        return {};
    return std::vector<uint8_t>(pContents->begin(), pContents->end());
}
