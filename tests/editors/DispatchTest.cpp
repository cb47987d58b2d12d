#include "EditorFixture.h"

#include "app/Dispatch.h"
#include "editors/FrmFarm.h"
#include "editors/FrmFarmData.h"
#include "editors/FrmIndust.h"
#include "editors/FrmIndustData.h"
#include "editors/FrmIrig.h"
#include "editors/FrmIrigData.h"
#include "editors/FrmIrrigConsumData.h"
#include "editors/FrmPotEvap.h"
#include "editors/FrmWatSup.h"

#include "core/RcrdFuncs.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

using namespace velnor::test;

namespace {

class DispatchTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        dispatch = std::make_unique<TEditDispatch>(services, nullptr);
    }

    // Answers the next exec() with a callback that runs on the shown dialog.
    template <typename Form>
    void OnNext(Form& form, std::function<void()> act)
    {
        prompter().execQueue.push_back([&form, act](QDialog& d) {
            EXPECT_EQ(&d, static_cast<QDialog*>(&form)) << d.objectName().toStdString();
            act();
            return form.result();
        });
    }

    void ConfirmWaterSupply(const QString& name, const QString& population)
    {
        TFormWatSup& f = dispatch->FormWatSup();
        OnNext(f, [&f, name, population] {
            f.setResult(0);
            f.EdtTopo->setText(name);
            f.EdtPop->setText(population);
            f.BtnDefaultClick();
            f.BtnAddClick();
        });
    }

    std::unique_ptr<TEditDispatch> dispatch;
};

// The widgets of the application, in the order they are created.
class CreationRecorder : public QObject {
public:
    std::vector<const QObject*> created;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Create)
            created.push_back(watched);
        return false;
    }
};

TEST_F(DispatchTest, FormsAreCreatedInTheProgramsOrder)
{
    CreationRecorder recorder;
    qApp->installEventFilter(&recorder);
    TEditDispatch second(services, nullptr);
    qApp->removeEventFilter(&recorder);
    const std::vector<std::pair<const QObject*, const char*>> order = {
        {&second.FormWatSup(), "FormWatSup"},       {&second.FormIndust(), "FormIndust"},
        {&second.FormFarm(), "FormFarm"},           {&second.FormIrig(), "FormIrig"},
        {&second.FormIrigData(), "FormIrigData"},   {&second.FormPotEvap(), "FormPotEvap"},
        {&second.FormIndData(), "FormIndData"},     {&second.FormFarmData(), "FormFarmData"},
        {&second.FrmIrrigConsData(), "FrmIrrigConsData"}};
    QStringList created;
    for (auto it = recorder.created.begin(); it != recorder.created.end(); ++it)
        for (const auto& [form, name] : order)
            // A widget created later at the same address would be another one.
            if (*it == form && std::find(it + 1, recorder.created.end(), form) == recorder.created.end())
                created << name;
    QStringList expected;
    for (const auto& entry : order)
        expected << entry.second;
    EXPECT_EQ(created.join(' ').toStdString(), expected.join(' ').toStdString());
}

TEST_F(DispatchTest, NewWaterSupplyUserIsStoredLastWithTheNextIdentifier)
{
    dispatch->SelWaterSupply(); // cancelled: the reserved record goes again
    EXPECT_TRUE(WatUserRec.empty());
    EXPECT_EQ(services.refreshes, 0);

    ConfirmWaterSupply("Town", "1000");
    dispatch->SelWaterSupply();
    ASSERT_EQ(WatUserRec.size(), 1u);
    EXPECT_EQ(WatUserRec[0].Geo_id, 1);
    EXPECT_EQ(WatUserRec[0].Category, CatWaterSupply);
    EXPECT_EQ(WatUserRec[0].Toponym.str(), "Town");
    EXPECT_EQ(WatUserRec[0].UnitsNum, 1000);
    EXPECT_NEAR(WatUserRec[0].YearNeeds, 1000 * 120 * 30.5 * 12 / 1e9, 1e-12);
    EXPECT_EQ(services.refreshes, 1);
    EXPECT_TRUE(services.changed);

    WatUserRec[0].Geo_id = 41;
    // A new user's dialog starts empty, with the month names.
    TFormWatSup& f = dispatch->FormWatSup();
    OnNext(f, [&f] {
        EXPECT_TRUE(f.EdtTopo->text().isEmpty());
        EXPECT_TRUE(f.EdtPop->text().isEmpty());
        EXPECT_EQ(f.StrGrdCons->Cells(0, 4), "May");
        EXPECT_TRUE(f.StrGrdCons->Cells(1, 4).isEmpty());
        f.EdtTopo->setText("Village");
        f.EdtPop->setText("0");
        FillColumn(*f.StrGrdCons, 1, 0, Repeat("0"));
        f.BtnAddClick();
    });
    dispatch->SelWaterSupply();
    ASSERT_EQ(WatUserRec.size(), 2u);
    EXPECT_EQ(WatUserRec[1].Geo_id, 42);
    EXPECT_EQ(WatUserRec[1].Toponym.str(), "Village");
    EXPECT_EQ(WatUserRec[1].YearNeeds, 0);
}

