#pragma once

#include "keyboard/keyboard_model.h"
#include "keyboard/rgb.h"
#include "progress/attempt.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

// The miss rate at which a key is drawn at full red.
constexpr double kFullHeatRate = 0.25;

// A key's tint by its miss rate (misses over keystrokes): white at none, yellow at half of
// kFullHeatRate, red from kFullHeatRate up; light grey for a key never struck.
Rgb heatColour(std::int64_t hits, std::int64_t misses);

// Keystrokes summed per visible key cell of the on-screen keyboard (the characters of one key,
// such as "a" and "A", together).
struct KeyHeat {
    KeyCell cell;
    std::int64_t hits = 0;
    std::int64_t misses = 0;

    bool operator==(const KeyHeat&) const = default;
};
std::vector<KeyHeat> keyHeats(const KeyboardModel& model, const std::vector<KeyTally>& tallies);

// The keys missed at all, worst miss rate first (ties: more misses), at most `count`.
std::vector<KeyHeat> worstKeys(std::vector<KeyHeat> heats, std::size_t count);

// The heat of `cell` among `heats`; no keystrokes when it is not there.
KeyHeat heatOf(const std::vector<KeyHeat>& heats, KeyCell cell);

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
