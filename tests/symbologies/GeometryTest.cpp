// Every symbology's box, bars and texts as drawn into its EPS picture, and its bars against zint
// (tests/data/geometry.tsv); and any data at all draws exactly the box of the size computation.
#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"
#include "services/MacRoman.h"
#include "support/TestSupport.h"
#include "symbologies/BarCodeEncoders.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

namespace {

struct Box {
  int x1, y1, x2, y2;
};
std::string Listed(const std::vector<Box>& boxes) {
  std::string listed;
  for (const Box& b : boxes)
    listed += (listed.empty() ? "" : "|") + std::to_string(b.x1) + "," + std::to_string(b.y1) +
              "," + std::to_string(b.x2) + "," + std::to_string(b.y2);
  return listed;
}

// What a request's EPS picture draws: every encoder draws through the same calls into it.
struct Picture {
  float width = 0, height = 0; // the bounding box
  std::vector<Box> fills, frames;
  std::string texts, pens; // "x,y,size,text|..." (as UTF-8), "1 10 ..."
};

// The picture of a request drawn with no context; with `textVisible` 0 or 1 the encoder itself is
// called with that text switch, else the render driver sets it.
Picture DrawEps(const BarCodeDataRec& request, int textVisible = -1) {
  BarCodeDataRec rec = request;
  if (textVisible < 0) {
    BarCodeUpdateImage(nullptr, 0, 0, &rec);
  } else if (BarCodeGetUnscaledSize(rec).width > 0) {
    rec.textVisible = static_cast<int16_t>(textVisible);
    BarCodeEncoderFor(rec.symbology)(nullptr, &rec);
  }
  std::string eps = *rec.epsText; // the procedure definitions end their lines in CR
  std::replace(eps.begin(), eps.end(), '\r', '\n');
  Picture picture;
  std::istringstream lines(eps);
  std::string size, moveto;
  for (std::string line, word; std::getline(lines, line);) {
    std::istringstream words(line);
    Box box{};
    if (line.starts_with("%%BoundingBox:")) {
      words >> word >> box.x1 >> box.y1 >> picture.width >> picture.height;
    } else if (line.ends_with(" VXfillrect") || line.ends_with(" VXdrawrect")) {
      words >> box.x1 >> box.y1 >> box.x2 >> box.y2;
      (line.ends_with("fillrect") ? picture.fills : picture.frames).push_back(box);
    } else if (line.ends_with(" setlinewidth")) {
      picture.pens += (picture.pens.empty() ? "" : " ") + line.substr(0, line.find(' '));
    } else if (line.ends_with(" scalefont") || line.ends_with(" moveto")) {
      (line.ends_with("font") ? size : moveto) = line.substr(0, line.rfind(' '));
    } else if (line.size() > 6 && line.front() == '(' && line.ends_with(") show")) {
      std::string text; // the string's escapes \( \) \\ and \ooo undone
      for (size_t k = 1; k < line.size() - 6; ++k) {
        const bool octal = line[k] == '\\' && std::isdigit(static_cast<unsigned char>(line[k + 1]));
        text += octal ? static_cast<char>(std::stoi(line.substr(k + 1, 3), nullptr, 8))
                      : line[k += line[k] == '\\'];
        k += octal ? 3 : 0;
      }
      std::replace(moveto.begin(), moveto.end(), ' ', ',');
      picture.texts +=
          (picture.texts.empty() ? "" : "|") + moveto + "," + size + "," + MacRomanToUtf8(text);
    }
  }
  return picture;
}

void ExpectBox(const TableRow& row, const BarCodeDataRec& rec, const Picture& picture) {
  BarCodeRect box{1, 2, 3, 4};
  const bool drawn = BarCodeGetSize(rec, box) == 1;
  if (row.Raw("width") == "0") {
    EXPECT_TRUE(!drawn && box.x == 1 && box.y == 2 && box.width == 3 && box.height == 4 &&
                picture.fills.empty() && picture.texts.empty())
        << "refused: the caller's box left alone, nothing drawn";
    return;
  }
  // The size computation knows the render driver's text setting only.
  EXPECT_TRUE(drawn && (!row.Raw("text").empty() ||
                        (picture.width == box.width && picture.height == box.height)))
      << "size computation " << box.width << " x " << box.height;
  EXPECT_TRUE(row.Raw("width") == "*" || (picture.width == std::stof(row.Raw("width")) &&
                                          picture.height == std::stof(row.Raw("height"))))
      << picture.width << " x " << picture.height;
}

// Stretches "from-to:bottom-top" (with "=" in front: its bars span exactly from..to).
void ExpectBars(const std::vector<std::string>& stretches, const std::vector<Box>& bars) {
  std::vector<Box> limits, spans;
  for (const std::string& s : stretches) {
    Box& b = limits.emplace_back();
    std::sscanf(s.c_str() + (s[0] == '='), "%d-%d:%d-%d", &b.x1, &b.x2, &b.y1, &b.y2);
    spans.push_back({b.x2, 0, b.x1, 0}); // y1 counts the bars in it
  }
  for (const Box& bar : bars) {
    const auto s = std::find_if(limits.begin(), limits.end(), [&](const Box& s) {
      return bar.x1 >= s.x1 && bar.x2 <= s.x2 && bar.y1 == s.y1 && bar.y2 == s.y2;
    });
    ASSERT_NE(s, limits.end()) << "stray bar " << Listed({bar});
    Box& span = spans[s - limits.begin()];
    span = {std::min(span.x1, bar.x1), span.y1 + 1, std::max(span.x2, bar.x2), 0};
  }
  for (size_t k = 0; k < stretches.size(); ++k)
    EXPECT_TRUE(spans[k].y1 > 0 && (stretches[k][0] != '=' ||
                                    (spans[k].x1 == limits[k].x1 && spans[k].x2 == limits[k].x2)))
        << stretches[k] << ": " << spans[k].y1 << " bars, " << spans[k].x1 << "-" << spans[k].x2;
}

// The bars as module rows from the leftmost bar, as zint --dump prints them: one row across two
// thirds of the box's height, or one for each band between the bars' tops and bottoms, top first.
std::vector<std::string> ModuleRows(const Picture& picture, size_t rows) {
  std::vector<double> lines{picture.height * 2 / 3}, edges;
  for (const Box& bar : picture.fills)
    edges.insert(edges.end(), {double(bar.y1), double(bar.y2)});
  std::sort(edges.rbegin(), edges.rend());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  for (size_t k = 1; rows > 1 && k < edges.size(); ++k)
    lines.push_back((edges[k - 1] + edges[k]) / 2);
  if (rows > 1) lines.erase(lines.begin());
  int first = INT32_MAX;
  for (const Box& bar : picture.fills)
    if (rows > 1 || (bar.y1 < lines[0] && lines[0] < bar.y2)) first = std::min(first, bar.x1);
  std::vector<std::string> modules(lines.size());
  for (size_t k = 0; k < lines.size(); ++k)
    for (const Box& bar : picture.fills)
      if (bar.y1 < lines[k] && lines[k] < bar.y2) {
        modules[k].resize(std::max<size_t>(modules[k].size(), bar.x2 - first), '0');
        std::fill(modules[k].begin() + (bar.x1 - first), modules[k].begin() + (bar.x2 - first),
                  '1');
      }
  return modules;
}

// The columns of module rows as runs, each "n" when as narrow as the narrowest bar (or space) and
// "w" when wider: how two renderings that draw their elements at other ratios compare.
std::string ElementsOf(const std::vector<std::string>& rows) {
  size_t width = 0;
  for (const std::string& row : rows)
    width = std::max(width, row.size());
  std::vector<std::pair<std::string, int>> runs; // a column of the rows, how many in a row
  for (size_t x = 0; x < width; ++x) {
    std::string column;
    for (const std::string& row : rows)
      column += x < row.size() ? row[x] : '0';
    if (runs.empty() || runs.back().first != column) runs.push_back({column, 0});
    ++runs.back().second;
  }
  const auto bar = [](const std::string& column) { return column.find('1') != std::string::npos; };
  int narrow[2] = {INT32_MAX, INT32_MAX}; // of spaces and of bars
  for (const auto& [column, n] : runs)
    narrow[bar(column)] = std::min(narrow[bar(column)], n);
  std::string elements;
  for (const auto& [column, n] : runs)
    elements += column + (n > narrow[bar(column)] ? "w " : "n ");
  return elements;
}

// Each dark module of a two-dimensional symbol's picture is its own rectangle, 3 by 3 units
// (QR Code) or 1 by 2 (PDF417), rows from the top; a QR Code keeps a light quiet zone of 4 modules.
void ExpectModules(const BarCodeDataRec& rec, const Picture& picture) {
  const bool qr = rec.symbology == kBarCodeQRCode;
  std::string modules;
  (qr ? ProcessQRCodeDisplay : ProcessPDF417Display)(*rec.data, modules);
  const int columns = qr ? int(std::sqrt(modules.size())) : int(ProcessPDF417GetCols(*rec.data));
  const int rows = int(modules.size()) / columns, w = qr ? 3 : 1, h = qr ? 3 : 2, quiet = qr * 4;
  std::vector<Box> expected;
  for (int k = 0, r = 0, c = 0; k < rows * columns; r = ++k / columns, c = k % columns)
    if (modules[k] == '1' && std::min({r, c, rows - 1 - r, columns - 1 - c}) >= quiet)
      expected.push_back({c * w, (rows - 1 - r) * h, (c + 1) * w, (rows - r) * h});
  EXPECT_EQ(Listed(picture.fills), Listed(expected)) << "the quiet zone holds no module";
}

void ExpectPattern(const TableRow& row, const BarCodeDataRec& rec, const Picture& picture) {
  std::vector<std::string> args = row.List("pattern", ' ');
  if (args[0] == "picture") return ExpectModules(rec, picture);
  const std::vector<std::string> zint =
      args[0][0] == '=' ? std::vector{args[0].substr(1)} : ZintRows({args.begin() + 1, args.end()});
  ASSERT_FALSE(zint.empty()) << "zint made no symbol";
  const std::vector<std::string> ours = ModuleRows(picture, zint.size());
  EXPECT_EQ(args[0] == "zint~" ? ElementsOf(ours) : testing::PrintToString(ours),
            args[0] == "zint~" ? ElementsOf(zint) : testing::PrintToString(zint));
}

} // namespace

