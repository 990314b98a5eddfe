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
using brenvik::test::whenModal;

// How a modal use of the chooser ends.
enum Ending { OpenedAndOk, TypedAndOk, TypedAndCancel, Escape, DriveWithoutMedium, CloseBox };

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
        m_platform.reset(new test::TestPlatform);
        m_globals = AppGlobals{};
    }

    void startsOnTheSavedLoopFolderAmongTheVolumes() {
        m_globals.initLoopDir = (m_card + "/LOOP1").toStdString();
        DirSelect chooser(m_globals, *m_platform, volumes());
        QCOMPARE(chooser.windowTitle(), QString("Choose folder"));
        QCOMPARE(chooser.Drive1->count(), 3);
        QCOMPARE(chooser.Drive1->itemText(1), m_card + " [REPEATER]");
        QCOMPARE(chooser.Drive1->currentIndex(), 1);
        QCOMPARE(chooser.currentFolder(), m_card + "/LOOP1");
        QCOMPARE(chooser.Text1->text(), m_card + "/LOOP1");
        QCOMPARE(chooser.Dir1->currentItem()->text(0), QString("LOOP1"));
        QVERIFY(m_platform->messages().empty());
    }

    void unusableSavedFolderFallsBackToTheRootSilently_data() {
        QTest::addColumn<QString>("saved");
        QTest::newRow("missing folder") << "CARD/LOOP9";
        QTest::newRow("drive not ready") << "READER";
        QTest::newRow("empty text") << "";
    }
    void unusableSavedFolderFallsBackToTheRootSilently() {
        QFETCH(QString, saved);
        m_globals.initLoopDir = saved.replace("CARD", m_card).replace("READER", m_reader).toStdString();
        DirSelect chooser(m_globals, *m_platform, volumes());
        QCOMPARE(chooser.Drive1->currentIndex(), 0);
        QCOMPARE(chooser.currentFolder(), QString("/"));
        QCOMPARE(chooser.Text1->text(), QString("/"));
        QVERIFY(m_platform->messages().empty());
    }

    // Shown modally with "field text" as the value to keep; every way out but OK keeps it.
    void endings_data() {
        QTest::addColumn<int>("ending");
        QTest::addColumn<QString>("expected");
        QTest::newRow("OK on an opened folder") << int(OpenedAndOk) << "CARD/LOOP2";
        QTest::newRow("OK on a typed path, unchecked") << int(TypedAndOk) << "/no/such/folder/";
        QTest::newRow("Cancel after typing") << int(TypedAndCancel) << "field text";
        QTest::newRow("Esc") << int(Escape) << "field text";
        QTest::newRow("drive without medium") << int(DriveWithoutMedium) << "field text";
        QTest::newRow("close box discards") << int(CloseBox) << "field text";
    }
    void endings() {
        QFETCH(int, ending);
        QFETCH(QString, expected);
        QPointer<DirSelect> chooser = new DirSelect(m_globals, *m_platform, volumes());
        chooser->presetFolder(m_card);
        m_globals.chosenFolder = "field text";
        whenModal([&](QWidget* modal) {
            QCOMPARE(modal, chooser.data());
            switch (ending) {
            case OpenedAndOk: chooser->Dir1_Open(m_card + "/LOOP2"); return chooser->Command1->click();
            case TypedAndOk: chooser->Text1->setText("/no/such/folder/"); return chooser->Command1->click();
            case TypedAndCancel: chooser->Text1->setText("/no/such/folder/"); return chooser->Command2->click();
            case Escape: return QTest::keyClick(chooser, Qt::Key_Escape);
            case DriveWithoutMedium: chooser->Drive1->setCurrentIndex(2); return chooser->Drive1_Change();
            case CloseBox: chooser->close();
            }
        });
        chooser->showModal();
        QCOMPARE(QString::fromStdString(m_globals.chosenFolder), expected.replace("CARD", m_card));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(chooser.isNull(), ending == CloseBox);
        QVERIFY(!chooser || chooser->isHidden());
        if (ending != DriveWithoutMedium) QVERIFY(m_platform->messages().empty());
        else {
            QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"Device Not Ready"});
            QCOMPARE(m_platform->messages().front().icon, MessageIcon::Critical);
            QCOMPARE(m_platform->messages().front().buttons, MessageButtons::Ok);
            QCOMPARE(chooser->Drive1->currentIndex(), 2);  // still shows the drive that was picked
        }
        delete chooser;
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
    std::unique_ptr<test::TestPlatform> m_platform;
    AppGlobals m_globals;
    QString m_card;
    QString m_reader;
};

QTEST_MAIN(TestDirSelect)
#include "tst_dirselect.moc"
