#include "editors/FrmIrrigConsumData.h"

#include "editors/EditorSupport.h"
#include "editors/FrmIrigData.h"
#include "widgets/LForm.h"

#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace velnor::ui {

namespace {
constexpr int HelpTopic = 37; // crop data form

QLineEdit* CurveBox(QWidget* picture, const char* name, const QString& hint, int x, int y)
{
    auto* box = new QLineEdit(picture);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(hint);
    box->setFixedWidth(50);
    box->move(x - 25, y - 11);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    box->setPalette(p);
    return box;
}
} // namespace

TKcCurvePicture::TKcCurvePicture(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(sizeHint());
}

QSize TKcCurvePicture::sizeHint() const
{
    return {470, 250};
}

void TKcCurvePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    // Axes: Kc upwards, time to the right.
    painter.drawLine(AxisX, AxisY, width() - 15, AxisY);
    painter.drawLine(AxisX, AxisY, AxisX, 20);
    painter.drawText(AxisX - 25, 18, QStringLiteral("Kc"));
    painter.drawText(width() - 60, AxisY - 6, QStringLiteral("days"));
    // Stage boundaries, and the Kc late level from the axis to the curve's end.
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    for (int x : {XIni, XDev, XMid, XLate})
        painter.drawLine(x, AxisY, x, 30);
    painter.drawLine(AxisX, YKcLate, XLate, YKcLate);
    // The curve.
    painter.setPen(QPen(QColor(0x00, 0x60, 0x00), 3));
    const QPointF curve[] = {{double(AxisX), double(YKcIni)}, {double(XIni), double(YKcIni)},
                             {double(XDev), double(YKcMid)},  {double(XMid), double(YKcMid)},
                             {double(XLate), double(YKcLate)}};
    painter.drawPolyline(curve, 5);
    painter.setPen(Qt::black);
    painter.drawText(AxisX + 2, AxisY + 40, QStringLiteral("sowing"));
}

