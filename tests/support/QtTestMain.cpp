#include "core/DataTables.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velnor"));
    velnor::StaticToDynamic();
    // The program's settings of both scopes live in a folder of this run.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settings.filePath(QStringLiteral("system")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
