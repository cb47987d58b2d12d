#include "widgets/KyStringGrid.h"

#include "core/Errors.h"
#include "widgets/QtPrompter.h"

#include <QAbstractTableModel>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace velnor::ui {

QColor ColorFromBGR(unsigned bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// ---------------------------------------------------------------------------
// The table model: rows below the header line (row 0 is the header when the
// grid has fixed rows).

class TKyStringGrid::Model : public QAbstractTableModel {
public:
    explicit Model(TKyStringGrid& grid) : QAbstractTableModel(&grid), g_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : g_.rowCount_ - g_.headerRows();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : g_.colCount_;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int row = index.row() + g_.headerRows();
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return g_.Cells(index.column(), row);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && g_.headerRows() > 0)
            return g_.Cells(section, 0);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (g_.isCellEditable(index.column(), index.row() + g_.headerRows()))
            f |= Qt::ItemIsEditable;
        return f;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid())
            return false;
        g_.setCells(index.column(), index.row() + g_.headerRows(), value.toString());
        return true;
    }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }
    void cellChanged(int col, int row)
    {
        if (row < g_.headerRows())
            emit headerDataChanged(Qt::Horizontal, col, col);
        else {
            const QModelIndex i = index(row - g_.headerRows(), col);
            emit dataChanged(i, i, {Qt::DisplayRole});
        }
    }
    void rowChanged(int row)
    {
        if (g_.colCount_ == 0)
            return;
        if (row < g_.headerRows())
            emit headerDataChanged(Qt::Horizontal, 0, g_.colCount_ - 1);
        else
            emit dataChanged(index(row - g_.headerRows(), 0), index(row - g_.headerRows(), g_.colCount_ - 1),
                             {Qt::DisplayRole});
    }

private:
    TKyStringGrid& g_;
};

class TKyStringGrid::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(TKyStringGrid& grid) : QStyledItemDelegate(&grid), g_(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        g_.drawCell(*painter, index.column(), index.row() + g_.headerRows(), option.rect,
                    (option.state & QStyle::State_Selected) != 0);
        // The keyboard's cell, in an editable grid that has the focus.
        if ((option.state & QStyle::State_HasFocus) && g_.isEditable() && g_.hasFocus()) {
            painter->save();
            painter->setPen(QPen(g_.palette().color(QPalette::Text), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && (key->modifiers() & Qt::ControlModifier)) {
                // Ctrl+Tab keeps the typed text and leaves the grid.
                emit commitData(editor);
                emit closeEditor(editor, NoHint);
                g_.leaveGrid(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
                return true;
            }
            if (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier)) {
                emit commitData(editor);
                emit closeEditor(editor, EditPreviousItem);
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                // Enter commits the cell, as in a spreadsheet, and does not
                // reach the dialog's default button.
                emit commitData(editor);
                emit closeEditor(editor, SubmitModelCache);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TKyStringGrid& g_;
};

// ---------------------------------------------------------------------------

TKyPopupMenu::TKyPopupMenu(TKyStringGrid* grid) : QMenu(grid), strGrid_(grid)
{
    setObjectName(QStringLiteral("KyPopupMenu"));
    const struct {
        const char* caption;
        const char* name;
    } items[] = {{QT_TR_NOOP("Select all"), "mnItemSelectAll"},
                 {QT_TR_NOOP("Copy"), "mnItemCopy"},
                 {QT_TR_NOOP("Paste"), "mnItemPaste"},
                 {QT_TR_NOOP("Save to CSV-file"), "mnSaveCSV"}};
    for (const auto& item : items) {
        QAction* a = addAction(tr(item.caption));
        a->setObjectName(QString::fromLatin1(item.name));
        const QString name = a->objectName();
        connect(a, &QAction::triggered, grid, [grid, name] { grid->clickPopupMenu(name); });
    }
}

void TKyPopupMenu::updateItems()
{
    if (QAction* paste = findChild<QAction*>(QStringLiteral("mnItemPaste")))
        paste->setEnabled(strGrid_->isEditable() || strGrid_->goPasteNonEditable());
}

void TKyPopupMenu::Popup(const QPoint& globalPos)
{
    updateItems();
    popup(globalPos);
}

// ---------------------------------------------------------------------------

TKyStringGrid::TKyStringGrid(QWidget* parent)
    : QTableView(parent),
      cellColor_(ColorFromBGR(KYSTRGRDDEFAULTCOLOR)),
      fixedColor_(ColorFromBGR(KYSTRGRDDEFAULTFIXEDCOLOR)),
      selectedCellColor_(ColorFromBGR(KYSTRGRDDEFAULTSELECTEDCELLCOLOR)),
      selectedFontColor_(ColorFromBGR(KYSTRGRDDEFAULTSELECTEDFONTCOLOR)),
      model_(new Model(*this)),
      popup_(new TKyPopupMenu(this))
{
    // The column widths of the forms are made for text of this size in 18-pixel rows.
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    cells_.resize(std::size_t(colCount_) * std::size_t(rowCount_));
    colWidths_.assign(std::size_t(colCount_), 64);
    setModel(model_);
    setItemDelegate(new Delegate(*this));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    QHeaderView* h = horizontalHeader();
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setMinimumSectionSize(0);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    h->setFixedHeight(defaultRowHeight_ + 1);
    h->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; color: black; "
                                     "border: 0px; border-right: 1px solid #a0a0a0; "
                                     "border-bottom: 1px solid #a0a0a0; padding-left: 2px; }")
                         .arg(fixedColor_.name()));
    h->viewport()->installEventFilter(this);
    connect(h, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col >= 0 && col < int(colWidths_.size()) && !fitting_) {
            colWidths_[std::size_t(col)] = size;
            applyFitColumn();
        }
    });
    updatePalette();
    applySelectionPolicy();
    resetModel();
}

