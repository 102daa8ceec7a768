#include "platform/ui/dialogs/CFileDialog.h"

#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CDocTemplate.h"

#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIcon>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeDatabase>
#include <QSplitter>
#include <QTreeView>

#include <algorithm>
#include <cstring>
#include <map>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {

// The position of the last "\" or "/" of a path, never a trail byte; -1 when none.
int LastSeparator(const CString& path)
{
    int last = -1;
    const char* p = path.c_str();
    for (int i = 0; p[i] != '\0';) {
        if (p[i] == '\\' || p[i] == '/')
            last = i;
        i += Cp932CharLength(p + i);
    }
    return last;
}

// The position of the extension's dot in the file name part; -1 when none.
int ExtensionDot(const CString& path)
{
    const int nameStart = LastSeparator(path) + 1;
    int dot = -1;
    const char* p = path.c_str();
    for (int i = nameStart; p[i] != '\0';) {
        if (p[i] == '.')
            dot = i;
        i += Cp932CharLength(p + i);
    }
    return dot;
}

bool IsAsciiLetter(char16_t ch)
{
    return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
}

char FoldAscii(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

// Wildcard match on code page 932 text: "*" any run, "?" one character, letters without
// regard to case.
bool WildMatch(const char* name, const char* pattern)
{
    if (*pattern == '\0')
        return *name == '\0';
    if (*pattern == '*') {
        while (*pattern == '*')
            ++pattern;
        if (*pattern == '\0')
            return true;
        for (const char* p = name;; p += Cp932CharLength(p)) {
            if (WildMatch(p, pattern))
                return true;
            if (*p == '\0')
                return false;
        }
    }
    if (*name == '\0')
        return false;
    const int nameLen = Cp932CharLength(name);
    const int patLen = Cp932CharLength(pattern);
    if (*pattern == '?')
        return WildMatch(name + nameLen, pattern + 1);
    if (nameLen != patLen)
        return false;
    if (nameLen == 1) {
        if (FoldAscii(*name) != FoldAscii(*pattern))
            return false;
    } else if (std::memcmp(name, pattern, static_cast<size_t>(nameLen)) != 0) {
        return false;
    }
    return WildMatch(name + nameLen, pattern + patLen);
}

QString QtFilterFor(const CFileDialogFilter& filter)
{
    QStringList patterns;
    for (const CString& p : filter.patterns)
        patterns << QString::fromStdString(CFileDialog::QtPatternFor(p));
    // The name is shown as the system wrote it; the patterns in the parentheses are for
    // the matching only (the details are hidden).
    return AfxCp932ToQString(filter.name) + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog)
{
    std::memset(&m_ofn, 0, sizeof(m_ofn));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_pParentWnd = pParentWnd;
    m_ofn.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    if (lpszDefExt && *lpszDefExt) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt.c_str();
    }
    if (lpszFilter) {
        // "|" separates; the list ends with two zeros.
        std::string zeroSeparated(lpszFilter);
        for (size_t i = 0; i < zeroSeparated.size();) {
            const int len = Cp932CharLength(zeroSeparated.c_str() + i);
            if (len == 1 && zeroSeparated[i] == '|')
                zeroSeparated[i] = '\0';
            i += static_cast<size_t>(len);
        }
        zeroSeparated.push_back('\0');
        zeroSeparated.push_back('\0');
        m_strFilter.str() = zeroSeparated;
        m_ofn.lpstrFilter = m_strFilter.str().data();
        m_ofn.nFilterIndex = 1;
    }
    const size_t nameLen = lpszFileName ? std::strlen(lpszFileName) : 0;
    m_fileBuffer.assign(std::max<size_t>(MAX_PATH, nameLen + 1), '\0');
    if (nameLen)
        std::memcpy(m_fileBuffer.data(), lpszFileName, nameLen);
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuffer.size());
    m_titleBuffer.assign(MAX_PATH, '\0');
    m_ofn.lpstrFileTitle = m_titleBuffer.data();
    m_ofn.nMaxFileTitle = static_cast<DWORD>(m_titleBuffer.size());
}

