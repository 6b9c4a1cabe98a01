#include "app/WinData.h"

#include "app/Application.h"

#include <gtkmm.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

constexpr const char* kWinDataKey = "vx-window-data";

// Depth-first over the widget tree; the first widget whose interface id passes the test.
GtkWidget* FindWidget(GtkWidget* root, const std::function<bool(const char*)>& matches) {
  const char* id = gtk_buildable_get_buildable_id(GTK_BUILDABLE(root));
  if (id && matches(id)) return root;
  for (GtkWidget* child = gtk_widget_get_first_child(root); child;
       child = gtk_widget_get_next_sibling(child))
    if (GtkWidget* found = FindWidget(child, matches)) return found;
  return nullptr;
}

} // namespace

WinData* WinDataGet(Gtk::Window& window) {
  return static_cast<WinData*>(g_object_get_data(G_OBJECT(window.gobj()), kWinDataKey));
}

WinData& WinDataAttach(Gtk::Window& window) {
  auto* data = new WinData;
  data->link->window = &window;
  g_object_set_data_full(G_OBJECT(window.gobj()), kWinDataKey, data,
                         [](gpointer p) { delete static_cast<WinData*>(p); });
  return *data;
}

void SetWindowProperty(Gtk::Window& window, uint32_t tag, std::string value) {
  if (WinData* data = WinDataGet(window)) data->properties[tag] = std::move(value);
}

std::optional<std::string> GetWindowProperty(Gtk::Window& window, uint32_t tag) {
  WinData* data = WinDataGet(window);
  if (!data) return std::nullopt;
  auto found = data->properties.find(tag);
  if (found == data->properties.end()) return std::nullopt;
  return found->second;
}

void RemoveWindowProperty(Gtk::Window& window, uint32_t tag) {
  if (WinData* data = WinDataGet(window)) data->properties.erase(tag);
}

std::vector<Gtk::Window*> WindowListDocuments() {
  std::vector<Gtk::Window*> windows;
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  if (!app) return windows;
  for (Gtk::Window* window : app->get_windows()) {
    WinData* data = WinDataGet(*window);
    if (data && data->number > 0) windows.push_back(window);
  }
  return windows;
}

Gtk::Window* WindowFindByID(int32_t number) {
  for (Gtk::Window* window : WindowListDocuments())
    if (number == 0 ? window->is_active() : WinDataGet(*window)->number == number) return window;
  // With no window holding the focus, the front one (the application's most recent) stands in.
  if (number == 0 && !WindowListDocuments().empty()) return WindowListDocuments().front();
  return nullptr;
}

int32_t WindowNextNumber() {
  std::vector<int32_t> taken;
  for (Gtk::Window* window : WindowListDocuments())
    taken.push_back(WinDataGet(*window)->number);
  int32_t n = 1;
  while (std::find(taken.begin(), taken.end(), n) != taken.end())
    ++n;
  return n;
}

std::string WindowTitleForNumber(const std::string& title, int32_t number) {
  return number >= 2 ? title + " " + std::to_string(number) : title;
}

int WindowAppendIDToTitle(Gtk::Window& window) {
  if (WinData* data = WinDataGet(window))
    window.set_title(WindowTitleForNumber(window.get_title(), data->number));
  return 0;
}

Gtk::Widget* ViewFindByID(Gtk::Widget& root, int identifier) {
  std::string suffix = "-";
  suffix += std::to_string(identifier);
  GtkWidget* found = FindWidget(root.gobj(), [&](const char* id) {
    const size_t length = std::strlen(id);
    return length > suffix.size() && suffix == id + length - suffix.size();
  });
  return found ? Glib::wrap(found) : nullptr;
}

Gtk::Widget* ViewFindByName(Gtk::Widget& root, const std::string& id) {
  GtkWidget* found =
      FindWidget(root.gobj(), [&](const char* candidate) { return id == candidate; });
  return found ? Glib::wrap(found) : nullptr;
}
