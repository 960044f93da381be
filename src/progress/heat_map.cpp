#include "progress/heat_map.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace kestrum {

namespace {

std::uint8_t channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

Rgb rateColour(double rate) {
    const double t = std::min(rate / kFullHeatRate, 1.0);
    if (t <= 0.5) return {255, 255, channel(255.0 * (1.0 - 2.0 * t))};
    return {255, channel(255.0 * (2.0 - 2.0 * t)), 0};
}

}  // namespace

Rgb heatColour(std::int64_t hits, std::int64_t misses) {
    const std::int64_t strokes = hits + misses;
    if (strokes <= 0) return colours::kLightGrey;
    return rateColour(static_cast<double>(misses) / static_cast<double>(strokes));
}

std::vector<HeatSample> heatLegend() {
    constexpr int kSteps = 4;
    std::vector<HeatSample> samples;
    for (int step = 0; step <= kSteps; ++step) {
        const double rate = kFullHeatRate * step / kSteps;
        QString text = QStringLiteral("%1%").arg(std::lround(rate * 100));
        if (step == kSteps) text += QStringLiteral("以上");
        samples.push_back({rateColour(rate), text.toStdString()});
    }
    samples.push_back({heatColour(0, 0), "打鍵なし"});
    return samples;
}

std::optional<KeyPosition> RomajiHeatKeys::keyOf(std::string_view tallied) const {
    if (tallied.size() != 1) return std::nullopt;
    const KeyCell cell = model_.keyOf(static_cast<unsigned char>(tallied.front()));
    if (model_.isHidden(cell)) return std::nullopt;
    return KeyPosition{cell.row, cell.col};
}

std::string RomajiHeatKeys::caption(KeyPosition key) const {
    return model_.caption({key.row, key.col});
}

std::vector<KeyHeat> keyHeats(const HeatKeys& keys, const std::vector<KeyTally>& tallies) {
    std::vector<KeyHeat> heats;
    for (const KeyTally& tally : tallies) {
        const std::optional<KeyPosition> key = keys.keyOf(tally.ch);
        if (!key) continue;
        auto found = std::find_if(heats.begin(), heats.end(),
                                  [&](const KeyHeat& heat) { return heat.key == *key; });
        if (found == heats.end()) found = heats.insert(heats.end(), KeyHeat{*key, 0, 0});
        found->hits += tally.hits;
        found->misses += tally.misses;
    }
    return heats;
}

std::vector<KeyHeat> worstKeys(std::vector<KeyHeat> heats, std::size_t count) {
    std::erase_if(heats, [](const KeyHeat& heat) { return heat.misses == 0; });
    std::stable_sort(heats.begin(), heats.end(), [](const KeyHeat& a, const KeyHeat& b) {
        const std::int64_t left = a.misses * (b.hits + b.misses);
        const std::int64_t right = b.misses * (a.hits + a.misses);
        return left != right ? left > right : a.misses > b.misses;
    });
    if (heats.size() > count) heats.resize(count);
    return heats;
}

KeyHeat heatOf(const std::vector<KeyHeat>& heats, KeyPosition key) {
    const auto found = std::find_if(heats.begin(), heats.end(),
                                    [&](const KeyHeat& heat) { return heat.key == key; });
    return found == heats.end() ? KeyHeat{key, 0, 0} : *found;
}

void paintHeat(KeyboardModel& model, const std::vector<KeyHeat>& heats) {
    for (int row = 0; row < KeyboardModel::kRows; ++row) {
        for (int col = 0; col < KeyboardModel::kCols; ++col) {
            const KeyCell cell{row, col};
            const KeyHeat heat = heatOf(heats, {row, col});
            model.setKeyBackground(cell, heatColour(heat.hits, heat.misses));
            model.setKeyCaptionColour(cell, colours::kBlack);
        }
    }
}

std::string heatFigures(const KeyHeat& heat) {
    const std::int64_t strokes = heat.hits + heat.misses;
    if (strokes <= 0) return "記録なし";
    const double percent = 100.0 * static_cast<double>(heat.misses) / static_cast<double>(strokes);
    return QStringLiteral("打鍵 %1回・ミス %2回（%3%）")
        .arg(strokes)
        .arg(heat.misses)
        .arg(percent, 0, 'f', 1)
        .toStdString();
}

}  // namespace kestrum
