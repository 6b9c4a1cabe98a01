#include "app/WinPreview.h"

#include "app/WinControls.h"
#include "app/WinData.h"
#include "app/WinWorker.h"
#include "render/BarCodeRender.h"

#include <gtkmm.h>

#include <algorithm>
#include <cmath>

namespace {

// Screen pixels left free around a fitted symbol, so that it does not touch the frame.
constexpr double kFitMargin = 8;

// Everything of a request that changes its picture; data may hold any character, so each text is
// given with its length.
std::string RequestKey(const BarCodeDataRec& rec) {
  std::string key;
  for (int32_t n : {rec.symbology, rec.scale, rec.trim, static_cast<int32_t>(rec.antialiasOff),
                    static_cast<int32_t>(rec.fontSmoothOff)})
    key += std::to_string(n) + ',';
  for (const BarCodeString& text : {rec.data, rec.addon, rec.display})
    key += std::to_string(text->size()) + ':' + *text;
  return key;
}

bool Drawable(BarCodeRect box) {
  return box.width > 0 && box.height > 0;
}

// The zoom within what the preview keeps: at most kPreviewMaxZoom, and a picture no larger than
// kPreviewMaxPixels a side; at least 1.
int32_t Bounded(BarCodeRect box, double k) {
  const double side =
      std::max({static_cast<double>(box.width), static_cast<double>(box.height), 1.0});
  k = std::min({k, static_cast<double>(kPreviewMaxZoom), std::floor(kPreviewMaxPixels / side)});
  return std::max(1, static_cast<int32_t>(k));
}

WinPreview* PreviewOf(Gtk::Window& window) {
  WinData* data = WinDataGet(window);
  return data ? data->preview.get() : nullptr;
}

// The area the symbol is fitted to: the scrolled window's, whatever size the view has grown to.
Gtk::Widget& VisibleArea(Gtk::Widget& view) {
  Gtk::Widget* scroller = view.get_ancestor(GTK_TYPE_SCROLLED_WINDOW);
  return scroller ? *scroller : view;
}

// The symbol at k screen pixels per unit on white, through the render driver with a copy of the
// request at that scale: every unit is whole pixels, so bars have no grey seams.
cairo_surface_t* RenderPicture(const BarCodeDataRec& rec, BarCodeRect box, int32_t k) {
  const int width = static_cast<int>(std::ceil(box.width * k));
  const int height = static_cast<int>(std::ceil(box.height * k));
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cg = cairo_create(image);
  cairo_set_source_rgb(cg, 1, 1, 1);
  cairo_paint(cg);
  BarCodeDataRec copy = rec;
  copy.scale = 100 * k;
  copy.position = kPositionPreview;
  copy.epsText = nullptr;
  BarCodeUpdateImage(cg, static_cast<float>(width), static_cast<float>(height), &copy);
  cairo_destroy(cg);
  cairo_surface_flush(image);
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) return image;
  cairo_surface_destroy(image);
  return nullptr;
}

// The area a fitted symbol fills, in screen pixels, and the screen's pixels per point.
struct Area {
  double width = 0, height = 0;
  int screen = 1;
};

int32_t FactorFor(BarCodeRect box, int32_t zoom, Area area) {
  return zoom == kZoomToFit ? PreviewFitFactor(box, area.width, area.height) : Bounded(box, zoom);
}

Area AreaOf(Gtk::Widget& view) {
  const Gtk::Widget& area = VisibleArea(view);
  const int screen = view.get_scale_factor();
  return {(area.get_width() - 2 * kFitMargin) * screen,
          (area.get_height() - 2 * kFitMargin) * screen, screen};
}

// On the thread: the request measured, what the engine says of it, and its picture.
std::shared_ptr<WinPicture> MakePicture(const std::string& key, const BarCodeDataRec& rec,
                                        int32_t zoom, Area area) {
  auto picture = std::make_shared<WinPicture>();
  picture->requestKey = key;
  BarCodeDataRecRelease(&picture->rec);
  picture->rec = rec;
  picture->rec.notices = std::make_shared<std::vector<std::string>>();
  picture->box = BarCodeGetUnscaledSize(picture->rec);
  picture->notices = std::move(*picture->rec.notices);
  picture->rec.notices = nullptr;
  picture->pixelsPerUnit = FactorFor(picture->box, zoom, area);
  if (!Drawable(picture->box)) {
    picture->refusal = BarCodeRefusal(picture->rec);
    return picture;
  }
  picture->carried = BarCodeCarriedText(picture->rec);
  picture->image = RenderPicture(picture->rec, picture->box, picture->pixelsPerUnit);
  return picture;
}

