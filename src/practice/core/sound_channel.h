#pragma once

#include <QString>
#include <functional>

namespace sumbrook {

// The scene's one sound channel: it plays named sound assets, has one volume 0..100 that
// every sound of the scene shares, and tells when a song has played to its end. Whether
// anything is heard is the implementation's business; a machine without sound gets a
// silent one.
class SoundChannel {
  public:
    virtual ~SoundChannel() = default;

    // Plays a song from its start, `repeats` times in a row; when the last repetition has
    // ended the finished handler is called.
    virtual void playSong(const QString& name, int repeats) = 0;
    // Plays a short clip once over whatever is playing.
    virtual void playEffect(const QString& name) = 0;
    // Stops every sound, songs and clips alike. The finished handler is not called.
    virtual void stopAll() = 0;
    virtual void setVolume(int volume) = 0;
    virtual int volume() const = 0;
    virtual void setSongFinishedHandler(std::function<void()> handler) = 0;
};

}  // namespace sumbrook
