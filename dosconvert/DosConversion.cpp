#include "dosconvert/DosConversion.h"

#include "app/CClassifyFile.h"
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CMorvelApp.h"
#include "app/CMorvelSettings.h"
#include "app/CPartFormFile.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "dosconvert/CDosConvertDialog.h"
#include "dosconvert/CDosFileDialog.h"
#include "dosconvert/DosFiles.h"
#include "dosconvert/DosPartsFile.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMDoc.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932Text.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// ---- files ------------------------------------------------------------------------------
// A file in the folder of a "Path Setting" key, as a system path of one form whichever
// form the setting was written in ("/home/u/FORM" as well as "C:\MORVEL\FORM"): the
// converted documents keep their form file's path, and the messages name these files.
CString GetFolderFile(const char* lpszKey, const CString& strName)
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    const CString strFolder = pSettings != nullptr ? pSettings->GetPathSetting(lpszKey) : CString("\\");
    return SystemPathFromNative(NativePath(strFolder + strName));
}

// Builds the file in memory from store() and puts it in place in one step. FALSE when
// store() fails or the file cannot be written; the old file is then untouched.
BOOL WriteArchiveFile(const CString& strPath, const std::function<void(CArchive&)>& store)
{
    CMemFile file;
    try {
        CArchive ar(&file, CArchive::store, 4096);
        store(ar);
        ar.Close();
    } catch (CException&) {
        return FALSE;
    }
    const std::vector<BYTE>& data = file.GetData();
    return WriteFileAtomically(strPath, data.empty() ? nullptr : data.data(), data.size());
}

// The bytes of a finished file, for writing later.
struct CPendingFile {
    CString strPath;
    std::vector<BYTE> data;
};

BOOL BuildArchiveBytes(CPendingFile& file, const std::function<void(CArchive&)>& store)
{
    CMemFile mem;
    try {
        CArchive ar(&mem, CArchive::store, 4096);
        store(ar);
        ar.Close();
    } catch (CException&) {
        return FALSE;
    }
    file.data = mem.Detach();
    return TRUE;
}

BOOL WritePending(const CPendingFile& file)
{
    return WriteFileAtomically(file.strPath, file.data.empty() ? nullptr : file.data.data(),
                               file.data.size());
}

// The file name of a path without its folder and extension.
CString GetFileTitleOf(const CString& strPath)
{
    const int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    CString strName = strPath.Mid(nSlash + 1);
    const int nDot = strName.ReverseFind('.');
    if (nDot >= 0)
        strName = strName.Left(nDot);
    return strName;
}

// ---- messages -----------------------------------------------------------------------------
void Tell(const CString& text)
{
    AfxMessageBox(text, MB_OK);
}

void TellNotWritten(const CString& strPath)
{
    Tell("ﾌｧｲﾙを作成できません。\n"_sj + DisplayPath(strPath));
}

CString Formatted(const CString& format, const CString& strName)
{
    CString text;
    text.Format(format.c_str(), strName.c_str());
    return text;
}

// ---- texts of the forms ----------------------------------------------------------------------
CString Number(int n)
{
    CString s;
    s.Format("%d", n);
    return s;
}

// The one-character text of a code byte: '0' + T for the T column, the byte itself for
// B. Only a character that stands alone in code page 932 (printable ASCII or half-width
// kana) is taken; a lead byte alone would make the form's text unreadable.
CString CodeChar(int nCode)
{
    if ((nCode >= 0x21 && nCode <= 0x7E) || (nCode >= 0xA1 && nCode <= 0xDF))
        return CString(static_cast<char>(nCode));
    return CString();
}

CString Trimmed(const CString& text)
{
    return TrimBlanks(text.c_str());
}

struct CRecordsGuard {
    ~CRecordsGuard()
    {
        CDosTables& t = CDosTables::Get();
        t.record.clear();
        t.record.shrink_to_fit();
    }
};

// The estimate document, made as the framework makes it but without any window, so that
// the estimate's own writer stores it.
struct CEstimateOnPaper {
    CEstimateOnPaper() : pDoc(new CMorvelEMDoc) { pDoc->m_bAutoDelete = FALSE; }
    ~CEstimateOnPaper() { delete pDoc; }
    CEstimateOnPaper(const CEstimateOnPaper&) = delete;
    CEstimateOnPaper& operator=(const CEstimateOnPaper&) = delete;
    CMorvelEMDoc* pDoc;
};

