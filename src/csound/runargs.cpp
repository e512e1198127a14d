#include "csound/runargs.h"

#include "csound/analysiscmd.h"
#include "platform/process/argsplit.h"

namespace csound {
namespace {
std::string joined(const std::vector<std::string>& parts) {
    std::string s;
    for (const auto& p : parts) {
        if (!s.empty())
            s += ' ';
        s += p;
    }
    return s;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

const char* outputFileOf(const INISTRUCT& ini, int iType) {
    switch (iType) {
    case analysis::PAGE_LPC:
        return ini.lpcStruct.szOutputFile;
    case analysis::PAGE_HETRO:
        return ini.htrStruct.szOutputFile;
    default:
        return ini.pvcStruct.szOutputFile;
    }
}
} // namespace

std::vector<std::string> PerformanceArguments(const INISTRUCT& ini, const std::string& szCmdLine) {
    std::vector<std::string> tail = {"-o",
                                     ini.nOutputFilenameCheck ? ini.szOutputFilename : "test"};
    if (ini.nMidiInFileCheck) {
        tail.push_back("-F");
        tail.push_back(ini.szMidiInFile);
    }
    if (ini.nScoExtractCheck) {
        tail.push_back("-x");
        tail.push_back(ini.szScoExtract);
    }
    tail.push_back(std::string(ini.szOrcDir) + ini.szOrc);
    tail.push_back(std::string(ini.nScoreMode ? ini.szOrcDir : ini.szScoreDir) + ini.szScore);

    std::vector<std::string> args = {ini.szCsoundPath};
    const std::string expectedTail = " " + joined(tail);
    if (endsWith(szCmdLine, expectedTail)) {
        const std::string group = szCmdLine.substr(0, szCmdLine.size() - expectedTail.size());
        if (!group.empty() && group.find_first_of(" \t\"") == std::string::npos) {
            args.push_back(group);
            args.insert(args.end(), tail.begin(), tail.end());
            return args;
        }
    }
    for (auto& a : SplitCommandLine(szCmdLine))
        args.push_back(std::move(a));
    return args;
}

std::vector<std::string> AnalysisArguments(const INISTRUCT& ini, int iType,
                                           const std::string& line) {
    const std::string head = std::string(ini.szCsoundPath) + " ";
    const std::vector<std::string> files = {ini.szCurSoundFile,
                                            std::string(ini.szSADIR) + outputFileOf(ini, iType)};
    const std::string tail = " " + joined(files);
    if (line.size() >= head.size() + tail.size() && line.compare(0, head.size(), head) == 0 &&
        endsWith(line, tail)) {
        std::vector<std::string> args = {ini.szCsoundPath};
        for (auto& a :
             SplitCommandLine(line.substr(head.size(), line.size() - head.size() - tail.size())))
            args.push_back(std::move(a));
        args.insert(args.end(), files.begin(), files.end());
        return args;
    }
    return SplitCommandLine(line);
}
} // namespace csound
