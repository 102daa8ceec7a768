// The Qt side of the application's printer (platform/ui internal; also for the tests).
#pragma once

#include "platform/ui/frames/CPrinterSettings.h"

class QPrinter;

// Sets a printer up as the settings say: the printer (or PDF output into outputFile),
// paper, orientation, margins and resolution. FALSE, with nothing to print on, when the
// system does not know the settings' printer now: a job is never sent anywhere else.
BOOL AfxConfigureQPrinter(const CPrinterSettings& settings, QPrinter& printer, const CString& outputFile);
