#include "export/CommandLine.h"

#include "core/DateTime.h"
#include "core/DurableFile.h"
#include "core/NumberText.h"
#include "export/Adif.h"
#include "export/Cabrillo.h"
#include "log/ContactLog.h"
#include "log/LogFile.h"
#include "log/station/Preferences.h"
#include "report/Coastlines.h"
#include "report/ReportHtml.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

namespace corvane {

namespace {

constexpr std::string_view kLogFile = "log.txt";
constexpr std::string_view kPrefsFile = "cvnpref.txt";

struct OptionSpec {
    std::string_view name; // with its leading "--"
    bool takesValue;
};

struct Options {
    std::map<std::string, std::string, std::less<>> values;
    std::set<std::string, std::less<>> flags;

    bool has(std::string_view name) const { return values.contains(name) || flags.contains(name); }
    std::string value(std::string_view name) const {
        const auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    }
};

class Runner {
public:
    Runner(std::ostream& out, std::ostream& err, const CommandLineEnvironment& env)
        : m_out(out), m_err(err), m_env(env) {}

    int run(std::string_view command, const std::vector<std::string>& args);

private:
    int usage(const std::string& message) {
        m_err << "corvane: " << message << "\n\n" << commandLineHelp();
        return static_cast<int>(CommandLineExit::Usage);
    }
    int failed(const std::string& message) {
        m_err << "corvane: " << message << "\n";
        return static_cast<int>(CommandLineExit::Failed);
    }

    std::optional<Options> parse(std::string_view command, const std::vector<std::string>& args,
                                 std::initializer_list<OptionSpec> specs, int& status);
    std::optional<ContactLog> readLog(int& status);
    std::optional<Preferences> readPrefs(int& status);
    int write(const std::string& path, const FileResult& result, int contacts);

    int cabrillo(const Options& options);
    int adif(const Options& options);
    int report(const Options& options);
    int score();
    int check();

    std::ostream& m_out;
    std::ostream& m_err;
    const CommandLineEnvironment& m_env;
};

std::optional<Options> Runner::parse(std::string_view command, const std::vector<std::string>& args,
                                     std::initializer_list<OptionSpec> specs, int& status) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptionSpec* option = nullptr;
        for (const OptionSpec& s : specs) {
            if (s.name == name) {
                option = &s;
            }
        }
        if (option == nullptr) {
            status = usage(name.starts_with("-") ? "unknown option '" + name + "' for '" + std::string(command) + "'"
                                                 : "unexpected argument '" + name + "'");
            return std::nullopt;
        }
        if (options.has(name)) {
            status = usage("option " + name + " is given twice");
            return std::nullopt;
        }
        if (!option->takesValue) {
            if (inlineValue) {
                status = usage("option " + name + " takes no value");
                return std::nullopt;
            }
            options.flags.insert(name);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                status = usage("option " + name + " needs a value");
                return std::nullopt;
            }
            inlineValue = args[++i];
        }
        options.values.emplace(name, *inlineValue);
    }
    return options;
}

std::optional<ContactLog> Runner::readLog(int& status) {
    std::string error;
    const auto bytes = readWholeFile(std::string(kLogFile), &error);
    if (!bytes) {
        status = failed(std::string(kLogFile) + ": cannot be read: " + error);
        return std::nullopt;
    }
    LogParseResult parsed = parseLog(*bytes, ContactLog::kCapacity);
    if (!parsed.ok) {
        status = failed(std::string(kLogFile) + " line " + std::to_string(parsed.errorLine) + ": " + parsed.problem);
        return std::nullopt;
    }
    ContactLog log;
    log.assign(std::move(parsed.records));
    return log;
}

std::optional<Preferences> Runner::readPrefs(int& status) {
    std::string error;
    const auto bytes = readWholeFile(std::string(kPrefsFile), &error);
    if (!bytes) {
        status = failed(std::string(kPrefsFile) + ": cannot be read: " + error);
        return std::nullopt;
    }
    PreferencesReadResult parsed = parsePreferences(*bytes);
    if (!parsed.ok) {
        status = failed(std::string(kPrefsFile) + ": item " + std::to_string(parsed.itemsRead + 1) +
                        " is missing or not valid");
        return std::nullopt;
    }
    return parsed.prefs;
}

