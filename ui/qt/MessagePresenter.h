#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace pelagrin {

// Shows the window's modal message boxes. The window asks through this seam so a test can
// read and answer a box instead of being blocked by it.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Returns once the user has dismissed the box.
    virtual void Present(QWidget* parent, const QString& title, const QString& text,
                         QMessageBox::Icon icon) = 0;

protected:
    MessagePresenter() = default;
    MessagePresenter(const MessagePresenter&) = default;
    MessagePresenter& operator=(const MessagePresenter&) = default;
    MessagePresenter(MessagePresenter&&) = default;
    MessagePresenter& operator=(MessagePresenter&&) = default;
};

// The real thing: a modal QMessageBox with one OK button.
class ModalMessageBox final : public MessagePresenter {
public:
    void Present(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon) override;
};

}  // namespace pelagrin
