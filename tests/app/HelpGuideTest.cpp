// The user guide (docs/help) and the program tell the same story: every menu item a page
// names is in a menu, and every key a page names either gives the command of the menu item
// it stands beside ("<span class="menu">印刷</span>(<kbd>Ctrl</kbd>+<kbd>P</kbd>)") through
// the accelerator tables of the window that menu belongs to, or is one of the few keys the
// windows take themselves.
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinDefs.h"
#include "resources/MorvelResources.h"
#include "resources/ResourceIds.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

struct CPage {
    std::string name;
    std::string text;
};

std::vector<CPage> HelpPages()
{
    std::vector<CPage> pages;
    const std::filesystem::path help = std::filesystem::path(MORVEL_SOURCE_DIR) / "docs" / "help";
    for (const auto& entry : std::filesystem::directory_iterator(help)) {
        if (entry.path().extension() != ".html")
            continue;
        const std::vector<uint8_t> bytes = ReadNativeFile(entry.path().string());
        pages.push_back({entry.path().filename().string(), std::string(bytes.begin(), bytes.end())});
    }
    return pages;
}

// A menu item's text as the guide writes it: without its mnemonic, accelerator text and dots.
std::string PlainMenuText(const CString& text)
{
    std::string s = text.ToUtf8();
    s = s.substr(0, s.find('\t'));
    s = std::regex_replace(s, std::regex("\\(&.\\)"), "");
    s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
    while (!s.empty() && (s.back() == '.' || s.back() == ' '))
        s.pop_back();
    return s;
}

// The item a path names ("ﾌｧｲﾙ", "開く" for "ﾌｧｲﾙ > 開く"; a name alone anywhere), at any depth.
const CMenuResourceItem* FindItem(const std::vector<CMenuResourceItem>& items,
                                  const std::vector<std::string>& path, size_t at = 0)
{
    for (const CMenuResourceItem& item : items) {
        if (PlainMenuText(item.text) == path[at]) {
            if (at + 1 == path.size())
                return &item;
            if (const CMenuResourceItem* p = FindItem(item.children, path, at + 1))
                return p;
        }
        if (const CMenuResourceItem* p = FindItem(item.children, path, at))
            return p;
    }
    return nullptr;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.push_back(text.substr(start));
    for (std::string& part : parts) {
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
    }
    return parts;
}

// A key of the guide ("Ctrl+Insert") as an accelerator entry's flags and key; key 0 when the
// test does not know a name.
ACCEL KeyOf(const std::vector<std::string>& names)
{
    ACCEL accel{FVIRTKEY, 0, 0};
    static const std::map<std::string, WORD> kKeys = {{"Enter", VK_RETURN},  {"Tab", VK_TAB},
                                                      {"Insert", VK_INSERT}, {"Delete", VK_DELETE},
                                                      {"Esc", VK_ESCAPE},    {"Backspace", VK_BACK}};
    for (const std::string& name : names) {
        if (name == "Ctrl")
            accel.fVirt |= FCONTROL;
        else if (name == "Shift")
            accel.fVirt |= FSHIFT;
        else if (name == "Alt")
            accel.fVirt |= FALT;
        else if (kKeys.count(name) != 0)
            accel.key = kKeys.at(name);
        else if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
            accel.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
        else if (name.size() >= 2 && name[0] == 'F' && std::all_of(name.begin() + 1, name.end(), ::isdigit))
            accel.key = static_cast<WORD>(VK_F1 + std::stoi(name.substr(1)) - 1);
    }
    return accel;
}

// The command a key gives in a window: its own table first, then the main frame's.
UINT CommandOf(const ACCEL& key, const std::vector<UINT>& tables)
{
    for (UINT nTable : tables) {
        if (const std::vector<ACCEL>* pTable = FindAcceleratorResource(nTable)) {
            for (const ACCEL& accel : *pTable) {
                if (accel.fVirt == key.fVirt && accel.key == key.key)
                    return accel.cmd;
            }
        }
    }
    return 0;
}

} // namespace

