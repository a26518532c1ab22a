#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/Dive100Over32.h"
#include "ui/Form1Fixture.h"
#include "ui/qt/Form1.h"

namespace pelagrin {

int RunForm1LookTests(int argc, char** argv);

namespace {

// The name a screen reader hears each time the notification it watches appears.
class ShownNotifications final : public QObject {
public:
    QStringList names;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            names << QAccessible::queryAccessibleInterface(watched)->text(QAccessible::Name);
        }
        return false;
    }
};

// The typical dive's eight captions, as Qt texts.
QStringList Captions100Over32() {
    QStringList captions;
    for (const std::string& caption : testing::Captions100Over32()) {
        captions << QString::fromStdString(caption);
    }
    return captions;
}

class Form1Test : public testing::Form1Fixture {
    Q_OBJECT

private slots:
    void init() { Open(); }
    void cleanup() { window_.reset(); }

    void focusStartsInTheDepthBoxAndTabsToO2() {
        QCOMPARE(QApplication::focusWidget(), Box("txtAD"));
        QTest::keyClick(Box("txtAD"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Box("txtO2"));
        QTest::keyClick(Box("txtO2"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Box("txtAD"));
    }

    void boxesTakeLongTexts() {
        const QString digits(100000, QLatin1Char('9'));
        Type("txtAD", digits);
        QCOMPARE(Box("txtAD")->text().size(), digits.size());
    }

    // Enter, main or keypad and with any modifier, calculates from a box that holds text, even
    // blanks; any other key, or Enter in an empty box, leaves the captions as they opened. One
    // caption a row shows which: which captions each input fills is Calculate's own rule.
    void enterCalculatesOnlyFromAFilledBox_data() {
        QTest::addColumn<QString>("depth");
        QTest::addColumn<QString>("o2");
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QByteArray>("label");
        QTest::addColumn<QString>("caption");
        const auto row = [](const char* name, const char* depth, const char* o2, const char* box,
                            Qt::Key key, Qt::KeyboardModifiers modifiers, const char* label,
                            const char* caption) {
            QTest::newRow(name) << QString(depth) << QString(o2) << QByteArray(box) << int{key}
                                << static_cast<int>(modifiers.toInt()) << QByteArray(label)
                                << QString(caption);
        };
        row("empty depth box, O2 filled", "", "32", "txtAD", Qt::Key_Return, Qt::NoModifier,
            "lblMOD14", "MOD fsw 1.4 atm = ");
        row("other key", "100", "32", "txtAD", Qt::Key_Tab, Qt::NoModifier, "lblEAD", "EAD = ");
        row("only O2 filled, keypad Enter", "", "50", "txtO2", Qt::Key_Enter, Qt::KeypadModifier,
            "lblMOD14", "MOD fsw 1.4 atm = 59.400");
        row("Shift+Enter in a box of blanks", "  ", "21", "txtAD", Qt::Key_Return,
            Qt::ShiftModifier, "lblEAD", "EAD = .000");
        row("Ctrl+Enter", "33", "50", "txtO2", Qt::Key_Return, Qt::ControlModifier, "lblEAD",
            "EAD = 8.772");
    }
    void enterCalculatesOnlyFromAFilledBox() {
        QFETCH(QString, depth);
        QFETCH(QString, o2);
        QFETCH(QByteArray, box);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QByteArray, label);
        QFETCH(QString, caption);
        Type("txtAD", depth);
        Type("txtO2", o2);
        PressEnter(box.constData(), static_cast<Qt::Key>(key),
                   Qt::KeyboardModifiers::fromInt(modifiers));
        QCOMPARE(Caption(label.constData()), caption);
        QVERIFY(shown_.empty());
    }

    void heldEnterRecalculatesTheSame() {
        Type("txtAD", "130");
        Type("txtO2", "36");
        PressEnter("txtO2");
        const QStringList first = Captions();
        Label("lblEAD")->clear();
        for (int i = 0; i < 5; ++i) {
            PressEnter("txtO2", Qt::Key_Return, Qt::NoModifier, true);
            QCOMPARE(Captions(), first);
        }
        QCOMPARE(first.first(), QStringLiteral("EAD = 99.051"));
    }

    void clearResetsTheScreenButKeepsTheFigures() {
        Type("txtAD", "100");
        Type("txtO2", "32");
        PressEnter("txtO2");
        Box("txtO2")->setFocus();
        Action("mnuCLEAR")->trigger();
        QCOMPARE(Box("txtAD")->text(), QString());
        QCOMPARE(Box("txtO2")->text(), QString());
        QCOMPARE(Captions(), (QStringList{"EAD = ", "MOD fsw 1.4 atm = ", "MOD fsw 1.6 atm = ",
                                          "Best Mix (1.4ATA) = ", "Best Mix (1.6ATA) = ",
                                          "PP O2 atm = ", "PP N2 atm = ", "Total ATA = "}));
        QCOMPARE(QApplication::focusWidget(), Box("txtAD"));
    }

    void clearAtStartLooksTheSame() {
        const QImage before = window_->grab().toImage();
        Action("mnuCLEAR")->trigger();
        QCOMPARE(window_->grab().toImage(), before);
        QCOMPARE(QApplication::focusWidget(), Box("txtAD"));
    }

    void aFaultIsReportedAndTheWindowCarriesOn() {
        Type("txtAD", "100");
        Type("txtO2", "32");
        PressEnter("txtO2");
        Type("txtO2", "0");
        PressEnter("txtO2");
        QCOMPARE(shown_.size(), size_t{1});
        QCOMPARE(shown_[0].title, QStringLiteral("Pelagrin"));
        QVERIFY(shown_[0].text.contains(QStringLiteral("Division by zero")));
        QCOMPARE(shown_[0].icon, QMessageBox::Critical);
        QCOMPARE(shown_[0].format, Qt::PlainText);  // a log's path is never read as markup
        QCOMPARE(Captions(), (QStringList{"EAD = 135.354", "MOD fsw 1.4 atm = 111.375",
                                          "MOD fsw 1.6 atm = 132.000", "Best Mix (1.4ATA) = 34",
                                          "Best Mix (1.6ATA) = 39", "PP O2 atm = .000",
                                          "PP N2 atm = 4.030", "Total ATA = 4.030"}));

        Type("txtO2", "50");
        PressEnter("txtO2");
        QCOMPARE(Caption("lblMOD14"), QStringLiteral("MOD fsw 1.4 atm = 59.400"));
        QCOMPARE(shown_.size(), size_t{1});
    }

    void aboutNamesTheAuthor() {
        Action("mnuABOUT")->trigger();
        QCOMPARE(shown_.size(), size_t{1});
        QCOMPARE(shown_[0].title, QStringLiteral("Pelagrin  Version " PELAGRIN_VERSION));
        QCOMPARE(shown_[0].icon, QMessageBox::Information);
        const QStringList lines = shown_[0].text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("EAD Calculator by Morvane"));
        QVERIFY(lines[1].contains(QLatin1Char('@')));
        QCOMPARE(lines[2], QStringLiteral("For Tech Divers!"));
    }

