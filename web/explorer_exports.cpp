// The page's calls into the module, exported to JavaScript. Each page module (Qev Random, Qev
// RandomArray) is its own WebAssembly build of this file with that module's class. Results are
// kept here as float columns (read by the page from memory) and as text in qevhost's CSV format.
#include <emscripten/emscripten.h>

#include <cmath>
#include <string>
#include <vector>

#include "block_inputs.h"
#include "explorer_host.h"
#include "float_text.h"
#include "input_ramp.h"
#include "number_text.h"
#include "page_host.h"

using explorer::ExplorerHost;
using explorer::formatFloat;

namespace {

constexpr int32_t kButton = 7;
constexpr int32_t kDataArray = 10;

struct Column {
    std::string name;
    std::vector<float> values;
};

ExplorerHost host;
std::vector<Column> columns;
std::vector<float> inputs;  // of the last block run
bool indexed = false;       // the first column counts elements
std::string text;           // the last text handed out
std::string hostError;      // the host calls refused during the last run, a line each
bool parsed = false;

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string number(float value) {
    return std::isnan(value) ? "null" : formatFloat(value);
}

int32_t rowCount() {
    std::size_t rows = 0;
    for (const auto& c : columns) rows = std::max(rows, c.values.size());
    return static_cast<int32_t>(rows);
}

// One block per input: "Input", then Process, then every value output read; the columns after
// those already in place.
void runBlocks() {
    const int32_t input = host.indexOf("Input");
    columns.push_back(Column{"Input", {}});
    const std::size_t first = columns.size();
    std::vector<int32_t> outputs;
    for (std::size_t i = 0; i < host.params().size(); ++i) {
        const auto& p = host.params()[i];
        if (p.input || p.type == kDataArray) continue;
        outputs.push_back(static_cast<int32_t>(i));
        columns.push_back({p.caption, {}});
    }
    for (float in : inputs) {
        host.setValue(input, in);
        columns[first - 1].values.push_back(in);
        host.process();
        for (std::size_t o = 0; o < outputs.size(); ++o) {
            columns[first + o].values.push_back(host.value(outputs[o]));
        }
    }
}

// After a run: a refused host call leaves outlets that the settings do not describe, so such a
// run keeps no values, only the reasons (as `qevhost run` prints no table then).
void takeHostErrors() {
    hostError.clear();
    for (const auto& error : host.hostErrors()) hostError += "host error: " + error + "\n";
    host.clearHostErrors();
    if (hostError.empty()) return;
    for (auto& column : columns) column.values.clear();
}

}  // namespace

namespace explorer {

ExplorerHost& pageHost() {
    return host;
}

const std::vector<float>& pageInputs() {
    return inputs;
}

}  // namespace explorer

