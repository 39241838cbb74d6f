#pragma once

// QUILLANVERO_WAVE_DRIVER=simulated makes the program use simulated sound
// cards (a sine on the recording side): for machines without one, for
// screenshots and for trying the program out. Otherwise ALSA is used.
void chooseWaveDriverFromEnvironment();

// True when at least one recording and one playback device can be opened in
// the usual format (the default devices are tried).
bool soundDevicesUsable();
