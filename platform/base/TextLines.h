// The lines of a text file in code page 932 as a text-mode read with a line limit gives
// them, and the cut of a text at a byte limit that never splits a double-byte character.
// The readers of outside text files (CSV, the outside packages' estimate data, settings
// files) share these, so that a line or a field ends at the same byte in every one of them.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The length of the longest start of text that has at most nMax bytes and does not end
// inside a double-byte character. A lead byte at the very end of the text counts as a
// character of its own.
size_t CutAtCharacter(std::string_view text, size_t nMax);

// The lines of data, pointing into it: LF ends a line and a CR right before it is dropped;
// a last line without LF counts, an LF at the very end starts no empty line. A line longer
// than nMaxLine bytes comes in pieces of at most nMaxLine bytes, each cut where
// CutAtCharacter cuts (at least one byte a piece), every piece taken as a line.
std::vector<std::string_view> SplitLines(std::string_view data, size_t nMaxLine = std::string_view::npos);
