#include "mixer/model/mixer_control.h"

#include <algorithm>

#include "mixer/model/mixer_device.h"
#include "mixer/model/mixer_line.h"
#include "mixer/model/mixer_names.h"
#include "mixer/model/mixer_system.h"

using namespace qv::platform;

namespace {
// The layer carries values as 32-bit words.
constexpr std::uint32_t kWordSize = 4;
constexpr std::size_t kListNameChars = 63;
}  // namespace

unaMsMixerControl::unaMsMixerControl(unaMsMixerLine& line, const MixerControlInfo& record)
    : record_(record), line_(line) {
    type_ = record_.type;
    class_ = type_ & control_class::mask;
    subclass_ = type_ & 0x0F000000;
    units_ = type_ & control_units::mask;
    itemCount_ = record_.multipleItems;

    details_.controlId = record_.controlId;
    if (class_ == control_class::custom) {
        details_.channels = 0;
    } else if (isUniform()) {
        details_.channels = 1;
    } else {
        details_.channels = line_.record().channels;
    }
    details_.items = isMultiple() ? itemCount_ : 0;
    refresh();
}

bool unaMsMixerControl::isUniform() const {
    return (record_.flags & control_flag::uniform) != 0;
}

bool unaMsMixerControl::isMultiple() const {
    return (record_.flags & control_flag::multiple) != 0 || itemCount_ != 0;
}

unsigned unaMsMixerControl::mixerIndex() const {
    return line_.device().deviceIndex();
}

void unaMsMixerControl::readListItems() {
    listItems_.clear();
    listNames_.clear();
    std::vector<MixerListText> texts;
    MixerDriver& driver = line_.device().system().driver();
    if (!mixerCallSucceeded(driver.getListTexts(mixerIndex(), details_, texts))) {
        return;  // tried again on the next refresh
    }
    for (MixerListText& text : texts) {
        text.name = clipName(text.name, kListNameChars);
        listNames_.push_back(text.name);
        listItems_.push_back(std::move(text));
    }
    listItemsRead_ = true;
}

void unaMsMixerControl::refresh() {
    if (!listItemsRead_ && (class_ == control_class::list || type_ == control_type::equalizer)) {
        readListItems();
    }

    switch (units_) {
        case control_units::custom:
            bytesPerValue_ = record_.customDataSize;
            break;
        case control_units::boolean:
        case control_units::signedUnits:
        case control_units::unsignedUnits:
        case control_units::decibels:
        case control_units::percent:
            bytesPerValue_ = kWordSize;
            break;
        default:
            bytesPerValue_ = 0;
            break;
    }
    if (bytesPerValue_ != kWordSize) {
        values_.clear();
        return;
    }
    values_.assign(details_.valueCount(), 0);
    std::vector<std::uint32_t> read;
    MixerDriver& driver = line_.device().system().driver();
    if (mixerCallSucceeded(driver.getValues(mixerIndex(), details_, read)) &&
        read.size() == values_.size()) {
        values_ = std::move(read);
    }
}

void unaMsMixerControl::apply() {
    if (values_.empty()) {
        return;
    }
    line_.device().system().driver().setValues(mixerIndex(), details_, values_);
}

void unaMsMixerControl::beginUpdate() {
    ++updateDepth_;
}

void unaMsMixerControl::endUpdate() {
    updateDepth_ = std::max(updateDepth_ - 1, 0);
    if (updateDepth_ == 0) {
        apply();
    }
}

long unaMsMixerControl::valueIndex(int channel, int item, std::size_t bufferSize) const {
    if (isUniform()) {
        channel = 0;
    }
    if (channel < 0 || item < 0) {
        return -1;
    }
    const long index = isMultiple() ? item + static_cast<long>(channel) * itemCount_ : channel;
    if (isMultiple() && static_cast<std::uint32_t>(item) >= std::max(itemCount_, 1u)) {
        return -1;
    }
    return static_cast<std::size_t>(index) < bufferSize ? index : -1;
}

const MixerListText* unaMsMixerControl::getListItem(int channel, int item) const {
    const long index = valueIndex(channel, item, listItems_.size());
    return index < 0 ? nullptr : &listItems_[static_cast<std::size_t>(index)];
}

bool unaMsMixerControl::getBool(int channel, int item) {
    return getUnsigned(channel, item) != 0;
}

std::uint32_t unaMsMixerControl::getUnsigned(int channel, int item) {
    refresh();
    const long index = valueIndex(channel, item, values_.size());
    return index < 0 ? 0 : values_[static_cast<std::size_t>(index)];
}

std::pair<int, int> unaMsMixerControl::channelSpan(int channel) const {
    if (isUniform()) {
        return {0, 0};
    }
    if (channel < 0) {
        return {0, static_cast<int>(details_.channels) - 1};
    }
    return {channel, channel};
}

void unaMsMixerControl::setBool(bool value, int channel, int item) {
    beginUpdate();
    const auto [first, last] = channelSpan(channel);
    const bool mux = isMultiple() && type_ == control_type::mux;
    const bool itemExists = item >= 0 && static_cast<std::uint32_t>(item) < itemCount_;
    for (int c = first; c <= last; ++c) {
        if (!mux) {
            const long index = valueIndex(c, item, values_.size());
            if (index >= 0) {
                values_[static_cast<std::size_t>(index)] = value ? 1 : 0;
            }
        } else if (value && itemExists) {
            // A mux selects exactly one source per channel.
            for (std::uint32_t j = 0; j < itemCount_; ++j) {
                const long index = valueIndex(c, static_cast<int>(j), values_.size());
                if (index >= 0) {
                    values_[static_cast<std::size_t>(index)] = static_cast<int>(j) == item ? 1 : 0;
                }
            }
        }
    }
    endUpdate();
}

void unaMsMixerControl::setUnsigned(std::uint32_t value, int channel, int item) {
    beginUpdate();
    const auto [first, last] = channelSpan(channel);
    for (int c = first; c <= last; ++c) {
        const long index = valueIndex(c, item, values_.size());
        if (index >= 0) {
            values_[static_cast<std::size_t>(index)] = value;
        }
    }
    endUpdate();
}
