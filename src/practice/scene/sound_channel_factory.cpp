#include "sound_channel_factory.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <cstdio>

#include "qt_sound_channel.h"
#include "silent_sound_channel.h"

namespace sumbrook {

namespace {

QtMessageHandler previousHandler = nullptr;

// Qt's first look for devices complains on its own when no sound server answers; our
// one line below says what that means for the user, so its complaint is dropped.
void withoutServerComplaints(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (message.startsWith(QLatin1String("PulseAudioService:"))) {
        return;
    }
    if (previousHandler) {
        previousHandler(type, context, message);
    }
}

bool haveAudioOutput() {
    previousHandler = qInstallMessageHandler(withoutServerComplaints);
    const bool found = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(previousHandler);
    return found;
}

}  // namespace

std::unique_ptr<SoundChannel> createSoundChannel() {
    if (!haveAudioOutput()) {
        std::fputs("sumbrook: no audio output found; the scene runs without sound\n", stderr);
        std::fflush(stderr);
        return std::make_unique<SilentSoundChannel>();
    }
    return std::make_unique<QtSoundChannel>();
}

}  // namespace sumbrook
