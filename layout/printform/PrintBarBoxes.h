// The boxes the print-layout windows carry on their bars: the printer's font names on the
// print-edit bar, the line styles and the fill patterns on the print tool bar.
#pragma once

// Fills CShellServices::createPrintBarBox.
void RegisterPrintBarBoxes();
