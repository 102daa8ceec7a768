// The running program with the sample work folder, for the parts-list tests that drive a
// real parts window: File Open makes the parts frame with its grid, and the helpers send
// the grid the messages a user's keys and clicks send.
#pragma once

#include "app/CChildPMFrame.h"
#include "app/CMorvelApp.h"
#include "app/CShellServices.h"
#include "app/CSplashWindow.h"
#include "estimate/EstimateRegistration.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/PartsRegistration.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/gdi/CClientDC.h"
#include "resources/ResourceIds.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>

class PartsWindowTest : public ::testing::Test {
protected:
    PartsWindowTest() : m_savedServices(CShellServices::Get()) {}
    ~PartsWindowTest() override
    {
        CShellServices::Get() = m_savedServices;
        CSplashWindow::EnableSplash(TRUE);
    }

    void SetUp() override
    {
        const std::filesystem::path samples = std::filesystem::path(MORVEL_SOURCE_DIR) / "samples";
        const std::filesystem::path root = m_dir.Native();
        for (const char* folder : {"MASTER", "FORM", "WORK"}) {
            std::filesystem::create_directories(root / folder);
            for (const auto& entry : std::filesystem::directory_iterator(samples / folder))
                std::filesystem::copy_file(entry.path(), root / folder / entry.path().filename());
        }
        std::filesystem::create_directories(root / "lock");
        CProfileFile profile(SystemPathFromNative(m_dir.NativeFile("test.ini")));
        profile.WriteProfileString("Path Setting", "Work Drive", "C");
        for (const char* key : {"Estimation Form", "Parts Form", "Information Form"})
            profile.WriteProfileString("Path Setting", key, SystemPathFromNative(m_dir.NativeFile("FORM")));
        profile.WriteProfileString("Path Setting", "Work Field",
                                   SystemPathFromNative(m_dir.NativeFile("WORK")));
        profile.WriteProfileString("Path Setting", "Other Form",
                                   SystemPathFromNative(m_dir.NativeFile("MASTER")));
        profile.WriteProfileString("Form File Name Setting", "Estimation Form Name", "meisai.MMK");
        profile.WriteProfileString("Form File Name Setting", "Information Form Name", "JYOUHOU.MJK");
        profile.WriteProfileString("Form File Name Setting", "Part Form Name", "BUZAI.MBK");
        profile.WriteProfileString("Input Setting", "Backup File", "1");
        setenv("MORVEL_INI", m_dir.NativeFile("test.ini").c_str(), 1);
        setenv("MORVEL_LOCK_DIR", m_dir.NativeFile("lock").c_str(), 1);
        setenv("MORVEL_NO_SOUND", "1", 1);

        RegisterEstimate();
        RegisterParts();
        m_pApp = std::make_unique<CMorvelApp>();
        m_pApp->SetCommandLine(std::vector<CString>{"/nosplash"});
        ASSERT_TRUE(m_pApp->InitInstance());
        ASSERT_NE(m_pApp->m_pMainWnd, nullptr);
        m_pApp->m_pMainWnd->MoveWindow(0, 0, 1280, 900);
        Pump();
    }
    void TearDown() override
    {
        if (m_pApp && m_pApp->m_pMainWnd != nullptr) {
            if (m_pApp->m_pMainWnd->GetSafeHwnd() != nullptr)
                m_pApp->m_pMainWnd->DestroyWindow();
            m_pApp->m_pMainWnd = nullptr;
        }
        m_pApp.reset();
        unsetenv("MORVEL_INI");
        unsetenv("MORVEL_LOCK_DIR");
        unsetenv("MORVEL_NO_SOUND");
    }