    void exitAndCloseRequestsEndTheApplication_data() {
        QTest::addColumn<QByteArray>("way");
        QTest::newRow("File > Exit") << QByteArray("mnuEXIT");
        QTest::newRow("close request") << QByteArray();
    }
    void exitAndCloseRequestsEndTheApplication() {
        QFETCH(QByteArray, way);
        Type("txtAD", "100");
        Type("txtO2", "32");
        PressEnter("txtO2");
        if (way.isEmpty()) {
            QVERIFY(window_->close());
        } else {
            Action(way.constData())->trigger();
        }
        // The last window gone, the event loop ends; no box asks first.
        QVERIFY(!window_->isVisible());
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            QVERIFY(!widget->isVisible());
        }
        QVERIFY(shown_.empty());
    }

    void screenReadersHearNamesAndFigures() {
        Type("txtAD", "100");
        Type("txtO2", "32");
        PressEnter("txtO2");
        QAccessibleInterface* depth = QAccessible::queryAccessibleInterface(Box("txtAD"));
        // Named with the words on screen, so "click Actual Depth fsw" reaches it by voice.
        QCOMPARE(depth->text(QAccessible::Name), QStringLiteral("Actual Depth fsw"));
        QCOMPARE(depth->text(QAccessible::Description), QStringLiteral("Actual depth, fsw"));
        QCOMPARE(depth->text(QAccessible::Value), QStringLiteral("100"));
        // and labelled by the caption that shows those words.
        for (const auto& [box, caption] : {std::pair{"txtAD", "Label1"}, {"txtO2", "Label2"}}) {
            const auto labels =
                QAccessible::queryAccessibleInterface(Box(box))->relations(QAccessible::Label);
            QVERIFY2(labels.size() == 1 && labels[0].first->object() == Label(caption), box);
        }
        for (const char* name : testing::kResultNames) {
            QAccessibleInterface* label = QAccessible::queryAccessibleInterface(Label(name));
            QCOMPARE(label->text(QAccessible::Name), Caption(name));
            QVERIFY2(!label->text(QAccessible::Description).isEmpty(), name);
        }
    }

    // After a Calculate a screen reader hears the captions it wrote, in that order, once: a
    // notification appears named with them, while the focus stays in the box and nothing
    // new is drawn. A Calculate with nothing to say (here one that ended in an error box) shows
    // no notification at all.
    // Typed from the keyboard, the labels show what was heard, and Enter leaves the box's
    // text as it was.
    void calculatedFiguresAreAnnouncedOnce_data() {
        QTest::addColumn<QString>("depth");
        QTest::addColumn<QString>("o2");
        QTest::addColumn<bool>("by_menu");
        QTest::addColumn<QStringList>("heard");  // one entry per notification shown
        QTest::newRow("100, Tab, 32, Enter")
            << "100"
            << "32" << false << QStringList{Captions100Over32().join('\n')};
        QTest::newRow("the depth alone, from the menu")
            << "100"
            << "" << true
            << QStringList{"Best Mix (1.4ATA) = 34\nBest Mix (1.6ATA) = 39\nTotal ATA = 4.030"};
        QTest::newRow("no oxygen") << "100"
                                   << "0" << true << QStringList{};
    }
    void calculatedFiguresAreAnnouncedOnce() {
        QFETCH(QString, depth);
        QFETCH(QString, o2);
        QFETCH(bool, by_menu);
        QFETCH(QStringList, heard);
        QWidget* notification = nullptr;
        for (QWidget* child : window_->findChildren<QWidget*>()) {
            if (QAccessible::queryAccessibleInterface(child)->role() == QAccessible::Notification) {
                QVERIFY(notification == nullptr);
                notification = child;
            }
        }
        if (notification == nullptr) {
            QFAIL("the window has no notification for screen readers");
        }
        ShownNotifications shown;
        notification->installEventFilter(&shown);
        if (by_menu) {
            Type("txtAD", depth);
            Type("txtO2", o2);
            Action("mnuCALC")->trigger();
        } else {
            QTest::keyClicks(Box("txtAD"), depth);
            QTest::keyClick(Box("txtAD"), Qt::Key_Tab);
            QTest::keyClicks(Box("txtO2"), o2);
            QTest::keyClick(Box("txtO2"), Qt::Key_Return);
            QStringList on_screen = Captions();  // in the window's rows, not in the order heard
            QStringList spoken = heard.value(0).split('\n');
            on_screen.sort();
            spoken.sort();
            QCOMPARE(on_screen, spoken);
            QCOMPARE(Box("txtO2")->text(), o2);
        }
        QCOMPARE(shown.names, heard);
        QVERIFY(QApplication::focusWidget() == Box(by_menu ? "txtAD" : "txtO2"));
        const QImage seen = window_->grab().toImage();
        notification->hide();
        QVERIFY(window_->grab().toImage() == seen);
    }
};

}  // namespace
}  // namespace pelagrin

// Both test classes, in one program: how the window looks, then how it behaves.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);  // as QTEST_MAIN sets it
    pelagrin::Form1Test behaviour;
    const int look_failed = pelagrin::RunForm1LookTests(argc, argv);
    const int behaviour_failed = QTest::qExec(&behaviour, argc, argv);
    return look_failed + behaviour_failed == 0 ? 0 : 1;
}

#include "Form1Test.moc"
