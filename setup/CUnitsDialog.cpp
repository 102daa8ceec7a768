#include "setup/CUnitsDialog.h"

#include "app/CMorvelApp.h"
#include "app/MasterFileIo.h"
#include "platform/base/CArchive.h"
#include "resources/SetupIds.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CUnitsDialog, CMasterPage)

CUnitsDialog::CUnitsDialog()
    : CMasterPage(IDD_UNITS_PAGE, 1, IDR_UNITS_ROW_MENU, std::make_unique<CUnitsCellEdit>())
{
}

std::vector<CString> CUnitsDialog::Headings() const
{
    return {App().m_unitFile.m_strHeading};
}

int CUnitsDialog::TableCount() const
{
    return App().m_unitFile.GetCount();
}

CString CUnitsDialog::TableText(int nIndex, int) const
{
    return App().m_unitFile.GetUnit(nIndex);
}

void CUnitsDialog::StoreTable(int nCount)
{
    std::vector<CString> units;
    for (int i = 0; i < std::clamp(nCount, 0, CUnitFile::MAX_UNITS); ++i)
        units.push_back(CellText(i + 1, 1));
    App().m_unitFile.SetUnits(units);
}

BOOL CUnitsDialog::WriteTableFile()
{
    CUnitFile& units = App().m_unitFile;
    return RewriteTableFile(
        App().GetPathSetting("Other Form") + FileName(), [&units](CArchive& ar) { units.Serialize(ar); },
        "単位ﾌｧｲﾙに書き込めません。"_sj);
}

CString CUnitsDialog::CommitText(const CString& strText) const
{
    const int n = strText.Find('\x7F');
    return n < 0 ? strText : strText.Left(n);
}

int CUnitsDialog::MoveCodeOf(CSetupCellEdit::MoveKey key) const
{
    return key == CSetupCellEdit::keyEnter ? CSetupCellEdit::keyDown : key;
}

void CUnitsDialog::MakeBackup()
{
    MakeMasterBackup(App().GetPathSetting("Other Form"), masterUnit, App().m_nBackupFile);
}
