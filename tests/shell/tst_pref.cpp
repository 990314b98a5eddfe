// The Preferences dialog: loading from the globals, OK (order of writes, loop number, failure),
// Cancel, the folder buttons and the field limits.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "AppGlobals.h"
#include "DirSelect.h"
#include "Pref.h"
#include "RoutineError.h"
#include "TestPlatform.h"
#include "WhenModal.h"

using namespace brenvik;
using brenvik::test::TestPlatform;
using brenvik::test::whenModal;

namespace {

// A settings store that fails on one key.
class FailingStore : public TestPlatform {
public:
    std::string failingKey;
    void writeSetting(const std::string& section, const std::string& key,
                      const std::string& text) override {
        if (key == failingKey) throw RoutineError("store is read-only");
        TestPlatform::writeSetting(section, key, text);
    }
};

}  // namespace

class TestPref : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        m_card = QDir(m_dir->path()).absolutePath().toStdString();
        m_platform.reset(new FailingStore);
        m_globals = AppGlobals{};
        m_globals.initLoopDir = m_card;
        m_globals.initWaveDir = "/waves";
        m_loopNumbers.clear();
    }
    void cleanup() { delete m_chooser; }

    void fieldsShowTheGlobals() {
        m_globals.crossfadeMs = 45;
        m_globals.autoIncrement = 1;
        std::unique_ptr<Pref> pref(makePref());
        QCOMPARE(pref->windowTitle(), QString("Preferences"));
        QCOMPARE(pref->intLoop->text().toStdString(), m_card);
        QCOMPARE(pref->intWav->text(), QString("/waves"));
        QCOMPARE(pref->fadeSecs->text(), QString("45"));
        QVERIFY(pref->autoIncr->isChecked());
        QCOMPARE(pref->Label1->text(), QString("Initial .wav file directory:"));
        QCOMPARE(pref->Label2->text(), QString("Initial loop directory:"));
        QCOMPARE(pref->Label3->text(), QString("Automatically find next available loop:"));
        // The crossfade length is carried but cannot be seen or edited.
        QVERIFY(pref->fadeSecs->isHidden());
        QVERIFY(pref->Label4->isHidden());
        QVERIFY(!pref->Label4->isEnabled());
        QVERIFY(pref->autoIncr->text().isEmpty());
        QCOMPARE(pref->size(), QSize(599, 179));
    }

    void checkBoxFollowsAutoIncrement() {
        m_globals.autoIncrement = 0;
        std::unique_ptr<Pref> pref(makePref());
        QVERIFY(!pref->autoIncr->isChecked());
    }

    void okWritesAllFourInOrderAndHides() {
        std::unique_ptr<Pref> pref(makePref());
        pref->show();
        pref->intWav->setText("/music/in");
        pref->intLoop->setText(QString::fromStdString(m_card + "/"));
        pref->Command1->click();
        QCOMPARE(m_platform->settingWrites(),
                 (std::vector<std::string>{"Startup/intLP=" + m_card + "/", "Startup/intWV=/music/in",
                                           "Startup/intAI=1", "Startup/intCF=45"}));
        QCOMPARE(m_globals.initLoopDir, m_card + "/");
        QCOMPARE(m_globals.initWaveDir, std::string("/music/in"));
        QVERIFY(pref->isHidden());
        // Hidden, not discarded: the fields stay as they are.
        QCOMPARE(pref->intWav->text(), QString("/music/in"));
        QVERIFY(m_platform->messages().empty());
    }

    void okPicksTheNextFreeLoop_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        QTest::newRow("LOOP1 to LOOP3") << QStringList{"LOOP1", "LOOP2", "LOOP3"} << "4";
        QTest::newRow("LOOP1 absent") << QStringList{"LOOP2", "LOOP3"} << "1";
        QTest::newRow("LOOP001 is not LOOP1") << QStringList{"LOOP001"} << "1";
    }
    void okPicksTheNextFreeLoop() {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        for (const QString& name : present) QVERIFY(QDir(QString::fromStdString(m_card)).mkdir(name));
        std::unique_ptr<Pref> pref(makePref());
        pref->Command1->click();
        QCOMPARE(m_loopNumbers, std::vector<std::string>{expected.toStdString()});
    }

    void okSearchesTheFolderInTheField() {
        QTemporaryDir other;
        QVERIFY(QDir(other.path()).mkdir("LOOP1"));
        std::unique_ptr<Pref> pref(makePref());
        pref->intLoop->setText(other.path());
        pref->Command1->click();
        QCOMPARE(m_loopNumbers, std::vector<std::string>{"2"});
    }

    void okWithTheBoxClearedLeavesTheLoopNumber() {
        std::unique_ptr<Pref> pref(makePref());
        pref->autoIncr->setChecked(false);
        pref->Command1->click();
        QVERIFY(m_loopNumbers.empty());
        QCOMPARE(m_globals.autoIncrement, int16_t(0));
        QCOMPARE(m_platform->settings()["Startup/intAI"], std::string("0"));
    }

    void okWithAllLoopsTakenLeavesTheLoopNumber() {
        for (int n = 1; n <= 999; ++n)
            QVERIFY(QDir(QString::fromStdString(m_card)).mkdir(QString("LOOP%1").arg(n)));
        std::unique_ptr<Pref> pref(makePref());
        pref->Command1->click();
        QVERIFY(m_loopNumbers.empty());
        QCOMPARE(m_platform->settingWrites().size(), size_t(4));
    }

    void failedWriteSaysErrorInPreferences() {
        m_platform->failingKey = "intAI";
        std::unique_ptr<Pref> pref(makePref());
        pref->show();
        pref->intWav->setText("/new/waves");
        pref->Command1->click();
        QCOMPARE(m_platform->messageTexts(), std::vector<std::string>{"Error in Preferences"});
        QCOMPARE(m_platform->messages().front().icon, MessageIcon::Critical);
        QCOMPARE(m_platform->messages().front().buttons, MessageButtons::Ok);
        QVERIFY(pref->isHidden());
        // What came before the failure stays done; what came after did not happen.
        QCOMPARE(m_platform->settingWrites(),
                 (std::vector<std::string>{"Startup/intLP=" + m_card, "Startup/intWV=/new/waves"}));
        QCOMPARE(m_globals.initWaveDir, std::string("/new/waves"));
        QCOMPARE(m_loopNumbers, std::vector<std::string>{"1"});
    }

    void cancelChangesNothingAndDiscards() {
        QPointer<Pref> pref = makePref();
        pref->show();
        pref->intWav->setText("/edited");
        pref->intLoop->setText("/edited/too");
        pref->autoIncr->setChecked(false);
        pref->Command2->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(pref.isNull());
        QVERIFY(m_platform->settingWrites().empty());
        QCOMPARE(m_globals.initLoopDir, m_card);
        QCOMPARE(m_globals.initWaveDir, std::string("/waves"));
        QCOMPARE(m_globals.autoIncrement, int16_t(1));
        QVERIFY(m_loopNumbers.empty());
    }

    void closeBoxDiscardsLikeCancel() {
        QPointer<Pref> pref = makePref();
        pref->show();
        pref->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(pref.isNull());
        QVERIFY(m_platform->settingWrites().empty());
    }

    void folderFieldsTakeFiftyCharactersFromTheKeyboard() {
        std::unique_ptr<Pref> pref(makePref());
        pref->intWav->setText(QString(50, 'a'));
        pref->intWav->end(false);
        QTest::keyClick(pref->intWav, Qt::Key_B);
        QCOMPARE(pref->intWav->text(), QString(50, 'a'));
        pref->intLoop->clear();
        QTest::keyClicks(pref->intLoop, QString(55, 'c'));
        QCOMPARE(pref->intLoop->text(), QString(50, 'c'));
    }

    void folderButtonWithCancelKeepsTheTypedText() {
        std::unique_ptr<Pref> pref(makePref());
        pref->intLoop->setText("/typed/not/saved");
        whenModal([this](QWidget*) { m_chooser->Command2->click(); });
        pref->initLoop->click();
        QCOMPARE(pref->intLoop->text(), QString("/typed/not/saved"));
    }

    void folderButtonOpensOnTheSavedFolderWithItsCaption() {
        QVERIFY(QDir(QString::fromStdString(m_card)).mkdir("LOOP1"));
        std::unique_ptr<Pref> pref(makePref());
        pref->intLoop->setText("/typed/not/saved");
        QString caption, shownText;
        whenModal([&](QWidget*) {
            caption = m_chooser->windowTitle();
            shownText = m_chooser->Text1->text();
            m_chooser->Dir1_Open(QString::fromStdString(m_card + "/LOOP1"));
            m_chooser->Command1->click();
        });
        pref->initLoop->click();
        QCOMPARE(caption, QString("Initial loop file directory"));
        QCOMPARE(shownText.toStdString(), m_card);
        QCOMPARE(pref->intLoop->text().toStdString(), m_card + "/LOOP1");
        // Only OK of the dialog saves.
        QCOMPARE(m_globals.initLoopDir, m_card);
    }

    void waveFolderButtonUsesTheWaveFolder() {
        m_globals.initWaveDir = m_card;
        std::unique_ptr<Pref> pref(makePref());
        QString caption, shownText;
        whenModal([&](QWidget*) {
            caption = m_chooser->windowTitle();
            shownText = m_chooser->Text1->text();
            m_chooser->Text1->setText("/typed/in/chooser");
            m_chooser->Command1->click();
        });
        pref->initWave->click();
        QCOMPARE(caption, QString("Initial .wav file directory"));
        QCOMPARE(shownText.toStdString(), m_card);
        QCOMPARE(pref->intWav->text(), QString("/typed/in/chooser"));
    }

    void chosenFolderLongerThanTheFieldIsKeptWhole() {
        std::unique_ptr<Pref> pref(makePref());
        const QString longFolder = "/" + QString(70, 'x');
        whenModal([&](QWidget*) {
            m_chooser->Text1->setText(longFolder);
            m_chooser->Command1->click();
        });
        pref->initLoop->click();
        QCOMPARE(pref->intLoop->text(), longFolder);
        pref->Command1->click();
        QCOMPARE(m_platform->settings()["Startup/intLP"], longFolder.toStdString());
    }

private:
    Pref* makePref() {
        return new Pref(
            m_globals, *m_platform,
            [this] {
                if (!m_chooser) m_chooser = new DirSelect(m_globals, *m_platform, VolumeAccess::system());
                return m_chooser.data();
            },
            [this](const std::string& number) { m_loopNumbers.push_back(number); });
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::string m_card;
    std::unique_ptr<FailingStore> m_platform;
    AppGlobals m_globals;
    QPointer<DirSelect> m_chooser;
    std::vector<std::string> m_loopNumbers;
};

QTEST_MAIN(TestPref)
#include "tst_pref.moc"
