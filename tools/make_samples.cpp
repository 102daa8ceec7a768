// make_samples: writes the demo work folder of a small building contractor with the
// program's own writers.
//
//   make_samples <dir> [--ini <settings-file>]
//
// <dir>/MASTER  units, subjects of three levels and classifications ("Other Form")
// <dir>/FORM    the estimation, parts and information forms, and two print layouts written
//               by the layout documents ("見積書.MMP", "部材表.MBP")
// <dir>/WORK    the documents' folder: the sample parts list, which prints through
//               "部材表.MBP" ("..\FORM\" relative to it), and the demo estimate that
//               make_sample_estimate writes there
//
// With --ini the settings file is written too, its folders pointing at <dir>.
#include "app/CClassifyFile.h"
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CPartFormFile.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "app/MasterBackup.h"
#include "app/SharedRecords.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

CString Sj(const char* utf8)
{
    return CString::FromUtf8(utf8);
}

// ---- Master data -------------------------------------------------------------------------

const char* const kUnits[] = {
    "m",  "m2", "m3", "式", "箇所", "本", "枚",   "kg", "t", "台",     "人",   "日", "ケ所", "組",
    "坪", "個", "袋", "缶", "巻",   "丁", "ヶ月", "回", "L", "セット", "時間", "基", "面",   "カ所",
};

struct NameUnit {
    const char* name;
    const char* unit;
};

const NameUnit kLargeSubjects[] = {
    {"建築工事", "式"}, {"電気設備工事", "式"}, {"機械設備工事", "式"},
    {"外構工事", "式"}, {"解体撤去工事", "式"}, {"諸経費", "式"},
};

const NameUnit kMiddleSubjects[] = {
    {"直接仮設工事", "式"},     {"土工事", "式"},           {"地業工事", "式"},
    {"鉄筋工事", "式"},         {"コンクリート工事", "式"}, {"型枠工事", "式"},
    {"鉄骨工事", "式"},         {"防水工事", "式"},         {"屋根工事", "式"},
    {"木工事", "式"},           {"金属工事", "式"},         {"左官工事", "式"},
    {"建具工事", "式"},         {"ガラス工事", "式"},       {"塗装工事", "式"},
    {"内装工事", "式"},         {"雑工事", "式"},           {"電灯設備工事", "式"},
    {"動力設備工事", "式"},     {"弱電設備工事", "式"},     {"給排水衛生設備工事", "式"},
    {"空気調和設備工事", "式"}, {"舗装工事", "式"},         {"植栽工事", "式"},
    {"共通仮設費", "式"},       {"現場管理費", "式"},       {"一般管理費", "式"},
};

const NameUnit kSmallSubjects[] = {
    {"水盛遣方", "m2"},
    {"墨出し", "m2"},
    {"外部足場", "m2"},
    {"養生シート", "m2"},
    {"内部足場", "m2"},
    {"根切り", "m3"},
    {"床付け", "m2"},
    {"埋戻し", "m3"},
    {"残土処分", "m3"},
    {"砕石地業 t=60", "m2"},
    {"防湿フィルム", "m2"},
    {"捨てコンクリート", "m3"},
    {"既製コンクリート杭", "本"},
    {"異形鉄筋 D10", "t"},
    {"異形鉄筋 D13", "t"},
    {"異形鉄筋 D16", "t"},
    {"異形鉄筋 D19", "t"},
    {"鉄筋加工組立", "t"},
    {"鉄筋運搬", "t"},
    {"普通コンクリート Fc24 S18", "m3"},
    {"普通コンクリート Fc21 S15", "m3"},
    {"コンクリートポンプ打設", "m3"},
    {"普通型枠", "m2"},
    {"基礎型枠", "m2"},
    {"打放し型枠", "m2"},
    {"鉄骨加工組立", "t"},
    {"高力ボルト M20", "本"},
    {"アンカーボルト", "本"},
    {"アスファルト防水", "m2"},
    {"塩ビシート防水", "m2"},
    {"シーリング", "m"},
    {"ガルバリウム鋼板折板葺", "m2"},
    {"構造材 プレカット", "m3"},
    {"造作材", "m3"},
    {"ステンレス手摺", "m"},
    {"モルタル塗り", "m2"},
    {"アルミサッシ", "箇所"},
    {"木製建具", "箇所"},
    {"フロートガラス 5mm", "m2"},
    {"合成樹脂エマルションペイント塗り", "m2"},
    {"せっこうボード張り t=12.5", "m2"},
    {"ビニルクロス張り", "m2"},
    {"ビニル床シート張り", "m2"},
    {"タイルカーペット張り", "m2"},
    {"美装工", "式"},
    {"照明器具", "台"},
    {"電線 VVF 2.0-3C", "m"},
    {"分電盤", "面"},
    {"給水管 HIVP 20A", "m"},
    {"衛生器具", "組"},
    {"ルームエアコン", "台"},
    {"アスファルト舗装 t=50", "m2"},
    {"コンクリート平板", "m2"},
    {"高木植栽", "本"},
};

