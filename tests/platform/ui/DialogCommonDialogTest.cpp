// The common dialogs: file dialog filters as the system writes them, case-insensitive
// matching, the chosen path and its parts, the prompts, and the colour and font dialogs;
// answered by the test hook or, once, through the real file dialog.
#include "platform/base/Path.h"
#include "platform/ui/dialogs/CColorDialog.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/dialogs/CFontDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include "UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kDocFilter =
    "見積処理ﾌｧｲﾙ (*.MMD)|*.MMD|ポイント (*.PT)|*.PT; *.PTX|すべてのﾌｧｲﾙ (*.*)|*.*||";

CString Filter()
{
    return CString::FromUtf8(kDocFilter);
}

void Touch(const TempDir& dir, const std::string& name)
{
    WriteNativeFile(dir.NativeFile(name), {'x'});
}

} // namespace

TEST(DialogFileFilterTest, FiltersSplitAtBarsButNeverInsideADoubleByteCharacter)
{
    // "ポ" is 0x83 0x7C: its second byte is the bar.
    ASSERT_EQ(static_cast<unsigned char>("ポ"_sj[1]), 0x7C);
    const auto filters = CFileDialog::ParseFilter(Filter(), false);
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[0].name, "見積処理ﾌｧｲﾙ (*.MMD)"_sj);
    EXPECT_EQ(filters[0].patterns, std::vector<CString>{"*.MMD"});
    EXPECT_EQ(filters[1].name, "ポイント (*.PT)"_sj);
    EXPECT_EQ(filters[1].patterns, (std::vector<CString>{"*.PT", "*.PTX"}));
    EXPECT_EQ(filters[2].patterns, std::vector<CString>{"*.*"});

    // The dialog keeps them zero-separated, as it hands them on.
    CFileDialog dlg(TRUE, "MMD", nullptr, OFN_HIDEREADONLY, Filter());
    const auto kept = dlg.GetFilters();
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[1].name, "ポイント (*.PT)"_sj);
    EXPECT_EQ(std::memcmp(dlg.m_ofn.lpstrFilter, "\x8C\xA9", 2), 0);
    EXPECT_EQ(dlg.m_ofn.nFilterIndex, 1u);
}

TEST(DialogFileFilterTest, PatternsMatchFileNamesWithoutRegardToCaseAlsoInQt)
{
    EXPECT_EQ(CFileDialog::QtPatternFor("*.MMD"), "*.[mM][mM][dD]");
    EXPECT_EQ(CFileDialog::QtPatternFor("*.*"), "*");
    EXPECT_TRUE(CFileDialog::MatchesPattern("a.mmd", "*.MMD"));
    EXPECT_TRUE(CFileDialog::MatchesPattern("見積.Mmd"_sj, "*.MMD"));
    EXPECT_FALSE(CFileDialog::MatchesPattern("a.mmdx", "*.MMD"));
    EXPECT_TRUE(CFileDialog::MatchesPattern("noext", "*.*"));
    EXPECT_TRUE(CFileDialog::MatchesPattern("ab.txt", "a?.TXT"));
    // "?" takes a whole double-byte character.
    EXPECT_TRUE(CFileDialog::MatchesPattern("表.txt"_sj, "?.txt"));

    TempDir dir;
    for (const char* name : {"a.mmd", "B.MMD", "c.Mmd", "d.txt", "noext"})
        Touch(dir, name);
    QDir qdir(QString::fromStdString(dir.Native()));
    QStringList mmd =
        qdir.entryList({QString::fromStdString(CFileDialog::QtPatternFor("*.MMD"))}, QDir::Files);
    mmd.sort();
    EXPECT_EQ(mmd, (QStringList{"B.MMD", "a.mmd", "c.Mmd"}));
    EXPECT_EQ(qdir.entryList({QString::fromStdString(CFileDialog::QtPatternFor("*.*"))}, QDir::Files).size(),
              5);
}

