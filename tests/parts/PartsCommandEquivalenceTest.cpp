// Every figure and every undo right after every command of the parts list: a random run of
// user commands through the real window (numbers, words and nothing typed; cells and rows
// cut, copied and pasted; a block tiled, a whole column pasted; rows inserted, deleted and
// cleared; the sort, replace all, the fixed-rate change, a unit picked, a range total placed,
// rows read from a CSV file; undo and redo), under the sample's form and under forms with a
// second calculated column. After each command the list as saved, opened again and worked
// out row by row is the list the window holds, cell for cell. A command that changed the
// saved list is undone to the bytes before it and redone to the bytes after it; one that
// changed nothing recorded nothing; an undo and a redo of the user's give the bytes before
// and after the last command.
#include "tests/parts/PartsWindowFixture.h"

#include "estimate_tools/CFindReplaceDialogs.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateEditIds.h"
#include "resources/EstimateIoIds.h"
#include "tests/estimate_tools/EstimateIoTestSupport.h"
#include "tests/parts/PartsTestSupport.h"
#include "tests/support/RealInput.h"

#include <ostream>
#include <string>
#include <vector>

namespace {

enum { colName = 0, colSpec = 1, colQty = 2, colUnit = 3, colPrice = 4, colAmount = 5, colNote = 6 };

// The sample's form, with 備考 calculated by the formula given (none: a text column).
struct CPartsForm {
    const char* pszNoteFormula;
};

// The form as a failure names it.
void PrintTo(const CPartsForm& form, std::ostream* pOut)
{
    *pOut << (form.pszNoteFormula != nullptr ? std::string("備考 = ") + form.pszNoteFormula : "備考 a text");
}

class PartsCommandEquivalence : public PartsWindowTest, public ::testing::WithParamInterface<CPartsForm> {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        RegisterEstimateTools();
        ASSERT_NE(nullptr, OpenSample());
        if (GetParam().pszNoteFormula != nullptr) {
            m_pDoc->m_form.GetItem(colNote, 1) = CString::FromUtf8("計算");
            m_pDoc->m_form.GetItem(colNote, 3) = "###,###.#";
            m_pDoc->m_form.GetItem(colNote, 4) = GetParam().pszNoteFormula;
            m_pDoc->m_form.GetItem(colNote, 5) = "F(-2)";
            for (int r = 0; r < m_pDoc->GetRowsInUse(); ++r)
                m_pView->CalcRow(r, 0);
        }
        m_pView->SetFocus();
        Pump();
    }
    void Select(int nMode, const CRect& rc)
    {
        m_pView->SetCurrentCell(rc.left, rc.top);
        m_pView->SetSelection(nMode, rc);
    }
    void TypeInto(int nCol, int nRow, const std::string& text)
    {
        Click(nCol, nRow);
        Type(text.c_str());
        if (m_pView->GetEditState() == CMorvelPMView::editOpen)
            EditorKey(VK_RETURN);
    }
    // The cell's text in the editor (F2) replaced by a text (code page 932, as the input
    // method hands it over), and confirmed.
    void EditCell(int nCol, int nRow, const std::string& text)
    {
        Click(nCol, nRow);
        Key(VK_F2);
        if (CGridCellEdit* pEdit = m_pView->GetCellEdit(); pEdit != nullptr && pEdit->IsWindowVisible()) {
            pEdit->SetSel(0, -1);
            pEdit->ReplaceSel(CString(text.c_str()), FALSE);
            EditorKey(VK_RETURN);
        }
    }

