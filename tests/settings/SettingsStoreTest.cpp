#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <optional>

#include "platform/Errors.h"
#include "tests/settings/SettingsFileFixture.h"
#include "tests/support/CommaLocale.h"
#include "tests/support/TestFiles.h"

namespace vireon {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// No file, and files users wrote by hand: what Load makes of them, and what an unchanged Save
// writes back.
TEST_F(SettingsFile, HandWrittenFilesLoadAndRewrite) {
    const struct {
        const char* name;
        std::optional<std::string> file;
        Placement loaded;
        std::string saved;
    } cases[] = {
        {"no file", std::nullopt, Defaults, SixDefaultLines},
        {"empty file", "", Defaults, SixDefaultLines},
        {"key in other letter case keeps its place and takes the registered spelling",
         "[Main]\r\nwindowtop=200\r\nOther=x\r\n", Values(1, 200, 0, 0, 0, true),
         "[Main]\r\nWindowTop=200\r\nOther=x\r\nBlockLenMultipler=1\r\nWindowLeft=0\r\n"
         "WindowWidth=0\r\nWindowHeight=0\r\nWindowMaximized=on\r\n"},
        {"blank before = is another key", "WindowTop =200\r\n", Defaults,
         "WindowTop =200\r\n" + SixDefaultLines},
        {"blank after = belongs to the value", "WindowTop= 200\r\nWindowLeft=\t-3x\r\n",
         Values(1, 200, -3, 0, 0, true),
         "WindowTop=200\r\nWindowLeft=-3\r\nBlockLenMultipler=1\r\nWindowWidth=0\r\n"
         "WindowHeight=0\r\nWindowMaximized=on\r\n"},
        {"empty value means the default", "BlockLenMultipler=\r\nWindowMaximized=\r\n", Defaults,
         "BlockLenMultipler=1\r\nWindowMaximized=on\r\nWindowTop=0\r\nWindowLeft=0\r\n"
         "WindowWidth=0\r\nWindowHeight=0\r\n"},
        {"first of two lines wins, the second stays", "WindowLeft=5\r\nWINDOWLEFT=9\r\n",
         Values(1, 0, 5, 0, 0, true),
         "WindowLeft=5\r\nWINDOWLEFT=9\r\nBlockLenMultipler=1\r\nWindowTop=0\r\nWindowWidth=0\r\n"
         "WindowHeight=0\r\nWindowMaximized=on\r\n"},
        {"all line end forms, last line without one", "A=1\nWindowTop=7\rB\n\rC\r\nWindowLeft=8",
         Values(1, 7, 8, 0, 0, true),
         "A=1\r\nWindowTop=7\r\nB\r\n\r\nC\r\nWindowLeft=8\r\nBlockLenMultipler=1\r\n"
         "WindowWidth=0\r\nWindowHeight=0\r\nWindowMaximized=on\r\n"},
        {"nothing after a NUL survives", std::string("WindowTop=3\r\nX=1\0WindowLeft=4\r\n", 32),
         Values(1, 3, 0, 0, 0, true),
         "WindowTop=3\r\nX=1\r\nBlockLenMultipler=1\r\nWindowLeft=0\r\nWindowWidth=0\r\n"
         "WindowHeight=0\r\nWindowMaximized=on\r\n"},
        {"integers wrap, lenient reading",
         "BlockLenMultipler=4294967297\r\nWindowTop=-2147483648\r\nWindowLeft=  -35\r\n"
         "WindowWidth=12abc\r\nWindowHeight=abc\r\nWindowMaximized=on\r\n",
         Values(1, std::numeric_limits<int32_t>::min(), -35, 12, 0, true),
         "BlockLenMultipler=1\r\nWindowTop=-2147483648\r\nWindowLeft=-35\r\nWindowWidth=12\r\n"
         "WindowHeight=0\r\nWindowMaximized=on\r\n"},
        {"only exact on is true", "WindowMaximized=On\r\n", Values(1, 0, 0, 0, 0, false),
         "WindowMaximized=off\r\nBlockLenMultipler=1\r\nWindowTop=0\r\nWindowLeft=0\r\n"
         "WindowWidth=0\r\nWindowHeight=0\r\n"},
        {"later = belong to the value; lines without = never match",
         "WindowTop\r\nOther=a=b\r\nWindowTop=5=6\r\n", Values(1, 5, 0, 0, 0, true),
         "WindowTop\r\nOther=a=b\r\nWindowTop=5\r\nBlockLenMultipler=1\r\nWindowLeft=0\r\n"
         "WindowWidth=0\r\nWindowHeight=0\r\nWindowMaximized=on\r\n"},
        {"blank lines and sections keep their text and order",
         "\r\n[One]\r\n\r\nWindowHeight=480\r\n[Two]\r\n\r\n", Values(1, 0, 0, 0, 480, true),
         "\r\n[One]\r\n\r\nWindowHeight=480\r\n[Two]\r\n\r\nBlockLenMultipler=1\r\nWindowTop=0\r\n"
         "WindowLeft=0\r\nWindowWidth=0\r\nWindowMaximized=on\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(path);
        if (c.file) WriteBytes(path, *c.file);
        SettingsStore store;
        Placement values;
        Prepare(store, values);
        store.Load();
        EXPECT_EQ(values, c.loaded);
        store.Save();
        EXPECT_EQ(ReadBytes(path), c.saved);
        EXPECT_EQ(dir.Entries(), std::set<std::string>{"okaven.ini"});
    }
}

TEST_F(SettingsFile, SavedValuesReplaceTheFirstMatchingLineInPlace) {
    WriteBytes(path, "x=1\r\nwindowleft=5\r\nWindowLeft=9\r\ny=2\r\n");
    SettingsStore store;
    Placement values;
    Prepare(store, values);
    store.Load();
    values = Values(4, -10, 77, 1024, 768, false);
    store.Save();
    EXPECT_EQ(ReadBytes(path),
              "x=1\r\nWindowLeft=77\r\nWindowLeft=9\r\ny=2\r\nBlockLenMultipler=4\r\n"
              "WindowTop=-10\r\nWindowWidth=1024\r\nWindowHeight=768\r\nWindowMaximized=off\r\n");

    SettingsStore again;
    Placement reread;
    Prepare(again, reread);
    again.Load();
    EXPECT_EQ(reread, values);
}

TEST_F(SettingsFile, AnyNonZeroByteSavesAsOn) {
    SettingsStore store;
    unsigned char flag = 2;  // a byte some owner set to something other than 1
    store.FileName = path;
    store.Register("Flag", SettingKind::Boolean, "off", &flag);
    store.Save();
    EXPECT_EQ(ReadBytes(path), "Flag=on\r\n");
}

// One binding under "Key": the file before, the value Load gives, the value then saved, the
// file Save writes and the value a second Load gives.
template <class T>
void CheckOneKey(const std::string& path, const char* name, SettingKind kind, const char* fallback,
                 const std::string& before, T loaded, T saved, const std::string& after,
                 T reloaded) {
    SCOPED_TRACE(name);
    WriteBytes(path, before);
    T value{};
    SettingsStore store;
    store.FileName = path;
    store.Register("Key", kind, fallback, &value);
    store.Load();
    EXPECT_EQ(value, loaded);
    value = saved;
    store.Save();
    EXPECT_EQ(ReadBytes(path), after);
    store.Load();
    EXPECT_EQ(value, reloaded);
}

TEST_F(SettingsFile, OneKeyOfEachKindLoadsSavesAndReloads) {
    using Text = std::string;
    CheckOneKey<Text>(path, "CR LF saved escaped", SettingKind::Text, "none", "", "none",
                      "first\r\nsecond", "Key=first\\r\\nsecond\r\n", "first\r\nsecond");
    CheckOneKey<Text>(path, "escapes typed by hand", SettingKind::Text, "none",
                      "Key=C:\\r\\nD:\\x\r\n", "C:\r\nD:\\x", "C:\r\nD:\\x",
                      "Key=C:\\r\\nD:\\x\r\n", "C:\r\nD:\\x");
    CheckOneKey<Text>(path, "lone LF splits the line at the next load", SettingKind::Text, "none",
                      "", "none", "a\nb", "Key=a\nb\r\n", "a");
    CheckOneKey<Text>(path, "empty text removes its line so the default returns", SettingKind::Text,
                      "fallback", "Before=1\r\nKey=old\r\nAfter=2\r\n", "old", "",
                      "Before=1\r\nAfter=2\r\n", "fallback");
    CheckOneKey(path, "small real", SettingKind::Real, "0.5", "", 0.5, 1e-7, "Key=1E-07\r\n", 1e-7);
    CheckOneKey(path, "big real", SettingKind::Real, "0", "", 0.0, -6.02214076e23,
                "Key=-6.02214076E+23\r\n", -6.02214076e23);
    CheckOneKey(path, "non-finite real removes its line so the default returns", SettingKind::Real,
                "1.25", "Key=2.5\r\nOther=1\r\n", 2.5, std::numeric_limits<double>::infinity(),
                "Other=1\r\n", 1.25);
    // Unknown kinds are neither loaded nor saved, whether the file has the key or not.
    CheckOneKey(path, "unknown kind", static_cast<SettingKind>(7), "1", "Key=5\r\n", 0, 9,
                "Key=5\r\n", 9);
    CheckOneKey(path, "negative kind", static_cast<SettingKind>(-1), "1", "", 0, 9, "", 9);
}

TEST_F(SettingsFile, BadRealStopsLoadThere) {
    int32_t first = 0, last = 0;
    double middle = 0;
    SettingsStore bad;
    bad.FileName = path;
    bad.Register("First", SettingKind::Integer, "0", &first);
    bad.Register("Middle", SettingKind::Real, "0", &middle);
    bad.Register("Last", SettingKind::Integer, "0", &last);
    WriteBytes(path, "First=1\r\nMiddle=1,5\r\nLast=3\r\n");
    try {
        bad.Load();
        ADD_FAILURE() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'1,5' is not a valid floating point value");
    }
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 0);
}

TEST_F(SettingsFile, RealWithAnEmptyDefaultFailsWhenMissing) {
    double value = 0;
    SettingsStore store;
    store.FileName = path;
    store.Register("Gain", SettingKind::Real, "", &value);
    EXPECT_THROW(store.Load(), ConvertError);
}

TEST_F(SettingsFile, RealTextIgnoresTheUserLocale) {
    double value = 0.5;
    std::string written;
    {
        testing::CommaLocale locale;
        if (locale.name().empty()) GTEST_SKIP() << "no locale with a decimal comma is installed";
        SettingsStore store;
        store.FileName = dir / "real.ini";
        store.Register("Value", SettingKind::Real, "0", &value);
        store.Save();
        written = ReadBytes(store.FileName);
        value = 0;
        WriteBytes(store.FileName, "Value=2.75\r\n");
        store.Load();
    }
    EXPECT_EQ(written, "Value=0.5\r\n");
    EXPECT_EQ(value, 2.75);
}

TEST_F(SettingsFile, TwoBindingsOfOneKeyShareItsLine) {
    WriteBytes(path, "Shared=5\r\n");
    int32_t a = 0, b = 0;
    SettingsStore store;
    store.FileName = path;
    store.Register("Shared", SettingKind::Integer, "0", &a);
    store.Register("SHARED", SettingKind::Integer, "0", &b);
    store.Load();
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 5);
    a = 1;
    b = 2;
    store.Save();
    EXPECT_EQ(ReadBytes(path), "SHARED=2\r\n");
}

