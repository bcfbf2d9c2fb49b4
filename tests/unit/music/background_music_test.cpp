// The module's command procedures and its reply buffers, over the scripted device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "music/background_music.h"
#include "text/cp932_text.h"
#include "support/fake_mci.h"

namespace kovaren::music {
namespace {

using fake::FakeMci;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Module {
  Settings settings;
  FakeMci device;
  TesmarBgm bgm{device, settings};
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

TEST(Cp932Text, CopyIntoBufferCutsOnlyBetweenCharacters) {
  struct Case {
    std::string text;
    size_t capacity;
    std::string stored;
  };
  const Case cases[] = {
      {"abc", 4, "abc"},
      {"abcd", 4, "abc"},
      {"ab\x82\xa0", 4, "ab"},          // the double-byte character would not fit whole
      {"a\x82\xa0" "b", 4, "a\x82\xa0"},
      {"\xb1\xb2\xb3", 3, "\xb1\xb2"},  // half-width kana are single bytes
      {"", 1, ""},
  };
  for (const Case& c : cases) {
    std::vector<char> buffer(c.capacity, '#');
    CopyIntoBuffer(c.text, buffer);
    EXPECT_EQ(BufferText(buffer), c.stored);
  }
}

TEST(Cp932Text, UpperLastCharactersCountsDoubleByteCharactersAsOne) {
  struct Case {
    std::string text;
    std::string last3;
  };
  const Case cases[] = {
      {"song.Mp3", "MP3"},
      {"ab", "AB"},
      {"x\x83\x57" "av", "\x83\x57" "AV"},  // trail byte 'W' stays as it is
      {"\x83\x57\x83\x41\x83\x56", "\x83\x57\x83\x41\x83\x56"},
      {"abc\x82", "BC\x82"},  // a lone lead byte at the end is one character
  };
  for (const Case& c : cases) EXPECT_EQ(UpperLastCharacters(c.text, 3), c.last3) << c.text;
}

}  // namespace
}  // namespace kovaren::music
