// Asks a running saver how many passes it has run, as a soak run does from outside, and prints the
// count (the low 32 bits the saver answers with) and a line end on standard output.
// Usage: pass_count_host
// Exit 0 when it printed the count; 3 no saver window; 4 the saver did not answer in time (hung, or
// gone meanwhile); 5 the message could not be registered. A failure says which on standard error.
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "saver/saver_win32.h"

namespace {

constexpr UINT kAnswerTimeoutMs = 2000;

// Plain WriteFile on the standard handles: a GUI-subsystem program has no console, but under Wine
// its standard handles are the ones it was started with.
void WriteTo(DWORD which, const char* text, int length) {
  DWORD written = 0;
  WriteFile(GetStdHandle(which), text, static_cast<DWORD>(length), &written, nullptr);
}

int Fail(int code, const char* why) {
  char line[128];
  const int length = std::snprintf(line, sizeof line, "pass_count_host: %s\n", why);
  WriteTo(STD_ERROR_HANDLE, line, length);
  return code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const UINT message = RegisterWindowMessageW(kovaren::win32::kPassCountMessageName);
  if (message == 0) return Fail(5, "cannot register the pass-count message");
  HWND saver = FindWindowW(kovaren::win32::kSaverClass, nullptr);
  if (saver == nullptr) return Fail(3, "no saver window (class Tesmar_Main)");
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(saver, message, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer) == 0) {
    return Fail(4, "the saver did not answer within 2 s");
  }
  char line[32];
  const int length = std::snprintf(line, sizeof line, "%lu\n", static_cast<unsigned long>(static_cast<uint32_t>(answer)));
  WriteTo(STD_OUTPUT_HANDLE, line, length);
  return 0;
}
