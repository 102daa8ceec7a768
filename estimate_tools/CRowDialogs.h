// The dialogs that collect the values of the estimate's special rows: a kind heading
// (種目入力), a discount (値引入力), the level of a discount total (値引合計) and the
// settings of a step row (歩掛設定); and the modeless indent tool (ｲﾝﾃﾞﾝﾄ), which shifts
// one item's text in all rows of one level. They only collect values; the estimate view
// makes the rows.
#pragma once

#include "app/CEstimationFormFile.h"
#include "engine/estimate/RowKinds.h"
#include "grid/ModelessMessages.h"
#include "platform/base/CString.h"
#include "platform/ui/dialogs/CDialog.h"

class CComboBox;
class CMorvelEMView;

// The calculation range of the step and classification dialogs: radio buttons 1071
// "科目内", 1073 "全  体" and 1077 "科目指定" with the level combo box 1153 beside it.
// Range 0 and 1 are the first two; 2..5 are 科目指定 with 種目, 大科目, 中科目, 小科目.
namespace RangeControls {
// Fills the level list and shows nRange (-1 and unknown values show as 0, which nRange
// becomes).
void Init(CDialog& dlg, int& nRange);
// The radio buttons' handlers: the range they stand for; the level list follows.
void Choose(CDialog& dlg, int& nRange, int nChosen);
// The range the controls show; -1 for 科目指定 without a level.
int Read(CDialog& dlg);
// The estimation form's item names into a combo box, nItem selected.
void FillItems(CComboBox& combo, const CEstimationFormFile& form, int nItem);
} // namespace RangeControls

class CKindInputDialog : public CDialog {
public:
    CKindInputDialog(int nMode, CWnd* pParent);

    CString m_strName;
    CString m_strUnit = "式";

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// Reads a typed discount as a number cell reads typing ("1,500", "▲10,000", "10,000円"):
// its normal form ("-10000.000000"), or an empty text for a text that is no number.
CString ReadDiscountText(const CString& text);

class CDiscountDialog : public CDialog {
public:
    CDiscountDialog(int nMode, CWnd* pParent);

    CString m_strDiscount; // "%f" of the amount typed, after OK

protected:
    void OnOK() override;
};

class CDiscountTotalDialog : public CDialog {
public:
    explicit CDiscountTotalDialog(CWnd* pParent);

    ETotalLevel m_nLevel = ETotalLevel::levelSmall; // small, middle, large subject, kind, the whole estimate

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSmall();
    afx_msg void OnMiddle();
    afx_msg void OnLarge();
    afx_msg void OnKind();
    afx_msg void OnGrand();
    DECLARE_MESSAGE_MAP()
};

class CStepSettingDialog : public CDialog {
public:
    enum { stateNew = 0, stateEdit = 1, stateReleased = -1 };

    // A new setting: range 0, no code, the target item the first step item of the form.
    CStepSettingDialog(const CEstimationFormFile& form, CWnd* pParent);
    // The settings of an existing step row.
    CStepSettingDialog(const CEstimationFormFile& form, const CString& strTarget, int nTargetItem, int nRange,
                       CWnd* pParent);

    // 0 within the subject, 1 the whole estimate, 2..5 from the nearest kind, large,
    // middle or small heading; -1 when "科目指定" was chosen without a level.
    int m_nRange = 0;
    int m_nState = stateNew;
    int m_nTargetItem = 0;
    CString m_strTarget;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnWithinSubject();
    afx_msg void OnWhole();
    afx_msg void OnBySubject();
    afx_msg void OnRelease();
    DECLARE_MESSAGE_MAP()

private:
    CEstimationFormFile m_form;
};

// Modeless; deletes itself when closed. It talks to its view by window handle, so a view
// closed first leaves it with nothing to send to (its buttons then close it).
class CIndentDialog : public CDialog {
public:
    CIndentDialog(CMorvelEMView* pView, const CEstimationFormFile& form);

    // Creates the window beside the view.
    BOOL Create();

    CIndentRequest m_request{0, INDENT_LEVEL_DETAIL, 1};

    // Whether "解除" is offered for the chosen item and level.
    void UpdateReleaseState();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;
    afx_msg void OnLeft();
    afx_msg void OnRight();
    afx_msg void OnRelease();
    afx_msg void OnSelChange();
    DECLARE_MESSAGE_MAP()

private:
    CMorvelEMView* LiveView() const;
    void Send(WPARAM nMode);

    HWND m_hView;
    CEstimationFormFile m_form;
};
