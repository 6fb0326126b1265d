#include "settings/Settings.h"

#include "platform/RuntimeError.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace palisade {
namespace {

TEST(ToNumber, ReadsDecimalNumbersWithSurroundingBlanks) {
    EXPECT_EQ(ToNumber("0"), 0);
    EXPECT_EQ(ToNumber("1"), 1);
    EXPECT_EQ(ToNumber("-1"), -1);
    EXPECT_EQ(ToNumber(" 2 "), 2);
    EXPECT_EQ(ToNumber("+3"), 3);
    EXPECT_EQ(ToNumber("0.5"), 0.5);
}

TEST(ToNumber, AnythingElseIsATypeMismatch) {
    for (const char* text : {"abc", "", " ", "1a", "inf", "nan", "--1", "1 2"}) {
        SCOPED_TRACE(text);
        try {
            ToNumber(text);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_STREQ(e.what(), "Type mismatch");
        }
    }
}

TEST(SettingsView, UsesTheProgramsSectionAndTheKeysDefaults) {
    test::MemorySettingsStore store;
    Settings settings(store);
    EXPECT_EQ(settings.read(keys::BlockOnStart), "0");
    EXPECT_EQ(settings.read(keys::WindowsStartup), "Off");
    EXPECT_EQ(settings.read(keys::Password), "");
    settings.write(keys::Minimized, "On");
    EXPECT_EQ(store.values.count({"Quillmoor", "Palisade Software", "Minimized"}), 1u);
    EXPECT_TRUE(settings.isOn(keys::Minimized));
    store.set("Minimized", "on");
    EXPECT_FALSE(settings.isOn(keys::Minimized));
}

} // namespace
} // namespace palisade
