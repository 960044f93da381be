#include "progress/attempt_csv.h"

#include <string_view>

namespace kestrum {

namespace {

std::string field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string attemptsCsv(const std::vector<Attempt>& attempts) {
    std::string csv =
        "\xEF\xBB\xBFid,started_at,kind,lesson,speed,accuracy,duration_ms,keys,misses\r\n";
    for (const Attempt& a : attempts) {
        csv += std::to_string(a.id) + ',' + field(a.started_at) + ',' + std::to_string(a.kind) +
               ',' + field(a.lesson) + ',' + std::to_string(a.speed) + ',' +
               std::to_string(a.accuracy) + ',' + std::to_string(a.duration_ms) + ',' +
               std::to_string(a.keys) + ',' + std::to_string(a.misses) + "\r\n";
    }
    return csv;
}

}  // namespace kestrum
