// The SVG elements every chart of the report and the campaign page is drawn with, coordinates
// written by coordinate() and text escaped.
#pragma once

#include <string>

namespace jobshop {

// The opening <svg> tag of a width x height drawing; without a class attribute when className is
// empty.
std::string svgOpen(const std::string& className, double width, double height);

std::string svgLine(const std::string& className, double x1, double y1, double x2, double y2);

// A <text> at (x, y) anchored "start", "middle" or "end"; content is escaped.
std::string svgText(const std::string& className, double x, double y, const std::string& anchor,
                    const std::string& content);

// A <rect>, filled with fill when it is not empty (otherwise the class's colour applies).
std::string svgRect(const std::string& className, double x, double y, double width, double height,
                    const std::string& fill = "");

}  // namespace jobshop
