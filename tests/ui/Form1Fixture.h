#pragma once

// What the Qt window's tests share: a window opened fresh for each test, with every message
// box answered at once and remembered, and its controls reached by their names.

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <QMessageBox>

#include <memory>
#include <vector>

#include "ui/qt/Form1.h"

namespace pelagrin::testing {

// A message box the window raised, as the diver would have read it.
struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    Qt::TextFormat format;
};

// The result labels, as the form lays them out.
inline constexpr const char* kResultNames[] = {"lblEAD",   "lblMOD14", "lblMOD16", "lblBMX14",
                                               "lblBMX16", "lblPO2",   "lblPN2",   "lblTATA"};
class Form1Fixture : public QObject {
protected:
    std::unique_ptr<Form1> window_;
    std::vector<Shown> shown_;

    QLineEdit* Box(const char* name) const { return window_->findChild<QLineEdit*>(name); }
    QLabel* Label(const char* name) const { return window_->findChild<QLabel*>(name); }
    QString Caption(const char* name) const { return Label(name)->text(); }
    QAction* Action(const char* name) const { return window_->findChild<QAction*>(name); }

    QStringList Captions() const {
        QStringList texts;
        for (const char* name : kResultNames) {
            texts << Caption(name);
        }
        return texts;
    }

    void Type(const char* box, const QString& text) { Box(box)->setText(text); }

    void PressEnter(const char* box, Qt::Key key = Qt::Key_Return,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool repeat = false) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QStringLiteral("\r"), repeat);
        QApplication::sendEvent(Box(box), &press);
    }

    // Opens the window, shown and active, as a test's init() does.
    void Open() {
        shown_.clear();
        // Every box answered at once, and remembered.
        window_ = std::make_unique<Form1>([this](QMessageBox& box) {
            shown_.push_back({box.windowTitle(), box.text(), box.icon(), box.textFormat()});
        });
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
};

}  // namespace pelagrin::testing
