#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <vector>

class QWidget;

namespace velnor::ui {
class Prompter;
}

namespace velnor::app {

// Help contexts of the program's forms.
inline constexpr int ctxtMain = 2;
inline constexpr int ctxtWaterSupply = 15;
inline constexpr int ctxtFarming = 18;
inline constexpr int ctxtFarmData = 21;
inline constexpr int ctxtIndustry = 26;
inline constexpr int ctxtIndustData = 29;
inline constexpr int ctxtIrrigation = 34;
inline constexpr int ctxtIrrigData = 34;
inline constexpr int ctxtIrrigConsumData = 37;
inline constexpr int ctxtResults = 47;
inline constexpr int ctxtResultsTotal = 48;
inline constexpr int ctxtResultsWaterUser = 49;
inline constexpr int ctxtResultsWaterUserCategory = 50;

// Receives every help request of the program. A compiled help file
// "velnor.chm" beside the program comes first and is handed whole to the
// desktop's handler for it; otherwise the context's page of the HTML user
// guide opens in the desktop's browser. Nothing to open, or a desktop that
// cannot open it, is reported in an error box.
class THelpRouter {
public:
    using Opener = std::function<bool(const QUrl&)>;

    static constexpr const char* HelpFileName = "velnor.chm";
    // Popup topics inside the help file.
    static constexpr const char* PopupTopicsFile = "CSHelp.txt";
    // The guide's contents page, also shown for a context without a page.
    static constexpr const char* GuideIndexFile = "index.html";

    // The opener defaults to QDesktopServices::openUrl.
    THelpRouter(ui::Prompter& prompter, QWidget* parent, Opener opener = {});

    const QString& helpFile() const { return helpFile_; }
    void setHelpFile(const QString& path) { helpFile_ = path; }
    // The help file beside the running program.
    static QString DefaultHelpFile();

    const QString& guideDir() const { return guideDir_; }
    void setGuideDir(const QString& dir) { guideDir_ = dir; }
    // The user guide of a program in appDir: installed in
    // appDir/../share/velnor/help, or the source tree's help/ when the program
    // runs from its build tree. Empty when neither holds a guide.
    static QString GuideDirFor(const QString& appDir);
    static QString DefaultGuideDir();

    // The guide's page of a context number (a file name in the guide's
    // directory); the contents page for a number without a page of its own.
    static QString TopicFile(int context);
    // Every context number that has a page of its own.
    static const std::vector<int>& TopicContexts();

    void setOpener(Opener opener);

    // Opens the help for a context number; false when it could not.
    bool showHelp(int context);

private:
    void reportFailure(const QString& what, int context);

    ui::Prompter& prompter_;
    QWidget* parent_;
    Opener opener_;
    QString helpFile_;
    QString guideDir_;
};

} // namespace velnor::app
