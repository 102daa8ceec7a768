// The program's resources: the texts the other parts look up, the menus' commands, the
// tool bars and their pictures, and the dialog templates of the shell.
#include "platform/base/Cp932.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/dialogs/DialogTemplate.h"
#include "resources/EstimateViewMenus.h"
#include "resources/MorvelResources.h"
#include "resources/PartsViewMenus.h"
#include "resources/PrintFormEditorResources.h"
#include "resources/ResourceIds.h"
#include "resources/SetupIds.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

class ShellResources : public ::testing::Test {
protected:
    void SetUp() override { RegisterMorvelResources(); }
};

// Every command id of a menu resource, pop-ups included.
void CollectCommands(const std::vector<CMenuResourceItem>& items, std::set<UINT>& ids)
{
    for (const CMenuResourceItem& item : items) {
        if (!item.children.empty())
            CollectCommands(item.children, ids);
        else if (item.nID != 0)
            ids.insert(item.nID);
    }
}

std::set<UINT> MenuCommands(UINT nID)
{
    std::set<UINT> ids;
    const std::vector<CMenuResourceItem>* pItems = FindMenuResource(nID);
    if (pItems != nullptr)
        CollectCommands(*pItems, ids);
    return ids;
}

// Width, height and colour type from a PNG file's header chunk.
struct CPngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 0;
    int colorType = -1;
};

CPngHeader ReadPngHeader(const CImageResource& image)
{
    CPngHeader header;
    if (image.data == nullptr || image.size < 26)
        return header;
    const unsigned char* p = image.data;
    static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::memcmp(p, kSignature, 8) != 0 || std::memcmp(p + 12, "IHDR", 4) != 0)
        return header;
    auto be32 = [](const unsigned char* q) {
        return (uint32_t(q[0]) << 24) | (uint32_t(q[1]) << 16) | (uint32_t(q[2]) << 8) | uint32_t(q[3]);
    };
    header.width = be32(p + 16);
    header.height = be32(p + 20);
    header.bitDepth = p[24];
    header.colorType = p[25];
    return header;
}

} // namespace

TEST_F(ShellResources, DocumentTemplateStringsAreExact)
{
    EXPECT_EQ(
        AfxLoadString(IDR_MORVELTYPE),
        "\n見積処理\n見積処理\n見積処理ﾌｧｲﾙ (*.MMD)\n.MMD\n見積処理ﾌｧｲﾙ\n見積処理ﾌｧｲﾙ\n見積処理ﾌｧｲﾙ\n"_sj);
    EXPECT_EQ(
        AfxLoadString(IDR_PARTSTYPE),
        "\n部材処理\n部材処理\n部材処理ﾌｧｲﾙ (*.MBD)\n.MBD\n部材処理ﾌｧｲﾙ\n部材処理ﾌｧｲﾙ\n部材処理ﾌｧｲﾙ\n"_sj);
    EXPECT_EQ(AfxLoadString(IDR_EMFORMTYPE), "\n見積印刷形式\n見積印刷形式\n見積印刷形式ﾌｧｲﾙ (*.MMP)\n.MMP\n"
                                             "見積印刷形式ﾌｧｲﾙ\n見積印刷形式ﾌｧｲﾙ\n見積印刷形式ﾌｧｲﾙ\n"_sj);
    EXPECT_EQ(AfxLoadString(IDR_PMFORMTYPE), "\n部材印刷形式\n部材印刷形式\n部材印刷形式ﾌｧｲﾙ (*.MBP)\n.MBP\n"
                                             "部材印刷形式ﾌｧｲﾙ\n部材印刷形式ﾌｧｲﾙ\n部材印刷形式ﾌｧｲﾙ\n"_sj);
    // The half-width "ﾌｧｲﾙ" are single bytes in the stored text.
    const CString strFilter = AfxLoadString(IDR_MORVELTYPE);
    EXPECT_NE(strFilter.Find("\xCC\xA7\xB2\xD9"), -1);
}

