// The document window: its controls, reading and setting the record, the add-on field, the
// symbology menu, numbering, the drawer, closing, and the application's menus and help.
#include "app/AppTestSupport.h"

#include "app/AppCommands.h"
#include "app/Application.h"
#include "app/WinControls.h"
#include "app/WinData.h"
#include "model/BarCodeDataRec.h"
#include "services/Services.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

class WindowTest : public testing::Test {
protected:
  void TearDown() override { CloseAllWindows(); }
};

BarCodeDataRec Read(Gtk::Window& window) {
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  GetWindowData(window, &rec, nullptr, nullptr);
  return rec;
}

void SetSliderAnyValue(Gtk::Window& window, int identifier, double value) {
  auto* slider = ViewFindAs<Gtk::Range>(window, identifier);
  slider->set_range(-1000, 1000);
  slider->set_value(value);
}

} // namespace

TEST_F(WindowTest, ControlsAreFoundByTheirIdentifiers) {
  Gtk::Window& window = NewShownWindow();
  EXPECT_NE(ViewFindAs<Gtk::DropDown>(window, 900), nullptr);
  EXPECT_NE(ViewFindAs<Gtk::Entry>(window, 101), nullptr);
  EXPECT_NE(ViewFindAs<Gtk::Entry>(window, 102), nullptr);
  EXPECT_NE(ViewFindAs<Gtk::DrawingArea>(window, 701), nullptr);
  EXPECT_NE(ViewFindAs<Gtk::Scale>(window, 201), nullptr);
  EXPECT_NE(ViewFindAs<Gtk::Scale>(window, 202), nullptr);
  EXPECT_NE(ViewFindAs<Gtk::Entry>(window, 203), nullptr);
  EXPECT_NE(ViewFindAs<Gtk::CheckButton>(window, 204), nullptr);
  EXPECT_NE(ViewFindAs<Gtk::CheckButton>(window, 205), nullptr);
  // The drawer's controls live in the drawer, which sits at the window's right edge.
  auto* drawer = WinDataGet(window)->drawer;
  ASSERT_NE(drawer, nullptr);
  EXPECT_NE(ViewFindByID(*drawer, 201), nullptr);
  EXPECT_EQ(ViewFindByID(*drawer, 101), nullptr);
  EXPECT_EQ(ViewFindByID(window, 999), nullptr);
}

TEST_F(WindowTest, ANewWindowReadsAsTheFreshRecord) {
  Gtk::Window& window = NewShownWindow();
  BarCodeDataRec rec = Read(window);
  EXPECT_EQ(rec.symbology, kBarCodeEAN13);
  EXPECT_EQ(*rec.data, "");
  EXPECT_EQ(rec.scale, 100);
  EXPECT_EQ(rec.trim, 0);
  EXPECT_EQ(rec.antialiasOff, 0);
  EXPECT_EQ(rec.fontSmoothOff, 0);
  BarCodeDataRecRelease(&rec);
}

TEST_F(WindowTest, ReadingClampsTheSliders) {
  struct Case {
    double scale, trim;
    int32_t wantScale, wantTrim;
  };
  const Case cases[] = {
      {10, 0, 25, 0},       {500, 0, 400, 0},      {-300, -30, 300, 30},
      {100, 250, 100, 100}, {24.6, 99.6, 25, 100}, {-10, 100, 25, 100},
  };
  Gtk::Window& window = NewShownWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.scale) + " " + std::to_string(c.trim));
    SetSliderAnyValue(window, kViewScale, c.scale);
    SetSliderAnyValue(window, kViewTrim, c.trim);
    BarCodeDataRec rec = Read(window);
    EXPECT_EQ(rec.scale, c.wantScale);
    EXPECT_EQ(rec.trim, c.wantTrim);
    BarCodeDataRecRelease(&rec);
  }
}

TEST_F(WindowTest, ReadingCleansTheData) {
  // The cleaning rules of the input data, applied to what the user typed.
  struct Case {
    int symbology;
    const char *data, *addon, *wantData, *wantAddon;
  };
  const Case cases[] = {
      {kBarCodeEAN13, "590 123", "12", "590", "12"},
      {kBarCodeEAN8, "12-34-56-78", "", "123456", ""},
      {kBarCodeISBN, "1-23-4", "", "1234", ""},
      {kBarCodeCode128, " ABC 12 ", "12", "ABC 12", ""},
      {kBarCodeRM4SCC, "SN34 RD1A", "", "SN34RD1A", ""},
      {kBarCodeUPCA, "0360-0029-1452", "5x5", "0360002914", "55"},
  };
  Gtk::Window& window = NewShownWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    ChooseSymbology(window, c.symbology);
    TypeInto(window, kViewData, c.data);
    TypeInto(window, kViewAddon, c.addon);
    BarCodeDataRec rec = Read(window);
    EXPECT_EQ(rec.symbology, c.symbology);
    EXPECT_EQ(*rec.data, c.wantData);
    EXPECT_EQ(*rec.addon, c.wantAddon);
    BarCodeDataRecRelease(&rec);
  }
}

