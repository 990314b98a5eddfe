// The folder chooser: where it starts, the ways out of a modal use, drives and folders.
#include "FolderChooser.h"
#include "GuiTest.h"
#include "LookCheck.h"
#include "TestInteraction.h"

using namespace brenvik;
using test::child;

class TestFolderChooser : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(QDir(m_dir.path()).mkpath("card/LOOP1") && QDir(m_dir.path()).mkpath("card/LOOP2"));
        m_card = m_dir.filePath("card");
        m_ui.reset(new test::TestInteraction);
        // The root, the card (ready) and the card reader above it without a card (not ready).
        m_drives.list = [this] {
            return QList<DriveVolume>{{"/", ""}, {m_card, "CF"}, {m_dir.path(), ""}};
        };
        m_drives.ready = [this](const QString& root) { return root != m_dir.path(); };
    }

    // Only OK chooses, whatever the box holds; a drive without medium says so.
    void endings() {
        for (int ending = 0; ending < 5; ++ending) {
            QPointer chooser = new FolderChooser(m_card.toStdString(), *m_ui, m_drives);
            QComboBox* drives = child<QComboBox>(chooser, "driveList");
            test::whenModal([&](QWidget*) {
                child<QLineEdit>(chooser, "folderEdit")->setText("/no/such/folder/");
                const char* button = ending ? "cancelButton" : "okButton";
                if (ending < 2) child<QPushButton>(chooser, button)->click();
                if (ending == 2) QTest::keyClick(chooser, Qt::Key_Escape);
                if (ending == 3) drives->setCurrentIndex(2), emit drives->activated(2);
                if (ending == 4) chooser->close();
            });
            m_ui->clearRecords();
            const auto chosen = chooser->choose("Choose a Loop Folder");
            QCOMPARE(chosen.value_or("none"), std::string(ending ? "none" : "/no/such/folder/"));
            const std::vector<std::string> notReady(ending == 3, "Device Not Ready");
            QCOMPARE(m_ui->messageTexts(), notReady);
            QVERIFY(ending != 3 || m_ui->messages()[0].icon == MessageIcon::Critical);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(chooser.isNull(), ending == 4);  // the close box discards it
            delete chooser;
        }
    }

    // It starts on the loop folder, or silently on the root, with ten rows of folders in sight;
    // an opened entry becomes current;
    // each drive shows the folder last opened on it; a folder that vanished is not ready.
    void drivesAndFolders() {
        QStringList shown;
        for (const QString& start : {m_card + "/LOOP9", m_dir.path(), QString(), m_card})
            shown << FolderChooser(start.toStdString(), *m_ui, m_drives).currentFolder();
        FolderChooser chooser(m_card.toStdString(), *m_ui, m_drives);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowActive(&chooser));  // the focus ring shows round the list
        BRENVIK_CHECK_LOOK(&chooser, "folder-chooser");
        QTreeWidget* folders = child<QTreeWidget>(&chooser, "folderList");
        QVERIFY(folders->viewport()->height() >= 10 * folders->sizeHintForRow(0));
        emit folders->itemActivated(folders->currentItem()->child(1), 0);
        QComboBox* drives = child<QComboBox>(&chooser, "driveList");
        for (int drive : {0, 1}) emit drives->activated(drive), shown << chooser.currentFolder();
        QCOMPARE(shown, (QStringList{"/", "/", "/", m_card, "/", m_card + "/LOOP2"}));
        QVERIFY(QDir(m_card + "/LOOP1").removeRecursively() && m_ui->messages().empty());
        chooser.openFolder(m_card + "/LOOP1");
        QCOMPARE(m_ui->messageTexts(), std::vector<std::string>{"Device Not Ready"});
        QVERIFY(chooser.isHidden());
    }

private:
    QTemporaryDir m_dir;
    QString m_card;
    VolumeAccess m_drives;
    std::unique_ptr<test::TestInteraction> m_ui;
};

QTEST_MAIN(TestFolderChooser)
#include "tst_folderchooser.moc"
