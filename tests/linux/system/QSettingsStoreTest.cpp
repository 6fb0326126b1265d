#include "linux/system/QSettingsStore.h"

#include "PosixTestSupport.h"
#include "platform/RuntimeError.h"

#include <QCoreApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade {
namespace {

const std::string App = "Quillmoor";
const std::string Section = "Palisade Software";

// Points the user's configuration folder at a scratch folder before any test runs, so that no
// test can reach the real settings (Qt reads the location once per process).
// The system-wide configuration folders point at a scratch folder too, so that a test can plant
// files where a fallback would look.
class ScratchConfigHome : public ::testing::Environment {
public:
    void SetUp() override {
        folder_ = std::make_unique<test::TempFolder>();
        systemFolder_ = std::make_unique<test::TempFolder>();
        ::setenv("XDG_CONFIG_HOME", folder_->path().c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", systemFolder_->path().c_str(), 1);
    }
    void TearDown() override {
        folder_.reset();
        systemFolder_.reset();
    }
    static std::string path() { return std::getenv("XDG_CONFIG_HOME"); }
    static std::string systemPath() { return std::getenv("XDG_CONFIG_DIRS"); }

private:
    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<test::TempFolder> systemFolder_;
};

[[maybe_unused]] ::testing::Environment* const configHome =
    ::testing::AddGlobalTestEnvironment(new ScratchConfigHome);

std::vector<std::pair<std::string, std::string>> trickyValues() {
    std::string big(100 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 31 + 7);
    return {
        {"Password", "  spaced password  "},
        {"Blocked Websites", "a.example||My_Separator||b.example||My_Separator||"},
        {"Line breaks", "one\r\ntwo\nthree\r"},
        {"Invalid UTF-8", "caf\xe9 \xff\xfe\x80"},
        {"Valid UTF-8", "caf\xc3\xa9 \xe2\x82\xac"},
        {"Looks typed", "@ByteArray(x)"},
        {"At signs", "@@"},
        {"Looks like a list", "a, b, c"},
        {"INI syntax", "[section]\nkey=value ; comment\n#x \"quoted\" \\back\\slash"},
        {"NUL", std::string("before\0after", 12)},
        {"Number", "1"},
        {"Big", big},
        {"Empty", ""},
    };
}

TEST(QSettingsStore, ValuesComeBackByteForByteAcrossProcesses) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr) << "the store must work without one";
    {
        QSettingsStore store;
        for (const auto& [key, value] : trickyValues())
            store.write(App, Section, key, value);
        for (const auto& [key, value] : trickyValues()) {
            const std::string back = store.read(App, Section, key, "default");
            EXPECT_TRUE(back == value) << key << ": " << back.size() << " bytes back of "
                                       << value.size() << (back.size() < 100 ? ": " + back : "");
        }
    }
    // A fresh process reads the file itself rather than what this process still holds.
    const int status = test::runInChild([] {
        QSettingsStore store;
        for (const auto& [key, value] : trickyValues())
            if (store.read(App, Section, key, "default") != value)
                return false;
        return true;
    });
    EXPECT_EQ(status, 0);
}

TEST(QSettingsStore, AbsentKeySectionOrApplicationGivesTheDefault) {
    QSettingsStore store;
    store.write(App, Section, "Windows Startup", "On");
    EXPECT_EQ(store.read(App, Section, "Minimized", "Off"), "Off");
    EXPECT_EQ(store.read(App, "Other Section", "Windows Startup", "Off"), "Off");
    EXPECT_EQ(store.read("Other App", Section, "Windows Startup", ""), "");
    EXPECT_EQ(store.read(App, Section, "Windows Startup", "Off"), "On");

    store.write(App, Section, "Empty Password", "");
    EXPECT_EQ(store.read(App, Section, "Empty Password", "default"), "");
}

TEST(QSettingsStore, RewritingAKeyLeavesOneValueInTheUsersFile) {
    QSettingsStore store;
    store.write(App, Section, "BlockOnStart", "1");
    store.write(App, Section, "BlockOnStart", "0");
    store.write(App, Section, "BlockOnStart", "0");
    EXPECT_EQ(store.read(App, Section, "BlockOnStart", "x"), "0");

    const std::string file = ScratchConfigHome::path() + "/Quillmoor/Palisade Software.ini";
    const std::string text = test::slurp(file);
    size_t count = 0;
    for (auto at = text.find("BlockOnStart="); at != std::string::npos;
         at = text.find("BlockOnStart=", at + 1))
        ++count;
    EXPECT_EQ(count, 1u) << text;
}

TEST(QSettingsStore, NoFileButItsOwnCanSetAKey) {
    // An application of its own, so that no other test's writes answer for the planted files.
    const std::string app = "Planted";
    const std::string planted = "[Palisade%20Software]\nBlockOnStart=1\nPassword=planted\n";
    const std::string system = ScratchConfigHome::systemPath();
    ASSERT_EQ(::mkdir((system + "/" + app).c_str(), 0700), 0);
    for (const std::string& file :
         {ScratchConfigHome::path() + "/" + app + ".ini", system + "/" + app + ".ini",
          system + "/" + app + "/Palisade Software.ini"})
        test::spit(file, planted);

    QSettingsStore store;
    for (const char* when : {"before its own file exists", "beside its own file"}) {
        EXPECT_EQ(store.read(app, Section, "BlockOnStart", "absent"), "absent") << when;
        EXPECT_EQ(store.read(app, Section, "Password", "absent"), "absent") << when;
        store.write(app, Section, "Minimized", "On");
    }
}

TEST(QSettingsStore, FileIsOnlyReadableByItsOwner) {
    test::TempFolder dir;
    const mode_t before = ::umask(022);
    QSettingsStore store(dir.path());
    store.write(App, Section, "Password", "secret");
    const mode_t during = ::umask(before);

    const std::string file = dir / "Quillmoor/Palisade Software.ini";
    EXPECT_EQ(test::statOf(file).st_mode & 07777, 0600u);
    EXPECT_EQ(test::statOf(dir / "Quillmoor").st_mode & 077, 0u);
    EXPECT_EQ(during, 022u) << "the process umask is given back";

    // A file left wider by someone else is narrowed at the next write.
    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    store.write(App, Section, "Password", "other");
    EXPECT_EQ(test::statOf(file).st_mode & 07777, 0600u);
    EXPECT_EQ(test::entriesOf(dir / "Quillmoor"),
              std::vector<std::string>{"Palisade Software.ini"});
}

TEST(QSettingsStore, WriteThatCannotBeStoredThrows) {
    test::TempFolder dir;
    test::spit(dir / "a-file", "");
    QSettingsStore store(dir / "a-file"); // no folder can be made below a file
    EXPECT_THROW(store.write(App, Section, "Password", "secret"), RuntimeError);
    EXPECT_EQ(store.read(App, Section, "Password", "none"), "none");
}

} // namespace
} // namespace palisade
