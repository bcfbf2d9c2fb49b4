#include "platform/file_path.h"

namespace kovaren {
namespace {

// Windows takes either slash; both are single bytes of a UTF-16 text, so no character hides them.
bool IsSeparator(FilePath::Char c) { return c == FilePath::kSeparator || c == FilePath::Char('/'); }

// The length of the root that starts `text`: "C:\" and "\" on Windows, "/" elsewhere; 0 for none.
size_t RootLength(const FilePath::Text& text) {
  if (!text.empty() && IsSeparator(text[0])) return 1;
  if (FilePath::kSeparator == FilePath::Char('\\') && text.size() >= 3 && text[1] == FilePath::Char(':') &&
      IsSeparator(text[2])) {
    return 3;
  }
  return 0;
}

FilePath::Text Widened(std::string_view ascii) { return FilePath::Text(ascii.begin(), ascii.end()); }

}  // namespace

FilePath FilePath::operator/(std::string_view name) const {
  Text joined = text_;
  if (!joined.empty() && !IsSeparator(joined.back())) joined.push_back(kSeparator);
  joined += Widened(name);
  return FilePath(std::move(joined));
}

FilePath FilePath::operator+(std::string_view suffix) const { return FilePath(text_ + Widened(suffix)); }

FilePath FilePath::Folder() const {
  const size_t root = RootLength(text_);
  size_t end = text_.size();
  while (end > root && IsSeparator(text_[end - 1])) --end;  // a trailing separator names no entry
  while (end > root && !IsSeparator(text_[end - 1])) --end;
  while (end > root && IsSeparator(text_[end - 1])) --end;
  return FilePath(text_.substr(0, end));
}

}  // namespace kovaren
