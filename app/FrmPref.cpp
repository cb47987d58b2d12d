#include "app/FrmPref.h"

#include <QComboBox>
#include <QHideEvent>
#include <QLabel>

namespace velnor::app {

TFormPref::TFormPref(QWidget* parent) : TLForm(parent)
{
    setObjectName(QStringLiteral("FormPref"));
    setWindowTitle(tr("Preferences"));
    label1_ = new QLabel(tr("Volume Units"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(16, 16, 120, 20);
    cmbUnits_ = new QComboBox(this);
    cmbUnits_->setObjectName(QStringLiteral("CmbUnits"));
    cmbUnits_->addItems({QStringLiteral("hm3"), QStringLiteral("m3")});
    cmbUnits_->setCurrentIndex(0);
    cmbUnits_->setGeometry(16, 40, 145, 24);
    setInitialGeometry(200, 200, 359, 290);
    Loaded();
}

QString TFormPref::unit() const
{
    return cmbUnits_->currentText();
}

void TFormPref::setUnit(const QString& unit)
{
    cmbUnits_->setCurrentText(unit);
}

void TFormPref::hideEvent(QHideEvent* event)
{
    TLForm::hideEvent(event);
    if (!event->spontaneous() && onHide_)
        onHide_();
}

} // namespace velnor::app
