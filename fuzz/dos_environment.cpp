// Fuzz target: the DOS edition's environment file "MORINTL.IDT". Whatever its bytes, the
// reader accepts exactly the files that hold a whole layout, and a refused file leaves the
// folders it had read before.
#include "dosconvert/DosFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const std::string& Folder()
{
    static const std::string s_folder = [] {
        char templ[] = "/tmp/fuzz-dos-environment-XXXXXX";
        const char* p = mkdtemp(templ);
        return std::string(p != nullptr ? p : "/tmp") + "/";
    }();
    return s_folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = Folder() + "MORINTL.IDT";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return 0;
    // An empty input may come without bytes to point at. A file the system could not write
    // whole (a full disk) is no input of the reader's.
    const bool bWritten = size == 0 || std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !bWritten)
        return 0;

    CDosTables& t = CDosTables::Get();
    t.environment.masters = "before";
    const int nResult = ReadDosEnvironment(Folder().c_str());
    if (nResult != (size >= 374 ? 1 : -1))
        std::abort();
    if (nResult != 1 && t.environment.masters != "before")
        std::abort();
    // Every folder comes from inside the block.
    if (t.environment.masters.GetLength() > 582 || t.environment.estimateData.GetLength() > 582)
        std::abort();
    return 0;
}
