// MP3 and WAV files as the saver plays them: which player the name chooses, the MP3's restart poll,
// and what reaches the devices when the name is unusable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "music/saver_music.h"
#include "support/fake_mci.h"

namespace kovaren::music {
namespace {

using fake::FakeMci;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Commands = std::vector<std::string>;

const Commands kRestart = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};

struct FileRun {
  explicit FileRun(std::string file) { settings.bgmFile = std::move(file); }
  Settings settings{.leafCount = 100, .bgmKind = bgm::kFile, .bgmRepeat = 0, .bgmFile = {}};
  FakeMci device;
  SaverMusic music{device, settings};
  SaverMusic::Timers timers;

  void Start() { timers = music.Start(); }
  Commands Tick() {
    device.ClearLog();
    device.Advance(kMp3PollIntervalMs);
    if (timers.mp3PollTimer) music.OnMp3PollTimer();
    return device.Commands();
  }
  Commands Exit() {
    device.ClearLog();
    music.StopForExit(timers.cdPollTimer);
    return device.Commands();
  }
};

TEST(Mp3Music, PlaysAndStartsAgainWithinASecondOfItsEnd) {
  FileRun run("C:\\music\\a.mp3");
  run.device.AddPlayableFile("C:\\music\\a.mp3", 2500);
  run.Start();
  EXPECT_THAT(run.device.Commands(),
              ElementsAre("open \"C:\\music\\a.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"));
  EXPECT_TRUE(run.timers.mp3PollTimer);
  EXPECT_FALSE(run.timers.cdPollTimer);
  EXPECT_THAT(run.Tick(), ElementsAre("status MP3Play mode"));
  EXPECT_THAT(run.Tick(), ElementsAre("status MP3Play mode"));
  EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(kRestart));  // ended at 2.5 s
  EXPECT_TRUE(run.device.filePlaying);
  EXPECT_EQ(run.device.fileOffsetMs, 0);
  EXPECT_THAT(run.Tick(), ElementsAre("status MP3Play mode"));
  EXPECT_THAT(run.Exit(), ElementsAre("stop MP3Play", "close MP3Play"));
  EXPECT_FALSE(run.device.openAlias);
}

TEST(Mp3Music, FileThatDoesNotOpenIsNeverPlayedAndTheRestartsFailHarmlessly) {
  FileRun run("C:\\music\\missing.mp3");
  run.Start();
  EXPECT_THAT(run.device.Commands(), ElementsAre("open \"C:\\music\\missing.mp3\" type MPEGVideo Alias MP3Play"));
  EXPECT_TRUE(run.timers.mp3PollTimer);  // enabled whether or not the open succeeded
  for (int i = 0; i < 3; ++i) {
    EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(kRestart));
    for (const FakeMci::Sent& s : run.device.sent) EXPECT_NE(s.result, 0) << s.command;
  }
  EXPECT_THAT(run.Exit(), ElementsAre("stop MP3Play", "close MP3Play"));
}

TEST(Mp3Music, NameThatWouldEscapeItsQuotesIsRefusedNotSent) {
  const std::string injected = "C:\\a.mp3\" type waveaudio alias MP3Play wait \"b.mp3";
  const std::string names[] = {injected, "C:\\a\".mp3", "C:\\a\r\nb.mp3", std::string("C:\\a\0b.mp3", 10)};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    FileRun run(name);
    run.device.AddPlayableFile("C:\\a.mp3", 2500);
    run.Start();
    EXPECT_THAT(run.device.Commands(), IsEmpty());
    EXPECT_FALSE(run.device.openAlias);
    EXPECT_TRUE(run.timers.mp3PollTimer);
    EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(kRestart));  // like a file that does not open
  }
}

TEST(Mp3Music, JapaneseNameGoesIntoTheOpenCommandAsItsBytes) {
  const std::string path = "C:\\\x89\xb9\x8a\x79\\\x8f\x48.mp3";  // C:\音楽\秋.mp3 in code page 932
  FileRun run(path);
  run.device.AddPlayableFile(path, 2500);
  run.Start();
  EXPECT_THAT(run.device.Commands(),
              ElementsAre("open \"" + path + "\" type MPEGVideo Alias MP3Play", "play MP3Play"));
  EXPECT_TRUE(run.device.filePlaying);
}

