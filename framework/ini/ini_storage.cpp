#include "framework/ini/ini_storage.h"

#include <algorithm>
#include <climits>

#include "framework/ini/ini_number.h"

unaIniAbstractStorage::unaIniAbstractStorage(std::string section, std::uint32_t lockTimeout)
    : section_(std::move(section)), lockTimeout_(lockTimeout) {}

int unaIniAbstractStorage::gateTimeout(std::uint32_t timeoutMs) {
    return static_cast<int>(std::min<std::uint32_t>(timeoutMs, INT_MAX));
}

void unaIniAbstractStorage::assignSection(std::string_view name) {
    std::lock_guard lock(sectionMutex_);
    section_ = name.empty() ? std::string(" ") : std::string(name);
}

void unaIniAbstractStorage::setSection(std::string_view name) {
    const auto gate = lockWithTimeout();
    if (gate.ok()) {
        assignSection(name);
    }
}

std::string unaIniAbstractStorage::section() const {
    std::lock_guard lock(sectionMutex_);
    return section_;
}

bool unaIniAbstractStorage::enter(std::string_view section, std::string* previousSection,
                                  std::uint32_t timeoutMs) {
    if (!gate_.enter(gateTimeout(timeoutMs == 0 ? lockTimeout_ : timeoutMs))) {
        return false;
    }
    if (!section.empty()) {
        if (previousSection != nullptr) {
            *previousSection = this->section();
        }
        assignSection(section);
    }
    return true;
}

void unaIniAbstractStorage::leave(std::string_view section) {
    if (!section.empty()) {
        setSection(section);
    }
    gate_.leave();
}

std::string unaIniAbstractStorage::getString(std::string_view key, std::string_view defaultValue) {
    return readValueText(key, defaultValue);
}

std::int64_t unaIniAbstractStorage::getInt64(std::string_view key, std::int64_t defaultValue) {
    return parseIniNumber(readValueText(key, {})).value_or(defaultValue);
}

std::int32_t unaIniAbstractStorage::getInt(std::string_view key, std::int32_t defaultValue) {
    const auto number = parseIniNumber(readValueText(key, {}));
    return number ? static_cast<std::int32_t>(static_cast<std::uint32_t>(*number)) : defaultValue;
}

bool unaIniAbstractStorage::getBool(std::string_view key, bool defaultValue) {
    const auto number = parseIniNumber(readValueText(key, {}));
    return number ? static_cast<std::uint32_t>(*number) != 0 : defaultValue;
}

bool unaIniAbstractStorage::setString(std::string_view key, std::string_view value) {
    return writeValueText(key, value);
}

bool unaIniAbstractStorage::setInt(std::string_view key, std::int32_t value) {
    return writeValueText(key, std::to_string(value));
}

bool unaIniAbstractStorage::setUnsigned(std::string_view key, std::uint32_t value) {
    return writeValueText(key, std::to_string(value));
}

bool unaIniAbstractStorage::setBool(std::string_view key, bool value) {
    return setInt(key, value ? -1 : 0);
}