TEST(DialogFileFilterTest, TheDefaultExtensionGoesOnlyOnANameWithoutOne)
{
    EXPECT_EQ(CFileDialog::ApplyDefaultExtension("C:\\W\\abc", "MMD"), "C:\\W\\abc.MMD");
    EXPECT_EQ(CFileDialog::ApplyDefaultExtension("C:\\W\\abc", ".MMD"), "C:\\W\\abc.MMD");
    EXPECT_EQ(CFileDialog::ApplyDefaultExtension("C:\\W\\abc.txt", "MMD"), "C:\\W\\abc.txt");
    EXPECT_EQ(CFileDialog::ApplyDefaultExtension("C:\\a.b\\file", "MMD"), "C:\\a.b\\file.MMD");
    EXPECT_EQ(CFileDialog::ApplyDefaultExtension("C:\\W\\abc", ""), "C:\\W\\abc");
}

class DialogCommonDialogTest : public ::testing::Test {
protected:
    CDialogAnswerer answerer;
    TempDir dir;
};

TEST_F(DialogCommonDialogTest, TheAnsweredPathComesBackWholeAndInItsParts)
{
    Touch(dir, "見積.mmd");
    const CString path = dir.Folder() + "見積.mmd"_sj;
    CFileDialog dlg(TRUE, "MMD", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, Filter());
    const CString initial = dir.Folder();
    dlg.m_ofn.lpstrInitialDir = initial;
    dlg.m_ofn.nFilterIndex = 2;
    CString startFolder;
    size_t filterCount = 0;
    BOOL open = FALSE;
    CString title;
    answerer.AnswerFileDialog([&](CFileDialog& d, CString& chosen) {
        startFolder = d.GetStartFolder();
        filterCount = d.GetFilters().size();
        open = d.IsOpenDialog();
        title = d.GetDialogTitle();
        chosen = path;
        return TRUE;
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(startFolder, initial);
    EXPECT_EQ(filterCount, 3u);
    EXPECT_TRUE(open);
    EXPECT_EQ(title, "開く"_sj);
    EXPECT_EQ(dlg.GetPathName(), path);
    EXPECT_EQ(dlg.GetFileName(), "見積.mmd"_sj);
    EXPECT_EQ(dlg.GetFileExt(), "mmd");
    EXPECT_EQ(dlg.GetFileTitle(), "見積"_sj);
    EXPECT_EQ(dlg.GetFolderPath() + "/", initial);
    EXPECT_STREQ(dlg.m_ofn.lpstrFile, path.c_str());
    EXPECT_EQ(dlg.m_ofn.nFileOffset, static_cast<WORD>(initial.GetLength()));
    EXPECT_STREQ(dlg.m_ofn.lpstrFileTitle, "見積.mmd"_sj.c_str());
    EXPECT_EQ(answerer.GetShown().back().kind, CDialogAnswerer::ShownFileDialog);
    EXPECT_EQ(answerer.GetShown().back().text, path);
}

TEST_F(DialogCommonDialogTest, AFileNameWithAFolderStartsThereAndTheDefaultExtensionIsAdded)
{
    const CString proposed = dir.Folder() + "new";
    CFileDialog dlg(FALSE, "MMD", proposed, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
                    Filter());
    CString startFolder, initialName;
    answerer.AnswerFileDialog([&](CFileDialog& d, CString& chosen) {
        startFolder = d.GetStartFolder();
        initialName = d.GetInitialFileName();
        chosen = dir.Folder() + "report";
        return TRUE;
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(startFolder, dir.Folder());
    EXPECT_EQ(initialName, "new");
    EXPECT_EQ(dlg.GetPathName(), dir.Folder() + "report.MMD");
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
}

TEST_F(DialogCommonDialogTest, ReplacingAFileIsAskedFirst)
{
    Touch(dir, "old.MMD");
    const CString path = dir.Folder() + "old.MMD";
    for (int answer : {IDNO, IDYES}) {
        CFileDialog dlg(FALSE, "MMD", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
                        Filter());
        answerer.AnswerFileDialog(path);
        answerer.AnswerNextMessageBox(answer);
        EXPECT_EQ(dlg.DoModal(), answer == IDYES ? IDOK : IDCANCEL);
    }
    const auto texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    // The user is shown the native path, not the program's inner form.
    EXPECT_EQ(texts[0], CString(dir.NativeFile("old.MMD")) + " は既に存在します。\n上書きしますか?"_sj);
    EXPECT_EQ(answerer.GetShown()[1].nType, MB_YESNO | MB_ICONEXCLAMATION);
}

TEST_F(DialogCommonDialogTest, AFileThatMustExistIsFoundWithoutRegardToCase)
{
    Touch(dir, "data.mmd");
    CFileDialog missing(TRUE, "MMD", nullptr, OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, Filter());
    answerer.AnswerFileDialog(dir.Folder() + "nothing.MMD");
    EXPECT_EQ(missing.DoModal(), IDCANCEL);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(answerer.MessageBoxTexts()[0],
              "nothing.MMD\nファイルが見つかりません。\nファイル名を確認して再実行してください。"_sj);

    CFileDialog present(TRUE, "MMD", nullptr, OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, Filter());
    answerer.AnswerFileDialog(dir.Folder() + "DATA");
    EXPECT_EQ(present.DoModal(), IDOK);
    EXPECT_EQ(present.GetFileName(), "DATA.MMD");
}

TEST_F(DialogCommonDialogTest, APathThatDoesNotFitTheCallersBufferFailsInsteadOfBeingCut)
{
    char buffer[16] = "keep";
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_NOCHANGEDIR, Filter());
    dlg.m_ofn.lpstrFile = buffer;
    dlg.m_ofn.nMaxFile = sizeof(buffer);
    answerer.AnswerFileDialog(dir.Folder() + "a-name-much-longer-than-sixteen.MMD");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(buffer, "keep");
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);

    answerer.AnswerFileDialog("C:\\a.MMD");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(buffer, "C:\\a.MMD");
}

TEST_F(DialogCommonDialogTest, WithoutNoChangeDirTheCurrentFolderFollowsTheChoice)
{
    const CString before = GetCurrentDirectory();
    CFileDialog keep(FALSE, "MMD", nullptr, OFN_NOCHANGEDIR, Filter());
    answerer.AnswerFileDialog(dir.Folder() + "x.MMD");
    ASSERT_EQ(keep.DoModal(), IDOK);
    EXPECT_EQ(GetCurrentDirectory(), before);

    CFileDialog change(FALSE, "MMD", nullptr, 0, Filter());
    answerer.AnswerFileDialog(dir.Folder() + "x.MMD");
    ASSERT_EQ(change.DoModal(), IDOK);
    EXPECT_TRUE(DirectoryExists(GetCurrentDirectory()));
    EXPECT_EQ(NativePath(GetCurrentDirectory()), dir.Native());
    SetCurrentDirectory(before);
}

TEST_F(DialogCommonDialogTest, ACancelledOrUnansweredFileDialogReturnsCancel)
{
    CFileDialog dlg(TRUE, nullptr, "start.MMD", 0, Filter());
    answerer.AnswerFileDialog(CString());
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(answerer.CountUnanswered(), 1);
    EXPECT_EQ(dlg.GetFileName(), "start.MMD") << "the buffer keeps the name it had";
}

TEST(DialogFileDialogWindowTest, TheRealDialogShowsTheSystemsFiltersAndHandsBackTheChosenFile)
{
    TempDir dir;
    Touch(dir, "plan.mmd");
    CFileDialog dlg(TRUE, "MMD", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, Filter());
    const CString initial = dir.Folder();
    dlg.m_ofn.lpstrInitialDir = initial;
    QStringList filters;
    QString directory, accept;
    const CWhenReady choose = WhenModalOpens<QFileDialog>(
        [&](QFileDialog& q) {
            filters = q.nameFilters();
            directory = q.directory().absolutePath();
            accept = q.labelText(QFileDialog::Accept);
            q.selectFile(QString::fromStdString(dir.NativeFile("plan.mmd")));
            QMetaObject::invokeMethod(&q, "accept", Qt::DirectConnection);
        },
        "the file dialog to open");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[0], QString::fromUtf8("見積処理ﾌｧｲﾙ (*.MMD) (*.[mM][mM][dD])"));
    EXPECT_EQ(directory, QDir(QString::fromStdString(dir.Native())).absolutePath());
    EXPECT_EQ(accept, QString::fromUtf8("開く(&O)"));
    EXPECT_EQ(dlg.GetFileName(), "plan.mmd");
    EXPECT_EQ(dlg.m_ofn.nFilterIndex, 1u);
}

// A pattern typed in the name box and entered narrows the list to the files it matches
// (letters without regard to case) and keeps the dialog open; it is no file name to look for.
TEST(DialogFileDialogWindowTest, APatternTypedInTheNameBoxNarrowsTheListAndKeepsTheDialogOpen)
{
    TempDir dir;
    Touch(dir, "plan.mmp");
    Touch(dir, "other.MMP");
    Touch(dir, "plan.MMD");
    CFileDialog dlg(TRUE, "MMD", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, Filter());
    dlg.m_ofn.nFilterIndex = 3;
    const CString initial = dir.Folder();
    dlg.m_ofn.lpstrInitialDir = initial;
    bool bOpenAfterEnter = false;
    QStringList listed;
    // Closes whatever is open (the dialog, a message after it) until the dialog returns.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* q = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            q->reject();
    });
    const auto listedFiles = [](const QTreeView& list) {
        QStringList files;
        const QAbstractItemModel* pModel = list.model();
        for (int r = 0; r < pModel->rowCount(list.rootIndex()); ++r) {
            const QModelIndex index = pModel->index(r, 0, list.rootIndex());
            if (index.flags() & Qt::ItemIsEnabled)
                files << index.data().toString();
        }
        return files;
    };
    const CWhenReady typePattern = WhenModalOpens<QFileDialog>(
        [&](QFileDialog& q) {
            auto* pName = q.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            auto* pList = q.findChild<QTreeView*>(QStringLiteral("treeView"));
            if (pName != nullptr && pList != nullptr) {
                pName->setFocus();
                pName->setText(QStringLiteral("*.MMP"));
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(pName, &press);
                bOpenAfterEnter = q.isVisible();
                // The folder is read again in the background.
                EXPECT_TRUE(WaitUntil(
                    [&] {
                        listed = listedFiles(*pList);
                        return listed.size() == 2;
                    },
                    "the list to show the two files the pattern matches"));
            } else {
                ADD_FAILURE() << "the file dialog has no name box or no list";
            }
            closer.start(20);
        },
        "the file dialog to open");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(bOpenAfterEnter);
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("other.MMP"), QStringLiteral("plan.mmp")}));
}

