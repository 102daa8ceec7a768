// One table of texts (tests/support/NumberInputTexts.h) fed through every way a text reaches
// a number cell of the two grids, in the running program as a user takes each way: typed,
// pasted from another program into the cell editor, replaced and replaced all through the
// replace dialog, read by the CSV input and from an estimate of another form, typed on the
// information sheet. Each way stores what typing stores, and the amounts and the parts list's
// range total count the numbers and nothing of the words.
#include "tests/parts/PartsWindowFixture.h"

#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/InformationValues.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CFindReplaceDialogs.h"
#include "estimate_tools/CInformationInputDialog.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/base/Cp932.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/EstimateIoIds.h"
#include "tests/estimate_tools/EstimateIoTestSupport.h"
#include "tests/support/NumberInputTexts.h"

#include <QClipboard>
#include <QGuiApplication>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// The sample estimate's and the sample parts list's columns, the same in both forms.
enum { colName = 0, colQty = 2, colPrice = 4, colAmount = 5 };

std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

// A field of a CSV line, quoted where it holds a comma.
std::string CsvField(const char* utf8)
{
    const std::string text = Sj(utf8);
    return text.find(',') == std::string::npos ? text : "\"" + text + "\"";
}

// What a row holds after a way in: its quantity cell and its amount.
struct CStored {
    std::string qty;
    std::string amount;
    bool operator==(const CStored&) const = default;
};

