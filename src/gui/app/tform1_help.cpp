// The update check, help and about of the main window.

#include "app/tform1.h"

#include "app/ini_file.h"
#include "app/tupdate.h"
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

void TForm1::setUpdateCheckEnabled(bool enabled) { updateCheckEnabled = enabled; }

void TForm1::startUpdateCheck() {
    if (!updateCheckEnabled || update_) return;  // once per run
    const IniFile ini(paths_.settingsFile);
    const QString host = ini.readText(QStringLiteral("Update"), QStringLiteral("host"), kDefaultUpdateHost);
    if (host.trimmed().isEmpty()) return;  // the check is switched off
    update_ = std::make_unique<TUpdate>(QUrl(versionFileUrl(host)));
    connect(update_.get(), &TUpdate::newerVersion, this, &TForm1::newerVersionFound, Qt::QueuedConnection);
    update_->start();
}

void TForm1::newerVersionFound(const QString& address) {
    downloadAddress_ = address;
    command(QStringLiteral("ToolButton31"))->setVisible(true);
    command(QStringLiteral("ToolButton30"))->setVisible(true);
}

void TForm1::ToolButton30Click() {
    if (!downloadAddress_.isEmpty()) launcher().shellExecute(downloadAddress_);
}

void TForm1::N42Click() { launcher().shellExecute(paths_.helpFile); }

QString TForm1::aboutText(const QString& mail, const QString& site) {
    return QStringLiteral("Автор программы ") + kAuthor + QStringLiteral("\r\nE-mail: ") + mail +
           QStringLiteral("\r\n\r\nВсе замечания и предложения присылайте\r\nна мой ящик или оставляйте на сайте\r\n") + site;
}

void TForm1::N10Click() {
    const IniFile ini(paths_.settingsFile);
    prompter_.showMessage(aboutText(ini.readText(QStringLiteral("Info"), QStringLiteral("mail"), kAuthorMail),
                                    ini.readText(QStringLiteral("Info"), QStringLiteral("site"))));
}

} // namespace tw
