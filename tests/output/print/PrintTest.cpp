// Printing a document window: the page the print job makes (exported to a PDF file), the symbol on
// it read back by a scanner, where its crop marks and rules stand, and the Page Setup and Print
// dialogs with the window's page setup kept between them.
#include "app/AppTestSupport.h"
#include "output/print/PrintTestSupport.h"

#include "app/Toolbar.h"
#include "app/WinControls.h"
#include "app/WinData.h"
#include "model/BarCodeDataRec.h"
#include "output/print/Print.h"
#include "render/BarCodeRender.h"

#include <gtest/gtest.h>
#include <gtk/gtkunixprint.h>
#include <gtkmm.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr const char* kHeading = "Veltrix BarCode";
constexpr const char* kFooter = "Veltrix BarCode 2.20 \u2022 https://www.veltrix-barcode.example/";
constexpr int kDpi = 288; // four pixels to the point

class PrintTest : public testing::Test {
protected:
  void TearDown() override { CloseAllWindows(); }
};

// A letter page with the printing system's default margins for it, as Page Setup makes it.
Glib::RefPtr<Gtk::PageSetup> LetterPage(Gtk::PageOrientation orientation) {
  Glib::RefPtr<Gtk::PageSetup> setup = Gtk::PageSetup::create();
  setup->set_paper_size_and_default_margins(Gtk::PaperSize("na_letter"));
  setup->set_orientation(orientation);
  return setup;
}

Gtk::Window& WindowWith(int symbology, const std::string& data) {
  Gtk::Window& window = NewShownWindow();
  ChooseSymbology(window, symbology);
  TypeInto(window, kViewData, data);
  return window;
}

std::string PrintToFile(Gtk::Window& window, const std::string& name) {
  const std::string pdf = TestTempDir() + "/" + name;
  EXPECT_EQ(WinDoPrintWindowToFile(window, pdf), 0);
  return pdf;
}

// The visible toplevel of a GTK type (a print or page setup dialog), or null. Asked of GTK itself:
// a C++ wrapper made for GTK's own print dialog would outlive it.
GtkWindow* FindDialog(GType type) {
  GList* toplevels = gtk_window_list_toplevels();
  GtkWindow* found = nullptr;
  for (GList* item = toplevels; item && !found; item = item->next)
    if (G_TYPE_CHECK_INSTANCE_TYPE(item->data, type) &&
        gtk_widget_get_visible(GTK_WIDGET(item->data)))
      found = GTK_WINDOW(item->data);
  g_list_free(toplevels);
  return found;
}

GtkWindow* WaitForDialog(GType type) {
  GtkWindow* dialog = nullptr;
  PumpUntil([&] { return (dialog = FindDialog(type)) != nullptr; }, 10000);
  return dialog;
}

// The user's answer to a dialog.
void Answer(GtkWindow* dialog, int response) {
  gtk_dialog_response(GTK_DIALOG(dialog), response);
  Pump();
}

// The first check button under the root with that label.
Gtk::Widget* FindLabelled(Gtk::Widget& root, const std::string& label) {
  if (auto* check = dynamic_cast<Gtk::CheckButton*>(&root);
      check && std::string(check->get_label()) == label)
    return check;
  for (Gtk::Widget* child = root.get_first_child(); child; child = child->get_next_sibling())
    if (Gtk::Widget* found = FindLabelled(*child, label)) return found;
  return nullptr;
}

// The labels of the ticked check buttons under the root.
std::vector<std::string> TickedButtons(Gtk::Widget& root) {
  std::vector<std::string> ticked;
  if (auto* check = dynamic_cast<Gtk::CheckButton*>(&root); check && check->get_active())
    ticked.push_back(check->get_label());
  for (Gtk::Widget* child = root.get_first_child(); child; child = child->get_next_sibling())
    for (const std::string& label : TickedButtons(*child))
      ticked.push_back(label);
  return ticked;
}

// The EAN-13 text of twelve digits, with the check digit computed from the GS1 rule.
std::string Ean13(const std::string& twelve) {
  return twelve + GtinCheck(twelve);
}

} // namespace

