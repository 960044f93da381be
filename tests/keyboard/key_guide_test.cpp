#include "keyboard/key_guide.h"

#include "support/fake_services.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <utility>

namespace kestrum {
namespace {

using M = KeyboardModel;

constexpr std::uint16_t kCapsOff = 0;
constexpr std::uint16_t kCapsOn = KeyboardState::kToggled;
constexpr std::uint16_t kCapsHeld = KeyboardState::kHeld;
constexpr std::uint16_t kCapsOnAndHeld = KeyboardState::kHeld | KeyboardState::kToggled;

constexpr Finger kLeftIndex{M::kLeftHand, M::kIndex};
constexpr Finger kLeftMiddle{M::kLeftHand, M::kMiddle};
constexpr Finger kLeftLittle{M::kLeftHand, M::kLittle};
constexpr Finger kRightLittle{M::kRightHand, M::kLittle};

class KeyGuideTest : public ::testing::Test {
protected:
    KeyGuideTest() { model.arrange(); }

    KeyCell key(char c) const { return model.keyOf(static_cast<unsigned char>(c)); }
    static unsigned char byte(char c) { return static_cast<unsigned char>(c); }

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
    // Which visible cells and labels carry any mark.
    std::set<std::pair<int, int>> markedCells() const {
        std::set<std::pair<int, int>> cells;
        for (int row = 0; row < M::kRows; ++row) {
            for (int col = 0; col < M::kCols; ++col) {
                if (!model.isHidden({row, col}) && model.key_state({row, col}) != 0) {
                    cells.insert({row, col});
                }
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
// is off, lower case while it is on, and neither while Caps Lock is held down.
TEST_F(KeyGuideTest, CapsLockStateDecidesWhichCaseNeedsTheOtherHandsShift) {
    struct Case {
        char ch;
        std::uint16_t caps;
        KeyCell shift;  // kSpace: no Shift
    };
    for (const Case c : {Case{'A', kCapsOff, M::kRightShift}, Case{'P', kCapsOff, M::kLeftShift},
                         Case{'A', kCapsOn, M::kSpace}, Case{'a', kCapsOn, M::kRightShift},
                         Case{'a', kCapsOff, M::kSpace}, Case{'A', kCapsHeld, M::kSpace},
                         Case{'a', kCapsOnAndHeld, M::kSpace}, Case{'A', kCapsOnAndHeld, M::kSpace},
                         Case{'1', kCapsOff, M::kSpace}, Case{';', kCapsOn, M::kSpace}}) {
        SCOPED_TRACE(std::string(1, c.ch) + " caps " + std::to_string(c.caps));
        capsLock.state = c.caps;
        guide.ShowGuide(byte(c.ch));
        EXPECT_TRUE(isTarget(key(c.ch)));
        EXPECT_EQ(isTarget(M::kRightShift), c.shift == M::kRightShift);
        EXPECT_EQ(isTarget(M::kLeftShift), c.shift == M::kLeftShift);
        if (c.ch == 'A') {
            EXPECT_TRUE(isMarked(kLeftLittle));
            EXPECT_TRUE(isPlain(kRightLittle));  // the Shift key's own finger is not marked
        }
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
    EXPECT_TRUE(isTarget(key('A')));
    EXPECT_TRUE(isPlain(M::kRightShift));
    EXPECT_TRUE(isPlain(M::kLeftShift));
    // No Shift either for a case-only miss when case is not told apart.
    guide.ShowErrorGuide('A', 'a', 1);
    EXPECT_TRUE(isPlain(M::kRightShift));
}

TEST_F(KeyGuideTest, CaseOnlyMissMarksShiftWhateverCapsLockSaysAndGreysBothWhileShiftIsHeld) {
    for (const std::uint16_t caps : {kCapsOff, kCapsOn, kCapsHeld}) {
        capsLock.state = caps;
        guide.ShowErrorGuide('A', 'a', 1);
        EXPECT_TRUE(isTarget(key('A'))) << caps;
        EXPECT_TRUE(isMarked(kLeftLittle)) << caps;
        EXPECT_TRUE(isTarget(M::kRightShift)) << caps;
        EXPECT_TRUE(isPlain(M::kLeftShift)) << caps;
        guide.ClearMarks(3);
    }
    shift_down = 1;
    guide.ShowErrorGuide('a', 'A', 1);
    EXPECT_TRUE(isTarget(key('a')));
    EXPECT_TRUE(isGreyed(M::kLeftShift));
    EXPECT_TRUE(isGreyed(M::kRightShift));
    guide.ClearMarks(1);
    EXPECT_TRUE(isPlain(M::kLeftShift));
    EXPECT_TRUE(isPlain(M::kRightShift));
    EXPECT_TRUE(isTarget(key('a')));
}

// Mode 1 clears the wrong key's mark (the error timer), mode 2 the guide, any other mode both.
TEST_F(KeyGuideTest, WrongKeyIsGreyedAndEachClearModeRemovesItsMarks) {
    guide.ShowErrorGuide('d', 's', 0);
    EXPECT_TRUE(isGreyed(key('s')));
    EXPECT_EQ(model.keyLook(key('s')).caption, colours::kBlack);
    EXPECT_TRUE(isTarget(key('d')));
    EXPECT_TRUE(isMarked(kLeftMiddle));
    guide.ClearMarks(1);
    EXPECT_TRUE(isPlain(key('s')));
    EXPECT_TRUE(isTarget(key('d')));
    EXPECT_TRUE(isMarked(kLeftMiddle));

    guide.ShowErrorGuide('d', 's', 0);
    guide.ClearMarks(2);
    EXPECT_TRUE(isGreyed(key('s')));
    EXPECT_TRUE(isPlain(key('d')));
    EXPECT_TRUE(isPlain(kLeftMiddle));

    for (const int mode : {0, 3, 7}) {
        guide.ShowErrorGuide('d', 's', 0);
        guide.ClearMarks(mode);
        EXPECT_TRUE(markedCells().empty()) << mode;
        EXPECT_EQ(markedFingerCount(), 0) << mode;
        EXPECT_TRUE(isPlain(key('s'))) << mode;
    }
}

TEST_F(KeyGuideTest, CharacterWithoutAKeyLightsOnlyTheLeftIndexLabel) {
    for (const char c : {'!', '@'}) {
        guide.ShowGuide(byte(c));
        EXPECT_TRUE(markedCells().empty()) << c;
        EXPECT_TRUE(isMarked(kLeftIndex)) << c;
        EXPECT_EQ(markedFingerCount(), 1) << c;
        guide.ClearMarks(3);
        EXPECT_TRUE(isPlain(kLeftIndex)) << c;
    }
}

TEST_F(KeyGuideTest, MarksSurviveALayoutUntilTheNextClear) {
    guide.ShowErrorGuide('d', 's', 0);
    model.arrange();
    EXPECT_EQ(model.keyLook(key('d')), (Look{colours::kLightYellow, colours::kRed}));
    EXPECT_EQ(model.key_state(key('d')), 2);
    EXPECT_EQ(model.key_state(key('s')), 1);
    EXPECT_TRUE(isPlain(kLeftMiddle));

    guide.ClearMarks(3);
    EXPECT_TRUE(isPlain(key('d')));
    EXPECT_TRUE(isPlain(key('s')));
    EXPECT_TRUE(isPlain(kLeftMiddle));
}

TEST_F(KeyGuideTest, BlinkAlternatesLitAndDarkTicks) {
    EXPECT_EQ(guide.blink_lit(), 1);
    guide.blinkTick(1);
    EXPECT_EQ(markedCells(), cellsOf("asdfjkl;"));
    EXPECT_EQ(markedFingerCount(), 0);
    EXPECT_EQ(guide.blink_lit(), 0);

    guide.blinkTick(1);
    EXPECT_TRUE(markedCells().empty());
    EXPECT_EQ(guide.blink_lit(), 1);

    // A page change shows at the next lit tick; the phase is never reset, so a tutorial left
    // after a lit tick starts its next showing with a dark one.
    guide.blinkTick(0);
    EXPECT_TRUE(markedCells().empty());
    EXPECT_EQ(guide.blink_lit(), 0);
    guide.blinkTick(3);
    EXPECT_TRUE(markedCells().empty());
    EXPECT_EQ(guide.blink_lit(), 1);
}

TEST_F(KeyGuideTest, BlinkScheduleByPage) {
    struct Case {
        int page;
        std::string_view keys;
        int fingers;
    };
    for (const Case c :
         {Case{2, "asdfjkl;", 0}, Case{3, "fj", 0}, Case{7, "fj", 0}, Case{5, "fdsa", 0},
          Case{6, "jkl;", 0}, Case{8, "asdfjkl;", 0}, Case{9, "1qaz", 1}, Case{12, "asdfjkl;", 0},
          Case{13, "b", 1}, Case{14, "ab", 1}, Case{15, "asdfjkl;", 0}, Case{16, "asdfjkl;", 0}}) {
        guide.blinkTick(c.page);
        EXPECT_EQ(markedCells(), cellsOf(c.keys)) << c.page;
        EXPECT_EQ(markedFingerCount(), c.fingers) << c.page;
        guide.blinkTick(c.page);
        EXPECT_TRUE(markedCells().empty()) << c.page;
        EXPECT_EQ(markedFingerCount(), 0) << c.page;
    }
    // Page 14 shows the index finger's reach to B with the home key A greyed.
    guide.blinkTick(14);
    EXPECT_TRUE(isTarget(key('b')));
    EXPECT_TRUE(isGreyed(key('a')));
    EXPECT_TRUE(isMarked(kLeftIndex));
}

}  // namespace
}  // namespace kestrum
