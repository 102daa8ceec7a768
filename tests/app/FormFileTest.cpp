// The three forms: comparison, copies, and reading one form over another.
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "tests/app/MasterFilesTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <class TForm>
class FormFileTest : public ::testing::Test {
protected:
    // A form of three items: names 名称/数量/金額, attributes 文字/数値/計 A, and made-up
    // widths, pictures, formulas, roundings and codes.
    static TForm MakeForm()
    {
        TForm form;
        const char* names[] = {"名称", "数量", "金額"};
        const char* attributes[] = {"文字", "数値", "計 A"};
        for (int i = 0; i < 3; ++i) {
            form.GetItem(i, TForm::colName) = CString::FromUtf8(names[i]);
            form.GetItem(i, TForm::colAttribute) = CString::FromUtf8(attributes[i]);
            form.GetItem(i, TForm::colWidth) = "10";
            form.GetItem(i, TForm::colPicture) = "###,###";
            form.GetItem(i, TForm::colFormula) = "B*C";
            form.GetItem(i, TForm::colRounding) = "F(-1)";
            for (int j = TForm::colRounding + 1; j < TForm::COLUMN_COUNT; ++j)
                form.GetItem(i, j) = "1";
        }
        form.SetCount(3);
        return form;
    }
};

using FormTypes = ::testing::Types<CEstimationFormFile, CPartFormFile, CInformationFormFile>;
TYPED_TEST_SUITE(FormFileTest, FormTypes);

TYPED_TEST(FormFileTest, SameFormIgnoresWidthsPicturesFormulasAndCodes)
{
    const TypeParam a = this->MakeForm();
    TypeParam b = this->MakeForm();
    for (int i = 0; i < 3; ++i) {
        for (int j = TypeParam::colWidth; j < TypeParam::COLUMN_COUNT; ++j)
            b.GetItem(i, j) = "changed";
    }
    b.m_strHeading[0] = "other";
    b.m_strMagic = "other";
    // Items beyond the count do not take part either.
    b.GetItem(5, TypeParam::colName) = "unused";
    EXPECT_TRUE(a.IsSameForm(b));
    EXPECT_TRUE(b.IsSameForm(a));
}

TYPED_TEST(FormFileTest, OneCharacterOfAnItemNameMakesADifferentForm)
{
    const TypeParam a = this->MakeForm();
    TypeParam b = this->MakeForm();
    b.GetItem(2, TypeParam::colName) = "金類"_sj;
    EXPECT_FALSE(a.IsSameForm(b));

    TypeParam c = this->MakeForm();
    c.GetItem(1, TypeParam::colAttribute) = "文字"_sj;
    EXPECT_FALSE(a.IsSameForm(c));

    // The comparison is case-sensitive.
    TypeParam d = this->MakeForm();
    TypeParam e = this->MakeForm();
    d.GetItem(0, TypeParam::colName) = "Name";
    e.GetItem(0, TypeParam::colName) = "name";
    EXPECT_FALSE(d.IsSameForm(e));
}

TYPED_TEST(FormFileTest, NamesAndAttributesAreThoseOfTheItemsInUse)
{
    TypeParam form = this->MakeForm();
    form.SetCount(2); // the third item keeps its texts but is not in use
    EXPECT_EQ(form.GetItemNames(), (std::vector<CString>{"名称"_sj, "数量"_sj}));
    EXPECT_EQ(form.GetItemAttribute(1), "数値"_sj);
    EXPECT_EQ(form.GetItemAttribute(2), CString());
    EXPECT_EQ(form.GetItemAttribute(-1), CString());
}

TYPED_TEST(FormFileTest, DifferentCountsAreDifferentForms)
{
    const TypeParam a = this->MakeForm();
    TypeParam b = this->MakeForm();
    b.SetCount(2);
    EXPECT_FALSE(a.IsSameForm(b));
    EXPECT_TRUE(TypeParam().IsSameForm(TypeParam()));
}

