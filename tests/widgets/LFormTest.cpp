#include "widgets/LForm.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace velnor::ui;

TEST(LForm, OpensWithTheInitialClientSizeWhateverItsLayoutWants)
{
    TLForm form;
    form.resize(800, 700);
    form.setInitialGeometry(40, 30, 359, 290);
    form.Loaded();
    EXPECT_EQ(form.width(), 359);
    EXPECT_EQ(form.height(), 290);
    EXPECT_EQ(form.pos(), QPoint(30, 40));
}

TEST(LForm, HelpKeyHandsTheContextToTheHandler)
{
    TLForm form;
    int asked = -1;
    form.setHelpHandler([&](int context) { asked = context; });
    form.requestHelp();
    EXPECT_EQ(asked, -1); // no context, no help
    form.setHelpContext(34);
    form.show();
    QApplication::setActiveWindow(&form);
    QTest::keyClick(&form, Qt::Key_F1);
    EXPECT_EQ(asked, 34);
}
