#include "widgets/KyStringGrid.h"

#include "ScriptedPrompter.h"
#include "core/Errors.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace velnor::ui;

namespace {

// A grid of the given size, cells filled from `rows` (row-major).
std::unique_ptr<TKyStringGrid> MakeGrid(int cols, int rowCount, const std::vector<QStringList>& rows = {},
                                        int fixedRows = 0, int fixedCols = 0)
{
    auto g = std::make_unique<TKyStringGrid>();
    g->setFixedRows(fixedRows);
    g->setFixedCols(fixedCols);
    g->setColCount(cols);
    g->setRowCount(rowCount);
    for (int r = 0; r < int(rows.size()); ++r)
        g->setRow(r, rows[std::size_t(r)]);
    return g;
}

QStringList Row(const TKyStringGrid& g, int row)
{
    QStringList out;
    for (int c = 0; c < g.ColCount(); ++c)
        out << g.Cells(c, row);
    return out;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

} // namespace

TEST(KyStringGrid, StartsWithTheDefaultsOfTheFamily)
{
    TKyStringGrid g;
    EXPECT_EQ(g.FitColToWidth(), -1);
    EXPECT_FALSE(g.goPasteNonEditable());
    EXPECT_EQ(g.SelectedCellColor(), QColor(0, 64, 128));
    EXPECT_EQ(g.SelectedFontColor(), QColor(Qt::white));
    EXPECT_EQ(g.DefaultRowHeight(), 18);
    const QStringList names{"mnItemSelectAll", "mnItemCopy", "mnItemPaste", "mnSaveCSV"};
    const QStringList captions{"Select all", "Copy", "Paste", "Save to CSV-file"};
    const auto actions = g.popupMenu()->actions();
    ASSERT_EQ(actions.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(actions[i]->objectName(), names[i]);
        EXPECT_EQ(actions[i]->text(), captions[i]);
        EXPECT_TRUE(actions[i]->shortcut().isEmpty());
    }
    EXPECT_EQ(ColorFromBGR(0x7EACC2), QColor(194, 172, 126));
}

TEST(KyStringGrid, CopyLaysOutTabsAndCrLfForEveryRow)
{
    auto g = MakeGrid(3, 3, {{"h1", "h2", "h3"}, {"a", "b", "c"}, {"d", "e", "f"}}, 1);
    StringGridToClipboard(*g, 0, 2, 1, 2);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a\tb\tc\r\nd\te\tf\r\n"));
    EXPECT_EQ(StringGridToText(*g, 0, 2, 2, 1), QString());
    EXPECT_EQ(StringGridToText(*g, 2, 1, 1, 2), QStringLiteral("\r\n\r\n"));
}

TEST(KyStringGrid, PasteGrowsTheGridWithoutFitAndNotForTheFinalLineEnd)
{
    auto g = MakeGrid(2, 2);
    TextToStringGrid(*g, QStringLiteral("1\t2\r\n3\t4\r\n"), 1, 1);
    EXPECT_EQ(g->ColCount(), 3);
    EXPECT_EQ(g->RowCount(), 3);
    EXPECT_EQ(Row(*g, 1), (QStringList{"", "1", "2"}));
    EXPECT_EQ(Row(*g, 2), (QStringList{"", "3", "4"}));
}

TEST(KyStringGrid, PasteInFitModeKeepsTheSizeAndDropsOutsideValues)
{
    auto g = MakeGrid(2, 2);
    TextToStringGrid(*g, QStringLiteral("1\t2\r\n3\t4\r\n"), 1, 1, true);
    EXPECT_EQ(g->ColCount(), 2);
    EXPECT_EQ(g->RowCount(), 2);
    EXPECT_EQ(Row(*g, 1), (QStringList{"", "1"}));
    EXPECT_EQ(Row(*g, 0), (QStringList{"", ""}));
}

TEST(KyStringGrid, PasteReadsRowsEndedByLfAndKeepsEmptyCellsOfTabs)
{
    // Text from other programs of this desktop ends its lines with LF only.
    auto g = MakeGrid(3, 3, {{"x", "x", "x"}, {"x", "x", "x"}, {"x", "x", "x"}});
    TextToStringGrid(*g, QStringLiteral("a\t\tc\nd"), 0, 1, true);
    EXPECT_EQ(Row(*g, 1), (QStringList{"a", "", "c"}));
    EXPECT_EQ(Row(*g, 2), (QStringList{"d", "x", "x"}));
    EXPECT_EQ(Row(*g, 0), (QStringList{"x", "x", "x"}));
}

TEST(KyStringGrid, CopiedTextPastesIntoAnotherGridUnchanged)
{
    auto from = MakeGrid(3, 2, {{"1,5", "a b", ""}, {"x", "", "z"}});
    auto to = MakeGrid(1, 1);
    StringGridToClipboard(*from, 0, 2, 0, 1);
    ClipboardToStringGrid(*to, 0, 0);
    EXPECT_EQ(to->ColCount(), 3);
    EXPECT_EQ(to->RowCount(), 2);
    for (int r = 0; r < 2; ++r)
        EXPECT_EQ(Row(*to, r), Row(*from, r));
}

TEST(KyStringGrid, PasteCommandNeedsAnEditableGridOrPasteNonEditable)
{
    QApplication::clipboard()->setText(QStringLiteral("7\r\n"));
    auto g = MakeGrid(2, 3, {}, 1, 1);
    g->setSelection({1, 1, 1, 1});
    g->clickPopupMenu(QStringLiteral("mnItemPaste"));
    EXPECT_EQ(g->Cells(1, 1), QString());
    g->popupMenu()->updateItems();
    EXPECT_FALSE(g->popupMenu()->findChild<QAction*>("mnItemPaste")->isEnabled());

    g->setGoPasteNonEditable(true);
    g->popupMenu()->updateItems();
    EXPECT_TRUE(g->popupMenu()->findChild<QAction*>("mnItemPaste")->isEnabled());
    // The start is never inside the fixed rows and columns.
    g->setSelection({0, 0, 0, 0});
    g->clickPopupMenu(QStringLiteral("mnItemPaste"));
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("7"));
    EXPECT_EQ(g->RowCount(), 3);