// The records after the header: whole records up to the end of the file.
size_t CountRecords(const CDosStream& stream)
{
    const size_t nSize = static_cast<size_t>(CDosTables::Get().nRecordSize);
    return nSize == 0 ? 0 : (stream.GetLength() - stream.GetPosition()) / nSize;
}

// Lays the records out by the definitions of nLayoutKind and opens the data file at its
// first record: 0, or -1 when there are no definitions, the file cannot be opened or its
// header does not fit the definitions.
int OpenDosData(int nLayoutKind, int nKind, const char* lpszPath, CDosStream& source)
{
    if (PrepareDosRecordLayout(nLayoutKind) != 0)
        return -1;
    if (OpenDosFile(lpszPath, source) != 0)
        return -1;
    ReadDosVersionTag(nKind, source);
    if (ReadDosDataHeader(nKind, source) != 0)
        return -1;
    return 0;
}

// The six columns every form has, from a definition of the DOS edition (an item or an
// information item), with the attribute its type gave.
template <class Form, class Definition>
void SetCommonColumns(Form& form, int nItem, const Definition& d, const char* lpszAttribute)
{
    form.SetItem(nItem, Form::colName, Trimmed(d.name));
    form.SetItem(nItem, Form::colAttribute, CString::FromUtf8(lpszAttribute));
    form.SetItem(nItem, Form::colWidth, Number(d.width));
    form.SetItem(nItem, Form::colPicture, Trimmed(d.picture));
    form.SetItem(nItem, Form::colFormula, Trimmed(d.formula));
    form.SetItem(nItem, Form::colRounding, Trimmed(d.rounding));
}

} // namespace

// ---------------------------------------------------------------------------------------
// Forms and rows

ERowKind DosRowTypeToKind(int nType)
{
    switch (nType) {
    case dosRowKind:
        return kindKind;
    case dosRowLarge:
        return kindLarge;
    case dosRowMiddle:
        return kindMiddle;
    case dosRowSmall:
        return kindSmall;
    case dosRowKindTotal:
        return kindKindTotal;
    case dosRowLargeTotal:
        return kindLargeTotal;
    case dosRowMiddleTotal:
        return kindMiddleTotal;
    case dosRowSmallTotal:
        return kindSmallTotal;
    case dosRowKindDiscount:
        return kindKindDiscountTotal;
    case dosRowLargeDiscount:
        return kindLargeDiscountTotal;
    case dosRowMiddleDiscount:
        return kindMiddleDiscountTotal;
    case dosRowSmallDiscount:
        return kindSmallDiscountTotal;
    case dosRowGrandTotal:
        return kindGrandTotal;
    case dosRowDiscountGrandTotal:
        return kindGrandDiscountTotal;
    case dosRowDiscount:
        return kindDiscount;
    case dosRowTax:
        return kindFree;
    case dosRowClassify:
        return kindClassify;
    case dosRowStep:
        return kindStep;
    case dosRowClassify2:
        return kindClassify;
    default:
        return kindDetail;
    }
}

void BuildDosEstimationForm(CEstimationFormFile& form)
{
    const std::vector<DosItemDefinition>& defs = CDosTables::Get().estimateDefinitions;
    const int nItems =
        std::min(static_cast<int>(defs.size()) - 1, static_cast<int>(CEstimationFormFile::MAX_ITEMS));
    form.SetCount(nItems);
    for (int i = 0; i < nItems; ++i) {
        const DosItemDefinition& d = defs[static_cast<size_t>(i) + 1];
        const char* attribute = d.type == 3   ? "数値"
                                : d.type == 4 ? "計 A"
                                : d.type == 5 ? "計 B"
                                : d.type == 6 ? "計 C"
                                              : "文字";
        SetCommonColumns(form, i, d, attribute);
        form.SetItem(i, CEstimationFormFile::colT, d.t != 0 ? CodeChar('0' + d.t) : CString());
        form.SetItem(i, CEstimationFormFile::colV, d.v != 0 ? Number(d.v) : CString());
        form.SetItem(i, CEstimationFormFile::colB, d.b != 0 ? CodeChar(d.b) : CString());
        form.SetItem(i, CEstimationFormFile::colC, "");
    }
}

