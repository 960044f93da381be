#pragma once

#include "drill/drill_host.h"
#include "drill/lesson_figures.h"
#include "kana/kana_layout.h"
#include "kana/kana_lessons.h"
#include "records/settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrum {

class Clock;
class KeyPositions;
class RandomSource;
class ScoreFile;
class SoundPlayer;

// One kana of the item row; it turns typed once every key it takes has been struck.
struct KanaCell {
    std::string kana;  // UTF-8
    bool typed = false;

    bool operator==(const KanaCell&) const = default;
};

// What the kana drill window shows apart from the keyboard (UTF-8 throughout).
struct KanaDrillView {
    std::vector<KanaCell> cells;  // empty while no item is on screen
    std::string sample;           // the start prompt or the end, where the row stands
    bool sampleVisible = true;
    std::string message;  // the item's comment, or what to do before the run
    std::string counter;  // "あと n回"

    bool operator==(const KanaDrillView&) const = default;
};

// What the keyboard lights: the key to strike and its finger, the Shift key to hold with it, and
// a key struck by mistake (greyed for a moment).
struct KanaGuideMarks {
    std::optional<KeyPosition> target;
    std::optional<KeyPosition> shift;
    std::optional<Finger> finger;
    std::optional<KeyPosition> missed;

    bool operator==(const KanaGuideMarks&) const = default;
};

// A kana lesson without a window, judged by where each key sits. The first key after prepare()
// starts the run unjudged; every later key is right when it is the next stroke of the item with
// Shift held as that stroke needs. Speed and accuracy count strokes, as the romaji lessons count
// keys, and the attempt goes to score.dat under the lesson's own key. Timers, the result and the
// way back go through the DrillHost as for the other lessons. Collaborators must outlive it.
class KanaDrill {
public:
    KanaDrill(const Settings& settings, Clock& clock, RandomSource& random, SoundPlayer& sound,
              ScoreFile& scores, DrillHost& host);

    // Selects `lesson` (which must outlive its use) and waits for the start key; the first
    // message names the keys the lesson needs that the keyboard lacks.
    void start(const KanaLesson& lesson, const KeyPositions& keyboard);
    // Back to the waiting state of the current lesson, timers stopped.
    void prepare();

    // A character key at `position`, with or without Shift. Dropped between items and after the
    // last one until resultChosen.
    void keyDown(KeyPosition position, bool shift);
    void timerFired(DrillTimer timer);
    // "メニューに戻る": the run is abandoned, nothing recorded.
    void goMenu();
    // kModalRetry waits for the same lesson again; anything else returns to the menu.
    void resultChosen(int modalResult);

    const KanaDrillView& view() const { return view_; }
    const KanaGuideMarks& marks() const { return marks_; }
    const KanaLesson* lesson() const { return lesson_; }
    bool running() const { return running_; }

private:
    void nextItem();
    std::int32_t drawItem() const;
    void showItem(std::int32_t item);
    void judge(KeyPosition position, bool shift);
    void guideNext();
    void showGuide();
    void refreshCells();
    void finish();
    void stopTimers();
    void count(KeyPosition position, CharCounts& counts);

    const Settings& settings_;
    Clock& clock_;
    RandomSource& random_;
    SoundPlayer& sound_;
    ScoreFile& scores_;
    DrillHost& host_;
    const KanaLesson* lesson_ = nullptr;
    std::string waitingMessage_;

    KanaDrillView view_;
    KanaGuideMarks marks_;
    bool running_ = false;
    bool acceptKeys_ = false;
    bool clockStarted_ = false;
    std::int32_t step_ = -1;
    std::int32_t previousItem_ = -1;
    std::vector<KanaStroke> strokes_;    // of the item on screen
    std::vector<std::size_t> kanaEnds_;  // strokes typed when each kana is done
    std::size_t position_ = 0;           // the next stroke
    CharCounts hits_{};
    CharCounts misses_{};
    std::int32_t keyCount_ = 0;
    std::uint32_t startTick_ = 0;
    std::uint32_t pauseStart_ = 0;
};

}  // namespace kestrum
