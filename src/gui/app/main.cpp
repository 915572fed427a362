#include "app/tform1.h"
#include "platform/prompter.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    tw::QtPrompter prompter;
    tw::TForm1 form(prompter);
    prompter.setParent(&form);
    form.show();
    return app.exec();
}
