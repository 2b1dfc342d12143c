// The SVG writer: well-formed XML, one element per thing drawn, inside the canvas.
#include "plots/svg.h"

#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <string>
#include <vector>

#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "plots/histogram_scene.h"
#include "plots/shape_scene.h"
#include "support/error_message.h"

namespace lumivar::plots {
namespace {

struct Element {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;  // character data directly inside, entities left as written
  std::vector<std::string> ancestors;
};

// A small checking reader for the XML subset the writer uses: a declaration,
// elements with double-quoted attributes, character data without a bare '<'
// or a bare '&'. Fails the test on anything else, or on unbalanced tags.
std::vector<Element> parse_xml(const std::string& doc) {
  std::vector<Element> out;
  std::vector<std::size_t> open;  // indices into out
  std::size_t i = 0;
  const auto fail = [&](const std::string& why) {
    ADD_FAILURE() << why << " at offset " << i << ": " << doc.substr(i, 60);
    i = doc.size();
  };
  const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  if (doc.compare(0, decl.size(), decl) != 0) fail("no XML declaration");
  i = decl.size();
  while (i < doc.size()) {
    if (doc[i] != '<') {
      const std::size_t end = doc.find('<', i);
      const std::string text = doc.substr(i, end - i);
      for (std::size_t a = text.find('&'); a != std::string::npos; a = text.find('&', a + 1)) {
        const std::size_t semi = text.find(';', a);
        const std::string entity = text.substr(a, semi == std::string::npos ? 1 : semi - a + 1);
        if (entity != "&amp;" && entity != "&lt;" && entity != "&gt;" && entity != "&quot;" && entity != "&apos;")
          fail("bare & in text");
      }
      if (open.empty() && text.find_first_not_of(" \n") != std::string::npos) fail("text outside the root");
      if (!open.empty()) out[open.back()].text += text;
      i = end == std::string::npos ? doc.size() : end;
      continue;
    }
    if (doc.compare(i, 2, "</") == 0) {
      const std::size_t end = doc.find('>', i);
      const std::string name = doc.substr(i + 2, end - i - 2);
      if (open.empty() || out[open.back()].name != name) return fail("unbalanced </" + name + ">"), out;
      open.pop_back();
      i = end + 1;
      continue;
    }
    Element e;
    for (std::size_t o : open) e.ancestors.push_back(out[o].name);
    std::size_t j = i + 1;
    while (j < doc.size() && std::isalpha(static_cast<unsigned char>(doc[j]))) ++j;
    e.name = doc.substr(i + 1, j - i - 1);
    if (e.name.empty()) return fail("no element name"), out;
    for (;;) {
      while (doc[j] == ' ') ++j;
      if (doc.compare(j, 2, "/>") == 0 || doc[j] == '>') break;
      const std::size_t eq = doc.find('=', j);
      const std::string key = doc.substr(j, eq - j);
      if (doc[eq + 1] != '"' || key.find_first_of(" <>\"") != std::string::npos) return fail("bad attribute"), out;
      const std::size_t close = doc.find('"', eq + 2);
      const std::string value = doc.substr(eq + 2, close - eq - 2);
      if (value.find('<') != std::string::npos) return fail("< in an attribute"), out;
      if (!e.attributes.emplace(key, value).second) return fail("attribute twice"), out;
      j = close + 1;
    }
    const bool empty = doc[j] == '/';
    if (open.empty() && !out.empty()) return fail("second root element"), out;
    out.push_back(e);
    if (!empty) open.push_back(out.size() - 1);
    i = j + (empty ? 2 : 1);
  }
  if (!open.empty()) ADD_FAILURE() << "<" << out[open.back()].name << "> never closed";
  return out;
}

std::size_t count(const std::vector<Element>& els, const std::string& name) {
  std::size_t n = 0;
  for (const Element& e : els) n += e.name == name;
  return n;
}

TEST(Svg, TheShapeViewIsWellFormedWithOneTitledCirclePerRowPoint) {
  runtime::Matrix x = testing::random_landmarks(10, 7, 2);
  const geometry::Consensus fit = geometry::getconsensus(x);
  const Scene s = shape_scene(fit.xpt, fit.y, runtime::Matrix::column({1, 2, 1, 2, 1, 2, 1, 2, 1, 2}),
                              {"G1", 2});
  const std::string svg = to_svg(s, 800, 600);
  const std::vector<Element> els = parse_xml(svg);
  ASSERT_FALSE(els.empty());
  EXPECT_EQ(els[0].name, "svg");
  EXPECT_EQ(els[0].attributes.at("xmlns"), "http://www.w3.org/2000/svg");
  EXPECT_EQ(els[0].attributes.at("width"), "800.00");

  std::size_t row_points = 0, rings = 0;
  for (const Element& e : els) {
    if (e.name == "circle") {
      const double cx = std::stod(e.attributes.at("cx")), cy = std::stod(e.attributes.at("cy"));
      EXPECT_TRUE(cx >= 0 && cx <= 800 && cy >= 0 && cy <= 600) << cx << " " << cy;
      rings += e.attributes.at("fill") == "none";
    }
    if (e.name == "title" && e.ancestors.back() == "circle") {
      ++row_points;
      EXPECT_EQ(e.text.rfind("row ", 0), 0u) << e.text;
    }
  }
  EXPECT_EQ(row_points, 70u);
  EXPECT_EQ(rings, 2u);
  EXPECT_EQ(count(els, "polygon"), 3u);  // consensus and the two outliers' outlines
  // Landmark numbers, two row labels, title, subtitle, the legend's four texts
  // (two groups, the consensus, the dashed outlines), the ticks' labels and
  // the two axis titles.
  EXPECT_EQ(count(els, "text"), 7u + 2 + 2 + 4 + s.x_axis.ticks.size() + s.y_axis.ticks.size() + 2);
}

TEST(Svg, TextIsEscapedAndTheHistogramHasOneRectPerBin) {
  const Scene s = histogram_scene({1, 2, 2, 3, 3, 3, 4}, 2.5, "A<B & \"C\"");
  const std::string svg = to_svg(s, 400, 300);
  EXPECT_NE(svg.find("for A&lt;B &amp; &quot;C&quot;</text>"), std::string::npos);
  const std::vector<Element> els = parse_xml(svg);
  // Background, clip rectangle, plot frame, legend swatch and ten bins.
  EXPECT_EQ(count(els, "rect"), 4u + 10);
  EXPECT_EQ(count(els, "polyline"), 1u);
  EXPECT_EQ(xml_escaped("a'b"), "a&apos;b");
}

// Sized for paper, the document keeps the layout of the one in pixels (the
// same marks at the same places) and only its shown width and height change.
TEST(Svg, APaperSizeChangesOnlyTheShownWidthAndHeight) {
  const Scene s = histogram_scene({1, 2, 2, 3, 3, 3, 4}, 2.5, "G1");
  const std::string in_pixels = to_svg(s, 400, 300);
  const std::string on_paper = to_svg(s, 400, 300, {105.83, 79.38, "mm"});
  const std::vector<Element> els = parse_xml(on_paper);
  ASSERT_FALSE(els.empty());
  EXPECT_EQ(els[0].attributes.at("width"), "105.83mm");
  EXPECT_EQ(els[0].attributes.at("height"), "79.38mm");
  EXPECT_EQ(els[0].attributes.at("viewBox"), "0 0 400.00 300.00");
  const std::string head = "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
  const auto body = [](const std::string& doc) { return doc.substr(doc.find(" viewBox=")); };
  EXPECT_EQ(body(on_paper), body(in_pixels));
  EXPECT_NE(to_svg(s, 400, 300, {4.17, 3.13, "in"}).find(head + "4.17in\" height=\"3.13in\""), std::string::npos);
  EXPECT_ERROR_MSG(to_svg(s, 400, 300, {4, 3, "px"}), "An SVG is sized in mm or in, not \"px\".");
}

// The window program writes pictures under the user's locale; a German one
// must not turn a decimal point into a comma in coordinates, ticks, group
// codes or the subtitle.
TEST(Svg, PicturesAreTheSameUnderAGermanLocale) {
  const auto pictures = [] {
    const geometry::Consensus fit = geometry::getconsensus(testing::random_landmarks(6, 4, 5));
    const Scene shapes = shape_scene(fit.xpt, fit.y, runtime::Matrix::column({1.5, 2.5, 1.5, 2.5, 1.5, 2.5}),
                                     {"G2", 1});
    const Scene f = histogram_scene({0.12, 0.31, 0.25, 0.4, 0.18}, 0.33, "G1", 0.375);
    return to_svg(shapes, 640, 480) + to_svg(f, 640, 480);
  };
  const std::string under_c = pictures();
  EXPECT_NE(under_c.find("G2 = 1.5"), std::string::npos);
  EXPECT_NE(under_c.find(">0.40</text>"), std::string::npos);
  EXPECT_NE(under_c.find("P = 0.3750 from 5 relabellings"), std::string::npos);

  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "The locale de_DE.UTF-8 is not installed (scripts/install-deps generates it).";
  const std::string under_german = pictures();
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(under_german, under_c);
}

}  // namespace
}  // namespace lumivar::plots
