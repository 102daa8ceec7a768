// Input that comes from the desktop rather than from messages: keys pressed on the grid's
// window, and Japanese text committed by the input method, in the grid and in the open
// editor. What lands in the cell is code page 932.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "app/CJumpBarWnd.h"
#include "grid/CTabWnd.h"
#include "platform/ui/core/Imm.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/frames/CToolBar.h"
#include "resources/ResourceIds.h"
#include "tests/support/RealInput.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>
#include <QWindow>

#include <new>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define MORVEL_TEST_XCB 1
#endif

// The toolkit's own entry for a key from the window system (what its test library uses): the
// key goes to the input method's filter and the shortcuts (the menu bar's letters) before any
// widget, as a key pressed on the desktop does.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* pWindow, QEvent::Type type, int nKey, Qt::KeyboardModifiers mods,
                                    const QString& text = QString(), bool bAutoRepeat = false,
                                    ushort nCount = 1);

namespace {

class CellEditInputMethod : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
        ASSERT_TRUE(m_pView->HasCellEdit());
    }

    QWidget* GridWidget() const { return m_pView->GetClientWidget(); }
    QWidget* EditorWidget() const { return m_pView->GetCellEdit().GetWidget(); }

    static void Commit(QWidget* pWidget, const char* utf8)
    {
        QInputMethodEvent event(QString(), {});
        event.setCommitString(QString::fromUtf8(utf8));
        QCoreApplication::sendEvent(pWidget, &event);
    }
    static void Compose(QWidget* pWidget, const char* utf8)
    {
        QInputMethodEvent event(QString::fromUtf8(utf8), {});
        QCoreApplication::sendEvent(pWidget, &event);
    }
    // A key as the desktop gives it: to the widget that has the keyboard, each event made
    // at the same place in memory as the one before (as the toolkit does for X11 events).
    static void KeyThroughFocus(int nKey, const QString& text = QString())
    {
        alignas(QKeyEvent) static unsigned char s_storage[sizeof(QKeyEvent)];
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QWidget* pFocus = QApplication::focusWidget();
            ASSERT_NE(pFocus, nullptr);
            auto* pEvent = new (s_storage) QKeyEvent(type, nKey, Qt::NoModifier, text);
            QCoreApplication::sendEvent(pFocus, pEvent);
            pEvent->~QKeyEvent();
        }
    }
    static void Press(QWidget* pWidget, int nKey, const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, nKey, Qt::NoModifier, text);
        QCoreApplication::sendEvent(pWidget, &press);
        QKeyEvent release(QEvent::KeyRelease, nKey, Qt::NoModifier, text);
        QCoreApplication::sendEvent(pWidget, &release);
    }

    // A cell's pixels in a grid, inside its lines and the cursor frame.
    static QRect Inside(const CMorvelView& view, int nCol, int nRow)
    {
        CRect rc;
        view.GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        return QRect(rc.left, rc.top, rc.Width(), rc.Height()).adjusted(4, 4, -4, -4);
    }
    static QPoint Centre(const CMorvelView& view, int nCol, int nRow)
    {
        return Inside(view, nCol, nRow).center();
    }
    // What a grid shows over a cell in windows of its own: the pre-edit, the blank beside
    // it, the editor.
    static int ShownOver(const CMorvelView& view, int nCol, int nRow)
    {
        QWidget* pGrid = view.GetClientWidget();
        int nShown = 0;
        for (QWidget* w : pGrid->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            nShown += w->isVisibleTo(pGrid) && w->geometry().intersects(Inside(view, nCol, nRow));
        return nShown;
    }
    // The dark pixels of an area of the grid as it shows on the screen.
    int Ink(const QRect& area) const
    {
        const QImage shown = GridWidget()->grab().toImage();
        int nDark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                nDark += qGray(shown.pixel(x, y)) < 128;
        return nDark;
    }
};

} // namespace

