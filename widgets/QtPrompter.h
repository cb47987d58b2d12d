#pragma once

#include "widgets/Services.h"

#include <QMessageBox>

#include <memory>

namespace velnor::ui {

// The Prompter of the running program: Qt message boxes and file dialogs.
class QtPrompter : public Prompter {
public:
    void showError(QWidget* parent, const QString& message) override;
    void showMessage(QWidget* parent, const QString& message) override;
    Answer ask(QWidget* parent, const QString& question, bool allowCancel = false) override;
    void showWarning(QWidget* parent, const QString& message) override;
    Answer askWarning(QWidget* parent, const QString& question, bool allowCancel = false) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& fileName,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& fileName,
                         const QString& filter) override;
    QString saveFileNameWithFilter(QWidget* parent, const QString& caption, const QString& fileName,
                                   const QString& filter, QString& selectedFilter) override;
    int exec(QDialog& dialog) override;
};

// A message as a box shows it: every line break ("\n\r", "\r\n", a lone
// "\r" or "\n") ends one line, so a report shows no blank lines between its
// messages.
QString MessageLines(const QString& text);

// The box of a message with its buttons, run by exec(), which returns the
// QMessageBox::StandardButton chosen. A text too tall for the screen of
// `parent` comes in a box of the screen's height whose text scrolls.
std::unique_ptr<QDialog> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton);

// Turns a filter written as "Text (*.a)|*.a|All files (*.*)|*.*" (pairs of
// description and pattern) into Qt's ";;"-separated form; a filter already in
// Qt's form is returned unchanged.
QString ToQtFilter(const QString& filter);

} // namespace velnor::ui