const NameUnit kClassifications[] = {
    {"材料費", "100"}, {"労務費", "100"},   {"外注費", "100"},   {"機械経費", "100"},
    {"経費", "100"},   {"共通仮設費", "5"}, {"現場管理費", "8"}, {"一般管理費", "10"},
};

// ---- Forms ---------------------------------------------------------------------------------

// One estimation or parts form item: name, attribute, width, picture, formula, rounding,
// then the form's four codes.
struct FormItem10 {
    const char* columns[10];
};

// Columns A to J of the estimate grid. Formulas name columns by these letters.
const FormItem10 kEstimationItems[] = {
    {{"名称", "文字", "24", "", "", "", "6", "", "A", "B"}},
    {{"規格", "文字", "18", "", "", "", "", "", "B", "C"}},
    {{"数量", "数値", "9", "###,###.##", "", "F(-3)", "3", "", "C", "D"}},
    {{"単位", "文字", "5", "", "", "", "1", "", "D", "E"}},
    {{"単価", "数値", "10", "###,###", "", "F(-1)", "", "", "E", "H"}},
    {{"金額", "計 A", "12", "###,###,###", "C*E", "D(-1)", "", "2", "F", "J"}},
    {{"原価単価", "数値", "10", "###,###", "", "F(-1)", "", "", "", "G"}},
    {{"原価金額", "計 A", "12", "###,###,###", "C*G", "D(-1)", "", "3", "", "I"}},
    {{"分類", "文字", "4", "", "", "", "4", "", "", ""}},
    {{"備考", "文字", "16", "", "", "", "", "", "G", "M"}},
};

// Columns A to G of the parts grid.
const FormItem10 kPartsItems[] = {
    {{"部材名", "文字", "20", "", "", "", "2", "", "", ""}},
    {{"規格", "文字", "16", "", "", "", "", "", "", ""}},
    {{"数量", "数値", "8", "###,###.##", "", "F(-3)", "", "", "", ""}},
    {{"単位", "文字", "5", "", "", "", "1", "", "", ""}},
    {{"単価", "数値", "10", "###,###", "", "F(-1)", "", "", "", ""}},
    {{"金額", "計算", "12", "###,###,###", "C*E", "D(-1)", "", "", "", ""}},
    {{"備考", "文字", "14", "", "", "", "", "", "", ""}},
};

// One information item: name, attribute, width, picture, formula, rounding, E, P.
struct FormItem8 {
    const char* columns[8];
};

