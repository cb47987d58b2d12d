#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace velnor::ui {

enum class Answer { Yes, No, Cancel };

// Every message box, confirmation, file dialog and modal run of a dialog goes
// through here, so that tests can answer them.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Error box with an OK button.
    virtual void showError(QWidget* parent, const QString& message) = 0;
    // Information box with an OK button.
    virtual void showMessage(QWidget* parent, const QString& message) = 0;
    // Confirmation with Yes and No (and Cancel when allowCancel).
    virtual Answer ask(QWidget* parent, const QString& question, bool allowCancel = false) = 0;
    // Empty text when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& fileName,
                                 const QString& filter) = 0;
    // Asks before overwriting an existing file; empty text when the user cancels.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& fileName,
                                 const QString& filter) = 0;
    // Runs a dialog modally and returns its result (QDialog::Accepted / Rejected).
    virtual int exec(QDialog& dialog) = 0;
};

// What a form needs of the application around it (the main window provides it).
class AppServices {
public:
    virtual ~AppServices() = default;
    virtual Prompter& prompter() = 0;
    virtual void SetScenarioChanged(bool changed) = 0;
    virtual void refreshForm() = 0;
    virtual void showHelp(int context) = 0;
    // "hm3" or "m3".
    virtual QString volumeUnit() const = 0;
};

} // namespace velnor::ui
