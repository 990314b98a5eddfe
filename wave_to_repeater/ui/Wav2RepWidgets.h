#pragma once
// The widgets of the ".WAV to Repeater" window, by the names the window's design gives its
// controls. Each widget's objectName is that name; members of a control array are named with
// the index behind an underscore (Text1_1 to Text1_4, Label2_0 to Label2_5), and the toolbar's
// buttons by their 1-based index (Toolbar1_Button1 to Toolbar1_Button4).
#include <QAction>
#include <array>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolBar;
class QWidget;

namespace brenvik {

class DoubleClickLabel;
class TempoScrollBar;

struct Wav2RepWidgets {
    QToolBar* Toolbar1 = nullptr;
    std::array<QAction*, 5> toolButton{};  // 1..4; 3 is a separator (index 0 unused)

    // Loop information block.
    QLabel* Label1 = nullptr;
    std::array<QLabel*, 6> Label2{};
    QLabel* LoopFile = nullptr;
    QPushButton* browseLoop = nullptr;
    QLineEdit* loopName = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* loopNumber = nullptr;
    std::array<QLineEdit*, 5> Text1{};  // 1 Tempo, 2 Bars, 3 Beats, 4 Division (index 0 unused)
    TempoScrollBar* tempoCntrl = nullptr;
    QPushButton* ScrollBeats = nullptr;
    QLabel* Label4 = nullptr;

    // Channel blocks.
    QLabel* LeftHeader = nullptr;
    QLabel* RightHeader = nullptr;
    QLabel* l1 = nullptr;
    QLabel* l4 = nullptr;
    QLabel* r1 = nullptr;
    QLabel* r4 = nullptr;
    DoubleClickLabel* l2 = nullptr;
    DoubleClickLabel* l3 = nullptr;
    DoubleClickLabel* r2 = nullptr;
    DoubleClickLabel* r3 = nullptr;
    QGroupBox* leftFrame = nullptr;
    QGroupBox* rightFrame = nullptr;
    std::array<QRadioButton*, 9> Option{};  // 1..4 in leftFrame, 5..8 in rightFrame
    QFrame* Shape2 = nullptr;
    QFrame* rightBlock1 = nullptr;
    QScrollBar* LeftPitch = nullptr;
    QScrollBar* RightPitch = nullptr;
    QScrollBar* LeftPan = nullptr;
    QScrollBar* RightPan = nullptr;
    QLineEdit* LeftPitch2 = nullptr;
    QLineEdit* RightPitch2 = nullptr;
    QLineEdit* LeftPan2 = nullptr;
    QLineEdit* RightPan2 = nullptr;
};

// Builds every control of the window at its design position, with its look; captions and
// states that the window's model holds are filled in by the window's refresh.
Wav2RepWidgets layOutWav2Rep(QWidget* window);

}  // namespace brenvik
