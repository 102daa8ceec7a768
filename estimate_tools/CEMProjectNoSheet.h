// The subject numbering sheet "科目No": which item shows the outline numbers of the kind
// and subject headings, whether the upper levels' numbers are written in front, and each
// level's style (0 letters, 1 two digits with a leading zero, 2 numbers, 3 none). "配置"
// takes the settings and switches numbering on; "解除" switches it off and keeps them.
#pragma once

#include "app/CEstimationFormFile.h"
#include "platform/ui/controls/CButton.h"
#include "platform/ui/dialogs/CPropertyPage.h"
#include "platform/ui/dialogs/CPropertySheet.h"

class CEMProjectNoSheet;

// "全般": the target item and the upper-numbers flag.
class CEMProjectNoPage5 : public CPropertyPage {
public:
    explicit CEMProjectNoPage5(CEMProjectNoSheet& sheet);

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnItemChange();
    afx_msg void OnUpper();
    DECLARE_MESSAGE_MAP()

private:
    CEMProjectNoSheet& m_sheet;
};

// A level's style page; the radio buttons store the style at once.
class CEMProjectNoStylePage : public CPropertyPage {
public:
    CEMProjectNoStylePage(UINT nIDTemplate, int& nStyle);

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnLetters();
    afx_msg void OnZeroNumbers();
    afx_msg void OnNumbers();
    afx_msg void OnNone();
    DECLARE_MESSAGE_MAP()

private:
    int& m_nStyle;
};

// The style pages of the four levels: 種目, 大科目, 中科目 and 小科目.
class CEMProjectNoPage1 : public CEMProjectNoStylePage {
public:
    explicit CEMProjectNoPage1(int& nStyle);
};

class CEMProjectNoPage2 : public CEMProjectNoStylePage {
public:
    explicit CEMProjectNoPage2(int& nStyle);
};

class CEMProjectNoPage3 : public CEMProjectNoStylePage {
public:
    explicit CEMProjectNoPage3(int& nStyle);
};

class CEMProjectNoPage4 : public CEMProjectNoStylePage {
public:
    explicit CEMProjectNoPage4(int& nStyle);
};

class CEMProjectNoSheet : public CPropertySheet {
public:
    CEMProjectNoSheet(CWnd* pParent, const CEstimationFormFile& form);

    int m_nRelease = 0; // set by "解除"
    int m_nUpper = 1;   // the upper levels' numbers in front
    int m_nTargetItem = 1;
    int m_nSmallStyle = 1;
    int m_nMiddleStyle = 2;
    int m_nLargeStyle = 0;
    int m_nKindStyle = 2;
    CEstimationFormFile m_form;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnRelease();
    afx_msg void OnHelpRequest();
    DECLARE_MESSAGE_MAP()

private:
    CEMProjectNoPage5 m_page5;
    CEMProjectNoPage1 m_page1;
    CEMProjectNoPage2 m_page2;
    CEMProjectNoPage3 m_page3;
    CEMProjectNoPage4 m_page4;
    CButton m_btnRelease;
};
