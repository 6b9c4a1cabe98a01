// The decoration of a printed page: the emblem, three rules, the heading, the title line and the
// footer. The context is y-up with its origin at the printable area's lower-left corner; the
// layout is given as x from the left edge and distances down from the top edge.
#include "app/Application.h"
#include "model/BarCodeDataRec.h"
#include "model/BarCodeStrings.h"
#include "model/BarCodeTexts.h"
#include "output/print/Print.h"
#include "render/BarCodeGraphics.h"

#include <array>
#include <string>

namespace {

constexpr const char* kHeadingText = "Veltrix BarCode";
constexpr const char* kHeadingFont = "Lucida Grande";
constexpr double kHeadingSize = 20;
constexpr double kHeadingDown = 42; // plus the heading's measured height
constexpr const char* kTitleFont = "Lucida Grande";
constexpr double kTitleSize = 10;
constexpr double kTitleUp = 48;
constexpr int32_t kTitleMaxCharacters = 250;
constexpr const char* kFooterFont = "Helvetica";
constexpr double kFooterSize = 7;
constexpr double kFooterUp = 20;
constexpr const char* kFooterVersion = "Veltrix BarCode 2.20";

constexpr double kRuleInset = 10;
constexpr double kRuleWidth = 0.5;
constexpr std::array<double, 2> kRulesDown{10, 60};
constexpr double kLastRuleUp = 28;

// The emblem: two arrow-like wedges inside a ring, as (x, down).
constexpr std::array<BarCodePoint, 6> kEmblemUpper{
    {{26, 33.5}, {50, 33.5}, {50, 30.5}, {36, 30.5}, {36, 26.5}, {26, 33.5}}};
constexpr std::array<BarCodePoint, 6> kEmblemLower{
    {{46, 38.5}, {22, 38.5}, {22, 41.5}, {36, 41.5}, {36, 45.5}, {46, 38.5}}};
constexpr BarCodePoint kEmblemCentre{36, 36};
constexpr double kEmblemRadius = 14.75;
constexpr double kEmblemRingWidth = 2.5;

template <size_t N>
std::array<BarCodePoint, N> FromTop(const std::array<BarCodePoint, N>& points, double height) {
  std::array<BarCodePoint, N> placed;
  for (size_t i = 0; i < N; ++i)
    placed[i] = {points[i].x, height - points[i].y};
  return placed;
}

void DrawEmblem(cairo_t* cg, double height) {
  cairo_save(cg);
  GraphicsColor(cg, 0, 0, 0, 1);
  GraphicsLineWidth(cg, 1);
  GraphicsFillPolygon(cg, FromTop(kEmblemUpper, height));
  GraphicsFillPolygon(cg, FromTop(kEmblemLower, height));
  GraphicsLineWidth(cg, kEmblemRingWidth);
  GraphicsStrokeCircle(cg, kEmblemCentre.x, height - kEmblemCentre.y, kEmblemRadius);
  cairo_restore(cg);
}

void DrawRules(cairo_t* cg, double width, double height) {
  cairo_save(cg);
  GraphicsColor(cg, 0, 0, 0, 1);
  GraphicsLineWidth(cg, kRuleWidth);
  for (double down : kRulesDown)
    GraphicsStrokeLine(cg, kRuleInset, height - down, width - kRuleInset, height - down);
  GraphicsStrokeLine(cg, kRuleInset, kLastRuleUp, width - kRuleInset, kLastRuleUp);
  cairo_restore(cg);
}

std::string PrintFooterText() {
  return std::string(kFooterVersion) + " \u2022 " + kHomePageURL;
}

// Draws a line of text centred on the page's width, with its baseline at y.
void DrawCentredText(cairo_t* cg, double width, double y, const std::string& text, const char* font,
                     double size) {
  BarCodeSize measure;
  GetCGTextDrawnSize(text, font, size, measure);
  GraphicsSelectFont(cg, font, size);
  GraphicsShowText(cg, width / 2 - measure.width / 2, y, text);
}

void DrawTexts(cairo_t* cg, double width, double height, const BarCodeDataRec& rec) {
  cairo_save(cg);
  GraphicsColor(cg, 0, 0, 0, 1);
  BarCodeSize heading;
  GetCGTextDrawnSize(kHeadingText, kHeadingFont, kHeadingSize, heading);
  DrawCentredText(cg, width, height - (kHeadingDown + heading.height), kHeadingText, kHeadingFont,
                  kHeadingSize);
  std::string title;
  BarCodeTitleText(title, rec);
  TruncCFStrText(title, kTitleMaxCharacters);
  DrawCentredText(cg, width, kTitleUp, title, kTitleFont, kTitleSize);
  DrawCentredText(cg, width, kFooterUp, PrintFooterText(), kFooterFont, kFooterSize);
  cairo_restore(cg);
}

} // namespace

void MakePrintPageBackground(cairo_t* cg, double width, double height, const BarCodeDataRec& rec) {
  DrawEmblem(cg, height);
  DrawRules(cg, width, height);
  DrawTexts(cg, width, height, rec);
}
