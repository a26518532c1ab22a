#include "ui/WindowCommands.h"

#include <string>
#include <string_view>

#include "Version.h"
#include "core/ResultCaptions.h"
#include "core/View.h"
#include "ui/FormDescription.h"

namespace pelagrin {
namespace {

constexpr std::string_view kContactEmail = "morvane@pelagrin.org";

}  // namespace

void Clear(view& window) {
    window.SetInputText(InputBox::txtAD, "");
    window.SetInputText(InputBox::txtO2, "");
    for (const ResultCaption& caption : kCaptionsOrder) {
        window.SetCaption(caption.label, caption.prefix);
    }
    window.FocusDepthBox();
}

void About(view& window) {
    std::string text = "EAD Calculator by Morvane\r\n";
    text += kContactEmail;
    text += "\r\nFor Tech Divers!";
    std::string title(form::kApplicationTitle);
    title += "  Version ";
    title += kVersion;
    window.ShowMessage(text, MessageStyle::MessageInformation, title);
}

}  // namespace pelagrin
