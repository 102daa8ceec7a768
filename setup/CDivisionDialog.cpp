#include "setup/CDivisionDialog.h"

#include "app/CMorvelApp.h"
#include "app/MasterFileIo.h"
#include "platform/base/CArchive.h"
#include "resources/SetupIds.h"

#include <algorithm>
#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(CDivisionDialog, CMasterPage)

CDivisionDialog::CDivisionDialog()
    : CMasterPage(IDD_DIVISION_PAGE, 2, IDR_DIVISION_ROW_MENU, std::make_unique<CDivisionCellEdit>())
{
}

std::vector<CString> CDivisionDialog::Headings() const
{
    return {App().m_classifyFile.m_strHeading[0], App().m_classifyFile.m_strHeading[1]};
}

int CDivisionDialog::TableCount() const
{
    return App().m_classifyFile.GetCount();
}

CString CDivisionDialog::TableText(int nIndex, int nCol) const
{
    const CClassifyFile& table = App().m_classifyFile;
    return nCol == 1 ? table.GetName(nIndex) : table.GetPercent(nIndex);
}

void CDivisionDialog::StoreTable(int nCount)
{
    std::vector<std::pair<CString, CString>> entries;
    for (int i = 0; i < std::clamp(nCount, 0, CClassifyFile::MAX_CLASSIFICATIONS); ++i)
        entries.emplace_back(CellText(i + 1, 1), CellText(i + 1, 2));
    App().m_classifyFile.SetEntries(entries);
}

BOOL CDivisionDialog::WriteTableFile()
{
    CClassifyFile& table = App().m_classifyFile;
    return RewriteTableFile(
        App().GetPathSetting("Other Form") + FileName(), [&table](CArchive& ar) { table.Serialize(ar); },
        "分類ﾌｧｲﾙに書き込めません。"_sj);
}

void CDivisionDialog::MakeBackup()
{
    MakeMasterBackup(App().GetPathSetting("Other Form"), masterClassify, App().m_nBackupFile);
}
