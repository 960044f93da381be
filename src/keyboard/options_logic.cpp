#include "keyboard/options_logic.h"

#include <initializer_list>

namespace kestrum {

namespace {

constexpr int kCodeS = 0;
constexpr int kCodeLL = 1;
constexpr int kCodeL = 2;
constexpr int kCodeM = 3;

// Which sizes the screen width allows, and keyboard_size fitted to them. Only the width is
// tested, whatever screen sizes the captions name.
int fitSize(int keyboard_size, int screenWidth, OptionsControls& controls) {
    const auto disable = [&controls](std::initializer_list<SizeButton> buttons) {
        for (const SizeButton b : buttons)
            controls.size(b).enabled = false;
    };
    if (screenWidth <= 640) {
        disable({SizeButton::M, SizeButton::L, SizeButton::LL});
        return kCodeS;
    }
    if (screenWidth <= 800) {
        disable({SizeButton::L, SizeButton::LL});
        return keyboard_size == kCodeLL || keyboard_size == kCodeL ? kCodeM : keyboard_size;
    }
    if (screenWidth <= 1024) {
        disable({SizeButton::LL});
        return keyboard_size == kCodeLL ? kCodeL : keyboard_size;
    }
    return keyboard_size;
}

}  // namespace

void OptionsControls::checkSize(SizeButton b) {
    for (SizeButtonState& s : sizes)
        s.checked = false;
    size(b).checked = true;
}

int sizeCode(SizeButton b) {
    switch (b) {
        case SizeButton::LL:
            return kCodeLL;
        case SizeButton::L:
            return kCodeL;
        case SizeButton::M:
            return kCodeM;
        case SizeButton::S:
            break;
    }
    return kCodeS;
}

SizeButton sizeButtonOf(int keyboard_size) {
    switch (keyboard_size) {
        case kCodeLL:
            return SizeButton::LL;
        case kCodeL:
            return SizeButton::L;
        case kCodeM:
            return SizeButton::M;
        default:
            return SizeButton::S;
    }
}

OptionsControls OptionsLogic::FormShow(Settings& settings, int screenWidth) {
    OptionsControls c;
    c.chk_distinct = settings.distinct == 1;
    c.radio_letter_type = settings.letter_type;
    c.radio_guide = settings.guide;
    c.chk_distinct_shift = settings.distinct_shift == 1;
    c.radio_sound = settings.sound;
    c.chk_romaji_spellings = settings.romaji_spellings == 1;
    settings.keyboard_size = fitSize(settings.keyboard_size, screenWidth, c);
    c.checkSize(sizeButtonOf(settings.keyboard_size));
    return c;
}

void OptionsLogic::BitBtn1Click(const OptionsControls& controls, Settings& settings) {
    settings.distinct = controls.chk_distinct ? 1 : 0;
    settings.guide = controls.radio_guide;
    settings.letter_type = controls.radio_letter_type;
    settings.distinct_shift = controls.chk_distinct_shift ? 1 : 0;
    settings.sound = controls.radio_sound;
    // The first checked button in the order LL, L, M decides; none checked is S.
    SizeButton chosen = SizeButton::S;
    for (const SizeButton b : {SizeButton::LL, SizeButton::L, SizeButton::M}) {
        if (controls.size(b).checked) {
            chosen = b;
            break;
        }
    }
    settings.keyboard_size = sizeCode(chosen);
    settings.romaji_spellings = controls.chk_romaji_spellings ? 1 : 0;
}

}  // namespace kestrum
