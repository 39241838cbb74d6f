#include "framework/core/list.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "framework/core/alloc.h"

namespace {
// A block of this many entries or fewer is kept for reuse when the list empties.
constexpr unsigned kKeptBlockEntries = 4096;

unsigned roundUpToStep(unsigned n) {
    return (n + unaList::kCapacityStep - 1) / unaList::kCapacityStep * unaList::kCapacityStep;
}
}  // namespace

unaList::unaList(bool itemsAreObjects) : unaList(itemsAreObjects, itemsAreObjects) {}

unaList::unaList(bool itemsAreObjects, bool autoFree)
    : itemsAreObjects_(itemsAreObjects), autoFree_(autoFree) {}

unaList::~unaList() {
    destroy();
    freeRounded(items_);
}

void unaList::destroy() {
    if (dead_) {
        return;
    }
    destroying_ = true;
    clear(unaListReleaseMode::freeIfOwned);
    if (gate_.enter(kDefaultLockTimeoutMs)) {
        dead_ = true;
        gate_.leave();
    }
}

bool unaList::lock(int timeoutMs) {
    if (dead_) {
        return false;
    }
    if (singleThreaded_) {
        return true;
    }
    return gate_.enter(timeoutMs < 0 ? lockTimeout_ : timeoutMs);
}

void unaList::unlock() {
    if (!singleThreaded_) {
        gate_.leave();
    }
}

void unaList::setCapacity(unsigned entries) {
    const unsigned rounded = roundUpToStep(entries);
    if (rounded == capacity_) {
        return;
    }
    if (rounded == 0 && !destroying_ && capacity_ <= kKeptBlockEntries) {
        return;  // keep the block for the next items
    }
    void** grown = static_cast<void**>(
        reallocRounded(items_, capacity_ * sizeof(void*), std::size_t(rounded) * sizeof(void*)));
    if (rounded != 0 && grown == nullptr) {
        return;  // out of memory: keep the old block
    }
    if (rounded > capacity_) {
        std::fill(grown + capacity_, grown + rounded, nullptr);
    }
    const unsigned old = capacity_;
    items_ = grown;
    capacity_ = rounded;
    onStorageResized(old, rounded);
}

bool unaList::shouldFree(unaListReleaseMode mode) const {
    return itemsAreObjects_ && (mode == unaListReleaseMode::freeItem ||
                                (mode == unaListReleaseMode::freeIfOwned && autoFree_));
}

void unaList::freeItem(void* item) {
    delete static_cast<unaObject*>(item);
}

void unaList::releaseItem(unsigned index, unaListReleaseMode mode) {
    void* item = items_[index];
    if (item != nullptr && shouldFree(mode)) {
        try {
            freeItem(item);
        } catch (...) {
            // an item that fails to go away must not take the list with it
        }
    }
    items_[index] = nullptr;
}

bool unaList::makeRoomForOne() {
    if (count_ + 1 > capacity_) {
        setCapacity(count_ + 1);
    }
    return count_ + 1 <= capacity_;  // false: out of memory
}

int unaList::add(void* item) {
    if (!lock()) {
        return -1;
    }
    if (!makeRoomForOne()) {
        unlock();
        return -1;
    }
    const unsigned index = count_;
    items_[index] = item;
    ++count_;
    onItemStored(index);
    dataEvent_.setState(true);
    unlock();
    return int(index);
}

int unaList::insert(unsigned index, void* item) {
    if (!lock()) {
        return -2;
    }
    if (index > count_) {
        unlock();
        return -1;
    }
    if (!makeRoomForOne()) {
        unlock();
        return -2;
    }
    const unsigned tail = count_ - index;
    std::memmove(items_ + index + 1, items_ + index, tail * sizeof(void*));
    onItemsMoved(index, index + 1, tail);
    items_[index] = item;
    ++count_;
    onItemStored(index);
    dataEvent_.setState(true);
    unlock();
    return int(index);
}

bool unaList::setItem(unsigned index, void* item, unaListReleaseMode mode) {
    if (!lock()) {
        return false;
    }
    const bool inRange = index < count_;
    if (inRange) {
        releaseItem(index, mode);
        items_[index] = item;
        onItemStored(index);
    }
    unlock();
    return inRange;
}

bool unaList::reverse() {
    if (!lock()) {
        return false;
    }
    std::reverse(items_, items_ + count_.load());
    onItemsReversed();
    unlock();
    return true;
}

void* unaList::get(unsigned index) const {
    return index < count_ ? items_[index] : nullptr;
}

int unaList::indexOf(const void* item) {
    if (!lock()) {
        return -1;
    }
    int found = -1;
    for (unsigned i = 0; i < count_; ++i) {
        if (items_[i] == item) {
            found = int(i);
            break;
        }
    }
    unlock();
    return found;
}

bool unaList::removeAt(unsigned index, unaListReleaseMode mode) {
    if (!lock()) {
        return false;
    }
    if (index >= count_) {
        unlock();
        return false;
    }
    beforeRemove(index);
    releaseItem(index, mode);
    const unsigned tail = count_ - index - 1;
    std::memmove(items_ + index, items_ + index + 1, tail * sizeof(void*));
    onItemsMoved(index + 1, index, tail);
    --count_;
    items_[count_] = nullptr;
    setCapacity(count_);
    if (count_ == 0) {
        dataEvent_.setState(false);
    }
    unlock();
    return true;
}