TEST(Geometry, BoxBarsTextsAndPatterns) {
  for (const TableRow& row : ReadTable("geometry.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    BarCodeDataRec rec =
        MakeRecord(BarCodeSymType(row.Raw("type")), row.Text("data"), row.Text("addon"));
    rec.trim = row.Int("trim");
    rec.scale = row.Raw("scale").empty() ? 100 : row.Int("scale");
    *rec.display = row.Text("display");
    const Picture picture = DrawEps(rec, row.Raw("text").empty() ? -1 : row.Int("text"));
    if (!row.Raw("width").empty()) ExpectBox(row, rec, picture);
    if (!row.Raw("bars").empty()) ExpectBars(row.List("bars", ' '), picture.fills);
    if (!row.Raw("pattern").empty()) ExpectPattern(row, rec, picture);
    const std::pair<const char*, std::string> drawn[] = {
        {"texts", picture.texts}, {"frames", Listed(picture.frames)}, {"pens", picture.pens}};
    for (const auto& [column, actual] : drawn)
      EXPECT_TRUE(row.Raw(column).empty() || actual == row.Text(column))
          << column << ": " << actual;
    BarCodeDataRecRelease(&rec);
  }
}

TEST(Geometry, AnyDataDrawsTheBoxOfTheSizeComputation) {
  // Runs of the characters that trip encoders: digits, letters, controls, the symbologies' own
  // specials, multi-byte characters and invalid UTF-8.
  std::vector<std::string> pieces{" "};
  std::istringstream list("0 7 9 A z * $ % + / - . : a D \\ \t \x01 \x7F \xC3\xA9 \xE2\x82\xAC "
                          "\xF0\x9F\x98\x80 \xFF \xC3");
  for (std::string piece; std::getline(list, piece, ' ');)
    pieces.push_back(piece);
  std::mt19937 random(20240611);
  std::vector<std::string> inputs{
      "0", "00", "1", "-", "*", "**", "\xFF", std::string(300, '9'), std::string(200, 'x')};
  for (int k = 0; k < 300; ++k) {
    std::string& data = inputs.emplace_back();
    for (size_t n = 1 + random() % 40; n > 0; --n)
      data += pieces[random() % pieces.size()];
  }
  for (int symbology = 1; symbology <= kBarCodeCount; ++symbology)
    for (const std::string& data : inputs)
      for (int trim : {0, 100, -20}) {
        BarCodeDataRec rec = MakeRecord(symbology, data, data.substr(0, 5));
        rec.trim = trim;
        const BarCodeRect size = BarCodeGetUnscaledSize(rec);
        const Picture picture = DrawEps(rec);
        EXPECT_TRUE(picture.width == size.width && picture.height == size.height)
            << symbology << " " << testing::PrintToString(data) << " trim " << trim;
        BarCodeDataRecRelease(&rec);
      }
}
