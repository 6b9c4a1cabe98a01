#include "app/WinStatus.h"

#include "app/WinControls.h"
#include "app/WinData.h"
#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "render/BarCodeRender.h"
#include "verify/BarCodeVerify.h"

#include <gtkmm.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

constexpr const char* kSeparator = "  \u00B7  ";
constexpr const char* kPending = "Checking that it scans\u2026";
// A reading that differs from what the symbol carries is shown in red.
constexpr const char* kMismatchColour = "#c01c28";

// A request of the reader's own, sharing no string with the window's.
BarCodeDataRec CopyRequest(const BarCodeDataRec& rec) {
  BarCodeDataRec copy = rec;
  copy.data = std::make_shared<std::string>(*rec.data);
  copy.addon = std::make_shared<std::string>(*rec.addon);
  copy.display = std::make_shared<std::string>(*rec.display);
  copy.epsText = nullptr;
  copy.notices = nullptr;
  return copy;
}

std::string Escaped(const std::string& text) {
  return Glib::Markup::escape_text(text);
}

// The reading of a symbol as the status line shows it.
std::string ReadingMarkup(const BarCodeDataRec& rec, const BarCodeVerification& v) {
  switch (v.result) {
  case BarCodeVerifyResult::Match:
    return "Scans as " + Escaped(BarCodePrintableText(v.read));
  case BarCodeVerifyResult::NoDecoder:
    return "Not verified: there is no reader for " + Escaped(BarCodeNoticeName(rec));
  case BarCodeVerifyResult::DecoderUnavailable:
    return "Not verified: " + Escaped(v.problem);
  case BarCodeVerifyResult::Mismatch:
    break;
  }
  std::string text = v.read.empty() ? "Does not scan"
                                    : "Scans as \u00AB" + BarCodePrintableText(v.read) + "\u00BB";
  text += ", but it carries \u00AB" + BarCodePrintableText(v.expected) + "\u00BB";
  if (!v.problem.empty()) text += " (" + v.problem + ")";
  return std::string("<span foreground=\"") + kMismatchColour + "\">" + Escaped(text) + "</span>";
}

// One reading to do: the request of a window at one generation, and what came of it.
struct Job {
  std::shared_ptr<WinStatus> status;
  uint64_t generation;
  BarCodeDataRec rec;
  std::string markup;
};

// The reading is told on the main thread, if the window still shows that request.
gboolean Deliver(gpointer data) {
  const Job& job = *static_cast<Job*>(data);
  if (job.status->window && job.status->generation == job.generation) {
    job.status->scan = job.markup;
    WinStatusUpdate(*job.status->window);
  }
  return G_SOURCE_REMOVE;
}

// One thread for the program reads the symbols back, so that typing never waits for a reader.
// The engine's drawing may run on it: its font faces are made under a lock.
class Reader {
public:
  ~Reader() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
  }

  void Post(Job job) {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    // A window's older request that is still waiting is not worth reading any more.
    std::erase_if(jobs_, [&](const Job& queued) { return queued.status == job.status; });
    jobs_.push_back(std::move(job));
    wake_.notify_one();
  }

private:
  void Run() {
    for (;;) {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
      if (stop_) return;
      auto* job = new Job(std::move(jobs_.front()));
      jobs_.pop_front();
      lock.unlock();
      job->markup = ReadingMarkup(job->rec, BarCodeVerify(job->rec));
      BarCodeDataRecRelease(&job->rec);
      g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, Deliver, job,
                      [](gpointer data) { delete static_cast<Job*>(data); });
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stop_ = false;
  std::thread thread_;
};

Reader& TheReader() {
  static Reader reader;
  return reader;
}

std::string FieldText(Gtk::Window& window, int identifier) {
  auto* field = ViewFindAs<Gtk::Editable>(window, identifier);
  return field ? std::string(field->get_text()) : std::string();
}

