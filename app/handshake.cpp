#include "app/handshake.h"

#include "winport/crt.h"

Handshake ParseHandshake(std::string_view text) {
  Handshake result;
  if (text.empty()) return result;
  // The working copy grows with the text: a handshake longer than a Windows path buffer is
  // kept whole rather than cut into a different output path (the destination checks refuse
  // paths that are too long, with a message).
  std::string work(text);
  std::size_t first = work.find(',');
  if (first == std::string::npos) return result;
  result.window = winport::Atol(work.substr(0, first).c_str());

  std::string_view rest = std::string_view(work).substr(first + 1);
  std::size_t second = rest.find(',');
  if (second == std::string::npos) return result;
  result.message =
      static_cast<std::uint32_t>(winport::Atol(std::string(rest.substr(0, second)).c_str()));

  rest = rest.substr(second + 1);
  std::size_t third = rest.find(',');
  if (third == std::string::npos) return result;
  result.functionId =
      static_cast<std::int16_t>(winport::Atoi(std::string(rest.substr(0, third)).c_str()));

  result.outputPath = std::string(rest.substr(third + 1));
  result.present = true;
  return result;
}