TKyStringGrid::~TKyStringGrid() = default;

Prompter& TKyStringGrid::prompter()
{
    if (prompter_)
        return *prompter_;
    if (!ownPrompter_)
        ownPrompter_ = std::make_unique<QtPrompter>();
    return *ownPrompter_;
}

QString TKyStringGrid::Cells(int col, int row) const
{
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        return {};
    return cells_[std::size_t(row) * std::size_t(colCount_) + std::size_t(col)];
}

void TKyStringGrid::setCells(int col, int row, const QString& text)
{
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        return;
    cells_[std::size_t(row) * std::size_t(colCount_) + std::size_t(col)] = text;
    model_->cellChanged(col, row);
}

void TKyStringGrid::setRow(int row, const QStringList& texts)
{
    if (row < 0 || row >= rowCount_)
        return;
    const int n = std::min<int>(colCount_, int(texts.size()));
    for (int c = 0; c < n; ++c)
        cells_[std::size_t(row) * std::size_t(colCount_) + std::size_t(c)] = texts[c];
    model_->rowChanged(row);
}

void TKyStringGrid::assign(int cols, int rows, std::vector<QString> cells)
{
    cols = std::max(cols, 0);
    rows = std::max(rows, 0);
    cells.resize(std::size_t(cols) * std::size_t(rows));
    cells_ = std::move(cells);
    colCount_ = cols;
    rowCount_ = rows;
    colWidths_.resize(std::size_t(cols), 64);
    resetModel();
}

void TKyStringGrid::setColCount(int n)
{
    n = std::max(n, 0);
    if (n == colCount_)
        return;
    std::vector<QString> cells(std::size_t(n) * std::size_t(rowCount_));
    const int keep = std::min(n, colCount_);
    for (int r = 0; r < rowCount_; ++r)
        for (int c = 0; c < keep; ++c)
            cells[std::size_t(r) * std::size_t(n) + std::size_t(c)] =
                std::move(cells_[std::size_t(r) * std::size_t(colCount_) + std::size_t(c)]);
    cells_ = std::move(cells);
    colCount_ = n;
    colWidths_.resize(std::size_t(n), 64);
    resetModel();
}

void TKyStringGrid::setRowCount(int n)
{
    n = std::max(n, 0);
    if (n == rowCount_)
        return;
    rowCount_ = n;
    cells_.resize(std::size_t(n) * std::size_t(colCount_));
    resetModel();
}

void TKyStringGrid::setFixedRows(int n)
{
    fixedRows_ = std::max(n, 0);
    resetModel();
}

void TKyStringGrid::setFixedCols(int n)
{
    fixedCols_ = std::max(n, 0);
    viewport()->update();
}

int TKyStringGrid::ColWidths(int col) const
{
    return col >= 0 && col < colCount_ ? colWidths_[std::size_t(col)] : 0;
}

