// The main window and its about box on the laptop screen, and its menus by
// keyboard.

#include "MainFixture.h"
#include "FormChecks.h"

#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QTest>

using namespace velnor;
using namespace velnor::test;

namespace {

TEST_F(MainTest, MainWindowAndAboutBoxFitTheScreen)
{
    load({MakeUser(CatWaterSupply, 1, "Kalamaki", 0.5),
          MakeUser(CatIndustry, 2, "Harbour industrial zone", 0.4, 2)});
    ShowActive(*main);
    EXPECT_EQ(LayoutProblems(*main), QStringList{});
    QStringList aboutProblems;
    QString credits;
    prompter.onExec = [&](QDialog& about) {
        ShowActive(about);
        aboutProblems = LayoutProblems(about);
        if (auto* label = about.findChild<QLabel*>(QStringLiteral("LblCredits")))
            credits = label->text();
        about.hide();
        return int(QDialog::Accepted);
    };
    main->mnAboutClick();
    EXPECT_EQ(aboutProblems, QStringList{});
    EXPECT_TRUE(credits.contains(QStringLiteral("Qt")));
    EXPECT_FALSE(credits.contains(QStringLiteral("GoogleTest"))) << "a test framework is not part of the program";
}

TEST_F(MainTest, MenusOpenWithAltAndTheirUnderlinedLetter)
{
    ShowActive(*main);
    const std::pair<Qt::Key, const char*> menus[] = {
        {Qt::Key_F, "mnFile"}, {Qt::Key_W, "mnUser"}, {Qt::Key_H, "mnHelp"}};
    for (const auto& [key, name] : menus) {
        QTest::keyClick(main.get(), key, Qt::AltModifier);
        QApplication::processEvents();
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr) << name;
        EXPECT_EQ(popup->objectName(), QString::fromLatin1(name));
        popup->close();
        QApplication::processEvents();
    }
}

} // namespace
