// The parts list's entry in the composition root: its document, window and grid view
// (template 124).
#pragma once

void RegisterParts();
