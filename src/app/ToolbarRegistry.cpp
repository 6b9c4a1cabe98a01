#include "app/Toolbar.h"

#include "services/Services.h"

#include <gio/gio.h>

#include <algorithm>

namespace {

constexpr const char* kPictureFolder = "/org/veltrix/BarCode/toolbar/";

std::string Key(int number) {
  return std::to_string(number);
}

ToolbarDefinition* Find(int number) {
  auto found = ToolbarRegistry().find(Key(number));
  return found == ToolbarRegistry().end() ? nullptr : &found->second;
}

ToolbarItemDef& Item(int number, const std::string& identifier) {
  return ToolbarRegistry()[Key(number)].items[identifier];
}

template <class T>
std::optional<T> Get(int number, const std::string& identifier,
                     std::optional<T> ToolbarItemDef::*field) {
  const ToolbarItemDef* item = ToolbarItemFind(number, identifier);
  return item ? item->*field : std::nullopt;
}

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool HasResource(const std::string& path) {
  return g_resources_get_info(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr, nullptr,
                              nullptr);
}

void AppendUnlessPresent(std::vector<std::string>& set, const std::string& identifier) {
  if (std::find(set.begin(), set.end(), identifier) == set.end()) set.push_back(identifier);
}

bool Contains(const std::vector<std::string>& set, const std::string& identifier) {
  return std::find(set.begin(), set.end(), identifier) != set.end();
}

} // namespace

std::map<std::string, ToolbarDefinition>& ToolbarRegistry() {
  static std::map<std::string, ToolbarDefinition> registry;
  return registry;
}

int ToolbarCreate(int number, const std::string& identifier, uint32_t attributes) {
  ToolbarRegistry()[Key(number)].ref = ToolbarRef{identifier, attributes};
  return 0;
}

int ToolbarItem(int number, const std::string& identifier, const char* imageName, const char* label,
                uint32_t command, uint32_t attributes, bool isDefault) {
  if (imageName) ToolbarItemSetImage(number, identifier, imageName);
  if (label) ToolbarItemSetLabel(number, identifier, label);
  if (command != 0) ToolbarItemSetCommandID(number, identifier, command);
  ToolbarItemSetAttributes(number, identifier, attributes);
  if (isDefault) ToolbarItemSetDefault(number, identifier);
  ToolbarItemSetAllowed(number, identifier);
  return 0;
}

void ToolbarItemSetHelp(int number, const std::string& identifier, const std::string& text) {
  Item(number, identifier).shortHelp = text;
}
void ToolbarItemSetLabel(int number, const std::string& identifier, const std::string& text) {
  Item(number, identifier).label = text;
}
void ToolbarItemSetImage(int number, const std::string& identifier, const std::string& name) {
  const std::string path = kPictureFolder + name;
  if ((EndsWith(name, ".png") || EndsWith(name, ".jpg")) && HasResource(path))
    Item(number, identifier).image = path;
}
void ToolbarItemSetIconRef(int number, const std::string& identifier, const std::string& icon) {
  Item(number, identifier).iconRef = icon;
}
void ToolbarItemSetCommandID(int number, const std::string& identifier, uint32_t command) {
  Item(number, identifier).commandID = command;
}
void ToolbarItemSetAttributes(int number, const std::string& identifier, uint32_t attributes) {
  Item(number, identifier).attributes = attributes;
}

std::optional<std::string> ToolbarItemGetHelp(int number, const std::string& identifier) {
  return Get(number, identifier, &ToolbarItemDef::shortHelp);
}
std::optional<std::string> ToolbarItemGetLabel(int number, const std::string& identifier) {
  return Get(number, identifier, &ToolbarItemDef::label);
}
std::optional<std::string> ToolbarItemGetImage(int number, const std::string& identifier) {
  return Get(number, identifier, &ToolbarItemDef::image);
}
std::optional<std::string> ToolbarItemGetIconRef(int number, const std::string& identifier) {
  return Get(number, identifier, &ToolbarItemDef::iconRef);
}
std::optional<uint32_t> ToolbarItemGetCommandID(int number, const std::string& identifier) {
  return Get(number, identifier, &ToolbarItemDef::commandID);
}
std::optional<uint32_t> ToolbarItemGetAttributes(int number, const std::string& identifier) {
  return Get(number, identifier, &ToolbarItemDef::attributes);
}

void ToolbarItemSetDefault(int number, const std::string& identifier) {
  AppendUnlessPresent(ToolbarRegistry()[Key(number)].defaultIdentifiers, identifier);
  ToolbarItemSetAllowed(number, identifier);
}

void ToolbarItemSetAllowed(int number, const std::string& identifier) {
  AppendUnlessPresent(ToolbarRegistry()[Key(number)].allowedIdentifiers, identifier);
}

const ToolbarRef* ToolbarGetRef(int number) {
  ToolbarDefinition* definition = Find(number);
  return definition && definition->ref ? &*definition->ref : nullptr;
}

