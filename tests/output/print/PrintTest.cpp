// Printing a document window: the page the print job makes (exported to a PDF file) read back by a
// scanner and measured, the Page Setup kept by each window, and the Print dialog.
#include "app/Harness.h"

#include "output/print/Print.h"
#include "render/BarCodeRender.h"

#include <gtk/gtkunixprint.h>

#include <cmath>
#include <map>

static std::string PrintToFile(Gtk::Window& window) {
  const std::string pdf = TestTempDir() + "/page.pdf";
  EXPECT_EQ(WinDoPrintWindowToFile(window, pdf), 0);
  return pdf;
}

// A table's coordinate: a number, or one of the named lengths plus a number.
static double Coordinate(const std::string& cell, const std::map<char, double>& named) {
  const auto base = named.find(cell[0]);
  if (base == named.end()) return std::stod(cell);
  return base->second + (cell.size() > 1 ? std::stod(cell.substr(1)) : 0);
}

TEST(PrintTest, PrintedPagesCarryTheirTextsAndASymbolThatScans) {
  for (const Cells& row : ReadCells("print_pages.tsv")) {
    SCOPED_TRACE(testing::PrintToString(row));
    const std::string pdf = PrintToFile(NewWindow(row[0], row[1]));
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
    std::string text = "\n";
    text += PdfText(pdf);
    for (size_t line = 4; line < row.size(); ++line) {
      EXPECT_NE(text.find("\n" + row[line] + "\n"), std::string::npos) << row[line] << text;
    }
    EXPECT_EQ(ZXingRead(RasterizeOnWhite(pdf, 1, 144), row[2]), Cells{row[3]});
  }
}

// On a letter page and on a paper as wide as letter is high.
TEST(PrintTest, TheLayoutStandsWhereThePageGeometrySays) {
  for (const Gtk::PaperSize& paper :
       {Gtk::PaperSize("na_letter"), Gtk::PaperSize("wide", "Wide", 792, 612, Gtk::Unit::POINTS)}) {
    SCOPED_TRACE(paper.get_name());
    Gtk::Window& window = NewWindow("EAN-13", "400638133393");
    const Glib::RefPtr<Gtk::PageSetup> setup = Gtk::PageSetup::create();
    setup->set_paper_size_and_default_margins(paper);
    WinDataGet(window)->pageFormat = setup;
    const PagePixels page = ReadPixels(PdfPagePng(PrintToFile(window), 288), 4);
    // The printable area, its size rounded to whole points, and the symbol's box centred on it.
    const double exactHeight = setup->get_page_height(Gtk::Unit::POINTS);
    const double W = std::nearbyint(setup->get_page_width(Gtk::Unit::POINTS));
    const double H = std::nearbyint(exactHeight);
    BarCodeDataRec rec = MakeRecord(kBarCodeEAN13, "400638133393");
    BarCodeRect box;
    ASSERT_EQ(BarCodeGetSize(rec, box), 1);
    BarCodeDataRecRelease(&rec);
    const double left = std::nearbyint(W / 2 - box.width / 2);
    const double bottom = H - std::nearbyint(H / 2 - box.height / 2);
    const std::map<char, double> named = {{'W', W},      {'H', H},
                                          {'L', left},   {'R', left + box.width},
                                          {'B', bottom}, {'T', bottom - box.height}};
    // The page is drawn y up from the area's lower-left corner, which lies at the exact height.
    const double x0 = setup->get_left_margin(Gtk::Unit::POINTS);
    const double y0 = setup->get_top_margin(Gtk::Unit::POINTS) + exactHeight - H;
    for (const Cells& row : ReadCells("print_page.tsv")) {
      SCOPED_TRACE(testing::PrintToString(row));
      const double x1 = x0 + Coordinate(row[1], named), y1 = y0 + Coordinate(row[2], named);
      const double x2 = x0 + Coordinate(row[3], named), y2 = y0 + Coordinate(row[4], named);
      double first = x1, last = x2; // the first and last columns with ink
      while (first < x2 && page.Ink(first, y1, first, y2) == 0)
        first += 1 / page.scale;
      while (last > x1 && page.Ink(last, y1, last, y2) == 0)
        last -= 1 / page.scale;
      bool holds = std::abs((first + last) / 2 - (x0 + W / 2)) < 1.5 && first < last;
      if (row[0] == "ink" || row[0] == "blank")
        holds = (page.Ink(x1, y1, x2, y2) > 0) == (row[0] == "ink");
      else if (row[0] == "baseline") // only descenders go below a baseline
        holds = page.Ink(x1, y1 - 1, x2, y1 - 0.25) > 3 * page.Ink(x1, y1 + 0.25, x2, y1 + 1.25);
      EXPECT_TRUE(holds) << "ink from " << first << " to " << last;
    }
  }
}

