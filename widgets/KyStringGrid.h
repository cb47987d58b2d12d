#pragma once

#include <QColor>
#include <QMenu>
#include <QString>
#include <QTableView>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace velnor::ui {

class Prompter;

// Colours given as 0xBBGGRR (blue byte first).
QColor ColorFromBGR(unsigned bgr);

inline constexpr unsigned KYSTRGRDDEFAULTCOLOR = 0xFFFFFF;
inline constexpr unsigned KYSTRGRDDEFAULTFIXEDCOLOR = 0xDDDDDD;
inline constexpr unsigned KYSTRGRDDEFAULTSELECTEDCELLCOLOR = 0x804000;
inline constexpr unsigned KYSTRGRDDEFAULTSELECTEDFONTCOLOR = 0xFFFFFF;
inline constexpr int KYSTRGRDDEFAULTROWHEIGHT = 18;
inline constexpr int KYMINCOLWIDTH = 30;

// A rectangle of cells: columns Left..Right, rows Top..Bottom (inclusive).
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// Options of the grid that change its behaviour.
enum GridOption : unsigned {
    goRangeSelect = 1u << 0, // the user may select a rectangle of cells
    goEditing = 1u << 1,     // the user may type into cells
    goRowSelect = 1u << 2,   // a selection always spans whole rows
};

class TKyStringGrid;

// The grid's context menu; refreshes "Paste" before it opens.
class TKyPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TKyPopupMenu(TKyStringGrid* grid);
    void Popup(const QPoint& globalPos);
    // Enables "Paste" exactly when the grid accepts a paste.
    void updateItems();
    TKyStringGrid* strGrid() const { return strGrid_; }

private:
    TKyStringGrid* strGrid_;
};

// A rectangle of text cells addressed as (column, row) from 0, with leading
// fixed (header) rows and columns, its own selection colours, one optional
// stretched column, a context menu ("Select all", "Copy", "Paste",
// "Save to CSV-file") and tab-separated clipboard exchange.
//
// Row 0 is shown as the fixed header line when FixedRows() >= 1; further fixed
// rows and the fixed columns are grey cells.
class TKyStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TKyStringGrid(QWidget* parent = nullptr);
    ~TKyStringGrid() override;

    // Size and content.
    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    void setColCount(int n);
    void setRowCount(int n);
    int FixedRows() const { return fixedRows_; }
    int FixedCols() const { return fixedCols_; }
    void setFixedRows(int n);
    void setFixedCols(int n);
    QString Cells(int col, int row) const;
    void setCells(int col, int row, const QString& text);
    // Fills a whole row at once (cells beyond the row's width are ignored).
    void setRow(int row, const QStringList& texts);
    // Replaces size and content at once (fast path for big lists):
    // `cells` is row-major, rows * cols entries.
    void assign(int cols, int rows, std::vector<QString> cells);

    int ColWidths(int col) const;
    void setColWidths(int col, int width);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(int h);

    unsigned Options() const { return options_; }
    void setOptions(unsigned options);
    bool isEditable() const { return (options_ & goEditing) != 0; }
    // A column of an editable grid that shows labels the user does not type
    // over (a month-name column without the header colour).
    void setColReadOnly(int col, bool readOnly);
    // Whether the user may type into the cell.
    bool isCellEditable(int col, int row) const;
    // The cell the keyboard is on, in grid coordinates; -1, -1 for none.
    void CurrentCell(int& col, int& row) const;
    void setCurrentCell(int col, int row);

    // Selection, in grid coordinates (header rows included).
    TGridRect Selection() const;
    void setSelection(const TGridRect& rect);
    void SelectAll();
    // Cell under a point given in this widget's coordinates; -1 for none.
    void MouseToCell(const QPoint& pos, int& col, int& row) const;

    // Properties.
    QColor SelectedCellColor() const { return selectedCellColor_; }
    void setSelectedCellColor(const QColor& c);
    QColor SelectedFontColor() const { return selectedFontColor_; }
    void setSelectedFontColor(const QColor& c);
    bool goPasteNonEditable() const { return pasteNonEditable_; }
    void setGoPasteNonEditable(bool v);
    int FitColToWidth() const { return fitColToWidth_; }
    void SetFitColToWidth(int col);
    // Applies the stretching with the stored FitColToWidth (run on every
    // change of width, column widths and column count).
    void applyFitColumn();

    // Message boxes and the file dialog of "Save to CSV-file" go through this
    // prompter; until a form sets one, the grid uses a QtPrompter of its own.
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }
    Prompter& prompter();

    // Cell drawing handler of the owning form; runs after the grid has drawn
    // the cell (background, selection colours and text) and may paint over it.
    using DrawCellHandler = std::function<void(QPainter& painter, int col, int row, const QRect& rect,
                                               bool selected)>;
    void setOnDrawCell(DrawCellHandler handler) { onDrawCell_ = std::move(handler); }

    // Writes every cell, comma-separated; throws velnor::IoError
    // ("Unable to write to file:" and the name) when the file cannot be written.
    void saveToCSV(const QString& fileName) const;
    void KyStringGridToClipboard(int FirstCol, int EndCol, int FirstRow, int EndRow) const;
    // Pastes in fit mode when the grid is editable or goPasteNonEditable.
    virtual void KyClipboardToFitStringGrid(int StartCol, int StartRow);
    // The context menu commands, told apart by the item's object name.
    virtual void clickPopupMenu(const QString& itemName);

    TKyPopupMenu* popupMenu() const { return popup_; }

    // Used by the item delegate.
    void drawCell(QPainter& painter, int col, int row, const QRect& rect, bool selected) const;

