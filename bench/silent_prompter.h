#pragma once
// A prompter for benchmarks: refuses every question and dialog, counts information boxes.

#include "platform/prompter.h"

namespace tw::bench {

class SilentPrompter : public Prompter {
public:
    int informations = 0;
    bool askYesNo(const QString&, const QString&, bool) override { return false; }
    Answer askYesNoCancel(const QString&, const QString&) override { return Answer::No; }
    void showMessage(const QString&) override {}
    void showInformation(const QString&) override { ++informations; }
    std::optional<FileChoice> chooseOpenFile(const std::vector<FileFilter>&) override { return {}; }
    std::optional<FileChoice> chooseSaveFile(const std::vector<FileFilter>&) override { return {}; }
    std::optional<QColor> chooseColor(const QColor&) override { return {}; }
    std::optional<QString> chooseDirectory(const QString&) override { return {}; }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return {}; }
};

} // namespace tw::bench
