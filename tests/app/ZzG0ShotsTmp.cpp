#include "app/CAutoScrollWnd.h"
#include "app/CCheckMarkListBox.h"
#include "app/CColourButton.h"
#include "app/CGridCellEdit.h"
#include "app/CJumpBarWnd.h"
#include "app/CListCtrlEx.h"
#include "platform/ui/CWnd_p.h"
#include "platform/ui/WinApi.h"
#include "SharedControlsTestSupport.h"
#include <QAbstractScrollArea>
#include <gtest/gtest.h>
using namespace commonctl;
TEST(ZzG0Shots, Save)
{
    CNotifyParent parent;
    ASSERT_TRUE(parent.CreateTopLevel(640, 420));
    CListCtrlEx list;
    list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 330, 160), &parent, 1);
    list.InsertColumn(0, "名称"_sj, LVCFMT_LEFT, 120);
    list.InsertColumn(1, "数量"_sj, LVCFMT_RIGHT, 80);
    list.InsertColumn(2, "摘要"_sj, LVCFMT_LEFT, 60);
    const char* names[] = {"ｺﾝｸﾘｰﾄ打設工事（基礎部分）", "鉄筋", "型枠"};
    for (int i = 0; i < 3; ++i) {
        list.InsertItem(i, CString::FromUtf8(names[i]));
        list.SetItemText(i, 1, i == 1 ? "123456789012345" : "12");
        list.SetItemText(i, 2, "ｍ３"_sj);
    }
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    CCheckMarkListBox check;
    check.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, CRect(340, 10, 560, 160), &parent, 2);
    check.AddItem("番号"_sj); check.AddItem("名称"_sj); check.AddItem("単価"_sj); check.AddItem("金額"_sj);
    check.SetCheck(0, TRUE); check.SetCheck(3, TRUE); check.SetEnable(2, FALSE); check.SetCurSel(1);
    CColourButton btn;
    btn.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 180, 60, 204), &parent, 3);
    btn.SetColour(RGB(0, 128, 255));
    CJumpBarWnd jump;
    jump.Create(&parent, CRect(10, 230, 90, 248), 4);
    CGridCellEdit edit;
    edit.CreateInView(&parent, 309);
    edit.MoveWindow(100, 180, 120, 22);
    edit.SetBackgroundColor(FALSE, RGB(255, 155, 255));
    edit.SetWindowText("１，２３４"_sj);
    edit.ShowWindow(SW_SHOW);
    list.SetFocus();
    PumpEvents(20);
    parent.GetWidget()->grab().save("/tmp/g0-controls.png");
    // the badge
    CRecorderWnd view;
    view.CreateTopLevel(200, 200, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL);
    PumpEvents();
    POINT pt{100, 100}; view.ClientToScreen(&pt); ::SetCursorPos(pt.x, pt.y);
    (new CAutoScrollWnd)->StartAutoScroll(&view);
    CAutoScrollWnd* p = CAutoScrollWnd::GetActive();
    ASSERT_NE(p, nullptr);
    p->Invalidate(); p->UpdateWindow();
    AfxGetBackBuffer(p->m_hWnd)->scaled(120, 120).save("/tmp/g0-badge.png");
    p->DestroyWindow();
    view.DestroyWindow();
    jump.DestroyWindow(); edit.DestroyWindow(); btn.DestroyWindow(); check.DestroyWindow(); list.DestroyWindow();
    parent.DestroyWindow();
}
#include "platform/ui/Resources_p.h"
#include "resources/SharedControlResources.h"
#include <QPainter>
TEST(ZzG0Shots, Cursors)
{
    RegisterSharedControlResources();
    QImage sheet(6 * 34, 34, QImage::Format_ARGB32);
    sheet.fill(qRgb(0, 160, 0));
    QPainter p(&sheet);
    for (int i = 0; i < 5; ++i) {
        QImage img;
        ASSERT_TRUE(AfxLoadResourceImage(FindCursorResource(130 + i)->image, img));
        p.drawImage(i * 34 + 1, 1, img);
    }
    QImage bar;
    ASSERT_TRUE(AfxLoadResourceImage(FindToolBarResource(197)->image, bar));
    p.drawImage(5 * 34 + 1, 1, bar.copy(0, 0, 18, 9));
    p.drawImage(5 * 34 + 1, 12, bar.copy(18, 0, 18, 9));
    p.end();
    sheet.scaled(sheet.width() * 3, sheet.height() * 3).save("/tmp/g0-cursors.png");
}
