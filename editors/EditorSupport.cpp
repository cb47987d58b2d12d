#include "editors/EditorSupport.h"

#include "core/Errors.h"
#include "core/Text.h"

#include "widgets/KyStringGrid.h"
#include "widgets/LForm.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include <cmath>
#include <cstdio>
#include <limits>

namespace velnor::ui {

namespace {

QLocale ReadingLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    return locale;
}

// Printf output uses '.'; the user sees his own separator.
QString WithUserSeparator(const std::string& text)
{
    QString out = QString::fromStdString(text);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        out.replace(QLatin1Char('.'), point);
    return out;
}

} // namespace

QString FromModel(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToModel(const QString& text)
{
    return text.toStdString();
}

QString NumText(double value)
{
    return WithUserSeparator(FormatGeneral(value));
}

QString FixedText(const char* pattern, double value)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return WithUserSeparator(buffer);
}

bool ReadReal(const QString& text, double& value)
{
    bool ok = false;
    const double v = ReadingLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ReadSingle(const QString& text, double& value)
{
    double v = 0;
    if (!ReadReal(text, v) || std::fabs(v) > std::numeric_limits<float>::max())
        return false;
    value = static_cast<float>(v);
    return true;
}

bool ReadInt(const QString& text, int& value)
{
    bool ok = false;
    const int v = ReadingLocale().toInt(text.trimmed(), &ok);
    if (!ok)
        return false;
    value = v;
    return true;
}

double StrToReal(const QString& text)
{
    double v = 0;
    if (!ReadReal(text, v))
        throw VelnorError("\"" + text.toStdString() + "\" is not a valid floating point value");
    return v;
}

int StrToInt(const QString& text)
{
    int v = 0;
    if (!ReadInt(text, v))
        throw VelnorError("\"" + text.toStdString() + "\" is not a valid integer value");
    return v;
}

namespace {
double Luminance(const QColor& c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void SetFormColor(QWidget& form, unsigned bgr)
{
    QPalette palette = form.palette();
    const QColor background(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    palette.setColor(QPalette::Window, background);
    // Greyed text is the background darkened just enough to be read.
    QColor disabled = background;
    for (int percent = 100; percent >= 0 && ContrastRatio(disabled, background) < 3.0; percent -= 5)
        disabled = QColor(background.red() * percent / 100, background.green() * percent / 100,
                          background.blue() * percent / 100);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    form.setPalette(palette);
    form.setAutoFillBackground(true);
}

QPushButton* MakeButton(QWidget* parent, const char* objectName, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(true);
    return button;
}

QPushButton* MakeDefaultButton(QWidget* parent, const char* objectName, const QString& caption)
{
    QPushButton* button = MakeButton(parent, objectName, caption);
    button->setDefault(true);
    return button;
}

void SetTabOrder(std::initializer_list<QWidget*> controls)
{
    QWidget* previous = nullptr;
    for (QWidget* w : controls) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QToolButton* MakeHelpButton(QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("SpeedButton1"));
    button->setText(QStringLiteral("?"));
    button->setToolTip(QObject::tr("Help"));
    return button;
}

TKyStringGrid* MakeGrid(QWidget* parent, AppServices& services, const char* objectName)
{
    auto* grid = new TKyStringGrid(parent);
    grid->setObjectName(QLatin1String(objectName));
    grid->setPrompter(&services.prompter());
    return grid;
}

void InitForm(TLForm& form, AppServices& services, int helpContext, int clientWidth, int clientHeight)
{
    form.setHelpContext(helpContext);
    form.setHelpHandler([&services](int context) { services.showHelp(context); });
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    form.setInitialGeometry(desktop.center().y() - clientHeight / 2, desktop.center().x() - clientWidth / 2,
                            clientWidth, clientHeight);
    form.Loaded();
}

void InstallHelpKey(QWidget& form, AppServices& services, int context)
{
    auto* key = new QShortcut(QKeySequence::HelpContents, &form);
    QObject::connect(key, &QShortcut::activated, &form, [&services, context] { services.showHelp(context); });
}

void ErrorReport::add(const QString& message)
{
    text_ += QStringLiteral("\n\r") + message;
    ++count_;
}

} // namespace velnor::ui
