#pragma once

#include "drill/drill_host.h"
#include "drill/lesson.h"
#include "drill/tutorial.h"
#include "keyboard/key_guide.h"
#include "keyboard/keyboard_model.h"
#include "platform/message.h"
#include "platform/text.h"
#include "romaji/romaji_typing.h"

#include <array>
#include <cstdint>
#include <string>

namespace kestrum {

class Clock;
class KeyboardState;
class RandomSource;
class ScoreFile;
class SoundPlayer;
struct Settings;

constexpr int kCellCount = 25;
constexpr int kVirtualKeyCapsLock = 20;
constexpr int kModalRetry = 1;
constexpr int kModalMenu = 2;

// One of the 25 fixed character cells of the item row.
struct CharCell {
    Bytes text;          // one byte of the item, "_" for a typed blank, empty past the word
    bool typed = false;  // drawn red (typed_colour) rather than black (untyped_colour)
    bool visible = false;
};

// The run and judgement state, under the names the typing rules use.
struct DrillState {
    std::int32_t started = 0;     // 1 while a run waits for a key
    std::int32_t accept_key = 0;  // 0 while a key is handled, during the pause, before a result
    std::int32_t step = -1;
    std::int32_t previous_word = 0;  // kept across runs
    // The item after the display-case conversion; while a romaji item is typed in another
    // spelling, the spelling the learner is on.
    Bytes target;
    Bytes typed;                // keys accepted so far, as typed
    std::int32_t position = 1;  // 1-based index in target of the next key
    std::int32_t key_count = 0;
    std::array<std::int32_t, 256> hit_counts{};   // indexed by the expected byte
    std::array<std::int32_t, 256> miss_counts{};  // indexed by the expected byte
    std::int32_t stopwatch_armed = 0;
    std::uint32_t start_tick = 0;
    std::uint32_t end_tick = 0;
    std::int32_t guide_char = 0;
    std::int32_t shift_down = 0;  // 1 while a Shift key is held; the key guide reads it
    std::int32_t tutorial_mode = 0;
};

// Everything the drill window draws apart from the keyboard. Texts are UTF-8, ready to show;
// cell texts are the item's code page 932 bytes.
struct DrillView {
    std::array<CharCell, kCellCount> cells{};
    std::string lbl_sample;
    bool lbl_sample_visible = true;
    // lbl_message, then lbl_message2..4 (the last three only in the tutorial layout).
    std::array<std::string, 4> message_lines{};
    std::string Label_counter;
    bool go_menu_tab_stop = true;  // Button_go_menu; false during a run, so keys cannot reach it
    bool tutorial_layout = false;  // message panel enlarged over the hidden item row
};

// A whole lesson without a window: selection, item generation, judgement of each key, timing,
// figures and recording, and the home-position tutorial. The window forwards its events, repaints
// from view(), state() and keyboard() after each call, and carries out the DrillHost requests.
// The window keeps the keyboard focus on its action-less Button_dummy at all times.
//
// The engine owns the keyboard model and the key guide that marks it; FormActivate re-arranges
// the model's finger colours. All collaborators must outlive the engine; settings are read live
// at every event.
class DrillEngine {
public:
    DrillEngine(const Settings& settings, Clock& clock, RandomSource& random,
                const KeyboardState& keyboardState, SoundPlayer& sound, ScoreFile& scores,
                DrillHost& host);
    DrillEngine(const DrillEngine&) = delete;
    DrillEngine& operator=(const DrillEngine&) = delete;

    // Non-empty when a built-in lesson failed its check at creation: the window shows these
    // and ends the program before any lesson starts.
    const Messages& startupMessages() const { return startupMessages_; }

    // The window is shown for lesson_no: 0 the tutorial, 1..6 the built-in lessons, 42 the
    // problem set (which must outlive its use). Stops the tutorial blinking, selects the lesson
    // and prepares it. Any other number asks the host to end the program with
    // "レッスン番号が不正です。"; a lesson with an item that could never be completed is not
    // started and the host is asked to return to the menu with a message.
    void FormShow(int lesson_no, const lesson& problem_set);

    // The window became active: outside a run the start prompt shows and the cells hide.
    void FormActivate();

    // Back to the waiting state of the current lesson (or the tutorial's introduction): start
    // prompt, cleared marks, keys accepted, nothing started; pending drill timers stopped.
    void PrepareDrill();

    // One character key. Dropped while accept_key is 0. The first key after PrepareDrill starts
    // the run unjudged; each later key is judged against the next byte of the item.
    void FormKeyPress(unsigned char key);
    // Every key-down: tracks shift_down; Caps Lock during a run re-draws the guide.
    void FormKeyDown(int virtualKey, bool shift);
    void FormKeyUp(int virtualKey, bool shift);

    void timerFired(DrillTimer timer);

    // "メニューに戻る": abandons any run (nothing recorded), stops the timers, asks for the menu.
    void Button_go_menuClick();

    // The result window's modal result: kModalRetry prepares the same lesson again; anything
    // else (kModalMenu, the close box) returns to the menu.
    void resultChosen(int modalResult);

    const DrillState& state() const { return state_; }
    const DrillView& view() const { return view_; }
    const KeyboardModel& keyboard() const { return keyboard_; }
    const Tutorial& tutorial() const { return tutorial_; }
    // The current lesson, or nullptr before the first successful FormShow.
    const lesson* currentLesson() const { return current_; }
    // The application title, three blanks and the lesson's name (UTF-8).
    std::string windowCaption() const;

private:
    void startRun();
    void NextItem();
    void FinishLesson();
    std::int32_t drawWord();
    void showItem(std::int32_t word);
    void judge(unsigned char key);
    void judgeSpelling(unsigned char key);
    void onMiss(unsigned char expected, unsigned char key, int case_only);
    void onHit(unsigned char expected, unsigned char key);
    void guideNext(unsigned char character);
    int expectedChar() const;  // the byte at position, -1 past the end of the item
    void showTutorialPage();
    void stopDrillTimers();
    void leaveToMenu(const Messages& messages);
    Messages whyNotRunnable() const;

    const Settings& settings_;
    Clock& clock_;
    RandomSource& random_;
    SoundPlayer& sound_;
    ScoreFile& scores_;
    DrillHost& host_;
    DrillState state_;
    DrillView view_;
    KeyboardModel keyboard_;
    KeyGuide guide_;  // reads state_.shift_down
    std::array<lesson, 7> lessons_;
    Messages startupMessages_;
    const lesson* current_ = nullptr;
    Tutorial tutorial_;
    std::uint32_t pauseStart_ = 0;
    bool spellingsOffered_ = false;  // lessons 5 and 6 and the problem set
    bool spellingsActive_ = false;   // the item on screen is judged by romaji_
    RomajiTyping romaji_;
    std::size_t rowScroll_ = 0;  // cells a spelling longer than the row is scrolled left by
};

}  // namespace kestrum