const FormItem8 kInformationItems[] = {
    {{"得意先名", "文字", "30", "", "", "", "", ""}},
    {{"工事名称", "文字", "30", "", "", "", "", ""}},
    {{"工事場所", "文字", "30", "", "", "", "", ""}},
    {{"見積日", "文字", "12", "", "", "", "", ""}},
    {{"有効期限", "文字", "12", "", "", "", "", ""}},
    {{"工期", "文字", "20", "", "", "", "", ""}},
    {{"支払条件", "文字", "20", "", "", "", "", ""}},
    {{"税抜見積", "税抜見積", "14", "###,###,###", "", "D(-1)", "2", ""}},
    {{"消費税", "消費税", "14", "###,###,###", "", "D(-1)", "2", ""}},
    {{"税込見積", "税込見積", "14", "###,###,###", "", "D(-1)", "2", ""}},
    {{"出精値引", "数値", "14", "###,###,###", "", "D(-1)", "2", ""}},
    {{"御見積金額", "計算", "14", "###,###,###", "J-K", "D(-1)", "3", ""}},
    {{"担当者", "文字", "12", "", "", "", "", ""}},
};

// ---- Writing -------------------------------------------------------------------------------

bool WriteArchiveFile(const CString& path, const std::function<void(CArchive&)>& store)
{
    try {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 4096);
        store(ar);
        ar.Close();
        file.Close();
        return true;
    } catch (const CException& e) {
        std::fprintf(stderr, "make_samples: %s: %s\n", path.ToUtf8().c_str(),
                     e.GetErrorText().ToUtf8().c_str());
        return false;
    }
}

template <class TForm, class TItem, size_t N>
void FillForm(TForm& form, const TItem (&items)[N])
{
    for (size_t i = 0; i < N; ++i) {
        for (int j = 0; j < TForm::COLUMN_COUNT; ++j)
            form.GetItem(static_cast<int>(i), j) = Sj(items[i].columns[j]);
    }
    form.SetCount(static_cast<int>(N));
}

template <size_t N>
void FillSubjects(CSubjectFile& subjects, int nLevel, const NameUnit (&entries)[N])
{
    std::vector<std::pair<CString, CString>> level;
    for (size_t i = 0; i < N; ++i)
        level.emplace_back(Sj(entries[i].name), Sj(entries[i].unit));
    subjects.SetLevel(nLevel, level);
}

bool MakeFolder(const std::filesystem::path& path)
{
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) {
        std::fprintf(stderr, "make_samples: cannot create %s: %s\n", path.c_str(), ec.message().c_str());
        return false;
    }
    return true;
}

// ---- Print layouts -----------------------------------------------------------------------
// An A4 page centred on the origin, 0.01 inch, y up. Tables follow the table tool's
// convention: the left field holds the larger x and the bottom field the larger y.

CDrawText* AddText(CPrintDoc& doc, int x1, int yTop, int x2, int yBottom, const char* utf8, int nHeight,
                   int nAlign, bool bBold = false, int nLineStyle = 0)
{
    auto* pText = new CDrawText(CRect(x1, yTop, x2, yBottom));
    pText->m_strText = Sj(utf8);
    pText->m_nAlign = nAlign;
    pText->m_nLineStyle = nLineStyle;
    pText->m_bFill = FALSE;
    pText->m_logFont = LOGFONT{};
    pText->m_logFont.lfHeight = -nHeight;
    pText->m_logFont.lfWeight = bBold ? 700 : 400;
    pText->m_logFont.lfCharSet = 128;
    pText->m_logFont.lfPitchAndFamily = 49;
    const CString face = Sj("ＭＳ 明朝");
    std::snprintf(pText->m_logFont.lfFaceName, sizeof pText->m_logFont.lfFaceName, "%s", face.c_str());
    doc.Add(pText);
    return pText;
}

void AddLine(CPrintDoc& doc, int x1, int y1, int x2, int y2, int nStyle)
{
    auto* pLine = new CDrawRect(CRect(x1, y1, x2, y2));
    pLine->m_nShape = CDrawRect::line;
    pLine->m_nLineStyle = nStyle;
    pLine->m_bFill = FALSE;
    doc.Add(pLine);
}

