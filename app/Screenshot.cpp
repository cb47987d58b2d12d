// velnor-screenshot FILE.png: the main window with a sample scenario of every
// category and a group, saved as a picture (for the README; run it under a
// display, e.g. xvfb-run).

#include "app/AppStart.h"
#include "app/FrmMain.h"
#include "core/RcrdFuncs.h"
#include "widgets/KyStringGrid.h"
#include "widgets/QtPrompter.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

using namespace velnor;

namespace {

void SampleScenario()
{
    WatUserRec.clear();
    Months consumption{};
    consumption.fill(180);
    WatUserRec.append();
    AddRecordSup(1, "Kalamaki", 12400, consumption, 0);

    WatConsRec.clear();
    AddExRecFarm(1, 420, 0);
    AddExRecFarm(2, 1800, 1);
    AddExRecFarm(3, 950, 2);
    WatUserRec.append();
    ExToIntRec(CatFarming, "Upper valley farms", 2, 1);

    WatConsRec.clear();
    AddExRecInd(1, 3, 0);
    AddExRecInd(2, 1, 1);
    WatUserRec.append();
    ExToIntRec(CatIndustry, "Harbour industrial zone", 3, 2);

    const std::vector<double> temperatures{9.5, 10.2, 12.4, 15.8, 20.3, 24.9, 27.6, 27.2, 23.8, 19.1, 14.6, 11.0};
    WatConsRec.clear();
    AddExRecIrig(temperatures, 38.0, 0, 100, MethBlaneyCriddle, 2, 250, 0);
    AddExRecIrig(temperatures, 38.0, 0, 120, MethBlaneyCriddle, 5, 80, 1);
    WatUserRec.append();
    AddMeteoData(temperatures, 38.0, 0, MethBlaneyCriddle, 3);
    ExToIntRec(CatIrrigation, "Coastal plain", 4, 3);

    WatConsRec.clear();
    AddExRecGrp(1, 1, 0);
    AddExRecGrp(4, 1, 1);
    WatUserRec.append();
    ExToIntRec(CatGroup, "Coast", 5, 4);
    WatConsRec.clear();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velnor-screenshot FILE.png\n");
        return 2;
    }
    app::InitApplication(qapp);
    ui::QtPrompter prompter;
    const auto main = app::CreateForms(prompter);
    SampleScenario();
    main->SetFormCaption(QStringLiteral("coast.bin"));
    main->SetScenarioChanged(true);
    main->refreshForm();
    main->resize(528, 250);
    main->show();
    main->StrGrdAllNeeds()->selectRow(2);
    QApplication::processEvents();
    if (!main->grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
