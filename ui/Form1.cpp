#include "ui/Form1.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>

#include <limits>
#include <utility>

#include "core/Calculate.h"
#include "core/RunTimeError.h"
#include "log/LogResults.h"
#include "ui/EnterKeyFilter.h"
#include "ui/WindowCommands.h"

namespace pelagrin {
namespace {

const QString kApplicationTitle = QStringLiteral("Pelagrin");

// The window's geometry is drawn in twips, 15 to a logical pixel (1/96 inch); Qt scales
// logical pixels on high-density screens.
constexpr int Twips(int twips) {
    return (twips + 7) / 15;
}

struct Place {
    int left;
    int top;
    int width;
    int height;
};

constexpr QRect Rect(Place p) {
    return {Twips(p.left), Twips(p.top), Twips(p.width), Twips(p.height)};
}

QFont WindowFont(double points) {
    QFont font;
    // The classic Windows face where it exists, else its metric twin shipped by the set-up.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(points);
    font.setWeight(QFont::Bold);
    return font;
}

void Colour(QWidget* widget, QPalette::ColorRole text_role, QColor text,
            QPalette::ColorRole background_role) {
    QPalette palette = widget->palette();
    palette.setColor(text_role, text);
    palette.setColor(background_role, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* MakeLabel(QWidget* client, const char* name, const char* text, Place place, QColor colour,
                  double points, const char* accessible_description) {
    auto* label = new QLabel(QString::fromLatin1(text), client);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(Rect(place));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(WindowFont(points));
    label->setAccessibleDescription(QString::fromLatin1(accessible_description));
    Colour(label, QPalette::WindowText, colour, QPalette::Window);
    return label;
}

QLineEdit* MakeBox(QWidget* client, const char* name, Place place, const char* accessible_name) {
    auto* box = new QLineEdit(client);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(Rect(place));
    box->setFont(WindowFont(12));
    box->setMaxLength(std::numeric_limits<int>::max());  // no limit on what may be typed
    box->setAccessibleName(QString::fromLatin1(accessible_name));
    // The frame is drawn from the desktop's window colour, as on any other box, instead of
    // vanishing into the black window around it.
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    box->setPalette(palette);
    Colour(box, QPalette::Text, Qt::red, QPalette::Base);
    return box;
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct ResultControl {
    ResultLabel label{};
    const char* name = nullptr;
    const char* text = nullptr;
    int top = 0;
    QColor colour;
    const char* description = nullptr;
};

// Top to bottom as the diver reads them. The MOD 1.6 and best-mix captions start without the
// trailing blank that Calculate and Clear write; it cannot be seen.
const ResultControl kResults[] = {
    {ResultLabel::lblEAD, "lblEAD", "EAD = ", 1305, Qt::white, "Equivalent air depth, fsw"},
    {ResultLabel::lblMOD14, "lblMOD14", "MOD fsw 1.4 atm = ", 1725, Qt::magenta,
     "Maximum operating depth at 1.4 atm O2, fsw"},
    {ResultLabel::lblMOD16, "lblMOD16", "MOD fsw 1.6 atm =", 2145, Qt::blue,
     "Maximum operating depth at 1.6 atm O2, fsw"},
    {ResultLabel::lblBMX14, "lblBMX14", "Best Mix (1.4ATA) =", 2565, Qt::green,
     "Best mix for 1.4 ATA of O2, percent O2"},
    {ResultLabel::lblBMX16, "lblBMX16", "Best Mix (1.6ATA) =", 2985, Qt::yellow,
     "Best mix for 1.6 ATA of O2, percent O2"},
    {ResultLabel::lblPO2, "lblPO2", "PP O2 atm = ", 3405, QColor(255, 128, 0),
     "O2 partial pressure, atm"},
    {ResultLabel::lblPN2, "lblPN2", "PP N2 atm = ", 3825, Qt::red, "N2 partial pressure, atm"},
    {ResultLabel::lblTATA, "lblTATA", "Total ATA = ", 4245, Qt::white,
     "Total absolute pressure, ATA"},
};

}  // namespace

Form1::Form1(std::unique_ptr<MessagePresenter> presenter) : presenter_(std::move(presenter)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("EAD Calculator"));

    auto* client = new QWidget(this);
    client->setFixedSize(Twips(5895), Twips(4935));
    Colour(client, QPalette::WindowText, Qt::white, QPalette::Window);
    setCentralWidget(client);
    BuildControls(client);
    BuildMenus();

    // Not resizable: the window is exactly its menu bar over the client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    txtAD_->setFocus();
}

Form1::~Form1() = default;

void Form1::BuildControls(QWidget* client) {
    MakeLabel(client, "Label1", "Actual Depth fsw", {450, 330, 2205, 255}, Qt::white, 8.25,
              "Caption of the depth box");
    MakeLabel(client, "Label2", "%O2 in Nitrox Mix", {3235, 330, 2205, 255}, Qt::white, 8.25,
              "Caption of the O2 box");
    txtAD_ = MakeBox(client, "txtAD", {450, 540, 2200, 495}, "Actual depth, fsw");
    txtO2_ = MakeBox(client, "txtO2", {3240, 540, 2200, 495}, "Percent O2 in the nitrox mix");
    QWidget::setTabOrder(txtAD_, txtO2_);

    for (const ResultControl& result : kResults) {
        results_[static_cast<std::size_t>(result.label)] =
            MakeLabel(client, result.name, result.text, {450, result.top, 4995, 405},
                      result.colour, 12, result.description);
    }

    new EnterKeyFilter(txtAD_, [this] { RunCalculate(); });
    new EnterKeyFilter(txtO2_, [this] { RunCalculate(); });
}

void Form1::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFILE"));

    const auto add = [this](auto* parent, const char* name, const QString& caption,
                            std::function<void()> command) {
        QAction* action = parent->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, std::move(command));
    };
    add(file, "mnuPrint", QStringLiteral("&Print"),
        [this] { Dispatch([this] { LogResults(*this, values_); }); });
    add(file, "mnuABOUT", QStringLiteral("&About"), [this] { Dispatch([this] { About(*this); }); });
    // Exit is a close request like any other, and Qt never refuses one unasked: the log is
    // closed after every Print, so there is nothing to save and nothing to confirm.
    add(file, "mnuEXIT", QStringLiteral("E&xit"), [this] { close(); });
    add(bar, "mnuCLEAR", QStringLiteral("&Clear"), [this] { Dispatch([this] { Clear(*this); }); });
    add(bar, "mnuCALC", QStringLiteral("Calculate"), [this] { RunCalculate(); });
}

void Form1::RunCalculate() {
    Dispatch([this] { Calculate(*this, values_); });
}

void Form1::Dispatch(const std::function<void()>& command) {
    try {
        command();
    } catch (const RunTimeError& error) {
        presenter_->Present(this, kApplicationTitle, QString::fromUtf8(error.what()),
                            QMessageBox::Critical);
    }
}

QLineEdit* Form1::Box(InputBox box) const {
    return box == InputBox::txtAD ? txtAD_ : txtO2_;
}

std::string Form1::InputText(InputBox box) const {
    return Box(box)->text().toStdString();
}

void Form1::SetInputText(InputBox box, std::string_view text) {
    Box(box)->setText(FromUtf8(text));
}

void Form1::SetCaption(ResultLabel label, std::string_view text) {
    results_[static_cast<std::size_t>(label)]->setText(FromUtf8(text));
}

void Form1::FocusDepthBox() {
    txtAD_->setFocus();
}

void Form1::ShowMessage(std::string_view text, MessageStyle style,
                        std::optional<std::string_view> title) {
    QString lines = FromUtf8(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    presenter_->Present(this, title ? FromUtf8(*title) : kApplicationTitle, lines,
                        style == MessageStyle::MessageInformation ? QMessageBox::Information
                                                                  : QMessageBox::NoIcon);
}

}  // namespace pelagrin
