#include "platform/desktop_sound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace kestrum {

namespace {

QSoundEffect* loadEffect(const char* resource, QObject* parent) {
    auto* effect = new QSoundEffect(parent);
    effect->setSource(QUrl(QString::fromLatin1(resource)));
    return effect;
}

}  // namespace

DesktopSoundPlayer::DesktopSoundPlayer(QObject* parent) : QObject(parent) {}

void DesktopSoundPlayer::prepare() {
    if (loaded_) return;
    loaded_ = true;
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    error_ = loadEffect("qrc:/error.wav", this);
    push_ = loadEffect("qrc:/push.wav", this);
}

void DesktopSoundPlayer::play(std::string_view name) {
    if (name != "ERROR" && name != "PUSH") return;
    prepare();
    QSoundEffect* effect = name == "ERROR" ? error_ : push_;
    if (effect == nullptr) return;
    error_->stop();
    push_->stop();
    effect->play();
}

}  // namespace kestrum
