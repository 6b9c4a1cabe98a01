#include "app/Harness.h"

#include "app/WinBuild.h"
#include "app/WinDocument.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <thread>

static void Sleep(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// A string GLib made for us, freed.
static std::string Text(gchar* text) {
  const std::string copy = text ? text : "";
  g_free(text);
  return copy;
}

static std::string WithoutMnemonics(std::string label) {
  std::erase(label, '_');
  return label;
}

std::vector<Cells> ReadCells(const std::string& name) {
  std::vector<Cells> rows;
  for (TableLine& line : ReadTableLines(name)) {
    for (std::string& cell : line.cells)
      cell = Unescape(cell);
    rows.push_back(std::move(line.cells));
  }
  return rows;
}

void Pump() {
  // Pictures are made off the main loop: a window's preview is current once its picture is back.
  const auto pending = [] {
    return std::ranges::any_of(WindowListDocuments(),
                               [](Gtk::Window* window) { return PreviewPending(*window); });
  };
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (;;) {
    while (g_main_context_iteration(nullptr, false)) {
    }
    if (!pending() || std::chrono::steady_clock::now() > end) return;
    Sleep(2);
  }
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (!g_main_context_iteration(nullptr, false)) Sleep(5);
  }
  return true;
}

Gtk::Window& NewWindow(const std::string& symbology, const std::string& data,
                       const std::string& addon) {
  Gtk::Window* window = WinBuildNew();
  Gtk::Widget* preview = ViewFindByID(*window, kViewPreview);
  PumpUntil([&] { return preview->get_mapped() && preview->get_width() > 0; });
  if (!symbology.empty()) SetControl(*window, kViewSymbology, symbology);
  SetControl(*window, kViewData, data);
  SetControl(*window, kViewAddon, addon);
  Pump();
  return *window;
}

Gtk::Window* Newest() {
  const std::vector<Gtk::Window*> windows = WindowListDocuments(); // most recent first
  return windows.empty() ? nullptr : windows.front();
}

void CloseAllWindows() {
  for (GtkWindow* window : ShownWindows())
    if (GTK_IS_DIALOG(window) && !gtk_window_get_application(window))
      gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_CANCEL);
  Pump();
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  for (Gtk::Window* window : app->get_windows())
    if (WinDataGet(*window))
      WinDispose(*window); // without asking about unsaved changes
    else
      window->close();
  PumpUntil([&] { return app->get_windows().empty(); }, 2000);
}

void SetControl(Gtk::Window& window, int identifier, const std::string& value) {
  Gtk::Widget* view = ViewFindByID(window, identifier);
  if (auto* field = dynamic_cast<Gtk::Editable*>(view)) {
    field->set_text(value);
  } else if (auto* slider = dynamic_cast<Gtk::Range*>(view)) {
    const double number = std::stod(value);
    Glib::RefPtr<Gtk::Adjustment> range = slider->get_adjustment();
    slider->set_range(std::min(range->get_lower(), number), std::max(range->get_upper(), number));
    slider->set_value(number);
  } else if (auto* check = dynamic_cast<Gtk::CheckButton*>(view)) {
    check->set_active(value == "1");
  } else if (auto* popup = dynamic_cast<Gtk::DropDown*>(view)) {
    auto labels = std::dynamic_pointer_cast<Gtk::StringList>(popup->get_model());
    for (guint i = 0; labels && i < labels->get_n_items(); ++i)
      if (std::string(labels->get_string(i)) == value) popup->set_selected(i);
  }
}

std::string ControlValue(Gtk::Window& window, int identifier) {
  Gtk::Widget* view = ViewFindByID(window, identifier);
  if (auto* field = dynamic_cast<Gtk::Editable*>(view)) return field->get_text();
  if (auto* check = dynamic_cast<Gtk::CheckButton*>(view)) return check->get_active() ? "1" : "0";
  char number[32];
  if (auto* slider = dynamic_cast<Gtk::Range*>(view))
    return std::string(number, std::snprintf(number, sizeof number, "%g", slider->get_value()));
  auto* popup = dynamic_cast<Gtk::DropDown*>(view);
  auto item =
      popup ? std::dynamic_pointer_cast<Gtk::StringObject>(popup->get_selected_item()) : nullptr;
  return item ? std::string(item->get_string()) : "(none)";
}