// A name that names no file but something else (a named pipe) is not taken: the dialog says
// so in the words of its other file messages and keeps the typed name for the user to put
// right, as for a file that is not there.
TEST(DialogFileDialogWindowTest, ANameOfANamedPipeIsSaidToBeNoFileAndKeptInTheNameBox)
{
    TempDir dir;
    Touch(dir, "plan.MMD");
    ASSERT_EQ(::mkfifo(dir.NativeFile("pipe.MMD").c_str(), 0600), 0);
    MessageBoxRecorder boxes;
    QString nameAfter;
    bool bOpenAfter = false;
    for (const bool bOpen : {true, false}) {
        SCOPED_TRACE(bOpen ? "open" : "save");
        boxes.entries.clear();
        CFileDialog dlg(bOpen, "MMD", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR,
                        Filter());
        const CString initial = dir.Folder();
        dlg.m_ofn.lpstrInitialDir = initial;
        const CWhenReady typeName = WhenModalOpens<QFileDialog>(
            [&](QFileDialog& q) {
                auto* pName = q.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                if (pName == nullptr) {
                    ADD_FAILURE() << "the file dialog has no name box";
                    q.reject();
                    return;
                }
                pName->setFocus();
                pName->setText(QStringLiteral("pipe.MMD"));
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(pName, &press);
                DrainEvents();
                bOpenAfter = q.isVisible();
                nameAfter = pName->text();
                q.reject();
            },
            "the file dialog to open");
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(bOpenAfter);
        EXPECT_EQ(nameAfter, QStringLiteral("pipe.MMD"));
        ASSERT_EQ(boxes.entries.size(), 1u);
        EXPECT_EQ(boxes.entries[0].text,
                  CString::FromUtf8(
                      "pipe.MMD\nファイルではありません。\nファイル名を確認して再実行してください。"));
    }
    // Chosen without the window (as the tests' answers choose), it is refused the same way.
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(dir.Folder() + "pipe.MMD");
    CFileDialog dlg(FALSE, "MMD", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, Filter());
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(answerer.MessageBoxTexts()[0], boxes.entries[0].text);
}

