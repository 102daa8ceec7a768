// Working with a window's child items by id: texts and numbers, tab and group order, and
// the command-state update of child controls.
#include "platform/base/Path.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinApi.h"

#include "UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr UINT ID_UPDATED = 41001;

class CParentWnd : public CWnd {
public:
    BOOL m_bEnable = FALSE;

protected:
    afx_msg void OnUpdateItem(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnable); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
ON_UPDATE_COMMAND_UI(ID_UPDATED, OnUpdateItem)
END_MESSAGE_MAP()

class DialogItemsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
        // a (tab, group) b (tab) c (group, disabled) d (tab) -- one group a..b, one c..d.
        const DWORD styles[] = {WS_TABSTOP | WS_GROUP, WS_TABSTOP, WS_GROUP | WS_DISABLED, WS_TABSTOP};
        for (int i = 0; i < 4; ++i) {
            items.push_back(std::make_unique<CWnd>());
            ASSERT_TRUE(items.back()->Create(nullptr, "", WS_CHILD | WS_VISIBLE | styles[i],
                                             CRect(0, i * 20, 50, i * 20 + 15), &parent, 100 + i));
        }
    }
    void TearDown() override { parent.DestroyWindow(); }
    CParentWnd parent;
    std::vector<std::unique_ptr<CWnd>> items;
};

} // namespace

TEST_F(DialogItemsTest, TextsAndNumbersOfItems)
{
    parent.SetDlgItemText(101, "項目"_sj);
    CString s;
    EXPECT_EQ(parent.GetDlgItemText(101, s), 4);
    EXPECT_EQ(s, "項目"_sj);
    parent.SetDlgItemInt(102, static_cast<UINT>(-25), TRUE);
    BOOL ok = FALSE;
    EXPECT_EQ(static_cast<int>(parent.GetDlgItemInt(102, &ok, TRUE)), -25);
    EXPECT_TRUE(ok);
    parent.GetDlgItemInt(102, &ok, FALSE);
    EXPECT_FALSE(ok) << "a negative number is no unsigned number";
    parent.SetDlgItemText(103, "12x");
    parent.GetDlgItemInt(103, &ok, TRUE);
    EXPECT_FALSE(ok);
    parent.SetDlgItemText(103, "99999999999");
    parent.GetDlgItemInt(103, &ok, TRUE);
    EXPECT_FALSE(ok) << "out of range";
    EXPECT_EQ(parent.GetDlgItemText(999, s), 0);
    EXPECT_EQ(items[1]->GetDlgCtrlID(), 101);
    EXPECT_EQ(items[1]->SetDlgCtrlID(150), 101);
    EXPECT_EQ(parent.GetDlgItem(150), items[1].get());
}

TEST_F(DialogItemsTest, TabAndGroupOrderSkipDisabledItems)
{
    EXPECT_EQ(parent.GetNextDlgTabItem(items[0].get()), items[1].get());
    EXPECT_EQ(parent.GetNextDlgTabItem(items[1].get()), items[3].get()) << "c is disabled";
    EXPECT_EQ(parent.GetNextDlgTabItem(items[3].get()), items[0].get()) << "wraps around";
    EXPECT_EQ(parent.GetNextDlgTabItem(items[0].get(), TRUE), items[3].get());
    EXPECT_EQ(parent.GetNextDlgGroupItem(items[1].get()), items[0].get()) << "wraps inside the group";
    EXPECT_EQ(parent.GetNextDlgGroupItem(items[3].get()), items[3].get()) << "c is disabled: d alone";
}

TEST_F(DialogItemsTest, UpdateDialogControlsEnablesItemsByTheirCommands)
{
    items[2]->EnableWindow(TRUE);
    items[2]->SetDlgCtrlID(ID_UPDATED);
    parent.m_bEnable = FALSE;
    parent.UpdateDialogControls(&parent, TRUE);
    EXPECT_FALSE(items[2]->IsWindowEnabled());
    EXPECT_FALSE(items[0]->IsWindowEnabled()) << "no handler for its id";
    parent.m_bEnable = TRUE;
    parent.UpdateDialogControls(&parent, FALSE);
    EXPECT_TRUE(items[2]->IsWindowEnabled());
}

TEST(RecentFileNamesTest, LongPathsAreShortenedAroundTheMiddle)
{
    TempDir dir;
    CWinApp app;
    app.SetProfilePath(dir.Folder() + "R.INI");
    app.LoadStdProfileSettings(4);
    app.AddToRecentFileList("C:\\MORVEL\\WORK\\2024\\KOUJI\\GENBA-A\\MITSUMORI.MMD");
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "recent");
    AfxUpdateMenuCmdUI(&menu, &app, TRUE);
    CString text;
    menu.GetMenuString(0, text, MF_BYPOSITION);
    // Shown as the native path ("C:" is the file-system root).
    EXPECT_EQ(text, CString("&1 /.../GENBA-A/MITSUMORI.MMD"));
    EXPECT_LE(text.GetLength() - 3, 30);
}

// A file shows the same in the list whether its folder is the current one or not (the
// program makes the work folder current on File Open; after a restart it is not).
TEST(RecentFileNamesTest, AFileShowsTheSameWhateverTheCurrentFolder)
{
    TempDir dir;
    CWinApp app;
    app.SetProfilePath(dir.Folder() + "R.INI");
    app.LoadStdProfileSettings(4);
    app.AddToRecentFileList(dir.Folder() + "souko.MMD");
    const CString before = GetCurrentDirectory();
    const auto shown = [&app] {
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "recent");
        AfxUpdateMenuCmdUI(&menu, &app, TRUE);
        CString text;
        menu.GetMenuString(0, text, MF_BYPOSITION);
        return text;
    };
    const CString elsewhere = shown();
    ASSERT_TRUE(SetCurrentDirectory(dir.Folder()));
    const CString inItsFolder = shown();
    SetCurrentDirectory(before);
    EXPECT_EQ(elsewhere, inItsFolder);
    EXPECT_NE(inItsFolder, CString("&1 souko.MMD"));
}

TEST(GlobalMemoryTest, BlocksGrowKeepTheirBytesAndCountLocks)
{
    HGLOBAL h = GlobalAlloc(GHND, 4);
    ASSERT_NE(h, nullptr);
    auto* p = static_cast<BYTE*>(GlobalLock(h));
    EXPECT_EQ(p[3], 0) << "blocks start zeroed";
    p[0] = 0x12;
    EXPECT_FALSE(GlobalUnlock(h)) << "last unlock";
    EXPECT_FALSE(GlobalUnlock(h)) << "not locked any more";
    EXPECT_EQ(GlobalReAlloc(h, 4096, GMEM_MOVEABLE), h);
    EXPECT_EQ(GlobalSize(h), 4096u);
    EXPECT_EQ(static_cast<BYTE*>(GlobalLock(h))[0], 0x12);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
}
