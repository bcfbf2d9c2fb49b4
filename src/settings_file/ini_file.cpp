#include "settings_file/ini_file.h"

#include "text/ascii.h"
#include "text/cp932.h"

// The text is scanned line by line with byte offsets, so that a write can splice the new value into
// the untouched original. Where a rule looks at characters (the last "]", a trailing backslash, name
// comparison, the cut) it steps through code page 932 characters, never through bare bytes: 0x5B,
// 0x5C and 0x5D are also trail bytes of double-byte characters.
namespace kovaren::ini {
namespace {

using text::CharLength;
using text::CutToBytes;
using text::IsLeadByte;

constexpr std::string_view kNewLine = "\r\n";

// The blanks the profile functions trim: 0x09-0x0D, 0x1A (the old end-of-file mark) and space.
constexpr std::string_view kProfileBlanks = "\t\n\v\f\r\x1A ";

bool IsBlank(char c) { return text::IsOneOf(c, kProfileBlanks); }

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) { return text::Trim(text, kProfileBlanks); }

// One line of the text: [begin, end) is its content, `next` the offset after its line break
// (CR LF, CR or LF), equal to `end` for a last line without one.
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
  size_t trimBegin = 0;  // content with blanks trimmed at both ends
  size_t trimEnd = 0;
};

Line LineAt(std::string_view text, size_t pos) {
  Line line;
  line.begin = pos;
  line.end = pos;
  while (line.end < text.size() && !IsLineBreak(text[line.end])) ++line.end;
  line.next = line.end;
  if (line.next < text.size()) {
    line.next += (text[line.next] == '\r' && line.next + 1 < text.size() && text[line.next + 1] == '\n') ? 2 : 1;
  }
  line.trimBegin = line.begin;
  line.trimEnd = line.end;
  while (line.trimBegin < line.trimEnd && IsBlank(text[line.trimBegin])) ++line.trimBegin;
  while (line.trimEnd > line.trimBegin && IsBlank(text[line.trimEnd - 1])) --line.trimEnd;
  return line;
}

// For a section header line, the name between "[" and the last "]" character, trimmed.
std::optional<std::string_view> HeaderName(std::string_view content) {
  if (content.empty() || content.front() != '[') return std::nullopt;
  std::optional<size_t> lastBracket;
  for (size_t pos = 1; pos < content.size(); pos += CharLength(content, pos)) {
    if (content[pos] == ']') lastBracket = pos;
  }
  if (!lastBracket) return std::nullopt;
  return Trim(content.substr(1, *lastBracket - 1));
}

// Where the requested section and key stand in the text.
struct Location {
  bool sectionFound = false;
  size_t afterLastLine = 0;       // offset after the last non-blank line of the section (header included)
  bool lastLineHasBreak = false;  // false when that line ends the text without a line break
  bool keyFound = false;
  bool keyHasEquals = false;
  size_t valueBegin = 0;  // the value's bytes, blanks trimmed; for a key without "=", the end of its name
  size_t valueEnd = 0;
  size_t afterEquals = 0;  // the blanks around the value lie in [afterEquals, lineEnd)
  size_t lineEnd = 0;
  bool textEndsInBlankLine = true;  // an empty text counts as ending in one
};

