#include "platform/program_dir.h"

namespace kestrum {

ProgramDirResult programDir(std::string_view programPath) {
    const auto slash = programPath.rfind('/');
    if (slash == std::string_view::npos) {
        return {"0", infoMessage("内部エラー：Error No.6")};
    }
    return {std::string(programPath.substr(0, slash)), std::nullopt};
}

}  // namespace kestrum
