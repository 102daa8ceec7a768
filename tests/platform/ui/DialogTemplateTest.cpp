// Dialog templates: dialog units from the dialog font, the styles controls get, and the
// registry resource code fills while the program starts.
#include "platform/ui/dialogs/DialogTemplate.h"

#include <gtest/gtest.h>

TEST(DialogTemplateTest, DialogUnitsScaleByAQuarterCharacterWidthAndAnEighthOfTheHeightRounded)
{
    const DialogBaseUnits units{6, 12};
    EXPECT_EQ(DialogUnitsToPixelsX(4, units), 6);
    EXPECT_EQ(DialogUnitsToPixelsX(97, units), 146); // 145.5 rounds up
    EXPECT_EQ(DialogUnitsToPixelsY(71, units), 107); // 106.5 rounds up
    EXPECT_EQ(DialogUnitsToPixelsY(8, units), 12);
    EXPECT_EQ(DialogUnitsToPixelsX(-3, units), -5); // -4.5 rounds away from zero
    EXPECT_EQ(DialogUnitsToPixelsX(0, units), 0);
    const CRect r = DialogUnitsToPixels(CRect(7, 7, 57, 21), DialogBaseUnits{7, 13});
    EXPECT_EQ(r, CRect(12, 11, 100, 34));
}

TEST(DialogTemplateTest, TheDialogFontsUnitsComeFromItsLatinLettersAndHeight)
{
    const DialogBaseUnits def = GetDialogBaseUnits(CString(), 9);
    // A nine-point face at 96 dpi: twelve pixels for the em, a little more for the cell,
    // and Latin letters about half as wide.
    EXPECT_GE(def.cyChar, 12);
    EXPECT_LE(def.cyChar, 16);
    EXPECT_GE(def.cxChar, 4);
    EXPECT_LE(def.cxChar, 8);
    EXPECT_EQ(def.cxChar, GetDialogBaseUnits(GetDefaultDialogFontFace(), 9).cxChar);
    const DialogBaseUnits big = GetDialogBaseUnits(GetDefaultDialogFontFace(), 18);
    EXPECT_GT(big.cyChar, def.cyChar);
    EXPECT_GT(big.cxChar, def.cxChar);
}

TEST(DialogTemplateTest, ControlsGetTheirKindsTypeTheChildStylesAndTabStops)
{
    const DialogControl check(DlgCheckBox, 1, "a", 0, 0, 10, 10);
    EXPECT_EQ(GetDialogControlStyle(check) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_TRUE(GetDialogControlStyle(check) & WS_TABSTOP);
    EXPECT_TRUE(GetDialogControlStyle(check) & WS_CHILD);
    EXPECT_TRUE(GetDialogControlStyle(check) & WS_VISIBLE);

    const DialogControl plainCheck(DlgCheckBox, 1, "a", 0, 0, 10, 10, BS_3STATE);
    EXPECT_EQ(GetDialogControlStyle(plainCheck) & BS_TYPEMASK, BS_3STATE);

    const DialogControl firstRadio(DlgRadioButton, 2, "r", 0, 0, 10, 10, WS_GROUP);
    const DialogControl nextRadio(DlgRadioButton, 3, "r", 0, 0, 10, 10);
    EXPECT_EQ(GetDialogControlStyle(firstRadio) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    EXPECT_TRUE(GetDialogControlStyle(firstRadio) & WS_TABSTOP);
    EXPECT_FALSE(GetDialogControlStyle(nextRadio) & WS_TABSTOP);

    const DialogControl group(DlgGroupBox, IDC_STATIC, "g", 0, 0, 10, 10, BS_CHECKBOX);
    EXPECT_EQ(GetDialogControlStyle(group) & BS_TYPEMASK, BS_GROUPBOX);

    const DialogControl combo(DlgComboBox, 4, CString(), 0, 0, 10, 10);
    EXPECT_EQ(GetDialogControlStyle(combo) & 0x3, CBS_DROPDOWNLIST);
    const DialogControl editable(DlgComboBox, 4, CString(), 0, 0, 10, 10, CBS_DROPDOWN);
    EXPECT_EQ(GetDialogControlStyle(editable) & 0x3, CBS_DROPDOWN);

    const DialogControl text(DlgStatic, IDC_STATIC, "t", 0, 0, 10, 10);
    EXPECT_TRUE(GetDialogControlStyle(text) & WS_GROUP);
    EXPECT_FALSE(GetDialogControlStyle(text) & WS_TABSTOP);

    // notStyle takes defaults away: a hidden, disabled check box.
    const DialogControl hidden(DlgCheckBox, 5, "h", 0, 0, 10, 10, WS_DISABLED, 0, WS_VISIBLE | WS_TABSTOP);
    const DWORD style = GetDialogControlStyle(hidden);
    EXPECT_FALSE(style & WS_VISIBLE);
    EXPECT_FALSE(style & WS_TABSTOP);
    EXPECT_TRUE(style & WS_DISABLED);
}

TEST(DialogTemplateTest, TheRegistryBuildsATemplateOnceWhenFirstAskedAndLaterRegistrationsReplaceIt)
{
    static int s_built = 0;
    s_built = 0;
    RegisterDialogTemplate(9401, [] {
        ++s_built;
        return DialogTemplate(0, "一"_sj, 50, 40, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
                              {{DlgPushButton, IDOK, "OK", 5, 5, 40, 14}});
    });
    EXPECT_EQ(s_built, 0);
    const DialogTemplate* t = FindDialogTemplate(9401);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(s_built, 1);
    EXPECT_EQ(t->nID, 9401u) << "the id it was registered under";
    EXPECT_EQ(t->caption, "一"_sj);
    ASSERT_EQ(t->controls.size(), 1u);
    EXPECT_EQ(t->controls[0].cx, 40);
    EXPECT_EQ(FindDialogTemplate(9401), t);
    EXPECT_EQ(s_built, 1);

    DialogTemplate second;
    second.nID = 9401;
    second.caption = "二"_sj;
    RegisterDialogTemplate(second);
    ASSERT_NE(FindDialogTemplate(9401), nullptr);
    EXPECT_EQ(FindDialogTemplate(9401)->caption, "二"_sj);
    EXPECT_EQ(FindDialogTemplate(9402), nullptr);
}
