#pragma once

#include "common/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

// Dialogs that answer from a script and remember what they were asked.
class FakeDialogs : public Dialogs {
public:
    struct Message {
        QString text, title;
        QMessageBox::Icon icon;
        bool hourglass; // the wait pointer was still showing
    };
    struct Input { QString prompt, title, defaultText; };

    std::vector<Message> messages, questions;
    std::vector<Input> inputs;
    std::vector<FileRequest> fileRequests;

    // Yes (true) or No, in order; No when none is left.
    std::deque<bool> questionAnswers;
    // Answers in order; std::nullopt is Cancel.
    std::deque<std::optional<QString>> inputAnswers;
    // Full paths; an empty list is Cancel. The chosen folder becomes current, as with
    // the real dialog. selectedFilters answers saveFile's filter choice.
    std::deque<QStringList> fileAnswers;
    std::deque<QString> selectedFilters;

    void message(QWidget*, const QString& text, const QString& title, QMessageBox::Icon icon) override
    {
        messages.push_back({text, title, icon, QApplication::overrideCursor() != nullptr});
    }
    bool question(QWidget*, const QString& text, const QString& title) override
    {
        questions.push_back({text, title, QMessageBox::Question, QApplication::overrideCursor() != nullptr});
        return next(questionAnswers).value_or(false);
    }
    std::optional<QString> input(QWidget*, const QString& prompt, const QString& title, const QString& defaultText) override
    {
        inputs.push_back({prompt, title, defaultText});
        return next(inputAnswers).value_or(std::nullopt);
    }
    QStringList openFiles(QWidget*, FileRequest& request) override
    {
        fileRequests.push_back(request);
        const QStringList answer = next(fileAnswers).value_or(QStringList());
        if (answer.isEmpty())
            return {};
        if (!selectedFilters.empty())
            request.selectedFilter = *next(selectedFilters);
        QDir::setCurrent(QFileInfo(answer.first()).absolutePath());
        return answer;
    }
    std::optional<QString> openFile(QWidget* parent, FileRequest& request) override
    {
        const QStringList answer = openFiles(parent, request);
        return answer.isEmpty() ? std::nullopt : std::optional(answer.first());
    }
    std::optional<QString> saveFile(QWidget* parent, FileRequest& request) override { return openFile(parent, request); }

    // The texts of the messages shown so far, each expected to be the program's warning;
    // they are then taken as dealt with.
    QStringList takeWarnings()
    {
        QStringList texts;
        for (const Message& m : messages) {
            EXPECT_TRUE(m.title == "Trelvik" && m.icon == QMessageBox::Warning) << m.text.toStdString();
            texts << m.text;
        }
        messages.clear();
        return texts;
    }

private:
    // The first answer left, taken; none when none is left.
    template <class Answer>
    static std::optional<Answer> next(std::deque<Answer>& answers)
    {
        if (answers.empty())
            return std::nullopt;
        // Copied, not moved: GCC takes a moved optional QString for a maybe-uninitialized one.
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
