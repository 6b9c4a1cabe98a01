#include "services/Services.h"

#include <glib.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr const char* kGroup = "Preferences";

struct KeyFileDeleter {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

KeyFile LoadPreferences() {
  KeyFile file(g_key_file_new());
  g_key_file_load_from_file(file.get(), CFPrefsFilePath().c_str(), G_KEY_FILE_KEEP_COMMENTS,
                            nullptr);
  return file;
}

// Values set but not yet synchronised; null when nothing is pending.
KeyFile& Pending() {
  static KeyFile pending;
  return pending;
}

GKeyFile* ForWriting() {
  if (!Pending()) Pending() = LoadPreferences();
  return Pending().get();
}

// Values are stored in GVariant text form, so that each keeps its type: 'text' is a string, 12 an
// integer. A value of the wrong type is treated as absent.
std::optional<GVariant*> ReadValue(const char* key, const GVariantType* type) {
  if (!key) return std::nullopt;
  KeyFile loaded;
  GKeyFile* file = Pending() ? Pending().get() : (loaded = LoadPreferences()).get();
  char* text = g_key_file_get_value(file, kGroup, key, nullptr);
  if (!text) return std::nullopt;
  GVariant* value = g_variant_parse(nullptr, text, nullptr, nullptr, nullptr);
  g_free(text);
  if (!value) return std::nullopt;
  if (!g_variant_is_of_type(value, type)) {
    g_variant_unref(value);
    return std::nullopt;
  }
  return value;
}

void WriteValue(const char* key, GVariant* value) {
  g_variant_ref_sink(value);
  char* text = g_variant_print(value, FALSE);
  g_key_file_set_value(ForWriting(), kGroup, key, text);
  g_free(text);
  g_variant_unref(value);
}

} // namespace

int32_t CheckSysVersionExtended() {
  // Every capability the programs ask of the system is present on this platform.
  return kSysVersionLeopard;
}

// Read afresh each time (GLib's own lookup keeps the first answer for the whole process).
std::string CFPrefsFilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string folder =
      (config && *config == '/') ? config : std::string(g_get_home_dir()) + "/.config";
  return folder + "/" + kApplicationId + "/preferences";
}

bool CFPrefsGetCFStr(const char* key, std::string& target) {
  std::optional<GVariant*> value = ReadValue(key, G_VARIANT_TYPE_STRING);
  if (!value) return false;
  target += g_variant_get_string(*value, nullptr);
  g_variant_unref(*value);
  return true;
}

std::optional<std::vector<std::string>> CFPrefsGetStringList(const char* key) {
  std::optional<GVariant*> value = ReadValue(key, G_VARIANT_TYPE_STRING_ARRAY);
  if (!value) return std::nullopt;
  std::vector<std::string> list;
  gsize n = 0;
  const gchar** items = g_variant_get_strv(*value, &n);
  for (gsize i = 0; i < n; ++i)
    list.emplace_back(items[i]);
  g_free(items);
  g_variant_unref(*value);
  return list;
}

std::optional<int32_t> CFPrefsGetInt(const char* key) {
  std::optional<GVariant*> value = ReadValue(key, G_VARIANT_TYPE_INT32);
  if (!value) return std::nullopt;
  const int32_t number = g_variant_get_int32(*value);
  g_variant_unref(*value);
  return number;
}

void CFPrefsSetCFStr(const char* key, std::string_view value) {
  WriteValue(key, g_variant_new_string(std::string(value).c_str()));
}

void CFPrefsSetStringList(const char* key, const std::vector<std::string>& value) {
  std::vector<const char*> items;
  for (const std::string& item : value)
    items.push_back(item.c_str());
  WriteValue(key, g_variant_new_strv(items.data(), static_cast<gssize>(items.size())));
}

void CFPrefsSetInt(const char* key, int32_t value) {
  WriteValue(key, g_variant_new_int32(value));
}

bool CFPrefsAppSynchronize() {
  if (!Pending()) return true;
  const std::string path = CFPrefsFilePath();
  const std::string folder = path.substr(0, path.rfind('/'));
  if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) return false;
  gsize length = 0;
  char* data = g_key_file_to_data(Pending().get(), &length, nullptr);
  const bool ok = DataFileWriteBytes(path, std::string_view(data, length));
  g_free(data);
  if (ok) Pending().reset();
  return ok;
}
