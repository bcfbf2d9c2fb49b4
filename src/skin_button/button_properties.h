// For a host that keeps the skinned button in a property store, as a form designer's stored layout
// does: the value kinds such a store holds, the store contract (read with a default; a write equal to
// its default stores nothing), the conversions applied when a stored value is read back, and
// PropertyBagButton, the button as such a host sees it. No product code uses it: the product starts
// its buttons from a ButtonSetup.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "skin_button/button.h"

namespace kovaren::skin_button {

using PropertyValue = std::variant<bool, int64_t, std::wstring, FontSpec>;

// Equality as the store sees it: numbers, booleans (true = -1) and numeric text compare by value,
// so the number 1 equals the text "1"; other texts compare exactly; fonts compare whole.
bool SameValue(const PropertyValue& a, const PropertyValue& b);

std::optional<bool> ToBoolean(const PropertyValue& v);
std::optional<std::wstring> ToText(const PropertyValue& v);
std::optional<int64_t> ToInteger(const PropertyValue& v, int64_t min, int64_t max);

class PropertyStore {
 public:
  virtual ~PropertyStore() = default;
  // Keys are matched without regard to case.
  virtual PropertyValue Read(std::string_view key, const PropertyValue& fallback) const = 0;
  // Stores `value` under `key`, or nothing (dropping an older value) when it equals `fallback`.
  virtual void Write(std::string_view key, const PropertyValue& value, const PropertyValue& fallback) = 0;
};

// A store in memory, keys held in lower case.
class MemoryPropertyStore final : public PropertyStore {
 public:
  PropertyValue Read(std::string_view key, const PropertyValue& fallback) const override;
  void Write(std::string_view key, const PropertyValue& value, const PropertyValue& fallback) override;
  // Sets a value as a host's stored layout would hold it.
  void Put(std::string_view key, PropertyValue value);
  bool Contains(std::string_view key) const;
  const std::map<std::string, PropertyValue>& entries() const { return entries_; }

 private:
  std::map<std::string, PropertyValue> entries_;
};

// A button made without stored properties: disabled, caption "Command", until the host reads its
// Enabled property or its stored properties. Reading a property can redraw: reading Enabled draws
// Normal or Disable, reading FontColour (or Visible while opaque) draws Normal on an enabled button,
// and none of them changes the interaction state. Setting a property tells the host its name.
class PropertyBagButton {
 public:
  using PropertyChanged = std::function<void(std::string_view name)>;
  PropertyBagButton(SkinButtonSite& site, SkinSet skins, FontSpec ambientFont = DesignFont(),
                    PropertyChanged changed = nullptr);

  SkinButton& button() { return button_; }
  const SkinButton& button() const { return button_; }
  uint8_t firstRun() const { return firstRun_; }

  void ReadProperties(const PropertyStore& store);
  void WriteProperties(PropertyStore& store);

  void SetCaption(std::wstring text);
  void SetFont(FontSpec font);
  ColourRef ReadFontColour();
  void SetFontColour(ColourRef colour);
  bool ReadEnabled();
  void SetEnabled(bool enabled);
  // 255 opaque, 0 transparent.
  uint8_t ReadVisible();
  void SetVisible(uint8_t value);

 private:
  void ResetLook();
  void Notify(std::string_view name);

  SkinButton button_;
  FontSpec ambientFont_;
  PropertyChanged changed_;
  uint8_t firstRun_ = 0;  // 0 until set up: a first Enabled read switches the button on
};

}  // namespace kovaren::skin_button
