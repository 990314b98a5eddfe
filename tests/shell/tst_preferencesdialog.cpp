// The Preferences dialog: OK (its steps in order, the windows told, the failure), Enter and Tab,
// Cancel and the close box, the folder buttons.
#include "FolderChooser.h"
#include "GuiTest.h"
#include "LookCheck.h"
#include "Preferences.h"
#include "PreferencesDialog.h"
#include "TestInteraction.h"

using namespace brenvik;
using test::child;

class TestPreferencesDialog : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_ui.reset(new test::TestInteraction);
        m_preferences = Preferences{m_dir.path().toStdString(), "/waves", 30, true};
        m_applied.clear();
        delete m_chooser;
        m_chooser = new FolderChooser("/", *m_ui, VolumeAccess::system());
        m_dialog = new PreferencesDialog(
            m_preferences, *m_ui, *m_ui, [this] { return m_chooser; },
            [this](const Preferences& before) { m_applied << before.loopFolder.c_str(); });
        m_dialog->show();
    }
    void cleanup() { delete m_dialog, delete m_chooser; }

    // The user types a loop folder and a long wave folder, sets the boxes and presses Enter in a
    // field. The windows are told what the preferences were, even after a failure.
    void ok_data() {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("crossfade");  // the hidden field's text
        QTest::newRow("boxes set") << true << "30";
        QTest::newRow("boxes cleared") << false << "30";
        QTest::newRow("bad crossfade") << true << "4x";
    }
    void ok() {
        QFETCH(bool, checked);
        QFETCH(QString, crossfade);
        QTemporaryDir typed;
        QCOMPARE(edit("loopFolderEdit")->text(), m_dir.path());
        edit("loopFolderEdit")->setText(typed.path());
        QTest::keyClicks(edit("waveFolderEdit"), "/" + QString(55, 'w'));
        edit("crossfadeEdit")->setText(crossfade);
        child<QCheckBox>(m_dialog, "autoIncrementCheck")->setChecked(checked);
        child<QCheckBox>(m_dialog, "tempoAsShownCheck")->setChecked(!checked);
        QVERIFY(child<QCheckBox>(m_dialog, "readBackCheck")->isChecked());  // on unless turned off
        child<QCheckBox>(m_dialog, "readBackCheck")->setChecked(!checked);
        QVERIFY(child<QCheckBox>(m_dialog, "guessBeatsCheck")->isChecked());  // on unless turned off
        child<QCheckBox>(m_dialog, "guessBeatsCheck")->setChecked(!checked);
        QVERIFY(!child<QCheckBox>(m_dialog, "namesOnCardCheck")->isChecked());  // off unless turned on
        child<QCheckBox>(m_dialog, "namesOnCardCheck")->setChecked(checked);
        QTest::keyClick(edit("waveFolderEdit"), Qt::Key_Return);

        const std::string waves = "/waves/" + std::string(43, 'w');  // the field takes 50
        const bool failed = crossfade != "30";
        using Texts = std::vector<std::string>;
        const Texts all{"Startup/intLP=" + typed.path().toStdString(), "Startup/intWV=" + waves,
                        checked ? "Startup/intAI=1" : "Startup/intAI=0", "Startup/intCF=30",
                        checked ? "Startup/intTS=0" : "Startup/intTS=1",
                        checked ? "Startup/intRB=0" : "Startup/intRB=1",
                        checked ? "Startup/intGB=0" : "Startup/intGB=1",
                        checked ? "Startup/intNC=1" : "Startup/intNC=0"};
        QCOMPARE(m_ui->settingWrites(), failed ? Texts{} : all);
        QCOMPARE(m_ui->messageTexts(), Texts(failed, "Error in Preferences"));
        QVERIFY(!failed || m_ui->messages()[0].icon == MessageIcon::Critical);
        QVERIFY(!failed || m_ui->messages()[0].detail == "\"4x\" is not a number");
        QCOMPARE(m_applied, QStringList{m_dir.path()});
        const Preferences& p = m_preferences;  // the steps before a failure stay done
        QVERIFY(p.loopFolder == typed.path().toStdString() && p.waveFolder == waves);
        QVERIFY(p.autoIncrement == checked && p.crossfadeMs == 30 && m_dialog->isHidden());
        QCOMPARE(p.tempoAsShown, !checked);
        QCOMPARE(p.readBack, failed || !checked);  // set after the crossfade, which failed
        QCOMPARE(p.guessBeats, failed || !checked);
        // What was stored is what the next start reads; nothing stored reads as on.
        QCOMPARE(readPreferences(*m_ui).readBack, failed || !checked);
        QCOMPARE(readPreferences(*m_ui).guessBeats, failed || !checked);
        QCOMPARE(readPreferences(*m_ui).tempoAsShown, !failed && !checked);
        QCOMPARE(readPreferences(*m_ui).namesOnCard, !failed && checked);  // nothing stored reads as off
    }

    // Tab goes as the rows lie, top to bottom, and then to the buttons, left to right.
    void tabFollowsTheLayout() {
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog));
        edit("waveFolderEdit")->setFocus();
        QStringList order;
        for (int stop = 0; stop <= 11; ++stop) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(
            order.join(' '),
            "waveFolderEdit waveFolderButton loopFolderEdit loopFolderButton tempoAsShownCheck "
            "autoIncrementCheck readBackCheck guessBeatsCheck namesOnCardCheck cancelButton okButton "
            "waveFolderEdit");
    }

    void cancelCloseBoxAndEscDiscard() {
        BRENVIK_CHECK_LOOK(m_dialog.data(), "preferences-dialog");
        for (int way = 0; way < 3; ++way) {
            init();
            edit("waveFolderEdit")->setText("/edited");
            if (way == 0) child<QPushButton>(m_dialog, "cancelButton")->click();
            if (way == 1) m_dialog->close();
            if (way == 2) QTest::keyClick(m_dialog, Qt::Key_Escape);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(m_dialog.isNull() && m_ui->settingWrites().empty());
            QCOMPARE(m_preferences.waveFolder, std::string("/waves"));
        }
    }

    // The chooser opens on the saved folder, not the typed one; Cancel leaves the typed text, OK
    // gives the chooser's text, kept whole beyond the field's limit. Only the dialog's OK saves.
    void folderButtons() {
        m_preferences.waveFolder = m_preferences.loopFolder;
        for (const QString& chosen : {QString(), "/" + QString(70, 'x')}) {
            const bool wave = chosen.isEmpty();
            QLineEdit* field = edit(wave ? "waveFolderEdit" : "loopFolderEdit");
            field->setText("/typed");
            QStringList seen;
            test::whenModal([&](QWidget* chooser) {
                seen << chooser->windowTitle() << child<QLineEdit>(chooser, "folderEdit")->text();
                child<QLineEdit>(chooser, "folderEdit")->setText(chosen);
                child<QPushButton>(chooser, wave ? "cancelButton" : "okButton")->click();
            });
            child<QToolButton>(m_dialog, wave ? "waveFolderButton" : "loopFolderButton")->click();
            auto caption = wave ? "Initial .wav file directory" : "Initial loop file directory";
            QCOMPARE(seen, (QStringList{caption, m_dir.path()}));
            QCOMPARE(field->text(), wave ? "/typed" : chosen);
        }
        QVERIFY(m_ui->settingWrites().empty());
    }

private:
    QLineEdit* edit(const char* name) { return child<QLineEdit>(m_dialog, name); }

    QTemporaryDir m_dir;
    std::unique_ptr<test::TestInteraction> m_ui;
    Preferences m_preferences;
    QPointer<PreferencesDialog> m_dialog;
    QPointer<FolderChooser> m_chooser;
    QStringList m_applied;  // the loop folder before each OK
};

QTEST_MAIN(TestPreferencesDialog)
#include "tst_preferencesdialog.moc"
