#include "progress/attempt_csv.h"

#include "progress/attempt_queries.h"

#include <QIODevice>

#include <array>
#include <string_view>

namespace kestrum {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

bool looksLikeFormula(std::string_view text) {
    // Some spreadsheets read the full-width signs as the ASCII ones.
    static constexpr std::array<std::string_view, 10> kStarts = {"=",  "+",  "-",  "@",  "\t",
                                                                 "\r", "＝", "＋", "－", "＠"};
    for (const std::string_view start : kStarts) {
        if (text.starts_with(start)) return true;
    }
    return false;
}

std::string field(std::string_view text) {
    const bool formula = looksLikeFormula(text);
    if (!formula && text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = formula ? "\"'" : "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string attemptsCsvHeader() {
    return "\xEF\xBB\xBFid,started_at,started_at_local,kind,lesson,speed,accuracy,duration_ms,"
           "keys,misses\r\n";
}

std::string attemptCsvRow(const Attempt& a, const std::string& localStart) {
    return std::to_string(a.id) + ',' + field(a.started_at) + ',' + localStart + ',' +
           std::to_string(a.kind) + ',' + field(a.lesson) + ',' + std::to_string(a.speed) + ',' +
           std::to_string(a.accuracy) + ',' + std::to_string(a.duration_ms) + ',' +
           std::to_string(a.keys) + ',' + std::to_string(a.misses) + "\r\n";
}

}  // namespace

bool exportAttemptsCsv(AttemptStore& store, QIODevice& out) {
    std::string buffer = attemptsCsvHeader();
    bool written = true;
    const auto flush = [&] {
        written =
            written && out.write(buffer.data(), qint64(buffer.size())) == qint64(buffer.size());
        buffer.clear();
    };
    const bool read =
        forEachAttempt(store, [&](const Attempt& attempt, const std::string& localStart) {
            buffer += attemptCsvRow(attempt, localStart);
            if (buffer.size() >= kChunk) flush();
        });
    flush();
    return read && written;
}

}  // namespace kestrum