TEST_F(CellEditInputMethod, ACommitOnTheGridOpensTheEditorAndLandsInTheCellAsCp932)
{
    GoTo(scName, srFirstDetail);
    Commit(GridWidget(), "見積工事");
    ASSERT_TRUE(EditorVisible());
    EXPECT_EQ(EditorText(), "見積工事");
    Key(VK_RETURN);
    // The cell holds the code page 932 bytes of the text.
    const std::string expected = "\x8C\xA9\x90\xCF\x8D\x48\x8E\x96";
    EXPECT_EQ(Cell(srFirstDetail, scName), expected);
    EXPECT_EQ(m_pView->GetCellText(srFirstDetail, scName), "見積工事"_sj);
}

TEST_F(CellEditInputMethod, ACommitIntoTheOpenEditorIsInsertedWhereTheCaretIs)
{
    GoTo(scSpec, srFirstDetail);
    TypeUtf8("A");
    ASSERT_TRUE(EditorVisible());
    Commit(EditorWidget(), "型¥");
    EXPECT_EQ(m_pView->GetCellEditText().str(), "A\x8C\x5E\x5C");
    Key(VK_RETURN);
    // The yen sign of a Japanese keyboard is the byte 0x5C.
    EXPECT_EQ(Cell(srFirstDetail, scSpec), "A\x8C\x5E\x5C");
}

TEST_F(CellEditInputMethod, FullWidthDigitsCommittedIntoAQuantityAreStoredAsANumber)
{
    GoTo(scQty, srFirstDetail);
    Commit(GridWidget(), "２５");
    EXPECT_EQ(EditorText(), "２５");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "25.000000");
    EXPECT_EQ(Cell(srFirstDetail, scAmount), "8750.000000");
}

TEST_F(CellEditInputMethod, KeysPressedOnTheGridTypeIntoTheEditorAndEnterCommits)
{
    GoTo(scPrice, srFirstDetail);
    Press(GridWidget(), Qt::Key_4, "4");
    ASSERT_TRUE(EditorVisible());
    // The editor has the keyboard now: the next keys go to it.
    Press(EditorWidget(), Qt::Key_0, "0");
    Press(EditorWidget(), Qt::Key_0, "0");
    EXPECT_EQ(EditorText(), "400");
    Press(EditorWidget(), Qt::Key_Return, "\r");
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(Cell(srFirstDetail, scPrice), "400.000000");
    EXPECT_EQ(Cell(srFirstDetail, scAmount), "51400.000000"); // 128.5 x 400
    // Direction 1: the cursor went on to the right.
    EXPECT_EQ(m_pView->GetCurrentCol(), scAmount);
}

TEST_F(CellEditInputMethod, EscPressedInTheEditorDropsTheEdit)
{
    GoTo(scPrice, srFirstDetail);
    Press(GridWidget(), Qt::Key_9, "9");
    Press(EditorWidget(), Qt::Key_Escape, "\x1b");
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(Cell(srFirstDetail, scPrice), "350.000000");
    EXPECT_EQ(m_pView->GetEditState(), CMorvelEMView::editClosed);
}

TEST_F(CellEditInputMethod, ADoubleClickEndsAPendingCompositionOfTheGrid)
{
    GoTo(scName, srFirstDetail);
    EXPECT_FALSE(m_pView->HasImeComposition());
    Compose(GridWidget(), "みつ");
    EXPECT_TRUE(m_pView->HasImeComposition());
    DoubleClick(scName, srFirstDetail);
    EXPECT_FALSE(m_pView->HasImeComposition());
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ(EditorText(), "水盛遣方");
}