// A table whose columns (from the left on paper) have the given widths and whose rows (from
// the top on paper) the given height; cell texts by row and column.
void AddTable(CPrintDoc& doc, int xLeft, int yTop, const std::vector<int>& widths, int nRows, int nRowHeight,
              const std::function<std::string(int nRow, int nCol)>& text,
              const std::function<int(int nCol)>& align)
{
    int nWidth = 0;
    for (int w : widths)
        nWidth += w;
    const int yBottom = yTop - nRows * nRowHeight;
    auto* pTable = new CDrawTable(CRect(xLeft + nWidth, yBottom, xLeft, yTop));
    for (int r = 0; r < nRows; ++r) {
        int x = xLeft;
        const int yUpper = yTop - r * nRowHeight;
        for (size_t c = 0; c < widths.size(); ++c) {
            CDrawCell* pCell = pTable->AddCell(CRect(x + widths[c], yUpper - nRowHeight, x, yUpper));
            pCell->m_strText = Sj(text(r, static_cast<int>(c)).c_str());
            pCell->m_nAlign = align(static_cast<int>(c));
            pCell->m_bFill = r == 0;
            pCell->m_nFillPattern = r == 0 ? 2 : 0;
            pCell->m_foreColor = RGB(192, 192, 192);
            pCell->m_backColor = RGB(255, 255, 255);
            pCell->m_logFont = LOGFONT{};
            pCell->m_logFont.lfHeight = -14;
            pCell->m_logFont.lfWeight = r == 0 ? 700 : 400;
            pCell->m_logFont.lfCharSet = 128;
            pCell->m_logFont.lfPitchAndFamily = 49;
            const CString face = Sj("ＭＳ ゴシック");
            std::snprintf(pCell->m_logFont.lfFaceName, sizeof pCell->m_logFont.lfFaceName, "%s",
                          face.c_str());
            for (int e = 0; e < CDrawCell::EDGE_COUNT; ++e) {
                pCell->m_nEdgeStyle[e] = 1;
                pCell->m_clrEdge[e] = RGB(0, 0, 0);
            }
            // A heavier line under the heading and around the table.
            if (r == 0)
                pCell->m_nEdgeStyle[CDrawCell::edgeLower] = 7;
            x += widths[c];
        }
    }
    doc.Add(pTable);
}

// The rows of a grid page in the sample settings: the settings' own default, which the sample
// estimate's pages and the sample layout's detail table take too.
constexpr int kSampleRowsPerPage = CMorvelSettings::DEFAULT_ROWS_PER_PAGE;
// The height of a row of the sample layout's detail table (0.01 inch): the page's rows fill
// the room between the heading block and the totals.
constexpr int kDetailRowHeight = 30;