// The view as large as the symbol, so that a symbol larger than the area scrolls; the area
// stretches a smaller view to its own size.
void SizeView(Gtk::DrawingArea& view, WinPreview& preview) {
  const WinPicture& shown = *preview.shown;
  const int k = Drawable(shown.box) ? shown.pixelsPerUnit : 0;
  const int screen = view.get_scale_factor();
  const int width = static_cast<int>(std::ceil(shown.box.width * k / screen));
  const int height = static_cast<int>(std::ceil(shown.box.height * k / screen));
  if (view.get_content_width() != width) {
    view.set_content_width(width);
    preview.recenter[0] = true;
  }
  if (view.get_content_height() != height) {
    view.set_content_height(height);
    preview.recenter[1] = true;
  }
  view.queue_draw();
}

// Back on the main loop: the picture goes on screen if it is still the one asked for.
void Show(Gtk::Window& window, uint64_t generation, std::shared_ptr<const WinPicture> picture) {
  WinPreview* preview = PreviewOf(window);
  auto* view = ViewFindAs<Gtk::DrawingArea>(window, kViewPreview);
  if (!preview || !view || generation != preview->generation) return;
  preview->shown = std::move(picture);
  preview->pending = false;
  SizeView(*view, *preview);
  WinRefresh(window);
}

// Asks the thread for the picture of a request at the window's zoom.
void Ask(Gtk::Window& window, WinPreview& preview, std::string key, const BarCodeDataRec& rec,
         Area area) {
  preview.pending = true;
  WinWorkerPost(&preview, WinWork::Picture,
                [link = WinDataGet(window)->link, generation = ++preview.generation,
                 key = std::move(key), request = WinCopyRequest(rec), zoom = preview.zoom, area] {
                  std::shared_ptr<const WinPicture> picture = MakePicture(key, request, zoom, area);
                  WinWorkerDeliver([link, generation, picture] {
                    if (link->window) Show(*link->window, generation, picture);
                  });
                });
}

int SetZoom(Gtk::Window& window, int32_t zoom) {
  if (WinPreview* preview = PreviewOf(window)) {
    preview->zoom = zoom;
    PreviewUpdate(window);
  }
  return 0;
}

} // namespace

WinPicture::WinPicture() {
  BarCodeDataRecCreate(&rec);
}

WinPicture::~WinPicture() {
  BarCodeDataRecRelease(&rec);
  if (image) cairo_surface_destroy(image);
}

int32_t PreviewFitFactor(BarCodeRect box, double areaWidth, double areaHeight) {
  if (!Drawable(box)) return 1;
  return Bounded(box, std::floor(std::min(areaWidth / box.width, areaHeight / box.height)));
}

void PreviewUpdate(Gtk::Window& window) {
  WinPreview* preview = PreviewOf(window);
  auto* view = ViewFindAs<Gtk::DrawingArea>(window, kViewPreview);
  if (!preview || !view) return;
  BarCodeDataRec rec;
  BarCodeDataRecCreate(&rec);
  rec.position = kPositionPreview;
  rec.epsText = nullptr; // the preview needs no EPS picture
  GetWindowData(window, &rec, nullptr, nullptr);
  std::string key = RequestKey(rec);
  const Area area = AreaOf(*view);
  const WinPicture& shown = *preview->shown;
  // A known request needs a new picture only at another zoom; a new one is measured first.
  const bool known = key == shown.requestKey;
  const int32_t k = known ? FactorFor(shown.box, preview->zoom, area) : -preview->zoom;
  std::string asked = key + '@' + std::to_string(k) + '@' + std::to_string(area.width) + 'x' +
                      std::to_string(area.height);
  if (known && k == shown.pixelsPerUnit) {
    // Back to what is on screen: a picture still being made for something else is not wanted.
    ++preview->generation;
    preview->pending = false;
    preview->asked.clear();
  } else if (asked != preview->asked) {
    preview->asked = std::move(asked);
    Ask(window, *preview, std::move(key), rec, area);
  }
  BarCodeDataRecRelease(&rec);
  SizeView(*view, *preview);
}

bool PreviewPending(Gtk::Window& window) {
  WinPreview* preview = PreviewOf(window);
  return preview && preview->pending;
}

