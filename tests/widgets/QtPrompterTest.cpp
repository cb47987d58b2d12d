#include "widgets/QtPrompter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <gtest/gtest.h>

using velnor::ui::MakeMessageBox;
using velnor::ui::MessageLines;
using velnor::ui::ToQtFilter;

TEST(QtPrompter, TurnsBarSeparatedFiltersIntoQtFilters)
{
    EXPECT_EQ(ToQtFilter(QStringLiteral("Binary File (*.bin)|*.bin|All files (*.*)|*.*")),
              QStringLiteral("Binary File (*.bin);;All files (*.*)"));
    EXPECT_EQ(ToQtFilter(QStringLiteral("Pictures|*.png;*.bmp")), QStringLiteral("Pictures (*.png *.bmp)"));
    EXPECT_EQ(ToQtFilter(QStringLiteral("Text (*.txt)")), QStringLiteral("Text (*.txt)"));
}

namespace {

// A report as the data dialogs collect it: a heading and `lines` messages,
// each after "\n\r".
QString Report(int lines)
{
    QString text = QStringLiteral("Error Messages:");
    for (int i = 1; i <= lines; ++i)
        text += QStringLiteral("\n\rThe Value of water intake for month %1 must be a positive real number").arg(i);
    return text;
}

} // namespace

TEST(QtPrompter, EveryLineBreakOfAMessageEndsExactlyOneLine)
{
    EXPECT_EQ(MessageLines(QStringLiteral("Error Messages:\n\ra\n\rb")), QStringLiteral("Error Messages:\na\nb"));
    EXPECT_EQ(MessageLines(QStringLiteral("Unable to write to file:\r/tmp/x")),
              QStringLiteral("Unable to write to file:\n/tmp/x"));
    EXPECT_EQ(MessageLines(QStringLiteral("a\r\nb\nc")), QStringLiteral("a\nb\nc"));
}

// Every box fits the screen with its buttons; a long report scrolls and keeps
// its text and lines. (The tests run on a 1366x768 screen, also scaled by 1.5.)
TEST(QtPrompter, MessageBoxesFitTheScreenAndLongReportsScroll)
{
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    for (int lines : {1, 12, 37, 120}) {
        SCOPED_TRACE(lines);
        auto box = MakeMessageBox(nullptr, QMessageBox::Critical, Report(lines), QMessageBox::Ok, QMessageBox::Ok);
        box->show();
        QApplication::processEvents();
        EXPECT_LE(box->height() + 40, room.height());
        EXPECT_LE(box->width(), room.width());
        const auto* button = box->findChild<QPushButton*>();
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(box->rect().contains(QRect(button->mapTo(box.get(), QPoint(0, 0)), button->size())));
        const QString shown = qobject_cast<QMessageBox*>(box.get())
                                  ? qobject_cast<QMessageBox*>(box.get())->text()
                                  : box->findChild<QLabel*>(QStringLiteral("LblMessage"))->text();
        EXPECT_EQ(shown, MessageLines(Report(lines)));
        EXPECT_EQ(shown.count(QLatin1Char('\n')), lines);
        if (lines >= 37) {
            EXPECT_NE(box->findChild<QScrollArea*>(), nullptr) << "a report of this length scrolls";
        }
        box->hide();
    }
}
