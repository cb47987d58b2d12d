#include "dbui/Login.h"

#include "core/Errors.h"
#include "widgets/Services.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace velnor::dbui {

namespace {

// A failed attempt to log in; shown and followed by the next attempt.
class ELoginError : public VelnorError {
public:
    using VelnorError::VelnorError;
};

std::function<void()> ShowModelessBox(QWidget* parent, const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Information, QApplication::applicationName(), text,
                                QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("ConnectingBox"));
    box->setModal(false);
    box->setStandardButtons(QMessageBox::NoButton);
    box->show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return [box] { delete box; };
}

// Wait cursor and busy box for as long as it lives.
class ConnectingFeedback {
public:
    ConnectingFeedback(const TLoginDialog& dialog, QWidget* parent)
    {
        QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        remove_ = dialog.showBusyBox ? dialog.showBusyBox(QStringLiteral("Connecting to the database..."))
                                     : ShowModelessBox(parent, QStringLiteral("Connecting to the database..."));
    }
    ~ConnectingFeedback()
    {
        if (remove_)
            remove_();
        QApplication::restoreOverrideCursor();
    }
    ConnectingFeedback(const ConnectingFeedback&) = delete;
    ConnectingFeedback& operator=(const ConnectingFeedback&) = delete;

private:
    std::function<void()> remove_;
};

} // namespace

bool MentionsPassword(const QString& message)
{
    return message.contains(QStringLiteral("password"), Qt::CaseInsensitive);
}

// --- TDbSession ------------------------------------------------------------

void TDbSession::Connect()
{
    Disconnect();
    db::ConnectParams p;
    p.host = HostName.toStdString();
    p.port = Port > 0 ? std::to_string(Port) : std::string();
    p.dbname = Database.toStdString();
    p.user = User.toStdString();
    p.password = Password.toStdString();
    p.clientEncoding = Codepage.toStdString();
    auto conn = std::make_unique<db::Connection>(p);
    conn->SetProgressHook(progress_);
    // After connecting: the search path, as every session of this program has it.
    try {
        db::SetSearchPath(*conn, db::SearchPath);
    } catch (const std::exception&) {
        throw VelnorError(std::string("Unable to set the search path \"") + db::SearchPath +
                          "\" for the data base scheme");
    }
    conn_ = std::move(conn);
}

void TDbSession::Disconnect() noexcept
{
    conn_.reset();
}

db::Connection& TDbSession::Conn()
{
    if (!conn_)
        throw VelnorError("No connection to a database");
    return *conn_;
}

void TDbSession::SetProgressHook(db::Connection::ProgressHook hook)
{
    progress_ = std::move(hook);
    if (conn_)
        conn_->SetProgressHook(progress_);
}

// --- TFrmLoginPrompt --------------------------------------------------------

TFrmLoginPrompt::TFrmLoginPrompt(QWidget* parent) : TLForm(parent)
{
    setObjectName(QStringLiteral("FrmLoginPrompt"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const int labelX = 10, editX = 120, editW = 150, rowH = 22;
    auto row = [&](const char* labelName, const QString& text, const char* editName, int y) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(labelName));
        l->setGeometry(labelX, y, editX - labelX - 4, rowH);
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(editName));
        e->setGeometry(editX, y, editW, rowH);
        l->setBuddy(e);
        return e;
    };
    edtUsername = row("lblUsername", tr("Username:"), "edtUsername", 14);
    edtPassword = row("lblPassword", tr("Password:"), "edtPassword", 44);
    edtPassword->setEchoMode(QLineEdit::Password);
    edtDatabase = row("lblDatabase", tr("Database:"), "edtDatabase", 116);
    edtDatabaseServer = row("lblDatabaseServer", tr("Database sever:"), "edtDatabaseServer", 142);
    edtDatabasePort = row("lblDatabasePort", tr("Database port:"), "edtDatabasePort", 168);
    auto button = [this](const char* name, const QString& text, int y) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(284, y, 80, 26);
        return b;
    };
    btnOK = button("btnOK", tr("OK"), 12);
    btnCancel = button("btnCancel", tr("Cancel"), 42);
    ExtendButton = button("ExtendButton", QStringLiteral(">>>"), 76);
    btnOK->setDefault(true);
    ExtendButton->setAutoDefault(false);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ExtendButton, &QPushButton::clicked, this, [this] { ExtendButtonClick(); });
    setInitialGeometry(200, 300, 376, CompactHeight);
    Loaded();
    SetExtended(false);
}

