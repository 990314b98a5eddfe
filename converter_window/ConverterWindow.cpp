#include "ConverterWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QUrl>

#include "QtFocusRing.h"

namespace brenvik {

ConverterWindow::ConverterWindow(const QString& caption, QSize designClientSize,
                                 const QString& aboutCaption, QWidget* parent)
    : QWidget(parent), m_designClientSize(designClientSize) {
    setWindowTitle(caption);
    // The menus have no parent widget: the main window's menu bar shows them, and they must not
    // be drawn inside this window. The window deletes them itself.
    m_fileMenu = new QMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_windowMenu = new QMenu(QStringLiteral("&Window"));
    m_windowMenu->setObjectName(QStringLiteral("windowMenu"));
    m_helpMenu = new QMenu(QStringLiteral("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("helpMenu"));
    m_menus = {m_fileMenu, m_windowMenu, m_helpMenu};

    m_preferencesAction =
        makeAction(QStringLiteral("preferencesAction"), QStringLiteral("&Preferences..."),
                   QKeySequence(Qt::CTRL | Qt::Key_P));
    m_exitAction = makeAction(QStringLiteral("exitAction"), QStringLiteral("E&xit"),
                              QKeySequence(Qt::CTRL | Qt::Key_X));
    m_contentsAction = makeAction(QStringLiteral("contentsAction"), QStringLiteral("&Contents..."),
                                  QKeySequence(Qt::CTRL | Qt::Key_C));
    m_aboutAction =
        makeAction(QStringLiteral("aboutAction"), aboutCaption, QKeySequence(Qt::CTRL | Qt::Key_A));

    m_cardAction = makeAction(QStringLiteral("cardAction"), QStringLiteral("&Card"));
    m_cardAction->setToolTip(QStringLiteral("Card"));

    m_fileCommandsEnd = m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_preferencesAction);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_exitAction);
    m_helpMenu->addAction(m_contentsAction);
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(m_aboutAction);

    connect(m_preferencesAction, &QAction::triggered, this, &ConverterWindow::preferencesRequested);
    connect(m_exitAction, &QAction::triggered, this, &ConverterWindow::exitRequested);
    connect(m_contentsAction, &QAction::triggered, this, &ConverterWindow::contentsRequested);
    connect(m_aboutAction, &QAction::triggered, this, &ConverterWindow::aboutRequested);
    connect(m_cardAction, &QAction::triggered, this, &ConverterWindow::cardRequested);
    setAcceptDrops(true);
    // A click on the window's background takes the focus to the window itself, where Space
    // plays, and the window keeps it when it is activated again.
    setFocusPolicy(Qt::ClickFocus);

    qApp->installEventFilter(this);
    showFocusRing(this);
}

ConverterWindow::~ConverterWindow() {
    if (qApp) qApp->removeEventFilter(this);
    qDeleteAll(m_menus);
}

QAction* ConverterWindow::makeAction(const QString& name, const QString& caption,
                                     const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

void ConverterWindow::insertFileActions(const QList<QAction*>& actions) {
    m_fileMenu->insertActions(m_fileCommandsEnd, actions);
}

// A converter window lives as long as the program: its own close box only minimises it (or its
// frame in the main window).
void ConverterWindow::closeEvent(QCloseEvent* event) {
    if (m_closeReason == CloseReason::ProgramEnding) {
        event->accept();
        return;
    }
    event->ignore();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->showMinimized();
    else
        showMinimized();
}

void ConverterWindow::applyPreferences(const Preferences&) {}

// Qt hands the focus of a control being disabled to the next control of the main window, which
// may lie in the other converter window and so make that window the active one. Meanwhile the
// focus waits on this window's frame, and comes back once the window takes input again.
void ConverterWindow::setInputEnabled(bool enabled) {
    // The main window's own record, not the application's focus: right after a file dialog the
    // main window may not be active again yet, and then the application has no focus widget.
    QWidget* focus = window()->focusWidget();
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!enabled && focus && (focus == this || isAncestorOf(focus))) {
        m_focusWhileBusy = focus;
        if (frame) frame->setFocus(Qt::OtherFocusReason);
    }
    setEnabled(enabled);
    if (!enabled) {
        repaint();  // the work runs on this thread: show the disabled window before it starts
        return;
    }
    if (m_focusWhileBusy && m_focusWhileBusy->isEnabled() && m_focusWhileBusy->isVisible())
        m_focusWhileBusy->setFocus(Qt::OtherFocusReason);
    m_focusWhileBusy = nullptr;
}

// The control Qt would choose by itself, the first in the Tab order, may take Space for itself
// (the loop-folder button opens its chooser).
void ConverterWindow::focusWhereSpacePlays(QWidget* playButton) {
    if (playButton->isEnabled())
        playButton->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

bool ConverterWindow::canOpenDropped(const QStringList&) const { return false; }

void ConverterWindow::openDropped(const QStringList&) {}

QString ConverterWindow::dropsTaken() const { return {}; }

QStringList ConverterWindow::droppedPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        paths << url.toLocalFile();
    }
    return paths;
}

// A refused drag is told while it is over the window: the drop itself never arrives.
void ConverterWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (canOpenDropped(droppedPaths(event->mimeData()))) {
        event->acceptProposedAction();
        return;
    }
    event->ignore();
    if (const QString taken = dropsTaken(); !taken.isEmpty()) emit statusMessage(taken);
}

void ConverterWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (canOpenDropped(droppedPaths(event->mimeData()))) event->acceptProposedAction();
    else event->ignore();
}

void ConverterWindow::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedPaths(event->mimeData());
    if (!canOpenDropped(paths)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    openDropped(paths);
}

bool ConverterWindow::isMenuShortcut(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    for (const QMenu* menu : m_menus) {
        for (const QAction* action : menu->actions()) {
            if (action->isEnabled() && !action->shortcut().isEmpty() &&
                action->shortcut().matches(pressed) == QKeySequence::ExactMatch)
                return true;
        }
    }
    return false;
}

namespace {

// A text box or number box the user can type into, or a part of one (a number box types into a
// text box of its own).
bool takesTyping(const QWidget* widget) {
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget->parentWidget())) return !spin->isReadOnly();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) return !spin->isReadOnly();
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget)) return !text->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget)) return !plain->isReadOnly();
    return false;
}

bool isEditingKey(const QKeyEvent& key) {
    for (const QKeySequence::StandardKey editing :
         {QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste, QKeySequence::SelectAll, QKeySequence::Undo,
          QKeySequence::Redo})
        if (key.matches(editing)) return true;
    return false;
}

}  // namespace

// A box the user types into keeps the keys every text box has: Ctrl+X cuts, Ctrl+C copies, Ctrl+A
// selects, Ctrl+V pastes and Ctrl+Z undoes there. Everywhere else in these windows those keys
// belong to the menu commands (Ctrl+C opens the help, Ctrl+X ends the program), and a widget's
// claim on them is refused before it sees them.
bool ConverterWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const auto& key = *static_cast<QKeyEvent*>(event);
        if ((widget == this || isAncestorOf(widget)) && isMenuShortcut(key) &&
            !(takesTyping(widget) && isEditingKey(key))) {
            event->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace brenvik
