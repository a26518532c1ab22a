#pragma once

#include <QString>
#include <QWidget>

namespace pelagrin {

// What the window has to tell a screen reader without moving the focus: the figures a
// Calculate wrote, which change in labels the diver is not on. Screen readers speak a
// label's new caption only while it has the focus, which a label never has; they do speak a
// notification as it appears. So this is one: a widget of no size, which draws nothing and
// takes no focus, reported to screen readers as a notification named with the words to
// speak, and shown anew for each message.
class Announcer final : public QWidget {
public:
    explicit Announcer(QWidget* parent);

    // Has `text` spoken once, now.
    void Say(const QString& text);
};

}  // namespace pelagrin
