#pragma once

#include "db/Connection.h"
#include "dbui/GenOptions.h"
#include "widgets/LForm.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velnor::ui {
class Prompter;
}

namespace velnor::dbui {

// The program's one database session: the settings of the next connect and,
// while connected, the connection itself. A server "name" that begins with a
// slash is a socket directory, as libpq takes it.
class TDbSession {
public:
    QString User;
    QString Password;
    QString Database;
    QString HostName = QStringLiteral("localhost");
    int Port = 0;
    // The client encoding requested when connecting.
    QString Codepage = QStringLiteral("ISO_8859_7");

    bool Connected() const { return conn_ != nullptr; }
    // Opens a new connection with the settings (closing an open one first),
    // then runs the after-connect work (the search path). Throws the database
    // layer's errors.
    void Connect();
    void Disconnect() noexcept;
    // The open connection; throws VelnorError "No connection to a database".
    db::Connection& Conn();
    // Told what long work on a connection of this session does.
    void SetProgressHook(db::Connection::ProgressHook hook);

private:
    std::unique_ptr<db::Connection> conn_;
    db::Connection::ProgressHook progress_;
};

// The login prompt: user name and password, and in its extended state the
// database, its server and port.
class TFrmLoginPrompt : public ui::TLForm {
    Q_OBJECT
public:
    explicit TFrmLoginPrompt(QWidget* parent = nullptr);

    static constexpr int CompactHeight = 112;
    static constexpr int ExtendedHeight = 194;

    bool IsExtented() const { return isExtented_; }
    void SetExtended(bool extended);
    void ExtendButtonClick() { SetExtended(!isExtented_); }
    // The focus rule of showing: the first empty of user name, password, database.
    QLineEdit* FocusTarget() const;

    QLineEdit* edtUsername = nullptr;
    QLineEdit* edtPassword = nullptr;
    QLineEdit* edtDatabase = nullptr;
    QLineEdit* edtDatabaseServer = nullptr;
    QLineEdit* edtDatabasePort = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* ExtendButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool isExtented_ = false;
};

// Runs the login prompt until a connection is made, the user cancels or
// Retries attempts have failed.
class TLoginDialog {
public:
    TLoginDialog(ui::Prompter& prompter, QWidget* parent) : prompter_(prompter), parent_(parent) {}

    QString Caption = QStringLiteral("Connect to database");
    TDbSession* Session = nullptr;
    int Retries = 3;

    void Execute();

    // Shown while connecting; replaced by tests, which have no screen to show
    // a modeless box on. Gets the text, returns what removes the box again.
    std::function<std::function<void()>(const QString&)> showBusyBox;

private:
    ui::Prompter& prompter_;
    QWidget* parent_;
};

// Makes sure the session is connected, asking the user when needed; callers
// look at Session.Connected() afterwards. A connection found broken (the server
// went away) is opened again with the same login first; only when that fails
// does the usual path (automatic connection or the prompt) follow. While
// connected: remembers the login, sets the search path and the client encoding.
void DatabaseConnect(TDbSession& session, TLoginDialog& loginDialog, TGenApplicationOptions& options,
                     ui::Prompter& prompter, QWidget* parent,
                     QLocale::Language language = QLocale::system().language());

// Whether an error message is about the password (any letter case).
bool MentionsPassword(const QString& message);

} // namespace velnor::dbui
