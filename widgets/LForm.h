#pragma once

#include <QDialog>
#include <QMainWindow>

#include <functional>

namespace velnor::ui {

// The design position and client size of a form, applied once when the form
// has been built (Loaded): top, left, client height, client width, in this
// order. Also the form's help context: F1 on the form hands it to the help
// handler (when above 0).
class LFormFrame {
public:
    virtual ~LFormFrame() = default;

    int InitialTop() const { return top_; }
    int InitialLeft() const { return left_; }
    int InitialClientWidth() const { return clientWidth_; }
    int InitialClientHeight() const { return clientHeight_; }
    void setInitialGeometry(int top, int left, int clientWidth, int clientHeight)
    {
        top_ = top;
        left_ = left;
        clientWidth_ = clientWidth;
        clientHeight_ = clientHeight;
    }

    int HelpContext() const { return helpContext_; }
    void setHelpContext(int context) { helpContext_ = context; }
    void setHelpHandler(std::function<void(int)> handler) { helpHandler_ = std::move(handler); }
    // What F1 does: the help handler with the form's context.
    void requestHelp() const;

    // Applies the Initial* values.
    virtual void Loaded();

protected:
    // The form itself (a QWidget); set by the derived constructor.
    void attach(QWidget* form);

private:
    QWidget* form_ = nullptr;
    int top_ = 0;
    int left_ = 0;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int helpContext_ = 0;
    std::function<void(int)> helpHandler_;
};

// Each showing of the form starts with the focus on its first input: the
// first enabled, visible control of its focus chain (the tab order).
void StartAtFirstInput(QWidget& form);
// The first input of the form; nullptr when it has none.
QWidget* FirstInput(QWidget& form);

// Base of the program's dialogs (each showing starts at the first input). A derived form builds its controls, sets the
// Initial* values (setInitialGeometry) and then calls Loaded() once.
class TLForm : public QDialog, public LFormFrame {
    Q_OBJECT
public:
    explicit TLForm(QWidget* parent = nullptr);
};

// The same for the main window.
class TLMainForm : public QMainWindow, public LFormFrame {
    Q_OBJECT
public:
    explicit TLMainForm(QWidget* parent = nullptr);
};

} // namespace velnor::ui
