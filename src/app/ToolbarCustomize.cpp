// The Customize Toolbar dialog: add, remove and order the allowed items. Every change is saved at
// once and shown in every window.
#include "app/Toolbar.h"
#include "app/WinBuild.h"

#include <gtkmm.h>

namespace {

struct CustomizeDialog {
  int number = kMainToolbar;
  Gtk::Window* window = nullptr;
  Gtk::ListBox* current = nullptr;
  Gtk::ListBox* available = nullptr;
  Gtk::Button* remove = nullptr;
  // Tearing the lists down emits their selection signal once more: the handler goes first.
  sigc::connection selection;
};

Gtk::ListBoxRow* MakeRow(int number, const std::string& identifier) {
  auto* row = Gtk::make_managed<Gtk::ListBoxRow>();
  auto* label = Gtk::make_managed<Gtk::Label>(ToolbarItemDisplayLabel(number, identifier));
  label->set_xalign(0);
  label->set_margin(4);
  row->set_child(*label);
  row->set_name(identifier);
  return row;
}

void Fill(Gtk::ListBox& list, int number, const std::vector<std::string>& identifiers) {
  while (Gtk::Widget* child = list.get_first_child())
    list.remove(*child);
  for (const std::string& identifier : identifiers)
    list.append(*MakeRow(number, identifier));
}

std::vector<std::string> Offered(int number, const std::vector<std::string>& arrangement) {
  std::vector<std::string> offered;
  for (const std::string& id : ToolbarGetAllowedIdentifiers(number))
    if (ToolbarItemAllowsDuplicates(number, id) ||
        std::find(arrangement.begin(), arrangement.end(), id) == arrangement.end())
      offered.push_back(id);
  return offered;
}

void UpdateRemoveButton(CustomizeDialog& dialog) {
  Gtk::ListBoxRow* row = dialog.current->get_selected_row();
  dialog.remove->set_sensitive(row && ToolbarItemRemovable(dialog.number, row->get_name()));
}

void Refresh(CustomizeDialog& dialog, int selectIndex) {
  const std::vector<std::string> arrangement = ToolbarArrangement(dialog.number);
  Fill(*dialog.current, dialog.number, arrangement);
  Fill(*dialog.available, dialog.number, Offered(dialog.number, arrangement));
  if (selectIndex >= 0)
    dialog.current->select_row(*dialog.current->get_row_at_index(
        std::min(selectIndex, static_cast<int>(arrangement.size()) - 1)));
  UpdateRemoveButton(dialog);
}

void Apply(CustomizeDialog& dialog, std::vector<std::string> arrangement, int selectIndex) {
  ToolbarSetArrangement(dialog.number, arrangement);
  ToolbarRefreshWindows(dialog.number);
  Refresh(dialog, selectIndex);
}

int SelectedIndex(Gtk::ListBox& list) {
  Gtk::ListBoxRow* row = list.get_selected_row();
  return row ? row->get_index() : -1;
}

void AddSelected(CustomizeDialog& dialog) {
  Gtk::ListBoxRow* row = dialog.available->get_selected_row();
  if (!row) return;
  std::vector<std::string> arrangement = ToolbarArrangement(dialog.number);
  const int at = SelectedIndex(*dialog.current);
  const size_t position = at >= 0 ? static_cast<size_t>(at) + 1 : arrangement.size();
  if (ToolbarArrangementAdd(dialog.number, arrangement, row->get_name(), position))
    Apply(dialog, arrangement, static_cast<int>(position));
}

void RemoveSelected(CustomizeDialog& dialog) {
  std::vector<std::string> arrangement = ToolbarArrangement(dialog.number);
  const int at = SelectedIndex(*dialog.current);
  if (at >= 0 && ToolbarArrangementRemove(dialog.number, arrangement, static_cast<size_t>(at)))
    Apply(dialog, arrangement, at);
}

void MoveSelected(CustomizeDialog& dialog, int step) {
  std::vector<std::string> arrangement = ToolbarArrangement(dialog.number);
  const int at = SelectedIndex(*dialog.current);
  if (at >= 0 &&
      ToolbarArrangementMove(arrangement, static_cast<size_t>(at), static_cast<size_t>(at + step)))
    Apply(dialog, arrangement, at + step);
}

Gtk::Button* AddButton(Gtk::Box& box, const char* name, const char* label,
                       std::function<void()> clicked) {
  auto* button = Gtk::make_managed<Gtk::Button>(label);
  button->set_name(name);
  button->signal_clicked().connect(std::move(clicked));
  box.append(*button);
  return button;
}

Gtk::Box* Column(const char* title, Gtk::ListBox*& list, const char* name) {
  auto* column = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 6);
  auto* heading = Gtk::make_managed<Gtk::Label>(title);
  heading->set_xalign(0);
  column->append(*heading);
  list = Gtk::make_managed<Gtk::ListBox>();
  list->set_name(name);
  auto* scroller = Gtk::make_managed<Gtk::ScrolledWindow>();
  scroller->set_child(*list);
  scroller->set_min_content_height(280);
  scroller->set_min_content_width(200);
  scroller->set_vexpand(true);
  column->append(*scroller);
  return column;
}

} // namespace

