// The save commands of a document window: the dialog they open, the empty-data alert, and files
// that scan, written where the dialog's answer says.
#include "app/AppTestSupport.h"

#include "app/WinControls.h"
#include "app/WinData.h"
#include "model/BarCodeDataRec.h"
#include "output/save/FileSave.h"
#include "services/Services.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

namespace {

class SaveTest : public testing::Test {
protected:
  void TearDown() override { CloseAllWindows(); }
};

struct SaveCase {
  const char* name;
  int (*command)(Gtk::Window&);
  int (*handler)(Gtk::Window&, const std::string&);
  const char* extension;
  const char* title;
  const char* type; // Finder type the file is marked with
};
const SaveCase kSaves[] = {
    {"PICT", FileSavePICT, FileHandlerPICT, ".pct", "Save PICT File as…", "PICT"},
    {"PNG", FileSavePNG, FileHandlerPNG, ".png", "Save PNG File as…", "PNGf"},
    {"TIFF", FileSaveTIFF, FileHandlerTIFF, ".tif", "Save TIFF File as…", "TIFF"},
    {"PDF", FileSavePDF, FileHandlerPDF, ".pdf", "Save PDF File as…", "PDF "},
    {"EPS", FileSaveEPSF, FileHandlerEPSF, ".eps", "Save EPS File as…", "EPSF"},
};

std::string Ean13Text(std::string twelve) {
  return twelve + GtinCheck(twelve);
}

// The proposed name and title of the dialog a save command opened on the window.
Gtk::FileChooserNative* OpenDialog(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  return data ? dynamic_cast<Gtk::FileChooserNative*>(data->nav.get()) : nullptr;
}

// The user's answer: the dialog goes away and reports the response.
void Answer(Gtk::FileChooserNative& dialog, Gtk::ResponseType response) {
  dialog.hide();
  g_signal_emit_by_name(dialog.gobj(), "response", static_cast<int>(response));
}

} // namespace

TEST_F(SaveTest, EachSaveCommandWritesAFileThatScans) {
  Gtk::Window& window = NewShownWindow();
  TypeInto(window, kViewData, "501234567890");
  TypeInto(window, kViewAddon, "12");
  const std::string dir = TestTempDir();
  for (const SaveCase& save : kSaves) {
    SCOPED_TRACE(save.name);
    const std::string path = dir + "/barcode" + save.extension;
    save.handler(window, path);
    ASSERT_TRUE(FileExists(path));
    EXPECT_EQ(ZXingRead(RasterizeOnWhite(path), "EAN13"),
              std::vector<std::string>{Ean13Text("501234567890") + " 12"});
    uint32_t type = 0, creator = 0;
    if (FSRefGetTypeAndCreator(path, type, creator) == 0) {
      EXPECT_EQ(FourCharString(type), save.type);
    }
    // The chosen location was handed over and is gone again.
    EXPECT_TRUE(WinDataGet(window)->properties.empty());
  }
}

