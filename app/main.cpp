#include "app/AppStart.h"
#include "app/FrmMain.h"
#include "widgets/QtPrompter.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    velnor::app::InitApplication(app);
    velnor::ui::QtPrompter prompter;
    const auto formMain = velnor::app::CreateForms(prompter);
    formMain->show();
    return app.exec();
}