// Typing onto the grid with the input method: the pre-edit shows over the current cell,
// underlined, and the candidate list is placed at its cursor; the commit opens the editor.
TEST_F(CellEditInputMethod, APreEditOnTheGridShowsInTheCurrentCellWithTheCandidatesThere)
{
    GoTo(scName, srFirstDetail);
    CRect rcCell;
    m_pView->GetCellRangeRect(scName, srFirstDetail, scName, srFirstDetail, &rcCell);
    const QRect cell(rcCell.left, rcCell.top, rcCell.Width(), rcCell.Height());
    {
        QInputMethodEvent event(QString::fromUtf8("みつもり"), {{QInputMethodEvent::Cursor, 2, 1}});
        QCoreApplication::sendEvent(GridWidget(), &event);
    }
    QWidget* pShown = nullptr;
    for (QWidget* w : GridWidget()->findChildren<QWidget*>())
        if (w->isVisibleTo(GridWidget()) && w->geometry().topLeft() == cell.topLeft())
            pShown = w;
    ASSERT_NE(pShown, nullptr) << "the pre-edit shows at the cell";
    EXPECT_EQ(pShown->height(), cell.height());
    EXPECT_GE(pShown->width(), QFontMetrics(pShown->font()).horizontalAdvance(QString::fromUtf8("みつもり")));
    EXPECT_LT(pShown->width(), cell.width()) << "as wide as its text";
    // Dark text on the cell, and an underline row running under all four characters.
    const QImage picture = pShown->grab().toImage();
    int nUnderline = -1;
    for (int y = picture.height() - 1; y >= 0 && nUnderline < 0; --y) {
        int nDark = 0;
        for (int x = 0; x < picture.width(); ++x)
            nDark += qGray(picture.pixel(x, y)) < 96;
        if (nDark > QFontMetrics(pShown->font()).horizontalAdvance(QString::fromUtf8("みつもり")) * 9 / 10)
            nUnderline = y;
    }
    EXPECT_GE(nUnderline, 0) << "the pre-edit is underlined";
    const QRect cursor = GridWidget()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_TRUE(cell.contains(cursor.topLeft())) << "the candidate list opens at the cell";
    EXPECT_GT(cursor.left(), cell.left() + 4) << "after the two characters before the cursor";
    EXPECT_FALSE(EditorVisible());

    Commit(GridWidget(), "見積");
    EXPECT_FALSE(pShown->isVisible());
    ASSERT_TRUE(EditorVisible());
    EXPECT_EQ(EditorText(), "見積");
}

// A pre-edit over a filled cell: the cell shows the pre-edit alone, as typing replaces the
// cell, and its old text again when the composition is dropped.
TEST_F(CellEditInputMethod, APreEditOverAFilledCellShowsAloneInTheCell)
{
    GoTo(scName, srFirstDetail);
    ASSERT_EQ(m_pView->GetCellText(srFirstDetail, scName), "水盛遣方"_sj);
    CRect rcCell;
    m_pView->GetCellRangeRect(scName, srFirstDetail, scName, srFirstDetail, &rcCell);
    // Inside the cell, clear of its lines and the cursor frame.
    const QRect inside = Inside(*m_pView, scName, srFirstDetail);
    // The pre-edit window is as wide as one character: what lies right of it is the rest.
    Compose(GridWidget(), "こ");
    QWidget* pShown = nullptr;
    for (QWidget* w : GridWidget()->findChildren<QWidget*>())
        if (w->isVisibleTo(GridWidget()) && w->x() == rcCell.left && w->y() == rcCell.top)
            pShown = w;
    ASSERT_NE(pShown, nullptr);
    QRect rest = inside;
    rest.setLeft(pShown->geometry().right() + 1);
    ASSERT_GT(rest.width(), QFontMetrics(pShown->font()).horizontalAdvance(QString::fromUtf8("遣方")));
    QRect preedit = inside;
    preedit.setRight(pShown->geometry().right());
    EXPECT_GT(Ink(preedit), 20) << "the pre-edit shows";
    EXPECT_EQ(Ink(rest), 0) << "nothing of the old text beside it";

    Compose(GridWidget(), "");
    EXPECT_GT(Ink(rest), 20) << "the old text shows again without a composition";
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(m_pView->GetCellText(srFirstDetail, scName), "水盛遣方"_sj);
}

