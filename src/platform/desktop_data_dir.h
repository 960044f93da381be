#pragma once

#include "platform/program_dir.h"

namespace kestrum {

// The data folder the program runs with (see dataDirFor). When it is not the program's own
// folder it is made if need be, and at the first start (no tdcs folder there yet) the problem
// sets beside the program are copied into it, the sample set among them, with any learner's
// files found there. When the folder
// cannot be made or written, the result carries the message that says so. A program folder
// that could not be found stays as it is, with its message.
ProgramDirResult chooseDataDir(const ProgramDirResult& program);

}  // namespace kestrum