class NumberInputPaths : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        RegisterEstimateTools();
        ASSERT_NE(nullptr, OpenSample());
        auto* pEstimate = dynamic_cast<CMorvelEMDoc*>(m_pApp->OpenDocumentFile(WorkFile("サンプル見積.MMD")));
        ASSERT_NE(nullptr, pEstimate);
        m_pEstimate = pEstimate->GetEstimateView();
        ASSERT_NE(nullptr, m_pEstimate);
        Pump();
    }

    static const std::vector<CNumberInputText>& Texts() { return NumberInputTexts(); }
    static size_t Count() { return Texts().size(); }

    // ---- the estimate window --------------------------------------------------------------
    void EstimateClick(int nCol, int nRow, UINT nMessage = WM_LBUTTONDOWN)
    {
        m_pEstimate->ClickCell(nCol, nRow);
        CRect rc;
        m_pEstimate->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        const LPARAM lParam = MAKELPARAM(rc.left + 3, rc.top + 3);
        m_pEstimate->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
        m_pEstimate->SendMessage(WM_LBUTTONUP, 0, lParam);
        if (nMessage == WM_LBUTTONDBLCLK) {
            m_pEstimate->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, lParam);
            m_pEstimate->SendMessage(WM_LBUTTONUP, 0, lParam);
        }
        Pump();
    }
    // Keys go to the window with the keyboard (the cell editor once it is open); the
    // keyboard gives a double-byte character as two character messages to one window.
    void EstimateChars(const std::string& text)
    {
        for (size_t i = 0; i < text.size();) {
            CWnd* pFocus = CWnd::GetFocus();
            const HWND hTarget = pFocus != nullptr ? pFocus->m_hWnd : m_pEstimate->m_hWnd;
            const size_t nBytes = IsCp932LeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
            for (size_t j = 0; j < nBytes; ++j)
                ::SendMessage(hTarget, WM_CHAR, static_cast<BYTE>(text[i + j]), 1);
            i += nBytes;
        }
    }
    void EstimateKey(UINT nKey)
    {
        CWnd* pFocus = CWnd::GetFocus();
        (pFocus != nullptr ? pFocus : static_cast<CWnd*>(m_pEstimate))->SendMessage(WM_KEYDOWN, nKey, 1);
        Pump();
    }
    void EstimateCommand(UINT nID)
    {
        m_pEstimate->SendMessage(WM_COMMAND, nID, 0);
        Pump();
    }
    // Rows below the estimate, each with a name and a price of 100, for the ways that write
    // into a cell; qty: what the quantity holds first.
    int EstimateRows(const std::function<std::string(size_t)>& qty)
    {
        const int nFirst = m_pEstimate->GetUsedRows() + 1;
        for (size_t i = 0; i < Count(); ++i) {
            const int r = nFirst + static_cast<int>(i);
            m_pEstimate->SetCellText("n" + CString(std::to_string(i).c_str()), r, colName, TRUE);
            m_pEstimate->SetRowKind(kindDetail, r);
            m_pEstimate->SetCellText("100", r, colPrice, TRUE);
            m_pEstimate->SetCellText(CString(qty(i).c_str()), r, colQty, TRUE);
        }
        return nFirst;
    }
    std::vector<CStored> EstimateStored(int nFirst) const
    {
        std::vector<CStored> stored;
        for (size_t i = 0; i < Count(); ++i) {
            const int r = nFirst + static_cast<int>(i);
            stored.push_back({m_pEstimate->GetCellText(r, colQty).ToUtf8(),
                              m_pEstimate->GetCellText(r, colAmount).ToUtf8()});
        }
        return stored;
    }
    CReplaceDialog* EstimateReplaceDialog()
    {
        if (m_pEstimate->GetReplaceDialog() == nullptr)
            EstimateCommand(ID_EDIT_REPLACE_DLG);
        return static_cast<CReplaceDialog*>(m_pEstimate->GetReplaceDialog());
    }
    // A CSV file of the texts, a row each: name, quantity, price; read at nRow with the three
    // fields mapped to 名称, 数量 and 単価.
    void ReadCsv(const std::function<void()>& command)
    {
        std::string text;
        for (size_t i = 0; i < Count(); ++i)
            text += "n" + std::to_string(i) + "," + CsvField(Texts()[i].utf8) + ",100\r\n";
        const std::string native = m_dir.NativeFile("WORK/NUMBERS.CSV");
        WriteNativeFile(native, std::vector<uint8_t>(text.begin(), text.end()));
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(SystemPathFromNative(native));
        answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
            for (int nCol : {colName, colQty, colPrice})
                DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, nCol);
            ClickDlgButton(dlg, IDOK);
        });
        for (int nField : {1, 2, 3})
            answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [nField](CDialog& dlg) {
                DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, nField);
            });
        command();
        EXPECT_EQ(0, answerer.CountUnanswered());
        EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    }
    // An estimate of another form (品名, 数量, 単価) holding the texts as its quantities.
    std::vector<uint8_t> OtherFormEstimate() const
    {
        ByteBuilder b;
        b.Str("This is Estimation File").Str("other.MMK").Str("This is estimation form file").Word(3);
        const char* items[3][10] = {{"品名", "文字", "20", "", "", "", "6", "", "", ""},
                                    {"数量", "数値", "8", "#.#", "", "", "3", "", "", ""},
                                    {"単価", "数値", "10", "###,###", "", "", "", "", "", ""}};
        for (auto& item : items)
            for (const char* text : item)
                b.Str(Sj(text));
        b.Str("other.MJK").Str("This is information form file").Word(0);
        b.Word(3).Word(static_cast<uint16_t>(Count()));
        for (int i = 0; i < 8; ++i)
            b.Word(static_cast<uint16_t>(i));
        for (size_t i = 0; i < Count(); ++i) {
            b.Word(5).Word(0).Word(0).Word(0).Str("").Str("");
            b.Str("n" + std::to_string(i)).Word(0).Str(Sj(Texts()[i].utf8)).Word(0).Str("100").Word(0);
        }
        b.Word(0);
        return b.Bytes();
    }

    // ---- the parts window -----------------------------------------------------------------
    int PartsRows(const std::function<std::string(size_t)>& qty)
    {
        const int nFirst = m_pDoc->GetRowsInUse() + 1;
        for (size_t i = 0; i < Count(); ++i) {
            const int r = nFirst + static_cast<int>(i);
            m_pView->SetCellText("n" + CString(std::to_string(i).c_str()), r, colName);
            m_pView->SetCellText("100", r, colPrice);
            m_pView->SetCellText(CString(qty(i).c_str()), r, colQty);
        }
        return nFirst;
    }
    std::vector<CStored> PartsStored(int nFirst) const
    {
        std::vector<CStored> stored;
        for (size_t i = 0; i < Count(); ++i) {
            const int r = nFirst + static_cast<int>(i);
            stored.push_back({Cell(r, colQty), Cell(r, colAmount)});
        }
        return stored;
    }

    CMorvelEMView* m_pEstimate = nullptr;
};

} // namespace

