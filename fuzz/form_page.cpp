// Fuzz target: a form file read into a form page of the setup sheet, by "読 込" (a file
// chosen in the open dialog) or by "初期設定" (the form's own file read again). The first
// byte chooses the page (estimation, information or parts form, then the same with
// "初期設定"); the rest is the file. The sheet runs as a user meets it, its dialogs answered
// by the dialog answerer. What a user relies on:
// - a file the page refuses says so once and changes nothing: not the grid, the form in
//   use, its file name nor the form folder;
// - a file it takes is the form in use and what the grid shows, item by item (each string
//   up to a zero byte in it, as the grid's cells take texts), and nothing else; saved from
//   the page ("登 録") and read in again, it shows the same items (rows after the last
//   named one are not items and are not saved) and saves to the same bytes.
#include "app/CMorvelApp.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/SetupIds.h"
#include "setup/CIntroductionDialog.h"
#include "setup/SetupRegistration.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

template <class Form>
struct CFormKind;

template <>
struct CFormKind<CEstimationFormFile> {
    static constexpr const char* kFolderKey = "Estimation Form";
    static constexpr const char* kFile = "meisai.MMK";
    static CEstimationFormFile& AppForm() { return g_pApp->m_estimationForm; }
    static CString& AppFileName() { return g_pApp->m_strEstimationFormFile; }
    static CFormPage& Page(CIntroductionDialog& sheet) { return sheet.m_estimationPage; }
};

template <>
struct CFormKind<CInformationFormFile> {
    static constexpr const char* kFolderKey = "Information Form";
    static constexpr const char* kFile = "JYOUHOU.MJK";
    static CInformationFormFile& AppForm() { return g_pApp->m_informationForm; }
    static CString& AppFileName() { return g_pApp->m_strInformationFormFile; }
    static CFormPage& Page(CIntroductionDialog& sheet) { return sheet.m_informationPage; }
};

template <>
struct CFormKind<CPartFormFile> {
    static constexpr const char* kFolderKey = "Parts Form";
    static constexpr const char* kFile = "BUZAI.MBK";
    static CPartFormFile& AppForm() { return g_pApp->m_partForm; }
    static CString& AppFileName() { return g_pApp->m_strPartFormFile; }
    static CFormPage& Page(CIntroductionDialog& sheet) { return sheet.m_partsPage; }
};

template <class Form>
std::vector<uint8_t> Stored(Form& form)
{
    return FuzzStore([&](CArchive& ar) { form.Serialize(ar); });
}

// The item cells of the page's grid, rows 1 to 99.
std::vector<CString> GridCells(CFormPage& page)
{
    std::vector<CString> cells;
    const int nColumns = page.Grid().GetCols() - 1;
    for (int r = 1; r <= CFormPage::LAST_ROW; ++r) {
        for (int c = 1; c <= nColumns; ++c)
            cells.push_back(page.CellText(r, c));
    }
    return cells;
}

// The message boxes shown so far, written out for the one who reads a finding.
size_t CountMessages(const CDialogAnswerer& answerer)
{
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    for (const CString& text : texts)
        std::fprintf(stderr, "message: %s\n", text.ToUtf8().c_str());
    return texts.size();
}

CString FolderSetting(const char* lpszKey)
{
    return g_pApp->GetProfileValue("Path Setting", lpszKey);
}

