#pragma once

#include "drill/drill_window.h"
#include "keyboard/keyboard_widget.h"
#include "platform/file_system.h"
#include "platform/random_source.h"
#include "platform/screen.h"
#include "support/fake_services.h"
#include "ui/support/recording_message_presenter.h"
#include "widgets/app_context.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace kestrum::testing {

// Real elapsed time, so that the drill's pause after an item passes as it does on screen.
class RunningClock final : public Clock {
public:
    RunningClock() { elapsed_.start(); }
    std::uint32_t tickCount() override { return static_cast<std::uint32_t>(elapsed_.elapsed()); }

private:
    QElapsedTimer elapsed_;
};

// A drill window over fake services, in its own temporary data directory.
struct DrillRig {
    explicit DrillRig(int keyboardSize = 0, ScreenMetrics metrics = {1280, 1024, 96.0})
        : screen(metrics),
          scores(files, dir.path().toStdString()),
          context{dir.path().toStdString(),
                  files,
                  clock,
                  random,
                  screen,
                  capsLock,
                  sound,
                  messages,
                  scores,
                  {},
                  {}} {
        context.settings.keyboard_size = keyboardSize;
        window = std::make_unique<DrillWindow>(context);
    }

    template <typename T = QWidget>
    T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    KeyboardWidget* keyboard() const { return child<KeyboardWidget>("pnl_key"); }
    QWidget* keyTarget() const {
        QWidget* focus = window->focusWidget();
        return focus != nullptr ? focus : window.get();
    }
    void type(char ch) const { QTest::keyClick(keyTarget(), ch); }
    const DrillState& state() const { return window->engine().state(); }
    char expected() const {
        return state().target.at(static_cast<std::size_t>(state().position - 1));
    }

    QTemporaryDir dir;
    DiskFileSystem files;
    RunningClock clock;
    SeededRandom random{3};
    FixedScreen screen;
    FakeCapsLock capsLock;
    RecordingSound sound;
    RecordingMessagePresenter messages;
    ScoreFile scores;
    AppContext context;
    std::unique_ptr<DrillWindow> window;
};

}  // namespace kestrum::testing
