#pragma once

class QCoreApplication;

namespace velnor::app {

// Settings live under organisation "Mervak", application "General".
inline constexpr const char* SettingsOrganization = "Mervak";
inline constexpr const char* SettingsApplication = "General";

// Start-up work that runs before any form exists: the working reference
// tables and the application's names.
void InitApplication(QCoreApplication& app);

} // namespace velnor::app
