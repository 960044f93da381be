#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrum::testing {

// Tables of cases kept in tests/data, written from the program's rules rather than from its code.
// In a cell, "\n", "\r", "\t" and "\xHH" stand for those bytes and "\*85c" for 85 bytes c.
inline std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char code = text[i] == '\\' && i + 1 < text.size() ? text[++i] : '\0';
        if (code == 'x') {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else if (code == '*') {
            std::size_t digits = 0;
            const int count = std::stoi(text.substr(i + 1), &digits);
            i += digits + 1;
            out.append(count, text[i]);
        } else {
            out += code == 'n' ? '\n' : code == 'r' ? '\r' : code == 't' ? '\t' : text[i];
        }
    }
    return out;
}

// The rows of tests/data/<name>, cells unescaped, without blank lines and '#' comments.
inline std::vector<std::vector<std::string>> tableRows(const std::string& name) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(std::filesystem::path(KESTRUM_TEST_DATA) / name);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        rows.emplace_back();
        for (std::size_t at = 0, tab = 0; tab != std::string::npos; at = tab + 1) {
            tab = line.find('\t', at);
            rows.back().push_back(unescape(line.substr(at, tab - at)));
        }
    }
    EXPECT_FALSE(rows.empty()) << name << " is missing or empty";
    return rows;
}

}  // namespace kestrum::testing
