// Helpers of the tests that drive the estimate grid as a window: a work folder made from the
// samples (forms, masters and the sample estimate) with its own settings file, the
// application started as the program starts, the sample estimate opened through File
// Open, and a user's keys, characters and clicks sent to the grid.
#pragma once

#include "app/CMorvelApp.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/CString.h"
#include "platform/base/Profile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QObject>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The columns of the sample estimation form.
enum SampleColumn {
    scName = 0,  // 名称 (T 6)
    scSpec,      // 規格
    scQty,       // 数量: 数値, ###,###.##, F(-3)
    scUnit,      // 単位 (T 1)
    scPrice,     // 単価: 数値, ###,###, F(-1)
    scAmount,    // 金額 = C*E: 計 A, D(-1), V 2
    scCostPrice, // 原価単価
    scCost,      // 原価金額 = C*G
    scClass,     // 分類
    scNote       // 備考
};

// The sample estimate's first rows: the kind heading, the large and the middle heading,
// the details of "直接仮設工事" and their middle subtotal.
enum SampleRow {
    srKind = 0,
    srLarge = 1,
    srMiddle = 2,
    srFirstDetail = 3, // 水盛遣方 128.5 m2 x 350
    srMiddleTotal = 7
};

// A copy of the sample work folder with a settings file that points at it. While it lives
// the program reads that settings file, takes its lock in the folder and plays no sound.
class CEstimateTestFolder {
public:
    CEstimateTestFolder();
    ~CEstimateTestFolder();
    CEstimateTestFolder(const CEstimateTestFolder&) = delete;
    CEstimateTestFolder& operator=(const CEstimateTestFolder&) = delete;

    std::string Native(const std::string& relative = "") const;
    CString System(const std::string& relative) const;
    CProfileFile& Profile() { return m_profile; }
    // The sample estimate in the folder's WORK folder.
    CString SampleEstimate() const;

private:
    void SetEnv(const char* name, const std::string& value);

    TempDir m_dir;
    CProfileFile m_profile;
    std::map<std::string, std::optional<std::string>> m_savedEnv;
};

// The application started on a test folder with the estimate window of the program; the
// main window and every document window are closed at the end.
class EstimateWindowTest : public ::testing::Test {
protected:
    EstimateWindowTest();
    ~EstimateWindowTest() override;

    // Settings to write before the program starts (they are read at start-up).
    virtual void WriteSettings(CProfileFile& /*profile*/) {}
    void SetUp() override;
    void TearDown() override;

    // Opens an estimate file as File Open does; the view of the new window.
    CMorvelEMView* OpenEstimate(const CString& path);
    // Opens the sample estimate and makes its first cell current.
    CMorvelEMView* OpenSample();

    // What a user does to the grid.
    void Key(UINT nVirtKey);
    void KeyUp(UINT nVirtKey);
    // Each byte of a code page 932 text as a typed character (to the window that has the
    // keyboard, as typing does).
    void Type(const CString& text);
    void TypeUtf8(const char* utf8) { Type(CString::FromUtf8(utf8)); }
    void Click(int nCol, int nRow);
    void DoubleClick(int nCol, int nRow);
    // The client point 3 pixels inside a cell's top-left corner.
    CPoint CellPoint(int nCol, int nRow) const;
    // Makes a cell current with a click (scrolling it into view first).
    void GoTo(int nCol, int nRow);
    // Runs a menu or tool-bar command on the grid as the framework routes it.
    void Command(UINT nID);
    // Lets queued messages and paints run.
    void Pump();

    std::string Utf8Cell(int nRow, int nCol) const { return m_pView->GetCellText(nRow, nCol).ToUtf8(); }
    std::string Cell(int nRow, int nCol) const { return m_pView->GetCellText(nRow, nCol).str(); }
    double Value(int nRow, int nCol) const;
    // The editor's text in UTF-8.
    std::string EditorText() const { return m_pView->GetCellEditText().ToUtf8(); }
    BOOL EditorVisible() const;
    BOOL IsModified() const { return m_pDoc != nullptr && m_pDoc->IsModified(); }
    // The estimate as long as its file can be: the sample's rows and empty ones after them,
    // with room in the grid after the last one.
    void FillToTheFileRowLimit();
    // The document as saved, with its used rows, current row and modified flag: a step that
    // changes nothing leaves it as it was.
    std::vector<BYTE> StoredState() const;
    // The bytes a save of the document writes (less what the save's recalculation changes).
    std::vector<BYTE> SavedBytes() const;

    std::unique_ptr<CEstimateTestFolder> m_pFolder;
    std::unique_ptr<CMorvelApp> m_pApp;
    CMorvelEMDoc* m_pDoc = nullptr;
    CMorvelEMView* m_pView = nullptr;

private:
    CShellServices m_savedServices;
};

// The sum of the amount column over the detail rows between two rows (both included).
double SumDetailAmounts(const CMorvelEMView& view, int nFirstRow, int nLastRow);

// What the grid has drawn: at every paint of the grid's window, for each cell in view that
// the paint covers, its row's kind, its subject number and its text as the view gives them
// then. That is what the cell shows until it is painted again.
class CDrawnCells : public QObject {
public:
    explicit CDrawnCells(CMorvelEMView& view);
    ~CDrawnCells() override;
    CDrawnCells(const CDrawnCells&) = delete;
    CDrawnCells& operator=(const CDrawnCells&) = delete;

    // The cells in view whose drawing is not what the view gives now, as
    // "row 8 column 0: drawn 2|2.|土工事 now 2|1.|土工事" (UTF-8).
    std::vector<std::string> StaleCells() const;

    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    // What a cell shows: its row's kind, its subject number and its text.
    CString Shown(int nRow, int nCol) const;
    // The cells in view, at least in part, within the grid's client area: first and last
    // row, first and last column.
    CRect CellsInView() const;

    CMorvelEMView& m_view;
    std::map<std::pair<int, int>, CString> m_drawn;
};
