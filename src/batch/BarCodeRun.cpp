#include "batch/BarCodeRun.h"

#include "model/BarCodeStrings.h"
#include "render/BarCodeRender.h"
#include "services/Services.h"
#include "verify/BarCodeVerify.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {

using Writer = OutputResult (*)(const BarCodeRun&);

struct Action {
  std::string_view word;
  uint32_t code;
  Writer writer; // null for the clipboard
};

// A batch reads the PDF author once rather than the preference file for every row.
OutputResult WritePDF(const BarCodeRun& r) {
  return r.author ? OutputFilePDFAuthor(r.output, r.rec, 0, 0, *r.author)
                  : OutputFilePDF(r.output, r.rec, 0, 0);
}

constexpr std::array<Action, 7> kActions{{
    {"clip", kActionClip, nullptr},
    {"epsf", FourCharCode("FEPS"),
     [](const BarCodeRun& r) { return OutputFileEPSF(r.output, r.rec, 0, 0); }},
    {"pdff", kActionPDF, WritePDF},
    {"tiff", FourCharCode("FTIF"),
     [](const BarCodeRun& r) { return OutputFileTIFF(r.output, r.rec, 0, 0); }},
    {"pngf", FourCharCode("FPNG"),
     [](const BarCodeRun& r) { return OutputFilePNG(r.output, r.rec, 0, 0); }},
    {"pict", FourCharCode("FPCT"),
     [](const BarCodeRun& r) { return OutputFilePICT(r.output, r.rec, 0, 0); }},
    {"svgf", FourCharCode("FSVG"),
     [](const BarCodeRun& r) { return OutputFileSVG(r.output, r.rec, 0, 0); }},
}};

const Action* ActionFor(uint32_t code) {
  for (const Action& action : kActions)
    if (action.code == code) return &action;
  return nullptr;
}

int16_t Switch(const std::string& value) {
  return static_cast<int16_t>(std::clamp(CommandLineInteger(value), 0, 1));
}

void SetAction(BarCodeRun& run, const std::string& value) {
  run.action = BarCodeRunActionCode(value);
  run.rec.position = run.action ? kPositionFile : kPositionPreview;
}

using Setter = void (*)(BarCodeRun&, const std::string&);

struct Parameter {
  std::string_view name;
  Setter apply;
};

const std::array<Parameter, 13> kParameters{{
    {"-action", SetAction},
    {"-type", [](BarCodeRun& r, const std::string& v) { r.rec.symbology = BarCodeSymType(v); }},
    {"-data",
     [](BarCodeRun& r, const std::string& v) {
       *r.rec.data = v;
       FixCFStringMetaChars(*r.rec.data);
     }},
    {"-addon", [](BarCodeRun& r, const std::string& v) { *r.rec.addon = v; }},
    {"-scale",
     [](BarCodeRun& r, const std::string& v) {
       r.rec.scale = std::clamp(CommandLineInteger(v), 50, 150);
     }},
    {"-trim", [](BarCodeRun& r,
                 const std::string& v) { r.rec.trim = std::clamp(CommandLineInteger(v), 0, 100); }},
    {"-disp", [](BarCodeRun& r, const std::string& v) { *r.rec.display = v; }},
    {"-antialiasoff", [](BarCodeRun& r, const std::string& v) { r.rec.antialiasOff = Switch(v); }},
    {"-fontsmoothoff",
     [](BarCodeRun& r, const std::string& v) { r.rec.fontSmoothOff = Switch(v); }},
    {"-output",
     [](BarCodeRun& r, const std::string& v) {
       r.output = v;
       GetStandardUnixPath(r.output);
       // "name/" asks for a folder; the writers refuse it rather than write a file "name".
       if (v.ends_with('/') && !r.output.ends_with('/')) r.output += '/';
     }},
    {"-strict", [](BarCodeRun& r, const std::string& v) { r.strict = Switch(v); }},
    {"-verify", [](BarCodeRun& r, const std::string& v) { r.verify = Switch(v); }},
    {"-dpi",
     [](BarCodeRun& r, const std::string& v) {
       r.rec.dpi = std::clamp(CommandLineInteger(v), kBarCodeDefaultDPI, kBarCodeMaxDPI);
     }},
}};

// The checks of a run, in the order a single run makes them; each belongs to the parameter whose
// value it judges.
struct Check {
  std::string_view parameter;
  bool (*fails)(const BarCodeRun&);
  std::string_view problem;
};
constexpr std::array<Check, 4> kChecks{{
    {"-type", [](const BarCodeRun& r) { return r.rec.symbology <= 0; },
     "-type is missing or names no known symbology"},
    {"-action", [](const BarCodeRun& r) { return r.action == 0; },
     "-action is missing or not one of clip, epsf, pdff, tiff, pngf, pict, svgf"},
    {"-data", [](const BarCodeRun& r) { return r.rec.data->empty(); }, "-data is missing or empty"},
    {"-output", [](const BarCodeRun& r) { return r.action != kActionClip && r.output.empty(); },
     "-output is missing"},
}};