template <class Form>
void Check(bool bReload, const uint8_t* data, size_t size)
{
    using Kind = CFormKind<Form>;
    // Every input meets the sample form in use, from the form folder.
    static const Form s_sample = Kind::AppForm();
    Kind::AppForm() = s_sample;
    Kind::AppFileName() = Kind::kFile;
    CString folder = FuzzFolder();
    g_pApp->WritePathSetting(Kind::kFolderKey, folder.TrimRight("\\/"));

    // The saves go to new files (an existing one would make the save dialog ask first).
    for (const char* lpszSaved : {"saved.frm", "again.frm"})
        std::filesystem::remove(FuzzNativeFolder() + lpszSaved);
    const char* lpszName = bReload ? "current.frm" : "chosen.frm";
    FuzzWriteNativeFile(FuzzNativeFolder() + lpszName, data, size);
    if (bReload)
        Kind::AppFileName() = lpszName;
    // The file as the form reader takes it on its own.
    Form read;
    bool bTaken = false;
    {
        FuzzMessageBoxes boxes;
        bTaken = FuzzLoad(data, size, [&](CArchive& ar) { return read.Serialize(ar); }) == 0;
    }

    CDialogAnswerer answerer;
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        FUZZ_CHECK(sheet.SetActivePage(&Kind::Page(sheet)));
        CFormPage& page = Kind::Page(sheet);
        const std::vector<CString> gridBefore = GridCells(page);
        const std::vector<uint8_t> formBefore = Stored(Kind::AppForm());
        const CString fileBefore = Kind::AppFileName();
        const CString folderBefore = FolderSetting(Kind::kFolderKey);
        // The one message a refused file shows, read and closed.
        if (!bTaken)
            answerer.AnswerNextMessageBox(IDOK);
        if (bReload) {
            FUZZ_CHECK(ClickDlgButton(page, IDC_FORM_RELOAD));
        } else {
            answerer.AnswerFileDialog(FuzzFolder() + lpszName);
            FUZZ_CHECK(ClickDlgButton(page, IDC_FORM_OPEN));
        }
        if (!bTaken) {
            FUZZ_CHECK(CountMessages(answerer) == 1);
            FUZZ_CHECK(GridCells(page) == gridBefore);
            FUZZ_CHECK(Stored(Kind::AppForm()) == formBefore);
            FUZZ_CHECK(Kind::AppFileName() == fileBefore);
            FUZZ_CHECK(FolderSetting(Kind::kFolderKey) == folderBefore);
            ClickDlgButton(dlg, IDCANCEL);
            return;
        }
        FUZZ_CHECK(CountMessages(answerer) == 0);
        FUZZ_CHECK(Stored(Kind::AppForm()) == Stored(read));
        FUZZ_CHECK(Kind::AppFileName() == lpszName);
        const int nItems = std::clamp(read.GetCount(), 0, static_cast<int>(CFormPage::LAST_ROW));
        const int nColumns = page.Grid().GetCols() - 1;
        for (int r = 1; r <= CFormPage::LAST_ROW; ++r) {
            // A grid cell holds text: an item string shows up to a zero byte in it, as the
            // grid's cells take their texts. "初期設定" sets the file's rows and leaves the
            // rows after them as they were; "読 込" empties them.
            for (int c = 1; c <= nColumns; ++c) {
                const CString expected =
                    r <= nItems ? CString(read.GetItem(r - 1, c - 1).c_str())
                    : bReload   ? gridBefore[static_cast<size_t>((r - 1) * nColumns + c - 1)]
                                : CString();
                FUZZ_CHECK(page.CellText(r, c) == expected);
            }
        }

        // Saved and read in again: the same grid; saved again: the same bytes.
        answerer.AnswerFileDialog(FuzzFolder() + "saved.frm");
        FUZZ_CHECK(ClickDlgButton(page, IDC_FORM_SAVE));
        const std::vector<CString> gridSaved = GridCells(page);
        const std::vector<uint8_t> saved = FuzzReadNativeFile(FuzzNativeFolder() + "saved.frm");
        answerer.AnswerFileDialog(FuzzFolder() + "saved.frm");
        FUZZ_CHECK(ClickDlgButton(page, IDC_FORM_OPEN));
        // The page saves the items up to the last one with a name (the item count; all 99
        // rows when none has a name): rows after it are not items and stay behind.
        std::vector<CString> gridKept = gridSaved;
        int nNamed = CFormPage::LAST_ROW;
        while (nNamed > 0 && gridSaved[static_cast<size_t>((nNamed - 1) * nColumns)].IsEmpty())
            --nNamed;
        if (nNamed == 0)
            nNamed = CFormPage::LAST_ROW;
        std::fill(gridKept.begin() + static_cast<std::ptrdiff_t>(nNamed) * nColumns, gridKept.end(),
                  CString());
        FUZZ_CHECK(GridCells(page) == gridKept);
        answerer.AnswerFileDialog(FuzzFolder() + "again.frm");
        FUZZ_CHECK(ClickDlgButton(page, IDC_FORM_SAVE));
        FUZZ_CHECK(FuzzReadNativeFile(FuzzNativeFolder() + "again.frm") == saved);
        FUZZ_CHECK(CountMessages(answerer) == 0);
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
    FUZZ_CHECK(answerer.CountUnanswered() == 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Start-up may move the process into the work folder; libFuzzer still has to start its
    // workers and write their logs where it was started.
    const std::filesystem::path started = std::filesystem::current_path();
    setenv("MORVEL_INI", (FuzzNativeFolder() + "morvel.ini").c_str(), 1);
    FuzzInitToolkit();
    RegisterSetup();
    g_pApp = new CFuzzApp; // lives until the process ends
    FUZZ_CHECK(g_pApp->SetUpSettingsFile());
    for (const char* key : {"Other Form", "Information Form", "Estimation Form", "Parts Form", "Work Field"})
        g_pApp->WritePathSetting(key, FuzzFolder());
    g_pApp->WriteProfileInt("Input Setting", "Backup File", 1);
    g_pApp->m_strEstimationFormFile = "meisai.MMK";
    g_pApp->m_strInformationFormFile = "JYOUHOU.MJK";
    g_pApp->m_strPartFormFile = "BUZAI.MBK";
    g_pApp->WriteFormFileNames();
    for (const char* file :
         {"MASTER/TANNI.MTD", "MASTER/KAMOKU.MKB", "MASTER/KAMOKU.MKM", "MASTER/KAMOKU.MKS",
          "MASTER/BUNRUL.MRD", "FORM/JYOUHOU.MJK", "FORM/meisai.MMK", "FORM/BUZAI.MBK"}) {
        const std::vector<uint8_t> bytes =
            FuzzReadNativeFile(std::string(MORVEL_SOURCE_DIR) + "/samples/" + file);
        FUZZ_CHECK(!bytes.empty());
        FuzzWriteNativeFile(FuzzNativeFolder() + std::filesystem::path(file).filename().string(),
                            bytes.data(), bytes.size());
    }
    FuzzMessageBoxes boxes;
    FUZZ_CHECK(g_pApp->LoadMasterAndFormFiles() && boxes.texts.empty());
    std::filesystem::current_path(started);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool bReload = data[0] % 6 >= 3;
    switch (data[0] % 3) {
    case 0:
        Check<CEstimationFormFile>(bReload, data + 1, size - 1);
        break;
    case 1:
        Check<CInformationFormFile>(bReload, data + 1, size - 1);
        break;
    default:
        Check<CPartFormFile>(bReload, data + 1, size - 1);
        break;
    }
    return 0;
}
