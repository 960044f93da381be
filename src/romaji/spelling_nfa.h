#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace kestrum {

// Every key sequence an input method turns into the same text as an item, as a nondeterministic
// automaton: one node before each kana of a word read as romaji, a chain of nodes for each
// spelling, filtered copies of a node for the spellings of ん and っ that depend on the next key,
// and a single path through whatever is typed as it stands.
struct SpellingNfa {
    struct Edge {
        char key;  // a lower-case letter, a digit, a blank or , . / ; -
        int to;
        int order;     // lower is preferred among equally short spellings
        bool doubled;  // the first letter of a doubled consonant read as っ
    };
    struct Node {
        std::vector<Edge> edges;
        bool accept = false;
        bool upper = false;  // the letters leaving the node are shown in capitals
    };
    std::vector<Node> nodes;
    int start = 0;
};

// The automaton of an item of the drill's characters (letters, digits, blank and , . / ; -), read
// word by word: a word of letters in one case that reads as romaji takes every spelling of its
// kana, the own spelling preferred; any other word and the separators only themselves. Nothing
// when the item holds another byte or no word reads as romaji.
std::optional<SpellingNfa> buildSpellingNfa(std::string_view item);

}  // namespace kestrum
