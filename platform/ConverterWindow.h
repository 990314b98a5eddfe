#pragma once
// What the two converter windows ("Repeater to .WAV" and ".WAV to Repeater") share: their menus
// (shown in the main window's menu bar while the window is active), the commands both offer
// (Preferences, Exit, Help Contents, About, the Window list), the menu shortcuts that win over a
// focused text box, and the close box that only minimises the window.
#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>
#include <initializer_list>

class QAction;
class QMenu;

namespace brenvik {

class ConverterWindow : public QWidget {
    Q_OBJECT
public:
    // Why a close was asked for; only the window's own close box (ControlMenu) is refused.
    enum class UnloadMode { ControlMenu = 0, Code = 1, AppWindows = 2, TaskManager = 3, MDIForm = 4 };

    ConverterWindow(const QString& caption, QSize designClientSize, const QString& aboutCaption,
                    QWidget* parent = nullptr);
    ~ConverterWindow() override;

    // The menus the main window shows while this window is active: File, Window, Help.
    const QList<QMenu*>& menus() const { return m_menus; }
    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* windowMenu() const { return m_windowMenu; }
    QMenu* helpMenu() const { return m_helpMenu; }
    QAction* preferencesAction() const { return m_preferences; }
    QAction* exitAction() const { return m_exit; }
    QAction* contentsAction() const { return m_contents; }
    QAction* aboutAction() const { return m_about; }

    // The main window sets the reason before it closes its children.
    void setUnloadMode(UnloadMode mode) { m_unloadMode = mode; }
    UnloadMode unloadMode() const { return m_unloadMode; }

    // Decides a close: true lets it go ahead. A close from the window's own close box is turned
    // into minimising the window, so a converter window lives as long as the program.
    bool Form_QueryUnload(UnloadMode mode);

    QSize sizeHint() const override { return m_designClientSize; }

signals:
    void preferencesRequested();
    void exitRequested();
    void contentsRequested();
    void aboutRequested();

protected:
    // The window's own File commands (Open, Save, ...), placed above Preferences and Exit.
    void insertFileActions(const QList<QAction*>& actions);
    // A menu action named and captioned as the designs give it, with an optional shortcut.
    // Gives the menu's separators the names the design gives them, in the order they stand.
    static void nameSeparators(QMenu* menu, std::initializer_list<const char*> names);
    QAction* makeAction(const QString& name, const QString& caption,
                        const QKeySequence& shortcut = QKeySequence());

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isMenuShortcut(const QKeyEvent& key) const;

    QSize m_designClientSize;
    QList<QMenu*> m_menus;
    QMenu* m_fileMenu;
    QMenu* m_windowMenu;
    QMenu* m_helpMenu;
    QAction* m_fileSeparator;
    QAction* m_preferences;
    QAction* m_exit;
    QAction* m_contents;
    QAction* m_about;
    UnloadMode m_unloadMode = UnloadMode::ControlMenu;
};

}  // namespace brenvik
