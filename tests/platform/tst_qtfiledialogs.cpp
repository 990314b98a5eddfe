// The common file dialog on Qt: filter text, default extension, and the dialog itself.
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

#include "QtFileDialogs.h"
#include "WhenModal.h"

using namespace brenvik;

class TestQtFileDialogs : public QObject {
    Q_OBJECT
private slots:
    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        // The windows' own filter: its description already carries the pattern.
        QTest::newRow("wave") << ".wav files (*.wav)|*.wav" << QStringList{".wav files (*.wav)"};
        QTest::newRow("two pairs") << "Waves|*.wav|All files|*.*"
                                   << QStringList{"Waves (*.wav)", "All files (*.*)"};
        QTest::newRow("several patterns") << "Sounds|*.wav;*.aif" << QStringList{"Sounds (*.wav *.aif)"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void nameFilters() {
        QFETCH(QString, filter);
        QTEST(qtNameFilters(filter.toStdString()), "expected");
    }

    void defaultExtension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no extension") << "/music/loop" << ".wav" << "/music/loop.wav";
        QTest::newRow("extension without dot") << "/music/loop" << "wav" << "/music/loop.wav";
        QTest::newRow("own extension kept") << "/music/loop.aif" << ".wav" << "/music/loop.aif";
        QTest::newRow("upper case kept") << "/music/LOOP.WAV" << ".wav" << "/music/LOOP.WAV";
        QTest::newRow("dot in a folder name") << "/my.music/loop" << ".wav" << "/my.music/loop.wav";
        QTest::newRow("empty path stays empty") << "" << ".wav" << "";
        QTest::newRow("no default") << "/music/loop" << "" << "/music/loop";
    }
    void defaultExtension() {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QTEST(QString::fromStdString(withDefaultExtension(path.toStdString(), extension.toStdString())),
              "expected");
    }

    void openDialogStartsInInitialDirWithFilterAndAddsExtension() {
        QTemporaryDir dir;
        FileDialog dialog{dir.path().toStdString(), "", ".wav", ".wav files (*.wav)|*.wav", 1};
        QString seenDirectory;
        QStringList seenFilters;
        bool overwriteAsked = true;
        test::whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QFileDialog*>(modal);
            QVERIFY(box);
            seenDirectory = box->directory().absolutePath();
            seenFilters = box->nameFilters();
            overwriteAsked = !box->testOption(QFileDialog::DontConfirmOverwrite);
            box->selectFile(dir.filePath("take1"));
            static_cast<QDialog*>(box)->accept();
        });
        runFileDialog(dialog, false, nullptr);
        QCOMPARE(seenDirectory, QDir(dir.path()).absolutePath());
        QCOMPARE(seenFilters, QStringList{".wav files (*.wav)"});
        QVERIFY(!overwriteAsked);
        QCOMPARE(QString::fromStdString(dialog.fileName), dir.filePath("take1.wav"));
    }

    // A name kept from the last use opens the dialog on that file; cancel keeps it, whatever
    // was picked meanwhile.
    void keptNameIsShownAndSurvivesCancel_data() {
        QTest::addColumn<bool>("save");
        QTest::newRow("open, chosen") << false;
        QTest::newRow("save, cancelled") << true;
    }
    void keptNameIsShownAndSurvivesCancel() {
        QFETCH(bool, save);
        QTemporaryDir dir;
        const QString earlier = dir.filePath("earlier.wav");
        QFile(earlier).open(QIODevice::WriteOnly);
        FileDialog dialog{"/", earlier.toStdString(), ".wav", ".wav files (*.wav)|*.wav", 1};
        QStringList selected;
        test::whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QFileDialog*>(modal);
            QVERIFY(box);
            selected = box->selectedFiles();
            if (!save) return static_cast<QDialog*>(box)->accept();
            box->selectFile(dir.filePath("other.wav"));
            box->reject();
        });
        runFileDialog(dialog, save, nullptr);
        QCOMPARE(selected, QStringList{earlier});
        QCOMPARE(QString::fromStdString(dialog.fileName), earlier);
    }
};

QTEST_MAIN(TestQtFileDialogs)
#include "tst_qtfiledialogs.moc"
