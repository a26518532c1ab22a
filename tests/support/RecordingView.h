#pragma once

#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/View.h"

namespace pelagrin::testing {

// A window without a screen: input texts are set by the test, and every caption, message and
// focus change is recorded in the order the command made it.
class RecordingView : public view {
public:
    struct Message {
        std::string text;
        MessageStyle style;
        std::optional<std::string> title;
    };

    explicit RecordingView(std::string depth = {}, std::string o2 = {}) {
        inputs_[InputBox::txtAD] = std::move(depth);
        inputs_[InputBox::txtO2] = std::move(o2);
    }

    [[nodiscard]] std::string InputText(InputBox box) const override {
        ToolkitArithmetic();
        return inputs_.at(box);
    }
    void SetInputText(InputBox box, std::string_view text) override {
        inputs_[box] = std::string(text);
    }
    void SetCaption(ResultLabel label, std::string_view text) override {
        ToolkitArithmetic();
        captions[label] = std::string(text);
        caption_order.push_back(label);
    }
    void FocusDepthBox() override { ++depth_focus_count; }
    void ShowMessage(std::string_view text, MessageStyle style,
                     std::optional<std::string_view> title) override {
        messages.push_back({std::string(text), style,
                            title ? std::optional<std::string>(*title) : std::nullopt});
    }

    void Type(InputBox box, std::string text) { inputs_[box] = std::move(text); }

    // Caption text, or "(unset)" when the command never wrote it.
    [[nodiscard]] std::string Caption(ResultLabel label) const {
        const auto found = captions.find(label);
        return found == captions.end() ? "(unset)" : found->second;
    }

    // A real toolkit does its own layout and font arithmetic inside these calls, and may leave
    // an invalid, overflow or division-by-zero flag raised behind it: when set, every call
    // does so, and no figure may change for it.
    bool leaves_float_flags = false;
    std::map<ResultLabel, std::string> captions;
    std::vector<ResultLabel> caption_order;
    std::vector<Message> messages;
    int depth_focus_count = 0;

private:
    void ToolkitArithmetic() const {
        if (leaves_float_flags) {
            volatile double zero = 0.0;
            volatile double largest = std::numeric_limits<double>::max();
            largest = largest * 2.0;  // overflow
            zero = 1.0 / zero;        // division by zero
            zero = zero - zero;       // invalid: infinity less infinity
        }
    }

    std::map<InputBox, std::string> inputs_;
};

}  // namespace pelagrin::testing
