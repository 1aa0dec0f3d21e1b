#pragma once

#include "common/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <type_traits>
#include <vector>

// Dialogs that answer from a script and remember what they were asked.
class FakeDialogs : public Dialogs {
public:
    struct Message {
        QString text;
        QString title;
        QMessageBox::Icon icon;
        bool hourglass; // the wait pointer was still showing
    };
    struct Input {
        QString prompt;
        QString title;
        QString defaultText;
    };

    std::vector<Message> messages;
    std::vector<Message> questions;
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
        return next(questionAnswers, false);
    }

    std::optional<QString> input(QWidget*, const QString& prompt, const QString& title,
                                 const QString& defaultText) override
    {
        inputs.push_back({prompt, title, defaultText});
        if (inputAnswers.empty())
            return std::nullopt;
        // Copied, not moved: GCC takes a moved optional QString for a maybe-uninitialized one.
        const std::optional<QString> answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }

    QStringList openFiles(QWidget*, FileRequest& request) override { return answerFiles(request); }
    std::optional<QString> openFile(QWidget*, FileRequest& request) override { return oneFile(request); }
    std::optional<QString> saveFile(QWidget*, FileRequest& request) override { return oneFile(request); }

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
    static Answer next(std::deque<Answer>& answers, std::type_identity_t<Answer> none)
    {
        if (answers.empty())
            return none;
        Answer answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    QStringList answerFiles(FileRequest& request)
    {
        fileRequests.push_back(request);
        const QStringList answer = next(fileAnswers, {});
        if (answer.isEmpty())
            return {};
        if (!selectedFilters.empty())
            request.selectedFilter = next(selectedFilters, {});
        QDir::setCurrent(QFileInfo(answer.first()).absolutePath());
        return answer;
    }

    std::optional<QString> oneFile(FileRequest& request)
    {
        const QStringList answer = answerFiles(request);
        return answer.isEmpty() ? std::nullopt : std::optional(answer.first());
    }
};
