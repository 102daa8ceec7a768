// The start-up picture: a borderless window showing bitmap 101 centred on the screen over
// the main frame. It goes by itself after 2750 ms, or at the first key press or mouse-button
// press anywhere in the program (the application shows it every message first).
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/gdi/GdiObjects.h"

class CSplashWindow : public CWnd {
    DECLARE_DYNAMIC(CSplashWindow)
public:
    ~CSplashWindow() override;

    // Whether ShowSplash shows anything; start-up passes the command line's splash flag.
    static void EnableSplash(BOOL bEnable = TRUE);
    // Shows the picture over pParentWnd when enabled and none is shown yet.
    static void ShowSplash(CWnd* pParentWnd = nullptr);
    // Hides the picture on a key press or mouse-button press. Never eats the message:
    // always FALSE.
    static BOOL FilterAppMessage(MSG* pMsg);
    // The picture shown now, or null.
    static CSplashWindow* GetSplashWindow() { return s_pSplashWnd; }

    // How long the picture stays at most.
    static constexpr UINT SPLASH_TIMEOUT_MS = 2750;

    // Takes the picture away and repaints the main window at once.
    void HideSplash();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

protected:
    CSplashWindow() = default;
    BOOL Create(CWnd* pParentWnd);
    // The window deletes its object once it is gone.
    void PostNcDestroy() override;

    CBitmap m_bitmap;

    static BOOL s_bShowSplash;
    static CSplashWindow* s_pSplashWnd;
};
