// Pictures for print: the size in millimetres or inches and dpi gives the
// pixels, text and lines grow with the resolution (the picture at twice the
// resolution, shrunk back, looks like the screen's), the PNG records its
// resolution, and the suggested file name comes from the picture's title.
#include "gui/print_size.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdlib>

#include "gui/picture_export.h"
#include "plots/scene.h"
#include "support/temp_files.h"

namespace lumivar::gui {
namespace {

TEST(PrintSize, PixelsAreInchesTimesDotsPerInch) {
  // By hand: 180 mm = 7.0866 in, x 300 = 2125.98; 120 mm x 300 / 25.4 = 1417.32.
  EXPECT_EQ(print_pixels({180, 120, LengthUnit::kMillimetres, 300}), QSize(2126, 1417));
  EXPECT_EQ(print_pixels({7, 5, LengthUnit::kInches, 300}), QSize(2100, 1500));
  EXPECT_EQ(print_pixels({7, 5, LengthUnit::kInches, 96}), QSize(672, 480));
  EXPECT_DOUBLE_EQ(print_scale({7, 5, LengthUnit::kInches, 300}), 300.0 / 96.0);
  // A view of 960 x 720 pixels is 10 x 7.5 inches on screen.
  const PrintSize on_screen = print_size_of(QSize(960, 720), LengthUnit::kMillimetres, 300);
  EXPECT_NEAR(on_screen.width, 254.0, 1e-12);  // 10 in, exact up to rounding
  EXPECT_NEAR(on_screen.height, 190.5, 1e-12);
  EXPECT_EQ(print_pixels(print_size_of(QSize(960, 720), LengthUnit::kInches, 96)), QSize(960, 720));
}

TEST(PrintSize, SuggestedNamesAreTheTitlesWords) {
  EXPECT_EQ(suggested_file_name(QStringLiteral("F of G1 (999 relabellings)"), QStringLiteral(".png")),
            QStringLiteral("f-of-g1-999-relabellings.png"));
  EXPECT_EQ(suggested_file_name(QStringLiteral("Shapes \u2014 coloured by T"), QStringLiteral(".svg")),
            QStringLiteral("shapes-coloured-by-t.svg"));
  EXPECT_EQ(suggested_file_name(QString(), QStringLiteral(".png")), QStringLiteral("picture.png"));
}

plots::Scene labelled_scene() {
  plots::Scene s;
  s.title = "A title in the picture";
  s.bounds = {0, 10, 0, 10};
  s.x_axis.title = "x";
  s.y_axis.title = "y";
  for (int i = 0; i <= 10; i += 2) {
    s.x_axis.ticks.push_back({static_cast<double>(i), std::to_string(i)});
    s.y_axis.ticks.push_back({static_cast<double>(i), std::to_string(i)});
  }
  s.lines.push_back({{{0, 0}, {10, 10}}, {0, 0, 0}, 2});
  return s;
}

// Mean absolute difference of the grey levels of two images of one size.
double mean_difference(const QImage& a, const QImage& b) {
  const QImage ga = a.convertToFormat(QImage::Format_Grayscale8);
  const QImage gb = b.convertToFormat(QImage::Format_Grayscale8);
  double sum = 0;
  for (int y = 0; y < ga.height(); ++y)
    for (int x = 0; x < ga.width(); ++x)
      sum += std::abs(ga.pixelColor(x, y).value() - gb.pixelColor(x, y).value());
  return sum / (ga.width() * ga.height());
}

TEST(PrintSize, TextAndLinesScaleWithTheResolution) {
  const plots::Scene scene = labelled_scene();
  const QSize size(320, 240);
  const QImage screen = scene_image(scene, size);
  const auto shrunk = [&](double scale) {
    return scene_image(scene, size * 2, scale).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  };
  // Drawn twice as large, then shrunk: close to the screen's picture. Drawn
  // at twice the pixels without scaling, the text and lines shrink to half.
  const double scaled = mean_difference(shrunk(2.0), screen);
  const double unscaled = mean_difference(shrunk(1.0), screen);
  EXPECT_LT(scaled, 0.5 * unscaled) << scaled << " vs " << unscaled;
}

TEST(PrintSize, ThePngRecordsItsResolution) {
  testing::TempFolder folder;
  const PrintSize p{80, 60, LengthUnit::kMillimetres, 300};
  const QString in_pixels = QString::fromStdString(folder.path() + "/pixels.png");
  const QString on_paper = QString::fromStdString(folder.path() + "/paper.png");
  ASSERT_TRUE(save_picture(labelled_scene(), in_pixels, print_pixels(p), print_scale(p), p.dpi).isEmpty());
  // Asked for at a size on paper, a PNG is the one in pixels at that size.
  ASSERT_TRUE(save_picture(labelled_scene(), on_paper, p).isEmpty());
  for (const QString& path : {in_pixels, on_paper}) {
    const QImage read(path);
    EXPECT_EQ(read.size(), QSize(945, 709)) << path.toStdString();  // 80 / 25.4 x 300 = 944.9; 60 / 25.4 x 300 = 708.7
    EXPECT_EQ(std::lround(read.dotsPerMeterX() * 0.0254), 300);
    EXPECT_EQ(std::lround(read.dotsPerMeterY() * 0.0254), 300);
  }
}

// The number in `attribute="…"` of the document's first element that has it.
double svg_number(const std::string& svg, const std::string& attribute) {
  const std::size_t at = svg.find(" " + attribute + "=\"");
  return at == std::string::npos ? -1 : std::stod(svg.substr(at + attribute.size() + 3));
}

TEST(PrintSize, TheSvgIsAsLargeOnPaperAsThePng) {
  testing::TempFolder folder;
  for (const PrintSize& p : {PrintSize{80, 60, LengthUnit::kMillimetres, 300},
                             PrintSize{7, 5, LengthUnit::kInches, 150}}) {
    const QString path = QString::fromStdString(folder.path() + "/print.svg");
    ASSERT_TRUE(save_picture(labelled_scene(), path, p).isEmpty());
    const std::string svg = testing::read_file(folder.path() + "/print.svg");
    const std::string unit = p.unit == LengthUnit::kInches ? "in" : "mm";
    EXPECT_NE(svg.find("width=\"" + QString::number(p.width, 'f', 2).toStdString() + unit + "\" height=\"" +
                       QString::number(p.height, 'f', 2).toStdString() + unit + "\""),
              std::string::npos)
        << svg.substr(0, 300);
    // The viewBox is the layout at 96 per inch, so an 11-pixel label is
    // 11/96 inch on paper, as in the PNG (11 x dpi/96 pixels at dpi).
    const double inches_wide = p.unit == LengthUnit::kInches ? p.width : p.width / 25.4;
    const double view_width = std::stod(svg.substr(svg.find("viewBox=\"0 0 ") + 13));
    EXPECT_NEAR(view_width / inches_wide, 96.0, 0.01);  // the viewBox is written to two decimals
    const QSize png = print_pixels(p);
    EXPECT_NEAR(view_width, png.width() / print_scale(p), 1.0);  // the PNG's layout, rounded to its pixels
    EXPECT_EQ(svg_number(svg, "font-size"), 15);  // the title, at its size on screen
  }
}

}  // namespace
}  // namespace lumivar::gui
