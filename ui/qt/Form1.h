#pragma once

#include <QElapsedTimer>
#include <QMainWindow>

#include <array>
#include <memory>

#include "core/CalcValues.h"
#include "core/View.h"
#include "ui/Dispatch.h"
#include "ui/FormColours.h"
#include "ui/FormDescription.h"
#include "ui/qt/KeypadDecimalKey.h"
#include "ui/qt/MessagePresenter.h"

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
    explicit Form1(
        std::unique_ptr<MessagePresenter> presenter = std::make_unique<ModalMessageBox>());
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

    CalcValues values_;
    std::unique_ptr<MessagePresenter> presenter_;
    KeypadDecimalKey keypad_decimal_key_;  // watches both boxes
    form::SystemColours colours_{};        // as the desktop last said; the form's own at first
    std::array<QWidget*, form::kControls.size()> controls_{};  // in the description's order
    std::array<QLineEdit*, 2> boxes_{};                        // indexed by InputBox
    std::array<CaptionLabel*, 8> results_{};                   // indexed by ResultLabel
    Announcer* announcer_ = nullptr;  // speaks the figures of each Calculate
    QElapsedTimer since_painted_;     // while a Print waits on a locked log
};

}  // namespace pelagrin