TEST_F(NumberInputPaths, EveryWayInReadsANumberAsTypingDoesAndAWordCountsNothing)
{
    // ---- the estimate: typing is what every other way is held against ----------------------
    const int nTyped = EstimateRows([](size_t) { return std::string(); });
    for (size_t i = 0; i < Count(); ++i) {
        EstimateClick(colQty, nTyped + static_cast<int>(i));
        EstimateChars(Sj(Texts()[i].utf8));
        EstimateKey(VK_RETURN);
    }
    const std::vector<CStored> typed = EstimateStored(nTyped);
    for (size_t i = 0; i < Count(); ++i) {
        const CNumberInputText& t = Texts()[i];
        SCOPED_TRACE(t.utf8);
        if (t.bNumber) {
            EXPECT_TRUE(CNumberRules::IsNumberText(typed[i].qty.c_str()));
            EXPECT_DOUBLE_EQ(t.value, std::atof(typed[i].qty.c_str()));
            EXPECT_DOUBLE_EQ(t.value * 100, std::atof(typed[i].amount.c_str()));
        } else {
            EXPECT_EQ(t.utf8, typed[i].qty);
            EXPECT_EQ("", typed[i].amount) << "a word in the quantity makes no amount";
        }
    }

    std::map<std::string, std::vector<CStored>> ways;
    // Pasted from another program into the cell editor.
    {
        const int nFirst = EstimateRows([](size_t) { return std::string(); });
        for (size_t i = 0; i < Count(); ++i) {
            QGuiApplication::clipboard()->setText(QString::fromUtf8(Texts()[i].utf8));
            EstimateClick(colQty, nFirst + static_cast<int>(i), WM_LBUTTONDBLCLK);
            EstimateCommand(ID_EDIT_PASTE);
            EstimateKey(VK_RETURN);
        }
        ways["paste"] = EstimateStored(nFirst);
    }
    // Replace, one cell at a time, and replace all.
    {
        const auto marker = [](size_t i) { return "@" + std::to_string(i) + "#"; };
        const int nOne = EstimateRows(marker);
        const int nAll = EstimateRows(marker);
        CReplaceDialog* pDlg = EstimateReplaceDialog();
        ASSERT_NE(nullptr, pDlg);
        for (size_t i = 0; i < Count(); ++i) {
            TypeDlgItemText(*pDlg, IDC_FIND_TEXT, CString(marker(i).c_str()));
            TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, CString::FromUtf8(Texts()[i].utf8));
            EstimateClick(colName, nOne + static_cast<int>(i));
            ClickDlgButton(*pDlg, IDC_FIND_NEXT);
            ASSERT_EQ(nOne + static_cast<int>(i), m_pEstimate->GetCurrentRow());
            ClickDlgButton(*pDlg, IDC_REPLACE_ONE);
            ClickDlgButton(*pDlg, IDC_REPLACE_ALL);
        }
        ClickDlgButton(*pDlg, IDCANCEL);
        Pump();
        ways["replace"] = EstimateStored(nOne);
        ways["replace all"] = EstimateStored(nAll);
    }
    // The CSV input and an estimate of another form, read at a row below the estimate.
    {
        const int nFirst = m_pEstimate->GetUsedRows() + 1;
        EstimateClick(colName, nFirst);
        ReadCsv([this] { EstimateCommand(ID_TEXT_INPUT); });
        ways["csv"] = EstimateStored(nFirst);
    }
    {
        WriteNativeFile(m_dir.NativeFile("WORK/OTHER.MMD"), OtherFormEstimate());
        const int nFirst = m_pEstimate->GetUsedRows() + 1;
        EstimateClick(colName, nFirst);
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(WorkFile("OTHER.MMD"));
        answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
            for (int nCol : {colName, colQty, colPrice})
                DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, nCol);
            ClickDlgButton(dlg, IDOK);
        });
        for (int nItem : {1, 2, 3})
            answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [nItem](CDialog& dlg) {
                DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, nItem);
            });
        answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) { ClickDlgButton(dlg, IDCANCEL); });
        EstimateCommand(ID_READ_OTHER_FORM);
        EXPECT_EQ(0, answerer.CountUnanswered());
        ways["other form"] = EstimateStored(nFirst);
    }
    for (const auto& [way, stored] : ways) {
        for (size_t i = 0; i < Count(); ++i)
            EXPECT_EQ(typed[i], stored[i]) << way << ": " << Texts()[i].utf8;
    }

    // ---- the information sheet: a number item takes a number as a cell reads it -----------
    const CInformationFormFile& form =
        static_cast<CMorvelEMDoc*>(m_pEstimate->GetDocument())->m_InformationForm;
    int nDiscount = -1;
    for (int i = 0; i < form.GetCount(); ++i) {
        if (form.GetItem(i, 0) == CString::FromUtf8("出精値引"))
            nDiscount = i;
    }
    ASSERT_GE(nDiscount, 0);
    for (const CNumberInputText& t : Texts()) {
        SCOPED_TRACE(t.utf8);
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
            auto& sheet = static_cast<CInformationInputDialog&>(dlg);
            while (sheet.GetCurrentRow() < nDiscount + 1)
                sheet.Editor().SendMessage(WM_KEYDOWN, VK_DOWN, 0);
            TypeDlgItemText(dlg, IDC_INFO_EDIT, CString::FromUtf8(t.utf8));
            // A word is refused where it is typed: the sheet is left as it was, and
            // closing it drops the typed word after the question.
            ClickDlgButton(dlg, IDOK);
            if (!t.bNumber)
                ClickDlgButton(dlg, IDCANCEL);
        });
        answerer.AnswerMessageBox("入力した内容を破棄します。よろしいですか？"_sj, IDYES);
        EstimateCommand(ID_INFORMATION_INPUT);
        const CString stored = m_pEstimate->GetModel().GetInformation(nDiscount);
        if (t.bNumber)
            EXPECT_DOUBLE_EQ(t.value, InformationValues::ReadValue(stored)) << stored.ToUtf8();
        else
            EXPECT_EQ(2u, answerer.MessageBoxTexts().size());
    }

    // ---- the parts list: typing, replace all and the CSV input, then the range total -------
    const int nPartsTyped = PartsRows([](size_t) { return std::string(); });
    for (size_t i = 0; i < Count(); ++i) {
        Click(colQty, nPartsTyped + static_cast<int>(i));
        m_pView->SendMessage(WM_CHAR, 'x', 1);
        CGridCellEdit* pEdit = m_pView->GetCellEdit();
        ASSERT_NE(nullptr, pEdit);
        pEdit->SetSel(0, -1);
        pEdit->ReplaceSel(CString::FromUtf8(Texts()[i].utf8), FALSE);
        EditorKey(VK_RETURN);
    }
    const std::vector<CStored> partsTyped = PartsStored(nPartsTyped);
    for (size_t i = 0; i < Count(); ++i) {
        const CNumberInputText& t = Texts()[i];
        SCOPED_TRACE(t.utf8);
        if (t.bNumber) {
            EXPECT_DOUBLE_EQ(t.value, std::atof(partsTyped[i].qty.c_str()));
            EXPECT_DOUBLE_EQ(t.value * 100, std::atof(partsTyped[i].amount.c_str()));
        } else {
            EXPECT_EQ(t.utf8, partsTyped[i].qty);
        }
    }
    std::map<std::string, std::vector<CStored>> partsWays;
    {
        const auto marker = [](size_t i) { return "@" + std::to_string(i) + "#"; };
        const int nFirst = PartsRows(marker);
        Click(colName, 0);
        Command(ID_EDIT_REPLACE_DLG);
        auto* pDlg = static_cast<CReplaceDialog*>(m_pView->GetReplaceDialog());
        ASSERT_NE(nullptr, pDlg);
        for (size_t i = 0; i < Count(); ++i) {
            TypeDlgItemText(*pDlg, IDC_FIND_TEXT, CString(marker(i).c_str()));
            TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, CString::FromUtf8(Texts()[i].utf8));
            ClickDlgButton(*pDlg, IDC_REPLACE_ALL);
        }
        ClickDlgButton(*pDlg, IDCANCEL);
        Pump();
        partsWays["replace all"] = PartsStored(nFirst);
    }
    {
        const int nFirst = m_pDoc->GetRowsInUse() + 1;
        Click(colName, nFirst);
        ReadCsv([this] { Command(ID_TEXT_INPUT); });
        partsWays["csv"] = PartsStored(nFirst);
    }
    for (const auto& [way, stored] : partsWays) {
        for (size_t i = 0; i < Count(); ++i)
            EXPECT_EQ(partsTyped[i], stored[i]) << "parts " << way << ": " << Texts()[i].utf8;
    }
    double sum = 0;
    for (const CNumberInputText& t : Texts())
        sum += t.bNumber ? t.value : 0;
    Click(colQty, nPartsTyped);
    m_pView->SetSelection(CMorvelView::selectBlock,
                          CRect(colQty, nPartsTyped, colQty, nPartsTyped + static_cast<int>(Count()) - 1));
    Command(ID_RANGE_ADD);
    EXPECT_DOUBLE_EQ(sum, m_pView->GetRangeTotal());
}