signals:
    // A mouse press anywhere on the grid (cells or header line), any button;
    // pos is in this widget's coordinates.
    void mousePressed(Qt::MouseButton button, const QPoint& pos);
    // A double click on the grid.
    void doubleClicked();
    // Enter or Return on a grid the user cannot edit; while something listens,
    // the key goes no further (the dialog's default button is not pressed).
    void enterPressed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Keyboard: Tab, Shift+Tab and the arrow keys move among the editable
    // cells; Tab past the last one, Shift+Tab before the first, and
    // Ctrl+Tab / Ctrl+Shift+Tab anywhere leave the grid. A grid the user
    // cannot edit is left by Tab at once.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    class Model;
    class Delegate;
    friend class Model;
    friend class Delegate;

    int headerRows() const { return fixedRows_ >= 1 && rowCount_ >= 1 ? 1 : 0; }
    void resetModel();
    void applySelectionPolicy();
    void updatePalette();
    void onSelectionChanged();
    // The next (or previous) editable cell in reading order from `from`
    // (an invalid index: before the first cell); invalid when there is none.
    QModelIndex nextEditable(const QModelIndex& from, bool forward) const;
    void moveTo(const QModelIndex& index);
    // Hands the focus to the next (or previous) control of the form.
    void leaveGrid(bool forward);

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedRows_ = 1;
    int fixedCols_ = 1;
    std::vector<QString> cells_;
    std::vector<int> colWidths_;
    std::vector<int> readOnlyCols_;
    int defaultRowHeight_ = KYSTRGRDDEFAULTROWHEIGHT;
    unsigned options_ = 0;
    QColor cellColor_;
    QColor fixedColor_;
    QColor selectedCellColor_;
    QColor selectedFontColor_;
    bool pasteNonEditable_ = false;
    int fitColToWidth_ = -1;
    bool fitting_ = false;
    bool selectAllActive_ = false;
    Model* model_;
    TKyPopupMenu* popup_;
    Prompter* prompter_ = nullptr;
    std::unique_ptr<Prompter> ownPrompter_;
    DrawCellHandler onDrawCell_;
};

// Puts the cells of the range on the clipboard: TAB between cells, CR LF after
// every row (the last one too).
void StringGridToClipboard(const TKyStringGrid& grid, int FirstCol, int EndCol, int FirstRow, int EndRow);
// The text StringGridToClipboard puts on the clipboard.
QString StringGridToText(const TKyStringGrid& grid, int FirstCol, int EndCol, int FirstRow, int EndRow);
// Writes the clipboard text into the grid from (StartCol, StartRow). Without
// fit mode the grid grows to take the text; in fit mode its size never changes
// and values outside it are dropped.
void ClipboardToStringGrid(TKyStringGrid& grid, int StartCol, int StartRow, bool Fit = false);
void TextToStringGrid(TKyStringGrid& grid, const QString& text, int StartCol, int StartRow, bool Fit = false);

} // namespace velnor::ui
