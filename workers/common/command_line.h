// Number fields of worker command lines, read the way the workers always read them: leading
// blanks, an optional sign and the leading digits; no digits reads as 0. Text beyond the range
// saturates instead of overflowing, so no command line can cause undefined behaviour.
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace worker {

std::int64_t ParseLeadingInteger(const char* text);
std::int32_t ParseInt32(const char* text);
// A 16-bit field: the saturated 32-bit value truncated to 16 bits, as a 16-bit variable keeps it.
std::int16_t ParseInt16(const char* text);
// A window handle read with "%ld" into 32 bits.
platform::Hwnd ParseHandle(const char* text);

}  // namespace worker
