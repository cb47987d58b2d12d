#pragma once

#include "widgets/Services.h"

namespace velnor::ui {

// The Prompter of the running program: Qt message boxes and file dialogs.
class QtPrompter : public Prompter {
public:
    void showError(QWidget* parent, const QString& message) override;
    void showMessage(QWidget* parent, const QString& message) override;
    Answer ask(QWidget* parent, const QString& question, bool allowCancel = false) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& fileName,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& fileName,
                         const QString& filter) override;
    QString saveFileNameWithFilter(QWidget* parent, const QString& caption, const QString& fileName,
                                   const QString& filter, QString& selectedFilter) override;
    int exec(QDialog& dialog) override;
};

// Turns a filter written as "Text (*.a)|*.a|All files (*.*)|*.*" (pairs of
// description and pattern) into Qt's ";;"-separated form; a filter already in
// Qt's form is returned unchanged.
QString ToQtFilter(const QString& filter);

} // namespace velnor::ui