    QApplication::clipboard()->setText(QString());
    g->clickPopupMenu(QStringLiteral("mnItemPaste"));
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("7"));
}

TEST(KyStringGrid, SelectAllThenCopyTakesTheHeaderRowToo)
{
    auto g = MakeGrid(2, 3, {{"A", "B"}, {"1", "2"}, {"3", "4"}}, 1);
    g->setOptions(goRangeSelect | goRowSelect);
    g->setSelection({0, 2, 1, 2});
    g->clickPopupMenu(QStringLiteral("mnItemCopy"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("3\t4\r\n"));
    g->clickPopupMenu(QStringLiteral("mnItemSelectAll"));
    EXPECT_EQ(g->Selection(), (TGridRect{0, 0, 1, 2}));
    g->clickPopupMenu(QStringLiteral("mnItemCopy"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("A\tB\r\n1\t2\r\n3\t4\r\n"));
}

TEST(KyStringGrid, CopyTakesTheWholeGridWhenEditableOrWithoutRangeSelection)
{
    for (unsigned options : {0u, unsigned(goRangeSelect | goEditing)}) {
        auto g = MakeGrid(2, 2, {{"A", "B"}, {"1", "2"}}, 1);
        g->setOptions(options);
        g->setSelection({1, 1, 1, 1});
        g->clickPopupMenu(QStringLiteral("mnItemCopy"));
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("A\tB\r\n1\t2\r\n")) << options;
    }
}

TEST(KyStringGrid, CsvQuotesOnlyTextsWithCommasAndKeepsQuotesUndoubled)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    auto g = MakeGrid(3, 2, {{"h", "", "x"}, {"1,5", "say \"hi\"", "\"a,b\""}}, 1);
    g->setColWidths(1, 0);
    g->saveToCSV(path);
    EXPECT_EQ(ReadFile(path), QByteArray("h,,x\r\n\"1,5\",say \"hi\",\"\"a,b\"\"\r\n"));
}

TEST(KyStringGrid, CsvCommandAsksForAFileAndReportsAWriteError)
{
    QTemporaryDir dir;
    velnor::test::ScriptedPrompter prompter;
    auto g = MakeGrid(1, 1, {{"v"}});
    g->setPrompter(&prompter);

    prompter.fileNames = {dir.filePath(QStringLiteral("out"))};
    g->clickPopupMenu(QStringLiteral("mnSaveCSV"));
    EXPECT_EQ(ReadFile(dir.filePath(QStringLiteral("out.csv"))), QByteArray("v\r\n"));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_TRUE(prompter.shown[0].filter.contains(QStringLiteral("*.csv")));

    const QString bad = dir.filePath(QStringLiteral("missing/dir/x.csv"));
    prompter.fileNames = {bad};
    g->clickPopupMenu(QStringLiteral("mnSaveCSV"));
    EXPECT_EQ(prompter.errors(), QStringList{"Unable to write to file:\n" + bad});

    if (QFile::exists(QStringLiteral("/dev/full"))) {
        auto big = MakeGrid(1, 1, {{QString(70000, QLatin1Char('x'))}});
        EXPECT_THROW(big->saveToCSV(QStringLiteral("/dev/full")), velnor::IoError);
    }
}