TEST_F(CellEditInputMethod, F7InTheOpenEditorRecalculatesAndTheEditStaysOpen)
{
    // A subtotal made wrong behind the grid's back: F7 recalculates everything.
    const double middleTotal = Value(srMiddleTotal, scAmount);
    m_pView->SetCellText("1", srMiddleTotal, scAmount, TRUE);
    GoTo(scNote, srFirstDetail);
    Press(GridWidget(), Qt::Key_A, "a");
    ASSERT_TRUE(EditorVisible());
    Press(EditorWidget(), Qt::Key_F7);
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal, scAmount), middleTotal);
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ(EditorText(), "a");
    Press(EditorWidget(), Qt::Key_Return, "\r");
    EXPECT_EQ(Cell(srFirstDetail, scNote), "a");
}

// Fails while the window layer takes a key event that the toolkit makes at the address of the
// previous one (already passed on to the editor's parent) for that same event and drops it:
// after the first Enter no key reaches the grid any more.
TEST_F(CellEditInputMethod, TypingGoesOnAfterEnterWhenKeysComeThroughTheKeyboardFocus)
{
    QWidget* pTop = m_pApp->m_pMainWnd->GetWidget();
    pTop->activateWindow();
    QApplication::setActiveWindow(pTop);
    GoTo(scQty, srFirstDetail);
    m_pView->SetFocus();
    KeyThroughFocus(Qt::Key_2, "2");
    KeyThroughFocus(Qt::Key_Return, "\r");
    EXPECT_EQ(Cell(srFirstDetail, scQty), "2.000000");
    ASSERT_EQ(m_pView->GetCurrentCol(), scUnit);
    KeyThroughFocus(Qt::Key_M, "m");
    KeyThroughFocus(Qt::Key_Return, "\r");
    EXPECT_EQ(Cell(srFirstDetail, scUnit), "m");
}

// A pre-edit in the last column, shown only in part at the grid's right edge: the pre-edit
// stands at the cell as wide as its text, over neither the cell beside it nor the scroll
// bar; a long one stays inside what the grid shows.
TEST_F(CellEditInputMethod, APreEditInAPartlyShownColumnStaysAtItsCellAndInsideTheGrid)
{
    const int nRow = 6;
    CRect rcNote, rcGrid;
    m_pView->GetCellRangeRect(scNote, nRow, scNote, nRow, &rcNote);
    m_pView->GetGridClientRect(&rcGrid);
    CRect rcMain;
    m_pApp->m_pMainWnd->GetWindowRect(&rcMain);
    m_pApp->m_pMainWnd->MoveWindow(0, 0, rcMain.Width() + rcNote.left + 40 - rcGrid.right, rcMain.Height());
    Pump();
    m_pView->GetCellRangeRect(scNote, nRow, scNote, nRow, &rcNote);
    m_pView->GetGridClientRect(&rcGrid);
    ASSERT_LT(rcNote.left, rcGrid.right);
    ASSERT_GT(rcNote.right, rcGrid.right);
    Click(scNote, nRow);
    ASSERT_EQ(m_pView->GetCurrentCol(), scNote);

    const auto shown = [&] {
        QWidget* pShown = nullptr;
        for (QWidget* w : GridWidget()->findChildren<QWidget*>())
            if (w->isVisibleTo(GridWidget()) && w->y() == rcNote.top && w->height() == rcNote.Height())
                pShown = w;
        return pShown;
    };
    Compose(GridWidget(), "mi");
    QWidget* pShown = shown();
    ASSERT_NE(pShown, nullptr);
    EXPECT_EQ(pShown->x(), rcNote.left);
    EXPECT_LE(pShown->width(), QFontMetrics(pShown->font()).horizontalAdvance(QStringLiteral("mi")) + 8);
    EXPECT_LE(pShown->x() + pShown->width(), rcGrid.right);
    const QRect cursor = GridWidget()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_GT(cursor.left(), rcNote.left);
    EXPECT_LT(cursor.left(), rcGrid.right);

    Compose(GridWidget(), "みつもりしょのないよう");
    pShown = shown();
    ASSERT_NE(pShown, nullptr);
    EXPECT_EQ(pShown->x() + pShown->width(), rcGrid.right);
    EXPECT_LT(pShown->x(), rcNote.left);
    // Nothing the composition shows (the blank over the rest of the cell included) reaches
    // the scroll bar.
    for (QWidget* w : GridWidget()->findChildren<QWidget*>()) {
        if (w->isVisibleTo(GridWidget()) && w->y() == rcNote.top) {
            EXPECT_LE(w->x() + w->width(), rcGrid.right);
        }
    }
}

