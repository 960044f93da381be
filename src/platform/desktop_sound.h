#pragma once

#include "platform/sound.h"

#include <QObject>

#include <string_view>

class QSoundEffect;

namespace kestrum {

// Plays "ERROR" and "PUSH" from the program's resources. Both effects are loaded once so that a
// key press never waits for a file. Without an audio output the player stays silent: no effect
// is created, nothing blocks and nothing is reported.
class DesktopSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT

public:
    explicit DesktopSoundPlayer(QObject* parent = nullptr);

    // Cuts off whichever sound is still playing, then starts `name`; unknown names are ignored.
    void play(std::string_view name) override;

private:
    QSoundEffect* error_ = nullptr;
    QSoundEffect* push_ = nullptr;
};

}  // namespace kestrum
