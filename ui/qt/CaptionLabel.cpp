#include "ui/qt/CaptionLabel.h"

#include <QPainter>
#include <QStyle>

#include <utility>

namespace pelagrin {

CaptionLabel::CaptionLabel(const QString& text, QString description, QWidget* parent)
    : QLabel(text, parent), description_(std::move(description)) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAccessibleDescription(description_);
}

void CaptionLabel::SetCaption(const QString& text) {
    setText(text);
    Explain();
}

QString CaptionLabel::Shown() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

// A caption cut short shows whole on hovering, and is read whole as the description.
void CaptionLabel::Explain() {
    const bool cut = Shown() != text();
    setToolTip(cut ? text() : QString());
    setAccessibleDescription(cut ? text() : description_);
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
    const QString shown = Shown();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    // As the label draws plain text, with the end of it replaced by the ellipsis.
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}

void CaptionLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Explain();
}

}  // namespace pelagrin