TEST_F(DispatchTest, EditingAWaterSupplyUserKeepsIdentifierAndPosition)
{
    ConfirmWaterSupply("A", "10");
    dispatch->SelWaterSupply();
    ConfirmWaterSupply("B", "20");
    dispatch->SelWaterSupply();
    const TWaterUser before = WatUserRec[0];

    TFormWatSup& f = dispatch->FormWatSup();
    OnNext(f, [&f] {
        EXPECT_EQ(f.EdtTopo->text(), "A");
        EXPECT_EQ(f.EdtPop->text(), "10");
        f.EdtPop->setText("77");
        f.BtnCancelClick();
    });
    dispatch->editUser(0);
    EXPECT_EQ(WatUserRec[0].UnitsNum, 10);
    EXPECT_EQ(WatUserRec[0].YearNeeds, before.YearNeeds);

    OnNext(f, [&f] {
        f.EdtTopo->setText("A2");
        f.EdtPop->setText("77");
        f.BtnAddClick();
    });
    dispatch->editUser(0);
    ASSERT_EQ(WatUserRec.size(), 2u);
    EXPECT_EQ(WatUserRec[0].Geo_id, before.Geo_id);
    EXPECT_EQ(WatUserRec[0].Toponym.str(), "A2");
    EXPECT_EQ(WatUserRec[0].UnitsNum, 77);
    EXPECT_EQ(WatUserRec[1].Toponym.str(), "B");
}

TEST_F(DispatchTest, EditUserOpensNothingForNegativeRowsOrWhileTheGroupPanelIsOpen)
{
    ConfirmWaterSupply("A", "10");
    dispatch->SelWaterSupply();
    prompter().clear();
    const int refreshes = services.refreshes;
    dispatch->editUser(-1);
    dispatch->editUser(5);
    services.groupOpen = true;
    dispatch->editUser(0);
    EXPECT_TRUE(prompter().shown.empty());
    EXPECT_EQ(services.refreshes, refreshes);

    // A group goes to the group panel.
    services.groupOpen = false;
    TWaterUser& group = WatUserRec.append();
    group.Category = CatGroup;
    group.Geo_id = 9;
    dispatch->editUser(1);
    EXPECT_EQ(services.groupsOpened, std::vector<int>{1});
    EXPECT_EQ(services.refreshes, refreshes + 1);
    EXPECT_TRUE(prompter().texts(test::ScriptedPrompter::Kind::Dialog).isEmpty());
}

TEST_F(DispatchTest, NewIndustryUserWithZeroUnitsIsStoredAndCancelRemovesTheReservedRecord)
{
    dispatch->SelIndustry();
    EXPECT_TRUE(WatUserRec.empty());
    EXPECT_EQ(services.refreshes, 0);

    TFormIndust& list = dispatch->FormIndust();
    TFormIndData& data = dispatch->FormIndData();
    OnNext(list, [this, &list, &data] {
        EXPECT_EQ(list.StrGrdIndust->RowCount(), 1);
        OnNext(data, [&data] {
            data.EdtUnits->setText("0");
            data.Button1Click();
            data.BtnUpdateClick();
        });
        list.ToolBtnAddClick();
        list.EdtTopo->setText("Mill");
        list.BtnAddClick();
    });
    dispatch->SelIndustry();
    ASSERT_EQ(WatUserRec.size(), 1u);
    EXPECT_EQ(WatUserRec[0].Category, CatIndustry);
    EXPECT_EQ(WatUserRec[0].Toponym.str(), "Mill");
    EXPECT_EQ(WatUserRec[0].UnitsNum, 0);
    EXPECT_EQ(WatUserRec[0].YearNeeds, 0);
    ASSERT_EQ(WatUserRec[0].WatConsRec.size(), 1u);
    EXPECT_EQ(services.refreshes, 1);
    EXPECT_TRUE(prompter().messages().isEmpty());
}

