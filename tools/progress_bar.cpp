#include "progress_bar.h"

#include <algorithm>
#include <string>

#include <unistd.h>

#include "message_text.h"

namespace varnel::tool {
namespace {

constexpr int kBarWidth = 40;
constexpr std::chrono::milliseconds kBetweenDrawings{100};

}  // namespace

bool StandardErrorIsTerminal() { return ::isatty(::fileno(stderr)) != 0; }

ProgressBar::ProgressBar(std::optional<int> total, bool visible) : total_(total), visible_(visible) {}

ProgressBar::~ProgressBar() {
  if (!drawn_) return;
  Erase();
  Draw();
  std::fputc('\n', stderr);
}

void ProgressBar::Show(int done) {
  done_ = total_ ? std::clamp(done, 0, *total_) : done;
  const auto now = std::chrono::steady_clock::now();
  if (!visible_ || (drawn_ && now - lastDrawn_ < kBetweenDrawings && done_ != total_)) return;
  lastDrawn_ = now;
  Erase();
  Draw();
}

void ProgressBar::Report(std::string_view message) {
  Erase();
  Say(message);
  if (drawn_) Draw();
}

void ProgressBar::Draw() {
  if (!total_) {
    std::fprintf(stderr, "\r%d lines", done_);
  } else {
    const int filled = *total_ == 0 ? kBarWidth : static_cast<int>(static_cast<long long>(kBarWidth) * done_ / *total_);
    const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
    std::fprintf(stderr, "\r[%s] %d/%d", bar.c_str(), done_, *total_);
  }
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressBar::Erase() {
  // Carriage return, then erase to the end of the line: any terminal worth the name knows it.
  if (drawn_) std::fputs("\r\033[K", stderr);
}

}  // namespace varnel::tool