TEST(SettingsStoreRegister, HundredSlotsThenLengthError) {
    SettingsStore store;
    int32_t targets[SettingsCapacity + 1] = {};
    for (int i = 0; i < SettingsCapacity; ++i)
        store.Register("Key" + std::to_string(i), SettingKind::Integer, "0", &targets[i]);
    EXPECT_EQ(store.Count, SettingsCapacity);
    EXPECT_THROW(store.Register("Over", SettingKind::Text, "x", &targets[SettingsCapacity]),
                 std::length_error);
    EXPECT_EQ(store.Count, SettingsCapacity);
    EXPECT_EQ(store.Bindings[SettingsCapacity - 1].Key, "Key99");
    EXPECT_EQ(store.Bindings[SettingsCapacity - 1].Target, &targets[SettingsCapacity - 1]);
    // The full table still loads every slot.
    store.Load();
    EXPECT_TRUE(store.Lines.empty());
}

TEST_F(SettingsFile, DirectoryInPlaceLoadsDefaultsAndSaveFails) {
    std::filesystem::create_directory(path);
    SettingsStore store;
    Placement values;
    Prepare(store, values);
    store.Load();
    EXPECT_EQ(values, Defaults);
    try {
        store.Save();
        ADD_FAILURE() << "no error";
    } catch (const FileCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
    }
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"okaven.ini"});
}

}  // namespace
}  // namespace vireon