TEST_F(SaveTest, TheSaveDialogProposesTheTitleTextAsName) {
  Gtk::Window& window = NewShownWindow();
  TypeInto(window, kViewData, "501234567890");
  TypeInto(window, kViewAddon, "12");
  for (const SaveCase& save : kSaves) {
    SCOPED_TRACE(save.name);
    save.command(window);
    Gtk::FileChooserNative* dialog = OpenDialog(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(std::string(dialog->get_title()), save.title);
    EXPECT_TRUE(dialog->get_modal());
    EXPECT_EQ(dialog->get_transient_for(), &window);
    EXPECT_EQ(dialog->get_action(), Gtk::FileChooser::Action::SAVE);
    EXPECT_EQ(std::string(dialog->get_current_name()),
              std::string("EAN-13 501234567890 12") + save.extension);
    // Cancel: nothing is written and the dialog is let go.
    Answer(*dialog, Gtk::ResponseType::CANCEL);
    Pump();
    EXPECT_EQ(OpenDialog(window), nullptr);
    EXPECT_TRUE(WinDataGet(window)->properties.empty());
  }
}

TEST_F(SaveTest, ConfirmingTheDialogWritesTheFile) {
  Gtk::Window& window = NewShownWindow();
  TypeInto(window, kViewData, "400638133393");
  FileSavePNG(window);
  Gtk::FileChooserNative* dialog = OpenDialog(window);
  ASSERT_NE(dialog, nullptr);
  const std::string dir = TestTempDir();
  dialog->set_current_folder(Gio::File::create_for_path(dir));
  dialog->set_current_name("chosen.png");
  // The dialog changes folder as it loads it; answer once it has.
  ASSERT_TRUE(PumpUntil(
      [&] {
        Glib::RefPtr<Gio::File> file = dialog->get_file();
        return file && file->get_path() == dir + "/chosen.png";
      },
      15000));
  Answer(*dialog, Gtk::ResponseType::ACCEPT);
  Pump();
  ASSERT_TRUE(FileExists(dir + "/chosen.png"));
  EXPECT_EQ(ZXingRead(RasterizeOnWhite(dir + "/chosen.png"), "EAN13"),
            std::vector<std::string>{Ean13Text("400638133393")});
}

TEST_F(SaveTest, EmptyDataShowsTheAlertAndWritesNothing) {
  Gtk::Window& window = NewShownWindow();
  TypeInto(window, kViewData, " - "); // nothing left after the cleaning
  for (const SaveCase& save : kSaves) {
    SCOPED_TRACE(save.name);
    save.command(window);
    Pump();
    EXPECT_EQ(OpenDialog(window), nullptr);
    Gtk::MessageDialog* alert = FindAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->property_text().get_value(),
              "Sorry, please enter some valid BarCode data first!");
    EXPECT_EQ(alert->property_secondary_text().get_value(),
              "You cannot perform that function without valid data.");
    EXPECT_EQ(alert->property_message_type().get_value(), Gtk::MessageType::ERROR);
    EXPECT_TRUE(alert->get_modal());
    EXPECT_EQ(alert->get_transient_for(), &window);
    EXPECT_EQ(AlertButtons(*alert), std::vector<std::string>{"OK"});
    alert->response(0);
    Pump();
    EXPECT_EQ(FindAlert(), nullptr);
  }
}

TEST_F(SaveTest, ProposedNamesAreCutAndCleaned) {
  struct Case {
    int symbology;
    std::string data, addon;
    const char* extension;
    std::string expected;
  };
  // "Code-128 " and 241 characters of data make the 250 kept before the extension.
  std::string longName = "Code-128 ";
  longName.append(241, 'A').append(".eps");
  const Case cases[] = {
      {kBarCodeEAN13, "501234567890", "", ".png", "EAN-13 501234567890.png"},
      {kBarCodeEAN13, "501234567890", "12", ".tif", "EAN-13 501234567890 12.tif"},
      {kBarCodeCode128, "AB/CD:EF", "", ".pdf", "Code-128 AB-CD-EF.pdf"},
      {kBarCodeCode128, std::string(300, 'A'), "", ".eps", longName},
  };
  for (const Case& c : cases) {
    BarCodeDataRec rec;
    BarCodeDataRecCreate(&rec);
    rec.symbology = c.symbology;
    *rec.data = c.data;
    *rec.addon = c.addon;
    const std::string name = FileSaveProposedName(rec, c.extension);
    EXPECT_EQ(name, c.expected);
    BarCodeDataRecRelease(&rec);
  }
}

TEST_F(SaveTest, AWideCharacterNameStaysWithinAFileNamesBytes) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.symbology = kBarCodeCode128;
  std::string data;
  for (int i = 0; i < 240; ++i)
    data += "\xC3\xA9"; // é, two bytes each
  *rec.data = data;
  const std::string name = FileSaveProposedName(rec, ".png");
  EXPECT_LE(name.size(), 255u);
  EXPECT_TRUE(name.ends_with(".png"));
  EXPECT_TRUE(name.starts_with("Code-128 \xC3\xA9"));
  EXPECT_EQ((name.size() - std::string("Code-128 .png").size()) % 2, 0u); // whole characters
  BarCodeDataRecRelease(&rec);
}
