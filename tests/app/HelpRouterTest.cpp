// The help router and the user guide it opens.

#include "MainFixture.h"

#include "editors/FrmWatSup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <set>

using namespace velnor;
using namespace velnor::test;

namespace {

// The help contexts of the program's forms.
const int kContexts[] = {2, 15, 18, 21, 26, 29, 34, 37, 47, 48, 49, 50};

QString ReadText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class HelpRouterTest : public ::testing::Test {
protected:
    HelpRouterTest()
        : router(prompter, nullptr, [this](const QUrl& url) {
              opened.push_back(url);
              return openSucceeds;
          })
    {
        router.setHelpFile(QStringLiteral("/nonexistent/velnor.chm"));
    }

    ScriptedPrompter prompter;
    std::vector<QUrl> opened;
    bool openSucceeds = true;
    app::THelpRouter router;
};

} // namespace

TEST_F(HelpRouterTest, EveryContextHasItsOwnPageInTheGuide)
{
    const QString guide = router.guideDir();
    ASSERT_FALSE(guide.isEmpty()) << "the build tree's program finds the guide of its sources";
    std::set<QString> pages;
    for (int context : kContexts) {
        const QString page = app::THelpRouter::TopicFile(context);
        EXPECT_TRUE(QFileInfo(QDir(guide).filePath(page)).isFile()) << context << " " << page.toStdString();
        pages.insert(page);
    }
    // 34 serves the irrigation editor, the meteorological data and the ETo view alike.
    EXPECT_EQ(pages.size(), std::size(kContexts));
    EXPECT_EQ(app::THelpRouter::TopicFile(99), QStringLiteral("index.html"));
    std::vector<int> mapped = app::THelpRouter::TopicContexts();
    EXPECT_EQ(mapped, std::vector<int>(std::begin(kContexts), std::end(kContexts)));
}

TEST_F(HelpRouterTest, GuidePagesLinkOnlyToWhatExistsAndTheContentsReachEveryPage)
{
    const QDir guide(router.guideDir());
    const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#]*)(#([^\"]*))?\""));
    const QRegularExpression id(QStringLiteral("id=\"([^\"]+)\""));
    std::set<QString> fromIndex;
    const QStringList pages = guide.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(pages.size(), 13);
    for (const QString& page : pages) {
        const QString html = ReadText(guide.filePath(page));
        EXPECT_TRUE(html.contains(QStringLiteral("href=\"velnor.css\""))) << page.toStdString();
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const auto match = m.next();
            QString target = match.captured(1);
            if (target.startsWith(QStringLiteral("http")) || target.startsWith(QStringLiteral("mailto:")))
                continue;
            if (target.isEmpty())
                target = page;
            EXPECT_TRUE(QFileInfo(guide.filePath(target)).isFile())
                << page.toStdString() << " links to " << target.toStdString();
            if (!match.captured(3).isEmpty()) {
                const QString anchor = QStringLiteral("id=\"%1\"").arg(match.captured(3));
                EXPECT_TRUE(ReadText(guide.filePath(target)).contains(anchor))
                    << page.toStdString() << " links to " << match.captured(0).toStdString();
            }
            if (page == QStringLiteral("index.html"))
                fromIndex.insert(target);
        }
    }
    for (const QString& page : pages) {
        if (page != QStringLiteral("index.html")) {
            EXPECT_TRUE(fromIndex.count(page)) << page.toStdString() << " is not in the contents";
        }
    }
}

TEST_F(HelpRouterTest, OpensTheContextsPageAndTheContentsForOtherNumbers)
{
    for (int context : {15, 34, 50, 7}) {
        opened.clear();
        EXPECT_TRUE(router.showHelp(context));
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(QDir(router.guideDir()).filePath(app::THelpRouter::TopicFile(context))));
    }
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("/index.html")));
    EXPECT_TRUE(prompter.errors().isEmpty());
}

TEST_F(HelpRouterTest, AHelpFileBesideTheProgramComesFirst)
{
    QTemporaryDir dir;
    const QString chm = dir.filePath(QStringLiteral("velnor.chm"));
    QFile(chm).open(QIODevice::WriteOnly);
    router.setHelpFile(chm);
    EXPECT_TRUE(router.showHelp(34));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(chm));

    openSucceeds = false;
    EXPECT_FALSE(router.showHelp(2));
    ASSERT_EQ(prompter.errors().size(), 1);
    EXPECT_TRUE(prompter.errors()[0].contains(chm));
}

TEST_F(HelpRouterTest, FailuresAreReported)
{
    openSucceeds = false;
    EXPECT_FALSE(router.showHelp(37));
    ASSERT_EQ(prompter.errors().size(), 1);
    EXPECT_TRUE(prompter.errors()[0].contains(QStringLiteral("crop-data.html")));
    EXPECT_TRUE(prompter.errors()[0].contains(QStringLiteral("Help topic 37 ")));

    openSucceeds = true;
    QTemporaryDir empty;
    router.setGuideDir(empty.path());
    EXPECT_FALSE(router.showHelp(37));
    EXPECT_EQ(opened.size(), 1u);
    ASSERT_EQ(prompter.errors().size(), 2);
    EXPECT_TRUE(prompter.errors()[1].contains(QStringLiteral("/nonexistent/velnor.chm")));
}

TEST_F(HelpRouterTest, AnInstalledProgramFindsTheGuideInItsShareDirectory)
{
    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath(QStringLiteral("bin"));
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    // Outside the build tree and with nothing installed there is no guide.
    EXPECT_EQ(app::THelpRouter::GuideDirFor(bin), QString());
    const QString help = prefix.filePath(QStringLiteral("share/velnor/help"));
    QDir(prefix.path()).mkpath(help);
    QFile index(QDir(help).filePath(QStringLiteral("index.html")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.close();
    EXPECT_EQ(app::THelpRouter::GuideDirFor(bin), QDir::cleanPath(help));
}

TEST_F(MainTest, EditorsHelpButtonOpensItsTopic)
{
    std::vector<QUrl> opened;
    main->HelpRouter1().setHelpFile(QStringLiteral("/nonexistent/velnor.chm"));
    main->HelpRouter1().setOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    prompter.execQueue.push_back([](QDialog& d) {
        if (auto* f = dynamic_cast<ui::TFormWatSup*>(&d))
            f->SpeedButton1Click();
        return int(QDialog::Rejected);
    });
    button("btnWaterSupply")->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("/water-supply.html")));
}