TEST_F(PrintTest, PrintedPageCarriesItsTextsAndASymbolThatScans) {
  struct Case {
    int symbology;
    std::string data, formats, expected, title;
  } cases[] = {
      {kBarCodeEAN13, "501234567890", "EAN13", Ean13("501234567890"), "EAN-13 501234567890"},
      {kBarCodeCode128, "VELTRIX-220", "Code128", "VELTRIX-220", "Code-128 VELTRIX-220"},
      {kBarCodeQRCode, "https://example.org/item?id=42", "QRCode", "https://example.org/item?id=42",
       "QRCode https://example.org/item?id=42"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    Gtk::Window& window = WindowWith(c.symbology, c.data);
    const std::string pdf = PrintToFile(window, "page.pdf");
    ASSERT_TRUE(FileExists(pdf));
    EXPECT_EQ(PdfPageCount(pdf), 1);
    const std::string text = PdfText(pdf);
    for (const std::string& line : {std::string(kHeading), c.title, std::string(kFooter)})
      EXPECT_NE(text.find(line + "\n"), std::string::npos) << line << " in:\n" << text;
    EXPECT_EQ(ZXingRead(RasterizeOnWhite(pdf, 1, kDpi), c.formats),
              std::vector<std::string>{c.expected});
    window.close();
    Pump();
  }
}

TEST_F(PrintTest, CropMarksAndRulesStandWhereThePageGeometrySays) {
  Gtk::Window& window = WindowWith(kBarCodeEAN13, "400638133393");
  const Glib::RefPtr<Gtk::PageSetup> letter = LetterPage(Gtk::PageOrientation::PORTRAIT);
  WinDataGet(window)->pageFormat = letter;
  const std::string pdf = PrintToFile(window, "letter.pdf");
  EXPECT_EQ(PdfPageSize(pdf), "612 x 792");
  const PagePixels page = PagePixels::FromPNG(RasterizePdfPage(pdf, kDpi), kDpi / 72.0);
  ASSERT_TRUE(page.Valid());
  ASSERT_NEAR(page.Width(), 612, 0.5);

  // The printable area: its corner on the paper, its exact height, and its size rounded to whole
  // points. The page is drawn y up from the area's lower-left corner.
  const double left = letter->get_left_margin(Gtk::Unit::POINTS);
  const double top = letter->get_top_margin(Gtk::Unit::POINTS);
  const double exactHeight = letter->get_page_height(Gtk::Unit::POINTS);
  const double W = std::nearbyint(letter->get_page_width(Gtk::Unit::POINTS));
  const double H = std::nearbyint(exactHeight);
  ASSERT_EQ(W, 576);
  ASSERT_EQ(H, 734);
  auto paperX = [&](double x) { return left + x; };
  auto paperY = [&](double up) { return top + exactHeight - up; };

  // The symbol, centred on the area: its box's lower-left corner at (rint(W/2 - w/2),
  // rint(H/2 - h/2)). Crop marks are 20 long, 20 away from each corner along its edges.
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  GetWindowData(window, &rec, nullptr, nullptr);
  BarCodeRect box;
  ASSERT_EQ(BarCodeGetSize(rec, box), 1);
  BarCodeDataRecRelease(&rec);
  const double x0 = std::nearbyint(W / 2 - box.width / 2);
  const double y0 = std::nearbyint(H / 2 - box.height / 2);
  const double x1 = x0 + box.width, y1 = y0 + box.height;
  struct Corner {
    double x, y, dx, dy; // the corner and the outward directions of its two marks
  } corners[] = {{x0, y0, -1, -1}, {x1, y0, 1, -1}, {x1, y1, 1, 1}, {x0, y1, -1, 1}};
  int marks = 0;
  for (const Corner& c : corners) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
    // One mark along the horizontal edge, one along the vertical edge.
    for (bool horizontal : {true, false}) {
      auto at = [&](double distance) {
        const double x = horizontal ? c.x + c.dx * distance : c.x;
        const double y = horizontal ? c.y : c.y + c.dy * distance;
        return page.DarkNear(paperX(x), paperY(y), 0.25);
      };
      EXPECT_TRUE(at(21) && at(30) && at(39));
      EXPECT_FALSE(at(10)) << "the gap between symbol and mark";
      EXPECT_FALSE(at(18.5));
      EXPECT_FALSE(at(41.5));
      marks += at(30) ? 1 : 0;
    }
  }
  EXPECT_EQ(marks, 8);

  // The rules span the printable width less 10 on either side, at 10 and 60 below the area's top
  // and 28 above its bottom.
  for (double up : {H - 10, H - 60, 28.0}) {
    SCOPED_TRACE(up);
    for (double x : {10.5, W / 4, W - 10.5})
      EXPECT_TRUE(page.DarkNear(paperX(x), paperY(up), 0.25)) << x;
    EXPECT_FALSE(page.DarkNear(paperX(9), paperY(up), 0.4));
    EXPECT_FALSE(page.DarkNear(paperX(W - 9), paperY(up), 0.4));
    EXPECT_FALSE(page.DarkNear(paperX(W / 4), paperY(up + 1), 0.25));
  }
}

