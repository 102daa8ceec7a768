// The in-place cell editor's cut, copy and paste go through the desktop's clipboard: on a
// real X display (tests/support/run_on_xvfb.sh runs this under Xvfb with xclip), text copied in
// one estimate window's editor is what another program reads, text another program puts
// there pastes into an editor, and a copy in one estimate window pastes in another.
// Without an X display (the ordinary offscreen test run) the test skips itself.
#include "estimate_tools/EstimateDialogCommands.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

bool OnXDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    return platform != nullptr && std::string(platform) == "xcb" && display != nullptr && *display != '\0';
}

class XClipboard : public EstimateWindowTest {
protected:
    // Runs a program while the test keeps answering the display (the clipboard's owner is
    // this process, so it must go on serving requests while the program asks); its
    // standard output, or nothing when it failed.
    std::optional<std::string> RunProgram(std::vector<std::string> args, const std::string& input = "")
    {
        const std::string outPath = m_pFolder->Native("xclip.out");
        const std::string inPath = m_pFolder->Native("xclip.in");
        std::ofstream(inPath, std::ios::binary) << input;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0)
            return std::nullopt;
        int status = 0;
        for (int i = 0; i < 1000; ++i) {
            Pump();
            if (waitpid(pid, &status, WNOHANG) == pid) {
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    return std::nullopt;
                std::ifstream in(outPath, std::ios::binary);
                std::stringstream text;
                text << in.rdbuf();
                return text.str();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return std::nullopt;
    }

    // Opens the editor on a cell and gives it the keyboard.
    void EditCell(CMorvelEMView* pView, int nCol, int nRow)
    {
        m_pView = pView;
        GoTo(nCol, nRow);
        Key(VK_F2);
        Pump();
    }
};

} // namespace

TEST_F(XClipboard, EditorTextGoesToOtherProgramsAndBetweenEstimateWindows)
{
    if (!OnXDisplay())
        GTEST_SKIP() << "needs an X display (tests/support/run_on_xvfb.sh)";
    CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
    CMorvelEMView* pFirst = OpenSample();
    ASSERT_NE(pFirst, nullptr);
    std::filesystem::copy_file(m_pFolder->Native("WORK/サンプル見積.MMD"),
                               m_pFolder->Native("WORK/second.MMD"));
    CMorvelEMView* pSecond = OpenEstimate(m_pFolder->System("WORK") + "\\second.MMD");
    ASSERT_NE(pSecond, nullptr);

    // Copy in the first window's editor: another program reads the text.
    const std::string name = pFirst->GetCellText(srLarge, scName).ToUtf8();
    ASSERT_FALSE(name.empty());
    EditCell(pFirst, scName, srLarge);
    ASSERT_TRUE(EditorVisible());
    pFirst->GetCellEdit().SetSel(0, -1);
    Command(ID_EDIT_COPY);
    const std::optional<std::string> read = RunProgram({"xclip", "-o", "-selection", "clipboard"});
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, name);
    Key(VK_ESCAPE);

    // Paste in the second window's editor: the same text, stored in its cell.
    const int nFree = pSecond->GetUsedRows() + 1;
    EditCell(pSecond, scName, nFree);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(EditorText(), name);
    Key(VK_RETURN);
    EXPECT_EQ(Utf8Cell(nFree, scName), name);

    // And back: text another program puts on the clipboard pastes into an editor.
    const std::string outside = "外部から貼り付け";
    // xclip keeps serving the text in the background until one paste has read it.
    ASSERT_TRUE(RunProgram({"xclip", "-i", "-selection", "clipboard", "-loops", "1"}, outside).has_value());
    EditCell(pSecond, scSpec, nFree);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(EditorText(), outside);
    Key(VK_RETURN);
    EXPECT_EQ(Utf8Cell(nFree, scSpec), outside);
}
