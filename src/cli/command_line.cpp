#include "command_line.h"

#include "failure_report.h"

#include <cstdio>

namespace tw::cli {

namespace {
const QString kTool = QStringLiteral("tarnwick-cli");

void printOut(const QString& text) { std::fputs(text.toUtf8().constData(), stdout); }

int usageError(const QString& synopsis, const QString& reason) {
    printError(QStringLiteral("usage: ") + synopsis + QStringLiteral(" (") + reason + QLatin1Char(')'));
    return kUsageError;
}

QString toolSynopsis() { return kTool + QStringLiteral(" COMMAND ARGUMENTS... | help [COMMAND] | --help | --version"); }

const Command* findCommand(const std::vector<Command>& commands, const QString& name) {
    for (const Command& c : commands)
        if (c.name == name) return &c;
    return nullptr;
}

// Two columns: the names, padded, then the descriptions.
QString table(const std::vector<std::pair<QString, QString>>& rows) {
    qsizetype width = 0;
    for (const auto& [name, text] : rows) width = std::max(width, name.size());
    QString out;
    for (const auto& [name, text] : rows) out += QStringLiteral("  ") + name.leftJustified(width + 2) + text + QLatin1Char('\n');
    return out;
}

QString optionName(const Option& o) {
    return QStringLiteral("--") + o.name + (o.valueName.isEmpty() ? QString() : QLatin1Char(' ') + o.valueName);
}

QString toolHelp(const std::vector<Command>& commands) {
    std::vector<std::pair<QString, QString>> rows;
    for (const Command& c : commands) rows.emplace_back(c.name, c.summary);
    return QStringLiteral("usage: ") + toolSynopsis() +
           QStringLiteral("\n\nThe collection work of Tarnwick without a window. Messages go to standard error;\n"
                          "the exit status is 0 on success, 1 on failure and 2 on a usage error.\n\nCommands:\n") +
           table(rows) +
           QStringLiteral("\nOptions:\n") +
           table({{QStringLiteral("-h, --help"), QStringLiteral("this help")},
                  {QStringLiteral("-v, --version"), QStringLiteral("the version of the tool")}}) +
           QStringLiteral("\n'") + kTool + QStringLiteral(" help COMMAND' or '") + kTool +
           QStringLiteral(" COMMAND --help' describes one command.\n");
}

QString commandHelp(const Command& c) {
    std::vector<std::pair<QString, QString>> arguments, options;
    for (const Argument& a : c.arguments) arguments.emplace_back(a.name, a.description);
    for (const Option& o : c.options) options.emplace_back(optionName(o), o.description);
    options.emplace_back(QStringLiteral("-h, --help"), QStringLiteral("this help"));
    return QStringLiteral("usage: ") + c.synopsis() + QStringLiteral("\n\n") + c.summary + QStringLiteral("\n\nArguments:\n") +
           table(arguments) + QStringLiteral("\nOptions:\n") + table(options);
}

// The option of c that arg names ("--word", "-word", "--into=FILE"), or nullptr.
const Option* ownOption(const Command& c, const QString& arg) {
    if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) return nullptr;
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    name = name.left(name.indexOf(QLatin1Char('=')));
    for (const Option& o : c.options)
        if (o.name == name) return &o;
    return nullptr;
}

// The arguments reordered for the parser: the options first, then "--" and the positional
// arguments, among which those that begin with "-" but name no option of c stay as they are.
QStringList separateDashArguments(const Command& c, const QStringList& args) {
    QStringList options, positional;
    bool ended = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!ended && arg == QLatin1String("--")) {
            ended = true;
        } else if (const Option* own = ended ? nullptr : ownOption(c, arg)) {
            options << arg;
            if (!own->valueName.isEmpty() && !arg.contains(QLatin1Char('=')) && i + 1 < args.size()) options << args[++i];
        } else if (!ended && positional.isEmpty() && arg.startsWith(QLatin1Char('-'))) {
            options << arg;  // before the first argument: help, or an unknown option reported as usual
        } else {
            positional << arg;
        }
    }
    return options + QStringList{QStringLiteral("--")} + positional;
}

int runCommand(const Command& c, const QStringList& givenArgs) {
    const QStringList args = c.dashArguments && !c.takesDashArguments() ? separateDashArguments(c, givenArgs) : givenArgs;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (c.takesDashArguments()) parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    for (const Option& o : c.options) parser.addOption(QCommandLineOption(o.name, o.description, o.valueName));
    if (!parser.parse(QStringList{kTool} + args)) return usageError(c.synopsis(), parser.errorText());
    if (parser.isSet(help)) {
        printOut(commandHelp(c));
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != static_cast<qsizetype>(c.arguments.size()))
        return usageError(c.synopsis(), QStringLiteral("%1 arguments expected, %2 given").arg(c.arguments.size()).arg(positional.size()));
    if (c.checkOptions) {
        const QString wrong = c.checkOptions(parser);
        if (!wrong.isEmpty()) return usageError(c.synopsis(), wrong);
    }
    return c.run(Invocation{positional, parser});
}
} // namespace

QString Command::synopsis() const {
    QString out = kTool + QLatin1Char(' ') + name;
    for (const Argument& a : arguments) out += QLatin1Char(' ') + a.name;
    for (const Option& o : options) out += QStringLiteral(" [") + optionName(o) + QLatin1Char(']');
    return out;
}

int runCommandLine(const QStringList& args, const std::vector<Command>& commands) {
    // The tool's own options come before the command; everything after the command is its own.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version});
    if (!parser.parse(QStringList{kTool} + args)) return usageError(toolSynopsis(), parser.errorText());
    if (parser.isSet(help)) {
        printOut(toolHelp(commands));
        return 0;
    }
    if (parser.isSet(version)) {
        printOut(kTool + QStringLiteral(" " TARNWICK_VERSION "\n"));
        return 0;
    }
    const QStringList rest = parser.positionalArguments();
    if (rest.isEmpty()) return usageError(toolSynopsis(), QStringLiteral("no command given"));
    if (rest[0] == QLatin1String("help")) {
        if (rest.size() == 1) {
            printOut(toolHelp(commands));
            return 0;
        }
        const Command* c = rest.size() == 2 ? findCommand(commands, rest[1]) : nullptr;
        if (!c) return usageError(kTool + QStringLiteral(" help [COMMAND]"), QStringLiteral("no command \"%1\"").arg(rest.mid(1).join(' ')));
        printOut(commandHelp(*c));
        return 0;
    }
    const Command* c = findCommand(commands, rest[0]);
    if (!c) return usageError(toolSynopsis(), QStringLiteral("unknown command \"%1\"").arg(rest[0]));
    return runCommand(*c, rest.mid(1));
}

} // namespace tw::cli
