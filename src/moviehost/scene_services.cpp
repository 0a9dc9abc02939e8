#include "moviehost/scene_services.h"

#include "practice/scene/sound_channel_factory.h"

namespace sumbrook {

SceneServices SceneServices::forThisMachine() {
    SceneServices services;
    services.store = std::make_shared<ProgressStore>();
    services.source = std::make_shared<SeededUniformSource>(SeededUniformSource::fromEntropy());
    services.clock = std::make_shared<SteadyClock>();
    services.soundChannel = [] { return createSoundChannel(); };
    return services;
}

}  // namespace sumbrook
