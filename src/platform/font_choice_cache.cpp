#include "platform/font_choice_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string_view>

#include "platform/unique_fd.h"

namespace varnel {
namespace {

constexpr std::string_view kHeader = "varnel32 font choices 1";
constexpr char kFileName[] = "font-choices";
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 18;
constexpr std::size_t kMaxChoices = 64;

// What steers fontconfig's choice from outside its files: where it looks, and the language it
// prefers faces for.
constexpr std::array<const char*, 12> kSteeringVariables = {
    "FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME",     "XDG_CONFIG_HOME", "XDG_DATA_HOME",
    "XDG_DATA_DIRS",   "FC_LANG",         "LANG",               "LC_ALL",   "LC_CTYPE",        "LANGUAGE"};

// Fields are separated by tabs and records by newlines, so text holding either is never stored.
bool Storable(std::string_view text) { return text.find_first_of("\t\n") == std::string_view::npos; }

// A path's identity and change times, following links (Debian enables a configuration by linking
// it into conf.d, and edits its target): a file edited, replaced, or added to or removed from a
// folder gives another stamp.
//
// A process stamps some seventy paths before its first picture, so a stamp is spelled with
// to_chars into a buffer of its own: neither printf nor a string of its own for each.
class Stamp {
 public:
  explicit Stamp(const char* path) {
    struct stat info{};
    if (stat(path, &info) != 0) {
      Append("missing");
      return;
    }
    Field(static_cast<unsigned long long>(info.st_dev), 16, ':');
    Field(static_cast<unsigned long long>(info.st_ino), 16, ':');
    Field(static_cast<unsigned long long>(info.st_mode), 16, ':');
    Field(static_cast<unsigned long long>(info.st_size), 16, ':');
    Field(static_cast<long long>(info.st_mtim.tv_sec), 10, '.');
    Field(static_cast<long>(info.st_mtim.tv_nsec), 10, ':');
    Field(static_cast<long long>(info.st_ctim.tv_sec), 10, '.');
    Field(static_cast<long>(info.st_ctim.tv_nsec), 10, '\0');
  }

  std::string_view View() const { return {text_, size_}; }

 private:
  template <typename Number>
  void Field(Number value, int base, char after) {
    size_ = static_cast<std::size_t>(std::to_chars(text_ + size_, std::end(text_), value, base).ptr - text_);
    if (after != '\0') text_[size_++] = after;
  }
  void Append(std::string_view text) {
    text.copy(text_ + size_, text.size());
    size_ += text.size();
  }

  char text_[8 * 21];  // eight fields of at most 20 characters, and their separators
  std::size_t size_ = 0;
};

// A variable as the cache records it: "=" and its value, or "unset".
std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string("=") + value : std::string("unset");
}

bool EnvironmentIs(const char* name, std::string_view recorded) {
  const char* value = std::getenv(name);
  if (value == nullptr) return recorded == "unset";
  return recorded.starts_with('=') && recorded.substr(1) == value;
}

std::string EnvironmentLine(const char* name) { return std::string("env\t") + name + "\t" + Environment(name); }

std::string ParentOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

// A home-relative base directory of the XDG scheme: the variable when set to an absolute path,
// else the fallback under $HOME; empty when neither can be had.
std::string XdgDirectory(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return "";
  return std::string(home) + "/" + fallback;
}

// Places where the user may add configuration or fonts that fontconfig reads when they exist, so
// that creating one is noticed though it was missing when the choice was made.
std::vector<std::string> UserPlaces() {
  std::vector<std::string> places;
  const std::string config = XdgDirectory("XDG_CONFIG_HOME", ".config");
  if (!config.empty()) {
    places.insert(places.end(), {config + "/fontconfig", config + "/fontconfig/conf.d", config + "/fontconfig/fonts.conf"});
  }
  const std::string data = XdgDirectory("XDG_DATA_HOME", ".local/share");
  if (!data.empty()) places.push_back(data + "/fonts");
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    const std::string h = home;
    places.insert(places.end(), {h + "/.fonts", h + "/.fonts.conf", h + "/.fonts.conf.d"});
  }
  return places;
}

void AppendAll(FcStrList* list, std::vector<std::string>& out) {
  if (list == nullptr) return;
  while (const FcChar8* item = FcStrListNext(list)) out.emplace_back(reinterpret_cast<const char*>(item));
  FcStrListDone(list);
}

// Everything the configuration read or may read: its files and the folders holding them, the
// folders it scans for more, its font folders (subfolders included) and the user's places.
std::vector<std::string> WatchedPaths(FcConfig* config) {
  std::vector<std::string> paths;
  AppendAll(FcConfigGetConfigFiles(config), paths);
  const std::size_t files = paths.size();
  for (std::size_t i = 0; i < files; ++i) paths.push_back(ParentOf(paths[i]));
  AppendAll(FcConfigGetConfigDirs(config), paths);
  AppendAll(FcConfigGetFontDirs(config), paths);
  for (std::string& place : UserPlaces()) paths.push_back(std::move(place));
  // Once each: the configuration's files share a few folders, and every later process stamps
  // every path on the list before its first picture.
  std::sort(paths.begin(), paths.end());
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  return paths;
}

