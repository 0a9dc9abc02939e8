#pragma once

#include <functional>
#include <memory>

#include "common/monotonic_clock.h"
#include "common/uniform_source.h"
#include "practice/core/practice_observer.h"
#include "practice/core/progress_store.h"
#include "practice/core/review_question.h"
#include "practice/core/sound_channel.h"

namespace sumbrook {

// What the practice scene takes from the machine: its progress store, its randomness, its
// clock and a sound channel. The movie player builds each scene from these, so tests hand
// it fakes; the store, the source and the clock are shared by every scene it builds, and
// each scene gets a channel of its own.
struct SceneServices {
    std::shared_ptr<ProgressStore> store;
    std::shared_ptr<UniformSource> source;
    std::shared_ptr<const MonotonicClock> clock;
    std::function<std::unique_ptr<SoundChannel>()> soundChannel;
    // Told of every run, answer and completion of every scene; may be empty.
    std::shared_ptr<PracticeObserver> observer;
    // The questions due for review ("错题复习"); may be empty, and then none is offered.
    ReviewSource reviewSource;

    // The per-user progress store, a source seeded from the system's entropy, the steady
    // clock and this machine's sound output. Needs the application object.
    static SceneServices forThisMachine();
};

}  // namespace sumbrook