void BuildDosPartsForm(CPartFormFile& form)
{
    const std::vector<DosItemDefinition>& defs = CDosTables::Get().partsDefinitions;
    const int nItems =
        std::min(static_cast<int>(defs.size()) - 1, static_cast<int>(CPartFormFile::MAX_ITEMS));
    form.SetCount(nItems);
    for (int i = 0; i < nItems; ++i) {
        const DosItemDefinition& d = defs[static_cast<size_t>(i) + 1];
        const char* attribute = d.type == 3 ? "数値" : d.type == 4 ? "計算" : "文字";
        SetCommonColumns(form, i, d, attribute);
        form.SetItem(i, CPartFormFile::colT, d.t != 0 ? CodeChar('0' + d.t) : CString());
        form.SetItem(i, CPartFormFile::colD, "");
        form.SetItem(i, CPartFormFile::colC, "");
        form.SetItem(i, CPartFormFile::colP, "");
    }
}

void BuildDosInformationForm(CInformationFormFile& form)
{
    const std::vector<DosInformationItem>& items = CDosTables::Get().informationItems;
    const int nItems =
        std::min(static_cast<int>(items.size()), static_cast<int>(CInformationFormFile::MAX_ITEMS));
    form.SetCount(nItems);
    for (int i = 0; i < nItems; ++i) {
        const DosInformationItem& item = items[static_cast<size_t>(i)];
        const char* attribute = item.type == 3   ? "数値"
                                : item.type == 4 ? "税込見積"
                                : item.type == 5 ? "消費税"
                                : item.type == 6 ? "税抜見積"
                                : item.type == 7 ? "計算"
                                                 : "文字";
        SetCommonColumns(form, i, item, attribute);
        form.SetItem(i, CInformationFormFile::colE, item.e > 0 ? Number(item.e) : CString());
        form.SetItem(i, CInformationFormFile::colP, "");
    }
}

int FindDosUnitColumn(const CEstimationFormFile& form)
{
    for (int i = 0; i < form.GetCount(); ++i) {
        if (form.GetItem(i, CEstimationFormFile::colT) == "1")
            return i;
    }
    return -1;
}

void WriteDosEstimateRow(int nUnitColumn, CGridRow& row)
{
    const CDosTables& t = CDosTables::Get();
    const int nColumns = t.nDefinitionCount - 1;
    const int nType = ClassifyDosEstimateRow();
    // A non-calculated row of the older edition keeps no kind of its own: it becomes the
    // empty row's non-calculated kind.
    ERowKind nKind = IsDosNonCalcRow() ? NonCalculatedKindOf(kindEmpty) : DosRowTypeToKind(nType);
    if (IsDosSummaryPageRow())
        nKind = SummaryKindOf(nKind);

    // The DOS edition counts columns from the leading field; a column number beyond the
    // last column is taken as the last one.
    auto column = [nColumns](int nColumn) {
        nColumn = std::clamp(nColumn, 0, std::max(nColumns, 0));
        return nColumn > 0 ? nColumn - 1 : 0;
    };
    int w1 = 0, w2 = 0, w3 = 0;
    CString t1, t2;
    if (nType == dosRowStep) {
        const DosStepParameters p = ReadDosStepParameters();
        w1 = column(p.column);
        w3 = p.hundreds > 0 ? 1 : 0;
        t1 = Number(p.value);
    } else if (nType == dosRowClassify || nType == dosRowClassify2) {
        const DosClassifyParameters p = ReadDosClassifyParameters();
        t1 = Number(p.value);
        w1 = column(p.column);
        w2 = p.negative;
        w3 = p.hundreds > 1 ? 1 : 0;
        t2 = Number(p.second);
    }
    // The file stores the words in the order w1, w2, w3; the estimate reads them as its
    // first, third and second parameter.
    row.SetKind(nKind);
    row.SetParam1(w1);
    row.SetParam3(w2);
    row.SetParam2(w3);
    row.SetParamText1(t1);
    row.SetParamText2(t2);

    const bool bHeading = IsHeadingKind(nKind);
    const int nCells = std::min(nColumns, static_cast<int>(CGridRow::MAX_CELLS));
    for (int j = 1; j <= nCells; ++j) {
        const int nDefType = t.definitions[static_cast<size_t>(j)].type;
        CString field = GetDosRecordField(j);
        if (nDefType >= 3 && nDefType <= 6)
            field.Remove(',');
        CString text = Trimmed(field);
        if (bHeading && text.IsEmpty() && j - 1 == nUnitColumn)
            text = "式"_sj;
        row.SetCell(j - 1, std::move(text));
        row.SetIndent(j - 1, 0);
    }
}

