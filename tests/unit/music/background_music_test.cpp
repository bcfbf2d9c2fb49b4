// The module's command procedures and its reply buffers, over the scripted device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "music/background_music.h"
#include "support/fake_mci.h"

namespace kovaren::music {
namespace {

using fake::FakeMci;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Module {
  Settings settings;
  FakeMci device;
  BackgroundMusic bgm{device, settings};
};

TEST(MciSend, ReplyIsTheAnswerTheErrorTextOrAFixedText) {
  struct Case {
    const char* what;
    std::string command;
    int32_t code;
    std::string answer;
    bool errorTexts;
    int32_t result;
    std::string reply;
    bool sent;
  };
  const Case cases[] = {
      {"answer", "status cdaudio mode", 0, "stopped", true, 0, "stopped", true},
      {"no answer", "stop cdaudio", 0, "", true, 0, "", true},
      {"error text", "play cdaudio", 276, "", true, 276, "MCI error 276", true},
      {"no error text", "play cdaudio", 276, "", false, 276, std::string(kReplyNoErrorText), true},
      {"empty command", "", 0, "", true, kNoCommand, std::string(kReplyNoCommand), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Module m;
    m.device.errorTextsAvailable = c.errorTexts;
    if (!c.command.empty()) m.device.Script(c.command, c.code, c.answer);
    std::string reply = "previous";
    EXPECT_EQ(m.bgm.MciSend(c.command, reply), c.result);
    EXPECT_EQ(reply, c.reply);
    EXPECT_EQ(m.device.sent.size(), c.sent ? 1u : 0u);
  }
}

TEST(MciSend, ShorterAnswerEndsAtItsNulAndLongAnswersAreCutToTheBuffer) {
  Module m;
  std::string reply;
  m.device.Script("status cdaudio current track", 0, "10");
  m.bgm.MciSend("status cdaudio current track", reply);
  m.device.Script("status cdaudio current track", 0, "9");
  m.bgm.MciSend("status cdaudio current track", reply);
  EXPECT_EQ(reply, "9");
  m.device.Script("info cdaudio", 0, std::string(600, 'x'));
  m.bgm.MciSend("info cdaudio", reply);
  EXPECT_EQ(reply, std::string(511, 'x'));  // 512 characters with the NUL
}

TEST(MciQuery, FailureBecomesErrorAndTheCode) {
  Module m;
  EXPECT_EQ(m.bgm.MciQuery("status cdaudio current track"), "Error:263");  // not open
  EXPECT_EQ(m.bgm.MciReply(), "MCI error 263");
  EXPECT_EQ(m.bgm.MciQuery(""), "Error:-1");
  EXPECT_EQ(m.bgm.MciReply(), kReplyNoCommand);
  m.device.Script("status cdaudio number of tracks", 0, "12");
  EXPECT_EQ(m.bgm.MciQuery("status cdaudio number of tracks"), "12");
}

TEST(MciPlay, BuildsPlayWithOptionalFromAndTo) {
  struct Case {
    std::string device, from, to, command;
  };
  const Case cases[] = {
      {"cdaudio", "", "", "play cdaudio"},
      {"cdaudio", "03:00:00:00", "", "play cdaudio from 03:00:00:00"},
      {"cdaudio", "", "04", "play cdaudio to 04"},
      {"MP3Play", "0", "1000", "play MP3Play from 0 to 1000"},
  };
  for (const Case& c : cases) {
    Module m;
    m.bgm.MciPlay(c.device, c.from, c.to);
    EXPECT_THAT(m.device.Commands(), ElementsAre(c.command));
  }
}

TEST(ReplyBuffers, EachCommandGetsItsBufferOrNone) {
  Module m;
  m.device.InsertDisc(10);
  m.bgm.CdOpen();
  m.bgm.CdPoll();
  m.bgm.Mp3Poll();
  std::vector<std::pair<std::string, size_t>> capacities;
  for (const FakeMci::Sent& s : m.device.sent) capacities.emplace_back(s.command, s.replyCapacity);
  EXPECT_THAT(capacities, ElementsAre(std::pair<std::string, size_t>{"open cdaudio", 0},
                                      std::pair<std::string, size_t>{"set cdaudio time format tmsf", 0},
                                      std::pair<std::string, size_t>{"status cdaudio current track", 512},
                                      std::pair<std::string, size_t>{"status cdaudio number of tracks", 512},
                                      std::pair<std::string, size_t>{"status cdaudio mode", 255},
                                      std::pair<std::string, size_t>{"play cdaudio", 512},
                                      std::pair<std::string, size_t>{"status MP3Play mode", 30},
                                      std::pair<std::string, size_t>{"stop MP3Play", 0},
                                      std::pair<std::string, size_t>{"play MP3Play from 0", 0}));
}

}  // namespace
}  // namespace kovaren::music