// The toolkit's own texts of the file dialog are Japanese (the Debian translations the
// setup installs), sizes and dates are written the Japanese way whatever the locale the
// program runs in, and the date column is wide enough for the dates it lists.
TEST(DialogFileDialogWindowTest, TheRealDialogSpeaksJapaneseAndShowsWholeDates)
{
    TempDir dir;
    WriteNativeFile(dir.NativeFile("plan.mmd"), std::vector<uint8_t>(1500, 'x'));
    Touch(dir, "長い名前の見積.mmd");
    QStringList sizes, dates;
    CFileDialog dlg(TRUE, "MMD", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, Filter());
    const CString initial = dir.Folder();
    dlg.m_ofn.lpstrInitialDir = initial;
    QStringList heads;
    int nDateWidth = -1, nDateNeeded = -1, nRows = 0;
    const CWhenReady inspect = WhenModalOpens<QFileDialog>(
        [&](QFileDialog& q) {
            if (auto* pList = q.findChild<QTreeView*>(QStringLiteral("treeView"))) {
                QAbstractItemModel* pModel = pList->model();
                // The folder is read in the background; its two files, then the columns
                // sized to them.
                EXPECT_TRUE(WaitUntil([&] { return pModel->rowCount(pList->rootIndex()) >= 2; },
                                      "the file dialog to list the folder's two files"));
                DrainEvents();
                nRows = pModel->rowCount(pList->rootIndex());
                for (int c = 0; c < pModel->columnCount(pList->rootIndex()); ++c)
                    heads << pModel->headerData(c, Qt::Horizontal).toString();
                nDateWidth = pList->header()->sectionSize(3);
                // The widest date the list shows, in the list's font.
                for (int r = 0; r < nRows; ++r) {
                    sizes << pModel->index(r, 1, pList->rootIndex()).data().toString();
                    dates << pModel->index(r, 3, pList->rootIndex()).data().toString();
                    const QString date = pModel->index(r, 3, pList->rootIndex()).data().toString();
                    nDateNeeded = std::max(nDateNeeded, pList->fontMetrics().horizontalAdvance(date));
                }
            } else {
                ADD_FAILURE() << "the file dialog has no list";
            }
            q.reject();
        },
        "the file dialog to open");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(nRows, 2);
    ASSERT_EQ(heads.size(), 4);
    EXPECT_EQ(heads[0], QString::fromUtf8("名前"));
    for (const QString& head : heads)
        EXPECT_FALSE(head == "Name" || head == "Size" || head == "Type" || head == "Date Modified")
            << head.toStdString();
    EXPECT_GT(nDateNeeded, 0);
    EXPECT_GE(nDateWidth, nDateNeeded);
    sizes.sort();
    EXPECT_EQ(sizes, (QStringList{QStringLiteral("1 KB"), QStringLiteral("2 KB")}));
    const QRegularExpression japaneseDate(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}$"));
    for (const QString& date : dates)
        EXPECT_TRUE(japaneseDate.match(date).hasMatch()) << date.toStdString();
}

