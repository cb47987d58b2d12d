// The results form: totals, one water user and one category as tables and
// charts; copying the tables, saving them as CSV and the charts as pictures.

#include "EditorFixture.h"
#include "MainFixture.h"

#include "results/FrmResults.h"
#include "results/ResultSums.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QValueAxis>

using namespace velnor::test;

namespace {

// A water user needing `perMonth` hm3 in every month.
TWaterUser Monthly(int category, int id, const std::string& name, double perMonth)
{
    TWaterUser u = MakeUser(category, id, name, 12 * perMonth);
    u.TblMonthNeeds.fill(perMonth);
    return u;
}

// A group of the given users, its needs the sums of theirs.
TWaterUser GroupOf(int id, const std::string& name, const std::vector<const TWaterUser*>& members)
{
    std::initializer_list<int> none{};
    TWaterUser g = MakeGroup(id, name, none);
    for (const TWaterUser* m : members) {
        TWaterConsumptor c;
        c.CnsmpId = m->Geo_id;
        c.UnitsNum = 1;
        g.WatConsRec.push_back(c);
        for (std::size_t j = 0; j < 12; ++j)
            g.TblMonthNeeds[j] += m->TblMonthNeeds[j];
        g.YearNeeds += m->YearNeeds;
    }
    return g;
}

QStringList Values(const TKyStringGrid& grid) { return Column(grid, 1, 1, 13); }

QList<double> PlottedY(const QLineSeries& series)
{
    QList<double> y;
    for (const QPointF& p : series.points())
        y << p.y();
    return y;
}

QValueAxis& LeftAxis(const QChartView& chart)
{
    return *qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).first());
}

class ResultsTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        form = std::make_unique<TFormResults>(services);
    }
    void TearDown() override
    {
        form.reset();
        EditorTest::TearDown();
    }
    void load(std::vector<TWaterUser> users)
    {
        for (auto& u : users)
            WatUserRec.append(std::move(u));
    }
    // Opens the form as the main window's command does, without a modal loop.
    void open()
    {
        form->hide();
        form->show();
        QApplication::processEvents();
    }
    void showPage(QWidget* page)
    {
        form->PageControl->setCurrentWidget(page);
        QApplication::processEvents();
    }

    std::unique_ptr<TFormResults> form;
};

TEST(ResultSums, DistinctUsersAndCategoriesInOrderOfFirstAppearance)
{
    WaterUserList users;
    users.append(MakeUser(CatIndustry, 7, "Plant", 1));
    users.append(MakeUser(CatWaterSupply, 3, "Town", 1));
    users.append(MakeUser(CatIndustry, 7, "Plant again", 1)); // a repeated identifier
    users.append(MakeGroup(9, "Coast", {7, 3}));
    users.append(MakeUser(CatIrrigation, 4, "Plain", 1));
    users.append(MakeUser(CatWaterSupply, 5, "Village", 1));

    EXPECT_EQ(DistinctUsers(users), (std::vector<std::size_t>{0, 1, 3, 4, 5}));
    EXPECT_EQ(CategoriesPresent(users), (std::vector<int>{CatIndustry, CatWaterSupply, CatIrrigation}));
    EXPECT_DOUBLE_EQ(UserMonthNeeds(users, 7)[0], 2.0 / 12);
}

TEST_F(ResultsTest, OneHundredthOfAHectocubicMetreEveryMonth)
{
    load({Monthly(CatWaterSupply, 1, "Town", 0.01)});
    open();
    EXPECT_EQ(form->PageControl->currentWidget(), form->Totals);
    const TKyStringGrid& g = *form->StrGrdTotNeeds;
    EXPECT_EQ(g.Cells(0, 0), "Month");
    EXPECT_EQ(g.Cells(1, 0), "hm3");
    EXPECT_EQ(g.Cells(0, 1), "January");
    EXPECT_EQ(g.Cells(0, 12), "December");
    EXPECT_EQ(g.Cells(0, 13), "Total");
    QStringList expected = Repeat("0.010");
    expected << "0.120";
    EXPECT_EQ(Values(g), expected);
    EXPECT_EQ(LeftAxis(*form->Chart1).min(), 0);
    EXPECT_DOUBLE_EQ(LeftAxis(*form->Chart1).max(), 0.01);
    EXPECT_EQ(LeftAxis(*form->Chart1).titleText(), "hm3");
    ASSERT_EQ(form->Series1->count(), 12);
    EXPECT_EQ(form->Series1->at(0), QPointF(1, 0.01));
    EXPECT_EQ(form->Series1->at(11), QPointF(12, 0.01));
}

