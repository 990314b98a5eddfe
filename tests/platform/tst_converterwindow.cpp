// What both converter windows share: menus, shared commands, the close box, and menu shortcuts
// that win over a focused text box.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include "ConverterWindow.h"

using namespace brenvik;

namespace {

// A converter window with File commands of its own and a text box, as the real windows have.
class SampleWindow : public ConverterWindow {
public:
    SampleWindow()
        : ConverterWindow(QStringLiteral("Sample"), QSize(300, 200), QStringLiteral("&About...")) {
        open = makeAction(QStringLiteral("Open"), QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
        save = makeAction(QStringLiteral("Save"), QStringLiteral("&Save..."), QKeySequence(Qt::CTRL | Qt::Key_S));
        insertFileActions({open, save});
        edit = new QLineEdit(this);
        edit->setGeometry(10, 10, 200, 24);
    }
    QAction* open;
    QAction* save;
    QLineEdit* edit;
};

// The window inside a main window that shows its menus, as the program's main window does.
SampleWindow* showInActiveFrame(QMainWindow& frame) {
    auto* window = new SampleWindow;
    frame.setCentralWidget(window);
    for (QMenu* menu : window->menus()) frame.menuBar()->addMenu(menu);
    frame.show();
    QApplication::setActiveWindow(&frame);
    return window;
}

QStringList captions(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

}  // namespace

class TestConverterWindow : public QObject {
    Q_OBJECT
private slots:
    void menusHoldTheSharedCommands() {
        SampleWindow window;
        QCOMPARE(window.menus().size(), 3);
        QCOMPARE(window.menus()[0]->title(), QString("&File"));
        QCOMPARE(window.menus()[1]->title(), QString("&Window"));
        QCOMPARE(window.menus()[2]->title(), QString("&Help"));
        QCOMPARE(captions(window.fileMenu()),
                 (QStringList{"&Open...", "&Save...", "-", "&Preferences...", "-", "E&xit"}));
        QCOMPARE(captions(window.helpMenu()), (QStringList{"&Contents...", "-", "&About..."}));
        QCOMPARE(window.preferencesAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(window.exitAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
        QCOMPARE(window.contentsAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
        QCOMPARE(window.aboutAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
        QCOMPARE(window.windowTitle(), QString("Sample"));
    }

    void sharedCommandsAreSignalled() {
        SampleWindow window;
        QSignalSpy preferences(&window, &ConverterWindow::preferencesRequested);
        QSignalSpy exit(&window, &ConverterWindow::exitRequested);
        QSignalSpy contents(&window, &ConverterWindow::contentsRequested);
        QSignalSpy about(&window, &ConverterWindow::aboutRequested);
        window.preferencesAction()->trigger();
        window.contentsAction()->trigger();
        window.contentsAction()->trigger();
        window.aboutAction()->trigger();
        QCOMPARE(preferences.count(), 1);
        QCOMPARE(contents.count(), 2);
        QCOMPARE(about.count(), 1);
        QCOMPARE(exit.count(), 0);
        window.exitAction()->trigger();
        QCOMPARE(exit.count(), 1);
    }

    void closeBoxMinimisesInsteadOfClosing() {
        QMdiArea area;
        auto* window = new SampleWindow;
        QMdiSubWindow* frame = area.addSubWindow(window);
        area.show();
        frame->show();
        QVERIFY(!frame->close());
        QCOMPARE(area.subWindowList().size(), 1);
        QVERIFY(frame->isMinimized());
        QVERIFY(!window->Form_QueryUnload(ConverterWindow::UnloadMode::ControlMenu));
    }

    void closeForTheMainWindowGoesAhead() {
        QMdiArea area;
        QPointer<SampleWindow> window = new SampleWindow;
        area.addSubWindow(window)->show();
        area.show();
        window->setUnloadMode(ConverterWindow::UnloadMode::MDIForm);
        area.closeAllSubWindows();
        QVERIFY(area.subWindowList().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }

    void menuShortcutsWinOverAFocusedTextBox() {
        QMainWindow frame;
        SampleWindow* window = showInActiveFrame(frame);
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        window->edit->setText("selected text");
        window->edit->selectAll();
        window->edit->setFocus();
        QTRY_VERIFY(window->edit->hasFocus());
        QApplication::clipboard()->setText("clipboard before");

        QSignalSpy contents(window, &ConverterWindow::contentsRequested);
        QSignalSpy exit(window, &ConverterWindow::exitRequested);
        QSignalSpy about(window, &ConverterWindow::aboutRequested);
        QSignalSpy open(window->open, &QAction::triggered);
        QTest::keyClick(window->edit, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(window->edit, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(window->edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(window->edit, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(contents.count(), 1);
        QCOMPARE(exit.count(), 1);
        QCOMPARE(about.count(), 1);
        QCOMPARE(open.count(), 1);
        // Neither copied nor cut.
        QCOMPARE(window->edit->text(), QString("selected text"));
        QCOMPARE(QApplication::clipboard()->text(), QString("clipboard before"));

        // Keys that are no menu shortcut still reach the text box.
        window->edit->clear();
        QTest::keyClicks(window->edit, "42");
        QCOMPARE(window->edit->text(), QString("42"));
    }

    void disabledCommandLeavesItsKeyToTheTextBox() {
        QMainWindow frame;
        SampleWindow* window = showInActiveFrame(frame);
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        window->aboutAction()->setEnabled(false);
        window->edit->setText("abc");
        window->edit->deselect();
        window->edit->setFocus();
        QTRY_VERIFY(window->edit->hasFocus());
        QTest::keyClick(window->edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(window->edit->selectedText(), QString("abc"));
    }
};

QTEST_MAIN(TestConverterWindow)
#include "tst_converterwindow.moc"
