#pragma once

#include <QDialog>

namespace velnor::app {

// The about box: program name, description, version and credits.
class TKyAboutInfo : public QDialog {
    Q_OBJECT
public:
    explicit TKyAboutInfo(QWidget* parent = nullptr);
};

} // namespace velnor::app