TEST(KyStringGrid, FitColumnFillsTheWidthButNeverBelowThirtyPixels)
{
    auto g = MakeGrid(6, 3);
    for (int c = 0; c < 6; ++c)
        g->setColWidths(c, 40);
    g->SetFitColToWidth(3);
    g->resize(400, 200);
    g->show();
    QApplication::processEvents();
    const int before = g->ColWidths(3);
    int sum = 0;
    for (int c = 0; c < 6; ++c)
        sum += g->ColWidths(c);
    EXPECT_EQ(sum, g->viewport()->width());

    g->resize(500, 200);
    QApplication::processEvents();
    EXPECT_EQ(g->ColWidths(3), before + 100);
    // Widening another column takes the room from the stretched one; setting
    // the stretched column's own width changes nothing.
    g->setColWidths(0, 60);
    EXPECT_EQ(g->ColWidths(3), before + 80);
    g->setColWidths(3, 10);
    EXPECT_EQ(g->ColWidths(3), before + 80);

    g->resize(150, 200);
    QApplication::processEvents();
    EXPECT_EQ(g->ColWidths(3), KYMINCOLWIDTH);

    // Rows enough for a vertical scroll bar: the columns still fill the rest.
    g->resize(400, 200);
    g->setRowCount(100);
    QApplication::processEvents();
    EXPECT_TRUE(g->verticalScrollBar()->isVisible());
    sum = 0;
    for (int c = 0; c < 6; ++c)
        sum += g->ColWidths(c);
    EXPECT_EQ(sum, g->viewport()->width());
    EXPECT_FALSE(g->horizontalScrollBar()->isVisible());

    // A column that does not exist yet is stored and waits for the columns.
    auto h = MakeGrid(6, 2);
    h->SetFitColToWidth(7);
    h->resize(600, 100);
    h->show();
    QApplication::processEvents();
    EXPECT_EQ(h->FitColToWidth(), 7);
    EXPECT_EQ(h->ColWidths(5), 64);
    h->setColCount(8);
    QApplication::processEvents();
    EXPECT_GT(h->ColWidths(7), 64);
}

TEST(KyStringGrid, RowSelectionSpansWholeRowsAndSurvivesARebuild)
{
    auto g = MakeGrid(4, 5, {}, 1);
    g->setOptions(goRangeSelect | goRowSelect);
    g->setSelection({2, 2, 2, 3});
    EXPECT_EQ(g->Selection(), (TGridRect{0, 2, 3, 3}));
    g->assign(4, 6, std::vector<QString>(24, QStringLiteral("z")));
    EXPECT_EQ(g->Selection(), (TGridRect{0, 2, 3, 3}));
}

TEST(KyStringGrid, MouseToCellCountsTheHeaderLineAsRowZero)
{
    auto g = MakeGrid(2, 4, {}, 1);
    g->setColWidths(0, 50);
    g->setColWidths(1, 50);
    g->resize(200, 200);
    g->show();
    QApplication::processEvents();
    int col = 0, row = 0;
    const int top = g->viewport()->y();
    g->MouseToCell(QPoint(g->viewport()->x() + 60, top - 5), col, row);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 1);
    g->MouseToCell(QPoint(g->viewport()->x() + 5, top + 18 + 5), col, row);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(col, 0);
    g->MouseToCell(QPoint(g->viewport()->x() + 5, top + 150), col, row);
    EXPECT_EQ(row, -1);
}

TEST(KyStringGrid, ClicksSelectWholeRowsAndShiftClickExtendsTheRange)
{
    auto g = MakeGrid(3, 6, {}, 1);
    g->setOptions(goRangeSelect | goRowSelect);
    g->resize(300, 200);
    g->show();
    QApplication::processEvents();
    std::vector<QPoint> pressed;
    QObject::connect(g.get(), &TKyStringGrid::mousePressed,
                     [&](Qt::MouseButton, const QPoint& pos) { pressed.push_back(pos); });
    // Grid row r is view row r - 1 below the header line.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(70, g->rowViewportPosition(1) + 5));
    EXPECT_EQ(g->Selection(), (TGridRect{0, 2, 2, 2}));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(10, g->rowViewportPosition(3) + 5));
    EXPECT_EQ(g->Selection(), (TGridRect{0, 2, 2, 4}));
    ASSERT_EQ(pressed.size(), 2u);
    int col = -1, row = -1;
    g->MouseToCell(pressed[0], col, row);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(col, 1);
}

namespace {

// A form of an edit box, a grid and a second edit box, shown and active, with
// the focus on the first box.
struct KeyboardForm {
    QWidget form;
    QLineEdit* before = new QLineEdit(&form);
    TKyStringGrid* grid = new TKyStringGrid(&form);
    QLineEdit* after = new QLineEdit(&form);