void TKyStringGrid::setColWidths(int col, int width)
{
    if (col < 0 || col >= colCount_)
        return;
    colWidths_[std::size_t(col)] = std::max(width, 0);
    fitting_ = true;
    horizontalHeader()->resizeSection(col, colWidths_[std::size_t(col)]);
    fitting_ = false;
    // The stretched column follows every change, its own width included.
    applyFitColumn();
}

void TKyStringGrid::setDefaultRowHeight(int h)
{
    defaultRowHeight_ = std::max(h, 1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    horizontalHeader()->setFixedHeight(defaultRowHeight_ + 1);
}

void TKyStringGrid::setOptions(unsigned options)
{
    options_ = options;
    applySelectionPolicy();
}

void TKyStringGrid::setColReadOnly(int col, bool readOnly)
{
    const auto it = std::find(readOnlyCols_.begin(), readOnlyCols_.end(), col);
    if (readOnly && it == readOnlyCols_.end())
        readOnlyCols_.push_back(col);
    else if (!readOnly && it != readOnlyCols_.end())
        readOnlyCols_.erase(it);
}

bool TKyStringGrid::isCellEditable(int col, int row) const
{
    return isEditable() && row >= fixedRows_ && col >= fixedCols_ && col < colCount_ && row < rowCount_ &&
           std::find(readOnlyCols_.begin(), readOnlyCols_.end(), col) == readOnlyCols_.end();
}

void TKyStringGrid::CurrentCell(int& col, int& row) const
{
    const QModelIndex i = currentIndex();
    col = i.isValid() ? i.column() : -1;
    row = i.isValid() ? i.row() + headerRows() : -1;
}

void TKyStringGrid::setCurrentCell(int col, int row)
{
    moveTo(model_->index(row - headerRows(), col));
}

void TKyStringGrid::applySelectionPolicy()
{
    setSelectionBehavior((options_ & goRowSelect) ? SelectRows : SelectItems);
    setSelectionMode((options_ & goRangeSelect) ? ContiguousSelection : SingleSelection);
    setEditTriggers(isEditable() ? (DoubleClicked | EditKeyPressed | AnyKeyPressed) : NoEditTriggers);
}

void TKyStringGrid::updatePalette()
{
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Highlight, selectedCellColor_);
        p.setColor(group, QPalette::HighlightedText, selectedFontColor_);
        p.setColor(group, QPalette::Base, cellColor_);
    }
    setPalette(p);
    viewport()->update();
}

void TKyStringGrid::setSelectedCellColor(const QColor& c)
{
    selectedCellColor_ = c;
    updatePalette();
}

void TKyStringGrid::setSelectedFontColor(const QColor& c)
{
    selectedFontColor_ = c;
    updatePalette();
}

void TKyStringGrid::setGoPasteNonEditable(bool v)
{
    pasteNonEditable_ = v;
}

void TKyStringGrid::resetModel()
{
    const TGridRect sel = Selection();
    const bool hadSelection = selectionModel() && selectionModel()->hasSelection();
    model_->reset();
    if (selectionModel())
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TKyStringGrid::onSelectionChanged, Qt::UniqueConnection);
    fitting_ = true;
    for (int c = 0; c < colCount_; ++c)
        horizontalHeader()->resizeSection(c, colWidths_[std::size_t(c)]);
    fitting_ = false;
    horizontalHeader()->setVisible(headerRows() > 0);
    if (hadSelection && rowCount_ > headerRows() && colCount_ > 0) {
        TGridRect r = sel;
        r.Right = std::min(r.Right, colCount_ - 1);
        r.Bottom = std::min(r.Bottom, rowCount_ - 1);
        r.Left = std::min(r.Left, r.Right);
        r.Top = std::min(r.Top, r.Bottom);
        setSelection(r);
    }
    applyFitColumn();
}

void TKyStringGrid::onSelectionChanged()
{
    selectAllActive_ = false;
    viewport()->update();
}