// A composition belongs to the cell it shows over. A click on another cell first stores it
// there, as typing the text and clicking elsewhere does: the cell shows it, nothing of the
// composition stays over it, and the clicked cell keeps its text.
TEST_F(CellEditInputMethod, AClickOnAnotherCellStoresTheCompositionInTheCellItShowsOver)
{
    const int nRow = 10; // 埋戻し, 規格 "発生土"
    GoTo(scSpec, nRow);
    const std::string quantity = Cell(15, scQty);
    Compose(GridWidget(), "こうじ");
    ASSERT_EQ(ShownOver(*m_pView, scSpec, nRow), 2) << "the pre-edit and the blank beside it";

    RealInput::Click(GridWidget(), Centre(*m_pView, scQty, 15));
    EXPECT_EQ(m_pView->GetCellText(nRow, scSpec), "こうじ"_sj);
    EXPECT_EQ(Cell(15, scQty), quantity);
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), CPoint(scQty, 15));
    EXPECT_FALSE(m_pView->HasImeComposition());
    EXPECT_FALSE(EditorVisible());
    Pump();
    EXPECT_EQ(ShownOver(*m_pView, scSpec, nRow), 0);
    EXPECT_GT(Ink(Inside(*m_pView, scSpec, nRow)), 20) << "the cell draws its text";
}

// The wheel scrolls the grid under a composition: it is stored in its cell first, and
// nothing of it stays where the cell was, over the row that comes there.
TEST_F(CellEditInputMethod, AWheelTurnDuringACompositionStoresItAndBlanksNoOtherRow)
{
    const int nRow = 10;
    GoTo(scSpec, nRow);
    Compose(GridWidget(), "こ");
    const int nFirst = m_pView->GetFirstVisibleCell().y;
    RealInput::Wheel(GridWidget(), Centre(*m_pView, scSpec, nRow), -1);
    Pump();
    ASSERT_EQ(m_pView->GetFirstVisibleCell().y, nFirst + 1);
    EXPECT_EQ(m_pView->GetCellText(nRow, scSpec), "こ"_sj);
    EXPECT_EQ(m_pView->GetCellText(nRow + 1, scSpec), "運搬費共"_sj);
    // Row 11 is where row 10 was: all of its text shows, right of the first character too.
    EXPECT_EQ(ShownOver(*m_pView, scSpec, nRow + 1), 0);
    QRect rest = Inside(*m_pView, scSpec, nRow + 1);
    rest.setLeft(rest.left() + QFontMetrics(GridWidget()->font()).horizontalAdvance(QString::fromUtf8("運")) +
                 8);
    EXPECT_GT(Ink(rest), 20);
}

