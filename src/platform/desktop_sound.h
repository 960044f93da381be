#pragma once

#include "platform/sound.h"

#include <QObject>

#include <string_view>

class QSoundEffect;

namespace kestrum {

// Plays "ERROR" and "PUSH" from the program's resources. Both effects are loaded together, by
// prepare() or else at the first sound, and kept. Without an audio output the player stays
// silent: no effect is created, nothing blocks and nothing is reported.
class DesktopSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT

public:
    explicit DesktopSoundPlayer(QObject* parent = nullptr);

    // Starts the audio system and loads both effects, unless done already. Meant for an idle
    // moment, so that neither start-up nor the first sound waits for it.
    void prepare();

    // Cuts off whichever sound is still playing, then starts `name`; unknown names are ignored.
    void play(std::string_view name) override;

private:
    bool loaded_ = false;
    QSoundEffect* error_ = nullptr;
    QSoundEffect* push_ = nullptr;
};

}  // namespace kestrum
