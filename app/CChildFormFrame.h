// CChildFormFrame: the window of a print layout, the base of the estimate and parts layout
// windows. It carries the print tool bar (drawing tools, line style, fill pattern, the
// print-limit line, the grid, table sizes, border and fill) docked at the bottom and the
// print-edit bar (font name and size, bold, italic, underline, text colour, alignments,
// line spacing) at the top, and a device context on the application's printer, whose
// faces the font-name box offers.
#pragma once

#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/CToolBar.h"
#include "platform/ui/gdi/CDC.h"

#include <memory>

class CCmdUI;

class CChildFormFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFormFrame)
public:
    CChildFormFrame();
    ~CChildFormFrame() override;

    // The widths of the places the boxes take on the bars.
    enum { FONT_NAME_WIDTH = 150, FONT_SIZE_WIDTH = 60, LINE_STYLE_WIDTH = 130, FILL_PATTERN_WIDTH = 120 };
    // The sizes the font-size box offers, in this order.
    static const char* const s_fontSizes[16];

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Keys typed into the font-size box edit its text (IsTextKeyForBarBox).
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CDC m_dcPrinter;
    CComboBox m_wndFontSize;
    // The font-name, line-style and fill-pattern boxes: the print layouts' own controls,
    // made through CShellServices::createPrintBarBox (null while nobody provides them).
    std::unique_ptr<CComboBox> m_pFontNameBox;
    std::unique_ptr<CComboBox> m_pLineStyleBox;
    std::unique_ptr<CComboBox> m_pPatternBox;
    // The box of a control id (177, 183, 250, 251), or null.
    CComboBox* GetBarBox(UINT nID);
    CToolBar m_wndPrintToolBar;
    CToolBar m_wndPrintEditBar;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnViewPrintToolBar();
    afx_msg void OnUpdateViewPrintToolBar(CCmdUI* pCmdUI);
    afx_msg void OnViewPrintEditBar();
    afx_msg void OnUpdateViewPrintEditBar(CCmdUI* pCmdUI);
    afx_msg void OnEnvironment();
    afx_msg void OnUpdateEnvironment(CCmdUI* pCmdUI);
    afx_msg void OnIntroduction();
    afx_msg void OnViewToolBar();
    afx_msg void OnUpdateViewToolBar(CCmdUI* pCmdUI);
    // Besides the framework's idle work: each box is enabled while the active view takes
    // what it chooses (handles its selection change), so that no box offers a choice that
    // goes nowhere.
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void UpdateBarBoxes();

    DECLARE_MESSAGE_MAP()

protected:
    // The setup sheet in import mode over copies of the layout's forms; the derived
    // windows know which pages. The base window has no layout of a known kind.
    virtual void RunImportSheet();

private:
    BOOL CreateBars();
};
