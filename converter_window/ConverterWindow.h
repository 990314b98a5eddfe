#pragma once
// What the two converter windows ("Repeater to .WAV" and ".WAV to Repeater") share: their menus
// (shown in the main window's menu bar while the window is active), the commands both offer
// (Preferences, Exit, Help Contents, About, the Window list), the menu shortcuts that win over a
// focused text box, and the close box that only minimises the window.
#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

class QAction;
class QDropEvent;
class QKeyEvent;
class QMimeData;
class QMenu;

namespace brenvik {

struct Preferences;

class ConverterWindow : public QWidget {
    Q_OBJECT
public:
    // Who asks for a close: the window's own close box (turned into minimising the window) or
    // the program, when the main window closes (let through).
    enum class CloseReason { CloseBox, ProgramEnding };

    ConverterWindow(const QString& caption, QSize designClientSize, const QString& aboutCaption,
                    QWidget* parent = nullptr);
    ~ConverterWindow() override;

    // The menus the main window shows while this window is active: File, Window, Help.
    const QList<QMenu*>& menus() const { return m_menus; }
    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* windowMenu() const { return m_windowMenu; }
    QMenu* helpMenu() const { return m_helpMenu; }
    QAction* preferencesAction() const { return m_preferencesAction; }
    QAction* exitAction() const { return m_exitAction; }
    QAction* contentsAction() const { return m_contentsAction; }
    QAction* aboutAction() const { return m_aboutAction; }

    // The entry that brings the Card window forward: the main window puts it below the Window
    // list, each converter window at the end of its toolbar.
    QAction* cardAction() const { return m_cardAction; }

    // Files dropped on the window, local paths only: what the window opens, or nothing when it
    // refuses them (refused without a message box; the status line says what the window takes).
    virtual bool canOpenDropped(const QStringList& paths) const;
    virtual void openDropped(const QStringList& paths);
    // What the window takes when things are dropped on it, said when it refuses a drop.
    virtual QString dropsTaken() const;
    // The local paths of dropped data; empty when any of it is not a local file or folder.
    static QStringList droppedPaths(const QMimeData* data);

    // The main window sets the reason before it closes its children.
    void setCloseReason(CloseReason reason) { m_closeReason = reason; }

    QSize sizeHint() const override { return m_designClientSize; }

    // The Preferences OK has changed the preferences, which were `before`: the window shows what
    // they now make of it. Most preferences are read where they are used and need nothing here.
    virtual void applyPreferences(const Preferences& before);

signals:
    void preferencesRequested();
    void exitRequested();
    void contentsRequested();
    void aboutRequested();
    void cardRequested();
    // A save of the window has ended; files may have been written.
    void filesWritten();
    // A short note for the program's status line.
    void statusMessage(const QString& text);

protected:
    // The window's own File commands (Open, Save, ...), placed above Preferences and Exit.
    void insertFileActions(const QList<QAction*>& actions);
    // A menu action with its object name, caption and optional shortcut.
    QAction* makeAction(const QString& name, const QString& caption,
                        const QKeySequence& shortcut = QKeySequence());

    // The window takes no input while a command works (a save copying), then takes it again.
    void setInputEnabled(bool enabled);
    // After an Open: the focus goes where Space plays what was opened, the Play button, or the
    // window itself while Play cannot play.
    void focusWhereSpacePlays(QWidget* playButton);

    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isMenuShortcut(const QKeyEvent& key) const;

    QSize m_designClientSize;
    QList<QMenu*> m_menus;
    QMenu* m_fileMenu;
    QMenu* m_windowMenu;
    QMenu* m_helpMenu;
    QAction* m_fileCommandsEnd;
    QAction* m_preferencesAction;
    QAction* m_exitAction;
    QAction* m_contentsAction;
    QAction* m_aboutAction;
    QAction* m_cardAction;
    CloseReason m_closeReason = CloseReason::CloseBox;
    QPointer<QWidget> m_focusWhileBusy;  // where the focus was when the window stopped taking input
};

}  // namespace brenvik
