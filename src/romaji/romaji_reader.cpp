#include "romaji/romaji_reader.h"

#include "romaji/kana_table.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <utility>

namespace kestrum {

namespace {

constexpr std::size_t kLongestSpelling = 4;  // xtsu, ltsu

// Each direct spelling of the table and its unit.
const std::map<std::string_view, int>& unitsBySpelling() {
    static const std::map<std::string_view, int> table = [] {
        std::map<std::string_view, int> result;
        const std::vector<KanaUnit>& units = kanaUnits();
        for (std::size_t i = 0; i < units.size(); ++i) {
            for (std::string_view spelling : units[i].spellings)
                result.emplace(spelling, static_cast<int>(i));
        }
        return result;
    }();
    return table;
}

// The combined sound of a kana and the small kana after it, or -1.
int combined(int base, int small) {
    static const std::map<std::pair<int, int>, int> sounds = [] {
        std::map<std::pair<int, int>, int> result;
        const std::vector<KanaUnit>& units = kanaUnits();
        for (std::size_t i = 0; i < units.size(); ++i) {
            if (!units[i].base.empty())
                result.emplace(std::pair(unitOfKana(units[i].base), unitOfKana(units[i].small)),
                               static_cast<int>(i));
        }
        return result;
    }();
    const auto found = sounds.find({base, small});
    return found == sounds.end() ? -1 : found->second;
}

bool isVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

}  // namespace

bool isConsonant(char c) {
    return c >= 'a' && c <= 'z' && !isVowel(c);
}

std::optional<std::vector<ReadUnit>> readRomaji(std::string_view text) {
    std::vector<ReadUnit> units;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        const char after = at + 1 < text.size() ? text[at + 1] : '\0';
        if (c == 'n' && (after == 'n' || (isConsonant(after) && after != 'y'))) {
            const std::size_t length = after == 'n' ? 2 : 1;
            units.push_back({syllabicN(), text.substr(at, length)});
            at += length;
            continue;
        }
        if (isConsonant(c) && c != 'n' && after == c) {
            units.push_back({smallTsu(), text.substr(at, 1)});
            ++at;
            continue;
        }
        const std::size_t longest = std::min(kLongestSpelling, text.size() - at);
        bool found = false;
        for (std::size_t length = longest; length > 0 && !found; --length) {
            const auto hit = unitsBySpelling().find(text.substr(at, length));
            if (hit == unitsBySpelling().end()) continue;
            ReadUnit read{hit->second, text.substr(at, length)};
            const int joined = units.empty() ? -1 : combined(units.back().unit, read.unit);
            if (joined >= 0) {
                const std::string_view& first = units.back().spelling;
                units.back() = {joined, std::string_view(first.data(), first.size() + length)};
            } else {
                units.push_back(read);
            }
            at += length;
            found = true;
        }
        if (!found) return std::nullopt;
    }
    return units;
}

}  // namespace kestrum
