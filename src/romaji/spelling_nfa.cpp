#include "romaji/spelling_nfa.h"

#include "platform/text.h"
#include "romaji/kana_table.h"
#include "romaji/romaji_reader.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>

namespace kestrum {

namespace {

// The drill's characters that stand between words as typed.
bool isWordSeparator(char c) {
    return c == ' ' || c == ',' || c == '.' || c == '/' || c == ';' || c == '-';
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isLetter(char c) {
    return isUpper(c) || (c >= 'a' && c <= 'z');
}

bool isDrillCharacter(char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || isWordSeparator(c);
}

// Where each character of a kana text (UTF-8) starts, then where the text ends.
std::vector<std::size_t> charStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

class Builder {
public:
    SpellingNfa nfa;

    int add(bool upper) {
        nfa.nodes.emplace_back();
        nfa.nodes.back().upper = upper;
        return static_cast<int>(nfa.nodes.size()) - 1;
    }
    SpellingNfa::Node& node(int n) { return nfa.nodes[static_cast<std::size_t>(n)]; }
    void link(int from, char key, int to, bool doubled = false) {
        node(from).edges.push_back({key, to, order_++, doubled});
    }
    void path(int from, std::string_view spelling, int to) {
        const bool upper = node(from).upper;
        for (std::size_t i = 0; i + 1 < spelling.size(); ++i) {
            const int step = add(upper);
            link(from, spelling[i], step);
            from = step;
        }
        link(from, spelling.back(), to);
    }
    // A copy of `n` that only its edges passing `keep` leave; never an end.
    int filtered(int n, const std::function<bool(const SpellingNfa::Edge&)>& keep) {
        const int copy = add(node(n).upper);
        for (const SpellingNfa::Edge& e : node(n).edges) {
            if (keep(e)) node(copy).edges.push_back(e);
        }
        return copy;
    }

    // The nodes of a word read as `units`, ending at `after`; returns the word's first node.
    // Built back to front, so that the node after a kana is complete when the kana needs it.
    int word(const std::vector<ReadUnit>& units, bool upper, int after) {
        std::string kana;
        std::vector<std::size_t> unitAt;  // the kana character each unit starts at
        for (const ReadUnit& unit : units) {
            unitAt.push_back(charStarts(kana).size() - 1);
            kana += unit.kana;
        }
        const std::vector<std::size_t> starts = charStarts(kana);
        const std::size_t count = starts.size() - 1;
        std::vector<int> before(count + 1);
        before[count] = after;
        for (std::size_t i = count; i-- > 0;) {
            const int from = before[i] = add(upper);
            const auto own = std::find(unitAt.begin(), unitAt.end(), i);
            const ReadUnit* unit = own == unitAt.end()
                                       ? nullptr
                                       : &units[static_cast<std::size_t>(own - unitAt.begin())];
            const auto isOwn = [unit](std::string_view k, std::string_view spelling) {
                return unit != nullptr && unit->kana == k && unit->spelling == spelling;
            };
            // The item's own spelling first, so that it wins among equally short ones.
            if (unit != nullptr) spell(from, unit->kana, unit->spelling, before, i);
            for (std::size_t length = 1; length <= 2 && i + length <= count; ++length) {
                const std::string_view k =
                    std::string_view(kana).substr(starts[i], starts[i + length] - starts[i]);
                for (const std::string_view spelling : spellingsOfKana(k)) {
                    if (!isOwn(k, spelling)) path(from, spelling, before[i + length]);
                }
            }
            const std::string_view first =
                std::string_view(kana).substr(starts[i], starts[i + 1] - starts[i]);
            if (first == kSyllabicN && !isOwn(first, "n")) spell(from, first, "n", before, i);
            const bool ownDoubled =
                unit != nullptr && unit->kana == kSmallTsu && unit->spelling.size() == 1;
            if (first == kSmallTsu && !ownDoubled) spell(from, first, "", before, i);
        }
        return before[0];
    }

private:
    // One way to type the kana `k` that starts at kana i of a word: a spelling of the table, a
    // single n for ん, or (with any one letter, or none) a doubled consonant for っ.
    void spell(int from, std::string_view k, std::string_view spelling,
               const std::vector<int>& before, std::size_t i) {
        const std::size_t last = before.size() - 1;
        if (k == kSyllabicN && spelling == "n") {
            // Before the end of the word alone, or before a consonant other than n and y.
            link(from, 'n',
                 i + 1 == last ? before[last] : filtered(before[i + 1], [](const auto& e) {
                     return isConsonant(e.key) && e.key != 'n' && e.key != 'y';
                 }));
        } else if (k == kSmallTsu && spelling.size() <= 1) {
            if (i + 1 == last) return;  // a doubled letter needs a kana after it
            std::string doubled;
            for (const SpellingNfa::Edge& e : node(before[i + 1]).edges) {
                if (isConsonant(e.key) && e.key != 'n' && doubled.find(e.key) == std::string::npos)
                    doubled.push_back(e.key);
            }
            for (const char letter : doubled) {
                // "www" is read as a letter, not as っっ.
                link(from, letter,
                     filtered(before[i + 1],
                              [letter](const auto& e) {
                                  return e.key == letter && !(letter == 'w' && e.doubled);
                              }),
                     true);
            }
        } else {
            path(from, spelling, before[i + charStarts(k).size() - 1]);
        }
    }

    int order_ = 0;
};

}  // namespace

std::optional<SpellingNfa> buildSpellingNfa(std::string_view item) {
    if (!std::all_of(item.begin(), item.end(), isDrillCharacter)) return std::nullopt;
    Builder builder;
    int after = builder.add(false);
    builder.node(after).accept = true;
    bool anyRead = false;
    // Back to front, one word or separator at a time.
    for (std::size_t end = item.size(); end > 0;) {
        std::size_t begin = end - 1;
        if (!isWordSeparator(item[begin])) {
            while (begin > 0 && !isWordSeparator(item[begin - 1]))
                --begin;
            const std::string_view text = item.substr(begin, end - begin);
            const bool upper = std::all_of(text.begin(), text.end(), isUpper);
            std::string lower(text);
            for (char& c : lower)
                c = static_cast<char>(asciiLower(static_cast<unsigned char>(c)));
            const bool oneCase = upper || std::none_of(text.begin(), text.end(), isUpper);
            const auto units = oneCase ? readRomajiWord(lower) : std::nullopt;
            if (units) {
                after = builder.word(*units, upper, after);
                anyRead = true;
                end = begin;
                continue;
            }
        }
        // A separator, or a word that is not romaji, is typed as it stands.
        for (std::size_t i = end; i-- > begin;) {
            const int from = builder.add(isUpper(item[i]));
            builder.link(from, static_cast<char>(asciiLower(static_cast<unsigned char>(item[i]))),
                         after);
            after = from;
        }
        end = begin;
    }
    if (!anyRead) return std::nullopt;
    builder.nfa.start = after;
    return std::move(builder.nfa);
}

}  // namespace kestrum