Cells Shown(Gtk::Window& window) {
  return {ControlValue(window, kViewSymbology), ControlValue(window, kViewData),
          ControlValue(window, kViewAddon)};
}

Cells RequestOf(const BarCodeDataRec& rec) {
  std::string name;
  BarCodeSymName(name, static_cast<int16_t>(rec.symbology));
  return {name, *rec.data, *rec.addon};
}

Cells Opened(const std::string& path) {
  Gtk::Window* window = ProcessFileOpen(path, false);
  const Cells request = window ? Shown(*window) : Cells{"-"};
  if (window) window->close();
  return request;
}

static std::string MenuText(const Glib::RefPtr<Gio::MenuModel>& menu, int item,
                            Gio::MenuModel::Attribute attribute) {
  Glib::VariantBase value = menu->get_item_attribute(item, attribute, Glib::VARIANT_TYPE_STRING);
  return value ? Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(value).get() : "";
}

// The action of the item at that path of labels, looking through sections.
static std::string MenuAction(const Glib::RefPtr<Gio::MenuModel>& menu, const std::string& path) {
  const size_t slash = path.find('/');
  for (int i = 0; menu && i < menu->get_n_items(); ++i) {
    if (auto section = menu->get_item_link(i, Gio::MenuModel::Link::SECTION))
      if (std::string found = MenuAction(section, path); !found.empty()) return found;
    const std::string label = MenuText(menu, i, Gio::MenuModel::Attribute::LABEL);
    if (WithoutMnemonics(label) != path.substr(0, slash)) continue;
    if (slash == std::string::npos) return MenuText(menu, i, Gio::MenuModel::Attribute::ACTION);
    return MenuAction(menu->get_item_link(i, Gio::MenuModel::Link::SUBMENU),
                      path.substr(slash + 1));
  }
  return {};
}

static std::string ActionOf(const std::string& command) {
  return command.starts_with("menu:") ? MenuAction(ApplGet()->get_menubar(), command.substr(5))
                                      : command;
}

bool RunCommand(Gtk::Window& window, const std::string& command) {
  if (command.starts_with("toolbar:")) {
    auto* item = dynamic_cast<Gtk::Button*>(FindNamed(window, command.substr(8)));
    if (item) g_signal_emit_by_name(item->gobj(), "clicked");
    return item;
  }
  const std::string action = ActionOf(command);
  return !action.empty() &&
         gtk_widget_activate_action_variant(GTK_WIDGET(window.gobj()), action.c_str(), nullptr);
}

bool ActionState(Gtk::Window& window, const std::string& command) {
  const std::string action = ActionOf(command);
  Glib::VariantBase state =
      dynamic_cast<Gtk::ApplicationWindow&>(window).get_action_state_variant(action.substr(4));
  return state && state.is_of_type(Glib::VARIANT_TYPE_BOOL) &&
         Glib::VariantBase::cast_dynamic<Glib::Variant<bool>>(state).get();
}

bool CommandEnabled(Gtk::Window& window, const std::string& command) {
  const std::string action = ActionOf(command);
  if (action.starts_with("app.")) return ApplGet()->get_action_enabled(action.substr(4));
  return action.starts_with("win.") &&
         dynamic_cast<Gtk::ApplicationWindow&>(window).get_action_enabled(action.substr(4));
}

Gtk::Widget* FindNamed(Gtk::Widget& root, const std::string& name) {
  if (std::string(root.get_name()) == name) return &root;
  for (Gtk::Widget* child = root.get_first_child(); child; child = child->get_next_sibling())
    if (Gtk::Widget* found = FindNamed(*child, name)) return found;
  return nullptr;
}

std::vector<GtkWindow*> ShownWindows() {
  std::vector<GtkWindow*> shown;
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* item = toplevels; item; item = item->next)
    if (gtk_widget_get_visible(GTK_WIDGET(item->data))) shown.push_back(GTK_WINDOW(item->data));
  g_list_free(toplevels);
  return shown;
}

