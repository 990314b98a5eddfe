// The main window over two plain converter windows: start-up, the windows' places, the shared
// menus and commands, the converter windows' close box and the end of the program; over the
// program's own converter windows: where the keyboard's focus goes.

#include "AboutDialog.h"
#include "AuditionPanel.h"
#include "ConverterWindows.h"
#include "DropEvents.h"
#include "FolderChooser.h"
#include "GuardedApplication.h"
#include "GuiTest.h"
#include "LookCheck.h"
#include "LoopFixture.h"
#include "MainWindow.h"
#include "MenuListing.h"
#include "Messages.h"
#include "Preferences.h"
#include "PreferencesDialog.h"
#include "RoutineError.h"
#include "ScriptedFiles.h"
#include "TestFiles.h"
#include "TestInteraction.h"
#include "WindowPlaces.h"

using namespace brenvik;
using test::child;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    // A failure that escapes an event's handler is shown with its reason; the next event is handled.
    void showsAFailureThatEscapesAndCarriesOn() {
        struct Throwing : QObject {
            bool event(QEvent*) override {
                if (!thrown++) throw RoutineError("cannot read /card/LOOP1/track1.wav: Input/output error");
                return true;
            }
            int thrown = 0;
        } receiver;
        static test::TestInteraction ui;
        static_cast<GuardedApplication*>(qApp)->tellFailuresThrough(ui);
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&receiver, &event));
        QVERIFY(QCoreApplication::sendEvent(&receiver, &event));
        QCOMPARE(ui.messageTexts(), std::vector<std::string>{message::kUnexpectedFailure});
        QCOMPARE(ui.messages()[0].detail, "cannot read /card/LOOP1/track1.wav: Input/output error");
        QCOMPARE(ui.messages()[0].icon, MessageIcon::Critical);
    }
    void init() {
        delete m_main;
        m_ui.reset(new test::TestInteraction);
        m_created.clear();
        m_main = new MainWindow(m_preferences, *m_ui, *m_ui,
                                {[this] { return make(".WAV to Repeater", "&About Brenvik"); },
                                 [this] { return make("Repeater to .WAV", "&About..."); },
                                 {}});
    }
    void cleanup() { delete m_main; }

    // The preferences are read before the converter windows are made, defaults for absent keys
    // and for a number edited by hand into something else.
    void startUpAndStacking() {
        m_preferences.autoIncrement = false;
        m_ui->settings() = {{"Startup/intLP", "/c"}, {"Startup/intCF", "30"}, {"Startup/intAI", "yes"}};
        m_main->startUp();
        QCOMPARE(m_created, (QStringList{".WA/c", "Rep/c"}));
        QVERIFY(m_preferences.autoIncrement && m_preferences.waveFolder == Files::defaultRoot());
        QVERIFY(m_preferences.crossfadeMs == 30 && m_ui->settingWrites().empty());
        QCOMPARE(m_main->menuBar()->actions()[0]->menu(), rep()->fileMenu());
        QCOMPARE(m_main->findChild<QProgressBar*>()->value(), 0);  // empty, as no save runs
        emit rep()->windowMenu()->aboutToShow();  // Repeater to .WAV, shown last, is the active one
        QCOMPARE(rep()->windowMenu()->actions()[0]->text(), QString("&1 .WAV to Repeater"));
        QVERIFY(rep()->windowMenu()->actions()[1]->isChecked());
        QMdiSubWindow* frame = m_main->frameOf(wav());
        QVERIFY(!frame->close() && frame->isMinimized());  // the close box only minimises
        rep()->windowMenu()->actions()[0]->trigger();
        QVERIFY(!frame->isMinimized());
        QCOMPARE(m_main->menuBar()->actions()[0]->menu(), wav()->fileMenu());
        BRENVIK_CHECK_LOOK(m_main, "main-window");
        emit rep()->statusMessage("a note");  // the status line shows only while it holds one
        QVERIFY(m_main->statusBar()->isVisible() && m_main->statusBar()->currentMessage() == "a note");
        m_main->statusBar()->clearMessage();
        QVERIFY(!m_main->statusBar()->isVisible());
    }

    // At the first start each converter window is whole in the area, at the size it asks for
    // when the area has room; the places the user leaves them in come back at the next start.
    void windowsWholeAndKeptInPlace() {
        m_main->startUp();
        QVERIFY(QTest::qWaitForWindowExposed(m_main));  // maximised by now
        const QWidget* viewport = m_main->findChild<QMdiArea*>()->viewport();
        const QRect area = viewport->rect();
        for (ConverterWindow* window : {rep(), wav()}) {
            const QMdiSubWindow* frame = m_main->frameOf(window);
            QVERIFY(area.contains(frame->geometry()));
            QCOMPARE(frame->size(), frame->sizeHint().boundedTo(area.size()));
        }
        QVERIFY(!m_main->frameOf(rep())->geometry().intersects(m_main->frameOf(wav())->geometry()));
        m_main->showNormal();  // a smaller area: the windows the program placed are placed again
        m_main->resize(640, 400);
        QTRY_VERIFY(viewport->width() < area.width());
        for (ConverterWindow* window : {rep(), wav()})
            QVERIFY(viewport->rect().contains(m_main->frameOf(window)->geometry()));
        m_main->frameOf(rep())->move(10, 20);
        m_main->frameOf(wav())->showMinimized();  // a minimised window keeps its last place
        m_main->close();
        QStringList written;
        for (const std::string& write : m_ui->settingWrites())
            written << QString::fromStdString(write).section('=', 0, 0);
        QCOMPARE(written, (QStringList{"Windows/main", "Windows/repeaterToWave"}));
        m_ui->settings()["Windows/waveToRepeater"] = "9000 40 500 200";  // moved in from beyond the edge
        delete m_main;
        m_main = new MainWindow(
            m_preferences, *m_ui, *m_ui,
            {[this] { return make("W", "A"); }, [this] { return make("R", "A"); }, {}});
        m_main->startUp();
        QCOMPARE(m_main->frameOf(rep())->pos(), QPoint(10, 20));
        const int right = m_main->findChild<QMdiArea*>()->viewport()->width();
        QCOMPARE(m_main->frameOf(wav())->geometry(), QRect(right - 500, 40, 500, 200));
    }

    // However large the area, both windows lie inside it, each as large as it asks or as the
    // area; they overlap only when neither stacked nor side by side they fit.
    void arrangement_data() {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<bool>("overlap");
        QTest::newRow("a 1366 x 768 screen") << QSize(1366, 700) << true;
        QTest::newRow("tall") << QSize(1000, 1100) << false;
        QTest::newRow("wide") << QSize(1600, 600) << false;
        QTest::newRow("smaller than a window") << QSize(700, 500) << true;
    }
    void arrangement() {
        QFETCH(QSize, area);
        const QSize top(770, 490), bottom(770, 590);
        const auto [topPlace, bottomPlace] = arrangeConverters(area, top, bottom);
        QVERIFY(QRect({}, area).contains(topPlace) && QRect({}, area).contains(bottomPlace));
        QCOMPARE(topPlace.size(), top.boundedTo(area));
        QCOMPARE(bottomPlace.size(), bottom.boundedTo(area));
        QTEST(topPlace.intersects(bottomPlace), "overlap");
    }

    // Exit in either window or the main window's close box, after the folder chooser was hidden
    // by Cancel, the Preferences dialog by OK, and with the About box open (once). Only the
    // windows' places are written.
    void theEndClosesEverythingAndKeepsOnlyPlaces() {
        for (int ending = 0; ending < 3; ++ending) {
            init();
            m_main->startUp();
            test::whenModal([](QWidget* w) { child<QPushButton>(w, "cancelButton")->click(); });
            QCOMPARE(m_main->chooseFolder("Choose a Loop Folder"), std::nullopt);
            QPointer<FolderChooser> chooser = m_main->folderChooser();
            rep()->preferencesAction()->trigger();
            QPointer<PreferencesDialog> preferences = m_main->preferencesDialog();
            child<QPushButton>(preferences, "okButton")->click();
            wav()->aboutAction()->trigger();
            rep()->aboutAction()->trigger();
            QPointer<AboutDialog> about = m_main->aboutDialog();
            QVERIFY(about->isVisible() && preferences->isHidden() && chooser->isHidden());
            if (ending == 0) BRENVIK_CHECK_LOOK(about.data(), "about-dialog");
            m_ui->clearRecords();
            QPointer<ConverterWindow> windows[] = {rep(), wav()};
            ending == 2 ? void(m_main->close()) : windows[ending]->exitAction()->trigger();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!windows[0] && !windows[1] && !preferences && !chooser && !about);
            QVERIFY(!m_main->isVisible() && m_ui->settingWrites().size() == 3);
            for (const std::string& write : m_ui->settingWrites())
                QVERIFY(write.starts_with("Windows/"));
        }
    }

    // In a box the user types into, Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V and Ctrl+Z edit its text and the
    // program runs on; with the focus anywhere else Ctrl+C opens the manual and Ctrl+X ends it.
    void editingKeysEditTheFocusedTextBox() {
        m_main->startUp();
        QCOMPARE(test::menuItems(rep()->fileMenu()).second.join(','),
                 "-,&Preferences... Ctrl+P,-,E&xit Ctrl+X");
        QCOMPARE(test::menuItems(rep()->helpMenu()).second.join(','),
                 "&Contents... Ctrl+C,-,&About... Ctrl+A");
        auto* edit = rep()->findChild<QLineEdit*>();
        QApplication::setActiveWindow(m_main);
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        edit->setFocus();
        edit->deselect();
        QApplication::clipboard()->setText("before");
        for (const Qt::Key key : {Qt::Key_A, Qt::Key_C, Qt::Key_X}) QTest::keyClick(edit, key, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("text"));
        QCOMPARE(edit->text(), QString());
        for (const Qt::Key key : {Qt::Key_V, Qt::Key_V, Qt::Key_Z}) QTest::keyClick(edit, key, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("text"));
        edit->setReadOnly(true);  // a box that shows only: the menu's keys
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(m_ui->manualsShown() == 1 && m_main->isVisible() && !m_main->aboutDialog());
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!m_main->isVisible());
    }

    // With the program's windows and the keyboard alone: Preferences with Enter takes the wave
    // window's Loop row to the new folder and its free number; after Ctrl+O the focus is where
    // Space plays (no sound server here: the window itself, Play being off); a save leaves its
    // window the active one, the focus back where it was.
    void programWindowsKeepTheFocus() {
        QTemporaryDir dir;
        const std::string before = test::makeFolder(dir.path().toStdString(), "before");
        const std::string card = test::makeFolder(dir.path().toStdString(), "card");
        for (const char* loop : {"LOOP1", "LOOP2"}) test::makeFolder(card, loop);
        m_ui->settings() = {{"Startup/intLP", before}};
        delete m_main;
        m_main = new MainWindow(m_preferences, *m_ui, *m_ui,
                                converterWindowFactories(m_preferences, m_files, *m_ui));
        m_main->startUp();
        QApplication::setActiveWindow(m_main);
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        const auto loopRow = [this] {
            return child<QLineEdit>(wav(), "destinationBox")->text() +
                   child<QLineEdit>(wav(), "loopNumberBox")->text();
        };
        QCOMPARE(loopRow(), QString::fromStdString(before + "1"));
        press(Qt::Key_P, Qt::ControlModifier);
        auto* folder = child<QLineEdit>(m_main->preferencesDialog(), "loopFolderEdit");
        folder->setText(QString::fromStdString(card));
        QTest::keyClick(folder, Qt::Key_Return);
        QCOMPARE(loopRow(), QString::fromStdString(card + "3"));

        QMdiArea* area = m_main->findChild<QMdiArea*>();
        test::writeFile(dir.filePath("take.wav").toStdString(),
                        test::wave(1, test::patternBytes(88200)));
        for (ConverterWindow* window : {rep(), wav()}) {
            m_main->activateChild(m_main->frameOf(window));
            const bool wave = window == wav();
            m_ui->chooseNextFile(
                wave ? dir.filePath("take.wav").toStdString()
                     : test::makeLoop(dir.path().toStdString(), "LOOP9", test::patternBytes(4096)));
            press(Qt::Key_O, Qt::ControlModifier);
            QVERIFY(!window->findChild<AuditionPanel*>()->playButton()->isEnabled());
            QCOMPARE(QApplication::focusWidget(), window);
        }
        m_main->activateChild(m_main->frameOf(rep()));
        m_ui->chooseNextFile(dir.filePath("saved.wav").toStdString());
        // The save dialog leaves no window active until the platform activates the main window
        // again; the message box takes the activation, then gives it back.
        m_ui->fileDialogClosing = [] { QApplication::setActiveWindow(nullptr); };
        m_ui->windowUsable = [this] {
            QApplication::setActiveWindow(nullptr);
            QApplication::setActiveWindow(m_main);
            return true;
        };
        press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_ui->messageTexts().back(), "File writing successful");
        QCOMPARE(area->activeSubWindow(), m_main->frameOf(rep()));
        QCOMPARE(QApplication::focusWidget(), rep());

        // A 48 kHz wave dropped on the other window converts there while the focus stays where
        // the user works; then that window takes it, where Space plays the converted wave.
        const QString dropped = dir.filePath("48k.wav");
        test::writeFile(dropped.toStdString(), test::wave(1, std::vector<uint8_t>(9600), 48000));
        m_ui->answerNextQuestion(MessageAnswer::Yes);
        m_ui->usableWhenBusy.clear();
        m_ui->windowUsable = [this] { return QApplication::focusWidget() == rep(); };
        QVERIFY(test::dropPaths(wav(), {dropped}));
        QCOMPARE(m_ui->usableWhenBusy, std::vector<bool>{true});
        QCOMPARE(QApplication::focusWidget(), wav());
    }

private:
    // A key pressed where the focus is, as the user presses it.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : m_main.data(), key, modifiers);
    }

    // A plain converter window with a text box, its text selected.
    ConverterWindow* make(const QString& caption, const QString& about) {
        m_created << caption.left(3) + m_preferences.loopFolder.data();
        auto* window = new ConverterWindow(caption, QSize(600, 300), about);
        (new QLineEdit("text", window))->selectAll();
        return window;
    }
    ConverterWindow* rep() { return m_main->repeaterToWaveWindow(); }
    ConverterWindow* wav() { return m_main->waveToRepeaterWindow(); }

    std::unique_ptr<test::TestInteraction> m_ui;
    test::ScriptedFiles m_files;
    Preferences m_preferences;
    QPointer<MainWindow> m_main;
    QStringList m_created;
};

// The window program's own application object, with its last-resort catch.
QTEST_MAIN_WRAPPER(TestMainWindow, QTEST_QAPP_SETUP(brenvik::GuardedApplication))
#include "tst_mainwindow.moc"
