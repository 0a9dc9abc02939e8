#pragma once

namespace sumbrook::timing {

// The scene's durations, in display steps (12 a second) unless named in milliseconds.
constexpr int kStepsPerSecond = 12;
constexpr int kStepMs = 1000 / kStepsPerSecond;
// The caret of an empty answer box is on for 4 steps and off for 4: 1.5 blinks a second,
// well under the 3 a second that nothing may flash faster than.
constexpr int kCaretSteps = 4;
// A star of the sparkle trail lives 20 steps; from the 10th on it fades as it shrinks.
constexpr int kStarFadeFrom = 10;
constexpr double kStarFadePerStep = 0.08;
// The stars round the cheering bear grow and shrink once every 12 steps.
constexpr int kTwinkleSteps = 12;

// The bear's little animations, each one swing every so many steps: a walk's stride (and
// the arms and the bob with it), the scarf's flutter, a cheer's hop and pumping arms, the
// happy wave, the tilt of the walking head, the stars round a cheer and the thought
// bubble's bob.
namespace bear {
constexpr int kStride = 10;
constexpr int kScarfFlutter = 10;
constexpr int kCheer = 14;
constexpr int kWave = 12;
constexpr int kWalkTilt = 20;
constexpr int kSparkles = 18;
constexpr int kThoughtBob = 24;
}  // namespace bear

// The intro: the title's letters drop in one after another, then stars pop out round it,
// the version fades in and the bear hops up. "From" counts steps since the intro began.
namespace intro {
constexpr int kTitleFrom = 1;
constexpr double kTitleLetterGap = 1.2;
constexpr double kTitleDrop = 11.0;
constexpr int kStarsFrom = 16;
constexpr int kStarGap = 2;
constexpr double kStarPop = 6.0;
constexpr int kStarTwinkle = 24;
constexpr int kVersionFrom = 14;
constexpr double kVersionFade = 8.0;
constexpr int kBearFrom = 6;
constexpr double kBearRise = 9.0;
}  // namespace intro

// The completion screen: confetti falls for about five seconds and then is gone (it
// fades over its last 16 steps); the stars pop in one by one and twinkle while the party
// lasts; a new record's badge pops in after a short beat.
namespace completion {
constexpr int kConfettiSteps = 60;
constexpr int kConfettiFadeFrom = 44;
constexpr double kConfettiFade = 16.0;
constexpr int kStarGap = 2;
constexpr double kStarPop = 6.0;
constexpr int kStarTwinkle = 24;
constexpr int kBadgeFrom = 4;
constexpr double kBadgePop = 8.0;
}  // namespace completion

}  // namespace sumbrook::timing
