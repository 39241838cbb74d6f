#pragma once

class unaMsMixerSystem;

// Whether the recording destination's source selector still has the source line
// at `source` switched on. A multiple-select selector can record several lines,
// and the dialog keeps showing the one the user chose while it stays on.
bool isRecordingSourceOn(unaMsMixerSystem& mixers, int source);