// One line for a request the size computation refuses: why, or the writer's general word.
std::string NotDrawableText(const BarCodeRun& run) {
  const std::string refusal = BarCodeRefusal(run.rec);
  return refusal.empty() ? std::string(OutputResultText(OutputResult::NotDrawable)) : refusal;
}

// What -verify and -strict ask before the output is made: the request reads back, and nothing in
// it was changed. Returns the exit status, kExitWritten to go ahead.
int CheckRequest(BarCodeRun& run, std::vector<std::string>& lines) {
  if (!BarCodeRefusal(run.rec).empty()) return kExitWritten; // the writer says why
  if (run.verify == 1) {
    const BarCodeVerification v = BarCodeVerify(run.rec);
    if (v.result == BarCodeVerifyResult::Mismatch ||
        v.result == BarCodeVerifyResult::DecoderUnavailable) {
      lines.push_back(BarCodeVerificationText(v));
      return kExitCannotProduce;
    }
  }
  if (run.strict == 1 && !run.rec.notices->empty()) {
    for (const std::string& notice : *run.rec.notices)
      lines.push_back("refused under -strict 1: " + notice);
    return kExitCannotProduce;
  }
  return kExitWritten;
}

} // namespace

void BarCodeRunCreate(BarCodeRun& run) {
  run = BarCodeRun{};
  BarCodeDataRecCreate(&run.rec);
}

void BarCodeRunRelease(BarCodeRun& run) {
  BarCodeDataRecRelease(&run.rec);
}

void BarCodeRunCopy(const BarCodeRun& from, BarCodeRun& to) {
  to = from;
  to.rec.data = std::make_shared<std::string>(*from.rec.data);
  to.rec.addon = std::make_shared<std::string>(*from.rec.addon);
  to.rec.display = std::make_shared<std::string>(*from.rec.display);
  to.rec.epsText = std::make_shared<std::string>();
  to.rec.notices = nullptr;
}

bool BarCodeRunApply(BarCodeRun& run, std::string_view name, const std::string& value) {
  for (const Parameter& parameter : kParameters) {
    if (name != parameter.name) continue;
    if (!Utf8Valid(value)) {
      if (run.invalid.empty()) run.invalid = name;
    } else {
      parameter.apply(run, value);
    }
    return true;
  }
  return false;
}

std::vector<std::string_view> BarCodeRunParameters() {
  std::vector<std::string_view> names;
  for (const Parameter& parameter : kParameters)
    names.push_back(parameter.name);
  return names;
}

uint32_t BarCodeRunActionCode(std::string_view word) {
  for (const Action& action : kActions)
    if (action.word == word) return action.code;
  return 0;
}

std::string BarCodeRunProblem(const BarCodeRun& run,
                              const std::function<bool(std::string_view)>& skip) {
  if (!run.invalid.empty()) return "the value of " + run.invalid + " is not valid UTF-8";
  for (const Check& check : kChecks)
    if (!(skip && skip(check.parameter)) && check.fails(run)) return std::string(check.problem);
  return {};
}

// The notices come from the writer's own size computation and drawing; a run without -verify or
// -strict pays for nothing more than that.
int BarCodeRunProduceWith(BarCodeRun& run, std::vector<std::string>& lines,
                          const std::function<OutputResult(BarCodeRun&)>& make) {
  run.rec.notices = std::make_shared<std::vector<std::string>>();
  int status = (run.verify == 1 || run.strict == 1) ? CheckRequest(run, lines) : kExitWritten;
  if (status == kExitWritten) {
    const OutputResult result = make(run);
    if (result != OutputResult::Ok) {
      lines.push_back(result == OutputResult::NotDrawable ? NotDrawableText(run)
                                                          : std::string(OutputResultText(result)));
      status = kExitCannotProduce;
    }
  }
  if (run.strict != 1)
    for (const std::string& notice : *run.rec.notices)
      lines.push_back("warning: " + notice);
  return status;
}

int BarCodeRunProduce(BarCodeRun& run, std::vector<std::string>& lines) {
  return BarCodeRunProduceWith(run, lines, [](BarCodeRun& r) {
    const Action* action = ActionFor(r.action);
    return action && action->writer ? action->writer(r) : OutputPasteboardPDF(r.rec, 0, 0);
  });
}

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
