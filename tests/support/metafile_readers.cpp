#include "support/metafile_readers.h"

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <regex>

#include "outputs/pictures.h"
#include "outputs/render_to_surface.h"

namespace varnel::testing {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ReaderRun RunReader(const std::string& commandLine, const std::string& svgPath) {
  const std::string errorsPath = svgPath + ".errors";
  std::remove(svgPath.c_str());
  const int status = std::system((commandLine + " 2>'" + errorsPath + "' >/dev/null").c_str());
  ReaderRun run;
  run.exitStatus = status == -1 ? -1 : WEXITSTATUS(status);
  run.svg = ReadText(svgPath);
  run.errors = ReadText(errorsPath);
  return run;
}

struct Element {
  std::string tag;
  std::map<std::string, std::string> attributes;
  std::string content;  // texts only
};

// The name="value" pairs of a start tag, scanned by hand: a path's outlines can run to hundreds of
// kilobytes, deeper than the standard library's regular expressions can recurse.
std::map<std::string, std::string> Attributes(const std::string& tag) {
  const auto isNameChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("-_:.", c) != nullptr; };
  std::map<std::string, std::string> attributes;
  for (std::size_t equals = tag.find('='); equals != std::string::npos; equals = tag.find('=', equals + 1)) {
    std::size_t nameEnd = equals;
    while (nameEnd > 0 && std::isspace(static_cast<unsigned char>(tag[nameEnd - 1]))) --nameEnd;
    std::size_t nameStart = nameEnd;
    while (nameStart > 0 && isNameChar(tag[nameStart - 1])) --nameStart;
    const std::size_t open = tag.find_first_not_of(" \t\r\n", equals + 1);
    if (nameStart == nameEnd || open == std::string::npos || tag[open] != '"') continue;
    const std::size_t close = tag.find('"', open + 1);
    if (close == std::string::npos) break;
    attributes[tag.substr(nameStart, nameEnd - nameStart)] = tag.substr(open + 1, close - open - 1);
    equals = close;
  }
  return attributes;
}

// The start tags of the document (and a text element's content), in order.
std::vector<Element> Elements(const std::string& svg) {
  std::vector<Element> elements;
  std::size_t at = 0;
  while ((at = svg.find('<', at)) != std::string::npos) {
    ++at;
    if (at >= svg.size() || !std::isalpha(static_cast<unsigned char>(svg[at]))) continue;
    std::size_t end = at;
    bool quoted = false;
    while (end < svg.size() && (quoted || svg[end] != '>')) {
      if (svg[end] == '"') quoted = !quoted;
      ++end;
    }
    const std::string tag = svg.substr(at, end - at);
    Element element;
    element.tag = tag.substr(0, tag.find_first_of(" \t\r\n/"));
    element.attributes = Attributes(tag);
    if (element.tag == "text") {
      const std::size_t close = svg.find("</text>", end);
      element.content = svg.substr(end + 1, close == std::string::npos ? 0 : close - end - 1);
    }
    elements.push_back(std::move(element));
    at = end;
  }
  return elements;
}

std::string Attribute(const Element& e, const std::string& name) {
  const auto it = e.attributes.find(name);
  return it == e.attributes.end() ? std::string() : it->second;
}

// A property given either as an attribute or inside the style attribute.
std::string Property(const Element& e, const std::string& name) {
  const std::string direct = Attribute(e, name);
  if (!direct.empty()) return direct;
  const std::regex inStyle("(^|;)\\s*" + name + "\\s*:\\s*([^;]+)");
  std::smatch match;
  const std::string style = Attribute(e, "style");
  if (std::regex_search(style, match, inStyle)) {
    std::string value = match[2];
    value.erase(value.find_last_not_of(" \t") + 1);
    return value;
  }
  return std::string();
}

std::optional<std::uint32_t> ParseColour(const std::string& text) {
  if (text == "black") return 0x000000u;
  if (text == "white") return 0xFFFFFFu;
  if (text.size() == 7 && text[0] == '#')
    return static_cast<std::uint32_t>(std::stoul(text.substr(1), nullptr, 16));
  return std::nullopt;
}

std::vector<double> Numbers(const std::string& text) {
  static const std::regex number(R"(-?\d+(\.\d+)?([eE][-+]?\d+)?)");
  std::vector<double> values;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
    values.push_back(std::stod(it->str()));
  return values;
}

// The corner points of a polygon, or of each outline of a path made of moves and straight lines
// only (an outline starts at each move).
std::optional<std::vector<std::vector<double>>> Outlines(const Element& e) {
  if (e.tag == "polygon") return std::vector<std::vector<double>>{Numbers(Attribute(e, "points"))};
  const std::string d = Attribute(e, "d");
  if (d.find_first_not_of("MLZ0123456789.,- \t\r\n") != std::string::npos) return std::nullopt;
  std::vector<std::vector<double>> outlines;
  for (std::size_t start = d.find('M'); start != std::string::npos;) {
    const std::size_t next = d.find('M', start + 1);
    outlines.push_back(Numbers(d.substr(start, next == std::string::npos ? std::string::npos : next - start)));
    start = next;
  }
  return outlines;
}