// The list of a folder opens none of its files: it names their types from their names (the
// program's own by the types it registered), so a file that never ends (a named pipe, a
// system folder's file) cannot hang it. A watchdog writes into the pipe when anything opens it
// for reading, so that such a read ends and the test fails instead of hanging; the folder's
// inotify events tell which files were opened. Fails while the toolkit reads a file whose
// name does not tell its type ("DATA", ".MMK") to name it.
TEST(DialogFileDialogWindowTest, TheListNamesTypesFromTheNamesAndOpensNoFile)
{
    TempDir dir;
    WriteNativeFile(dir.NativeFile("DATA"), std::vector<uint8_t>(64, 'x'));
    WriteNativeFile(dir.NativeFile("meisai.MMK"), std::vector<uint8_t>(64, 'x'));
    WriteNativeFile(dir.NativeFile("plan.mmd"), {'x'});
    const std::string pipe = dir.NativeFile("stream.csv");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    CFileDialog::RegisterFileType(".MMK", CString::FromUtf8("見積形式ﾌｧｲﾙ"));

    const int nWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(nWatch, 0);
    ASSERT_GE(::inotify_add_watch(nWatch, dir.Native().c_str(), IN_OPEN | IN_ACCESS), 0);
    std::atomic<bool> bDone{false}, bPipeRead{false};
    std::thread watchdog([&] {
        while (!bDone) {
            // Opening for writing without waiting succeeds only while a reader holds the pipe.
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                bPipeRead = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });

    CFileDialog dlg(TRUE, "MMD", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, Filter());
    const CString initial = dir.Folder();
    dlg.m_ofn.lpstrInitialDir = initial;
    dlg.m_ofn.nFilterIndex = 3; // すべてのﾌｧｲﾙ
    std::map<QString, QString> types;
    const CWhenReady inspect = WhenModalOpens<QFileDialog>(
        [&](QFileDialog& q) {
            auto* pList = q.findChild<QTreeView*>(QStringLiteral("treeView"));
            if (pList == nullptr) {
                ADD_FAILURE() << "the file dialog has no list";
                q.reject();
                return;
            }
            QAbstractItemModel* pModel = pList->model();
            const auto typesOf = [&] {
                types.clear();
                for (int r = 0; r < pModel->rowCount(pList->rootIndex()); ++r)
                    types[pModel->index(r, 0, pList->rootIndex()).data().toString()] =
                        pModel->index(r, 2, pList->rootIndex()).data().toString();
                return types.size() >= 3 && std::none_of(types.begin(), types.end(),
                                                         [](const auto& t) { return t.second.isEmpty(); });
            };
            EXPECT_TRUE(WaitUntil(typesOf, "the file dialog to list and name the folder's three files"));
            DrainEvents();
            typesOf();
            q.reject();
        },
        "the file dialog to open");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    bDone = true;
    watchdog.join();

    std::set<std::string> opened;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(nWatch, buffer, sizeof(buffer))) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* pEvent = reinterpret_cast<const inotify_event*>(p);
            if (pEvent->len > 0)
                opened.insert(pEvent->name);
            p += sizeof(inotify_event) + pEvent->len;
        }
    }
    ::close(nWatch);
    EXPECT_FALSE(bPipeRead) << "the named pipe was opened for reading";
    EXPECT_TRUE(opened.empty()) << "opened " << *opened.begin();
    EXPECT_EQ(types[QStringLiteral("meisai.MMK")], QString::fromUtf8("見積形式ﾌｧｲﾙ"));
    EXPECT_FALSE(types[QStringLiteral("DATA")].isEmpty());
}

