// Page Setup, the Print dialog and the print job of a document window, through GTK's print
// operation. The window keeps its page setup ("PagF") while it is open; the print settings
// ("PrtS") live from the Print command until its dialog ends.
#include "output/print/Print.h"

#include "app/WinControls.h"
#include "app/WinData.h"
#include "model/BarCodeDataRec.h"
#include "render/BarCodeRender.h"

#include <gtkmm.h>

#include <cmath>
#include <memory>

namespace {

using Result = Gtk::PrintOperation::Result;

// The window's page setup, made with the printing system's defaults on first use. A page setup
// whose paper has no area can't be printed on: it is dropped and the error returned.
int DoSetupPageFormatForPrinting(Gtk::Window& window, Glib::RefPtr<Gtk::PageSetup>& pageFormat) {
  WinData* data = WinDataGet(window);
  if (!data) return kPrintErrParam;
  if (!data->pageFormat) data->pageFormat = Gtk::PageSetup::create();
  if (!(data->pageFormat->get_paper_width(Gtk::Unit::POINTS) > 0 &&
        data->pageFormat->get_paper_height(Gtk::Unit::POINTS) > 0)) {
    data->pageFormat.reset();
    return kPrintErrParam;
  }
  pageFormat = data->pageFormat;
  return 0;
}

// GTK 4.8's page setup dialog opens with three of its four orientation buttons ticked, so that
// ticking one of them changes nothing and the dialog answers portrait whatever the user chose.
// Cleared, they are a choice of one again, which setting the page setup afterwards ticks.
void ClearOrientationButtons(Gtk::Window& dialog) {
  for (const char* id :
       {"portrait_radio", "reverse_portrait_radio", "landscape_radio", "reverse_landscape_radio"})
    if (auto* button = dynamic_cast<Gtk::CheckButton*>(ViewFindByName(dialog, id)))
      button->set_active(false);
}

// The Page Setup dialog ended: the window keeps the page setup the user confirmed; Cancel leaves
// it as it was. The dialog is let go once its signal has returned.
void WinPageSetupDoneRoutine(Gtk::Window& window, int response) {
  WinData* data = WinDataGet(window);
  if (!data || !data->pageSetupDialog) return;
  auto* dialog = dynamic_cast<Gtk::PageSetupUnixDialog*>(data->pageSetupDialog.get());
  if (dialog && response == static_cast<int>(Gtk::ResponseType::OK))
    data->pageFormat = dialog->get_page_setup()->copy();
  data->pageSetupDialog->hide();
  Glib::signal_idle().connect_once([done = std::move(data->pageSetupDialog)] {});
}

// One page of the print job. The print context's origin is the printable area's top-left corner,
// y down, in points; a y-up base transform makes it the page context the drawing expects, origin
// at the printable area's lower-left corner. (GTK has already moved the origin from the paper's
// corner to the printable area's, so no further shift is made.)
void WinDoPrintPage(Gtk::Window& window, const Glib::RefPtr<Gtk::PrintContext>& context) {
  cairo_t* cg = context->get_cairo_context()->cobj();
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.position = kPositionPrint;
  rec.epsText = nullptr; // the page needs no EPS picture
  GetWindowData(window, &rec, nullptr, nullptr);
  const double width = std::nearbyint(std::fabs(context->get_width()));
  const double height = std::nearbyint(std::fabs(context->get_height()));
  cairo_save(cg);
  cairo_translate(cg, 0, context->get_height());
  cairo_scale(cg, 1, -1);
  MakePrintPageBackground(cg, width, height, rec);
  BarCodeUpdateImage(cg, static_cast<float>(width), static_cast<float>(height), &rec);
  cairo_restore(cg);
  BarCodeDataRecRelease(&rec);
}

// A print operation for the window's barcode on its page setup, or null when there is nothing
// to print. The job is named after the window; GTK runs the page loop and the page range.
Glib::RefPtr<Gtk::PrintOperation>
WinMakePrintJob(Gtk::Window& window, const Glib::RefPtr<Gtk::PageSetup>& pageFormat,
                const Glib::RefPtr<Gtk::PrintSettings>& settings) {
  const int pages = GetDocNumPages(window);
  if (pages < 1) return nullptr;
  Glib::RefPtr<Gtk::PrintOperation> job = Gtk::PrintOperation::create();
  job->set_default_page_setup(pageFormat);
  job->set_print_settings(settings);
  job->set_job_name(window.get_title());
  job->set_n_pages(pages);
  job->set_unit(Gtk::Unit::POINTS);
  job->signal_draw_page().connect(
      sigc::track_object([&window](const Glib::RefPtr<Gtk::PrintContext>& context,
                                   int) { WinDoPrintPage(window, context); },
                         window));
  return job;
}

// The Print dialog ended (and the job ran, when it was accepted): the print settings go, and the
// operation is let go once its signal has returned. Errors end the operation without a word.
void WinPrintDialogDoneRoutine(Gtk::Window& window, const Gtk::PrintOperation* job) {
  WinData* data = WinDataGet(window);
  if (!data || data->printJob.get() != job) return;
  data->printSettings.reset();
  Glib::signal_idle().connect_once([done = std::move(data->printJob)] {});
}

} // namespace

