#include "editors/FrmIrigData.h"

#include "editors/EditorSupport.h"
#include "editors/FrmPotEvap.h"
#include "editors/GridCells.h"

#include "core/DataTables.h"
#include "core/Errors.h"
#include "core/RcrdFuncs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace velnor::ui {

namespace {
constexpr int HelpTopic = 34; // meteorological data
constexpr int DataRows = 13;

// Stored monthly inputs of a method code, in column order.
std::vector<const Months*> StoredSeries(const TWaterUser& user, int methodCode)
{
    switch (methodCode) {
    case MethPenmanMonteith:
        return {&user.TblMnthMinT, &user.TblMnthMaxT, &user.TblRelHum, &user.TblRelSun, &user.TblWindSp};
    case MethModBlaneyCriddle:
        return {&user.TblMnthMinT, &user.TblRelHum, &user.TblRelSun, &user.TblWindSp};
    default:
        return {&user.TblMnthMinT};
    }
}

int DataColumns(TIrrigMethod method)
{
    switch (method) {
    case irmPN: return 5;
    case irmMBC: return 4;
    case irmBC:
    case irmEMP: return 1;
    default: return 0;
    }
}
} // namespace

int MethodCode(TIrrigMethod method)
{
    switch (method) {
    case irmPN: return MethPenmanMonteith;
    case irmMBC: return MethModBlaneyCriddle;
    case irmBC: return MethBlaneyCriddle;
    case irmEMP: return MethEmpirical;
    default: return MethNone;
    }
}

void TMemoCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    form_.StrGrdMemoDrawCell(*painter, option.rect, index.column(), index.row());
}

