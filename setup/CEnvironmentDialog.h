// CEnvironmentDialog: the environment sheet "環境設定": the path, input, print and colour
// and font pages (the tabs show in that order). Start-up opens it with the path page
// alone; the estimate and parts windows open it with their document kind.
#pragma once

#include "setup/CCBPropertySheet.h"
#include "setup/CColourDialog.h"
#include "setup/CInputDialog.h"
#include "setup/COutputDialog.h"
#include "setup/CPathDialog.h"

class CEnvironmentDialog : public CCBPropertySheet {
    DECLARE_DYNAMIC(CEnvironmentDialog)
public:
    // Without a document: all four pages.
    CEnvironmentDialog(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    CEnvironmentDialog(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    // Start-up: the path page alone (the int only selects this form).
    CEnvironmentDialog(LPCTSTR pszCaption, int nPathOnly, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    // From an estimate window (kind 1; the input page is told so).
    CEnvironmentDialog(int nFromView, LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    // From a view with its document kind (0 parts).
    CEnvironmentDialog(int nDocKind, int nFromView, LPCTSTR pszCaption, CWnd* pParentWnd = nullptr,
                       UINT iSelectPage = 0);

    int m_nDocKind = -1;
    CPathDialog m_pathPage;
    COutputDialog m_outputPage;
    CInputDialog m_inputPage;
    CColourDialog m_colourPage;

protected:
    BOOL OnInitDialog() override;
    afx_msg LRESULT OnHelpRequest(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void AddAllPages();
};