double AngleOf(const std::string& transform) {
  double degrees = 0;
  const std::vector<double> values = Numbers(transform);
  if (transform.rfind("matrix", 0) == 0 && values.size() == 6) {
    degrees = std::atan2(-values[1], values[0]) * 180 / std::numbers::pi;
  } else if (transform.rfind("rotate", 0) == 0 && !values.empty()) {
    degrees = -values[0];
  }
  degrees = std::fmod(std::round(degrees), 360.0);
  return degrees < 0 ? degrees + 360 : degrees;
}

std::string TextContent(std::string content) {
  const std::string cdataOpen = "<![CDATA[", cdataClose = "]]>";
  if (content.rfind(cdataOpen, 0) == 0 && content.size() >= cdataOpen.size() + cdataClose.size())
    return content.substr(cdataOpen.size(), content.size() - cdataOpen.size() - cdataClose.size());
  std::string text;
  for (std::size_t i = 0; i < content.size(); ++i) {
    static const std::pair<const char*, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      if (content.compare(i, std::strlen(entity), entity) == 0) {
        text += c;
        i += std::strlen(entity) - 1;
        replaced = true;
        break;
      }
    }
    if (!replaced) text += content[i];
  }
  return text;
}

bool NearWhole(double value) { return std::abs(value - std::round(value)) <= 0.02; }

}  // namespace

ReaderRun ReadWithWmf2svg(const std::string& wmfPath) {
  const std::string svgPath = wmfPath + ".svg";
  return RunReader("wmf2svg -o '" + svgPath + "' '" + wmfPath + "'", svgPath);
}

ReaderRun ReadWithEmf2svg(const std::string& emfPath) {
  const std::string svgPath = emfPath + ".svg";
  return RunReader("emf2svg-conv -i '" + emfPath + "' -o '" + svgPath + "'", svgPath);
}

std::optional<ReaderPicture> ParseReaderSvg(const std::string& svg, int width, int height, std::string* why) {
  ReaderPicture picture;
  for (const Element& e : Elements(svg)) {
    if (e.tag == "text") {
      picture.texts.push_back({TextContent(e.content), AngleOf(Attribute(e, "transform"))});
      continue;
    }
    if (e.tag == "line") {
      picture.lines.push_back({std::stod(Attribute(e, "x1")), std::stod(Attribute(e, "y1")),
                               std::stod(Attribute(e, "x2")), std::stod(Attribute(e, "y2"))});
      continue;
    }
    if (e.tag != "polygon" && e.tag != "path") continue;
    const auto outlines = Outlines(e);
    if (!outlines) {
      *why = "a " + e.tag + " with an outline other than straight lines";
      return std::nullopt;
    }
    const std::string fill = Property(e, "fill");
    // Outlines of one shape that overlap leave holes where the even-odd rule applies.
    if (fill != "none" && outlines->size() > 1 && Property(e, "fill-rule") == "evenodd") {
      *why = "a shape of several outlines filled by the even-odd rule";
      return std::nullopt;
    }
    for (const std::vector<double>& points : *outlines) {
      if (points.size() % 2 != 0) {
        *why = "a " + e.tag + " with an outline other than straight lines";
        return std::nullopt;
      }
      if (fill == "none") {
        if (points.size() == 4) picture.lines.push_back({points[0], points[1], points[2], points[3]});
        continue;
      }
      const auto rgb = ParseColour(fill);
      if (!rgb) {
        *why = "an unknown fill colour \"" + fill + "\"";
        return std::nullopt;
      }
      ReaderPicture::Fill box{1e300, 1e300, -1e300, -1e300, *rgb};
      for (std::size_t i = 0; i < points.size(); i += 2) {
        box.left = std::min(box.left, points[i]);
        box.right = std::max(box.right, points[i]);
        box.top = std::min(box.top, points[i + 1]);
        box.bottom = std::max(box.bottom, points[i + 1]);
      }
      for (std::size_t i = 0; i < points.size(); i += 2) {
        const double x = points[i], y = points[i + 1];
        const bool onCorner = (std::abs(x - box.left) < 1e-3 || std::abs(x - box.right) < 1e-3) &&
                              (std::abs(y - box.top) < 1e-3 || std::abs(y - box.bottom) < 1e-3);
        if (!onCorner) {
          *why = "a filled shape that is not an upright rectangle";
          return std::nullopt;
        }
      }
      // An outline drawn around a filled shape widens it by half its width on every side.
      const std::string stroke = Property(e, "stroke");
      if (!stroke.empty() && stroke != "none") {
        const std::vector<double> strokeWidth = Numbers(Property(e, "stroke-width"));
        const double half = (strokeWidth.empty() ? 1.0 : strokeWidth.front()) / 2;
        box = {box.left - half, box.top - half, box.right + half, box.bottom + half, box.rgb};
      }
      picture.fills.push_back(box);
    }
  }
  if (picture.fills.empty()) {
    *why = "no filled shape, so no background to take the scale from";
    return std::nullopt;
  }

  const ReaderPicture::Fill background = picture.fills.front();
  const double sx = width / (background.right - background.left);
  const double sy = height / (background.bottom - background.top);
  const auto mapX = [&](double x) { return (x - background.left) * sx; };
  const auto mapY = [&](double y) { return (y - background.top) * sy; };
  for (ReaderPicture::Fill& f : picture.fills)
    f = {mapX(f.left), mapY(f.top), mapX(f.right), mapY(f.bottom), f.rgb};
  for (ReaderPicture::Segment& s : picture.lines) s = {mapX(s.x1), mapY(s.y1), mapX(s.x2), mapY(s.y2)};
  return picture;
}