// Page Setup is made on first use and kept by the window for every later print; Cancel keeps the
// choice.
TEST(PrintTest, PageSetupIsKeptByEachWindow) {
  Gtk::Window& window = NewWindow("EAN-13", "501234567890");
  EXPECT_EQ(GetDocNumPages(window), 0);
  for (auto [orientation, answer] : {std::pair{Gtk::PageOrientation::LANDSCAPE, "Apply"},
                                     std::pair{Gtk::PageOrientation::PORTRAIT, "Cancel"}}) {
    const std::vector<GtkWindow*> before = ShownWindows();
    ASSERT_TRUE(RunCommand(window, "menu:File/Page Setup…"));
    auto* dialog = GTK_PAGE_SETUP_UNIX_DIALOG(WaitForNew(before));
    EXPECT_EQ(gtk_page_setup_get_orientation(gtk_page_setup_unix_dialog_get_page_setup(dialog)),
              answer == std::string("Apply") ? GTK_PAGE_ORIENTATION_PORTRAIT
                                             : GTK_PAGE_ORIENTATION_LANDSCAPE)
        << "the dialog shows the window's page setup";
    Glib::RefPtr<Gtk::PageSetup> letter = Gtk::PageSetup::create();
    letter->set_paper_size_and_default_margins(Gtk::PaperSize("na_letter"));
    letter->set_orientation(orientation);
    gtk_page_setup_unix_dialog_set_page_setup(dialog, letter->gobj());
    ASSERT_TRUE(Press(GTK_WINDOW(dialog), answer));
    EXPECT_EQ(PdfInfo(PrintToFile(window), "Page size").substr(0, 9), "792 x 612") << answer;
  }
  // Another window has a page setup of its own.
  EXPECT_NE(PdfInfo(PrintToFile(NewWindow("EAN-13", "501")), "Page size").substr(0, 9),
            "792 x 612");
}

// The Print dialog holds the window's print settings while open, and prints when accepted; a range
// that starts after the one page prints nothing.
TEST(PrintTest, ThePrintDialogPrintsWhenAccepted) {
  Gtk::Window& window = NewWindow("EAN-13", "501234567890");
  WinData* data = WinDataGet(window);
  for (const std::string pages : {"1-2", "0-0"}) { // settings count from 0: the user's 2-3, then 1
    const std::vector<GtkWindow*> before = ShownWindows();
    ASSERT_TRUE(RunCommand(window, "menu:File/Print…"));
    GtkWindow* dialog = WaitForNew(before);
    ASSERT_TRUE(data->printSettings && data->printJob);
    EXPECT_NE(WinDoPrintWindow(window, 0), 0) << "one Print dialog at a time";
    const std::string pdf = TestTempDir() + "/printed.pdf";
    Glib::RefPtr<Gtk::PrintSettings> settings = Gtk::PrintSettings::create();
    settings->set_printer("Print to File"); // the printer that prints to a file
    settings->set(GTK_PRINT_SETTINGS_OUTPUT_URI, Glib::filename_to_uri(pdf));
    settings->set(GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    settings->set_print_pages(Gtk::PrintPages::RANGES);
    settings->set(GTK_PRINT_SETTINGS_PAGE_RANGES, pages);
    gtk_print_unix_dialog_set_settings(GTK_PRINT_UNIX_DIALOG(dialog), settings->gobj());
    ASSERT_TRUE(PumpUntil([&] {
      GtkPrinter* printer =
          gtk_print_unix_dialog_get_selected_printer(GTK_PRINT_UNIX_DIALOG(dialog));
      return printer && gtk_printer_is_virtual(printer);
    }));
    ASSERT_TRUE(Press(dialog, "Print"));
    EXPECT_TRUE(PumpUntil([&] { return !data->printSettings && !data->printJob; }, 15000));
    EXPECT_EQ(FileExists(pdf) ? PdfInfo(pdf, "Pages") : "0", pages == "0-0" ? "1" : "0");
  }
}
