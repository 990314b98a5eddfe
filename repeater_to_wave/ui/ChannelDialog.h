#pragma once
// "Channel Selection": the modal dialog that asks, in stereo mode, which channel the next opened
// Repeater track fills. It is built afresh for every showing, so it always opens with
// "Left Channel" selected; only OK makes a choice.
#include <QDialog>
#include <optional>

#include "Channels.h"

class QRadioButton;

namespace brenvik {

class ChannelDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChannelDialog(QWidget* parent = nullptr);

    // The channel chosen with OK; nothing when the dialog was closed any other way.
    std::optional<Channel> choice() const { return m_choice; }

private slots:
    void onOkClicked();

private:
    QRadioButton* m_leftOption;
    QRadioButton* m_rightOption;
    std::optional<Channel> m_choice;
};

// Shows the dialog modally and discards it: the window program's channel question.
std::optional<Channel> runChannelDialog(QWidget* parent);

}  // namespace brenvik
