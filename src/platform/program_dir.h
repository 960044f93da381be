#pragma once

#include "platform/message.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrum {

struct ProgramDirResult {
    std::string dir;                 // without the trailing separator
    std::optional<Message> message;  // shown once at start-up
};

// The directory part of the program file's full path: everything before its last '/'. A path
// without a separator gives "0" and the internal-error message.
ProgramDirResult programDir(std::string_view programPath);

}  // namespace kestrum
