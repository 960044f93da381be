#include "romaji/spelling_automaton.h"

#include "platform/text.h"
#include "romaji/spelling_nfa.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <limits>
#include <map>
#include <utility>

namespace kestrum {

namespace {

constexpr std::int32_t kUnreachable = std::numeric_limits<std::int32_t>::max();
constexpr std::string_view kSymbolChars = "abcdefghijklmnopqrstuvwxyz0123456789 ,./;-";

// The symbol of each byte, a letter of either case as its lower case; -1 for the rest. A table,
// as every judged key looks its symbol up.
constexpr std::array<std::int8_t, 256> kSymbolOfByte = [] {
    std::array<std::int8_t, 256> symbols{};
    symbols.fill(-1);
    for (std::size_t i = 0; i < kSymbolChars.size(); ++i) {
        const auto c = static_cast<unsigned char>(kSymbolChars[i]);
        symbols[c] = static_cast<std::int8_t>(i);
        if (c >= 'a' && c <= 'z') symbols[c - 'a' + 'A'] = static_cast<std::int8_t>(i);
    }
    return symbols;
}();

int symbolOf(unsigned char key) {
    return kSymbolOfByte[key];
}

}  // namespace

std::optional<SpellingAutomaton> SpellingAutomaton::forItem(std::string_view item) {
    const std::optional<SpellingNfa> nfa = buildSpellingNfa(item);
    if (!nfa) return std::nullopt;
    return SpellingAutomaton(*nfa);
}

SpellingAutomaton::SpellingAutomaton(const SpellingNfa& nfa) {
    // Subset construction; state 0 is the start.
    std::map<std::vector<int>, int> ids;
    std::vector<std::vector<int>> sets{{nfa.start}};
    std::vector<std::array<int, kSymbols>> orders;
    std::vector<bool> accept;
    ids.emplace(sets[0], 0);
    for (std::size_t s = 0; s < sets.size(); ++s) {
        // Every edge out of the set as (symbol, target), grouped by symbol.
        std::vector<std::pair<int, int>> edges;
        std::array<int, kSymbols> order;
        order.fill(std::numeric_limits<int>::max());
        bool accepting = false;
        bool upper = false;
        for (const int n : sets[s]) {
            const SpellingNfa::Node& node = nfa.nodes[static_cast<std::size_t>(n)];
            accepting = accepting || node.accept;
            upper = upper || node.upper;
            for (const SpellingNfa::Edge& e : node.edges) {
                const int symbol = symbolOf(static_cast<unsigned char>(e.key));
                edges.emplace_back(symbol, e.to);
                order[static_cast<std::size_t>(symbol)] =
                    std::min(order[static_cast<std::size_t>(symbol)], e.order);
            }
        }
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        std::array<std::int32_t, kSymbols> row;
        row.fill(kNoState);
        for (std::size_t first = 0; first < edges.size();) {
            std::size_t end = first;
            std::vector<int> set;
            while (end < edges.size() && edges[end].first == edges[first].first)
                set.push_back(edges[end++].second);
            auto known = ids.find(set);
            if (known == ids.end()) {
                known = ids.emplace(set, static_cast<int>(sets.size())).first;
                sets.push_back(std::move(set));
            }
            row[static_cast<std::size_t>(edges[first].first)] = known->second;
            first = end;
        }
        next_.push_back(row);
        orders.push_back(order);
        accept.push_back(accepting);
        upper_.push_back(upper);
    }

    // Every key moves forward through the item, so the states form no cycle.
    distance_.assign(next_.size(), -1);
    best_.assign(next_.size(), -1);
    const std::function<std::int32_t(std::size_t)> measure = [&](std::size_t s) {
        if (distance_[s] >= 0) return distance_[s];
        std::int32_t nearest = accept[s] ? 0 : kUnreachable;
        if (!accept[s]) {
            for (std::size_t k = 0; k < kSymbols; ++k) {
                if (next_[s][k] == kNoState) continue;
                const std::int32_t d = measure(static_cast<std::size_t>(next_[s][k]));
                if (d == kUnreachable) continue;
                const bool tie = best_[s] >= 0 && d + 1 == nearest &&
                                 orders[s][k] < orders[s][static_cast<std::size_t>(best_[s])];
                if (d + 1 < nearest || tie) {
                    nearest = d + 1;
                    best_[s] = static_cast<std::int8_t>(k);
                }
            }
        }
        distance_[s] = nearest;
        return nearest;
    };
    measure(0);
    for (std::size_t s = 0; s < next_.size(); ++s) {
        for (std::int32_t& target : next_[s]) {
            if (target != kNoState && measure(static_cast<std::size_t>(target)) == kUnreachable)
                target = kNoState;
        }
    }
}

int SpellingAutomaton::next(int state, unsigned char key) const {
    const int symbol = symbolOf(key);
    if (symbol < 0) return kNoState;
    return next_[static_cast<std::size_t>(state)][static_cast<std::size_t>(symbol)];
}

unsigned char SpellingAutomaton::inItemCase(int state, unsigned char key) const {
    const unsigned char lower = asciiLower(key);
    const bool letter = lower >= 'a' && lower <= 'z';
    return letter && upper_[static_cast<std::size_t>(state)]
               ? static_cast<unsigned char>(lower - 'a' + 'A')
               : lower;
}

bool SpellingAutomaton::accepts(int state) const {
    return distance_[static_cast<std::size_t>(state)] == 0;
}

std::string SpellingAutomaton::completion(int state) const {
    std::string keys;
    auto s = static_cast<std::size_t>(state);
    while (distance_[s] > 0) {
        const auto symbol = static_cast<std::size_t>(best_[s]);
        keys.push_back(static_cast<char>(
            inItemCase(static_cast<int>(s), static_cast<unsigned char>(kSymbolChars[symbol]))));
        s = static_cast<std::size_t>(next_[s][symbol]);
    }
    return keys;
}

}  // namespace kestrum
