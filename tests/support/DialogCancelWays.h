// The three ways a user leaves a dialog without its OK: its ｷｬﾝｾﾙ button clicked (checked to
// carry that text), Esc, and the window's close box. Each is an answer for CDialogAnswerer.
#pragma once

#include "tests/support/RealInput.h"

#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

inline std::vector<std::function<void(CDialog&)>> WaysToCancelADialog()
{
    return {
        [](CDialog& dlg) {
            CWnd* pCancel = dlg.GetDlgItem(IDCANCEL);
            ASSERT_NE(pCancel, nullptr);
            CString text;
            pCancel->GetWindowText(text);
            EXPECT_EQ(text.ToUtf8(), "ｷｬﾝｾﾙ");
            const QPoint centre = pCancel->GetWidget()->rect().center();
            RealInput::Drag(pCancel->GetWidget(), centre, centre);
        },
        [](CDialog& dlg) { PressDlgKey(dlg, VK_ESCAPE); },
        [](CDialog& dlg) {
            dlg.GetWidget()->close();
            QApplication::processEvents();
        },
    };
}
