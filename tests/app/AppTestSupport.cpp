#include "app/AppTestSupport.h"

#include "app/Application.h"
#include "app/WinBuild.h"
#include "app/WinControls.h"
#include "app/WinData.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

std::string AppTestConfigDir() {
  const char* dir = std::getenv("XDG_CONFIG_HOME");
  return dir ? dir : "";
}

void Pump() {
  while (g_main_context_iteration(nullptr, false)) {
  }
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (!g_main_context_iteration(nullptr, false))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

Gtk::Window& NewShownWindow() {
  Gtk::Window* window = WinBuildNew();
  Gtk::Widget* preview = ViewFindByID(*window, kViewPreview);
  PumpUntil([&] { return preview->get_mapped() && preview->get_width() > 0; });
  Pump();
  return *window;
}

void CloseAllWindows() {
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  if (!app) return;
  for (Gtk::Window* window : app->get_windows())
    if (window->get_visible()) window->close();
  Pump();
  PumpUntil([&] { return app->get_windows().empty(); }, 2000);
}

void TypeInto(Gtk::Window& window, int identifier, const std::string& text) {
  if (auto* field = ViewFindAs<Gtk::Editable>(window, identifier)) field->set_text(text);
}

void ChooseSymbology(Gtk::Window& window, int symbology) {
  if (auto* popup = ViewFindAs<Gtk::DropDown>(window, kViewSymbology))
    popup->set_selected(static_cast<guint>(symbology - 1));
}

void ClickButton(Gtk::Widget* button) {
  ASSERT_NE(button, nullptr);
  g_signal_emit_by_name(button->gobj(), "clicked");
}

bool ActivateAction(Gtk::Window& window, const std::string& action) {
  return gtk_widget_activate_action_variant(GTK_WIDGET(window.gobj()), action.c_str(), nullptr);
}

Gtk::Widget* FindNamed(Gtk::Widget& root, const std::string& name) {
  if (std::string(root.get_name()) == name) return &root;
  for (Gtk::Widget* child = root.get_first_child(); child; child = child->get_next_sibling())
    if (Gtk::Widget* found = FindNamed(*child, name)) return found;
  return nullptr;
}

Gtk::MessageDialog* FindAlert() {
  for (Gtk::Window* window : Gtk::Window::list_toplevels())
    // The program's alerts belong to the application; GTK's own (a file dialog's) do not.
    if (auto* alert = dynamic_cast<Gtk::MessageDialog*>(window);
        alert && alert->get_visible() && alert->get_application())
      return alert;
  return nullptr;
}

namespace {

void CollectButtonLabels(Gtk::Widget& root, std::vector<std::string>& labels) {
  if (auto* button = dynamic_cast<Gtk::Button*>(&root)) {
    labels.push_back(button->get_label());
    return;
  }
  for (Gtk::Widget* child = root.get_first_child(); child; child = child->get_next_sibling())
    CollectButtonLabels(*child, labels);
}

} // namespace

std::vector<std::string> AlertButtons(Gtk::MessageDialog& alert) {
  std::vector<std::string> labels;
  CollectButtonLabels(*alert.get_content_area()->get_parent(), labels);
  return labels;
}

std::string SnapshotPreview(Gtk::Window& window) {
  Gtk::Widget* preview = ViewFindByID(window, kViewPreview);
  if (!preview) return {};
  const int width = preview->get_width(), height = preview->get_height();
  // The paintable shows what the area drew in its last frame: ask for a frame and wait for it.
  GdkPaintable* paintable = gtk_widget_paintable_new(preview->gobj());
  bool drawn = false;
  g_signal_connect(
      paintable, "invalidate-contents",
      G_CALLBACK(+[](GdkPaintable*, gpointer flag) { *static_cast<bool*>(flag) = true; }), &drawn);
  preview->queue_draw();
  PumpUntil([&] { return drawn; }, 3000);
  g_signal_handlers_disconnect_by_data(paintable, &drawn);
  GtkSnapshot* snapshot = gtk_snapshot_new();
  gdk_paintable_snapshot(paintable, GDK_SNAPSHOT(snapshot), width, height);
  GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
  std::string path;
  if (node) {
    GskRenderer* renderer = gtk_native_get_renderer(GTK_NATIVE(window.gobj()));
    const graphene_rect_t bounds =
        GRAPHENE_RECT_INIT(0, 0, static_cast<float>(width), static_cast<float>(height));
    GdkTexture* texture = gsk_renderer_render_texture(renderer, node, &bounds);
    path = TestTempDir() + "/preview.png";
    if (!texture || !gdk_texture_save_to_png(texture, path.c_str())) path.clear();
    if (texture) g_object_unref(texture);
    gsk_render_node_unref(node);
  }
  g_object_unref(paintable);
  return path;
}

int CountRedPixels(const std::string& png) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
  int count = 0;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t p;
        std::memcpy(&p, data + static_cast<size_t>(y) * stride + 4 * x, 4);
        const int a = (p >> 24) & 0xFF, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (a > 128 && r > 160 && g < 90 && b < 90) ++count;
      }
  }
  cairo_surface_destroy(surface);
  return count;
}

char GtinCheck(const std::string& digits) {
  int sum = 0;
  for (size_t i = 0; i < digits.size(); ++i)
    sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

RunResult RunWhilePumping(const std::vector<std::string>& argv) {
  RunResult result;
  std::atomic<bool> done = false;
  std::thread runner([&] {
    result = RunProgram(argv);
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 30000);
  runner.join();
  return result;
}

std::ostream& operator<<(std::ostream& out, const Request& r) {
  return out << r.symbology << " [" << r.data << "] [" << r.addon << "]";
}

Request Shown(Gtk::Window& window) {
  auto text = [&](int identifier) {
    return std::string(ViewFindAs<Gtk::Editable>(window, identifier)->get_text());
  };
  return {GetWindowSymbology(window), text(kViewData), text(kViewAddon)};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
