#pragma once
// The window program's application object, with its last-resort catch: a failure that escapes an
// event's handler is shown as the message for an unexpected failure with its reason, in the
// program's usual message box, and the program carries on instead of ending.
#include <QApplication>

namespace brenvik {

class Interaction;

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);

    // Where the failures are told; before this, they are written to standard error.
    void tellFailuresThrough(Interaction& ui) { m_ui = &ui; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    Interaction* m_ui = nullptr;
    bool m_telling = false;  // a failure is on screen: one that follows goes to standard error
};

}  // namespace brenvik
