#include "ConverterWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>

namespace brenvik {

ConverterWindow::ConverterWindow(const QString& caption, QSize designClientSize,
                                 const QString& aboutCaption, QWidget* parent)
    : QWidget(parent), m_designClientSize(designClientSize) {
    setWindowTitle(caption);
    // The menus have no parent widget: the main window's menu bar shows them, and they must not
    // be drawn inside this window. The window deletes them itself.
    m_fileMenu = new QMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("File"));
    m_windowMenu = new QMenu(QStringLiteral("&Window"));
    m_windowMenu->setObjectName(QStringLiteral("Window"));
    m_helpMenu = new QMenu(QStringLiteral("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("Help"));
    m_menus = {m_fileMenu, m_windowMenu, m_helpMenu};

    m_preferences = makeAction(QStringLiteral("Preferences"), QStringLiteral("&Preferences..."),
                               QKeySequence(Qt::CTRL | Qt::Key_P));
    m_exit = makeAction(QStringLiteral("Exit"), QStringLiteral("E&xit"),
                        QKeySequence(Qt::CTRL | Qt::Key_X));
    m_contents = makeAction(QStringLiteral("Contents"), QStringLiteral("&Contents..."),
                            QKeySequence(Qt::CTRL | Qt::Key_C));
    m_about = makeAction(QStringLiteral("About"), aboutCaption, QKeySequence(Qt::CTRL | Qt::Key_A));

    m_fileSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_preferences);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_exit);
    m_helpMenu->addAction(m_contents);
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(m_about);

    connect(m_preferences, &QAction::triggered, this, &ConverterWindow::preferencesRequested);
    connect(m_exit, &QAction::triggered, this, &ConverterWindow::exitRequested);
    connect(m_contents, &QAction::triggered, this, &ConverterWindow::contentsRequested);
    connect(m_about, &QAction::triggered, this, &ConverterWindow::aboutRequested);

    qApp->installEventFilter(this);
}

ConverterWindow::~ConverterWindow() {
    if (qApp) qApp->removeEventFilter(this);
    qDeleteAll(m_menus);
}

void ConverterWindow::nameSeparators(QMenu* menu, std::initializer_list<const char*> names) {
    auto name = names.begin();
    for (QAction* action : menu->actions())
        if (action->isSeparator() && name != names.end()) action->setObjectName(QString::fromLatin1(*name++));
}

QAction* ConverterWindow::makeAction(const QString& name, const QString& caption,
                                     const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

void ConverterWindow::insertFileActions(const QList<QAction*>& actions) {
    m_fileMenu->insertActions(m_fileSeparator, actions);
}

bool ConverterWindow::Form_QueryUnload(UnloadMode mode) {
    if (mode != UnloadMode::ControlMenu) return true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->showMinimized();
    else
        showMinimized();
    return false;
}

void ConverterWindow::closeEvent(QCloseEvent* event) {
    if (Form_QueryUnload(m_unloadMode))
        event->accept();
    else
        event->ignore();
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

// A focused text box claims Ctrl+C, Ctrl+X, Ctrl+A and the like for copying, cutting and
// selecting. In these windows those keys belong to the menu commands (Ctrl+C opens the help,
// Ctrl+X ends the program), so the claim is refused before the text box sees it.
bool ConverterWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if ((widget == this || isAncestorOf(widget)) &&
            isMenuShortcut(*static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace brenvik