extern "C" {

// Starts a fresh module object and answers its description as JSON.
EMSCRIPTEN_KEEPALIVE const char* explorerStart() {
    host.start();
    text = "{\"name\":" + quoted(host.moduleName()) + ",\"params\":[";
    for (std::size_t i = 0; i < host.params().size(); ++i) {
        const auto& p = host.params()[i];
        text += std::string(i ? "," : "") + "{\"caption\":" + quoted(p.caption) +
                ",\"type\":" + std::to_string(p.type) +
                ",\"input\":" + (p.input ? "true" : "false") + ",\"min\":" + number(p.minValue) +
                ",\"max\":" + number(p.maxValue) + ",\"default\":" + number(p.defaultValue) +
                ",\"format\":" + quoted(p.format) + ",\"items\":" + quoted(p.listItems) + "}";
    }
    text += "]}";
    columns.clear();
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE float explorerValue(int32_t index) {
    return host.value(index);
}

EMSCRIPTEN_KEEPALIVE void explorerChange(int32_t index, float value) {
    host.change(index, value);
}

EMSCRIPTEN_KEEPALIVE void explorerCallBack(int32_t index) {
    host.callBack(index);
}

// One block per input of the ramp (read as `qevhost run --input` reads it). Answers the row
// count, or -1 with the reason in explorerText().
EMSCRIPTEN_KEEPALIVE int32_t explorerRunBlocks(const char* ramp) {
    auto read = qevhost::cli::readInputs(ramp, text);
    if (!read) return -1;
    inputs = std::move(*read);
    columns.clear();
    indexed = false;
    runBlocks();
    takeHostErrors();
    return rowCount();
}

// The time view: one block per block of frames of the clock, "Input" rising from `from` by
// `rate` per second; a first column "Seconds" holds each block's start. Answers the row count,
// or -1 with the reason in explorerText().
EMSCRIPTEN_KEEPALIVE int32_t explorerRunTime(double from, double rate, int32_t block,
                                             double sampleRate, double seconds) {
    const explorer::BlockClock clock{sampleRate, block, seconds};
    if (!explorer::clockValid(clock, text)) return -1;
    if (!std::isfinite(from) || !std::isfinite(rate)) {
        text = "the ramp's start and rate are finite numbers";
        return -1;
    }
    const int64_t blocks = explorer::blocksOf(clock);
    inputs.clear();
    columns.assign(1, Column{"Seconds", {}});
    indexed = false;
    for (int64_t k = 0; k < blocks; ++k) {
        inputs.push_back(explorer::blockInput(from, rate, clock, k));
        columns[0].values.push_back(static_cast<float>(explorer::blockStart(clock, k)));
    }
    runBlocks();
    takeHostErrors();
    return rowCount();
}

// The inputs of the last block run as a list A,B,C that `qevhost run --input` reads back to the
// same floats.
EMSCRIPTEN_KEEPALIVE const char* explorerInputList() {
    text.clear();
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (i) text += ',';
        text += formatFloat(inputs[i]);
    }
    return text.c_str();
}

// The array outlets as they are. press: 0 presses the button when "Mode" is not 0 or nothing
// has computed yet (as `qevhost run` does), 1 always, 2 never. Answers the row count.
EMSCRIPTEN_KEEPALIVE int32_t explorerRunArrays(int32_t press) {
    int32_t button = -1;
    for (std::size_t i = 0; i < host.params().size(); ++i) {
        if (host.params()[i].input && host.params()[i].type == kButton) {
            button = static_cast<int32_t>(i);
            break;
        }
    }
    inputs.clear();
    const int32_t mode = host.indexOf("Mode");
    const bool modeNeedsPress = mode >= 0 && host.value(mode) != 0.0f;
    const bool pressNow = press == 1 || (press == 0 && (modeNeedsPress || !host.arraysWritten()));
    if (pressNow && button >= 0) host.callBack(button);
    columns.assign(1, Column{"Index", {}});
    indexed = true;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < host.params().size(); ++i) {
        const auto& p = host.params()[i];
        if (p.input || p.type != kDataArray) continue;
        columns.push_back({p.caption, host.array(static_cast<int32_t>(i))});
        longest = std::max(longest, columns.back().values.size());
    }
    for (std::size_t i = 0; i < longest; ++i) columns[0].values.push_back(static_cast<float>(i));
    takeHostErrors();
    return rowCount();
}

// The host calls refused during the last run, one "host error: ..." line each; empty if none.
EMSCRIPTEN_KEEPALIVE const char* explorerHostError() {
    return hostError.c_str();
}

EMSCRIPTEN_KEEPALIVE int32_t explorerColumnCount() {
    return static_cast<int32_t>(columns.size());
}

EMSCRIPTEN_KEEPALIVE const char* explorerColumnName(int32_t c) {
    return columns[c].name.c_str();
}

EMSCRIPTEN_KEEPALIVE int32_t explorerColumnLength(int32_t c) {
    return static_cast<int32_t>(columns[c].values.size());
}

EMSCRIPTEN_KEEPALIVE const float* explorerColumnValues(int32_t c) {
    return columns[c].values.data();
}

// The result as `qevhost run --csv` writes it: a header row, then one row per point; a column
// shorter than the others leaves its cells empty.
EMSCRIPTEN_KEEPALIVE const char* explorerCsv() {
    text.clear();
    for (std::size_t c = 0; c < columns.size(); ++c) text += (c ? "," : "") + columns[c].name;
    text += "\n";
    const int32_t rows = rowCount();
    for (int32_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c) text += ',';
            const auto& values = columns[c].values;
            if (static_cast<std::size_t>(r) >= values.size()) continue;
            const float v = values[static_cast<std::size_t>(r)];
            text += c == 0 && indexed ? std::to_string(static_cast<long>(v)) : formatFloat(v);
        }
        text += "\n";
    }
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* explorerFormat(float value) {
    text = formatFloat(value);
    return text.c_str();
}

// A number as `qevhost run --set` reads it (strtod over the whole text, then to float); see
// explorerParsed() for whether the text was a number.
EMSCRIPTEN_KEEPALIVE float explorerParse(const char* number) {
    const auto value = qevhost::cli::parseNumber(number);
    parsed = value.has_value();
    return parsed ? static_cast<float>(*value) : 0.0f;
}

EMSCRIPTEN_KEEPALIVE int32_t explorerParsed() {
    return parsed ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* explorerText() {
    return text.c_str();
}

}  // extern "C"
