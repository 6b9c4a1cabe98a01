#include "symbologies/EANTestSupport.h"

#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"
#include "support/TestSupport.h"
#include "symbologies/BarCodeEncoders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

std::string WithGtinCheck(const std::string& digits) {
  int sum = 0;
  for (size_t i = 0; i < digits.size(); ++i)
    sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
  return digits + static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string Fitted(const std::string& data, size_t n) {
  if (data.size() >= n) return data.substr(0, n);
  return std::string(n - data.size(), '0') + data;
}

namespace {

BarCodeDataRec RecordOf(const EANRequest& request) {
  BarCodeDataRec rec = MakeRecord(request.symbology, request.data, request.addon);
  rec.trim = request.trim;
  *rec.display = request.display;
  return rec;
}

// Undoes the EPS writer's escapes: \ooo octal bytes and backslashed parentheses.
std::string Unescaped(std::string_view run) {
  std::string text;
  for (size_t i = 0; i < run.size(); ++i) {
    if (run[i] != '\\' || i + 1 >= run.size()) {
      text += run[i];
    } else if (run[i + 1] >= '0' && run[i + 1] <= '7') {
      text += static_cast<char>(std::stoi(std::string(run.substr(i + 1, 3)), nullptr, 8));
      i += 3;
    } else {
      text += run[++i];
    }
  }
  return text;
}

EANEpsPicture Parse(const std::string& eps) {
  EANEpsPicture picture;
  std::string text = eps;
  std::replace(text.begin(), text.end(), '\r', '\n');
  std::istringstream lines(text);
  int size = 0, x = 0, y = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    if (line.rfind("%%BoundingBox:", 0) == 0) {
      std::string tag;
      float x0, y0;
      words >> tag >> x0 >> y0 >> picture.width >> picture.height;
    } else if (line.ends_with(" VXfillrect")) {
      EANEpsBar bar;
      words >> bar.x1 >> bar.y1 >> bar.x2 >> bar.y2;
      picture.bars.push_back(bar);
    } else if (line.ends_with(" scalefont")) {
      words >> size;
    } else if (line.ends_with(" moveto")) {
      words >> x >> y;
    } else if (line.starts_with("(") && line.ends_with(") show")) {
      picture.texts.push_back({x, y, size, Unescaped(line.substr(1, line.size() - 7))});
    }
  }
  return picture;
}

} // namespace

EANEpsPicture DrawEPS(const EANRequest& request) {
  BarCodeDataRec rec = RecordOf(request);
  if (request.textVisible < 0) {
    BarCodeUpdateImage(nullptr, 0, 0, &rec);
  } else if (BarCodeGetUnscaledSize(rec).width > 0) {
    rec.textVisible = static_cast<int16_t>(request.textVisible);
    BarCodeEncoderFor(rec.symbology)(nullptr, &rec);
  }
  EANEpsPicture picture = Parse(*rec.epsText);
  BarCodeDataRecRelease(&rec);
  return picture;
}

std::pair<float, float> SizeOf(const EANRequest& request) {
  BarCodeDataRec rec = RecordOf(request);
  BarCodeRect box{0, 0, 0, 0};
  BarCodeGetSize(rec, box);
  BarCodeDataRecRelease(&rec);
  return {box.width, box.height};
}

void ExpectStretches(const EANEpsPicture& picture, const std::vector<BarStretch>& stretches) {
  ASSERT_FALSE(picture.bars.empty());
  for (const BarStretch& s : stretches) {
    std::vector<EANEpsBar> in;
    for (const EANEpsBar& bar : picture.bars)
      if (bar.x1 >= s.from && bar.x1 < s.to) in.push_back(bar);
    SCOPED_TRACE("stretch " + std::to_string(s.from) + "-" + std::to_string(s.to));
    ASSERT_FALSE(in.empty());
    EXPECT_LE(in.back().x2, s.to);
    for (const EANEpsBar& bar : in) {
      EXPECT_EQ(bar.y1, s.bottom) << "bar at " << bar.x1;
      EXPECT_EQ(bar.y2, s.top) << "bar at " << bar.x1;
    }
  }
  for (const EANEpsBar& bar : picture.bars)
    EXPECT_TRUE(
        std::any_of(stretches.begin(), stretches.end(),
                    [&](const BarStretch& s) { return bar.x1 >= s.from && bar.x2 <= s.to; }))
        << "stray bar at " << bar.x1;
}

