#include "romaji/spelling_automaton.h"

#include "romaji/kana_table.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <limits>
#include <map>

namespace kestrum {

namespace {

constexpr std::int32_t kUnreachable = std::numeric_limits<std::int32_t>::max();
constexpr char kSymbolChars[] = "abcdefghijklmnopqrstuvwxyz-,.";

int symbolOf(unsigned char key) {
    if (key >= 'a' && key <= 'z') return key - 'a';
    if (key == '-') return 26;
    if (key == ',') return 27;
    if (key == '.') return 28;
    return -1;
}

// A nondeterministic automaton: one node before each unit (a "boundary"), a chain of nodes for
// every spelling, and filtered copies of boundaries for the spellings that depend on the next key.
struct Edge {
    char key;
    int to;
    int order;  // lower is preferred among equally short completions
};
struct Node {
    std::vector<Edge> edges;
    bool accept = false;
};

class NfaBuilder {
public:
    std::vector<Node> nodes;

    int add() {
        nodes.emplace_back();
        return static_cast<int>(nodes.size()) - 1;
    }
    void link(int from, char key, int to) {
        nodes[static_cast<std::size_t>(from)].edges.push_back({key, to, order_++});
    }
    void path(int from, std::string_view spelling, int to) {
        for (std::size_t i = 0; i + 1 < spelling.size(); ++i) {
            const int step = add();
            link(from, spelling[i], step);
            from = step;
        }
        link(from, spelling.back(), to);
    }
    // A copy of `node` that only its keys passing `keep` leave; never an end.
    int filtered(int node, const std::function<bool(char)>& keep) {
        const int copy = add();
        for (const Edge& e : nodes[static_cast<std::size_t>(node)].edges) {
            if (keep(e.key)) nodes[static_cast<std::size_t>(copy)].edges.push_back(e);
        }
        return copy;
    }

private:
    int order_ = 0;
};

// Builds back to front, so that the boundary after a unit is complete when the unit needs it.
std::vector<Node> buildNfa(const std::vector<ReadUnit>& units, int& startNode) {
    NfaBuilder nfa;
    int after = nfa.add();
    nfa.nodes[static_cast<std::size_t>(after)].accept = true;
    for (std::size_t i = units.size(); i-- > 0;) {
        const ReadUnit& read = units[i];
        const bool hasNext = i + 1 < units.size();
        const int before = nfa.add();
        const auto linkSingleN = [&] {
            nfa.link(before, 'n', nfa.filtered(after, [](char k) {
                return isConsonant(k) && k != 'n' && k != 'y';
            }));
        };
        const bool singleN = read.unit == syllabicN() && hasNext;
        if (singleN && read.spelling == "n") linkSingleN();
        if (read.unit == smallTsu() && hasNext) {
            std::vector<char> doubled;
            for (const Edge& e : nfa.nodes[static_cast<std::size_t>(after)].edges) {
                if (isConsonant(e.key) && e.key != 'n' &&
                    std::find(doubled.begin(), doubled.end(), e.key) == doubled.end())
                    doubled.push_back(e.key);
            }
            for (const char k : doubled)
                nfa.link(before, k, nfa.filtered(after, [k](char key) { return key == k; }));
        }
        const std::vector<std::string>& spellings = spellingsOf(read.unit);
        // The item's own spelling first, so that it wins among equally short ones.
        if (std::find(spellings.begin(), spellings.end(), read.spelling) != spellings.end())
            nfa.path(before, read.spelling, after);
        for (const std::string& spelling : spellings) {
            if (spelling != read.spelling) nfa.path(before, spelling, after);
        }
        if (singleN && read.spelling != "n") linkSingleN();
        after = before;
    }
    startNode = after;
    return std::move(nfa.nodes);
}

}  // namespace

SpellingAutomaton::SpellingAutomaton(const std::vector<ReadUnit>& units) {
    int startNode = 0;
    const std::vector<Node> nfa = buildNfa(units, startNode);

    // Subset construction; state 0 is the start.
    std::map<std::vector<int>, int> ids;
    std::vector<std::vector<int>> sets{{startNode}};
    std::vector<std::array<int, kSymbols>> orders;
    std::vector<bool> accept;
    ids.emplace(sets[0], 0);
    for (std::size_t s = 0; s < sets.size(); ++s) {
        // Every edge out of the set as (symbol, target), grouped by symbol.
        std::vector<std::pair<int, int>> edges;
        std::array<int, kSymbols> order;
        order.fill(std::numeric_limits<int>::max());
        bool accepting = false;
        for (const int n : sets[s]) {
            const Node& node = nfa[static_cast<std::size_t>(n)];
            accepting = accepting || node.accept;
            for (const Edge& e : node.edges) {
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
    }

    // Every key moves forward through the text, so the states form no cycle.
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

bool SpellingAutomaton::accepts(int state) const {
    return distance_[static_cast<std::size_t>(state)] == 0;
}

std::string SpellingAutomaton::completion(int state) const {
    std::string keys;
    auto s = static_cast<std::size_t>(state);
    while (distance_[s] > 0) {
        const auto symbol = static_cast<std::size_t>(best_[s]);
        keys.push_back(kSymbolChars[symbol]);
        s = static_cast<std::size_t>(next_[s][symbol]);
    }
    return keys;
}

}  // namespace kestrum