int Runner::write(const std::string& path, const FileResult& result, int contacts) {
    if (!result.ok) {
        return failed(path + ": cannot be written: " + result.error);
    }
    m_out << "wrote " << path << ": " << contacts << " contacts\n";
    return static_cast<int>(CommandLineExit::Done);
}

// Command-line and settings texts are UTF-8; the files are 8-bit, as the log is. A character
// outside Latin-1 becomes "?"; text that is not UTF-8 is taken byte for byte.
std::string eightBit(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        int length = 0;
        char32_t code = 0;
        if (c < 0x80) {
            length = 1;
            code = c;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            code = c & 0x07;
        } else {
            return utf8;
        }
        if (i + static_cast<std::size_t>(length) > utf8.size()) {
            return utf8;
        }
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return utf8;
            }
            code = (code << 6) | (next & 0x3F);
        }
        out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::string upperCased(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

int Runner::cabrillo(const Options& options) {
    const std::string path = options.value("--out");
    if (path.empty()) {
        return usage("cabrillo needs --out FILE");
    }
    int status = 0;
    const auto log = readLog(status);
    if (!log) {
        return status;
    }
    const auto prefs = readPrefs(status);
    if (!prefs) {
        return status;
    }
    const auto settings = m_env.openSettings ? m_env.openSettings(options.value("--settings")) : nullptr;
    if (!settings) {
        return failed("the settings store cannot be opened");
    }
    CabrilloInput in;
    in.records = log->records();
    in.ownCall = prefs->ownCall;
    in.powerCategory = prefs->powerCategory;
    in.totalScoreText = totalScoreText(log->totalPoints(), prefs->powerCategory);
    in.category = options.has("--multi") ? OperatorCategory::Multi : OperatorCategory::Single;
    in.operators = upperCased(eightBit(options.value("--operators")));
    in.soapbox = eightBit(options.value("--soapbox"));
    auto detail = [&settings](std::string_view key) { return eightBit(settings->get(std::string(key))); };
    in.name = detail(exchange::cabrillo::keys::kName);
    in.addressLine1 = detail(exchange::cabrillo::keys::kAddressLine1);
    in.addressLine2 = detail(exchange::cabrillo::keys::kAddressLine2);
    in.email = detail(exchange::cabrillo::keys::kEmail);
    in.club = detail(exchange::cabrillo::keys::kClub);
    return write(path, writeCabrilloFile(path, in), log->qsoCount());
}

int Runner::adif(const Options& options) {
    const std::string path = options.value("--out");
    if (path.empty()) {
        return usage("adif needs --out FILE");
    }
    int status = 0;
    const auto log = readLog(status);
    if (!log) {
        return status;
    }
    AdifInput in;
    in.records = log->records();
    // Left out, power and comment take the answers the window's input boxes propose.
    in.power = options.has("--power") ? eightBit(options.value("--power")) : std::string(exchange::adif::kPowerDefault);
    in.comment =
        options.has("--comment") ? eightBit(options.value("--comment")) : std::string(exchange::adif::kCommentDefault);
    in.exportDateText = m_env.exportDateText ? m_env.exportDateText() : localDateTimeText();
    return write(path, writeAdifFile(path, in), log->qsoCount());
}

int Runner::report(const Options& options) {
    const std::string path = options.value("--out");
    if (path.empty()) {
        return usage("report needs --out FILE");
    }
    const bool pictures = options.has("--png");
    const std::string pictureFolder = options.value("--png");
    if (pictures && pictureFolder.empty()) {
        return usage("option --png needs a folder");
    }
    int status = 0;
    const auto log = readLog(status);
    if (!log) {
        return status;
    }
    const auto prefs = readPrefs(status);
    if (!prefs) {
        return status;
    }
    if (pictures && !m_env.writePicture) {
        return failed("the pictures cannot be drawn as PNG files here");
    }
    std::string coastFile;
    if (m_env.coastlineFile) {
        coastFile = m_env.coastlineFile();
    } else {
        const char* dataDir = std::getenv("CORVANE_DATA_DIR");
        coastFile = findCoastlineFile(dataDir != nullptr ? dataDir : "", programFolder());
    }
    const CoastlineLoad coast = loadCoastlines(coastFile);
    const ContestReport made = makeContestReport(*log, *prefs, coast, kProgramTitle);
    if (!coast.note.empty()) {
        m_err << "corvane: note: " << coast.note << "\n";
    }
    const int written = write(path, writeReportFile(path, made.html), log->qsoCount());
    if (written != static_cast<int>(CommandLineExit::Done) || !pictures) {
        return written;
    }
    std::error_code ec;
    std::filesystem::create_directories(pictureFolder, ec);
    if (ec || !std::filesystem::is_directory(pictureFolder)) {
        return failed(pictureFolder + ": cannot be made a folder for the pictures" +
                      (ec ? ": " + ec.message() : std::string()));
    }
    for (const Scene& picture : made.pictures) {
        const std::string file = pictureFolder + "/" + picture.name + ".png";
        const FileResult result = m_env.writePicture(picture, file);
        if (!result.ok) {
            return failed(file + ": cannot be written: " + result.error);
        }
        m_out << "wrote " << file << "\n";
    }
    return static_cast<int>(CommandLineExit::Done);
}

int Runner::score() {
    int status = 0;
    const auto log = readLog(status);
    if (!log) {
        return status;
    }
    const auto prefs = readPrefs(status);
    if (!prefs) {
        return status;
    }
    m_out << "contacts: " << log->qsoCount() << "\n"
          << "total points: " << formatSingle(log->totalPoints()) << "\n"
          << "power multiplier: " << powerMultiplier(prefs->powerCategory) << "\n"
          << "total score: " << totalScoreText(log->totalPoints(), prefs->powerCategory) << "\n";
    return static_cast<int>(CommandLineExit::Done);
}

int Runner::check() {
    int status = 0;
    const auto log = readLog(status);
    if (!log) {
        return status;
    }
    // The program loads such a log, but a date or time it cannot read spoils the Cabrillo
    // and ADIF files and the graph: say so, line by line.
    for (int line = 1; line <= log->qsoCount(); ++line) {
        const QsoRecord& r = log->record(line);
        const auto date = parseDate(r.qsoDate);
        if (!date || !isValidDate(date->year, date->month, date->day)) {
            m_out << kLogFile << " line " << line << ": warning: the date \"" << r.qsoDate << "\" is not a date\n";
        }
        if (!parseTime(r.qsoTime)) {
            m_out << kLogFile << " line " << line << ": warning: the time \"" << r.qsoTime << "\" is not a time\n";
        }
    }
    m_out << kLogFile << ": good, " << log->qsoCount() << " contacts\n";
    return static_cast<int>(CommandLineExit::Done);
}

int Runner::run(std::string_view command, const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            m_out << commandLineHelp();
            return static_cast<int>(CommandLineExit::Done);
        }
    }
    int status = 0;
    if (command == "--help" || command == "-h" || command == "help") {
        if (!args.empty()) {
            return usage("unexpected argument '" + args.front() + "'");
        }
        m_out << commandLineHelp();
        return static_cast<int>(CommandLineExit::Done);
    }
    if (command == "cabrillo") {
        const auto options = parse(
            command, args,
            {{"--out", true}, {"--multi", false}, {"--operators", true}, {"--soapbox", true}, {"--settings", true}},
            status);
        return options ? cabrillo(*options) : status;
    }
    if (command == "adif") {
        const auto options = parse(command, args, {{"--out", true}, {"--power", true}, {"--comment", true}}, status);
        return options ? adif(*options) : status;
    }
    if (command == "report") {
        const auto options = parse(command, args, {{"--out", true}, {"--png", true}}, status);
        return options ? report(*options) : status;
    }
    if (command == "score") {
        return parse(command, args, {}, status) ? score() : status;
    }
    if (command == "check") {
        return parse(command, args, {}, status) ? check() : status;
    }
    if (command == "history") {
        if (!m_env.history) {
            return failed("the history command is not available in this build");
        }
        return m_env.history(args, m_out, m_err);
    }
    return usage("unknown command '" + std::string(command) + "'");
}

} // namespace

