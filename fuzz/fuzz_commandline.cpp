// Feeds arbitrary bytes to the command-line splitting and to the batch
// script runner. Splitting must round-trip: arguments quoted and joined read
// back as the same arguments. The script runner, with actions that only
// record, must never crash and must hand every command line on exactly as
// splitting gives it; nothing is started and the environment is not touched.
#include "platform/process/argsplit.h"
#include "platform/process/batch/interpreter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {
// The bytes cut at each NUL into arguments (NUL cannot be in an argument).
std::vector<std::string> ArgumentsOf(std::string_view bytes) {
    std::vector<std::string> args;
    std::size_t pos = 0;
    for (std::size_t nul; (nul = bytes.find('\0', pos)) != std::string_view::npos; pos = nul + 1)
        args.emplace_back(bytes.substr(pos, nul - pos));
    args.emplace_back(bytes.substr(pos));
    return args;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> args = ArgumentsOf(text);
    if (SplitCommandLine(QuoteCommandLine(args)) != args)
        __builtin_trap();
    const std::vector<std::string> split = SplitCommandLine(text);
    if (SplitCommandLine(QuoteCommandLine(split)) != split)
        __builtin_trap();

    std::size_t nRuns = 0;
    BatchActions record{[](const std::string& name, const std::string&) {
                            if (name.empty() || name.find('=') != std::string::npos)
                                __builtin_trap();
                        },
                        [] {},
                        [&nRuns](const std::vector<std::string>& run) {
                            if (run.empty())
                                __builtin_trap();
                            ++nRuns;
                            return static_cast<int>(run.size() & 0xFF);
                        }};
    (void)RunBatchScript(text, record);
    if (nRuns > size)
        __builtin_trap();
    return 0;
}
