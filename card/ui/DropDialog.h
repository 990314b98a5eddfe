#pragma once
// What a drop of files on the Card window will write, before anything is written: each file with
// the loop number it takes (the lowest free ones, in order), its length, the tempo found in it,
// and the beats and beats per bar it gets, which the musician may change; beside them the tempo
// the Repeater will play, worked out by the loop writer's own plan as the beats change. A file
// that cannot become a loop is listed with the reason. OK writes, Cancel writes nothing. Every
// choice is reached with Tab; Enter is OK and Escape Cancel.
#include <QDialog>
#include <vector>

#include "DroppedWaves.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QSpinBox;

namespace brenvik {

class DropDialog : public QDialog {
    Q_OBJECT
public:
    // The waves' settings follow the choices made in the dialog.
    DropDialog(std::vector<card::DroppedWave>& waves, QWidget* parent = nullptr);

    // The widgets of the file in row `row` (0 for the first), for the tests and the screenshot
    // tour.
    QSpinBox* beatsBox(int row) const;
    QComboBox* barBox(int row) const;
    QLabel* tempoWritten(int row) const;
    QLabel* tempoFound(int row) const;

private:
    void addRow(int row);
    void beatsChanged(int row);
    void barChanged(int row);
    void showTempo(int row);

    std::vector<card::DroppedWave>& m_waves;
    struct RowWidgets {
        QLabel* found = nullptr;
        QSpinBox* beats = nullptr;
        QComboBox* bar = nullptr;
        QLabel* written = nullptr;
    };
    std::vector<RowWidgets> m_rows;
    QGridLayout* m_grid;
};

// "1:05.3": minutes, seconds and tenths.
QString minutesText(double seconds);

}  // namespace brenvik