// A folder or file of the cache is trusted when the user owns it and nobody else may write it.
bool Trusted(int fd, bool folder) {
  struct stat info{};
  if (fstat(fd, &info) != 0) return false;
  if (folder ? !S_ISDIR(info.st_mode) : !S_ISREG(info.st_mode)) return false;
  return info.st_uid == geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A line's tab-separated fields; a line of more fields than any record has counts as one field
// too many.
struct Fields {
  static constexpr std::size_t kMost = 7;

  explicit Fields(std::string_view line) {
    for (std::size_t start = 0;;) {
      if (count == kMost) {
        ++count;
        return;
      }
      const std::size_t tab = line.find('\t', start);
      field[count++] = line.substr(start, tab - start);
      if (tab == std::string_view::npos) return;
      start = tab + 1;
    }
  }

  std::array<std::string_view, kMost> field;
  std::size_t count = 0;
};

std::optional<int> Number(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string ReadTrusted(const std::string& folder) {
  const UniqueFd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!dir || !Trusted(dir.get(), true)) return "";
  const UniqueFd file(openat(dir.get(), kFileName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (!file || !Trusted(file.get(), false)) return "";
  std::string text;
  char buffer[8192];
  for (;;) {
    const ssize_t got = read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 || text.size() + static_cast<std::size_t>(got) > kMaxFileBytes) return "";
    if (got == 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

// The cache's own folder, made when missing (private, as caches are); false when it is not the
// user's own.
bool MakeFolder(const std::string& folder) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  const UniqueFd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  return dir && Trusted(dir.get(), true);
}

}  // namespace

FontChoiceCache::FontChoiceCache() {
  const char* setting = std::getenv("VARNEL32_FONT_CACHE");
  if (setting != nullptr && std::strcmp(setting, "off") == 0) return;
  const std::string cacheHome = XdgDirectory("XDG_CACHE_HOME", ".cache");
  if (cacheHome.empty()) return;
  folder_ = cacheHome + "/varnel32";
  enabled_ = true;

  std::string text = ReadTrusted(folder_);
  std::string watched;
  std::bitset<kSteeringVariables.size()> steering;
  std::vector<Choice> choices;
  std::size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) return;  // a file cut short is not trusted
    // The newline ends the line's last field as a NUL, so that a path there is stamped in place.
    text[end] = '\0';
    const std::string_view line(text.data() + start, end - start);
    start = end + 1;
    if (first) {
      if (line != kHeader) return;
      first = false;
      continue;
    }
    const Fields fields(line);
    const std::string_view kind = fields.field[0];
    if (kind == "env" && fields.count == 3) {
      const auto* variable = std::find(kSteeringVariables.begin(), kSteeringVariables.end(), fields.field[1]);
      if (variable == kSteeringVariables.end() || !EnvironmentIs(*variable, fields.field[2])) return;
      steering.set(static_cast<std::size_t>(variable - kSteeringVariables.begin()));
    } else if (kind == "watch" && fields.count == 3) {
      if (Stamp(fields.field[2].data()).View() != fields.field[1]) return;
    } else if (kind == "choice" && fields.count == 7) {
      const std::optional<int> weight = Number(fields.field[1]), index = Number(fields.field[3]);
      if (!weight || !index || (fields.field[2] != "0" && fields.field[2] != "1")) return;
      choices.push_back(Choice{std::string(fields.field[5]), *weight, fields.field[2] == "1",
                               FontFile{std::string(fields.field[6]), *index}, std::string(fields.field[4])});
      continue;
    } else {
      return;
    }
    watched.append(line).push_back('\n');
  }
  // Every variable that steers fontconfig must have been recorded, or a choice made under another
  // environment could be taken for this one.
  if (!steering.all()) return;
  watched_ = std::move(watched);
  choices_ = std::move(choices);
}

std::optional<FontFile> FontChoiceCache::Find(const std::string& family, int weight, bool italic) const {
  for (const Choice& choice : choices_) {
    if (choice.family == family && choice.weight == weight && choice.italic == italic) {
      if (Stamp(choice.file.path.c_str()).View() != choice.fileStamp) return std::nullopt;
      return choice.file;
    }
  }
  return std::nullopt;
}

void FontChoiceCache::Remember(FcConfig* config, const std::string& family, int weight, bool italic,
                               const FontFile& file) {
  if (!enabled_ || !Storable(family) || !Storable(file.path)) return;
  if (watched_.empty()) {
    choices_.clear();
    std::string watched;
    for (const char* name : kSteeringVariables) {
      const std::string line = EnvironmentLine(name);
      if (std::count(line.begin(), line.end(), '\t') != 2 || line.find('\n') != std::string::npos) return;
      watched.append(line).push_back('\n');
    }
    for (const std::string& path : WatchedPaths(config)) {
      if (!Storable(path)) return;
      watched.append("watch\t").append(Stamp(path.c_str()).View()).append("\t").append(path).push_back('\n');
    }
    watched_ = std::move(watched);
  }
  std::erase_if(choices_, [&](const Choice& c) { return c.family == family && c.weight == weight && c.italic == italic; });
  if (choices_.size() >= kMaxChoices) choices_.erase(choices_.begin());
  choices_.push_back(Choice{family, weight, italic, file, std::string(Stamp(file.path.c_str()).View())});

  std::string text(kHeader);
  text += '\n';
  text += watched_;
  for (const Choice& c : choices_) {
    text += "choice\t" + std::to_string(c.weight) + "\t" + (c.italic ? "1" : "0") + "\t" + std::to_string(c.file.index) +
            "\t" + c.fileStamp + "\t" + c.family + "\t" + c.file.path + "\n";
  }

  mkdir(ParentOf(folder_).c_str(), 0700);  // the user's cache home, when it is not there yet
  if (!MakeFolder(folder_)) return;
  std::string temporary = folder_ + "/." + kFileName + ".XXXXXX";
  const UniqueFd out(mkostemp(temporary.data(), O_CLOEXEC));
  if (!out) return;
  if (!WriteAll(out.get(), text) || rename(temporary.c_str(), (folder_ + "/" + kFileName).c_str()) != 0)
    unlink(temporary.c_str());
}

}  // namespace varnel