    // A month table: one header row, a label column, two editable columns.
    explicit KeyboardForm(unsigned options = goEditing | goRangeSelect)
    {
        auto* layout = new QVBoxLayout(&form);
        layout->addWidget(before);
        layout->addWidget(grid);
        layout->addWidget(after);
        grid->setFixedRows(1);
        grid->setFixedCols(1);
        grid->setColCount(3);
        grid->setRowCount(4);
        grid->setRow(0, {"Month", "A", "B"});
        for (int r = 1; r < 4; ++r)
            grid->setCells(0, r, QStringLiteral("M%1").arg(r));
        grid->setOptions(options);
        form.resize(300, 300);
        form.show();
        QApplication::setActiveWindow(&form);
        before->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    static void press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        QApplication::processEvents();
    }
    std::pair<int, int> cell() const
    {
        int col = -1, row = -1;
        grid->CurrentCell(col, row);
        return {col, row};
    }
};

} // namespace

TEST(KyStringGridKeyboard, TabWalksTheEditableCellsAndLeavesPastTheLast)
{
    KeyboardForm f;
    f.press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f.grid);
    const std::vector<std::pair<int, int>> walk{{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 3}, {2, 3}};
    for (std::size_t i = 0; i < walk.size(); ++i) {
        EXPECT_EQ(f.cell(), walk[i]) << "step " << i;
        if (i + 1 < walk.size())
            f.press(Qt::Key_Tab);
    }
    f.press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.after);
    // Shift+Tab comes back in at the last cell and walks backwards out of the top.
    f.press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.grid);
    EXPECT_EQ(f.cell(), (std::pair{2, 3}));
    for (int i = 0; i < 6; ++i)
        f.press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.before);
}

TEST(KyStringGridKeyboard, CtrlTabLeavesFromAnyCellAlsoWhileTyping)
{
    KeyboardForm f;
    f.press(Qt::Key_Tab);
    f.press(Qt::Key_Tab);
    f.press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.after);
    f.press(Qt::Key_Tab, Qt::ShiftModifier);
    f.press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.before);

    // Typing opens the cell; Ctrl+Tab keeps the text and leaves.
    f.press(Qt::Key_Tab);
    f.press(Qt::Key_7);
    ASSERT_NE(QApplication::focusWidget(), f.grid) << "typing opens an editor";
    f.press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(f.grid->Cells(1, 1), "7");
    EXPECT_EQ(QApplication::focusWidget(), f.after);
}

TEST(KyStringGridKeyboard, TypingNeverReachesLabelsAndTabKeepsTheTypedCell)
{
    KeyboardForm f;
    f.grid->setFixedCols(0);
    f.grid->setColReadOnly(0, true);
    f.press(Qt::Key_Tab);
    EXPECT_EQ(f.cell(), (std::pair{1, 1}));
    // Left stops at the label column, Up at the header row.
    f.press(Qt::Key_Left);
    f.press(Qt::Key_Up);
    EXPECT_EQ(f.cell(), (std::pair{1, 1}));
    f.press(Qt::Key_Down);
    f.press(Qt::Key_Right);
    EXPECT_EQ(f.cell(), (std::pair{2, 2}));
    f.press(Qt::Key_Right);
    EXPECT_EQ(f.cell(), (std::pair{2, 2}));
    // Typed text is kept by Tab, and the walk goes on to the next row's first
    // editable cell, not the label.
    f.press(Qt::Key_4);
    f.press(Qt::Key_2);
    f.press(Qt::Key_Tab);
    EXPECT_EQ(f.grid->Cells(2, 2), "42");
    EXPECT_EQ(f.cell(), (std::pair{1, 3}));
    EXPECT_EQ(f.grid->Cells(0, 1), "M1");
    EXPECT_FALSE(f.grid->isCellEditable(0, 1));
}

TEST(KyStringGridKeyboard, EnterWhileTypingOnlyCommitsTheCell)
{
    KeyboardForm f;
    QDialog dialog;
    auto* grid = new TKyStringGrid(&dialog);
    grid->setFixedRows(0);
    grid->setFixedCols(0);
    grid->setColCount(2);
    grid->setRowCount(2);
    grid->setOptions(goEditing);
    auto* ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(grid);
    layout->addWidget(ok);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    grid->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    f.press(Qt::Key_5);
    f.press(Qt::Key_Return);
    EXPECT_EQ(grid->Cells(0, 0), "5");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    // Not typing, Enter is the dialog's.
    ASSERT_EQ(QApplication::focusWidget(), grid);
    f.press(Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(KyStringGridKeyboard, ListGridIsLeftByTabAndReportsEnterWhenAsked)
{
    KeyboardForm f(goRangeSelect | goRowSelect);
    f.press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f.grid);
    f.press(Qt::Key_Down);
    int entered = 0;
    QObject::connect(f.grid, &TKyStringGrid::enterPressed, [&] { ++entered; });
    f.press(Qt::Key_Return);
    EXPECT_EQ(entered, 1);
    f.press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.after);
}
