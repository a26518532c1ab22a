#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelagrin {

enum class InputBox { txtAD, txtO2 };

// The eight result labels by name. Their order here is no order the diver meets: the captions'
// order is kCaptionsOrder (core/ResultCaptions.h), the window's rows are the form's, and the
// record's lines are the log's.
enum class ResultLabel { lblEAD, lblPO2, lblPN2, lblMOD14, lblMOD16, lblBMX14, lblBMX16, lblTATA };

enum class MessageStyle {
    MessagePlain,        // an OK button, no icon
    MessageInformation,  // the information icon and an OK button
};

// What a command may see and change of the main window. Commands take it as an argument and
// never touch a widget, so the calculator and the log run the same with or without a screen.
class view {
public:
    virtual ~view() = default;

    [[nodiscard]] virtual std::string InputText(InputBox box) const = 0;
    virtual void SetInputText(InputBox box, std::string_view text) = 0;
    virtual void SetCaption(ResultLabel label, std::string_view text) = 0;
    virtual void FocusDepthBox() = 0;
    // Modal: returns once the user has dismissed the box. Lines are separated by "\r\n";
    // without a title the application's own title shows.
    virtual void ShowMessage(std::string_view text, MessageStyle style,
                             std::optional<std::string_view> title) = 0;
    // Called again and again while a command waits briefly on another program (a log held
    // locked): the window may repaint itself, but takes no input, so no command can start.
    virtual void KeepPainted() {}

protected:
    view() = default;
    view(const view&) = default;
    view& operator=(const view&) = default;
    view(view&&) = default;
    view& operator=(view&&) = default;
};

}  // namespace pelagrin