void PreviewInstall(Gtk::Window& window) {
  auto* view = ViewFindAs<Gtk::DrawingArea>(window, kViewPreview);
  if (!view) return;
  view->set_draw_func([view](const Cairo::RefPtr<Cairo::Context>& cr, int, int) {
    UpdateWindowImage(cr->cobj(), *view);
  });
  // A fitted symbol follows the area's size.
  view->signal_resize().connect([&window](int, int) { SetWindowImageUpdate(window); });
  auto* scroller = dynamic_cast<Gtk::ScrolledWindow*>(&VisibleArea(*view));
  if (!scroller) return;
  const Glib::RefPtr<Gtk::Adjustment> axes[2] = {scroller->get_hadjustment(),
                                                 scroller->get_vadjustment()};
  for (int axis = 0; axis < 2; ++axis)
    axes[axis]->signal_changed().connect([&window, adjustment = axes[axis].get(), axis] {
      WinPreview* preview = PreviewOf(window);
      const double overflow = adjustment->get_upper() - adjustment->get_page_size();
      if (!preview || !preview->recenter[axis] || overflow <= 0) return;
      preview->recenter[axis] = false;
      // The area is being laid out when its scroll range changes: scroll once that is done.
      Glib::signal_idle().connect_once(sigc::track_object(
          [adjustment, overflow] { adjustment->set_value(std::floor(overflow / 2)); }, window));
    });
}

// The zoom the user last asked for, or the fitted one on screen.
int32_t CurrentZoom(const WinPreview& preview) {
  return preview.zoom == kZoomToFit ? preview.shown->pixelsPerUnit : preview.zoom;
}

int PreviewZoomIn(Gtk::Window& window) {
  WinPreview* preview = PreviewOf(window);
  return preview ? SetZoom(window, Bounded(preview->shown->box, CurrentZoom(*preview) + 1)) : 0;
}

int PreviewZoomOut(Gtk::Window& window) {
  WinPreview* preview = PreviewOf(window);
  return preview ? SetZoom(window, std::max(1, CurrentZoom(*preview) - 1)) : 0;
}

int PreviewZoomActual(Gtk::Window& window) {
  WinPreview* preview = PreviewOf(window);
  Gtk::Widget* view = ViewFindByID(window, kViewPreview);
  if (!preview || !view) return 0;
  // One unit is scale / 100 points, and a point one screen pixel at the screen's scale factor.
  const double pixels = preview->shown->rec.scale / 100.0 * view->get_scale_factor();
  return SetZoom(window, std::max(1, static_cast<int32_t>(std::lround(pixels))));
}

int PreviewZoomFit(Gtk::Window& window) {
  return SetZoom(window, kZoomToFit);
}

bool PreviewDrawable(Gtk::Window& window) {
  WinPreview* preview = PreviewOf(window);
  return preview && Drawable(preview->shown->box);
}

void PreviewDraw(cairo_t* cg, Gtk::Widget& view) {
  auto* window = dynamic_cast<Gtk::Window*>(view.get_root());
  WinPreview* preview = window ? PreviewOf(*window) : nullptr;
  cairo_save(cg);
  cairo_set_source_rgb(cg, 1, 1, 1); // as a scanner and a printout see it
  cairo_paint(cg);
  cairo_restore(cg);
  if (!preview) return;
  const WinPicture& shown = *preview->shown;
  if (!shown.image) {
    // The placeholder, without measuring the request again: it is the same for every request.
    BarCodeDataRec placeholder = shown.rec;
    placeholder.data = std::make_shared<std::string>();
    BarCodeUpdateImage(cg, static_cast<float>(view.get_width()),
                       static_cast<float>(view.get_height()), &placeholder);
    return;
  }
  // Centred on whole screen pixels: the picture's pixels are the screen's.
  const int screen = view.get_scale_factor();
  const double x =
      std::floor((view.get_width() * screen - cairo_image_surface_get_width(shown.image)) / 2.0);
  const double y =
      std::floor((view.get_height() * screen - cairo_image_surface_get_height(shown.image)) / 2.0);
  cairo_save(cg);
  cairo_scale(cg, 1.0 / screen, 1.0 / screen);
  cairo_set_source_surface(cg, shown.image, std::max(0.0, x), std::max(0.0, y));
  cairo_pattern_set_filter(cairo_get_source(cg), CAIRO_FILTER_NEAREST);
  cairo_paint(cg);
  cairo_restore(cg);
}
