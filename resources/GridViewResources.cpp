#include "resources/GridViewResources.h"

#include "platform/ui/core/Resources.h"

namespace {

// 32 x 32, hot spot at the centre of the bar (16, 16): a double vertical bar with a black
// arrow on each side, white-edged so it shows on the dark header of an input-fixed column.
const char* const s_columnResize[] = {
    "32 32 3 1",
    "  c None",
    ". c #000000",
    "+ c #FFFFFF",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "              ++++              ",
    "              +..+              ",
    "              +..+              ",
    "              +..+              ",
    "        +     +..+     +        ",
    "       +.     +..+     .+       ",
    "      +..     +..+     ..+      ",
    "     +...     +..+     ...+     ",
    "    +....++++++..++++++....+    ",
    "   +..........+..+..........+   ",
    "  +...........+..+...........+  ",
    "   +..........+..+..........+   ",
    "    +....++++++..++++++....+    ",
    "     +...     +..+     ...+     ",
    "      +..     +..+     ..+      ",
    "       +.     +..+     .+       ",
    "        +     +..+     +        ",
    "              +..+              ",
    "              +..+              ",
    "              +..+              ",
    "              ++++              ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};

} // namespace

void RegisterGridViewResources()
{
    static const bool s_registered = [] {
        RegisterCursorResource(IDC_GRID_COLUMN_RESIZE, ImageFromXpm(s_columnResize), 16, 16);
        return true;
    }();
    (void)s_registered;
}
