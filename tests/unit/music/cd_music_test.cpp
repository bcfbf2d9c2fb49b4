// The audio CD as the saver drives it: start, the 200 ms poll, the arrow keys and the exit, each
// checked as the exact conversation with a scripted drive.
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

const Commands kStatusQueries = {"status cdaudio current track", "status cdaudio number of tracks",
                                 "status cdaudio mode"};

Commands Then(Commands first, const Commands& more) {
  first.insert(first.end(), more.begin(), more.end());
  return first;
}

// The saver's side: the CD poll timer fires only while on and takes CdOk as its new state.
struct CdRun {
  explicit CdRun(int16_t repeat = 0) { settings.bgmRepeat = repeat; }
  Settings settings{.leafCount = 100, .bgmKind = bgm::kAudioCd, .bgmRepeat = 0, .bgmFile = {}};
  FakeMci drive;
  SaverMusic music{drive, settings};
  bool cdPollTimer = false;

  void Start() {
    const SaverMusic::Timers timers = music.Start();
    EXPECT_FALSE(timers.mp3PollTimer);
    cdPollTimer = timers.cdPollTimer;
  }
  Commands Tick() {
    drive.ClearLog();
    drive.Advance(kCdPollIntervalMs);
    if (cdPollTimer) cdPollTimer = music.OnCdPollTimer();
    return drive.Commands();
  }
  Commands Key(int code, bool expectTaken = true) {
    drive.ClearLog();
    EXPECT_EQ(music.TakesKey(code), expectTaken);
    return drive.Commands();
  }
  Commands Exit() {
    drive.ClearLog();
    const bool was = cdPollTimer;
    cdPollTimer = false;
    music.StopForExit(was);
    return drive.Commands();
  }
};

TEST(CdMusic, UnusableDriveStopsPollingAfterOneFailedQueryAndIsNotClosed) {
  for (const bool drivePresent : {false, true}) {  // no drive at all; a drive without a disc
    SCOPED_TRACE(drivePresent ? "no disc" : "no drive");
    CdRun run;
    run.drive.cdDrivePresent = drivePresent;
    run.Start();
    EXPECT_THAT(run.drive.Commands(), ElementsAre("open cdaudio", "set cdaudio time format tmsf"));
    EXPECT_TRUE(run.cdPollTimer);

    EXPECT_THAT(run.Tick(), ElementsAre("status cdaudio current track"));
    EXPECT_FALSE(run.cdPollTimer);
    EXPECT_FALSE(run.music.Devices().CdOk());
    EXPECT_THAT(run.Tick(), IsEmpty());
    EXPECT_THAT(run.Exit(), IsEmpty());
  }
}

TEST(CdMusic, WithoutRepeatPlaysWheneverTheDiscIsFoundStopped) {
  CdRun run;
  run.drive.InsertDisc(2, 1000);
  run.Start();
  EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(Then(kStatusQueries, {"play cdaudio"})));
  EXPECT_TRUE(run.drive.cdPlaying);
  for (int i = 0; i < 9; ++i) EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(kStatusQueries));
  // The tenth tick takes the disc past its end; the poll finds it stopped and starts it again.
  EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(Then(kStatusQueries, {"play cdaudio"})));
  EXPECT_EQ(run.drive.cdTrack, 1);
  EXPECT_TRUE(run.drive.cdPlaying);
  EXPECT_TRUE(run.cdPollTimer);
  EXPECT_THAT(run.Exit(), ElementsAre("stop cdaudio", "close cdaudio"));
  EXPECT_FALSE(run.drive.cdOpen);
}

TEST(CdMusic, RepeatTrackStartsThereAndJumpsBackWithinOnePollOfTheNextTrack) {
  CdRun run(3);
  run.drive.InsertDisc(10, 1000);
  run.Start();
  const Commands jump = Then(kStatusQueries, {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"});
  EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(jump));
  EXPECT_EQ(run.drive.cdTrack, 3);
  for (int round = 0; round < 3; ++round) {
    // Four polls inside track 3 only ask; the fifth finds track 4 begun and jumps back.
    for (int i = 0; i < 4; ++i) EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(kStatusQueries));
    EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(jump));
    EXPECT_EQ(run.drive.cdTrack, 3);
    EXPECT_TRUE(run.drive.cdPlaying);
  }
}

TEST(CdMusic, RepeatTrackBeyondTheDiscFailsEveryTickButPollingGoesOn) {
  CdRun run(12);
  run.drive.InsertDisc(10);
  run.Start();
  for (int i = 0; i < 3; ++i) {
    EXPECT_THAT(run.Tick(), ::testing::ElementsAreArray(Then(
                                kStatusQueries, {"status cdaudio position track 12", "play cdaudio from Error:282"})));
    EXPECT_NE(run.drive.sent[3].result, 0);
    EXPECT_NE(run.drive.sent[4].result, 0);  // the device rejects the play built from the error text
    EXPECT_TRUE(run.cdPollTimer);
    EXPECT_FALSE(run.drive.cdPlaying);
  }
}

