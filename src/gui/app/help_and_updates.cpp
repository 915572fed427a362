#include "app/help_and_updates.h"

#include "app/help_window.h"
#include "app/ini_file.h"
#include "app/program_paths.h"
#include "app/update_check.h"
#include "app/update_rule.h"
#include "platform/launcher.h"
#include "platform/prompter.h"

#include <QAction>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>
#include <QUrl>

namespace tw {

namespace {
bool updateCheckEnabled = true;
const QString kAuthor = QStringLiteral("Tarnwick");
const QString kAuthorMail = QStringLiteral("tarnwick@tarnwick.org");
} // namespace

HelpAndUpdates::HelpAndUpdates(const ProgramPaths& paths, Prompter& prompter, std::function<Launcher&()> launcher,
                               QObject* parent)
    : QObject(parent), paths_(paths), prompter_(prompter), launcher_(std::move(launcher)) {}

HelpAndUpdates::~HelpAndUpdates() = default;

void HelpAndUpdates::setDownloadActions(QAction* separator, QAction* button) {
    separator_ = separator;
    download_ = button;
}

void HelpAndUpdates::setUpdateCheckEnabled(bool enabled) { updateCheckEnabled = enabled; }

void HelpAndUpdates::startUpdateCheck() {
    if (!updateCheckEnabled || update_) return;  // once per run
    const IniFile ini(paths_.settingsFile);
    const QString host = ini.readText(QStringLiteral("Update"), QStringLiteral("host"), kDefaultUpdateHost);
    if (host.trimmed().isEmpty()) return;  // the check is switched off
    update_ = std::make_unique<UpdateCheck>(QUrl(versionFileUrl(host)));
    connect(update_.get(), &UpdateCheck::newerVersion, this, &HelpAndUpdates::newerVersionFound, Qt::QueuedConnection);
    update_->start();
}

void HelpAndUpdates::newerVersionFound(const QString& address) {
    downloadAddress_ = address;
    if (separator_) separator_->setVisible(true);
    if (download_) download_->setVisible(true);
}

void HelpAndUpdates::downloadUpdate() {
    if (!downloadAddress_.isEmpty()) launcher_().shellExecute(downloadAddress_);
}

bool HelpAndUpdates::desktopHasChmViewer() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("application/vnd.ms-htmlhelp")});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
}

void HelpAndUpdates::showHelp() {
    if (QFileInfo(paths_.helpFile).isFile() && chmViewerInstalled_ && chmViewerInstalled_()) {
        launcher_().shellExecute(paths_.helpFile);
        return;
    }
    if (!helpWindow_) {
        helpWindow_ = new HelpWindow(qobject_cast<QWidget*>(parent()));
        helpWindow_->open(paths_.helpGuide);
    }
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

QString HelpAndUpdates::aboutText(const QString& mail, const QString& site) {
    return QStringLiteral("Автор программы ") + kAuthor + QStringLiteral("\r\nE-mail: ") + mail +
           QStringLiteral("\r\n\r\nВсе замечания и предложения присылайте\r\nна мой ящик или оставляйте на сайте\r\n") + site;
}

void HelpAndUpdates::showAbout() {
    const IniFile ini(paths_.settingsFile);
    prompter_.showMessage(aboutText(ini.readText(QStringLiteral("Info"), QStringLiteral("mail"), kAuthorMail),
                                    ini.readText(QStringLiteral("Info"), QStringLiteral("site"))));
}

} // namespace tw
