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
using brenvik::test::whenModal;

namespace {

// A settings store that fails on one key.
class FailingStore : public test::TestPlatform {
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
        QVERIFY(pref->fadeSecs->isHidden() && pref->Label4->isHidden() && !pref->Label4->isEnabled());
        QVERIFY(pref->autoIncr->text().isEmpty());
        QCOMPARE(pref->size(), QSize(599, 179));
        m_globals.autoIncrement = 0;
        QVERIFY(!std::unique_ptr<Pref>(makePref())->autoIncr->isChecked());
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

    // LOOP1 to LOOPn lie in the folder typed into the field, not in the saved one. Which names
    // count as loops is the search's own test.
    void okPicksTheNextFreeLoop_data() {
        QTest::addColumn<int>("loops");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("LOOP1 to LOOP3") << 3 << true << QStringList{"4"};
        QTest::newRow("box cleared") << 1 << false << QStringList{};
        QTest::newRow("all loops taken") << 999 << true << QStringList{};
    }
    void okPicksTheNextFreeLoop() {
        QFETCH(int, loops);
        QFETCH(bool, checked);
        QTemporaryDir typed;
        for (int n = 1; n <= loops; ++n) QVERIFY(QDir(typed.path()).mkdir(QString("LOOP%1").arg(n)));
        std::unique_ptr<Pref> pref(makePref());
        pref->intLoop->setText(typed.path());
        pref->autoIncr->setChecked(checked);
        pref->Command1->click();
        QTEST(QStringList(m_loopNumbers.begin(), m_loopNumbers.end()), "expected");
        QCOMPARE(m_globals.autoIncrement, int16_t(checked));
        QCOMPARE(m_platform->settingWrites().size(), size_t(4));
        QCOMPARE(m_platform->settings()["Startup/intAI"], std::string(checked ? "1" : "0"));
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
        QCOMPARE(m_loopNumbers, std::vector<QString>{"1"});
    }

    void cancelAndCloseBoxChangeNothingAndDiscard_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }
    void cancelAndCloseBoxChangeNothingAndDiscard() {
        QFETCH(bool, closeBox);
        QPointer<Pref> pref = makePref();
        pref->show();
        pref->intWav->setText("/edited");
        pref->intLoop->setText("/edited/too");
        pref->autoIncr->setChecked(false);
        closeBox ? void(pref->close()) : pref->Command2->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(pref.isNull());
        QVERIFY(m_platform->settingWrites().empty());
        QCOMPARE(m_globals.initLoopDir, m_card);
        QCOMPARE(m_globals.initWaveDir, std::string("/waves"));
        QCOMPARE(m_globals.autoIncrement, int16_t(1));
        QVERIFY(m_loopNumbers.empty());
    }

    void folderFieldsTakeFiftyCharactersFromTheKeyboard() {
        std::unique_ptr<Pref> pref(makePref());
        pref->intWav->setText(QString(50, 'a'));
        QTest::keyClick(pref->intWav, Qt::Key_B);
        QCOMPARE(pref->intWav->text(), QString(50, 'a'));
        pref->intLoop->clear();
        QTest::keyClicks(pref->intLoop, QString(55, 'c'));
        QCOMPARE(pref->intLoop->text(), QString(50, 'c'));
    }

    // The chooser opens on the saved folder with the button's caption; Cancel gives the field its
    // typed text back, OK the chooser's text (kept whole beyond the field's limit). Only the
    // dialog's own OK saves. CARD stands for the saved folder.
    void folderButtons_data() {
        QTest::addColumn<bool>("waveButton");
        QTest::addColumn<QString>("chooserText");  // empty: Cancel; CARD/...: opened in the list
        QTest::addColumn<QString>("expected");
        const QString longFolder = "/" + QString(70, 'x');
        QTest::newRow("loop, Cancel") << false << "" << "/typed/not/saved";
        QTest::newRow("loop, folder opened") << false << "CARD/LOOP1" << "CARD/LOOP1";
        QTest::newRow("wave, typed in the chooser") << true << "/typed/in/chooser" << "/typed/in/chooser";
        QTest::newRow("loop, longer than the field") << false << longFolder << longFolder;
    }
    void folderButtons() {
        QFETCH(bool, waveButton);
        QFETCH(QString, chooserText);
        QFETCH(QString, expected);
        const QString card = QString::fromStdString(m_card);
        chooserText.replace("CARD", card);
        expected.replace("CARD", card);
        QVERIFY(QDir(card).mkdir("LOOP1"));
        (waveButton ? m_globals.initWaveDir : m_globals.initLoopDir) = m_card;
        (waveButton ? m_globals.initLoopDir : m_globals.initWaveDir) = "/";
        std::unique_ptr<Pref> pref(makePref());
        QLineEdit* field = waveButton ? pref->intWav : pref->intLoop;
        field->setText("/typed/not/saved");
        QString caption, shownText;
        whenModal([&](QWidget*) {
            caption = m_chooser->windowTitle();
            shownText = m_chooser->Text1->text();
            if (chooserText.startsWith(card)) m_chooser->Dir1_Open(chooserText);
            else m_chooser->Text1->setText(chooserText);
            (chooserText.isEmpty() ? m_chooser->Command2 : m_chooser->Command1)->click();
        });
        (waveButton ? pref->initWave : pref->initLoop)->click();
        QCOMPARE(caption, waveButton ? QString("Initial .wav file directory") : QString("Initial loop file directory"));
        QCOMPARE(shownText, card);
        QCOMPARE(field->text(), expected);
        QCOMPARE(waveButton ? m_globals.initWaveDir : m_globals.initLoopDir, m_card);
        pref->Command1->click();
        QCOMPARE(m_platform->settings()[waveButton ? "Startup/intWV" : "Startup/intLP"], expected.toStdString());
    }

private:
    Pref* makePref() {
        return new Pref(
            m_globals, *m_platform,
            [this] {
                if (!m_chooser) m_chooser = new DirSelect(m_globals, *m_platform, VolumeAccess::system());
                return m_chooser.data();
            },
            [this](const std::string& number) { m_loopNumbers.push_back(QString::fromStdString(number)); });
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::string m_card;
    std::unique_ptr<FailingStore> m_platform;
    AppGlobals m_globals;
    QPointer<DirSelect> m_chooser;
    std::vector<QString> m_loopNumbers;
};

QTEST_MAIN(TestPref)
#include "tst_pref.moc"
