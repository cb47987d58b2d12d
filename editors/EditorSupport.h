#pragma once

#include "widgets/Services.h"

#include <QString>

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

class QColor;
class QPushButton;
class QToolButton;
class QWidget;

namespace velnor::ui {

class TKyStringGrid;
class TLForm;

// UTF-8 model text <-> Qt text.
QString FromModel(std::string_view utf8);
std::string ToModel(const QString& text);

// A real in the general form (up to 15 significant digits, no trailing zeros)
// with the user's decimal separator.
QString NumText(double value);
// A real with a printf pattern of the form "%W.Df", with the user's decimal separator.
QString FixedText(const char* pattern, double value);

// Reading typed numbers with the user's decimal separator; surrounding blanks
// are ignored, group separators, infinities and NaN are not numbers.
bool ReadReal(const QString& text, double& value);
// As ReadReal, but the value must also fit a single-precision real.
bool ReadSingle(const QString& text, double& value);
bool ReadInt(const QString& text, int& value);

// As ReadReal / ReadInt, throwing the number parser's conversion error.
double StrToReal(const QString& text);
int StrToInt(const QString& text);

// The application's default error handler: runs an event handler and shows
// the message of any failure in an error box. True when it ran through.
template <typename Fn>
bool Guarded(AppServices& services, QWidget* parent, Fn&& fn)
{
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        services.prompter().showError(parent, QString::fromUtf8(e.what()));
    }
    return false;
}

// Background colour of a form, given as $BBGGRR (blue byte first). Disabled
// labels on it stay readable (a contrast of at least 3 to 1).
void SetFormColor(QWidget& form, unsigned bgr);
// Contrast ratio of two colours as in the web content accessibility
// guidelines: 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// A push button of a dialog; Enter presses it while it has the focus.
QPushButton* MakeButton(QWidget* parent, const char* objectName, const QString& caption);
// The dialog's default button: Enter presses it wherever else the focus is
// (a grid cell being typed in keeps its Enter).
QPushButton* MakeDefaultButton(QWidget* parent, const char* objectName, const QString& caption);
// Tab walks the controls in this order.
void SetTabOrder(std::initializer_list<QWidget*> controls);
// The small help button "SpeedButton1" with its hint.
QToolButton* MakeHelpButton(QWidget* parent);
// A data grid whose messages go through the services' prompter.
TKyStringGrid* MakeGrid(QWidget* parent, AppServices& services, const char* objectName);
// A form's help context (F1), its client size and a position centred on the
// desktop; then the form's Loaded().
void InitForm(TLForm& form, AppServices& services, int helpContext, int clientWidth, int clientHeight);
// F1 asks the help system for the form's context.
void InstallHelpKey(QWidget& form, AppServices& services, int context);

// Collector of the "Error Messages:" report of the data dialogs.
class ErrorReport {
public:
    void add(const QString& message);
    bool empty() const { return count_ == 0; }
    const QString& text() const { return text_; }

private:
    QString text_ = QStringLiteral("Error Messages:");
    int count_ = 0;
};

} // namespace velnor::ui
