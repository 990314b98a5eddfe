#pragma once
// "Repeater to .WAV": the window that shows the Repeater-to-wave model (Rep2Wav) in widgets and
// routes the user's commands to its handlers. After every handler the whole model is read back
// into the widgets, so any nesting of handlers happens inside the model only.
//
// Object names are the names the design gives: the window "Rep2Wav"; the labels "LeftHeader",
// "RightHeader", "l1".."l7", "r1".."r7", "LeftFile".."LeftTotal", "RightFile".."RightTotal"; the
// toolbar "Toolbar1", whose buttons (separators included) are the actions "Toolbar1_1" ..
// "Toolbar1_7" by their 1-based index; the menu items "Open", "Save", "sep2", "Preferences",
// "sep1", "Exit", "Contents", "sepHelp", "About".
#include <array>
#include <utility>
#include <vector>

#include "ConverterWindow.h"
#include "Rep2Wav.h"

class QAction;
class QLabel;
class QToolBar;

namespace brenvik {

class Rep2WavWindow : public ConverterWindow {
    Q_OBJECT
public:
    // The window keeps its own model over the program's globals and platform; both must outlive
    // it. In stereo mode the open command asks the platform for the channel (chooseChannel).
    Rep2WavWindow(AppGlobals& globals, Platform& platform, QWidget* parent = nullptr);

    Rep2Wav& model() { return m_model; }
    // Shows the model's current state in the widgets.
    void refresh();

    QToolBar* Toolbar1() const { return m_toolbar; }
    // Toolbar button by its 1-based index (1..7), separators included.
    QAction* toolbarButton(int index) const;
    QAction* openAction() const { return m_open; }
    QAction* saveAction() const { return m_save; }

    // ---- the user's commands ----
    void Toolbar1_ButtonClick(int index);
    void Open_Click();
    void Save_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildLabels();
    void buildToolbar();
    void buildMenus();
    QLabel* addLabel(const QString& name, const Control& control, const QRect& twips,
                     const QColor& background, const QFont& font);

    template <typename Handler>
    void run(Handler handler);
    // The save disables the window in the model while it copies; the widget is disabled around
    // the whole command so it takes no input while the busy pointer and progress bar show.
    template <typename Handler>
    void runDisabled(Handler handler);

    Rep2Wav m_model;
    QToolBar* m_toolbar = nullptr;
    std::array<QAction*, 8> m_buttons{};  // index 0 unused
    QAction* m_open = nullptr;
    QAction* m_save = nullptr;
    std::vector<std::pair<QLabel*, const Control*>> m_labels;
};

}  // namespace brenvik
