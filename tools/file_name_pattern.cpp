#include "file_name_pattern.h"

namespace varnel::tool {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<FileNamePattern> FileNamePattern::Parse(std::string_view pattern) {
  FileNamePattern parsed;
  bool numbered = false;
  const bool printfStyle = pattern.find('%') != std::string_view::npos;
  for (std::size_t at = 0; at < pattern.size();) {
    std::string& text = numbered ? parsed.after_ : parsed.before_;
    const char c = pattern[at++];
    if (c == '%' && at < pattern.size() && pattern[at] == '%') {
      text += pattern[at++];
      continue;
    }
    if (c != '%' && (c != '~' || printfStyle)) {
      text += c;
      continue;
    }
    if (numbered) return std::nullopt;
    numbered = true;
    if (c == '~') {
      parsed.padding_ = '0';
      for (parsed.width_ = 1; at < pattern.size() && pattern[at] == '~'; ++at) ++parsed.width_;
    } else {
      if (at < pattern.size() && pattern[at] == '0') parsed.padding_ = pattern[at++];
      for (; at < pattern.size() && IsDigit(pattern[at]) && parsed.width_ <= kWidest; ++at) {
        parsed.width_ = parsed.width_ * 10 + (pattern[at] - '0');
      }
      if (at == pattern.size() || pattern[at++] != 'd') return std::nullopt;
    }
    if (parsed.width_ > kWidest) return std::nullopt;
  }
  if (!numbered) return std::nullopt;
  return parsed;
}

std::string FileNamePattern::NameOf(int number) const {
  const std::string digits = std::to_string(number);
  std::string name = before_;
  if (static_cast<int>(digits.size()) < width_) name.append(static_cast<std::size_t>(width_) - digits.size(), padding_);
  return name + digits + after_;
}

}  // namespace varnel::tool
