// The names of a batch's files when its lines are data alone (--name): one pattern, with the line's
// number in it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnel::tool {

class FileNamePattern {
 public:
  // The pattern holds the number once: as printf's %d, with a width and zeros in front as printf
  // takes them (label-%05d.png), or, as zint writes it, as a run of ~, a digit each with zeros in
  // front (label~~~~~.png); %% is a %, and with a %d a ~ is itself. Nothing for a pattern without
  // the number, with it twice, with another % conversion, or a width past kWidest.
  static std::optional<FileNamePattern> Parse(std::string_view pattern);

  // The name of the file of the line with that number; a number wider than the width takes the
  // room it needs.
  std::string NameOf(int number) const;

  static constexpr int kWidest = 20;

 private:
  std::string before_;
  std::string after_;
  int width_ = 0;
  char padding_ = ' ';
};

}  // namespace varnel::tool
