#pragma once

#include "core/WaterUser.h"

#include <QString>

#include <cstddef>

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
    // The same two with a warning symbol.
    virtual void showWarning(QWidget* parent, const QString& message) { showMessage(parent, message); }
    virtual Answer askWarning(QWidget* parent, const QString& question, bool allowCancel = false)
    {
        return ask(parent, question, allowCancel);
    }
    // Empty text when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& fileName,
                                 const QString& filter) = 0;
    // Asks before overwriting an existing file; empty text when the user cancels.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& fileName,
                                 const QString& filter) = 0;
    // As saveFileName; selectedFilter receives the filter the user chose
    // (empty when the dialog does not tell).
    virtual QString saveFileNameWithFilter(QWidget* parent, const QString& caption, const QString& fileName,
                                           const QString& filter, QString& selectedFilter)
    {
        selectedFilter.clear();
        return saveFileName(parent, caption, fileName, filter);
    }
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

    // The main list's side of editing (the main window overrides these).
    // Whether the group panel is open (then no editor opens).
    virtual bool groupPanelOpen() const { return false; }
    // The category text of the main list's hidden column 1 for water user
    // recordNr ("1", "2", "3", "4" or "-1"); empty when there is no such row.
    virtual QString mainListCategory(int recordNr) const;
    // Copies the members of group recordNr into WatConsRec, lists them in the
    // group panel and opens it.
    virtual void openGroupPanel(int recordNr) { (void)recordNr; }
};

inline QString AppServices::mainListCategory(int recordNr) const
{
    if (recordNr < 0 || std::size_t(recordNr) >= velnor::WatUserRec.size())
        return {};
    return QString::number(velnor::WatUserRec[std::size_t(recordNr)].Category);
}

} // namespace velnor::ui
