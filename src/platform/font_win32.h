// The program's fonts. Every text it draws asks for a Japanese Gothic that not every system has, so
// the maker falls back to the nearest installed one rather than to whatever the font mapper picks.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace kovaren::win32 {

struct FontRequest {
  std::wstring face;
  int pixelHeight = 0;  // character height in pixels (the LOGFONT's negative height)
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  BYTE charset = SHIFTJIS_CHARSET;
  BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
};

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// True when a font family of that face is installed on `dc`'s device.
bool FaceInstalled(HDC dc, const wchar_t* face);

// The requested font; when its face is not installed, the first installed of the Japanese Gothics
// near it. Null when the system could not make one.
OwnedFont MakeFont(HDC dc, const FontRequest& request);

}  // namespace kovaren::win32
