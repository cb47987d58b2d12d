#include "widgets/LForm.h"

#include <QShortcut>

namespace velnor::ui {

void LFormFrame::attach(QWidget* form)
{
    form_ = form;
    auto* key = new QShortcut(QKeySequence::HelpContents, form);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, form, [this] { requestHelp(); });
}

void LFormFrame::requestHelp() const
{
    if (helpContext_ > 0 && helpHandler_)
        helpHandler_(helpContext_);
}

void LFormFrame::Loaded()
{
    if (!form_)
        return;
    form_->move(form_->x(), top_);
    form_->move(left_, form_->y());
    // resize() sets the client area of a top-level window.
    form_->resize(form_->width(), clientHeight_);
    form_->resize(clientWidth_, form_->height());
}

TLForm::TLForm(QWidget* parent) : QDialog(parent)
{
    attach(this);
}

TLMainForm::TLMainForm(QWidget* parent) : QMainWindow(parent)
{
    attach(this);
}

} // namespace velnor::ui
