#pragma once

#include <QSettings>

#include <memory>

class QCoreApplication;

namespace velnor::ui {
class Prompter;
}

namespace velnor::app {

class TFormMain;

// Settings live under organisation "Mervak", application "General".
inline constexpr const char* SettingsOrganization = "Mervak";
inline constexpr const char* SettingsApplication = "General";
std::unique_ptr<QSettings> OpenSettings();

// Start-up work that runs before any form exists: the working reference
// tables and the application's names.
void InitApplication(QCoreApplication& app);

// Creates the program's forms once, the main window first; the others belong
// to it and live as long as it does.
std::unique_ptr<TFormMain> CreateForms(ui::Prompter& prompter);

} // namespace velnor::app
