#include "dbui/FrmProjectDlg.h"

#include "widgets/Services.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace velnor::dbui {

TFrmProjectDlg::TFrmProjectDlg(ui::Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("FrmProjectDlg"));
    setWindowTitle(tr("Project"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(tr("Name"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    Label2 = new QLabel(tr("Description"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTabChangesFocus(true);
    Label2->setBuddy(Memo1);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addWidget(Label2);
    layout->addWidget(Memo1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), tr("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(287, 236);
}

bool TFrmProjectDlg::showProjectForm(db::Connection& conn, db::TKyModel model1, db::TKyProject* project1)
{
    if (!project1)
        return false;
    newProject = project1->id < 0;
    Edit1->setText(QString::fromStdString(project1->short_descr));
    Memo1->setPlainText(QString::fromStdString(project1->descr));
    Edit1->selectAll();
    Edit1->setFocus();
    if (prompter_.exec(*this) == QDialog::Accepted) {
        project1->short_descr = Edit1->text().toStdString();
        project1->descr = Memo1->toPlainText().toStdString();
        project1->model = model1;
        if (newProject) {
            project1->creator = conn.UserName();
            project1->creation_date = std::chrono::system_clock::now();
            project1->KySaveProject(conn);
        }
    }
    return true;
}

} // namespace velnor::dbui
