#include "windows/toolbar_tips.h"

#include "runtime/text/utf8.h"

namespace vesp {

std::string PackTips(const std::vector<ToolbarTip>& tips) {
  if (tips.size() > 255) return {};
  std::string packed(1, static_cast<char>(tips.size()));
  for (const ToolbarTip& t : tips) {
    const std::string_view text = vrt::utf8Truncate(t.text, 255);
    const int button = vrt::toolbarControl(t.button);
    packed += static_cast<char>(button & 0xFF);
    packed += static_cast<char>((button >> 8) & 0xFF);
    packed += static_cast<char>(text.size());
    packed += text;
  }
  return packed;
}

std::vector<ToolbarTip> UnpackTips(std::string_view packed) {
  std::vector<ToolbarTip> tips;
  if (packed.empty()) return tips;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(packed[i]); };
  const std::size_t count = byte(0);
  std::size_t at = 1;
  for (std::size_t n = 0; n < count; ++n) {
    if (at + 3 > packed.size()) break;
    const int button = byte(at) | (byte(at + 1) << 8);
    const std::size_t length = byte(at + 2);
    at += 3;
    if (at + length > packed.size()) break;
    tips.push_back({static_cast<vrt::ToolbarAction>(button), std::string(packed.substr(at, length))});
    at += length;
  }
  return tips;
}

}  // namespace vesp
