#include "app/AppStart.h"
#include "app/FrmMain.h"
#include "widgets/QtPrompter.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    velnor::app::InitApplication(app);
    // The installed desktop entry and icon (share/applications, share/icons).
    QGuiApplication::setDesktopFileName(QStringLiteral("velnor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("velnor")));
    velnor::ui::QtPrompter prompter;
    const auto formMain = velnor::app::CreateForms(prompter);
    formMain->show();
    // The installation test starts the program and lets it end by itself once
    // its window is up.
    if (QApplication::arguments().contains(QStringLiteral("--quit-after-start")))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