TEST(CdMusic, CurrentTrackReplyIsReadAsANumberOnlyForTheRepeatTrack) {
  struct Case {
    int16_t repeat;
    std::string currentTrackReply;
    bool pollingGoesOn;
    bool jumps;
  };
  const Case cases[] = {
      {3, "3", true, false},
      {3, " 3 ", true, false},
      {3, "4", true, true},
      {3, "three", false, false},  // nonsense from the drive ends the polling
      {3, "nan", false, false},
      {0, "three", true, false},   // without a repeat track the number plays no part
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.currentTrackReply + " repeat " + std::to_string(c.repeat));
    CdRun run(c.repeat);
    run.drive.InsertDisc(10);
    run.drive.cdPlaying = true;
    run.drive.Script("status cdaudio current track", 0, c.currentTrackReply);
    run.Start();
    const Commands sent = run.Tick();
    EXPECT_EQ(run.cdPollTimer, c.pollingGoesOn);
    const bool jumped = std::find(sent.begin(), sent.end(), "play cdaudio from 03:00:00:00") != sent.end();
    EXPECT_EQ(jumped, c.jumps);
  }
}

TEST(CdMusic, ArrowsPlayFromTheNeighbouringTrackWithoutWrapping) {
  struct Case {
    const char* what;
    bool drivePresent;
    int track;
    int key;
    Commands sent;
    int trackAfter;
  };
  const Case cases[] = {
      {"right", true, 5, 39,
       {"status cdaudio current track", "status cdaudio position track 6", "play cdaudio from 06:00:00:00"}, 6},
      {"left", true, 5, 37,
       {"status cdaudio current track", "status cdaudio position track 4", "play cdaudio from 04:00:00:00"}, 4},
      {"left on the first", true, 1, 37,
       {"status cdaudio current track", "status cdaudio position track 0", "play cdaudio from Error:282"}, 1},
      {"right on the last", true, 10, 39,
       {"status cdaudio current track", "status cdaudio position track 11", "play cdaudio from Error:282"}, 10},
      // The failed current-track query reads as track 0.
      {"right without a drive", false, 0, 39,
       {"status cdaudio current track", "status cdaudio position track 1", "play cdaudio from Error:266"}, 0},
      {"left without a drive", false, 0, 37,
       {"status cdaudio current track", "status cdaudio position track -1", "play cdaudio from Error:266"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CdRun run;
    run.drive.cdDrivePresent = c.drivePresent;
    run.drive.InsertDisc(10);
    run.Start();
    run.drive.cdTrack = c.track;
    run.drive.cdOffsetMs = 5000;
    run.drive.cdPlaying = c.drivePresent;
    EXPECT_THAT(run.Key(c.key), ::testing::ElementsAreArray(c.sent));
    EXPECT_EQ(run.drive.cdTrack, c.trackAfter);
    EXPECT_EQ(run.drive.cdPlaying, c.drivePresent);
    if (c.trackAfter == c.track) {
      EXPECT_EQ(run.drive.cdOffsetMs, 5000);  // play went on untouched
    }
  }
}

TEST(CdMusic, ArrowReadsTheNumberThatBeginsTheCurrentTrackReply) {
  struct Case {
    std::string reply;
    std::string nextPositionQuery;
  };
  const Case cases[] = {
      {"3", "status cdaudio position track 4"},
      {" 7 tracks", "status cdaudio position track 8"},
      {"2.5", "status cdaudio position track 3"},  // rounds half to even: 2
      {"3.5", "status cdaudio position track 5"},  // 4
      {"99999", "status cdaudio position track 1"},  // beyond 16 bits: 0
      {"nan", "status cdaudio position track 1"},
      {"", "status cdaudio position track 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    CdRun run;
    run.drive.InsertDisc(10);
    run.Start();
    run.drive.Script("status cdaudio current track", 0, c.reply);
    const Commands sent = run.Key(39);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1], c.nextPositionQuery);
  }
}

TEST(CdMusic, ArrowMovesARepeatingDiscForAtMostOneTick) {
  CdRun run(3);
  run.drive.InsertDisc(10);
  run.Start();
  run.Tick();
  run.Key(39);
  EXPECT_EQ(run.drive.cdTrack, 4);
  run.Tick();
  EXPECT_EQ(run.drive.cdTrack, 3);
}

TEST(CdMusic, ArrowsStayTrackKeysAfterPollingStopped) {
  CdRun run;
  run.drive.cdDrivePresent = false;
  run.Start();
  run.Tick();
  ASSERT_FALSE(run.cdPollTimer);
  EXPECT_FALSE(run.Key(37).empty());
  EXPECT_FALSE(run.Key(39).empty());
}

TEST(SaverKeys, OnlyTheArrowsWithTheAudioCdAreTakenOtherKeysEndTheSaverSilently) {
  struct Case {
    int16_t kind;
    int key;
  };
  const Case cases[] = {{bgm::kAudioCd, 13}, {bgm::kAudioCd, 27}, {bgm::kAudioCd, 38}, {bgm::kAudioCd, 40},
                        {bgm::kAudioCd, 'A'}, {bgm::kNone, 37},     {bgm::kNone, 39},     {bgm::kFile, 37},
                        {bgm::kFile, 39},     {5, 37}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " key " + std::to_string(c.key));
    Settings settings{.leafCount = 100, .bgmKind = c.kind, .bgmRepeat = 0, .bgmFile = "C:\\music\\a.mp3"};
    FakeMci drive;
    drive.InsertDisc(10);
    SaverMusic music(drive, settings);
    music.Start();
    drive.ClearLog();
    EXPECT_FALSE(music.TakesKey(c.key));
    EXPECT_THAT(drive.Commands(), IsEmpty());
  }
}

}  // namespace
}  // namespace kovaren::music