bool WriteSampleLayouts(const CString& formFolder, const CEstimationFormFile& estimation,
                        const CInformationFormFile& information, const CPartFormFile& parts)
{
    RegisterDrawing();
    // Without a printer the documents would say so; paper sizes are not stored in layouts.
    MessageBoxHandler previous = SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
    bool ok = true;
    {
        CPrintEMDoc doc;
        doc.m_strCurEstimationForm = "meisai.MMK";
        doc.m_curEstimationForm = estimation;
        doc.m_strCurInformationForm = "JYOUHOU.MJK";
        doc.m_curInformationForm = information;
        // Header.
        AddText(doc, -380, 560, 380, 500, "御　見　積　書", 40, CTextAttributes::alignCenter, true);
        AddLine(doc, -200, 495, 200, 495, 7);
        AddText(doc, 180, 560, 380, 535, "$日付()$", 12, CTextAttributes::alignRight);
        AddText(doc, 180, -555, 380, -580, "$ﾍﾟｰｼﾞ()$ / $すべてのﾍﾟｰｼﾞ()$", 11, CTextAttributes::alignRight);
        // Information fields.
        AddText(doc, -380, 470, 40, 440, "$情報(得意先名)$　様", 20, CTextAttributes::alignLeft, true, 1);
        AddText(doc, -380, 430, 40, 410, "工事名称：$情報(工事名称)$", 13, CTextAttributes::alignLeft);
        AddText(doc, -380, 405, 40, 385, "工事場所：$情報(工事場所)$", 13, CTextAttributes::alignLeft);
        AddText(doc, -380, 380, 40, 360, "工　　期：$情報(工期)$", 13, CTextAttributes::alignLeft);
        AddText(doc, -380, 355, 40, 335, "支払条件：$情報(支払条件)$", 13, CTextAttributes::alignLeft);
        AddText(doc, -380, 325, 40, 290, "御見積金額　￥$情報(御見積金額)$－", 22, CTextAttributes::alignLeft,
                true, 7);
        AddText(doc, 120, 470, 380, 445, "株式会社　モルベル建設", 16, CTextAttributes::alignRight, true);
        AddText(doc, 120, 440, 380, 420, "担当：$情報(担当者)$", 12, CTextAttributes::alignRight);
        AddText(doc, 120, 415, 380, 395, "有効期限：$情報(有効期限)$", 12, CTextAttributes::alignRight);
        // Detail table: a heading row and a grid page of estimate lines, so that a page of
        // the grid is a printed page.
        const std::vector<int> widths = {230, 150, 70, 50, 90, 110, 60};
        const char* const heads[] = {"名　称", "規　格", "数　量", "単位", "単　価", "金　額", "備考"};
        const char* const items[] = {"名称", "規格", "数量", "単位", "単価", "金額", "備考"};
        AddTable(
            doc, -380, 270, widths, kSampleRowsPerPage + 1, kDetailRowHeight,
            [&](int r, int c) {
                if (r == 0)
                    return std::string(heads[c]);
                return "$見積(1," + std::string(items[c]) + "," + std::to_string(r) + ")$";
            },
            [](int c) {
                return c == 2 || c == 4 || c == 5 ? CTextAttributes::alignRight : CTextAttributes::alignLeft;
            });
        // Totals under the table.
        const int yTotals = 270 - (kSampleRowsPerPage + 1) * kDetailRowHeight - 10;
        AddTable(
            doc, 100, yTotals, {130, 150}, 3, 22,
            [](int r, int c) {
                const char* const labels[] = {"税抜見積", "消費税", "税込見積"};
                return c == 0 ? std::string(labels[r]) : "$情報(" + std::string(labels[r]) + ")$";
            },
            [](int c) { return c == 0 ? CTextAttributes::alignCenter : CTextAttributes::alignRight; });
        doc.m_nZoom = 100;
        ok &= doc.OnSaveDocument(formFolder + Sj("見積書.MMP")) != FALSE;
    }
    {
        CPrintPMDoc doc;
        doc.m_strCurPartsForm = "BUZAI.MBK";
        doc.m_curPartsForm = parts;
        AddText(doc, -380, 560, 380, 505, "部　材　表", 36, CTextAttributes::alignCenter, true);
        AddLine(doc, -160, 500, 160, 500, 8);
        AddText(doc, 180, 560, 380, 535, "$日付()$", 12, CTextAttributes::alignRight);
        AddText(doc, -100, -555, 100, -580, "$ﾍﾟｰｼﾞ()$", 11, CTextAttributes::alignCenter);
        const std::vector<int> widths = {220, 170, 90, 60, 100, 120};
        const char* const heads[] = {"部材名", "規　格", "数　量", "単位", "単　価", "金　額"};
        const char* const items[] = {"部材名", "規格", "数量", "単位", "単価", "金額"};
        AddTable(
            doc, -380, 480, widths, 41, 24,
            [&](int r, int c) {
                if (r == 0)
                    return std::string(heads[c]);
                return "$部材(1," + std::string(items[c]) + "," + std::to_string(r) + ")$";
            },
            [](int c) {
                return c >= 2 && c != 3 ? CTextAttributes::alignRight : CTextAttributes::alignLeft;
            });
        ok &= doc.OnSaveDocument(formFolder + Sj("部材表.MBP")) != FALSE;
    }
    SetMessageBoxHandler(previous);
    if (!ok)
        std::fprintf(stderr, "make_samples: the print layouts could not be written\n");
    return ok;
}

