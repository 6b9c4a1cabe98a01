#include "app/WinData.h"

#include "app/Application.h"

#include <gtkmm.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <utility>

namespace {

constexpr const char* kWinDataKey = "vx-window-data";
constexpr const char* kViewsKey = "vx-views";

// A reference to an object, dropped with the holder.
class GObjectHold {
public:
  explicit GObjectHold(GObject* object) : object_(G_OBJECT(g_object_ref(object))) {}
  GObjectHold(GObjectHold&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  GObjectHold(const GObjectHold&) = delete;
  GObjectHold& operator=(const GObjectHold&) = delete;
  GObjectHold& operator=(GObjectHold&&) = delete;
  ~GObjectHold() {
    if (object_) g_object_unref(object_);
  }
  GObject* get() const { return object_; }

private:
  GObject* object_;
};

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
  // Every change of a control reads the others: the widgets found are kept on the root, held so
  // that none is used after its time, and a kept widget counts only while it is still in the root.
  using Found = std::map<int, GObjectHold>;
  auto* kept = static_cast<Found*>(g_object_get_data(G_OBJECT(root.gobj()), kViewsKey));
  if (!kept) {
    kept = new Found;
    g_object_set_data_full(G_OBJECT(root.gobj()), kViewsKey, kept,
                           [](gpointer p) { delete static_cast<Found*>(p); });
  }
  if (auto at = kept->find(identifier); at != kept->end()) {
    auto* widget = GTK_WIDGET(at->second.get());
    if (widget == root.gobj() || gtk_widget_is_ancestor(widget, root.gobj()))
      return Glib::wrap(widget);
    kept->erase(at);
  }
  std::string suffix = "-";
  suffix += std::to_string(identifier);
  GtkWidget* found = FindWidget(root.gobj(), [&](const char* id) {
    const size_t length = std::strlen(id);
    return length > suffix.size() && suffix == id + length - suffix.size();
  });
  if (!found) return nullptr;
  kept->emplace(identifier, GObjectHold(G_OBJECT(found)));
  return Glib::wrap(found);
}

Gtk::Widget* ViewFindByName(Gtk::Widget& root, const std::string& id) {
  GtkWidget* found =
      FindWidget(root.gobj(), [&](const char* candidate) { return id == candidate; });
  return found ? Glib::wrap(found) : nullptr;
}
