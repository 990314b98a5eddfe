#pragma once
// A label that answers a double-click: "Pan:" and "Pitch:" reset the control beside them.
#include <QLabel>

namespace brenvik {

class DoubleClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit DoubleClickLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace brenvik