TFormIrigData::TFormIrigData(AppServices& services, TFormPotEvap& potEvap, QWidget* parent)
    : TLForm(parent), services_(services), potEvap_(potEvap)
{
    setObjectName(QStringLiteral("FormIrigData"));
    setWindowTitle(tr("Meteorological Data"));

    IrrMethodGroupBox = new QGroupBox(tr("Method"), this);
    IrrMethodGroupBox->setObjectName(QStringLiteral("IrrMethodGroupBox"));
    auto makeBox = [this](const char* name, const QString& caption) {
        auto* box = new QCheckBox(caption, IrrMethodGroupBox);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    CheckBoxBC = makeBox("CheckBoxBC", tr("Blaney-Criddle"));
    CheckBoxMBC = makeBox("CheckBoxMBC", tr("Mod. Blaney-Criddle"));
    CheckBoxPM = makeBox("CheckBoxPM", tr("Pennman-Monteith"));
    CheckBoxEMP = makeBox("CheckBoxEMP", tr("Empirical"));
    auto* methods = new QHBoxLayout(IrrMethodGroupBox);
    for (QCheckBox* box : {CheckBoxBC, CheckBoxMBC, CheckBoxPM, CheckBoxEMP})
        methods->addWidget(box);

    StrGrdMonthsTemp = MakeGrid(this, services, "StrGrdMonthsTemp");
    SetGridSize(*StrGrdMonthsTemp, 2, DataRows);
    SetGridFixed(*StrGrdMonthsTemp, 1, 1);
    SetGridEditable(*StrGrdMonthsTemp, true);
    SetColWidth(*StrGrdMonthsTemp, 0, MonthColumnWidth);
    StrGrdMonthsTemp->setFixedHeight(DataRows * 18 + 6);

    Label2 = new QLabel(tr("Latitude"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    EdtPhi = new QLineEdit(this);
    EdtPhi->setObjectName(QStringLiteral("EdtPhi"));
    Label1 = new QLabel(tr("Climatic zone is:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    CmbClima = new QComboBox(this);
    CmbClima->setObjectName(QStringLiteral("CmbClima"));
    Label3 = new QLabel(tr("Heat index is:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    StrGrdMemo = new QTableWidget(3, 2, this);
    StrGrdMemo->setObjectName(QStringLiteral("StrGrdMemo"));
    StrGrdMemo->horizontalHeader()->hide();
    StrGrdMemo->verticalHeader()->hide();
    StrGrdMemo->setShowGrid(false);
    StrGrdMemo->setSelectionMode(QAbstractItemView::NoSelection);
    StrGrdMemo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StrGrdMemo->setFocusPolicy(Qt::NoFocus);
    StrGrdMemo->setFrameShape(QFrame::NoFrame);
    StrGrdMemo->setColumnWidth(0, 20);
    StrGrdMemo->horizontalHeader()->setStretchLastSection(true);
    StrGrdMemo->setFixedHeight(3 * 30);
    StrGrdMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StrGrdMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StrGrdMemo->setItemDelegate(new TMemoCellDelegate(*this, StrGrdMemo));

    BtnPaste = MakeButton(this, "BtnPaste", tr("Paste"));
    BtnLast = MakeButton(this, "BtnLast", tr("Last Values"));
    BtnPotEvapRef = MakeButton(this, "BtnPotEvapRef", tr("ETo  Ref. Crop."));
    BtnPotEvapWat = MakeButton(this, "BtnPotEvapWat", tr("ETo  Water"));
    BtnOk = MakeDefaultButton(this, "BtnOk", tr("OK"));
    SpeedButton1 = MakeHelpButton(this);
    Memo1 = new QLineEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->hide();

    auto* side = new QGridLayout;
    side->addWidget(Label2, 0, 0);
    side->addWidget(EdtPhi, 0, 1);
    side->addWidget(Label1, 1, 0);
    side->addWidget(CmbClima, 1, 1);
    side->addWidget(Label3, 2, 0, 1, 2);
    side->addWidget(StrGrdMemo, 3, 0, 1, 2);
    side->setRowStretch(4, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(StrGrdMonthsTemp, 0, Qt::AlignTop);
    middle->addLayout(side, 1);
    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{BtnPaste, BtnLast, BtnPotEvapRef, BtnPotEvapWat})
        buttons->addWidget(w);
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(SpeedButton1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(IrrMethodGroupBox);
    layout->addLayout(middle);
    layout->addLayout(buttons);
    SetTabOrder({CheckBoxBC, CheckBoxMBC, CheckBoxPM, CheckBoxEMP, StrGrdMonthsTemp, EdtPhi, CmbClima, BtnPaste,
                 BtnLast, BtnPotEvapRef, BtnPotEvapWat, BtnOk, SpeedButton1});
    InitForm(*this, services, HelpTopic, 760, 440);

    connect(CheckBoxBC, &QCheckBox::clicked, this, [this] { CheckBoxBCClick(); });
    connect(CheckBoxMBC, &QCheckBox::clicked, this, [this] { CheckBoxMBCClick(); });
    connect(CheckBoxPM, &QCheckBox::clicked, this, [this] { CheckBoxPMClick(); });
    connect(CheckBoxEMP, &QCheckBox::clicked, this, [this] { CheckBoxEMPClick(); });
    connect(BtnPaste, &QPushButton::clicked, this, [this] { BtnPasteClick(); });
    connect(BtnLast, &QPushButton::clicked, this, [this] { BtnLastClick(); });
    connect(BtnPotEvapRef, &QPushButton::clicked, this, [this] { BtnPotEvapRefClick(); });
    connect(BtnPotEvapWat, &QPushButton::clicked, this, [this] { BtnPotEvapWatClick(); });
    connect(BtnOk, &QPushButton::clicked, this, [this] { BtnOkClick(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    LFormCreate();
}

void TFormIrigData::LFormCreate()
{
    FMethod = irmNoMethod;
}

void TFormIrigData::SetMethod(TIrrigMethod Value)
{
    FMethod = Value;
    const QSignalBlocker b1(CheckBoxBC), b2(CheckBoxMBC), b3(CheckBoxPM), b4(CheckBoxEMP);
    if (Value == irmNoMethod)
        return;
    CheckBoxPM->setChecked(Value == irmPN);
    CheckBoxMBC->setChecked(Value == irmMBC);
    CheckBoxBC->setChecked(Value == irmBC);
    CheckBoxEMP->setChecked(Value == irmEMP);
    switch (Value) {
    case irmPN: PreparePN(); break;
    case irmMBC: PrepareMBC(); break;
    case irmBC: PrepareBC(); break;
    case irmEMP: PrepareEMP(); break;
    default: break;
    }
}

void TFormIrigData::CheckBoxBCClick() { SetMethod(irmBC); }
void TFormIrigData::CheckBoxMBCClick() { SetMethod(irmMBC); }
void TFormIrigData::CheckBoxPMClick() { SetMethod(irmPN); }
void TFormIrigData::CheckBoxEMPClick() { SetMethod(irmEMP); }

void TFormIrigData::PrepareColumns(std::initializer_list<Column> columns, int gridWidth, bool latitude,
                                   bool water)
{
    TKyStringGrid& grid = *StrGrdMonthsTemp;
    const int colCount = static_cast<int>(columns.size()) + 1;
    SetGridSize(grid, colCount, DataRows);
    Label2->setVisible(latitude);
    EdtPhi->setVisible(latitude);
    for (int r = 1; r < DataRows; ++r) {
        SetCell(grid, 0, r, FromModel(TblDataMonths[r - 1]));
        for (int c = 1; c < colCount; ++c)
            SetCell(grid, c, r, QString());
    }
    int c = 1;
    for (const Column& column : columns) {
        SetCell(grid, c, 0, tr(column.heading));
        // Every heading is shown in full, also where the width is kept.
        SetColWidthForHeading(grid, c, column.width > 0 ? column.width : grid.ColWidths(c));
        ++c;
    }
    // Wide enough for all its columns.
    int columnsWidth = 2 * grid.frameWidth();
    for (int col = 0; col < colCount; ++col)
        columnsWidth += grid.ColWidths(col);
    grid.setFixedWidth(std::max(gridWidth, columnsWidth));
    BtnPotEvapWat->setEnabled(water);
}

void TFormIrigData::PreparePN()
{
    PrepareColumns({{"Min Temp.(C)", 70},
                    {"Max Temp.(C)", 72},
                    {"Rel.Humidity", 70},
                    {"Rel.Sunshine", 70},
                    {"Wnd.Speed (m/s)", 94}},
                   465, true, true);
}

void TFormIrigData::PrepareMBC()
{
    PrepareColumns({{"Temperature (C)", 90}, {"Rel.Humidity", 0}, {"Rel.Sunshine", 0}, {"Wnd.Speed (m/s)", 90}},
                   465, true, false);
}

void TFormIrigData::PrepareBC()
{
    PrepareColumns({{"Temperature (C)", 90}}, 465, true, false);
}

void TFormIrigData::PrepareEMP()
{
    PrepareColumns({{"Heat index", 90}}, 180, false, false);
    CmbClima->clear();
    for (const std::string& zone : IndicatEToRec.TblClimaZone)
        CmbClima->addItem(FromModel(zone));
    CmbClima->setCurrentIndex(-1);
    const auto& temp = IndicatEToRec.TblTempZone;
    const QString legend[3] = {tr("if the temperature is ") + FromModel(temp[0]),
                               tr("if the temperature lies between ") + FromModel(temp[1]),
                               tr("if the temperature is ") + FromModel(temp[2])};
    int widest = 0;
    for (int r = 0; r < 3; ++r) {
        StrGrdMemo->setItem(r, 0, new QTableWidgetItem(QString::number(r + 1)));
        StrGrdMemo->setItem(r, 1, new QTableWidgetItem(legend[r]));
        widest = std::max(widest, StrGrdMemo->fontMetrics().horizontalAdvance(legend[r]));
    }
    // The legend stays on the form for the other methods, whose tables are
    // wider: the form makes room for it in full.
    StrGrdMemo->setMinimumWidth(StrGrdMemo->columnWidth(0) + widest + 12);
}

void TFormIrigData::StrGrdMemoDrawCell(QPainter& painter, const QRect& rect, int col, int row) const
{
    painter.save();
    painter.fillRect(rect, palette().color(QPalette::Button));
    painter.setPen(Qt::black);
    const QTableWidgetItem* item = StrGrdMemo->item(row, col);
    if (item)
        painter.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, item->text());
    painter.restore();
}

void TFormIrigData::BtnPasteClick()
{
    Guarded(services_, this, [this] { ClipboardToStringGrid(*StrGrdMonthsTemp, 1, 1, false); });
}

void TFormIrigData::SelectClimaZone(double zone)
{
    const long index = std::lround(zone) - 1;
    CmbClima->setCurrentIndex(index >= 0 && index < CmbClima->count() ? static_cast<int>(index) : -1);
}

void TFormIrigData::ShowStoredInputs(const TWaterUser& user, int methodCode, bool onlyPositiveHeatIndex)
{
    const auto series = StoredSeries(user, methodCode);
    TKyStringGrid& grid = *StrGrdMonthsTemp;
    for (std::size_t s = 0; s < series.size(); ++s) {
        const int col = static_cast<int>(s) + 1;
        if (col >= ColCount(grid))
            break;
        for (int m = 0; m < 12; ++m) {
            const double v = (*series[s])[m];
            const bool skip = methodCode == MethEmpirical && onlyPositiveHeatIndex && !(v > 0);
            SetCell(grid, col, m + 1, skip ? QString() : NumText(v));
        }
    }
    if (methodCode == MethEmpirical)
        SelectClimaZone(user.TblRelHum[0]);
}

void TFormIrigData::BtnLastClick()
{
    const int code = FMethod == irmPN    ? MethPenmanMonteith
                     : FMethod == irmMBC ? MethModBlaneyCriddle
                     : FMethod == irmBC  ? MethBlaneyCriddle
                                         : MethEmpirical;
    for (int i = static_cast<int>(WatUserRec.size()) - 1; i >= 0; --i) {
        if (WatUserRec[i].MethId == code) {
            ShowStoredInputs(WatUserRec[i], code, false);
            return;
        }
    }
}

int TFormIrigData::RecordIndex() const
{
    int index = -1;
    if (!ReadInt(Memo1->text(), index) || index < 0)
        return -1;
    return index;
}

void TFormIrigData::ReadMeteoData(std::vector<double>& TblMeteoData, double& phi, int& arid,
                                  int& method) const
{
    if (FMethod == irmNoMethod)
        return;
    const int columns = DataColumns(FMethod);
    std::vector<double> data(static_cast<std::size_t>(columns) * 12);
    for (int c = 0; c < columns; ++c)
        for (int m = 0; m < 12; ++m)
            data[c * 12 + m] = StrToReal(Cell(*StrGrdMonthsTemp, c + 1, m + 1));
    if (FMethod == irmEMP)
        arid = CmbClima->currentIndex() + 1;
    else
        phi = StrToReal(EdtPhi->text());
    TblMeteoData = std::move(data);
    method = MethodCode(FMethod);
}

void TFormIrigData::CheckInputs() const
{
    const QString dataMessage = tr("Meteorological data must be positive and empirical method uses only Integers!");
    if (FMethod != irmEMP) {
        double phi = 0;
        if (!ReadReal(EdtPhi->text(), phi) || phi < -66.5 || phi > 66.5)
            throw InputError(tr("Latitude must be a real number between (-66.5, 66.5)!").toStdString());
    }
    const int columns = DataColumns(FMethod);
    std::vector<double> values;
    for (int m = 1; m <= 12; ++m) {
        for (int c = 1; c <= columns; ++c) {
            const QString text = Cell(*StrGrdMonthsTemp, c, m);
            double v = 0;
            int whole = 0;
            const bool ok = FMethod == irmEMP ? ReadInt(text, whole) : ReadReal(text, v);
            if (!ok)
                throw InputError(dataMessage.toStdString());
            values.push_back(FMethod == irmEMP ? whole : v);
        }
    }
    if (FMethod == irmEMP && CmbClima->currentIndex() < 0)
        throw InputError(tr("A climatic zone must be selected!").toStdString());
    for (double v : values)
        if (v < 0)
            throw InputError(dataMessage.toStdString());
    if (FMethod == irmEMP)
        for (double v : values)
            if (v < 1 || v > 3)
                throw InputError(tr("Values from 1 to 3 are expected as heat index!").toStdString());
}

void TFormIrigData::BtnOkClick()
{
    if (!Guarded(services_, this, [this] { CheckInputs(); }))
        return;
    services_.SetScenarioChanged(true);
    accept();
}

void TFormIrigData::ShowPotEvap(bool refcrop)
{
    std::vector<double> data;
    double phi = 0;
    int arid = 0;
    int method = 0;
    ReadMeteoData(data, phi, arid, method);
    Months evap{};
    WrapPotEvap(data, evap, phi, arid, method, refcrop);
    potEvap_.ShowValues(evap, refcrop);
    services_.prompter().exec(potEvap_);
}

void TFormIrigData::BtnPotEvapRefClick()
{
    Guarded(services_, this, [this] { ShowPotEvap(true); });
}

void TFormIrigData::BtnPotEvapWatClick()
{
    Guarded(services_, this, [this] { ShowPotEvap(false); });
}

void TFormIrigData::SpeedButton1Click()
{
    services_.showHelp(HelpTopic);
}

} // namespace velnor::ui
