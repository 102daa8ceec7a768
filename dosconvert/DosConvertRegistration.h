// Makes the conversion of the DOS edition's data part of the program: its dialogs and
// pictures, and the main frame's "DOS版MORVEL(&D)". main() calls this before the
// application starts; tests call it too.
#pragma once

void RegisterDosConvert();
