#include "drill/drill_engine.h"

#include "drill/lesson_catalogue.h"
#include "drill/lesson_figures.h"
#include "history/score_file.h"
#include "platform/clock.h"
#include "platform/random_source.h"
#include "records/lesson_result.h"
#include "records/settings.h"

#include <algorithm>
#include <cstddef>

namespace kestrum {

namespace {

constexpr std::string_view kApplicationTitle = "ケストラムLite";
constexpr std::int32_t kRandomWord = -1;
constexpr int kMaxDraws = 100;

// Only single-byte letters change case; the second byte of a double-byte character is left
// alone even where it looks like a letter.
Bytes inDisplayCase(const Bytes& word, std::int32_t letter_type) {
    if (letter_type != 1 && letter_type != 2) return word;
    Bytes result = word;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto byte = static_cast<unsigned char>(result[i]);
        if (isLeadByte(byte)) {
            ++i;
        } else if (letter_type == 1 && byte >= 'a' && byte <= 'z') {
            result[i] = static_cast<char>(byte - 'a' + 'A');
        } else if (letter_type == 2 && byte >= 'A' && byte <= 'Z') {
            result[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return result;
}

// A word an item can show and the user can finish: it exists and has at least one byte.
bool isUsableWord(const lesson& record, std::int32_t w) {
    return w >= 0 && static_cast<std::size_t>(w) < record.words.size() &&
           !record.words[static_cast<std::size_t>(w)].empty();
}

// The comment of word w, or nothing when the record's tables do not reach it.
const Bytes& commentOf(const lesson& record, std::int32_t w) {
    static const Bytes kNone;
    const auto wi = static_cast<std::size_t>(w);
    if (w < 0 || wi >= record.comment_index.size()) return kNone;
    const std::int32_t c = record.comment_index[wi];
    if (c < 0 || static_cast<std::size_t>(c) >= record.comments.size()) return kNone;
    return record.comments[static_cast<std::size_t>(c)];
}

Message unusableLessonMessage(const lesson& record) {
    return {Message::Icon::Stop, "練習できない問題が含まれています。", cp932ToUtf8(record.name)};
}

}  // namespace

DrillEngine::DrillEngine(const Settings& settings, Clock& clock, RandomSource& random,
                         const KeyboardState& keyboardState, SoundPlayer& sound, ScoreFile& scores,
                         DrillHost& host)
    : settings_(settings),
      clock_(clock),
      random_(random),
      sound_(sound),
      scores_(scores),
      host_(host),
      guide_(keyboard_, settings, keyboardState, state_.shift_down),
      lessons_(SetUpLessons()),
      startupMessages_(checkBuiltInLessons(lessons_)) {
    keyboard_.arrange();
}

void DrillEngine::FormShow(int lesson_no, const lesson& problem_set) {
    host_.stopTimer(DrillTimer::timer_special);
    state_.tutorial_mode = 0;
    // The weak-key drill also runs through the problem-set slot, but as a built-in lesson of
    // letter patterns it takes only the spelling shown, as lessons 1 to 4 do.
    spellingsOffered_ = lesson_no == 5 || lesson_no == 6 ||
                        (lesson_no == kProblemSetLessonNo && problem_set.kind == kProblemSetKind);
    if (lesson_no >= 0 && lesson_no < static_cast<int>(lessons_.size())) {
        current_ = &lessons_[static_cast<std::size_t>(lesson_no)];
        if (lesson_no == 0) state_.tutorial_mode = 1;
    } else if (lesson_no == kProblemSetLessonNo) {
        current_ = &problem_set;
    } else {
        host_.endProgram({{Message::Icon::Stop, "レッスン番号が不正です。", "内部エラー"}});
        return;
    }
    PrepareDrill();
}

void DrillEngine::FormActivate() {
    keyboard_.arrange();
    if (state_.started == 1 || state_.accept_key == 0) return;  // an item stays on screen
    for (CharCell& cell : view_.cells)
        cell.visible = false;
    view_.lbl_sample_visible = true;
}

void DrillEngine::PrepareDrill() {
    if (current_ == nullptr) return;
    stopDrillTimers();
    guide_.ClearMarks(3);
    for (CharCell& cell : view_.cells)
        cell.visible = false;
    view_.Label_counter.clear();
    view_.go_menu_tab_stop = true;
    view_.tutorial_layout = state_.tutorial_mode == 1;
    state_.started = 0;
    state_.accept_key = 1;
    if (state_.tutorial_mode == 1) {
        tutorial_.begin(host_);
        showTutorialPage();
        return;
    }
    view_.lbl_sample = kStartPrompt;
    view_.lbl_sample_visible = true;
    view_.message_lines = {std::string(kStartMessage), {}, {}, {}};
    if (Messages problems = whyNotRunnable(); !problems.empty()) {
        state_.accept_key = 0;  // no key may start it while the menu comes back
        leaveToMenu(problems);
    }
}

void DrillEngine::startRun() {
    state_.hit_counts.fill(0);
    state_.miss_counts.fill(0);
    state_.key_count = 0;
    state_.step = -1;
    view_.lbl_sample_visible = false;
    state_.stopwatch_armed = 1;
    view_.go_menu_tab_stop = false;
    NextItem();
}

void DrillEngine::NextItem() {
    const lesson& record = *current_;
    ++state_.step;
    if (state_.step >= record.program_length) {
        FinishLesson();
        return;
    }
    view_.Label_counter = "あと " + std::to_string(record.program_length - state_.step) + "回";
    const std::int32_t w = drawWord();
    if (!isUsableWord(record, w)) {
        // Only a record changed behind the run's back gets here; never start an endless item.
        leaveToMenu({unusableLessonMessage(record)});
        return;
    }
    state_.previous_word = w;
    showItem(w);
    state_.started = 1;
    state_.accept_key = 1;
}

std::int32_t DrillEngine::drawWord() {
    const lesson& record = *current_;
    const auto step = static_cast<std::size_t>(state_.step);
    const std::int32_t entry = step < record.program.size() ? record.program[step] : kRandomWord;
    if (entry != kRandomWord) return entry;

    const bool nextStepFollows = record.program_length - state_.step - 1 > 0;
    const std::int32_t nextEntry = nextStepFollows && step + 1 < record.program.size()
                                       ? record.program[step + 1]
                                       : kRandomWord;
    std::int32_t w = 0;
    int tries = 0;
    do {
        w = record.word_count > 0
                ? static_cast<std::int32_t>(static_cast<std::uint32_t>(random_.next()) %
                                            static_cast<std::uint32_t>(record.word_count))
                : 0;
        ++tries;
    } while (tries < kMaxDraws &&
             (w == state_.previous_word || (nextStepFollows && w == nextEntry)));
    return w;
}

void DrillEngine::showItem(std::int32_t w) {
    const lesson& record = *current_;
    state_.target = inDisplayCase(record.words[static_cast<std::size_t>(w)], settings_.letter_type);
    for (std::size_t i = 0; i < view_.cells.size(); ++i) {
        CharCell& cell = view_.cells[i];
        cell.text = i < state_.target.size() ? Bytes(1, state_.target[i]) : Bytes();
        cell.typed = false;
        cell.visible = true;
    }
    view_.message_lines[0] = cp932ToUtf8(commentOf(record, w));
    state_.position = 1;
    state_.typed.clear();
    rowScroll_ = 0;
    spellingsActive_ =
        settings_.romaji_spellings == 1 && spellingsOffered_ && romaji_.load(state_.target);
    guideNext(static_cast<unsigned char>(state_.target.front()));
}

void DrillEngine::FinishLesson() {
    state_.end_tick = clock_.tickCount();
    // Before the history is written and any message waits for the learner.
    const std::int64_t endedUtcMs = clock_.calendarUtcMs();
    state_.started = 0;
    view_.go_menu_tab_stop = true;
    view_.lbl_sample = kEndPrompt;
    view_.lbl_sample_visible = true;
    view_.message_lines[0].clear();
    view_.Label_counter.clear();

    LessonResult result =
        runFigures(scoreKeyForRun(*current_, 0, 0), state_.hit_counts, state_.miss_counts,
                   state_.key_count, elapsedTicks(state_.start_tick, state_.end_tick), endedUtcMs);
    result.messages = scores_.AppendScore(result.key).messages;
    host_.runEnded(result);
}

void DrillEngine::timerFired(DrillTimer timer) {
    switch (timer) {
        case DrillTimer::timer_error:
            host_.stopTimer(timer);
            guide_.ClearMarks(1);
            break;
        case DrillTimer::timer_target:
            host_.stopTimer(timer);
            guide_.ShowGuide(static_cast<unsigned char>(state_.guide_char));
            break;
        case DrillTimer::timer_special:
            tutorial_.blink(guide_);
            break;
        case DrillTimer::pause:
            if (!pauseEnded(host_, pauseStart_, clock_.tickCount())) break;
            for (CharCell& cell : view_.cells)
                cell.visible = false;
            NextItem();
            break;
    }
}

void DrillEngine::Button_go_menuClick() {
    leaveToMenu({});
}

void DrillEngine::resultChosen(int modalResult) {
    state_.accept_key = 1;
    if (modalResult == kModalRetry) {
        PrepareDrill();
    } else {
        leaveToMenu({});
    }
}

void DrillEngine::leaveToMenu(const Messages& messages) {
    stopDrillTimers();
    state_.started = 0;
    host_.returnToMenu(messages);
}

std::string DrillEngine::windowCaption() const {
    std::string caption(kApplicationTitle);
    if (current_ != nullptr) caption += "   " + cp932ToUtf8(current_->name);
    return caption;
}

void DrillEngine::showTutorialPage() {
    std::copy(tutorial_.lines().begin(), tutorial_.lines().end(), view_.message_lines.begin());
}

void DrillEngine::stopDrillTimers() {
    host_.stopTimer(DrillTimer::timer_error);
    host_.stopTimer(DrillTimer::timer_target);
    host_.stopTimer(DrillTimer::pause);
    host_.stopTimer(DrillTimer::timer_special);
}

Messages DrillEngine::whyNotRunnable() const {
    const lesson& record = *current_;
    bool runnable = record.program_length >= 1 &&
                    record.program.size() >= static_cast<std::size_t>(record.program_length);
    bool randomWordsChecked = false;
    for (std::int32_t k = 0; runnable && k < record.program_length; ++k) {
        const std::int32_t entry = record.program[static_cast<std::size_t>(k)];
        if (entry != kRandomWord) {
            runnable = isUsableWord(record, entry);
        } else if (!randomWordsChecked) {
            randomWordsChecked = true;
            runnable = record.word_count >= 1;
            for (std::int32_t w = 0; runnable && w < record.word_count; ++w)
                runnable = isUsableWord(record, w);
        }
    }
    if (runnable) return {};
    return {unusableLessonMessage(record)};
}

}  // namespace kestrum
