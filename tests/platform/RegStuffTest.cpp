#include "platform/RegStuff.h"

#include "support/FakeRegistry.h"
#include "support/Fakes.h"

#include <cctype>
#include <gtest/gtest.h>
#include <ostream>

namespace palisade::test {
namespace {

using Value = FakeRegistry::Value;
using namespace std::string_literals;

struct RegStuffTest : ::testing::Test {
    FakeRegistry registry;
    FakeSystemInfo system;
    RegStuff reg{registry, system};
};

struct RunPathCase {
    std::string separator;
    std::string folder;
    std::string name;
    std::string expected;
};

// Test runners name each case after this: plain characters only, and no addresses.
void PrintTo(const RunPathCase& c, std::ostream* os) {
    const std::string& text = c.folder;
    static const char hex[] = "0123456789ABCDEF";
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (std::isalnum(byte))
            *os << ch;
        else
            *os << '_' << hex[byte >> 4] << hex[byte & 15];
    }
}

class AddToRunKeyPath : public RegStuffTest, public ::testing::WithParamInterface<RunPathCase> {};

TEST_P(AddToRunKeyPath, StoresFolderOneSeparatorAndNameUnquotedWithItsNul) {
    const auto& c = GetParam();
    system.sep = c.separator;
    system.program = c.folder;
    reg.AddToRunKey(c.name);
    EXPECT_EQ(registry.run(), (std::map<std::string, Value>{{c.name, {RegTypeSz, c.expected}}}));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, AddToRunKeyPath,
    ::testing::Values(RunPathCase{"\\", "C:\\Program Files\\Pal isade", "Palisade.exe",
                                  "C:\\Program Files\\Pal isade\\Palisade.exe\0"s},
                      RunPathCase{"\\", "C:\\", "Palisade.exe", "C:\\Palisade.exe\0"s},
                      RunPathCase{"/", "/", "palisade", "/palisade\0"s},
                      RunPathCase{"/", "/opt/pal isade", "palisade",
                                  "/opt/pal isade/palisade\0"s}));

TEST_F(RegStuffTest, OpensTheMachineRunKeyExactlyWithFullAccessAndClosesIt) {
    registry.existingKeys = {
        {HiveLocalMachine, "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\"}};
    reg.AddToRunKey("Palisade.exe");
    EXPECT_EQ(registry.run().size(), 1u);
    EXPECT_EQ(registry.lastAccess, 0x3Fu);
    reg.RemoveFromRunKey("Palisade.exe");
    EXPECT_TRUE(registry.run().empty());
    EXPECT_EQ(registry.lastAccess, 0x3Fu);
    EXPECT_TRUE(registry.openKeys.empty());
}

TEST_F(RegStuffTest, ReplacesTheDataOfAnExistingValue) {
    registry.run()["Palisade.exe"] = {RegTypeSz, "D:\\old\\Palisade.exe\0"s};
    reg.AddToRunKey("Palisade.exe");
    EXPECT_EQ(registry.run().at("Palisade.exe").data,
              "C:\\Program Files\\Palisade\\Palisade.exe\0"s);
}

TEST_F(RegStuffTest, RemovesOnlyTheNamedValueAndAMissingOneSilently) {
    registry.run()["Palisade.exe"] = {RegTypeSz, "x\0"s};
    registry.run()["Uninstall.exe"] = {RegTypeSz, "y\0"s};
    EXPECT_EQ(reg.RemoveFromRunKey("Palisade.exe"), RegSuccess);
    EXPECT_EQ(reg.RemoveFromRunKey("Palisade.exe"), RegSuccess); // nothing left to remove
    EXPECT_EQ(registry.run(),
              (std::map<std::string, Value>{{"Uninstall.exe", {RegTypeSz, "y\0"s}}}));
    EXPECT_TRUE(registry.openKeys.empty());
}

TEST_F(RegStuffTest, AUserWithoutWriteAccessChangesNothingAndGetsTheOpensRefusal) {
    registry.run()["Palisade.exe"] = {RegTypeSz, "old\0"s};
    registry.denyWrite = true;
    EXPECT_EQ(reg.AddToRunKey("Palisade.exe"), RegAccessDenied);
    EXPECT_EQ(reg.RemoveFromRunKey("Palisade.exe"), RegAccessDenied);
    EXPECT_EQ(registry.run().at("Palisade.exe").data, "old\0"s);
    EXPECT_TRUE(registry.openKeys.empty());
}

TEST_F(RegStuffTest, AMissingKeyIsNeverCreated) {
    // Keys a careless write could reach instead: the Run key spelt without its trailing
    // backslash, and the current user's Run key.
    const std::uint32_t hiveCurrentUser = 0x80000001;
    registry.existingKeys = {
        {HiveLocalMachine, "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN"},
        {hiveCurrentUser, RunSubKey}};
    CallLog log;
    registry.log = &log;
    reg.AddToRunKey("Palisade.exe");
    EXPECT_TRUE(registry.values.empty());
    for (const std::string& call : log.calls)
        EXPECT_TRUE(!call.starts_with("openKey") || call == std::string("openKey ") + RunSubKey)
            << call;
    EXPECT_TRUE(registry.openKeys.empty());
}

TEST_F(RegStuffTest, SetRegValueConvertsToTheTypeAskedFor) {
    Registry::Key key = Registry::NoKey;
    ASSERT_EQ(registry.openKey(HiveLocalMachine, RunSubKey, KeyAllAccess, key), RegSuccess);

    EXPECT_EQ(reg.SetRegValue(key, "text from number", RegTypeSz, std::int32_t{-7}), RegSuccess);
    EXPECT_EQ(reg.SetRegValue(key, "dword", RegTypeDword, std::int32_t{0x01020304}), RegSuccess);
    EXPECT_EQ(reg.SetRegValue(key, "dword from text", RegTypeDword, std::string(" 258 ")),
              RegSuccess);
    EXPECT_EQ(reg.SetRegValue(key, "negative", RegTypeDword, std::int32_t{-2}), RegSuccess);
    EXPECT_EQ(reg.SetRegValue(key, "binary", 3, std::string("ignored")), RegSuccess);

    EXPECT_EQ(registry.run(), (std::map<std::string, Value>{
                                  {"text from number", {RegTypeSz, "-7\0"s}},
                                  {"dword", {RegTypeDword, "\x04\x03\x02\x01"s}},
                                  {"dword from text", {RegTypeDword, "\x02\x01\0\0"s}},
                                  {"negative", {RegTypeDword, "\xFE\xFF\xFF\xFF"s}},
                              }));
    registry.closeKey(key);
}

TEST_F(RegStuffTest, SetRegValueReturnsTheStatusOfTheWrite) {
    EXPECT_EQ(reg.SetRegValue(Registry::NoKey, "Palisade.exe", RegTypeSz, std::string("x")),
              RegInvalidHandle);
}

TEST_F(RegStuffTest, TextThatIsNoIntegerFailsOutwardButStillClosesTheKey) {
    EXPECT_THROW(
        reg.WriteRegValue(HiveLocalMachine, RunSubKey, "n", std::string("12abc"), RegTypeDword),
        RuntimeError);
    EXPECT_THROW(reg.WriteRegValue(HiveLocalMachine, RunSubKey, "n", std::string("4294967296"),
                                   RegTypeDword),
                 RuntimeError);
    EXPECT_TRUE(registry.openKeys.empty());
    EXPECT_TRUE(registry.run().empty());
}

} // namespace
} // namespace palisade::test