// A key that reaches the grid and a command that moves the cell store the composition in
// its cell before the cell moves.
TEST_F(CellEditInputMethod, AKeyOrACommandThatMovesTheCellStoresTheCompositionFirst)
{
    GoTo(scSpec, 10);
    Compose(GridWidget(), "こうじ");
    Key(VK_NEXT);
    EXPECT_EQ(m_pView->GetCellText(10, scSpec), "こうじ"_sj);
    EXPECT_NE(m_pView->GetCurrentRow(), 10);

    GoTo(scSpec, 11);
    Compose(GridWidget(), "みつ");
    Command(ID_JUMP_CTRL_DOWN);
    EXPECT_EQ(m_pView->GetCellText(11, scSpec), "みつ"_sj);
    EXPECT_NE(m_pView->GetCurrentRow(), 11);
    EXPECT_FALSE(m_pView->HasImeComposition());
}

// Two windows on the estimate. A click into the other window takes the keyboard from a
// composition: it is stored in its cell, shown in both windows, and the keyboard stays in
// the window clicked. The desktop's input method may hand the pre-edit over itself once
// the keyboard has left: it is stored as well, once, and takes the keyboard back from
// nobody.
TEST_F(CellEditInputMethod, AClickIntoASecondWindowStoresTheCompositionOfTheFirst)
{
    CMorvelEMView* pFirst = m_pView;
    Command(ID_WINDOW_NEW);
    CMorvelEMView* pSecond = nullptr;
    POSITION pos = m_pDoc->GetFirstViewPosition();
    while (pos != nullptr) {
        auto* pGrid = dynamic_cast<CMorvelEMView*>(m_pDoc->GetNextView(pos));
        if (pGrid != nullptr && pGrid != pFirst)
            pSecond = pGrid;
    }
    ASSERT_NE(pSecond, nullptr);
    const std::string quantity = Cell(15, scQty);

    GoTo(scSpec, 10);
    Compose(pFirst->GetClientWidget(), "こうじ");
    RealInput::Click(pSecond->GetClientWidget(), Centre(*pSecond, scQty, 15));
    Pump();
    EXPECT_EQ(CWnd::GetFocus(), pSecond);
    EXPECT_EQ(pSecond->GetCellText(10, scSpec), "こうじ"_sj);
    EXPECT_EQ(Cell(15, scQty), quantity);
    EXPECT_EQ(ShownOver(*pFirst, scSpec, 10), 0);
    EXPECT_FALSE(pFirst->HasImeComposition());

    // The second window composes; the keyboard goes back to the first, and the input
    // method commits what it had to the window it was typed into.
    Compose(pSecond->GetClientWidget(), "みつ");
    pFirst->SetFocus();
    Commit(pSecond->GetClientWidget(), "みつ");
    Pump();
    EXPECT_EQ(CWnd::GetFocus(), pFirst);
    EXPECT_EQ(pFirst->GetCellText(15, scQty), "みつ"_sj);
    EXPECT_EQ(ShownOver(*pSecond, scQty, 15), 0);
}

