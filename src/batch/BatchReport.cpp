#include "batch/Batch.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", seconds);
  return text;
}

// m:ss, or h:mm:ss from an hour on.
std::string Duration(double seconds) {
  const long whole = std::lround(seconds);
  char text[32];
  if (whole >= 3600)
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  else
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

constexpr int kBarWidth = 24;
constexpr const char* kClearLine = "\r\x1b[K";

} // namespace

std::string BatchSummaryText(const BatchSummary& s) {
  std::string text = std::to_string(s.written) + " written, " + std::to_string(s.failed) +
                     " failed in " + Seconds(s.seconds);
  if (!s.stopped) return text;
  std::string where = "stopped after row " + std::to_string(s.lastRow);
  if (s.total > 0) where += " of " + std::to_string(s.total);
  return where + ": " + text;
}

std::string BatchProgressText(const BatchProgress& p) {
  const double part = p.total > 0 ? std::min(1.0, static_cast<double>(p.done) / p.total) : 0;
  const int filled = static_cast<int>(part * kBarWidth);
  const double rate = p.seconds > 0 ? p.done / p.seconds : 0;
  std::string text = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "] " +
                     std::to_string(p.done) + "/" + std::to_string(p.total) + " rows  " +
                     std::to_string(std::lround(rate)) + " rows/s  ";
  return text + (rate > 0 ? Duration((p.total - std::min(p.done, p.total)) / rate) : "-:--") +
         " left";
}

void BatchReportTo(FILE* err, bool terminal, BatchOptions& options) {
  auto bar = std::make_shared<std::string>(); // the progress line on the screen, if any
  options.message = [err, bar](const std::string& line) {
    BatchWrite(err, {bar->empty() ? "" : kClearLine, line, "\n", *bar});
    std::fflush(err);
  };
  options.progress = nullptr;
  if (terminal)
    options.progress = [err, bar](const BatchProgress& progress) {
      *bar = BatchProgressText(progress);
      BatchWrite(err, {kClearLine, *bar});
      std::fflush(err);
    };
}

void BatchWrite(FILE* to, std::initializer_list<std::string_view> parts) {
  for (std::string_view part : parts)
    std::fwrite(part.data(), 1, part.size(), to);
}