TFrmIrrigConsData::TFrmIrrigConsData(AppServices& services, TFormIrigData& meteo, QWidget* parent)
    : QDialog(parent), services_(services), meteo_(meteo)
{
    setObjectName(QStringLiteral("FrmIrrigConsData"));
    setWindowTitle(tr("Irrigation Data Form"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    Label4 = new QLabel(tr("Semination day"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    EdtSemD = new QLineEdit(this);
    EdtSemD->setObjectName(QStringLiteral("EdtSemD"));
    Label3 = new QLabel(tr("Area [1000 m2]"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    EdtUnits = new QLineEdit(this);
    EdtUnits->setObjectName(QStringLiteral("EdtUnits"));
    Label5 = new QLabel(tr("Crop"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    CmbCultures = new QComboBox(this);
    CmbCultures->setObjectName(QStringLiteral("CmbCultures"));
    CmbCultures->setMinimumWidth(220);
    // Fifty crops: the list scrolls instead of covering the screen.
    CmbCultures->setMaxVisibleItems(15);
    CmbCultures->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    SpeedButton1 = MakeHelpButton(this);
    InstallHelpKey(*this, services, HelpTopic);

    Image1 = new TKcCurvePicture(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    using P = TKcCurvePicture;
    EdtKcMid = CurveBox(Image1, "EdtKcMid", tr("Kc mid"), (P::XDev + P::XMid) / 2, P::YKcMid - 20);
    EdtKcLate = CurveBox(Image1, "EdtKcLate", tr("Kc late"), P::AxisX - 30, P::YKcLate);
    EdtKcIni = CurveBox(Image1, "EdtKcIni", tr("Kc ini"), P::AxisX - 30, P::YKcIni);
    EdtLIni = CurveBox(Image1, "EdtLIni", tr("L ini"), (P::AxisX + P::XIni) / 2, P::AxisY + 18);
    EdtLDev = CurveBox(Image1, "EdtLDev", tr("L dev"), (P::XIni + P::XDev) / 2, P::AxisY + 18);
    EdtLMid = CurveBox(Image1, "EdtLMid", tr("L mid"), (P::XDev + P::XMid) / 2, P::AxisY + 18);
    EdtLLate = CurveBox(Image1, "EdtLLate", tr("L late"), (P::XMid + P::XLate) / 2, P::AxisY + 18);

    BtnUpdate = MakeDefaultButton(this, "BtnUpdate", tr("OK"));
    Button2 = MakeButton(this, "Button2", tr("Default"));
    BtnRestore = MakeButton(this, "BtnRestore", tr("Cancel"));

    auto* top = new QGridLayout;
    top->addWidget(Label5, 0, 0);
    top->addWidget(CmbCultures, 0, 1, 1, 3);
    top->addWidget(SpeedButton1, 0, 4);
    top->addWidget(Label4, 1, 0);
    top->addWidget(EdtSemD, 1, 1);
    top->addWidget(Label3, 1, 2);
    top->addWidget(EdtUnits, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnUpdate);
    buttons->addWidget(Button2);
    buttons->addWidget(BtnRestore);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Image1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    SetTabOrder({CmbCultures, EdtSemD, EdtUnits, EdtLIni, EdtLDev, EdtLMid, EdtLLate, EdtKcIni, EdtKcMid, EdtKcLate,
                 BtnUpdate, Button2, BtnRestore, SpeedButton1});
    StartAtFirstInput(*this);

    connect(BtnUpdate, &QPushButton::clicked, this, [this] { BtnUpdateClick(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(BtnRestore, &QPushButton::clicked, this, [this] { BtnRestoreClick(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    FormCreate();
}

void TFrmIrrigConsData::FormCreate()
{
    currentCrop = -1;
}

QLineEdit* TFrmIrrigConsData::KcBox(int i) const
{
    QLineEdit* const boxes[] = {EdtLIni, EdtLDev, EdtLMid, EdtLLate, EdtKcIni, EdtKcMid, EdtKcLate};
    return boxes[i];
}

void TFrmIrrigConsData::updateForm(int WatConsIndex)
{
    currentCrop = WatConsIndex;
    EdtSemD->clear();
    EdtUnits->clear();
    CmbCultures->setEnabled(true);
    CmbCultures->clear();
    for (const auto& crop : CropsRec)
        CmbCultures->addItem(FromModel(crop.Name));
    CmbCultures->setCurrentIndex(CmbCultures->count() > 0 ? 0 : -1);
    for (int i = 0; i < 7; ++i)
        KcBox(i)->clear();
    if (WatConsIndex < 0 || WatConsIndex >= static_cast<int>(WatConsRec.size()))
        return;
    const TWaterConsumptor& crop = WatConsRec[WatConsIndex];
    EdtSemD->setText(QString::number(crop.Sem_day));
    EdtUnits->setText(QString::number(crop.UnitsNum));
    const int pos = FindCropIndxId(crop.CnsmpId);
    if (pos >= 0 && pos < CmbCultures->count())
        CmbCultures->setCurrentIndex(pos);
    CmbCultures->setEnabled(false);
    for (int i = 0; i < 7; ++i)
        KcBox(i)->setText(NumText(crop.TblKc[i]));
}

bool TFrmIrrigConsData::checkData()
{
    ErrorReport report;
    int number = 0;
    double real = 0;
    if (CmbCultures->currentIndex() < 0)
        report.add(tr("No Crop selected"));
    if (!ReadInt(EdtUnits->text(), number) || number < 0)
        report.add(tr("The area must be a positive integer number"));
    if (!ReadInt(EdtSemD->text(), number) || number < 1 || number > 365)
        report.add(tr("The semination day must be an integer between 1 and 365"));
    const std::pair<QLineEdit*, QString> coefficients[] = {
        {EdtKcMid, tr("Coefficient Kc mid must be a positive real number")},
        {EdtKcLate, tr("Coefficient Kc late must be a positive real number")},
        {EdtKcIni, tr("Coefficient Kc ini must be a positive real number")},
        {EdtLIni, tr("Coefficient L ini must be a positive real number")},
        {EdtLDev, tr("Coefficient L dev must be a positive real number")},
        {EdtLMid, tr("Coefficient L mid must be a positive real number")},
        {EdtLLate, tr("Coefficient L late must be a positive real number")},
    };
    for (const auto& [box, message] : coefficients)
        if (!ReadSingle(box->text(), real) || real < 0)
            report.add(message);
    if (report.empty())
        return true;
    services_.prompter().showError(this, report.text());
    return false;
}

void TFrmIrrigConsData::StoreInputs()
{
    if (currentCrop < 0) {
        std::vector<double> meteo;
        double phi = 0;
        int arid = 0;
        int method = 0;
        meteo_.ReadMeteoData(meteo, phi, arid, method);
        const int cropId = CropsRec.at(CmbCultures->currentIndex()).Id;
        const int area = static_cast<int>(std::lround(StrToReal(EdtUnits->text())));
        const auto length = WatConsRec.size();
        try {
            AddExRecIrig(meteo, phi, arid, StrToInt(EdtSemD->text()), method, cropId, area,
                         static_cast<int>(length));
        } catch (...) {
            WatConsRec.resize(length);
            throw;
        }
        currentCrop = static_cast<int>(WatConsRec.size()) - 1;
    }
    TWaterConsumptor& crop = WatConsRec.at(currentCrop);
    crop.Sem_day = StrToInt(EdtSemD->text());
    crop.UnitsNum = StrToInt(EdtUnits->text());
    crop.CnsmpType = ToModel(CmbCultures->currentText());
    for (int i = 0; i < 7; ++i)
        crop.TblKc[i] = StrToReal(KcBox(i)->text());
}

void TFrmIrrigConsData::BtnUpdateClick()
{
    if (!checkData())
        return;
    if (Guarded(services_, this, [this] { StoreInputs(); }))
        accept();
}

void TFrmIrrigConsData::Button2Click()
{
    const int pos = FindCropIndxName(ToModel(CmbCultures->currentText()));
    if (pos < 0 || pos >= static_cast<int>(CropsRec.size()))
        return;
    for (int i = 0; i < 7; ++i)
        KcBox(i)->setText(NumText(CropsRec[pos].Consumpt[i]));
}

void TFrmIrrigConsData::BtnRestoreClick()
{
    reject();
}

void TFrmIrrigConsData::SpeedButton1Click()
{
    services_.showHelp(HelpTopic);
}

} // namespace velnor::ui
