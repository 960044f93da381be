#pragma once

#include "progress/heat_map.h"

#include <map>

namespace kestrum {

// The kana keyboard as a heat map sees it: a kana lesson tallies each key under its half-width
// katakana name, and the list names a key by the kana printed on it, its shifted kana after it.
class KanaHeatKeys final : public HeatKeys {
public:
    KanaHeatKeys();
    std::optional<KeyPosition> keyOf(std::string_view tallied) const override;
    std::string caption(KeyPosition key) const override;

private:
    std::map<std::string, KeyPosition, std::less<>> byName_;
};

}  // namespace kestrum