TEST_F(ShellResources, StatusPaneStringsAreBlanksOfTheirWidths)
{
    EXPECT_EQ(AfxLoadString(ID_INDICATOR_PANE1), CString(' ', 44));
    EXPECT_EQ(AfxLoadString(ID_INDICATOR_PANE2), CString(' ', 33));
    EXPECT_EQ(AfxLoadString(ID_INDICATOR_CAPS), "CAP");
}

TEST_F(ShellResources, FrameMenuHoldsTheShellCommandsWithTheirTexts)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    struct {
        UINT nID;
        const char* text;
    } const expected[] = {
        {ID_FILE_OPEN, "開く(&O)...\tCtrl+O"},
        {ID_FILE_NEW, "新規作成(&N)\tCtrl+N"},
        {ID_FILE_PRINT_SETUP, "ﾌﾟﾘﾝﾀの設定(&R)..."},
        {ID_APP_ABOUT, "ﾊﾞｰｼﾞｮﾝ情報((&A)..."},
        {ID_ENVIRONMENT, "環境設定(&E)..."},
        {ID_INTRODUCTION, "導入処理(&I)..."},
        {ID_VIEW_MORVELBAR, "ﾓﾙﾍﾞﾙﾊﾞｰ(&F)"},
        {ID_VIEW_TOOLBAR, "ﾂｰﾙﾊﾞｰ(&T)"},
        {ID_IMPORT_OTHER, "その他(&V)"},
        {ID_DOS_CONVERT, "DOS版MORVEL(&D)"},
        {ID_HELP_FINDER, "ﾄﾋﾟｯｸの検索(&H)"},
    };
    for (const auto& item : expected) {
        CString strText;
        EXPECT_GT(menu.GetMenuString(item.nID, strText, MF_BYCOMMAND), 0) << item.nID;
        EXPECT_EQ(strText, CString::FromUtf8(item.text)) << item.nID;
    }
}

TEST_F(ShellResources, DocumentMenusCarryTheCommandsOfTheirWindows)
{
    // The estimate window's commands that its tool bars, accelerators and views name.
    const std::set<UINT> estimate = MenuCommands(IDR_MORVELTYPE);
    for (UINT nID : {ID_FILE_SAVE,          ID_EDIT_UNDO,         ID_EDIT_REDO,   ID_ROW_INSERT,
                     ID_KIND_INPUT,         ID_TOTAL_SMALL,       ID_TOTAL_GRAND, ID_TAX_ROW,
                     ID_INFORMATION_INPUT,  ID_PAGE_FEED,         ID_PAGE_ALIGN,  ID_SUMMARY_TABLE,
                     ID_RANGE_ADD,          ID_RATE_CHANGE,       ID_SORT,        ID_EXPORT_M2K,
                     ID_EXPORT_M2N,         ID_TEXT_OUTPUT,       ID_ZOOM_25,     ID_ZOOM_USER,
                     ID_VIEW_SUBJECT_LIST,  ID_ESTIMATE_CLEAR,    ID_RECALCULATE, ID_FILE_PRINT,
                     ID_FILE_PRINT_PREVIEW, ID_PRINT_FORM_SELECT, ID_APP_ABOUT})
        EXPECT_EQ(estimate.count(nID), 1u) << nID;
    const std::set<UINT> parts = MenuCommands(IDR_PARTSTYPE);
    for (UINT nID : {ID_ROW_INSERT, ID_ROW_DELETE, ID_ROW_CLEAR_CTX, ID_RANGE_ADD, ID_RANGE_SET,
                     ID_RANGE_CLEAR, ID_ROW_REMEMBER, ID_ROW_JUMP, ID_ROW_RELEASE, ID_RATE_CHANGE, ID_SORT,
                     ID_VIEW_PARTSBAR, ID_TEXT_INPUT, ID_READ_OTHER_FORM, ID_FILE_PRINT})
        EXPECT_EQ(parts.count(nID), 1u) << nID;
    EXPECT_EQ(parts.count(ID_TOTAL_SMALL), 0u);
}

