// The preview's redraw after a keystroke in a document window: the data field set as typing sets
// it, the main loop run until the window has its new picture (made on the picture thread), and
// the preview drawn into a surface of the area's size, as the window's draw function draws it.
// Real time is the whole path; CPU time is the whole process's, every thread's, for it: on a
// machine busy with other work the real time grows while the CPU time holds.
// Needs a display and a session bus: run it under xvfb-run and dbus-run-session.
#include "app/Application.h"
#include "app/WinBuild.h"
#include "app/WinControls.h"
#include "app/WinData.h"
#include "app/WinPreview.h"
#include "model/BarCodeDataRec.h"

#include <benchmark/benchmark.h>
#include <gtkmm.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

Gtk::Window* TheWindow() {
  static Gtk::Window* window = [] {
    Glib::RefPtr<Gtk::Application> app = ApplCreate(false);
    app->register_application();
    app->hold();
    return WinBuildNew();
  }();
  return window;
}

// Runs the main loop until the window took in its controls and its picture is back; false when
// it did not come within 20 seconds.
bool Settle(Gtk::Window& window) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (WinDataGet(window)->refreshPending || PreviewPending(window))
    if (std::chrono::steady_clock::now() > end)
      return false;
    else
      g_main_context_iteration(nullptr, true);
  return true;
}

void Type(Gtk::Window& window, int symbology, const std::string& data) {
  ViewFindAs<Gtk::DropDown>(window, kViewSymbology)->set_selected(symbology - 1);
  ViewFindAs<Gtk::Editable>(window, kViewData)->set_text(data);
}

void PreviewAfterKeystroke(benchmark::State& state, int symbology, const std::string& data) {
  Gtk::Window* window = TheWindow();
  if (!window) {
    state.SkipWithError("no window");
    return;
  }
  auto* view = ViewFindByID(*window, kViewPreview);
  Type(*window, symbology, data);
  // The window on screen at its size, its preview laid out and fitted.
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while ((!view->get_mapped() || view->get_width() == 0) && std::chrono::steady_clock::now() < end)
    g_main_context_iteration(nullptr, false);
  if (!Settle(*window)) {
    state.SkipWithError("no picture");
    return;
  }
  cairo_surface_t* area =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, view->get_width() * view->get_scale_factor(),
                                 view->get_height() * view->get_scale_factor());
  cairo_t* cg = cairo_create(area);
  cairo_scale(cg, view->get_scale_factor(), view->get_scale_factor());
  // Each keystroke types over the data's last character with its neighbour (a digit for a digit,
  // a letter for a letter), keeping the data's length and its symbol's size.
  std::string typed = data;
  const char last = data.back(), other = last == '9' || last == 'Z' ? last - 1 : last + 1;
  auto* field = ViewFindAs<Gtk::Editable>(*window, kViewData);
  for (auto _ : state) {
    typed.back() = typed.back() == last ? other : last;
    field->set_text(typed);
    if (!Settle(*window)) {
      state.SkipWithError("no picture");
      break;
    }
    UpdateWindowImage(cg, *view);
    cairo_surface_flush(area);
  }
  state.counters["pixels_per_unit"] = WinDataGet(*window)->preview->shown->pixelsPerUnit;
  state.counters["area_width"] = view->get_width();
  cairo_destroy(cg);
  cairo_surface_destroy(area);
}

std::string Repeated(const std::string& unit, size_t length) {
  std::string text;
  while (text.size() < length)
    text += unit;
  text.resize(length);
  return text;
}

// The largest symbols the window is asked for: PDF417's 1 850 capitals and spaces and QR Code's
// 7 089 digits.
void BM_PreviewPDF417(benchmark::State& state) {
  PreviewAfterKeystroke(state, kBarCodePDF417, Repeated("VELTRIX BARCODE PREVIEW ", 1850));
}
void BM_PreviewQRCode(benchmark::State& state) {
  PreviewAfterKeystroke(state, kBarCodeQRCode, Repeated("3141592653589793238462643383279", 7089));
}

BENCHMARK(BM_PreviewPDF417)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewQRCode)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  // Never the user's own preferences.
  std::string dir = "/tmp/vxbench-preview-XXXXXX";
  if (!mkdtemp(dir.data())) return 1;
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