Gtk::Window* ToolbarCustomizeOpen(int number, Gtk::Window& window) {
  auto* dialogWindow = new Gtk::Window;
  auto* dialog = new CustomizeDialog;
  dialog->number = number;
  dialog->window = dialogWindow;
  dialogWindow->set_title("Customize Toolbar");
  // A title bar of its own shows the title whatever the window manager draws.
  dialogWindow->set_titlebar(*Gtk::make_managed<Gtk::HeaderBar>());
  dialogWindow->set_modal(true);
  dialogWindow->set_transient_for(window);
  if (Glib::RefPtr<Gtk::Application> app = window.get_application()) app->add_window(*dialogWindow);
  auto* body = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 12);
  body->set_margin(16);
  auto* columns = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 12);
  Gtk::Box* left = Column("Toolbar items", dialog->current, "toolbar-current");
  Gtk::Box* right = Column("Available items", dialog->available, "toolbar-available");
  auto* leftButtons = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
  AddButton(*leftButtons, "toolbar-up", "Move Up", [dialog] { MoveSelected(*dialog, -1); });
  AddButton(*leftButtons, "toolbar-down", "Move Down", [dialog] { MoveSelected(*dialog, 1); });
  dialog->remove =
      AddButton(*leftButtons, "toolbar-remove", "Remove", [dialog] { RemoveSelected(*dialog); });
  left->append(*leftButtons);
  AddButton(*right, "toolbar-add", "Add", [dialog] { AddSelected(*dialog); });
  columns->append(*left);
  columns->append(*right);
  body->append(*columns);
  auto* bottom = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
  bottom->set_halign(Gtk::Align::END);
  AddButton(*bottom, "toolbar-defaults", "Use Default Set",
            [dialog] { Apply(*dialog, ToolbarGetDefaultIdentifiers(dialog->number), -1); });
  AddButton(*bottom, "toolbar-done", "Done", [dialogWindow] { dialogWindow->close(); });
  body->append(*bottom);
  dialogWindow->set_child(*body);
  dialog->selection = dialog->current->signal_row_selected().connect(
      [dialog](Gtk::ListBoxRow*) { UpdateRemoveButton(*dialog); });
  dialogWindow->signal_close_request().connect(
      [dialogWindow, dialog] {
        if (!dialog->selection.connected()) return true; // already on its way out
        dialog->selection.disconnect();
        dialogWindow->set_visible(false);
        Glib::signal_idle().connect_once([dialogWindow, dialog] {
          delete dialogWindow;
          delete dialog;
        });
        return true;
      },
      false);
  WinCloseOnEscape(*dialogWindow);
  Refresh(*dialog, -1);
  dialogWindow->present();
  return dialogWindow;
}

int ToolbarCustomize(int number, Gtk::Window& window) {
  ToolbarCustomizeOpen(number, window);
  return 0;
}
