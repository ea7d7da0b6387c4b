#include "svg_writer.h"

#include <cstdio>

namespace qevhost::cli {

std::string xmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string svgNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

SvgDocument::SvgDocument(double width, double height) : width_(width), height_(height) {}

void SvgDocument::rect(double x, double y, double width, double height,
                       const std::string& attributes) {
    body_ += "<rect x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y) + "\" width=\"" +
             svgNumber(width) + "\" height=\"" + svgNumber(height) + "\"" + attributes + "/>\n";
}

void SvgDocument::line(double x1, double y1, double x2, double y2, const std::string& attributes) {
    body_ += "<line x1=\"" + svgNumber(x1) + "\" y1=\"" + svgNumber(y1) + "\" x2=\"" +
             svgNumber(x2) + "\" y2=\"" + svgNumber(y2) + "\"" + attributes + "/>\n";
}

void SvgDocument::polyline(const std::vector<std::pair<double, double>>& points,
                           const std::string& attributes) {
    std::string list;
    for (const auto& [x, y] : points) {
        list += (list.empty() ? "" : " ") + svgNumber(x) + "," + svgNumber(y);
    }
    body_ += "<polyline points=\"" + list + "\" fill=\"none\"" + attributes + "/>\n";
}

void SvgDocument::circle(double cx, double cy, double r, const std::string& attributes) {
    body_ += "<circle cx=\"" + svgNumber(cx) + "\" cy=\"" + svgNumber(cy) + "\" r=\"" +
             svgNumber(r) + "\"" + attributes + "/>\n";
}

void SvgDocument::text(double x, double y, const std::string& content,
                       const std::string& attributes) {
    body_ += "<text x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y) + "\"" + attributes + ">" +
             xmlEscape(content) + "</text>\n";
}

std::string SvgDocument::str() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           svgNumber(width_) + "\" height=\"" + svgNumber(height_) + "\" viewBox=\"0 0 " +
           svgNumber(width_) + " " + svgNumber(height_) +
           "\" font-family=\"sans-serif\" font-size=\"12\">\n" + body_ + "</svg>\n";
}

}  // namespace qevhost::cli