TEST_F(ShellResources, EveryMenuCommandHasAStatusBarPrompt)
{
    for (UINT nMenu : {IDR_MAINFRAME, IDR_MORVELTYPE, IDR_PARTSTYPE}) {
        for (UINT nID : MenuCommands(nMenu)) {
            CString strPrompt;
            EXPECT_TRUE(AfxLoadString(nID, strPrompt)) << "menu " << nMenu << " command " << nID;
            EXPECT_FALSE(strPrompt.IsEmpty()) << nID;
        }
    }
}

TEST_F(ShellResources, AcceleratorsOfTheDocumentWindows)
{
    auto has = [](UINT nTable, BYTE fVirt, WORD key, UINT nCmd) {
        const std::vector<ACCEL>* pTable = FindAcceleratorResource(nTable);
        if (pTable == nullptr)
            return false;
        for (const ACCEL& accel : *pTable) {
            if (accel.fVirt == fVirt && accel.key == key)
                return accel.cmd == nCmd;
        }
        return false;
    };
    EXPECT_TRUE(has(IDR_MAINFRAME, FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN));
    EXPECT_TRUE(has(IDR_MAINFRAME, FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW));
    EXPECT_TRUE(has(IDR_MORVELTYPE, FVIRTKEY, VK_F7, ID_RECALCULATE));
    EXPECT_TRUE(has(IDR_MORVELTYPE, FVIRTKEY | FCONTROL, VK_DOWN, ID_JUMP_CTRL_DOWN));
    EXPECT_TRUE(has(IDR_PARTSTYPE, FVIRTKEY | FCONTROL, VK_INSERT, ID_ROW_INSERT_CTX));
    EXPECT_TRUE(has(IDR_PARTSTYPE, FVIRTKEY | FALT, VK_DELETE, ID_ROW_CLEAR_CTX));
    EXPECT_TRUE(has(IDR_PARTSTYPE, FVIRTKEY | FCONTROL, 'Y', ID_EDIT_REDO));
}

TEST_F(ShellResources, ToolBarPicturesMatchTheirButtons)
{
    for (UINT nBar : {IDR_MAINFRAME, IDR_MORVELBAR}) {
        const CToolBarResource* pBar = FindToolBarResource(nBar);
        ASSERT_NE(pBar, nullptr) << nBar;
        int nButtons = 0;
        for (UINT nID : pBar->buttons)
            nButtons += nID != ID_SEPARATOR ? 1 : 0;
        const CPngHeader header = ReadPngHeader(pBar->image);
        EXPECT_EQ(header.width, static_cast<uint32_t>(nButtons * pBar->cx)) << nBar;
        EXPECT_EQ(header.height, static_cast<uint32_t>(pBar->cy)) << nBar;
    }
    const CToolBarResource* pMain = FindToolBarResource(IDR_MAINFRAME);
    ASSERT_GT(pMain->buttons.size(), static_cast<size_t>(ZOOM_BOX_BUTTON_INDEX));
    EXPECT_NE(pMain->buttons[ZOOM_BOX_BUTTON_INDEX], ID_SEPARATOR);
}

TEST_F(ShellResources, SplashPictureIsATwentyFourBitImageOfFiveHundredTwentyByThreeHundredSeventeen)
{
    const CImageResource* pImage = FindBitmapResource(IDB_SPLASH);
    ASSERT_NE(pImage, nullptr);
    const CPngHeader header = ReadPngHeader(*pImage);
    EXPECT_EQ(header.width, 520u);
    EXPECT_EQ(header.height, 317u);
    // Eight bits each of red, green and blue.
    EXPECT_EQ(header.colorType, 2);
    EXPECT_EQ(header.bitDepth, 8);
    EXPECT_NE(FindIconResource(IDR_MAINFRAME), nullptr);
}