TGridRect TKyStringGrid::Selection() const
{
    if (selectAllActive_)
        return {0, 0, std::max(colCount_ - 1, 0), std::max(rowCount_ - 1, 0)};
    const int hr = headerRows();
    QItemSelectionModel* sm = selectionModel();
    if (sm && sm->hasSelection()) {
        TGridRect r{colCount_, rowCount_, -1, -1};
        for (const QItemSelectionRange& range : sm->selection()) {
            r.Left = std::min(r.Left, range.left());
            r.Right = std::max(r.Right, range.right());
            r.Top = std::min(r.Top, range.top() + hr);
            r.Bottom = std::max(r.Bottom, range.bottom() + hr);
        }
        return r;
    }
    if (sm && sm->currentIndex().isValid()) {
        const QModelIndex i = sm->currentIndex();
        return {i.column(), i.row() + hr, i.column(), i.row() + hr};
    }
    return {fixedCols_, fixedRows_, fixedCols_, fixedRows_};
}

void TKyStringGrid::setSelection(const TGridRect& rect)
{
    QItemSelectionModel* sm = selectionModel();
    if (!sm)
        return;
    const int hr = headerRows();
    const int top = std::max(rect.Top - hr, 0);
    const int bottom = std::min(rect.Bottom - hr, model_->rowCount() - 1);
    const int left = std::max(rect.Left, 0);
    const int right = std::min(rect.Right, colCount_ - 1);
    sm->clearSelection();
    if (top > bottom || left > right)
        return;
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Select;
    if (options_ & goRowSelect)
        flags |= QItemSelectionModel::Rows;
    sm->setCurrentIndex(model_->index(top, left), QItemSelectionModel::NoUpdate);
    sm->select(QItemSelection(model_->index(top, left), model_->index(bottom, right)), flags);
}

void TKyStringGrid::SelectAll()
{
    setSelection({0, 0, colCount_ - 1, rowCount_ - 1});
    selectAllActive_ = true;
}

void TKyStringGrid::MouseToCell(const QPoint& pos, int& col, int& row) const
{
    col = -1;
    row = -1;
    const QHeaderView* h = horizontalHeader();
    if (h->isVisible()) {
        const QPoint hp = h->viewport()->mapFrom(this, pos);
        if (h->viewport()->rect().contains(hp)) {
            col = h->logicalIndexAt(hp.x());
            row = col >= 0 ? 0 : -1;
            return;
        }
    }
    const QPoint vp = viewport()->mapFrom(this, pos);
    if (!viewport()->rect().contains(vp))
        return;
    const int r = rowAt(vp.y());
    const int c = columnAt(vp.x());
    if (r < 0 || c < 0)
        return;
    col = c;
    row = r + headerRows();
}

void TKyStringGrid::SetFitColToWidth(int col)
{
    fitColToWidth_ = col;
    applyFitColumn();
}

void TKyStringGrid::applyFitColumn()
{
    if (fitting_ || fitColToWidth_ < 0 || fitColToWidth_ > colCount_ - 1)
        return;
    int sum = 0;
    for (int w : colWidths_)
        sum += w;
    const int width = viewport()->width();
    // Grid lines are drawn inside the cells here, so they take no width of their own.
    const int current = colWidths_[std::size_t(fitColToWidth_)];
    const int wanted = std::max(KYMINCOLWIDTH, current + width - sum);
    if (wanted == current && horizontalHeader()->sectionSize(fitColToWidth_) == wanted)
        return;
    colWidths_[std::size_t(fitColToWidth_)] = wanted;
    fitting_ = true;
    horizontalHeader()->resizeSection(fitColToWidth_, wanted);
    fitting_ = false;
}

void TKyStringGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    applyFitColumn();
}

void TKyStringGrid::drawCell(QPainter& painter, int col, int row, const QRect& rect, bool selected) const
{
    const bool fixed = row < fixedRows_ || col < fixedCols_;
    painter.save();
    painter.fillRect(rect, selected ? selectedCellColor_ : (fixed ? fixedColor_ : cellColor_));
    painter.setPen(selected ? selectedFontColor_ : palette().color(QPalette::Text));
    painter.setClipRect(rect);
    painter.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Cells(col, row));
    painter.restore();
    if (onDrawCell_) {
        painter.save();
        onDrawCell_(painter, col, row, rect, selected);
        painter.restore();
    }
}

void TKyStringGrid::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(event->button(), event->position().toPoint() + viewport()->pos());
    QTableView::mousePressEvent(event);
}

void TKyStringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

bool TKyStringGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(event);
            emit mousePressed(me->button(), horizontalHeader()->viewport()->mapTo(this, me->position().toPoint()));
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            emit doubleClicked();
        }
    }
    return QTableView::eventFilter(watched, event);
}