std::vector<std::string> ToolbarGetDefaultIdentifiers(int number) {
  ToolbarDefinition* definition = Find(number);
  return definition ? definition->defaultIdentifiers : std::vector<std::string>();
}

std::vector<std::string> ToolbarGetAllowedIdentifiers(int number) {
  ToolbarDefinition* definition = Find(number);
  return definition ? definition->allowedIdentifiers : std::vector<std::string>();
}

const ToolbarItemDef* ToolbarItemFind(int number, const std::string& identifier) {
  ToolbarDefinition* definition = Find(number);
  if (!definition) return nullptr;
  auto found = definition->items.find(identifier);
  return found == definition->items.end() ? nullptr : &found->second;
}

bool ToolbarDelegate(int number, ToolbarRequest request, std::vector<std::string>& identifiers) {
  ToolbarDefinition* definition = Find(number);
  if (!definition) return false;
  switch (request) {
  case ToolbarRequest::DefaultIdentifiers:
    identifiers.insert(identifiers.end(), definition->defaultIdentifiers.begin(),
                       definition->defaultIdentifiers.end());
    return true;
  case ToolbarRequest::AllowedIdentifiers:
    identifiers.insert(identifiers.end(), definition->allowedIdentifiers.begin(),
                       definition->allowedIdentifiers.end());
    return true;
  case ToolbarRequest::SelectableIdentifiers:
    if (!definition->selectionHighlight.value_or(false)) return false;
    identifiers.insert(identifiers.end(), definition->allowedIdentifiers.begin(),
                       definition->allowedIdentifiers.end());
    return true;
  }
  return false;
}

bool ToolbarItemRemovable(int number, const std::string& identifier) {
  std::optional<uint32_t> attributes = ToolbarItemGetAttributes(number, identifier);
  return !(attributes.value_or(0) & kToolbarItemCantBeRemoved);
}

bool ToolbarItemAllowsDuplicates(int number, const std::string& identifier) {
  if (identifier == kToolbarSeparatorIdentifier || identifier == kToolbarFlexibleSpaceIdentifier)
    return true;
  return ToolbarItemGetAttributes(number, identifier).value_or(0) & kToolbarItemAllowDuplicates;
}

std::vector<std::string> ToolbarArrangementSanitize(int number, std::vector<std::string> ids) {
  std::vector<std::string> allowed;
  ToolbarDelegate(number, ToolbarRequest::AllowedIdentifiers, allowed);
  std::vector<std::string> clean;
  for (const std::string& id : ids)
    if (Contains(allowed, id) && (!Contains(clean, id) || ToolbarItemAllowsDuplicates(number, id)))
      clean.push_back(id);
  // An edited or older preference file must not lose the items the user can't remove.
  for (const std::string& id : allowed)
    if (!ToolbarItemRemovable(number, id) && !Contains(clean, id)) clean.push_back(id);
  return clean;
}

std::vector<std::string> ToolbarArrangement(int number) {
  const ToolbarRef* ref = ToolbarGetRef(number);
  if (ref) {
    if (auto saved = CFPrefsGetStringList(ref->identifier.c_str()))
      return ToolbarArrangementSanitize(number, *saved);
  }
  std::vector<std::string> defaults;
  ToolbarDelegate(number, ToolbarRequest::DefaultIdentifiers, defaults);
  return defaults;
}

void ToolbarSetArrangement(int number, const std::vector<std::string>& identifiers) {
  const ToolbarRef* ref = ToolbarGetRef(number);
  if (!ref || !(ref->attributes & kToolbarIsConfigurable)) return;
  CFPrefsSetStringList(ref->identifier.c_str(), ToolbarArrangementSanitize(number, identifiers));
  if (ref->attributes & kToolbarAutoSavesConfig) CFPrefsAppSynchronize();
}

bool ToolbarArrangementAdd(int number, std::vector<std::string>& ids, const std::string& identifier,
                           size_t position) {
  std::vector<std::string> allowed;
  ToolbarDelegate(number, ToolbarRequest::AllowedIdentifiers, allowed);
  if (!Contains(allowed, identifier)) return false;
  if (Contains(ids, identifier) && !ToolbarItemAllowsDuplicates(number, identifier)) return false;
  ids.insert(ids.begin() + static_cast<std::ptrdiff_t>(std::min(position, ids.size())), identifier);
  return true;
}

bool ToolbarArrangementRemove(int number, std::vector<std::string>& ids, size_t index) {
  if (index >= ids.size() || !ToolbarItemRemovable(number, ids[index])) return false;
  ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool ToolbarArrangementMove(std::vector<std::string>& ids, size_t from, size_t to) {
  if (from >= ids.size() || to >= ids.size()) return false;
  std::string moved = ids[from];
  ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(from));
  ids.insert(ids.begin() + static_cast<std::ptrdiff_t>(to), moved);
  return true;
}