std::vector<BarStretch> EAN13Stretches(int top) {
  return {{11, 14, 6, top},
          {14, 56, 10, top},
          {56, 61, 6, top},
          {61, 103, 10, top},
          {103, 106, 6, top}};
}

std::vector<BarStretch> UPCAStretches(int top) {
  return {{9, 12, 6, top},   {12, 19, 6, top},  {19, 54, 10, top}, {54, 59, 6, top},
          {59, 94, 10, top}, {94, 101, 6, top}, {101, 104, 6, top}};
}

std::vector<EANEpsText> EAN13DigitTexts(const std::string& d) {
  std::vector<EANEpsText> texts{{0, 1, 10, d.substr(0, 1)}};
  for (int k = 1; k < 13; ++k)
    texts.push_back({(k <= 6 ? 8 : 13) + 7 * k, 1, 10, d.substr(k, 1)});
  return texts;
}

std::vector<EANEpsText> UPCADigitTexts(const std::string& d) {
  std::vector<EANEpsText> texts{{0, 1, 7, d.substr(0, 1)}, {109, 1, 7, d.substr(11, 1)}};
  for (int k = 1; k <= 10; ++k)
    texts.push_back({(k <= 5 ? 13 : 18) + 7 * k, 1, 10, d.substr(k, 1)});
  return texts;
}

namespace {

struct Format {
  const char* action;
  const char* extension;
};
constexpr Format kFormats[] = {{"pngf", ".png"}, {"pdff", ".pdf"}, {"epsf", ".eps"}};

std::string Join(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& t : texts)
    joined += "[" + t + "]";
  return joined;
}

std::vector<std::string> Sorted(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

struct FormatScan {
  std::string action;
  std::map<std::string, std::vector<std::string>> zxing; // by zxing-cpp format name
  std::vector<std::string> zbar;
};

// Empty when the tool fails for any format.
std::vector<FormatScan> ScanEveryFormat(const std::vector<std::string>& args,
                                        const std::vector<std::string>& zxingFormats) {
  const std::string dir = TestTempDir();
  std::vector<FormatScan> scans;
  for (const Format& f : kFormats) {
    const std::string file = dir + "/symbol" + f.extension;
    std::vector<std::string> cli = args;
    cli.insert(cli.end(), {"-action", f.action, "-output", file});
    if (RunCli(cli).status != 0) return {};
    const std::string png = RasterizeOnWhite(file);
    FormatScan scan{f.action, {}, ZBarRead(png)};
    for (const std::string& format : zxingFormats)
      scan.zxing[format] = ZXingRead(png, format);
    scans.push_back(scan);
  }
  return scans;
}

} // namespace

void ExpectReadBack(const std::vector<std::string>& args,
                    const std::map<std::string, std::string>& zxingExpected,
                    const std::vector<std::string>& zbarExpected) {
  std::vector<std::string> formats;
  for (const auto& [format, text] : zxingExpected)
    formats.push_back(format);
  const std::vector<FormatScan> scans = ScanEveryFormat(args, formats);
  ASSERT_EQ(scans.size(), std::size(kFormats)) << "the tool failed";
  for (const FormatScan& scan : scans) {
    SCOPED_TRACE(scan.action);
    for (const auto& [format, text] : zxingExpected)
      EXPECT_EQ(Join(scan.zxing.at(format)), Join({text})) << "zxing " << format;
    EXPECT_EQ(Join(Sorted(scan.zbar)), Join(Sorted(zbarExpected))) << "zbar";
  }
}
