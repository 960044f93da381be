#include "progress/weak_keys.h"

#include "platform/text.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace kestrum {

namespace {

constexpr std::string_view kDrillPunctuation = ",./;-";

// The drillable key a character is typed on, or 0.
char drillKeyOf(const std::string& ch) {
    if (ch.size() != 1) return 0;
    const char c = static_cast<char>(asciiLower(static_cast<unsigned char>(ch.front())));
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return c;
    return kDrillPunctuation.find(c) != std::string_view::npos ? c : 0;
}

std::vector<WeakKey> perKey(const std::vector<KeyTally>& totals) {
    std::map<char, WeakKey> keys;
    for (const KeyTally& tally : totals) {
        const char key = drillKeyOf(tally.ch);
        if (key == 0) continue;
        WeakKey& entry = keys[key];
        entry.key = key;
        entry.strokes += tally.hits + tally.misses;
        entry.misses += tally.misses;
    }
    std::vector<WeakKey> result;
    for (const auto& [key, entry] : keys) {
        if (entry.strokes >= kWeakKeyMinStrokes) result.push_back(entry);
    }
    return result;
}

}  // namespace

std::vector<WeakKey> chooseWeakKeys(const std::vector<KeyTally>& totals) {
    std::vector<WeakKey> keys = perKey(totals);
    std::erase_if(keys, [](const WeakKey& k) { return k.misses == 0; });
    std::sort(keys.begin(), keys.end(), [](const WeakKey& a, const WeakKey& b) {
        // a.misses / a.strokes against b's, without rounding
        const std::int64_t left = a.misses * b.strokes;
        const std::int64_t right = b.misses * a.strokes;
        if (left != right) return left > right;
        if (a.misses != b.misses) return a.misses > b.misses;
        return a.key < b.key;
    });
    if (keys.size() > kMaxWeakKeys) keys.resize(kMaxWeakKeys);
    return keys;
}

bool enoughToJudge(const std::vector<KeyTally>& totals) {
    return !perKey(totals).empty();
}

}  // namespace kestrum
