#include "MainFixture.h"

#include "core/ExchangeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace velnor;
using namespace velnor::test;

namespace {

class ExchangeTest : public MainTest {
protected:
    void SetUp() override
    {
        MainTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void writeBytes(const QString& file, const QByteArray& bytes) const
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A scenario of three users, exported and marked unchanged.
    void exportThree(const QString& file)
    {
        TWaterUser farm = MakeUser(CatFarming, 7, "Farm", 0.3, 2, 50);
        farm.WatConsRec[1].TblConsp[4] = 12.5;
        load({MakeUser(CatWaterSupply, 3, "Town", 0.2, 0, 900), std::move(farm), MakeGroup(9, "Both", {3, 7})});
        RefreshYrNeeds();
        main->SetScenarioChanged(true);
        prompter.fileNames = {file};
        main->mnExportClick();
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ExchangeTest, ExportThenImportGivesTheSameScenarioBack)
{
    const QString file = path("north.bin");
    exportThree(file);
    EXPECT_EQ(QFileInfo(file).size(), 3 * 25440);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("north.bin"));
    EXPECT_FALSE(main->scenarioChanged());
    const WaterUserList before = WatUserRec;
    const QStringList row2 = listRow(2);
    EXPECT_EQ(prompter.shown.back().filter, QStringLiteral("Binary File (*.bin)|*.bin|All files (*.*)|*.*"));

    main->SelNew();
    ASSERT_TRUE(WatUserRec.empty());
    prompter.fileNames = {file};
    main->mnImportClick();
    ASSERT_EQ(WatUserRec.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(WatUserRec[i].Geo_id, before[i].Geo_id);
        EXPECT_EQ(WatUserRec[i].Toponym, before[i].Toponym);
        EXPECT_EQ(WatUserRec[i].YearNeeds, before[i].YearNeeds);
        EXPECT_EQ(WatUserRec[i].WatConsRec.size(), before[i].WatConsRec.size());
    }
    EXPECT_EQ(WatUserRec[1].WatConsRec[1].TblConsp[4], 12.5);
    EXPECT_EQ(listRow(2), row2);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("north.bin"));
    EXPECT_FALSE(main->scenarioChanged());
    EXPECT_TRUE(prompter.errors().isEmpty());
}

TEST_F(ExchangeTest, RefusedFilesLeaveScenarioCaptionAndMarkAlone)
{
    exportThree(path("good.bin"));
    main->SetScenarioChanged(true);
    const QString captionBefore = main->windowTitle();

    const QByteArray group("\xFF\xFF\xFF\xFF", 4);
    struct Case {
        const char* file;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"group.bin", group + QByteArray(25436, '\0'), "Invalid VELNOR file!"},
        {"empty.bin", QByteArray(), "Read beyond end of file"},
    };
    for (const Case& c : cases) {
        writeBytes(path(c.file), c.bytes);
        prompter.clear();
        prompter.answers = {ui::Answer::Yes};
        prompter.fileNames = {path(c.file)};
        main->mnImportClick();
        ASSERT_EQ(prompter.errors().size(), 1) << c.file;
        EXPECT_TRUE(prompter.errors()[0].startsWith(QString::fromLatin1(c.message))) << c.file;
        EXPECT_EQ(WatUserRec.size(), 3u) << c.file;
        EXPECT_EQ(list().RowCount(), 4) << c.file;
        EXPECT_EQ(main->windowTitle(), captionBefore) << c.file;
        EXPECT_TRUE(main->scenarioChanged()) << c.file;
    }

    prompter.clear();
    prompter.answers = {ui::Answer::Yes};
    prompter.fileNames = {path("missing.bin")};
    main->mnImportClick();
    EXPECT_EQ(prompter.errors().size(), 1);
    EXPECT_EQ(WatUserRec.size(), 3u);
}

TEST_F(ExchangeTest, ImportAsksBeforeDroppingUnsavedChanges)
{
    exportThree(path("a.bin"));
    main->SetScenarioChanged(true);
    prompter.answers = {ui::Answer::No};
    main->mnImportClick();
    EXPECT_EQ(prompter.questions(), QStringList{"Current scenario not saved. Proceed?"});
    EXPECT_TRUE(prompter.texts(ScriptedPrompter::Kind::OpenFile).isEmpty());
    EXPECT_EQ(WatUserRec.size(), 3u);

    // Cancelling the file dialog changes nothing either.
    prompter.clear();
    prompter.answers = {ui::Answer::Yes};
    main->mnImportClick();
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::OpenFile).size(), 1);
    EXPECT_EQ(WatUserRec.size(), 3u);
    EXPECT_TRUE(main->scenarioChanged());
}

TEST_F(ExchangeTest, TrailingBytesAreIgnoredAndExportIsPresetToTheImportName)
{
    exportThree(path("three.bin"));
    QFile f(path("three.bin"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll().left(2 * 25440) + QByteArray(100, 'x');
    writeBytes(path("two.bin"), bytes);
    prompter.fileNames = {path("two.bin")};
    main->mnImportClick();
    EXPECT_EQ(WatUserRec.size(), 2u);
    EXPECT_EQ(prompter.messages(),
              QStringList{"The last 100 bytes of the file make no whole water user and were ignored."});
    EXPECT_TRUE(prompter.errors().isEmpty());

    prompter.clear();
    main->mnExportClick(); // cancelled
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].preset, path("two.bin"));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("two.bin"));
}

TEST_F(ExchangeTest, AFailedExportReportsAndKeepsCaptionAndMark)
{
    load({MakeUser(CatWaterSupply, 1, "A", 1)});
    main->SetScenarioChanged(true);
    prompter.fileNames = {path("no/such/dir/x.bin")};
    main->mnExportClick();
    EXPECT_EQ(prompter.errors().size(), 1);
    EXPECT_TRUE(main->scenarioChanged());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Velnor *"));
}

TEST_F(ExchangeTest, AnEmptyScenarioExportsAnEmptyFile)
{
    prompter.fileNames = {path("none.bin")};
    main->mnExportClick();
    EXPECT_TRUE(QFileInfo::exists(path("none.bin")));
    EXPECT_EQ(QFileInfo(path("none.bin")).size(), 0);
}
