// The skinned button's persisted properties: the value kinds a host's property store holds, the
// store contract (read with a default; a write equal to its default stores nothing) and the
// conversions applied when a stored value is read back. A conversion that cannot be made yields
// nothing, and the caller keeps the value it had.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kovaren::skin_button {

// A caption font: face, size in hundredths of a point, weight, style and character set.
struct FontSpec {
  std::wstring face;
  int sizeHundredthsPt = 975;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 128;  // SHIFTJIS_CHARSET
  bool operator==(const FontSpec&) const = default;
};

// "ＭＳ Ｐゴシック" at 9 pt, which the platform stores as 9.75 pt; regular weight; Shift-JIS.
FontSpec DesignFont();

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

// A store in memory, keys held in lower case; what the Win32 shell creates its buttons from.
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

}  // namespace kovaren::skin_button
