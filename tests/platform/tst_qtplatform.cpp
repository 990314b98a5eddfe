// The window program's platform: message boxes, settings, progress bar, busy pointer, help
// viewer and the hooks for the program's own choosers.
#include <QGuiApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "QtHelpViewer.h"
#include "QtPlatform.h"
#include "RoutineError.h"
#include "WhenModal.h"

using namespace brenvik;

class TestQtPlatform : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(m_settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    }

    // The box is closed with `press` (Esc when NoButton): any way but Yes or No counts as Cancel.
    void messageBoxes_data() {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<QMessageBox::StandardButton>("press");
        QTest::addColumn<MessageAnswer>("expected");
        const auto ync = MessageButtons::YesNoCancel;
        QTest::newRow("critical notice") << MessageButtons::Ok << MessageIcon::Critical << QMessageBox::Ok
                                         << MessageAnswer::Ok;
        QTest::newRow("yes") << ync << MessageIcon::None << QMessageBox::Yes << MessageAnswer::Yes;
        QTest::newRow("no") << ync << MessageIcon::None << QMessageBox::No << MessageAnswer::No;
        QTest::newRow("cancel") << ync << MessageIcon::None << QMessageBox::Cancel << MessageAnswer::Cancel;
        QTest::newRow("escape") << ync << MessageIcon::None << QMessageBox::NoButton << MessageAnswer::Cancel;
    }
    void messageBoxes() {
        QFETCH(MessageButtons, buttons);
        QFETCH(MessageIcon, icon);
        QFETCH(QMessageBox::StandardButton, press);
        const QString said = buttons == MessageButtons::Ok ? "Device Not Ready" : "Loop already exists. Overwrite?";
        QtPlatform platform;
        QString title, text;
        QMessageBox::Icon shownIcon = QMessageBox::Information;
        QMessageBox::StandardButtons shownButtons;
        test::whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            title = box->windowTitle(), text = box->text();
            shownIcon = box->icon(), shownButtons = box->standardButtons();
            if (press == QMessageBox::NoButton) QTest::keyClick(box, Qt::Key_Escape);
            else box->button(press)->click();
        });
        QTEST(platform.message(said.toStdString(), buttons, icon), "expected");
        QCOMPARE(title, QString("Brenvik"));
        QCOMPARE(text, said);
        QCOMPARE(shownIcon, icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon);
        QCOMPARE(shownButtons, buttons == MessageButtons::Ok
                                   ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                   : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }

    void settingsLiveUnderBrenvikInTheirSection() {
        QtPlatform platform;
        QCOMPARE(platform.readSetting("Startup", "intCF", "45"), std::string("45"));
        platform.writeSetting("Startup", "intLP", "/media/card/");
        QCOMPARE(platform.readSetting("Startup", "intLP", "/"), std::string("/media/card/"));
        QSettings file(m_settingsDir.filePath("Brenvik/Brenvik.conf"), QSettings::IniFormat);
        QCOMPARE(file.value("Startup/intLP").toString(), QString("/media/card/"));
    }

    void unwritableStoreThrows() {
        // The store's folder cannot be created where a plain file already stands.
        QFile blocker(m_settingsDir.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker.fileName());
        QtPlatform platform;
        QVERIFY_THROWS_EXCEPTION(RoutineError, platform.writeSetting("Startup", "intAI", "1"));
    }

    void progressMapsFloatRangeOntoTheBar_data() {
        QTest::addColumn<float>("maximum");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("expectedSteps");
        QTest::newRow("half") << 2097.0f << 1048.5f << QtPlatform::kProgressSteps / 2;
        QTest::newRow("fraction of a small range") << 0.5f << 0.25f << QtPlatform::kProgressSteps / 2;
        QTest::newRow("beyond the end stays full") << 1000.0f << 1048.0f << QtPlatform::kProgressSteps;
        QTest::newRow("empty range") << 0.0f << 0.0f << 0;
    }
    void progressMapsFloatRangeOntoTheBar() {
        QFETCH(float, maximum);
        QFETCH(float, value);
        QProgressBar bar;
        bar.setRange(0, 100);
        QtPlatform platform;
        platform.setProgressBar(&bar);
        QCOMPARE(bar.maximum(), 100);  // handed over, the bar keeps its design range
        platform.setProgressMin(0);
        platform.setProgressMax(maximum);
        platform.setProgressValue(value);
        QCOMPARE(platform.progressValue(), value);
        QCOMPARE(bar.maximum(), QtPlatform::kProgressSteps);
        QTEST(bar.value(), "expectedSteps");
    }

    void busyPointerIsTheWaitCursorOnce() {
        {
            QtPlatform platform;
            platform.setBusy(true);
            QVERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            platform.setBusy(true);
            platform.setBusy(false);
            QVERIFY(!QGuiApplication::overrideCursor());
            platform.setBusy(true);
        }
        QVERIFY(!QGuiApplication::overrideCursor());  // ended while busy, it gave the pointer back
    }

    void helpShowsTheOwnManualAndNamesTheHelpFile() {
        QFile manual(m_settingsDir.filePath("manual.html"));
        QVERIFY(manual.open(QIODevice::WriteOnly));
        manual.write("<html><body><h1>Own manual</h1></body></html>");
        manual.close();
        QtPlatform platform;
        platform.setManualSource(QUrl::fromLocalFile(manual.fileName()).toString());
        platform.showHelp("/home/user/Documents/Brenvik.hlp", 15);
        QtHelpViewer* viewer = platform.helpViewer();
        QVERIFY(viewer && viewer->isVisible());
        QVERIFY(viewer->browser()->toPlainText().contains("Own manual"));
        QVERIFY(viewer->footerText().contains("/home/user/Documents/Brenvik.hlp"));
        QVERIFY(viewer->footerText().contains("15"));
        platform.showHelp("/home/user/Documents/Brenvik.hlp", 15);
        QCOMPARE(platform.helpViewer(), viewer);
    }

    void choosersGoThroughTheirHooks() {
        QtPlatform platform;
        QCOMPARE(platform.chooseChannel(), std::optional<Channel>());
        std::string folder = "/kept", seenCaption;
        platform.chooseFolder("Choose a Loop Folder", folder);
        QCOMPARE(folder, std::string("/kept"));

        int modelessShown = 0;
        platform.chooseChannelHook = [] { return std::optional<Channel>(Channel::Right); };
        platform.chooseFolderHook = [&](const std::string& caption, std::string& chosen) {
            seenCaption = caption;
            chosen = "/media/card";
        };
        platform.showFolderChooserHook = [&] { ++modelessShown; };
        QCOMPARE(platform.chooseChannel(), std::optional<Channel>(Channel::Right));
        platform.chooseFolder("Choose a Loop Folder", folder);
        QCOMPARE(seenCaption, std::string("Choose a Loop Folder"));
        QCOMPARE(folder, std::string("/media/card"));
        platform.showFolderChooser();
        QCOMPARE(modelessShown, 1);
    }

private:
    QTemporaryDir m_settingsDir;
};

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
