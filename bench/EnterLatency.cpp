// Measures, inside the running window, the time from the Enter key event in the O2 box to
// the moment the last caption is set: what the diver waits for after pressing Enter.
// Prints "<median microseconds> <99th percentile microseconds>" over many presses.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ratio>
#include <vector>

#include "ui/qt/Form1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    pelagrin::Form1 window([](QMessageBox& /*box*/) {});  // no box may stop the presses
    window.show();
    QApplication::processEvents();
    window.findChild<QLineEdit*>(QStringLiteral("txtAD"))->setText(QStringLiteral("100"));
    auto* o2 = window.findChild<QLineEdit*>(QStringLiteral("txtO2"));
    o2->setText(QStringLiteral("32"));

    constexpr int kPresses = 5000;
    std::vector<double> microseconds;
    microseconds.reserve(kPresses);
    for (int i = 0; i < kPresses; ++i) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        const auto start = std::chrono::steady_clock::now();
        QApplication::sendEvent(o2, &enter);  // returns once Calculate has set every caption
        microseconds.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        if (i % 100 == 0) {
            QApplication::processEvents();  // let the captions repaint, as on screen
        }
    }
    std::sort(microseconds.begin(), microseconds.end());
    std::printf("%.2f %.2f\n", microseconds[microseconds.size() / 2],
                microseconds[microseconds.size() * 99 / 100]);
    return 0;
}
