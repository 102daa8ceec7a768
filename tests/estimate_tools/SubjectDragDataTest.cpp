// The bytes a dragged subject travels as ("MORVEL EMTREEVIEW"): written from the estimate
// view's edit page in the documented order, read back with negative indents and parameters
// intact, and refused cleanly when they end early or claim more columns than a row holds.
#include "estimate_tools/CSubjectDragData.h"

#include "engine/estimate/CGridRow.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "tests/estimate/EstimateTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

class SubjectDragDataTest : public EstimateViewTest {
protected:
    void SetUp() override
    {
        Open();
        doc->m_strEstimationFormName = "meisai.MMK";
        view->AllocateRows(4);
        // 0 a large heading, 1 a detail, 2 its total, 3 the next large heading.
        Row(0, 1, {"共通仮設", "", "", "式"});
        view->GetModel().Engine().MakeRow(0)->SetIndent(colName, -2);
        view->GetModel().Engine().MakeRow(0)->SetParam3(-3);
        view->GetModel().Engine().MakeRow(0)->SetParam1(70000); // wider than 16 bits
        view->GetModel().Engine().MakeRow(0)->SetParam2(5);
        view->GetModel().Engine().MakeRow(0)->SetParamText1("A");
        Row(1, 5, {"水盛遣方", "", "128.500000", "m2", "350.000000", "44975.000000"});
        view->GetModel().Engine().MakeRow(1)->SetIndent(colName, 1);
        Row(2, 11, {"計", "", "", "", "", "44975.000000"});
        Row(3, 1, {"仮設工事"});
        view->GetModel().RestoreUsedRows(4);
    }

    void Row(int nRow, int nKind, std::vector<const char*> cells)
    {
        CGridRow* pRow = view->GetModel().Engine().MakeRow(nRow);
        pRow->SetKind(KindFromNumber(nKind));
        for (size_t c = 0; c < cells.size(); ++c)
            pRow->SetCell(c, CString::FromUtf8(cells[c]));
    }

    // The standard form as its own serialisation writes it: magic, item count, ten texts
    // per item.
    static void Form(ByteBuilder& b)
    {
        b.Str("This is estimation form file").Word(8);
        for (const FormColumn& c : StandardColumns())
            for (const char* text :
                 {c.name, c.attribute, c.width, c.picture, c.formula, c.rounding, c.t, c.v, "", ""})
                b.Str(Sj(text));
    }

    // The subject of rows 0 to 2 as the documented layout gives it.
    static std::vector<uint8_t> Golden()
    {
        ByteBuilder b;
        b.Str("meisai.MMK");
        Form(b);
        b.Word(1).Word(3).Word(8);
        const std::vector<std::vector<std::string>> cells = {
            {Sj("共通仮設"), "", "", Sj("式"), "", "", "", ""},
            {Sj("水盛遣方"), "", "128.500000", "m2", "350.000000", "44975.000000", "", ""},
            {Sj("計"), "", "", "", "", "44975.000000", "", ""},
        };
        const int indents[3] = {0xFFFE, 1, 0};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 8; ++c)
                b.Str(cells[static_cast<size_t>(r)][static_cast<size_t>(c)]).Word(c == 0 ? indents[r] : 0);
        // kind, third parameter, first text, first parameter, second parameter, second text
        b.Word(1).Word(0xFFFD).Str("A").Word(70000 & 0xFFFF).Word(5).Str("");
        b.Word(5).Word(0).Str("").Word(0).Word(0).Str("");
        b.Word(11).Word(0).Str("").Word(0).Word(0).Str("");
        return b.Bytes();
    }

    std::vector<uint8_t> Written()
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store, CSubjectDragData::BUFFER_SIZE);
            CSubjectDragData::Write(ar, *view, kindLarge, 0);
            ar.Close();
        }
        return std::vector<uint8_t>(file.GetData().begin(), file.GetData().end());
    }

    // Reads bytes as a drop does: TRUE when the whole subject was read.
    static BOOL Read(const std::vector<uint8_t>& bytes, CSubjectDragData& data)
    {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load, CSubjectDragData::BUFFER_SIZE);
        return data.ReadForm(ar) && data.ReadRows(ar);
    }
};

} // namespace

