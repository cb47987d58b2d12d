#pragma once

#include "widgets/LForm.h"

#include <functional>

class QComboBox;
class QLabel;

namespace velnor::app {

// Holder of the program-wide volume unit: the text of CmbUnits, "hm3" or "m3".
class TFormPref : public ui::TLForm {
    Q_OBJECT
public:
    explicit TFormPref(QWidget* parent = nullptr);

    QComboBox* CmbUnits() const { return cmbUnits_; }
    QString unit() const;
    void setUnit(const QString& unit);

    // Runs when the form is hidden (the main window refreshes its list).
    void setOnHide(std::function<void()> handler) { onHide_ = std::move(handler); }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* label1_;
    QComboBox* cmbUnits_;
    std::function<void()> onHide_;
};

} // namespace velnor::app