int Usage()
{
    std::fprintf(stderr, "usage: make_samples <dir> [--ini <settings-file>]\n");
    return 2;
}

} // namespace

// The sample parts list "部材処理.MBD": a few parts typed in through the parts grid, so
// that the amounts are the grid's own calculation, then written by the parts document.
bool WriteSamplePartsList(const CString& workFolder, const CPartFormFile& parts)
{
    struct PartRow {
        const char* cells[5]; // 部材名, 規格, 数量, 単位, 単価
    };
    static const PartRow kRows[] = {
        {{"異形棒鋼", "SD295A D13", "1,250.5", "kg", "98"}},
        {{"生コンクリート", "21-18-20", "12.75", "m3", "14,800"}},
        {{"型枠用合板", "12mm", "48", "枚", "1,650"}},
        {{"結束線", "#21", "3", "巻", "420"}},
        {{"セパレーター", "W5/16 C-200", "360", "本", "38"}},
    };
    CMorvelPMDoc doc;
    doc.m_bAutoDelete = FALSE;
    auto* pView = new CMorvelPMView;
    doc.AddView(pView);
    doc.m_strFormName = "BUZAI.MBK";
    doc.m_form = parts;
    pView->TakeDocumentRows();
    // It prints through the sample layout from the start, kept relative to the list's folder
    // (as the sample estimate keeps its own), so that the work folder works wherever it is.
    SetPrintFormList(doc.m_aPrintForms, {{Sj("部材表"), CString("..\\FORM\\")}});
    static const int kColumns[] = {0, 1, 2, 3, 4};
    for (int r = 0; r < static_cast<int>(std::size(kRows)); ++r) {
        for (int i = 0; i < 5; ++i) {
            pView->SetCurrentCell(kColumns[i], r);
            pView->CommitTypedText(Sj(kRows[r].cells[i]));
        }
    }
    const bool ok =
        WriteArchiveFile(workFolder + Sj("部材処理.MBD"), [&](CArchive& ar) { doc.Serialize(ar); });
    doc.RemoveView(pView);
    delete pView;
    return ok;
}

