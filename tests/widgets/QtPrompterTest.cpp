#include "widgets/QtPrompter.h"

#include <gtest/gtest.h>

using velnor::ui::ToQtFilter;

TEST(QtPrompter, TurnsBarSeparatedFiltersIntoQtFilters)
{
    EXPECT_EQ(ToQtFilter(QStringLiteral("Binary File (*.bin)|*.bin|All files (*.*)|*.*")),
              QStringLiteral("Binary File (*.bin);;All files (*.*)"));
    EXPECT_EQ(ToQtFilter(QStringLiteral("Pictures|*.png;*.bmp")), QStringLiteral("Pictures (*.png *.bmp)"));
    EXPECT_EQ(ToQtFilter(QStringLiteral("Text (*.txt)")), QStringLiteral("Text (*.txt)"));
}