CFileDialog::~CFileDialog() = default;

// ---------------------------------------------------------------------------------------
// Rules.
// ---------------------------------------------------------------------------------------
std::vector<CFileDialogFilter> CFileDialog::ParseFilter(const char* lpszFilter, bool bZeroSeparated)
{
    std::vector<CFileDialogFilter> filters;
    if (!lpszFilter)
        return filters;
    // Split into fields.
    std::vector<CString> fields;
    if (bZeroSeparated) {
        for (const char* p = lpszFilter; *p != '\0'; p += std::strlen(p) + 1)
            fields.emplace_back(p);
    } else {
        CString field;
        const char* p = lpszFilter;
        while (*p != '\0') {
            const int len = Cp932CharLength(p);
            if (len == 1 && *p == '|') {
                // "||" ends the list.
                if (field.IsEmpty() && fields.size() % 2 == 0)
                    break;
                fields.push_back(field);
                field.Empty();
            } else {
                field += CString(p, len);
            }
            p += len;
        }
        if (!field.IsEmpty())
            fields.push_back(field);
    }
    for (size_t i = 0; i + 1 < fields.size(); i += 2) {
        CFileDialogFilter filter;
        filter.name = fields[i];
        const CString& spec = fields[i + 1];
        CString pattern;
        for (int k = 0; k <= spec.GetLength(); ++k) {
            const char ch = k < spec.GetLength() ? spec[k] : ';';
            if (ch == ';') {
                pattern.Trim();
                if (!pattern.IsEmpty())
                    filter.patterns.push_back(pattern);
                pattern.Empty();
            } else {
                pattern += ch;
                if (IsCp932LeadByte(static_cast<BYTE>(ch)) && k + 1 < spec.GetLength())
                    pattern += spec[++k];
            }
        }
        filters.push_back(filter);
    }
    return filters;
}

std::string CFileDialog::QtPatternFor(const CString& pattern)
{
    if (pattern == "*.*" || pattern == "*")
        return "*";
    const QString q = AfxCp932ToQString(pattern).replace(QChar(0x00A5), u'\\');
    QString out;
    for (QChar ch : q) {
        const char16_t c = ch.unicode();
        if (IsAsciiLetter(c)) {
            out += u'[';
            out += QChar(c).toLower();
            out += QChar(c).toUpper();
            out += u']';
        } else {
            out += ch;
        }
    }
    return out.toStdString();
}

bool CFileDialog::MatchesPattern(const CString& fileName, const CString& pattern)
{
    if (pattern == "*.*")
        return true;
    return WildMatch(fileName.c_str(), pattern.c_str());
}

CString CFileDialog::ApplyDefaultExtension(const CString& fileName, const CString& defExt)
{
    CString ext = defExt;
    if (ext.Left(1) == ".")
        ext = ext.Mid(1);
    if (ext.IsEmpty() || fileName.IsEmpty() || ExtensionDot(fileName) >= 0)
        return fileName;
    if (LastSeparator(fileName) == fileName.GetLength() - 1)
        return fileName;
    return fileName + "." + ext;
}

