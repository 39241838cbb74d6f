#pragma once

#include <cstdint>
#include <functional>
#include <optional>

// The installed audio codec drivers and what they report about themselves.
// Linux has no system-wide codec manager, so the real list is empty; the
// simulated list lets tests enumerate drivers of their own.
//
// Thread rules: a manager is queried from one thread at a time (the program
// enumerates once, on the window thread). Implementations keep no callback
// beyond the call that received it.

// Opaque identity of one driver, as reported by the enumeration. Null (0)
// stands for "all drivers" where a query accepts it.
using CodecDriverId = std::uintptr_t;
inline constexpr CodecDriverId allCodecDrivers = 0;

// Enumeration flags. 0 lists the enabled drivers only.
inline constexpr std::uint32_t codecEnumDisabled = 0x80000000u;  // list disabled drivers too
inline constexpr std::uint32_t codecEnumNoLocal = 0x40000000u;   // skip drivers local to a task

class CodecManager {
  public:
    // Called once per driver with its id and support flags. Answer false to
    // end the enumeration early.
    using DriverVisitor = std::function<bool(CodecDriverId id, std::uint32_t supportFlags)>;

    virtual ~CodecManager() = default;

    // Version of the codec manager; 0 when there is none.
    virtual std::uint32_t version() const = 0;

    // Visits every driver that `flags` selects. Returns a multimedia result
    // code, 0 on success (also when there is no driver at all).
    virtual std::uint32_t enumDrivers(std::uint32_t flags, const DriverVisitor& visit) const = 0;

    // Largest format record, in bytes, that the driver (or every driver for
    // allCodecDrivers) works with; empty when the query fails.
    virtual std::optional<std::uint32_t> maxFormatSize(CodecDriverId driver) const = 0;
};

// The codec manager of this system.
const CodecManager& systemCodecManager();
