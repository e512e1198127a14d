#include "platform/process/terminals.h"

#include "platform/process/spawn.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {
using enum TerminalCommand;
using enum TerminalScreen;

// name, title option, execute option, command, screen, hands off, own instance
constexpr TerminalForm kTerminals[] = {
    {"xterm", "-T", "-e", Argv, X11, false, false},
    {"uxterm", "-T", "-e", Argv, X11, false, false},
    {"lxterm", "-T", "-e", Argv, X11, false, false},
    {"koi8rxterm", "-T", "-e", Argv, X11, false, false},
    {"xfce4-terminal", "--title", "-x", Argv, Any, true, false},
    {"lxterminal", "-t", "-e", Argv, Any, true, false},
    {"gnome-terminal", "--title", "--", Argv, Any, true, false},
    {"kgx", "--title", "--", Argv, Any, true, true},
    {"konsole", "-T", "-e", Argv, Any, false, false},
    {"mate-terminal", "--title", "-x", Argv, Any, true, false},
    {"tilix", "--title", "-x", Argv, Any, true, false},
    {"terminator", "-T", "-e", OneString, Any, true, false},
    {"qterminal", nullptr, "-e", Encoded, Any, false, false},
    {"sakura", "-t", "-e", OneString, Any, false, false},
    {"kitty", "-T", "", Argv, Any, false, false},
    {"alacritty", "-T", "-e", Argv, Any, false, false},
    {"rxvt-unicode", "-T", "-e", Argv, X11, false, false},
    {"urxvt", "-T", "-e", Argv, X11, false, false},
    {"urxvtc", "-T", "-e", Argv, X11, true, false},
    {"st", "-t", "-e", Argv, X11, false, false},
    {"stterm", "-t", "-e", Argv, X11, false, false},
    {"terminology", "-T", "-e", OneString, Any, false, false},
    {"cool-retro-term", "-T", "-e", Argv, Any, false, false},
    {"foot", "-T", "--", Argv, Wayland, false, false},
    {"footclient", "-T", "--", Argv, Wayland, true, false},
    {"zutty", "-title", "-e", Argv, X11, false, false},
};
// A terminal we do not know gets the form xterm set and most others copy.
constexpr TerminalForm kUnknown = {"", "-T", "-e", Argv, Any, true, false};

bool set(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

} // namespace

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const TerminalForm& TerminalFormFor(const std::string& name) {
    for (const TerminalForm& form : kTerminals)
        if (name == form.name)
            return form;
    return kUnknown;
}

Terminal ResolveTerminal(const std::string& path) {
    char buf[PATH_MAX];
    std::string real = realpath(path.c_str(), buf) ? std::string(buf) : path;
    std::string name = BaseName(real);
    constexpr const char kWrapper[] = ".wrapper";
    constexpr std::size_t n = sizeof kWrapper - 1;
    if (name.size() > n && name.compare(name.size() - n, n, kWrapper) == 0) {
        // Debian's wrappers translate xterm's options for the program beside them;
        // we speak the program's own options instead.
        const std::string wrapped = real.substr(0, real.size() - n);
        if (FindProgram(wrapped) == wrapped) {
            real = wrapped;
            name = BaseName(wrapped);
        }
    }
    return {real, &TerminalFormFor(name)};
}

bool TerminalCanOpen(const TerminalForm& form) {
    switch (form.screen) {
    case X11:
        return set("DISPLAY");
    case Wayland:
        return set("WAYLAND_DISPLAY");
    case Any:
        break;
    }
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

std::vector<std::string> TerminalArguments(const Terminal& terminal, const std::string& title,
                                           const std::vector<std::string>& command,
                                           const std::string& instance) {
    const TerminalForm& form = terminal.form ? *terminal.form : kUnknown;
    std::vector<std::string> argv = {terminal.path};
    if (form.ownInstance && !instance.empty())
        argv.push_back("--gapplication-app-id=" + instance);
    if (form.title)
        argv.insert(argv.end(), {form.title, title});
    if (*form.execute)
        argv.push_back(form.execute);
    if (form.command == OneString)
        argv.push_back(QuoteForSplitting(command));
    else
        argv.insert(argv.end(), command.begin(), command.end());
    return argv;
}

std::string QuoteForSplitting(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty())
            line += ' ';
        line += '\'';
        for (char c : arg)
            line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

std::vector<std::string> EncodeForConsole(const std::vector<std::string>& args) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::vector<std::string> out = {"--hex"};
    for (const std::string& arg : args) {
        std::string hex;
        for (const char c : arg) {
            const auto byte = static_cast<unsigned char>(c);
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 15];
        }
        out.push_back(hex.empty() ? "-" : hex); // an empty argument still counts
    }
    return out;
}

std::optional<std::vector<std::string>> DecodeForConsole(const std::vector<std::string>& args) {
    if (args.empty() || args[0] != "--hex")
        return std::nullopt;
    const auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    std::vector<std::string> out;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& hex = args[i];
        std::string arg;
        if (hex != "-") {
            if (hex.size() % 2 != 0)
                return std::nullopt;
            for (std::size_t k = 0; k < hex.size(); k += 2) {
                const int hi = digit(hex[k]), lo = digit(hex[k + 1]);
                if (hi < 0 || lo < 0)
                    return std::nullopt;
                arg += static_cast<char>(hi * 16 + lo);
            }
        }
        out.push_back(arg);
    }
    return out;
}
