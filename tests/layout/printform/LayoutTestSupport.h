// Helpers of the layout tests: a work folder made from the samples' forms with its own
// settings file, the application started on it with the layouts registered, the storage of
// an embedded picture written out from the format, and files built from a hand-made
// "Contents" stream.
#pragma once

#include "app/CMorvelApp.h"
#include "app/CShellServices.h"
#include "platform/base/CString.h"
#include "platform/base/Profile.h"
#include "platform/ole/CCompoundFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

class CPrintDoc;

class CLayoutTestFolder {
public:
    CLayoutTestFolder();
    ~CLayoutTestFolder();
    CLayoutTestFolder(const CLayoutTestFolder&) = delete;
    CLayoutTestFolder& operator=(const CLayoutTestFolder&) = delete;

    std::string Native(const std::string& relative = "") const;
    CString System(const std::string& relative) const;
    CProfileFile& Profile() { return m_profile; }

private:
    void SetEnv(const char* name, const std::string& value);

    TempDir m_dir;
    CProfileFile m_profile;
    std::map<std::string, std::optional<std::string>> m_savedEnv;
};

// The application started on a test folder; windows are closed at the end.
class LayoutAppTest : public ::testing::Test {
protected:
    LayoutAppTest();
    ~LayoutAppTest() override;
    void SetUp() override;
    void TearDown() override;

    // Opens a layout as File Open does.
    CPrintDoc* Open(const CString& path);
    void Pump();

    std::unique_ptr<CLayoutTestFolder> m_pFolder;
    std::unique_ptr<CMorvelApp> m_pApp;

private:
    CShellServices m_savedServices;
};

// The storage of an embedded picture as an object server leaves it: "\1CompObj" with the
// type name, "\1Ole" (flags 0: embedded), "\2OlePres000" with a cached 2x2 bitmap of the
// given extent in HIMETRIC, and the server's own stream.
CCompoundStorage MakePictureStorage(int cxHimetric, int cyHimetric, const std::string& typeName);

// Writes a compound file of a "Contents" stream and embedded storages ("Embedding n").
void WriteLayoutFile(const std::string& nativePath, const std::vector<uint8_t>& contents,
                     const std::map<int, CCompoundStorage>& embeddings = {});
// The compound file at a path (empty tree when it cannot be read).
CCompoundStorage ReadLayoutFile(const std::string& nativePath);
std::vector<uint8_t> ContentsOf(const CCompoundStorage& file);
