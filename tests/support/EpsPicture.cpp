#include "support/EpsPicture.h"

#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"
#include "services/MacRoman.h"
#include "support/TestSupport.h"
#include "symbologies/BarCodeEncoders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

// Undoes the escapes of a PostScript string: \( \) \\ and three octal digits.
std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t k = 0; k < s.size(); ++k) {
    if (s[k] != '\\' || k + 1 >= s.size()) {
      out += s[k];
    } else if (s[k + 1] >= '0' && s[k + 1] <= '7' && k + 3 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(k + 1, 3), nullptr, 8));
      k += 3;
    } else {
      out += s[++k];
    }
  }
  return MacRomanToUtf8(out);
}

} // namespace

EpsPicture ParseEps(const std::string& eps) {
  EpsPicture picture;
  std::string text = eps; // the procedure definitions end their lines in CR
  std::replace(text.begin(), text.end(), '\r', '\n');
  std::istringstream lines(text);
  int size = 0, textX = 0, textY = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    if (line.starts_with("%%BoundingBox:")) {
      std::string tag;
      float x = 0, y = 0;
      words >> tag >> x >> y >> picture.width >> picture.height;
    } else if (line.ends_with(" VXfillrect") || line.ends_with(" VXdrawrect")) {
      EpsBox box{};
      words >> box.x1 >> box.y1 >> box.x2 >> box.y2;
      (line.ends_with("fillrect") ? picture.fills : picture.frames).push_back(box);
    } else if (line.ends_with(" setlinewidth")) {
      picture.penSizes.emplace_back();
      words >> picture.penSizes.back();
    } else if (line.ends_with(" scalefont")) {
      words >> size;
    } else if (line.ends_with(" moveto")) {
      words >> textX >> textY;
    } else if (line.size() > 6 && line.front() == '(' && line.ends_with(") show")) {
      picture.texts.push_back({textX, textY, size, Unescape(line.substr(1, line.size() - 7))});
    }
  }
  return picture;
}

namespace {

BarCodeDataRec RecordOf(const SymbolRequest& request) {
  BarCodeDataRec rec = MakeRecord(request.symbology, request.data, request.addon);
  rec.trim = static_cast<int16_t>(request.trim);
  *rec.display = request.display;
  return rec;
}

} // namespace

EpsPicture DrawEps(const SymbolRequest& request) {
  BarCodeDataRec rec = RecordOf(request);
  if (request.textVisible < 0) {
    BarCodeUpdateImage(nullptr, 0, 0, &rec);
  } else if (BarCodeGetUnscaledSize(rec).width > 0) {
    rec.textVisible = static_cast<int16_t>(request.textVisible);
    BarCodeEncoderFor(rec.symbology)(nullptr, &rec);
  }
  EpsPicture picture = ParseEps(*rec.epsText);
  BarCodeDataRecRelease(&rec);
  return picture;
}

BarCodeRect SizeOf(const SymbolRequest& request) {
  BarCodeDataRec rec = RecordOf(request);
  const BarCodeRect box = BarCodeGetUnscaledSize(rec);
  BarCodeDataRecRelease(&rec);
  return box;
}

EpsPicture DrawInBox(const SymbolRequest& request, float width, float height) {
  if (request.textVisible < 0) { // the size computation knows the render driver's setting only
    const BarCodeRect size = SizeOf(request);
    EXPECT_EQ(size.width, width) << "size computation";
    EXPECT_EQ(size.height, height) << "size computation";
  }
  EpsPicture picture = DrawEps(request);
  EXPECT_EQ(picture.width, width) << "bounding box";
  EXPECT_EQ(picture.height, height) << "bounding box";
  return picture;
}

std::string ModulesOf(const std::vector<EpsBox>& bars) {
  if (bars.empty()) return {};
  int first = bars[0].x1, last = bars[0].x2;
  for (const EpsBox& bar : bars) {
    first = std::min(first, bar.x1);
    last = std::max(last, bar.x2);
  }
  std::string modules(static_cast<size_t>(last - first), '0');
  for (const EpsBox& bar : bars)
    std::fill(modules.begin() + (bar.x1 - first), modules.begin() + (bar.x2 - first), '1');
  return modules;
}

std::string WideNarrowOf(const std::string& modules) {
  std::vector<int> runs;
  for (size_t k = 0; k < modules.size(); ++k) {
    if (k == 0 || modules[k] != modules[k - 1])
      runs.push_back(1);
    else
      ++runs.back();
  }
  const int narrow = runs.empty() ? 0 : *std::min_element(runs.begin(), runs.end());
  std::string elements;
  for (int run : runs)
    elements += run > narrow ? 'w' : 'n';
  return elements;
}