TEST_F(WindowTest, ReadingTakesTheDrawerControls) {
  Gtk::Window& window = NewShownWindow();
  TypeInto(window, kViewDisplay, "Shown instead");
  ViewFindAs<Gtk::CheckButton>(window, kViewAntialiasOff)->set_active(true);
  float width = 0, height = 0;
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  GetWindowData(window, &rec, &width, &height);
  EXPECT_EQ(*rec.display, "Shown instead");
  EXPECT_EQ(rec.antialiasOff, 1);
  EXPECT_EQ(rec.fontSmoothOff, 0);
  Gtk::Widget* preview = ViewFindByID(window, kViewPreview);
  EXPECT_EQ(width, preview->get_width());
  EXPECT_EQ(height, preview->get_height());
  EXPECT_GT(width, 0);
  BarCodeDataRecRelease(&rec);
}

TEST_F(WindowTest, SettingClampsAndFillsTheAddonOnlyWhereItBelongs) {
  struct Case {
    int symbology;
    int32_t scale, trim;
    int16_t antialias;
    double wantScale, wantTrim;
    bool wantAntialias;
    const char* wantAddon;
  };
  const Case cases[] = {
      {kBarCodeEAN13, 200, 0, 0, 150, 0, false, "12"},
      {kBarCodeUPCA, 10, 300, 5, 50, 100, true, "12"},
      {kBarCodeCode128, -120, -40, -3, 120, 40, false, "kept"},
  };
  Gtk::Window& window = NewShownWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.symbology);
    TypeInto(window, kViewAddon, "kept");
    BarCodeDataRec rec;
    BarCodeDataRecCreate(&rec);
    rec.symbology = c.symbology;
    *rec.data = "123";
    *rec.addon = "12";
    rec.scale = c.scale;
    rec.trim = c.trim;
    rec.antialiasOff = c.antialias;
    SetWindowData(window, rec);
    EXPECT_EQ(ViewFindAs<Gtk::Range>(window, kViewScale)->get_value(), c.wantScale);
    EXPECT_EQ(ViewFindAs<Gtk::Range>(window, kViewTrim)->get_value(), c.wantTrim);
    EXPECT_EQ(ViewFindAs<Gtk::CheckButton>(window, kViewAntialiasOff)->get_active(),
              c.wantAntialias);
    EXPECT_EQ(ViewFindAs<Gtk::Entry>(window, kViewData)->get_text(), "123");
    EXPECT_EQ(ViewFindAs<Gtk::Entry>(window, kViewAddon)->get_text(), c.wantAddon);
    BarCodeDataRecRelease(&rec);
  }
}

TEST_F(WindowTest, TheAddonFieldIsEnabledForTheFiveAddonSymbologiesOnly) {
  // EAN-13, UPC-A, UPC-Coupon, ISSN and ISBN take an add-on.
  const std::set<int> withAddon = {1, 8, 14, 16, 17};
  Gtk::Window& window = NewShownWindow();
  Gtk::Widget* addon = ViewFindByID(window, kViewAddon);
  for (int code = 1; code <= 27; ++code) {
    SCOPED_TRACE(code);
    ASSERT_TRUE(ActivateAction(window, "win.m" + std::to_string(900 + code)));
    EXPECT_EQ(addon->get_sensitive(), withAddon.count(code) == 1);
    EXPECT_EQ(ViewFindAs<Gtk::DropDown>(window, kViewSymbology)->get_selected(),
              static_cast<guint>(code - 1));
  }
}

TEST_F(WindowTest, ChoosingCode128KeepsTheAddonTextOnScreen) {
  Gtk::Window& window = NewShownWindow();
  ASSERT_TRUE(ActivateAction(window, "win.m908")); // UPC-A
  TypeInto(window, kViewAddon, "12");
  ASSERT_TRUE(ActivateAction(window, "win.m910")); // Code-128
  auto* addon = ViewFindAs<Gtk::Entry>(window, kViewAddon);
  EXPECT_FALSE(addon->get_sensitive());
  EXPECT_EQ(addon->get_text(), "12");
  BarCodeDataRec rec = Read(window);
  EXPECT_EQ(*rec.addon, ""); // the cleaning empties it for Code-128
  BarCodeDataRecRelease(&rec);
}

TEST_F(WindowTest, ThePopupItselfSwitchesTheAddonField) {
  Gtk::Window& window = NewShownWindow();
  ChooseSymbology(window, kBarCodeCode39);
  EXPECT_FALSE(ViewFindByID(window, kViewAddon)->get_sensitive());
  ChooseSymbology(window, kBarCodeISSN);
  EXPECT_TRUE(ViewFindByID(window, kViewAddon)->get_sensitive());
}

