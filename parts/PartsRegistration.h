// The parts list's entry in the composition root: its document, window and grid view
// (template 124), and its exchange commands (CSV output and input, another parts file).
#pragma once

void RegisterParts();
