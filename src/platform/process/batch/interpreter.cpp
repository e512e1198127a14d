#include "platform/process/batch/interpreter.h"

#include "platform/process/argsplit.h"
#include "platform/process/spawn.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The first word in lower case, and where the rest begins.
std::string firstWord(std::string_view line, std::size_t* rest) {
    std::size_t i = 0;
    while (i < line.size() && !isBlank(line[i]))
        ++i;
    std::string word(line.substr(0, i));
    for (char& c : word)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    while (i < line.size() && isBlank(line[i]))
        ++i;
    *rest = i;
    return word;
}

void setVariable(std::string_view assignment, const BatchActions& actions) {
    const std::size_t eq = assignment.find('=');
    if (eq == 0 || eq == std::string_view::npos) {
        std::fprintf(stderr, "SET needs NAME=VALUE: %.*s\n", static_cast<int>(assignment.size()),
                     assignment.data());
        return;
    }
    actions.set(std::string(assignment.substr(0, eq)), std::string(assignment.substr(eq + 1)));
}

void pauseForKey() {
    std::fputs("Press any key to continue . . . ", stdout);
    std::fflush(stdout);
    WaitForKey();
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

int runProgram(const std::vector<std::string>& args) {
    int status = 0;
    if (const int err = RunAndWait(args, &status)) {
        std::fprintf(stderr, "'%s' cannot be run: %s\n", args[0].c_str(),
                     err == ENOENT ? "no such program" : std::strerror(err));
        return BATCH_NOT_FOUND;
    }
    return ExitCodeOf(status);
}
} // namespace

BatchActions DefaultBatchActions() {
    return {[](const std::string& name, const std::string& value) {
                if (value.empty())
                    unsetenv(name.c_str());
                else
                    setenv(name.c_str(), value.c_str(), 1);
            },
            pauseForKey, runProgram};
}

int RunBatchScript(std::string_view text) {
    return RunBatchScript(text, DefaultBatchActions());
}

int RunBatchScript(std::string_view text, const BatchActions& actions) {
    int status = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty())
            continue;
        std::size_t rest = 0;
        const std::string word = firstWord(line, &rest);
        if (word == "set") {
            setVariable(line.substr(rest), actions);
        } else if (word == "pause") {
            actions.pause();
        } else if (word == "exit") {
            const std::string arg(line.substr(rest));
            return arg.empty() ? status : std::atoi(arg.c_str());
        } else {
            const std::vector<std::string> args = SplitCommandLine(line);
            status = args.empty() ? 0 : actions.run(args);
        }
    }
    return status;
}
