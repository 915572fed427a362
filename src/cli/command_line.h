#pragma once
// The command line of tarnwick-cli: a table of commands, each with its arguments and
// options, parsed with QCommandLineParser. `--help`, `--version`, `help COMMAND` and
// `COMMAND --help` print help; a usage error prints one usage line and exits with status 2.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tw::cli {

constexpr int kUsageError = 2;

struct Argument {
    QString name;         // "FILE"
    QString description;
};

struct Option {
    QString name;         // "into" for --into
    QString valueName;    // "FILE"; empty for a switch
    QString description;
};

// What a command's handler gets: its positional arguments in order and the parsed options.
struct Invocation {
    QStringList arguments;
    const QCommandLineParser& options;
};

struct Command {
    QString name;
    QString summary;
    std::vector<Argument> arguments;
    std::vector<Option> options;
    // A further rule on the options ("exactly one of --html and --rtf"): an empty text when
    // they are right, otherwise the usage error's reason.
    std::function<QString(const QCommandLineParser&)> checkOptions;
    std::function<int(const Invocation&)> run;
    // Arguments that begin with "-" are taken as they are once the first argument is given
    // (find FILE "->"): only the command's own options count as options there, and "--"
    // ends them. A command without options always works so.
    bool dashArguments = false;
    bool takesDashArguments() const { return options.empty(); }
    // "tarnwick-cli NAME ARG... [--option VALUE]..."
    QString synopsis() const;
};

// Runs the command line `args` (without the program name) against `commands`; the exit status.
int runCommandLine(const QStringList& args, const std::vector<Command>& commands);

} // namespace tw::cli