std::string Capitalized(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

std::string Characters(const std::string& data) {
  const size_t n = Utf8Length(data);
  return std::to_string(n) + (n == 1 ? " character" : " characters");
}

// What the symbol carries: the completed digits or text, or for the two-dimensional symbols how
// much data and how large a symbol (read off its box: a QR Code module is 3 units with a quiet
// zone of 4 modules; a PDF417 row is 2 units high).
std::string Carries(const BarCodeDataRec& rec, BarCodeRect box) {
  if (rec.symbology == kBarCodeQRCode) {
    const int modules = static_cast<int>(box.width) / 3 - 8;
    return "Carries " + Characters(*rec.data) + " in a version " +
           std::to_string((modules - 17) / 4) + " symbol of " + std::to_string(modules) +
           " \u00D7 " + std::to_string(modules) + " modules";
  }
  if (rec.symbology == kBarCodePDF417)
    return "Carries " + Characters(*rec.data) + " in " +
           std::to_string(static_cast<int>(box.height) / 2) + " rows of " +
           std::to_string(static_cast<int>(box.width)) + " modules";
  return "Carries " + BarCodePrintableText(BarCodeCarriedText(rec));
}

// Everything the line tells at once, as markup.
std::string Told(Gtk::Window& window, const WinPreview& preview) {
  const BarCodeDataRec& rec = preview.rec;
  std::vector<std::string> parts;
  const bool drawable = PreviewDrawable(window);
  parts.push_back(drawable ? Carries(rec, preview.box) : Capitalized(BarCodeRefusal(rec)));
  parts.push_back(WinCleaningText(BarCodeNoticeName(rec), FieldText(window, kViewData), *rec.data));
  if (BarCodeTextAddon(static_cast<int16_t>(rec.symbology)) == 1)
    parts.push_back(WinCleaningText({}, FieldText(window, kViewAddon), *rec.addon));
  for (const std::string& notice : preview.notices)
    parts.push_back(Capitalized(notice));
  std::string markup;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!markup.empty()) markup += kSeparator;
    markup += Escaped(part);
  }
  return markup;
}

void Show(Gtk::Window& window, const WinStatus& status) {
  auto* line = ViewFindAs<Gtk::Label>(window, kViewStatus);
  if (!line) return;
  const size_t cut = status.told.find(kSeparator);
  // The reading comes second, after what the symbol carries.
  std::string markup = status.told;
  if (!status.scan.empty())
    markup.insert(cut == std::string::npos ? markup.size() : cut,
                  std::string(kSeparator) + status.scan);
  line->set_markup(markup);
  line->set_tooltip_text(line->get_text());
}

} // namespace

std::string WinCleaningText(std::string_view name, std::string_view typed, std::string_view kept) {
  const std::u32string from = Utf8Decode(typed), to = Utf8Decode(kept);
  std::u32string removed;
  size_t at = 0, end = 0; // end: past the typed character that completed the kept text
  for (size_t i = 0; i < from.size(); ++i)
    if (at < to.size() && to[at] == from[i])
      end = i + 1, ++at;
    else
      removed += from[i];
  if (removed.empty() || at < to.size()) return {};
  // What went after the kept text was cut when it was of the kind kept (digits after digits).
  const bool digits = IsDigits(kept);
  const auto isDigit = [](char32_t c) { return c >= U'0' && c <= U'9'; };
  const std::u32string tail = from.substr(end);
  const bool cut = std::ranges::any_of(tail, isDigit) ||
                   (!digits && !tail.empty() && !std::ranges::all_of(tail, IsWhiteSpace));
  if (cut) removed.resize(removed.size() - tail.size());
  std::vector<std::string> kinds;
  if (std::ranges::any_of(removed, [](char32_t c) { return g_unichar_isalpha(c); }))
    kinds.push_back("letters");
  if (std::ranges::any_of(removed, IsWhiteSpace)) kinds.push_back("spaces");
  if (std::ranges::any_of(removed, [&](char32_t c) {
        return !g_unichar_isalpha(c) && !IsWhiteSpace(c) && !(digits && isDigit(c));
      }))
    kinds.push_back("other characters");
  const std::string field = name.empty() ? "the add-on" : "the data";
  std::string text;
  for (size_t k = 0; k < kinds.size(); ++k)
    text += (k == 0 ? "" : k + 1 == kinds.size() ? " and " : ", ") + kinds[k];
  if (!text.empty()) {
    text = Capitalized(text) + " removed" + (name.empty() ? " from the add-on" : "");
    if (digits)
      text += name.empty() ? ": an add-on takes digits only"
                           : ": " + std::string(name) + " takes digits only";
  }
  if (cut)
    text += (text.empty() ? Capitalized(field) : "; " + field) + " was cut to " +
            Characters(std::string(kept));
  return text;
}

void WinStatusUpdate(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  if (!data) return;
  WinStatus& status = *data->status;
  status.window = &window;
  const WinPreview& preview = *data->preview;
  if (status.requestKey != preview.requestKey) {
    status.requestKey = preview.requestKey;
    const uint64_t generation = ++status.generation;
    status.told = Told(window, preview);
    status.scan = PreviewDrawable(window) ? kPending : "";
    // Read only once typing pauses, and only what the window still shows then.
    if (PreviewDrawable(window))
      Glib::signal_timeout().connect_once(sigc::track_object(
                                              [&window, generation] {
                                                WinData* data = WinDataGet(window);
                                                if (!data || data->status->generation != generation)
                                                  return;
                                                TheReader().Post({data->status, generation,
                                                                  CopyRequest(data->preview->rec),
                                                                  std::string()});
                                              },
                                              window),
                                          kStatusVerifyDelayMs);
  }
  Show(window, status);
}

std::string WinStatusText(Gtk::Window& window) {
  auto* line = ViewFindAs<Gtk::Label>(window, kViewStatus);
  return line ? std::string(line->get_text()) : std::string();
}
