// CEMDataSource: the data of a subject being dragged out of the subject tree. It remembers
// which heading of which estimate view is dragged and writes the subject's rows only when
// a drop asks for them (delayed rendering, as file data in the "MORVEL EMTREEVIEW" format).
#pragma once

#include "engine/estimate/RowKinds.h"
#include "platform/ui/ole/COleDataSource.h"

class CFile;
class CMorvelEMView;

class CEMDataSource : public COleDataSource {
    DECLARE_DYNAMIC(CEMDataSource)
public:
    CEMDataSource() = default;
    ~CEMDataSource() override = default;

    // The heading being dragged: its row kind, its row on the edit page and its view.
    void SetSubject(ERowKind nKind, int nFirstRow, CMorvelEMView* pView);
    ERowKind GetKind() const { return m_nKind; }

    // Runs the drag with copying and moving allowed, and says what the source side is to
    // do afterwards: a copy when Shift is held as the drag ends, otherwise a move. (The
    // effect the drop target chose is not what decides: a drop inside the same tree
    // reports its effect to this side itself.)
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE);

    // Writes the subject's drag data (see CSubjectDragData) into the file the receiver
    // gives; FALSE for another format or when no subject is set.
    BOOL OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile) override;

    // Forgets the subject and every format offered.
    void Reset();

private:
    ERowKind m_nKind = kindEmpty;
    int m_nFirstRow = -1;
    CMorvelEMView* m_pView = nullptr;
};
