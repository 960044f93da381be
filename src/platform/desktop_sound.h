#pragma once

#include "platform/sound.h"

#include <QObject>

#include <string_view>

class QSoundEffect;

namespace kestrum {

// Plays "ERROR" and "PUSH" from the program's resources. Both effects are loaded together at the
// first sound and kept, so that only that one key press waits for the audio system; starting the
// audio system with the program would cost start-up time and memory while the menu is all the
// user sees. Without an audio output the player stays silent: no effect is created, nothing
// blocks and nothing is reported.
class DesktopSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT

public:
    explicit DesktopSoundPlayer(QObject* parent = nullptr);

    // Cuts off whichever sound is still playing, then starts `name`; unknown names are ignored.
    void play(std::string_view name) override;

private:
    void load();

    bool loaded_ = false;
    QSoundEffect* error_ = nullptr;
    QSoundEffect* push_ = nullptr;
};

}  // namespace kestrum