TEST(Mp3Music, ModeIsJudgedByTheFirstSevenCharactersOfItsBuffer) {
  struct Case {
    std::vector<std::pair<int32_t, std::string>> replies;  // mode answers in order; the last decides
    bool playing;
  };
  const Case cases[] = {
      {{{0, "playing"}}, true},
      {{{0, "playing back"}}, true},
      {{{0, "stopped"}}, false},
      {{{0, "play"}}, false},
      {{{0, "playing"}, {0, "stop"}}, false},  // "stop", NUL, "ng": the NUL counts among the seven
      {{{0, "playing"}, {263, ""}}, true},     // a failed query leaves the last answer in the buffer
      {{{263, ""}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.replies.back().second);
    Settings settings;
    FakeMci device;
    BackgroundMusic bgm(device, settings);
    bool playing = false;
    for (const auto& [code, reply] : c.replies) {
      device.Script("status MP3Play mode", code, reply);
      playing = bgm.Mp3IsPlaying();
    }
    EXPECT_EQ(playing, c.playing);
    EXPECT_EQ(device.sent.back().replyCapacity, 30u);
  }
}

TEST(FileMusic, LastThreeCharactersInAnyCaseChooseThePlayer) {
  enum class Player { None, Wav, Mp3 };
  struct Case {
    std::string file;
    Player player;
  };
  const Case cases[] = {
      {"C:\\music\\song.Mp3", Player::Mp3},
      {"C:\\music\\SONG.MP3", Player::Mp3},
      {"C:\\music\\rain.wav", Player::Wav},
      {"C:\\music\\rain.wAV", Player::Wav},
      {"mp3", Player::Mp3},  // three characters, no dot needed
      {"C:\\music\\song.ogg", Player::None},
      {"C:\\music\\song.mp4", Player::None},
      {"C:\\music\\song.mp3 ", Player::None},
      {"", Player::None},
      {"C:\\\x89\xb9.wav", Player::Wav},
      // ends in the bytes "WAV", but the W is the second byte of a double-byte character
      {"C:\\\x83\x57" "AV", Player::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    FileRun run(c.file);
    run.device.AddPlayableFile(c.file, 2500);
    run.Start();
    EXPECT_EQ(run.timers.mp3PollTimer, c.player == Player::Mp3);
    EXPECT_FALSE(run.timers.cdPollTimer);
    const Commands exit = run.Exit();
    switch (c.player) {
      case Player::Mp3:
        EXPECT_TRUE(run.device.sounds.empty());
        EXPECT_THAT(exit, ElementsAre("stop MP3Play", "close MP3Play"));
        break;
      case Player::Wav:
        EXPECT_THAT(exit, IsEmpty());
        EXPECT_THAT(run.device.sounds, ElementsAre(FakeMci::Sound{std::nullopt, 0}));
        break;
      case Player::None:
        EXPECT_THAT(exit, IsEmpty());
        EXPECT_TRUE(run.device.sounds.empty());
        break;
    }
  }
}

TEST(WavMusic, LoopsThroughTheSoundPlayerOnlyWithAWaveDevice) {
  for (const uint32_t devices : {0u, 2u}) {
    SCOPED_TRACE(devices);
    FileRun run("C:\\music\\rain.WAV");
    run.device.waveDevices = devices;
    run.Start();
    EXPECT_FALSE(run.timers.mp3PollTimer);
    EXPECT_THAT(run.device.Commands(), IsEmpty());
    if (devices == 0) {
      EXPECT_TRUE(run.device.sounds.empty());
    } else {
      EXPECT_THAT(run.device.sounds, ElementsAre(FakeMci::Sound{"C:\\music\\rain.WAV", 0x0009}));
    }
    run.device.sounds.clear();
    run.Exit();
    EXPECT_THAT(run.device.sounds, ElementsAre(FakeMci::Sound{std::nullopt, 0}));
  }
}

TEST(NoMusic, OtherKindsStartNothingWhateverTheFile) {
  for (const int16_t kind : {int16_t{0}, int16_t{3}, int16_t{-1}}) {
    Settings settings{.leafCount = 100, .bgmKind = kind, .bgmRepeat = 0, .bgmFile = "C:\\music\\a.mp3"};
    FakeMci device;
    device.InsertDisc(10);
    SaverMusic music(device, settings);
    const SaverMusic::Timers timers = music.Start();
    EXPECT_FALSE(timers.mp3PollTimer);
    EXPECT_FALSE(timers.cdPollTimer);
    music.StopForExit(false);
    EXPECT_THAT(device.Commands(), IsEmpty());
    EXPECT_TRUE(device.sounds.empty());
  }
}

}  // namespace
}  // namespace kovaren::music
