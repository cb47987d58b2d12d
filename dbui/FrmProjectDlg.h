#pragma once

#include "db/Scenarios.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velnor::ui {
class Prompter;
}

namespace velnor::dbui {

// Asks for the name and description of a new project.
class TFrmProjectDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFrmProjectDlg(ui::Prompter& prompter, QWidget* parent = nullptr);

    // Shows the form for `project1`; after OK fills it and, for a new project,
    // stores it (KySaveProject, not committed). False without a project.
    bool showProjectForm(db::Connection& conn, db::TKyModel model1, db::TKyProject* project1);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    bool newProject = false;

private:
    ui::Prompter& prompter_;
};

} // namespace velnor::dbui
