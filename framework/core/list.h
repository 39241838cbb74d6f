#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/gate.h"
#include "framework/core/object.h"

// What happens to an item that leaves a list.
enum class unaListReleaseMode {
    keepItem = 0,     // never freed
    freeItem = 1,     // always freed
    freeIfOwned = 2,  // freed when the list owns its items (autoFree)
};

// A growable, thread-safe array of item pointers. Storage grows and shrinks in
// steps of 256 entries. dataEvent is signalled whenever an item is added and
// reset when the list becomes empty.
//
// get() and count() read without the gate: iterate under lock()/unlock() when
// other threads change the list.
class unaList : public unaObject {
  public:
    static constexpr unsigned kCapacityStep = 256;
    static constexpr int kDefaultLockTimeoutMs = 1000;

    // itemsAreObjects: the items are unaObjects that this list may free, and
    // it owns them (autoFree). False makes a plain pointer list.
    explicit unaList(bool itemsAreObjects = false);
    ~unaList() override;

    unsigned count() const { return count_; }
    unsigned capacity() const { return capacity_; }

    // The new index; -1 when the gate cannot be taken.
    virtual int add(void* item);
    // -2 when the gate cannot be taken, -1 when index > count.
    virtual int insert(unsigned index, void* item);
    bool setItem(unsigned index, void* item,
                 unaListReleaseMode mode = unaListReleaseMode::freeIfOwned);
    bool reverse();

    // The item at index, or nullptr for an index out of range.
    void* get(unsigned index) const;
    int indexOf(const void* item);
    bool removeAt(unsigned index, unaListReleaseMode mode = unaListReleaseMode::freeIfOwned);
    bool remove(const void* item, unaListReleaseMode mode = unaListReleaseMode::freeIfOwned);
    bool clear(unaListReleaseMode mode = unaListReleaseMode::freeIfOwned);

    // -1 takes lockTimeout. Fails at once on a list being destroyed and
    // succeeds at once on a single-threaded list.
    bool lock(int timeoutMs = -1);
    void unlock();

    bool autoFree() const { return autoFree_; }
    void setAutoFree(bool on) { autoFree_ = on; }
    void setSingleThreaded(bool on) { singleThreaded_ = on; }
    int lockTimeout() const { return lockTimeout_; }
    void setLockTimeout(int ms) { lockTimeout_ = ms; }
    unaEvent& dataEvent() { return dataEvent_; }

  protected:
    unaList(bool itemsAreObjects, bool autoFree);

    virtual void setCapacity(unsigned entries);
    // Grows the storage for one more entry; false when that failed.
    bool makeRoomForOne();
    // Frees the entry's item when the mode says so; then clears the entry.
    virtual void releaseItem(unsigned index, unaListReleaseMode mode);
    // Frees one item. Object lists delete the unaObject; record lists free the block.
    virtual void freeItem(void* item);
    virtual void beforeRemove(unsigned index) { (void)index; }
    // Keeps parallel arrays (ids) in step with item moves.
    virtual void onStorageResized(unsigned oldCapacity, unsigned newCapacity) {
        (void)oldCapacity;
        (void)newCapacity;
    }
    virtual void onItemsMoved(unsigned from, unsigned to, unsigned n) {
        (void)from;
        (void)to;
        (void)n;
    }
    virtual void onItemsReversed() {}
    virtual void onItemStored(unsigned index) { (void)index; }

    bool shouldFree(unaListReleaseMode mode) const;
    void* itemAt(unsigned index) const { return items_[index]; }
    void storeAt(unsigned index, void* item) { items_[index] = item; }
    bool destroying() const { return destroying_; }
    // Shared tail of the subclasses' destructors: frees what the list owns
    // while the subclass's releaseItem is still in place.
    void destroy();

  private:
    std::atomic<unsigned> count_{0};
    unsigned capacity_ = 0;
    int lockTimeout_ = kDefaultLockTimeoutMs;
    bool itemsAreObjects_;
    bool autoFree_;
    bool singleThreaded_ = false;
    bool destroying_ = false;
    void** items_ = nullptr;
    unaInProcessGate gate_;
    std::atomic<bool> dead_{false};
    unaEvent dataEvent_{false, false};
};

// A list of unaObjects; frees them by release mode.
class unaObjectList : public unaList {
  public:
    explicit unaObjectList(bool autoFree = true) : unaList(true, autoFree) {}
    ~unaObjectList() override { destroy(); }

    unaObject* getObject(unsigned index) const { return static_cast<unaObject*>(get(index)); }
};

// A list of memory blocks allocated with reallocRounded/malloc; frees them by release mode.
class unaRecordList : public unaList {
  public:
    explicit unaRecordList(bool autoFree = true) : unaList(true, autoFree) {}
    ~unaRecordList() override { destroy(); }

  protected:
    void freeItem(void* item) override;
};

// Strings kept as blocks of a 32-bit length followed by the bytes, with
// name=value helpers.
class unaStringList : public unaRecordList {
  public:
    explicit unaStringList(bool autoFree = true) : unaRecordList(autoFree) {}

    int addString(std::string_view text);
    // Empty when the index is out of range or the gate cannot be taken.
    std::string getStringAt(unsigned index);
    // First entry beginning with name followed by "=", case-insensitive; -1 when none.
    int indexOfName(std::string_view name);
    std::string getValue(std::string_view name);
    void setValue(std::string_view name, std::string_view value);

  private:
    static void* makeBlock(std::string_view text);
};

// A list that keeps a 64-bit id for every item. Without allowDuplicates,
// adding an item whose id is already present replaces the old item.
class unaIdList : public unaList {
  public:
    explicit unaIdList(bool itemsAreObjects = false) : unaList(itemsAreObjects) {}
    ~unaIdList() override { destroy(); }

    int add(void* item) override;

    // The item's id; -1 in the base.
    virtual int64_t getId(const void* item) const {
        (void)item;
        return -1;
    }
    void* itemById(int64_t id, int timeoutMs = -1);
    int indexOfId(int64_t id, unsigned startIndex = 0);
    int64_t idAt(unsigned index) const { return index < count() ? ids_[index] : -1; }

    bool allowDuplicates = false;

  protected:
    void onStorageResized(unsigned oldCapacity, unsigned newCapacity) override;
    void onItemsMoved(unsigned from, unsigned to, unsigned n) override;
    void onItemsReversed() override;
    void onItemStored(unsigned index) override;
    void releaseItem(unsigned index, unaListReleaseMode mode) override;

  private:
    std::vector<int64_t> ids_;
};