QModelIndex TKyStringGrid::nextEditable(const QModelIndex& from, bool forward) const
{
    const int rows = model_->rowCount();
    const int cols = colCount_;
    if (rows <= 0 || cols <= 0)
        return {};
    const int last = rows * cols - 1;
    int pos = from.isValid() ? from.row() * cols + from.column() : (forward ? -1 : last + 1);
    for (pos += forward ? 1 : -1; pos >= 0 && pos <= last; pos += forward ? 1 : -1)
        if (isCellEditable(pos % cols, pos / cols + headerRows()))
            return model_->index(pos / cols, pos % cols);
    return {};
}

QModelIndex TKyStringGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    if (!isEditable())
        return QTableView::moveCursor(cursorAction, modifiers);
    const QModelIndex current = currentIndex();
    int dc = 0, dr = 0;
    switch (cursorAction) {
    case MoveNext:
        return nextEditable(current, true);
    case MovePrevious:
        return nextEditable(current, false);
    case MoveLeft: dc = -1; break;
    case MoveRight: dc = 1; break;
    case MoveUp: dr = -1; break;
    case MoveDown: dr = 1; break;
    default:
        return QTableView::moveCursor(cursorAction, modifiers);
    }
    if (!current.isValid())
        return nextEditable(current, true);
    // The nearest editable cell that way; the arrow keys do not leave the grid.
    for (int c = current.column() + dc, r = current.row() + dr;
         c >= 0 && c < colCount_ && r >= 0 && r < model_->rowCount(); c += dc, r += dr)
        if (isCellEditable(c, r + headerRows()))
            return model_->index(r, c);
    return current;
}

void TKyStringGrid::moveTo(const QModelIndex& index)
{
    if (!index.isValid() || !selectionModel())
        return;
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (options_ & goRowSelect)
        flags |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(index, flags);
    scrollTo(index);
}

void TKyStringGrid::leaveGrid(bool forward)
{
    // QWidget's own chain walk, not the item view's cell-to-cell one.
    QAbstractScrollArea::focusNextPrevChild(forward);
}

