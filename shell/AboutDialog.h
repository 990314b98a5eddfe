#pragma once
// The About box: fixed texts, a picture and an etched rule on a dark teal ground. OK, Enter and
// Esc close and discard it; the next About command creates it afresh.
#include <QDialog>

namespace brenvik {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace brenvik