void WriteDosPartsRow(CString* pCells, int nColumns)
{
    const CDosTables& t = CDosTables::Get();
    const int nCells = std::min(nColumns, t.nDefinitionCount - 1);
    for (int j = 1; j <= nCells; ++j) {
        const int nDefType = t.definitions[static_cast<size_t>(j)].type;
        CString field = GetDosRecordField(j);
        if (nDefType == 3 || nDefType == 4)
            field.Remove(',');
        pCells[j - 1] = Trimmed(field);
    }
}

// ---------------------------------------------------------------------------------------
// Documents

int ConvertDosEstimateFile(int nKind, const char* lpszPath)
{
    CDosTables& t = CDosTables::Get();
    CRecordsGuard releaseBuffer;
    CPendingFile target{GetFolderFile("Work Field", GetFileTitleOf(lpszPath) + ".MMD"), {}};
    CPendingFile informationFile{GetFolderFile("Information Form", "DOS情報.MJK"_sj), {}};

    CEstimationFormFile estimationForm;
    BuildDosEstimationForm(estimationForm);
    const int nUnitColumn = FindDosUnitColumn(estimationForm);

    CDosStream source;
    if (OpenDosData(dosKindEstimate, nKind, lpszPath, source) != 0)
        return -1;

    CInformationFormFile informationForm;
    BuildDosInformationForm(informationForm);

    // The estimate counts its rows in a 16-bit word.
    const size_t nRecords = CountRecords(source);
    if (nRecords > CMorvelEMDoc::MAX_FILE_WORD)
        return -1;
    const int nRows = static_cast<int>(nRecords);

    CEstimateOnPaper estimate;
    CMorvelEMDoc& doc = *estimate.pDoc;
    doc.m_strEstimationFormName = GetFolderFile("Estimation Form", "DOS見積.MMK"_sj);
    doc.m_EstimationForm = estimationForm;
    doc.m_strInformationFormName = informationFile.strPath;
    doc.m_InformationForm = informationForm;

    // The model takes its columns from the document's form; the ten words after the forms
    // are the converted estimate's: no subject numbering, zoom 100.
    doc.SetupModel();
    CEstimateModel& model = doc.Model();
    model.SetRowLimit(std::max(nRows, 1));
    CSubjectNumbering numbering;
    numbering.nShown = 0;
    numbering.nColumn = 0;
    numbering.nKindStyle = 0;
    numbering.nLargeStyle = 0;
    numbering.nMiddleStyle = 0;
    numbering.nSmallStyle = 0;
    numbering.nMode = 0;
    model.SetNumbering(numbering);
    model.SetZoom(100);
    std::vector<std::unique_ptr<CGridRow>> rows;
    rows.reserve(static_cast<size_t>(nRows));
    for (int r = 0; r < nRows; ++r) {
        if (!ReadDosRecord(source))
            return -1;
        rows.push_back(std::make_unique<CGridRow>());
        WriteDosEstimateRow(nUnitColumn, *rows.back());
    }
    source.Close();
    model.ReplaceEditRows(std::move(rows));

    const int nInformation = std::min(static_cast<int>(t.informationItems.size()),
                                      static_cast<int>(CEstimateModel::MAX_INFORMATION));
    for (int i = 0; i < nInformation; ++i)
        model.SetInformation(i, Trimmed(t.informationItems[static_cast<size_t>(i)].value));

    if (!BuildArchiveBytes(target, [&](CArchive& ar) { doc.Serialize(ar); }))
        return -1;
    if (!BuildArchiveBytes(informationFile, [&](CArchive& ar) { informationForm.Serialize(ar); }))
        return -1;
    // Both files are complete; only now is anything replaced.
    if (!WritePending(informationFile) || !WritePending(target))
        return -1;
    return 1;
}

int ConvertDosPartsFile(int nKind, const char* lpszPath)
{
    CDosTables& t = CDosTables::Get();
    CRecordsGuard releaseBuffer;
    CPendingFile target{GetFolderFile("Work Field", GetFileTitleOf(lpszPath) + ".MBD"), {}};
    CPendingFile formFile{GetFolderFile("Parts Form", "DOS部材.MBK"_sj), {}};

    CDosPartsFile parts;
    BuildDosPartsForm(parts.m_form);
    parts.m_strFormName = formFile.strPath;

    CDosStream source;
    if (OpenDosData(dosKindParts, nKind, lpszPath, source) != 0)
        return -1;

    const size_t nRecords = CountRecords(source);
    if (nRecords > CDosPartsFile::MAX_ROWS)
        return -1;
    const int nColumns = t.nDefinitionCount - 1;
    parts.SetColumnCount(nColumns);
    for (size_t r = 0; r < nRecords; ++r) {
        if (!ReadDosRecord(source))
            return -1;
        WriteDosPartsRow(parts.AddRow(), nColumns);
    }
    source.Close();

    if (!BuildArchiveBytes(target, [&](CArchive& ar) { parts.Store(ar); }))
        return -1;
    CPartFormFile form(parts.m_form);
    if (!BuildArchiveBytes(formFile, [&](CArchive& ar) { form.Serialize(ar); }))
        return -1;
    if (!WritePending(formFile) || !WritePending(target))
        return -1;
    return 1;
}

