#include "app/AppStart.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(Start, NamesTheApplicationAndItsSettings)
{
    velnor::app::InitApplication(*QApplication::instance());
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Velnor"));
    const auto settings = velnor::app::OpenSettings();
    EXPECT_EQ(settings->organizationName(), QStringLiteral("Mervak"));
    EXPECT_EQ(settings->applicationName(), QStringLiteral("General"));
}