// fcitx5 with Mozc lets a menu key through while it composes and keeps its pre-edit: Alt+E
// opens 編集 before the grid hears of the key. The composition is committed to its cell
// first and shows in the cell's editor, whatever the menu does; Esc closes the menu and the
// text is still there for Enter. Fails while the menu opens over a composition that hides
// and goes into the cell only at a later click (or is lost to Esc).
TEST_F(CellEditInputMethod, AMenuKeyDuringACompositionCommitsItToItsCellFirst)
{
    QWidget* pTop = m_pApp->m_pMainWnd->GetWidget();
    pTop->activateWindow();
    QApplication::setActiveWindow(pTop);
    QWindow* pWindow = pTop->windowHandle();
    ASSERT_NE(pWindow, nullptr);
    const int nRow = 10; // 埋戻し, 規格 "発生土"
    GoTo(scSpec, nRow);
    m_pView->SetFocus();
    Pump();
    Compose(GridWidget(), "こうじ");
    ASSERT_TRUE(m_pView->HasImeComposition());

    qt_handleKeyEvent(pWindow, QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
    qt_handleKeyEvent(pWindow, QEvent::KeyPress, Qt::Key_E, Qt::AltModifier, QStringLiteral("e"));
    Pump();
    auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(pMenu, nullptr) << "Alt+E opens 編集";
    EXPECT_FALSE(m_pView->HasImeComposition());
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ(EditorText(), "こうじ");
    EXPECT_EQ(ShownOver(*m_pView, scSpec, nRow), 1) << "the editor alone, no hidden pre-edit";

    if (pMenu != nullptr)
        pMenu->close();
    qt_handleKeyEvent(pWindow, QEvent::KeyRelease, Qt::Key_E, Qt::AltModifier, QStringLiteral("e"));
    qt_handleKeyEvent(pWindow, QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    Pump();
    EXPECT_EQ(EditorText(), "こうじ");
    Key(VK_RETURN);
    EXPECT_EQ(m_pView->GetCellText(nRow, scSpec), "こうじ"_sj);
    EXPECT_FALSE(m_pView->HasImeComposition());
}

// The page tabs and the jump buttons beside the grid act on the grid and have no keys of
// their own. A click on one stores a composition in the cell it shows over before the
// control acts, shown at once, and the keyboard stays with the grid: Down then moves its
// cell. Fails while a click on the tab strip or the jump bar takes the keyboard: the
// composition hides and goes into its cell only at a later click, and keys typed after the
// click reach nothing.
TEST_F(CellEditInputMethod, AClickOnAPageTabOrAJumpButtonStoresTheCompositionAndKeepsTheKeyboard)
{
    QWidget* pTop = m_pApp->m_pMainWnd->GetWidget();
    pTop->activateWindow();
    QApplication::setActiveWindow(pTop);
    const int nRow = 6; // 規格 "枠組 W900"
    GoTo(scSpec, nRow);
    m_pView->SetFocus();
    Pump();
    Compose(GridWidget(), "こうじ");
    ASSERT_TRUE(m_pView->HasImeComposition());

    CTabWnd* pTabs = m_pView->GetTabWnd();
    ASSERT_NE(pTabs, nullptr);
    const auto clickTab = [&](int nTab) {
        const CRect rc = pTabs->GetTabRect(nTab);
        RealInput::ClickOnScreen(pTabs->GetClientWidget(), QPoint(rc.CenterPoint().x, rc.CenterPoint().y));
        Pump();
    };
    clickTab(1); // 集計表
    EXPECT_FALSE(m_pView->HasImeComposition());
    EXPECT_EQ(CWnd::GetFocus(), m_pView);
    clickTab(0); // 見積編集
    EXPECT_EQ(CWnd::GetFocus(), m_pView);
    EXPECT_EQ(m_pView->GetCellText(nRow, scSpec), "こうじ"_sj);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(ShownOver(*m_pView, scSpec, nRow), 0);
    const int nCurrent = m_pView->GetCurrentRow();
    KeyThroughFocus(Qt::Key_Down);
    EXPECT_EQ(m_pView->GetCurrentRow(), nCurrent + 1) << "the keys go to the grid";

    auto* pJump = dynamic_cast<CJumpBarWnd*>(m_pView->GetJumpBar());
    ASSERT_NE(pJump, nullptr);
    CToolBar* pButtons = pJump->GetToolBar();
    const int nLastRow = pButtons->CommandToIndex(ID_JUMP_LAST_ROW);
    ASSERT_GE(nLastRow, 0);
    CRect rcButton;
    pButtons->GetItemRect(nLastRow, &rcButton);
    const QPoint at(rcButton.CenterPoint().x, rcButton.CenterPoint().y);
    QWidget* pButton = pButtons->GetWidget()->childAt(at);
    ASSERT_NE(pButton, nullptr);
    GoTo(scSpec, 10);
    Compose(GridWidget(), "みつ");
    const int nFirstShown = m_pView->GetFirstVisibleCell().y;
    RealInput::ClickOnScreen(pButton, pButton->mapFrom(pButtons->GetWidget(), at));
    Pump();
    EXPECT_EQ(m_pView->GetCellText(10, scSpec), "みつ"_sj);
    EXPECT_GT(m_pView->GetFirstVisibleCell().y, nFirstShown) << "the grid shows its last rows";
    EXPECT_EQ(CWnd::GetFocus(), m_pView);
    EXPECT_FALSE(m_pView->HasImeComposition());
}

// F10 opens the menu bar, its first menu, as in the desktop's programs; a composition is
// committed to its cell first and the grid's cell stays where it was. Fails while F10
// reaches the grid as a key and opens nothing.
TEST_F(CellEditInputMethod, F10OpensTheMenuBarAfterCommittingTheComposition)
{
    QWidget* pTop = m_pApp->m_pMainWnd->GetWidget();
    pTop->activateWindow();
    QApplication::setActiveWindow(pTop);
    QWindow* pWindow = pTop->windowHandle();
    ASSERT_NE(pWindow, nullptr);
    const int nRow = 10;
    GoTo(scSpec, nRow);
    m_pView->SetFocus();
    Pump();
    Compose(GridWidget(), "こうじ");

    qt_handleKeyEvent(pWindow, QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier);
    Pump();
    auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(pMenu, nullptr) << "F10 opens the first menu";
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), CPoint(scSpec, nRow));
    EXPECT_FALSE(m_pView->HasImeComposition());
    EXPECT_EQ(EditorText(), "こうじ");
    if (pMenu != nullptr)
        pMenu->close();
    qt_handleKeyEvent(pWindow, QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier);
    Pump();
    Key(VK_RETURN);
    EXPECT_EQ(m_pView->GetCellText(nRow, scSpec), "こうじ"_sj);
}

