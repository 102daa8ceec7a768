#include "setup/CSubjectDialog.h"

#include "app/CMorvelApp.h"
#include "app/MasterFileIo.h"
#include "platform/base/CArchive.h"
#include "platform/base/Check.h"
#include "platform/base/Path.h"
#include "resources/SetupIds.h"

#include <algorithm>
#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(CSubjectDialog, CMasterPage)

BEGIN_MESSAGE_MAP(CSubjectDialog, CMasterPage)
ON_BN_CLICKED(IDC_SUBJECT_LARGE, OnLarge)
ON_BN_CLICKED(IDC_SUBJECT_MIDDLE, OnMiddle)
ON_BN_CLICKED(IDC_SUBJECT_SMALL, OnSmall)
END_MESSAGE_MAP()

namespace {

const char* const kLevelNames[3] = {"Large", "Middle", "Small"};
const char* const kLevelFiles[3] = {"kamoku.MKB", "kamoku.MKM", "kamoku.MKS"};
const char* const kWriteMessages[3] = {"大科目ﾌｧｲﾙに書き込めません。", "中科目ﾌｧｲﾙに書き込めません。",
                                       "小科目ﾌｧｲﾙに書き込めません。"};
const MasterKind kKinds[3] = {masterLarge, masterMiddle, masterSmall};

} // namespace

CSubjectDialog::CSubjectDialog()
    : CMasterPage(IDD_SUBJECT_PAGE, 2, IDR_SUBJECT_ROW_MENU, std::make_unique<CSubjectCellEdit>())
{
}

int CSubjectDialog::ShownLevel() const
{
    if (m_nSinglePage)
        return std::clamp(m_nLevel, 0, 2);
    for (int i = 0; i < 3; ++i) {
        if (m_strLevelName == kLevelNames[i])
            return i;
    }
    return 0;
}

std::vector<CString> CSubjectDialog::Headings() const
{
    const int n = ShownLevel();
    return {App().m_subjectFile.m_strHeading[n][0], App().m_subjectFile.m_strHeading[n][1]};
}

int CSubjectDialog::TableCount() const
{
    return App().m_subjectFile.GetCount(ShownLevel());
}

CString CSubjectDialog::TableText(int nIndex, int nCol) const
{
    const int n = ShownLevel();
    return nCol == 1 ? App().m_subjectFile.GetName(n, nIndex) : App().m_subjectFile.GetUnit(n, nIndex);
}

void CSubjectDialog::StoreLevel(int nLevel, int nCount)
{
    MORVEL_CHECK(m_nSetup, "a page that only shows the masters changes no table");
    std::vector<std::pair<CString, CString>> subjects;
    for (int i = 0; i < std::clamp(nCount, 0, CSubjectFile::MAX_SUBJECTS); ++i)
        subjects.emplace_back(CellText(i + 1, 1), CellText(i + 1, 2));
    App().m_subjectFile.SetLevel(nLevel, subjects);
}

void CSubjectDialog::StoreTable(int nCount)
{
    StoreLevel(ShownLevel(), nCount);
}

BOOL CSubjectDialog::WriteLevel(int nLevel)
{
    CSubjectFile& table = App().m_subjectFile;
    return RewriteTableFile(
        App().GetPathSetting("Other Form") + kLevelFiles[nLevel],
        [&table, nLevel](CArchive& ar) { table.SerializeLevel(nLevel, ar); },
        CString::FromUtf8(kWriteMessages[nLevel]));
}

BOOL CSubjectDialog::WriteTableFile()
{
    return WriteLevel(ShownLevel());
}

CString CSubjectDialog::FileName() const
{
    return kLevelFiles[ShownLevel()];
}

void CSubjectDialog::MakeBackup()
{
    for (MasterKind kind : kKinds)
        MakeMasterBackup(App().GetPathSetting("Other Form"), kind, App().m_nBackupFile);
}

BOOL CSubjectDialog::OnInitDialog()
{
    m_strLevelName = "Large";
    CMasterPage::OnInitDialog();
    if (m_nSinglePage) {
        for (int nID : {IDC_SUBJECT_LARGE, IDC_SUBJECT_MIDDLE, IDC_SUBJECT_SMALL, IDC_SUBJECT_GROUP}) {
            if (CWnd* p = GetDlgItem(nID))
                p->ShowWindow(SW_HIDE);
        }
    } else {
        CheckRadioButton(IDC_SUBJECT_LARGE, IDC_SUBJECT_SMALL, IDC_SUBJECT_LARGE);
    }
    return FALSE;
}

void CSubjectDialog::SwitchLevel(int nLevel)
{
    if (nLevel < 0 || nLevel > 2)
        return;
    CheckRadioButton(IDC_SUBJECT_LARGE, IDC_SUBJECT_SMALL, IDC_SUBJECT_LARGE + nLevel);
    const int nRow = m_nCurRow;
    const int nCol = m_nCurCol;
    CommitEditor(nRow, nCol);
    m_nReady = 0;
    // The level shown takes the grid, unless it is the one chosen (which then reloads).
    // A page that only shows the masters (a document's setup sheet) changes none of them.
    const int nShown = ShownLevel();
    if (m_nSetup && nShown != nLevel)
        StoreLevel(nShown, LastFilledRow(1));
    m_strLevelName = kLevelNames[nLevel];
    const std::vector<CString> headings = Headings();
    m_grid.SetTextMatrix(0, 1, headings[0]);
    m_grid.SetTextMatrix(0, 2, headings[1]);
    const CSubjectFile& table = App().m_subjectFile;
    const int nCount = table.GetCount(nLevel);
    for (int r = 1; r <= LAST_ROW; ++r) {
        const bool bIn = r - 1 < nCount;
        m_grid.SetTextMatrix(static_cast<short>(r), 1, bIn ? table.GetName(nLevel, r - 1) : CString());
        m_grid.SetTextMatrix(static_cast<short>(r), 2, bIn ? table.GetUnit(nLevel, r - 1) : CString());
    }
    m_edit.SetWindowText(CellText(nRow, nCol));
    m_nReady = 1;
    SetDlgItemText(IDC_PATH_LABEL, DisplayPath(App().GetPathSetting("Other Form") + kLevelFiles[nLevel]));
}

void CSubjectDialog::OnLarge()
{
    SwitchLevel(0);
}

void CSubjectDialog::OnMiddle()
{
    SwitchLevel(1);
}

void CSubjectDialog::OnSmall()
{
    SwitchLevel(2);
}

void CSubjectDialog::OnOK()
{
    if (!m_nSinglePage)
        MakeBackup();
    CommitEditor(m_nCurRow, m_nCurCol);
    m_nReady = 0;
    StoreLevel(ShownLevel(), LastFilledRow(1));
    m_bWriteOK = TRUE;
    if (m_nSinglePage) {
        m_bWriteOK = WriteLevel(ShownLevel());
    } else {
        for (int n = 0; n < 3 && m_bWriteOK; ++n)
            m_bWriteOK = WriteLevel(n);
    }
    m_nReady = 1;
}

void CSubjectDialog::OnCancel()
{
    if (m_nSinglePage) {
        App().m_subjectFile.SetLevel(ShownLevel(), {});
        m_bWriteOK = WriteLevel(ShownLevel());
    }
}
