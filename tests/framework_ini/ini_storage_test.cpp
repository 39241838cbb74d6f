#include <gtest/gtest.h>

#include <thread>

#include "framework/core/event.h"
#include "framework/ini/ini_file.h"
#include "platform/profile/simulated_profile_service.h"

namespace {

const std::filesystem::path kFile = "/settings/quillanvero.ini";

// A store on a simulated file, so each test states the file's text exactly.
class IniStorageTest : public ::testing::Test {
  protected:
    std::unique_ptr<unaIniFile> makeStore(std::uint32_t lockTimeout = 1000) {
        return std::make_unique<unaIniFile>(kFile.string(), "settings", lockTimeout, true,
                                            IniFileEnvironment{}, profiles_);
    }
    void setFile(const std::string& text) { profiles_.setFileText(kFile, text); }
    std::string file() { return profiles_.fileText(kFile).value_or("<none>"); }

    qv::profile::SimulatedProfileService profiles_;
};

struct TypedCase {
    const char* stored;  // nullptr: the key is absent
    std::int32_t intDefault;
    std::int32_t expectedInt;
    std::int64_t expectedInt64;  // with the same default
    bool boolDefault;
    bool expectedBool;
};

class TypedRead : public IniStorageTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedRead, AppliesTheDefaultOnlyToAbsentOrMalformedText) {
    const auto& c = GetParam();
    setFile(c.stored ? std::string("[settings]\nkey=") + c.stored + "\n" : "[settings]\n");
    auto store = makeStore();
    EXPECT_EQ(store->getInt("key", c.intDefault), c.expectedInt);
    EXPECT_EQ(store->getInt64("key", c.intDefault), c.expectedInt64);
    EXPECT_EQ(store->getBool("key", c.boolDefault), c.expectedBool);
}

INSTANTIATE_TEST_SUITE_P(Cases, TypedRead,
                         ::testing::Values(TypedCase{nullptr, 44100, 44100, 44100, true, true},
                                           TypedCase{"", 16, 16, 16, false, false},
                                           TypedCase{"0", 16, 0, 0, true, false},
                                           TypedCase{"4294967295", -1, -1, 4294967295, false, true},
                                           TypedCase{"-1", 0, -1, -1, false, true},
                                           TypedCase{"2", 0, 2, 2, false, true},
                                           TypedCase{"true", 5, 5, 5, false, false},
                                           TypedCase{"$AC44", 0, 44100, 44100, false, true},
                                           TypedCase{"1A", 0, 20, 20, false, true},
                                           TypedCase{"2300,5", 4, 4, 4, false, false},
                                           // Low 32 bits all zero: false, and getInt reads 0.
                                           TypedCase{"4294967296", 7, 0, 4294967296, true, false}));

TEST_F(IniStorageTest, AbsentZeroAndEmptyAreDistinct) {
    setFile("[settings]\nzero=0\nempty=\nquoted=\"0\"\n");
    auto store = makeStore();
    EXPECT_EQ(store->getString("absent", "d"), "d");
    EXPECT_EQ(store->getString("absent"), "");
    EXPECT_EQ(store->getString("zero"), "0");
    EXPECT_EQ(store->getString("zero", "d"), "0");
    EXPECT_EQ(store->getString("empty", "d"), "");
    EXPECT_EQ(store->getString("  quoted\t"), "0");
}

TEST_F(IniStorageTest, MissingFileReadsDefaults) {
    auto store = makeStore();
    store->setSection("waveOut");
    EXPECT_EQ(store->getInt("deviceId", -1), -1);
    EXPECT_EQ(store->getString("fileName"), "");
}

TEST_F(IniStorageTest, SettersWriteTheirForms) {
    auto store = makeStore();
    store->setSection("waveOut");
    EXPECT_TRUE(store->setUnsigned("deviceId", static_cast<std::uint32_t>(-1)));
    EXPECT_TRUE(store->setInt("left", -20));
    EXPECT_TRUE(store->setBool("on", true));
    EXPECT_TRUE(store->setBool("off", false));
    EXPECT_TRUE(store->setString("fileName", ""));
    EXPECT_EQ(file(), "[waveOut]\ndeviceId=4294967295\nleft=-20\non=-1\noff=0\nfileName=\n");
    EXPECT_EQ(store->getInt("deviceId", 0), -1);
    EXPECT_TRUE(store->getBool("on", false));
    EXPECT_EQ(store->getString("fileName", "x"), "");
}

