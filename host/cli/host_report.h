// What the host saw go wrong in a module, printed to stderr.
#pragma once

#include "qevhost/module.h"

namespace qevhost::cli {

// Prints each report of the plug-in as it arrives.
void printReportsAsTheyArrive(Module& module);

// Prints the host errors recorded so far; true if there were any.
bool printHostErrors(const Module& module);

}  // namespace qevhost::cli
