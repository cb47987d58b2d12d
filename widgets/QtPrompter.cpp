#include "widgets/QtPrompter.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace velnor::ui {

namespace {
QString title()
{
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Velnor") : name;
}
} // namespace

void QtPrompter::showError(QWidget* parent, const QString& message)
{
    QMessageBox::critical(parent, title(), message, QMessageBox::Ok);
}

void QtPrompter::showMessage(QWidget* parent, const QString& message)
{
    QMessageBox::information(parent, title(), message, QMessageBox::Ok);
}

Answer QtPrompter::ask(QWidget* parent, const QString& question, bool allowCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (allowCancel)
        buttons |= QMessageBox::Cancel;
    const auto result = QMessageBox::question(parent, title(), question, buttons);
    switch (result) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
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
