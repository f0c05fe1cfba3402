#pragma once
// NOL_FIRST_PAINT: the file a program writes after its first complete paint, so
// tests can wait for the window and benchmarks can time it.
#include "forms/types.h"
#include "rtl/strings.h"

namespace qor::forms {

// The variable's value, or empty when unset.
rtl::String FirstPaintFileName();
// Writes "<width>x<height>\n<caption>\n" to a temporary name beside path and
// renames it over path, so a reader sees the whole file or none. Failures are
// ignored (the program must not stop over a test aid).
void WriteFirstPaintFile(rtl::StringView path, TSize clientSize, rtl::StringView caption) noexcept;

}  // namespace qor::forms
