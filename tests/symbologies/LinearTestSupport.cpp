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
