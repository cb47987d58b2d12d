#pragma once

#include "db/WnScenario.h"
#include "dbui/FrmScenarioDlg.h"
#include "dbui/GenOptions.h"
#include "dbui/Login.h"
#include "widgets/LForm.h"

#include <QLocale>

#include <functional>
#include <memory>

namespace velnor::ui {
class AppServices;
}

namespace velnor::dbui {

// The never-shown data module: the run's one database session, the login and
// scenario dialogs, the remembered options and the working scenario record.
// Its commands report database errors by throwing; the main window shows them.
class TFormDB : public ui::TLForm {
    Q_OBJECT
public:
    // `setCaption` sets the main window's caption name.
    TFormDB(ui::AppServices& services, std::function<void(const QString&)> setCaption, QWidget* parent = nullptr);
    ~TFormDB() override;

    TDbSession ZConnection1;
    TLoginDialog LoginDialog1;
    TOpenScenarioDialog OpenScenarioDialog1;
    TSaveScenarioDialog SaveScenarioDialog1;
    TGenApplicationOptions ApplOptions;
    db::TKyWnScenario workingScen;

    // Connects if needed (see dbui::DatabaseConnect).
    void DatabaseConnect();
    // File > Open, Save and Save As on the working scenario (WatUserRec).
    void LoadScenario();
    void SaveScenario();
    void SaveAsScenario();
    // File > New: closes the connection; what it had not committed is dropped.
    void Disconnect() { ZConnection1.Disconnect(); }
    // A new, empty working scenario record.
    void recreateWorkingScen() { workingScen = db::TKyWnScenario{}; }

    // The language that chooses the client encoding of DBENLocaleDefault.
    QLocale::Language language = QLocale::system().language();
    // Work that takes longer than this shows a progress dialog.
    int progressDelayMs = 500;
    // The texts the progress dialog showed during the last command.
    const QStringList& progressTexts() const { return progressTexts_; }

private:
    friend class ProgressFeedback;
    ui::AppServices& services_;
    std::function<void(const QString&)> setCaption_;
    QStringList progressTexts_;
};

} // namespace velnor::dbui
