#include "widgets/LForm.h"

#include <QEvent>
#include <QShortcut>

namespace velnor::ui {

namespace {
class FirstInputOnShow : public QObject {
public:
    explicit FirstInputOnShow(QWidget& form) : QObject(&form), form_(form) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &form_ && event->type() == QEvent::Show)
            if (QWidget* first = FirstInput(form_))
                first->setFocus(Qt::TabFocusReason);
        return false;
    }

private:
    QWidget& form_;
};
} // namespace

QWidget* FirstInput(QWidget& form)
{
    for (QWidget* w = form.nextInFocusChain(); w && w != &form; w = w->nextInFocusChain())
        if (w->window() == &form && w->isVisibleTo(&form) && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            return w;
    return nullptr;
}

void StartAtFirstInput(QWidget& form)
{
    form.installEventFilter(new FirstInputOnShow(form));
}

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
    StartAtFirstInput(*this);
}

TLMainForm::TLMainForm(QWidget* parent) : QMainWindow(parent)
{
    attach(this);
}

} // namespace velnor::ui
