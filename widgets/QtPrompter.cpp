#include "widgets/QtPrompter.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace velnor::ui {

namespace {
QString title()
{
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Velnor") : name;
}

QRect ScreenRoom(QWidget* parent)
{
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// Room a window manager takes around a box (title bar and borders).
constexpr int FrameAllowance = 48;

QStyle::StandardPixmap IconPixmap(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Critical: return QStyle::SP_MessageBoxCritical;
    case QMessageBox::Warning: return QStyle::SP_MessageBoxWarning;
    case QMessageBox::Question: return QStyle::SP_MessageBoxQuestion;
    default: return QStyle::SP_MessageBoxInformation;
    }
}

// A message box whose text scrolls between the icon and the buttons.
std::unique_ptr<QDialog> ScrollingBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                      QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton, const QRect& room)
{
    auto box = std::make_unique<QDialog>(parent);
    box->setObjectName(QStringLiteral("ScrollingMessageBox"));
    box->setWindowTitle(title());
    QDialog* dialog = box.get();
    auto* picture = new QLabel(dialog);
    const int iconSize = dialog->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, dialog);
    picture->setPixmap(dialog->style()->standardIcon(IconPixmap(icon), nullptr, dialog).pixmap(iconSize));
    picture->setAlignment(Qt::AlignTop);
    auto* label = new QLabel(text, dialog);
    label->setObjectName(QStringLiteral("LblMessage"));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setContentsMargins(4, 4, 4, 4);
    auto* scroll = new QScrollArea(dialog);
    scroll->setObjectName(QStringLiteral("ScrMessage"));
    scroll->setWidget(label);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* buttonBox = new QDialogButtonBox(QDialogButtonBox::StandardButtons(int(buttons)), dialog);
    if (QPushButton* def = buttonBox->button(QDialogButtonBox::StandardButton(int(defaultButton))))
        def->setDefault(true);
    QObject::connect(buttonBox, &QDialogButtonBox::clicked, dialog, [dialog, buttonBox](QAbstractButton* b) {
        dialog->done(int(buttonBox->standardButton(b)));
    });
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(scroll, 1);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(top, 1);
    layout->addWidget(buttonBox);
    const int scrollBar = dialog->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, dialog);
    const int width = std::min(label->sizeHint().width() + iconSize + scrollBar + 60, room.width() - 40);
    const int height = room.height() - FrameAllowance - 20;
    dialog->resize(width, height);
    return box;
}
} // namespace

QString MessageLines(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

std::unique_ptr<QDialog> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    const QString lines = MessageLines(text);
    auto box = std::make_unique<QMessageBox>(icon, title(), lines, buttons, parent);
    box->setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton)
        box->setDefaultButton(defaultButton);
    const QRect room = ScreenRoom(parent);
    // A message box sizes itself only when shown: it is laid out once
    // without showing it on the screen.
    box->setAttribute(Qt::WA_DontShowOnScreen);
    box->show();
    const int height = box->height();
    box->hide();
    box->setAttribute(Qt::WA_DontShowOnScreen, false);
    if (height + FrameAllowance <= room.height())
        return box;
    return ScrollingBox(parent, icon, lines, buttons, defaultButton, room);
}

void QtPrompter::showError(QWidget* parent, const QString& message)
{
    MakeMessageBox(parent, QMessageBox::Critical, message, QMessageBox::Ok, QMessageBox::Ok)->exec();
}

void QtPrompter::showMessage(QWidget* parent, const QString& message)
{
    MakeMessageBox(parent, QMessageBox::Information, message, QMessageBox::Ok, QMessageBox::Ok)->exec();
}

namespace {
// A confirmation box with a question or a warning symbol.
Answer Confirm(bool warning, QWidget* parent, const QString& question, bool allowCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (allowCancel)
        buttons |= QMessageBox::Cancel;
    const int result = MakeMessageBox(parent, warning ? QMessageBox::Warning : QMessageBox::Question, question,
                                      buttons, QMessageBox::Yes)->exec();
    switch (result) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}
} // namespace

Answer QtPrompter::ask(QWidget* parent, const QString& question, bool allowCancel)
{
    return Confirm(false, parent, question, allowCancel);
}

void QtPrompter::showWarning(QWidget* parent, const QString& message)
{
    MakeMessageBox(parent, QMessageBox::Warning, message, QMessageBox::Ok, QMessageBox::Ok)->exec();
}

Answer QtPrompter::askWarning(QWidget* parent, const QString& question, bool allowCancel)
{
    return Confirm(true, parent, question, allowCancel);
}

QString ToQtFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (%1)").arg(patterns);
        out << description;
    }
    return out.join(QStringLiteral(";;"));
}

QString QtPrompter::openFileName(QWidget* parent, const QString& caption, const QString& fileName,
                                 const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, fileName, ToQtFilter(filter));
}

QString QtPrompter::saveFileName(QWidget* parent, const QString& caption, const QString& fileName,
                                 const QString& filter)
{
    // QFileDialog asks before replacing an existing file.
    return QFileDialog::getSaveFileName(parent, caption, fileName, ToQtFilter(filter));
}

QString QtPrompter::saveFileNameWithFilter(QWidget* parent, const QString& caption, const QString& fileName,
                                           const QString& filter, QString& selectedFilter)
{
    selectedFilter.clear();
    return QFileDialog::getSaveFileName(parent, caption, fileName, ToQtFilter(filter), &selectedFilter);
}

int QtPrompter::exec(QDialog& dialog)
{
    return dialog.exec();
}

} // namespace velnor::ui
