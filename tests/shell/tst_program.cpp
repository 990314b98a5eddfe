// The window program: run as the user runs it, and assembled as main() assembles it.
#include "ConverterWindows.h"
#include "FolderChooser.h"
#include "GuiTest.h"
#include "Preferences.h"
#include "PreferencesDialog.h"
#include "Files.h"
#include "QtInteraction.h"
#include "QtSettingsStore.h"
#include "TestChildren.h"

using namespace brenvik;
using test::child;

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    // Started on an empty settings store, the program shows its windows (the hidden screenshot
    // option photographs them, then ends it) and keeps only their places, no preference.
    void runsAndEndsKeepingOnlyPlaces() {
        QTemporaryDir home;
        QProcess program;
        program.setEnvironment(QProcess::systemEnvironment() << "XDG_CONFIG_HOME=" + home.path());
        test::tieToTest(program);
        program.start(BRENVIK_PROGRAM, {"--screenshot", home.filePath("shots")});
        QVERIFY(program.waitForFinished(60000) && program.exitCode() == 0);
        QCOMPARE(QDir(home.filePath("shots")).entryList(QDir::Files).join(' '),
                 QString("about.png folder-chooser.png help.png preferences.png startup.png"));
        QCOMPARE(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 (QStringList{"Brenvik", "shots"}));
        QSettings store(home.filePath("Brenvik/Brenvik.conf"), QSettings::IniFormat);
        QCOMPARE(store.allKeys().join(' '),
                 "Windows/main Windows/repeaterToWave Windows/waveToRepeater");
    }

    // The version is told without a display.
    void version() {
        QProcess program;
        program.setEnvironment(QProcess::systemEnvironment() << "QT_QPA_PLATFORM=none");
        test::tieToTest(program);
        program.start(BRENVIK_PROGRAM, {"--version"});
        QVERIFY(program.waitForFinished(60000) && program.exitCode() == 0);
        QVERIFY(program.readAllStandardOutput().startsWith("brenvik "));
    }

    // The Preferences OK reaches the wave-to-Repeater window and the store; the interaction reaches
    // the main window's progress bar, the folder chooser and the channel dialog.
    void windowsAreConnected() {
        QTemporaryDir card;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, card.path());
        for (const char* loop : {"LOOP1", "LOOP2", "LOOP3"}) QDir(card.path()).mkdir(loop);
        Files files;
        QtInteraction ui;
        QtSettingsStore settings;
        Preferences preferences;
        MainWindow main(preferences, ui, settings,
                        converterWindowFactories(preferences, files, ui));
        connectProgram(ui, main);
        main.startUp();
        main.onPreferencesRequested();
        child<QLineEdit>(main.preferencesDialog(), "loopFolderEdit")->setText(card.path());
        child<QPushButton>(main.preferencesDialog(), "okButton")->click();
        QCOMPARE(child<QLineEdit>(main.waveToRepeaterWindow(), "loopNumberBox")->text(), "4");
        QSettings store(card.filePath("Brenvik/Brenvik.conf"), QSettings::IniFormat);
        QCOMPARE(store.value("Startup/intLP").toString(), card.path());
        ui.showProgress(1, 4);
        QCOMPARE(main.progressBar()->value() * 4, main.progressBar()->maximum());
        QStringList shown;
        test::whenModal([&](QWidget* modal) { shown << modal->windowTitle(), modal->close(); });
        QCOMPARE(ui.chooseFolder("Choose a Loop Folder", "/kept"), std::nullopt);
        test::whenModal([&](QWidget* modal) { shown << modal->objectName(), modal->close(); });
        QCOMPARE(ui.chooseChannel(), std::nullopt);
        ui.showFolderChooser();
        QCOMPARE(shown, (QStringList{"Choose a Loop Folder", "channelDialog"}));
        QVERIFY(main.folderChooser()->isVisible() && !main.folderChooser()->isModal());
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
