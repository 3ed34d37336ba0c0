// Which font file fontconfig chose for a face request, remembered across processes. Loading
// fontconfig's configuration is most of a fresh process's first picture (its XML and its caches,
// tens of files); the answer it gives for "Arial, bold" is one path. A later process takes that
// path from this cache as long as nothing fontconfig read to give it has changed: the cache lists
// every configuration file and folder, every font folder and the user's places that could add one,
// each with its identity and change times, and the environment that steers fontconfig. Anything
// changed, added or removed there, or a changed font file, and fontconfig is asked again, so a
// user's fonts and substitutions count as they always did.
//
// The cache is one small file, $XDG_CACHE_HOME/varnel32/font-choices (~/.cache when unset),
// trusted only when it and its folder belong to the user and nobody else may write them; it is
// replaced whole, by rename, so readers see an old or a new file, never half of one. It is a
// speed-up only: when it cannot be read or written the engine asks fontconfig every time, and
// VARNEL32_FONT_CACHE=off turns it off.
#pragma once

#include <fontconfig/fontconfig.h>

#include <optional>
#include <string>
#include <vector>

namespace varnel {

struct FontFile {
  std::string path;
  int index;
};

class FontChoiceCache {
 public:
  // Reads the cache when it is trusted and still describes what fontconfig would read.
  FontChoiceCache();

  // The file remembered for the request; nothing when none is, or the file has changed since.
  std::optional<FontFile> Find(const std::string& family, int weight, bool italic) const;

  // Remembers fontconfig's answer; `config` is the configuration that gave it, which says what to
  // watch when the cache holds nothing yet.
  void Remember(FcConfig* config, const std::string& family, int weight, bool italic, const FontFile& file);

  struct Choice {
    std::string family;
    int weight;
    bool italic;
    FontFile file;
    std::string fileStamp;
  };

 private:
  bool enabled_ = false;
  std::string folder_;
  std::string watched_;  // the environment and stamp lines of what fontconfig read, each ending in a newline
  std::vector<Choice> choices_;
};

}  // namespace varnel
