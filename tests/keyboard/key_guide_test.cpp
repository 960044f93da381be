#include "keyboard/key_guide.h"

#include "support/fake_services.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <utility>

namespace kestrum {
namespace {

using M = KeyboardModel;

constexpr std::uint16_t kOn = KeyboardState::kToggled;
constexpr std::uint16_t kHeld = KeyboardState::kHeld;

constexpr Finger kLeftIndex{M::kLeftHand, M::kIndex};
constexpr Finger kLeftMiddle{M::kLeftHand, M::kMiddle};
constexpr Finger kLeftLittle{M::kLeftHand, M::kLittle};
constexpr Finger kRightLittle{M::kRightHand, M::kLittle};

class KeyGuideTest : public ::testing::Test {
protected:
    KeyGuideTest() { model.arrange(); }

    KeyCell key(char c) const { return model.keyOf(static_cast<unsigned char>(c)); }

    bool isTarget(KeyCell cell) const {
        return model.key_state(cell) == 2 &&
               model.keyLook(cell) == Look{colours::kWhite, colours::kRed};
    }
    bool isGreyed(KeyCell cell) const {
        return model.key_state(cell) == 1 && model.keyLook(cell).background == colours::kGrey;
    }
    bool isPlain(KeyCell cell) const {
        return model.key_state(cell) == 0 &&
               model.keyLook(cell) == Look{model.key_colour(cell), colours::kBlack};
    }
    bool isMarked(Finger f) const {
        return model.finger_state(f) == 2 &&
               model.fingerLook(f) == Look{colours::kRed, colours::kWhite};
    }
    bool isPlain(Finger f) const {
        return model.finger_state(f) == 0 &&
               model.fingerLook(f) == Look{colours::kViolet, model.finger_colour(f)};
    }
    // The visible cells that carry any mark, and how many finger labels do.
    std::set<std::pair<int, int>> markedCells() const {
        std::set<std::pair<int, int>> cells;
        for (int row = 0; row < M::kRows; ++row) {
            for (int col = 0; col < M::kCols; ++col) {
                if (!model.isHidden({row, col}) && model.key_state({row, col}) != 0)
                    cells.insert({row, col});
            }
        }
        return cells;
    }
    std::set<std::pair<int, int>> cellsOf(std::string_view chars) const {
        std::set<std::pair<int, int>> cells;
        for (const char c : chars)
            cells.insert({key(c).row, key(c).col});
        return cells;
    }
    int markedFingerCount() const {
        int n = 0;
        for (int h = 0; h < M::kHands; ++h) {
            for (int f = 0; f < M::kFingers; ++f)
                n += model.finger_state({h, f}) != 0 ? 1 : 0;
        }
        return n;
    }

