// make_sample_estimate: writes the demo estimate of the sample work folder with the estimate
// engine itself: the rows are made through the estimate view's operations (headings,
// details, special rows, totals, page feeds), recalculated, and saved by the estimate
// document, exactly as the program saves an estimate.
//
//   make_sample_estimate <dir>
//
// <dir> is the sample work folder made by make_samples: the forms are read from <dir>/FORM
// and the estimate is written to <dir>/WORK/サンプル見積.MMD, chosen to print through the
// sample layout <dir>/FORM/見積書.MMP (kept as "..\FORM\", a folder relative to the
// estimate's, which the program resolves when it opens the file). The settings are the sample
// settings (tax 8 %, tax rounding by the amount column, 18 rows a page), kept in a
// temporary settings file that is removed afterwards.
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/SharedRecords.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

CString Sj(const char* utf8)
{
    return CString::FromUtf8(utf8);
}

// The columns of the sample estimation form (tools/make_samples.cpp).
enum { colName = 0, colSpec, colQty, colUnit, colPrice, colAmount, colCostPrice, colCost, colClass, colNote };

bool ReadForm(const CString& path, const std::function<int(CArchive&)>& serialize)
{
    try {
        CFile file(path, CFile::modeRead | CFile::shareDenyNone);
        CArchive ar(&file, CArchive::load, 4096);
        const int nResult = serialize(ar);
        ar.Close();
        return nResult == 0;
    } catch (const CException& e) {
        std::fprintf(stderr, "make_sample_estimate: %s: %s\n", path.ToUtf8().c_str(),
                     e.GetErrorText().ToUtf8().c_str());
        return false;
    }
}

// Writes the estimate row by row at the view's current row, as a user types it.
class CEstimateWriter {
public:
    explicit CEstimateWriter(CMorvelEMView& view) : m_view(view) {}

    int Row() const { return m_view.GetCurrentRow(); }
    void Next() { m_view.SetCurrentCell(m_view.GetCurrentCol(), m_view.GetCurrentRow() + 1); }

    void Heading(ERowKind nKind, const char* lpszName, int nIndent)
    {
        const int r = Row();
        m_view.SetCellText(Sj(lpszName), r, colName, TRUE);
        m_view.SetCellText(Sj("式"), r, colUnit, TRUE);
        m_view.SetCellIndent(nIndent, r, colName);
        m_view.SetRowKind(nKind, r);
        Next();
    }
    void Kind(const char* lpszName) { m_view.InsertKindHeading(Sj(lpszName), Sj("式")); }

    // A detail: name, 規格, quantity, unit, unit price, cost unit price and
    // classification; the amounts come from the form's formulas.
    void Detail(const char* lpszName, const char* lpszSpec, const char* lpszQty, const char* lpszUnit,
                const char* lpszPrice, const char* lpszCostPrice, const char* lpszClass)
    {
        const int r = Row();
        m_view.SetCellText(Sj(lpszName), r, colName, TRUE);
        m_view.SetCellIndent(3, r, colName);
        if (*lpszSpec)
            m_view.SetCellText(Sj(lpszSpec), r, colSpec, TRUE);
        m_view.SetCellText(lpszQty, r, colQty, TRUE);
        m_view.SetCellText(Sj(lpszUnit), r, colUnit, TRUE);
        m_view.SetCellText(lpszPrice, r, colPrice, TRUE);
        m_view.SetCellText(lpszCostPrice, r, colCostPrice, TRUE);
        m_view.SetCellText(Sj(lpszClass), r, colClass, TRUE);
        m_view.SetRowKind(kindDetail, r);
        m_view.GetModel().Engine().CalcRow(r, 0);
        Next();
    }
    void Note(const char* lpszNote) { m_view.SetCellText(Sj(lpszNote), Row() - 1, colNote, TRUE); }

    void Total(ETotalLevel nLevel) { m_view.InsertTotal(nLevel); }
    void Discount(const char* lpszAmount) { m_view.InsertDiscount(lpszAmount); }
    void DiscountTotal(ETotalLevel nLevel) { m_view.InsertDiscountTotal(nLevel); }
    // The next heading starts a page of its own.
    void NewPage()
    {
        if (Row() % m_view.GetPageRows() != 0)
            m_view.FeedPage();
    }

private:
    CMorvelEMView& m_view;
};

