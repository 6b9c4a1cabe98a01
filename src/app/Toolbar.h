// The toolbar: a registry of toolbar definitions (items, default and allowed sets), the delegate
// that answers from it, the arrangement the user made (kept in the preference file), and the row
// of buttons every document window shows.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace Gtk {
class Widget;
class Window;
} // namespace Gtk

inline constexpr int kMainToolbar = 0;

// Toolbar attributes: the user may configure it, and its configuration is saved at once.
enum : uint32_t { kToolbarIsConfigurable = 1, kToolbarAutoSavesConfig = 2 };
// Item attributes.
enum : uint32_t { kToolbarItemAllowDuplicates = 1, kToolbarItemCantBeRemoved = 2 };

// Standard items, which the toolbar itself makes.
inline constexpr const char* kToolbarPrintIdentifier = "com.apple.hitoolbox.toolbar.print";
inline constexpr const char* kToolbarSeparatorIdentifier = "com.apple.hitoolbox.toolbar.separator";
inline constexpr const char* kToolbarCustomizeIdentifier = "com.apple.hitoolbox.toolbar.customize";
inline constexpr const char* kToolbarFlexibleSpaceIdentifier =
    "com.apple.hitoolbox.toolbar.flexiblespace";

// What the registry keeps of the toolbar it made for a definition ("ToolbarRef").
struct ToolbarRef {
  std::string identifier; // the arrangement is saved under it
  uint32_t attributes = 0;
};

// One custom item; every key is optional.
struct ToolbarItemDef {
  std::optional<std::string> label, shortHelp;
  std::optional<std::string> image;   // a picture among the program's resources
  std::optional<std::string> iconRef; // a themed icon name
  std::optional<uint32_t> commandID;  // four-character command code
  std::optional<uint32_t> attributes;
  std::optional<bool> enabled;
};

struct ToolbarDefinition {
  std::optional<ToolbarRef> ref;
  std::map<std::string, ToolbarItemDef> items;
  std::vector<std::string> defaultIdentifiers, allowedIdentifiers;
  std::optional<bool> selectionHighlight;
};

// The registry, keyed by the toolbar number as decimal text.
std::map<std::string, ToolbarDefinition>& ToolbarRegistry();

int ToolbarCreate(int number, const std::string& identifier, uint32_t attributes);
int ToolbarItem(int number, const std::string& identifier, const char* imageName, const char* label,
                uint32_t command, uint32_t attributes, bool isDefault);
void ToolbarItemSetHelp(int number, const std::string& identifier, const std::string& text);
void ToolbarItemSetLabel(int number, const std::string& identifier, const std::string& text);
// A picture by resource name: a name ending ".png" or ".jpg" that the program holds; any other
// leaves the item without a picture.
void ToolbarItemSetImage(int number, const std::string& identifier, const std::string& name);
void ToolbarItemSetIconRef(int number, const std::string& identifier, const std::string& icon);
void ToolbarItemSetCommandID(int number, const std::string& identifier, uint32_t command);
void ToolbarItemSetAttributes(int number, const std::string& identifier, uint32_t attributes);
std::optional<std::string> ToolbarItemGetHelp(int number, const std::string& identifier);
std::optional<std::string> ToolbarItemGetLabel(int number, const std::string& identifier);
std::optional<std::string> ToolbarItemGetImage(int number, const std::string& identifier);
std::optional<std::string> ToolbarItemGetIconRef(int number, const std::string& identifier);
std::optional<uint32_t> ToolbarItemGetCommandID(int number, const std::string& identifier);
std::optional<uint32_t> ToolbarItemGetAttributes(int number, const std::string& identifier);
void ToolbarItemSetDefault(int number, const std::string& identifier);
void ToolbarItemSetAllowed(int number, const std::string& identifier);
const ToolbarRef* ToolbarGetRef(int number);
std::vector<std::string> ToolbarGetDefaultIdentifiers(int number);
std::vector<std::string> ToolbarGetAllowedIdentifiers(int number);
// The custom item of that identifier, or null (standard items are not in the registry).
const ToolbarItemDef* ToolbarItemFind(int number, const std::string& identifier);

// The delegate's answers about sets of identifiers; false when the request is not handled.
enum class ToolbarRequest { DefaultIdentifiers, AllowedIdentifiers, SelectableIdentifiers };
bool ToolbarDelegate(int number, ToolbarRequest request, std::vector<std::string>& identifiers);

// The user's arrangement, as saved under the toolbar's identifier, or the default set.
std::vector<std::string> ToolbarArrangement(int number);
void ToolbarSetArrangement(int number, const std::vector<std::string>& identifiers);
bool ToolbarItemRemovable(int number, const std::string& identifier);
bool ToolbarItemAllowsDuplicates(int number, const std::string& identifier);
// Only allowed items, each once unless it may repeat, and every item that can't be removed.
std::vector<std::string> ToolbarArrangementSanitize(int number, std::vector<std::string> ids);
bool ToolbarArrangementAdd(int number, std::vector<std::string>& ids, const std::string& identifier,
                           size_t position);
bool ToolbarArrangementRemove(int number, std::vector<std::string>& ids, size_t index);
bool ToolbarArrangementMove(std::vector<std::string>& ids, size_t from, size_t to);

// The application's toolbar definition (number 0).
int BuildToolbar();

// The widgets. A custom item from the registry, or null so the toolbar makes a standard one.
Gtk::Widget* ToolbarDelegateCreateItem(int number, const std::string& identifier);
int ToolbarAttachToWindow(int number, Gtk::Window& window, bool show);
// Rebuilds the toolbar of every document window after the arrangement changed.
void ToolbarRefreshWindows(int number);
// The identifiers a window's toolbar shows, left to right.
std::vector<std::string> ToolbarWindowIdentifiers(Gtk::Window& window);
// The label and icon an item shows (standard items included), for the toolbar and its dialog.
std::string ToolbarItemDisplayLabel(int number, const std::string& identifier);
// The Customize dialog over a window; returns it.
Gtk::Window* ToolbarCustomizeOpen(int number, Gtk::Window& window);
int ToolbarCustomize(int number, Gtk::Window& window);