    // The list as its file holds it.
    std::vector<BYTE> Stored() const
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            m_pDoc->Serialize(ar);
            ar.Close();
        }
        return file.GetData();
    }
    static std::vector<std::string> Cells(const CPartsModel& model)
    {
        std::vector<std::string> cells{std::to_string(model.GetRowsInUse())};
        for (int r = 0; r < model.GetRowsInUse(); ++r)
            for (int c = 0; c < model.GetColumnCount(); ++c)
                cells.push_back(model.GetCellText(r, c).ToUtf8());
        return cells;
    }
    // The list of the bytes opened again and every row worked out.
    static std::vector<std::string> WorkedOut(const std::vector<BYTE>& bytes)
    {
        OpenedParts copy;
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        {
            CArchive ar(&file, CArchive::load);
            copy.doc->Serialize(ar);
            ar.Close();
        }
        CPartsModel& model = copy.doc->Model();
        for (int r = 0; r < model.GetRowsInUse(); ++r)
            model.CalcRow(r, 0);
        return Cells(model);
    }
    // The window's list against the file of it opened and worked out: the first cell that
    // differs.
    bool ExpectWorkedOut(const std::string& what)
    {
        const std::vector<std::string> shown = Cells(m_pDoc->Model());
        const std::vector<std::string> full = WorkedOut(Stored());
        if (shown == full)
            return true;
        const int nColumns = m_pDoc->Model().GetColumnCount();
        for (size_t i = 0; i < shown.size() && i < full.size(); ++i) {
            if (shown[i] != full[i]) {
                ADD_FAILURE() << what << ": row " << (i - 1) / nColumns << " column " << (i - 1) % nColumns
                              << " shows \"" << shown[i] << "\", worked out \"" << full[i] << "\"";
                return false;
            }
        }
        ADD_FAILURE() << what << ": " << shown.size() << " cells shown, " << full.size() << " worked out";
        return false;
    }
    const CPartsUndoStore& Store() const { return m_pDoc->Model().Undo(); }
};

} // namespace

