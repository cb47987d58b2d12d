// Results form figures with 10,000 and 100,000 water users: opening the form
// (the totals shown and painted), filling the water-user chooser, showing one
// user. Target for each: under 100 ms. Prints the figures; it is not a test.

#include "ScriptedPrompter.h"
#include "app/AppStart.h"
#include "app/FrmMain.h"
#include "results/FrmResults.h"
#include "results/ResultSums.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace velnor;

namespace {

// Every tenth entry is a group; a few identifiers repeat, as after an import of
// merged files.
void BuildScenario(int users)
{
    WatUserRec.clear();
    WatUserRec.reserve(std::size_t(users));
    for (int i = 0; i < users; ++i) {
        TWaterUser& u = WatUserRec.append();
        u.Category = (i % 10 == 9) ? CatGroup : 1 + i % 4;
        u.Geo_id = (i % 1000 == 999) ? i : i + 1;
        u.Toponym = "Water user " + std::to_string(i + 1);
        for (int m = 0; m < 12; ++m)
            u.TblMonthNeeds[std::size_t(m)] = 0.0001 * (1 + (i + m) % 17);
        u.YearNeeds = 0.0012 * (1 + i % 17);
    }
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeMs(const std::function<void()>& f, int runs)
{
    std::vector<double> t;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    return Median(t);
}

void Line(const char* what, double ms)
{
    std::printf("  %-36s %8.2f ms   target < 100 ms  %s\n", what, ms, ms < 100 ? "ok" : "SLOW");
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qapp(argc, argv);
    app::InitApplication(qapp);
    test::ScriptedPrompter prompter;
    const auto main = app::CreateForms(prompter);
    main->show();
    QApplication::processEvents();
    ui::TFormResults& form = *main->FormResults();

    double distinct10k = 0;
    for (const int users : {10000, 100000}) {
        BuildScenario(users);
        main->refreshForm();
        QApplication::processEvents();

        // Opening: the main window's command runs the form; here the modal
        // run shows it, lets it paint and closes it.
        prompter.onExec = [](QDialog& dialog) {
            dialog.show();
            QApplication::processEvents();
            dialog.hide();
            return int(QDialog::Rejected);
        };
        const double open = TimeMs([&] { main->SelResults(); }, 7);

        form.show();
        QApplication::processEvents();
        form.PageControl->setCurrentWidget(form.GeoID);
        QApplication::processEvents();
        const double fill = TimeMs([&] { form.PrepareWUCombo(); }, 7);
        const double page = TimeMs(
            [&] {
                form.PageControl->setCurrentWidget(form.Totals);
                form.PageControl->setCurrentWidget(form.GeoID);
                QApplication::processEvents();
            },
            7);
        int entry = form.CmbGeoIds->count() / 2;
        const double one = TimeMs(
            [&] {
                form.CmbGeoIds->setCurrentIndex(++entry);
                QApplication::processEvents();
            },
            7);
        const double distinct = TimeMs([] { (void)DistinctUsers(WatUserRec); }, 7);
        if (users == 10000)
            distinct10k = distinct;
        form.hide();

        std::printf("water users %d (chooser entries %d)\n", users, form.CmbGeoIds->count());
        Line("opening the form (shown, painted)", open);
        Line("filling the water-user chooser", fill);
        Line("Totals -> Water User page (painted)", page);
        Line("showing one water user (painted)", one);
        std::printf("  %-36s %8.2f ms\n", "distinct identifiers alone", distinct);
        if (users == 100000)
            std::printf("  distinct identifiers 100,000 / 10,000 %6.1f (10 for linear work)\n",
                        distinct / distinct10k);
    }
    return 0;
}
