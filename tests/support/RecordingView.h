#pragma once

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

    [[nodiscard]] std::string InputText(InputBox box) const override { return inputs_.at(box); }
    void SetInputText(InputBox box, std::string_view text) override {
        inputs_[box] = std::string(text);
    }
    void SetCaption(ResultLabel label, std::string_view text) override {
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

    std::map<ResultLabel, std::string> captions;
    std::vector<ResultLabel> caption_order;
    std::vector<Message> messages;
    int depth_focus_count = 0;

private:
    std::map<InputBox, std::string> inputs_;
};

}  // namespace pelagrin::testing
