// Shows the main window with a collection open and saves a picture of it.
//   tarnwick_screenshot COLLECTION.xml OUT.png
// The last two pages of the collection are opened in tabs.
#include "app/ini_file.h"
#include "app/tform1.h"
#include "platform/prompter.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QPixmap>
#include <QTimer>
#include <QTreeView>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) return 2;
    // A settings file of its own that names the collection as the last file.
    QTemporaryDir settingsDir;
    {
        tw::IniFile ini(settingsDir.filePath(QStringLiteral("Settings.ini")));
        ini.writeText(QStringLiteral("Files"), QStringLiteral("LastFile"), QFileInfo(args[1]).absoluteFilePath());
        ini.save();
    }
    tw::QtPrompter prompter;
    tw::TForm1 form(prompter, tw::ProgramPaths::inFolder(settingsDir.path()));
    prompter.setParent(&form);
    form.resize(760, 520);
    form.show();
    if (auto* tree = form.findChild<QTreeView*>(QStringLiteral("Tree"))) tree->expandAll();
    // Open the last two pages of the collection in tabs of their own.
    std::vector<const tw::Node*> pages;
    for (const tw::Node* n : form.tree().preorder())
        if (n->kindImage == tw::kPageKind) pages.push_back(n);
    for (size_t k = pages.size() >= 2 ? pages.size() - 2 : 0; k < pages.size(); ++k) {
        form.selectNode(pages[k]);
        form.OpenInNewPage();
    }
    int rc = 1;
    QTimer::singleShot(500, [&] {
        rc = form.grab().save(args[2]) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return rc;
}
