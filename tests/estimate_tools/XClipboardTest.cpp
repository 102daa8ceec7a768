// The in-place cell editor's cut, copy and paste go through the desktop's clipboard: on a
// real X display (tests/support/run_on_xvfb.sh runs this under Xvfb with xclip), text copied in
// one estimate window's editor is what another program reads, text another program puts
// there pastes into an editor, and a copy in one estimate window pastes in another.
// Without an X display (the ordinary offscreen test run) the test skips itself.
#include "estimate_tools/EstimateDialogCommands.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/OtherProgram.h"
#include "tests/support/XDisplay.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

class XClipboard : public EstimateWindowTest {
protected:
    // Runs a program while the test keeps answering the display (the clipboard's owner is
    // this process, so it must go on serving requests while the program asks); its
    // standard output, or nothing when it failed.
    std::optional<std::string> RunProgram(std::vector<std::string> args, const std::string& input = "")
    {
        const std::string inPath = m_pFolder->Native("xclip.in");
        std::ofstream(inPath, std::ios::binary) << input;
        return RunOtherProgram(std::move(args), inPath, m_pFolder->Native("xclip.out"));
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
    // The clipboard is xclip's once the X server's news of it has come (until then the toolkit
    // answers a paste from this program's own copy).
    ASSERT_TRUE(WaitUntil([] { return !QGuiApplication::clipboard()->ownsClipboard(); },
                          "xclip to take the clipboard"));
    EditCell(pSecond, scSpec, nFree);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(EditorText(), outside);
    Key(VK_RETURN);
    EXPECT_EQ(Utf8Cell(nFree, scSpec), outside);
}
