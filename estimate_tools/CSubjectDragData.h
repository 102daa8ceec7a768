// CSubjectDragData: the bytes a subject takes on its way from one subject tree to another
// ("MORVEL EMTREEVIEW"), written and read through a framework archive:
//   string  the estimation form's file name of the source estimate
//   form    the source estimate's estimation form (its own serialisation)
//   WORD    the row kind of the dragged heading (1, 2, 3 or 7)
//   WORD    n, the rows of the subject (the heading's block)
//   WORD    c, the columns of the estimate
//   n x c   string cell text, WORD cell indent
//   n       WORD row kind, WORD third parameter, string first parameter text,
//           WORD first parameter, WORD second parameter, string second parameter text
// Numbers wider than 16 bits are cut to their low 16 bits. Indents and parameters may be
// negative, so they come back as signed 16-bit values.
//
// A drop reads everything into this object before it changes a row, so data that ends
// early or claims more than an estimate can hold changes nothing.
#pragma once

#include "app/CEstimationFormFile.h"
#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <vector>

class CArchive;
class CMorvelEMView;

class CSubjectDragData {
public:
    enum { BUFFER_SIZE = 4096, MAX_COLUMNS = 100 };

    struct CRow {
        std::vector<CString> cells; // c texts
        std::vector<int> indents;   // c indents
        ERowKind nKind = kindEmpty;
        int nParam3 = 0;
        CString strParamText1;
        int nParam1 = 0;
        int nParam2 = 0;
        CString strParamText2;
    };

    // Writes the subject whose heading (of kind nKind) stands at nFirstRow of the view's
    // edit page: the rows GetSubjectRowCount gives, whichever page the view shows.
    static void Write(CArchive& ar, CMorvelEMView& view, ERowKind nKind, int nFirstRow);

    // Reads the form file name and the form. FALSE when the form's own check refused it
    // (it has told the user). Throws CArchiveException when the data ends early.
    bool ReadForm(CArchive& ar);
    // Reads the rest. FALSE when the column count is beyond what a row holds. Throws
    // CArchiveException when the data ends early. Either way the kind, columns and rows
    // stay as they were.
    bool ReadRows(CArchive& ar);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }

    CString m_strFormName;
    CEstimationFormFile m_Form;
    ERowKind m_nKind = kindEmpty;
    int m_nColumns = 0;
    std::vector<CRow> m_rows;
};
