// describe and run load the plug-in in a child process of qevhost: a crash there ends with one
// line naming the entry point it happened in and the signal or exception, and exit code 1,
// instead of taking qevhost down without a word. The child writes to qevhost's own standard
// output and error, so whatever it printed before the crash stays.
#pragma once

#include <string>

namespace qevhost::cli {

// The command line, its failures turned into one line on stderr and an exit code.
using CommandLine = int (*)(int argc, char** argv);

// True for the commands that load a plug-in and run in a child.
bool loadsPlugin(int argc, char** argv);

// Runs the command line in a child process and answers its exit code. A crash of the child is
// reported here; a child ended from outside (a closed pipe, an interrupt) ends this process the
// same way.
int runInChild(int argc, char** argv, CommandLine command);

#ifdef _WIN32
// A Windows child cannot be a copy of qevhost: qevhost starts itself again with this first
// argument, the handle of the memory it names entry points in, then its own arguments.
constexpr const char* kPluginChildArgument = "--plugin-child";

// The child's side of that, called with all of main's arguments.
int pluginChildMain(int argc, char** argv, CommandLine command);
#endif

// The line for a child that crashed in the entry point `entryPoint` ("" outside of any), with the
// crash code as the platform reports it.
std::string crashMessage(const std::string& entryPoint, unsigned code);

}  // namespace qevhost::cli
