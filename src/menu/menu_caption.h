#pragma once

#include "platform/text.h"

namespace kestrum {

// The caption of the menu's problem-set panel (code page 932): "---" for an empty name;
// otherwise the name, cut to 10 bytes (9 when byte 11 would be the second half of a double-byte
// character) and followed by "..." when it is longer than 11 bytes, then " (&U)".
Bytes problemSetCaption(const Bytes& problem_set_name);

}  // namespace kestrum
