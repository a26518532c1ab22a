#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

#include "core/CalcValues.h"
#include "core/View.h"
#include "ui/MessagePresenter.h"

class QLabel;
class QLineEdit;

namespace pelagrin {

// The calculator's one window: the depth and O2 boxes, the eight result captions and the
// menu bar. It owns the stored figures and is a thin adapter: each menu entry or key runs
// one of the plain commands over this window's view, and the dispatch reports any fault.
class Form1 final : public QMainWindow, public view {
    Q_OBJECT

public:
    explicit Form1(std::unique_ptr<MessagePresenter> presenter =
                       std::make_unique<ModalMessageBox>());
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    [[nodiscard]] const CalcValues& Values() const { return values_; }

    [[nodiscard]] std::string InputText(InputBox box) const override;
    void SetInputText(InputBox box, std::string_view text) override;
    void SetCaption(ResultLabel label, std::string_view text) override;
    void FocusDepthBox() override;
    void ShowMessage(std::string_view text, MessageStyle style,
                     std::optional<std::string_view> title) override;

private:
    void BuildControls(QWidget* client);
    void BuildMenus();
    // The one path of Calculate, from the menu and from the Enter key alike.
    void RunCalculate();
    // Runs a command and reports the run-time error it may end with; the window carries on.
    void Dispatch(const std::function<void()>& command);
    [[nodiscard]] QLineEdit* Box(InputBox box) const;

    CalcValues values_;
    std::unique_ptr<MessagePresenter> presenter_;
    QLineEdit* txtAD_ = nullptr;
    QLineEdit* txtO2_ = nullptr;
    std::array<QLabel*, 8> results_{};  // indexed by ResultLabel
};

}  // namespace pelagrin
