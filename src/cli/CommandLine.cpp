#include "cli/CommandLine.h"

#include "model/BarCodeStrings.h"
#include "model/BarCodeTables.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "services/Services.h"
#include "verify/BarCodeVerify.h"

#include <algorithm>
#include <array>
#include <climits>

const char* const kUsageText =
    "NAME:\n"
    "VeltrixBarCode v2.2.0 CLI -- Creates barcode images from the Command Line.\n"
    "\n"
    "SYNOPSIS:\n"
    "VeltrixBarCode [-parameter1] [value1] [-parameter2] [value2] [...]\n"
    "\n"
    "DESCRIPTION:\n"
    "The VeltrixBarCode utility creates barcode images as image files or onto the clipboard based "
    "on parameters entered:\n"
    "\n"
    "PARAMETERS:\n"
    "-action\n"
    "Specify result as \"clip\" for clipboard, or for graphic file format of \"epsf\", \"pdff\", "
    "\"tiff\", \"pngf\" or \"pict\".\n"
    "\n"
    "-type\n"
    "Barcode symbology to use. Valid values are EAN-13, EAN-8, EAN-128, EAN-14, EAN-18, EAN-99, "
    "EAN-Coupon, UPC-A, UPC-E, Code-128, Code-93, Code-39, Code-25, UPC-Coupon, Codabar, ISSN, "
    "ISBN, ISMN, PostNet, RM4SCC, Pharmacode, MSI, ITF-SCC, ITF-14, Interleaved-25, QRCode, "
    "PDF417.\n"
    "\n"
    "-data\n"
    "Primary main barcode data.\n"
    "\n"
    "-addon\n"
    "Secondary addon barcode data.\n"
    "\n"
    "-scale\n"
    "Scaling factor as a percentage where 100 is standard.\n"
    "\n"
    "-trim\n"
    "Trim level to reduce height where 0 is standard.\n"
    "\n"
    "-disp\n"
    "Override displayed text.\n"
    "\n"
    "-antialiasoff\n"
    "Disable Anti-Aliasing of graphic image where 1 is to disable.\n"
    "\n"
    "-fontsmoothoff\n"
    "Disable smoothening of text where 1 is to disable.\n"
    "\n"
    "-output\n"
    "Output file path and name for graphic image file\n"
    "\n"
    "-strict\n"
    "Refuse data that would be changed (cut, padded, a check digit replaced) where 1 is to "
    "refuse.\n"
    "\n"
    "-verify\n"
    "Read the symbol back with a scanner library before writing it where 1 is to verify.\n"
    "\n";

