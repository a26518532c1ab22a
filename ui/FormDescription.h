#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

#include "core/ResultCaptions.h"
#include "core/View.h"

namespace pelagrin::form {

// The calculator's one window as data: what each control is, where it sits, how it looks and
// which command each menu entry runs. Every window of the calculator is drawn from this, so
// whatever the toolkit, the diver sees the same form. Positions are in twips (1/1440 inch).

inline constexpr std::string_view kCaption = "EAD Calculator";
// The title of every message box that has none of its own, and of the error boxes.
inline constexpr std::string_view kApplicationTitle = "Pelagrin";

inline constexpr int kClientWidth = 5895;   // twips
inline constexpr int kClientHeight = 4935;  // twips

// Twips to pixels at `dpi` dots per inch, a half rounded up: 15 twips to a pixel at 96.
constexpr int Pixels(int twips, int dpi = 96) {
    return (twips * dpi + 720) / 1440;
}

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;

    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};  // the window and every control's background
inline constexpr Rgb kWhite{255, 255, 255};

// All text is bold in the classic Windows face; where it is missing, its metric twin.
inline constexpr std::string_view kFontFace = "MS Sans Serif";
inline constexpr std::string_view kFallbackFontFace = "Liberation Sans";
inline constexpr int kFontWeight = 700;

struct Place {
    int left;
    int top;
    int width;
    int height;
};

// What a control is, one of three: a plain label (a box's caption), the label of one result,
// or the box of one input. A box names its caption label by that label's place in kControls.
struct Label {};
struct Box {
    InputBox input;
    std::size_t caption;  // index in kControls
};
using Role = std::variant<Label, ResultLabel, Box>;

struct Control {
    std::string_view name;
    Role role;
    std::string_view text;  // initial text
    Place place;
    Rgb colour;  // of the text
    double points;
    // What a screen reader adds to the control's name: the figure or input it stands for,
    // in full words. The name itself is what the diver sees (AccessibleName).
    std::string_view description;
};

// The box a control is, or nothing for a label. A copy, not a pointer into the table: GCC 12
// under the undefined-behaviour sanitizer takes no null test of such a pointer for a constant.
constexpr std::optional<Box> BoxOf(const Control& control) {
    if (std::holds_alternative<Box>(control.role)) {
        return std::get<Box>(control.role);
    }
    return std::nullopt;
}

// The result a control shows, or nothing for a box or a caption.
constexpr std::optional<ResultLabel> ResultOf(const Control& control) {
    if (std::holds_alternative<ResultLabel>(control.role)) {
        return std::get<ResultLabel>(control.role);
    }
    return std::nullopt;
}

// The initial captions of MOD 1.6 and the best mixes lack the trailing blank that Calculate
// and Clear write; it cannot be seen.
constexpr std::string_view WithoutTrailingBlank(std::string_view text) {
    return text.substr(0, text.size() - 1);
}

// In tab order: the depth box, then the O2 box, are the only controls that take the focus.
// The result captions follow top to bottom, 420 twips apart.
inline constexpr std::array<Control, 12> kControls{{
    {"txtAD", Box{InputBox::txtAD, 2}, "", {450, 540, 2200, 495}, {255, 0, 0}, 12,
     "Actual depth, fsw"},
    {"txtO2", Box{InputBox::txtO2, 3}, "", {3240, 540, 2200, 495}, {255, 0, 0}, 12,
     "Percent O2 in the nitrox mix"},
    {"Label1", Label{}, "Actual Depth fsw", {450, 330, 2205, 255}, kWhite, 8.25,
     "Caption of the depth box"},
    {"Label2", Label{}, "%O2 in Nitrox Mix", {3235, 330, 2205, 255}, kWhite, 8.25,
     "Caption of the O2 box"},
    {"lblEAD", ResultLabel::lblEAD, CaptionPrefix(ResultLabel::lblEAD), {450, 1305, 4995, 405},
     kWhite, 12, "Equivalent air depth, fsw"},
    {"lblMOD14", ResultLabel::lblMOD14, CaptionPrefix(ResultLabel::lblMOD14),
     {450, 1725, 4995, 405}, {255, 0, 255}, 12, "Maximum operating depth at 1.4 atm O2, fsw"},
    {"lblMOD16", ResultLabel::lblMOD16, WithoutTrailingBlank(CaptionPrefix(ResultLabel::lblMOD16)),
     {450, 2145, 4995, 405}, {0, 0, 255}, 12, "Maximum operating depth at 1.6 atm O2, fsw"},
    {"lblBMX14", ResultLabel::lblBMX14, WithoutTrailingBlank(CaptionPrefix(ResultLabel::lblBMX14)),
     {450, 2565, 4995, 405}, {0, 255, 0}, 12, "Best mix for 1.4 ATA of O2, percent O2"},
    {"lblBMX16", ResultLabel::lblBMX16, WithoutTrailingBlank(CaptionPrefix(ResultLabel::lblBMX16)),
     {450, 2985, 4995, 405}, {255, 255, 0}, 12, "Best mix for 1.6 ATA of O2, percent O2"},
    {"lblPO2", ResultLabel::lblPO2, CaptionPrefix(ResultLabel::lblPO2), {450, 3405, 4995, 405},
     {255, 128, 0}, 12, "O2 partial pressure, atm"},
    {"lblPN2", ResultLabel::lblPN2, CaptionPrefix(ResultLabel::lblPN2), {450, 3825, 4995, 405},
     {255, 0, 0}, 12, "N2 partial pressure, atm"},
    {"lblTATA", ResultLabel::lblTATA, CaptionPrefix(ResultLabel::lblTATA), {450, 4245, 4995, 405},
     kWhite, 12, "Total absolute pressure, ATA"},
}};