TEST_F(WindowTest, WindowsAreNumberedWithTheSmallestFreeNumber) {
  Gtk::Window& first = NewShownWindow();
  Gtk::Window& second = NewShownWindow();
  Gtk::Window& third = NewShownWindow();
  EXPECT_EQ(first.get_title(), "Veltrix BarCode");
  EXPECT_EQ(second.get_title(), "Veltrix BarCode 2");
  EXPECT_EQ(third.get_title(), "Veltrix BarCode 3");
  EXPECT_EQ(WindowFindByID(3), &third);
  ASSERT_TRUE(ActivateAction(second, "win.clos"));
  Pump();
  EXPECT_EQ(WindowFindByID(2), nullptr);
  Gtk::Window& fourth = NewShownWindow();
  EXPECT_EQ(fourth.get_title(), "Veltrix BarCode 2");
  Gtk::Window& fifth = NewShownWindow();
  EXPECT_EQ(fifth.get_title(), "Veltrix BarCode 4");
}

TEST_F(WindowTest, TheDrawerStartsClosedAndToggles) {
  Gtk::Window& window = NewShownWindow();
  Gtk::Revealer* drawer = WinDataGet(window)->drawer;
  EXPECT_FALSE(drawer->get_reveal_child());
  // It sits at the window's right edge: after the form in the same row.
  EXPECT_EQ(drawer->get_prev_sibling()->get_next_sibling(), drawer);
  EXPECT_EQ(drawer->get_next_sibling(), nullptr);
  EXPECT_EQ(drawer->get_transition_type(), Gtk::RevealerTransitionType::SLIDE_LEFT);
  ASSERT_TRUE(ActivateAction(window, "win.EdDr"));
  EXPECT_TRUE(drawer->get_reveal_child());
  ASSERT_TRUE(ActivateAction(window, "win.EdDr"));
  EXPECT_FALSE(drawer->get_reveal_child());
}

TEST_F(WindowTest, ClosingDisposesTheWindowAndWritesPendingPreferences) {
  Gtk::Window& window = NewShownWindow();
  CFPrefsSetCFStr("VXTestPending", "written on close");
  window.close(); // the close box
  Pump();
  EXPECT_TRUE(WindowListDocuments().empty());
  std::ifstream file(CFPrefsFilePath());
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find("written on close"), std::string::npos);
}

TEST_F(WindowTest, TheMenuBarHoldsTheSymbologyAndHelpMenus) {
  Glib::RefPtr<Gio::MenuModel> bar = ApplGet()->get_menubar();
  ASSERT_TRUE(bar);
  std::map<std::string, std::vector<std::string>> actions; // menu title → actions, in order
  for (int i = 0; i < bar->get_n_items(); ++i) {
    Glib::VariantBase label;
    label = bar->get_item_attribute(i, Gio::MenuModel::Attribute::LABEL, {});
    const std::string title =
        Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(label).get();
    auto menu = bar->get_item_link(i, Gio::MenuModel::Link::SUBMENU);
    for (int s = 0; s < menu->get_n_items(); ++s) {
      auto section = menu->get_item_link(s, Gio::MenuModel::Link::SECTION);
      for (int j = 0; section && j < section->get_n_items(); ++j) {
        auto action = section->get_item_attribute(j, Gio::MenuModel::Attribute::ACTION, {});
        actions[title].push_back(
            Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(action).get());
      }
    }
  }
  std::vector<std::string> symbology;
  for (int n = 901; n <= 927; ++n)
    symbology.push_back("win.m" + std::to_string(n));
  EXPECT_EQ(actions["_Symbology"], symbology);
  EXPECT_EQ(actions["_Help"],
            (std::vector<std::string>{"win.Help", "app.UsGu", "app.VXHP", "app.VXeM"}));
  for (const char* action : {"win.CLIP", "win.FEPS", "win.FPDF", "win.FTIF", "win.FPNG", "win.FPCT",
                             "win.EdDr", "app.new", "app.pref", "win.clos"}) {
    bool found = false;
    for (auto& [title, list] : actions)
      found = found || std::find(list.begin(), list.end(), action) != list.end();
    EXPECT_TRUE(found) << action;
  }
}

TEST_F(WindowTest, ApplicationCommandsAreActions) {
  Glib::RefPtr<Gtk::Application> app = ApplGet();
  for (const char* name : {"new", "open", "pref", "UsGu", "VXHP", "VXeM", "quit"})
    EXPECT_TRUE(app->get_action_enabled(name)) << name;
  const size_t before = WindowListDocuments().size();
  app->activate_action("new");
  Pump();
  EXPECT_EQ(WindowListDocuments().size(), before + 1);
}

TEST_F(WindowTest, HelpAddressesAndTheUserGuide) {
  EXPECT_STREQ(kHomePageURL, "https://www.veltrix-barcode.example/");
  EXPECT_STREQ(kSupportMailURL, "mailto:support@veltrix-barcode.example"
                                "?Subject=Veltrix%20BarCode%20Support%20Request");
  EXPECT_EQ(LaunchURL(""), -50);
  EXPECT_EQ(LaunchURL("not a url"), -50);
  const std::string guide = ApplUserGuidePath();
  ASSERT_FALSE(guide.empty());
  std::ifstream file(guide);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find("Veltrix BarCode User Guide"), std::string::npos);
}
