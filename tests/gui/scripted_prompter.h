#pragma once
// A prompter that answers from a script and records what it was asked and shown.

#include "platform/prompter.h"
#include "../qt_printers.h"

#include <deque>
#include <gtest/gtest.h>

namespace tw {

class ScriptedPrompter : public Prompter {
public:
    struct Question {
        QString caption, text;
        bool warning;
    };

    std::deque<bool> answers;                          // Yes/No answers, in order
    std::deque<std::optional<FileChoice>> fileChoices;  // nullopt = cancelled
    std::vector<Question> questions;
    QStringList messages;
    std::vector<std::vector<FileFilter>> filtersOffered;

    bool askYesNo(const QString& caption, const QString& text, bool warning) override {
        questions.push_back({caption, text, warning});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return false;
        }
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<Answer> threeWayAnswers;  // Yes/No/Cancel answers, in order
    Answer askYesNoCancel(const QString& caption, const QString& text) override {
        questions.push_back({caption, text, false});
        if (threeWayAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return Answer::Cancel;
        }
        const Answer a = threeWayAnswers.front();
        threeWayAnswers.pop_front();
        return a;
    }
    void showMessage(const QString& text) override { messages << text; }
    void showInformation(const QString& text) override { messages << text; }
    std::optional<FileChoice> chooseOpenFile(const std::vector<FileFilter>& filters) override {
        return nextFile(filters);
    }
    std::optional<FileChoice> chooseSaveFile(const std::vector<FileFilter>& filters) override {
        return nextFile(filters);
    }
    std::deque<std::optional<QColor>> colorChoices;  // nullopt = cancelled
    std::optional<QColor> chooseColor(const QColor&) override {
        if (colorChoices.empty()) {
            ADD_FAILURE() << "unexpected colour dialog";
            return std::nullopt;
        }
        auto c = colorChoices.front();
        colorChoices.pop_front();
        return c;
    }

    struct TextQuestion {
        QString caption, prompt, initial;
    };
    std::deque<std::optional<QString>> directoryChoices;  // nullopt = cancelled
    std::vector<QString> directoryStarts;                 // the start folder of each folder dialog
    std::optional<QString> chooseDirectory(const QString& start) override {
        directoryStarts.push_back(start);
        return next(directoryChoices, "folder dialog");
    }
    std::deque<std::optional<QString>> textAnswers;  // nullopt = cancelled
    std::vector<TextQuestion> textQuestions;
    std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) override {
        textQuestions.push_back({caption, prompt, initial});
        return next(textAnswers, "input box");
    }

private:
    template <typename T>
    static std::optional<T> next(std::deque<std::optional<T>>& script, const char* what) {
        if (script.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return std::nullopt;
        }
        // Copied out through a plain value: GCC 12 warns about copying the optional itself.
        const bool given = script.front().has_value();
        T value = given ? *script.front() : T{};
        script.pop_front();
        if (!given) return std::nullopt;
        return value;
    }
    std::optional<FileChoice> nextFile(const std::vector<FileFilter>& filters) {
        filtersOffered.push_back(filters);
        if (fileChoices.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return std::nullopt;
        }
        const bool cancelled = !fileChoices.front().has_value();
        const FileChoice chosen = cancelled ? FileChoice{} : *fileChoices.front();
        fileChoices.pop_front();
        if (cancelled) return std::nullopt;
        return chosen;
    }
};

} // namespace tw
