#pragma once

#include "windows/Prompts.h"

#include <QStringList>

// Records every box and dialog the launcher opens and answers from a script,
// so that no test ever blocks on a modal window.
class ScriptedPrompts : public Prompts {
public:
    void information(QWidget*, const QString& text) override { messages << text; }
    bool confirm(QWidget*, const QString& text) override {
        confirmations << text;
        return confirmAnswer;
    }
    void error(QWidget*, const QString& text) override { errors << text; }
    std::optional<QString> openFile(QWidget*, const QString& filter, const QString&) override {
        fileDialogs << filter;
        if (fileAnswers.isEmpty())
            return std::nullopt;
        const QString answer = fileAnswers.takeFirst();
        if (answer.isNull())
            return std::nullopt; // a null answer cancels
        return answer;
    }

    SaveFailureAnswer saveFailed(QWidget*, const QString& message) override {
        saveFailures << message;
        return saveFailureAnswers.isEmpty() ? SaveFailureAnswer::KeepOpen
                                            : saveFailureAnswers.takeFirst();
    }

    std::optional<QString> password(QWidget*, const QString& text) override {
        passwordPrompts << text;
        if (passwordAnswers.isEmpty() || passwordAnswers.first().isNull())
            return std::nullopt; // a null answer cancels
        return passwordAnswers.takeFirst();
    }

    QStringList messages;
    QStringList confirmations;
    QStringList errors;
    QStringList fileDialogs;
    QStringList fileAnswers;
    QStringList saveFailures;
    QList<SaveFailureAnswer> saveFailureAnswers;
    QStringList passwordPrompts;
    QStringList passwordAnswers;
    bool confirmAnswer = true;
};

// Installs scripted prompts for the life of the object.
struct InstalledPrompts {
    InstalledPrompts() {
        auto owned = std::make_unique<ScriptedPrompts>();
        prompts = owned.get();
        Prompts::install(std::move(owned));
    }
    ScriptedPrompts* operator->() const { return prompts; }
    ScriptedPrompts* prompts;
};