TEST_F(DialogCommonDialogTest, TheColourDialogHandsBackTheChosenColourOrKeepsTheOldOne)
{
    CColorDialog dlg(RGB(10, 20, 30));
    EXPECT_TRUE(dlg.m_cc.Flags & CC_RGBINIT);
    answerer.AnswerColorDialog(RGB(200, 100, 50));
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetColor(), RGB(200, 100, 50));
    answerer.CancelNextCommonDialog();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetColor(), RGB(200, 100, 50));
    EXPECT_EQ(dlg.m_cc.lpCustColors, CColorDialog::GetSavedCustomColors());
}

TEST_F(DialogCommonDialogTest, TheFontDialogHandsBackTheFontItsSizeAndColourWithinTheLimits)
{
    EXPECT_EQ(CFontDialog::HeightOf(90, 96), -12);
    EXPECT_EQ(CFontDialog::HeightOf(105, 96), -14);
    LOGFONT lf{};
    lf.lfHeight = -16;
    EXPECT_EQ(CFontDialog::PointSizeOf(lf, 96), 120);

    LOGFONT initial{};
    initial.lfHeight = -12;
    std::strcpy(initial.lfFaceName, "ＭＳ 明朝"_sj);
    CFontDialog dlg(&initial, CF_SCREENFONTS | CF_EFFECTS | CF_LIMITSIZE);
    dlg.m_cf.nSizeMin = 8;
    dlg.m_cf.nSizeMax = 14;
    dlg.m_cf.rgbColors = RGB(0, 0, 255);

    LOGFONT chosen = initial;
    chosen.lfHeight = CFontDialog::HeightOf(120, 96);
    chosen.lfWeight = FW_BOLD;
    chosen.lfUnderline = 1;
    std::memset(chosen.lfFaceName, 0, sizeof(chosen.lfFaceName));
    std::strcpy(chosen.lfFaceName, "ＭＳ ゴシック"_sj);
    answerer.AnswerFontDialog(chosen, RGB(255, 0, 0));
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetSize(), 120);
    EXPECT_TRUE(dlg.IsBold());
    EXPECT_TRUE(dlg.IsUnderline());
    EXPECT_FALSE(dlg.IsItalic());
    EXPECT_EQ(dlg.GetFaceName(), "ＭＳ ゴシック"_sj);
    EXPECT_EQ(dlg.GetColor(), RGB(255, 0, 0));
    LOGFONT out{};
    dlg.GetCurrentFont(&out);
    EXPECT_EQ(out.lfHeight, -16);

    // Twenty points is more than the limit allows: nothing changes.
    chosen.lfHeight = CFontDialog::HeightOf(200, 96);
    answerer.AnswerFontDialog(chosen, RGB(0, 255, 0));
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetSize(), 120);
    EXPECT_EQ(dlg.GetColor(), RGB(255, 0, 0));
}