int GetDocNumPages(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  if (!data || !data->pageFormat) return 0;
  const double width = data->pageFormat->get_page_width(Gtk::Unit::POINTS);
  const double height = data->pageFormat->get_page_height(Gtk::Unit::POINTS);
  return width > 0 && height > 0 ? 1 : 0;
}

int WinDoPageSetup(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  if (!data) return kPrintErrParam;
  if (data->pageSetupDialog) { // already open: bring it forward
    data->pageSetupDialog->present();
    return 0;
  }
  Glib::RefPtr<Gtk::PageSetup> pageFormat;
  if (int status = DoSetupPageFormatForPrinting(window, pageFormat)) return status;
  auto dialog = std::make_shared<Gtk::PageSetupUnixDialog>(window, "Page Setup");
  dialog->set_modal(true);
  dialog->set_destroy_with_parent(true);
  dialog->set_print_settings(Gtk::PrintSettings::create());
  ClearOrientationButtons(*dialog);
  dialog->set_page_setup(pageFormat);
  dialog->signal_response().connect(sigc::track_object(
      [&window](int response) { WinPageSetupDoneRoutine(window, response); }, window));
  data->pageSetupDialog = dialog;
  dialog->present();
  return 0;
}

int WinDoPrintWindow(Gtk::Window& window, int copies) {
  WinData* data = WinDataGet(window);
  if (!data) return kPrintErrParam;
  if (data->printJob) return kPrintErrGeneral; // its Print dialog is still open
  Glib::RefPtr<Gtk::PageSetup> pageFormat;
  if (int status = DoSetupPageFormatForPrinting(window, pageFormat)) return status;
  Glib::RefPtr<Gtk::PrintSettings> settings = Gtk::PrintSettings::create();
  if (copies > 0) settings->set_n_copies(copies);
  Glib::RefPtr<Gtk::PrintOperation> job = WinMakePrintJob(window, pageFormat, settings);
  if (!job) return kPrintErrParam;
  data->printSettings = settings;
  data->printJob = job;
  job->set_allow_async(true);
  job->signal_done().connect(sigc::track_object(
      [&window, raw = job.get()](Result) { WinPrintDialogDoneRoutine(window, raw); }, window));
  try {
    if (job->run(Gtk::PrintOperation::Action::PRINT_DIALOG, window) == Result::ERROR) {
      WinPrintDialogDoneRoutine(window, job.get());
      return kPrintErrGeneral;
    }
  } catch (const Glib::Error&) {
    WinPrintDialogDoneRoutine(window, job.get());
    return kPrintErrGeneral;
  }
  return 0;
}

int WinDoPrintWindowToFile(Gtk::Window& window, const std::string& pdfPath) {
  Glib::RefPtr<Gtk::PageSetup> pageFormat;
  if (int status = DoSetupPageFormatForPrinting(window, pageFormat)) return status;
  Glib::RefPtr<Gtk::PrintOperation> job =
      WinMakePrintJob(window, pageFormat, Gtk::PrintSettings::create());
  if (!job) return kPrintErrParam;
  job->set_export_filename(pdfPath);
  try {
    return job->run(Gtk::PrintOperation::Action::EXPORT, window) == Result::ERROR ? kPrintErrGeneral
                                                                                  : 0;
  } catch (const Glib::Error&) {
    return kPrintErrGeneral;
  }
}
