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

ChildOutcome runChild(const std::vector<std::string>& command, double seconds, bool captureErr,
                      bool captureOut) {
    ChildOutcome outcome;
    std::string line;
    for (const auto& word : command) line += (line.empty() ? "" : " ") + quoted(word);

    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (captureOut && !makePipe(outRead, outWrite)) return outcome;
    if (captureErr && !makePipe(errRead, errWrite)) {
        if (captureOut) {
            CloseHandle(outRead);
            CloseHandle(outWrite);
        }
        return outcome;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = captureOut ? outWrite : GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = captureErr ? errWrite : GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string program = command.empty() ? std::string() : command[0];
    for (char& c : program) {
        if (c == '/') c = '\\';
    }
    outcome.started = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                     nullptr, nullptr, &startup, &process) != 0;
    // Only the child holds the write ends now: the pipes close when it ends.
    if (captureOut) CloseHandle(outWrite);
    if (captureErr) CloseHandle(errWrite);
    std::thread outReader;
    if (captureOut) outReader = std::thread(readAll, outRead, &outcome.out);
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
    if (outReader.joinable()) outReader.join();
    if (errReader.joinable()) errReader.join();
    return outcome;
}

namespace {

const char* exceptionName(unsigned code) {
    switch (code) {
        case 0xC0000005u:
            return "access violation";
        case 0xC000001Du:
            return "illegal instruction";
        case 0xC0000094u:
            return "integer division by zero";
        case 0xC00000FDu:
            return "stack overflow";
        case 0xC0000409u:
            return "stack buffer overrun";
        case 0x80000003u:
            return "breakpoint";
    }
    return nullptr;
}

}  // namespace

std::string crashText(unsigned code) {
    const char* name = exceptionName(code);
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
