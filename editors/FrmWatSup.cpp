#include "editors/FrmWatSup.h"

#include "editors/EditorSupport.h"
#include "editors/GridCells.h"

#include "core/Errors.h"
#include "core/WaterUser.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace velnor::ui {

namespace {
constexpr int HelpTopic = 15; // water supply
}

TFormWatSup::TFormWatSup(AppServices& services, QWidget* parent) : TLForm(parent), services_(services)
{
    setObjectName(QStringLiteral("FormWatSup"));
    setWindowTitle(tr("Water Supply"));
    SetFormColor(*this, 0xFFCC99);

    LabelTopo = new QLabel(tr("Toponym"), this);
    EdtTopo = new QLineEdit(this);
    EdtTopo->setObjectName(QStringLiteral("EdtTopo"));
    LabelPop = new QLabel(tr("Population"), this);
    EdtPop = new QLineEdit(this);
    EdtPop->setObjectName(QStringLiteral("EdtPop"));
    LabelCons = new QLabel(tr("Consumption L/p/d"), this);
    StrGrdCons = MakeGrid(this, services, "StrGrdCons");
    SetGridSize(*StrGrdCons, 2, 12);
    SetGridFixed(*StrGrdCons, 0, 0);
    SetGridEditable(*StrGrdCons, true);
    // The month names are labels: the keyboard walks only the consumptions.
    StrGrdCons->setColReadOnly(0, true);
    SetColWidth(*StrGrdCons, 0, MonthColumnWidth);
    SetFitColumn(*StrGrdCons, 1);
    StrGrdCons->setMinimumHeight(12 * 18 + 8);
    BtnDefault = MakeButton(this, "BtnDefault", tr("Default"));
    BtnAdd = MakeDefaultButton(this, "BtnAdd", tr("OK"));
    BtnCancel = MakeButton(this, "BtnCancel", tr("Cancel"));
    SpeedButton1 = MakeHelpButton(this);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));

    auto* edits = new QGridLayout;
    edits->addWidget(LabelTopo, 0, 0);
    edits->addWidget(EdtTopo, 0, 1);
    edits->addWidget(LabelPop, 1, 0);
    edits->addWidget(EdtPop, 1, 1);
    edits->addWidget(SpeedButton1, 0, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnDefault);
    buttons->addWidget(Image1);
    buttons->addStretch();
    buttons->addWidget(BtnAdd);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(edits);
    layout->addWidget(LabelCons);
    layout->addWidget(StrGrdCons);
    layout->addLayout(buttons);
    SetTabOrder({EdtTopo, EdtPop, StrGrdCons, BtnDefault, BtnAdd, BtnCancel, SpeedButton1});
    InitForm(*this, services, HelpTopic, 300, 420);
    setFixedSize(size());

    connect(BtnDefault, &QPushButton::clicked, this, [this] { BtnDefaultClick(); });
    connect(BtnAdd, &QPushButton::clicked, this, [this] { BtnAddClick(); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
}

void TFormWatSup::GetRecData(int irec)
{
    const TWaterUser& user = WatUserRec[static_cast<std::size_t>(irec)];
    for (int r = 0; r < 12; ++r) {
        SetCell(*StrGrdCons, 0, r, FromModel(TblDataMonths[r]));
        SetCell(*StrGrdCons, 1, r, NumText(user.TblConsumpt[r]));
    }
    EdtPop->setText(QString::number(user.UnitsNum));
    EdtTopo->setText(FromModel(user.Toponym.str()));
}

void TFormWatSup::PrepareNew()
{
    for (int r = 0; r < 12; ++r) {
        SetCell(*StrGrdCons, 0, r, FromModel(TblDataMonths[r]));
        SetCell(*StrGrdCons, 1, r, QString());
    }
    EdtPop->clear();
    EdtTopo->clear();
}

void TFormWatSup::BtnDefaultClick()
{
    for (int r = 0; r < 12; ++r)
        SetCell(*StrGrdCons, 1, r, NumText(TblWatSupCons[r]));
}

void TFormWatSup::CheckInputs() const
{
    int population = 0;
    if (!ReadInt(EdtPop->text(), population) || population < 0)
        throw InputError(tr("A positive integer value expected for population!").toStdString());
    const QString consMessage = tr("A positive real number for consumption is expected for all months!");
    Months values{};
    for (int r = 0; r < 12; ++r)
        if (!ReadReal(Cell(*StrGrdCons, 1, r), values[r]))
            throw InputError(consMessage.toStdString());
    for (double v : values)
        if (v < 0)
            throw InputError(consMessage.toStdString());
}

void TFormWatSup::BtnAddClick()
{
    if (!Guarded(services_, this, [this] { CheckInputs(); }))
        return;
    services_.SetScenarioChanged(true);
    accept();
}

void TFormWatSup::BtnCancelClick()
{
    reject();
}

void TFormWatSup::SpeedButton1Click()
{
    services_.showHelp(HelpTopic);
}

int TFormWatSup::Population() const
{
    return StrToInt(EdtPop->text());
}

Months TFormWatSup::Consumptions() const
{
    Months values{};
    for (int r = 0; r < 12; ++r)
        values[r] = StrToReal(Cell(*StrGrdCons, 1, r));
    return values;
}

} // namespace velnor::ui
