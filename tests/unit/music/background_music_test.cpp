// The music's device commands and their reply buffers, over the scripted device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "music/background_music.h"
#include "support/fake_mci.h"

namespace kovaren::music {
namespace {

using fake::FakeMci;
using ::testing::ElementsAre;

struct Module {
  Settings settings;
  FakeMci device;
  BackgroundMusic bgm{device, settings};
};

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