TEST_F(ShellResources, ProcessSelectionDialogHasItsTwoChoicesInOneGroup)
{
    const DialogTemplate* pTemplate = FindDialogTemplate(IDD_PROCESS_SELECT);
    ASSERT_NE(pTemplate, nullptr);
    EXPECT_EQ(pTemplate->caption, "処理選択"_sj);
    EXPECT_EQ(pTemplate->cx, 97);
    EXPECT_EQ(pTemplate->cy, 71);
    int nNew = -1;
    int nPath = -1;
    bool bHasOk = false;
    bool bHasText = false;
    for (size_t i = 0; i < pTemplate->controls.size(); ++i) {
        const DialogControl& control = pTemplate->controls[i];
        if (control.nID == IDC_RADIO_NEW) {
            nNew = static_cast<int>(i);
            EXPECT_EQ(control.text, "新規作成"_sj);
            EXPECT_NE(control.style & WS_GROUP, 0u);
        } else if (control.nID == IDC_RADIO_PATH) {
            nPath = static_cast<int>(i);
            EXPECT_EQ(control.text, "ﾊﾟｽ変更"_sj);
            EXPECT_EQ(control.style & WS_GROUP, 0u);
        } else if (control.nID == static_cast<UINT>(IDOK)) {
            bHasOk = true;
        } else if (control.text == "処理を選択してください。"_sj) {
            bHasText = true;
        }
    }
    EXPECT_EQ(nPath, nNew + 1);
    EXPECT_TRUE(bHasOk);
    EXPECT_TRUE(bHasText);

    const DialogTemplate* pWait = FindDialogTemplate(IDD_WAIT);
    ASSERT_NE(pWait, nullptr);
    EXPECT_EQ(pWait->cx, 131);
    EXPECT_EQ(pWait->cy, 38);
}

// Every menu of the program, the document windows', the layout editor's, the context menus
// and the setup sheet's: no two items of one menu (or of a menu bar) share their underlined
// letter, so that Alt and the letter choose the item. The texts that other programs and
// the manuals name with their letters keep them: of those, these share a letter in a menu.
TEST_F(ShellResources, NoTwoItemsOfAMenuShareTheirLetter)
{
    RegisterEstimateViewMenus();
    RegisterPartsViewMenus();
    RegisterPrintFormEditorResources();
    RegisterSetupResources();
    const std::set<std::string> kept = {
        // ﾌｧｲﾙ, 編集, 入力 and ﾂｰﾙ of the grids
        "印刷形式選択(&P)", "印刷(&P)...", "ｺﾋﾟｰ(&C)", "見積書ｸﾘｱ(&C)", "情報入力(&I)", "歩掛設定(&I)",
        "集計表(&B)", "部材ﾌｧｲﾙ切替(&B)", "不要行削除(&L)", "行記憶.．ｼﾞｬﾝﾌﾟ(&L)",
        // 書式 of the layout editor
        "左揃え（&L）", "罫線(&L)...", "左詰め(&L)", "前面へ移動(&F)", "網かけ(&F)...", "背面へ移動(&C)",
        "中央揃え(&C)", "右揃え（&R）", "右詰め(&R)"};
    const auto isKept = [&kept](const std::string& text) {
        return kept.count(text.substr(0, text.find('\t'))) != 0;
    };
    // The letter after a single "&" of an item's text, upper-cased; 0 without one.
    const auto letter = [](const std::string& text) {
        for (size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] == '&') {
                if (text[i + 1] != '&')
                    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
                ++i;
            }
        }
        return '\0';
    };
    int nMenus = 0;
    std::function<void(const std::vector<CMenuResourceItem>&, const std::string&)> check =
        [&](const std::vector<CMenuResourceItem>& items, const std::string& where) {
            ++nMenus;
            std::map<char, std::string> taken;
            for (const CMenuResourceItem& item : items) {
                const std::string text = item.text.ToUtf8();
                if (const char c = letter(text); c != '\0') {
                    const auto [it, bNew] = taken.emplace(c, text);
                    EXPECT_TRUE(bNew || (isKept(it->second) && isKept(text)))
                        << where << ": \"" << it->second << "\" and \"" << text << "\" share " << c;
                }
                if (!item.children.empty())
                    check(item.children, where + " > " + text);
            }
        };
    const std::vector<UINT> ids = GetMenuResourceIds();
    for (UINT nID : ids)
        check(*FindMenuResource(nID), "menu " + std::to_string(nID));
    EXPECT_GE(ids.size(), 15u);
    EXPECT_GT(nMenus, 60);
}
