// Makes the estimate tools part of the program: the subject tree stands beside the grid in
// the estimate window, and the window's "clear the estimate" command works through the
// grid's own cut. It registers the tree's pictures and fills the estimate window's entries
// of CShellServices. main() calls this after RegisterEstimate(); tests that open estimate
// windows call both.
#pragma once

void RegisterEstimateTools();
