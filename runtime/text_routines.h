// The text routines handlers use for joining and comparing texts.  Texts
// are GBK bytes; null stands for the empty text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace runtime {

// A fresh heap block holding the parts one after another and a NUL; never
// null, even when every part is empty.
char* ConcatText(std::initializer_list<const char*> parts);
// Byte by byte as unsigned bytes, no case folding: -1, 0 or 1.
int CompareText(const char* a, const char* b);
std::size_t TextLength(const char* text);

} // namespace runtime
