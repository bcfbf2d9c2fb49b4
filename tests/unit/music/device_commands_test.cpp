// The command strings underneath the music: replies, error texts and the fixed buffers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "music/device_commands.h"
#include "support/fake_mci.h"

namespace kovaren::music {
namespace {

using fake::FakeMci;
using ::testing::ElementsAre;

struct Commands {
  FakeMci device;
  DeviceCommands commands{device};
};

TEST(DeviceCommandsExchange, ReplyIsTheAnswerTheErrorTextOrAFixedText) {
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
    Commands m;
    m.device.errorTextsAvailable = c.errorTexts;
    if (!c.command.empty()) m.device.Script(c.command, c.code, c.answer);
    std::string reply = "previous";
    EXPECT_EQ(m.commands.Exchange(c.command, reply), c.result);
    EXPECT_EQ(reply, c.reply);
    EXPECT_EQ(m.device.sent.size(), c.sent ? 1u : 0u);
  }
}

TEST(DeviceCommandsExchange, ShorterAnswerEndsAtItsNulAndLongAnswersAreCutToTheBuffer) {
  Commands m;
  std::string reply;
  m.device.Script("status cdaudio current track", 0, "10");
  m.commands.Exchange("status cdaudio current track", reply);
  m.device.Script("status cdaudio current track", 0, "9");
  m.commands.Exchange("status cdaudio current track", reply);
  EXPECT_EQ(reply, "9");
  m.device.Script("info cdaudio", 0, std::string(600, 'x'));
  m.commands.Exchange("info cdaudio", reply);
  EXPECT_EQ(reply, std::string(511, 'x'));  // 512 characters with the NUL
}

TEST(DeviceCommandsQuery, FailureBecomesErrorAndTheCode) {
  Commands m;
  EXPECT_EQ(m.commands.Query("status cdaudio current track"), "Error:263");  // not open
  EXPECT_EQ(m.commands.Reply(), "MCI error 263");
  EXPECT_EQ(m.commands.Query(""), "Error:-1");
  EXPECT_EQ(m.commands.Reply(), kReplyNoCommand);
  m.device.Script("status cdaudio number of tracks", 0, "12");
  EXPECT_EQ(m.commands.Query("status cdaudio number of tracks"), "12");
}

TEST(DeviceCommandsPlay, BuildsPlayWithOptionalFromAndTo) {
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
    Commands m;
    m.commands.Play(c.device, c.from, c.to);
    EXPECT_THAT(m.device.Commands(), ElementsAre(c.command));
  }
}

}  // namespace
}  // namespace kovaren::music
