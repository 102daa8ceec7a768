// Makes the estimate tools part of the program: the subject tree stands beside the grid in
// the estimate window, and the window's "clear the estimate" command works through the
// grid's own cut. It registers the tree's pictures and fills the estimate window's entries
// of CShellServices. main() calls this after RegisterEstimate(); tests that open estimate
// windows call both.
#pragma once

void RegisterEstimateTools();

class CShellServices;
// The parts grid's exchange commands and the find, replace, sort, zoom and fixed-rate
// dialogs, for the parts grid (also called by RegisterEstimateTools).
void RegisterPartsGridDialogs(CShellServices& services);
