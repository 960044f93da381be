#pragma once

#include "keyboard/keyboard_model.h"
#include "keyboard/rgb.h"
#include "platform/key_positions.h"
#include "progress/attempt.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// The miss rate at which a key is drawn at full red.
constexpr double kFullHeatRate = 0.25;

// A key's tint by its miss rate (misses over keystrokes): white at none, yellow at half of
// kFullHeatRate, red from kFullHeatRate up; light grey for a key never struck.
Rgb heatColour(std::int64_t hits, std::int64_t misses);

// What the heat map needs of the keyboard it tints: the key a tallied character names, if the
// keyboard shows one, and the key's name in the list of worst keys.
class HeatKeys {
public:
    virtual ~HeatKeys() = default;
    virtual std::optional<KeyPosition> keyOf(std::string_view tallied) const = 0;
    virtual std::string caption(KeyPosition key) const = 0;
};

// The lessons' on-screen keyboard, whose cells are the places of its keys: a tally names the key
// of its one character ("a" and "A" the same key).
class RomajiHeatKeys final : public HeatKeys {
public:
    explicit RomajiHeatKeys(const KeyboardModel& model) : model_(model) {}
    std::optional<KeyPosition> keyOf(std::string_view tallied) const override;
    std::string caption(KeyPosition key) const override;

private:
    const KeyboardModel& model_;
};

// Keystrokes summed per key the keyboard shows (the characters of one key together).
struct KeyHeat {
    KeyPosition key;
    std::int64_t hits = 0;
    std::int64_t misses = 0;

    bool operator==(const KeyHeat&) const = default;
};
std::vector<KeyHeat> keyHeats(const HeatKeys& keys, const std::vector<KeyTally>& tallies);

// The keys missed at all, worst miss rate first (ties: more misses), at most `count`.
std::vector<KeyHeat> worstKeys(std::vector<KeyHeat> heats, std::size_t count);

// The heat of `key` among `heats`; no keystrokes when it is not there.
KeyHeat heatOf(const std::vector<KeyHeat>& heats, KeyPosition key);

// The colour scale's samples as the legend shows them: no misses to kFullHeatRate in four equal
// steps, the last "以上", then the colour of a key never struck, "打鍵なし".
struct HeatSample {
    Rgb colour;
    std::string text;
};
std::vector<HeatSample> heatLegend();

// Every visible key of `model` takes its heat colour as background, black captions.
void paintHeat(KeyboardModel& model, const std::vector<KeyHeat>& heats);

// The figures of one key for its tool tip: "打鍵 40回・ミス 3回（7.5%）", or "記録なし".
std::string heatFigures(const KeyHeat& heat);

}  // namespace kestrum
