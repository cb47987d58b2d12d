#include "app/AppStart.h"

#include "app/FrmMain.h"
#include "app/FrmPref.h"
#include "core/DataTables.h"
#include "dbui/FormDB.h"

#ifdef VELNOR_HAVE_DISPATCH
#include "app/Dispatch.h"
#endif
#include "results/FrmResults.h"

#include <QCoreApplication>

namespace velnor::app {

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QString::fromLatin1(SettingsOrganization),
                                       QString::fromLatin1(SettingsApplication));
}

void InitApplication(QCoreApplication& app)
{
    StaticToDynamic();
    app.setApplicationName(QStringLiteral("Velnor"));
    app.setOrganizationName(QString::fromLatin1(SettingsOrganization));
}

std::unique_ptr<TFormMain> CreateForms(ui::Prompter& prompter)
{
    auto main = std::make_unique<TFormMain>(prompter);
#ifdef VELNOR_HAVE_DISPATCH
    // The editors and their data forms.
    auto dispatch = std::make_shared<ui::TEditDispatch>(*main, main.get());
    ui::TEditDispatch* d = dispatch.get();
    main->setEditCommands({[d] { d->SelWaterSupply(); }, [d] { d->SelFarming(); }, [d] { d->SelIndustry(); },
                           [d] { d->SelIrrigation(); }, [d](int rec) { d->editUser(rec); }});
    main->keep(std::move(dispatch));
#endif
    // The data module: the database connection, its dialogs, the options.
    auto* formDB = new dbui::TFormDB(
        *main, [m = main.get()](const QString& caption) { m->SetFormCaption(caption); }, main.get());
    main->setFormDB(formDB);
    // Form 9 of the creation order: the results.
    main->setFormResults(new ui::TFormResults(*main, main.get()));
    // The holder of the volume unit comes last.
    main->setFormPref(new TFormPref(main.get()));
    return main;
}

} // namespace velnor::app
