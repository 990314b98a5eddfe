#include "ChanSelect.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "QtFormLook.h"

namespace brenvik {

namespace {

const QColor kBackground(0x00, 0x40, 0x40);
const QColor kOkGreen(0x00, 0x80, 0x00);

QRadioButton* makeOption(QWidget* frame, const QString& name, const QString& caption, int top) {
    auto* option = new QRadioButton(caption, frame);
    option->setObjectName(name);
    placeTwips(option, 240, top, 2535, 255);
    // Only the caption is white: the round indicator keeps its own colours, so the dot of the
    // selected option stays visible.
    QPalette palette = option->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    option->setPalette(palette);
    return option;
}

}  // namespace

ChanSelect::ChanSelect(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ChanSelect"));
    setWindowTitle(QStringLiteral("Channel Selection"));
    setModal(true);
    setFixedSize(twipsSize(4815, 2310));
    setFont(sansFont(9.75));
    paintBackground(this, kBackground);

    auto* label = new QLabel(QStringLiteral("Load File into ..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    placeTwips(label, 120, 240, 2655, 255);
    paintText(label, Qt::white);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    placeTwips(frame, 360, 600, 3975, 975);
    m_option1 = makeOption(frame, QStringLiteral("Option1"), QStringLiteral("Left Channel"), 240);
    m_option2 = makeOption(frame, QStringLiteral("Option2"), QStringLiteral("Right Channel"), 600);
    m_option1->setChecked(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    placeTwips(ok, 3120, 1800, 1335, 375);
    QPalette palette = ok->palette();
    palette.setColor(QPalette::Button, kOkGreen);
    ok->setPalette(palette);
    ok->setAutoFillBackground(true);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ChanSelect::Command1_Click);
}

void ChanSelect::Command1_Click() {
    if (m_option1->isChecked())
        m_choice = Channel::Left;
    else if (m_option2->isChecked())
        m_choice = Channel::Right;
    accept();
}

std::optional<Channel> runChanSelect(QWidget* parent) {
    ChanSelect dialog(parent);
    dialog.exec();
    return dialog.choice();
}

}  // namespace brenvik
