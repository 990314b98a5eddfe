// The window program as its main() assembles it: the real converter windows inside the main
// window, connected to the platform and to each other.
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "AppGlobals.h"
#include "ConverterWindows.h"
#include "MDIForm1.h"
#include "Pref.h"
#include "QtPlatform.h"
#include "Rep2WavWindow.h"
#include "TestFiles.h"
#include "TestPlatform.h"
#include "Wav2RepWindow.h"

using namespace brenvik;

namespace {

// The scripted user's side: the test platform answers the prompts, the real main window and
// converter windows do the rest.
struct Program {
    explicit Program(const QString& loopDir) {
        platform.settings()["Startup/intLP"] = loopDir.toStdString();
        platform.settings()["Startup/intWV"] = loopDir.toStdString();
        mainWindow = std::make_unique<MDIForm1>(globals, platform, converterWindowFactories(globals, platform));
        connectLoopNumber(*mainWindow);
        mainWindow->MDIForm_Load();
    }
    Wav2RepWindow* wav2Rep() const { return qobject_cast<Wav2RepWindow*>(mainWindow->wav2Rep()); }
    Rep2WavWindow* rep2Wav() const { return qobject_cast<Rep2WavWindow*>(mainWindow->Rep2Wav()); }
    void trigger(QWidget* window, const char* action) { window->findChild<QAction*>(action)->trigger(); }

    AppGlobals globals;
    test::TestPlatform platform;
    std::unique_ptr<MDIForm1> mainWindow;
};

void makeFolder(const QString& path) { std::filesystem::create_directories(path.toStdString()); }

}  // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheRealConverterWindows() {
        QTemporaryDir card;
        makeFolder(card.filePath("LOOP1"));
        Program program(card.path());
        QVERIFY(program.wav2Rep() && program.rep2Wav());
        // Rep2Wav is shown last and so is the active child; the loop number was searched in the
        // stored loop folder before wav2Rep was shown.
        QCOMPARE(program.mainWindow->mdiArea()->activeSubWindow(), program.mainWindow->frameOf(program.rep2Wav()));
        QCOMPARE(program.wav2Rep()->model().loopNumber.text, std::string("2"));
        QCOMPARE(program.wav2Rep()->model().loopName.text, card.path().toStdString());
    }

    void preferencesOkRewritesTheLoopNumber() {
        QTemporaryDir card, other;
        for (const char* loop : {"LOOP1", "LOOP2", "LOOP3"}) makeFolder(other.filePath(loop));
        Program program(card.path());
        QCOMPARE(program.wav2Rep()->model().loopNumber.text, std::string("1"));
        program.mainWindow->Preferences_Click();
        Pref* pref = program.mainWindow->preferencesDialog();
        QVERIFY(pref);
        pref->intLoop->setText(other.path());
        pref->Command1->click();
        // The wave-to-Repeater window shows the search's result, but keeps its loop folder.
        QCOMPARE(program.wav2Rep()->model().loopNumber.text, std::string("4"));
        QCOMPARE(program.wav2Rep()->model().loopName.text, card.path().toStdString());
        QCOMPARE(program.platform.settings()["Startup/intLP"], other.path().toStdString());
    }

    void waveToLoopAndBackThroughBothWindows() {
        QTemporaryDir card;
        const std::vector<uint8_t> samples = test::patternBytes(4 * 44100 * 2 + 512 * 7);
        const QString wave = card.filePath("source.wav"), back = card.filePath("back.wav");
        const QString track = card.filePath("LOOP1/track1.wav");
        test::writeFile(wave.toStdString(), test::canonicalWave(1, samples));
        Program program(card.path());
        program.platform.chooseNextFile(wave.toStdString());
        program.trigger(program.wav2Rep(), "openWave");
        QAction* saveLoop = program.wav2Rep()->findChild<QAction*>(QStringLiteral("saveLoop"));
        QVERIFY(saveLoop && saveLoop->isEnabled());
        saveLoop->trigger();
        QCOMPARE(program.platform.messageTexts().back(), std::string("File writing successful"));
        QVERIFY(QFileInfo::exists(track));

        // Back to a wave through the other window: only the whole sectors came across.
        program.platform.chooseNextFile(track.toStdString());
        program.trigger(program.rep2Wav(), "Open");
        program.platform.chooseNextFile(back.toStdString());
        program.trigger(program.rep2Wav(), "Save");
        QCOMPARE(program.platform.messageTexts().back(), std::string("File writing successful"));
        const std::vector<uint8_t> written = test::readFile(back.toStdString());
        const size_t kept = samples.size() / 512 * 512;
        QCOMPARE(written.size(), 44 + kept);
        QVERIFY(std::equal(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(kept), written.begin() + 44));
        // After the save the loop number moved on to the next free one.
        QCOMPARE(program.wav2Rep()->model().loopNumber.text, std::string("2"));
    }

    void channelDialogHookReachesTheOpenCommand() {
        AppGlobals globals;
        QtPlatform platform;
        MDIForm1 mainWindow(globals, platform, converterWindowFactories(globals, platform));
        connectConverterWindows(platform, mainWindow);
        QVERIFY(platform.chooseChannelHook);
        // The hook shows the modal channel dialog; its close box leaves the choice open.
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("ChanSelect") && w->isVisible()) w->close();
        });
        QCOMPARE(platform.chooseChannel(), std::optional<Channel>());
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
