#include "kana/kana_heat_keys.h"

#include "kana/kana_layout.h"
#include "platform/text.h"

namespace kestrum {

KanaHeatKeys::KanaHeatKeys() {
    for (const KanaKey& key : kanaKeys())
        byName_.emplace(cp932ToUtf8(Bytes(1, static_cast<char>(key.byte))), key.position);
}

std::optional<KeyPosition> KanaHeatKeys::keyOf(std::string_view tallied) const {
    const auto found = byName_.find(tallied);
    if (found == byName_.end()) return std::nullopt;
    return found->second;
}

std::string KanaHeatKeys::caption(KeyPosition key) const {
    const KanaKey* printed = kanaKeyAt(key);
    if (printed == nullptr) return {};
    if (key == kSpacePosition) return "スペース";
    std::string text(printed->kana);
    if (!printed->shifted.empty()) text += "（" + std::string(printed->shifted) + "）";
    return text;
}

}  // namespace kestrum
