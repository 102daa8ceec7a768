// CTableRuledLineDialog: "罫線" for the selected cells of a table: one of seven patterns
// (which lines are set), and a line style (-1 leaves the line as it is, 0 none, 1 to 11 the
// drawn styles) and colour for each of the six lines: inner vertical, inner horizontal and
// the left, right, top and bottom edges. The outer-frame box and button set the four edges
// at once. The caller reads the fields after IDOK.
#pragma once

#include "app/CColourButton.h"
#include "layout/printform/CRuledLineDialog.h"
#include "platform/ui/controls/CStatic.h"
#include "platform/ui/dialogs/CDialog.h"

// A small picture of a pattern's lines over two by two cells (pattern 0: the table picture
// with every line).
class CRuledPatternPicture : public CStatic {
public:
    int m_nPattern = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
};

class CTableRuledLineDialog : public CDialog {
    DECLARE_DYNAMIC(CTableRuledLineDialog)
public:
    enum { IDD = 214 };
    enum { PATTERN_COUNT = 7 };
    explicit CTableRuledLineDialog(CWnd* pParent = nullptr);

    int m_nPattern = 1;
    COLORREF m_clrInnerV = 0;
    COLORREF m_clrInnerH = 0;
    int m_nInnerV = 0;
    int m_nInnerH = 0;
    COLORREF m_clrLeft = 0;
    COLORREF m_clrRight = 0;
    COLORREF m_clrTop = 0;
    COLORREF m_clrBottom = 0;
    int m_nLeft = 0;
    int m_nRight = 0;
    int m_nTop = 0;
    int m_nBottom = 0;

    // The radio button of each pattern 1..7.
    static const UINT s_patternButtons[PATTERN_COUNT];

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void OnOK() override;
    void SelectPattern(int nPattern);
    void PickColour(CColourButton& button, COLORREF& field);
    afx_msg void OnPattern(UINT nID);
    afx_msg void OnOuterStyle();
    afx_msg void OnOuterColour();
    afx_msg void OnInnerVColour();
    afx_msg void OnInnerHColour();
    afx_msg void OnLeftColour();
    afx_msg void OnRightColour();
    afx_msg void OnTopColour();
    afx_msg void OnBottomColour();
    DECLARE_MESSAGE_MAP()

    CLineStyleComboBox m_outer, m_top, m_bottom, m_left, m_right, m_innerV, m_innerH;
    CColourButton m_outerColour, m_topColour, m_bottomColour, m_leftColour, m_rightColour, m_innerVColour,
        m_innerHColour;
    CRuledPatternPicture m_pictures[PATTERN_COUNT];
    CRuledPatternPicture m_tablePicture;
};

// Registers the templates 214, 236 and 260 (safe to call more than once).
void RegisterTableDialogTemplates();