// The real dialog, with a stored face this machine lacks (settings made elsewhere).
TEST(FontDialogTest, AStoredFaceThisMachineLacksStaysChosenAndTheLabelsTakeTheirMnemonics)
{
    LOGFONT initial{};
    initial.lfHeight = -16;
    std::strcpy(initial.lfFaceName, "ＨＧ創英角ﾎﾟｯﾌﾟ体"_sj);
    CFontDialog dlg(&initial, CF_SCREENFONTS);
    QString current, note;
    int nFirstChosen = -1;
    QStringList withoutBuddy;
    const auto run = [&](auto&& act) {
        const CWhenReady look = WhenModalOpens<QDialog>(
            [&](QDialog& q) {
                for (QLabel* label : q.findChildren<QLabel*>())
                    if (label->text().contains(u'&') && !label->buddy())
                        withoutBuddy << label->text();
                auto* faces = q.findChildren<QListWidget*>().value(0);
                if (faces == nullptr) {
                    ADD_FAILURE() << "the font dialog has no list of faces";
                    q.reject();
                    return;
                }
                current = faces->currentItem() ? faces->currentItem()->text() : QString();
                nFirstChosen = faces->currentRow();
                for (QLabel* label : q.findChildren<QLabel*>())
                    if (label->isVisible() && label->text().contains(QString::fromUtf8("代わりに")))
                        note = label->text();
                act(&q, faces);
            },
            "the font dialog to open");
        return dlg.DoModal();
    };
    // OK without touching anything keeps the stored face, shown with what draws it.
    ASSERT_EQ(run([](QDialog* q, QListWidget*) { q->accept(); }), IDOK);
    EXPECT_EQ(current, QString::fromUtf8("ＨＧ創英角ﾎﾟｯﾌﾟ体"));
    EXPECT_EQ(nFirstChosen, 0);
    EXPECT_EQ(dlg.GetFaceName(), "ＨＧ創英角ﾎﾟｯﾌﾟ体"_sj);
    EXPECT_EQ(dlg.GetSize(), 120);
    EXPECT_TRUE(note.contains(QString::fromUtf8("ＨＧ創英角ﾎﾟｯﾌﾟ体"))) << note.toStdString();
    EXPECT_TRUE(withoutBuddy.isEmpty()) << withoutBuddy.join(u' ').toStdString();

    // Choosing another face stores that one.
    QString chosen;
    ASSERT_EQ(run([&](QDialog* q, QListWidget* faces) {
                  faces->setCurrentRow(1);
                  chosen = faces->currentItem()->text();
                  q->accept();
              }),
              IDOK);
    EXPECT_EQ(QString::fromStdString(dlg.GetFaceName().ToUtf8()), chosen);
    EXPECT_NE(chosen, QString::fromUtf8("ＨＧ創英角ﾎﾟｯﾌﾟ体"));
}
