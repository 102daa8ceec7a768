// The conversion of the DOS edition's data (the main frame's "DOS版MORVEL(&D)"): the
// command loop around the conversion dialog, its three passes (auxiliary data, form data,
// edit data) and the writers of the files the passes make.
//
// Every file is built whole in memory and then replaces its target in one step, so an
// existing master, form, estimate or parts file is never touched unless its new content
// is complete: a DOS file that is rejected, or a target that cannot be written, leaves
// every file as it was.
#pragma once

#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

class CClassifyFile;
class CEstimationFormFile;
class CGridRow;
class CInformationFormFile;
class CPartFormFile;
class CSubjectFile;
class CUnitFile;
class CWnd;

// What one pass converts: the conversion dialog's choices.
struct CDosConvertChoice {
    enum { modeAuxiliary = 0, modeForm = 1, modeEdit = 2 };
    char drive = 'C';
    int mode = modeEdit;
    BOOL units = FALSE;
    BOOL subjects = FALSE;
    BOOL classifications = FALSE;
    BOOL estimationForm = FALSE;
    BOOL partsForm = FALSE;
    BOOL informationForm = FALSE;
    BOOL estimateData = TRUE;
    BOOL partsData = FALSE;
};

// The master tables a pass replaces: the application's, or a test's own.
struct CDosMasterTables {
    CUnitFile* pUnits = nullptr;
    CSubjectFile* pSubjects = nullptr;
    CClassifyFile* pClassifications = nullptr;

    // The running application's tables (all null without an application object).
    static CDosMasterTables FromApplication();
};

// The command: shows the conversion dialog until it is cancelled, one pass per OK.
void RunDosConversionCommand(CWnd* pMainFrame);

// One pass of the chosen mode, starting with the environment of the chosen drive's
// "\MORVEL\" folder. Messages go to message boxes, as the command shows them.
void RunDosConversionPass(const CDosConvertChoice& choice, const CDosMasterTables& tables, CWnd* pOwner);
// The three passes, after the environment has been read.
void RunDosAuxiliaryPass(const CDosConvertChoice& choice, const CDosMasterTables& tables);
void RunDosFormPass(const CDosConvertChoice& choice);
void RunDosEditPass(const CDosConvertChoice& choice, CWnd* pOwner);

// One estimate (*.MIT) into "<name>.MMD" in the work folder (kind 1), after the estimate
// definitions were read; also writes "DOS情報.MJK". 1, or -1 when the source cannot be
// read or does not fit the definitions, or a target cannot be written; nothing is
// written then.
int ConvertDosEstimateFile(int nKind, const char* lpszPath);
// One parts list (*.BZI) into "<name>.MBD" (kind 2), after the parts definitions were
// read; also writes "DOS部材.MBK". Results as above.
int ConvertDosPartsFile(int nKind, const char* lpszPath);

// The record in the buffer as a row of the estimate (kind, parameters, cells).
void WriteDosEstimateRow(int nUnitColumn, CGridRow& row);
// The record in the buffer as the cells of a parts row (nColumns of them).
void WriteDosPartsRow(CString* pCells, int nColumns);

// The forms built from the definitions read last.
void BuildDosEstimationForm(CEstimationFormFile& form);
void BuildDosPartsForm(CPartFormFile& form);
void BuildDosInformationForm(CInformationFormFile& form);
// The first item of the form whose T code is "1" (the unit column), or -1.
int FindDosUnitColumn(const CEstimationFormFile& form);
// The row kind of this program for a DOS row type, before the non-calculated and
// summary-page rules.
ERowKind DosRowTypeToKind(int nType);
