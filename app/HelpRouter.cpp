#include "app/HelpRouter.h"

#include "widgets/Services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace velnor::app {

namespace {

struct Topic {
    int context;
    const char* file;
};

// One page of the user guide per help context (the irrigation editor, the
// meteorological data form and the evapotranspiration view share 34).
constexpr Topic Topics[] = {
    {ctxtMain, "main-window.html"},
    {ctxtWaterSupply, "water-supply.html"},
    {ctxtFarming, "farming.html"},
    {ctxtFarmData, "animal-data.html"},
    {ctxtIndustry, "industry.html"},
    {ctxtIndustData, "industry-data.html"},
    {ctxtIrrigation, "irrigation.html"},
    {ctxtIrrigConsumData, "crop-data.html"},
    {ctxtResults, "results.html"},
    {ctxtResultsTotal, "results-totals.html"},
    {ctxtResultsWaterUser, "results-water-user.html"},
    {ctxtResultsWaterUserCategory, "results-category.html"},
};

THelpRouter::Opener DesktopOpener()
{
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

bool HasGuide(const QString& dir)
{
    return !dir.isEmpty() && QFileInfo(QDir(dir).filePath(QString::fromLatin1(THelpRouter::GuideIndexFile))).isFile();
}

} // namespace

THelpRouter::THelpRouter(ui::Prompter& prompter, QWidget* parent, Opener opener)
    : prompter_(prompter),
      parent_(parent),
      opener_(opener ? std::move(opener) : DesktopOpener()),
      helpFile_(DefaultHelpFile()),
      guideDir_(DefaultGuideDir())
{
}

void THelpRouter::setOpener(Opener opener)
{
    opener_ = opener ? std::move(opener) : DesktopOpener();
}

QString THelpRouter::DefaultHelpFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(HelpFileName));
}

QString THelpRouter::GuideDirFor(const QString& appDir)
{
    const QString installed = QDir::cleanPath(QDir(appDir).filePath(QStringLiteral("../share/velnor/help")));
    if (HasGuide(installed))
        return installed;
#if defined(VELNOR_SOURCE_HELP_DIR) && defined(VELNOR_BUILD_TREE)
    // Only a program of the build tree falls back on its sources.
    const QString buildTree = QDir::cleanPath(QStringLiteral(VELNOR_BUILD_TREE)) + QLatin1Char('/');
    if ((QDir::cleanPath(appDir) + QLatin1Char('/')).startsWith(buildTree) &&
        HasGuide(QStringLiteral(VELNOR_SOURCE_HELP_DIR)))
        return QStringLiteral(VELNOR_SOURCE_HELP_DIR);
#endif
    return {};
}

QString THelpRouter::DefaultGuideDir()
{
    return GuideDirFor(QCoreApplication::applicationDirPath());
}

QString THelpRouter::TopicFile(int context)
{
    for (const Topic& t : Topics)
        if (t.context == context)
            return QString::fromLatin1(t.file);
    return QString::fromLatin1(GuideIndexFile);
}

const std::vector<int>& THelpRouter::TopicContexts()
{
    static const std::vector<int> contexts = [] {
        std::vector<int> v;
        for (const Topic& t : Topics)
            v.push_back(t.context);
        return v;
    }();
    return contexts;
}

void THelpRouter::reportFailure(const QString& what, int context)
{
    prompter_.showError(parent_,
                        what + QLatin1Char('\n') +
                            QCoreApplication::translate("THelpRouter", "Help topic %1 cannot be shown.").arg(context));
}

bool THelpRouter::showHelp(int context)
{
    if (QFileInfo(helpFile_).isFile()) {
        if (opener_(QUrl::fromLocalFile(helpFile_)))
            return true;
        reportFailure(QCoreApplication::translate("THelpRouter", "The help file \"%1\" could not be opened.")
                          .arg(QDir::toNativeSeparators(helpFile_)),
                      context);
        return false;
    }
    if (!HasGuide(guideDir_)) {
        reportFailure(QCoreApplication::translate("THelpRouter",
                                                  "Neither the help file \"%1\" nor the user guide was found.")
                          .arg(QDir::toNativeSeparators(helpFile_)),
                      context);
        return false;
    }
    QString page = QDir(guideDir_).filePath(TopicFile(context));
    if (!QFileInfo(page).isFile())
        page = QDir(guideDir_).filePath(QString::fromLatin1(GuideIndexFile));
    if (opener_(QUrl::fromLocalFile(page)))
        return true;
    reportFailure(QCoreApplication::translate("THelpRouter", "The user guide page \"%1\" could not be opened.")
                      .arg(QDir::toNativeSeparators(page)),
                  context);
    return false;
}

} // namespace velnor::app
