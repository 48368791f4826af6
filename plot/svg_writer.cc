#include "plot/svg_writer.h"

#include <array>
#include <charconv>

#include "plot/chart_style.h"
#include "plot/xml_text.h"

namespace talvik {

std::string fixedNumber(double value, int decimals) {
  std::array<char, 384> buffer;
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                    std::chars_format::fixed, decimals);
  std::string text(buffer.data(), result.ptr);
  if (text.starts_with('-') &&
      text.find_first_not_of("0.", 1) == std::string::npos) {
    text.erase(0, 1);
  }
  return text;
}

std::string svgNumber(double value) { return fixedNumber(value, 2); }

std::string pointList(std::span<const Point> points) {
  std::string list;
  for (const Point& p : points) {
    if (!list.empty()) list += ' ';
    list += svgNumber(p.x) + "," + svgNumber(p.y);
  }
  return list;
}

Attribute::Attribute(std::string_view name, std::string_view text)
    : name(name), value(escapeXml(text)) {}

Attribute::Attribute(std::string_view name, double number)
    : name(name), value(svgNumber(number)) {}

Attribute::Attribute(std::string_view name, int number)
    : name(name), value(std::to_string(number)) {}

SvgWriter::SvgWriter(int width, int height, std::string_view title) {
  svg_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  const std::string viewBox =
      "0 0 " + std::to_string(width) + " " + std::to_string(height);
  open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
               {"width", width},
               {"height", height},
               {"viewBox", viewBox},
               {"font-family", kFontFamily},
               {"font-size", "12"}});
  element("title", {}, title);
  element("rect", {{"width", width}, {"height", height}, {"fill", "#ffffff"}});
}

void SvgWriter::startTag(std::string_view name, Attributes attributes) {
  svg_ += '<';
  svg_ += name;
  for (const Attribute& attribute : attributes) {
    svg_ += ' ' + attribute.name + "=\"" + attribute.value + '"';
  }
}

void SvgWriter::open(std::string_view name, Attributes attributes) {
  startTag(name, attributes);
  svg_ += ">\n";
  open_.emplace_back(name);
}

void SvgWriter::close() {
  svg_ += "</" + open_.back() + ">\n";
  open_.pop_back();
}

void SvgWriter::element(std::string_view name, Attributes attributes) {
  startTag(name, attributes);
  svg_ += "/>\n";
}

void SvgWriter::element(std::string_view name, Attributes attributes,
                        std::string_view text) {
  startTag(name, attributes);
  svg_ += '>' + escapeXml(text) + "</" + std::string(name) + ">\n";
}

void SvgWriter::raisedText(Attributes attributes, std::string_view text,
                           std::string_view raised) {
  startTag("text", attributes);
  svg_ += '>' + escapeXml(text) + "<tspan dy=\"-6\" font-size=\"9\">" +
          escapeXml(raised) + "</tspan></text>\n";
}

std::string SvgWriter::finish() {
  while (!open_.empty()) close();
  return std::move(svg_);
}

}  // namespace talvik
