// A minimal SVG document writer: the handful of shapes a line chart needs, with text escaped.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qevhost::cli {

std::string xmlEscape(const std::string& text);

class SvgDocument {
  public:
    SvgDocument(double width, double height);

    // `attributes` is appended verbatim inside the element (already escaped, leading space).
    void rect(double x, double y, double width, double height, const std::string& attributes);
    void line(double x1, double y1, double x2, double y2, const std::string& attributes);
    void polyline(const std::vector<std::pair<double, double>>& points,
                  const std::string& attributes);
    void circle(double cx, double cy, double r, const std::string& attributes);
    void text(double x, double y, const std::string& content, const std::string& attributes);

    std::string str() const;

  private:
    double width_, height_;
    std::string body_;
};

// A coordinate with two decimals, enough for a picture.
std::string svgNumber(double value);

}  // namespace qevhost::cli
