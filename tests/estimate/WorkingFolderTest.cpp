// Opening and saving estimates while the process's current folder moves. Start-up, File
// New/Open, a new estimate and a new estimate window all make the work folder current, as
// users of the program expect; a name that came in relative must still mean the file it
// meant when it came in.
#include "platform/base/Path.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class WorkingFolder : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        fs::create_directories(m_pFolder->Native("OTHER"));
        m_savedFolder = fs::current_path();
    }
    void TearDown() override
    {
        EstimateWindowTest::TearDown();
        fs::current_path(m_savedFolder);
    }

    // The sample estimate copied under another name into a folder of the test folder.
    void CopySample(const std::string& relative) const
    {
        fs::copy_file(m_pFolder->Native("WORK") + "/サンプル見積.MMD", m_pFolder->Native(relative),
                      fs::copy_options::overwrite_existing);
    }
    // Whether the file is there, its name's case aside (the estimate's save names its file
    // with the extension "mmd").
    bool Exists(const std::string& relative) const
    {
        return FileExists(m_pFolder->System(relative)) != FALSE;
    }

    fs::path m_savedFolder;
};

} // namespace

TEST_F(WorkingFolder, AnEstimateNamedRelativeToTheCurrentFolderIsReadAndSavedThere)
{
    CopySample("OTHER/COPY.MMD");
    ASSERT_TRUE(SetCurrentDirectory(m_pFolder->System("OTHER")));

    // Opening the estimate moves the current folder to the work folder on the way.
    ASSERT_NE(OpenEstimate("COPY.MMD"), nullptr);
    EXPECT_EQ(Utf8Cell(srFirstDetail, scName), "水盛遣方");
    EXPECT_EQ(fs::canonical(fs::current_path()), fs::canonical(m_pFolder->Native("WORK")));
    EXPECT_EQ(NativePath(m_pDoc->GetPathName()), NativePath(m_pFolder->System("OTHER") + "\\COPY.MMD"));

    // Saving writes where the estimate came from, not into the current folder.
    fs::remove(m_pFolder->Native("OTHER/COPY.MMD"));
    ASSERT_TRUE(m_pDoc->DoFileSave());
    EXPECT_TRUE(Exists("OTHER/COPY.MMD"));
    EXPECT_FALSE(Exists("WORK/COPY.MMD"));
}

TEST_F(WorkingFolder, ANameTypedIntoTheSaveDialogStaysInTheDialogsFolderWhereverTheCurrentFolderGoes)
{
    ASSERT_NE(OpenSample(), nullptr);
    // The dialog shows the work folder (nothing was opened or saved through it yet).
    ASSERT_TRUE(SetCurrentDirectory(m_pFolder->System("OTHER")));
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog("RENAMED.MMD");
    Command(ID_FILE_SAVE_AS);
    ASSERT_TRUE(Exists("WORK/RENAMED.MMD"));
    EXPECT_FALSE(Exists("OTHER/RENAMED.MMD"));

    // The next save goes to the same file, from whatever folder is current then.
    fs::remove(m_pFolder->Native("WORK/RENAMED.MMD"));
    ASSERT_TRUE(SetCurrentDirectory(m_pFolder->System("OTHER")));
    ASSERT_TRUE(m_pDoc->DoFileSave());
    EXPECT_TRUE(Exists("WORK/RENAMED.MMD"));
    EXPECT_FALSE(Exists("OTHER/RENAMED.MMD"));
}

// The window, its title and the recent files name the estimate as its file is named.
TEST_F(WorkingFolder, AnEstimateKeepsItsOwnFileNameInTheTitleAndOnSave)
{
    CopySample("OTHER/second.MMD");
    ASSERT_NE(OpenEstimate(m_pFolder->System("OTHER/second.MMD")), nullptr);
    CString title;
    m_pView->GetParentFrame()->GetWindowText(title);
    EXPECT_EQ(title.ToUtf8(), "second.MMD");
    EXPECT_EQ(m_pApp->GetRecentFile(0).Right(10).ToUtf8(), "second.MMD");

    m_pView->SetCellText("x", srFirstDetail, scNote, TRUE);
    ASSERT_TRUE(m_pDoc->DoFileSave());
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_pFolder->Native("OTHER")))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"second.MMD"});
}