void TFrmLoginPrompt::SetExtended(bool extended)
{
    isExtented_ = extended;
    ExtendButton->setText(extended ? QStringLiteral("<<<") : QStringLiteral(">>>"));
    for (QLineEdit* e : {edtDatabase, edtDatabaseServer, edtDatabasePort})
        e->setEnabled(extended);
    setFixedSize(width(), extended ? ExtendedHeight : CompactHeight);
}

QLineEdit* TFrmLoginPrompt::FocusTarget() const
{
    if (edtUsername->text().isEmpty())
        return edtUsername;
    if (edtPassword->text().isEmpty())
        return edtPassword;
    if (edtDatabase->text().isEmpty())
        return edtDatabase;
    return nullptr;
}

void TFrmLoginPrompt::showEvent(QShowEvent* event)
{
    TLForm::showEvent(event);
    if (QLineEdit* e = FocusTarget())
        e->setFocus();
    SetExtended(isExtented_);
}

// --- TLoginDialog -----------------------------------------------------------

void TLoginDialog::Execute()
{
    if (!Session || Retries < 1)
        throw VelnorError("Internal error: the login dialog needs a session and at least one attempt");
    if (Session->Connected())
        return;
    TFrmLoginPrompt prompt(parent_);
    prompt.edtUsername->setText(Session->User);
    prompt.edtPassword->setText(Session->Password);
    prompt.edtDatabase->setText(Session->Database);
    prompt.edtDatabaseServer->setText(Session->HostName);
    prompt.edtDatabasePort->setText(QString::number(Session->Port));
    prompt.setWindowTitle(Caption);
    for (int attempt = 0; attempt < Retries; ++attempt) {
        if (prompter_.exec(prompt) != QDialog::Accepted)
            return;
        Session->User = prompt.edtUsername->text();
        Session->Password = prompt.edtPassword->text();
        Session->Database = prompt.edtDatabase->text();
        Session->HostName = prompt.edtDatabaseServer->text();
        bool ok = false;
        const int port = prompt.edtDatabasePort->text().trimmed().toInt(&ok);
        if (!ok)
            throw VelnorError("'" + prompt.edtDatabasePort->text().toStdString() + "' is not a valid integer value");
        Session->Port = port;
        try {
            if (Session->Database.isEmpty() || Session->HostName.isEmpty()) {
                if (!prompt.IsExtented())
                    prompt.SetExtended(true);
                throw ELoginError("Database name and database server should be specified");
            }
            ConnectingFeedback feedback(*this, parent_);
            Session->Connect();
            return;
        } catch (const ELoginError& e) {
            prompter_.showWarning(parent_, QString::fromStdString(e.what()));
        } catch (const pqxx::failure& e) {
            const QString message = QString::fromStdString(e.what()).trimmed();
            prompter_.showWarning(parent_, MentionsPassword(message) ? QStringLiteral("Invalid username or password")
                                                                     : message);
        }
    }
}

// --- DatabaseConnect --------------------------------------------------------

void DatabaseConnect(TDbSession& session, TLoginDialog& loginDialog, TGenApplicationOptions& options,
                     ui::Prompter& prompter, QWidget* parent, QLocale::Language language)
{
    // A connection whose server went away is not used again: it is opened anew
    // with the login that made it, so that it gets its session settings back.
    if (session.Connected() && !session.Conn().IsAlive()) {
        session.Disconnect();
        try {
            session.Connect();
        } catch (const std::exception&) {
            session.Disconnect();
        }
    }
    if (!session.Connected()) {
        session.User = options.LastLogonUser;
        session.Database = options.LastLogonService;
        session.HostName = options.LastLogonServer;
        session.Port = options.LastLogonPort;
        session.Password.clear();
        bool prompt = true;
        if (options.AutoConnect) {
            session.Password = options.LastLogonPassword;
            try {
                session.Connect();
                prompt = false;
            } catch (const std::exception& e) {
                prompter.showError(parent, QStringLiteral("Could not connect automatically to the Database. Please "
                                                          "check conection parameters (username, password, "
                                                          "database, and, database server). Database error "
                                                          "message is: \"%1\"")
                                               .arg(QString::fromStdString(e.what()).trimmed()));
                session.Password.clear();
            }
        }
        if (prompt)
            loginDialog.Execute();
    }
    if (!session.Connected())
        return;
    options.LastLogonUser = session.User;
    options.LastLogonService = session.Database;
    options.LastLogonPassword = session.Password;
    options.LastLogonServer = session.HostName;
    options.LastLogonPort = session.Port;
    options.WriteToRegistry();
    db::Connection& conn = session.Conn();
    db::SetSearchPath(conn, db::SearchPath);
    db::SetDbClientEncoding(conn, EncodingOfOption(options.DatabaseEncoding, language).toStdString());
}

} // namespace velnor::dbui
