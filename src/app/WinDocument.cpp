#include "app/WinDocument.h"

#include "app/Application.h"
#include "app/WinControls.h"
#include "app/WinData.h"
#include "model/BarCodeDataRec.h"
#include "model/BarCodeTexts.h"
#include "output/save/FileSave.h"
#include "services/Services.h"

#include <gtkmm.h>

#include <algorithm>

namespace {

enum : int { kResponseDiscard = 1, kResponseCancel = 2, kResponseSave = 3 };

// What a document of the window would hold now: the macro text of its request.
std::string CurrentRequest(Gtk::Window& window, bool* empty = nullptr) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  GetWindowData(window, &rec, nullptr, nullptr);
  std::string macro;
  BarCodeMacroText(macro, rec);
  if (empty) *empty = rec.data->empty() && rec.addon->empty();
  BarCodeDataRecRelease(&rec);
  return macro;
}

bool IsOpenDocumentWindow(Gtk::Window* window) {
  return std::ranges::count(WindowListDocuments(), window) > 0;
}

std::string DocumentName(Gtk::Window& window) {
  const std::string path = WinDocumentPath(window);
  return path.empty() ? std::string(window.get_title())
                      : std::string(Glib::filename_display_basename(path));
}

void Answer(Gtk::Window* window, int response, const std::function<void()>& closed) {
  if (!IsOpenDocumentWindow(window)) return; // closed some other way meanwhile
  WinDataGet(*window)->asking = false;
  auto close = [window, closed] {
    WinDispose(*window);
    if (closed) closed();
  };
  if (response == kResponseDiscard) close();
  if (response == kResponseSave) FileSaveThen(*window, close);
}

} // namespace

void WinDocumentSet(Gtk::Window& window, const std::string& path) {
  WinData* data = WinDataGet(window);
  if (!data) return;
  data->documentPath = path;
  data->savedRequest = CurrentRequest(window);
  WinDocumentUpdateTitle(window);
}

std::string WinDocumentPath(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  return data ? data->documentPath : std::string();
}

bool WinDocumentModified(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  bool empty = false;
  if (!data || CurrentRequest(window, &empty) == data->savedRequest) return false;
  return !data->documentPath.empty() || !empty;
}

void WinDocumentUpdateTitle(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  if (!data || data->number <= 0) return;
  std::string title = data->untitledTitle;
  if (!data->documentPath.empty()) {
    title = DocumentName(window);
    if (WinDocumentModified(window)) title = std::string(1, '*').append(title);
  }
  if (std::string(window.get_title()) != title) window.set_title(title);
}

void WinCloseAsking(Gtk::Window& window, std::function<void()> closed) {
  WinData* data = WinDataGet(window);
  if (!data || data->number <= 0 || data->asking) return;
  if (!WinDocumentModified(window)) {
    WinDispose(window);
    if (closed) closed();
    return;
  }
  data->asking = true;
  window.present();
  auto* question = new Gtk::MessageDialog(
      window, "Save the changes to \u201C" + DocumentName(window) + "\u201D before closing?", false,
      Gtk::MessageType::WARNING, Gtk::ButtonsType::NONE, true);
  question->set_secondary_text("Changes that are not saved are lost.");
  question->add_button(kSaveChangesDiscard, kResponseDiscard);
  question->add_button(kSaveChangesCancel, kResponseCancel);
  question->add_button(kSaveChangesSave, kResponseSave);
  question->set_default_response(kResponseSave);
  if (Glib::RefPtr<Gtk::Application> app = ApplGet()) question->set_application(app);
  // The answer may come after the window was closed another way: it is looked up, not trusted.
  question->signal_response().connect([question, window = &window, closed](int response) {
    question->set_visible(false);
    Glib::signal_idle().connect_once([question] { delete question; });
    Answer(window, response, closed);
  });
  question->present();
}

void WinDispose(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  if (!data || data->number <= 0) return;
  // Preference changes pending are written when a document window closes.
  CFPrefsAppSynchronize();
  // Deleting a window from inside its own close request would pull it from under GTK's feet:
  // take it off the application's list now and delete it once the event is over.
  data->number = 0;
  window.set_visible(false);
  Glib::signal_idle().connect_once([&window] { delete &window; });
}

void ApplQuitAsking() {
  for (Gtk::Window* window : WindowListDocuments())
    if (!WinDocumentModified(*window)) WinDispose(*window);
  const std::vector<Gtk::Window*> left = WindowListDocuments();
  if (left.empty())
    DoQuit();
  else
    WinCloseAsking(*left.front(), [] { ApplQuitAsking(); });
}
