#pragma once
// "Channel Selection": the modal dialog that asks, in stereo mode, which channel the next opened
// Repeater track fills. It is built afresh for every showing, so it always opens with
// "Left Channel" selected; only OK makes a choice.
#include <QDialog>
#include <optional>

#include "Platform.h"

class QRadioButton;

namespace brenvik {

class ChanSelect : public QDialog {
    Q_OBJECT
public:
    explicit ChanSelect(QWidget* parent = nullptr);

    // The channel chosen with OK; nothing when the dialog was closed any other way.
    std::optional<Channel> choice() const { return m_choice; }

    void Command1_Click();

private:
    QRadioButton* m_option1;
    QRadioButton* m_option2;
    std::optional<Channel> m_choice;
};

// Shows the dialog modally and discards it. Fits QtPlatform::chooseChannelHook.
std::optional<Channel> runChanSelect(QWidget* parent = nullptr);

}  // namespace brenvik