TEST_F(ResultsTest, AValueRoundedUpInTheTableStaysInsideTheChart)
{
    load({Monthly(CatWaterSupply, 1, "Town", 0.0776)});
    open();
    EXPECT_EQ(form->StrGrdTotNeeds->Cells(1, 1), "0.078");
    EXPECT_DOUBLE_EQ(LeftAxis(*form->Chart1).max(), 0.078);
    EXPECT_EQ(PlottedY(*form->Series1), QList<double>(12, 0.078));
}

TEST_F(ResultsTest, TotalsLeaveGroupsOut)
{
    const TWaterUser a = Monthly(CatWaterSupply, 1, "Town", 0.5);
    const TWaterUser b = Monthly(CatFarming, 2, "Farm", 0.25);
    load({a, b, GroupOf(3, "Both", {&a, &b})});
    open();
    EXPECT_EQ(form->StrGrdTotNeeds->Cells(1, 1), "0.750");
    EXPECT_EQ(form->StrGrdTotNeeds->Cells(1, 13), "9.000");
}

TEST_F(ResultsTest, WaterUserPageOffersEachIdentifierOnceAndShowsAGroupAsItsMembersSum)
{
    const TWaterUser a = Monthly(CatWaterSupply, 1, "Town", 0.5);
    const TWaterUser b = Monthly(CatFarming, 2, "Farm", 0.25);
    load({a, b, GroupOf(3, "Both", {&a, &b})});
    open();
    showPage(form->GeoID);
    QComboBox& box = *form->CmbGeoIds;
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(2), "Both");
    EXPECT_EQ(form->TblIds(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(box.currentText(), "Select water user...");

    box.setCurrentIndex(2);
    QStringList expected = Repeat("0.750");
    expected << "9.000";
    EXPECT_EQ(Values(*form->StrGrdWUtNeeds), expected);
    EXPECT_EQ(PlottedY(*form->Series2), QList<double>(12, 0.75));

    box.setCurrentIndex(1);
    EXPECT_EQ(form->StrGrdWUtNeeds->Cells(1, 13), "3.000");
}

TEST_F(ResultsTest, TypedWaterUserTextShowsTheEntryOfThatNameOrNothing)
{
    load({Monthly(CatWaterSupply, 1, "Town", 0.5), Monthly(CatFarming, 2, "Farm", 0.25)});
    open();
    showPage(form->GeoID);
    QComboBox& box = *form->CmbGeoIds;
    box.setEditText("Farm");
    EXPECT_EQ(form->StrGrdWUtNeeds->Cells(1, 1), "0.250");
    for (const char* text : {"Far", "Nowhere", "", "Select water user..."}) {
        box.setEditText(QString::fromLatin1(text));
        EXPECT_EQ(form->chosenUserEntry(), -1) << text;
        if (*text) {
            EXPECT_EQ(Values(*form->StrGrdWUtNeeds), Repeat("", 13)) << text;
            EXPECT_EQ(form->Series2->count(), 0) << text;
        }
    }
    // A chosen entry whose text was typed over shows nothing either.
    box.setCurrentIndex(0);
    EXPECT_EQ(form->StrGrdWUtNeeds->Cells(1, 1), "0.500");
    box.setEditText("Town!");
    EXPECT_EQ(form->StrGrdWUtNeeds->Cells(1, 1), "");
}

TEST_F(ResultsTest, CategoryChooserListsEachCategoryOnceInOrderNeverGroup)
{
    const TWaterUser a = Monthly(CatIndustry, 1, "Plant", 0.125);
    const TWaterUser b = Monthly(CatWaterSupply, 2, "Town", 0.5);
    load({a, b, GroupOf(3, "Both", {&a, &b}), Monthly(CatIndustry, 4, "Mill", 0.25),
          Monthly(CatIrrigation, 5, "Plain", 1)});
    open();
    showPage(form->ConsType);
    QComboBox& box = *form->CmbCnsmp;
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    EXPECT_EQ(items, (QStringList{"Industry", "Water Supply", "Irrigation"}));
    EXPECT_EQ(box.currentText(), "Select category...");

    box.setCurrentIndex(0);
    EXPECT_EQ(form->StrGrdTypeNeeds->Cells(1, 1), "0.375");
    EXPECT_EQ(form->StrGrdTypeNeeds->Cells(1, 13), "4.500");
    // Typed text is looked up by exact name; no match leaves the view as it was.
    box.setEditText("irrigation");
    EXPECT_EQ(form->StrGrdTypeNeeds->Cells(1, 1), "0.375");
    box.setEditText("Irrigation");
    EXPECT_EQ(form->StrGrdTypeNeeds->Cells(1, 1), "1.000");
}

TEST_F(ResultsTest, CubicMetresAndTheUsersDecimalSeparator)
{
    services.unit = "m3";
    load({Monthly(CatWaterSupply, 1, "Town", 0.000012)});
    open();
    EXPECT_EQ(form->StrGrdTotNeeds->Cells(1, 0), "m3");
    EXPECT_EQ(form->StrGrdTotNeeds->Cells(1, 1), "12.000");
    EXPECT_EQ(form->StrGrdTotNeeds->Cells(1, 13), "144.000");
    EXPECT_EQ(PlottedY(*form->Series1), QList<double>(12, 12.0));
    EXPECT_EQ(LeftAxis(*form->Chart1).titleText(), "m3");

    // The chart plots the table's rounded numbers, read with the user's separator.
    services.unit = "hm3";
    WatUserRec[0].TblMonthNeeds.fill(0.0123456);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    open();
    EXPECT_EQ(form->StrGrdTotNeeds->Cells(1, 1), "0,012");
    EXPECT_EQ(PlottedY(*form->Series1), QList<double>(12, 0.012));
}

TEST_F(ResultsTest, ASecondOpeningShowsTotalsWithTheOtherPagesCleared)
{
    load({Monthly(CatWaterSupply, 1, "Town", 0.5), Monthly(CatFarming, 2, "Farm", 0.25)});
    open();
    showPage(form->GeoID);
    form->CmbGeoIds->setCurrentIndex(1);
    showPage(form->ConsType);
    form->CmbCnsmp->setCurrentIndex(0);
    ASSERT_EQ(form->StrGrdTypeNeeds->Cells(1, 1), "0.500");

    open();
    EXPECT_EQ(form->PageControl->currentWidget(), form->Totals);
    EXPECT_EQ(form->StrGrdTotNeeds->Cells(1, 1), "0.750");
    for (const TKyStringGrid* g : {form->StrGrdWUtNeeds, form->StrGrdTypeNeeds}) {
        EXPECT_EQ(Column(*g, 0, 1, 13), Repeat("", 13));
        EXPECT_EQ(Values(*g), Repeat("", 13));
    }
    EXPECT_EQ(form->CmbGeoIds->currentText(), "Select water user...");
    EXPECT_EQ(form->CmbCnsmp->currentText(), "Select category...");
    EXPECT_EQ(form->CmbGeoIds->currentIndex(), -1);
    EXPECT_EQ(form->Series2->count(), 0);
    EXPECT_EQ(form->Series3->count(), 0);

    // Returning to a page keeps its choice.
    showPage(form->GeoID);
    form->CmbGeoIds->setCurrentIndex(1);
    showPage(form->Totals);
    showPage(form->GeoID);
    EXPECT_EQ(form->CmbGeoIds->currentText(), "Farm");
    EXPECT_EQ(form->StrGrdWUtNeeds->Cells(1, 1), "0.250");
}

TEST_F(ResultsTest, CopyAndCsvGiveTheWholeTable)
{
    load({Monthly(CatWaterSupply, 1, "Town", 0.01)});
    open();
    QString expected = "Month\thm3\r\n";
    for (const std::string& m : TblDataMonths)
        expected += QString::fromStdString(m) + "\t0.010\r\n";
    expected += "Total\t0.120\r\n";
    form->StrGrdTotNeeds->setSelection({1, 2, 1, 3});
    form->findChild<QToolButton*>("ToolButton1")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), expected);

    QTemporaryDir dir;
    const QString base = QDir(dir.path()).filePath("totals");
    prompter().fileNames = {base};
    form->findChild<QToolButton*>("ToolButton5")->click();
    ASSERT_EQ(prompter().shown.back().kind, ScriptedPrompter::Kind::SaveFile);
    EXPECT_EQ(prompter().shown.back().filter, "Comma Delimeted Values (*.csv)|*.csv");
    QFile file(base + ".csv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString csv = expected;
    csv.replace('\t', ',');
    EXPECT_EQ(QString::fromUtf8(file.readAll()), csv);

    // A file that cannot be written is reported; cancelling does nothing.
    prompter().fileNames = {QDir(dir.path()).filePath("no/such/dir/t.csv")};
    form->findChild<QToolButton*>("ToolButton5")->click();
    EXPECT_TRUE(prompter().errors().value(0).startsWith("Unable to write to file:\n"));
    prompter().clear();
    form->findChild<QToolButton*>("ToolButton5")->click();
    EXPECT_TRUE(prompter().errors().isEmpty());
}

