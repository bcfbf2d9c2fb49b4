// The button as a host with a property store sees it: saving and restoring (key order, defaults, the
// two caption defaults, the font rule, stored values that cannot be converted), the first Enabled
// read of a fresh instance, the redraws of property reads and the property-changed notices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_button/button_properties.h"
#include "unit/skin_button/button_fakes.h"

namespace kovaren::skin_button {
namespace {

class QuietSite final : public SkinButtonSite {
 public:
  std::optional<ScreenPoint> CursorPosition() override { return std::nullopt; }
  bool IsOwnWindowAt(ScreenPoint) override { return false; }
  void Refresh() override {}
  void Click() override {}
};

// Logs every access, in order, over a memory store.
class RecordingStore final : public PropertyStore {
 public:
  PropertyValue Read(std::string_view key, const PropertyValue& fallback) const override {
    log.push_back("read " + std::string(key));
    return inner.Read(key, fallback);
  }
  void Write(std::string_view key, const PropertyValue& value, const PropertyValue& fallback) override {
    log.push_back("write " + std::string(key));
    inner.Write(key, value, fallback);
  }
  MemoryPropertyStore inner;
  mutable std::vector<std::string> log;
};

FontSpec Font(std::wstring face, int size) {
  FontSpec f = DesignFont();
  f.face = std::move(face);
  f.sizeHundredthsPt = size;
  return f;
}

TEST(SkinButtonPersistence, KeysAreReadAndWrittenInTheirOrder) {
  QuietSite site;
  PropertyBagButton bag(site, SkinSet{});
  RecordingStore store;
  bag.ReadProperties(store);
  bag.WriteProperties(store);
  EXPECT_EQ(store.log, (std::vector<std::string>{"read Enabled", "read Caption", "read Font", "read FirstRun",
                                                 "read FontColour", "read Visible", "write Enabled", "write Caption",
                                                 "write FirstRun", "write Font", "write FontColour", "write Visible"}));
}

TEST(SkinButtonPersistence, EmptyStoreGivesTheDefaults) {
  QuietSite site;
  PropertyBagButton bag(site, SkinSet{});
  bag.button().Resize(81, 25);
  bag.ReadProperties(MemoryPropertyStore{});
  EXPECT_TRUE(bag.button().Enabled());
  EXPECT_EQ(bag.firstRun(), 1);
  EXPECT_EQ(bag.button().Caption(), L"Command1");
  EXPECT_EQ(bag.button().Font(), DesignFont());
  EXPECT_EQ(bag.button().caption().colour, 0u);
  EXPECT_TRUE(bag.button().Visible());
  EXPECT_EQ(bag.button().drawnSkin(), Skin::Normal) << "reading ends with ResetLook";
  // Written back, only the caption differs from its write default.
  MemoryPropertyStore saved;
  bag.WriteProperties(saved);
  ASSERT_EQ(saved.entries().size(), 1u);
  EXPECT_EQ(std::get<std::wstring>(saved.Read("caption", std::wstring())), L"Command1");
}

TEST(SkinButtonPersistence, RoundTrips) {
  struct Case {
    const char* what;
    void (*change)(PropertyBagButton&);
    void (*check)(PropertyBagButton&);
    std::vector<std::string> storedKeys;
  };
  const Case cases[] = {
      {"caption \"Command\" is not stored and returns as Command1", [](PropertyBagButton& c) { c.SetCaption(L"Command"); },
       [](PropertyBagButton& c) { EXPECT_EQ(c.button().Caption(), L"Command1"); }, {}},
      {"a Japanese caption", [](PropertyBagButton& c) { c.SetCaption(L"設定"); },
       [](PropertyBagButton& c) { EXPECT_EQ(c.button().Caption(), L"設定"); }, {"caption"}},
      {"disabled", [](PropertyBagButton& c) { c.SetEnabled(false); }, [](PropertyBagButton& c) { EXPECT_FALSE(c.button().Enabled()); },
       {"caption", "enabled"}},
      {"colour", [](PropertyBagButton& c) { c.SetFontColour(0x123456); },
       [](PropertyBagButton& c) { EXPECT_EQ(c.button().caption().colour, 0x123456u); }, {"caption", "fontcolour"}},
      {"colour with the top bit", [](PropertyBagButton& c) { c.SetFontColour(0x80000012); },
       [](PropertyBagButton& c) { EXPECT_EQ(c.button().caption().colour, 0x80000012u); }, {"caption", "fontcolour"}},
      {"transparent", [](PropertyBagButton& c) { c.SetVisible(0); }, [](PropertyBagButton& c) { EXPECT_FALSE(c.button().Visible()); },
       {"caption", "visible"}},
      {"font: stored whole, only the face comes back",
       [](PropertyBagButton& c) { c.SetFont(Font(L"IPAPGothic", 1200)); },
       [](PropertyBagButton& c) { EXPECT_EQ(c.button().Font(), Font(L"IPAPGothic", 975)); }, {"caption", "font"}},
  };
  for (const Case& c : cases) {
    QuietSite site;
    PropertyBagButton original(site, SkinSet{});
    original.button().Resize(81, 25);
    original.ReadProperties(MemoryPropertyStore{});
    c.change(original);
    MemoryPropertyStore saved;
    original.WriteProperties(saved);
    std::vector<std::string> keys;
    for (const auto& [key, value] : saved.entries()) keys.push_back(key);
    EXPECT_EQ(keys, c.storedKeys) << c.what;
    PropertyBagButton restored(site, SkinSet{});
    restored.button().Resize(81, 25);
    restored.ReadProperties(saved);
    c.check(restored);
  }
}

TEST(SkinButtonPersistence, StoredFontIsComparedWithTheAmbientFont) {
  QuietSite site;
  const FontSpec ambient = Font(L"MS UI Gothic", 900);
  PropertyBagButton bag(site, SkinSet{}, ambient);
  bag.ReadProperties(MemoryPropertyStore{});
  EXPECT_EQ(bag.button().Font().face, L"MS UI Gothic") << "no stored font: the ambient face";
  EXPECT_EQ(bag.button().Font().sizeHundredthsPt, 975) << "the caption keeps its own size";
  bag.SetFont(ambient);
  MemoryPropertyStore saved;
  bag.WriteProperties(saved);
  EXPECT_FALSE(saved.Contains("Font"));
}

TEST(SkinButtonPersistence, KeysIgnoreCaseAndUnreadableValuesAreSkipped) {
  QuietSite site;
  PropertyBagButton bag(site, SkinSet{});
  MemoryPropertyStore stored;
  stored.Put("ENABLED", std::wstring(L"False"));
  stored.Put("caption", int64_t{42});
  stored.Put("FirstRun", std::wstring(L"300"));   // out of byte range: keeps 0
  stored.Put("FontColour", std::wstring(L"red"));  // not a number: keeps black
  stored.Put("Visible", std::wstring(L"0"));
  bag.ReadProperties(stored);
  EXPECT_FALSE(bag.button().Enabled());
  EXPECT_EQ(bag.button().Caption(), L"42");
  EXPECT_EQ(bag.firstRun(), 0);
  EXPECT_EQ(bag.button().caption().colour, 0u);
  EXPECT_FALSE(bag.button().Visible());
}

using fakes::FakeSite;
using fakes::FlatSkins;

// A button as a host with a stored layout makes it: read from a store holding its caption, placed,
// initialised; every property-changed notice is recorded.
struct Fixture {
  FakeSite site;
  std::vector<std::string> notices;
  PropertyBagButton bag{site, FlatSkins(), DesignFont(), [this](std::string_view name) { notices.emplace_back(name); }};
  Fixture() {
    MemoryPropertyStore stored;
    stored.Put("Caption", std::wstring(L"設定"));
    bag.ReadProperties(stored);
    bag.button().Resize(81, 25);
    bag.button().Initialize();
  }
  std::optional<Skin> Look() const { return fakes::LookOf(bag.button()); }
  void Reach(ButtonState target) { fakes::Reach(bag.button(), site, target, false); }
};

TEST(SkinButtonLifecycle, FreshInstanceWaitsForTheFirstEnabledRead) {
  FakeSite site;
  PropertyBagButton bag(site, FlatSkins());
  SkinButton& button = bag.button();
  button.Resize(81, 25);
  button.Initialize();
  EXPECT_EQ(bag.firstRun(), 0);
  EXPECT_EQ(button.caption().text, L"Command");
  button.MouseMove();
  button.GotFocus();
  button.MouseUp(MouseButton::Left);
  EXPECT_EQ(button.state(), ButtonState::Idle);
  EXPECT_EQ(site.clicks, 0);
  EXPECT_TRUE(bag.ReadEnabled());
  EXPECT_EQ(bag.firstRun(), 1);
  EXPECT_EQ(button.drawnSkin(), Skin::Normal);
  button.MouseMove();
  EXPECT_EQ(button.state(), ButtonState::Hovered);
}

TEST(SkinButtonProperties, ReadsRedrawNormalAndKeepTheState) {
  struct Read {
    const char* name;
    void (*read)(PropertyBagButton&);
  };
  const Read reads[] = {
      {"FontColour", [](PropertyBagButton& c) { c.ReadFontColour(); }},
      {"Visible", [](PropertyBagButton& c) { EXPECT_EQ(c.ReadVisible(), 255); }},
      {"Enabled", [](PropertyBagButton& c) { EXPECT_TRUE(c.ReadEnabled()); }},
  };
  for (const Read& r : reads) {
    for (ButtonState from : {ButtonState::Hovered, ButtonState::Focused, ButtonState::FocusedHovered}) {
      Fixture f;
      f.Reach(from);
      ASSERT_NE(f.Look(), Skin::Normal);
      r.read(f.bag);
      EXPECT_EQ(f.Look(), Skin::Normal) << r.name << " in state " << int(from);
      EXPECT_EQ(f.bag.button().state(), from) << r.name;
      // The look and the state now differ until the next transition.
      f.site.pointerOverButton = false;
      f.bag.button().PollTick();
      if (from == ButtonState::FocusedHovered) {
        EXPECT_EQ(f.Look(), Skin::Selected);
      }
    }
  }
}

TEST(SkinButtonProperties, VisibleSwitchesTheBackground) {
  Fixture f;
  f.Reach(ButtonState::Hovered);
  f.bag.SetVisible(0);
  EXPECT_FALSE(f.bag.button().Visible());
  EXPECT_EQ(f.Look(), Skin::HighLight) << "turning transparent does not redraw";
  EXPECT_EQ(f.bag.ReadVisible(), 0);
  EXPECT_EQ(f.Look(), Skin::HighLight) << "reading a transparent Visible does not redraw";
  f.bag.SetVisible(7);
  EXPECT_TRUE(f.bag.button().Visible());
  EXPECT_EQ(f.Look(), Skin::Normal);
  EXPECT_EQ(f.notices, (std::vector<std::string>{"Visible", "Visible"}));
}

TEST(SkinButtonProperties, SettersNotifyTheHost) {
  Fixture f;
  f.bag.SetCaption(L"キャンセル");
  FontSpec big = DesignFont();
  big.sizeHundredthsPt = 1200;
  f.bag.SetFont(big);
  f.bag.SetFontColour(0x0000FF);
  f.bag.SetEnabled(true);
  EXPECT_EQ(f.notices, (std::vector<std::string>{"Caption", "Font", "FontColour", "Enabled"}));
  EXPECT_EQ(f.bag.button().caption().text, L"キャンセル");
  EXPECT_EQ(f.bag.button().caption().font, big);
  EXPECT_EQ(f.bag.ReadFontColour(), 0x0000FFu) << "a set-up button keeps its colour through ResetLook";
}

TEST(SkinButtonProperties, ColourOfAFreshInstanceFallsBackToBlack) {
  FakeSite site;
  PropertyBagButton bag(site, FlatSkins());
  bag.button().Resize(81, 25);
  EXPECT_TRUE(bag.ReadEnabled());
  bag.SetFontColour(0x00FF00);
  EXPECT_EQ(bag.ReadFontColour(), 0x00FF00u);
  EXPECT_EQ(bag.button().caption().colour, 0x00FF00u);
}

TEST(PropertyValues, EqualityAndConversions) {
  struct Same {
    PropertyValue a, b;
    bool equal;
  };
  const Same same[] = {
      {int64_t{1}, std::wstring(L"1"), true},     {true, std::wstring(L"-1"), true},
      {false, std::wstring(L"0"), true},          {int64_t{0}, std::wstring(L" 0"), true},
      {int64_t{2}, std::wstring(L"1"), false},    {std::wstring(L"Command"), std::wstring(L"command"), false},
      {std::wstring(L"1"), std::wstring(L"01"), false},  // two texts compare as texts
      {DesignFont(), DesignFont(), true},         {DesignFont(), std::wstring(L"0"), false},
      {int64_t{255}, std::wstring(L"&HFF"), true}, {true, int64_t{1}, false},
  };
  for (const auto& s : same) EXPECT_EQ(SameValue(s.a, s.b), s.equal) << s.a.index() << " vs " << s.b.index();

  struct Bool {
    PropertyValue v;
    std::optional<bool> result;
  };
  for (const auto& b : {Bool{std::wstring(L"true"), true}, Bool{std::wstring(L"FALSE"), false},
                        Bool{std::wstring(L"-1"), true}, Bool{int64_t{0}, false}, Bool{std::wstring(L"yes"), {}},
                        Bool{DesignFont(), {}}}) {
    EXPECT_EQ(ToBoolean(b.v), b.result);
  }
  struct Int {
    const wchar_t* text;
    std::optional<int64_t> result;
  };
  for (const auto& i : {Int{L"12", 12}, Int{L" -3 ", -3}, Int{L"2.5", 2}, Int{L"3.5", 4}, Int{L"&H1F", 31},
                        Int{L"", {}}, Int{L"1e3", {}}, Int{L"-", {}}, Int{L"&H", {}}, Int{L"99999999999999999999", {}}}) {
    EXPECT_EQ(ToInteger(std::wstring(i.text), INT64_MIN, INT64_MAX), i.result) << std::string(i.text, i.text + wcslen(i.text));
  }
  EXPECT_EQ(ToInteger(int64_t{256}, 0, 255), std::nullopt);
}

}  // namespace
}  // namespace kovaren::skin_button
