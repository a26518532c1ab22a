#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

#include "Version.h"
#include "core/ResultCaptions.h"
#include "core/View.h"

namespace pelagrin::form {

// The calculator's one window as data: what each control is, where it sits, how it looks and
// which command each menu entry runs. Every window of the calculator is drawn from this, so
// whatever the toolkit, the diver sees the same form. Positions are in twips (1/1440 inch).

inline constexpr std::string_view kCaption = "EAD Calculator";
// The title of every message box that has none of its own, and of the error boxes: the
// application's, which the build sets (Version.h).
using pelagrin::kApplicationTitle;

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
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kOrange{255, 128, 0};

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

// The form's two type sizes: a box's caption is set smaller than what the diver types and
// reads. A window makes one font of each and shares it among the controls of that size.
enum class Type { Caption, Figure };
inline constexpr std::array<double, 2> kPoints{8.25, 12};  // by Type

constexpr double Points(Type type) {
    return kPoints.at(static_cast<std::size_t>(type));
}

// What a control is, one of three: a plain label (a box's caption), the label of one result,
// or the box of one input, which names the label over it.
struct Label {};
struct Box {
    InputBox input;
    std::string_view caption;  // the name of its caption label
};
using Role = std::variant<Label, ResultLabel, Box>;

struct Control {
    std::string_view name;
    Role role;
    std::string_view text;  // initial text
    Place place;
    Rgb colour;  // of the text
    Type type;
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

// In the order the controls are made, which is the window order a screen reader walks: each
// box right after its caption label, so the reader names the box by it. The depth box, then
// the O2 box, are the only controls that take the focus. Then the window's rows of results,
// top to bottom, 420 twips apart. A control a row: its name, role and initial text, then its
// place, colour, type size and what a screen reader adds.
// clang-format off
inline constexpr std::array<Control, 12> kControls{{
    {"Label1",   Label{},               "Actual Depth fsw",
     {450, 330, 2205, 255},  kWhite,   Type::Caption, "Caption of the depth box"},
    {"txtAD",    Box{InputBox::txtAD, "Label1"}, "",
     {450, 540, 2200, 495},  kRed,     Type::Figure,  "Actual depth, fsw"},
    {"Label2",   Label{},               "%O2 in Nitrox Mix",
     {3235, 330, 2205, 255}, kWhite,   Type::Caption, "Caption of the O2 box"},
    {"txtO2",    Box{InputBox::txtO2, "Label2"}, "",
     {3240, 540, 2200, 495}, kRed,     Type::Figure,  "Percent O2 in the nitrox mix"},
    {"lblEAD",   ResultLabel::lblEAD,   CaptionPrefix(ResultLabel::lblEAD),
     {450, 1305, 4995, 405}, kWhite,   Type::Figure,  "Equivalent air depth, fsw"},
    {"lblMOD14", ResultLabel::lblMOD14, CaptionPrefix(ResultLabel::lblMOD14),
     {450, 1725, 4995, 405}, kMagenta, Type::Figure,  "Maximum operating depth at 1.4 atm O2, fsw"},
    {"lblMOD16", ResultLabel::lblMOD16, WithoutTrailingBlank(CaptionPrefix(ResultLabel::lblMOD16)),
     {450, 2145, 4995, 405}, kBlue,    Type::Figure,  "Maximum operating depth at 1.6 atm O2, fsw"},
    {"lblBMX14", ResultLabel::lblBMX14, WithoutTrailingBlank(CaptionPrefix(ResultLabel::lblBMX14)),
     {450, 2565, 4995, 405}, kGreen,   Type::Figure,  "Best mix for 1.4 ATA of O2, percent O2"},
    {"lblBMX16", ResultLabel::lblBMX16, WithoutTrailingBlank(CaptionPrefix(ResultLabel::lblBMX16)),
     {450, 2985, 4995, 405}, kYellow,  Type::Figure,  "Best mix for 1.6 ATA of O2, percent O2"},
    {"lblPO2",   ResultLabel::lblPO2,   CaptionPrefix(ResultLabel::lblPO2),
     {450, 3405, 4995, 405}, kOrange,  Type::Figure,  "O2 partial pressure, atm"},
    {"lblPN2",   ResultLabel::lblPN2,   CaptionPrefix(ResultLabel::lblPN2),
     {450, 3825, 4995, 405}, kRed,     Type::Figure,  "N2 partial pressure, atm"},
    {"lblTATA",  ResultLabel::lblTATA,  CaptionPrefix(ResultLabel::lblTATA),
     {450, 4245, 4995, 405}, kWhite,   Type::Figure,  "Total absolute pressure, ATA"},
}};
// clang-format on

// Where a control stands in kControls, found by its name, its input or its result; past the
// end for none.
constexpr std::size_t IndexOf(std::string_view name) {
    std::size_t i = 0;
    while (i < kControls.size() && kControls[i].name != name) {
        ++i;
    }
    return i;
}
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

// What a screen reader or voice control calls a control: the words the diver sees on it. A
// box shows none of its own, so it takes its caption label's.
constexpr std::string_view AccessibleName(const Control& control) {
    const std::optional<Box> box = BoxOf(control);
    return box ? kControls.at(IndexOf(box->caption)).text : control.text;
}

// Every box's caption is a plain label of the form, made right before the box.
constexpr bool EachBoxFollowsItsCaption() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const std::optional<Box> box = BoxOf(kControls[i]);
        if (box && (i == 0 || kControls[i - 1].name != box->caption ||
                    !std::holds_alternative<Label>(kControls[i - 1].role))) {
            return false;
        }
    }
    return true;
}
static_assert(EachBoxFollowsItsCaption(), "a box must come right after its caption label");

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
