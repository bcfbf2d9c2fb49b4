// Starts a program with an exact command line and lives as long as it does, returning its exit code:
//   launch_host APPLICATION "COMMAND LINE"
// Wine builds a program's command line by joining its Unix arguments with single blanks, so a command
// text such as " /s" (a blank first) cannot be handed over directly; through this host it can.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count != 3) return 120;
  const std::wstring application = args[1];
  std::wstring commandLine = args[2];  // CreateProcessW may write into its command line
  LocalFree(args);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return 121;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 122;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
