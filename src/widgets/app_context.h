#pragma once

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/keyboard_state.h"
#include "platform/message_presenter.h"
#include "platform/random_source.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "records/lesson.h"
#include "records/settings.h"

#include <filesystem>

namespace kestrum {

// Everything the windows share for the whole run: the settings record, the problem-set lesson
// record and the platform services; a window that reads the history is handed the history file
// itself. main() builds the real one; tests build one with fakes.
struct AppContext {
    std::filesystem::path dataDir;  // where kestruml.ini, score.dat and tdcs/ live
    FileSystem& files;
    Clock& clock;
    RandomSource& random;
    const Screen& screen;
    const KeyboardState& keyboardState;
    SoundPlayer& sound;
    MessagePresenter& messages;
    Settings settings;
    lesson problemSetLesson;
};

}  // namespace kestrum
