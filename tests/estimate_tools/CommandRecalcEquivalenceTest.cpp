// Every figure right after every command: a random run of user commands on the sample
// estimate through the real window (typing, rows inserted, deleted, copied, cut and pasted,
// rows pasted from another estimate, headings picked from the subject lists, kind headings,
// totals, discounts and tax rows, replace all, sort, page feed and page insert, subjects
// dragged in the subject tree and from another estimate's tree, rows read from a CSV file,
// numbers typed, read and replaced in full-width digits, with separators, "円" or "▲",
// undo and redo, the non-calculated mark on any rows, a detail row's cells pasted onto
// totals and headings, row clear, item clear, 定率変更, the estimate saved and opened again
// under another tax rate), at the default recalculation level, under several tax settings, the
// sample as saved (its figures those of another tax setting) and with a form whose total
// rows work out a column they do not add up. After each command the grid is held against
// the same rows recalculated in full (F7): every cell and kind the same, the status bar's
// amount and the subject tree's labels the same; and every cell in view, with its subject
// number, is drawn as it stands.
// The same commands at every recalculation level, without F7 (the figures at levels 1 and 2
// stay as far from a full recalculation as the commands leave them): each one taken back
// gives exactly the bytes a save wrote before it, and done again exactly those after it.
// tests/engine/estimate/RecalcEquivalenceTest.cpp holds the quick recalculations themselves
// against the reference ways, in the engine's own test program.
#include "tests/estimate_tools/EstimateIoTestSupport.h"
#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "app/CMainFrame.h"
#include "app/CMorvelSettings.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CFindReplaceDialogs.h"
#include "estimate_tools/CMorvelEMTreeView.h"
#include "estimate_tools/CPickDialogs.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CStatusBar.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateDialogsIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/EstimateIoIds.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct CRecalcSettings {
    const char* pszTax;
    const char* pszRoundMode;
    bool bVerticalTotal;
    const char* pszAdjustPage;
    // The sample's 原価金額 made half the amount, on every row and total row, added up by
    // no total.
    bool bHalfCost;
    const char* pszLevel = "3"; // "ReCalcSetting" / "Level"
    unsigned nSeed = 0;         // added to the random commands' start
};

// The settings as a failure names them.
void PrintTo(const CRecalcSettings& settings, std::ostream* pOut)
{
    *pOut << "tax " << settings.pszTax << ", rounding " << settings.pszRoundMode
          << (settings.bVerticalTotal ? ", vertical total" : "") << ", page adjust " << settings.pszAdjustPage
          << (settings.bHalfCost ? ", half cost" : "") << ", level " << settings.pszLevel;
    if (settings.nSeed != 0)
        *pOut << ", seed " << settings.nSeed;
}

// Reads a text of an estimate file (its length in one byte, or 255 and a word).
std::string ReadFileText(const std::vector<uint8_t>& bytes, size_t& at)
{
    size_t nLength = bytes.at(at++);
    if (nLength == 255) {
        nLength = static_cast<size_t>(bytes.at(at) | bytes.at(at + 1) << 8);
        at += 2;
    }
    const std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + nLength));
    at += nLength;
    return text;
}

// The estimate file with the attribute and formula of one form item replaced: the file's
// magic, the form's name, the form's magic and item count, ten texts per item, the rest as
// it was.
void ChangeFormItem(const std::string& path, int nItem, const CString& strAttribute, const char* lpszFormula)
{
    const std::vector<uint8_t> bytes = ReadNativeFile(path);
    ByteBuilder out;
    size_t at = 0;
    for (int i = 0; i < 3; ++i)
        out.Str(ReadFileText(bytes, at));
    const int nItems = bytes.at(at) | bytes.at(at + 1) << 8;
    out.Word(static_cast<uint16_t>(nItems));
    at += 2;
    for (int nAt = 0; nAt < nItems * 10; ++nAt) {
        const std::string text = ReadFileText(bytes, at);
        const bool bItem = nAt / 10 == nItem;
        out.Str(bItem && nAt % 10 == 1 ? strAttribute.str() : bItem && nAt % 10 == 4 ? lpszFormula : text);
    }
    std::vector<uint8_t> changed = out.Bytes();
    changed.insert(changed.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
    WriteNativeFile(path, changed);
}

std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

// A whole number n (and a half) written in code page 932: its digits full-width, with group
// separators, a sign and a unit around it.
std::string WrittenNumber(unsigned n, bool bHalf, bool bFullWidth, bool bSeparators, const char* sign,
                          const char* unit)
{
    std::string digits = std::to_string(n);
    if (bSeparators) {
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<size_t>(i), ",");
    }
    if (bHalf)
        digits += ".5";
    std::string text = Sj(sign);
    for (char ch : digits) {
        const char* full = ch == ',' ? "，" : ch == '.' ? "．" : nullptr;
        static const char* const fullDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
        if (!bFullWidth)
            text += ch;
        else
            text += Sj(full != nullptr ? full : fullDigits[ch - '0']);
    }
    return text + Sj(unit);
}

