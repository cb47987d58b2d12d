#pragma once

// Checks that hold for every form of the program, whatever its controls:
// it fits a 1366x768 laptop screen at the current scale (QT_SCALE_FACTOR),
// no text is cut, buttons can be clicked, disabled labels can be read, and
// Tab walks its controls. A new form is checked by passing it to them.

#include "widgets/KyStringGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace velnor::test {

// The laptop screen in the form's own (scaled) pixels.
inline QSize LaptopScreen(const QWidget& form)
{
    const double scale = form.devicePixelRatioF();
    return {int(std::floor(1366 / scale)), int(std::floor(768 / scale))};
}

// Room a window manager takes around a window: title bar and borders.
inline constexpr int TitleBarHeight = 32;
inline constexpr int TitleBarButtons = 130;

inline double ContrastOf(const QColor& a, const QColor& b)
{
    const auto lum = [](const QColor& c) {
        const auto ch = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Problems of one shown form: too big for the screen, caption cut in the
// title bar, controls outside the window or covered, texts wider than the
// room of their control, table cells narrower than their text, disabled
// labels that cannot be read.
inline QStringList LayoutProblems(QWidget& form)
{
    QStringList problems;
    const QRect window = form.rect();
    const auto name = [](const QWidget* w) {
        return QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
    };
    const QSize screen = LaptopScreen(form);
    if (form.width() > screen.width() || form.height() + TitleBarHeight > screen.height())
        problems << QStringLiteral("%1x%2 does not fit a %3x%4 screen with its title bar")
                        .arg(form.width())
                        .arg(form.height())
                        .arg(screen.width())
                        .arg(screen.height());
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int titleNeeds = QFontMetrics(titleFont).horizontalAdvance(form.windowTitle()) + TitleBarButtons;
    if (titleNeeds > form.width())
        problems << QStringLiteral("caption \"%1\" needs %2 pixels of title bar, the window is %3 wide")
                        .arg(form.windowTitle())
                        .arg(titleNeeds)
                        .arg(form.width());
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&form) || w->isWindow() || w->width() == 0)
            continue;
        const QRect r(w->mapTo(&form, QPoint(0, 0)), w->size());
        if (!window.contains(r))
            problems << name(w) + QStringLiteral(" lies outside the window");
        if (qobject_cast<QAbstractButton*>(w) && w->isEnabled()) {
            // A click on the middle of a button must reach it, not a widget lying over it.
            QWidget* hit = form.childAt(r.center());
            while (hit && hit != w)
                hit = hit->parentWidget();
            if (!hit)
                problems << name(w) + QStringLiteral(" is covered by ") + name(form.childAt(r.center()));
        }
        const QFontMetrics fm(w->font());
        QString text;
        int room = 0;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap() && label->pixmap().isNull()) {
            text = label->text();
            room = label->contentsRect().width() - 2 * label->margin();
            if (!label->isEnabled() && !text.isEmpty()) {
                const QColor fg = label->palette().color(QPalette::Disabled, label->foregroundRole());
                const QColor bg = label->palette().color(QPalette::Disabled, label->backgroundRole());
                if (ContrastOf(fg, bg) < 3.0)
                    problems << QStringLiteral("%1: disabled \"%2\" has a contrast of %3 to 1")
                                    .arg(name(w), text)
                                    .arg(ContrastOf(fg, bg), 0, 'f', 2);
            }
        } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
            text = box->text();
            const int indicator = w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
                                  w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
            room = w->width() - indicator;
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            text = button->text();
            // The style's own room: the button margin and the frame on both sides.
            room = w->width() - w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w) -
                   2 * w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            room = w->width() - 8;
        }
        text.remove(QLatin1Char('&'));
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (!line.isEmpty() && fm.horizontalAdvance(line) > room)
                problems << QStringLiteral("%1: \"%2\" needs %3 pixels, has %4")
                                .arg(name(w), line)
                                .arg(fm.horizontalAdvance(line))
                                .arg(room);
        if (auto* grid = qobject_cast<ui::TKyStringGrid*>(w)) {
            const QFontMetrics gm(grid->font());
            for (int c = 0; c < grid->ColCount(); ++c) {
                const int width = grid->ColWidths(c);
                for (int row = 0; row < grid->RowCount(); ++row) {
                    const QString cell = grid->Cells(c, row);
                    // Cells get 2 pixels of margin on each side.
                    if (width > 0 && !cell.isEmpty() && gm.horizontalAdvance(cell) + 4 > width)
                        problems << QStringLiteral("%1: cell (%2, %3) \"%4\" needs %5 pixels, column has %6")
                                        .arg(name(w))
                                        .arg(c)
                                        .arg(row)
                                        .arg(cell)
                                        .arg(gm.horizontalAdvance(cell) + 4)
                                        .arg(width);
                }
            }
        } else if (auto* table = qobject_cast<QTableView*>(w); table && table->model()) {
            // Any other table: every shown cell holds its text.
            const QAbstractItemModel& model = *table->model();
            const QFontMetrics tm(table->font());
            for (int row = 0; row < model.rowCount(); ++row)
                for (int c = 0; c < model.columnCount(); ++c) {
                    const QString cell = model.index(row, c).data(Qt::DisplayRole).toString();
                    const int width = table->columnWidth(c);
                    const int visible = std::min(width, table->viewport()->width() - table->columnViewportPosition(c));
                    if (!table->isColumnHidden(c) && width > 0 && !cell.isEmpty() &&
                        tm.horizontalAdvance(cell) + 4 > visible)
                        problems << QStringLiteral("%1: cell (%2, %3) \"%4\" needs %5 pixels, has %6")
                                        .arg(name(w))
                                        .arg(c)
                                        .arg(row)
                                        .arg(cell)
                                        .arg(tm.horizontalAdvance(cell) + 4)
                                        .arg(visible);
                }
        }
    }
    return problems;
}

// Shows the form as the active window and lets it settle.
inline void ShowActive(QWidget& form)
{
    form.show();
    QApplication::setActiveWindow(&form);
    form.activateWindow();
    QApplication::processEvents();
}

// The object names of the controls Tab visits, from the focus the shown form
// starts with until Tab comes back to it. A grid is named once for each
// visit, however many of its cells Tab walks; a walk that does not come back
// within `maxKeys` presses ends with "(stuck)".
inline QStringList TabWalk(QWidget& form, int maxKeys = 300)
{
    ShowActive(form);
    QWidget* first = QApplication::focusWidget();
    QStringList names;
    QWidget* w = first;
    for (int i = 0; i < maxKeys; ++i) {
        if (!w) {
            names << QStringLiteral("(no focus)");
            return names;
        }
        if (i > 0 && w == first && names.size() > 1)
            return names;
        if (names.isEmpty() || names.last() != w->objectName())
            names << w->objectName();
        QTest::keyClick(w, Qt::Key_Tab);
        QApplication::processEvents();
        w = QApplication::focusWidget();
    }
    names << QStringLiteral("(stuck)");
    return names;
}

} // namespace velnor::test