    void Pump()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    CString WorkFile(const char* utf8) const
    {
        return SystemPathFromNative(m_dir.NativeFile("WORK")) + "\\" + CString::FromUtf8(utf8);
    }
    CMorvelPMView* OpenSample()
    {
        m_pDoc = dynamic_cast<CMorvelPMDoc*>(m_pApp->OpenDocumentFile(WorkFile("部材処理.MBD")));
        m_pView = m_pDoc != nullptr ? m_pDoc->GetPartsView() : nullptr;
        Pump();
        return m_pView;
    }
    // Keys pressed on the grid, as the window system delivers them.
    void Keys(Qt::KeyboardModifiers mods, int nKey)
    {
        RealInput::PressKeys(m_pView->GetClientWidget(), mods, nKey);
        Pump();
    }
    // A click on a column's title, which selects the column.
    void ClickTitle(int nCol)
    {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, 0, nCol, 0, &rc);
        const QPoint at(rc.CenterPoint().x, m_pView->GetMetrics().nHeaderHeight / 2);
        RealInput::Drag(m_pView->GetClientWidget(), at, at);
        Pump();
    }
    void Repaint()
    {
        m_pView->Invalidate(TRUE);
        m_pView->UpdateWindow();
        Pump();
    }
    // The left- and rightmost x inside a cell whose pixel is not white; -1 when none.
    std::pair<int, int> InkExtent(int nCol, int nRow)
    {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        int nLeft = -1, nRight = -1;
        CClientDC dc(m_pView);
        for (int x = rc.left + 2; x < rc.right - 1; ++x) {
            for (int y = rc.top + 2; y < rc.bottom - 2; ++y) {
                if ((dc.GetPixel(x, y) & 0xFFFFFF) != RGB(255, 255, 255)) {
                    if (nLeft < 0)
                        nLeft = x;
                    nRight = x;
                    break;
                }
            }
        }
        return {nLeft, nRight};
    }

    // ---- what a user does to the grid ---------------------------------------------------
    void Click(int nCol, int nRow, UINT nFlags = MK_LBUTTON)
    {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        const LPARAM lParam = MAKELPARAM(rc.left + 3, rc.top + 3);
        m_pView->SendMessage(WM_LBUTTONDOWN, nFlags, lParam);
        m_pView->SendMessage(WM_LBUTTONUP, 0, lParam);
    }
    void Key(UINT nKey) { m_pView->SendMessage(WM_KEYDOWN, nKey, 1); }
    // Typed characters reach the grid, then the editor once it is open.
    void Type(const char* lpszText)
    {
        for (const char* p = lpszText; *p != '\0'; ++p) {
            CGridCellEdit* pEdit = m_pView->GetCellEdit();
            if (m_pView->GetEditState() == CMorvelPMView::editOpen && pEdit != nullptr) {
                CString strText;
                pEdit->GetText(strText);
                pEdit->SetSel(-1, -1);
                pEdit->ReplaceSel(CString(*p, 1), FALSE);
            } else {
                m_pView->SendMessage(WM_CHAR, static_cast<BYTE>(*p), 1);
            }
        }
    }
    // A key pressed while the editor has the keyboard (Enter, Up, Down and Esc end it).
    void EditorKey(UINT nKey)
    {
        CGridCellEdit* pEdit = m_pView->GetCellEdit();
        ASSERT_NE(nullptr, pEdit);
        pEdit->SendMessage(WM_KEYDOWN, nKey, 1);
    }
    void Command(UINT nID) { m_pView->SendMessage(WM_COMMAND, nID, 0); }
    // 1 enabled, 0 disabled, as the update handlers leave the item.
    int Enabled(UINT nID)
    {
        CEnableRecorder cmdUI;
        cmdUI.m_nID = nID;
        cmdUI.DoUpdate(m_pView, TRUE);
        return cmdUI.m_nEnabled;
    }
    class CEnableRecorder : public CCmdUI {
    public:
        void Enable(BOOL bOn) override
        {
            m_nEnabled = bOn ? 1 : 0;
            m_bEnableChanged = TRUE;
        }
        int m_nEnabled = -1;
    };
    std::string Cell(int nRow, int nCol) const { return m_pView->GetCellText(nRow, nCol).ToUtf8(); }
    // Every cell of the used rows, for before-and-after comparisons.
    std::vector<std::string> AllCells() const
    {
        std::vector<std::string> cells;
        for (int r = 0; r < m_pDoc->GetRowsInUse(); ++r)
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                cells.push_back(Cell(r, c));
        return cells;
    }

    TempDir m_dir;
    CShellServices m_savedServices;
    std::unique_ptr<CMorvelApp> m_pApp;
    CMorvelPMDoc* m_pDoc = nullptr;
    CMorvelPMView* m_pView = nullptr;
};