bool isCommandLineCommand(std::string_view argument) {
    return argument == "cabrillo" || argument == "adif" || argument == "report" || argument == "score" ||
           argument == "check" || argument == "history" || argument == "--help" || argument == "-h" ||
           argument == "help";
}

namespace {

constexpr std::string_view kDesktopOption = "desktop";

// The window toolkit's own options, which it takes from the command line when the windows
// open. They are written with one dash or two.
struct ToolkitOption {
    std::string_view name; // without dashes
    bool takesValue;
};
constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"session", true},
    {"display", true},         {"geometry", true},
    {"style", true},           {"stylesheet", true},
    {"qmljsdebugger", true},   {"dialogs", true},
    {"fontengine", true},      {"reverse", false},
    {"widgetcount", false},    {"nograb", false},
    {"dograb", false},         {"sync", false},
};

struct WindowArguments {
    std::string platform; // from -platform, empty when not given
    bool display = false; // -display given
    bool desktop = false; // --desktop given
    std::string error;    // what is wrong; empty when the arguments are the toolkit's own
};

WindowArguments readWindowArguments(int argc, char** argv) {
    WindowArguments out;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] != nullptr ? argv[i] : "";
        std::string_view name = arg;
        if (name.starts_with("--")) {
            name.remove_prefix(2);
        } else if (name.starts_with("-")) {
            name.remove_prefix(1);
        } else {
            out.error = "unknown command '" + std::string(arg) + "'";
            return out;
        }
        if (name == kDesktopOption) {
            out.desktop = true; // the program's own window option, not the toolkit's
            continue;
        }
        std::optional<std::string_view> value;
        if (const auto eq = name.find('='); eq != std::string_view::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const ToolkitOption* option = nullptr;
        for (const ToolkitOption& o : kToolkitOptions) {
            if (o.name == name) {
                option = &o;
            }
        }
        if (option == nullptr || name.empty()) {
            out.error = "unknown option '" + std::string(arg) + "'";
            return out;
        }
        if (!option->takesValue) {
            if (value) {
                out.error = "option " + std::string(arg) + " takes no value";
                return out;
            }
            continue;
        }
        if (!value) {
            if (i + 1 >= argc || argv[i + 1] == nullptr) {
                out.error = "option " + std::string(arg) + " needs a value";
                return out;
            }
            value = argv[++i];
        }
        if (name == "platform") {
            out.platform = std::string(*value);
        } else if (name == "display") {
            out.display = true;
        }
    }
    return out;
}

} // namespace

