// The application's toolbar definition: its items in the order the user sees them offered.
#include "app/Toolbar.h"

#include "services/Services.h"

#include <string>

namespace {

struct CustomItem {
  const char* identifier;
  const char* label;
  const char* help;
  const char* command;
  const char* image; // a picture of the program, or null
  const char* icon;  // a themed icon standing for a file type, or null
  uint32_t attributes;
  bool isDefault;
};

// A standard item holds its place in the order by identifier alone.
struct StandardItem {
  const char* identifier;
  bool isDefault;
};

// The themed icons stand for the document types the items write: the program's own document
// ("BARC"), EPS, PDF, the bitmap formats and SVG.
constexpr CustomItem kClipItem{"com.apple.carbontoolbar.toolclip",
                               "Copy To Clip",
                               "Copy To Clipboard",
                               "CLIP",
                               "toolclip.png",
                               nullptr,
                               kToolbarItemCantBeRemoved,
                               true};
constexpr CustomItem kSaveItems[] = {
    {"com.apple.carbontoolbar.vltxsave", "Save Data", "Save Data File", "save", nullptr,
     "document-save-symbolic", 0, false},
    {"com.apple.carbontoolbar.vltxsvas", "Save As", "Save As New Data File", "svas", nullptr,
     "document-save-as-symbolic", 0, false},
    {"com.apple.carbontoolbar.vltxepsf", "Save EPS", "Save As EPS File", "FEPS", nullptr,
     "x-office-drawing-symbolic", 0, true},
    {"com.apple.carbontoolbar.filepdff", "Save PDF", "Save As PDF File", "FPDF", nullptr,
     "x-office-document-symbolic", 0, true},
    {"com.apple.carbontoolbar.filetiff", "Save TIFF", "Save As TIFF File", "FTIF", nullptr,
     "image-x-generic-symbolic", 0, true},
    {"com.apple.carbontoolbar.filepngf", "Save PNG", "Save As PNG File", "FPNG", nullptr,
     "image-x-generic-symbolic", 0, true},
    {"com.apple.carbontoolbar.filepict", "Save PICT", "Save As PICT File", "FPCT", nullptr,
     "image-x-generic-symbolic", 0, true},
    {"com.apple.carbontoolbar.filesvgf", "Save SVG", "Save As SVG File", "FSVG", nullptr,
     "x-office-drawing-symbolic", 0, false},
};
constexpr CustomItem kHelpItem{
    "com.apple.carbontoolbar.viewhelp", "Help", "Help", "Help", "viewhelp.png", nullptr,
    kToolbarItemCantBeRemoved,          true};
constexpr CustomItem kDrawerItem{
    "com.apple.carbontoolbar.editdrwr", "Special", "Special", "EdDr", "editdrwr.png", nullptr,
    kToolbarItemCantBeRemoved,          true};

void Define(const CustomItem& item) {
  ToolbarItem(kMainToolbar, item.identifier, item.image, item.label, FourCharCode(item.command),
              item.attributes, item.isDefault);
  ToolbarItemSetHelp(kMainToolbar, item.identifier, item.help);
  if (item.icon) ToolbarItemSetIconRef(kMainToolbar, item.identifier, item.icon);
}

void Define(const StandardItem& item) {
  if (item.isDefault)
    ToolbarItemSetDefault(kMainToolbar, item.identifier);
  else
    ToolbarItemSetAllowed(kMainToolbar, item.identifier);
}

} // namespace

int BuildToolbar() {
  ToolbarCreate(kMainToolbar, std::string(kApplicationId) + ".maintoolbar",
                kToolbarIsConfigurable | kToolbarAutoSavesConfig);
  Define(kClipItem);
  Define(StandardItem{kToolbarPrintIdentifier, true});
  for (const CustomItem& item : kSaveItems)
    Define(item);
  Define(StandardItem{kToolbarSeparatorIdentifier, true});
  Define(kHelpItem);
  Define(StandardItem{kToolbarCustomizeIdentifier, true});
  Define(StandardItem{kToolbarFlexibleSpaceIdentifier, true});
  Define(kDrawerItem);
  return 0;
}
