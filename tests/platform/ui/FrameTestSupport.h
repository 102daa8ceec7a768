// The documents, views and frames the frame and document/view tests open: two document
// types ("TestA" .TSA and "TestB" .TSB) with menus, accelerators and a tool bar of their
// own, a main frame, and an application object that records which level of the command
// route handled a command.
#pragma once

#include "platform/base/CArchive.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/CMDIFrameWnd.h"
#include "platform/ui/frames/CMultiDocTemplate.h"
#include "platform/ui/frames/CScrollView.h"
#include "platform/ui/frames/CSplitterWnd.h"
#include "platform/ui/frames/CStatusBar.h"
#include "platform/ui/frames/CToolBar.h"
#include "platform/ui/frames/CView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Resource ids of the test resources.
constexpr UINT IDR_TEST_MAINFRAME = 9121;
constexpr UINT IDR_TEST_TYPEA = 9123;
constexpr UINT IDR_TEST_TYPEB = 9124;
constexpr UINT IDR_TEST_SPLITA = 9125;  // type A in a static splitter
constexpr UINT IDR_TEST_DYNAMIC = 9126; // type A in a dynamic splitter
constexpr UINT IDS_TEST_PANE1 = 9128;   // status pane of 12 blanks
constexpr UINT IDS_TEST_PANE2 = 9130;

// Commands: each is handled by the levels its name says, and by every level after it in
// the route view -> document -> child frame -> main frame -> application.
constexpr UINT ID_TEST_FROM_VIEW = 40010;
constexpr UINT ID_TEST_FROM_DOC = 40011;
constexpr UINT ID_TEST_FROM_CHILD = 40012;
constexpr UINT ID_TEST_FROM_MAIN = 40013;
constexpr UINT ID_TEST_FROM_APP = 40014;
constexpr UINT ID_TEST_UNHANDLED = 40015;
constexpr UINT ID_TEST_DISABLED = 40016; // handled, but its update handler disables it
constexpr UINT ID_TEST_TOOL = 40017;     // a tool-bar button handled by the main frame
constexpr UINT ID_TEST_ZOOMBOX = 176;

// Where commands went, in order ("view:40010", "doc:40011", ...).
std::vector<std::string>& RouteLog();

// Holds a key down (or lets it go) as far as GetKeyState is concerned.
void SetKeyStateForTest(UINT nVirtKey, bool bDown);

class CFrameTestApp : public CWinApp {
public:
    CFrameTestApp() : CWinApp("FrameTest") {}
    afx_msg void OnAnyCommand(UINT nID);
    DECLARE_MESSAGE_MAP()
};

class CTestDocA : public CDocument {
    DECLARE_DYNCREATE(CTestDocA)
public:
    CString m_text;
    WORD m_value = 0;
    int m_nDeleteContents = 0;
    // Make Serialize throw while storing (a failing save).
    static bool s_failStoring;

    void Serialize(CArchive& ar) override;
    void DeleteContents() override;
    afx_msg void OnAnyCommand(UINT nID);
    afx_msg void OnAnyCommandDisabled();
    DECLARE_MESSAGE_MAP()
};

class CTestDocB : public CTestDocA {
    DECLARE_DYNCREATE(CTestDocB)
};

class CTestViewA : public CView {
    DECLARE_DYNCREATE(CTestViewA)
public:
    int m_nInitialUpdates = 0;
    int m_nUpdates = 0;
    LPARAM m_lastHint = 0;
    std::vector<std::string> m_printLog; // the print steps, in order
    UINT m_nPagesToPrint = 2;            // 0xFFFF: not known
    std::function<void(CDC*)> m_drawPage; // what a page shows instead of the square
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    afx_msg void OnFromView();
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

class CTestScrollView : public CScrollView {
    DECLARE_DYNCREATE(CTestScrollView)
public:
    std::vector<CPoint> m_drawOrigins; // the viewport origin of every OnDraw
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
};

class CTestChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CTestChildFrame)
public:
    afx_msg void OnAnyCommand(UINT nID);
    DECLARE_MESSAGE_MAP()
};

// A child frame whose client is a static splitter: a scroll view 130 wide on the left, the
// document's view on the right (which becomes the active view).
class CTestSplitFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CTestSplitFrame)
public:
    CSplitterWnd m_wndSplitter;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
};

// A child frame with a dynamic splitter of at most 2 x 2 panes of at least 10 x 10.
class CTestDynamicFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CTestDynamicFrame)
public:
    CSplitterWnd m_wndSplitter;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
};

class CTestMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CTestMainFrame)
public:
    CToolBar m_wndToolBar;
    CToolBar m_wndSecondBar;
    CStatusBar m_wndStatusBar;
    CWnd* m_pZoomBox = nullptr;
    BOOL m_bCreateBars = TRUE;
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnAnyCommand(UINT nID);
    afx_msg void OnToolCommand();
    ~CTestMainFrame() override;
    DECLARE_MESSAGE_MAP()
};

// An application with the two document types and a main frame, made for one test.
class CFrameTestEnvironment {
public:
    explicit CFrameTestEnvironment(BOOL bBars = TRUE);
    ~CFrameTestEnvironment();

    CFrameTestApp& App() { return *m_pApp; }
    CTestMainFrame* Main() const { return m_pMain; }
    CMultiDocTemplate* TemplateA() const { return m_pTemplateA; }
    CMultiDocTemplate* TemplateB() const { return m_pTemplateB; }
    CMultiDocTemplate* TemplateSplit() const { return m_pTemplateSplit; }
    CMultiDocTemplate* TemplateDynamic() const { return m_pTemplateDynamic; }

    // The document windows in the order the MDI client's child walk gives them.
    std::vector<CMDIChildWnd*> WalkChildren() const;

private:
    std::unique_ptr<CFrameTestApp> m_pApp;
    CTestMainFrame* m_pMain = nullptr;
    HWND m_hWndMain = nullptr;
    CMultiDocTemplate* m_pTemplateA = nullptr;
    CMultiDocTemplate* m_pTemplateB = nullptr;
    CMultiDocTemplate* m_pTemplateSplit = nullptr;
    CMultiDocTemplate* m_pTemplateDynamic = nullptr;
};