bool desktopStart(int argc, char** argv) {
    const WindowArguments args = readWindowArguments(argc, argv);
    return args.error.empty() && args.desktop;
}

std::optional<std::string> noDisplayMessage(int argc, char** argv,
                                            const std::function<std::string(const char* name)>& environment) {
    const WindowArguments args = readWindowArguments(argc, argv);
    const auto set = [&environment](const char* name) { return environment && !environment(name).empty(); };
    std::string platform = args.platform.empty() && environment ? environment("QT_QPA_PLATFORM") : args.platform;
    platform = platform.substr(0, platform.find(':'));
    const bool x11 = args.display || set("DISPLAY");
    bool shown = false;
    if (platform.empty()) {
        shown = x11 || set("WAYLAND_DISPLAY");
    } else if (platform == "xcb") {
        shown = x11;
    } else {
        shown = true; // offscreen, minimal, a framebuffer, a remote or Wayland display: the toolkit's choice
    }
    if (shown) {
        return std::nullopt;
    }
    return "corvane: no display to open the windows on (neither DISPLAY nor WAYLAND_DISPLAY is set); without one, "
           "these commands work: corvane cabrillo, adif, report, history, score and check (corvane --help tells more).";
}

std::string displayFailedMessage(const std::string& display) {
    return "corvane: the display " + (display.empty() ? std::string("named by the environment") : display) +
           " cannot be opened (no display server answers there); without one, these commands work: corvane "
           "cabrillo, adif, score and check (corvane --help tells more).";
}

