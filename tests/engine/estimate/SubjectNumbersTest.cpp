// The subject numbers over a store of rows of the test's own: the numbers of an outline as
// the numbering styles write them, asked in any order, and again after the rows change
// (a kind changed, a heading put in), and a copy that does not change.
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CSubjectNumbers.h"
#include "engine/estimate/RowKinds.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class SubjectNumbersTest : public ::testing::Test {
protected:
    SubjectNumbersTest()
    {
        rows.CountChanges();
        numbering.nShown = 1;
        numbering.nColumn = 1;
    }
    void Add(ERowKind nKind)
    {
        auto pRow = std::make_unique<CGridRow>();
        pRow->SetKind(nKind);
        rows.Add(std::move(pRow));
    }
    // Every row's number in column 1, asked from the last row up (nothing keeps an order).
    std::vector<std::string> NumbersUpwards() const
    {
        std::vector<std::string> texts(static_cast<size_t>(rows.GetSize()));
        for (int r = static_cast<int>(rows.GetSize()) - 1; r >= 0; --r)
            texts[static_cast<size_t>(r)] = numbers.GetText(rows, 1000, numbering, r, 1).str();
        return texts;
    }
    std::vector<std::string> NumbersInOrder() const
    {
        std::vector<std::string> texts;
        for (int r = 0; r < rows.GetSize(); ++r)
            texts.push_back(numbers.GetText(rows, 1000, numbering, r, 1).str());
        return texts;
    }

    CGridRowArray rows;
    CSubjectNumbering numbering; // kinds 1., large A., middle 1., small 01., joined
    CSubjectNumbers numbers;
};

// A kind heading with large, middle and small headings under it, details between them, a
// second kind heading whose small heading has no middle one above it.
const ERowKind outline[] = {kindKind,   kindLarge, kindMiddle, kindSmall, kindDetail, kindSmall,
                            kindMiddle, kindSmall, kindLarge,  kindKind,  kindLarge,  kindSmall};

} // namespace

TEST_F(SubjectNumbersTest, AnOutlineIsNumberedLevelByLevelInAnyOrderAsked)
{
    for (ERowKind nKind : outline)
        Add(nKind);
    const std::vector<std::string> expected = {"1.",   "1.A.",      "1.A.1.", "1.A.1.01.",
                                               "",     "1.A.1.02.", "1.A.2.", "1.A.2.01.",
                                               "1.B.", "2.",        "2.A.",   "2.A.01."};
    EXPECT_EQ(NumbersUpwards(), expected);
    EXPECT_EQ(NumbersInOrder(), expected);
    // Only in the numbering column, only while shown, never past the row limit.
    EXPECT_EQ(numbers.GetText(rows, 1000, numbering, 1, 0).str(), "");
    EXPECT_EQ(numbers.GetText(rows, 1, numbering, 1, 1).str(), "");
    numbering.nMode = 0; // the deepest level alone
    EXPECT_EQ(numbers.GetText(rows, 1000, numbering, 3, 1).str(), "01.");
    numbering.nShown = 0;
    EXPECT_EQ(numbers.GetText(rows, 1000, numbering, 0, 1).str(), "");
    // A text formatted into is replaced, also by no number at all.
    CString strText("1.A.");
    CSubjectNumbers::Format(numbering, 1, strText, {0, 2, 0, 0});
    EXPECT_EQ(strText.str(), "B.");
    CSubjectNumbers::Format(numbering, 1, strText, {0, 0, 0, 0});
    EXPECT_EQ(strText.str(), "");
}

TEST_F(SubjectNumbersTest, NumbersFollowTheRowsAsTheyChange)
{
    for (ERowKind nKind : outline)
        Add(nKind);
    ASSERT_EQ(NumbersInOrder()[8], "1.B.");
    // The first large heading becomes a detail: its middle headings count under the kind.
    rows.GetRow(1)->SetKind(kindDetail);
    EXPECT_EQ(NumbersUpwards(), (std::vector<std::string>{"1.", "", "1.1.", "1.1.01.", "", "1.1.02.", "1.2.",
                                                          "1.2.01.", "1.A.", "2.", "2.A.", "2.A.01."}));
    // A kind heading put in at the top numbers everything below one kind on.
    auto pRow = std::make_unique<CGridRow>();
    pRow->SetKind(kindKind);
    rows.InsertAt(0, std::move(pRow));
    EXPECT_EQ(NumbersInOrder()[12], "3.A.01.");
    EXPECT_EQ(NumbersInOrder()[1], "2.");
}

// Letters run from A to Z, then on in pairs from AA.
TEST_F(SubjectNumbersTest, TheTwentySeventhLetterHeadingIsAA)
{
    Add(kindKind);
    for (int i = 0; i < 27; ++i)
        Add(kindLarge);
    const std::vector<std::string> texts = NumbersInOrder();
    EXPECT_EQ("1.A.", texts[1]);
    EXPECT_EQ("1.Z.", texts[26]);
    EXPECT_EQ("1.AA.", texts[27]);
}

// The pairs end at ZZ, the 702nd letter heading; from the next one on the number itself is
// written.
TEST_F(SubjectNumbersTest, ThePairsOfLettersEndAtZZ)
{
    Add(kindKind);
    for (int i = 0; i < 703; ++i)
        Add(kindLarge);
    const std::vector<std::string> texts = NumbersInOrder();
    EXPECT_EQ("1.ZY.", texts[701]);
    EXPECT_EQ("1.ZZ.", texts[702]);
    EXPECT_EQ("1.703.", texts[703]);
}

TEST_F(SubjectNumbersTest, AnUnchangingCopyAndTheRowsAreEachNumberedAsTheyAre)
{
    for (ERowKind nKind : outline)
        Add(nKind);
    const std::vector<std::string> working = NumbersInOrder();
    // A copy without the first large heading, as a print job takes one, numbered by the
    // same numbers in turn with the rows: the copy's numbers close up, the rows' own stay.
    CGridRowArray copy;
    for (int r = 0; r < rows.GetSize(); ++r) {
        if (r != 1)
            copy.Add(std::make_unique<CGridRow>(*rows.GetRow(r)));
    }
    numbers.KeepWhileUnchanged(copy);
    EXPECT_EQ(numbers.GetText(copy, 1000, numbering, 1, 1).str(), "1.1.");
    EXPECT_EQ(NumbersUpwards(), working);
    EXPECT_EQ(numbers.GetText(copy, 1000, numbering, 7, 1).str(), "1.A.");
    rows.GetRow(1)->SetKind(kindDetail);
    EXPECT_EQ(NumbersInOrder()[2], "1.1.");
}
