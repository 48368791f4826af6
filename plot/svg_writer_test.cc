#include "plot/svg_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvik {
namespace {

TEST(SvgWriter, WritesOneElementPerLineEscapedAndClosesWhatIsOpen) {
  SvgWriter svg(20, 10, "R&D <1>");
  svg.open("g", {{"id", "a\"b"}, {"stroke-width", 1}});
  svg.element("circle", {{"cx", 2.0 / 3.0}, {"cy", -0.001}, {"r", "3"}});
  svg.close();
  svg.open("g", {{"id", "labels"}});
  svg.element("text", {{"x", 1.005}}, "x < 1 & y > 2");
  svg.raisedText({{"x", 1e7}}, "10", "7");
  EXPECT_EQ(svg.finish(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" "
            "height=\"10\" viewBox=\"0 0 20 10\" font-family=\"DejaVu Sans, "
            "Liberation Sans, Arial, Helvetica, sans-serif\" "
            "font-size=\"12\">\n"
            "<title>R&amp;D &lt;1&gt;</title>\n"
            "<rect width=\"20\" height=\"10\" fill=\"#ffffff\"/>\n"
            "<g id=\"a&quot;b\" stroke-width=\"1\">\n"
            "<circle cx=\"0.67\" cy=\"0.00\" r=\"3\"/>\n"
            "</g>\n"
            "<g id=\"labels\">\n"
            "<text x=\"1.00\">x &lt; 1 &amp; y &gt; 2</text>\n"
            "<text x=\"10000000.00\">10<tspan dy=\"-6\" "
            "font-size=\"9\">7</tspan></text>\n"
            "</g>\n"
            "</svg>\n");
}

TEST(SvgWriter, ListsPointsWithTwoDecimals) {
  const std::vector<Point> points = {{0.125, 1.0}, {-2.5, 1e-9}};
  EXPECT_EQ(pointList(points), "0.12,1.00 -2.50,0.00");
  EXPECT_EQ(pointList({}), "");
}

}  // namespace
}  // namespace talvik
