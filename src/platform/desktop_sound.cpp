#include "platform/desktop_sound.h"

#include "platform/wav_file.h"

#include <QByteArray>
#include <QFile>
#include <QLibrary>

#include <pulse/simple.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrum {

namespace {

// The few entries of the sound server's simple client library that the player uses.
struct SimpleApi {
    decltype(&pa_simple_new) open = nullptr;
    decltype(&pa_simple_write) write = nullptr;
    decltype(&pa_simple_flush) flush = nullptr;
    decltype(&pa_simple_free) close = nullptr;

    bool load() {
        QLibrary library(QStringLiteral("pulse-simple"), 0);
        open = reinterpret_cast<decltype(open)>(library.resolve("pa_simple_new"));
        write = reinterpret_cast<decltype(write)>(library.resolve("pa_simple_write"));
        flush = reinterpret_cast<decltype(flush)>(library.resolve("pa_simple_flush"));
        close = reinterpret_cast<decltype(close)>(library.resolve("pa_simple_free"));
        return open != nullptr && write != nullptr && flush != nullptr && close != nullptr;
    }
};

// One sound: its samples, their format, and how many bytes make about 10 ms of it.
struct Clip {
    pa_sample_spec sampleFormat{PA_SAMPLE_INVALID, 0, 0};
    std::string samples;
    std::size_t slice = 1;
};

constexpr std::uint32_t kSlicesPerSecond = 100;

Clip readClip(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    const std::optional<PcmClip> pcm =
        readPcmWav(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!pcm || pcm->channels < 1 || pcm->channels > static_cast<int>(PA_CHANNELS_MAX)) return {};
    Clip clip;
    clip.sampleFormat.format = pcm->bitsPerSample == 8    ? PA_SAMPLE_U8
                               : pcm->bitsPerSample == 16 ? PA_SAMPLE_S16LE
                                                          : PA_SAMPLE_INVALID;
    clip.sampleFormat.channels = static_cast<std::uint8_t>(pcm->channels);
    clip.sampleFormat.rate = pcm->rate;
    clip.samples = pcm->samples;
    const auto frameBytes = static_cast<std::size_t>(pcm->channels * pcm->bitsPerSample / 8);
    clip.slice = std::max<std::size_t>(frameBytes, pcm->rate / kSlicesPerSecond * frameBytes);
    return clip;
}

// A playback stream that starts once half a slice is queued and keeps about two slices queued,
// so that a flush cuts a sound off at once.
pa_simple* openStream(const SimpleApi& api, const Clip& clip) {
    if (clip.samples.empty() || clip.sampleFormat.format == PA_SAMPLE_INVALID) return nullptr;
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = static_cast<std::uint32_t>(2 * clip.slice);
    buffer.prebuf = static_cast<std::uint32_t>(clip.slice / 2);
    buffer.minreq = static_cast<std::uint32_t>(-1);
    buffer.fragsize = static_cast<std::uint32_t>(-1);
    return api.open(nullptr, "kestrum-lite", PA_STREAM_PLAYBACK, nullptr, "effect",
                    &clip.sampleFormat, nullptr, &buffer, nullptr);
}

}  // namespace

DesktopSoundPlayer::~DesktopSoundPlayer() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void DesktopSoundPlayer::prepare() {
    if (!thread_.joinable()) thread_ = std::thread([this] { serve(); });
}

void DesktopSoundPlayer::play(std::string_view name) {
    Request request = Request::None;
    if (name == "ERROR") request = Request::Error;
    if (name == "PUSH") request = Request::Push;
    if (request == Request::None) return;
    prepare();
    {
        const std::lock_guard lock(mutex_);
        pending_ = request;
    }
    wake_.notify_one();
}

void DesktopSoundPlayer::serve() {
    SimpleApi api;
    const bool loaded = api.load();
    const std::array<Clip, 2> clips{readClip(QStringLiteral(":/error.wav")),
                                    readClip(QStringLiteral(":/push.wav"))};
    std::array<pa_simple*, 2> streams{};
    if (loaded) {
        for (std::size_t i = 0; i < clips.size(); ++i)
            streams[i] = openStream(api, clips[i]);
    }
    // The sound being written and how far; written in slices so that a new sound is noticed,
    // and the old one flushed, within a slice.
    constexpr std::size_t kNone = 2;
    std::size_t playing = kNone;
    std::size_t written = 0;
    for (;;) {
        std::unique_lock lock(mutex_);
        if (playing == kNone)
            wake_.wait(lock, [this] { return stopping_ || pending_ != Request::None; });
        if (stopping_) break;
        if (pending_ != Request::None) {
            playing = pending_ == Request::Error ? 0 : 1;
            written = 0;
            pending_ = Request::None;
            lock.unlock();
            for (pa_simple* stream : streams) {
                if (stream != nullptr) api.flush(stream, nullptr);
            }
        } else {
            lock.unlock();
        }
        const std::string& samples = clips[playing].samples;
        pa_simple* stream = streams[playing];
        const std::size_t slice = std::min(samples.size() - written, clips[playing].slice);
        if (stream == nullptr || api.write(stream, samples.data() + written, slice, nullptr) < 0) {
            written = samples.size();
        } else {
            written += slice;
        }
        if (written == samples.size()) playing = kNone;
    }
    for (pa_simple* stream : streams) {
        if (stream != nullptr) api.close(stream);
    }
}

}  // namespace kestrum
