// Fuzz target: the master and form files the program reads at start-up (units, the three
// subject levels, classifications, then the information, estimation and parts forms). The
// first byte chooses which of the eight files holds the rest; the other seven are the
// samples. What a user relies on:
// - start-up goes on whatever the file holds; a file it refuses says so once and leaves
//   that table as it was, and a table it takes writes out and reads back the same;
// - an estimate made with the forms start-up ended with saves, and opens again: whatever
//   its information form holds (also no items at all), its values are ones it can keep.
#include "app/CMorvelApp.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "fuzz/support/FuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// The application with its start-up reading open to the target.
class CFuzzApp : public CMorvelApp {
public:
    using CMorvelApp::LoadMasterAndFormFiles;
    using CMorvelApp::SetUpSettingsFile;
};

CFuzzApp* g_pApp = nullptr;

struct CStartupTable {
    const char* lpszFile;
    std::function<int(CArchive&)> serialize;
};

std::vector<CStartupTable> Tables()
{
    CMorvelApp& app = *g_pApp;
    return {
        {"TANNI.MTD", [&](CArchive& ar) { return app.m_unitFile.Serialize(ar); }},
        {"KAMOKU.MKB", [&](CArchive& ar) { return app.m_subjectFile.SerializeLarge(ar); }},
        {"KAMOKU.MKM", [&](CArchive& ar) { return app.m_subjectFile.SerializeMiddle(ar); }},
        {"KAMOKU.MKS", [&](CArchive& ar) { return app.m_subjectFile.SerializeSmall(ar); }},
        {"BUNRUL.MRD", [&](CArchive& ar) { return app.m_classifyFile.Serialize(ar); }},
        {"JYOUHOU.MJK", [&](CArchive& ar) { return app.m_informationForm.Serialize(ar); }},
        {"meisai.MMK", [&](CArchive& ar) { return app.m_estimationForm.Serialize(ar); }},
        {"BUZAI.MBK", [&](CArchive& ar) { return app.m_partForm.Serialize(ar); }},
    };
}

std::string SamplePath(const char* lpszFile)
{
    const std::string name(lpszFile);
    const bool bForm = name.find(".M") != std::string::npos && name[name.size() - 1] == 'K';
    return std::string(MORVEL_SOURCE_DIR) + (bForm ? "/samples/FORM/" : "/samples/MASTER/") + name;
}

void CopySample(const char* lpszFile)
{
    const std::vector<uint8_t> bytes = FuzzReadNativeFile(SamplePath(lpszFile));
    FuzzWriteNativeFile(FuzzNativeFolder() + lpszFile, bytes.data(), bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Start-up may move the process into the work folder; libFuzzer still has to start its
    // workers and write their logs where it was started.
    const std::filesystem::path started = std::filesystem::current_path();
    setenv("MORVEL_INI", (FuzzNativeFolder() + "morvel.ini").c_str(), 1);
    FuzzInitToolkit();
    g_pApp = new CFuzzApp; // lives until the process ends
    FUZZ_CHECK(g_pApp->SetUpSettingsFile());
    for (const char* key : {"Other Form", "Information Form", "Estimation Form", "Parts Form", "Work Field"})
        g_pApp->WritePathSetting(key, FuzzFolder());
    g_pApp->WriteProfileInt("Input Setting", "Backup File", 1);
    g_pApp->m_strEstimationFormFile = "meisai.MMK";
    g_pApp->m_strInformationFormFile = "JYOUHOU.MJK";
    g_pApp->m_strPartFormFile = "BUZAI.MBK";
    g_pApp->WriteFormFileNames();
    for (const CStartupTable& table : Tables())
        CopySample(table.lpszFile);
    FuzzMessageBoxes boxes;
    FUZZ_CHECK(g_pApp->LoadMasterAndFormFiles() && boxes.texts.empty());
    std::filesystem::current_path(started);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::vector<CStartupTable> tables = Tables();
    const CStartupTable& chosen = tables[data[0] % tables.size()];
    FuzzWriteNativeFile(FuzzNativeFolder() + chosen.lpszFile, data + 1, size - 1);
    std::vector<std::vector<uint8_t>> before;
    for (const CStartupTable& table : tables)
        before.push_back(FuzzStore([&](CArchive& ar) { table.serialize(ar); }));

    FuzzMessageBoxes boxes;
    FUZZ_CHECK(g_pApp->LoadMasterAndFormFiles());
    FUZZ_CHECK(boxes.texts.size() <= 1);
    for (size_t i = 0; i < tables.size(); ++i) {
        const std::vector<uint8_t> now = FuzzStore([&](CArchive& ar) { tables[i].serialize(ar); });
        if (&tables[i] != &chosen || !boxes.texts.empty()) {
            FUZZ_CHECK(now == before[i]);
            continue;
        }
        // What was taken reads back the same.
        FUZZ_CHECK(FuzzLoad(now.data(), now.size(), tables[i].serialize) == 0);
        FUZZ_CHECK(FuzzStore([&](CArchive& ar) { tables[i].serialize(ar); }) == now);
    }

    // A new estimate on the forms start-up ended with, its information filled in.
    boxes.texts.clear();
    {
        auto* pDoc = new CMorvelEMDoc;
        auto* pView = new CMorvelEMView;
        pDoc->m_bAutoDelete = FALSE;
        pDoc->AddView(pView);
        FUZZ_CHECK(pDoc->OnNewDocument());
        pView->SetupFromDocument();
        pView->InsertRow(0);
        pView->SetRowKind(kindDetail, 0);
        for (int c = 0; c < pView->GetColumnCount(); ++c)
            pView->SetCellText("1", 0, c, TRUE);
        for (int i = 0; i < CMorvelEMView::MAX_INFORMATION; ++i)
            pView->GetModel().SetInformation(i, "value");
        FUZZ_CHECK(pDoc->OnSaveDocument(FuzzFolder() + "new.mmd"));
        auto* pAgain = new CMorvelEMDoc;
        auto* pAgainView = new CMorvelEMView;
        pAgain->m_bAutoDelete = FALSE;
        pAgain->AddView(pAgainView);
        FUZZ_CHECK(pAgain->OnOpenDocument(FuzzFolder() + "new.mmd"));
        FUZZ_CHECK(pAgainView->GetUsedRows() == 1);
        delete pAgainView;
        delete pAgain;
        delete pView;
        delete pDoc;
    }
    FUZZ_CHECK(boxes.texts.empty());

    // The samples again, in the files and in the application.
    CopySample(chosen.lpszFile);
    FUZZ_CHECK(g_pApp->LoadMasterAndFormFiles());
    FUZZ_CHECK(boxes.texts.empty());
    return 0;
}
