#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <cmath>
#include <memory>

#include "ui/Form1Fixture.h"
#include "ui/qt/Form1.h"

namespace pelagrin {
namespace {

struct ControlLook {
    const char* name = nullptr;
    QRect twips;  // where the form promises it, within the client area
    QColor colour;
    double points = 0;
    const char* text = nullptr;
};

const ControlLook kControls[] = {
    {"Label1", {450, 330, 2205, 255}, Qt::white, 8.25, "Actual Depth fsw"},
    {"Label2", {3235, 330, 2205, 255}, Qt::white, 8.25, "%O2 in Nitrox Mix"},
    {"txtAD", {450, 540, 2200, 495}, Qt::red, 12, ""},
    {"txtO2", {3240, 540, 2200, 495}, Qt::red, 12, ""},
    {"lblEAD", {450, 1305, 4995, 405}, Qt::white, 12, "EAD = "},
    {"lblMOD14", {450, 1725, 4995, 405}, QColor(255, 0, 255), 12, "MOD fsw 1.4 atm = "},
    {"lblMOD16", {450, 2145, 4995, 405}, QColor(0, 0, 255), 12, "MOD fsw 1.6 atm ="},
    {"lblBMX14", {450, 2565, 4995, 405}, QColor(0, 255, 0), 12, "Best Mix (1.4ATA) ="},
    {"lblBMX16", {450, 2985, 4995, 405}, QColor(255, 255, 0), 12, "Best Mix (1.6ATA) ="},
    {"lblPO2", {450, 3405, 4995, 405}, QColor(255, 128, 0), 12, "PP O2 atm = "},
    {"lblPN2", {450, 3825, 4995, 405}, Qt::red, 12, "PP N2 atm = "},
    {"lblTATA", {450, 4245, 4995, 405}, Qt::white, 12, "Total ATA = "},
};

// Whether `pixels` (15 twips each at a scale of one) cover `twips`, to within the one pixel of
// the screen each edge may be rounded by at this screen's scale.
bool Covers(const QWidget* widget, QRect pixels, QRect twips) {
    const auto near = [scale = widget->devicePixelRatioF()](int pixel, int twip) {
        return std::abs(pixel - twip / 15.0) * scale <= 1.0;
    };
    return near(pixels.left(), twips.left()) && near(pixels.top(), twips.top()) &&
           near(pixels.width(), twips.width()) && near(pixels.height(), twips.height());
}

// How the window looks: where each control lies, its typeface, its menus, and figures too
// wide for their labels.
class Form1LookTest : public testing::Form1Fixture {
    Q_OBJECT

private slots:
    void init() { Open(); }
    void cleanup() { window_.reset(); }

