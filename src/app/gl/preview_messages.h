#pragma once

#include <QString>

class QWidget;

namespace veltrane::app {

// Where the preview's notices go. The window shows them as message boxes; tests keep them.
class PreviewMessages {
public:
    virtual ~PreviewMessages() = default;
    virtual void showNotice(const QString& text, const QString& title) = 0;
};

// A modal message box with an OK button and no icon.
class MessageBoxNotices : public PreviewMessages {
public:
    explicit MessageBoxNotices(QWidget* parent) : parent_(parent) {}
    void showNotice(const QString& text, const QString& title) override;

private:
    QWidget* parent_;
};

} // namespace veltrane::app