// An input method that keeps Alt with a letter for itself while it composes (Mozc commits
// its pre-edit with it, and the key goes no further), and lets it through otherwise. The
// key as the X server reports it reaches the program before that input method: the first
// Alt+E opens 編集, the composition in its cell's editor. Fails while the composition is
// still there when the key reaches the input method, which then keeps it.
TEST_F(CellEditInputMethod, AltWithALetterOpensTheMenuAtOnceWhereTheInputMethodKeepsItWhileComposing)
{
#if defined(MORVEL_TEST_XCB)
    QWidget* pTop = m_pApp->m_pMainWnd->GetWidget();
    pTop->activateWindow();
    QApplication::setActiveWindow(pTop);
    QWindow* pWindow = pTop->windowHandle();
    ASSERT_NE(pWindow, nullptr);
    GoTo(scSpec, 10);
    m_pView->SetFocus();
    Pump();
    Compose(GridWidget(), "こうじ");

    qt_handleKeyEvent(pWindow, QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
    xcb_key_press_event_t press{};
    press.response_type = XCB_KEY_PRESS;
    press.detail = 26; // E on a PC keyboard
    press.state = XCB_MOD_MASK_1;
    qintptr nResult = 0;
    QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &press, &nResult);
    // The input method's turn.
    if (!m_pView->HasImeComposition())
        qt_handleKeyEvent(pWindow, QEvent::KeyPress, Qt::Key_E, Qt::AltModifier, QStringLiteral("e"));
    Pump();
    auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(pMenu, nullptr) << "the first Alt+E opens 編集";
    EXPECT_EQ(EditorText(), "こうじ");
    if (pMenu != nullptr)
        pMenu->close();
    qt_handleKeyEvent(pWindow, QEvent::KeyRelease, Qt::Key_E, Qt::AltModifier, QStringLiteral("e"));
    qt_handleKeyEvent(pWindow, QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    Pump();
    Key(VK_RETURN);
    EXPECT_EQ(m_pView->GetCellText(10, scSpec), "こうじ"_sj);
#else
    GTEST_SKIP() << "built without the X client library";
#endif
}