TEST_F(DispatchTest, EditingAFarmingUserWorksOnACopyUntilOk)
{
    TFormFarm& list = dispatch->FormFarm();
    TFormFarmData& data = dispatch->FormFarmData();
    OnNext(list, [this, &list, &data] {
        OnNext(data, [&data] {
            data.EdtPopulation->setText("1000");
            data.Button1Click();
            data.BtnUpdateClick();
        });
        list.ToolBtnAddClick();
        list.EdtTopo->setText("Ranch");
        list.BtnAddClick();
    });
    dispatch->SelFarming();
    ASSERT_EQ(WatUserRec.size(), 1u);
    EXPECT_NEAR(WatUserRec[0].YearNeeds, 0.02562, 1e-12);
    const int refreshes = services.refreshes;

    OnNext(list, [&list] {
        EXPECT_EQ(list.EdtTopo->text(), "Ranch");
        EXPECT_EQ(list.StrGrdFarm->Cells(1, 1), "1000");
        list.StrGrdFarm->setSelection({0, 1, 3, 1});
        list.ToolBtnDelClick();
        list.BtnCancelClick();
    });
    prompter().answers = {Answer::Yes};
    dispatch->editUser(0);
    ASSERT_EQ(WatUserRec[0].WatConsRec.size(), 1u);
    EXPECT_EQ(services.refreshes, refreshes);

    OnNext(list, [this, &list, &data] {
        OnNext(data, [&data] {
            data.EdtPopulation->setText("2000");
            data.Button1Click();
            data.BtnUpdateClick();
        });
        list.StrGrdFarmMouseDown(0, 0);
        list.GridDblClick(); // the heading line: nothing
        list.ToolBtnAddClick();
        list.BtnAddClick();
    });
    dispatch->editUser(0);
    ASSERT_EQ(WatUserRec.size(), 1u);
    EXPECT_EQ(WatUserRec[0].Geo_id, 1);
    EXPECT_EQ(WatUserRec[0].WatConsRec.size(), 2u);
    EXPECT_EQ(WatUserRec[0].UnitsNum, 3000);
    EXPECT_EQ(services.refreshes, refreshes + 1);
}

TEST_F(DispatchTest, IrrigationFlowFromNewUserToReopening)
{
    TFormIrig& irig = dispatch->FormIrig();
    TFormIrigData& meteo = dispatch->FormIrigData();
    TFrmIrrigConsData& crop = dispatch->FrmIrrigConsData();
    TKyStringGrid& grid = *meteo.StrGrdMonthsTemp;

    auto enterData = [&meteo, &grid](double temp) {
        meteo.SetMethod(irmBC);
        meteo.EdtPhi->setText("40");
        FillColumn(grid, 1, 1, Repeat(QString::number(temp)));
        meteo.BtnOkClick();
    };
    auto addBarley = [&crop](const QString& area) {
        crop.EdtUnits->setText(area);
        crop.EdtSemD->setText("80");
        crop.Button2Click();
        crop.BtnUpdateClick();
    };

    OnNext(irig, [&] {
        // Prepared for Blaney-Criddle with one empty "Temp. (C)" column.
        EXPECT_EQ(meteo.method(), irmBC);
        EXPECT_EQ(grid.ColCount(), 2);
        EXPECT_EQ(grid.Cells(1, 0), "Temp. (C)");
        EXPECT_EQ(Column(grid, 0, 1, 3), (QStringList{"January", "February", "March"}));
        EXPECT_EQ(Column(grid, 1, 1, 12), Repeat(""));
        EXPECT_TRUE(meteo.EdtPhi->text().isEmpty());
        EXPECT_EQ(meteo.Memo1->text(), "0");

        irig.ToolBtnAddClick();
        EXPECT_EQ(prompter().errors(), QStringList{"Meteorological Data must be given first!"});

        // Opened from the dialog the form is reloaded from the reserved record:
        // the empirical layout, no zone, empty cells. Cancel leaves it so.
        OnNext(meteo, [&] {
            EXPECT_EQ(meteo.method(), irmEMP);
            EXPECT_EQ(meteo.CmbClima->currentIndex(), -1);
            meteo.reject();
        });
        irig.BtnMetDatClick();
        irig.ToolBtnAddClick();
        EXPECT_EQ(prompter().errors().size(), 2);

        OnNext(meteo, [&] { enterData(20); });
        irig.BtnMetDatClick();
        OnNext(crop, [&] { addBarley("10"); });
        irig.ToolBtnAddClick();
        OnNext(crop, [&] {
            crop.CmbCultures->setCurrentIndex(1);
            addBarley("5");
        });
        irig.ToolBtnAddClick();
        EXPECT_EQ(irig.StrGrdIrig->RowCount(), 3);
        irig.EdtTopo->setText("Plain");
        irig.BtnAddClick();
    });
    dispatch->SelIrrigation();

    ASSERT_EQ(WatUserRec.size(), 1u);
    const TWaterUser& user = WatUserRec[0];
    EXPECT_EQ(user.Category, CatIrrigation);
    EXPECT_EQ(user.Geo_id, 1);
    EXPECT_EQ(user.Toponym.str(), "Plain");
    EXPECT_EQ(user.MethId, MethBlaneyCriddle);
    EXPECT_EQ(user.Latitude, 40);
    EXPECT_EQ(user.UnitsNum, 15);
    ASSERT_EQ(user.WatConsRec.size(), 2u);
    EXPECT_EQ(user.WatConsRec[1].CnsmpId, 2);
    EXPECT_GT(user.YearNeeds, 0);
    EXPECT_NEAR(user.YearNeeds, user.WatConsRec[0].yearneeds + user.WatConsRec[1].yearneeds, 1e-12);
    EXPECT_EQ(services.refreshes, 1);
    const double firstNeeds = user.YearNeeds;

    // Reopen: the stored data are shown; warmer data raise the needs after OK.
    OnNext(irig, [&] {
        EXPECT_EQ(irig.EdtTopo->text(), "Plain");
        EXPECT_EQ(irig.StrGrdIrig->Cells(2, 2), "5");
        EXPECT_EQ(meteo.method(), irmBC);
        EXPECT_EQ(Column(grid, 1, 1, 12), Repeat("20"));
        EXPECT_EQ(meteo.EdtPhi->text(), "40");
        OnNext(meteo, [&] { enterData(25); });
        irig.BtnMetDatClick();
        irig.EdtTopo->setText("Plain");
        irig.BtnAddClick();
    });
    dispatch->editUser(0);
    EXPECT_EQ(WatUserRec.size(), 1u);
    EXPECT_EQ(WatUserRec[0].Geo_id, 1);
    EXPECT_EQ(WatUserRec[0].TblMnthMinT[0], 25);
    EXPECT_GT(WatUserRec[0].YearNeeds, firstNeeds);

    // Cancelled after new meteorological data were accepted: the record keeps
    // the data its needs were worked out from.
    const TWaterUser stored = WatUserRec[0];
    OnNext(irig, [&] {
        OnNext(meteo, [&] { enterData(30); });
        irig.BtnMetDatClick();
        EXPECT_EQ(WatUserRec[0].TblMnthMinT[0], 30); // stored at once
        irig.BtnCloseClick();
    });
    dispatch->editUser(0);
    EXPECT_EQ(WatUserRec[0].TblMnthMinT, stored.TblMnthMinT);
    EXPECT_EQ(WatUserRec[0].MethId, stored.MethId);
    EXPECT_EQ(WatUserRec[0].YearNeeds, stored.YearNeeds);
    EXPECT_EQ(WatUserRec[0].WatConsRec[0].yearneeds, stored.WatConsRec[0].yearneeds);

    // A cancelled new irrigation user leaves no record behind.
    dispatch->SelIrrigation();
    EXPECT_EQ(WatUserRec.size(), 1u);
}

