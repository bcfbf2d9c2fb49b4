// Saving and restoring the button through a host's property store: key order, defaults, the two
// caption defaults, the font rule, and stored values that cannot be converted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_button/button.h"

namespace kovaren::skin_button {
namespace {

class QuietSite final : public SkinButtonSite {
 public:
  std::optional<ScreenPoint> CursorPosition() override { return std::nullopt; }
  bool IsOwnWindowAt(ScreenPoint) override { return false; }
  void Refresh() override {}
  void PropertyChanged(std::string_view) override {}
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
  SkinButton button(site, SkinSet{});
  RecordingStore store;
  button.ReadProperties(store);
  button.WriteProperties(store);
  EXPECT_EQ(store.log, (std::vector<std::string>{"read Enabled", "read Caption", "read Font", "read FirstRun",
                                                 "read FontColour", "read Visible", "write Enabled", "write Caption",
                                                 "write FirstRun", "write Font", "write FontColour", "write Visible"}));
}

TEST(SkinButtonPersistence, EmptyStoreGivesTheDefaults) {
  QuietSite site;
  SkinButton button(site, SkinSet{});
  button.Resize(81, 25);
  button.ReadProperties(MemoryPropertyStore{});
  EXPECT_TRUE(button.enabledFlag());
  EXPECT_EQ(button.firstRun(), 1);
  EXPECT_EQ(button.Caption(), L"Command1");
  EXPECT_EQ(button.Font(), DesignFont());
  EXPECT_EQ(button.caption().colour, 0u);
  EXPECT_TRUE(button.opaque());
  EXPECT_EQ(button.drawnSkin(), Skin::Normal) << "reading ends with ResetLook";
  // Written back, only the caption differs from its write default.
  MemoryPropertyStore saved;
  button.WriteProperties(saved);
  ASSERT_EQ(saved.entries().size(), 1u);
  EXPECT_EQ(std::get<std::wstring>(saved.Read("caption", std::wstring())), L"Command1");
}

TEST(SkinButtonPersistence, RoundTrips) {
  struct Case {
    const char* what;
    void (*change)(SkinButton&);
    void (*check)(SkinButton&);
    std::vector<std::string> storedKeys;
  };
  const Case cases[] = {
      {"caption \"Command\" is not stored and returns as Command1", [](SkinButton& c) { c.SetCaption(L"Command"); },
       [](SkinButton& c) { EXPECT_EQ(c.Caption(), L"Command1"); }, {}},
      {"a Japanese caption", [](SkinButton& c) { c.SetCaption(L"設定"); },
       [](SkinButton& c) { EXPECT_EQ(c.Caption(), L"設定"); }, {"caption"}},
      {"disabled", [](SkinButton& c) { c.SetEnabled(false); }, [](SkinButton& c) { EXPECT_FALSE(c.enabledFlag()); },
       {"caption", "enabled"}},
      {"colour", [](SkinButton& c) { c.SetFontColour(0x123456); },
       [](SkinButton& c) { EXPECT_EQ(c.caption().colour, 0x123456u); }, {"caption", "fontcolour"}},
      {"colour with the top bit", [](SkinButton& c) { c.SetFontColour(0x80000012); },
       [](SkinButton& c) { EXPECT_EQ(c.caption().colour, 0x80000012u); }, {"caption", "fontcolour"}},
      {"transparent", [](SkinButton& c) { c.SetVisible(0); }, [](SkinButton& c) { EXPECT_FALSE(c.opaque()); },
       {"caption", "visible"}},
      {"font: stored whole, only the face comes back",
       [](SkinButton& c) { c.SetFont(Font(L"IPAPGothic", 1200)); },
       [](SkinButton& c) { EXPECT_EQ(c.Font(), Font(L"IPAPGothic", 975)); }, {"caption", "font"}},
  };
  for (const Case& c : cases) {
    QuietSite site;
    SkinButton original(site, SkinSet{});
    original.Resize(81, 25);
    original.ReadProperties(MemoryPropertyStore{});
    c.change(original);
    MemoryPropertyStore saved;
    original.WriteProperties(saved);
    std::vector<std::string> keys;
    for (const auto& [key, value] : saved.entries()) keys.push_back(key);
    EXPECT_EQ(keys, c.storedKeys) << c.what;
    SkinButton restored(site, SkinSet{});
    restored.Resize(81, 25);
    restored.ReadProperties(saved);
    c.check(restored);
  }
}

TEST(SkinButtonPersistence, StoredFontIsComparedWithTheAmbientFont) {
  QuietSite site;
  const FontSpec ambient = Font(L"MS UI Gothic", 900);
  SkinButton button(site, SkinSet{}, ambient);
  button.ReadProperties(MemoryPropertyStore{});
  EXPECT_EQ(button.Font().face, L"MS UI Gothic") << "no stored font: the ambient face";
  EXPECT_EQ(button.Font().sizeHundredthsPt, 975) << "the caption keeps its own size";
  button.SetFont(ambient);
  MemoryPropertyStore saved;
  button.WriteProperties(saved);
  EXPECT_FALSE(saved.Contains("Font"));
}

TEST(SkinButtonPersistence, KeysIgnoreCaseAndUnreadableValuesAreSkipped) {
  QuietSite site;
  SkinButton button(site, SkinSet{});
  MemoryPropertyStore stored;
  stored.Put("ENABLED", std::wstring(L"False"));
  stored.Put("caption", int64_t{42});
  stored.Put("FirstRun", std::wstring(L"300"));   // out of byte range: keeps 0
  stored.Put("FontColour", std::wstring(L"red"));  // not a number: keeps black
  stored.Put("Visible", std::wstring(L"0"));
  button.ReadProperties(stored);
  EXPECT_FALSE(button.enabledFlag());
  EXPECT_EQ(button.Caption(), L"42");
  EXPECT_EQ(button.firstRun(), 0);
  EXPECT_EQ(button.caption().colour, 0u);
  EXPECT_FALSE(button.opaque());
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
