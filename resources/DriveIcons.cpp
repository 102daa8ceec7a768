#include "resources/DriveIcons.h"

#include "platform/ui/core/Resources.h"

namespace {

// A removable drive: a slot and a light.
const char* const kRemovableDrive[] = {
    "20 20 6 1",
    "  c None",
    "o c #404040",
    ". c #E8E8E8",
    "k c #202020",
    "g c #30A040",
    "d c #909090",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
    " oooooooooooooooooo ",
    " o................o ",
    " o................o ",
    " o..kkkkkkkkkkk...o ",
    " o................o ",
    " o................o ",
    " o............gg..o ",
    " o................o ",
    " oooooooooooooooooo ",
    "  dddddddddddddddd  ",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
};

// A fixed drive: a case with its lights.
const char* const kFixedDrive[] = {
    "20 20 6 1",
    "  c None",
    "o c #404040",
    ". c #E8E8E8",
    "g c #30A040",
    "d c #909090",
    "b c #2060C0",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
    "  oooooooooooooooo  ",
    " o................o ",
    " o................o ",
    " o................o ",
    " oooooooooooooooooo ",
    " o................o ",
    " o..........gg.bb.o ",
    " o................o ",
    " oooooooooooooooooo ",
    "  dddddddddddddddd  ",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
    "                    ",
};

} // namespace

void RegisterDriveIcons()
{
    RegisterIconResource(IDI_REMOVABLE_DRIVE, ImageFromXpm(kRemovableDrive));
    RegisterIconResource(IDI_FIXED_DRIVE, ImageFromXpm(kFixedDrive));
}
