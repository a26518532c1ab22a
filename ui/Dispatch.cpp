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

// Runs `command` as the one place its faults are caught (see Dispatch).
template <typename Command>
Outcome Guarded(Command command) {
    Outcome outcome;
    try {
        command(outcome);
    } catch (const RunTimeError& error) {
        outcome.fault = error.what();
    } catch (const std::exception& error) {
        outcome.fault = std::string(kInternalError) + error.what();
    }
    if (outcome.fault) {
        outcome.spoken.clear();
    }
    return outcome;
}

void CalculateNoting(view& window, CalcValues& values, Outcome& outcome) {
    CaptionsWritten noting(window, outcome.spoken);
    Calculate(noting, values);
}

}  // namespace

Outcome Dispatch(form::Command command, view& window, CalcValues& values) {
    return Guarded([&](Outcome& outcome) {
        switch (command) {
            case form::Command::Calculate:
                CalculateNoting(window, values, outcome);
                break;
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
                outcome.close = true;
                break;
        }
    });
}

Outcome PressEnter(InputBox box, view& window, CalcValues& values) {
    return Guarded([&](Outcome& outcome) {
        if (!window.InputText(box).empty()) {
            CalculateNoting(window, values, outcome);
        }
    });
}

std::string SpokenText(const std::vector<std::string>& captions, std::string_view between) {
    std::string text;
    for (const std::string& caption : captions) {
        if (!text.empty()) {
            text += between;
        }
        text += caption;
    }
    return text;
}

}  // namespace pelagrin
