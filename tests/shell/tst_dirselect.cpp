// The folder chooser: start-up on the saved loop folder, presets, OK, Cancel, typed paths, a
// drive that is not ready, the close box, and its state between uses.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "AppGlobals.h"
#include "DirSelect.h"
#include "TestPlatform.h"
#include "WhenModal.h"

using namespace brenvik;
using brenvik::test::TestPlatform;
using brenvik::test::whenModal;

class TestDirSelect : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(QDir(m_dir->path()).mkpath("card/LOOP1"));
        QVERIFY(QDir(m_dir->path()).mkpath("card/LOOP2"));
        QVERIFY(QDir(m_dir->path()).mkpath("empty-reader"));
        m_card = QDir(m_dir->filePath("card")).absolutePath();
        m_reader = QDir(m_dir->filePath("empty-reader")).absolutePath();
        m_platform.reset(new TestPlatform);
        m_globals = AppGlobals{};
    }

    void drivesAreTheVolumes() {
        DirSelect chooser(m_globals, *m_platform, volumes());
        QCOMPARE(chooser.Drive1->count(), 3);
        QCOMPARE(chooser.Drive1->itemText(1), m_card + " [REPEATER]");
        QCOMPARE(chooser.windowTitle(), QString("Choose folder"));
    }

    void startsOnTheSavedLoopFolder() {
        m_globals.initLoopDir = (m_card + "/LOOP1").toStdString();
        DirSelect chooser(m_globals, *m_platform, volumes());
        QCOMPARE(chooser.Drive1->currentIndex(), 1);
        QCOMPARE(chooser.currentFolder(), m_card + "/LOOP1");
        QCOMPARE(chooser.Text1->text(), m_card + "/LOOP1");
        QCOMPARE(chooser.Dir1->currentItem()->text(0), QString("LOOP1"));
        QVERIFY(m_platform->messages().empty());
    }

    void unusableSavedFolderFallsBackToTheRootSilently_data() {
        QTest::addColumn<QString>("saved");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("drive not ready") << "reader";
        QTest::newRow("empty text") << "";
    }
    void unusableSavedFolderFallsBackToTheRootSilently() {
        QFETCH(QString, saved);
        const QString folder = saved == "missing"  ? m_card + "/LOOP9"
                               : saved == "reader" ? m_reader
                                                   : QString();
        m_globals.initLoopDir = folder.toStdString();
        DirSelect chooser(m_globals, *m_platform, volumes());
        QCOMPARE(chooser.Drive1->currentIndex(), 0);
        QCOMPARE(chooser.currentFolder(), QString("/"));
        QCOMPARE(chooser.Text1->text(), QString("/"));
        QVERIFY(m_platform->messages().empty());
    }

    void okGivesTheFolderAndHides() {
        DirSelect chooser(m_globals, *m_platform, volumes());
        chooser.presetFolder(m_card);
        m_globals.chosenFolder = "kept on cancel";
        whenModal([&](QWidget* modal) {
            QCOMPARE(modal, &chooser);
            chooser.Dir1_Open(m_card + "/LOOP2");
            chooser.Command1->click();
        });
        chooser.showModal();
        QCOMPARE(m_globals.chosenFolder, (m_card + "/LOOP2").toStdString());
        QVERIFY(chooser.isHidden());
    }

    void typedPathIsReturnedUnchecked() {
        DirSelect chooser(m_globals, *m_platform, volumes());
        whenModal([&](QWidget*) {
            chooser.Text1->setText("/no/such/folder/");
            chooser.Command1->click();
        });
        chooser.showModal();
        QCOMPARE(m_globals.chosenFolder, std::string("/no/such/folder/"));
    }

    void cancelKeepsTheCallersValue() {
        DirSelect chooser(m_globals, *m_platform, volumes());
        m_globals.chosenFolder = "field text";
        whenModal([&](QWidget*) {
            chooser.Text1->setText("/somewhere/else");
            chooser.Command2->click();
        });
        chooser.showModal();
        QCOMPARE(m_globals.chosenFolder, std::string("field text"));
        QVERIFY(chooser.isHidden());
    }

    void escapeIsCancel() {
        DirSelect chooser(m_globals, *m_platform, volumes());
        m_globals.chosenFolder = "field text";
        whenModal([&](QWidget*) { QTest::keyClick(&chooser, Qt::Key_Escape); });
        chooser.showModal();
        QCOMPARE(m_globals.chosenFolder, std::string("field text"));
        QVERIFY(chooser.isHidden());
    }

    void driveWithoutMediumSaysDeviceNotReadyAndHides() {
        DirSelect chooser(m_globals, *m_platform, volumes());
        m_globals.chosenFolder = "field text";
        whenModal([&](QWidget*) {
            chooser.Drive1->setCurrentIndex(2);
            chooser.Drive1_Change();
        });
        chooser.showModal();
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"Device Not Ready"});
        QCOMPARE(m_platform->messages().front().icon, MessageIcon::Critical);
        QCOMPARE(m_platform->messages().front().buttons, MessageButtons::Ok);
        QVERIFY(chooser.isHidden());
        QCOMPARE(m_globals.chosenFolder, std::string("field text"));
        // The drive list still shows the drive that was picked.
        QCOMPARE(chooser.Drive1->currentIndex(), 2);
    }

    void pickingADriveShowsItsCurrentFolder() {
        DirSelect chooser(m_globals, *m_platform, volumes());
        chooser.presetFolder(m_card + "/LOOP1");
        chooser.Drive1->setCurrentIndex(0);
        chooser.Drive1_Change();
        QCOMPARE(chooser.Text1->text(), QString("/"));
        // Back on the card: the folder last opened there.
        chooser.Drive1->setCurrentIndex(1);
        chooser.Drive1_Change();
        QCOMPARE(chooser.Text1->text(), m_card + "/LOOP1");
        QVERIFY(m_platform->messages().empty());
    }

    void openingAFolderThatVanishedSaysDeviceNotReady() {
        DirSelect chooser(m_globals, *m_platform, volumes());
        chooser.presetFolder(m_card);
        chooser.show();
        QVERIFY(QDir(m_card + "/LOOP2").removeRecursively());
        chooser.Dir1_Open(m_card + "/LOOP2");
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"Device Not Ready"});
        QVERIFY(chooser.isHidden());
    }

    void keepsItsStateBetweenUses() {
        DirSelect chooser(m_globals, *m_platform, volumes());
        chooser.presetFolder(m_card);
        whenModal([&](QWidget*) {
            chooser.Dir1_Open(m_card + "/LOOP1");
            chooser.Text1->setText(m_card + "/typed");
            chooser.Command2->click();
        });
        chooser.showModal();
        whenModal([&](QWidget*) { chooser.Command2->click(); });
        chooser.showModal();
        QCOMPARE(chooser.currentFolder(), m_card + "/LOOP1");
        QCOMPARE(chooser.Text1->text(), m_card + "/typed");
    }

    void closeBoxDiscardsTheDialog() {
        QPointer<DirSelect> chooser = new DirSelect(m_globals, *m_platform, volumes());
        m_globals.chosenFolder = "field text";
        whenModal([&](QWidget*) { chooser->close(); });
        chooser->showModal();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(chooser.isNull());
        QCOMPARE(m_globals.chosenFolder, std::string("field text"));
    }

private:
    // The root, the card (ready) and a card reader without a card (not ready).
    VolumeAccess volumes() const {
        VolumeAccess access;
        access.list = [card = m_card, reader = m_reader] {
            return QList<DriveVolume>{{"/", ""}, {card, "REPEATER"}, {reader, ""}};
        };
        access.ready = [reader = m_reader](const QString& root) { return root != reader; };
        return access;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    AppGlobals m_globals;
    QString m_card;
    QString m_reader;
};

QTEST_MAIN(TestDirSelect)
#include "tst_dirselect.moc"
