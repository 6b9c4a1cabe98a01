#include "symbologies/TwoDimensionalSupport.h"

#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"
#include "support/TestSupport.h"

#include <memory>
#include <regex>

CliReadBack MakeAndRead(const std::string& type, const std::string& data,
                        const OutputFormat& format, const ReadOptions& options) {
  CliReadBack back;
  const std::string file = TestTempDir() + "/symbol" + format.extension;
  const RunResult run = RunCli(
      {"-type", type, "-data", data, "-scale", "100", "-action", format.action, "-output", file});
  back.status = run.status;
  back.err = run.err;
  if (run.status != 0) return back;
  const std::string png = RasterizeOnWhite(file, options.factor, options.dpi);
  if (png.empty()) return back;
  back.zxing = ZXingRead(png, options.zxingFormat);
  if (options.zbar) back.zbar = ZBarRead(png);
  return back;
}

std::string DrawEpsOnly(const BarCodeDataRec& rec) {
  BarCodeDataRec copy = rec;
  copy.epsText = std::make_shared<std::string>();
  BarCodeUpdateImage(nullptr, 0, 0, &copy);
  return *copy.epsText;
}

std::vector<EpsRectangle> EpsFilledRects(const std::string& eps) {
  static const std::regex kRect(R"((-?\d+) (-?\d+) (-?\d+) (-?\d+) VXfillrect)");
  std::vector<EpsRectangle> rects;
  for (auto it = std::sregex_iterator(eps.begin(), eps.end(), kRect); it != std::sregex_iterator();
       ++it)
    rects.push_back(
        {std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3]), std::stoi((*it)[4])});
  return rects;
}

std::vector<double> EpsBoundingBox(const std::string& eps) {
  static const std::regex kBox(R"(%%BoundingBox: 0 0 ([0-9.]+) ([0-9.]+))");
  std::smatch m;
  if (!std::regex_search(eps, m, kBox)) return {};
  return {std::stod(m[1]), std::stod(m[2])};
}
