#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "mixer/model/mixer_object.h"
#include "platform/mixer/mixer_types.h"

class unaMsMixerLine;

// One control of a mixer line (volume, mute, source list ...). Every value
// query reads the mixer again; writes go out at once unless bracketed by
// beginUpdate/endUpdate.
class unaMsMixerControl : public unaMsMixerObject {
  public:
    unaMsMixerControl(unaMsMixerLine& line, const qv::platform::MixerControlInfo& record);
    unaMsMixerControl(const unaMsMixerControl&) = delete;
    unaMsMixerControl& operator=(const unaMsMixerControl&) = delete;

    void beginUpdate();
    void endUpdate();
    // Reads the list texts (once) and the current values from the mixer.
    void refresh();
    // Writes the whole value buffer to the mixer.
    void apply();

    bool isUniform() const;
    bool isMultiple() const;

    // The list record of (channel, item), without reading the mixer; none when absent.
    const qv::platform::MixerListText* getListItem(int channel, int item) const;
    // Fresh reads of (channel, item); false / 0 for a value that does not exist.
    bool getBool(int channel, int item);
    std::uint32_t getUnsigned(int channel, int item);
    // Channel -1 means every channel.
    void setBool(bool value, int channel, int item);
    void setUnsigned(std::uint32_t value, int channel, int item);

    std::uint32_t controlId() const { return record_.controlId; }
    std::uint32_t controlType() const { return type_; }
    std::uint32_t controlClass() const { return class_; }
    std::uint32_t controlSubclass() const { return subclass_; }
    std::uint32_t controlUnits() const { return units_; }
    std::uint32_t itemCount() const { return itemCount_; }
    const qv::platform::MixerControlInfo& record() const { return record_; }
    // Channels of the value buffer: 0 for custom controls, 1 when uniform.
    std::uint32_t detailsChannels() const { return details_.channels; }
    const std::vector<std::string>& listItemNames() const { return listNames_; }
    bool listItemsRead() const { return listItemsRead_; }
    unaMsMixerLine& line() const { return line_; }

  private:
    // Buffer index of (channel, item), or -1 when it lies outside the buffer.
    long valueIndex(int channel, int item, std::size_t bufferSize) const;
    // First and last channel that a set operation on `channel` touches.
    std::pair<int, int> channelSpan(int channel) const;
    void readListItems();
    unsigned mixerIndex() const;

    int updateDepth_ = 0;
    std::uint32_t type_ = 0;
    std::uint32_t class_ = 0;
    std::uint32_t subclass_ = 0;
    std::uint32_t units_ = 0;
    std::uint32_t itemCount_ = 0;
    qv::platform::MixerControlInfo record_;
    // What a read or write covers, and the values.
    qv::platform::MixerValueRange details_;
    std::uint32_t bytesPerValue_ = 0;
    std::vector<std::uint32_t> values_;
    unaMsMixerLine& line_;
    std::vector<qv::platform::MixerListText> listItems_;
    std::vector<std::string> listNames_;
    bool listItemsRead_ = false;
};