    void controlsAreLaidOutAsDrawn() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("EAD Calculator"));
        QWidget* client = window_->centralWidget();
        QVERIFY(Covers(client, client->rect(), QRect(0, 0, 5895, 4935)));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QCOMPARE(window_->centralWidget()->palette().color(QPalette::Window), QColor(Qt::black));
        for (const ControlLook& c : kControls) {
            auto* widget = window_->findChild<QWidget*>(c.name);
            QVERIFY2(widget != nullptr, c.name);
            QVERIFY2(Covers(widget, widget->geometry(), c.twips), c.name);
            QCOMPARE(widget->font().pointSizeF(), c.points);
            QCOMPARE(widget->font().weight(), QFont::Bold);
            QVERIFY(!widget->font().italic() && !widget->font().underline());
            if (auto* box = qobject_cast<QLineEdit*>(widget)) {
                QCOMPARE(box->text(), QString::fromLatin1(c.text));
                QCOMPARE(box->palette().color(QPalette::Text), c.colour);
                QCOMPARE(box->palette().color(QPalette::Base), QColor(Qt::black));
            } else {
                auto* label = qobject_cast<QLabel*>(widget);
                QCOMPARE(label->text(), QString::fromLatin1(c.text));
                QCOMPARE(label->palette().color(QPalette::WindowText), c.colour);
                QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::black));
                QVERIFY(label->autoFillBackground());
            }
        }
    }

    // Where the classic face is missing, its metric twin keeps the captions inside their labels.
    void textIsInTheClassicFaceOrItsTwin() {
        const QStringList faces = QFontDatabase::families();
        if (!faces.contains(QStringLiteral("MS Sans Serif")) &&
            !faces.contains(QStringLiteral("Liberation Sans"))) {
            QSKIP("neither MS Sans Serif nor Liberation Sans (fonts-liberation) is installed");
        }
        const QString face = QFontInfo(Label("lblEAD")->font()).family();
        QVERIFY2(
            face == QStringLiteral("MS Sans Serif") || face == QStringLiteral("Liberation Sans"),
            qPrintable(face));
    }

    void menusAreFileClearCalculate() {
        QMenuBar* bar = window_->menuBar();
        QStringList top;
        for (QAction* action : bar->actions()) {
            top << action->text();
            QVERIFY(action->isEnabled() && action->isVisible() && !action->isCheckable());
        }
        QCOMPARE(top, (QStringList{"&File", "&Clear", "Calculate"}));
        QVERIFY(Action("mnuCLEAR")->menu() == nullptr);
        QVERIFY(Action("mnuCALC")->menu() == nullptr);
        auto* file = window_->findChild<QMenu*>("mnuFILE");
        QStringList items;
        for (QAction* action : file->actions()) {
            items << action->text();
            QVERIFY(!action->isSeparator() && action->shortcut().isEmpty());
        }
        QCOMPARE(items, (QStringList{"&Print", "&About", "E&xit"}));
    }

    // What a plain label in the place and look of `like` paints for `text`.
    static QImage PaintedPlain(const QLabel* like, const QString& text) {
        QLabel plain(text, like->parentWidget());
        plain.setTextFormat(Qt::PlainText);
        plain.setAlignment(like->alignment());
        plain.setFont(like->font());
        plain.setPalette(like->palette());
        plain.setAutoFillBackground(like->autoFillBackground());
        plain.setGeometry(like->geometry());
        return plain.grab().toImage();
    }

    // A figure too wide for its label is never cut silently: the label is painted ending in
    // an ellipsis, and hovering or a screen reader gives the whole caption. The next figure
    // that fits is painted whole, and the label is described as before.
    void tooWideFiguresEndInAnEllipsisAndShowWhole() {
        QLabel* po2 = Label("lblPO2");
        Type("txtAD", "1e30");
        Type("txtO2", "32");
        PressEnter("txtO2");
        const QString whole = po2->text();
        const QString shown =
            po2->fontMetrics().elidedText(whole, Qt::ElideRight, po2->contentsRect().width());
        QVERIFY2(shown.endsWith(QChar(0x2026)) && shown.size() < whole.size(), qPrintable(shown));
        QCOMPARE(po2->grab().toImage(), PaintedPlain(po2, shown));
        QCOMPARE(po2->toolTip(), whole);
        QCOMPARE(QAccessible::queryAccessibleInterface(po2)->text(QAccessible::Description), whole);

        Type("txtAD", "100");
        PressEnter("txtO2");
        QCOMPARE(po2->text(), QStringLiteral("PP O2 atm = 1.290"));
        QCOMPARE(po2->grab().toImage(), PaintedPlain(po2, po2->text()));
        QVERIFY(po2->toolTip().isEmpty());
        QCOMPARE(QAccessible::queryAccessibleInterface(po2)->text(QAccessible::Description),
                 QStringLiteral("O2 partial pressure, atm"));
    }

    // The longest figures a plan can produce still fit their captions, at any screen scale.
    void longFiguresAreNotClipped() {
        Type("txtAD", "1000");
        Type("txtO2", "0.5");
        PressEnter("txtO2");
        for (const char* name : testing::kResultNames) {
            QLabel* label = Label(name);
            QVERIFY2(label->sizeHint().width() <= label->width(), name);
            QVERIFY2(label->sizeHint().height() <= label->height(), name);
        }
        for (const char* name : {"Label1", "Label2"}) {
            QVERIFY2(Label(name)->sizeHint().width() <= Label(name)->width(), name);
        }
    }
};

}  // namespace

int RunForm1LookTests(int argc, char** argv) {
    Form1LookTest test;
    return QTest::qExec(&test, argc, argv);
}

}  // namespace pelagrin

#include "Form1LookTest.moc"