TEST_F(PrintTest, TheSymbolIsCentredOnThePrintableArea) {
  // A large symbol stays whole on the page and reads back.
  Gtk::Window& window = WindowWith(kBarCodeQRCode, "centred on the page");
  if (auto* scale = ViewFindAs<Gtk::Range>(window, kViewScale)) scale->set_value(400);
  const Glib::RefPtr<Gtk::PageSetup> letter = LetterPage(Gtk::PageOrientation::PORTRAIT);
  WinDataGet(window)->pageFormat = letter;
  const std::string pdf = PrintToFile(window, "large.pdf");
  const PagePixels page = PagePixels::FromPNG(RasterizePdfPage(pdf, kDpi), kDpi / 72.0);
  ASSERT_TRUE(page.Valid());
  const double left = letter->get_left_margin(Gtk::Unit::POINTS);
  const double top = letter->get_top_margin(Gtk::Unit::POINTS);
  const double width = letter->get_page_width(Gtk::Unit::POINTS);
  const double height = letter->get_page_height(Gtk::Unit::POINTS);
  // The ink between the rules under the heading and over the title line is the symbol's.
  double inkLeft = 0, inkRight = 0;
  ASSERT_TRUE(
      page.InkSpan(left + 11, top + 61, left + width - 11, top + height - 29, inkLeft, inkRight));
  EXPECT_NEAR((inkLeft + inkRight) / 2, left + width / 2, 1.5);
  EXPECT_EQ(ZXingRead(RasterizeOnWhite(pdf, 1, 144), "QRCode"),
            std::vector<std::string>{"centred on the page"});
}

TEST_F(PrintTest, PageSetupIsMadeOnFirstUseAndKeptByTheWindow) {
  Gtk::Window& window = WindowWith(kBarCodeEAN13, "501234567890");
  EXPECT_EQ(GetDocNumPages(window), 0) << "no page setup before the first use";
  const std::string pdf = PrintToFile(window, "default.pdf");
  EXPECT_EQ(GetDocNumPages(window), 1);
  Glib::RefPtr<Gtk::PageSetup> made = WinDataGet(window)->pageFormat;
  ASSERT_TRUE(made);
  // The printing system's default paper.
  Gtk::PaperSize paper(Gtk::PaperSize::get_default());
  EXPECT_EQ(made->get_paper_size().get_name(), paper.get_name());
  double width = 0, height = 0;
  ASSERT_EQ(std::sscanf(PdfPageSize(pdf).c_str(), "%lf x %lf", &width, &height), 2);
  EXPECT_NEAR(width, paper.get_width(Gtk::Unit::POINTS), 0.5);
  EXPECT_NEAR(height, paper.get_height(Gtk::Unit::POINTS), 0.5);
  PrintToFile(window, "again.pdf");
  EXPECT_EQ(WinDataGet(window)->pageFormat, made) << "the same page setup serves every print";
}

