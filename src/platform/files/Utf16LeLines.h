#pragma once

#include "platform/files/TextStream.h"

namespace korvale {

// Passes the UTF-16LE text from the input's position on to the output, line by line through the
// rule. A line ends at the code unit U+000A (a U+000D before it goes with it), so a byte 0A
// within another code unit splits nothing. Runs of lines the rule keeps as they are are copied
// in one piece; the text is never held whole, only a line that runs across the end of the
// input's buffer. A lone byte at the very end, half a code unit, is dropped.
void passUtf16LeLines(TextStream& input, TextStream& output, const LineRule& rule);

}  // namespace korvale
