#include "app/AppStart.h"

#include "core/DataTables.h"

#include <QCoreApplication>

namespace velnor::app {

void InitApplication(QCoreApplication& app)
{
    StaticToDynamic();
    app.setApplicationName(QStringLiteral("Velnor"));
    app.setOrganizationName(QString::fromLatin1(SettingsOrganization));
}

} // namespace velnor::app
