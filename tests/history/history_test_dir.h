#pragma once

#include "platform/text.h"
#include "records/score_key.h"

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace kestrum::testing {

inline Bytes fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A fresh directory for one test's score.dat and temp.tmp, removed afterwards.
class HistoryDir {
public:
    std::filesystem::path path() const { return dir_.path().toStdString(); }
    std::filesystem::path score() const { return path() / "score.dat"; }
    bool hasTemp() const { return std::filesystem::exists(path() / "temp.tmp"); }
    Bytes scoreBytes() const { return fileBytes(score()); }
    void writeScore(const Bytes& bytes) const { std::ofstream(score(), std::ios::binary) << bytes; }

private:
    QTemporaryDir dir_;
};

struct Attempt {
    int speed;
    int accuracy;
    bool operator==(const Attempt&) const = default;
};

// One lesson entry as the history file lays it out.
inline Bytes entryBytes(int kind, const Bytes& name, const std::vector<Attempt>& attempts) {
    Bytes out{static_cast<char>(kind), static_cast<char>(name.size())};
    out += name;
    out.push_back(static_cast<char>(attempts.size()));
    for (const Attempt& a : attempts)
        out += {static_cast<char>(a.speed >> 8), static_cast<char>(a.speed),
                static_cast<char>(a.accuracy)};
    return out;
}

// Attempts numbered from `first`, each with its own figures, so that their order can be checked.
inline std::vector<Attempt> numberedAttempts(int first, int count) {
    std::vector<Attempt> attempts;
    for (int i = first; i < first + count; ++i)
        attempts.push_back({i * 3, i % 101});
    return attempts;
}

// A lesson's attempt as the drill records it.
inline ScoreKey attemptOf(std::int32_t kind, const Bytes& name, std::int32_t speed,
                          std::int32_t accuracy) {
    ScoreKey key = scoreKeyFor(kind, name);
    key.speed = speed;
    key.accuracy = accuracy;
    return key;
}

}  // namespace kestrum::testing
