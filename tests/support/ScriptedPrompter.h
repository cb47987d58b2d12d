#pragma once

#include "widgets/Services.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace velnor::test {

// A Prompter for tests: answers come from queues, dialogs are run by a
// callback, and everything shown is recorded.
class ScriptedPrompter : public ui::Prompter {
public:
    enum class Kind { Error, Message, Question, OpenFile, SaveFile, Dialog };
    struct Shown {
        Kind kind;
        QString text;    // message, question, file dialog caption or dialog objectName
        QString filter;  // file dialogs: the filter
        QString preset;  // file dialogs: the preset file name
    };

    // Answers to ask(), in order; when empty, defaultAnswer.
    std::deque<ui::Answer> answers;
    ui::Answer defaultAnswer = ui::Answer::No;
    // File names returned by openFileName()/saveFileName(); when empty, "" (cancel).
    std::deque<QString> fileNames;
    // Filters chosen in saveFileNameWithFilter(), in order; when empty, "".
    std::deque<QString> selectedFilters;
    // Runs a dialog instead of a person; returns QDialog::Accepted or Rejected.
    // Without one, every dialog is rejected. A queue of callbacks is used first.
    std::function<int(QDialog&)> onExec;
    std::deque<std::function<int(QDialog&)>> execQueue;

    std::vector<Shown> shown;

    void showError(QWidget*, const QString& message) override { shown.push_back({Kind::Error, message, {}, {}}); }
    void showMessage(QWidget*, const QString& message) override
    {
        shown.push_back({Kind::Message, message, {}, {}});
    }
    ui::Answer ask(QWidget*, const QString& question, bool allowCancel = false) override
    {
        shown.push_back({Kind::Question, question, allowCancel ? QStringLiteral("cancel") : QString(), {}});
        if (answers.empty())
            return defaultAnswer;
        const ui::Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString openFileName(QWidget*, const QString& caption, const QString& fileName, const QString& filter) override
    {
        shown.push_back({Kind::OpenFile, caption, filter, fileName});
        return nextFile();
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& fileName, const QString& filter) override
    {
        shown.push_back({Kind::SaveFile, caption, filter, fileName});
        return nextFile();
    }
    QString saveFileNameWithFilter(QWidget* parent, const QString& caption, const QString& fileName,
                                   const QString& filter, QString& selectedFilter) override
    {
        selectedFilter.clear();
        if (!selectedFilters.empty()) {
            selectedFilter = selectedFilters.front();
            selectedFilters.pop_front();
        }
        return saveFileName(parent, caption, fileName, filter);
    }
    int exec(QDialog& dialog) override
    {
        shown.push_back({Kind::Dialog, dialog.objectName(), {}, {}});
        if (!execQueue.empty()) {
            auto f = std::move(execQueue.front());
            execQueue.pop_front();
            return f(dialog);
        }
        return onExec ? onExec(dialog) : int(QDialog::Rejected);
    }

    // Texts of the messages of one kind, in order.
    QStringList texts(Kind kind) const
    {
        QStringList out;
        for (const Shown& s : shown)
            if (s.kind == kind)
                out << s.text;
        return out;
    }
    QStringList errors() const { return texts(Kind::Error); }
    QStringList messages() const { return texts(Kind::Message); }
    QStringList questions() const { return texts(Kind::Question); }
    void clear() { shown.clear(); }

private:
    QString nextFile()
    {
        if (fileNames.empty())
            return {};
        QString f = fileNames.front();
        fileNames.pop_front();
        return f;
    }
};

} // namespace velnor::test
