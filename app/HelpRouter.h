#pragma once

#include <QString>
#include <QUrl>

#include <functional>

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

// Receives every help request of the program and opens the help file
// "velnor.chm" beside the program with the desktop's handler for it. A missing
// file, or one the desktop cannot open, is reported in an error box.
class THelpRouter {
public:
    using Opener = std::function<bool(const QUrl&)>;

    static constexpr const char* HelpFileName = "velnor.chm";
    // Popup topics inside the help file.
    static constexpr const char* PopupTopicsFile = "CSHelp.txt";

    // The opener defaults to QDesktopServices::openUrl.
    THelpRouter(ui::Prompter& prompter, QWidget* parent, Opener opener = {});

    const QString& helpFile() const { return helpFile_; }
    void setHelpFile(const QString& path) { helpFile_ = path; }
    // The help file beside the running program.
    static QString DefaultHelpFile();

    // Opens the help for a context number; false when it could not.
    bool showHelp(int context);

private:
    ui::Prompter& prompter_;
    QWidget* parent_;
    Opener opener_;
    QString helpFile_;
};

} // namespace velnor::app
