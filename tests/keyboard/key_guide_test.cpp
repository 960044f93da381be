#include "keyboard/key_guide.h"

#include "support/fake_services.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

using M = KeyboardModel;

constexpr std::uint16_t kOn = KeyboardState::kToggled;
constexpr std::uint16_t kHeld = KeyboardState::kHeld;

class KeyGuideTest : public ::testing::Test {
protected:
    KeyGuideTest() { model.arrange(); }

    // Every mark as text, keys in row order, then finger labels ("L3": left hand, finger 3 =
    // little; 0 is the index finger): "*" target or marked label, "-" greyed, "?" a look that
    // does not match its state. Hidden cells are never drawn, so they are left out.
    std::string marks() const {
        std::string out;
        for (int row = 0; row < M::kRows; ++row) {
            for (int col = 0; col < M::kCols; ++col) {
                const KeyCell cell{row, col};
                const Look look = model.keyLook(cell);
                const int state = model.key_state(cell);
                if (model.isHidden(cell) ||
                    (state == 0 && look == Look{model.key_colour(cell), colours::kBlack}))
                    continue;
                out += cell == M::kLeftShift    ? "LShift"
                       : cell == M::kRightShift ? "RShift"
                                                : model.caption(cell);
                out += state == 2 && look == Look{colours::kWhite, colours::kRed} ? "* "
                       : state == 1 && look.background == colours::kGrey          ? "- "
                                                                                  : "? ";
            }
        }
        for (int hand = 0; hand < M::kHands; ++hand) {
            for (int finger = 0; finger < M::kFingers; ++finger) {
                const Finger f{hand, finger};
                const Look look = model.fingerLook(f);
                const int state = model.finger_state(f);
                if (state == 0 && look == Look{colours::kViolet, model.finger_colour(f)}) continue;
                out += (hand == M::kLeftHand ? "L" : "R") + std::to_string(finger) +
                       (state == 2 && look == Look{colours::kRed, colours::kWhite} ? "* " : "? ");
            }
        }
        if (!out.empty()) out.pop_back();
        return out;
    }

    KeyboardModel model;
    Settings settings;
    testing::FakeCapsLock capsLock;
    int shift_down = 0;
    KeyGuide guide{model, settings, capsLock, shift_down};
};

// The other hand's Shift is marked for a letter whose case needs it: upper case while Caps Lock
// is off, lower case while it is on, and neither while Caps Lock is held down; a case-only miss
// marks it whatever Caps Lock says, or greys both Shift keys while Shift is held. A character
// without a key lights only the left index finger's label. Mode 1 clears the wrong key's mark,
// mode 2 the guide, any other mode both.
TEST_F(KeyGuideTest, MarksFollowTheCharacterCapsLockShiftAndSettings) {
    struct Case {
        std::uint16_t caps;
        int distinct, distinctShift, shiftDown;
        char expected, typed;  // typed 0: ShowGuide(expected)
        int caseOnly, clear;   // clear: the ClearMarks mode afterwards, -1 none
        const char* marks;
    };
    // clang-format off
    const Case cases[] = {
        {0,           1, 1, 0, 'A', 0,   0, -1, "A* RShift* L3*"},
        {0,           1, 1, 0, 'P', 0,   0, -1, "P* LShift* R3*"},
        {kOn,         1, 1, 0, 'A', 0,   0, -1, "A* L3*"},
        {kOn,         1, 1, 0, 'a', 0,   0, -1, "A* RShift* L3*"},
        {0,           1, 1, 0, 'a', 0,   0, -1, "A* L3*"},
        {kHeld,       1, 1, 0, 'A', 0,   0, -1, "A* L3*"},
        {kOn | kHeld, 1, 1, 0, 'a', 0,   0, -1, "A* L3*"},
        {kOn | kHeld, 1, 1, 0, 'A', 0,   0, -1, "A* L3*"},
        {0,           1, 1, 0, '1', 0,   0, -1, "1* L3*"},
        {kOn,         1, 1, 0, ';', 0,   0, -1, ";* R3*"},
        {0,           1, 1, 0, '!', 0,   0, -1, "L0*"},
        {0,           1, 1, 0, '@', 0,   0, -1, "L0*"},
        {0,           1, 0, 0, 'A', 0,   0, -1, "A* LShift* RShift* L3*"},
        {0,           0, 1, 0, 'A', 'a', 1, -1, "A* L3*"},
        {0,           1, 1, 0, 'A', 'a', 1, -1, "A* RShift* L3*"},
        {kOn,         1, 1, 0, 'A', 'a', 1, -1, "A* RShift* L3*"},
        {kHeld,       1, 1, 0, 'A', 'a', 1, -1, "A* RShift* L3*"},
        {0,           1, 1, 1, 'a', 'A', 1, -1, "A* LShift- RShift- L3*"},
        {0,           1, 1, 1, 'a', 'A', 1, 1,  "A* L3*"},
        {0,           1, 1, 0, 'd', 's', 0, -1, "S- D* L1*"},
        {0,           1, 1, 0, 'd', 's', 0, 1,  "D* L1*"},
        {0,           1, 1, 0, 'd', 's', 0, 2,  "S-"},
        {0,           1, 1, 0, 'd', 's', 0, 0,  ""},
        {0,           1, 1, 0, 'd', 's', 0, 7,  ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE((std::string{c.expected, c.typed ? c.typed : ' '} + " caps " +
                      std::to_string(c.caps) + " clear " + std::to_string(c.clear)));
        capsLock.state = c.caps;
        settings.distinct = c.distinct;
        settings.distinct_shift = c.distinctShift;
        shift_down = c.shiftDown;
        if (c.typed == 0) {
            guide.ShowGuide(static_cast<unsigned char>(c.expected));
        } else {
            guide.ShowErrorGuide(static_cast<unsigned char>(c.expected),
                                 static_cast<unsigned char>(c.typed), c.caseOnly);
        }
        if (c.clear >= 0) guide.ClearMarks(c.clear);
        EXPECT_EQ(marks(), c.marks);
        guide.ClearMarks(3);
        EXPECT_EQ(marks(), "");
    }
}

// Ticks alternate lit and dark; the phase is never reset, so a tutorial left after a lit tick
// starts its next showing with a dark one, and a page change shows at the next lit tick.
TEST_F(KeyGuideTest, BlinkScheduleByPage) {
    const char* const home = "A* S* D* F* J* K* L* ;*";
    // clang-format off
    const std::pair<int, const char*> pages[] = {
        {1, home}, {2, home}, {3, "F* J*"}, {4, "F* J*"}, {7, "F* J*"}, {5, "A* S* D* F*"},
        {6, "J* K* L* ;*"}, {8, home}, {9, "1* Q* A* Z* L3*"}, {10, home}, {12, home},
        {13, "B* L0*"}, {14, "A- B* L0*"}, {15, home}, {16, home}, {0, ""}};
    // clang-format on
    for (const auto& [page, lit] : pages) {
        EXPECT_EQ(guide.blink_lit(), 1) << page;
        guide.blinkTick(page);
        EXPECT_EQ(marks(), lit) << page;
        EXPECT_EQ(guide.blink_lit(), 0) << page;
        guide.blinkTick(page);
        EXPECT_EQ(marks(), "") << page;
    }
    guide.blinkTick(0);
    guide.blinkTick(3);  // dark, whatever the page
    EXPECT_EQ(marks(), "");
    EXPECT_EQ(guide.blink_lit(), 1);
}

}  // namespace
}  // namespace kestrum
