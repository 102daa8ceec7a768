#include "fuzz/support/FuzzSupport.h"

#include "platform/base/CException.h"
#include "platform/base/Path.h"

#include <QApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

void FuzzFail(const char* file, int line, const char* condition)
{
    std::fprintf(stderr, "fuzz invariant broken at %s:%d: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

FuzzMessageBoxes::FuzzMessageBoxes()
{
    m_previous = SetMessageBoxHandler([this](const CString& text, UINT, UINT) {
        texts.push_back(text);
        return IDOK;
    });
}

FuzzMessageBoxes::~FuzzMessageBoxes()
{
    SetMessageBoxHandler(m_previous);
}

namespace {

struct CFuzzFolder {
    CFuzzFolder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/morvel-fuzz-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        path = std::string(buffer.data()) + "/";
    }
    ~CFuzzFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

} // namespace

const std::string& FuzzNativeFolder()
{
    static CFuzzFolder folder;
    return folder.path;
}

CString FuzzFolder()
{
    CString folder = SystemPathFromNative(FuzzNativeFolder());
    if (folder.IsEmpty() || (folder.Right(1) != "\\" && folder.Right(1) != "/"))
        folder += "\\";
    return folder;
}

void FuzzInitToolkit()
{
    static QApplication* pApp = nullptr;
    if (pApp != nullptr)
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("MORVEL_NO_SOUND", "1", 1);
    // Layouts take their paper from the printer: the PDF printer's, whatever printers the
    // machine has, so that an input behaves alike on every machine.
    setenv("MORVEL_PRINTER", "pdf", 1);
    static int argc = 1;
    static char name[] = "morvel-fuzz";
    static char* argv[] = {name, nullptr};
    pApp = new QApplication(argc, argv); // lives until the process ends
}

std::vector<uint8_t> FuzzStore(const std::function<void(CArchive&)>& store)
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

int FuzzLoad(const uint8_t* data, size_t size, const std::function<int(CArchive&)>& load)
{
    static const BYTE kNothing = 0;
    try {
        CMemFile file(size == 0 ? &kNothing : data, static_cast<UINT>(size));
        CArchive ar(&file, CArchive::load, 4096);
        return load(ar);
    } catch (const CException&) {
        return -2;
    }
}

std::vector<uint8_t> FuzzReadNativeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void FuzzWriteNativeFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    // A file the target meant to read back that is missing or cut short would make every
    // later check look at the wrong bytes: the run stops here instead.
    if (!out) {
        const int nError = errno;
        std::fprintf(stderr, "fuzz target could not write %zu bytes to %s: %s\n", size, path.c_str(),
                     nError != 0 ? std::strerror(nError) : "stream error");
        std::fflush(stderr);
        std::abort();
    }
}
