// See keeper_input.h.
#include "keeper_input.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstddef>

namespace colfix {
namespace {

std::optional<KeptText> ParseText(const std::string& input) {
  const std::size_t newline = input.find('\n');
  if (newline == std::string::npos) return std::nullopt;
  const char* const end = input.data() + newline;
  std::size_t utf8Size = 0, latin1Size = 0;
  const auto [space, utf8Error] = std::from_chars(input.data(), end, utf8Size);
  if (utf8Error != std::errc{} || space == end || *space != ' ') return std::nullopt;
  const auto [afterSizes, latin1Error] = std::from_chars(space + 1, end, latin1Size);
  if (latin1Error != std::errc{} || afterSizes != end ||
      input.size() - newline - 1 != utf8Size + latin1Size) {
    return std::nullopt;
  }
  return KeptText{input.substr(newline + 1, utf8Size), input.substr(newline + 1 + utf8Size)};
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[65536];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
    if (got > 0) text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

}  // namespace

std::optional<KeptText> TakeTextFromColfix() {
  std::optional<KeptText> text = ParseText(ReadAll(STDIN_FILENO));
  if (!text || ::chdir("/") != 0) return std::nullopt;
  return text;
}

bool TellColfixClipboardTaken() {
  const char ready = '1';
  const bool told = ::write(STDOUT_FILENO, &ready, 1) == 1;
  ::close(STDIN_FILENO);
  return told;
}

}  // namespace colfix
