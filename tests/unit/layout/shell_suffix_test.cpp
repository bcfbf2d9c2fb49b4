// The suffix rule the build and the README rely on: a file under src/ without a shell's suffix is
// the portable core and includes only the C++ standard library and other core files; a file of the
// Windows shell includes nothing of the Linux program's (X11, Wayland, the POSIX seams) and the other
// way round. The native build cannot catch all of it: X11's headers are on the build machine, so a
// core file that took one would build here and break only the Windows builds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

// "win32", "x11", "wayland", "posix" from a file name such as saver_x11.cpp or version_win32.h.in;
// empty for a core file.
std::string ShellOf(const std::string& fileName) {
  static const std::regex kSuffix(R"(_(win32|x11|wayland|posix)\.[a-z.]+$)");
  std::smatch match;
  return std::regex_search(fileName, match, kSuffix) ? match[1].str() : std::string();
}

// Whether a file of `shell` ("" for the core) may carry `include`, the text of an #include line
// after the word: <name> or "path".
// Which program a shell's files build into: Kovaren.scr, or the Linux program kovaren.
bool ForWindows(const std::string& shell) { return shell == "win32"; }

bool MayInclude(const std::string& shell, const std::string& include) {
  const bool system = include.starts_with('<');
  const std::string name = include.substr(1, include.size() - 2);
  if (shell.empty()) {
    // The C++ standard library's headers have neither a folder nor an extension.
    if (system) return name.find_first_of("./") == std::string::npos;
    return ShellOf(name).empty();
  }
  if (system) return true;
  const std::string included = ShellOf(name);
  return included.empty() || ForWindows(included) == ForWindows(shell);
}

TEST(ShellSuffix, RuleTellsCoreShellAndForeignIncludes) {
  struct Case {
    const char* file;
    const char* include;
    bool allowed;
  };
  const Case cases[] = {
      {"saver/leaf.cpp", "<vector>", true},
      {"saver/leaf.cpp", "\"saver/leaf.h\"", true},
      {"saver/leaf.cpp", "<X11/Xlib.h>", false},
      {"saver/leaf.cpp", "<windows.h>", false},
      {"saver/leaf.cpp", "<unistd.h>", false},
      {"saver/leaf.cpp", "\"saver/presenter_x11.h\"", false},
      {"saver/leaf.cpp", "\"platform/window_win32.h\"", false},
      {"saver/leaf.cpp", "\"platform/shm_buffer_wayland.h\"", false},
      {"saver/leaf.cpp", "\"platform/saver_process_posix.h\"", false},
      {"saver/saver_x11.cpp", "<X11/Xlib.h>", true},
      {"saver/saver_x11.cpp", "\"saver/hack_window_x11.h\"", true},
      {"saver/saver_x11.cpp", "\"saver/monitor_scenes.h\"", true},
      {"saver/saver_x11.cpp", "\"platform/saver_process_posix.h\"", true},
      {"saver/saver_x11.cpp", "\"saver/monitors_win32.h\"", false},
      {"saver/saver_wayland.cpp", "\"music/gst_music_x11.h\"", true},
      {"saver/saver_wayland.cpp", "\"platform/gdi_win32.h\"", false},
      {"platform/gdi_win32.cpp", "\"platform/file_io_posix.h\"", false},
      {"platform/gdi_win32.cpp", "\"settings_file/settings.h\"", true},
      {"main/version_win32.h.in", "\"platform/gdi_win32.h\"", true},
      {"main/version_win32.h.in", "\"saver/monitors_x11.h\"", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MayInclude(ShellOf(c.file), c.include), c.allowed) << c.file << " includes " << c.include;
}

TEST(ShellSuffix, EveryFileUnderSrcKeepsIt) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"][^>"]+[>"]))");
  const std::filesystem::path root = std::filesystem::path(KOVAREN_SOURCE_DIR) / "src";
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::string rel = std::filesystem::relative(entry.path(), root).generic_string();
    if (!std::regex_search(rel, std::regex(R"(\.(h|cpp|h\.in)$)"))) continue;
    ++files;
    const std::string shell = ShellOf(rel);
    std::ifstream in(entry.path());
    std::string line;
    std::smatch match;
    while (std::getline(in, line)) {
      if (!std::regex_search(line, match, kInclude)) continue;
      EXPECT_TRUE(MayInclude(shell, match[1].str()))
          << "src/" << rel << " (" << (shell.empty() ? "core" : shell) << ") includes " << match[1].str();
    }
  }
  EXPECT_GT(files, 0) << "no sources under " << root;
}

}  // namespace