TEST_F(SubjectDragDataTest, TheSubjectIsWrittenFieldByFieldInTheDocumentedOrder)
{
    EXPECT_EQ(Golden(), Written());
}

TEST_F(SubjectDragDataTest, TheEditPageIsWrittenWhileTheSummaryPageIsShown)
{
    view->SetSummaryPageShown(true);
    EXPECT_EQ(Golden(), Written());
    EXPECT_TRUE(view->IsSummaryPageShown());
}

TEST_F(SubjectDragDataTest, NegativeIndentsAndParametersComeBackSigned)
{
    CSubjectDragData data;
    MessageBoxRecorder boxes;
    ASSERT_TRUE(Read(Golden(), data));
    EXPECT_TRUE(boxes.entries.empty());
    EXPECT_EQ("meisai.MMK", data.m_strFormName.str());
    EXPECT_TRUE(data.m_Form.IsSameForm(doc->m_EstimationForm));
    EXPECT_EQ(kindLarge, data.m_nKind);
    EXPECT_EQ(8, data.m_nColumns);
    ASSERT_EQ(3, data.GetRowCount());
    const CSubjectDragData::CRow& heading = data.m_rows[0];
    EXPECT_EQ(-2, heading.indents[colName]);
    EXPECT_EQ(-3, heading.nParam3);
    EXPECT_EQ(70000 & 0xFFFF, heading.nParam1); // cut to 16 bits on the way
    EXPECT_EQ(5, heading.nParam2);
    EXPECT_EQ("A", heading.strParamText1.str());
    EXPECT_EQ(Sj("式"), heading.cells[colUnit].str());
    EXPECT_EQ(1, data.m_rows[1].indents[colName]);
    EXPECT_EQ("44975.000000", data.m_rows[2].cells[colAmount].str());
    EXPECT_EQ(kindLargeTotal, data.m_rows[2].nKind);
}

TEST_F(SubjectDragDataTest, DataThatEndsEarlyIsNeverTakenForASubject)
{
    const std::vector<uint8_t> bytes = Golden();
    MessageBoxRecorder boxes;
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        CSubjectDragData data;
        BOOL bRead = FALSE;
        try {
            bRead = Read(cut, data);
        } catch (const CArchiveException&) {
            bRead = FALSE;
        }
        EXPECT_FALSE(bRead) << "cut at " << n;
    }
}

TEST_F(SubjectDragDataTest, MoreColumnsThanARowHoldsAreRefused)
{
    ByteBuilder b;
    b.Str("meisai.MMK");
    Form(b);
    b.Word(1).Word(1).Word(101);
    for (int c = 0; c < 101; ++c)
        b.Str("x").Word(0);
    b.Word(1).Word(0).Str("").Word(0).Word(0).Str("");
    CSubjectDragData data;
    EXPECT_FALSE(Read(b.Bytes(), data));
}

TEST_F(SubjectDragDataTest, ARowCountTheDataDoesNotHoldEndsAtTheDataEnd)
{
    ByteBuilder b;
    b.Str("meisai.MMK");
    Form(b);
    b.Word(2).Word(0xFFFF).Word(8);
    for (int c = 0; c < 8; ++c)
        b.Str("x").Word(0);
    CSubjectDragData data;
    EXPECT_THROW(Read(b.Bytes(), data), CArchiveException);
}

TEST_F(SubjectDragDataTest, AFormThatIsNoFormIsRefusedWithTheFormsMessage)
{
    ByteBuilder b;
    b.Str("meisai.MMK").Str("This is no form").Word(0);
    CSubjectDragData data;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(Read(b.Bytes(), data));
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ("見積形式ﾌｧｲﾙがないか、壊れています。", boxes.entries[0].text.ToUtf8());
}