TEST_F(PrintTest, PageSetupChoiceIsUsedByLaterPrints) {
  Gtk::Window& window = WindowWith(kBarCodeEAN13, "501234567890");
  ASSERT_TRUE(ActivateAction(window, "win.page"));
  GtkWindow* dialog = WaitForDialog(GTK_TYPE_PAGE_SETUP_UNIX_DIALOG);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(gtk_window_get_modal(dialog));
  EXPECT_EQ(gtk_window_get_transient_for(dialog), window.gobj());
  // The user picks US Letter and ticks Landscape, which is then the only orientation ticked.
  gtk_page_setup_unix_dialog_set_page_setup(GTK_PAGE_SETUP_UNIX_DIALOG(dialog),
                                            LetterPage(Gtk::PageOrientation::PORTRAIT)->gobj());
  Gtk::Widget& dialogWidget = *Glib::wrap(GTK_WIDGET(dialog));
  auto* landscape = dynamic_cast<Gtk::CheckButton*>(FindLabelled(dialogWidget, "Landscape"));
  ASSERT_NE(landscape, nullptr);
  landscape->set_active(true);
  EXPECT_EQ(TickedButtons(dialogWidget), std::vector<std::string>{"Landscape"});
  Answer(dialog, GTK_RESPONSE_OK);
  EXPECT_EQ(FindDialog(GTK_TYPE_PAGE_SETUP_UNIX_DIALOG), nullptr);
  ASSERT_TRUE(WinDataGet(window)->pageFormat);
  EXPECT_EQ(WinDataGet(window)->pageFormat->get_orientation(), Gtk::PageOrientation::LANDSCAPE);
  // Two prints, both on the chosen page.
  for (const char* name : {"first.pdf", "second.pdf"}) {
    const std::string pdf = PrintToFile(window, name);
    EXPECT_EQ(PdfPageSize(pdf), "792 x 612") << name;
    EXPECT_EQ(ZXingRead(RasterizeOnWhite(pdf, 1, kDpi), "EAN13"),
              std::vector<std::string>{Ean13("501234567890")});
  }
  // Cancel leaves the choice as it was.
  WinDoPageSetup(window);
  dialog = WaitForDialog(GTK_TYPE_PAGE_SETUP_UNIX_DIALOG);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TickedButtons(*Glib::wrap(GTK_WIDGET(dialog))), std::vector<std::string>{"Landscape"});
  gtk_page_setup_unix_dialog_set_page_setup(GTK_PAGE_SETUP_UNIX_DIALOG(dialog),
                                            LetterPage(Gtk::PageOrientation::PORTRAIT)->gobj());
  Answer(dialog, GTK_RESPONSE_CANCEL);
  EXPECT_EQ(WinDataGet(window)->pageFormat->get_orientation(), Gtk::PageOrientation::LANDSCAPE);
  EXPECT_EQ(PdfPageSize(PrintToFile(window, "third.pdf")), "792 x 612");
  // Another window has a page setup of its own.
  Gtk::Window& other = WindowWith(kBarCodeEAN13, "501234567890");
  EXPECT_NE(PdfPageSize(PrintToFile(other, "other.pdf")), "792 x 612");
}

TEST_F(PrintTest, PrintDialogIsModalAndCancelPrintsNothing) {
  // The toolbar as it comes, with its Print item (other tests of this process rearrange it).
  ToolbarSetArrangement(kMainToolbar, ToolbarGetDefaultIdentifiers(kMainToolbar));
  Gtk::Window& window = WindowWith(kBarCodeEAN13, "501234567890");
  // The toolbar's Print item runs the Print command.
  ClickButton(FindNamed(window, kToolbarPrintIdentifier));
  GtkWindow* dialog = WaitForDialog(GTK_TYPE_PRINT_UNIX_DIALOG);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(gtk_window_get_modal(dialog));
  EXPECT_EQ(gtk_window_get_transient_for(dialog), window.gobj());
  // The print settings exist while the dialog is open; the job is named after the window.
  WinData* data = WinDataGet(window);
  ASSERT_TRUE(data->printSettings);
  ASSERT_TRUE(data->printJob);
  EXPECT_EQ(data->printJob->property_job_name().get_value(), window.get_title());
  EXPECT_NE(WinDoPrintWindow(window, 0), 0) << "one Print dialog at a time";
  Answer(dialog, GTK_RESPONSE_CANCEL);
  EXPECT_TRUE(PumpUntil([&] { return !data->printSettings && !data->printJob; }));
  EXPECT_EQ(FindDialog(GTK_TYPE_PRINT_UNIX_DIALOG), nullptr);
  // The page setup stays with the window; the next Print opens the dialog again.
  EXPECT_EQ(GetDocNumPages(window), 1);
  EXPECT_EQ(WinDoPrintWindow(window, 0), 0);
  dialog = WaitForDialog(GTK_TYPE_PRINT_UNIX_DIALOG);
  ASSERT_NE(dialog, nullptr);
  Answer(dialog, GTK_RESPONSE_CANCEL);
  EXPECT_TRUE(PumpUntil([&] { return !data->printJob; }));
}

