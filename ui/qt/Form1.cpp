#include "ui/qt/Form1.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>

#include <array>
#include <cstddef>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/View.h"
#include "ui/Dispatch.h"
#include "ui/FormDescription.h"
#include "ui/qt/Announcer.h"
#include "ui/qt/CaptionLabel.h"
#include "ui/qt/MessagePresenter.h"

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

void Paint(QWidget* widget, QPalette::ColorRole text_role, form::Rgb text,
           QPalette::ColorRole background_role) {
    QPalette palette = widget->palette();
    palette.setColor(text_role, Colour(text));
    palette.setColor(background_role, Colour(form::kBlack));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

CaptionLabel* MakeLabel(QWidget* client, const form::Control& control) {
    auto* label = new CaptionLabel(Text(control.text), Text(control.description), client);
    Paint(label, QPalette::WindowText, control.colour, QPalette::Window);
    return label;
}

QLineEdit* MakeBox(QWidget* client, const form::Control& control) {
    auto* box = new QLineEdit(Text(control.text), client);
    box->setMaxLength(std::numeric_limits<int>::max());  // no limit on what may be typed
    box->setAccessibleName(Text(form::AccessibleName(control)));
    box->setAccessibleDescription(Text(control.description));
    // The frame is drawn from the desktop's window colour, as on any other box, instead of
    // vanishing into the black window around it.
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    box->setPalette(palette);
    Paint(box, QPalette::Text, control.colour, QPalette::Base);
    return box;
}

}  // namespace

Form1::Form1(std::unique_ptr<MessagePresenter> presenter) : presenter_(std::move(presenter)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Text(form::kCaption));

    auto* client = new QWidget(this);
    client->setFixedSize(form::Pixels(form::kClientWidth), form::Pixels(form::kClientHeight));
    Paint(client, QPalette::WindowText, form::kWhite, QPalette::Window);
    setCentralWidget(client);
    BuildControls(client);
    announcer_ = new Announcer(client);
    BuildMenus();

    // Not resizable: the window is exactly its menu bar over the client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    FocusDepthBox();
}

Form1::~Form1() = default;

void Form1::BuildControls(QWidget* client) {
    std::array<QWidget*, form::kControls.size()> widgets{};  // in the description's order
    QWidget* previous_box = nullptr;
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        const form::Control& control = form::kControls[i];
        QWidget* widget = nullptr;
        if (const std::optional<form::Box> role = form::BoxOf(control)) {
            QLineEdit* box = MakeBox(client, control);
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
            CaptionLabel* label = MakeLabel(client, control);
            if (const auto result = form::ResultOf(control)) {
                results_.at(static_cast<std::size_t>(*result)) = label;
            }
            widget = label;
        }
        widget->setObjectName(Text(control.name));
        widget->setGeometry(Rect(control.place));
        widget->setFont(WindowFont(control.points));
        widgets.at(i) = widget;
    }
    // Each caption label overlaps the top of its box by a few pixels: the boxes go on top,
    // so their borders are drawn whole.
    for (QLineEdit* box : boxes_) {
        box->raise();
    }
    // Screen readers learn which caption labels which box, as they would from a dialog.
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        if (const std::optional<form::Box> role = form::BoxOf(form::kControls[i])) {
            static_cast<QLabel*>(widgets.at(role->caption))->setBuddy(widgets.at(i));
        }
    }
}

void Form1::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = nullptr;
    for (const form::MenuEntry& entry : form::kMenus) {
        if (!entry.command) {
            file = bar->addMenu(Text(entry.caption));
            file->setObjectName(Text(entry.name));
            continue;
        }
        QAction* action = entry.place == form::MenuPlace::File ? file->addAction(Text(entry.caption))
                                                               : bar->addAction(Text(entry.caption));
        action->setObjectName(Text(entry.name));
        const form::Command command = *entry.command;
        connect(action, &QAction::triggered, this,
                [this, command] { Handle(Dispatch(command, *this, values_)); });
    }
}

void Form1::Handle(const Outcome& outcome) {
    if (outcome.close) {
        // A close request like any other, and Qt never refuses one unasked.
        close();
        return;
    }
    if (outcome.fault) {
        // A file error names the log's path in the file system's own encoding.
        presenter_->Present(this, Text(form::kApplicationTitle),
                            QFile::decodeName(QByteArray::fromStdString(*outcome.fault)),
                            QMessageBox::Critical);
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
    presenter_->Present(this, Text(title.value_or(form::kApplicationTitle)), lines,
                        style == MessageStyle::MessageInformation ? QMessageBox::Information
                                                                  : QMessageBox::NoIcon);
}

}  // namespace pelagrin
