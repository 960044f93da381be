#include "keyboard/key_guide.h"

#include "support/fake_services.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrum {
namespace {

using M = KeyboardModel;

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

// Marks by the character, Caps Lock, Shift and the settings: data/key_guide_marks.tsv.
TEST_F(KeyGuideTest, MarksFollowTheCharacterCapsLockShiftAndSettings) {
    using S = KeyboardState;
    const std::map<std::string, std::uint16_t> caps = {
        {"off", 0}, {"on", S::kToggled}, {"held", S::kHeld}, {"on+held", S::kToggled | S::kHeld}};
    const auto rows = testing::tableRows("key_guide_marks.tsv");
    ASSERT_EQ(rows.size(), 24u);
    for (const std::vector<std::string>& c : rows) {
        SCOPED_TRACE(c[0] + " " + c[4] + " " + c[5] + " clear " + c[7]);
        capsLock.state = caps.at(c[0]);
        settings.distinct = std::stoi(c[1]);
        settings.distinct_shift = std::stoi(c[2]);
        shift_down = std::stoi(c[3]);
        const auto expected = static_cast<unsigned char>(c[4][0]);
        if (c[5] == "-") {
            guide.ShowGuide(expected);
        } else {
            guide.ShowErrorGuide(expected, static_cast<unsigned char>(c[5][0]), std::stoi(c[6]));
        }
        if (c[7] != "-1") guide.ClearMarks(std::stoi(c[7]));
        EXPECT_EQ(marks(), c[8]);
        guide.ClearMarks(3);
        EXPECT_EQ(marks(), "");
    }
}

// Ticks alternate lit (data/key_guide_blink.tsv) and dark; the phase is never reset, so a
// tutorial left after a lit tick starts its next showing with a dark one.
TEST_F(KeyGuideTest, BlinkScheduleByPage) {
    const auto pages = testing::tableRows("key_guide_blink.tsv");
    ASSERT_EQ(pages.size(), 16u);
    for (const std::vector<std::string>& page : pages) {
        EXPECT_EQ(guide.blink_lit(), 1) << page[0];
        guide.blinkTick(std::stoi(page[0]));
        EXPECT_EQ(marks(), page[1]) << page[0];
        guide.blinkTick(std::stoi(page[0]));
        EXPECT_EQ(marks(), "") << page[0];
    }
    guide.blinkTick(0);
    guide.blinkTick(3);  // dark, whatever the page
    EXPECT_EQ(marks(), "");
    EXPECT_EQ(guide.blink_lit(), 1);
}

}  // namespace
}  // namespace kestrum
