// The window program's platform: message boxes, settings, progress bar, busy pointer, help
// viewer and the hooks for the program's own choosers.
#include <QGuiApplication>
#include <QLabel>
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
using brenvik::test::whenModal;

namespace {

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons;
};

// Records the box and then closes it with the given button (or with Esc when there is none).
void answerBox(SeenBox& seen, QMessageBox::StandardButton press) {
    whenModal([&seen, press](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        if (press == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(press)->click();
    });
}

}  // namespace

class TestQtPlatform : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(m_settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    }

    void criticalMessageHasTheTitleIconAndOkButton() {
        QtPlatform platform;
        SeenBox seen;
        answerBox(seen, QMessageBox::Ok);
        QCOMPARE(platform.message("Device Not Ready", MessageButtons::Ok, MessageIcon::Critical),
                 MessageAnswer::Ok);
        QCOMPARE(seen.title, QString("Brenvik"));
        QCOMPARE(seen.text, QString("Device Not Ready"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void questionAnswers_data() {
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("expected");
        QTest::newRow("yes") << int(QMessageBox::Yes) << int(MessageAnswer::Yes);
        QTest::newRow("no") << int(QMessageBox::No) << int(MessageAnswer::No);
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << int(MessageAnswer::Cancel);
        // Closing the box any other way counts as Cancel.
        QTest::newRow("escape") << int(QMessageBox::NoButton) << int(MessageAnswer::Cancel);
    }
    void questionAnswers() {
        QFETCH(int, press);
        QFETCH(int, expected);
        QtPlatform platform;
        SeenBox seen;
        answerBox(seen, static_cast<QMessageBox::StandardButton>(press));
        const MessageAnswer answer = platform.message("Loop already exists. Overwrite?",
                                                      MessageButtons::YesNoCancel, MessageIcon::None);
        QCOMPARE(int(answer), expected);
        QCOMPARE(seen.title, QString("Brenvik"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }

    void absentSettingGivesTheDefault() {
        QtPlatform platform;
        QCOMPARE(platform.readSetting("Startup", "intCF", "45"), std::string("45"));
    }

    void settingIsStoredUnderBrenvikInItsSection() {
        QtPlatform platform;
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

    void progressTakesTheBarsDesignRange() {
        QProgressBar bar;
        bar.setRange(0, 100);
        bar.setValue(0);
        QtPlatform platform;
        platform.setProgressBar(&bar);
        QCOMPARE(platform.progressValue(), 0.0f);
        QCOMPARE(bar.maximum(), 100);
    }

    void progressMapsFloatRangeOntoTheBar_data() {
        QTest::addColumn<float>("maximum");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("expectedSteps");
        QTest::newRow("half") << 2097.0f << 1048.5f << QtPlatform::kProgressSteps / 2;
        QTest::newRow("fraction of a small range") << 0.5f << 0.25f << QtPlatform::kProgressSteps / 2;
        QTest::newRow("end") << 1000.0f << 1000.0f << QtPlatform::kProgressSteps;
        QTest::newRow("beyond the end stays full") << 1000.0f << 1048.0f << QtPlatform::kProgressSteps;
        QTest::newRow("empty range") << 0.0f << 0.0f << 0;
    }
    void progressMapsFloatRangeOntoTheBar() {
        QFETCH(float, maximum);
        QFETCH(float, value);
        QFETCH(int, expectedSteps);
        QProgressBar bar;
        QtPlatform platform;
        platform.setProgressBar(&bar);
        platform.setProgressMin(0);
        platform.setProgressMax(maximum);
        platform.setProgressValue(value);
        QCOMPARE(platform.progressValue(), value);
        QCOMPARE(bar.maximum(), QtPlatform::kProgressSteps);
        QCOMPARE(bar.value(), expectedSteps);
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
        // A platform that ends while busy gives the pointer back.
        QVERIFY(!QGuiApplication::overrideCursor());
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
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->browser()->toPlainText().contains("Own manual"));
        QVERIFY(viewer->footerText().contains("/home/user/Documents/Brenvik.hlp"));
        QVERIFY(viewer->footerText().contains("15"));
        platform.showHelp("/home/user/Documents/Brenvik.hlp", 15);
        QCOMPARE(platform.helpViewer(), viewer);
    }

    void choosersGoThroughTheirHooks() {
        QtPlatform platform;
        QCOMPARE(platform.chooseChannel(), std::optional<Channel>());
        std::string folder = "/kept";
        platform.chooseFolder("Choose a Loop Folder", folder);
        QCOMPARE(folder, std::string("/kept"));

        platform.chooseChannelHook = [] { return std::optional<Channel>(Channel::Right); };
        std::string seenCaption;
        platform.chooseFolderHook = [&](const std::string& caption, std::string& chosen) {
            seenCaption = caption;
            chosen = "/media/card";
        };
        int modelessShown = 0;
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
