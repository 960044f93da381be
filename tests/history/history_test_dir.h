#pragma once

#include "platform/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace kestrum::testing {

// A fresh directory for one test's score.dat and temp.tmp, removed afterwards.
class HistoryDir {
public:
    HistoryDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrum-history-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path_ = pattern;
    }
    ~HistoryDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    HistoryDir(const HistoryDir&) = delete;
    HistoryDir& operator=(const HistoryDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path score() const { return path_ / "score.dat"; }
    bool hasScore() const { return std::filesystem::exists(score()); }
    bool hasTemp() const { return std::filesystem::exists(path_ / "temp.tmp"); }

    Bytes scoreBytes() const {
        std::ifstream in(score(), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void writeScore(const Bytes& bytes) const { std::ofstream(score(), std::ios::binary) << bytes; }

private:
    std::filesystem::path path_;
};

struct Attempt {
    int speed;
    int accuracy;
};

// One lesson entry as the history file lays it out, with any count byte the test needs.
inline Bytes entryBytes(int kind, const Bytes& name, const std::vector<Attempt>& attempts) {
    Bytes out;
    out.push_back(static_cast<char>(kind));
    out.push_back(static_cast<char>(name.size()));
    out += name;
    out.push_back(static_cast<char>(attempts.size()));
    for (const Attempt& attempt : attempts) {
        out.push_back(static_cast<char>((attempt.speed >> 8) & 0xFF));
        out.push_back(static_cast<char>(attempt.speed & 0xFF));
        out.push_back(static_cast<char>(attempt.accuracy));
    }
    return out;
}

// Attempts numbered from `first`, each with its own speed and accuracy, so that their order
// can be checked after they have been moved.
inline std::vector<Attempt> numberedAttempts(int first, int count) {
    std::vector<Attempt> attempts;
    for (int i = first; i < first + count; ++i)
        attempts.push_back({i * 3, i % 101});
    return attempts;
}

}  // namespace kestrum::testing
