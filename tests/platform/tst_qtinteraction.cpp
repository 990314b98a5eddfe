// The window program's side of the user: message boxes, the help viewer, the settings store, the
// progress bar, the file dialogs' filter and default extension.
#include "GuiTest.h"
#include "QtFileDialogs.h"
#include "QtInteraction.h"
#include "QtSettingsStore.h"
#include "RoutineError.h"
#include "TestFiles.h"

using namespace brenvik;

class TestQtInteraction : public QObject {
    Q_OBJECT
private slots:
    // The box is closed with `press` (Esc when NoButton): any way but Yes or No counts as Cancel.
    void messageBoxes_data() {
        QTest::addColumn<bool>("question");
        QTest::addColumn<QMessageBox::StandardButton>("press");
        QTest::addColumn<MessageAnswer>("expected");
        QTest::newRow("critical notice") << false << QMessageBox::Ok << MessageAnswer::Ok;
        QTest::newRow("yes") << true << QMessageBox::Yes << MessageAnswer::Yes;
        QTest::newRow("no") << true << QMessageBox::No << MessageAnswer::No;
        QTest::newRow("escape") << true << QMessageBox::NoButton << MessageAnswer::Cancel;
    }
    void messageBoxes() {
        QFETCH(bool, question);
        QFETCH(QMessageBox::StandardButton, press);
        QStringList shown;
        test::whenModal([&](QWidget* modal) {
            auto* box = static_cast<QMessageBox*>(modal);
            const int buttons = box->standardButtons() | box->standardButton(box->defaultButton());
            shown << box->windowTitle() << box->text() << box->informativeText()
                  << QString::number(box->icon()) << QString::number(buttons);
            press ? box->button(press)->click() : QTest::keyClick(box, Qt::Key_Escape);
        });
        QtInteraction ui;
        QTEST(question ? ui.message("Overwrite?", MessageButtons::YesNoCancel)
                       : ui.message("Failed", MessageButtons::Ok, MessageIcon::Critical,
                                    "cannot write x: Disk full"),
              "expected");
        const int icon = question ? QMessageBox::NoIcon : QMessageBox::Critical;
        const int buttons = question ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                     : QMessageBox::Ok;  // Yes or Ok the default
        // The reason stands below the message, in the box's informative text.
        const QString texts = question ? "Overwrite?|" : "Failed|cannot write x: Disk full";
        QCOMPARE(shown, QString("Brenvik|%1|%2|%3").arg(texts).arg(icon).arg(buttons).split('|'));
    }

    // A question's own buttons answer by their role, Esc cancels; a number asked for steps by one.
    void ownButtonsAndNumbers() {
        QtInteraction ui;
        for (const auto& [button, expected] : {std::pair{"Keep both", MessageAnswer::No},
                                               {"Replace", MessageAnswer::Yes}, {"", MessageAnswer::Cancel}}) {
            test::whenModal([button = QString(button)](QWidget* modal) {
                for (QAbstractButton* shown : modal->findChildren<QAbstractButton*>())
                    if (shown->text() == button) return shown->click();
                QTest::keyClick(modal, Qt::Key_Escape);
            });
            QCOMPARE(ui.ask("Replace LOOP3?", "Replace", "Keep both"), expected);
        }
        test::whenModal([](QWidget* modal) {
            QTest::keyClick(modal->focusWidget(), Qt::Key_Up);
            QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(ui.askNumber("Copy to loop number", 5, 1, 999), std::optional(6));
    }

    // A stored text comes back; a key never stored gives the default.
    void settings() {
        QTemporaryDir store;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
        QtSettingsStore settings;
        settings.writeSetting("Startup", "intLP", "/media/card");
        QCOMPARE(settings.readSetting("Startup", "intLP", "/"), std::string("/media/card"));
        QCOMPARE(settings.readSetting("Startup", "intWV", "/home"), std::string("/home"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.filePath("blocked/x"));
        test::writeFile(store.filePath("blocked").toStdString(), {});  // a file where a folder must be
        QVERIFY_THROWS_EXCEPTION(RoutineError, settings.writeSetting("Startup", "intLP", "/"));
    }

    // Progress is a share of the bar; nothing to do shows none of it.
    void progress() {
        QProgressBar bar;
        QtInteraction ui;
        ui.setProgressBar(&bar);
        for (auto [done, total, shown] : {std::tuple{1, 4, 25}, {5, 4, 100}, {3, 0, 0}}) {
            ui.showProgress(float(done), float(total));
            QCOMPARE(bar.value() * 100 / bar.maximum(), shown);
        }
    }

    // The help viewer opens on the manual, comes to the front when asked again, and Escape closes it.
    void escapeClosesHelp() {
        QtInteraction ui;
        ui.showManual();
        QWidget* viewer = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == "helpViewer") viewer = window;
        QVERIFY(viewer && QTest::qWaitForWindowActive(viewer));
        QWidget other;  // asked for again from another window, it comes to the front
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        ui.showManual();
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        QTest::keyClick(viewer->findChild<QTextBrowser*>(), Qt::Key_Escape);
        QVERIFY(!viewer->isVisible());
    }

    // The file dialogs: their filters, and a title saying what they do.
    void fileDialogs() {
        QCOMPARE(qtNameFilters(FileDialogRequest().filters), QStringList{".wav files (*.wav)"});
        QCOMPARE(qtNameFilters({{"Waves", {"*.wav"}}, {"Sounds", {"*.wav", "*.aif"}}}),
                 (QStringList{"Waves (*.wav)", "Sounds (*.wav *.aif)"}));
        QStringList titles;
        for (const char* title : {"", "Import and Convert"}) {
            test::whenModal([&](QWidget* modal) {
                titles << modal->windowTitle(), QTest::keyClick(modal, Qt::Key_Escape);
            });
            FileDialogRequest request;
            request.title = title;
            QCOMPARE(runFileDialog(request, FileDialogMode::Open, nullptr), std::nullopt);
        }
        QCOMPARE(titles, (QStringList{"Open", "Import and Convert"}));
    }

    void defaultExtension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("expected");
        QTest::newRow("added") << "/music/loop" << ".wav" << "/music/loop.wav";
        QTest::newRow("given without dot") << "/music/loop" << "wav" << "/music/loop.wav";
        QTest::newRow("own extension kept") << "/music/LOOP.AIF" << ".wav" << "/music/LOOP.AIF";
        QTest::newRow("dot in a folder name") << "/my.music/loop" << ".wav" << "/my.music/loop.wav";
    }
    void defaultExtension() {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        const std::string out = withDefaultExtension(path.toStdString(), extension.toStdString());
        QTEST(QString::fromStdString(out), "expected");
    }
};

QTEST_MAIN(TestQtInteraction)
#include "tst_qtinteraction.moc"
