// Helpers shared by the tests: temporary work folders, byte builders for golden data,
// and a message-box recorder that answers by program.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Native() const { return m_path; }
    // The folder as a system path ending in a separator, ready for a file name.
    CString Folder() const;
    std::string NativeFile(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Golden bytes written out by hand from a format's description.
class ByteBuilder {
public:
    ByteBuilder& Byte(uint8_t b)
    {
        m_bytes.push_back(b);
        return *this;
    }
    ByteBuilder& Word(uint16_t w)
    {
        Byte(w & 0xFF);
        return Byte(w >> 8);
    }
    ByteBuilder& Dword(uint32_t d)
    {
        Word(d & 0xFFFF);
        return Word(d >> 16);
    }
    ByteBuilder& Raw(const std::string& s)
    {
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return *this;
    }
    // An archive string: the length prefix, then the bytes.
    ByteBuilder& Str(const std::string& s);
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

std::vector<uint8_t> ReadNativeFile(const std::string& nativePath);
void WriteNativeFile(const std::string& nativePath, const std::vector<uint8_t>& bytes);

// Records every message box while alive and answers with a fixed button.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    struct Entry {
        CString text;
        UINT type;
    };
    std::vector<Entry> entries;

private:
    MessageBoxHandler m_previous;
};

// Puts the process's working folder back after each test to where it was when the test
// began: a test may move it into a temporary folder that it then deletes, and the next test
// of the same run would find no working folder at all. The mains install one for the run.
class WorkingFolderKeeper : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& info) override;
    void OnTestEnd(const ::testing::TestInfo& info) override;

private:
    std::string m_folder;
};
void KeepTheWorkingFolderOfEveryTest();
