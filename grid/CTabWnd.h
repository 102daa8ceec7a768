// CTabWnd: the small page tab strip at the bottom of the estimate grid, with the tabs of
// the estimate editing page and the summary page. It draws its tabs itself and tells its
// parent (the estimate view) which page was clicked with a command: 182 for the first tab,
// 184 for the second.
//
// Tabs are trapezoids 16 pixels high, (text bytes x 8 + 16) pixels wide, each starting 8
// pixels left of the previous one's right edge; the current tab is drawn last, on top of
// its neighbours. The strip keeps pointers to the tab texts, which the caller keeps alive.
#pragma once

#include "platform/base/Types.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/gdi/GdiObjects.h"

class CDC;

class CTabWnd : public CWnd {
    DECLARE_DYNAMIC(CTabWnd)
public:
    enum { MAX_TABS = 10, TAB_HEIGHT = 16, TAB_SLANT = 8 };
    // The commands sent to the parent for the first and the second tab.
    enum : UINT { ID_EDIT_PAGE_TAB = 182, ID_SUMMARY_PAGE_TAB = 184 };

    CTabWnd();
    ~CTabWnd() override;

    // Appends a tab after the last one (the first tab starts selected). Tabs beyond
    // MAX_TABS are ignored.
    void AddTab(const char* lpszText);
    // Makes a tab current and repaints at once; no command is sent. Indexes outside the
    // tabs are ignored.
    void SetCurSel(int nIndex);
    int GetCurSel() const { return m_nCurSel; }
    int GetTabCount() const { return m_nTabCount; }
    // The tab's rectangle in the strip's client coordinates (empty for a bad index).
    CRect GetTabRect(int nIndex) const;
    bool IsTabSelected(int nIndex) const;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

protected:
    struct CTab {
        bool bSelected = false;
        CRect rect;
        const char* pszText = nullptr;
    };

    void DrawTab(CDC* pDC, int nIndex);

    int m_nCurSel;
    int m_nTabCount;
    CTab m_tabs[MAX_TABS];
    CFont m_fontNormal;   // unselected tabs: "ＭＳ 明朝" 13, weight 400
    CFont m_fontSelected; // the selected tab: "ＭＳ 明朝" 14, weight 700
};
