#pragma once

#include "platform/file_system.h"
#include "platform/screen.h"
#include "support/fake_services.h"
#include "ui/support/recording_message_presenter.h"
#include "widgets/app_context.h"

#include <QTemporaryDir>

#include <utility>

namespace kestrum::testing {

// Everything a drill window needs, faked where it matters, in its own temporary data directory.
// The clock and the random source are the test's choice.
template <typename ClockT, typename RandomT>
struct DrillServices {
    explicit DrillServices(ScreenMetrics metrics, RandomT randomSource = RandomT())
        : random(std::move(randomSource)),
          screen(metrics),
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
                  {}} {}

    QTemporaryDir dir;
    DiskFileSystem files;
    ClockT clock;
    RandomT random;
    FixedScreen screen;
    FakeCapsLock capsLock;
    RecordingSound sound;
    RecordingMessagePresenter messages;
    ScoreFile scores;
    AppContext context;
};

}  // namespace kestrum::testing
