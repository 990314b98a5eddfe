#include "ChannelDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "QtFocusRing.h"
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

ChannelDialog::ChannelDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("channelDialog"));
    setWindowTitle(QStringLiteral("Channel Selection"));
    setModal(true);
    setFixedSize(twipsSize(4815, 2310));
    setFont(sansFont(9.75));
    paintBackground(this, kBackground);

    auto* prompt = new QLabel(QStringLiteral("Load File into ..."), this);
    prompt->setObjectName(QStringLiteral("promptLabel"));
    placeTwips(prompt, 120, 240, 2655, 255);
    paintText(prompt, Qt::white);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("channelFrame"));
    placeTwips(frame, 360, 600, 3975, 975);
    m_leftOption =
        makeOption(frame, QStringLiteral("leftOption"), QStringLiteral("Left Channel"), 240);
    m_rightOption =
        makeOption(frame, QStringLiteral("rightOption"), QStringLiteral("Right Channel"), 600);
    m_leftOption->setChecked(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    placeTwips(ok, 3120, 1800, 1335, 375);
    QPalette palette = ok->palette();
    palette.setColor(QPalette::Button, kOkGreen);
    ok->setPalette(palette);
    ok->setAutoFillBackground(true);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ChannelDialog::onOkClicked);
    showFocusRing(this);
}

void ChannelDialog::onOkClicked() {
    m_choice = m_rightOption->isChecked() ? Channel::Right : Channel::Left;
    accept();
}

std::optional<Channel> runChannelDialog(QWidget* parent) {
    ChannelDialog dialog(parent);
    dialog.exec();
    return dialog.choice();
}

}  // namespace brenvik
