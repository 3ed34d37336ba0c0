#include "command_line.h"

#include "lengths.h"
#include "symbology_names.h"
#include "value_parsers.h"

namespace varnel::tool {
namespace {

// Stores a parsed value, or reports that the text was not one.
template <typename Value, typename Target>
bool Store(const std::optional<Value>& parsed, Target& target) {
  if (!parsed) return false;
  target = *parsed;
  return true;
}

// Any text, the empty one included, for a std::string or a std::optional<std::string>.
template <typename Target>
bool StoreText(std::string_view value, Target& target) {
  target = std::string(value);
  return true;
}

bool StoreNonEmpty(std::string_view value, std::string& target) {
  target = std::string(value);
  return !value.empty();
}

bool Switch(bool& target, bool value) {
  target = value;
  return true;
}

// --list, --list-samples, --help and --version answer at once, whatever else is on the line.
bool Answer(ToolOptions& options, Task task) {
  options.task = task;
  return true;
}

// One of the data's sources; Inconsistency refuses a second.
template <typename Target>
bool StoreDataSource(ToolOptions& options, std::string_view value, Target& target) {
  ++options.dataSources;
  return StoreText(value, target);
}

// --x-dim and --narrow both set the narrow width: the last one given counts.
bool StoreXDimension(ToolOptions& options, std::string_view value) {
  return Store(ParsePrintLength(value), options.barcode.xDimension);
}

bool StoreNarrowCentimetres(ToolOptions& options, std::string_view value) {
  options.barcode.xDimension.reset();
  return Store(ParsePositive(value), options.barcode.narrowWidthCm);
}

constexpr OptionSpec kOptions[] = {
    {"symbology", 's', "NAME|NUMBER", "symbology, by a name or number of --list (default code128)",
     [](ToolOptions& o, std::string_view v) { return Store(FindSymbology(v), o.barcode.symbology); }},
    {"data", 'd', "TEXT", "the data, instead of DATA; - reads standard input",
     [](ToolOptions& o, std::string_view v) {
       return v == "-" ? StoreDataSource(o, v, o.dataFile) : StoreDataSource(o, v, o.data);
     }},
    {"data-file", '\0', "FILE", "the data is FILE's contents, less one line end",
     [](ToolOptions& o, std::string_view v) { return !v.empty() && StoreDataSource(o, v, o.dataFile); }},
    {"raw", '\0', "", "pass the data's bytes on unchanged, not as UTF-8 text",
     [](ToolOptions& o, std::string_view) { return Switch(o.barcode.raw, true); }},
    {"output", 'o', "FILE", "the picture to write; - for standard output (PNG unless --format)",
     [](ToolOptions& o, std::string_view v) { return StoreNonEmpty(v, o.outputPath); }},
    {"format", 'f', "FORMAT", "bmp, wmf, emf, svg or png (default: the output's extension)",
     [](ToolOptions& o, std::string_view v) { return (o.format = FormatNamed(v)) != nullptr; }},
    {"force", '\0', "", "write a binary picture to a terminal all the same",
     [](ToolOptions& o, std::string_view) { return Switch(o.force, true); }},
    {"size", '\0', "WxH", "picture size in pixels (default: fitted to the symbol)",
     [](ToolOptions& o, std::string_view v) { return Store(ParsePositivePair(v, false), o.barcode.size); }},
    {"quiet-zone", '\0', "MODULES", "space before and after the bars, in narrow widths (default: own)",
     [](ToolOptions& o, std::string_view v) {
       const std::optional<int> modules = ParseInt(v);
       return modules >= 0 && Store(modules, o.barcode.quietZoneModules);
     }},
    {"x-dim", 'x', "LEN", "narrow width for print, e.g. 0.33mm, in whole pixels (mm cm in px)",
     StoreXDimension},
    {"narrow", '\0', "CM", "narrow width in cm, as the library takes it (default 0.07)",
     StoreNarrowCentimetres},
    {"bar-height", '\0', "PX|LEN", "height of the bars: pixels, or 15mm... (mm cm in px; default 1.5cm)",
     [](ToolOptions& o, std::string_view v) { return Store(ParseBarHeight(v), o.barcode.barHeight); }},
    {"ratio", '\0', "R", "width of a wide bar over a narrow one (default 2.0)",
     [](ToolOptions& o, std::string_view v) { return Store(ParsePositive(v), o.barcode.wideRatio); }},
    {"orientation", '\0', "DEGREES", "0, 90, 180 or 270, counter-clockwise (default 0)",
     [](ToolOptions& o, std::string_view v) { return Store(ParseOrientation(v), o.barcode.orientation); }},
    {"frame", '\0', "STYLE", "none, dashed or solid (default none)",
     [](ToolOptions& o, std::string_view v) { return Store(ParseFrame(v), o.barcode.frame); }},
    {"font", '\0', "FACE", "font face of the text (default Arial)",
     [](ToolOptions& o, std::string_view v) { return StoreText(v, o.barcode.fontFace); }},
    {"font-height", '\0', "PX|LEN", "text cell height: pixels, or 12pt, 3mm... (default: 9pt EAN/UPC, 10pt others, 24 px at least)",
     [](ToolOptions& o, std::string_view v) { return Store(ParseFontHeight(v), o.barcode.fontHeight); }},
    {"text", '\0', "", "print the data under the bars (the default)",
     [](ToolOptions& o, std::string_view) { return Switch(o.barcode.showText, true); }},
    {"no-text", '\0', "", "bars only, no text",
     [](ToolOptions& o, std::string_view) { return Switch(o.barcode.showText, false); }},
    {"check", '\0', "", "draw the optional check character (default: code93, sscc18, ai01)",
     [](ToolOptions& o, std::string_view) { return Store(std::optional<bool>(true), o.barcode.addCheckCharacter); }},
    {"no-check", '\0', "", "leave it out (EAN/UPC and Code 128 always have theirs)",
     [](ToolOptions& o, std::string_view) { return Store(std::optional<bool>(false), o.barcode.addCheckCharacter); }},
    {"check-in-text", '\0', "", "print the optional check character in the text too",
     [](ToolOptions& o, std::string_view) { return Switch(o.barcode.checkCharacterInText, true); }},
    {"start", '\0', "A-D", "Codabar start character (default A)",
     [](ToolOptions& o, std::string_view v) { return Store(ParseCodabarCharacter(v), o.barcode.codabarStart); }},
    {"stop", '\0', "A-D", "Codabar stop character (default B)",
     [](ToolOptions& o, std::string_view v) { return Store(ParseCodabarCharacter(v), o.barcode.codabarStop); }},
    {"upce-system", '\0', "0|1", "UPC-E number system (default: the number's, else 0)",
     [](ToolOptions& o, std::string_view v) {
       const std::optional<int> system = ParseInt(v);
       return (system == 0 || system == 1) && Store(system, o.barcode.upceSystem);
     }},
    {"addon", '\0', "DIGITS", "EAN/UPC add-on: 2 digits, or 5 digits",
     [](ToolOptions& o, std::string_view v) { return StoreText(v, o.barcode.addOnDigits); }},
    {"addon-gap", '\0', "CM", "gap before the add-on in centimetres (default 9 narrow widths)",
     [](ToolOptions& o, std::string_view v) { return Store(ParsePositive(v), o.barcode.addOnGapCm); }},
    {"bar-color", '\0', "#RRGGBB", "colour of the bars (default #000000)",
     [](ToolOptions& o, std::string_view v) { return Store(ParseColor(v), o.barcode.barColor); }},
    {"background-color", '\0', "#RRGGBB", "colour of the background (default #FFFFFF)",
     [](ToolOptions& o, std::string_view v) { return Store(ParseColor(v), o.barcode.backColor); }},
    {"transparent", '\0', "", "leave the background unpainted (PNG and SVG)",
     [](ToolOptions& o, std::string_view) { return Switch(o.barcode.transparentBackground, true); }},
    {"dpi", '\0', "N|NxM", "pixels per inch, turning lengths into pixels (default 96)",
     [](ToolOptions& o, std::string_view v) { return Store(ParsePositivePair(v, true), o.barcode.resolution); }},
    {"batch", 'b', "FILE", "one barcode a line of FILE, - for standard input (see below)",
     [](ToolOptions& o, std::string_view v) { return StoreNonEmpty(v, o.batchSource); }},
    {"jobs", 'j', "N", "batch lines drawn at once, each on a thread (default: one a core)",
     [](ToolOptions& o, std::string_view v) {
       const std::optional<int> jobs = ParseInt(v);
       return jobs > 0 && Store(jobs, o.jobs);
     }},
    {"name", '\0', "PATTERN", "batch lines are data alone, files named by PATTERN (see below)",
     [](ToolOptions& o, std::string_view v) { return Store(FileNamePattern::Parse(v), o.fileNames); }},
    {"list", 'l', "", "list the symbologies: number, name, description",
     [](ToolOptions& o, std::string_view) { return Answer(o, Task::kList); }},
    {"list-samples", '\0', "", "as --list, tab-separated, with each one's sample data and options",
     [](ToolOptions& o, std::string_view) { return Answer(o, Task::kListSamples); }},
    {"help", 'h', "", "show this help",
     [](ToolOptions& o, std::string_view) { return Answer(o, Task::kHelp); }},
    {"version", 'V', "", "show the version",
     [](ToolOptions& o, std::string_view) { return Answer(o, Task::kVersion); }},
};

const OptionSpec* FindLong(std::string_view name) {
  for (const OptionSpec& option : kOptions) {
    if (option.longName == name) return &option;
  }
  return nullptr;
}

const OptionSpec* FindShort(char name) {
  for (const OptionSpec& option : kOptions) {
    if (option.shortName != '\0' && option.shortName == name) return &option;
  }
  return nullptr;
}

std::string Named(const OptionSpec& option) { return std::string("--").append(option.longName); }

// The options that only make sense for their task, checked once everything is read.
std::string Inconsistency(const ToolOptions& options) {
  switch (options.task) {
    case Task::kRender:
      if (options.dataSources == 0) return "no data to encode";
      if (options.dataSources > 1) return "the data is given more than once: as DATA, --data or --data-file";
      if (options.outputPath.empty()) return "no output file (--output FILE)";
      if (options.jobs) return "--jobs is for batch mode (--batch FILE)";
      if (options.fileNames) return "--name is for batch mode (--batch FILE)";
      return {};
    case Task::kBatch:
      if (options.dataSources > 0) return "the data comes from the batch lines, not the command line";
      if (!options.outputPath.empty()) return "the output files come from the batch lines";
      return {};
    case Task::kList:
    case Task::kListSamples:
    case Task::kHelp:
    case Task::kVersion:
      return {};
  }
  return {};
}

}  // namespace

std::span<const OptionSpec> AllOptions() { return kOptions; }

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
  ToolOptions options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument.front() != '-') {
      if (options.data) return {std::nullopt, "more than one DATA argument: '" + std::string(argument) + "'"};
      StoreDataSource(options, argument, options.data);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const OptionSpec* option = nullptr;
    std::optional<std::string_view> value;
    if (argument.starts_with("--")) {
      const std::string_view body = argument.substr(2);
      const std::size_t equals = body.find('=');
      option = FindLong(body.substr(0, equals));
      if (equals != std::string_view::npos) value = body.substr(equals + 1);
    } else {
      // A short option's value may follow it at once, as in -sean13 or -j1.
      option = FindShort(argument[1]);
      if (argument.size() > 2) value = argument.substr(2);
    }
    if (option == nullptr) return {std::nullopt, "unknown option '" + std::string(argument) + "'"};
    if (option->valueName.empty() && value) return {std::nullopt, Named(*option) + " takes no value"};
    if (!option->valueName.empty() && !value) {
      if (i + 1 == arguments.size()) {
        return {std::nullopt, Named(*option) + " needs a value: " + std::string(option->valueName)};
      }
      value = arguments[++i];
    }
    if (!option->apply(options, value.value_or(std::string_view()))) {
      return {std::nullopt, "bad value '" + std::string(value.value_or(std::string_view())) + "' for " +
                                Named(*option) + ": " + std::string(option->help)};
    }
  }
  if (options.task == Task::kRender && !options.batchSource.empty()) options.task = Task::kBatch;
  // Standard output has no extension to name a format: PNG, the one that most programs take.
  if (options.outputPath == "-" && options.format == nullptr) options.format = FormatNamed("png");
  if (std::string problem = Inconsistency(options); !problem.empty()) return {std::nullopt, std::move(problem)};
  return {std::move(options), {}};
}

}  // namespace varnel::tool