GtkWindow* WaitForNew(const std::vector<GtkWindow*>& before, int timeoutMs) {
  GtkWindow* found = nullptr;
  PumpUntil(
      [&] {
        for (GtkWindow* window : ShownWindows())
          if (std::find(before.begin(), before.end(), window) == before.end()) found = window;
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

std::string Caption(GtkWindow* window) {
  if (!GTK_IS_MESSAGE_DIALOG(window)) return Text(g_strdup(gtk_window_get_title(window)));
  gchar *text = nullptr, *secondary = nullptr;
  g_object_get(window, "text", &text, "secondary-text", &secondary, nullptr);
  std::string caption = Text(text);
  return secondary ? caption.append("\n").append(Text(secondary)) : caption;
}

static void CollectButtons(GtkWidget* root, std::vector<GtkWidget*>& buttons) {
  if (GTK_IS_BUTTON(root) && gtk_button_get_label(GTK_BUTTON(root))) buttons.push_back(root);
  for (GtkWidget* child = gtk_widget_get_first_child(root); child;
       child = gtk_widget_get_next_sibling(child))
    CollectButtons(child, buttons);
}

std::vector<std::string> ButtonLabels(GtkWindow* window) {
  std::vector<GtkWidget*> buttons;
  CollectButtons(GTK_WIDGET(window), buttons);
  std::vector<std::string> labels;
  for (GtkWidget* button : buttons)
    labels.push_back(WithoutMnemonics(gtk_button_get_label(GTK_BUTTON(button))));
  return labels;
}

bool Press(GtkWindow* window, const std::string& label) {
  std::vector<GtkWidget*> buttons;
  CollectButtons(GTK_WIDGET(window), buttons);
  for (GtkWidget* button : buttons)
    if (WithoutMnemonics(gtk_button_get_label(GTK_BUTTON(button))) == label) {
      g_signal_emit_by_name(button, "clicked");
      Pump();
      return true;
    }
  return false;
}

bool PressKey(GtkWindow* window, guint keyval) {
  GtkShortcutTrigger* key = gtk_keyval_trigger_new(keyval, GdkModifierType(0));
  GListModel* controllers = gtk_widget_observe_controllers(GTK_WIDGET(window));
  bool pressed = false;
  for (guint c = 0; !pressed && c < g_list_model_get_n_items(controllers); ++c) {
    auto* controller = static_cast<GObject*>(g_list_model_get_item(controllers, c));
    for (guint i = 0; !pressed && GTK_IS_SHORTCUT_CONTROLLER(controller) &&
                      i < g_list_model_get_n_items(G_LIST_MODEL(controller));
         ++i) {
      auto* shortcut =
          static_cast<GtkShortcut*>(g_list_model_get_item(G_LIST_MODEL(controller), i));
      if (gtk_shortcut_trigger_equal(gtk_shortcut_get_trigger(shortcut), key))
        pressed = gtk_shortcut_action_activate(gtk_shortcut_get_action(shortcut),
                                               GTK_SHORTCUT_ACTION_EXCLUSIVE, GTK_WIDGET(window),
                                               gtk_shortcut_get_arguments(shortcut));
      g_object_unref(shortcut);
    }
    g_object_unref(controller);
  }
  g_object_unref(controllers);
  g_object_unref(key);
  Pump();
  return pressed;
}

void ChooseRow(GtkWindow* dialog, const std::string& list, const std::string& item) {
  auto* rows = dynamic_cast<Gtk::ListBox*>(FindNamed(*Glib::wrap(GTK_WIDGET(dialog)), list));
  rows->unselect_all();
  if (auto* row = dynamic_cast<Gtk::ListBoxRow*>(FindNamed(*rows, item))) rows->select_row(*row);
}

std::string ProposedName(GtkWindow* dialog) {
  return Text(gtk_file_chooser_get_current_name(GTK_FILE_CHOOSER(dialog)));
}

bool ChooseFile(GtkWindow* dialog, const std::string& path) {
  auto* chooser = GTK_FILE_CHOOSER(dialog);
  // The dialog goes to a first folder of its own once on the screen: choose after that.
  PumpUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(dialog)); });
  Sleep(300);
  Pump();
  GFile* file = g_file_new_for_path(path.c_str());
  if (gtk_file_chooser_get_action(chooser) == GTK_FILE_CHOOSER_ACTION_SAVE) {
    GFile* folder = g_file_get_parent(file);
    gtk_file_chooser_set_current_folder(chooser, folder, nullptr);
    gtk_file_chooser_set_current_name(chooser, Text(g_file_get_basename(file)).c_str());
    g_object_unref(folder);
  } else {
    gtk_file_chooser_set_file(chooser, file, nullptr); // its folder, the file selected
  }
  g_object_unref(file);
  const bool chosen = PumpUntil(
      [&] {
        GFile* shown = gtk_file_chooser_get_file(chooser);
        const bool same = shown && Text(g_file_get_path(shown)) == path;
        if (shown) g_object_unref(shown);
        return same;
      },
      15000);
  if (!chosen) return false;
  const std::vector<GtkWindow*> before = ShownWindows();
  g_object_ref(dialog); // its owner lets it go once answered: watch it till then
  gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
  // Over a file that is there the dialog asks first, and the user replaces it.
  PumpUntil([&] { return !gtk_widget_get_visible(GTK_WIDGET(dialog)) || WaitForNew(before, 0); });
  g_object_unref(dialog);
  if (GtkWindow* question = WaitForNew(before, 0)) Press(question, "Replace");
  return true;
}

