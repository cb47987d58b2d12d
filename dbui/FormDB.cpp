#include "dbui/FormDB.h"

#include "core/WaterUser.h"
#include "widgets/Services.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QProgressDialog>

#include <memory>

namespace velnor::dbui {

// The wait cursor for as long as it lives, and, once the work has taken longer
// than the form's delay, a progress dialog that says what is being done. No
// cancel: the work runs on this thread to its end (or is rolled back on an error).
class ProgressFeedback {
public:
    ProgressFeedback(TFormDB& form, const QString& title) : form_(form), title_(title)
    {
        form_.progressTexts_.clear();
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        timer_.start();
        form_.ZConnection1.SetProgressHook([this](const std::string& what) { step(QString::fromStdString(what)); });
    }
    ~ProgressFeedback()
    {
        form_.ZConnection1.SetProgressHook({});
        dialog_.reset();
        QApplication::restoreOverrideCursor();
    }
    ProgressFeedback(const ProgressFeedback&) = delete;
    ProgressFeedback& operator=(const ProgressFeedback&) = delete;

    void step(const QString& what)
    {
        if (!dialog_ && timer_.elapsed() >= form_.progressDelayMs) {
            dialog_ = std::make_unique<QProgressDialog>(what, QString(), 0, 0, form_.parentWidget());
            dialog_->setObjectName(QStringLiteral("ProgressDialog"));
            dialog_->setWindowTitle(title_);
            dialog_->setWindowModality(Qt::ApplicationModal);
            dialog_->setMinimumDuration(0);
            dialog_->setCancelButton(nullptr);
            dialog_->show();
        }
        if (dialog_) {
            form_.progressTexts_ << what;
            dialog_->setLabelText(what);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }

private:
    TFormDB& form_;
    QString title_;
    QElapsedTimer timer_;
    std::unique_ptr<QProgressDialog> dialog_;
};

TFormDB::TFormDB(ui::AppServices& services, std::function<void(const QString&)> setCaption, QWidget* parent)
    : TLForm(parent),
      LoginDialog1(services.prompter(), parent),
      OpenScenarioDialog1(services.prompter(), this),
      SaveScenarioDialog1(services.prompter(), this),
      services_(services),
      setCaption_(std::move(setCaption))
{
    setObjectName(QStringLiteral("FormDB"));
    setWindowTitle(tr("Container for DB components"));
    LoginDialog1.Caption = QStringLiteral("Connect to database");
    LoginDialog1.Session = &ZConnection1;
    LoginDialog1.Retries = 3;
    OpenScenarioDialog1.Caption = QStringLiteral("Open Scenario");
    OpenScenarioDialog1.Session = &ZConnection1;
    OpenScenarioDialog1.Model = db::KyVelnor;
    SaveScenarioDialog1.Caption = QStringLiteral("Save Scenario");
    SaveScenarioDialog1.Session = &ZConnection1;
    SaveScenarioDialog1.Model = db::KyVelnor;
    Loaded();
    // Options that cannot be read leave the defaults; the next login writes
    // them anew.
    try {
        ApplOptions.LoadFromRegistry();
    } catch (const std::exception& e) {
        services_.prompter().showError(parent, QString::fromStdString(e.what()));
    }
    ApplOptions.OfferEnvironmentDatabase();
}

TFormDB::~TFormDB() = default;

void TFormDB::DatabaseConnect()
{
    dbui::DatabaseConnect(ZConnection1, LoginDialog1, ApplOptions, services_.prompter(), parentWidget(), language);
}

void TFormDB::LoadScenario()
{
    DatabaseConnect();
    if (!ZConnection1.Connected())
        return;
    OpenScenarioDialog1.DefaultProjectID = workingScen.project ? workingScen.project->id : -1;
    int scenarioId = -1;
    if (!OpenScenarioDialog1.execute(scenarioId))
        return;
    {
        ProgressFeedback feedback(*this, tr("Open"));
        workingScen.LoadScenario(ZConnection1.Conn(), scenarioId, WatUserRec);
    }
    WatConsRec.clear();
    setCaption_(QString::fromStdString(workingScen.short_descr));
    services_.SetScenarioChanged(false);
}

void TFormDB::SaveScenario()
{
    DatabaseConnect();
    if (!ZConnection1.Connected())
        return;
    {
        ProgressFeedback feedback(*this, tr("Save"));
        workingScen.SaveScenario(ZConnection1.Conn(), WatUserRec);
    }
    services_.SetScenarioChanged(false);
    // The water users carry their new identifiers.
    services_.refreshForm();
}

void TFormDB::SaveAsScenario()
{
    DatabaseConnect();
    if (!ZConnection1.Connected())
        return;
    std::unique_ptr<ProgressFeedback> feedback;
    const bool saved = workingScen.SaveAsScenario(ZConnection1.Conn(), WatUserRec, [&](db::TKyWnScenario& s) {
        if (!SaveScenarioDialog1.execute(&s))
            return false;
        feedback = std::make_unique<ProgressFeedback>(*this, tr("Save As"));
        return true;
    });
    feedback.reset();
    if (!saved)
        return;
    setCaption_(QString::fromStdString(workingScen.short_descr));
    services_.SetScenarioChanged(false);
    services_.refreshForm();
}

} // namespace velnor::dbui
