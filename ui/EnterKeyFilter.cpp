#include "ui/EnterKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <utility>

namespace pelagrin {

EnterKeyFilter::EnterKeyFilter(QLineEdit* box, std::function<void()> calculate)
    : QObject(box), box_(box), calculate_(std::move(calculate)) {
    box_->installEventFilter(this);
}

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !box_->text().isEmpty()) {
            calculate_();
        }
    }
    return false;
}

}  // namespace pelagrin