void TKyStringGrid::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        const bool forward = key == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
        const QModelIndex next = isEditable() && !(event->modifiers() & Qt::ControlModifier)
                                     ? nextEditable(currentIndex(), forward)
                                     : QModelIndex();
        if (next.isValid())
            moveTo(next);
        else
            leaveGrid(forward);
        event->accept();
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !isEditable() &&
        isSignalConnected(QMetaMethod::fromSignal(&TKyStringGrid::enterPressed))) {
        event->accept();
        emit enterPressed();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TKyStringGrid::focusInEvent(QFocusEvent* event)
{
    // Tab into an editable grid starts at its first editable cell, Shift+Tab
    // at its last one.
    if (isEditable() && (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)) {
        const QModelIndex start = nextEditable({}, event->reason() == Qt::TabFocusReason);
        if (start.isValid())
            moveTo(start);
    }
    QTableView::focusInEvent(event);
}

void TKyStringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (hint != QAbstractItemDelegate::EditNextItem && hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    // Tab while typing: the cell is kept, and the keyboard moves on as without an editor.
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    const bool forward = hint == QAbstractItemDelegate::EditNextItem;
    const QModelIndex next = nextEditable(currentIndex(), forward);
    if (next.isValid())
        moveTo(next);
    else
        leaveGrid(forward);
}

void TKyStringGrid::contextMenuEvent(QContextMenuEvent* event)
{
    popup_->Popup(event->globalPos());
    event->accept();
}

void TKyStringGrid::KyStringGridToClipboard(int FirstCol, int EndCol, int FirstRow, int EndRow) const
{
    StringGridToClipboard(*this, FirstCol, EndCol, FirstRow, EndRow);
}

void TKyStringGrid::KyClipboardToFitStringGrid(int StartCol, int StartRow)
{
    if (isEditable() || pasteNonEditable_)
        ClipboardToStringGrid(*this, StartCol, StartRow, true);
}

void TKyStringGrid::clickPopupMenu(const QString& itemName)
{
    try {
        if (itemName == QLatin1String("mnItemSelectAll")) {
            SelectAll();
        } else if (itemName == QLatin1String("mnItemCopy")) {
            if (!(options_ & goRangeSelect) || isEditable()) {
                KyStringGridToClipboard(0, colCount_ - 1, 0, rowCount_ - 1);
            } else {
                const TGridRect s = Selection();
                KyStringGridToClipboard(s.Left, s.Right, s.Top, s.Bottom);
            }
        } else if (itemName == QLatin1String("mnItemPaste")) {
            const TGridRect s = Selection();
            KyClipboardToFitStringGrid(std::max(s.Left, fixedCols_), std::max(s.Top, fixedRows_));
        } else if (itemName == QLatin1String("mnSaveCSV")) {
            QString name = prompter().saveFileName(this, tr("Save to CSV-file"), QString(),
                                                   tr("comma-separated values (*.csv *.CSV)"));
            if (name.isEmpty())
                return;
            if (QFileInfo(name).suffix().isEmpty())
                name += QStringLiteral(".csv");
            saveToCSV(name);
        }
    } catch (const std::exception& e) {
        prompter().showError(this, QString::fromStdString(e.what()));
    }
}

void TKyStringGrid::saveToCSV(const QString& fileName) const
{
    const auto fail = [&fileName] {
        return IoError(QStringLiteral("Unable to write to file:\n%1").arg(fileName).toStdString());
    };
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw fail();
    QByteArray line;
    for (int r = 0; r < rowCount_; ++r) {
        line.clear();
        for (int c = 0; c < colCount_; ++c) {
            const QString& text = cells_[std::size_t(r) * std::size_t(colCount_) + std::size_t(c)];
            if (text.contains(QLatin1Char(',')))
                line += '"' + text.toUtf8() + '"';
            else
                line += text.toUtf8();
            line += (c == colCount_ - 1) ? QByteArrayLiteral("\r\n") : QByteArrayLiteral(",");
        }
        if (file.write(line) != line.size())
            throw fail();
    }
    if (!file.flush())
        throw fail();
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw fail();
}

// ---------------------------------------------------------------------------

QString StringGridToText(const TKyStringGrid& grid, int FirstCol, int EndCol, int FirstRow, int EndRow)
{
    QString text;
    for (int r = FirstRow; r <= EndRow; ++r) {
        for (int c = FirstCol; c <= EndCol; ++c) {
            if (c > FirstCol)
                text += QLatin1Char('\t');
            text += grid.Cells(c, r);
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

void StringGridToClipboard(const TKyStringGrid& grid, int FirstCol, int EndCol, int FirstRow, int EndRow)
{
    QGuiApplication::clipboard()->setText(StringGridToText(grid, FirstCol, EndCol, FirstRow, EndRow));
}

void TextToStringGrid(TKyStringGrid& grid, const QString& text, int StartCol, int StartRow, bool Fit)
{
    if (text.isEmpty())
        return;
    int i = StartRow;
    int j = StartCol;
    QString pending;
    if (!Fit) {
        if (grid.RowCount() < StartRow + 1)
            grid.setRowCount(StartRow + 1);
        if (grid.ColCount() < StartCol + 1)
            grid.setColCount(StartCol + 1);
    }
    const auto put = [&] {
        if (j < grid.ColCount() && i < grid.RowCount())
            grid.setCells(j, i, pending);
        pending.clear();
    };
    const qsizetype n = text.size();
    for (qsizetype k = 0; k < n; ++k) {
        const QChar ch = text[k];
        if (ch == QLatin1Char('\t')) {
            put();
            ++j;
            if (!Fit && j >= grid.ColCount())
                grid.setColCount(grid.ColCount() + 1);
        } else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            // A row ends with CR LF; a lone CR or LF (text from other programs
            // of this desktop) ends it too.
            put();
            if (ch == QLatin1Char('\r') && k + 1 < n && text[k + 1] == QLatin1Char('\n'))
                ++k;
            j = StartCol;
            ++i;
            if (!Fit && i >= grid.RowCount() && k + 1 < n)
                grid.setRowCount(grid.RowCount() + 1);
        } else {
            pending += ch;
        }
    }
    if (!pending.isEmpty())
        put();
}

void ClipboardToStringGrid(TKyStringGrid& grid, int StartCol, int StartRow, bool Fit)
{
    TextToStringGrid(grid, QGuiApplication::clipboard()->text(), StartCol, StartRow, Fit);
}

} // namespace velnor::ui