void BuildEstimate(CMorvelEMView& view)
{
    using V = CMorvelEMView;
    CEstimateWriter w(view);

    w.Kind("本体工事");
    w.Heading(kindLarge, "建築工事", 0);
    w.Heading(kindMiddle, "直接仮設工事", 1);
    w.Detail("水盛遣方", "", "128.5", "m2", "350", "260", "労務");
    w.Detail("墨出し", "", "128.5", "m2", "280", "210", "労務");
    w.Detail("外部足場", "枠組 W900", "386", "m2", "1200", "950", "外注");
    w.Detail("養生シート", "防炎 1類", "386", "m2", "250", "180", "材料");
    w.Total(V::levelMiddle);
    w.Heading(kindMiddle, "土工事", 1);
    w.Detail("根切り", "バックホウ 0.45m3", "85.5", "m3", "3200", "2500", "機械");
    w.Detail("埋戻し", "発生土", "42.3", "m3", "2800", "2100", "機械");
    w.Detail("残土処分", "運搬費共", "43.2", "m3", "4500", "3600", "外注");
    w.Total(V::levelMiddle);
    w.Heading(kindMiddle, "コンクリート工事", 1);
    w.Detail("普通コンクリート", "Fc24 S18", "62.4", "m3", "16800", "14200", "材料");
    w.Detail("コンクリートポンプ打設", "", "62.4", "m3", "2400", "1900", "機械");
    w.Detail("普通型枠", "", "310", "m2", "4200", "3400", "外注");
    w.Total(V::levelMiddle);
    w.NewPage();
    w.Heading(kindMiddle, "内装工事", 1);
    w.Heading(kindSmall, "1階 事務所", 2);
    w.Detail("せっこうボード張り", "t=12.5", "148.2", "m2", "1650", "1300", "外注");
    w.Detail("ビニルクロス張り", "量産品", "148.2", "m2", "1100", "820", "外注");
    w.Detail("タイルカーペット張り", "500角", "64.8", "m2", "3900", "3100", "材料");
    w.Total(V::levelSmall);
    w.Heading(kindSmall, "2階 会議室", 2);
    w.Detail("せっこうボード張り", "t=12.5", "96.6", "m2", "1650", "1300", "外注");
    w.Detail("ビニルクロス張り", "量産品", "96.6", "m2", "1100", "820", "外注");
    w.Detail("ビニル床シート張り", "t=2.0", "42.0", "m2", "3400", "2700", "材料");
    w.Total(V::levelSmall);
    w.Total(V::levelMiddle);
    w.Total(V::levelLarge);
    w.NewPage();
    w.Heading(kindLarge, "電気設備工事", 0);
    w.Detail("照明器具", "LED ベースライト", "24", "台", "18500", "14800", "材料");
    w.Detail("電線", "VVF 2.0-3C", "420", "m", "380", "290", "材料");
    w.Detail("分電盤", "主幹 75A", "2", "面", "85000", "68000", "材料");
    w.Detail("電気工事", "配線・器具取付", "1", "式", "240000", "190000", "労務");
    w.Total(V::levelLarge);
    w.Total(V::levelKind);
    w.NewPage();
    w.Kind("付帯工事");
    w.Heading(kindLarge, "外構工事", 0);
    w.Detail("アスファルト舗装", "t=50", "150", "m2", "4800", "3900", "外注");
    w.Detail("コンクリート平板", "300角", "36", "m2", "3600", "2800", "外注");
    w.Detail("高木植栽", "H=3.0m", "4", "本", "28000", "21000", "外注");
    w.Discount("-20000");
    w.DiscountTotal(V::levelLarge);
    w.Total(V::levelLarge);
    w.Total(V::levelKind);
    // The overheads are a kind of their own: after a kind's subtotal, a large heading
    // without a kind heading of its own would hang under the kind just closed.
    w.Kind("諸経費");
    w.Heading(kindLarge, "共通費・管理費", 0);
    w.Detail("共通仮設費", "", "1", "式", "380000", "380000", "経費");
    w.Detail("現場管理費", "", "1", "式", "620000", "620000", "経費");
    w.Note("法定福利費を含む");
    w.Detail("一般管理費", "", "1", "式", "540000", "540000", "経費");
    w.Total(V::levelLarge);
    w.Total(V::levelKind);
    w.Discount("-150000");
    view.SetCellText(Sj("出精値引"), w.Row() - 1, colName, TRUE);
    w.Total(V::levelGrand);
    view.InsertConsumptionTax();

    // Subject numbers in the name column, each heading with its own level's number: kinds
    // and middle subjects as numbers, large subjects as letters, small ones with two digits.
    view.ApplySubjectNumbering(TRUE, FALSE, 2, 0, 2, 1, colName, 0);
    view.RecalcAll();
}