TEST_F(ResultsTest, ChartsAreSavedAsBitmapOrPngPictures)
{
    load({Monthly(CatWaterSupply, 1, "Town", 0.01)});
    open();
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return QDir(dir.path()).filePath(QString::fromLatin1(name)); };

    // The proposal: the title's first line and ".bmp"; ".bmp" for an untitled chart.
    form->findChild<QToolButton*>("ToolButton4")->click();
    EXPECT_EQ(prompter().shown.back().preset, "Total water consumation.bmp");
    EXPECT_EQ(prompter().shown.back().filter, "Bitmap Files (*.bmp)|*.bmp|PNG image (*.png)|*.png");
    EXPECT_EQ(TFormResults::ProposedGraphName(*form->Chart2), ".bmp");
    EXPECT_EQ(TFormResults::ProposedGraphName(*form->Chart3), ".bmp");

    const struct {
        const char* typed;
        const char* filter;
        const char* file;
        const char* format;
    } cases[] = {
        {"chart", "", "chart.bmp", "bmp"},
        {"chart2.bmp", "Bitmap Files (*.bmp)", "chart2.bmp", "bmp"},
        {"chart3", "PNG image (*.png)", "chart3.png", "png"},
        {"chart4.png", "Bitmap Files (*.bmp)", "chart4.png", "png"},
    };
    const QSize size = form->Chart1->size();
    ASSERT_GT(size.width(), 100);
    for (const auto& c : cases) {
        prompter().fileNames = {path(c.typed)};
        prompter().selectedFilters = {QString::fromLatin1(c.filter)};
        form->CopyGraph(*form->Chart1);
        QImage image;
        ASSERT_TRUE(image.load(path(c.file), c.format)) << c.file;
        EXPECT_EQ(image.size(), size) << c.file;
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white)) << c.file;
        // The blue line is in the picture.
        int blue = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor p = image.pixelColor(x, y);
                blue += p.blue() > 200 && p.red() < 80 && p.green() < 80;
            }
        EXPECT_GT(blue, 50) << c.file;
    }
    EXPECT_TRUE(prompter().errors().isEmpty());
    prompter().fileNames = {path("none/chart.bmp")};
    form->findChild<QToolButton*>("ToolButton4")->click();
    EXPECT_EQ(prompter().errors(), QStringList{"Unable to write to file:\n" + path("none/chart.bmp")});
}