// The first cell of a number column that the one reading of numbers reads as a number but
// that is not stored as one ("row:column:text"); empty when there is none.
std::string NumberLeftAsWord(const CMorvelEMView& view)
{
    for (int r = 0; r < view.GetUsedRows(); ++r) {
        for (int c : {scQty, scPrice, scAmount, scCostPrice, scCost}) {
            const CString& text = view.GetCellText(r, c);
            std::string plain;
            if (CNumberRules::ReadTypedNumber(text, plain) && !CNumberRules::IsNumberText(text))
                return std::to_string(r) + ":" + std::to_string(c) + ":" + text.ToUtf8();
        }
    }
    return {};
}

// A row of the estimate picked at random, of the kinds asked for (-1: none).
int PickRow(const CMorvelEMView& view, unsigned nStart, const std::function<bool(ERowKind)>& isKind)
{
    const int nUsed = view.GetUsedRows();
    for (int i = 0; i < nUsed; ++i) {
        const int r = static_cast<int>((nStart + static_cast<unsigned>(i)) % static_cast<unsigned>(nUsed));
        if (isKind(view.GetRowKind(r)))
            return r;
    }
    return -1;
}

class CommandRecalcEquivalence : public SubjectTreeWindowTest,
                                 public ::testing::WithParamInterface<CRecalcSettings> {
protected:
    bool RecordsTreeCommands() const override { return false; }
    void WriteSettings(CProfileFile& profile) override
    {
        const CRecalcSettings& settings = GetParam();
        profile.WriteProfileString("Input Setting", "Tax", settings.pszTax);
        profile.WriteProfileString("Input Setting", "Round Mode", settings.pszRoundMode);
        profile.WriteProfileString("Tax Vertical Total", "3", settings.bVerticalTotal ? "縦合計"_sj : "");
        profile.WriteProfileString("Settings", "AdjustPage", settings.pszAdjustPage);
        profile.WriteProfileString("ReCalcSetting", "Level", settings.pszLevel);
    }
    // A heading of the tree (or the root) picked at random; with hDragged, one of that
    // heading's level or above, where it may be dropped.
    HTREEITEM TreeItem(CMorvelEMTreeView* pTree, unsigned nPick, CMorvelEMTreeView* pFrom = nullptr,
                       HTREEITEM hDragged = nullptr) const
    {
        // The root, then the kind, large, middle and small headings.
        auto rank = [](ERowKind nKind) {
            const ERowKind order[] = {kindEmpty, kindKind, kindLarge, kindMiddle};
            return static_cast<int>(std::find(std::begin(order), std::end(order), nKind) - std::begin(order));
        };
        int nRank = rank(kindSmall);
        for (int i = 0; pFrom != nullptr && i < pFrom->GetEntryCount(); ++i) {
            if (pFrom->GetEntry(i).hItem == hDragged)
                nRank = rank(pFrom->GetEntry(i).nKind);
        }
        std::vector<HTREEITEM> items;
        for (int i = 0; i < pTree->GetEntryCount(); ++i) {
            if (rank(pTree->GetEntry(i).nKind) <= nRank)
                items.push_back(pTree->GetEntry(i).hItem);
        }
        return items.empty() ? nullptr : items[nPick % items.size()];
    }

    // Every kind and cell of the used rows.
    std::vector<std::string> Picture() const
    {
        std::vector<std::string> lines;
        for (int r = 0; r < m_pView->GetUsedRows(); ++r) {
            std::string line = std::to_string(m_pView->GetRowKind(r));
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                line += "|" + m_pView->GetCellText(r, c).ToUtf8();
            lines.push_back(line);
        }
        return lines;
    }
    // The status bar's amount pane, and the labels of the subject tree.
    std::string AmountPane() const
    {
        CStatusBar& bar = CMainFrame::GetMain()->GetStatusBar();
        return bar.GetPaneText(bar.CommandToIndex(ID_INDICATOR_PANE2)).ToUtf8();
    }
    std::vector<std::string> TreeLabels() const
    {
        std::vector<std::string> labels;
        for (int i = 0; i < Tree()->GetEntryCount(); ++i)
            labels.push_back(ItemText(Tree(), Tree()->GetEntry(i).hItem));
        return labels;
    }
    void SelectRows(CMorvelEMView& view, int nFirst, int nLast)
    {
        view.SetCurrentCell(scName, nFirst);
        view.SetSelection(CMorvelView::selectRows, CRect(0, nFirst, view.GetColumnCount() - 1, nLast));
    }
    // Another estimate to paste rows and drag subjects from, then the one the commands run
    // on (active), opened as saved: under any other tax setting its tax and totals are not
    // what its rows give. With the rows to read from a CSV file: 名称, 規格, 数量, 単位 and
    // 単価 of each, numbers written as an estimator writes them too.
    void OpenTheEstimates()
    {
        if (GetParam().bHalfCost)
            ChangeFormItem(m_pFolder->Native("WORK/サンプル見積.MMD"), scCost, "計"_sj, "F/2");
        m_pOther = OpenSecondSample();
        ASSERT_NE(m_pOther, nullptr);
        ASSERT_NE(OpenSampleWindow(), nullptr);
        ASSERT_NE(m_pOther, m_pView);
        WidenTree(m_pOther);
        WidenTree(m_pView);
        m_csvPath = m_pFolder->Native("WORK/rows.csv");
        std::ofstream(m_csvPath, std::ios::binary)
            << "A,,12.5,m,3400\r\nB,,3,m2,1250.5\r\n" +
                   Sj("C,,,式,80000\r\nD,,１２５．５,m,\"15,500円\"\r\nE,,▲3,m,\"1,250.50\"\r\n");
        m_nState = 7u + GetParam().nSeed + static_cast<unsigned>(std::atoi(GetParam().pszTax)) * 31u +
                   static_cast<unsigned>(std::atoi(GetParam().pszRoundMode)) +
                   static_cast<unsigned>(std::atoi(GetParam().pszLevel) - 3) * 977u;
    }
    // A number below n, at random.
    unsigned Next(unsigned n)
    {
        m_nState = m_nState * 1103515245u + 12345u;
        return (m_nState >> 8) % n;
    }
    // Keeps the estimate within its pages: rows pasted and inserted add up.
    void KeepWithinPages()
    {
        if (m_pView->GetUsedRows() > 400) {
            SelectRows(*m_pView, 300, m_pView->GetUsedRows() - 1);
            Command(ID_EDIT_CUT);
        }
    }

    // Command nOp (below nCommands) as the user runs it, on rows picked at random. Some are
    // made of two commands: BeforeLastCommand is called before the second.
    virtual void BeforeLastCommand() {}
    enum : unsigned { nCommands = 32, opUndo = 18, opRedo = 19, opSaveAndOpen = 30 };
    void RunCommand(unsigned nOp)
    {
        // The one the commands run on, another window after the estimate is opened again.
        auto View = [this]() -> CMorvelEMView& { return *m_pView; };
        CMorvelEMView* pOther = m_pOther;
        CMorvelEMView& other = *pOther;
        const std::string& csvPath = m_csvPath;
        auto next = [this](unsigned n) { return Next(n); };
        auto anyRow = [&]() {
            return static_cast<int>(next(static_cast<unsigned>(View().GetUsedRows() + 3)));
        };
        auto detailRow = [&]() {
            return PickRow(View(), next(4096), [](ERowKind k) { return k == kindDetail; });
        };
        // A number as an estimator writes one: now and then in full-width digits, with group
        // separators, "円" or the minus "▲".
        auto number = [&]() {
            const unsigned n = 1 + next(next(4) == 0 ? 90000 : 900);
            const bool bHalf = next(3) == 0;
            switch (next(6)) {
            case 0:
                return WrittenNumber(n, bHalf, true, false, "", "");
            case 1:
                return WrittenNumber(n, bHalf, false, true, "", "円");
            case 2:
                return WrittenNumber(n, bHalf, next(2) != 0, true, "▲", "");
            default:
                return std::to_string(n) + (bHalf ? ".5" : "");
            }
        };
        // A cell made current with a click, whose repaint is done before the command that
        // follows (so that what the command repaints is what shows its changes).
        auto goTo = [&](int nCol, int nRow) {
            GoTo(nCol, nRow);
            Pump();
        };
        auto typeAt = [&](int nCol, int nRow, const std::string& text) {
            goTo(nCol, nRow);
            Type(CString(text.c_str()));
            Key(VK_RETURN);
            Pump();
        };
        // What the commands say (a subject refused where it is dropped, nothing found to
        // replace) is not the matter here.
        MessageBoxRecorder boxes;
        if (nOp < 5) {
            const int r = detailRow();
            if (r >= 0)
                typeAt(nOp < 3 ? scQty : scPrice, r, number());
        } else if (nOp == 5) {
            // A new detail typed into a row below the used rows.
            const int r = View().GetUsedRows() + static_cast<int>(next(3));
            typeAt(scQty, r, number());
            BeforeLastCommand();
            typeAt(scPrice, r, number());
        } else if (nOp == 6) {
            goTo(scName, anyRow());
            Command(next(2) ? ID_ROW_INSERT : ID_ROW_DELETE);
        } else if (nOp == 7 || nOp == 8) {
            // Rows copied or cut, pasted elsewhere.
            const int r = anyRow();
            SelectRows(View(), r, r + static_cast<int>(next(6)));
            Command(nOp == 7 ? ID_EDIT_COPY : ID_EDIT_CUT);
            BeforeLastCommand();
            goTo(scName, anyRow());
            Command(ID_EDIT_PASTE);
        } else if (nOp == 9) {
            // Rows copied in the other estimate, pasted here.
            const int r = static_cast<int>(next(static_cast<unsigned>(other.GetUsedRows())));
            SelectRows(other, r, r + static_cast<int>(next(8)));
            other.SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
            goTo(scName, anyRow());
            Command(ID_EDIT_PASTE);
        } else if (nOp == 10) {
            goTo(scName, anyRow());
            CDialogAnswerer answerer;
            answerer.AnswerDialog(IDD_KIND_INPUT, [](CDialog& dlg) {
                TypeDlgItemText(dlg, IDC_ROW_TEXT, "電気設備工事"_sj);
                ClickDlgButton(dlg, IDOK);
            });
            Command(ID_KIND_INPUT);
        } else if (nOp == 11 || nOp == 12) {
            goTo(scName, anyRow());
            const UINT totals[] = {ID_TOTAL_SMALL, ID_TOTAL_MIDDLE, ID_TOTAL_LARGE, ID_TOTAL_KIND,
                                   ID_TOTAL_GRAND};
            Command(totals[next(5)]);
        } else if (nOp == 13) {
            goTo(scName, anyRow());
            Command(ID_TAX_ROW);
        } else if (nOp == 14) {
            goTo(scName, anyRow());
            CDialogAnswerer answerer;
            const char* discount = next(2) != 0 ? "-1,234" : "▲１，２３４";
            answerer.AnswerDialog(IDD_DISCOUNT_INPUT, [discount](CDialog& dlg) {
                TypeDlgItemText(dlg, IDC_ROW_TEXT, CString::FromUtf8(discount));
                ClickDlgButton(dlg, IDOK);
            });
            Command(ID_DISCOUNT_INPUT);
        } else if (nOp == 15) {
            // Replace all: a digit of the quantities and prices for another.
            goTo(scQty, 0);
            Command(ID_EDIT_REPLACE_DLG);
            auto* pDlg = static_cast<CReplaceDialog*>(View().GetReplaceDialog());
            ASSERT_NE(pDlg, nullptr);
            // The digit put in is now and then a full-width one; now and then a word of the
            // headings' names is replaced, there and back.
            const bool bNames = next(4) == 0;
            const bool bBack = bNames && next(2) == 0;
            const std::string from =
                bNames ? CString::FromUtf8(bBack ? "作業" : "工事").str() : std::to_string(next(10));
            const std::string to = bNames         ? CString::FromUtf8(bBack ? "工事" : "作業").str()
                                   : next(3) == 0 ? WrittenNumber(next(10), false, true, false, "", "")
                                                  : std::to_string(next(10));
            TypeDlgItemText(*pDlg, IDC_FIND_TEXT, CString(from.c_str()));
            TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, CString(to.c_str()));
            ClickDlgButton(*pDlg, IDC_REPLACE_ALL);
            pDlg->SendMessage(WM_CLOSE);
            Pump();
        } else if (nOp == 16) {
            // The quantities of consecutive detail rows sorted, the other way round from how
            // the first and the last stand.
            int r = detailRow();
            while (r > 0 && View().GetRowKind(r - 1) == kindDetail)
                --r;
            int nLast = r;
            while (r >= 0 && View().GetRowKind(nLast + 1) == kindDetail && nLast - r < 6)
                ++nLast;
            if (r >= 0 && nLast > r) {
                View().SetSelection(CMorvelView::selectBlock, CRect(scQty, r, scQty, nLast));
                View().SetCurrentCell(scQty, r);
                CDialogAnswerer answerer;
                const bool bAscending =
                    std::atof(View().GetCellText(r, scQty)) > std::atof(View().GetCellText(nLast, scQty));
                answerer.AnswerDialog(IDD_SORT, [bAscending](CDialog& dlg) {
                    ClickDlgButton(dlg, bAscending ? IDC_SORT_ASCENDING : IDC_SORT_DESCENDING);
                });
                Command(ID_SORT);
            }
        } else if (nOp == 17) {
            goTo(scName, anyRow());
            if (next(2) != 0) {
                Command(ID_PAGE_FEED);
            } else {
                CDialogAnswerer answerer;
                answerer.AnswerDialog(IDD_PAGE_INSERT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
                Command(ID_PAGE_INSERT);
            }
        } else if (nOp == 18 || nOp == 19) {
            // An undo, or the redo of the undo just before.
            Command(nOp == 18 ? ID_EDIT_UNDO : ID_EDIT_REDO);
        } else if (nOp == 20) {
            const int r = detailRow();
            if (r >= 0) {
                SelectRows(View(), r, r + static_cast<int>(next(3)));
                Command(next(2) ? ID_NONCALC_SET : ID_NONCALC_RELEASE);
            }
        } else if (nOp == 21) {
            // A subject dragged in the tree: moved, or copied with Shift.
            HTREEITEM hFrom = TreeItem(Tree(), next(4096));
            HTREEITEM hTo = TreeItem(Tree(), next(4096), Tree(), hFrom);
            if (hFrom != nullptr && hTo != nullptr)
                DragItem(Tree(), hFrom, Tree(), hTo, next(2) ? MK_SHIFT : 0);
        } else if (nOp == 22) {
            // A subject of the other estimate dropped on this one's tree.
            HTREEITEM hFrom = TreeItem(TreeOf(pOther), next(4096));
            HTREEITEM hTo = TreeItem(Tree(), next(4096), TreeOf(pOther), hFrom);
            if (hFrom != nullptr && hTo != nullptr)
                DragItem(TreeOf(pOther), hFrom, Tree(), hTo);
        } else if (nOp == 23) {
            // A heading picked from a subject list.
            goTo(scName, anyRow());
            const UINT picks[] = {ID_PICK_LARGE, ID_PICK_MIDDLE, ID_PICK_SMALL};
            const CMorvelEMView::EPickPurpose levels[] = {CMorvelEMView::pickLarge, CMorvelEMView::pickMiddle,
                                                          CMorvelEMView::pickSmall};
            const unsigned nLevel = next(3);
            Command(picks[nLevel]);
            if (auto* pPick = dynamic_cast<CSubjectPickDialog*>(View().GetPickDialog(levels[nLevel]))) {
                CListCtrl& list = pPick->List();
                if (list.GetItemCount() > 0) {
                    const int nItem = static_cast<int>(next(static_cast<unsigned>(list.GetItemCount())));
                    list.SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                    ClickDlgButton(*pPick, IDOK);
                    Pump();
                }
                if (View().GetPickDialog(levels[nLevel]) != nullptr)
                    pPick->SendMessage(WM_CLOSE);
            }
        } else if (nOp == 24) {
            // Rows read from a CSV file at a row, every field to its own column.
            goTo(scName, anyRow());
            CDialogAnswerer answerer;
            answerer.AnswerFileDialog(SystemPathFromNative(csvPath));
            answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
                DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 0);
                ClickDlgButton(dlg, IDOK);
            });
            answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                                  [](CDialog& dlg) { ClickDlgButton(dlg, IDC_IMPORT_SELECT_ALL); });
            Command(ID_TEXT_INPUT);
        } else if (nOp == 25) {
            // A heading's name typed over.
            const int r = PickRow(View(), next(4096), [](ERowKind k) { return IsHeadingKind(k); });
            if (r >= 0)
                typeAt(scName, r, next(2) ? "Ｂ工事" : "Ａ工事");
        } else if (nOp == 26) {
            // Row clear, of the current row or of selected rows.
            const int r = anyRow();
            if (next(2) != 0) {
                goTo(scName, r);
            } else {
                SelectRows(View(), r, r + static_cast<int>(next(3)));
            }
            Command(ID_ROW_CLEAR);
        } else if (nOp == 27) {
            // Item clear of a column no row formula reads: the names, the amounts, the
            // costs, the remarks.
            const int columns[] = {scName, scSpec, scAmount, scCost, scClass, scNote};
            const int nCol = columns[next(6)];
            View().SetSelection(CMorvelView::selectColumn, CRect(nCol, 0, nCol, View().GetUsedRows() - 1));
            Command(ID_ITEM_CLEAR);
        } else if (nOp == 28 || nOp == 29) {
            // A detail row's cells from the quantity on pasted onto a total or a heading; or
            // (29) onto the total of a heading, the first of a level as often as not, which
            // is then marked non-calculated (the total adding no rows, its own formulas
            // make its figures) or released.
            int nHeading = -1;
            int nTo = -1;
            if (nOp == 29) {
                const ERowKind heading[] = {kindKind, kindLarge, kindMiddle, kindSmall};
                const ERowKind nKind = heading[next(4)];
                nHeading = next(2) != 0 ? PickRow(View(), 0,
                                                  [nKind](ERowKind k) {
                                                      return k == nKind || k == NonCalculatedKindOf(nKind);
                                                  })
                                        : PickRow(View(), next(4096), [](ERowKind k) {
                                              return IsHeadingKind(k) || (IsNonCalculatedKind(k) &&
                                                                          IsHeadingKind(CalculatedKindOf(k)));
                                          });
                if (nHeading >= 0) {
                    const ERowKind k = View().GetRowKind(nHeading);
                    const ERowKind nTotalKind = TotalKindOf(IsNonCalculatedKind(k) ? CalculatedKindOf(k) : k);
                    nTo = PickRow(View(), static_cast<unsigned>(nHeading),
                                  [nTotalKind](ERowKind kind) { return kind == nTotalKind; });
                }
            } else {
                nTo = PickRow(View(), next(4096), [](ERowKind k) {
                    return IsTotalKind(k) || IsDiscountTotalKind(k) || IsHeadingKind(k);
                });
            }
            const int nFrom = detailRow();
            if (nFrom >= 0 && nTo >= 0) {
                View().SetCurrentCell(scQty, nFrom);
                View().SetSelection(CMorvelView::selectBlock, CRect(scQty, nFrom, scCost, nFrom));
                Command(ID_EDIT_COPY);
                BeforeLastCommand();
                goTo(scQty, nTo);
                Command(ID_EDIT_PASTE);
            }
            if (nHeading >= 0) {
                BeforeLastCommand();
                goTo(scName, nHeading);
                Command(IsNonCalculatedKind(View().GetRowKind(nHeading)) ? ID_NONCALC_RELEASE
                                                                         : ID_NONCALC_SET);
            }
        } else if (nOp == 31) {
            // 定率変更 of the quantities or the unit prices of some rows.
            const int r = anyRow();
            const int nCol = next(2) != 0 ? scQty : scPrice;
            View().SetCurrentCell(nCol, r);
            View().SetSelection(CMorvelView::selectBlock,
                                CRect(nCol, r, nCol, r + static_cast<int>(next(40))));
            const CString formula = next(2) != 0 ? "*2" : "+1.5";
            CDialogAnswerer answerer;
            answerer.AnswerDialog(IDD_RATE_CALC, [&formula](CDialog& dlg) {
                TypeDlgItemText(dlg, IDC_RATE_FORMULA, formula);
                ClickDlgButton(dlg, IDOK);
            });
            Command(ID_RATE_CHANGE);
        } else {
            // Saved, closed and opened again under another tax rate: the file's tax and
            // totals are those of the rate it was saved under.
            Command(ID_FILE_SAVE);
            const CString path = m_pDoc->GetPathName();
            const bool bDrawn = m_pDrawn != nullptr;
            m_pDrawn.reset();
            m_pDoc->OnCloseDocument();
            Pump();
            CMorvelSettings::GetCurrent()->m_nTax = CMorvelSettings::GetCurrent()->m_nTax == 8 ? 10 : 8;
            ASSERT_NE(OpenEstimate(path), nullptr);
            WidenTree(m_pView);
            if (bDrawn)
                m_pDrawn = std::make_unique<CDrawnCells>(View());
            View().Invalidate(TRUE);
        }
        Pump();
    }

    void TearDown() override
    {
        // It watches a window that goes with the program.
        m_pDrawn.reset();
        SubjectTreeWindowTest::TearDown();
    }

    CMorvelEMView* m_pOther = nullptr;
    std::string m_csvPath;
    unsigned m_nState = 0;
    // The cells as the grid draws them, with their subject numbers (made again with the
    // window when the estimate is opened again).
    std::unique_ptr<CDrawnCells> m_pDrawn;
};

} // namespace

