#ifndef TALVIK_PLOT_SVG_WRITER_H_
#define TALVIK_PLOT_SVG_WRITER_H_

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace talvik {

struct Point {
  double x;
  double y;
};

// A number with a fixed count of decimals and never a minus sign on zero
// ("0.000", not "-0.000"), so that the same picture always has the same bytes.
// REQUIRES: value finite, 0 <= decimals <= 6
std::string fixedNumber(double value, int decimals);

// A coordinate or length as written: with 2 decimals.
std::string svgNumber(double value);

// "x1,y1 x2,y2 ..." for the points of a polyline or polygon.
std::string pointList(std::span<const Point> points);

// One attribute of an element, its value as it is written.
struct Attribute {
  // Any text, escaped for XML.
  Attribute(std::string_view name, std::string_view text);
  // A coordinate or length, with 2 decimals.
  Attribute(std::string_view name, double number);
  // A whole number of pixels.
  Attribute(std::string_view name, int number);

  std::string name;
  std::string value;
};

using Attributes = std::initializer_list<Attribute>;

// Writes an SVG document one element per line, attributes in the order
// given, text escaped for XML.
class SvgWriter {
 public:
  // Starts a standalone document of `width` by `height` pixels in the shared
  // font, with its title and a white background.
  SvgWriter(int width, int height, std::string_view title);

  // <name attributes>, until the matching close().
  void open(std::string_view name, Attributes attributes);
  void close();
  // <name attributes/>
  void element(std::string_view name, Attributes attributes);
  // <name attributes>text</name>
  void element(std::string_view name, Attributes attributes,
               std::string_view text);
  // <text attributes>text</text> with `raised` set as a superscript after
  // the text, as the exponent of a power of ten.
  void raisedText(Attributes attributes, std::string_view text,
                  std::string_view raised);

  // The whole document, every element still open closed.
  std::string finish();

 private:
  void startTag(std::string_view name, Attributes attributes);

  std::string svg_;
  std::vector<std::string> open_;
};

}  // namespace talvik

#endif  // TALVIK_PLOT_SVG_WRITER_H_