void PumpFrames(Gtk::Widget& widget, int frames) {
  GdkFrameClock* clock = gtk_widget_get_frame_clock(widget.gobj());
  if (!clock) return Pump();
  // A frame comes when something asks for one; the changes a frame brings (a new size) are taken
  // in before the next.
  for (int n = 0; n < frames; ++n) {
    const gint64 next = gdk_frame_clock_get_frame_counter(clock) + 1;
    widget.queue_draw();
    PumpUntil([&] { return gdk_frame_clock_get_frame_counter(clock) >= next; });
    Pump();
  }
}

std::string SnapshotPreview(Gtk::Window& window) {
  Gtk::Widget* area = ViewFindByName(window, "main-preview-area");
  GdkPaintable* paintable = gtk_widget_paintable_new(area->gobj());
  GskRenderNode* node = nullptr;
  // A window whose size just changed has nothing to show until it has been laid out again.
  for (int tries = 0; !node && tries < 20; ++tries) {
    PumpFrames(*area, 3); // a layout, the scrolling it brings, and the frame that shows it
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(paintable, snapshot, area->get_width(), area->get_height());
    node = gtk_snapshot_free_to_node(snapshot);
  }
  const int width = area->get_width(), height = area->get_height();
  const graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, float(width), float(height));
  GdkTexture* texture =
      node ? gsk_renderer_render_texture(gtk_native_get_renderer(area->get_native()->gobj()), node,
                                         &bounds)
           : nullptr;
  const std::string path = TestTempDir() + "/preview.png";
  const bool written = texture && gdk_texture_save_to_png(texture, path.c_str());
  if (texture) g_object_unref(texture);
  if (node) gsk_render_node_unref(node);
  g_object_unref(paintable);
  return written ? path : "";
}

std::vector<std::string> ReadPreview(Gtk::Window& window, const std::string& formats) {
  return ZXingRead(RasterizeOnWhite(SnapshotPreview(window), 3), formats);
}

std::string ReadClipboard(const std::string& type, const std::string& path) {
  RunResult r;
  std::atomic<bool> done = false;
  std::thread reader([&] {
    r = RunProgram({"xclip", "-selection", "clipboard", "-o", "-t", type});
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 30000);
  reader.join();
  return r.status == 0 && !r.out.empty() && DataFileWriteBytes(path, r.out) ? path : "";
}

int PagePixels::Ink(double x1, double y1, double x2, double y2) const {
  auto at = [&](double v, int size) { return std::clamp(int(std::floor(v * scale)), -1, size); };
  int count = 0;
  for (int x = std::max(0, at(x1, width)); x <= at(x2, width - 1); ++x)
    for (int y = std::max(0, at(y1, height)); y <= at(y2, height - 1); ++y)
      count += dark[size_t(y) * width + x];
  return count;
}

PagePixels ReadPixels(const std::string& png, double pixelsPerPoint) {
  PagePixels page;
  page.scale = pixelsPerPoint;
  cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    page.width = cairo_image_surface_get_width(surface);
    page.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x) {
        uint32_t pixel;
        std::memcpy(&pixel, cairo_image_surface_get_data(surface) + size_t(y) * stride + 4 * x, 4);
        // Ink of any colour: some channel well below the white the pictures lie on.
        page.dark.push_back(std::min({pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF}) < 160);
      }
  }
  cairo_surface_destroy(surface);
  return page;
}

