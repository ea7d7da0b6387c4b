#include "host_report.h"

#include "text_format.h"

namespace qevhost::cli {

void printReportsAsTheyArrive(Module& module) {
    module.setReportListener(
        [](const std::string& text) { printMessage("plug-in reported: \"" + text + "\""); });
}

bool printHostErrors(const Module& module) {
    for (const auto& error : module.hostErrors()) printMessage("host error: " + error);
    return !module.hostErrors().empty();
}

}  // namespace qevhost::cli
