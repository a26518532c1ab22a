#pragma once

#include <QLabel>
#include <QString>

namespace pelagrin {

// A caption that is never cut silently: one too wide for the label is drawn ending in "…",
// and its tooltip and accessible description then give it whole. Its text, which a screen
// reader reads as its name, is always the whole caption. Captions that fit are drawn as any
// label draws them.
class CaptionLabel final : public QLabel {
public:
    CaptionLabel(const QString& text, QString description, QWidget* parent);

    void SetCaption(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] QString Shown() const;
    void Explain();

    QString description_;  // what the figure is, while the whole of it shows
};

}  // namespace pelagrin