BOOL CFileDialog::ConfirmOverwrite(const CString& path)
{
    if (!FileExists(path))
        return TRUE;
    return AfxMessageBox(DisplayPath(path) + CString::FromUtf8(" は既に存在します。\n上書きしますか?"),
                         MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

// ---------------------------------------------------------------------------------------
// What the dialog shows.
// ---------------------------------------------------------------------------------------
std::vector<CFileDialogFilter> CFileDialog::GetFilters() const
{
    return ParseFilter(m_ofn.lpstrFilter, true);
}

CString CFileDialog::GetInitialFileName() const
{
    const CString file = m_ofn.lpstrFile ? CString(m_ofn.lpstrFile) : CString();
    return file.Mid(LastSeparator(file) + 1);
}

CString CFileDialog::GetStartFolder() const
{
    // A file name with a folder starts there; otherwise the initial folder, otherwise the
    // current folder.
    const CString file = m_ofn.lpstrFile ? CString(m_ofn.lpstrFile) : CString();
    const int sep = LastSeparator(file);
    if (sep >= 0)
        return file.Left(sep + 1);
    if (m_ofn.lpstrInitialDir && *m_ofn.lpstrInitialDir)
        return m_ofn.lpstrInitialDir;
    return GetCurrentDirectory();
}

CString CFileDialog::GetDialogTitle() const
{
    if (m_ofn.lpstrTitle && *m_ofn.lpstrTitle)
        return m_ofn.lpstrTitle;
    return CString::FromUtf8(m_bOpenFileDialog ? "開く" : "名前を付けて保存");
}

// ---------------------------------------------------------------------------------------
// The chosen file.
// ---------------------------------------------------------------------------------------
CString CFileDialog::GetPathName() const
{
    if (!m_strPathName.IsEmpty())
        return m_strPathName;
    return m_ofn.lpstrFile ? CString(m_ofn.lpstrFile) : CString();
}

CString CFileDialog::GetFileName() const
{
    const CString path = GetPathName();
    return path.Mid(LastSeparator(path) + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString name = GetFileName();
    const int dot = ExtensionDot(name);
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = ExtensionDot(name);
    return dot >= 0 ? name.Left(dot) : name;
}

CString CFileDialog::GetFolderPath() const
{
    const CString path = GetPathName();
    const int sep = LastSeparator(path);
    return sep > 0 ? path.Left(sep) : path.Left(sep + 1);
}

BOOL CFileDialog::StorePath(const CString& path)
{
    const size_t need = static_cast<size_t>(path.GetLength()) + 1;
    if (m_ofn.lpstrFile == m_fileBuffer.data() && need > m_fileBuffer.size()) {
        m_fileBuffer.assign(need, '\0');
        m_ofn.lpstrFile = m_fileBuffer.data();
        m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuffer.size());
    }
    if (!m_ofn.lpstrFile || need > m_ofn.nMaxFile)
        return FALSE;
    std::memcpy(m_ofn.lpstrFile, path.c_str(), need);
    m_strPathName = path;
    const int sep = LastSeparator(path);
    const int dot = ExtensionDot(path);
    m_ofn.nFileOffset = static_cast<WORD>(sep + 1);
    m_ofn.nFileExtension = static_cast<WORD>(dot >= 0 ? dot + 1 : 0);
    if (m_ofn.lpstrFileTitle && m_ofn.nMaxFileTitle > 0) {
        const CString name = path.Mid(sep + 1);
        int n = std::min<int>(name.GetLength(), static_cast<int>(m_ofn.nMaxFileTitle) - 1);
        int whole = 0;
        while (whole < n && whole + Cp932CharLength(name.c_str() + whole) <= n)
            whole += Cp932CharLength(name.c_str() + whole);
        std::memcpy(m_ofn.lpstrFileTitle, name.c_str(), static_cast<size_t>(whole));
        m_ofn.lpstrFileTitle[whole] = '\0';
    }
    return TRUE;
}

namespace {

// A name the user chose that names no file (a named pipe, a device): said as the other
// messages of the dialog say a name is wrong.
void TellNoFile(const CString& name)
{
    AfxMessageBox(
        name + CString::FromUtf8("\nファイルではありません。\nファイル名を確認して再実行してください。"),
        MB_ICONEXCLAMATION);
}

} // namespace

BOOL CFileDialog::AcceptPath(const CString& chosen, bool bInteractive)
{
    (void)bInteractive;
    // A name typed without a folder means the folder the dialog shows; the chosen path is
    // made full here, once, so that moving the current folder afterwards changes nothing.
    CString full = chosen;
    if (IsPathRelative(chosen)) {
        CString folder = GetStartFolder();
        if (!folder.IsEmpty() && folder.Right(1) != "\\" && folder.Right(1) != "/")
            folder += "\\";
        full = GetFullPath(folder + chosen);
    }
    const CString path = ApplyDefaultExtension(full, m_strDefExt);
    const int sep = LastSeparator(path);
    const CString folder = sep >= 0 ? path.Left(sep + 1) : CString();
    const CString name = path.Mid(sep + 1);
    if (name.IsEmpty())
        return FALSE;
    if ((m_ofn.Flags & OFN_PATHMUSTEXIST) && !folder.IsEmpty() && !DirectoryExists(folder)) {
        AfxMessageBox(DisplayPath(folder) +
                          CString::FromUtf8("\nパスが見つかりません。\nパス名を確認して再実行してください。"),
                      MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (IsSpecialFile(path)) {
        TellNoFile(name);
        return FALSE;
    }
    if (m_bOpenFileDialog && (m_ofn.Flags & OFN_FILEMUSTEXIST) && !FileExists(path)) {
        AfxMessageBox(name + CString::FromUtf8(
                                 "\nファイルが見つかりません。\nファイル名を確認して再実行してください。"),
                      MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!m_bOpenFileDialog && (m_ofn.Flags & OFN_OVERWRITEPROMPT) && !ConfirmOverwrite(path))
        return FALSE;
    if (!StorePath(path)) {
        AfxMessageBox(CString::FromUtf8("パス名が長すぎます。"), MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!(m_ofn.Flags & OFN_NOCHANGEDIR) && !folder.IsEmpty())
        SetCurrentDirectory(folder);
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Running.
// ---------------------------------------------------------------------------------------
namespace {

// The file list's columns: name, size, type, date modified.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

// The program's own file types by upper-case extension (".MMD"): those registered, then the
// file type names of its document templates. They come with the program, so the file list
// names these files whether or not the desktop has the types installed (a program run from
// its build folder has none).
std::map<QString, QString>& RegisteredFileTypes()
{
    static std::map<QString, QString> types;
    return types;
}

std::map<QString, QString> ProgramFileTypes()
{
    std::map<QString, QString> types = RegisteredFileTypes();
    CWinApp* pApp = AfxGetApp();
    CDocManager* pManager = pApp != nullptr ? pApp->m_pDocManager : nullptr;
    if (pManager == nullptr)
        return types;
    POSITION pos = pManager->GetFirstDocTemplatePosition();
    while (pos != nullptr) {
        const CDocTemplate* pTemplate = pManager->GetNextDocTemplate(pos);
        CString strExt, strName;
        if (pTemplate != nullptr && pTemplate->GetDocString(strExt, CDocTemplate::filterExt) &&
            !strExt.IsEmpty() && pTemplate->GetDocString(strName, CDocTemplate::regFileTypeName) &&
            !strName.IsEmpty())
            types.emplace(AfxCp932ToQString(strExt).toUpper(), AfxCp932ToQString(strName));
    }
    return types;
}

// The types and pictures of the file list from the names alone: the toolkit's own provider
// reads a file whose name does not tell its type (and the list asks it on the program's
// own thread as well), which never ends on a file that never ends. Asked from the list's
// worker thread too: it holds nothing that changes.
class CNameOnlyFileIcons : public QFileIconProvider {
public:
    explicit CNameOnlyFileIcons(std::map<QString, QString> types) : m_types(std::move(types)) {}

    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QFileIconProvider::icon(info.isRoot() ? Drive : Folder);
        const QList<QMimeType> types = m_mimeTypes.mimeTypesForFileName(info.fileName());
        if (!types.isEmpty()) {
            const QIcon themed = QIcon::fromTheme(types.first().iconName());
            if (!themed.isNull())
                return themed;
        }
        return QFileIconProvider::icon(File);
    }
    QString type(const QFileInfo& info) const override
    {
        // A folder, a drive and whatever is not a file are named without reading anything.
        if (!info.isFile())
            return QFileIconProvider::type(info);
        if (const auto it = m_types.find(QStringLiteral(".") + info.suffix().toUpper()); it != m_types.end())
            return it->second;
        const QList<QMimeType> types = m_mimeTypes.mimeTypesForFileName(info.fileName());
        const QMimeType mime = types.isEmpty()
                                   ? m_mimeTypes.mimeTypeForName(QStringLiteral("application/octet-stream"))
                                   : types.first();
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    std::map<QString, QString> m_types;
    QMimeDatabase m_mimeTypes;
};

// The file list with sizes and dates written as a Japanese desktop writes them, whatever
// the locale the program was started in: "12 KB" (whole kilobytes, rounded up) and
// "2026/12/07 09:05". The toolkit's own list follows the system's locale ("Dec", "KiB").
class CJapaneseFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        auto* pFiles = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !pFiles ||
            (index.column() != kSizeColumn && index.column() != kDateColumn))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (!source.isValid())
            return QIdentityProxyModel::data(index, role);
        if (index.column() == kDateColumn) {
            const QDateTime modified = pFiles->lastModified(source);
            return modified.isValid() ? modified.toString(QStringLiteral("yyyy/MM/dd HH:mm")) : QString();
        }
        if (pFiles->isDir(source))
            return QString();
        const qint64 nKilobytes = (pFiles->size(source) + 1023) / 1024;
        return QLocale(QLocale::Japanese, QLocale::Japan).toString(nKilobytes) + QStringLiteral(" KB");
    }
};

// A name typed with "*" or "?" is a pattern, not a file: Enter narrows the list to the
// files that match it (in the folder typed before it, if any) and keeps the dialog open.
// Choosing a type afterwards lists that type again.
class CPatternFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        auto* pName = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = pName ? pName->text().trimmed() : QString();
        if (!typed.contains(u'*') && !typed.contains(u'?')) {
            // A name of something that is no file is refused here, with the dialog open and
            // the name kept for the user to put right.
            const QStringList files = selectedFiles();
            if (!files.isEmpty()) {
                const CString path = SystemPathFromNative(files.first().toStdString());
                if (IsSpecialFile(path)) {
                    TellNoFile(path.Mid(LastSeparator(path) + 1));
                    return;
                }
            }
            QFileDialog::accept();
            return;
        }
        const QString native = QString(typed).replace(u'\\', u'/');
        const qsizetype sep = native.lastIndexOf(u'/');
        if (sep >= 0) {
            const QString folder = native.left(sep + 1);
            const QDir target(QDir(directory()).absoluteFilePath(folder));
            if (!target.exists())
                return;
            setDirectory(target.absolutePath());
        }
        const QString pattern = native.mid(sep + 1);
        if (auto* pFiles = findChild<QFileSystemModel*>())
            pFiles->setNameFilters(
                {QString::fromStdString(CFileDialog::QtPatternFor(AfxQStringToCp932(pattern)))});
        if (pName)
            pName->setText(pattern);
    }
};

} // namespace

INT_PTR CFileDialog::DoModal()
{
    m_strPathName.Empty();
    if (CDialogAnswerer* pAnswerer = CDialogAnswerer::Current()) {
        CString path;
        if (!pAnswerer->RunFileDialog(*this, path))
            return IDCANCEL;
        return AcceptPath(path, false) ? IDOK : IDCANCEL;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return IDCANCEL;

    const std::vector<CFileDialogFilter> filters = GetFilters();
    QStringList qtFilters;
    for (const CFileDialogFilter& f : filters)
        qtFilters << QtFilterFor(f);

    QWidget* pParent = nullptr;
    if (CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd(); pOwner && pOwner->GetWidget())
        pParent = pOwner->GetWidget()->window();

    AfxEnsureJapaneseToolkitTexts();
    // Made in the folder it starts in: made without one, the toolkit's dialog would first
    // list the folder it remembers from any earlier dialog.
    const std::string startFolder = NativePath(GetStartFolder());
    CNameOnlyFileIcons icons(ProgramFileTypes()); // outlives the dialog's list
    CPatternFileDialog dlg(pParent, AfxCp932ToQString(GetDialogTitle()), QString::fromStdString(startFolder));
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setIconProvider(&icons);
    dlg.setProxyModel(new CJapaneseFileList(&dlg));
    dlg.setOption(QFileDialog::HideNameFilterDetails, true);
    // Replacing a file is asked here, in the system's words.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setFont(AfxWidgetFontFromHandle(nullptr));
    // The folder and type labels have no control to hand a mnemonic to.
    dlg.setLabelText(QFileDialog::LookIn, QString::fromUtf8("ﾌｧｲﾙの場所:"));
    dlg.setLabelText(QFileDialog::FileName, QString::fromUtf8("ﾌｧｲﾙ名(&N):"));
    dlg.setLabelText(QFileDialog::FileType, QString::fromUtf8("ﾌｧｲﾙの種類:"));
    dlg.setLabelText(QFileDialog::Accept, QString::fromUtf8(m_bOpenFileDialog ? "開く(&O)" : "保存(&S)"));
    dlg.setLabelText(QFileDialog::Reject, QString::fromUtf8("ｷｬﾝｾﾙ"));
    if (!qtFilters.isEmpty()) {
        dlg.setNameFilters(qtFilters);
        const int index =
            m_ofn.nFilterIndex >= 1 && m_ofn.nFilterIndex <= static_cast<DWORD>(qtFilters.size())
                ? static_cast<int>(m_ofn.nFilterIndex) - 1
                : 0;
        dlg.selectNameFilter(qtFilters.at(index));
    }
    dlg.setDirectory(QString::fromStdString(startFolder));
    // Room for the file list's four columns; the size, type and date columns are as wide as
    // their longest text, so that no size, type name or Japanese date and time is cut.
    dlg.resize(std::max(dlg.width(), 760), std::max(dlg.height(), 460));
    if (auto* pList = dlg.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* pHeader = pList->header();
        for (int nColumn = kSizeColumn; nColumn <= kDateColumn && nColumn < pHeader->count(); ++nColumn)
            pHeader->setSectionResizeMode(nColumn, QHeaderView::ResizeToContents);
    }
    // The places beside the list ("コンピューター", the home folder) shown whole.
    if (auto* pSplitter = dlg.findChild<QSplitter*>(QStringLiteral("splitter"));
        pSplitter && pSplitter->count() == 2)
        pSplitter->setSizes({170, dlg.width() - 170});
    const CString initialName = GetInitialFileName();
    if (!initialName.IsEmpty())
        dlg.selectFile(QString::fromStdString(Cp932ToUtf8(initialName.str(), false)));

    for (;;) {
        if (dlg.exec() != QDialog::Accepted)
            return IDCANCEL;
        const QStringList files = dlg.selectedFiles();
        if (files.isEmpty())
            continue;
        const int chosenFilter = static_cast<int>(qtFilters.indexOf(dlg.selectedNameFilter()));
        if (chosenFilter >= 0)
            m_ofn.nFilterIndex = static_cast<DWORD>(chosenFilter + 1);
        const CString path = SystemPathFromNative(files.first().toStdString());
        if (AcceptPath(path, true))
            return IDOK;
    }
}

void CFileDialog::RegisterFileType(LPCTSTR lpszExtension, LPCTSTR lpszTypeName)
{
    if (lpszExtension == nullptr || lpszTypeName == nullptr)
        return;
    RegisteredFileTypes()[AfxCp932ToQString(lpszExtension).toUpper()] = AfxCp932ToQString(lpszTypeName);
}
