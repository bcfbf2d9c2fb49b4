#include "settings_dialog/music_file_chooser_win32.h"

#include <commdlg.h>

#include <array>
#include <string>

#include "platform/text_win32.h"

namespace kovaren::win32 {
namespace {

// One filter entry: description, pattern, each NUL-terminated, then the list's closing NUL (the
// literal's own terminator).
constexpr wchar_t kFileFilter[] = L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0";
constexpr wchar_t kFileTitle[] = L"ﾌｧｲﾙを選択";
constexpr DWORD kFileBufferChars = 255;

}  // namespace

dialog::FileChooserAnswer AskForMusicFile(HWND owner, HINSTANCE instance) {
  std::array<wchar_t, kFileBufferChars> file{};
  std::array<wchar_t, kFileBufferChars> title{};
  // The record as it was before the later Windows additions: those fields stay out.
  OPENFILENAMEW ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  ofn.hwndOwner = owner;
  ofn.hInstance = instance;
  ofn.lpstrFilter = kFileFilter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kFileBufferChars;
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = kFileBufferChars;
  ofn.lpstrTitle = kFileTitle;
  ofn.Flags = 0;
  dialog::FileChooserAnswer answer;
  answer.chosen = GetOpenFileNameW(&ofn) > 0;
  if (answer.chosen) {
    const std::wstring path(file.data());
    answer.path = Cp932FromWide(path);
    answer.faithful = WideFromCp932(answer.path) == path;
  }
  return answer;
}

}  // namespace kovaren::win32