std::string PdfPagePng(const std::string& pdf, int dpi) {
  const std::string stem = TestTempDir() + "/page";
  return RunProgram({"pdftoppm", "-png", "-singlefile", "-r", std::to_string(dpi), pdf, stem})
                     .status == 0
             ? stem + ".png"
             : "";
}

std::string PdfText(const std::string& pdf) {
  return RunProgram({"pdftotext", "-enc", "UTF-8", pdf, "-"}).out;
}

std::string PdfInfo(const std::string& pdf, const std::string& field) {
  const std::string info = RunProgram({"pdfinfo", pdf}).out;
  std::smatch match;
  return std::regex_search(info, match, std::regex("(^|\n)" + field + ":[ \t]*([^\n]*)"))
             ? match[2].str()
             : "(none)";
}

RunningProgram::RunningProgram(const std::vector<std::string>& args) : config(TestTempDir()) {
  std::vector<std::string> argv = {"env", "XDG_CONFIG_HOME=" + config, "timeout", "120",
                                   VX_APP_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  // The child keeps none of this process's pipes, so programs run meanwhile see their output end.
  using Flags = Glib::SpawnFlags;
  Glib::spawn_async({}, argv,
                    Flags::SEARCH_PATH | Flags::DO_NOT_REAP_CHILD | Flags::STDOUT_TO_DEV_NULL |
                        Flags::STDERR_TO_DEV_NULL,
                    {}, &pid);
  started = pid > 0;
}

RunningProgram::~RunningProgram() {
  if (pid > 0 && kill(pid, SIGTERM) == 0) waitpid(pid, nullptr, 0);
}

int RunningProgram::WaitForExit() {
  int status = 0;
  for (int waited = 0; pid > 0 && waited < 10000; waited += 50, Sleep(50))
    if (waitpid(pid, &status, WNOHANG) == pid) {
      pid = 0;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
  return -1;
}

std::vector<std::string> ScreenTitles() {
  // Titles come as UTF-8 only under a UTF-8 locale.
  std::istringstream tree(RunProgram({"xwininfo", "-root", "-children"}, {"LC_ALL=C.UTF-8"}).out);
  std::vector<std::string> titles;
  static const std::regex window(R"re(^\s*(0x[0-9a-f]+) "(.*)":)re");
  std::smatch match;
  for (std::string line; std::getline(tree, line);)
    if (std::regex_search(line, match, window) &&
        RunProgram({"xwininfo", "-id", match[1]}).out.find("IsViewable") != std::string::npos)
      titles.push_back(match[2]);
  return titles;
}

bool WaitForScreenTitle(const std::string& title) {
  for (int waited = 0; waited < 10000; waited += 100, Sleep(100))
    if (std::ranges::count(ScreenTitles(), title) > 0) return true;
  return false;
}

std::vector<std::string> ReadScreen(const std::string& formats) {
  Sleep(700); // for the newest window's first frames to reach the server
  const std::string shot = TestTempDir() + "/screen.png";
  RunProgram({"import", "-window", "root", shot});
  return ZXingRead(RasterizeOnWhite(shot, 2), formats);
}

// The application registered (its start-up done) for every test of the process, and the windows a
// test leaves open closed after it.
struct AppEnvironment : testing::Environment {
  void SetUp() override { (app = ApplCreate(false))->register_application(); }
  Glib::RefPtr<Gtk::Application> app;
};
struct ClosingWindows : testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo&) override { CloseAllWindows(); }
};

int main(int argc, char** argv) {
  // Never the user's own preferences; a child run for a restart is handed its parent's folder.
  const char* inherited = std::getenv("VX_TEST_CONFIG_HOME");
  std::string dir = inherited ? inherited : "/tmp/vxapptest-XXXXXX";
  if (!inherited && !mkdtemp(dir.data())) return 1;
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new AppEnvironment);
  testing::UnitTest::GetInstance()->listeners().Append(new ClosingWindows);
  return RUN_ALL_TESTS();
}
