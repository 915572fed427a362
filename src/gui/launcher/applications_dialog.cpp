#include "launcher/applications_dialog.h"

#include "platform/prompter.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tw {

ApplicationsDialog::ApplicationsDialog(QMenu& popupMenu6, ProgramPaths paths, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      menu_(popupMenu6), paths_(std::move(paths)), prompter_(prompter) {
    setObjectName(QStringLiteral("applications"));
    setWindowTitle(QString());
    setFixedSize(393, 260);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("list"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Описание"), QStringLiteral("Объект")});
    list_->setColumnWidth(0, 120);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto button = [this](const char* name, const QString& caption, void (ApplicationsDialog::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    QPushButton* ok = button("OkButton", QStringLiteral("OK"), &ApplicationsDialog::accept);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button("AddButton", QStringLiteral("Добавить"), &ApplicationsDialog::addEntry));
    buttons->addWidget(button("DeleteButton", QStringLiteral("Удалить"), &ApplicationsDialog::removeEntry));
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
}

void ApplicationsDialog::loadSettings() {
    for (const AppEntry& e : readApplicationList(IniFile(paths_.settingsFile))) insertEntry(e.object, e.description);
}

bool ApplicationsDialog::saveSettings() {
    IniFile ini(paths_.settingsFile);
    writeApplicationList(ini, entries());
    if (ini.save()) return true;
    prompter_.showMessage(unableToWrite(paths_.settingsFile));
    return false;
}

std::vector<AppEntry> ApplicationsDialog::entries() const {
    std::vector<AppEntry> result;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list_->topLevelItem(i);
        result.push_back({row->text(0), row->text(1)});
    }
    return result;
}

void ApplicationsDialog::addEntry() {
    // One input box; nothing when cancelled, or (after the message) when the answer is blank.
    auto ask = [this](const QString& prompt, const QString& blankMessage) -> std::optional<QString> {
        const std::optional<QString> answer =
            prompter_.askText(QStringLiteral("Добавление объекта"), prompt, QString());
        if (!answer) return std::nullopt;
        const QString text = *answer;  // copied out: GCC 12 warns about copying the optional
        if (!isBlankEntryText(text)) return text;
        prompter_.showMessage(blankMessage);
        return std::nullopt;
    };
    const std::optional<QString> description =
        ask(QStringLiteral("Описание:"), QStringLiteral("Описание не может быть пустым"));
    if (!description) return;
    const QString d = *description;
    const std::optional<QString> object = ask(QStringLiteral("Объект:"), QStringLiteral("Объект не может быть пустым"));
    if (!object) return;
    const QString o = *object;
    insertEntry(o, d);
}

void ApplicationsDialog::insertEntry(const QString& object, const QString& description) {
    list_->addTopLevelItem(new QTreeWidgetItem(QStringList{description, object}));
    auto* item = new QAction(menuText(description), this);
    connect(item, &QAction::triggered, this, [this, item] { openItem(item); });
    const QList<QAction*> items = menu_.actions();
    menu_.insertAction(items.value(entryMenuPosition(static_cast<int>(items.size())), nullptr), item);
}

void ApplicationsDialog::removeEntry() {
    QTreeWidgetItem* row = list_->currentItem();
    if (!row || !row->isSelected()) return;
    const int index = list_->indexOfTopLevelItem(row);
    if (QAction* item = menu_.actions().value(index, nullptr)) {
        menu_.removeAction(item);
        delete item;
    }
    delete row;
}

void ApplicationsDialog::openItem(QAction* item) {
    const int index = static_cast<int>(menu_.actions().indexOf(item));
    if (index < 0 || index >= list_->topLevelItemCount()) return;
    emit openObject(list_->topLevelItem(index)->text(1));
}

void ApplicationsDialog::done(int result) {
    saveSettings();
    QDialog::done(result);
}

void ApplicationsDialog::showEvent(QShowEvent* event) {
    if (!placed_) {
        // Centred on the desktop the first time it is shown.
        placed_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

} // namespace tw
