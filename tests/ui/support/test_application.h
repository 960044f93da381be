#pragma once

#include "app/application.h"
#include "platform/key_positions.h"
#include "support/fake_services.h"
#include "ui/support/recording_message_presenter.h"

#include <QTemporaryDir>

#include <functional>

class QWidget;

namespace kestrum::testing {

// What a typed run should come to, counted by the test itself.
struct RunFigures {
    int correct = 0;
    int keys = 0;               // judged keys, misses included
    std::uint32_t elapsed = 0;  // ms from the first judged key to the end of the last pause
    int speed() const { return static_cast<int>(correct * 60000LL / elapsed); }
    int accuracy() const { return correct * 100 / keys; }  // percent, truncated
};

// The program started as main starts it, in its own temporary program directory, with a
// recording message presenter and a clock the test moves.
class TestApplication {
public:
    // `ini` becomes kestruml.ini before start-up when it is not null.
    explicit TestApplication(const QByteArray& ini = {});

    Application& app() { return *app_; }
    RecordingMessagePresenter& messages() { return messages_; }
    FakeClock& clock() { return clock_; }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QByteArray readFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;

    // Shows the menu and waits until it is the active window (its accelerators need that).
    bool showMenu();
    // A mouse button goes down and up on the menu's control of that object name.
    void press(const char* objectName, Qt::MouseButton button = Qt::LeftButton);
    // Clicks the push button of that object name inside `window`.
    static void click(QWidget* window, const char* objectName);
    // A key goes down on `window` as the X server sends it: the scan code of the key at `key`,
    // whatever character it makes.
    static void pressKey(QWidget* window, KeyPosition key, bool shift = false);

    // Types the run of the lesson waiting in the drill window, from its start key to the end,
    // with real key events: `wrongKeys` items begin with one wrong key, and the clock moves
    // `stepMs` before every judged key but the first and 150 ms for the pause after each item.
    // Returns when `finished` says so (the result window has come and gone) or fails after a
    // time-out.
    RunFigures typeRun(int stepMs, int wrongKeys, const std::function<bool()>& finished);

private:
    QTemporaryDir dir_;
    RecordingMessagePresenter messages_;
    FakeClock clock_;
    SeededRandom random_{20240601};
    std::unique_ptr<Application> app_;
};

}  // namespace kestrum::testing
