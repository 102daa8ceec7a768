// Helpers shared by the fuzz targets: a check that stops the run with a message, message
// boxes answered and counted without a screen, a temporary folder of the process, the Qt
// application the window layer needs, and archives over bytes in memory.
#pragma once

#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/CString.h"
#include "platform/base/MessageBox.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Stops the run (libFuzzer then saves the input) when an invariant does not hold.
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond))                                                                                         \
            FuzzFail(__FILE__, __LINE__, #cond);                                                             \
    } while (0)

[[noreturn]] void FuzzFail(const char* file, int line, const char* condition);

// Counts the message boxes shown while alive and answers each with IDOK.
class FuzzMessageBoxes {
public:
    FuzzMessageBoxes();
    ~FuzzMessageBoxes();
    FuzzMessageBoxes(const FuzzMessageBoxes&) = delete;
    FuzzMessageBoxes& operator=(const FuzzMessageBoxes&) = delete;
    std::vector<CString> texts;

private:
    MessageBoxHandler m_previous;
};

// A folder of this process under the system's temporary folder, made on first use and
// removed at exit: native form ending in "/", and the system's form ending in a separator.
const std::string& FuzzNativeFolder();
CString FuzzFolder();

// The Qt application on the offscreen platform, without the machine's printers (made once;
// targets that make windows, fonts or device contexts call it from LLVMFuzzerInitialize).
void FuzzInitToolkit();

// The bytes a storing serialize produces.
std::vector<uint8_t> FuzzStore(const std::function<void(CArchive&)>& store);

// Runs a loading serialize over the bytes. Returns its result, or -2 when the archive threw
// (any CException: the data ended early or was refused by the reader).
int FuzzLoad(const uint8_t* data, size_t size, const std::function<int(CArchive&)>& load);

std::vector<uint8_t> FuzzReadNativeFile(const std::string& path);
// Writes the bytes to the file; a write that fails (no room, no such folder) stops the run
// with the reason, as a broken invariant does.
void FuzzWriteNativeFile(const std::string& path, const uint8_t* data, size_t size);
