#pragma once
// The widgets of the ".WAV to Repeater" window, by role, built at their design positions with
// their look. The window owns them and fills in what its model holds each time it draws.
#include <array>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolBar;
class QString;
class QWidget;

namespace brenvik {

class DoubleClickLabel;
class TempoScrollBar;

// One channel's block: header, track options, and the pitch and pan rows.
struct ChannelWidgets {
    QLabel* header = nullptr;
    QLabel* strip = nullptr;
    QLabel* trackLabel = nullptr;
    QGroupBox* trackFrame = nullptr;
    std::array<QRadioButton*, 4> trackOptions{};  // tracks 1 to 4
    QFrame* backing = nullptr;
    DoubleClickLabel* pitchLabel = nullptr;  // a double click resets the pitch
    QScrollBar* pitchBar = nullptr;
    QLineEdit* pitchBox = nullptr;
    DoubleClickLabel* panLabel = nullptr;    // a double click resets the pan
    QScrollBar* panBar = nullptr;
    QLineEdit* panBox = nullptr;
};

struct WaveToRepeaterForm {
    QToolBar* toolbar = nullptr;
    QAction* openButton = nullptr;
    QAction* saveButton = nullptr;

    QLabel* wavePathLabel = nullptr;
    // In the Loop Info header, while the wave shown is a converted copy: what it was converted
    // from, and how.
    QLabel* conversionLabel = nullptr;
    QPushButton* destinationButton = nullptr;
    QLineEdit* destinationBox = nullptr;
    QLineEdit* loopPrefixBox = nullptr;  // the fixed "/LOOP" between folder and number
    QLineEdit* loopNumberBox = nullptr;
    QLineEdit* tempoBox = nullptr;
    QLineEdit* barsBox = nullptr;
    QLineEdit* beatsBox = nullptr;
    QLineEdit* divisionBox = nullptr;
    TempoScrollBar* tempoBar = nullptr;
    QPushButton* beatsButton = nullptr;
    // Additions beside the tempo bar: the tempo found in the audio, and the button that sets the
    // beats to it again.
    QLabel* foundTempoLabel = nullptr;
    QPushButton* foundTempoButton = nullptr;

    ChannelWidgets left;
    ChannelWidgets right;

    // An addition to the design, under the controls: what a Save would write, or a warning.
    QLabel* willWriteLine = nullptr;
};

WaveToRepeaterForm buildWaveToRepeaterForm(QWidget* window);

// The "will write" line in its plain look, or in the look of a warning.
void showWillWrite(QLabel* line, const QString& text, bool warning);

}  // namespace brenvik
