#include "app/WinStatus.h"

#include "app/WinControls.h"
#include "app/WinData.h"
#include "app/WinWorker.h"
#include "model/BarCodeDataRec.h"
#include "model/BarCodeNotices.h"
#include "model/BarCodeStrings.h"
#include "render/BarCodeRender.h"
#include "verify/BarCodeVerify.h"

#include <gtkmm.h>

#include <algorithm>

namespace {

constexpr const char* kSeparator = "  \u00B7  ";
constexpr const char* kPending = "Checking that it scans\u2026";
// A reading that differs from what the symbol carries is shown in red.
constexpr const char* kMismatchColour = "#c01c28";

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
std::string Carries(const WinPicture& shown) {
  const BarCodeDataRec& rec = shown.rec;
  if (rec.symbology == kBarCodeQRCode) {
    const int modules = static_cast<int>(shown.box.width) / 3 - 8;
    return "Carries " + Characters(*rec.data) + " in a version " +
           std::to_string((modules - 17) / 4) + " symbol of " + std::to_string(modules) +
           " \u00D7 " + std::to_string(modules) + " modules";
  }
  if (rec.symbology == kBarCodePDF417)
    return "Carries " + Characters(*rec.data) + " in " +
           std::to_string(static_cast<int>(shown.box.height) / 2) + " rows of " +
           std::to_string(static_cast<int>(shown.box.width)) + " modules";
  return "Carries " + BarCodePrintableText(shown.carried);
}

// Everything the line tells at once, as markup.
std::string Told(Gtk::Window& window, const WinPicture& shown) {
  const BarCodeDataRec& rec = shown.rec;
  std::vector<std::string> parts;
  parts.push_back(shown.image ? Carries(shown) : Capitalized(shown.refusal));
  parts.push_back(WinCleaningText(BarCodeNoticeName(rec), FieldText(window, kViewData), *rec.data));
  if (BarCodeTextAddon(static_cast<int16_t>(rec.symbology)) == 1)
    parts.push_back(WinCleaningText({}, FieldText(window, kViewAddon), *rec.addon));
  for (const std::string& notice : shown.notices)
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
  // Setting a tooltip asks the display where the pointer is: only a new line sets them.
  if (std::string(line->get_label()) == markup) return;
  line->set_markup(markup);
  line->set_tooltip_text(line->get_text());
}

// Asks the thread to read the symbol back; the reading is shown if the window still shows it.
void Read(Gtk::Window& window, uint64_t generation, std::shared_ptr<const WinPicture> shown) {
  WinData* data = WinDataGet(window);
  if (!data || data->status.generation != generation) return;
  WinWorkerPost(&data->status, WinWork::Reading,
                [link = data->link, generation, shown = std::move(shown)] {
                  std::string markup = ReadingMarkup(shown->rec, BarCodeVerify(shown->rec));
                  WinWorkerDeliver([link, generation, markup = std::move(markup)] {
                    WinData* data = link->window ? WinDataGet(*link->window) : nullptr;
                    if (!data || data->status.generation != generation) return;
                    data->status.scan = markup;
                    Show(*link->window, data->status);
                  });
                });
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
  WinStatus& status = data->status;
  const std::shared_ptr<const WinPicture> shown = data->preview->shown;
  if (status.requestKey != shown->requestKey) {
    status.requestKey = shown->requestKey;
    const uint64_t generation = ++status.generation;
    status.told = Told(window, *shown);
    status.scan = shown->image ? kPending : "";
    // Read only once typing pauses, and only what the window still shows then.
    if (shown->image)
      Glib::signal_timeout().connect_once(
          sigc::track_object([&window, generation, shown] { Read(window, generation, shown); },
                             window),
          kStatusVerifyDelayMs);
  }
  Show(window, status);
}

std::string WinStatusText(Gtk::Window& window) {
  auto* line = ViewFindAs<Gtk::Label>(window, kViewStatus);
  return line ? std::string(line->get_text()) : std::string();
}
