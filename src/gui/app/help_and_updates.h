#pragma once
// "Справка", "О программе..." and the update check: a thread asks the update host for
// the latest version at start-up, and a newer one shows the download button. "Справка"
// opens Help.chm beside the program when a program for CHM files is installed, and the
// user guide in the program's own help window otherwise.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QAction;

namespace tw {

class HelpWindow;
class Launcher;
class Prompter;
class UpdateCheck;
struct ProgramPaths;

class HelpAndUpdates : public QObject {
    Q_OBJECT
public:
    HelpAndUpdates(const ProgramPaths& paths, Prompter& prompter, std::function<Launcher&()> launcher,
                   QObject* parent = nullptr);
    ~HelpAndUpdates() override;

    // The download button and the separator before it, hidden until a newer version is found.
    void setDownloadActions(QAction* separator, QAction* button);
    // Off in tests and benchmarks, which must not reach out to the network.
    static void setUpdateCheckEnabled(bool enabled);
    // Starts the update check against the [Update] host of the settings (once per run).
    void startUpdateCheck();
    const QString& downloadAddress() const { return downloadAddress_; }
    // The update check found a newer version: remember its address and show the button.
    void newerVersionFound(const QString& address);
    void downloadUpdate();
    void showHelp();
    // Whether a program for CHM files is installed; the desktop's default handler is asked
    // (only when Help.chm exists). Tests put their answer here.
    void setChmViewerCheck(std::function<bool()> check) { chmViewerInstalled_ = std::move(check); }
    static bool desktopHasChmViewer();
    // The help window once "Справка" has shown it, otherwise null.
    HelpWindow* helpWindow() const { return helpWindow_; }
    void showAbout();
    // The about message for the [Info] mail and site of the settings.
    static QString aboutText(const QString& mail, const QString& site);

private:
    const ProgramPaths& paths_;
    Prompter& prompter_;
    std::function<Launcher&()> launcher_;
    QAction* separator_ = nullptr;
    QAction* download_ = nullptr;
    QString downloadAddress_;
    std::unique_ptr<UpdateCheck> update_;
    std::function<bool()> chmViewerInstalled_ = &HelpAndUpdates::desktopHasChmViewer;
    HelpWindow* helpWindow_ = nullptr;
};

} // namespace tw