TYPED_TEST(FormFileTest, CopiesTakeEveryStringAndTheHeadings)
{
    TypeParam source = this->MakeForm();
    source.GetItem(TypeParam::MAX_ITEMS - 1, TypeParam::COLUMN_COUNT - 1) = "beyond the count";
    source.m_strHeading[1] = "heading";
    source.m_strMagic = "magic";

    const TypeParam copy(source);
    TypeParam assigned;
    assigned = source;
    for (const TypeParam* form :
         {static_cast<const TypeParam*>(&copy), static_cast<const TypeParam*>(&assigned)}) {
        EXPECT_EQ(source.GetCount(), form->GetCount());
        EXPECT_EQ(source.m_strMagic, form->m_strMagic);
        EXPECT_TRUE(source.m_strItem == form->m_strItem);
        EXPECT_TRUE(source.m_strHeading == form->m_strHeading);
    }
    // A copy is independent of its source.
    source.GetItem(0, 0) = "changed";
    EXPECT_EQ("名称"_sj, copy.GetItem(0, 0));
}

TYPED_TEST(FormFileTest, ReadingAShorterFormLeavesTheHigherItemsBehindTheCount)
{
    TypeParam longer = this->MakeForm();
    longer.GetItem(3, 0) = "四"_sj;
    longer.GetItem(4, 0) = "五"_sj;
    longer.SetCount(5);

    TypeParam shortForm;
    shortForm.GetItem(0, 0) = "一"_sj;
    shortForm.SetCount(1);
    const std::vector<uint8_t> bytes = StoreBytes([&](CArchive& ar) { shortForm.Serialize(ar); });

    EXPECT_EQ(0, LoadBytes(bytes, [&](CArchive& ar) { return longer.Serialize(ar); }));
    EXPECT_EQ(1, longer.GetCount());
    EXPECT_EQ("一"_sj, longer.GetItem(0, 0));
    EXPECT_EQ("数量"_sj, longer.GetItem(1, 0));
    EXPECT_EQ("五"_sj, longer.GetItem(4, 0));
}

} // namespace

TEST(EstimationFormTest, ReadsItemsOfTenColumnsFromAHandBuiltFile)
{
    ByteBuilder b;
    b.Str("This is estimation form file").Word(2);
    const char* first[] = {"名称", "文字", "20", "", "", "", "6", "", "", "B"};
    const char* second[] = {"金額", "計 A", "12", "###,###", "C*E", "F(-1)", "", "2", "", "J"};
    for (const char* text : first)
        b.Str(CString::FromUtf8(text).str());
    for (const char* text : second)
        b.Str(CString::FromUtf8(text).str());

    CEstimationFormFile form;
    EXPECT_EQ(0, LoadBytes(b.Bytes(), [&](CArchive& ar) { return form.Serialize(ar); }));
    ASSERT_EQ(2, form.GetCount());
    EXPECT_EQ("名称"_sj, form.GetItem(0, CEstimationFormFile::colName));
    EXPECT_EQ(CString("6"), form.GetItem(0, CEstimationFormFile::colT));
    EXPECT_EQ(CString("B"), form.GetItem(0, CEstimationFormFile::colC));
    EXPECT_EQ("計 A"_sj, form.GetItem(1, CEstimationFormFile::colAttribute));
    EXPECT_EQ(CString("C*E"), form.GetItem(1, CEstimationFormFile::colFormula));
    EXPECT_EQ(CString("2"), form.GetItem(1, CEstimationFormFile::colV));
    // Item i, column j is string 10 * i + j.
    EXPECT_EQ("金額"_sj, form.m_strItem[10]);
}

TEST(InformationFormTest, ItemsHaveEightColumns)
{
    CInformationFormFile form;
    form.GetItem(0, 0) = "工事名称"_sj;
    form.GetItem(0, CInformationFormFile::colP) = "P";
    form.GetItem(1, 0) = "税抜見積"_sj;
    form.SetCount(2);
    EXPECT_EQ("税抜見積"_sj, form.m_strItem[8]);

    ByteBuilder b;
    b.Str("This is information form file").Word(2).Str(("工事名称"_sj).str());
    for (int j = 1; j < 7; ++j)
        b.Str("");
    b.Str("P").Str(("税抜見積"_sj).str());
    for (int j = 1; j < 8; ++j)
        b.Str("");
    EXPECT_EQ(b.Bytes(), StoreBytes([&](CArchive& ar) { form.Serialize(ar); }));
}
