#include "app/AppStart.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(Start, NamesTheApplication)
{
    velnor::app::InitApplication(*QApplication::instance());
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Velnor"));
}
