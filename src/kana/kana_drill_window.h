#pragma once

#include "drill/drill_host.h"
#include "kana/kana_drill.h"
#include "keyboard/keyboard_layout.h"
#include "platform/window_placement.h"
#include "records/lesson_result.h"
#include "widgets/app_context.h"
#include "widgets/window_frame.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QPushButton;

namespace kestrum {

class BevelPanel;
class KanaKeyboardWidget;
class KeyPositions;
class ScoreFile;

// The drill window of the kana course: the message panel, the row of kana, the kana keyboard,
// the step counter and the way back. A thin view of KanaDrill; a key is handed on by where it
// sits (its scan code), so the desktop's key map and input method do not matter.
class KanaDrillWindow : public QWidget, private DrillHost {
    Q_OBJECT

public:
    // `keyboard` must outlive the window.
    KanaDrillWindow(AppContext& context, ScoreFile& scores, const KeyPositions& keyboard,
                    QWidget* parent = nullptr);
    ~KanaDrillWindow() override;

    // Lays the window out at the current keyboard size, shows it and waits for the start key of
    // `lesson`, which must outlive its use.
    void startLesson(const KanaLesson& lesson);
    // The result window's answer: practise the same lesson again, or go back.
    void retry();
    void returnedToMenu();

    const KanaDrill& drill() const { return drill_; }
    KanaKeyboardWidget& keyboardWidget() { return *pnl_key; }

signals:
    // The window hid itself: "メニューに戻る" or the result window's way back.
    void menuRequested();
    // The attempt is recorded (its messages shown); show the result, then call retry() or
    // returnedToMenu().
    void lessonFinished(kestrum::LessonResult result);
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startTimer(DrillTimer timer, int intervalMs) override;
    void stopTimer(DrillTimer timer) override;
    void runEnded(const LessonResult& result) override;
    void returnToMenu(const Messages& messages) override;
    void endProgram(const Messages& messages) override;

    void createControls();
    void arrange();
    void render();

    AppContext& context_;
    const KeyPositions& keyboard_;
    KanaDrill drill_;
    KeyboardLayout layout_;
    WindowPlacement placement_;
    WindowFrame frame_;
    std::array<QTimer, 4> timers_;

    BevelPanel* Panel_message = nullptr;
    QLabel* lbl_message = nullptr;
    BevelPanel* pnl_output = nullptr;
    QLabel* lbl_sample = nullptr;
    QLabel* lbl_kana = nullptr;
    KanaKeyboardWidget* pnl_key = nullptr;
    QLabel* Label_counter = nullptr;
    QPushButton* Button_go_menu = nullptr;
    std::optional<KanaDrillView> shown_;  // what the controls show; nothing forces a full redraw
};

}  // namespace kestrum
