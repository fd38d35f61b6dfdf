#include "history/HistoryCommand.h"

#include "core/DurableFile.h"
#include "history/HistorySources.h"

namespace corvane {

namespace {

constexpr const char* kUsage = "usage: corvane history --out FILE [--adif FILE...]\n";

int usage(std::ostream& err, const std::string& message) {
    err << "corvane: " << message << "\n" << kUsage;
    return 2;
}

} // namespace

int runHistoryCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string outPath;
    bool outGiven = false;
    HistorySources sources;
    bool adifFiles = false; // bare arguments after --adif are further ADIF files
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--out" || arg == "--adif") {
            if (i + 1 >= args.size()) {
                return usage(err, "option " + arg + " needs a value");
            }
            if (arg == "--out") {
                if (outGiven) {
                    return usage(err, "option --out is given twice");
                }
                outGiven = true;
                outPath = args[++i];
                adifFiles = false;
            } else {
                sources.adifFiles.push_back(args[++i]);
                adifFiles = true;
            }
        } else if (arg.starts_with("--out=")) {
            if (outGiven) {
                return usage(err, "option --out is given twice");
            }
            outGiven = true;
            outPath = arg.substr(6);
        } else if (arg.starts_with("--adif=")) {
            sources.adifFiles.push_back(arg.substr(7));
            adifFiles = true;
        } else if (adifFiles && !arg.starts_with("-")) {
            sources.adifFiles.push_back(arg);
        } else {
            return usage(err, arg.starts_with("-") ? "unknown option '" + arg + "' for 'history'"
                                                   : "unexpected argument '" + arg + "'");
        }
    }
    if (outPath.empty()) {
        return usage(err, "history needs --out FILE");
    }
    if (fileExists("log.txt")) {
        sources.logFiles.push_back("log.txt");
    }
    const HistoryLoad load = loadHistory(sources);
    for (const std::string& problem : load.problems) {
        err << "corvane: " << problem << "\n";
    }
    if (!load.problems.empty()) {
        return 1; // a history missing what the operator asked for is not written
    }
    const FileResult written = replaceAtomically(outPath, formatCallHistory(load.history));
    if (!written.ok) {
        err << "corvane: " << outPath << ": cannot be written: " << written.error << "\n";
        return 1;
    }
    out << "wrote " << outPath << ": " << load.history.size() << " calls (" << describeLoad(load) << ")\n";
    return 0;
}

} // namespace corvane