TEST_P(PartsCommandEquivalence, EveryCommandLeavesTheFiguresOfTheListWorkedOutAndIsUndoneExactly)
{
    const std::string csvPath = m_dir.NativeFile("WORK/rows.csv");
    const std::string csv = Sj("鉄筋,2.5,400\r\n番線,,120\r\n釘,一式,\r\n");
    WriteNativeFile(csvPath, std::vector<uint8_t>(csv.begin(), csv.end()));
    unsigned state =
        11u + static_cast<unsigned>(GetParam().pszNoteFormula != nullptr ? GetParam().pszNoteFormula[0] : 0);
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    auto anyRow = [&] { return static_cast<int>(next(static_cast<unsigned>(m_pDoc->GetRowsInUse() + 2))); };
    auto anyCol = [&] { return static_cast<int>(next(7)); };
    auto number = [&]() -> std::string {
        const char* const texts[] = {"12.5", "3", "1,250", "48", "0", "-2", "7.25"};
        return texts[next(7)];
    };

    // The last command recorded: the list's bytes before and after it.
    std::vector<BYTE> lastBefore, lastAfter;
    int nFailures = 0;
    const unsigned nCommands = 20;
    std::vector<int> changes(nCommands, 0);
    const int nSteps = 150;
    for (int step = 0; step < nSteps && nFailures < 3; ++step) {
        const unsigned nOp = next(nCommands);
        const std::string what = "step " + std::to_string(step) + " op " + std::to_string(nOp);
        MessageBoxRecorder boxes;
        const std::vector<BYTE> before = Stored();
        // Whether a step was recorded is told by the store's count of records: a new record
        // may stand where the one it replaced stood.
        const unsigned long long nRecordsBefore = Store().GetRecordCount();
        const bool bRedoBefore = Store().CanRedo();
        // Copies withdraw the undo of the command before them.
        bool bCopies = false;
        if (nOp <= 2) {
            TypeInto(next(2) != 0 ? colQty : colPrice, anyRow(), number());
        } else if (nOp == 3) {
            // A word or a full-width number where the input method puts it, or a letter typed.
            const char* const texts[] = {"一式", "０．５", "１２"};
            if (next(3) != 0)
                EditCell(anyCol(), anyRow(), Sj(texts[next(3)]));
            else
                TypeInto(anyCol(), anyRow(), "x");
        } else if (nOp == 4) {
            EditCell(anyCol(), static_cast<int>(next(static_cast<unsigned>(m_pDoc->GetRowsInUse()))), "");
        } else if (nOp == 5) {
            const int r = anyRow(), c = anyCol();
            Select(CMorvelView::selectBlock,
                   CRect(c, r, std::min(6, c + static_cast<int>(next(3))), r + static_cast<int>(next(3))));
            Keys(Qt::ControlModifier, Qt::Key_X);
        } else if (nOp == 6 || nOp == 7) {
            // A block copied, pasted at a cell or tiled over a larger block.
            const int r = anyRow(), c = anyCol();
            Select(CMorvelView::selectBlock,
                   CRect(c, r, std::min(6, c + static_cast<int>(next(2))), r + static_cast<int>(next(2))));
            Keys(Qt::ControlModifier, Qt::Key_C);
            bCopies = true;
            const int rTo = anyRow(), cTo = anyCol();
            if (nOp == 6)
                Click(cTo, rTo);
            else
                Select(CMorvelView::selectBlock, CRect(cTo, rTo, 6, rTo + static_cast<int>(next(4))));
            Keys(Qt::ControlModifier, Qt::Key_V);
        } else if (nOp == 8) {
            // Rows copied, pasted as rows at a cell.
            const int r = anyRow();
            Select(CMorvelView::selectRows, CRect(0, r, 6, r + static_cast<int>(next(3))));
            Keys(Qt::ControlModifier, Qt::Key_C);
            bCopies = true;
            Click(colName, anyRow());
            Keys(Qt::ControlModifier, Qt::Key_V);
        } else if (nOp == 9) {
            const int r = anyRow();
            Select(CMorvelView::selectRows, CRect(0, r, 6, r + static_cast<int>(next(3))));
            Keys(Qt::ControlModifier, Qt::Key_X);
        } else if (nOp == 10) {
            Click(colName, anyRow());
            const UINT commands[] = {ID_ROW_INSERT_CTX, ID_ROW_DELETE_CTX, ID_ROW_CLEAR_CTX};
            Command(commands[next(3)]);
        } else if (nOp == 11) {
            ClickTitle(anyCol());
            CDialogAnswerer answerer;
            const bool bAscending = next(2) != 0;
            answerer.AnswerDialog(IDD_SORT, [bAscending](CDialog& dlg) {
                ClickDlgButton(dlg, bAscending ? IDC_SORT_ASCENDING : IDC_SORT_DESCENDING);
            });
            Command(ID_SORT);
        } else if (nOp == 12) {
            // Replace all: one digit for another, also a digit for nothing.
            Click(colName, 0);
            Keys(Qt::ControlModifier, Qt::Key_H);
            auto* pDlg = static_cast<CReplaceDialog*>(m_pView->GetReplaceDialog());
            ASSERT_NE(nullptr, pDlg);
            const std::string from = std::to_string(next(10));
            const std::string to = next(4) == 0 ? std::string() : std::to_string(next(10));
            TypeDlgItemText(*pDlg, IDC_FIND_TEXT, CString(from.c_str()));
            TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, CString(to.c_str()));
            ClickDlgButton(*pDlg, IDC_REPLACE_ALL);
            ClickDlgButton(*pDlg, IDCANCEL);
        } else if (nOp == 13) {
            const char* const formulas[] = {"*1.1", "+100", "/3", "-5"};
            const CString strFormula = formulas[next(4)];
            CShellServices::Get().runRateChangeDialog = [strFormula](CWnd*, const CPartFormFile&,
                                                                     CMorvelPMView::CRateChangeRequest& r) {
                r = CMorvelPMView::CRateChangeRequest();
                r.strFormula = strFormula;
                return TRUE;
            };
            ClickTitle(next(2) != 0 ? colQty : colPrice);
            Command(ID_RATE_CHANGE);
        } else if (nOp == 14) {
            Click(colUnit, anyRow());
            Command(ID_UNIT);
            if (auto* pPick = dynamic_cast<CUnitPickDialog*>(m_pView->GetUnitPick())) {
                const int nItem = static_cast<int>(next(3));
                pPick->List().SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                ClickDlgButton(*pPick, IDOK);
            }
        } else if (nOp == 15) {
            // A range total of prices placed into a quantity or a price.
            const int r = static_cast<int>(next(static_cast<unsigned>(m_pDoc->GetRowsInUse())));
            Click(colPrice, r);
            Select(CMorvelView::selectBlock, CRect(colPrice, r, colPrice, r + static_cast<int>(next(3))));
            Command(ID_RANGE_ADD);
            Command(ID_RANGE_SET);
            Click(next(2) != 0 ? colQty : colPrice, anyRow());
            Command(ID_RANGE_CLEAR);
        } else if (nOp == 16) {
            Click(colName, anyRow());
            CDialogAnswerer answerer;
            answerer.AnswerFileDialog(SystemPathFromNative(csvPath));
            answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
                for (int nCol : {colName, colQty, colPrice})
                    DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, nCol);
                ClickDlgButton(dlg, IDOK);
            });
            for (int nSource : {1, 2, 3})
                answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [nSource](CDialog& dlg) {
                    DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, nSource);
                });
            Command(ID_TEXT_INPUT);
        } else if (nOp == 17) {
            // A whole column copied onto another.
            ClickTitle(anyCol());
            Keys(Qt::ControlModifier, Qt::Key_C);
            bCopies = true;
            ClickTitle(anyCol());
            Keys(Qt::ControlModifier, Qt::Key_V);
        } else {
            // An undo, or a redo: the list before or after the last command recorded.
            const bool bRedo = nOp == 19;
            const bool bCan = bRedo ? Store().CanRedo() : Store().CanUndo();
            Keys(Qt::ControlModifier, bRedo ? Qt::Key_Y : Qt::Key_Z);
            if (bCan && Stored() != (bRedo ? lastAfter : lastBefore)) {
                ++nFailures;
                ADD_FAILURE() << what << (bRedo ? ": the redo" : ": the undo")
                              << " gives other bytes than the list had";
            }
            if (!ExpectWorkedOut(what))
                ++nFailures;
            continue;
        }
        Pump();
        const std::vector<BYTE> after = Stored();
        changes[nOp] += after != before ? 1 : 0;
        if (!ExpectWorkedOut(what))
            ++nFailures;
        if (after == before) {
            // Nothing changed: nothing recorded, and the redo stays. (A copy withdraws the
            // record before it.)
            const bool bKept = Store().GetRecordCount() == nRecordsBefore && Store().CanRedo() == bRedoBefore;
            if (!bCopies && !bKept) {
                ++nFailures;
                ADD_FAILURE() << what << ": a command that changed nothing "
                              << (Store().GetRecordCount() != nRecordsBefore ? "recorded a step"
                                                                             : "dropped the redo");
            }
            continue;
        }
        if (!Store().CanUndo()) {
            ++nFailures;
            ADD_FAILURE() << what << ": the change cannot be undone";
            continue;
        }
        Keys(Qt::ControlModifier, Qt::Key_Z);
        if (Stored() != before) {
            ++nFailures;
            ADD_FAILURE() << what << ": the undo gives other bytes than the list had";
        }
        Keys(Qt::ControlModifier, Qt::Key_Y);
        if (Stored() != after) {
            ++nFailures;
            ADD_FAILURE() << what << ": the redo gives other bytes than the command left";
        }
        lastBefore = before;
        lastAfter = after;
        // Kept within a screen or two of rows.
        if (m_pDoc->GetRowsInUse() > 40) {
            Select(CMorvelView::selectRows, CRect(0, 30, 6, m_pDoc->GetRowsInUse() - 1));
            Keys(Qt::ControlModifier, Qt::Key_X);
            lastBefore = after;
            lastAfter = Stored();
        }
    }
    for (unsigned nOp = 0; nOp < 18; ++nOp)
        EXPECT_GT(changes[nOp], 0) << "command " << nOp << " never changed the list";
}

INSTANTIATE_TEST_SUITE_P(Forms, PartsCommandEquivalence,
                         ::testing::Values(CPartsForm{nullptr}, CPartsForm{"F/2"}, CPartsForm{"C+E"}));
