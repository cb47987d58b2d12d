#include "app/HelpRouter.h"

#include "widgets/Services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace velnor::app {

THelpRouter::THelpRouter(ui::Prompter& prompter, QWidget* parent, Opener opener)
    : prompter_(prompter),
      parent_(parent),
      opener_(opener ? std::move(opener) : Opener([](const QUrl& url) { return QDesktopServices::openUrl(url); })),
      helpFile_(DefaultHelpFile())
{
}

QString THelpRouter::DefaultHelpFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(HelpFileName));
}

bool THelpRouter::showHelp(int context)
{
    const QString path = QDir::toNativeSeparators(helpFile_);
    if (!QFileInfo(helpFile_).isFile()) {
        prompter_.showError(parent_, QCoreApplication::translate("THelpRouter",
                                                                 "The help file \"%1\" was not found.\n"
                                                                 "Help topic %2 cannot be shown.")
                                         .arg(path)
                                         .arg(context));
        return false;
    }
    if (!opener_(QUrl::fromLocalFile(helpFile_))) {
        prompter_.showError(parent_, QCoreApplication::translate("THelpRouter",
                                                                 "The help file \"%1\" could not be opened.\n"
                                                                 "Help topic %2 cannot be shown.")
                                         .arg(path)
                                         .arg(context));
        return false;
    }
    return true;
}

} // namespace velnor::app
