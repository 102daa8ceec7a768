// CCheckMarkListBox: the list of the column selection dialog. Each 20-pixel row has a tick
// box at its left and its text to the right; clicking an enabled row (its box or its
// text), or Space on the chosen row, ticks it or clears it. Rows can be disabled (shown
// grey, never ticked). Ticks and enabling are kept for the first 200 rows.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/controls/CListBox.h"

#include <array>

class CDC;

class CCheckMarkListBox : public CListBox {
    DECLARE_DYNAMIC(CCheckMarkListBox)
public:
    // Rows whose tick and enabling are kept.
    static constexpr int MAX_ITEMS = 200;
    static constexpr int ITEM_HEIGHT = 20;
    // Width of the tick column.
    static constexpr int TICK_WIDTH = 20;

    CCheckMarkListBox();
    ~CCheckMarkListBox() override;

    // Appends a row; returns its index (LB_ERR on failure).
    int AddItem(LPCTSTR lpszItem);
    // The tick and the enabling of a row; 0 for a row outside 0 to 199.
    BOOL GetCheck(int nIndex) const;
    BOOL GetEnable(int nIndex) const;
    // Setting a row outside 0 to 199 does nothing.
    void SetCheck(int nIndex, BOOL bCheck);
    void SetEnable(int nIndex, BOOL bEnable);

    // Owner-drawn fixed rows with their strings.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()

protected:
    static bool InRange(int nIndex) { return nIndex >= 0 && nIndex < MAX_ITEMS; }
    // Turns an enabled row's tick over and repaints the row.
    void ToggleCheck(int nIndex);
    // Draws one row; bFocusDraw is the look of the row that has the focus.
    void DrawRow(CDC* pDC, const CRect& rcItem, int nIndex, BOOL bFocusDraw);

    std::array<BOOL, MAX_ITEMS> m_bCheck;
    std::array<BOOL, MAX_ITEMS> m_bEnable;
};
