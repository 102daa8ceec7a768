// Makes the estimate tools part of the program: estimates open in their own window, the
// subject tree beside the grid. main() calls this before the application starts.
#pragma once

void RegisterEstimateTools();
