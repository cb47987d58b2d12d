#include "app/AboutBox.h"

#include "Version.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace velnor::app {

TKyAboutInfo::TKyAboutInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("KyAboutInfo1"));
    setWindowTitle(tr("About"));
    auto* layout = new QVBoxLayout(this);
    auto addLabel = [&](const QString& text, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
        return label;
    };
    QLabel* title = addLabel(QStringLiteral("Velnor"), "LblProgram");
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    title->setFont(f);
    addLabel(tr("A water needs calculation model"), "LblDescription");
    addLabel(tr("Version %1").arg(QString::fromLatin1(velnor::VersionString)), "LblVersion");
    addLabel(tr("Credits:\nModel and program: the Velnor developers, Mervak\n"
                "Built with Qt"),
             "LblCredits");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace velnor::app
