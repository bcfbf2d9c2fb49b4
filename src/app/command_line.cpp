#include "app/command_line.h"

// Not built yet: placeholders until the command-line parser lands.
namespace kovaren {
std::u16string CommandText(std::u16string_view) { return {}; }
char16_t ModeLetter(std::u16string_view) { return 0; }
int32_t HostHandle(std::u16string_view) { return 0; }
}  // namespace kovaren