Location Locate(std::string_view text, std::string_view section, std::string_view key) {
  Location where;
  bool inSection = false;
  for (size_t pos = 0; pos < text.size();) {
    const Line line = LineAt(text, pos);
    pos = line.next;
    const std::string_view content = text.substr(line.trimBegin, line.trimEnd - line.trimBegin);
    where.textEndsInBlankLine = content.empty();  // blanks alone make a blank line once it ends
    if (content.empty()) continue;

    if (const auto name = HeaderName(content)) {
      if (inSection) return where;  // the first matching section is the only one that counts
      if (NamesEqual(*name, section)) {
        inSection = true;
        where.sectionFound = true;
        where.afterLastLine = line.next;
        where.lastLineHasBreak = line.next > line.end;
      }
      continue;
    }
    if (!inSection) continue;

    where.afterLastLine = line.next;
    where.lastLineHasBreak = line.next > line.end;
    if (where.keyFound) continue;
    const size_t equals = content.find('=');  // '=' is never a trail byte, so a byte search is exact
    const std::string_view name = Trim(content.substr(0, equals));
    if (!NamesEqual(name, key)) continue;
    where.keyFound = true;
    where.keyHasEquals = equals != std::string_view::npos;
    where.lineEnd = line.end;
    if (where.keyHasEquals) {
      where.afterEquals = line.trimBegin + equals + 1;
      where.valueBegin = where.afterEquals;
      while (where.valueBegin < line.trimEnd && IsBlank(text[where.valueBegin])) ++where.valueBegin;
    } else {
      where.valueBegin = line.trimEnd;
    }
    where.valueEnd = line.trimEnd;
  }
  return where;
}

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t pos = 0; pos < a.size();) {
    const size_t length = CharLength(a, pos);
    if (CharLength(b, pos) != length) return false;
    if (length == 2) {
      if (a[pos] != b[pos] || a[pos + 1] != b[pos + 1]) return false;
    } else if (text::ToUpper(a[pos]) != text::ToUpper(b[pos])) {
      return false;
    }
    pos += length;
  }
  return true;
}

std::optional<std::string> ReadValue(std::string_view text, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  if (section.empty() || key.empty()) return std::nullopt;
  const Location where = Locate(text, section, key);
  if (!where.keyFound) return std::nullopt;
  std::string_view value = text.substr(where.valueBegin, where.valueEnd - where.valueBegin);
  // Neither quote is ever a trail byte, so the byte test below is exact.
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool CanStore(std::string_view section, std::string_view key, std::string_view value) {
  const auto hasLineBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
  if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) return false;
  section = Trim(section);
  key = Trim(key);
  if (section.empty() || key.empty()) return false;
  if (key.find('=') != std::string_view::npos || key.front() == '[') return false;
  // A lone lead byte at the end would pair with the closing "]" and hide it.
  const size_t last = section.size() - 1;
  return !IsLeadByte(static_cast<unsigned char>(section[last])) || CutToBytes(section, last).size() != last;
}

std::optional<std::string> WithValue(std::string_view text, std::string_view section, std::string_view key,
                                     std::string_view value) {
  if (!CanStore(section, key, value)) return std::nullopt;
  section = Trim(section);
  key = Trim(key);
  const Location where = Locate(text, section, key);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 12);

  if (where.keyFound) {
    size_t begin = where.valueBegin;
    size_t end = where.valueEnd;
    // A value that brings its own blanks (number text " 100") replaces the file's blanks on that side,
    // so that saving the same value again gives the same bytes instead of one more blank each time.
    if (where.keyHasEquals && !value.empty() && IsBlank(value.front())) begin = where.afterEquals;
    if (!value.empty() && IsBlank(value.back())) end = where.lineEnd;
    out.append(text.substr(0, begin));
    if (!where.keyHasEquals) out.push_back('=');
    out.append(value);
    out.append(text.substr(end));
    return out;
  }

  if (where.sectionFound) {
    out.append(text.substr(0, where.afterLastLine));
    if (!where.lastLineHasBreak) out.append(kNewLine);
    out.append(key).append("=").append(value).append(kNewLine);
    out.append(text.substr(where.afterLastLine));
    return out;
  }

  out.append(text);
  if (!text.empty() && !IsLineBreak(text.back())) out.append(kNewLine);
  if (!where.textEndsInBlankLine) out.append(kNewLine);  // a blank line between sections
  out.append("[").append(section).append("]").append(kNewLine);
  out.append(key).append("=").append(value).append(kNewLine);
  return out;
}

}  // namespace kovaren::ini
