#include "app/WinControls.h"

#include "app/Application.h"
#include "app/WinActions.h"
#include "app/WinData.h"
#include "app/WinDocument.h"
#include "app/WinPreview.h"
#include "app/WinStatus.h"
#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "render/BarCodeRender.h"

#include <gtkmm.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Slider values arrive as doubles; the record holds whole percents and trim levels.
int32_t SliderValue(Gtk::Window& window, int identifier) {
  auto* slider = ViewFindAs<Gtk::Range>(window, identifier);
  if (!slider) return 0;
  const double value = std::fabs(std::round(slider->get_value()));
  return static_cast<int32_t>(std::min(value, 1e6));
}

void SetSlider(Gtk::Window& window, int identifier, int32_t value) {
  if (auto* slider = ViewFindAs<Gtk::Range>(window, identifier)) slider->set_value(value);
}

std::string EntryText(Gtk::Window& window, int identifier) {
  auto* entry = ViewFindAs<Gtk::Editable>(window, identifier);
  return entry ? std::string(entry->get_text()) : std::string();
}

void SetEntryText(Gtk::Window& window, int identifier, const std::string& text) {
  if (auto* entry = ViewFindAs<Gtk::Editable>(window, identifier)) entry->set_text(text);
}

int16_t CheckValue(Gtk::Window& window, int identifier) {
  auto* check = ViewFindAs<Gtk::CheckButton>(window, identifier);
  return check && check->get_active() ? 1 : 0;
}

void SetCheck(Gtk::Window& window, int identifier, int16_t value) {
  if (auto* check = ViewFindAs<Gtk::CheckButton>(window, identifier))
    check->set_active(std::clamp<int16_t>(value, 0, 1) == 1);
}

int32_t Magnitude(int32_t value) {
  return value == INT32_MIN ? INT32_MAX : std::abs(value);
}

bool ValidSymbology(int32_t code) {
  return code >= 1 && code <= kBarCodeCount;
}

} // namespace

int GetWindowData(Gtk::Window& window, BarCodeDataRec* rec, float* width, float* height) {
  rec->symbology = GetWindowSymbology(window);
  *rec->data = EntryText(window, kViewData);
  *rec->addon = EntryText(window, kViewAddon);
  rec->scale = std::clamp(SliderValue(window, kViewScale), 25, 400);
  rec->trim = std::min(SliderValue(window, kViewTrim), 100);
  *rec->display = EntryText(window, kViewDisplay);
  rec->antialiasOff = CheckValue(window, kViewAntialiasOff);
  rec->fontSmoothOff = CheckValue(window, kViewFontSmoothOff);
  Gtk::Widget* preview = ViewFindByID(window, kViewPreview);
  if (width) *width = preview ? static_cast<float>(preview->get_width()) : 0;
  if (height) *height = preview ? static_cast<float>(preview->get_height()) : 0;
  BarCodeCleanData(rec);
  return 0;
}

int SetWindowData(Gtk::Window& window, const BarCodeDataRec& rec) {
  if (auto* popup = ViewFindAs<Gtk::DropDown>(window, kViewSymbology);
      popup && ValidSymbology(rec.symbology))
    popup->set_selected(static_cast<guint>(rec.symbology - 1));
  SetEntryText(window, kViewData, rec.data ? *rec.data : std::string());
  if (BarCodeTextAddon(static_cast<int16_t>(rec.symbology)) == 1)
    SetEntryText(window, kViewAddon, rec.addon ? *rec.addon : std::string());
  SetWindowFields(window, rec.symbology);
  SetSlider(window, kViewScale, std::clamp(Magnitude(rec.scale), 50, 150));
  SetSlider(window, kViewTrim, std::min(Magnitude(rec.trim), 100));
  SetEntryText(window, kViewDisplay, rec.display ? *rec.display : std::string());
  SetCheck(window, kViewAntialiasOff, rec.antialiasOff);
  SetCheck(window, kViewFontSmoothOff, rec.fontSmoothOff);
  SetWindowImageUpdate(window);
  return 0;
}

int SetWindowFields(Gtk::Window& window, int32_t symbology) {
  if (Gtk::Widget* addon = ViewFindByID(window, kViewAddon))
    addon->set_sensitive(BarCodeTextAddon(static_cast<int16_t>(symbology)) == 1);
  return 0;
}

int ProcessMenuControl(Gtk::Window& window, int identifier, int value) {
  if (identifier == kViewSymbology && ValidSymbology(value)) {
    if (auto* popup = ViewFindAs<Gtk::DropDown>(window, kViewSymbology))
      popup->set_selected(static_cast<guint>(value - 1));
    SetWindowFields(window, value);
  }
  SetWindowImageUpdate(window);
  return 0;
}

int ProcessDrawerToggle(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  if (data && data->drawer) data->drawer->set_reveal_child(!data->drawer->get_reveal_child());
  return 0;
}

int SetWindowImageUpdate(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  if (!data) return 0;
  // Several controls change at once when a request is set: the window takes them in together,
  // before GTK draws the next frame.
  if (!data->refreshPending) {
    data->refreshPending = true;
    Glib::signal_idle().connect_once(sigc::track_object([&window] { WinRefresh(window); }, window),
                                     Glib::PRIORITY_HIGH_IDLE);
  }
  if (Gtk::Widget* preview = ViewFindByID(window, kViewPreview)) preview->queue_draw();
  return 0;
}

void WinRefresh(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  if (!data) return;
  data->refreshPending = false;
  PreviewUpdate(window);
  WinStatusUpdate(window);
  WinActionsShowSymbology(window, GetWindowSymbology(window));
  WinActionsSetEnabled(window, ApplMenusEnabled());
  WinDocumentUpdateTitle(window);
}

int UpdateWindowImage(cairo_t* cg, Gtk::Widget& view) {
  PreviewDraw(cg, view);
  return 0;
}

int WinInstallControlHandlers(Gtk::Window& window) {
  auto redraw = [&window] { SetWindowImageUpdate(window); };
  for (int identifier : {kViewData, kViewAddon, kViewDisplay})
    if (auto* entry = ViewFindAs<Gtk::Editable>(window, identifier))
      entry->signal_changed().connect(redraw);
  for (int identifier : {kViewScale, kViewTrim})
    if (auto* slider = ViewFindAs<Gtk::Range>(window, identifier))
      slider->signal_value_changed().connect(redraw);
  for (int identifier : {kViewAntialiasOff, kViewFontSmoothOff})
    if (auto* check = ViewFindAs<Gtk::CheckButton>(window, identifier))
      check->signal_toggled().connect(redraw);
  if (auto* popup = ViewFindAs<Gtk::DropDown>(window, kViewSymbology))
    popup->property_selected().signal_changed().connect([&window, popup] {
      ProcessMenuControl(window, kViewSymbology, static_cast<int>(popup->get_selected()) + 1);
    });
  PreviewInstall(window);
  return 0;
}

int32_t GetWindowSymbology(Gtk::Window& window) {
  auto* popup = ViewFindAs<Gtk::DropDown>(window, kViewSymbology);
  const guint selected = popup ? popup->get_selected() : GTK_INVALID_LIST_POSITION;
  return selected == GTK_INVALID_LIST_POSITION ? 0 : static_cast<int32_t>(selected) + 1;
}