std::string commandLineHelp() {
    return "Usage: corvane [COMMAND [OPTIONS]]\n"
           "Without a command the logger opens its windows, with the current folder as its working\n"
           "folder; it then takes only the window toolkit's own options (-platform NAME, -style NAME,\n"
           "-reverse ...). The commands work without windows or a display, on log.txt and cvnpref.txt\n"
           "in the current folder:\n"
           "\n"
           "  corvane cabrillo --out FILE [--multi] [--operators TEXT] [--soapbox TEXT] [--settings INI]\n"
           "      Writes the Cabrillo log for submission to FILE. The category is single operator\n"
           "      unless --multi is given; the operators are the own call unless --operators lists\n"
           "      them. Name, address, e-mail and club are the summary sheet details saved by the\n"
           "      logger, or those of the INI file given with --settings.\n"
           "  corvane adif --out FILE [--power P] [--comment TEXT]\n"
           "      Writes the ADIF export to FILE. --power defaults to 100 and --comment to\n"
           "      \"Corvane Contest\", as in the window; give an empty text to leave either out.\n"
           "  corvane report --out FILE [--png FOLDER]\n"
           "      Writes the contest report to FILE: one HTML page with a map of the contacts\n"
           "      around the station, contacts and points per hour, the points per contact, the\n"
           "      ten longest contacts and the score. It opens in any browser and loads nothing\n"
           "      from elsewhere. --png also writes each picture as a PNG file into FOLDER\n"
           "      (map.png, hours.png, points.png), made when missing. The map's coastlines come\n"
           "      from Debian's gmt-gshhg-low when it was installed at build time.\n"
           "  corvane score\n"
           "      Prints the contact count, total points, power multiplier and total score.\n"
           "  corvane check\n"
           "      Reads log.txt and tells which line is damaged and what is wrong with it, and\n"
           "      warns of contacts whose date or time cannot be read.\n"
           "  corvane history --out FILE [--adif FILE...]\n"
           "      Writes the call history of log.txt (and of the ADIF files named) to FILE in the\n"
           "      call history format (!!Order!!,Call,Loc1), the newest grid of each call, to share\n"
           "      or to load as CallHistory.txt.\n"
           "  corvane --desktop\n"
           "      Opens the windows with the per-user contest folder as the working folder,\n"
           "      ~/Documents/Varkel Software/Corvane/Contest (made when missing), as the\n"
           "      desktop menu entry does.\n"
           "  corvane --help\n"
           "      Shows this text.\n"
           "\n"
           "An existing FILE is replaced; it is written complete or not at all.\n"
           "Exit status: 0 done, 1 a file is missing, damaged or cannot be written (or, for the\n"
           "windows, there is no display), 2 wrong usage.\n";
}

std::string localDateTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err,
                                  const CommandLineEnvironment& environment) {
    if (argc < 2 || argv[1] == nullptr) {
        return std::nullopt;
    }
    if (!isCommandLineCommand(argv[1])) {
        for (int i = 1; i < argc; ++i) {
            if (argv[i] != nullptr && (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h")) {
                out << commandLineHelp();
                return static_cast<int>(CommandLineExit::Done);
            }
        }
        const WindowArguments window = readWindowArguments(argc, argv);
        if (window.error.empty()) {
            return std::nullopt;
        }
        err << "corvane: " << window.error << "\n\n" << commandLineHelp();
        return static_cast<int>(CommandLineExit::Usage);
    }
    std::vector<std::string> args;
    for (int i = 2; i < argc; ++i) {
        args.emplace_back(argv[i] != nullptr ? argv[i] : "");
    }
    Runner runner(out, err, environment);
    return runner.run(argv[1], args);
}

} // namespace corvane
