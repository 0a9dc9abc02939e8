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

}  // namespace sumbrook::timing