TEST_F(ResultsTest, HelpButtonsAskForTheirPagesTopic)
{
    load({Monthly(CatWaterSupply, 1, "Town", 0.01)});
    open();
    for (const char* name : {"ToolButton3", "ToolButton2", "ToolButton7"})
        form->findChild<QToolButton*>(name)->click();
    EXPECT_EQ(services.helpContexts, (std::vector<int>{48, 49, 50}));
    EXPECT_EQ(form->HelpContext(), 47);
}

// The main window's Results command opens the form with the scenario's totals.
TEST_F(MainTest, ResultsOpensTheResultsForm)
{
    ASSERT_NE(main->FormResults(), nullptr);
    EXPECT_FALSE(action("mnResults")->isEnabled());
    load({MakeUser(CatWaterSupply, 1, "Town", 0.6)});
    EXPECT_TRUE(action("mnResults")->isEnabled());
    QString seen;
    prompter.onExec = [&](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        seen = main->FormResults()->StrGrdTotNeeds->Cells(1, 13);
        dialog.hide();
        return int(QDialog::Rejected);
    };
    button("btnResults")->click();
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Dialog), QStringList{"FormResults"});
    EXPECT_EQ(seen, "0.600");
    EXPECT_TRUE(prompter.messages().isEmpty());
}

} // namespace
