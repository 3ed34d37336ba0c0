#include "progress_bar.h"

#include <algorithm>
#include <string>

#include <unistd.h>

namespace varnel::tool {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

bool StandardErrorIsTerminal() { return ::isatty(::fileno(stderr)) != 0; }

ProgressBar::ProgressBar(int total, bool visible) : total_(std::max(total, 0)), visible_(visible) {}

ProgressBar::~ProgressBar() {
  if (drawn_) std::fputc('\n', stderr);
}

void ProgressBar::Show(int done) {
  done_ = std::clamp(done, 0, total_);
  if (!visible_) return;
  const int filled = total_ == 0 ? kBarWidth : static_cast<int>(static_cast<long long>(kBarWidth) * done_ / total_);
  const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
  std::fprintf(stderr, "\r[%s] %d/%d", bar.c_str(), done_, total_);
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressBar::Report(std::string_view message) {
  Erase();
  std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
  if (drawn_) Show(done_);
}

void ProgressBar::Erase() {
  // Carriage return, then erase to the end of the line: any terminal worth the name knows it.
  if (drawn_) std::fputs("\r\033[K", stderr);
}

}  // namespace varnel::tool
