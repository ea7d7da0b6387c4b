#include <windows.h>

#include <cstdio>
#include <thread>

#include "qevplatform/child_process.h"

namespace qevhost::platform {

namespace {

// One word of a command line as the C runtime's argument parser will split it back: quoted,
// with backslashes doubled only where a quote follows them.
std::string quoted(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos) return word;
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        text.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, '\\');
    return text + "\"";
}

// A pipe whose write end the child inherits.
bool makePipe(HANDLE& read, HANDLE& write) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(&read, &write, &inherit, 0)) return false;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    return true;
}

void readAll(HANDLE pipe, std::string* text) {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) text->append(buffer, n);
    CloseHandle(pipe);
}

LONG WINAPI endWithExceptionCode(EXCEPTION_POINTERS* exception) {
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

ChildOutcome runChild(const std::vector<std::string>& command, double seconds, bool captureErr) {
    ChildOutcome outcome;
    std::string line;
    for (const auto& word : command) line += (line.empty() ? "" : " ") + quoted(word);

    HANDLE outRead, outWrite, errRead = nullptr, errWrite = nullptr;
    if (!makePipe(outRead, outWrite)) return outcome;
    if (captureErr && !makePipe(errRead, errWrite)) {
        CloseHandle(outRead);
        CloseHandle(outWrite);
        return outcome;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = captureErr ? errWrite : GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string program = command.empty() ? std::string() : command[0];
    for (char& c : program) {
        if (c == '/') c = '\\';
    }
    outcome.started = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                     nullptr, nullptr, &startup, &process) != 0;
    // Only the child holds the write ends now: the pipes close when it ends.
    CloseHandle(outWrite);
    if (captureErr) CloseHandle(errWrite);
    std::thread outReader(readAll, outRead, &outcome.out);
    std::thread errReader;
    if (captureErr) errReader = std::thread(readAll, errRead, &outcome.err);
    if (outcome.started) {
        const DWORD wait = seconds > 0.0 ? static_cast<DWORD>(seconds * 1000.0) : INFINITE;
        outcome.finished = WaitForSingleObject(process.hProcess, wait) == WAIT_OBJECT_0;
        if (!outcome.finished) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        // Exit codes of this form are the status of an exception nothing handled.
        outcome.crashed = outcome.finished && ((code & 0xF0000000u) == 0xC0000000u ||
                                               code == 0x80000003u || code == 0x80000004u);
        outcome.code = code;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    outReader.join();
    if (errReader.joinable()) errReader.join();
    return outcome;
}

std::string crashText(unsigned code) {
    const char* name = nullptr;
    switch (code) {
        case 0xC0000005u:
            name = "access violation";
            break;
        case 0xC000001Du:
            name = "illegal instruction";
            break;
        case 0xC0000094u:
            name = "integer division by zero";
            break;
        case 0xC00000FDu:
            name = "stack overflow";
            break;
        case 0xC0000409u:
            name = "stack buffer overrun";
            break;
        case 0x80000003u:
            name = "breakpoint";
            break;
    }
    char text[64];
    std::snprintf(text, sizeof text, "exception 0x%08x", code);
    return std::string(text) + (name ? std::string(" (") + name + ")" : "");
}

std::string currentProgram() {
    char path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n < sizeof path ? n : 0);
}

void endOnCrash() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(endWithExceptionCode);
}

void endProcessNow(int code) {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    for (;;) {
    }
}

void writeOut(const std::string& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    std::size_t sent = 0;
    while (sent < text.size()) {
        DWORD n = 0;
        if (!WriteFile(out, text.data() + sent, static_cast<DWORD>(text.size() - sent), &n,
                       nullptr) ||
            n == 0) {
            break;
        }
        sent += n;
    }
}

}  // namespace qevhost::platform
