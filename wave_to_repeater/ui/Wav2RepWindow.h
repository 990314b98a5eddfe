#pragma once
// The ".WAV to Repeater" window (wav2Rep): the window's model (Wav2Rep) shown in real widgets.
// Every user action goes to the model's setter or handler, after which the window re-reads the
// whole model into its widgets with their signals blocked; so handlers nest only inside the
// model, exactly as they do in the command-line tool and the model's tests.
//
// Object names: the window is "wav2Rep"; each control carries its own name ("loopNumber",
// "tempoCntrl", "Option1" to "Option8", ...); members of a control array carry the index behind
// an underscore ("Text1_1" to "Text1_4", "Label2_0" to "Label2_5"); the toolbar "Toolbar1" holds
// the actions "Toolbar1_Button1" to "Toolbar1_Button4" (button 3 is a separator); the menu items
// are "openWave", "saveLoop", "sep1", "Preferences", "sep2", "Exit", "Contents", "sepHelp", "About".
#include <functional>
#include <string>

#include "ConverterWindow.h"
#include "Wav2Rep.h"
#include "Wav2RepWidgets.h"

namespace brenvik {

struct AppGlobals;
class Platform;

class Wav2RepWindow : public ConverterWindow {
    Q_OBJECT
public:
    // Builds the window and runs its load (beats per bar back to 1, the next free loop number),
    // so the preferences must have been read into the globals before.
    Wav2RepWindow(AppGlobals& globals, Platform& platform, QWidget* parent = nullptr);
    ~Wav2RepWindow() override;

    Wav2Rep& model() { return m_model; }
    const Wav2Rep& model() const { return m_model; }
    // Shows the model's current state; whoever changes the model from outside calls it.
    void refresh();
    // The Preferences OK rewrites the loop number box of this window.
    void setLoopNumber(const std::string& text);

    QAction* openWaveAction() const { return m_openWave; }
    QAction* saveLoopAction() const { return m_saveLoop; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void connectControls();
    void connectChannel(QScrollBar* pitch, void (Wav2Rep::*setPitch)(int16_t), QScrollBar* pan,
                        void (Wav2Rep::*setPan)(int16_t));
    // Runs one handler of the model and shows what it left.
    void run(const std::function<void()>& handler);
    // The save takes no input while it writes: the window is disabled around the model's save.
    void runSave(const std::function<void()>& handler);
    void toolbarClicked(QAction* button);
    void placeToolbar();

    Wav2Rep m_model;
    Wav2RepWidgets m_ui;
    QAction* m_openWave = nullptr;
    QAction* m_saveLoop = nullptr;
};

}  // namespace brenvik