TEST_F(IniStorageTest, LostWriteIsReported) {
    setFile("[settings]\nk=1\n");
    profiles_.setWritesFail(true);
    auto store = makeStore();
    EXPECT_FALSE(store->setInt("k", 2));
    EXPECT_EQ(store->getInt("k", 0), 1);
}

TEST_F(IniStorageTest, EmptySectionNameBecomesABlank) {
    auto store = makeStore();
    store->setSection("");
    EXPECT_EQ(store->section(), " ");
}

TEST_F(IniStorageTest, EnterSwitchesSectionAndLeaveRestoresIt) {
    setFile("[settings]\nk=1\n[waveIn]\nk=2\n");
    auto store = makeStore();
    std::string previous;
    ASSERT_TRUE(store->enter("waveIn", &previous));
    EXPECT_EQ(previous, "settings");
    EXPECT_EQ(store->getInt("k", 0), 2);
    store->leave(previous);
    EXPECT_EQ(store->section(), "settings");
    EXPECT_EQ(store->getInt("k", 0), 1);
}

TEST_F(IniStorageTest, LongValuesAreCut) {
    setFile("[settings]\nk=" + std::string(20000, 'v') + "\n");
    EXPECT_EQ(makeStore()->getString("k").size(), unaIniFile::kMaxValueLength);
}

TEST_F(IniStorageTest, SectionText) {
    setFile("[a]\nx=1\n; c\ny = 2\n[b]\nz=3\n");
    auto store = makeStore();
    EXPECT_EQ(store->readSectionText("A"), "x=1\r\ny = 2\r\n");
    EXPECT_EQ(store->readSectionText("none"), "");
    EXPECT_TRUE(store->writeSectionText("a", "k=v\r\n\r\nw=u\rlast=1"));
    EXPECT_EQ(file(), "[a]\nk=v\nw=u\nlast=1\n[b]\nz=3\n");
}

// Another thread holds the gate for as long as the test needs.
class GateHolder {
  public:
    explicit GateHolder(unaIniAbstractStorage& store)
        : thread_([this, &store] {
              store.enter("other");
              held_.setState();
              release_.waitFor(10000);
              store.leave();
          }) {
        held_.waitFor(10000);
    }
    ~GateHolder() {
        release_.setState();
        thread_.join();
    }

  private:
    unaEvent held_;
    unaEvent release_;
    std::thread thread_;
};

TEST_F(IniStorageTest, BusyGateGivesDefaultsAndKeepsTheSection) {
    setFile("[settings]\nk=5\n[other]\nk=6\n");
    auto store = makeStore(20);
    {
        GateHolder holder(*store);
        EXPECT_EQ(store->getInt("k", -3), -3);
        EXPECT_EQ(store->getString("k", "d"), "");
        EXPECT_FALSE(store->enter({}, nullptr, 5));
        store->setSection("waveIn");
        EXPECT_EQ(store->section(), "other");
        // Writes do not wait for the gate.
        EXPECT_TRUE(store->setInt("w", 1));
    }
    EXPECT_EQ(store->getInt("k", 0), 6);
    EXPECT_EQ(profiles_.findString(kFile, "other", "w"), "1");
}

TEST_F(IniStorageTest, ThreadsWithTheirOwnSectionsReadTheirOwnValues) {
    setFile("[a]\nk=1\n[b]\nk=2\n");
    auto store = makeStore();
    std::vector<std::thread> readers;
    for (const std::string section : {"a", "b"}) {
        readers.emplace_back([&store, section] {
            for (int i = 0; i < 50; ++i) {
                std::string previous;
                ASSERT_TRUE(store->enter(section, &previous, 10000));
                EXPECT_EQ(store->getInt("k", 0), section == "a" ? 1 : 2);
                store->leave(previous);
            }
        });
    }
    for (auto& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(store->section(), "settings");
}

}  // namespace
