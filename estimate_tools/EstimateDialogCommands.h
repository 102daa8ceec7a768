// The estimate view's commands that ask through a dialog of the estimate tools first. The
// view hands each over by id (CMorvelEMView::HandToEstimateTools and a few keys and cells)
// through CShellServices::RunEstimateDialogCommand; the registration of the estimate tools
// installs RunEstimateDialogCommand there.
//
// One table maps each command id to its handler: the message map of
// CEstimateDialogCommands, in EstimateDialogCommands.cpp. The handlers are defined beside
// the work they start:
//   EstimateDialogCommands.cpp     the page commands (select, delete, insert)
//   EstimateEditCommands.cpp       find, replace, unnecessary rows, sort, user zoom,
//                                  fixed rate, parts registration
//   EstimateRowDialogCommands.cpp  information input, kinds, discounts, steps, the subject
//                                  and unit picks, summary table, the parts picks of a
//                                  cell, display and input fix, numbering, classification
//                                  totals, indent
// A new command is a handler here and a row in the table.
#pragma once

#include "platform/base/Types.h"
#include "platform/ui/core/CCmdTarget.h"

class CMorvelEMView;
class CView;

// Runs the handler of nID for pView, which must be an estimate view; an id the table does
// not list, or another view, does nothing.
void RunEstimateDialogCommand(CView* pView, UINT nID);

// The commands of one estimate view, for the length of one command.
class CEstimateDialogCommands : public CCmdTarget {
public:
    explicit CEstimateDialogCommands(CMorvelEMView& view) : m_view(view) {}

    // Calls the handler the table gives for nID; false when it gives none.
    bool Run(UINT nID);

protected:
    // EstimateDialogCommands.cpp
    afx_msg void OnPageSelect();
    afx_msg void OnPageDelete();
    afx_msg void OnPageInsert();
    // EstimateEditCommands.cpp
    afx_msg void OnFind();
    afx_msg void OnReplace();
    afx_msg void OnUnnecessaryRows();
    afx_msg void OnSort();
    afx_msg void OnUserZoom();
    afx_msg void OnFixedRate();
    afx_msg void OnPartsRegister();
    // EstimateRowDialogCommands.cpp
    afx_msg void OnInformationInput();
    afx_msg void OnKindInput();
    afx_msg void OnDiscountInput();
    afx_msg void OnStepSetting();
    afx_msg void OnDiscountTotal();
    afx_msg void OnPickLarge();
    afx_msg void OnPickMiddle();
    afx_msg void OnPickSmall();
    afx_msg void OnPickUnit();
    afx_msg void OnSummaryTable();
    afx_msg void OnPickPartsForCell();
    afx_msg void OnPopupPartsForCell();
    afx_msg void OnDisplayFix();
    afx_msg void OnInputFix();
    afx_msg void OnSubjectNumbering();
    afx_msg void OnClassifyTotal();
    afx_msg void OnIndent();

    CMorvelEMView& m_view;

    DECLARE_MESSAGE_MAP()
};
