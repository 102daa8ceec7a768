// The private messages between the modeless dialogs and their views: the numbers the two
// sides agree on, the replace-all text block, the "name/unit" split of a picked subject,
// and a round trip through a window's message map as the dialogs send them.
#include "grid/ModelessMessages.h"
#include "platform/ui/core/CWnd.h"

#include "SharedControlsTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(ModelessMessagesTest, NumbersFollowTheFirstUserMessage)
{
    EXPECT_EQ(WM_FINDREPLACE_REQUEST, 0x0401u);
    EXPECT_EQ(WM_PICK_LARGE_SUBJECT, 0x0402u);
    EXPECT_EQ(WM_PICK_MIDDLE_SUBJECT, 0x0403u);
    EXPECT_EQ(WM_PICK_SMALL_SUBJECT, 0x0404u);
    EXPECT_EQ(WM_PICK_UNIT, 0x0405u);
    EXPECT_EQ(WM_INDENT_COMMAND, 0x0406u);
    EXPECT_EQ(WM_UNNECESSARY_ROW_COMMAND, 0x0407u);
    EXPECT_EQ(WM_MODELESS_CLOSED, 0x0408u);
    EXPECT_EQ(WM_MATCH_CURRENT_CELL, 0x040Au);
    EXPECT_EQ(PickSubjectMessage(1), WM_PICK_LARGE_SUBJECT);
    EXPECT_EQ(PickSubjectMessage(3), WM_PICK_SMALL_SUBJECT);
    EXPECT_EQ(PickSubjectMessage(0), 0u);
    EXPECT_EQ(sizeof(CIndentRequest), 12u) << "three 32-bit integers";
}

TEST(ModelessMessagesTest, RequestKindsFromTheOptionBits)
{
    EXPECT_TRUE(IsFindRequest(FRQ_DOWN | FRQ_MATCH_CASE));
    EXPECT_FALSE(IsUpwardFind(FRQ_DOWN));
    EXPECT_TRUE(IsUpwardFind(FRQ_UP | FRQ_WHOLE_WORD));
    EXPECT_FALSE(IsUpwardFind(FRQ_UP | FRQ_DOWN)) << "downward wins";
    EXPECT_TRUE(IsReplaceRequest(FRQ_REPLACE));
    EXPECT_FALSE(IsFindRequest(FRQ_REPLACE));
    EXPECT_TRUE(IsReplaceAllRequest(FRQ_REPLACE_ALL | FRQ_SELECTION_ONLY));
    EXPECT_FALSE(IsFindRequest(FRQ_REPLACE_ALL));
}

TEST(ModelessMessagesTest, ReplaceAllTextIsBothTextsEachWithItsZero)
{
    // A two-character search text and a one-character replacement.
    const std::vector<char> block = PackReplaceAllText("単価"_sj, "額"_sj);
    const CString find = "単価"_sj, repl = "額"_sj;
    std::vector<char> expected(find.c_str(), find.c_str() + 4);
    expected.push_back('\0');
    expected.insert(expected.end(), repl.c_str(), repl.c_str() + 2);
    expected.push_back('\0');
    EXPECT_EQ(block, expected);

    CString a, b;
    UnpackReplaceAllText(reinterpret_cast<LPARAM>(block.data()), a, b);
    EXPECT_EQ(a, find);
    EXPECT_EQ(b, repl);

    // An empty replacement: the block ends in two zeros.
    const std::vector<char> erase = PackReplaceAllText("x", "");
    EXPECT_EQ(erase, (std::vector<char>{'x', '\0', '\0'}));
    UnpackReplaceAllText(reinterpret_cast<LPARAM>(erase.data()), a, b);
    EXPECT_EQ(a, "x");
    EXPECT_TRUE(b.IsEmpty());
    UnpackReplaceAllText(0, a, b);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_TRUE(b.IsEmpty());
}

TEST(ModelessMessagesTest, LongTextsAreCutAtWholeCharactersTo253Bytes)
{
    const CString ascii(std::string(300, 'a'));
    EXPECT_EQ(LimitFindReplaceText(ascii).GetLength(), MAX_FINDREPLACE_TEXT);

    // 127 two-byte characters are 254 bytes: the last one does not fit whole.
    CString kanji;
    for (int i = 0; i < 127; ++i)
        kanji += "漢"_sj;
    const CString cut = LimitFindReplaceText(kanji);
    EXPECT_EQ(cut.GetLength(), 252);
    EXPECT_EQ(cut, kanji.Left(252));

    const std::vector<char> block = PackReplaceAllText(ascii, kanji);
    EXPECT_EQ(block.size(), 253u + 1 + 252 + 1);
    EXPECT_EQ(block[253], '\0');
    EXPECT_EQ(block.back(), '\0');
}

