#include "app/main_window.h"
#include "platform/prompter.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    tw::QtPrompter prompter;
    tw::MainWindow form(prompter);
    prompter.setParent(&form);
    form.show();
    return app.exec();
}
