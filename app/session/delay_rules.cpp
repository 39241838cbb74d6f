#include "app/session/delay_rules.h"

#include <cmath>

namespace delay_rules {

namespace {
// Round to nearest, halves to even (the current rounding mode's default).
double roundHalfEven(double value) {
    return std::nearbyint(value);
}
}  // namespace

EditResult onEditExit(double seconds) {
    // Fractions of a millisecond cannot be timed: keep the delay to the millisecond.
    seconds = std::round(seconds * 1000.0) / 1000.0;
    if (seconds > kMaxSeconds) {
        seconds = kMaxSeconds;
    }
    if (seconds <= 0.0) {
        seconds = kMinSeconds;  // negative delays too: a timer cannot run backwards
    }
    EditResult result{};
    result.seconds = seconds;
    result.sliderMax = seconds <= 8.0 ? kDefaultSliderMax : int(roundHalfEven(seconds * 10.0));
    const bool whole = seconds == std::floor(seconds);
    result.sliderValue = int(roundHalfEven(whole ? seconds * 10.0 : seconds * 10.0 + 1.0));
    return result;
}

double editValue(double seconds) {
    return std::round(seconds * 100.0) / 100.0;
}

long long delayMilliseconds(double seconds) {
    const long long ms = std::llround(seconds * 1000.0);
    return ms > 0 ? ms : std::llround(kMinSeconds * 1000.0);
}

int countdownStart(double seconds) {
    return int(roundHalfEven(seconds));
}

}  // namespace delay_rules