    KeyboardModel model;
    Settings settings;
    testing::FakeCapsLock capsLock;
    int shift_down = 0;
    KeyGuide guide{model, settings, capsLock, shift_down};
};

// The other hand's Shift is marked for a letter whose case needs it: upper case while Caps Lock
// is off, lower case while it is on, and neither while Caps Lock is held down. A character
// without a key lights only the left index finger's label.
TEST_F(KeyGuideTest, CapsLockStateDecidesWhichCaseNeedsTheOtherHandsShift) {
    struct Case {
        char ch;
        std::uint16_t caps;
        KeyCell shift;  // kSpace: no Shift
    };
    for (const Case c :
         {Case{'A', 0, M::kRightShift}, Case{'P', 0, M::kLeftShift}, Case{'A', kOn, M::kSpace},
          Case{'a', kOn, M::kRightShift}, Case{'a', 0, M::kSpace}, Case{'A', kHeld, M::kSpace},
          Case{'a', kOn | kHeld, M::kSpace}, Case{'A', kOn | kHeld, M::kSpace},
          Case{'1', 0, M::kSpace}, Case{';', kOn, M::kSpace}}) {
        SCOPED_TRACE(std::string(1, c.ch) + " caps " + std::to_string(c.caps));
        capsLock.state = c.caps;
        guide.ShowGuide(static_cast<unsigned char>(c.ch));
        EXPECT_TRUE(isTarget(key(c.ch)));
        EXPECT_EQ(isTarget(M::kRightShift), c.shift == M::kRightShift);
        EXPECT_EQ(isTarget(M::kLeftShift), c.shift == M::kLeftShift);
        if (c.ch == 'A') {
            EXPECT_TRUE(isMarked(kLeftLittle));
            EXPECT_TRUE(isPlain(kRightLittle));  // the Shift key's own finger is not marked
        }
        guide.ClearMarks(3);
    }
    for (const char c : {'!', '@'}) {
        guide.ShowGuide(static_cast<unsigned char>(c));
        EXPECT_TRUE(markedCells().empty()) << c;
        EXPECT_TRUE(isMarked(kLeftIndex)) << c;
        EXPECT_EQ(markedFingerCount(), 1) << c;
        guide.ClearMarks(3);
    }
}

TEST_F(KeyGuideTest, EitherShiftModeMarksBothAndCaseBlindModeMarksNone) {
    settings.distinct_shift = 0;
    guide.ShowGuide('A');
    EXPECT_TRUE(isTarget(M::kRightShift));
    EXPECT_TRUE(isTarget(M::kLeftShift));
    guide.ClearMarks(3);

    settings.distinct = 0;
    guide.ShowGuide('A');
    guide.ShowErrorGuide('A', 'a', 1);  // not even for a case-only miss
    EXPECT_TRUE(isTarget(key('A')));
    EXPECT_TRUE(isPlain(M::kRightShift));
    EXPECT_TRUE(isPlain(M::kLeftShift));
}

TEST_F(KeyGuideTest, CaseOnlyMissMarksShiftWhateverCapsLockSaysAndGreysBothWhileShiftIsHeld) {
    for (const std::uint16_t caps : {std::uint16_t{0}, kOn, kHeld}) {
        capsLock.state = caps;
        guide.ShowErrorGuide('A', 'a', 1);
        EXPECT_TRUE(isTarget(key('A')) && isMarked(kLeftLittle)) << caps;
        EXPECT_TRUE(isTarget(M::kRightShift) && isPlain(M::kLeftShift)) << caps;
        guide.ClearMarks(3);
    }
    shift_down = 1;
    guide.ShowErrorGuide('a', 'A', 1);
    EXPECT_TRUE(isGreyed(M::kLeftShift) && isGreyed(M::kRightShift));
    guide.ClearMarks(1);
    EXPECT_TRUE(isPlain(M::kLeftShift) && isPlain(M::kRightShift));
    EXPECT_TRUE(isTarget(key('a')));
}

// Mode 1 clears the wrong key's mark (the error timer), mode 2 the guide, any other mode both.
TEST_F(KeyGuideTest, WrongKeyIsGreyedAndEachClearModeRemovesItsMarks) {
    guide.ShowErrorGuide('d', 's', 0);
    EXPECT_TRUE(isGreyed(key('s')));
    EXPECT_EQ(model.keyLook(key('s')).caption, colours::kBlack);
    guide.ClearMarks(1);
    EXPECT_TRUE(isPlain(key('s')));
    EXPECT_TRUE(isTarget(key('d')) && isMarked(kLeftMiddle));

    guide.ShowErrorGuide('d', 's', 0);
    guide.ClearMarks(2);
    EXPECT_TRUE(isGreyed(key('s')));
    EXPECT_TRUE(isPlain(key('d')) && isPlain(kLeftMiddle));

    for (const int mode : {0, 3, 7}) {
        guide.ShowErrorGuide('d', 's', 0);
        guide.ClearMarks(mode);
        EXPECT_TRUE(markedCells().empty()) << mode;
        EXPECT_EQ(markedFingerCount(), 0) << mode;
        EXPECT_TRUE(isPlain(key('s'))) << mode;
    }
}

// Ticks alternate lit and dark; the phase is never reset, so a tutorial left after a lit tick
// starts its next showing with a dark one, and a page change shows at the next lit tick.
TEST_F(KeyGuideTest, BlinkScheduleByPage) {
    struct Case {
        int page;
        std::string_view keys;
        int fingers;
    };
    for (const Case c :
         {Case{1, "asdfjkl;", 0}, Case{2, "asdfjkl;", 0}, Case{3, "fj", 0}, Case{4, "fj", 0},
          Case{7, "fj", 0}, Case{5, "fdsa", 0}, Case{6, "jkl;", 0}, Case{8, "asdfjkl;", 0},
          Case{9, "1qaz", 1}, Case{12, "asdfjkl;", 0}, Case{13, "b", 1}, Case{14, "ab", 1},
          Case{15, "asdfjkl;", 0}, Case{16, "asdfjkl;", 0}, Case{0, "", 0}}) {
        EXPECT_EQ(guide.blink_lit(), 1) << c.page;
        guide.blinkTick(c.page);
        EXPECT_EQ(markedCells(), cellsOf(c.keys)) << c.page;
        EXPECT_EQ(markedFingerCount(), c.fingers) << c.page;
        EXPECT_EQ(guide.blink_lit(), 0) << c.page;
        guide.blinkTick(c.page);
        EXPECT_TRUE(markedCells().empty()) << c.page;
        EXPECT_EQ(markedFingerCount(), 0) << c.page;
    }
    guide.blinkTick(0);
    guide.blinkTick(3);  // dark, whatever the page
    EXPECT_TRUE(markedCells().empty());
    EXPECT_EQ(guide.blink_lit(), 1);
    // Page 14 shows the index finger's reach to B with the home key A greyed.
    guide.blinkTick(14);
    EXPECT_TRUE(isTarget(key('b')) && isGreyed(key('a')) && isMarked(kLeftIndex));
}

}  // namespace
}  // namespace kestrum
