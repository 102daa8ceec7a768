// Makes the drawing objects part of the program: their classes are known to archives by
// the names stored in layout files. main() and the tests call this before layouts are read.
#pragma once

void RegisterDrawing();
