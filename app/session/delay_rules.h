#pragma once

// The delay edit and the delay slider. The slider works in tenths of a
// second: 0.1 to 8.0 s normally, up to ten times a larger typed value.
namespace delay_rules {

constexpr double kMaxSeconds = 600.0;
constexpr double kMinSeconds = 0.05;
constexpr int kDefaultSliderMax = 80;

struct EditResult {
    double seconds;   // the edit's new value
    int sliderMax;    // the slider's new maximum
    int sliderValue;  // the position asked for (the slider limits it to its range)
};

// The rules applied when the delay edit loses the focus: above 600 becomes
// 600; 0 or less becomes 0.05; a value is kept to the millisecond.
EditResult onEditExit(double seconds);

// A value the program writes into the edit keeps two decimals.
double editValue(double seconds);

// The edit's value for a slider position (tenths of a second).
inline double secondsForSlider(int position) {
    return position / 10.0;
}

// Whole milliseconds of a delay, never below the minimum.
long long delayMilliseconds(double seconds);

// The countdown's first value: the delay rounded to the nearest second, halves to even.
int countdownStart(double seconds);

}  // namespace delay_rules
