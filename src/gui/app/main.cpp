// tarnwick [FILE]: the main window, with the collection FILE open when one is given.

#include "app/main_window.h"
#include "app/program_setup.h"
#include "app/termination_signals.h"
#include "platform/prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tw::setUpProgramIdentity(app);
    tw::loadQtRussian(app);
    // A kill or a logout closes the window as its close box does, so shut-down runs.
    tw::TerminationSignals termination;

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Органайзер фрагментов исходного кода."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Коллекция (.xml или текстовая), открываемая в окне."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText().section(QLatin1Char('\n'), 0, 0)));
        return 2;
    }

    tw::QtPrompter prompter;
    tw::MainWindow form(prompter);
    prompter.setParent(&form);
    QObject::connect(&termination, &tw::TerminationSignals::received, &form, &QWidget::close);
    // The file given is read at start-up in place of the last file.
    if (!files.isEmpty()) form.setStartFile(QFileInfo(files.first()).absoluteFilePath());
    form.show();  // start-up: settings, keys, the collection read in the background
    // Start-up may let events through (a recovery question), so a signal may have closed the
    // window already; its shut-down has run then.
    if (!form.isVisible()) return 0;
    return app.exec();
}
