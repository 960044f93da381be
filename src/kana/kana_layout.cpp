#include "kana/kana_layout.h"

#include "kana/kana_text.h"

#include <array>

namespace kestrum {

namespace {

constexpr Finger kLittleL{KeyboardModel::kLeftHand, KeyboardModel::kLittle};
constexpr Finger kRingL{KeyboardModel::kLeftHand, KeyboardModel::kRing};
constexpr Finger kMiddleL{KeyboardModel::kLeftHand, KeyboardModel::kMiddle};
constexpr Finger kIndexL{KeyboardModel::kLeftHand, KeyboardModel::kIndex};
constexpr Finger kThumbL{KeyboardModel::kLeftHand, KeyboardModel::kThumb};
constexpr Finger kIndexR{KeyboardModel::kRightHand, KeyboardModel::kIndex};
constexpr Finger kMiddleR{KeyboardModel::kRightHand, KeyboardModel::kMiddle};
constexpr Finger kRingR{KeyboardModel::kRightHand, KeyboardModel::kRing};
constexpr Finger kLittleR{KeyboardModel::kRightHand, KeyboardModel::kLittle};

// The fingers follow the on-screen keyboard's zones: on the number row they sit one key further
// right from "4" on, and every key right of the little finger's column is the little finger's.
constexpr std::array<KanaKey, 49> kKeys{{
    {{0, 0}, "ぬ", "", kLittleL, 0xC7},       {{0, 1}, "ふ", "", kRingL, 0xCC},
    {{0, 2}, "あ", "ぁ", kMiddleL, 0xB1},     {{0, 3}, "う", "ぅ", kMiddleL, 0xB3},
    {{0, 4}, "え", "ぇ", kIndexL, 0xB4},      {{0, 5}, "お", "ぉ", kIndexL, 0xB5},
    {{0, 6}, "や", "ゃ", kIndexR, 0xD4},      {{0, 7}, "ゆ", "ゅ", kIndexR, 0xD5},
    {{0, 8}, "よ", "ょ", kMiddleR, 0xD6},     {{0, 9}, "わ", "を", kRingR, 0xDC},
    {{0, 10}, "ほ", "", kLittleR, 0xCE},      {{0, 11}, "へ", "", kLittleR, 0xCD},
    {{0, 12}, "ー", "", kLittleR, 0xB0},      {{1, 0}, "た", "", kLittleL, 0xC0},
    {{1, 1}, "て", "", kRingL, 0xC3},         {{1, 2}, "い", "ぃ", kMiddleL, 0xB2},
    {{1, 3}, "す", "", kIndexL, 0xBD},        {{1, 4}, "か", "", kIndexL, 0xB6},
    {{1, 5}, "ん", "", kIndexR, 0xDD},        {{1, 6}, "な", "", kIndexR, 0xC5},
    {{1, 7}, "に", "", kMiddleR, 0xC6},       {{1, 8}, "ら", "", kRingR, 0xD7},
    {{1, 9}, "せ", "", kLittleR, 0xBE},       {{1, 10}, "゛", "", kLittleR, 0xDE},
    {{1, 11}, "゜", "「", kLittleR, 0xDF},    {{2, 0}, "ち", "", kLittleL, 0xC1},
    {{2, 1}, "と", "", kRingL, 0xC4},         {{2, 2}, "し", "", kMiddleL, 0xBC},
    {{2, 3}, "は", "", kIndexL, 0xCA},        {{2, 4}, "き", "", kIndexL, 0xB7},
    {{2, 5}, "く", "", kIndexR, 0xB8},        {{2, 6}, "ま", "", kIndexR, 0xCF},
    {{2, 7}, "の", "", kMiddleR, 0xC9},       {{2, 8}, "り", "", kRingR, 0xD8},
    {{2, 9}, "れ", "", kLittleR, 0xDA},       {{2, 10}, "け", "", kLittleR, 0xB9},
    {{2, 11}, "む", "」", kLittleR, 0xD1},    {{3, 0}, "つ", "っ", kLittleL, 0xC2},
    {{3, 1}, "さ", "", kRingL, 0xBB},         {{3, 2}, "そ", "", kMiddleL, 0xBF},
    {{3, 3}, "ひ", "", kIndexL, 0xCB},        {{3, 4}, "こ", "", kIndexL, 0xBA},
    {{3, 5}, "み", "", kIndexR, 0xD0},        {{3, 6}, "も", "", kIndexR, 0xD3},
    {{3, 7}, "ね", "、", kMiddleR, 0xC8},     {{3, 8}, "る", "。", kRingR, 0xD9},
    {{3, 9}, "め", "・", kLittleR, 0xD2},     {{3, 10}, "ろ", "", kLittleR, 0xDB},
    {kSpacePosition, " ", "", kThumbL, 0x20},
}};

// Voiced kana follow their plain kana in Unicode; ゔ is the one exception.
constexpr std::u32string_view kVoicable = U"かきくけこさしすせそたちつてとはひふへほ";
constexpr std::u32string_view kHalfVoicable = U"はひふへほ";
constexpr char32_t kVoicedU = U'ゔ';
constexpr char32_t kVoicingMark = U'゛';
constexpr char32_t kHalfVoicingMark = U'゜';

std::optional<KanaStroke> strokeOfPrinted(char32_t kana) {
    // Every key prints one code point, so the kana is encoded once and compared whole.
    const std::string printed = toUtf8(std::u32string_view(&kana, 1));
    for (const KanaKey& key : kKeys) {
        if (key.kana == printed) return KanaStroke{key.position, false};
        if (key.shifted == printed) return KanaStroke{key.position, true};
    }
    return std::nullopt;
}

std::optional<std::vector<KanaStroke>> withMark(char32_t plain, char32_t mark) {
    const auto base = strokeOfPrinted(plain);
    const auto voicing = strokeOfPrinted(mark);
    if (!base || !voicing) return std::nullopt;
    return std::vector<KanaStroke>{*base, *voicing};
}

}  // namespace

std::span<const KanaKey> kanaKeys() {
    return kKeys;
}

const KanaKey* kanaKeyAt(KeyPosition position) {
    for (const KanaKey& key : kKeys) {
        if (key.position == position) return &key;
    }
    return nullptr;
}

std::optional<std::vector<KanaStroke>> strokesOf(char32_t kana) {
    if (const auto stroke = strokeOfPrinted(kana)) return std::vector<KanaStroke>{*stroke};
    if (kana == kVoicedU) return withMark(U'う', kVoicingMark);
    for (std::size_t i = 0; i < kVoicable.size(); ++i) {
        if (kVoicable[i] + 1 == kana) return withMark(kVoicable[i], kVoicingMark);
    }
    for (std::size_t i = 0; i < kHalfVoicable.size(); ++i) {
        if (kHalfVoicable[i] + 2 == kana) return withMark(kHalfVoicable[i], kHalfVoicingMark);
    }
    return std::nullopt;
}

Finger fingerOf(KeyPosition position) {
    if (position == kLeftShiftPosition) return kLittleL;
    if (position == kRightShiftPosition) return kLittleR;
    if (const KanaKey* key = kanaKeyAt(position)) return key->finger;
    return kThumbL;
}

}  // namespace kestrum
