#include "core/DataTables.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Offscreen on a 1366x768 screen, the laptop screen every form must fit
    // (QT_SCALE_FACTOR scales it as on a real one).
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VELNOR_LAPTOP_SCREEN);
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
