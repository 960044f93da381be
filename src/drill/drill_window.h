#pragma once

#include "drill/drill_engine.h"
#include "drill/drill_host.h"
#include "keyboard/keyboard_layout.h"
#include "platform/window_placement.h"
#include "records/lesson_result.h"
#include "widgets/app_context.h"
#include "widgets/picture_cache.h"
#include "widgets/window_frame.h"

#include <QFont>
#include <QPalette>
#include <QTimer>
#include <QWidget>

#include <array>
#include <string>

class QLabel;
class QPushButton;

namespace kestrum {

class BevelPanel;
class ScoreFile;
class CharCellWidget;
class KeyboardWidget;

// The drill window's fonts, measured for the keyboard layout; a character cell is as wide as
// `cell` (a letter for the romaji lessons, a kana for the kana course).
class DrillFontMeasure final : public TextMeasure {
public:
    DrillFontMeasure(const KeyboardModel& model, QChar cell) : model_(model), cell_(cell) {}

    int messageLineHeight(int points) const override;
    int sampleHeight(int points) const override;
    TextSize charCellSize(int points) const override;
    TextSize fingerLabelSize(Finger finger, int points) const override;

private:
    const KeyboardModel& model_;
    QChar cell_;
};

// The drill window (Form1): the item row, the message panel, the on-screen keyboard, the step
// counter and the way back to the menu. A thin view of DrillEngine: key, timer and button events
// go to the engine, and the window then shows the engine's view and keyboard model.
class DrillWindow : public QWidget, private DrillHost {
    Q_OBJECT

public:
    // Creates the controls once. When a built-in lesson fails its check, its messages are shown
    // through context.messages and programMustEnd() follows from the event loop.
    DrillWindow(AppContext& context, ScoreFile& scores, QWidget* parent = nullptr);
    ~DrillWindow() override;

    // Sets lesson_no and shows the window: the show handler (the lesson selected and prepared,
    // the caption set), then the activation handler (the layout).
    void StartLesson(int lessonNo);

    // The result window chose to practise again (modal result 1): the same lesson waits for its
    // start key, the window re-activated and re-laid out.
    void retry();

    // The result window chose the menu (modal result 2, or its close box). Hiding the window
    // while a result is awaited counts as this too.
    void returnedToMenu();

    // The drill windows' colours and the places the keyboard layout leaves to them.
    static inline const QColor kWindowColour{245, 245, 220};
    static inline const QColor kPanelColour{239, 239, 239};
    static constexpr int kMessageLeft = 24;
    static constexpr int kSampleLeft = 8;
    static constexpr int kPanelMessageBevel = 3;
    static constexpr int kOutputBevel = 5;

    // The faces of the message lines and of the item row at `points`.
    static QFont messageFont(int points);
    static QFont outputFont(int points);

    int lesson_no() const { return lesson_no_; }
    const DrillEngine& engine() const { return engine_; }
    const KeyboardLayout& currentLayout() const { return layout_; }

signals:
    // The window hid itself for the menu: "メニューに戻る" or the result window's way back.
    void menuRequested();
    // A run has ended and its attempt is recorded; show the result window modally, then call
    // retry() or returnedToMenu(). Any messages of the recording have already been shown.
    void lessonFinished(kestrum::LessonResult result);
    // The close box: the program ends as when the menu is closed.
    void closeRequested();
    // A built-in lesson failed its check or an unknown lesson was asked for: the program ends at
    // once, after the messages, as if it had never started (nothing is saved).
    void programMustEnd();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // DrillHost
    void startTimer(DrillTimer timer, int intervalMs) override;
    void stopTimer(DrillTimer timer) override;
    void runEnded(const LessonResult& result) override;
    void returnToMenu(const Messages& messages) override;
    void endProgram(const Messages& messages) override;

    void FormCreate();
    void createTextPanels();
    void FormShow();
    void FormActivate();
    void ArrangeKeyboard();
    void fitOuterSize();
    bool goMenuKey(const QKeyEvent& event);
    void handleKey(const QKeyEvent& event);
    // Brings every control up to date with the engine; touches only what changed.
    void render();
    QTimer& timerOf(DrillTimer timer);

    AppContext& context_;
    ScoreFile& scores_;
    DrillEngine engine_;
    int lesson_no_ = 0;
    bool awaitingResult_ = false;
    bool ending_ = false;
    WindowPlacement placement_;
    WindowFrame frame_;
    KeyboardLayout layout_;
    std::array<QTimer, 4> timers_;

    BevelPanel* Panel_message = nullptr;
    std::array<QLabel*, 4> lbl_messages{};  // lbl_message, lbl_message2..4
    BevelPanel* pnl_output = nullptr;
    QLabel* lbl_sample = nullptr;
    std::array<CharCellWidget*, kCellCount> char_cells{};
    PictureCache cellPictures_;  // the cells' pictures at the current size
    // A cell's palette untyped and typed, made once: a key press only swaps them.
    std::array<QPalette, 2> cellPalettes_;
    KeyboardWidget* pnl_key = nullptr;
    QLabel* Label_counter = nullptr;
    QPushButton* Button_go_menu = nullptr;
    QPushButton* Button_dummy = nullptr;

    // What the controls show now, compared with the engine's view after each event.
    DrillView shown_;
};

}  // namespace kestrum