namespace {

using Writer = OutputResult (*)(const std::string&, const BarCodeDataRec&, float, float);

struct Action {
  std::string_view word;
  uint32_t code;
  Writer writer; // null for the clipboard
};

constexpr std::array<Action, 6> kActions{{
    {"clip", FourCharCode("CLIP"), nullptr},
    {"epsf", FourCharCode("FEPS"), OutputFileEPSF},
    {"pdff", FourCharCode("FPDF"), OutputFilePDF},
    {"tiff", FourCharCode("FTIF"), OutputFileTIFF},
    {"pngf", FourCharCode("FPNG"), OutputFilePNG},
    {"pict", FourCharCode("FPCT"), OutputFilePICT},
}};

const Action* ActionFor(uint32_t code) {
  for (const Action& action : kActions)
    if (action.code == code) return &action;
  return nullptr;
}

int16_t Clamp16(int32_t value, int32_t low, int32_t high) {
  return static_cast<int16_t>(std::clamp(value, low, high));
}

void SetAction(CommandLineRun& run, const std::string& value) {
  run.action = 0;
  run.rec.position = kPositionPreview;
  for (const Action& action : kActions)
    if (action.word == value) {
      run.action = action.code;
      run.rec.position = kPositionFile;
    }
}

using Setter = void (*)(CommandLineRun&, const std::string&);

struct Parameter {
  std::string_view name;
  Setter apply;
};

const std::array<Parameter, 12> kParameters{{
    {"-action", SetAction},
    {"-type", [](CommandLineRun& r, const std::string& v) { r.rec.symbology = BarCodeSymType(v); }},
    {"-data",
     [](CommandLineRun& r, const std::string& v) {
       *r.rec.data = v;
       FixCFStringMetaChars(*r.rec.data);
     }},
    {"-addon", [](CommandLineRun& r, const std::string& v) { *r.rec.addon = v; }},
    {"-scale",
     [](CommandLineRun& r, const std::string& v) {
       r.rec.scale = std::clamp(CommandLineInteger(v), 50, 150);
     }},
    {"-trim", [](CommandLineRun& r,
                 const std::string& v) { r.rec.trim = std::clamp(CommandLineInteger(v), 0, 100); }},
    {"-disp", [](CommandLineRun& r, const std::string& v) { *r.rec.display = v; }},
    {"-antialiasoff",
     [](CommandLineRun& r, const std::string& v) {
       r.rec.antialiasOff = Clamp16(CommandLineInteger(v), 0, 1);
     }},
    {"-fontsmoothoff",
     [](CommandLineRun& r, const std::string& v) {
       r.rec.fontSmoothOff = Clamp16(CommandLineInteger(v), 0, 1);
     }},
    {"-output",
     [](CommandLineRun& r, const std::string& v) {
       r.output = v;
       GetStandardUnixPath(r.output);
       // "name/" asks for a folder; the writers refuse it rather than write a file "name".
       if (v.ends_with('/') && !r.output.ends_with('/')) r.output += '/';
     }},
    {"-strict", [](CommandLineRun& r,
                   const std::string& v) { r.strict = Clamp16(CommandLineInteger(v), 0, 1); }},
    {"-verify", [](CommandLineRun& r,
                   const std::string& v) { r.verify = Clamp16(CommandLineInteger(v), 0, 1); }},
}};

// The reason a scanned run is a usage error, or empty when it can go ahead.
std::string UsageProblem(const CommandLineRun& run) {
  if (!run.invalid.empty()) return "the value of " + run.invalid + " is not valid UTF-8";
  if (run.rec.symbology <= 0) return "-type is missing or names no known symbology";
  if (run.action == 0) return "-action is missing or not one of clip, epsf, pdff, tiff, pngf, pict";
  if (run.rec.data->empty()) return "-data is missing or empty";
  if (ActionFor(run.action)->writer && run.output.empty()) return "-output is missing";
  return {};
}

constexpr std::string_view kPrefix = "VeltrixBarCode: ";

// One line for a request the size computation refuses: why, or the writer's general word.
std::string NotDrawableText(const CommandLineRun& run) {
  const std::string refusal = BarCodeRefusal(run.rec);
  return refusal.empty() ? std::string(OutputResultText(OutputResult::NotDrawable)) : refusal;
}

// What -verify and -strict ask before the output is made: the request reads back, and nothing in
// it was changed. Returns the exit status, kExitWritten to go ahead.
int CheckRequest(CommandLineRun& run, std::ostream& err) {
  if (!BarCodeRefusal(run.rec).empty()) return kExitWritten; // the writer says why
  if (run.verify == 1) {
    const BarCodeVerification v = BarCodeVerify(run.rec);
    if (v.result == BarCodeVerifyResult::Mismatch ||
        v.result == BarCodeVerifyResult::DecoderUnavailable) {
      err << kPrefix << BarCodeVerificationText(v) << "\n";
      return kExitCannotProduce;
    }
  }
  if (run.strict == 1 && !run.rec.notices->empty()) {
    for (const std::string& notice : *run.rec.notices)
      err << kPrefix << "refused under -strict 1: " << notice << "\n";
    return kExitCannotProduce;
  }
  return kExitWritten;
}

// The notices come from the writer's own size computation and drawing; a run without -verify or
// -strict pays for nothing more than that.
int Produce(CommandLineRun& run, std::ostream& err) {
  run.rec.notices = std::make_shared<std::vector<std::string>>();
  int status = (run.verify == 1 || run.strict == 1) ? CheckRequest(run, err) : kExitWritten;
  if (status == kExitWritten) {
    const Action* action = ActionFor(run.action);
    const OutputResult result = action->writer ? action->writer(run.output, run.rec, 0, 0)
                                               : OutputPasteboardPDF(run.rec, 0, 0);
    if (result != OutputResult::Ok) {
      err << kPrefix
          << (result == OutputResult::NotDrawable ? NotDrawableText(run)
                                                  : std::string(OutputResultText(result)))
          << "\n";
      status = kExitCannotProduce;
    }
  }
  if (run.strict != 1)
    for (const std::string& notice : *run.rec.notices)
      err << kPrefix << "warning: " << notice << "\n";
  return status;
}

} // namespace

int32_t CommandLineInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsWhiteSpace(static_cast<unsigned char>(text[i])))
    ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{INT32_MAX} + 1);
  value = negative ? -value : value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void CommandLineScan(const std::vector<std::string>& args, CommandLineRun& run) {
  BarCodeDataRecCreate(&run.rec);
  // Every element but the last is tried as a parameter name, values included: the scan moves
  // on by one element, not by two.
  if (args.size() <= 3) return;
  for (size_t k = 1; k + 1 < args.size(); ++k) {
    for (const Parameter& parameter : kParameters) {
      if (args[k] != parameter.name) continue;
      if (!Utf8Valid(args[k + 1])) {
        if (run.invalid.empty()) run.invalid = args[k];
        continue;
      }
      parameter.apply(run, args[k + 1]);
    }
  }
}

int CommandLineMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 2 && (args[1] == "-h" || args[1] == "--help")) {
    out << kUsageText;
    return kExitWritten;
  }
  if (args.size() == 2 && args[1] == "--version") {
    out << "VeltrixBarCode " << kVersionText << "\n";
    return kExitWritten;
  }
  if (CheckSysVersionExtended() < kSysVersionTiger) {
    out << "Sorry, Veltrix BarCode only works with MacOS X 10.4 or later.\n";
    return kExitCannotProduce;
  }
  BarCodeInitArrays();
  CommandLineRun run;
  CommandLineScan(args, run);
  int status = kExitWritten;
  if (const std::string problem = UsageProblem(run); !problem.empty()) {
    err << "VeltrixBarCode: " << problem << "\n";
    out << kUsageText;
    status = kExitUsage;
  } else {
    status = Produce(run, err);
  }
  BarCodeDataRecRelease(&run.rec);
  return status;
}
