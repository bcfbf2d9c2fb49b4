// A file's path as the platform's file functions take it: UTF-16 on Windows (so a folder of any name
// works, whatever the code page), bytes elsewhere. The program only ever appends its own ASCII names to
// a path the platform gave it, takes a path's folder and compares paths; std::filesystem::path would
// do that too, but would double the size of the program.
#pragma once
#include <compare>
#include <string>
#include <string_view>

namespace kovaren {

class FilePath {
 public:
#if defined(_WIN32)
  using Char = wchar_t;
  static constexpr Char kSeparator = L'\\';
#else
  using Char = char;
  static constexpr Char kSeparator = '/';
#endif
  using Text = std::basic_string<Char>;

  FilePath() = default;
  FilePath(Text text) : text_(std::move(text)) {}

  // This folder's entry `name` (ASCII).
  FilePath operator/(std::string_view name) const;
  // This path with `suffix` (ASCII) added to its last name.
  FilePath operator+(std::string_view suffix) const;
  // The folder that holds this entry; a root ("C:\", "/") is its own folder; empty for a bare name.
  FilePath Folder() const;

  bool empty() const { return text_.empty(); }
  const Text& native() const { return text_; }
  const Char* c_str() const { return text_.c_str(); }
  friend auto operator<=>(const FilePath&, const FilePath&) = default;

 private:
  Text text_;
};

}  // namespace kovaren