bool unaList::remove(const void* item, unaListReleaseMode mode) {
    if (!lock()) {
        return false;
    }
    const int index = indexOf(item);
    const bool removed = index >= 0 && removeAt(unsigned(index), mode);
    unlock();
    return removed;
}

bool unaList::clear(unaListReleaseMode mode) {
    if (!lock()) {
        return false;
    }
    while (count_ > 0) {
        const unsigned last = count_ - 1;
        beforeRemove(last);
        releaseItem(last, mode);
        count_ = last;
    }
    setCapacity(0);
    dataEvent_.setState(false);
    unlock();
    return true;
}

// ---- record and string lists ----

void unaRecordList::freeItem(void* item) {
    std::free(item);
}

void* unaStringList::makeBlock(std::string_view text) {
    const auto length = uint32_t(text.size());
    auto* block = static_cast<char*>(std::malloc(sizeof(length) + length));
    if (block != nullptr) {
        std::memcpy(block, &length, sizeof(length));
        std::memcpy(block + sizeof(length), text.data(), length);
    }
    return block;
}

namespace {
std::string_view blockText(const void* block) {
    if (block == nullptr) {
        return {};
    }
    uint32_t length;
    std::memcpy(&length, block, sizeof(length));
    return {static_cast<const char*>(block) + sizeof(length), length};
}

bool startsWithNameCaseless(std::string_view entry, std::string_view name) {
    if (entry.size() <= name.size() || entry[name.size()] != '=') {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(entry[i])) !=
            std::tolower(static_cast<unsigned char>(name[i]))) {
            return false;
        }
    }
    return true;
}
}  // namespace

int unaStringList::addString(std::string_view text) {
    void* block = makeBlock(text);
    if (block == nullptr) {
        return -1;
    }
    const int index = add(block);
    if (index < 0) {
        std::free(block);
    }
    return index;
}

std::string unaStringList::getStringAt(unsigned index) {
    if (!lock()) {
        return {};
    }
    std::string text(blockText(get(index)));
    unlock();
    return text;
}

int unaStringList::indexOfName(std::string_view name) {
    if (!lock()) {
        return -1;
    }
    int found = -1;
    for (unsigned i = 0; i < count(); ++i) {
        if (startsWithNameCaseless(blockText(get(i)), name)) {
            found = int(i);
            break;
        }
    }
    unlock();
    return found;
}

std::string unaStringList::getValue(std::string_view name) {
    if (!lock()) {
        return {};
    }
    std::string value;
    const int index = indexOfName(name);
    if (index >= 0) {
        value = std::string(blockText(get(unsigned(index))).substr(name.size() + 1));
    }
    unlock();
    return value;
}

void unaStringList::setValue(std::string_view name, std::string_view value) {
    std::string entry(name);
    entry += '=';
    entry += value;
    if (!lock()) {
        return;
    }
    const int index = indexOfName(name);
    if (index >= 0) {
        if (void* block = makeBlock(entry)) {
            setItem(unsigned(index), block, unaListReleaseMode::freeItem);
        }
    } else {
        addString(entry);
    }
    unlock();
}

// ---- id list ----

int unaIdList::add(void* item) {
    if (!lock()) {
        return -1;
    }
    if (!allowDuplicates) {
        const int existing = indexOfId(getId(item));
        if (existing >= 0) {
            removeAt(unsigned(existing), unaListReleaseMode::freeIfOwned);
        }
    }
    const int index = unaList::add(item);
    unlock();
    return index;
}

void* unaIdList::itemById(int64_t id, int timeoutMs) {
    if (!lock(timeoutMs)) {
        return nullptr;
    }
    const int index = indexOfId(id);
    void* item = index >= 0 ? get(unsigned(index)) : nullptr;
    unlock();
    return item;
}

int unaIdList::indexOfId(int64_t id, unsigned startIndex) {
    if (!lock()) {
        return -1;
    }
    int found = -1;
    for (unsigned i = startIndex; i < count(); ++i) {
        if (ids_[i] == id) {
            found = int(i);
            break;
        }
    }
    unlock();
    return found;
}

void unaIdList::onStorageResized(unsigned, unsigned newCapacity) {
    ids_.resize(newCapacity, -1);
}

void unaIdList::onItemsMoved(unsigned from, unsigned to, unsigned n) {
    std::memmove(ids_.data() + to, ids_.data() + from, n * sizeof(int64_t));
    if (to > from) {
        ids_[from] = -1;  // the slot an insert opens
    } else if (n > 0 || from > to) {
        ids_[to + n] = -1;  // the slot a removal vacates at the tail
    }
}

void unaIdList::onItemsReversed() {
    std::reverse(ids_.begin(), ids_.begin() + count());
}

void unaIdList::onItemStored(unsigned index) {
    ids_[index] = getId(get(index));
}

void unaIdList::releaseItem(unsigned index, unaListReleaseMode mode) {
    unaList::releaseItem(index, mode);
    ids_[index] = -1;
}
