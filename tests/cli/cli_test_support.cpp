#include "cli_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::istringstream cellsIn(line);
        for (std::string cell; std::getline(cellsIn, cell, ',');) cells.push_back(cell);
        if (!line.empty() && line.back() == ',') cells.emplace_back();
        rows.push_back(cells);
    }
    return rows;
}

float readFloat(const std::string& text) {
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    EXPECT_TRUE(!text.empty() && *end == '\0') << "not a number: \"" << text << "\"";
    return value;
}

LibraryModule::LibraryModule(const char* path,
                             const std::vector<std::pair<int32_t, float>>& changes)
    : plugin(qevhost::Plugin::open(path)), module(std::make_unique<qevhost::Module>(*plugin)) {
    module->start();
    for (const auto& [index, value] : changes) module->change(index, value);
}
