#include "ui/qt/Form1.h"

#include <QApplication>
#include <QBrush>
#include <QFile>
#include <QFont>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPalette>
#include <QStyle>

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "core/View.h"
#include "ui/Dispatch.h"
#include "ui/FormColours.h"
#include "ui/FormDescription.h"
#include "ui/qt/Announcer.h"
#include "ui/qt/CaptionLabel.h"
#include "ui/qt/DesktopContrast.h"

namespace pelagrin {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Logical pixels: Qt scales them on high-density screens.
QRect Rect(form::Place p) {
    return {form::Pixels(p.left), form::Pixels(p.top), form::Pixels(p.width),
            form::Pixels(p.height)};
}

QColor Colour(form::Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

QFont WindowFont(double points) {
    QFont font;
    font.setFamilies({Text(form::kFontFace), Text(form::kFallbackFontFace)});
    font.setPointSizeF(points);
    font.setWeight(QFont::Weight(form::kFontWeight));
    return font;
}

// A box's text sits on its base; a label's, and the window's, on the window colour.
void Paint(QWidget* widget, form::Colours colours, bool high_contrast) {
    const bool box = qobject_cast<QLineEdit*>(widget) != nullptr;
    QPalette palette = widget->palette();
    palette.setColor(box ? QPalette::Text : QPalette::WindowText, Colour(colours.text));
    palette.setColor(box ? QPalette::Base : QPalette::Window, Colour(colours.background));
    if (box) {
        // A box's frame is drawn from the desktop's window colour, as on any other box, instead
        // of vanishing into the black window around it; in high contrast its selection and
        // focus frame take the text's colours rather than the desktop's accent colour.
        const QPalette desktop = QApplication::palette();
        palette.setColor(QPalette::Window, desktop.color(QPalette::Window));
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setBrush(group, QPalette::Highlight,
                             high_contrast ? QBrush(Colour(colours.text))
                                           : desktop.brush(group, QPalette::Highlight));
            palette.setBrush(group, QPalette::HighlightedText,
                             high_contrast ? QBrush(Colour(colours.background))
                                           : desktop.brush(group, QPalette::HighlightedText));
        }
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLineEdit* MakeBox(QWidget* client, const form::Control& control) {
    auto* box = new QLineEdit(Text(control.text), client);
    box->setMaxLength(std::numeric_limits<int>::max());  // no limit on what may be typed
    box->setAccessibleName(Text(form::AccessibleName(control)));
    box->setAccessibleDescription(Text(control.description));
    return box;
}

// What the desktop's theme gives for windows and their text, where it gives Qt a palette of
// its own (a Plasma colour scheme, say). Qt's built-in palette is no choice of the diver's:
// without a theme's, white on black.
form::SystemColours DesktopColours(bool high_contrast) {
    const QPalette desktop = QApplication::palette();
    const QPalette built_in = QApplication::style()->standardPalette();
    const auto rgb = [&desktop](QPalette::ColorRole role) {
        const QColor colour = desktop.color(QPalette::Active, role);
        return form::Rgb{static_cast<std::uint8_t>(colour.red()),
                         static_cast<std::uint8_t>(colour.green()),
                         static_cast<std::uint8_t>(colour.blue())};
    };
    const bool themed = desktop.color(QPalette::Active, QPalette::Window) !=
                            built_in.color(QPalette::Active, QPalette::Window) ||
                        desktop.color(QPalette::Active, QPalette::WindowText) !=
                            built_in.color(QPalette::Active, QPalette::WindowText);
    if (!themed) {
        return {high_contrast, form::kBlack, form::kWhite};
    }
    return {high_contrast, rgb(QPalette::Window), rgb(QPalette::WindowText)};
}

}  // namespace

Form1::Form1(MessageBoxRunner run_box) : run_box_(std::move(run_box)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Text(form::kCaption));

    auto* client = new QWidget(this);
    client->setFixedSize(form::Pixels(form::kClientWidth), form::Pixels(form::kClientHeight));
    setCentralWidget(client);
    BuildControls(client);
    Recolour();
    announcer_ = new Announcer(client);
    BuildMenus();

    // Not resizable: the window is exactly its menu bar over the client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    FocusDepthBox();

    // As designed until the desktop says it wants high contrast, which may come after the
    // first paint: the start never waits on it.
    auto* contrast = new DesktopContrast(this);
    connect(contrast, &DesktopContrast::Changed, this, [this](bool high) {
        colours_ = DesktopColours(high);
        Recolour();
    });
    contrast->Ask();
}

Form1::~Form1() = default;

void Form1::BuildControls(QWidget* client) {
    QWidget* previous_box = nullptr;
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        const form::Control& control = form::kControls[i];
        QWidget* widget = nullptr;
        if (const std::optional<form::Box> role = form::BoxOf(control)) {
            QLineEdit* box = MakeBox(client, control);
            box->installEventFilter(&keypad_decimal_key_);
            boxes_.at(static_cast<std::size_t>(role->input)) = box;
            // Enter, main or keypad, with any modifier and on every auto-repeat.
            connect(box, &QLineEdit::returnPressed, this,
                    [this, input = role->input] { Handle(PressEnter(input, *this, values_)); });
            if (previous_box != nullptr) {
                QWidget::setTabOrder(previous_box, box);
            }
            previous_box = box;
            widget = box;
        } else {
            auto* label =
                new CaptionLabel(Text(control.text), Text(control.description), client);
            if (const auto result = form::ResultOf(control)) {
                results_.at(static_cast<std::size_t>(*result)) = label;
            }
            widget = label;
        }
        widget->setObjectName(Text(control.name));
        widget->setGeometry(Rect(control.place));
        widget->setFont(WindowFont(form::Points(control.type)));
        controls_.at(i) = widget;
    }
    // Each caption label overlaps the top of its box by a few pixels: the boxes go on top,
    // so their borders are drawn whole.
    for (QLineEdit* box : boxes_) {
        box->raise();
    }
    // Screen readers learn which caption labels which box, as they would from a dialog.
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        if (const std::optional<form::Box> role = form::BoxOf(form::kControls[i])) {
            static_cast<QLabel*>(controls_.at(form::IndexOf(role->caption)))
                ->setBuddy(controls_.at(i));
        }
    }
}

