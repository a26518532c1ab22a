#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

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

enum class Kind { Label, TextBox };

struct Control {
    std::string_view name;
    Kind kind;
    std::string_view text;  // initial text
    Place place;
    Rgb colour;  // of the text
    double points;
    std::optional<InputBox> box;        // the input it holds, for a text box
    std::optional<ResultLabel> result;  // the figure it shows, for a result label
    // What a screen reader adds to the control's name: the figure or input it stands for,
    // in full words. The name itself is what the diver sees (AccessibleName).
    std::string_view description;
};

// The initial captions of MOD 1.6 and the best mixes lack the trailing blank that Calculate
// and Clear write; it cannot be seen.
constexpr std::string_view WithoutTrailingBlank(std::string_view text) {
    return text.substr(0, text.size() - 1);
}

// In tab order: the depth box, then the O2 box, are the only controls that take the focus.
// The result captions follow top to bottom, 420 twips apart.
inline constexpr std::array<Control, 12> kControls{{
    {"txtAD", Kind::TextBox, "", {450, 540, 2200, 495}, {255, 0, 0}, 12, InputBox::txtAD,
     std::nullopt, "Actual depth, fsw"},
    {"txtO2", Kind::TextBox, "", {3240, 540, 2200, 495}, {255, 0, 0}, 12, InputBox::txtO2,
     std::nullopt, "Percent O2 in the nitrox mix"},
    {"Label1", Kind::Label, "Actual Depth fsw", {450, 330, 2205, 255}, kWhite, 8.25,
     std::nullopt, std::nullopt, "Caption of the depth box"},
    {"Label2", Kind::Label, "%O2 in Nitrox Mix", {3235, 330, 2205, 255}, kWhite, 8.25,
     std::nullopt, std::nullopt, "Caption of the O2 box"},
    {"lblEAD", Kind::Label, CaptionPrefix(ResultLabel::lblEAD), {450, 1305, 4995, 405}, kWhite,
     12, std::nullopt, ResultLabel::lblEAD, "Equivalent air depth, fsw"},
    {"lblMOD14", Kind::Label, CaptionPrefix(ResultLabel::lblMOD14), {450, 1725, 4995, 405},
     {255, 0, 255}, 12, std::nullopt, ResultLabel::lblMOD14,
     "Maximum operating depth at 1.4 atm O2, fsw"},
    {"lblMOD16", Kind::Label, WithoutTrailingBlank(CaptionPrefix(ResultLabel::lblMOD16)),
     {450, 2145, 4995, 405}, {0, 0, 255}, 12, std::nullopt, ResultLabel::lblMOD16,
     "Maximum operating depth at 1.6 atm O2, fsw"},
    {"lblBMX14", Kind::Label, WithoutTrailingBlank(CaptionPrefix(ResultLabel::lblBMX14)),
     {450, 2565, 4995, 405}, {0, 255, 0}, 12, std::nullopt, ResultLabel::lblBMX14,
     "Best mix for 1.4 ATA of O2, percent O2"},
    {"lblBMX16", Kind::Label, WithoutTrailingBlank(CaptionPrefix(ResultLabel::lblBMX16)),
     {450, 2985, 4995, 405}, {255, 255, 0}, 12, std::nullopt, ResultLabel::lblBMX16,
     "Best mix for 1.6 ATA of O2, percent O2"},
    {"lblPO2", Kind::Label, CaptionPrefix(ResultLabel::lblPO2), {450, 3405, 4995, 405},
     {255, 128, 0}, 12, std::nullopt, ResultLabel::lblPO2, "O2 partial pressure, atm"},
    {"lblPN2", Kind::Label, CaptionPrefix(ResultLabel::lblPN2), {450, 3825, 4995, 405},
     {255, 0, 0}, 12, std::nullopt, ResultLabel::lblPN2, "N2 partial pressure, atm"},
    {"lblTATA", Kind::Label, CaptionPrefix(ResultLabel::lblTATA), {450, 4245, 4995, 405},
     kWhite, 12, std::nullopt, ResultLabel::lblTATA, "Total absolute pressure, ATA"},
}};

// The caption label over each box. A screen reader on Windows names a box after the label
// just before it in the window order, so each box is made right after its caption.
struct BoxCaption {
    std::string_view label;
    std::string_view box;
};
inline constexpr std::array<BoxCaption, 2> kBoxCaptions{{
    {"Label1", "txtAD"},
    {"Label2", "txtO2"},
}};

// What a screen reader or voice control calls a control: the words the diver sees on it. A
// box shows none of its own, so it takes its caption label's.
constexpr std::string_view AccessibleName(const Control& control) {
    for (const BoxCaption& caption : kBoxCaptions) {
        if (caption.box == control.name) {
            const auto* label =
                std::find_if(kControls.begin(), kControls.end(),
                             [&caption](const Control& c) { return c.name == caption.label; });
            if (label != kControls.end()) {
                return label->text;
            }
        }
    }
    return control.text;
}

// What a menu entry does. Exit ends the process, which only the window itself can do; the
// others are the commands of the window's dispatch.
enum class Command { Calculate, Clear, Print, About, Exit };

enum class MenuPlace { Bar, File };

struct MenuEntry {
    std::string_view name;
    std::string_view caption;  // "&" marks the access key
    MenuPlace place;
    std::optional<Command> command;  // none for the File drop-down itself
};

// Left to right, the File drop-down's items in their order. Clear and Calculate are
// commands on the bar itself and run at once.
inline constexpr std::array<MenuEntry, 6> kMenus{{
    {"mnuFILE", "&File", MenuPlace::Bar, std::nullopt},
    {"mnuPrint", "&Print", MenuPlace::File, Command::Print},
    {"mnuABOUT", "&About", MenuPlace::File, Command::About},
    {"mnuEXIT", "E&xit", MenuPlace::File, Command::Exit},
    {"mnuCLEAR", "&Clear", MenuPlace::Bar, Command::Clear},
    {"mnuCALC", "Calculate", MenuPlace::Bar, Command::Calculate},
}};

}  // namespace pelagrin::form