TEST_P(CommandRecalcEquivalence, EveryCommandLeavesTheFiguresAFullRecalculationMakes)
{
    OpenTheEstimates();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(3, m_pView->GetRecalcLevel());
    m_pDrawn = std::make_unique<CDrawnCells>(*m_pView);
    m_pView->Invalidate(TRUE);

    int nDifferent = 0;
    // Per kind of command, how often it changed the estimate: each one must have.
    std::vector<int> changes(nCommands, 0);
    bool bUndone = false;
    const int nSteps = 500;
    for (int step = 0; step < nSteps; ++step) {
        // A redo follows an undo now and then (after anything else it has nothing to do).
        const unsigned nOp = bUndone && Next(2) != 0 ? opRedo : Next(nCommands);
        bUndone = nOp == opUndo;
        std::string what = "step " + std::to_string(step) + " op " + std::to_string(nOp);
        const std::vector<std::string> before = Picture();
        RunCommand(nOp);
        ASSERT_FALSE(HasFatalFailure()) << what;
        KeepWithinPages();
        const std::vector<std::string> after = Picture();
        changes[nOp] += after != before ? 1 : 0;
        // Whatever way a number came in, it is kept as the number it reads as.
        if (const std::string word = NumberLeftAsWord(*m_pView); !word.empty()) {
            ++nDifferent;
            ADD_FAILURE() << what << ", a number kept as a word: " << word;
            if (nDifferent >= 3)
                return;
        }
        const std::vector<std::string> stale = m_pDrawn->StaleCells();
        if (!stale.empty()) {
            ++nDifferent;
            ADD_FAILURE() << what << ", on the screen " << stale.front();
            if (nDifferent >= 3)
                return;
        }
        const std::string pane = AmountPane();
        const std::vector<std::string> labels = TreeLabels();
        Command(ID_RECALCULATE);
        const std::vector<std::string> full = Picture();
        if ((!pane.empty() && pane != AmountPane()) || labels != TreeLabels()) {
            ++nDifferent;
            ADD_FAILURE() << what << ": the status bar shows " << pane << ", after F7 " << AmountPane()
                          << (labels != TreeLabels() ? "; the tree's labels differ" : "");
            if (nDifferent >= 3)
                return;
        }
        if (after != full) {
            ++nDifferent;
            for (size_t i = 0; i < after.size() && i < full.size(); ++i) {
                if (after[i] != full[i]) {
                    ADD_FAILURE() << what << ", row " << i << ":\n  shown " << after[i] << "\n  full  "
                                  << full[i];
                    break;
                }
            }
            if (nDifferent >= 3)
                return;
        }
    }
    for (size_t nOp = 0; nOp < changes.size(); ++nOp)
        EXPECT_GT(changes[nOp], 0) << "command " << nOp << " never changed the estimate";
}

