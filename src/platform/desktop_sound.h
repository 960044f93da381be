#pragma once

#include "platform/sound.h"

#include <condition_variable>
#include <mutex>
#include <string_view>
#include <thread>

namespace kestrum {

// Plays "ERROR" and "PUSH" from the program's resources through the desktop's sound server. The
// server's client library is loaded and connected on a thread of its own, at prepare() or at the
// first sound: nothing of it is in memory before, and neither start-up nor a key waits for it.
// Without a sound server the player stays silent: nothing blocks and nothing is reported.
class DesktopSoundPlayer final : public SoundPlayer {
public:
    DesktopSoundPlayer() = default;
    ~DesktopSoundPlayer() override;
    DesktopSoundPlayer(const DesktopSoundPlayer&) = delete;
    DesktopSoundPlayer& operator=(const DesktopSoundPlayer&) = delete;

    // Starts connecting to the sound server, unless done already. Meant for an idle moment.
    void prepare();

    // Cuts off whichever sound is still playing, then starts `name`; unknown names are ignored.
    void play(std::string_view name) override;

private:
    enum class Request { None, Error, Push };

    void serve();

    std::mutex mutex_;
    std::condition_variable wake_;
    Request pending_ = Request::None;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace kestrum