int main(int argc, char** argv)
{
    std::string dirArg, iniArg;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ini" && i + 1 < argc)
            iniArg = argv[++i];
        else if (!arg.empty() && arg[0] != '-' && dirArg.empty())
            dirArg = arg;
        else
            return Usage();
    }
    if (dirArg.empty())
        return Usage();

    const std::filesystem::path root = std::filesystem::absolute(dirArg).lexically_normal();
    const std::filesystem::path master = root / "MASTER", form = root / "FORM", work = root / "WORK";
    if (!MakeFolder(master) || !MakeFolder(form) || !MakeFolder(work))
        return 1;
    // Keeps the empty document folder in version control.
    if (!std::filesystem::exists(work / ".gitkeep"))
        WriteFileAtomically(SystemPathFromNative((work / ".gitkeep").string()), "", 0);

    const CString masterFolder = SystemPathFromNative(master.string()) + "\\";
    const CString formFolder = SystemPathFromNative(form.string()) + "\\";

    std::vector<CString> unitNames;
    for (const char* unit : kUnits)
        unitNames.push_back(Sj(unit));
    CUnitFile units;
    units.SetUnits(unitNames);

    CSubjectFile subjects;
    FillSubjects(subjects, CSubjectFile::levelLarge, kLargeSubjects);
    FillSubjects(subjects, CSubjectFile::levelMiddle, kMiddleSubjects);
    FillSubjects(subjects, CSubjectFile::levelSmall, kSmallSubjects);

    std::vector<std::pair<CString, CString>> classEntries;
    for (const NameUnit& entry : kClassifications)
        classEntries.emplace_back(Sj(entry.name), Sj(entry.unit));
    CClassifyFile classes;
    classes.SetEntries(classEntries);

    CEstimationFormFile estimation;
    FillForm(estimation, kEstimationItems);
    CPartFormFile parts;
    FillForm(parts, kPartsItems);
    CInformationFormFile information;
    FillForm(information, kInformationItems);

    bool ok = true;
    ok &= WriteArchiveFile(masterFolder + GetMasterStartupFileName(masterUnit),
                           [&](CArchive& ar) { units.Serialize(ar); });
    ok &= WriteArchiveFile(masterFolder + GetMasterStartupFileName(masterLarge),
                           [&](CArchive& ar) { subjects.SerializeLarge(ar); });
    ok &= WriteArchiveFile(masterFolder + GetMasterStartupFileName(masterMiddle),
                           [&](CArchive& ar) { subjects.SerializeMiddle(ar); });
    ok &= WriteArchiveFile(masterFolder + GetMasterStartupFileName(masterSmall),
                           [&](CArchive& ar) { subjects.SerializeSmall(ar); });
    ok &= WriteArchiveFile(masterFolder + GetMasterStartupFileName(masterClassify),
                           [&](CArchive& ar) { classes.Serialize(ar); });
    ok &= WriteArchiveFile(formFolder + "meisai.MMK", [&](CArchive& ar) { estimation.Serialize(ar); });
    ok &= WriteArchiveFile(formFolder + "BUZAI.MBK", [&](CArchive& ar) { parts.Serialize(ar); });
    ok &= WriteArchiveFile(formFolder + "JYOUHOU.MJK", [&](CArchive& ar) { information.Serialize(ar); });
    ok &= WriteSampleLayouts(formFolder, estimation, information, parts);
    ok &= WriteSamplePartsList(SystemPathFromNative(work.string()) + "\\", parts);
    if (!ok)
        return 1;

    if (!iniArg.empty()) {
        const std::filesystem::path ini = std::filesystem::absolute(iniArg).lexically_normal();
        CProfileFile profile(SystemPathFromNative(ini.string()));
        CMorvelSettings settings(profile);
        // Folders are written without their last separator: the lookup adds one.
        settings.WritePathSetting("Work Drive", "C");
        settings.WritePathSetting("Work Field", SystemPathFromNative(work.string()));
        settings.WritePathSetting("Estimation Form", SystemPathFromNative(form.string()));
        settings.WritePathSetting("Parts Form", SystemPathFromNative(form.string()));
        settings.WritePathSetting("Information Form", SystemPathFromNative(form.string()));
        settings.WritePathSetting("Other Form", SystemPathFromNative(master.string()));
        settings.m_strEstimationFormFile = "meisai.MMK";
        settings.m_strInformationFormFile = "JYOUHOU.MJK";
        settings.m_strPartFormFile = "BUZAI.MBK";
        settings.WriteFormFileNames();
        settings.m_nTax = 8;
        settings.m_nDirection = 1;
        settings.m_nRoundOff = 0;
        settings.m_nBackupFile = 0;
        settings.m_nRoundMode = 3;
        settings.WriteInputSettings();
        settings.WriteProfileInt("Input Setting", "Rows in a page", kSampleRowsPerPage);
        if (!FileExists(settings.GetProfileString("Path Setting", "Other Form", "") + "\\TANNI.MTD")) {
            std::fprintf(stderr, "make_samples: the settings file %s could not be written\n", ini.c_str());
            return 1;
        }
    }

    std::printf(
        "make_samples: wrote %s (%d units, %d/%d/%d subjects, %d classifications, forms of %d/%d/%d items)\n",
        root.c_str(), units.GetCount(), subjects.GetCount(0), subjects.GetCount(1), subjects.GetCount(2),
        classes.GetCount(), estimation.GetCount(), parts.GetCount(), information.GetCount());
    return 0;
}