void FillInformation(CMorvelEMView& view)
{
    const char* const values[] = {
        "株式会社 山田商事",
        "山田ビル改修工事",
        "東京都千代田区神田須田町1-2-3",
        "2024年6月10日",
        "御見積後3ヶ月",
        "2024年7月～2024年9月",
        "出来高払い(月末締め翌月末払い)",
        "",
        "",
        "",
        "",
        "",
        "佐藤 一郎",
    };
    CStringArray information;
    for (int i = 0; i < view.GetModel().GetInformationCount(); ++i)
        information.Add(i < static_cast<int>(std::size(values)) ? Sj(values[i])
                                                                : view.GetModel().GetInformation(i));
    view.ApplyInformationValues(information);
}

int Usage()
{
    std::fprintf(stderr, "usage: make_sample_estimate <dir>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return Usage();
    const std::filesystem::path root = std::filesystem::absolute(argv[1]).lexically_normal();
    const CString formFolder = SystemPathFromNative((root / "FORM").string()) + "\\";
    const std::filesystem::path work = root / "WORK";
    if (!std::filesystem::is_directory(work)) {
        std::fprintf(stderr, "make_sample_estimate: %s is not a sample work folder\n", root.c_str());
        return 1;
    }

    // Message boxes would only report here.
    SetMessageBoxHandler([](const CString& text, UINT, UINT) {
        std::fprintf(stderr, "make_sample_estimate: %s\n", text.ToUtf8().c_str());
        return IDOK;
    });

    // The sample settings, in a settings file of this run.
    char iniTemplate[] = "/tmp/make_sample_estimate-XXXXXX";
    const int fd = mkstemp(iniTemplate);
    if (fd < 0) {
        std::perror("make_sample_estimate: mkstemp");
        return 1;
    }
    close(fd);
    const std::string iniPath = iniTemplate;
    struct Remove {
        std::string path;
        ~Remove() { std::remove(path.c_str()); }
    } removeIni{iniPath};
    CProfileFile profile(SystemPathFromNative(iniPath));
    CMorvelSettings settings(profile);
    // The estimate engine reads the current settings.
    CMorvelSettings::SetCurrent(&settings);
    settings.WritePathSetting("Work Field", SystemPathFromNative(work.string()));
    settings.m_nTax = 8;
    settings.m_nDirection = 1;
    settings.m_nRoundOff = 0;
    settings.m_nBackupFile = 1;
    settings.m_nRoundMode = 3;
    settings.WriteInputSettings();
    settings.WriteProfileInt("Input Setting", "Rows in a page", CMorvelSettings::DEFAULT_ROWS_PER_PAGE);
    settings.WriteProfileInt("ReCalcSetting", "Level", 3);

    auto* pDoc = new CMorvelEMDoc;
    pDoc->m_bAutoDelete = FALSE;
    auto* pView = new CMorvelEMView;
    pDoc->AddView(pView);
    struct Free {
        CMorvelEMDoc* doc;
        CMorvelEMView* view;
        ~Free()
        {
            delete view;
            delete doc;
        }
    } free{pDoc, pView};

    pDoc->m_strEstimationFormName = "meisai.MMK";
    pDoc->m_strInformationFormName = "JYOUHOU.MJK";
    if (!ReadForm(formFolder + "meisai.MMK",
                  [&](CArchive& ar) { return pDoc->m_EstimationForm.Serialize(ar); }) ||
        !ReadForm(formFolder + "JYOUHOU.MJK",
                  [&](CArchive& ar) { return pDoc->m_InformationForm.Serialize(ar); }))
        return 1;
    pDoc->m_nNewEstimate = 1;
    pView->SetupFromDocument();

    BuildEstimate(*pView);
    FillInformation(*pView);
    // It prints through the sample layout from the start. The layout's folder is kept
    // relative to the estimate's, so that the sample work folder works wherever it is.
    SetPrintFormList(pDoc->m_aPrintForms, {{Sj("見積書"), CString("..\\FORM\\")}});

    const CString path = SystemPathFromNative((work / "サンプル見積.MMD").string());
    if (!pDoc->OnSaveDocument(path))
        return 1;

    CString strTotal, strTax, strNet;
    pView->GetInformationAmounts(strTotal, strTax, strNet);
    std::printf("make_sample_estimate: wrote %s (%d rows, amount without tax %s, tax %s, with tax %s)\n",
                path.ToUtf8().c_str(), pView->GetUsedRows(), strNet.c_str(), strTax.c_str(),
                strTotal.c_str());
    return 0;
}
