#include "kana/kana_drill.h"

#include "drill/drill_engine.h"
#include "drill/lesson_figures.h"
#include "history/score_file.h"
#include "kana/kana_text.h"
#include "platform/clock.h"
#include "platform/random_source.h"
#include "platform/sound.h"
#include "records/lesson_result.h"

namespace kestrum {

namespace {

constexpr int kMaxDraws = 100;

bool isShiftKey(KeyPosition position) {
    return position == kLeftShiftPosition || position == kRightShiftPosition;
}

}  // namespace

KanaDrill::KanaDrill(const Settings& settings, Clock& clock, RandomSource& random,
                     SoundPlayer& sound, ScoreFile& scores, DrillHost& host)
    : settings_(settings),
      clock_(clock),
      random_(random),
      sound_(sound),
      scores_(scores),
      host_(host) {}

void KanaDrill::start(const KanaLesson& lesson, const KeyPositions& keyboard) {
    lesson_ = &lesson;
    // The start prompt stands in the row; the message line warns of keys the keyboard lacks.
    const std::string missing = missingKeysLine(lesson, keyboard);
    waitingMessage_ = missing.empty() ? std::string(kStartMessage) : missing;
    prepare();
}

void KanaDrill::prepare() {
    stopTimers();
    marks_ = {};
    view_ = {{}, std::string(kStartPrompt), true, waitingMessage_, {}};
    running_ = false;
    acceptKeys_ = lesson_ != nullptr;
}

void KanaDrill::keyDown(KeyPosition position, bool shift) {
    if (!acceptKeys_ || isShiftKey(position)) return;
    if (running_) {
        judge(position, shift);
        return;
    }
    // The start key is not judged.
    running_ = true;
    hits_.fill(0);
    misses_.fill(0);
    keyCount_ = 0;
    step_ = -1;
    clockStarted_ = false;
    view_.sampleVisible = false;
    nextItem();
}

void KanaDrill::nextItem() {
    ++step_;
    if (step_ >= static_cast<std::int32_t>(lesson_->program.size())) {
        finish();
        return;
    }
    view_.counter =
        "あと " + std::to_string(static_cast<std::int32_t>(lesson_->program.size()) - step_) + "回";
    const std::int32_t item = drawItem();
    previousItem_ = item;
    showItem(item);
    acceptKeys_ = true;
}

std::int32_t KanaDrill::drawItem() const {
    const std::int32_t entry = lesson_->program[static_cast<std::size_t>(step_)];
    if (entry != kKanaRandomItem) return entry;
    const auto count = static_cast<std::uint32_t>(lesson_->items.size());
    std::int32_t item = 0;
    for (int tries = 0; tries < kMaxDraws; ++tries) {
        item = static_cast<std::int32_t>(random_.next() % count);
        if (item != previousItem_) break;
    }
    return item;
}

void KanaDrill::showItem(std::int32_t item) {
    const KanaItem& shown = lesson_->items[static_cast<std::size_t>(item)];
    strokes_.clear();
    kanaEnds_.clear();
    view_.cells.clear();
    for (const char32_t kana : shown.text) {
        if (const auto strokes = strokesOf(kana))
            strokes_.insert(strokes_.end(), strokes->begin(), strokes->end());
        kanaEnds_.push_back(strokes_.size());
        view_.cells.push_back({toUtf8(std::u32string(1, kana)), false});
    }
    view_.message = shown.comment;
    position_ = 0;
    marks_ = {};
    guideNext();
}

void KanaDrill::judge(KeyPosition position, bool shift) {
    if (!clockStarted_) {
        clockStarted_ = true;
        startTick_ = clock_.tickCount();
    }
    host_.stopTimer(DrillTimer::timer_target);
    host_.stopTimer(DrillTimer::timer_error);
    marks_ = {};
    const KanaStroke expected = strokes_[position_];
    ++keyCount_;
    if (position != expected.position || shift != expected.shift) {
        count(expected.position, misses_);
        if (settings_.sound != 2) sound_.play("ERROR");
        // A right key in the wrong shift greys nothing: the guide then shows its Shift.
        if (position != expected.position) marks_.missed = position;
        host_.startTimer(DrillTimer::timer_error, kErrorIntervalMs);
        if (settings_.guide != 3) showGuide();
        return;
    }
    count(expected.position, hits_);
    if (settings_.sound == 0) sound_.play("PUSH");
    ++position_;
    refreshCells();
    if (position_ < strokes_.size()) {
        guideNext();
        return;
    }
    // The item is done: keys wait until the pause has let the last kana show typed.
    acceptKeys_ = false;
    pauseStart_ = clock_.tickCount();
    host_.startTimer(DrillTimer::pause, kPauseMs);
}

void KanaDrill::refreshCells() {
    for (std::size_t i = 0; i < view_.cells.size(); ++i)
        view_.cells[i].typed = kanaEnds_[i] <= position_;
}

void KanaDrill::guideNext() {
    if (settings_.guide == 0) {
        showGuide();
    } else if (settings_.guide == 1) {
        host_.startTimer(DrillTimer::timer_target, kTargetIntervalMs);
    }
}

void KanaDrill::showGuide() {
    if (position_ >= strokes_.size()) return;
    const KanaStroke& next = strokes_[position_];
    const Finger finger = fingerOf(next.position);
    marks_.target = next.position;
    marks_.finger = finger;
    marks_.shift.reset();
    // Shift is held by the other hand's little finger.
    if (next.shift) {
        marks_.shift =
            finger.hand == KeyboardModel::kLeftHand ? kRightShiftPosition : kLeftShiftPosition;
    }
}

void KanaDrill::timerFired(DrillTimer timer) {
    switch (timer) {
        case DrillTimer::timer_error:
            host_.stopTimer(timer);
            marks_.missed.reset();
            break;
        case DrillTimer::timer_target:
            host_.stopTimer(timer);
            showGuide();
            break;
        case DrillTimer::pause:
            if (pauseEnded(host_, pauseStart_, clock_.tickCount())) nextItem();
            break;
        case DrillTimer::timer_special:
            host_.stopTimer(timer);
            break;
    }
}

void KanaDrill::finish() {
    const std::uint32_t endTick = clock_.tickCount();
    running_ = false;
    acceptKeys_ = false;
    marks_ = {};
    view_ = {{}, std::string(kEndPrompt), true, {}, {}};

    // Dated before anything can wait on the learner.
    const std::int64_t endedUtcMs = clock_.calendarUtcMs();
    LessonResult result = runFigures(kanaScoreKey(*lesson_), hits_, misses_, keyCount_,
                                     elapsedTicks(startTick_, endTick), endedUtcMs);
    result.messages = scores_.AppendScore(result.key).messages;
    host_.runEnded(result);
}

void KanaDrill::goMenu() {
    stopTimers();
    running_ = false;
    acceptKeys_ = false;
    host_.returnToMenu({});
}

void KanaDrill::resultChosen(int modalResult) {
    if (modalResult == kModalRetry) {
        prepare();
    } else {
        goMenu();
    }
}

void KanaDrill::stopTimers() {
    for (const DrillTimer timer : {DrillTimer::timer_error, DrillTimer::timer_target,
                                   DrillTimer::pause, DrillTimer::timer_special})
        host_.stopTimer(timer);
}

void KanaDrill::count(KeyPosition position, CharCounts& counts) {
    ++counts[kanaKeyAt(position)->byte];
}

}  // namespace kestrum
