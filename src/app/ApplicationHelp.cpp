// Opening the user guide, the home page and the support mail with the user's own programs, and
// the About window.
#include "app/Application.h"

#include "app/WinBuild.h"
#include "app/WinData.h"
#include "services/Services.h"

#include <gtkmm.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int kParamErr = -50;

fs::path ProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : program.parent_path();
}

// The guide is installed as <prefix>/share/doc/veltrix-barcode beside <prefix>/bin; a build tree
// holds the same folders next to the program.
std::vector<fs::path> DocumentFolders() {
  const fs::path program = ProgramFolder();
  if (program.empty()) return {};
  return {program.parent_path() / VX_DOC_SUBDIR, program / VX_DOC_SUBDIR};
}

} // namespace

std::string ApplUserGuidePath() {
  for (const fs::path& folder : DocumentFolders()) {
    std::error_code error;
    if (fs::is_regular_file(folder / kUserGuideName, error))
      return fs::weakly_canonical(folder / kUserGuideName, error).string();
  }
  return {};
}

int LaunchAppFolderSubDirFile(const std::string& relativePath) {
  const fs::path program = ProgramFolder();
  if (program.empty()) return 0;
  std::error_code error;
  const fs::path file = program.parent_path() / relativePath;
  if (fs::exists(file, error)) LaunchURL(Glib::filename_to_uri(file.string()));
  return 0;
}

int LaunchURL(const std::string& text) {
  if (text.empty() || !g_uri_is_valid(text.c_str(), G_URI_FLAGS_NONE, nullptr)) return kParamErr;
  try {
    Gio::AppInfo::launch_default_for_uri(text);
  } catch (const Glib::Error& error) {
    return error.code() ? error.code() : -1;
  }
  return 0;
}

Gtk::Window* ApplAbout() {
  auto* about = new Gtk::AboutDialog;
  about->set_program_name("Veltrix BarCode");
  about->set_version(kVersionText);
  about->set_logo_icon_name(kApplicationId);
  about->set_comments(
      "Barcodes that scan: EAN and UPC, Code 128, QR Code, PDF417 and twenty more.");
  about->set_website(kHomePageURL);
  about->set_website_label("Veltrix Research Home Page");
  about->set_copyright("\u00A9 Veltrix Research");
  about->set_license_type(Gtk::License::CUSTOM);
  about->set_license("Veltrix BarCode is licensed by Veltrix Research to its users under the terms "
                     "of the licence that came with it.");
  about->set_wrap_license(true);
  about->set_authors({"Veltrix Research"});
  about->add_credit_section(
      "Built with", {"GTK and gtkmm https://www.gtk.org/", "cairo https://www.cairographics.org/",
                     "libqrencode https://fukuchi.org/works/qrencode/", "libtiff and libpng"});
  about->set_modal(true);
  if (Gtk::Window* front = WindowFindByID(0)) about->set_transient_for(*front);
  if (Glib::RefPtr<Gtk::Application> app = ApplGet()) about->set_application(app);
  about->signal_close_request().connect(
      [about] {
        about->set_visible(false);
        Glib::signal_idle().connect_once([about] { delete about; });
        return true;
      },
      false);
  WinCloseOnEscape(*about);
  about->present();
  return about;
}