TEST(ModelessMessagesTest, APickedSubjectSplitsAtItsFirstSlash)
{
    CString name, unit;
    SplitPickedSubject(JoinPickedSubject("土工事"_sj, "式"_sj), name, unit);
    EXPECT_EQ(name, "土工事"_sj);
    EXPECT_EQ(unit, "式"_sj);

    SplitPickedSubject("配管/継手/m"_sj, name, unit);
    EXPECT_EQ(name, "配管"_sj);
    EXPECT_EQ(unit, "継手/m"_sj);

    SplitPickedSubject("仮設工事/"_sj, name, unit);
    EXPECT_EQ(name, "仮設工事"_sj);
    EXPECT_TRUE(unit.IsEmpty());

    SplitPickedSubject("名称のみ"_sj, name, unit);
    EXPECT_EQ(name, "名称のみ"_sj);
    EXPECT_TRUE(unit.IsEmpty());
}

namespace {

// A view answering the messages as the grid views do (the work itself is theirs).
class CModelessOwnerView : public CWnd {
public:
    CString lastFind, lastReplace, pickedName, pickedUnit;
    WPARAM lastFlags = 0;
    std::vector<WPARAM> closed;
    CIndentRequest indent{};
    WPARAM indentButton = 99;

    afx_msg LRESULT OnFindReplaceRequest(WPARAM wParam, LPARAM lParam)
    {
        lastFlags = wParam;
        if (IsReplaceAllRequest(wParam)) {
            UnpackReplaceAllText(lParam, lastFind, lastReplace);
            return 1;
        }
        lastFind = reinterpret_cast<const char*>(lParam);
        return lastFind == "hit" ? 1 : 0;
    }
    afx_msg LRESULT OnPickLargeSubject(WPARAM, LPARAM lParam)
    {
        SplitPickedSubject(*reinterpret_cast<const CString*>(lParam), pickedName, pickedUnit);
        return 0;
    }
    afx_msg LRESULT OnIndentCommand(WPARAM wParam, LPARAM lParam)
    {
        indentButton = wParam;
        indent = *reinterpret_cast<const CIndentRequest*>(lParam);
        return 0;
    }
    afx_msg LRESULT OnModelessClosed(WPARAM wParam, LPARAM)
    {
        closed.push_back(wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModelessOwnerView, CWnd)
ON_MESSAGE(WM_FINDREPLACE_REQUEST, OnFindReplaceRequest)
ON_MESSAGE(WM_PICK_LARGE_SUBJECT, OnPickLargeSubject)
ON_MESSAGE(WM_INDENT_COMMAND, OnIndentCommand)
ON_MESSAGE(WM_MODELESS_CLOSED, OnModelessClosed)
END_MESSAGE_MAP()

} // namespace

TEST(ModelessMessagesTest, RequestsRoundTripThroughTheOwnersMessageMap)
{
    CModelessOwnerView view;
    ASSERT_TRUE(view.CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));

    EXPECT_EQ(
        view.SendMessage(WM_FINDREPLACE_REQUEST, FRQ_DOWN | FRQ_MATCH_CASE, reinterpret_cast<LPARAM>("miss")),
        0);
    EXPECT_EQ(view.SendMessage(WM_FINDREPLACE_REQUEST, FRQ_DOWN, reinterpret_cast<LPARAM>("hit")), 1);
    const std::vector<char> block = PackReplaceAllText("A", "B");
    view.SendMessage(WM_FINDREPLACE_REQUEST, FRQ_REPLACE_ALL | FRQ_WHOLE_WORD,
                     reinterpret_cast<LPARAM>(block.data()));
    EXPECT_EQ(view.lastFind, "A");
    EXPECT_EQ(view.lastReplace, "B");
    EXPECT_EQ(view.lastFlags, FRQ_REPLACE_ALL | FRQ_WHOLE_WORD);

    const CString picked = JoinPickedSubject("直接仮設"_sj, "式"_sj);
    view.SendMessage(WM_PICK_LARGE_SUBJECT, 0, reinterpret_cast<LPARAM>(&picked));
    EXPECT_EQ(view.pickedName, "直接仮設"_sj);
    EXPECT_EQ(view.pickedUnit, "式"_sj);

    CIndentRequest request{3, INDENT_LEVEL_DETAIL, 2};
    view.SendMessage(WM_INDENT_COMMAND, INDENT_INCREASE, reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(view.indentButton, INDENT_INCREASE);
    EXPECT_EQ(view.indent.nItem, 3);
    EXPECT_EQ(view.indent.nLevel, INDENT_LEVEL_DETAIL);
    EXPECT_EQ(view.indent.nAmount, 2);

    view.SendMessage(WM_MODELESS_CLOSED, MODELESS_FIND);
    view.SendMessage(WM_MODELESS_CLOSED, MODELESS_PRINT_FORM_LOADED);
    EXPECT_EQ(view.closed, (std::vector<WPARAM>{MODELESS_FIND, MODELESS_PRINT_FORM_LOADED}));
    view.DestroyWindow();
}