void Form1::Recolour() {
    const bool high = colours_.high_contrast;
    Paint(centralWidget(),
          high ? form::HighContrastColours(colours_) : form::Colours{form::kWhite, form::kBlack},
          high);
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        Paint(controls_.at(i), form::ControlColours(form::kControls[i], colours_), high);
    }
}

void Form1::BuildMenus() {
    QMenuBar* bar = menuBar();
    for (const form::MenuBarEntry& entry : form::kMenuBar) {
        if (const auto* item = std::get_if<form::MenuItem>(&entry)) {
            AddCommand(bar, *item);
            continue;
        }
        const auto& file_menu = std::get<form::FileMenu>(entry);
        QMenu* file = bar->addMenu(Text(file_menu.caption));
        file->setObjectName(Text(file_menu.name));
        for (const form::MenuItem& item : form::kFileMenu) {
            AddCommand(file, item);
        }
    }
}

void Form1::AddCommand(QWidget* menu, const form::MenuItem& item) {
    QAction* action = menu->addAction(Text(item.caption));
    action->setObjectName(Text(item.name));
    connect(action, &QAction::triggered, this,
            [this, command = item.command] { Handle(Dispatch(command, *this, values_)); });
}

void Form1::Handle(const Outcome& outcome) {
    if (outcome.close) {
        // A close request like any other, and Qt never refuses one unasked.
        close();
        return;
    }
    if (outcome.fault) {
        // A file error names the log's path in the file system's own encoding.
        Raise(Text(form::kApplicationTitle),
              QFile::decodeName(QByteArray::fromStdString(*outcome.fault)), QMessageBox::Critical);
        return;
    }
    if (!outcome.spoken.empty()) {
        announcer_->Say(Text(SpokenText(outcome.spoken, kCaptionPerLine)));
    }
}

std::string Form1::InputText(InputBox box) const {
    return boxes_.at(static_cast<std::size_t>(box))->text().toStdString();
}

void Form1::SetInputText(InputBox box, std::string_view text) {
    boxes_.at(static_cast<std::size_t>(box))->setText(Text(text));
}

void Form1::SetCaption(ResultLabel label, std::string_view text) {
    results_.at(static_cast<std::size_t>(label))->SetCaption(Text(text));
}

void Form1::FocusDepthBox() {
    boxes_.at(static_cast<std::size_t>(InputBox::txtAD))->setFocus();
}

void Form1::KeepPainted() {
    // Drawn straight to the screen, some ten times a second, without taking a single event:
    // no key, click or menu choice can start another command in the middle of a Print.
    constexpr qint64 kRepaintEvery = 100;  // ms
    if (!since_painted_.isValid() || since_painted_.elapsed() >= kRepaintEvery) {
        repaint();
        since_painted_.start();
    }
}

void Form1::ShowMessage(std::string_view text, MessageStyle style,
                        std::optional<std::string_view> title) {
    QString lines = Text(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Raise(
        Text(title.value_or(form::kApplicationTitle)), lines,
        style == MessageStyle::MessageInformation ? QMessageBox::Information : QMessageBox::NoIcon);
}

void Form1::Raise(const QString& title, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);  // a file path is text, never markup
    run_box_(box);
}

}  // namespace pelagrin
