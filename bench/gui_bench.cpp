// Main window figures with 100,000 water users: rebuilding the list
// (refreshForm, target under 150 ms) and importing an exchange file (target:
// at disk speed, shown next to reading the same file alone).
// Prints the figures; it is not a test.

#include "ScriptedPrompter.h"
#include "app/AppStart.h"
#include "app/FrmMain.h"
#include "core/ExchangeFile.h"
#include "core/RcrdFuncs.h"
#include "widgets/KyStringGrid.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace velnor;

namespace {

constexpr int Users = 100000;

void BuildScenario()
{
    WatUserRec.clear();
    WatUserRec.reserve(Users);
    for (int i = 0; i < Users; ++i) {
        TWaterUser& u = WatUserRec.append();
        u.Category = (i % 10 == 9) ? CatGroup : 1 + i % 4;
        u.Geo_id = i + 1;
        u.Toponym = "Water user " + std::to_string(i + 1);
        u.UnitsNum = 100 + i;
        u.YearNeeds = 0.001 * (i % 97);
        const int consumptors = u.Category == CatWaterSupply ? 0 : 1 + i % 5;
        for (int c = 0; c < consumptors; ++c) {
            TWaterConsumptor w;
            w.CnsmpId = u.Category == CatGroup ? i - c : c + 1;
            w.UnitsNum = 10;
            w.yearneeds = u.YearNeeds / consumptors;
            u.WatConsRec.push_back(w);
        }
    }
}

double Ms(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qapp(argc, argv);
    app::InitApplication(qapp);
    test::ScriptedPrompter prompter;
    const auto main = app::CreateForms(prompter);
    main->resize(528, 600);
    main->show();
    QApplication::processEvents();

    BuildScenario();
    std::vector<double> refresh;
    for (int run = 0; run < 7; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        main->refreshForm();
        refresh.push_back(Ms(std::chrono::steady_clock::now() - t0));
    }
    // The first paint of the rebuilt list, for scale.
    const auto p0 = std::chrono::steady_clock::now();
    main->StrGrdAllNeeds()->viewport()->repaint();
    const double paint = Ms(std::chrono::steady_clock::now() - p0);

    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("bench.bin"));
    WriteExchangeFile(file.toStdString(), WatUserRec);
    std::vector<double> import;
    for (int run = 0; run < 3; ++run) {
        main->SetScenarioChanged(false);
        prompter.fileNames = {file};
        const auto t0 = std::chrono::steady_clock::now();
        main->mnImportClick();
        import.push_back(Ms(std::chrono::steady_clock::now() - t0));
    }
    if (WatUserRec.size() != std::size_t(Users) || !prompter.errors().isEmpty()) {
        std::fprintf(stderr, "import failed: %s\n", qPrintable(prompter.errors().join(QStringLiteral("; "))));
        return 1;
    }

    // The floor of an import: reading the file through in blocks.
    std::vector<double> read;
    std::size_t bytes = 0;
    for (int run = 0; run < 3; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        std::ifstream in(file.toStdString(), std::ios::binary);
        std::vector<char> block(1 << 20);
        bytes = 0;
        while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
            bytes += static_cast<std::size_t>(in.gcount());
        read.push_back(Ms(std::chrono::steady_clock::now() - t0));
    }

    const double r = Median(refresh);
    const double im = Median(import);
    std::printf("users                      %d\n", Users);
    std::printf("refreshForm (median of 7)  %8.1f ms   target < 150 ms  %s\n", r, r < 150 ? "ok" : "SLOW");
    std::printf("first paint of the list    %8.1f ms\n", paint);
    std::printf("import (median of 3)       %8.1f ms   of a %.1f MB file\n", im, bytes / 1e6);
    std::printf("  reading the file alone   %8.1f ms   import / read %.2f\n", Median(read), im / Median(read));
    std::printf("import / refreshForm       %8.1f\n", im / r);
    return 0;
}
