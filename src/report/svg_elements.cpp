#include "report/svg_elements.h"

#include "report/markup.h"

namespace jobshop {

std::string svgOpen(const std::string& className, double width, double height) {
  const std::string classAttribute = className.empty() ? "" : " class=\"" + className + "\"";
  return "<svg" + classAttribute + " xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         coordinate(width) + "\" height=\"" + coordinate(height) + "\" viewBox=\"0 0 " +
         coordinate(width) + " " + coordinate(height) + "\">";
}

std::string svgLine(const std::string& className, double x1, double y1, double x2, double y2) {
  return "<line class=\"" + className + "\" x1=\"" + coordinate(x1) + "\" y1=\"" + coordinate(y1) +
         "\" x2=\"" + coordinate(x2) + "\" y2=\"" + coordinate(y2) + "\"/>";
}

std::string svgText(const std::string& className, double x, double y, const std::string& anchor,
                    const std::string& content) {
  return "<text class=\"" + className + "\" x=\"" + coordinate(x) + "\" y=\"" + coordinate(y) +
         "\" text-anchor=\"" + anchor + "\">" + escapeMarkup(content) + "</text>";
}

std::string svgRect(const std::string& className, double x, double y, double width, double height,
                    const std::string& fill) {
  const std::string fillAttribute = fill.empty() ? "" : " fill=\"" + fill + "\"";
  return "<rect class=\"" + className + "\" x=\"" + coordinate(x) + "\" y=\"" + coordinate(y) +
         "\" width=\"" + coordinate(width) + "\" height=\"" + coordinate(height) + "\"" +
         fillAttribute + "/>";
}

}  // namespace jobshop
