#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QMessageBox>
#include <QString>

#include <array>
#include <functional>

#include "core/CalcValues.h"
#include "core/View.h"
#include "ui/Dispatch.h"
#include "ui/FormColours.h"
#include "ui/FormDescription.h"
#include "ui/qt/KeypadDecimalKey.h"

class QLineEdit;

namespace pelagrin {

class Announcer;
class CaptionLabel;

// The calculator's one window, drawn from the form's description: the depth and O2 boxes,
// the eight result captions and the menu bar. It owns the stored figures and is a thin
// adapter: each menu entry or Enter key runs one command through the dispatch, which reports
// any fault in an error box.
class Form1 final : public QMainWindow, public view {
    Q_OBJECT

public:
    // Runs a message box the window has made and returns once the diver has dismissed it; a
    // test may read the box and answer it instead.
    using MessageBoxRunner = std::function<void(QMessageBox&)>;
    explicit Form1(MessageBoxRunner run_box = [](QMessageBox& box) { box.exec(); });
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    [[nodiscard]] std::string InputText(InputBox box) const override;
    void SetInputText(InputBox box, std::string_view text) override;
    void SetCaption(ResultLabel label, std::string_view text) override;
    void FocusDepthBox() override;
    void ShowMessage(std::string_view text, MessageStyle style,
                     std::optional<std::string_view> title) override;
    void KeepPainted() override;

private:
    void BuildControls(QWidget* client);
    void BuildMenus();
    // A command on the bar or in a drop-down, run through the dispatch when chosen.
    void AddCommand(QWidget* menu, const form::MenuItem& item);
    // Paints every control in the colours in force: the form's, or high contrast's.
    void Recolour();
    // Tells the diver how a command ended: an error box, the figures spoken, or the window
    // closed.
    void Handle(const Outcome& outcome);
    // Every message box of the window, from ShowMessage and for a fault: modal, one OK button.
    void Raise(const QString& title, const QString& text, QMessageBox::Icon icon);

    CalcValues values_;
    MessageBoxRunner run_box_;
    KeypadDecimalKey keypad_decimal_key_;  // watches both boxes
    form::SystemColours colours_{};        // as the desktop last said; the form's own at first
    std::array<QWidget*, form::kControls.size()> controls_{};  // in the description's order
    std::array<QLineEdit*, 2> boxes_{};                        // indexed by InputBox
    std::array<CaptionLabel*, 8> results_{};                   // indexed by ResultLabel
    Announcer* announcer_ = nullptr;  // speaks the figures of each Calculate
    QElapsedTimer since_painted_;     // while a Print waits on a locked log
};

}  // namespace pelagrin
