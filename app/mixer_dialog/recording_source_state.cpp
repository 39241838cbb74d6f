#include "app/mixer_dialog/recording_source_state.h"

#include "mixer/model/mixer_system.h"

namespace cc = qv::platform::control_class;

bool isRecordingSourceOn(unaMsMixerSystem& mixers, int source) {
    const int recording = mixers.getDestinationIndex(false);
    const unaMsMixerLine* destination = mixers.getLine(recording, -1);
    const unaMsMixerLine* line = mixers.getLine(recording, source);
    if (source < 0 || destination == nullptr || line == nullptr) {
        return false;
    }
    for (unsigned c = 0; c < destination->getControlCount(); ++c) {
        unaMsMixerControl* control = destination->getControl(c);
        if (control->controlClass() != cc::list) {
            continue;
        }
        for (unsigned item = 0; item < control->itemCount(); ++item) {
            const auto* text = control->getListItem(0, static_cast<int>(item));
            if (text != nullptr && text->param1 == line->record().lineId) {
                return control->getBool(0, static_cast<int>(item));
            }
        }
    }
    return false;
}
