#include "platform/font_win32.h"

namespace kovaren::win32 {
namespace {

// Tried in this order when the wanted face is missing: the proportional Gothics first, as the
// captions and labels were laid out for one.
constexpr const wchar_t* kGothics[] = {L"MS PGothic", L"IPAPGothic", L"Meiryo UI", L"Yu Gothic UI",
                                       L"MS UI Gothic", L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF", L"IPAGothic"};

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

const wchar_t* InstalledFace(HDC dc, const std::wstring& wanted) {
  if (FaceInstalled(dc, wanted.c_str())) return wanted.c_str();
  for (const wchar_t* candidate : kGothics) {
    if (FaceInstalled(dc, candidate)) return candidate;
  }
  return wanted.c_str();  // nothing near it either: the font mapper chooses
}

}  // namespace

bool FaceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

OwnedFont MakeFont(HDC dc, const FontRequest& request) {
  LOGFONTW lf{};  // zero: default width, escapement, precision and quality
  lf.lfHeight = -request.pixelHeight;
  lf.lfWeight = request.weight;
  lf.lfItalic = request.italic;
  lf.lfUnderline = request.underline;
  lf.lfStrikeOut = request.strikethrough;
  lf.lfCharSet = request.charset;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = request.pitchAndFamily;
  lstrcpynW(lf.lfFaceName, InstalledFace(dc, request.face), LF_FACESIZE);
  return OwnedFont(CreateFontIndirectW(&lf));
}

}  // namespace kovaren::win32