TEST_F(PrintTest, AcceptedPrintDialogPrintsThePage) {
  struct Case {
    const char* name;
    const char* pages; // the page range chosen in the dialog; null: all pages
    int printed;
  } cases[] = {{"all pages", nullptr, 1}, {"pages 2 to 3", "2-3", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Gtk::Window& window = WindowWith(kBarCodeEAN13, "501234567890");
    const std::string pdf = TestTempDir() + "/printed.pdf";
    ASSERT_EQ(WinDoPrintWindow(window, 0), 0);
    GtkWindow* dialog = WaitForDialog(GTK_TYPE_PRINT_UNIX_DIALOG);
    ASSERT_NE(dialog, nullptr);
    // The user picks the printer that prints to a PDF file, and a page range.
    Glib::RefPtr<Gtk::PrintSettings> chosen = Gtk::PrintSettings::create();
    chosen->set_printer("Print to File");
    chosen->set(GTK_PRINT_SETTINGS_OUTPUT_URI, Glib::filename_to_uri(pdf));
    chosen->set(GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    if (c.pages) {
      chosen->set_print_pages(Gtk::PrintPages::RANGES);
      chosen->set(GTK_PRINT_SETTINGS_PAGE_RANGES, c.pages);
    }
    gtk_print_unix_dialog_set_settings(GTK_PRINT_UNIX_DIALOG(dialog), chosen->gobj());
    ASSERT_TRUE(PumpUntil(
        [&] {
          GtkPrinter* printer =
              gtk_print_unix_dialog_get_selected_printer(GTK_PRINT_UNIX_DIALOG(dialog));
          return printer && gtk_printer_is_virtual(printer);
        },
        10000));
    Answer(dialog, GTK_RESPONSE_OK);
    WinData* data = WinDataGet(window);
    ASSERT_TRUE(PumpUntil([&] { return !data->printJob; }, 15000));
    EXPECT_FALSE(data->printSettings);
    if (c.printed == 0) {
      EXPECT_TRUE(!FileExists(pdf) || PdfPageCount(pdf) <= 0);
    } else {
      ASSERT_TRUE(FileExists(pdf));
      EXPECT_EQ(PdfPageCount(pdf), c.printed);
      EXPECT_NE(PdfText(pdf).find(kFooter), std::string::npos);
      EXPECT_EQ(ZXingRead(RasterizeOnWhite(pdf, 1, kDpi), "EAN13"),
                std::vector<std::string>{Ean13("501234567890")});
    }
    window.close();
    Pump();
  }
}

TEST_F(PrintTest, CopiesGivenAreFilledIntoTheDialog) {
  Gtk::Window& window = WindowWith(kBarCodeEAN13, "501234567890");
  for (int copies : {3, 1}) {
    SCOPED_TRACE(copies);
    ASSERT_EQ(WinDoPrintWindow(window, copies), 0);
    GtkWindow* dialog = WaitForDialog(GTK_TYPE_PRINT_UNIX_DIALOG);
    ASSERT_NE(dialog, nullptr);
    GtkPrintSettings* shown = gtk_print_unix_dialog_get_settings(GTK_PRINT_UNIX_DIALOG(dialog));
    EXPECT_EQ(gtk_print_settings_get_n_copies(shown), copies);
    g_object_unref(shown);
    Answer(dialog, GTK_RESPONSE_CANCEL);
    EXPECT_TRUE(PumpUntil([&] { return !WinDataGet(window)->printJob; }));
  }
}

TEST_F(PrintTest, WindowsThatAreNotDocumentsHaveNothingToPrint) {
  Gtk::Window plain;
  EXPECT_EQ(GetDocNumPages(plain), 0);
  EXPECT_EQ(WinDoPrintWindow(plain, 0), kPrintErrParam);
  EXPECT_EQ(WinDoPageSetup(plain), kPrintErrParam);
  EXPECT_EQ(WinDoPrintWindowToFile(plain, TestTempDir() + "/none.pdf"), kPrintErrParam);
  EXPECT_EQ(FindDialog(GTK_TYPE_PRINT_UNIX_DIALOG), nullptr);
}