INSTANTIATE_TEST_SUITE_P(Settings, CommandRecalcEquivalence,
                         ::testing::Values(CRecalcSettings{"8", "3", false, "0", false},
                                           CRecalcSettings{"10", "1", true, "1", true},
                                           CRecalcSettings{"10", "0", false, "1", false},
                                           CRecalcSettings{"8", "2", true, "0", true}));

// The commands at each recalculation level, on the sample as saved (its figures those of
// another tax rate, its cost column's figures those of another formula), never worked out in
// full: each command that changed the estimate is taken back to exactly the bytes before it
// and done again to exactly the bytes after it; each that left the bytes as they were
// recorded nothing and left the redo there was (a command follows an undo now and then).
class CommandUndoBytes : public CommandRecalcEquivalence {
protected:
    // The rows with the used-row count, to tell where the bytes differ.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows = Picture();
        rows.push_back("used rows " + std::to_string(m_pView->GetUsedRows()));
        return rows;
    }
    const CUndoStore& Store() const { return m_pView->GetModel().Undo(); }
    // Whether a step was recorded is told by the store's count of records: a new record may
    // stand where the one it replaced stood.
    unsigned long long Records() const { return Store().GetRecordCount(); }
    void BeforeLastCommand() override
    {
        // A first command that recorded a step leaves a record whose bytes before are not
        // known here.
        if (m_nRecord != Records())
            m_nRecord.reset();
        m_nRecordsBefore = Records();
        m_bRedoBefore = Store().CanRedo();
        m_before = SavedBytes();
        m_rowsBefore = Rows();
    }
    // Whether the estimate is saved as bytes; otherwise a failure says where its rows differ
    // from rows.
    bool Check(const std::string& what, const std::vector<BYTE>& bytes, const std::vector<std::string>& rows)
    {
        if (SavedBytes() == bytes)
            return true;
        const std::vector<std::string> now = Rows();
        size_t i = 0;
        while (i + 1 < now.size() && i + 1 < rows.size() && now[i] == rows[i])
            ++i;
        ADD_FAILURE() << what << ", row " << i << ":\n  now " << now[i] << "\n  was " << rows[i];
        return false;
    }

    std::vector<BYTE> m_before;
    std::vector<std::string> m_rowsBefore;
    // The record count and the redo before the last command, the record count after the last
    // command checked with the bytes and rows before its command (none: not known).
    unsigned long long m_nRecordsBefore = 0;
    bool m_bRedoBefore = false;
    std::optional<unsigned long long> m_nRecord;
    std::vector<BYTE> m_recordBefore;
    std::vector<std::string> m_recordRowsBefore;
};

