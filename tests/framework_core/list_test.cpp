#include <gtest/gtest.h>

#include "framework/core/alloc.h"
#include "framework/core/list.h"

namespace {

// Counts its own destruction so a test can see which items a list freed.
struct Tracked : unaObject {
    explicit Tracked(int& freed, int64_t id = 0) : freed_(freed), id(id) {}
    ~Tracked() override { ++freed_; }
    int& freed_;
    int64_t id;
};

void* fake(uintptr_t n) {
    return reinterpret_cast<void*>(n);
}

TEST(List, CapacityGrowsAndShrinksInSteps) {
    struct Case {
        unsigned items;
        unsigned capacityFull;
        unsigned capacityAfterClear;
    };
    for (const Case c :
         {Case{1, 256, 256}, Case{257, 512, 512}, Case{300, 512, 512}, Case{5000, 5120, 0}}) {
        unaList list;
        for (unsigned i = 0; i < c.items; ++i) {
            list.add(fake(i + 1));
        }
        EXPECT_EQ(list.capacity(), c.capacityFull) << c.items;
        list.clear();
        EXPECT_EQ(list.count(), 0u);
        EXPECT_EQ(list.capacity(), c.capacityAfterClear) << c.items;
    }
}

TEST(List, InsertBoundsAndOutOfRangeAccess) {
    unaList list;
    EXPECT_EQ(list.insert(0, fake(1)), 0);
    EXPECT_EQ(list.insert(1, fake(3)), 1);  // at count: appends
    EXPECT_EQ(list.insert(1, fake(2)), 1);
    EXPECT_EQ(list.insert(4, fake(9)), -1);  // past count
    ASSERT_EQ(list.count(), 3u);
    for (unsigned i = 0; i < 3; ++i) {
        EXPECT_EQ(list.get(i), fake(i + 1));
    }
    EXPECT_EQ(list.get(3), nullptr);
    EXPECT_FALSE(list.removeAt(3));
    EXPECT_EQ(list.indexOf(fake(3)), 2);
    EXPECT_TRUE(list.remove(fake(2)));
    EXPECT_EQ(list.indexOf(fake(2)), -1);
}

TEST(List, DataEventFollowsAddAndEmptying) {
    unaList list;
    list.add(fake(1));
    EXPECT_TRUE(list.dataEvent().waitFor(0));
    list.add(fake(2));
    list.removeAt(1);
    list.removeAt(0);
    EXPECT_FALSE(list.dataEvent().waitFor(0));
}

TEST(ObjectList, ReleaseModesFreeByOwnership) {
    struct Case {
        bool autoFree;
        unaListReleaseMode mode;
        int expectFreed;
    };
    for (const Case c : {Case{true, unaListReleaseMode::freeIfOwned, 1},
                         Case{false, unaListReleaseMode::freeIfOwned, 0},
                         Case{false, unaListReleaseMode::freeItem, 1},
                         Case{true, unaListReleaseMode::keepItem, 0}}) {
        int freed = 0;
        auto item = std::make_unique<Tracked>(freed);
        unaObjectList list(c.autoFree);
        list.add(item.get());
        list.removeAt(0, c.mode);
        EXPECT_EQ(freed, c.expectFreed) << c.autoFree << int(c.mode);
        if (freed == 1) {
            item.release();  // the list has freed it
        }
    }
}

TEST(ObjectList, OwningListFreesItsItemsOnDestruction) {
    int freed = 0;
    {
        unaObjectList list(true);
        for (int i = 0; i < 3; ++i) {
            list.add(std::make_unique<Tracked>(freed).release());
        }
    }
    EXPECT_EQ(freed, 3);
}

struct TrackedIdList : unaIdList {
    TrackedIdList() : unaIdList(true) {}
    int64_t getId(const void* item) const override { return static_cast<const Tracked*>(item)->id; }
};

TEST(IdList, OneItemPerIdUnlessDuplicatesAllowed) {
    int freed = 0;
    TrackedIdList list;
    auto* first = new Tracked(freed, 7);
    list.add(first);
    list.add(new Tracked(freed, 8));
    auto* replacement = new Tracked(freed, 7);
    list.add(replacement);
    EXPECT_EQ(freed, 1);  // the first item with id 7 went
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(list.itemById(7), replacement);
    EXPECT_EQ(list.indexOfId(8), 0);

    list.allowDuplicates = true;
    list.insert(0, new Tracked(freed, 7));
    EXPECT_EQ(list.indexOfId(7), 0);
    EXPECT_EQ(list.indexOfId(7, 1), 2);
    EXPECT_EQ(list.idAt(1), 8);
    list.removeAt(0);
    EXPECT_EQ(list.idAt(0), 8);
    EXPECT_EQ(list.itemById(99), nullptr);
}

TEST(StringList, NameValueEntries) {
    unaStringList list;
    list.addString("Rate=44100");
    list.addString("plain text");
    EXPECT_EQ(list.getStringAt(1), "plain text");
    EXPECT_EQ(list.getStringAt(5), "");
    EXPECT_EQ(list.indexOfName("rate"), 0);
    EXPECT_EQ(list.getValue("RATE"), "44100");
    EXPECT_EQ(list.indexOfName("plain"), -1);
    list.setValue("rate", "48000");
    list.setValue("bits", "16");
    EXPECT_EQ(list.getStringAt(0), "rate=48000");
    EXPECT_EQ(list.getValue("bits"), "16");
    EXPECT_EQ(list.count(), 3u);
}

TEST(Alloc, RoundsToBlocksAndKeepsBlockWithinOne) {
    void* block = reallocRounded(nullptr, 0, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reallocRounded(block, 10, 500), block);  // same 512-byte block
    EXPECT_EQ(roundedAllocSize(513), 1024u);
    block = reallocRounded(block, 500, 513);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reallocRounded(block, 513, 0), nullptr);
}

}  // namespace