std::optional<Bitmap> PaintFills(const ReaderPicture& picture, int width, int height) {
  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.rgb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xFFFFFF);
  for (const ReaderPicture::Fill& f : picture.fills) {
    if (!NearWhole(f.left) || !NearWhole(f.top) || !NearWhole(f.right) || !NearWhole(f.bottom))
      return std::nullopt;
    const int left = std::max(0, static_cast<int>(std::lround(f.left)));
    const int top = std::max(0, static_cast<int>(std::lround(f.top)));
    const int right = std::min(width, static_cast<int>(std::lround(f.right)));
    const int bottom = std::min(height, static_cast<int>(std::lround(f.bottom)));
    for (int y = top; y < bottom; ++y)
      std::fill_n(bitmap.rgb.begin() + static_cast<std::ptrdiff_t>(y) * width + left,
                  std::max(0, right - left), f.rgb);
  }
  bitmap.gray.reserve(bitmap.rgb.size());
  for (const std::uint32_t c : bitmap.rgb) {
    const unsigned r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    bitmap.gray.push_back(static_cast<std::uint8_t>((r * 299 + g * 587 + b * 114) / 1000));
  }
  return bitmap;
}

int CountDarknessDifferences(const Bitmap& a, const Bitmap& b, const std::vector<Rect>& ignored) {
  int differences = 0;
  for (int y = 0; y < std::max(a.height, b.height); ++y) {
    for (int x = 0; x < std::max(a.width, b.width); ++x) {
      const bool skip = std::any_of(ignored.begin(), ignored.end(), [&](const Rect& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      });
      if (!skip && IsDark(a, x, y) != IsDark(b, x, y)) ++differences;
    }
  }
  return differences;
}

std::string AllText(const ReaderPicture& picture) {
  std::string text;
  for (const ReaderPicture::Text& t : picture.texts) text += t.content;
  return text;
}

ReaderVerdict SetBesideBmp(const TempDir& folder, Context& context, bool (*save)(Context&, const char*),
                           ReaderRun (*read)(const std::string&)) {
  ReaderVerdict verdict;
  const std::string bmpPath = folder.File("picture.bmp"), metafilePath = folder.File("picture.metafile");
  if (!SaveAsBmp(context, bmpPath.c_str()) || !save(context, metafilePath.c_str())) {
    verdict.failure = "the picture could not be saved";
    return verdict;
  }
  const ReaderRun run = read(metafilePath);
  if (run.exitStatus != 0 || !run.errors.empty() || run.svg.empty()) {
    verdict.failure = "the reader failed (status " + std::to_string(run.exitStatus) + "): " + run.errors;
    return verdict;
  }
  const auto bmp = ReadBmp(bmpPath);
  if (!bmp) {
    verdict.failure = "our BMP could not be read back";
    return verdict;
  }
  auto drawn = ParseReaderSvg(run.svg, bmp->width, bmp->height, &verdict.failure);
  if (!drawn) return verdict;
  const auto painted = PaintFills(*drawn, bmp->width, bmp->height);
  if (!painted) {
    verdict.failure = "the reader drew a fill between cells";
    return verdict;
  }

  // Glyphs are the reader's own (its fonts, its rasteriser): the text boxes are left out.
  const Surface& surface = RenderToSurface(context);
  std::vector<Rect> textBoxes;
  for (const DrawOp& op : surface.Operations()) {
    if (op.kind == DrawOpKind::kFill) ++verdict.recordedFills;
    if (op.kind != DrawOpKind::kText) continue;
    textBoxes.push_back(surface.Text(op).clip);
    verdict.recordedText += surface.Text(op).text;
  }
  verdict.differingCells = CountDarknessDifferences(*painted, *bmp, textBoxes);
  verdict.drawn = std::move(*drawn);
  return verdict;
}

}  // namespace varnel::testing
