// The main window's buttons and list driving the real editors.

#include "MainFixture.h"

#include "editors/FrmFarm.h"
#include "editors/FrmFarmData.h"
#include "editors/FrmWatSup.h"

#include <QLineEdit>

using namespace velnor;
using namespace velnor::test;

namespace {

class EditFlowTest : public MainTest {
protected:
    // Runs `act` on the next dialog shown, which must be a Form.
    template <typename Form>
    void onNext(std::function<void(Form&)> act)
    {
        prompter.execQueue.push_back([act](QDialog& d) {
            auto* form = dynamic_cast<Form*>(&d);
            EXPECT_TRUE(form) << d.objectName().toStdString();
            if (!form)
                return int(QDialog::Rejected);
            form->setResult(QDialog::Rejected);
            act(*form);
            return form->result();
        });
    }
    void newWaterSupply(const QString& name, const QString& population)
    {
        onNext<ui::TFormWatSup>([name, population](ui::TFormWatSup& f) {
            f.EdtTopo->setText(name);
            f.EdtPop->setText(population);
            f.BtnDefaultClick();
            f.BtnAddClick();
        });
        button("btnWaterSupply")->click();
    }
};

} // namespace

TEST_F(EditFlowTest, NewUsersFromTheToolBarAreListedAndMarkTheScenario)
{
    button("btnWaterSupply")->click(); // cancelled
    EXPECT_TRUE(WatUserRec.empty());
    EXPECT_TRUE(list().isHidden());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("VELNOR"));

    newWaterSupply(QStringLiteral("Town"), QStringLiteral("20000"));
    onNext<ui::TFormFarm>([this](ui::TFormFarm& farm) {
        onNext<ui::TFormFarmData>([](ui::TFormFarmData& data) {
            data.EdtPopulation->setText(QStringLiteral("1000"));
            data.Button1Click();
            data.BtnUpdateClick();
        });
        farm.ToolBtnAddClick();
        farm.EdtTopo->setText(QStringLiteral("Ranch"));
        farm.BtnAddClick();
    });
    action("mnFarming")->trigger();

    ASSERT_EQ(WatUserRec.size(), 2u);
    EXPECT_TRUE(prompter.errors().isEmpty()) << prompter.errors().join('\n').toStdString();
    EXPECT_EQ(listRow(1).mid(0, 5), (QStringList{"Water Supply", "1", "1", "Town", "20000"}));
    EXPECT_EQ(listRow(2).mid(0, 5), (QStringList{"Farming (1)", "2", "2", "Ranch", "1000"}));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Velnor *"));
    EXPECT_TRUE(action("mnDelete")->isEnabled());
    EXPECT_TRUE(button("btnGroup")->isEnabled());
}

TEST_F(EditFlowTest, DoubleClickEditsThePressedUserInPlace)
{
    newWaterSupply(QStringLiteral("Town"), QStringLiteral("20000"));
    newWaterSupply(QStringLiteral("Village"), QStringLiteral("800"));
    main->SetScenarioChanged(false);

    main->setSelectedRec(0);
    onNext<ui::TFormWatSup>([](ui::TFormWatSup& f) {
        EXPECT_EQ(f.EdtTopo->text(), QStringLiteral("Town"));
        f.EdtTopo->setText(QStringLiteral("City"));
        f.BtnAddClick();
    });
    main->StrGrdAllNeedsDblClick();
    ASSERT_EQ(WatUserRec.size(), 2u);
    EXPECT_EQ(WatUserRec[0].Toponym, "City");
    EXPECT_EQ(WatUserRec[0].Geo_id, 1);
    EXPECT_EQ(list().Cells(3, 1), QStringLiteral("City"));
    EXPECT_TRUE(main->scenarioChanged());

    // Cancelling changes nothing.
    onNext<ui::TFormWatSup>([](ui::TFormWatSup& f) { f.EdtTopo->setText(QStringLiteral("Other")); });
    main->mnEditClick();
    EXPECT_EQ(WatUserRec[0].Toponym, "City");
}
