#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "framework/core/gate.h"
#include "framework/core/object.h"

// Typed settings on top of a text store, addressed through a current section.
// Reads and section changes take the store's gate with lockTimeout; a read
// that cannot take it in time gives the empty text, so a typed read gives its
// default. Threads sharing one store bracket a group of reads of their own
// section with enter/leave.
class unaIniAbstractStorage : public unaObject {
  public:
    unaIniAbstractStorage(std::string section, std::uint32_t lockTimeout);

    // An empty name becomes a single blank. Nothing changes when the gate
    // cannot be taken within lockTimeout.
    void setSection(std::string_view name);
    std::string section() const;
    std::uint32_t lockTimeout() const { return lockTimeout_; }

    // Takes the gate (timeoutMs 0: lockTimeout). When taken and a section is
    // given, the current one goes to previousSection (when given) and the
    // given one becomes current.
    bool enter(std::string_view section = {}, std::string* previousSection = nullptr,
               std::uint32_t timeoutMs = 0);
    // Makes section current when given, then releases the gate.
    void leave(std::string_view section = {});

    // Absent key: the default. Present key: its text, also when that is "0"
    // or empty.
    std::string getString(std::string_view key, std::string_view defaultValue = {});
    // Numbers in the lenient settings form (see ini_number.h); an absent key,
    // an empty or a malformed text gives the default.
    std::int32_t getInt(std::string_view key, std::int32_t defaultValue);  // the low 32 bits
    std::int64_t getInt64(std::string_view key, std::int64_t defaultValue);
    bool getBool(std::string_view key, bool defaultValue);  // low 32 bits not 0

    // The setters report whether the value reached the store; callers that
    // cannot do anything about a lost write may ignore it.
    bool setString(std::string_view key, std::string_view value);
    bool setInt(std::string_view key, std::int32_t value);
    // The value as unsigned decimal, so -1 is written as 4294967295.
    bool setUnsigned(std::string_view key, std::uint32_t value);
    // -1 for true, 0 for false.
    bool setBool(std::string_view key, bool value);

    // The store's text operations on the current section.
    virtual std::string readValueText(std::string_view key, std::string_view defaultValue) = 0;
    virtual bool writeValueText(std::string_view key, std::string_view text) = 0;
    // The section's key=value lines, each followed by CR LF; empty when absent.
    virtual std::string readSectionText(std::string_view section) = 0;
    // Replaces the section with the text's non-empty lines (split at CR, LF or CR LF).
    virtual bool writeSectionText(std::string_view section, std::string_view text) = 0;

  protected:
    // Takes the gate with lockTimeout; check ok().
    unaGateLock lockWithTimeout() { return unaGateLock(gate_, gateTimeout(lockTimeout_)); }
    static int gateTimeout(std::uint32_t timeoutMs);

  private:
    void assignSection(std::string_view name);

    std::string section_;
    const std::uint32_t lockTimeout_;
    unaInProcessGate gate_;
    // Guards section_ alone: writes do not take the gate, yet must read the
    // section while another thread may set it.
    mutable std::mutex sectionMutex_;
};
