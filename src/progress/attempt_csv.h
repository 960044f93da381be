#pragma once

#include "progress/attempt.h"

#include <string>
#include <vector>

namespace kestrum {

// Every attempt as CSV for a spreadsheet: UTF-8 with a byte-order mark, a header row of the
// column names, one row per attempt, lines ending CR LF; a field with a comma, a quote or a line
// break is quoted, its quotes doubled.
std::string attemptsCsv(const std::vector<Attempt>& attempts);

}  // namespace kestrum
