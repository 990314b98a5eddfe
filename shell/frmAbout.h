#pragma once
// The About box: fixed texts, a picture and an etched rule on a dark teal ground. OK, Enter and
// Esc close and discard it; the next About command creates it afresh.
#include <QDialog>

class QLabel;
class QPushButton;

namespace brenvik {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    void cmdOK_Click();

    QLabel* Picture1;
    QLabel* Label3;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* cmdOK;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace brenvik