TEST_F(DispatchTest, StoringErrorOfANewUserIsShownAndTheEditorOpensAgain)
{
    TFormIrig& irig = dispatch->FormIrig();
    TFormIrigData& meteo = dispatch->FormIrigData();
    TFrmIrrigConsData& crop = dispatch->FrmIrrigConsData();
    TKyStringGrid& grid = *meteo.StrGrdMonthsTemp;
    OnNext(irig, [&] {
        OnNext(meteo, [&] {
            meteo.SetMethod(irmBC);
            meteo.EdtPhi->setText("35");
            FillColumn(grid, 1, 1, Repeat("18"));
            meteo.BtnOkClick();
        });
        irig.BtnMetDatClick();
        OnNext(crop, [&] {
            crop.EdtUnits->setText("4");
            crop.EdtSemD->setText("120");
            crop.Button2Click();
            crop.BtnUpdateClick();
        });
        irig.ToolBtnAddClick();
        grid.setCells(1, 6, "hot"); // the form no longer reads
        irig.EdtTopo->setText("Delta");
        irig.BtnAddClick();
        OnNext(irig, [&] {
            EXPECT_EQ(irig.EdtTopo->text(), "Delta"); // contents kept
            EXPECT_EQ(WatConsRec.size(), 1u);
            grid.setCells(1, 6, "18");
            irig.BtnAddClick();
        });
    });
    dispatch->SelIrrigation();
    EXPECT_EQ(prompter().messages().size(), 1);
    EXPECT_TRUE(prompter().messages().value(0).contains("hot"));
    ASSERT_EQ(WatUserRec.size(), 1u);
    EXPECT_EQ(WatUserRec[0].Toponym.str(), "Delta");
    EXPECT_EQ(WatUserRec[0].TblMnthMinT[5], 18);
    EXPECT_EQ(services.refreshes, 1);
}

} // namespace
