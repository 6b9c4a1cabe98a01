// The row of toolbar buttons under a document window's title bar.
#include "app/AppCommands.h"
#include "app/Toolbar.h"
#include "app/WinData.h"
#include "services/Services.h"

#include <gtkmm.h>

namespace {

constexpr const char* kToolbarRowId = "main-toolbar";
constexpr int kPictureSize = 24;

struct StandardLook {
  const char* identifier;
  const char* label;
  const char* icon;
  const char* action;
};
constexpr StandardLook kStandardLooks[] = {
    {kToolbarPrintIdentifier, "Print", "document-print-symbolic", "win.prnt"},
    {kToolbarCustomizeIdentifier, "Customize", "emblem-system-symbolic", "win.customize-toolbar"},
    {kToolbarSeparatorIdentifier, "Separator", nullptr, nullptr},
    {kToolbarFlexibleSpaceIdentifier, "Flexible Space", nullptr, nullptr},
};

const StandardLook* FindStandard(const std::string& identifier) {
  for (const StandardLook& look : kStandardLooks)
    if (identifier == look.identifier) return &look;
  return nullptr;
}

Gtk::Image* IconImage(const std::string& name) {
  auto* image = Gtk::make_managed<Gtk::Image>();
  image->set_from_icon_name(name);
  return image;
}

Gtk::Button* MakeButton(const std::string& identifier, const std::string& label,
                        Gtk::Image* picture, const std::string& action, const std::string& help) {
  auto* button = Gtk::make_managed<Gtk::Button>();
  auto* column = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 2);
  if (picture) {
    picture->set_pixel_size(kPictureSize);
    column->append(*picture);
  }
  auto* text = Gtk::make_managed<Gtk::Label>(label);
  text->add_css_class("vx-toolbar-label");
  column->append(*text);
  button->set_child(*column);
  button->set_has_frame(false);
  button->set_name(identifier);
  if (!action.empty()) button->set_action_name(action);
  if (!help.empty()) button->set_tooltip_text(help);
  return button;
}

Gtk::Widget* MakeStandardItem(const std::string& identifier) {
  const StandardLook* look = FindStandard(identifier);
  if (!look) return nullptr;
  Gtk::Widget* item = nullptr;
  if (identifier == kToolbarSeparatorIdentifier) {
    item = Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::VERTICAL);
    item->set_margin_start(4);
    item->set_margin_end(4);
  } else if (identifier == kToolbarFlexibleSpaceIdentifier) {
    item = Gtk::make_managed<Gtk::Box>();
    item->set_hexpand(true);
  } else {
    item = MakeButton(identifier, look->label, IconImage(look->icon), look->action, look->label);
  }
  item->set_name(identifier);
  return item;
}

Gtk::Image* MakePicture(const ToolbarItemDef& item) {
  if (item.iconRef) return IconImage(*item.iconRef);
  if (item.image) {
    auto* picture = Gtk::make_managed<Gtk::Image>();
    picture->set_from_resource(*item.image);
    return picture;
  }
  return nullptr;
}

Gtk::Box* ToolbarRow(Gtk::Window& window) {
  return dynamic_cast<Gtk::Box*>(ViewFindByName(window, kToolbarRowId));
}

} // namespace

Gtk::Widget* ToolbarDelegateCreateItem(int number, const std::string& identifier) {
  const ToolbarItemDef* item = ToolbarItemFind(number, identifier);
  if (!item) return nullptr;
  const std::string action =
      item->commandID ? "win." + CommandActionName(FourCharString(*item->commandID)) : "";
  Gtk::Button* button = MakeButton(identifier, item->label.value_or(""), MakePicture(*item), action,
                                   item->shortHelp.value_or(""));
  if (item->enabled) button->set_sensitive(*item->enabled);
  return button;
}

int ToolbarAttachToWindow(int number, Gtk::Window& window, bool show) {
  Gtk::Box* row = ToolbarRow(window);
  if (!row) return 0;
  while (Gtk::Widget* child = row->get_first_child())
    row->remove(*child);
  for (const std::string& identifier : ToolbarArrangement(number)) {
    Gtk::Widget* item = ToolbarDelegateCreateItem(number, identifier);
    if (!item) item = MakeStandardItem(identifier);
    if (item) row->append(*item);
  }
  row->set_visible(show);
  return 0;
}

void ToolbarRefreshWindows(int number) {
  for (Gtk::Window* window : WindowListDocuments()) {
    Gtk::Box* row = ToolbarRow(*window);
    ToolbarAttachToWindow(number, *window, row && row->get_visible());
  }
}

std::vector<std::string> ToolbarWindowIdentifiers(Gtk::Window& window) {
  std::vector<std::string> identifiers;
  if (Gtk::Box* row = ToolbarRow(window))
    for (Gtk::Widget* child = row->get_first_child(); child; child = child->get_next_sibling())
      identifiers.push_back(child->get_name());
  return identifiers;
}

std::string ToolbarItemDisplayLabel(int number, const std::string& identifier) {
  if (std::optional<std::string> label = ToolbarItemGetLabel(number, identifier)) return *label;
  const StandardLook* look = FindStandard(identifier);
  return look ? look->label : identifier;
}