// ---------------------------------------------------------------------------------------
// Passes

CDosMasterTables CDosMasterTables::FromApplication()
{
    CDosMasterTables tables;
    if (auto* pApp = dynamic_cast<CMorvelApp*>(CMorvelSettings::GetCurrent())) {
        tables.pUnits = &pApp->m_unitFile;
        tables.pSubjects = &pApp->m_subjectFile;
        tables.pClassifications = &pApp->m_classifyFile;
    }
    return tables;
}

void RunDosAuxiliaryPass(const CDosConvertChoice& choice, const CDosMasterTables& tables)
{
    CDosTables& t = CDosTables::Get();
    if (choice.units) {
        if (ReadDosUnits() == 1) {
            // The table changes in memory only once its file has been written.
            CUnitFile units = tables.pUnits != nullptr ? *tables.pUnits : CUnitFile();
            std::vector<CString> names;
            for (const auto& unit : t.units)
                names.push_back(Trimmed(unit));
            units.SetUnits(names);
            const CString strPath = GetFolderFile("Other Form", "tanni.MTD");
            if (WriteArchiveFile(strPath, [&](CArchive& ar) { units.Serialize(ar); })) {
                if (tables.pUnits != nullptr)
                    *tables.pUnits = units;
            } else {
                TellNotWritten(strPath);
            }
            t.units.clear();
        } else {
            Tell("指定した単位ﾃﾞｰﾀが存在しません。"_sj);
        }
    }

    if (choice.subjects) {
        static const char* const kFiles[] = {"kamoku.MKB", "kamoku.MKM", "kamoku.MKS"};
        static const char* const kMessages[] = {"指定した大科目ﾃﾞｰﾀが存在しません。",
                                                "指定した中科目ﾃﾞｰﾀが存在しません。",
                                                "指定した小科目ﾃﾞｰﾀが存在しません。"};
        for (int nLevel = 0; nLevel < CSubjectFile::LEVEL_COUNT; ++nLevel) {
            if (ReadDosSubjects(nLevel) != 1) {
                Tell(CString::FromUtf8(kMessages[nLevel]));
                continue;
            }
            CSubjectFile subjects = tables.pSubjects != nullptr ? *tables.pSubjects : CSubjectFile();
            std::vector<std::pair<CString, CString>> read;
            for (const auto& subject : t.subjects)
                read.emplace_back(Trimmed(subject.first), Trimmed(subject.second));
            subjects.SetLevel(nLevel, read);
            const CString strPath = GetFolderFile("Other Form", kFiles[nLevel]);
            if (WriteArchiveFile(strPath, [&](CArchive& ar) { subjects.SerializeLevel(nLevel, ar); })) {
                if (tables.pSubjects != nullptr)
                    tables.pSubjects->CopyLevel(nLevel, subjects);
            } else {
                TellNotWritten(strPath);
            }
            t.subjects.clear();
        }
    }

    if (choice.classifications) {
        if (ReadDosClassifications() == 1) {
            CClassifyFile classify =
                tables.pClassifications != nullptr ? *tables.pClassifications : CClassifyFile();
            std::vector<std::pair<CString, CString>> entries;
            for (const auto& [strName, nPercent] : t.classifications) {
                CString strPercent;
                strPercent.Format("%i", nPercent);
                entries.emplace_back(Trimmed(strName), strPercent);
            }
            classify.SetEntries(entries);
            const CString strPath = GetFolderFile("Other Form", "bunrul.MRD");
            t.classifications.clear();
            if (WriteArchiveFile(strPath, [&](CArchive& ar) { classify.Serialize(ar); })) {
                if (tables.pClassifications != nullptr)
                    *tables.pClassifications = classify;
                Tell("指定した補助ﾃﾞｰﾀをｺﾝﾊﾞｰﾄしました。"_sj);
            } else {
                TellNotWritten(strPath);
            }
        } else {
            Tell("指定した分類ﾃﾞｰﾀが存在しません。"_sj);
        }
    }
}

