#include "tests/support/TestSupport.h"

#include "platform/base/Cp932.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

TempDir::TempDir()
{
    std::string templ = (std::filesystem::temp_directory_path() / "morvel-test-XXXXXX").string();
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = buf.data();
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

CString TempDir::Folder() const
{
    return CString(Utf8ToCp932(m_path + "/"));
}

ByteBuilder& ByteBuilder::Str(const std::string& s)
{
    const size_t n = s.size();
    if (n < 255) {
        Byte(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        Byte(0xFF).Word(static_cast<uint16_t>(n));
    } else {
        Byte(0xFF).Word(0xFFFF).Dword(static_cast<uint32_t>(n));
    }
    return Raw(s);
}

std::vector<uint8_t> ReadNativeFile(const std::string& nativePath)
{
    std::ifstream in(nativePath, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteNativeFile(const std::string& nativePath, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
{
    m_previous = SetMessageBoxHandler([this, answer](const CString& text, UINT type, UINT) {
        entries.push_back({text, type});
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHandler(m_previous);
}

void WorkingFolderKeeper::OnTestStart(const ::testing::TestInfo&)
{
    std::error_code ec;
    m_folder = std::filesystem::current_path(ec).string();
}

void WorkingFolderKeeper::OnTestEnd(const ::testing::TestInfo&)
{
    if (m_folder.empty())
        return;
    std::error_code ec;
    if (std::filesystem::current_path(ec).string() != m_folder || ec)
        std::filesystem::current_path(m_folder, ec);
}

void KeepTheWorkingFolderOfEveryTest()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new WorkingFolderKeeper);
}
