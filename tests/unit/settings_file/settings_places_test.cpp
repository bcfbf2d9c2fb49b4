// The one save of the four keys and the two places of the settings file, on an in-memory file system:
// the save's bytes equal those of successive single writes, a failure at any step changes nothing,
// and reading and saving follow one rule about where the file is.
#include "settings_file/settings_places.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "settings_file/ini_access.h"
#include "support/fake_file_system.h"

namespace kovaren {
namespace {

using namespace std::string_literals;
using fake::FakeFileSystem;
const FilePath kProgramFolder(std::string("/program"));
const FilePath kAppData(std::string("/appdata"));
const FilePath kRoot(std::string("/"));
const SettingsPlaces kPlaces = PlacesFor(kProgramFolder, kAppData);

std::array<IniEntry, 4> Entries(std::string kind, std::string repeat, std::string file, std::string count) {
  return {{{kSettingsSection, kKeyBgmKind, std::move(kind)},
           {kSettingsSection, kKeyBgmRepeat, std::move(repeat)},
           {kSettingsSection, kKeyBgmFile, std::move(file)},
           {kSettingsSection, kKeyLeafCount, std::move(count)}}};
}

#define KIND "BGM\x8B\xE6\x95\xAA"
#define REPEAT "BGM\xD8\xCB\xDF\xB0\xC4"
#define FILE_KEY "BGM\xCC\xA7\xB2\xD9"
#define LEAVES "\x82\xE0\x82\xDD\x82\xB6"

// Settings files as people and other programs leave them.
const std::optional<std::string> kMessyFiles[] = {
    std::nullopt,  // no file yet
    "",
    "; written by hand\r\nloose=1\n\r\n[Other]\r\n" LEAVES "=7\r\njust some words\r  \t \r\n[Section]\r\n" KIND
    "= 1\r\nodd \x81 line\n" LEAVES " =   42   \r\n" FILE_KEY "=C:\\\x83\x5C\\a.mp3\r\n\r\n[Tail]\r\nnul=a\0b\r\nlast=x"s,
    "[section]\nbgm" "\x8B\xE6\x95\xAA" "=2\n" LEAVES "\n",                    // LF only, other letter case, no "="
    "[Section]\r\n" REPEAT "='5'\r\n" FILE_KEY "=\"C:\\x.wav\"\r\n",           // quoted values
    "[Section]\r\n" LEAVES "= 60\r\n[Section]\r\n" KIND "= 2\r\n",              // the first section counts
    "[A]\r\na=1",                                                               // no [Section], no final break
    "[A]\r\n \t",                                                               // ends in blanks
    "\x1A[Section]\r\n" KIND "=1\r\n",                                          // an old end-of-file mark first
};

TEST(SettingsSave, OneSaveGivesTheBytesOfFourSuccessiveWrites) {
  const std::array<IniEntry, 4> entrySets[] = {
      Entries(" 2", " 7", "C:\\\x83\x5C\\b.mp3", " 250"),
      Entries(" 0", " 0", "", " 100"),
      Entries("-1", " 14", "D:\\music\\", " 1"),
  };
  const FilePath file = kPlaces.besideProgram;
  for (const auto& before : kMessyFiles) {
    for (const auto& entries : entrySets) {
      FakeFileSystem once, fourTimes;
      once.folders = fourTimes.folders = {kRoot, kProgramFolder};
      if (before) once.Put(file, *before), fourTimes.Put(file, *before);
      ASSERT_TRUE(WriteIniEntries(entries, file, once));
      for (const IniEntry& e : entries) ASSERT_TRUE(WriteIniString(e.section, e.key, e.value, file, fourTimes));
      const std::string what = before ? *before : "(no file)";
      EXPECT_EQ(once.files, fourTimes.files) << what;
      EXPECT_EQ(once.replacements, 1) << what;
      EXPECT_EQ(once.reads, 1) << what;
    }
  }
}

TEST(SettingsSave, AFailureAtAnyStepLeavesTheOldBytes) {
  using Step = FakeFileSystem::Step;
  const auto entries = Entries(" 1", " 3", "", " 200");
  for (const Step step : {Step::CreateFile, Step::Write, Step::Flush, Step::Close, Step::MoveOver}) {
    for (const auto& before : kMessyFiles) {
      FakeFileSystem files;
      files.folders = {kRoot, kProgramFolder, kAppData};
      if (before) files.Put(kPlaces.besideProgram, *before);
      const auto old = files.files;
      files.failing = step;
      const std::string what = "step " + std::to_string(static_cast<int>(step)) + ": " + before.value_or("(no file)");
      EXPECT_FALSE(WriteIniEntries(entries, kPlaces.besideProgram, files)) << what;
      EXPECT_EQ(files.files, old) << what;
      // The same through the whole save, which also tries the per-user file: told, nothing written.
      const SaveOutcome outcome = SaveSettingsFile(entries, kPlaces, files);
      EXPECT_FALSE(outcome.saved) << what;
      EXPECT_EQ(outcome.file, kPlaces.perUser) << what;
      EXPECT_EQ(files.files, old) << what;
    }
  }
}

TEST(SettingsSave, EntriesNoFileCouldHoldChangeNothing) {
  FakeFileSystem files;
  files.Put(kPlaces.besideProgram, "[Section]\r\n" LEAVES "= 5\r\n");
  const auto old = files.files;
  const SaveOutcome outcome = SaveSettingsFile(Entries(" 1", " 0", "C:\\a\r\nb", " 9"), kPlaces, files);
  EXPECT_FALSE(outcome.saved);
  EXPECT_EQ(outcome.file, kPlaces.besideProgram);
  EXPECT_EQ(files.files, old);
  EXPECT_FALSE(files.folders.contains(kAppData / "Kovaren"));
}

TEST(SettingsPlaces, ReadingAndSavingFollowOneRule) {
  enum Where { kNowhere, kBeside, kPerUser };
  const std::string besideText = "; mine\r\n[Section]\r\n" LEAVES "= 60\r\n";
  const std::string perUserText = "[Section]\r\n" LEAVES "= 70\r\n";
  const std::string huge = "[Section]\r\n" + std::string(kMaxSettingsFileBytes, 'x');
  struct Case {
    const char* what;
    std::optional<std::string> beside;   // nothing: no file beside the program
    bool besideUnreadable;
    bool programFolderReadOnly;
    std::optional<std::string> perUser;  // nothing: no per-user file
    bool appDataReadOnly;                // the per-user folder too, when it stands
    Where readFrom;
    int16_t leavesRead;
    Where savedTo;                       // kNowhere: the save is told as failed
    Where toldAbout;
    std::string perUserAfterSave;        // the lines the per-user file starts with ("" when none)
  };
  const Case cases[] = {
      {"only beside, writable", besideText, false, false, {}, false, kBeside, 60, kBeside, kNowhere, ""},
      {"only beside, program folder read-only", besideText, false, true, {}, false, kBeside, 60, kPerUser,
       kNowhere, "; mine\r\n[Section]\r\n"},
      {"per-user and beside, both writable", besideText, false, false, perUserText, false, kPerUser, 70, kPerUser,
       kNowhere, "[Section]\r\n"},
      {"per-user, program folder read-only", besideText, false, true, perUserText, false, kPerUser, 70, kPerUser,
       kNowhere, "[Section]\r\n"},
      {"both places read-only", besideText, false, true, {}, true, kBeside, 60, kNowhere, kPerUser, ""},
      {"per-user read-only: no way back beside", besideText, false, false, perUserText, true, kPerUser, 70,
       kNowhere, kPerUser, "[Section]\r\n"},
      {"no file anywhere", {}, false, false, {}, false, kBeside, 100, kBeside, kNowhere, ""},
      {"no file anywhere, program folder read-only", {}, false, true, {}, false, kBeside, 100, kPerUser, kNowhere,
       "[Section]\r\n"},
      {"beside unreadable: kept, settings go per user", besideText, true, false, {}, false, kBeside, 100, kPerUser,
       kNowhere, "[Section]\r\n"},
      {"beside too large to read: kept, settings go per user", huge, false, false, {}, false, kBeside, 100,
       kPerUser, kNowhere, "[Section]\r\n"},
      {"per-user unreadable: still the one in use", besideText, false, false, perUserText, false, kPerUser, 70,
       kPerUser, kNowhere, "[Section]\r\n"},
  };
  for (const Case& c : cases) {
    FakeFileSystem files;
    files.folders = {kRoot, kProgramFolder, kAppData};
    if (c.beside) files.Put(kPlaces.besideProgram, *c.beside);
    if (c.besideUnreadable) files.unreadableFiles.insert(kPlaces.besideProgram);
    if (c.perUser) files.Put(kPlaces.perUser, *c.perUser);
    if (c.programFolderReadOnly) files.readOnlyFolders.insert(kProgramFolder);
    if (c.appDataReadOnly) files.readOnlyFolders.insert({kAppData, kAppData / "Kovaren"});
    const FilePath placeOf[] = {FilePath(), kPlaces.besideProgram, kPlaces.perUser};

    EXPECT_EQ(SettingsFileInUse(kPlaces, files), placeOf[c.readFrom]) << c.what;
    Settings read;
    files.reads = 0;
    LoadSettings(read, SettingsFileInUse(kPlaces, files), files);
    EXPECT_EQ(read.leafCount, c.leavesRead) << c.what;
    EXPECT_EQ(files.reads, 1) << c.what << ": the four keys come from one reading";

    const auto before = files.files;
    const SaveOutcome outcome = SaveSettingsFile(Entries(" 1", " 14", "", " 321"), kPlaces, files);
    EXPECT_EQ(outcome.saved, c.savedTo != kNowhere) << c.what;
    if (!outcome.saved) {
      EXPECT_EQ(outcome.file, placeOf[c.toldAbout]) << c.what;
      EXPECT_EQ(files.files, before) << c.what;
      continue;
    }
    EXPECT_EQ(outcome.file, placeOf[c.savedTo]) << c.what;
    // Only the file saved to changed, and from now on it is the one read, with every key.
    for (const auto& [path, bytes] : before) {
      if (path != outcome.file) {
        EXPECT_EQ(files.files[path], bytes) << c.what << ": " << path.native();
      }
    }
    EXPECT_EQ(SettingsFileInUse(kPlaces, files), outcome.file) << c.what;
    Settings saved;
    LoadSettings(saved, SettingsFileInUse(kPlaces, files), files);
    EXPECT_EQ(saved.leafCount, 321) << c.what;
    EXPECT_EQ(saved.bgmKind, 1) << c.what;
    EXPECT_EQ(saved.bgmRepeat, 14) << c.what;
    const auto perUser = files.files.find(kPlaces.perUser);
    EXPECT_EQ(perUser != files.files.end(), c.savedTo == kPerUser || c.perUser.has_value()) << c.what;
    if (perUser != files.files.end()) {
      EXPECT_TRUE(perUser->second.starts_with(c.perUserAfterSave)) << c.what;
    }
  }
}

TEST(SettingsPlaces, UnknownFoldersNameNoFile) {
  struct Case {
    std::string program, appData, beside, perUser;
  };
  const Case cases[] = {
      {"/opt/saver", "/home/u/roaming", "/opt/saver/Kovaren.ini", "/home/u/roaming/Kovaren/Kovaren.ini"},
      {"/", "", "/Kovaren.ini", ""},
      {"", "/a", "", "/a/Kovaren/Kovaren.ini"},
  };
  for (const Case& c : cases) {
    const SettingsPlaces places = PlacesFor(c.program, c.appData);
    EXPECT_EQ(places.besideProgram.native(), c.beside);
    EXPECT_EQ(places.perUser.native(), c.perUser);
  }

  for (const auto& [path, folder] : std::vector<std::pair<std::string, std::string>>{
           {"/a/b", "/a"}, {"/a//b", "/a"}, {"/a/", "/"}, {"/a", "/"}, {"/", "/"}, {"name", ""}}) {
    EXPECT_EQ(FilePath(path).Folder().native(), folder) << path;
  }

  // A program folder the platform cannot name: the settings are kept per user.
  FakeFileSystem files;
  files.folders = {kRoot, std::string("/a")};
  const SaveOutcome saved = SaveSettingsFile(Entries(" 0", " 0", "", " 50"), PlacesFor(std::string(), std::string("/a")), files);
  EXPECT_TRUE(saved.saved);
  EXPECT_EQ(saved.file.native(), "/a/Kovaren/Kovaren.ini");
  // Neither folder known: told, nothing written anywhere (not in the current folder either).
  const SaveOutcome nowhere = SaveSettingsFile(Entries(" 0", " 0", "", " 50"), PlacesFor(FilePath(), FilePath()), files);
  EXPECT_FALSE(nowhere.saved);
  EXPECT_EQ(files.files.size(), 1u);
}

}  // namespace
}  // namespace kovaren
