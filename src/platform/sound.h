#pragma once

#include <string_view>

namespace kestrum {

// Plays one of the program's sounds ("ERROR", "PUSH") asynchronously; a new sound cuts off the
// one still playing. No audio device means silence.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(std::string_view name) = 0;
};

}  // namespace kestrum