TEST_P(CommandUndoBytes, EveryCommandIsTakenBackAndDoneAgainToTheSavedBytes)
{
    OpenTheEstimates();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(std::atoi(GetParam().pszLevel), m_pView->GetRecalcLevel());
    int nDifferent = 0;
    std::vector<int> checked(nCommands, 0);
    // How often a command left the bytes as they were with a redo to keep.
    int nUnchangedWithRedo = 0;
    // Every command once a round, in an order of its own each round; undo and redo come
    // after each command here.
    std::vector<unsigned> ops;
    for (unsigned nOp = 0; nOp < nCommands; ++nOp) {
        if (nOp != opUndo && nOp != opRedo)
            ops.push_back(nOp);
    }
    const int nRounds = 6;
    const int nSteps = nRounds * static_cast<int>(ops.size());
    for (int step = 0; step < nSteps && nDifferent < 3; ++step) {
        const size_t nAt = static_cast<size_t>(step) % ops.size();
        if (nAt == 0) {
            for (size_t i = ops.size(); i > 1; --i)
                std::swap(ops[i - 1], ops[Next(static_cast<unsigned>(i))]);
        }
        const unsigned nOp = ops[nAt];
        const std::string what = "step " + std::to_string(step) + " op " + std::to_string(nOp);
        // Every third command follows an undo: a command that changes nothing keeps its redo.
        if (step % 3 == 2 && Store().CanUndo()) {
            Command(ID_EDIT_UNDO);
            m_nRecord.reset();
        }
        KeepWithinPages();
        BeforeLastCommand();
        RunCommand(nOp);
        ASSERT_FALSE(HasFatalFailure()) << what;
        const std::vector<BYTE> after = SavedBytes();
        if (after == m_before && nOp != opSaveAndOpen) {
            // Nothing changed: nothing recorded, and the redo stays.
            nUnchangedWithRedo += m_bRedoBefore ? 1 : 0;
            if (Records() != m_nRecordsBefore || Store().CanRedo() != m_bRedoBefore) {
                ++nDifferent;
                ADD_FAILURE() << what << ": a command that left the bytes as they were "
                              << (Records() != m_nRecordsBefore ? "recorded a step" : "dropped the redo");
            }
            continue;
        }
        // A command that changed nothing may leave the last command's record; one reopened
        // has none.
        if (!Store().CanUndo())
            m_nRecord.reset();
        if (after == m_before || !Store().CanUndo())
            continue;
        const std::vector<std::string> rowsAfter = Rows();
        // A command that changed no row records nothing: the figures worked out after it at
        // levels 1 and 2 go back with the last command.
        const bool bRecorded = Records() != m_nRecordsBefore;
        if (!bRecorded && m_nRecord != Records()) {
            m_nRecord.reset();
            continue;
        }
        if (bRecorded) {
            m_recordBefore = m_before;
            m_recordRowsBefore = m_rowsBefore;
        }
        ++checked[nOp];
        Command(ID_EDIT_UNDO);
        nDifferent += Check(what + ", undone", m_recordBefore, m_recordRowsBefore) ? 0 : 1;
        Command(ID_EDIT_REDO);
        nDifferent += Check(what + ", done again", after, rowsAfter) ? 0 : 1;
        m_nRecord = Records();
    }
    if (nDifferent > 0)
        return;
    EXPECT_GT(nUnchangedWithRedo, 0) << "no command left the bytes as they were with a redo to keep";
    for (unsigned nOp = 0; nOp < nCommands; ++nOp) {
        if (nOp != opUndo && nOp != opRedo && nOp != opSaveAndOpen) {
            EXPECT_GT(checked[nOp], 0) << "command " << nOp << " was never taken back";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, CommandUndoBytes,
                         ::testing::Values(CRecalcSettings{"10", "3", false, "1", true, "1"},
                                           CRecalcSettings{"10", "1", true, "1", true, "2"},
                                           CRecalcSettings{"8", "0", false, "0", true, "3"},
                                           CRecalcSettings{"10", "2", false, "1", true, "2"},
                                           CRecalcSettings{"10", "3", false, "1", true, "1", 16},
                                           CRecalcSettings{"10", "3", false, "1", true, "1", 46},
                                           CRecalcSettings{"10", "1", true, "1", true, "2", 4},
                                           CRecalcSettings{"10", "1", true, "1", true, "2", 34},
                                           CRecalcSettings{"10", "3", false, "1", true, "1", 4}));
