// ASCII character rules shared by every reader of text in the program: digits, blank sets, trimming
// and letter case. They take any character type (code page 932 bytes, UTF-16) and never touch a
// character outside ASCII, so a double-byte character's bytes or a non-Latin letter pass unchanged.
#pragma once
#include <string_view>
#include <type_traits>

namespace kovaren::text {

// Blank sets, written as the characters they hold.
inline constexpr std::string_view kSpaceAndTab = " \t";
inline constexpr std::string_view kSpace = " ";

template <class Char>
constexpr bool IsAscii(Char c) {
  return static_cast<std::make_unsigned_t<Char>>(c) < 0x80;
}

template <class Char>
constexpr bool IsDigit(Char c) {
  return c >= Char('0') && c <= Char('9');
}

// True when `c` is one of the ASCII characters in `set`.
template <class Char>
constexpr bool IsOneOf(Char c, std::string_view set) {
  return IsAscii(c) && set.find(static_cast<char>(c)) != std::string_view::npos;
}

template <class Char>
constexpr std::basic_string_view<Char> TrimStart(std::basic_string_view<Char> text, std::string_view blanks) {
  while (!text.empty() && IsOneOf(text.front(), blanks)) text.remove_prefix(1);
  return text;
}

template <class Char>
constexpr std::basic_string_view<Char> Trim(std::basic_string_view<Char> text, std::string_view blanks) {
  text = TrimStart(text, blanks);
  while (!text.empty() && IsOneOf(text.back(), blanks)) text.remove_suffix(1);
  return text;
}

template <class Char>
constexpr Char ToUpper(Char c) {
  return (c >= Char('a') && c <= Char('z')) ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

template <class Char>
constexpr Char ToLower(Char c) {
  return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

}  // namespace kovaren::text
