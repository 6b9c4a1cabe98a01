#include "symbologies/LinearTestSupport.h"

#include "model/BarCodeDataRec.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

namespace {

// Undoes the escapes of a PostScript string: \( \) \\ and three octal digits.
std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t k = 0; k < s.size(); ++k) {
    if (s[k] != '\\' || k + 1 >= s.size()) {
      out += s[k];
      continue;
    }
    if (s[k + 1] >= '0' && s[k + 1] <= '7' && k + 3 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(k + 1, 3), nullptr, 8));
      k += 3;
    } else {
      out += s[++k];
    }
  }
  return out;
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
    if (line.rfind("%%BoundingBox:", 0) == 0) {
      std::string tag;
      float x = 0, y = 0;
      words >> tag >> x >> y >> picture.width >> picture.height;
    } else if (line.ends_with(" VXfillrect") || line.ends_with(" VXdrawrect")) {
      EpsBox box{};
      words >> box.x1 >> box.y1 >> box.x2 >> box.y2;
      (line.ends_with("fillrect") ? picture.fills : picture.frames).push_back(box);
    } else if (line.ends_with(" setlinewidth")) {
      int width = 0;
      words >> width;
      picture.penSizes.push_back(width);
    } else if (line.ends_with(" scalefont")) {
      words >> size;
    } else if (line.ends_with(" moveto") && line != "0 0 moveto") {
      words >> textX >> textY;
    } else if (line.size() > 6 && line.front() == '(' && line.ends_with(") show")) {
      picture.texts.push_back({textX, textY, size, Unescape(line.substr(1, line.size() - 7))});
    }
  }
  return picture;
}

namespace {

BarCodeDataRec Request(int symbology, const std::string& data, const std::string& display,
                       int trim) {
  BarCodeDataRec rec = MakeRecord(symbology, data);
  *rec.display = display;
  rec.trim = trim;
  return rec;
}

} // namespace

EpsPicture DrawEps(int symbology, const std::string& data, const std::string& display, int trim) {
  BarCodeDataRec rec = Request(symbology, data, display, trim);
  BarCodeUpdateImage(nullptr, 0, 0, &rec);
  EpsPicture picture = ParseEps(*rec.epsText);
  BarCodeDataRecRelease(&rec);
  return picture;
}

BarCodeRect SizeOf(int symbology, const std::string& data, int trim) {
  BarCodeDataRec rec = Request(symbology, data, {}, trim);
  const BarCodeRect box = BarCodeGetUnscaledSize(rec);
  BarCodeDataRecRelease(&rec);
  return box;
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
    for (int x = bar.x1; x < bar.x2; ++x)
      modules[static_cast<size_t>(x - first)] = '1';
  return modules;
}

std::vector<int> RunsOf(const std::string& modules) {
  std::vector<int> runs;
  for (size_t k = 0; k < modules.size(); ++k) {
    if (k == 0 || modules[k] != modules[k - 1])
      runs.push_back(1);
    else
      ++runs.back();
  }
  return runs;
}

std::string WideNarrowOf(const std::string& modules) {
  const std::vector<int> runs = RunsOf(modules);
  const int narrow = runs.empty() ? 0 : *std::min_element(runs.begin(), runs.end());
  std::string elements;
  for (int run : runs)
    elements += run > narrow ? 'w' : 'n';
  return elements;
}

namespace {

using Writer = OutputResult (*)(const std::string&, const BarCodeDataRec&, float, float);

// What the command line does for one file, done in process.
bool WriteInProcess(const std::string& type, const std::string& data, Writer writer,
                    const std::string& file) {
  BarCodeDataRec rec = MakeRecord(BarCodeSymType(type), data);
  const OutputResult result = writer(file, rec, 0, 0);
  BarCodeDataRecRelease(&rec);
  return result == OutputResult::Ok;
}

} // namespace

std::vector<ScanFile> ScanFiles(const std::string& type, const std::string& data,
                                const std::vector<std::string>& extra) {
  struct Format {
    const char* action;
    const char* extension;
    Writer writer;
  };
  static const Format kFormats[] = {{"pngf", ".png", OutputFilePNG},
                                    {"pdff", ".pdf", OutputFilePDF},
                                    {"epsf", ".eps", OutputFileEPSF}};
  const std::string dir = TestTempDir();
  std::vector<ScanFile> files;
  for (const auto& [action, extension, writer] : kFormats) {
    const std::string file = dir + "/symbol" + extension;
    if (data.find('\0') != std::string::npos) {
      EXPECT_TRUE(extra.empty() && WriteInProcess(type, data, writer, file)) << type << action;
    } else {
      std::vector<std::string> args{"-type",   type,   "-data",   data,
                                    "-action", action, "-output", file};
      args.insert(args.end(), extra.begin(), extra.end());
      const RunResult run = RunCli(args);
      EXPECT_EQ(run.status, 0) << type << " " << action << ": " << run.err;
    }
    const std::string png = RasterizeOnWhite(file);
    EXPECT_FALSE(png.empty()) << type << " " << action;
    if (!png.empty()) files.push_back({action, png});
  }
  return files;
}

std::vector<std::string> ZintRows(int zintType, const std::string& data,
                                  const std::vector<std::string>& options) {
  std::vector<std::string> argv{"zint", "-b", std::to_string(zintType), "-d", data, "--dump"};
  argv.insert(argv.end(), options.begin(), options.end());
  const RunResult run = RunProgram(argv);
  std::vector<std::string> rows;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    std::string bits;
    std::istringstream hex(line);
    for (std::string digits; hex >> digits;)
      for (char digit : digits) {
        const int value = std::stoi(std::string(1, digit), nullptr, 16);
        for (int bit = 3; bit >= 0; --bit)
          bits += ((value >> bit) & 1) ? '1' : '0';
      }
    // Every row ends with a bar: what follows the last "1" is the padding of the last digit.
    bits.erase(bits.find_last_of('1') + 1);
    if (!bits.empty()) rows.push_back(bits);
  }
  return rows;
}

std::string Printable(const std::string& text) {
  std::string out;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", b);
      out += escape;
    } else {
      out += c;
    }
  }
  return out;
}
