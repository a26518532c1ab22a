#include "ui/qt/MessagePresenter.h"

namespace pelagrin {

void ModalMessageBox::Present(QWidget* parent, const QString& title, const QString& text,
                              QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);  // a file path is text, never markup
    box.exec();
}

}  // namespace pelagrin
