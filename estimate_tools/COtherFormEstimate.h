// COtherFormEstimate: an estimate file read for its rows and information values only, so
// that an estimate made with another estimation form can be placed into the open
// estimate under the columns the user maps (command "他形式ﾌｧｲﾙ読込").
//
// The whole file is read and checked before anything of it is used: a file that is not an
// estimate, holds a damaged form, claims more columns or information values than an
// estimate can have, or ends early is refused and the open estimate stays as it was.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "engine/estimate/CEstimateModel.h"
#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <string_view>
#include <vector>

class CMorvelEMView;

class COtherFormEstimate {
public:
    enum { MAX_COLUMNS = 100, MAX_INFORMATION = 100 };

    enum ReadResult {
        readOk,
        readNotEstimate, // the magic text is not an estimate's
        readBadForm,     // an embedded form failed its check (its reader has told the user)
        readDamaged      // a count beyond what an estimate holds, or the file ends early
    };

    struct CRow {
        ERowKind nKind = kindEmpty;
        int nParam1 = 0;
        int nParam2 = 0;
        int nParam3 = 0;
        CString strParamText1;
        CString strParamText2;
        std::vector<CString> cells; // nColumns texts
    };

    // Reads an estimate file's bytes. Anything but readOk leaves the object empty, as a
    // new one is.
    ReadResult Read(std::string_view data);

    // The rows as the estimate takes them: file column mapping[c] goes to column c of the
    // current form (-1: none), for the first nColumns columns.
    CEstimateModel::CRowsRead RowsRead(const std::vector<int>& mapping, int nColumns) const;
    // Inserts the rows at nRow of the view's edit page as one command, with the page
    // alignment after them (CMorvelEMView::InsertRowsRead). Numbers are stored as typed, so
    // they are rounded and formatted by the current form. Returns the number of rows
    // inserted: none, and the user told why, when the estimate would then hold more rows
    // than its file can.
    int InsertRows(CMorvelEMView& view, int nRow, const std::vector<int>& mapping) const;
    // Takes over the information values: current item i gets the file's value mapping[i];
    // an item mapped to nothing (or to an item the file holds no value of) keeps its value.
    // bWithRows: the rows were read just before, and one undo takes both back. TRUE when a
    // value changed.
    BOOL ApplyInformation(CMorvelEMView& view, const std::vector<int>& mapping, bool bWithRows) const;

    CString m_strEstimationFormName;
    CEstimationFormFile m_EstimationForm;
    CString m_strInformationFormName;
    CInformationFormFile m_InformationForm;
    int m_nColumns = 0;
    std::vector<CRow> m_rows;
    std::vector<CString> m_information;

private:
    // Read on an object that holds nothing yet; what a refused file left in it is dropped
    // by Read.
    ReadResult ReadFresh(std::string_view data);
};
