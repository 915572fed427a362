// The update check, help and about of the main window.

#include "app/main_window.h"

#include "app/ini_file.h"
#include "app/update_check.h"
#include "app/update_rule.h"
#include "platform/prompter.h"

#include <QAction>
#include <QUrl>

namespace tw {

namespace {
bool updateCheckEnabled = true;
const QString kAuthor = QStringLiteral("Tarnwick");
const QString kAuthorMail = QStringLiteral("tarnwick@tarnwick.org");
} // namespace

void MainWindow::setUpdateCheckEnabled(bool enabled) { updateCheckEnabled = enabled; }

void MainWindow::startUpdateCheck() {
    if (!updateCheckEnabled || update_) return;  // once per run
    const IniFile ini(paths_.settingsFile);
    const QString host = ini.readText(QStringLiteral("Update"), QStringLiteral("host"), kDefaultUpdateHost);
    if (host.trimmed().isEmpty()) return;  // the check is switched off
    update_ = std::make_unique<UpdateCheck>(QUrl(versionFileUrl(host)));
    connect(update_.get(), &UpdateCheck::newerVersion, this, &MainWindow::newerVersionFound, Qt::QueuedConnection);
    update_->start();
}

void MainWindow::newerVersionFound(const QString& address) {
    downloadAddress_ = address;
    command(QStringLiteral("downloadSeparator"))->setVisible(true);
    command(QStringLiteral("downloadUpdate"))->setVisible(true);
}

void MainWindow::downloadUpdate() {
    if (!downloadAddress_.isEmpty()) launcher().shellExecute(downloadAddress_);
}

void MainWindow::showHelp() { launcher().shellExecute(paths_.helpFile); }

QString MainWindow::aboutText(const QString& mail, const QString& site) {
    return QStringLiteral("Автор программы ") + kAuthor + QStringLiteral("\r\nE-mail: ") + mail +
           QStringLiteral("\r\n\r\nВсе замечания и предложения присылайте\r\nна мой ящик или оставляйте на сайте\r\n") + site;
}

void MainWindow::showAbout() {
    const IniFile ini(paths_.settingsFile);
    prompter_.showMessage(aboutText(ini.readText(QStringLiteral("Info"), QStringLiteral("mail"), kAuthorMail),
                                    ini.readText(QStringLiteral("Info"), QStringLiteral("site"))));
}

} // namespace tw
