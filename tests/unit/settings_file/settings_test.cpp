// The settings file through the real file seam: defaults and fallbacks of LoadSettings, the number
// rules, the 255-byte cut, and saves that never damage the old file.
#include "settings_file/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/file_io.h"
#include "settings_file/ini_access.h"

namespace kovaren {
namespace {

namespace fs = std::filesystem;

void PutFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kovaren-settings-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    ini_ = (dir_ / "Kovaren.ini").string();
    music_ = (dir_ / "song.mp3").string();
    PutFile(music_, "ID3");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The settings section with the given lines; "%MUSIC%" stands for the path of an existing file.
  void PutSettings(std::string lines) {
    for (size_t at; (at = lines.find("%MUSIC%")) != std::string::npos;) lines.replace(at, 7, music_);
    PutFile(ini_, "[Section]\r\n" + lines);
  }

  FileSystem& files_ = PlatformFileSystem();
  fs::path dir_;
  std::string ini_;
  std::string music_;
};

#define KIND "BGM\x8B\xE6\x95\xAA="
#define REPEAT "BGM\xD8\xCB\xDF\xB0\xC4="
#define FILE_KEY "BGM\xCC\xA7\xB2\xD9="
#define LEAVES "\x82\xE0\x82\xDD\x82\xB6="

TEST_F(SettingsFile, LoadAppliesEveryDefaultAndFallback) {
  struct Case {
    const char* what;
    std::optional<std::string> lines;  // nothing: no settings file at all
    int16_t leaves, kind, repeat;
    bool keepsMusic;  // bgmFile is the music path (plus `musicSuffix`), else empty
    std::string musicSuffix;
  };
  const Case cases[] = {
      {"no file", std::nullopt, 100, 0, 0, false, ""},
      {"empty file", "", 100, 0, 0, false, ""},
      {"as the dialog writes it", KIND " 2\r\n" REPEAT " 0\r\n" FILE_KEY "%MUSIC%\r\n" LEAVES " 250\r\n", 250, 2, 0, true, ""},
      {"empty leaf count", LEAVES "\r\n", 100, 0, 0, false, ""},
      {"leaf count abc", LEAVES "abc\r\n", 0, 0, 0, false, ""},
      {"leaf count 250.9", LEAVES "250.9\r\n", 250, 0, 0, false, ""},
      {"leaf count 99999", LEAVES "99999\r\n", 0, 0, 0, false, ""},
      {"leaf count below zero kept", LEAVES "-1.5\r\n", -2, 0, 0, false, ""},
      {"kind 2, music file missing", KIND "2\r\n" FILE_KEY "/no/such/song.mp3\r\n", 100, 0, 0, false, ""},
      {"kind 2, no music file", KIND "2\r\n", 100, 0, 0, false, ""},
      {"kind 1, no music file", KIND "1\r\n" FILE_KEY "\r\n", 100, 1, 0, false, ""},
      {"kind 1, music file missing", KIND "1\r\n" FILE_KEY "/no/such\r\n", 100, 1, 0, false, ""},
      {"trailing backslash kept when the file exists", KIND "2\r\n" FILE_KEY "%MUSIC%\\\r\n", 100, 2, 0, true, "\\"},
      {"kinds and tracks stay as read", KIND "7\r\n" REPEAT "99\r\n", 100, 7, 99, false, ""},
      {"unreadable numbers leave fields alone", KIND "x\r\n" REPEAT "1e9\r\n", 100, 0, 0, false, ""},
      {"keys in other letter case", "bgm\x8B\xE6\x95\xAA= 1\r\nBgm\xD8\xCB\xDF\xB0\xC4= 3\r\n", 100, 1, 3, false, ""},
  };
  for (const auto& c : cases) {
    fs::remove(ini_);
    if (c.lines) PutSettings(*c.lines);
    Settings s;
    LoadSettings(s, ini_, files_);
    EXPECT_EQ(s.leafCount, c.leaves) << c.what;
    EXPECT_EQ(s.bgmKind, c.kind) << c.what;
    EXPECT_EQ(s.bgmRepeat, c.repeat) << c.what;
    EXPECT_EQ(s.bgmFile, c.keepsMusic ? music_ + c.musicSuffix : "") << c.what;
  }
}

TEST_F(SettingsFile, LongMusicPathIsCutAndDropped) {
  // A file that exists at a path longer than 255 bytes: the read value is cut, so the check fails.
  const fs::path deep = dir_ / std::string(150, 'd') / std::string(150, 'e');
  fs::create_directories(deep);
  const std::string longPath = (deep / "song.mp3").string();
  PutFile(longPath, "ID3");
  PutFile(ini_, "[Section]\r\n" KIND "2\r\n" FILE_KEY + longPath + "\r\n");
  Settings s;
  LoadSettings(s, ini_, files_);
  EXPECT_EQ(s.bgmFile, "");
  EXPECT_EQ(s.bgmKind, bgm::kNone);
  EXPECT_EQ(ReadIniString(kSettingsSection, kKeyBgmFile, ini_, files_), longPath.substr(0, 255));
}

TEST_F(SettingsFile, ReadCutsAt255BytesWithoutSplittingACharacter) {
  const std::string a254(254, 'a');
  struct Case {
    std::string stored, read;
  };
  const Case cases[] = {
      {std::string(300, 'x'), std::string(255, 'x')},
      {a254 + "\x83\x41zz", a254},  // "ア" would need bytes 255 and 256
      {a254 + "b\x83\x41", a254 + "b"},
      {std::string("a\0b", 3), "a"},  // a buffer's text ends at its NUL
  };
  for (const auto& c : cases) {
    PutFile(ini_, "[Section]\r\nk=" + c.stored + "\r\n");
    EXPECT_EQ(ReadIniString("Section", "k", ini_, files_), c.read);
  }
}

TEST_F(SettingsFile, SaveOfAllFourKeysLoadsBack) {
  const std::string folder = music_ + "\\";
  ASSERT_TRUE(WriteIniString(kSettingsSection, kKeyBgmKind, NumberText(2), ini_, files_));
  ASSERT_TRUE(WriteIniString(kSettingsSection, kKeyBgmRepeat, NumberText(-3), ini_, files_));
  ASSERT_TRUE(WriteIniString(kSettingsSection, kKeyBgmFile, folder, ini_, files_));
  ASSERT_TRUE(WriteIniString(kSettingsSection, kKeyLeafCount, NumberText(500), ini_, files_));
  EXPECT_EQ(FileBytes(ini_), "[Section]\r\n" KIND " 2\r\n" REPEAT "-3\r\n" FILE_KEY + folder + "\r\n" LEAVES " 500\r\n");
  Settings s;
  LoadSettings(s, ini_, files_);
  EXPECT_EQ(s.leafCount, 500);
  EXPECT_EQ(s.bgmKind, 2);
  EXPECT_EQ(s.bgmRepeat, -3);
  EXPECT_EQ(s.bgmFile, folder);
  // Nothing but the settings file is left in the folder: no temporary file stays behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(SettingsFile, FailedSaveLeavesTheOldFileAlone) {
  const std::string old = "[Section]\r\n; mine\r\n" LEAVES " 5\r\n";
  // A folder where the file should be: it cannot be read, so it must not be replaced.
  const std::string folderAsIni = (dir_ / "folder.ini").string();
  fs::create_directory(folderAsIni);
  EXPECT_FALSE(WriteIniString(kSettingsSection, kKeyLeafCount, " 6", folderAsIni, files_));
  EXPECT_TRUE(fs::is_directory(folderAsIni));
  EXPECT_FALSE(WriteIniString(kSettingsSection, kKeyLeafCount, " 6", music_ + "/Kovaren.ini", files_));  // not a folder

  // A folder the writer may not create files in, holding a file it could overwrite in place: an
  // atomic save has to fail and leave the bytes as they were.
  PutFile(ini_, old);
  ::chmod(ini_.c_str(), 0666);
  ::chmod(dir_.c_str(), 0755);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    if (::geteuid() != 0) ::chmod(dir_.c_str(), 0555);  // not root: our own folder, made read-only
    const bool saved = WriteIniString(kSettingsSection, kKeyLeafCount, " 6", ini_, files_);
    ::_exit(saved ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod(dir_.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save claimed success, 3: could not drop privileges";
  EXPECT_EQ(FileBytes(ini_), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3);
}

TEST_F(SettingsFile, AFileTooLargeToBeSettingsIsNeitherReadNorReplaced) {
  // Past the bound the file is taken as unreadable: the defaults load and a save leaves it alone.
  const std::string huge = "[Section]\r\n" LEAVES " 250\r\n" + std::string(kMaxSettingsFileBytes, 'x');
  PutFile(ini_, huge);
  Settings s;
  LoadSettings(s, ini_, files_);
  EXPECT_EQ(s.leafCount, kDefaultLeafCount);
  EXPECT_FALSE(WriteIniString(kSettingsSection, kKeyLeafCount, " 6", ini_, files_));
  EXPECT_EQ(FileBytes(ini_), huge);

  // Just within the bound it is an ordinary settings file, and a save that would pass it is refused.
  std::string full = "[Section]\r\n" LEAVES " 250\r\n;";
  full.resize(kMaxSettingsFileBytes, 'x');
  PutFile(ini_, full);
  LoadSettings(s, ini_, files_);
  EXPECT_EQ(s.leafCount, 250);
  EXPECT_FALSE(WriteIniString(kSettingsSection, kKeyBgmKind, " 1", ini_, files_));
  EXPECT_EQ(FileBytes(ini_), full);
}

TEST_F(SettingsFile, FileExistsOpensFilesOnly) {
  EXPECT_TRUE(FileExists(music_, files_));
  EXPECT_TRUE(FileExists(music_ + "\\", files_));
  EXPECT_FALSE(FileExists(music_ + "\\\\", files_));  // only one backslash goes
  EXPECT_FALSE(FileExists(dir_.string(), files_));
  EXPECT_FALSE(FileExists((dir_ / "missing").string(), files_));
  EXPECT_FALSE(FileExists("", files_));
  EXPECT_FALSE(FileExists("\\", files_));
}

TEST(SettingsText, NumberTextHasASignPosition) {
  struct Number {
    int32_t value;
    const char* text;
  };
  for (const auto& n : {Number{100, " 100"}, Number{0, " 0"}, Number{-5, "-5"}, Number{-32768, "-32768"}}) {
    EXPECT_EQ(NumberText(n.value), n.text);
  }
}

TEST(SettingsText, WholeNumberPartTakesTheFloorInRange) {
  struct Case {
    const char* text;
    std::optional<int16_t> whole;
  };
  const Case cases[] = {
      {"2.7", 2}, {"-1.5", -2}, {" 100", 100}, {"\t42 ", 42}, {"+7", 7}, {"-0", 0}, {"-0.0001", -1},
      {"1e2", 100}, {"2.5E-1", 0}, {"-2.5e-1", -1}, {".5", 0}, {"5.", 5}, {"00000000000123", 123},
      {"0e999999999999999999999", 0}, {"32767", 32767}, {"32767.99999999999999999", 32767},
      {"-32768", -32768}, {"-32768.5", std::nullopt}, {"32768", std::nullopt}, {"99999", std::nullopt},
      {"1e999999999999999999999", std::nullopt}, {"1e-999999999999999999", 0},
      {"", std::nullopt}, {" ", std::nullopt}, {"abc", std::nullopt}, {"1 2", std::nullopt},
      {".", std::nullopt}, {"1e", std::nullopt}, {"0x10", std::nullopt}, {"--1", std::nullopt},
      {"12abc", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeNumberPart(c.text), c.whole) << '"' << c.text << '"';
}

}  // namespace
}  // namespace kovaren
