// Accelerator tables: 121 for the main frame (always in force), 123 and 124 for the
// estimate and parts windows (tried first while such a window is active).
#include "resources/MorvelResources.h"
#include "resources/ResourceIds.h"

#include "platform/ui/core/Resources.h"

namespace {

constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
constexpr BYTE kShift = FVIRTKEY | FSHIFT;
constexpr BYTE kAlt = FVIRTKEY | FALT;
constexpr BYTE kPlain = FVIRTKEY;

ACCEL Accel(BYTE fVirt, UINT key, UINT cmd)
{
    return ACCEL{fVirt, static_cast<WORD>(key), static_cast<WORD>(cmd)};
}

} // namespace

void RegisterMorvelAccelerators()
{
    RegisterAcceleratorResource(IDR_MAINFRAME, {
                                                   Accel(kCtrl, 'N', ID_FILE_NEW),
                                                   Accel(kCtrl, 'O', ID_FILE_OPEN),
                                                   Accel(kCtrl, 'S', ID_FILE_SAVE),
                                                   Accel(kCtrl, 'P', ID_FILE_PRINT),
                                                   Accel(kCtrl, 'Z', ID_EDIT_UNDO),
                                                   Accel(kCtrl, 'X', ID_EDIT_CUT),
                                                   Accel(kCtrl, 'C', ID_EDIT_COPY),
                                                   Accel(kCtrl, 'V', ID_EDIT_PASTE),
                                                   Accel(kAlt, VK_BACK, ID_EDIT_UNDO),
                                                   Accel(kShift, VK_DELETE, ID_EDIT_CUT),
                                                   Accel(kCtrl, VK_INSERT, ID_EDIT_COPY),
                                                   Accel(kShift, VK_INSERT, ID_EDIT_PASTE),
                                                   Accel(kPlain, VK_F6, ID_NEXT_PANE),
                                                   Accel(kShift, VK_F6, ID_PREV_PANE),
                                               });

    RegisterAcceleratorResource(IDR_MORVELTYPE, {
                                                    Accel(kCtrl, 'Z', ID_EDIT_UNDO),
                                                    Accel(kCtrl, 'Y', ID_EDIT_REDO),
                                                    Accel(kCtrl, 'F', ID_EDIT_FIND_DLG),
                                                    Accel(kCtrl, 'H', ID_EDIT_REPLACE_DLG),
                                                    Accel(kCtrl, 'P', ID_FILE_PRINT),
                                                    Accel(kCtrl, VK_UP, ID_JUMP_CTRL_UP),
                                                    Accel(kCtrl, VK_DOWN, ID_JUMP_CTRL_DOWN),
                                                    Accel(kCtrl, VK_LEFT, ID_JUMP_CTRL_LEFT),
                                                    Accel(kCtrl, VK_RIGHT, ID_JUMP_CTRL_RIGHT),
                                                    Accel(kPlain, VK_F7, ID_RECALCULATE),
                                                });

    RegisterAcceleratorResource(IDR_PARTSTYPE, {
                                                   Accel(kCtrl, VK_INSERT, ID_ROW_INSERT_CTX),
                                                   Accel(kCtrl, VK_DELETE, ID_ROW_DELETE_CTX),
                                                   Accel(kAlt, VK_DELETE, ID_ROW_CLEAR_CTX),
                                                   Accel(kCtrl, 'F', ID_EDIT_FIND_DLG),
                                                   Accel(kCtrl, 'H', ID_EDIT_REPLACE_DLG),
                                                   Accel(kCtrl, 'Z', ID_EDIT_UNDO),
                                                   Accel(kCtrl, 'Y', ID_EDIT_REDO),
                                               });
}
