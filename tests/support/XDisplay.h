// Whether the tests run on a real X display (tests/support/run_on_xvfb.sh starts one): the
// tests that need the X server, a window manager or another X program skip themselves on
// the ordinary offscreen run.
#pragma once

#include <cstdlib>
#include <string>

inline bool OnXDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    return platform != nullptr && std::string(platform) == "xcb" && display != nullptr && *display != '\0';
}