// What a screen reader or voice control calls a control: the words the diver sees on it. A
// box shows none of its own, so it takes its caption label's.
constexpr std::string_view AccessibleName(const Control& control) {
    const std::optional<Box> box = BoxOf(control);
    return box ? kControls.at(box->caption).text : control.text;
}

// Every box is captioned by a plain label of the form.
constexpr bool EveryBoxHasACaptionLabel() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const std::optional<Box> box = BoxOf(kControls[i]);
        if (box && (box->caption >= kControls.size() ||
                               !std::holds_alternative<Label>(kControls[box->caption].role))) {
            return false;
        }
    }
    return true;
}
static_assert(EveryBoxHasACaptionLabel(), "a box's caption must be a plain label");

// Where a box or a result label stands in kControls.
constexpr std::size_t IndexOf(InputBox input) {
    std::size_t i = 0;
    while (i < kControls.size() &&
           (!BoxOf(kControls[i]) || BoxOf(kControls[i])->input != input)) {
        ++i;
    }
    return i;
}
constexpr std::size_t IndexOf(ResultLabel label) {
    std::size_t i = 0;
    while (i < kControls.size() && ResultOf(kControls[i]) != label) {
        ++i;
    }
    return i;
}

// The form's type sizes in points, each once, in the order they first appear: a window makes
// one font for each and shares it among the controls of that size.
constexpr std::size_t CountTypeSizes() {
    std::size_t count = 0;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i; ++j) {
            seen = seen || kControls[j].points == kControls[i].points;
        }
        count += seen ? 0 : 1;
    }
    return count;
}
inline constexpr std::size_t kTypeSizeCount = CountTypeSizes();

constexpr std::array<double, kTypeSizeCount> TypeSizes() {
    std::array<double, kTypeSizeCount> sizes{};
    std::size_t count = 0;
    for (const Control& control : kControls) {
        if (std::find(sizes.begin(), sizes.begin() + count, control.points) ==
            sizes.begin() + count) {
            sizes.at(count++) = control.points;
        }
    }
    return sizes;
}
inline constexpr std::array<double, kTypeSizeCount> kTypeSizes = TypeSizes();

// Which of kTypeSizes the control at `index` is drawn in.
constexpr std::size_t TypeSizeOf(std::size_t index) {
    const double points = kControls.at(index).points;
    return static_cast<std::size_t>(std::find(kTypeSizes.begin(), kTypeSizes.end(), points) -
                                    kTypeSizes.begin());
}

// The order the controls are made in, which is the window order that a screen reader walks:
// the description's, except that each box's caption label comes right before the box, so the
// reader names the box after it.
constexpr std::array<std::size_t, kControls.size()> CreationOrder() {
    std::array<std::size_t, kControls.size()> order{};
    std::array<bool, kControls.size()> placed{};
    std::size_t next = 0;
    const auto place = [&](std::size_t index) {
        if (!placed.at(index)) {
            placed.at(index) = true;
            order.at(next++) = index;
        }
    };
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (const std::optional<Box> box = BoxOf(kControls[i])) {
            place(box->caption);
        }
        place(i);
    }
    return order;
}
inline constexpr std::array<std::size_t, kControls.size()> kCreationOrder = CreationOrder();

// What a menu entry does, each run through the window's dispatch. Exit ends the process,
// which the window itself then does.
enum class Command { Calculate, Clear, Print, About, Exit };

// A command on the bar or in a drop-down.
struct MenuItem {
    std::string_view name;
    std::string_view caption;  // "&" marks the access key
    Command command;
};

// The File drop-down's items, in their order.
inline constexpr std::array<MenuItem, 3> kFileMenu{{
    {"mnuPrint", "&Print", Command::Print},
    {"mnuABOUT", "&About", Command::About},
    {"mnuEXIT", "E&xit", Command::Exit},
}};

// The menu bar, left to right: the File drop-down, then Clear and Calculate, which are
// commands on the bar itself and run at once.
struct FileMenu {
    std::string_view name = "mnuFILE";
    std::string_view caption = "&File";
};
using MenuBarEntry = std::variant<FileMenu, MenuItem>;
inline constexpr std::array<MenuBarEntry, 3> kMenuBar{{
    FileMenu{},
    MenuItem{"mnuCLEAR", "&Clear", Command::Clear},
    MenuItem{"mnuCALC", "Calculate", Command::Calculate},
}};

}  // namespace pelagrin::form