TEST(HelpGuide, EveryMenuItemAndKeyTheGuideNamesIsTheProgramsOwn)
{
    RegisterMorvelResources();
    // Each menu with the accelerator tables in force while it is shown.
    const struct {
        UINT nMenu;
        std::vector<UINT> tables;
    } kWindows[] = {{IDR_MORVELTYPE, {IDR_MORVELTYPE, IDR_MAINFRAME}},
                    {IDR_PARTSTYPE, {IDR_PARTSTYPE, IDR_MAINFRAME}},
                    {IDR_MAINFRAME, {IDR_MAINFRAME}}};
    // Keys the windows take themselves rather than through a table: Enter ends a cell's
    // input in the grid's editor, Ctrl+F6 and Ctrl+Tab go to the next document window
    // (the MDI frame's own key handling).
    const std::set<std::string> kWindowKeys = {"Enter", "Ctrl+F6", "Ctrl+Tab"};

    const std::regex menuSpan("<span class=\"menu\">([^<]*)</span>");
    const std::regex keys("((?:<kbd>[^<]*</kbd>\\+)*<kbd>[^<]*</kbd>)");
    int nMenus = 0, nKeys = 0;
    for (const CPage& page : HelpPages()) {
        for (auto it = std::sregex_iterator(page.text.begin(), page.text.end(), menuSpan);
             it != std::sregex_iterator(); ++it) {
            std::vector<std::string> path =
                Split(std::regex_replace((*it)[1].str(), std::regex("&gt;"), ">"), ">");
            // "重ねて表示・並べて表示": several items of one menu.
            for (const std::string& name : Split(path.back(), "・")) {
                path.back() = name;
                bool bFound = false;
                for (const auto& window : kWindows)
                    bFound = bFound || FindItem(*FindMenuResource(window.nMenu), path) != nullptr;
                EXPECT_TRUE(bFound) << page.name << ": no menu item " << (*it)[1].str();
                ++nMenus;
            }
        }
        for (auto it = std::sregex_iterator(page.text.begin(), page.text.end(), keys);
             it != std::sregex_iterator(); ++it) {
            const std::string combination = std::regex_replace(it->str(), std::regex("</?kbd>"), "");
            const ACCEL key = KeyOf(Split(combination, "+"));
            ASSERT_NE(key.key, 0) << page.name << ": a key the test does not know: " << combination;
            ++nKeys;
            // The menu item the key stands beside, "<span class="menu">…</span>(<kbd>…".
            const std::string before = page.text.substr(0, static_cast<size_t>(it->position()));
            const size_t nSpan = before.rfind("<span class=\"menu\">");
            if (before.size() < 8 || before.compare(before.size() - 8, 8, "</span>(") != 0 ||
                nSpan == std::string::npos) {
                EXPECT_EQ(kWindowKeys.count(combination), 1u)
                    << page.name << ": " << combination
                    << " stands beside no menu item and is no key of the windows";
                continue;
            }
            const std::string spanText = before.substr(nSpan + 19, before.size() - 8 - (nSpan + 19));
            const std::vector<std::string> path =
                Split(std::regex_replace(spanText, std::regex("&gt;"), ">"), ">");
            bool bFound = false;
            for (const auto& window : kWindows) {
                const CMenuResourceItem* pItem = FindItem(*FindMenuResource(window.nMenu), path);
                if (pItem == nullptr)
                    continue;
                bFound = true;
                EXPECT_EQ(CommandOf(key, window.tables), pItem->nID)
                    << page.name << ": " << combination << " does not give " << spanText << " in menu "
                    << window.nMenu;
            }
            EXPECT_TRUE(bFound) << page.name << ": no menu item " << spanText;
        }
    }
    EXPECT_GT(nMenus, 15);
    EXPECT_GT(nKeys, 8);
}

// What the guide says of a quantity or unit price that is no number ("一式") is what the grid
// does (CellEditTyping.AnAmountTypedBesideAQuantityInWordsAndAUnitPriceStays): the amount is
// not worked out, and the amount in its cell stays and counts in the totals.
TEST(HelpGuide, TheGuideSaysAnAmountBesideAQuantityInWordsStaysAndCounts)
{
    std::string sentence;
    for (const CPage& page : HelpPages()) {
        const size_t nAt = page.name == "estimate.html" ? page.text.find("数でない文字") : std::string::npos;
        if (nAt == std::string::npos)
            continue;
        const size_t nStart = page.text.rfind("。", nAt);
        sentence = page.text.substr(nStart == std::string::npos ? 0 : nStart,
                                    page.text.find("。", nAt) - (nStart == std::string::npos ? 0 : nStart));
    }
    ASSERT_FALSE(sentence.empty()) << "estimate.html says nothing of a quantity that is no number";
    EXPECT_EQ(std::string::npos, sentence.find("空になり")) << sentence;
    EXPECT_EQ(std::string::npos, sentence.find("入りません")) << sentence;
    EXPECT_NE(std::string::npos, sentence.find("そのまま残")) << sentence;
    EXPECT_NE(std::string::npos, sentence.find("合計にも入ります")) << sentence;
}

// The guide tells of every part of the program as it is: no page says that a part is not
// ready yet (the page on printing once said so of the layout editor).
TEST(HelpGuide, NoPageSaysAPartOfTheProgramIsMissing)
{
    int nPages = 0;
    for (const CPage& page : HelpPages()) {
        ++nPages;
        for (const char* missing : {"用意されていません", "まだ一部", "選べないようになっています"})
            EXPECT_EQ(std::string::npos, page.text.find(missing)) << page.name << ": " << missing;
    }
    EXPECT_GE(nPages, 5);
}
