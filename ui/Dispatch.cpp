#include "ui/Dispatch.h"

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/CalcValues.h"
#include "core/Calculate.h"
#include "core/RunTimeError.h"
#include "core/View.h"
#include "log/LogResults.h"
#include "ui/FormDescription.h"
#include "ui/WindowCommands.h"

namespace pelagrin {
namespace {

// The window as Calculate sees it, noting each caption on its way to the screen.
class CaptionsWritten final : public view {
public:
    CaptionsWritten(view& window, std::vector<std::string>& written)
        : window_(window), written_(written) {}

    [[nodiscard]] std::string InputText(InputBox box) const override {
        return window_.InputText(box);
    }
    void SetInputText(InputBox box, std::string_view text) override {
        window_.SetInputText(box, text);
    }
    void SetCaption(ResultLabel label, std::string_view text) override {
        window_.SetCaption(label, text);
        written_.emplace_back(text);
    }
    void FocusDepthBox() override { window_.FocusDepthBox(); }
    void ShowMessage(std::string_view text, MessageStyle style,
                     std::optional<std::string_view> title) override {
        window_.ShowMessage(text, style, title);
    }
    void KeepPainted() override { window_.KeepPainted(); }

private:
    view& window_;
    std::vector<std::string>& written_;
};

}  // namespace

Outcome Dispatch(form::Command command, view& window, CalcValues& values) {
    Outcome outcome;
    try {
        switch (command) {
            case form::Command::Calculate: {
                CaptionsWritten noting(window, outcome.spoken);
                Calculate(noting, values);
                break;
            }
            case form::Command::Clear:
                Clear(window);
                break;
            case form::Command::Print:
                LogResults(window, values);
                break;
            case form::Command::About:
                About(window);
                break;
            case form::Command::Exit:
                break;
        }
    } catch (const RunTimeError& error) {
        outcome.fault = error.what();
    } catch (const std::exception& error) {
        outcome.fault = std::string("Internal error: ") + error.what();
    }
    if (outcome.fault) {
        outcome.spoken.clear();
    }
    return outcome;
}

}  // namespace pelagrin
