// What both converter windows share: their menus and menu shortcuts that win over a focused text
// box. How the main window answers the shared commands and the close box is tested with it.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
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

// The window inside a main window that shows its menus, as the program's main window does, with
// the text box focused and holding `text`.
SampleWindow* showWithFocusedText(QMainWindow& frame, const QString& text) {
    auto* window = new SampleWindow;
    frame.setCentralWidget(window);
    for (QMenu* menu : window->menus()) frame.menuBar()->addMenu(menu);
    frame.show();
    QApplication::setActiveWindow(&frame);
    if (!QTest::qWaitForWindowActive(&frame)) return nullptr;
    window->edit->setText(text);
    window->edit->setFocus();
    return QTest::qWaitFor([&] { return window->edit->hasFocus(); }) ? window : nullptr;
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
        QCOMPARE(window.windowTitle(), QString("Sample"));
        QCOMPARE(window.menus(), (QList<QMenu*>{window.fileMenu(), window.windowMenu(), window.helpMenu()}));
        QCOMPARE((QStringList{window.fileMenu()->title(), window.windowMenu()->title(), window.helpMenu()->title()}),
                 (QStringList{"&File", "&Window", "&Help"}));
        QCOMPARE(captions(window.fileMenu()),
                 (QStringList{"&Open...", "&Save...", "-", "&Preferences...", "-", "E&xit"}));
        QCOMPARE(captions(window.helpMenu()), (QStringList{"&Contents...", "-", "&About..."}));
        QCOMPARE(window.preferencesAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(window.exitAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
        QCOMPARE(window.contentsAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
        QCOMPARE(window.aboutAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    }

    void menuShortcutsWinOverAFocusedTextBox() {
        QMainWindow frame;
        SampleWindow* window = showWithFocusedText(frame, "selected text");
        QVERIFY(window);
        window->edit->selectAll();
        QApplication::clipboard()->setText("clipboard before");
        QSignalSpy contents(window, &ConverterWindow::contentsRequested);
        QSignalSpy exit(window, &ConverterWindow::exitRequested);
        QSignalSpy about(window, &ConverterWindow::aboutRequested);
        QSignalSpy open(window->open, &QAction::triggered);
        for (Qt::Key key : {Qt::Key_C, Qt::Key_X, Qt::Key_A, Qt::Key_O})
            QTest::keyClick(window->edit, key, Qt::ControlModifier);
        QCOMPARE((QList<qsizetype>{contents.count(), exit.count(), about.count(), open.count()}),
                 (QList<qsizetype>{1, 1, 1, 1}));
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
        SampleWindow* window = showWithFocusedText(frame, "abc");
        QVERIFY(window);
        window->aboutAction()->setEnabled(false);
        window->edit->deselect();
        QTest::keyClick(window->edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(window->edit->selectedText(), QString("abc"));
    }
};

QTEST_MAIN(TestConverterWindow)
#include "tst_converterwindow.moc"
