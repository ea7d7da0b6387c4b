// `run --plot`: the SVG file is well-formed XML and holds exactly the points that run printed.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "cli_test_support.h"
#include "qevhost_process.h"
#include "temp_file.h"
#include "xml_reader.h"

namespace {

std::vector<std::pair<float, float>> pairsOf(const std::string& list) {
    std::vector<std::pair<float, float>> pairs;
    std::istringstream in(list);
    for (std::string pair; in >> pair;) {
        const auto comma = pair.find(',');
        pairs.emplace_back(readFloat(pair.substr(0, comma)), readFloat(pair.substr(comma + 1)));
    }
    return pairs;
}

// Runs with --csv and --plot, parses the SVG, and checks each series against the CSV columns.
std::unique_ptr<XmlElement> plotAndCompare(const std::vector<std::string>& args,
                                           const std::vector<std::string>& seriesNames) {
    TempFile svg("plot.svg", "");
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--csv", "--plot", svg.path()});
    const ProcessResult r = runQevhost(all);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "qevhost: plot written to " + svg.path() + "\n");
    std::ifstream in(svg.path());
    const std::string document((std::istreambuf_iterator<char>(in)), {});
    auto root = parseXml(document);
    EXPECT_EQ(root->name, "svg");
    EXPECT_EQ(root->attributes["xmlns"], "http://www.w3.org/2000/svg");
    const double width = std::stod(root->attributes["width"]);
    const double height = std::stod(root->attributes["height"]);

    const auto rows = parseCsv(r.out);
    std::vector<const XmlElement*> series;
    for (const XmlElement* p : root->findAll("polyline")) {
        if (p->attributes.count("data-points")) series.push_back(p);
    }
    EXPECT_EQ(series.size(), seriesNames.size());
    for (std::size_t s = 0; s < series.size() && s < seriesNames.size(); ++s) {
        EXPECT_EQ(series[s]->attributes.at("data-name"), seriesNames[s]);
        const auto values = pairsOf(series[s]->attributes.at("data-points"));
        const auto drawn = pairsOf(series[s]->attributes.at("points"));
        EXPECT_EQ(values.size(), rows.size() - 1);
        EXPECT_EQ(drawn.size(), values.size());
        for (std::size_t i = 0; i < values.size() && i + 1 < rows.size(); ++i) {
            EXPECT_EQ(values[i].first, readFloat(rows[i + 1][0]));
            EXPECT_EQ(values[i].second, readFloat(rows[i + 1][s + 1]));
        }
        for (const auto& [x, y] : drawn) {
            EXPECT_TRUE(x >= 0 && x <= width && y >= 0 && y <= height) << x << "," << y;
        }
    }
    return root;
}

bool hasText(const XmlElement& root, const std::string& text) {
    for (const XmlElement* t : root.findAll("text")) {
        if (t->text == text) return true;
    }
    return false;
}

}  // namespace

TEST(CliPlot, QevRandomOutputAgainstInput) {
    auto root = plotAndCompare(
        {"run", RANDOM_PLUGIN, "--input", "0:5:0.25", "--set", "Octaves=3", "--set", "Fade=0.6"},
        {"Output"});
    EXPECT_TRUE(hasText(*root, "Qev Random: Octaves 3, Fade 0.6"));
    EXPECT_TRUE(hasText(*root, "Input"));
    EXPECT_TRUE(hasText(*root, "Output"));
    EXPECT_GE(root->findAll("line").size(), 8u);  // ticks and grid
}

TEST(CliPlot, QevRandomArrayBothArraysAgainstIndex) {
    auto root = plotAndCompare({"run", ARRAY_PLUGIN, "--set", "Output Min=-10", "--set",
                                "Output Max=10", "--set", "Array Size=40"},
                               {"Float Out", "Integer Out"});
    EXPECT_TRUE(hasText(*root, "Qev RandomArray: Output Min -10, Output Max 10, Array Size 40"));
    EXPECT_TRUE(hasText(*root, "Index"));
}

TEST(CliPlot, TitleTextIsEscaped) {
    TempFile svg("escape.svg", "");
    // A ListBox item name in the title must not break the XML: quotes and the like are escaped.
    const ProcessResult r =
        runQevhost({"run", ARRAY_PLUGIN, "--set", "Mode=Update on Click", "--plot", svg.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::ifstream in(svg.path());
    auto root = parseXml(std::string((std::istreambuf_iterator<char>(in)), {}));
    EXPECT_TRUE(hasText(*root, "Qev RandomArray: Mode Update on Click"));
}

TEST(XmlReader, RejectsMalformedDocuments) {
    EXPECT_THROW(parseXml("<a><b></a>"), std::runtime_error);
    EXPECT_THROW(parseXml("<a x=1/>"), std::runtime_error);
    EXPECT_THROW(parseXml("<a>&nbsp;</a>"), std::runtime_error);
    EXPECT_THROW(parseXml("<a/><b/>"), std::runtime_error);
    EXPECT_EQ(parseXml("<a t=\"&lt;&quot;\">x &amp; y</a>")->text, "x & y");
}
