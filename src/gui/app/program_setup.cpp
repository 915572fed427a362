#include "app/program_setup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace tw {

QString programId() { return QStringLiteral("org.tarnwick.Tarnwick"); }

void setUpProgramIdentity(QApplication& app) {
    // QStandardPaths::AppConfigLocation is ~/.config/<application name>.
    QApplication::setApplicationName(QStringLiteral("tarnwick"));
    QApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
    QGuiApplication::setDesktopFileName(programId());
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    app.setWindowIcon(icon);
}

bool loadQtRussian(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace tw