void RunDosFormPass(const CDosConvertChoice& choice)
{
    if (choice.estimationForm) {
        if (ReadDosFormDefinitions(dosKindEstimate) == 1) {
            CEstimationFormFile form;
            BuildDosEstimationForm(form);
            const CString strPath = GetFolderFile("Estimation Form", "DOS見積.MMK"_sj);
            if (!WriteArchiveFile(strPath, [&](CArchive& ar) { form.Serialize(ar); }))
                TellNotWritten(strPath);
        } else {
            Tell("DOS版MORVELの見積形式ﾃﾞｰﾀが読み込めません。"_sj);
        }
    }
    if (choice.partsForm) {
        const CString strPath = GetFolderFile("Parts Form", "DOS部材.MBK"_sj);
        CPartFormFile form;
        if (ReadDosFormDefinitions(dosKindParts) == 1) {
            BuildDosPartsForm(form);
            if (!WriteArchiveFile(strPath, [&](CArchive& ar) { form.Serialize(ar); }))
                TellNotWritten(strPath);
        } else {
            Tell("DOS版MORVELの部材形式ﾃﾞｰﾀが読み込めません。"_sj);
        }
    }
    if (choice.informationForm) {
        const CString strPath = GetFolderFile("Information Form", "DOS情報.MJK"_sj);
        if (ReadDosFormDefinitions(dosKindInformation) == 1) {
            CInformationFormFile form;
            BuildDosInformationForm(form);
            if (WriteArchiveFile(strPath, [&](CArchive& ar) { form.Serialize(ar); }))
                Tell("指定した形式ﾃﾞｰﾀをｺﾝﾊﾞｰﾄしました。"_sj);
            else
                TellNotWritten(strPath);
        } else {
            Tell("DOS版MORVELの情報形式ﾃﾞｰﾀが読み込めません。"_sj);
        }
    }
}

void RunDosEditPass(const CDosConvertChoice& choice, CWnd* pOwner)
{
    const bool bEstimates = choice.estimateData != FALSE;
    if (!bEstimates && !choice.partsData)
        return;
    const DosEnvironment& env = CDosTables::Get().environment;
    CDosFileDialog dlg(bEstimates ? 1 : 0, (bEstimates ? env.estimateData : env.partsData) + "\\", pOwner);
    if (dlg.DoModal() != IDOK)
        return;
    for (const auto& pEntry : dlg.GetChosenFiles()) {
        const CDosFileEntry& entry = *pEntry;
        const CString strPath = dlg.GetFolder() + entry.m_strFileName;
        if (ReadDosFormDefinitions(bEstimates ? dosKindEstimate : dosKindParts) != 1) {
            Tell("DOS版MORVELの形式ﾃﾞｰﾀが読み込めません。"_sj);
            return;
        }
        const int nResult = bEstimates ? ConvertDosEstimateFile(dosKindEstimate, strPath)
                                       : ConvertDosPartsFile(dosKindParts, strPath);
        if (nResult == 1)
            Tell(Formatted("指定した [ %s ] をｺﾝﾊﾞｰﾄしました。"_sj, entry.m_strFileName));
        else
            Tell(Formatted("指定した [ %s ] は、\n形式が異なるためｺﾝﾊﾞｰﾄできません。"_sj,
                           entry.m_strFileName));
    }
}

void RunDosConversionPass(const CDosConvertChoice& choice, const CDosMasterTables& tables, CWnd* pOwner)
{
    CString strRoot(choice.drive);
    strRoot += ":\\MORVEL\\";
    if (ReadDosEnvironment(strRoot) != 1) {
        Tell("DOS版MORVELの環境ﾃﾞｰﾀが読み込めません。"_sj);
        return;
    }
    switch (choice.mode) {
    case CDosConvertChoice::modeAuxiliary:
        RunDosAuxiliaryPass(choice, tables);
        break;
    case CDosConvertChoice::modeForm:
        RunDosFormPass(choice);
        break;
    case CDosConvertChoice::modeEdit:
        RunDosEditPass(choice, pOwner);
        break;
    default:
        break;
    }
}

void RunDosConversionCommand(CWnd* pMainFrame)
{
    CDosConvertDialog dlg(pMainFrame);
    while (dlg.DoModal() == IDOK)
        RunDosConversionPass(dlg.GetChoice(), CDosMasterTables::FromApplication(), pMainFrame);
}
