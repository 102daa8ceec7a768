// Makes the print layouts part of the program: estimate layouts (template 125, ".MMP") and
// parts layouts (template 126, ".MBP") open and save in their windows, and their dialog
// templates are known. main() and the tests call this before the application starts.
#pragma once

void RegisterPrintForm();
