// The main window: start-up, stacking, menus, the shared commands, the close box of the
// converter windows and the end of the program.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cmath>

#include "AppGlobals.h"
#include "DirSelect.h"
#include "MDIForm1.h"
#include "Pref.h"
#include "TestPlatform.h"
#include "WhenModal.h"
#include "frmAbout.h"

using namespace brenvik;
using brenvik::test::whenModal;

class TestMDIForm1 : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_platform.reset(new test::TestPlatform);
        m_globals = AppGlobals{};
        m_globals.repMode = "stereo";
        m_globals.repChannel = "right";
        m_loopDirAtWav2RepLoad.reset();
        m_order.clear();
    }
    void cleanup() {
        delete m_main;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void firstRunWithAnEmptyStore() {
        start();
        QCOMPARE(m_globals.repMode, std::string("mono"));
        QCOMPARE(m_globals.repChannel, std::string("left"));
        QCOMPARE(m_main->windowTitle(), QString("Brenvik"));
        QVERIFY(m_main->isMaximized());
        QVERIFY(!m_main->windowIcon().isNull());
        const QProgressBar* bar = m_main->ProgressBar1();
        QCOMPARE((QList<int>{bar->minimum(), bar->maximum(), bar->value(), bar->y(), bar->height()}),
                 (QList<int>{0, 100, 0, 0, 13}));
        QVERIFY(bar->geometry().bottom() < m_main->mdiArea()->geometry().top());
        QVERIFY(m_platform->settingWrites().empty());
        QVERIFY(m_platform->messages().empty());
    }

    void preferencesAreReadBeforeTheConvertersLoad() {
        m_platform->settings() = {{"Startup/intLP", "/media/card"}, {"Startup/intWV", "/media/waves"},
                                  {"Startup/intCF", "30"}, {"Startup/intAI", "0"}};
        start();
        QCOMPARE(m_loopDirAtWav2RepLoad, std::optional<std::string>("/media/card"));
        QCOMPARE(m_order, (QStringList{"wav2Rep", "Rep2Wav"}));
        QCOMPARE(m_globals.initWaveDir, std::string("/media/waves"));
        QCOMPARE(m_globals.crossfadeMs, int16_t(30));
        QCOMPARE(m_globals.autoIncrement, int16_t(0));
    }

    void repeaterToWaveIsActiveWithItsMenus() {
        start();
        QMdiSubWindow* active = m_main->mdiArea()->currentSubWindow();
        QVERIFY(active);
        QCOMPARE(active->widget(), m_main->Rep2Wav());
        QStringList titles;
        for (QAction* action : m_main->menuBar()->actions()) titles << action->text();
        QCOMPARE(titles, (QStringList{"&File", "&Window", "&Help"}));
        QCOMPARE(m_main->menuBar()->actions()[0]->menu(), m_main->Rep2Wav()->fileMenu());
        m_main->mdiArea()->setActiveSubWindow(m_main->frameOf(m_main->wav2Rep()));
        QCOMPARE(m_main->menuBar()->actions()[0]->menu(), m_main->wav2Rep()->fileMenu());
    }

    void childrenAreStacked() {
        start();
        // Outer size of the maximised main window, once the window system has applied it; 180
        // twips are 12 pixels.
        QTRY_COMPARE(m_main->frameGeometry().size(), m_main->screen()->availableGeometry().size());
        const float W = float(m_main->frameGeometry().width());
        const float H = float(m_main->frameGeometry().height());
        const int width = int(std::lrint(W - 12.0f));
        QCOMPARE(m_main->frameOf(m_main->Rep2Wav())->geometry(),
                 QRect(0, 0, width, int(std::lrint(H * 0.3f))));
        QCOMPARE(m_main->frameOf(m_main->wav2Rep())->geometry(),
                 QRect(0, int(std::lrint(H * 0.3f)), width, int(std::lrint(H * 0.6f))));
    }

    void closeBoxMinimisesAndTheWindowListRestores() {
        start();
        QMdiSubWindow* frame = m_main->frameOf(m_main->wav2Rep());
        QVERIFY(!frame->close());
        QVERIFY(frame->isMinimized());
        QCOMPARE(m_main->mdiArea()->subWindowList().size(), 2);

        QMenu* list = m_main->Rep2Wav()->windowMenu();
        m_main->fillWindowMenu(list);
        QCOMPARE(list->actions().size(), 2);
        QCOMPARE(list->actions()[0]->text(), QString("&1 .WAV to Repeater"));
        QCOMPARE(list->actions()[1]->text(), QString("&2 Repeater to .WAV"));
        list->actions()[0]->trigger();
        QVERIFY(!frame->isMinimized());
        QCOMPARE(m_main->mdiArea()->currentSubWindow(), frame);
        m_main->fillWindowMenu(list);
        QVERIFY(list->actions()[0]->isChecked());
        QVERIFY(!list->actions()[1]->isChecked());
    }

    // Exit in either converter window, or the main window's close box, after Preferences was
    // hidden by OK, the folder chooser by Cancel and the About box left open.
    void theEndClosesEverythingAndWritesNothing_data() {
        QTest::addColumn<int>("ending");
        QTest::newRow("Exit in Repeater to .WAV") << 0;
        QTest::newRow("Exit in .WAV to Repeater") << 1;
        QTest::newRow("main window's close box") << 2;
    }
    void theEndClosesEverythingAndWritesNothing() {
        QFETCH(int, ending);
        start();
        m_main->Rep2Wav()->preferencesAction()->trigger();
        QPointer<Pref> pref = m_main->preferencesDialog();
        QVERIFY(pref);
        std::string folder = "/kept";
        whenModal([this](QWidget*) { m_main->loadedFolderChooser()->Command2->click(); });
        m_main->chooseFolder("Choose a Loop Folder", folder);
        QPointer<DirSelect> chooser = m_main->loadedFolderChooser();
        QVERIFY(chooser && chooser->isHidden());
        pref->Command1->click();
        QVERIFY(pref->isHidden());
        m_main->Rep2Wav()->aboutAction()->trigger();
        QPointer<frmAbout> about = m_main->aboutBox();
        m_platform->clearRecords();
        QPointer<ConverterWindow> rep = m_main->Rep2Wav();
        QPointer<ConverterWindow> wav = m_main->wav2Rep();

        if (ending == 2)
            QVERIFY(m_main->close());
        else
            (ending == 1 ? wav : rep)->exitAction()->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!m_main->isVisible());
        QVERIFY(rep.isNull() && wav.isNull() && pref.isNull() && chooser.isNull() && about.isNull());
        QVERIFY(m_platform->settingWrites().empty());
        for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!widget->isVisible());
    }

    // Preferences and About from either window: modeless, one of each; OK discards the About box
    // and the next About creates it afresh.
    void sharedDialogsAreModelessAndShownOnce() {
        start();
        m_main->Rep2Wav()->preferencesAction()->trigger();
        m_main->Rep2Wav()->aboutAction()->trigger();
        QPointer<Pref> pref = m_main->preferencesDialog();
        QPointer<frmAbout> about = m_main->aboutBox();
        QVERIFY(pref && pref->isVisible() && !pref->isModal());
        QVERIFY(about && about->isVisible() && !about->isModal());
        m_main->wav2Rep()->preferencesAction()->trigger();
        m_main->wav2Rep()->aboutAction()->trigger();
        QCOMPARE(m_main->preferencesDialog(), pref.data());
        QCOMPARE(m_main->aboutBox(), about.data());
        int shown = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if ((qobject_cast<frmAbout*>(widget) || qobject_cast<Pref*>(widget)) && widget->isVisible()) ++shown;
        QCOMPARE(shown, 2);
        about->cmdOK->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about.isNull());
        m_main->About_Click();
        QVERIFY(m_main->aboutBox());
    }

    void contentsShowsTheHelpFileWithCommand15() {
        start();
        const QString before = QDir::currentPath();
        QDir::setCurrent(QDir::tempPath());
        m_main->Rep2Wav()->contentsAction()->trigger();
        m_main->wav2Rep()->contentsAction()->trigger();
        QDir::setCurrent(before);
        const auto expected = std::make_pair(m_platform->helpFilePath(), 15);
        QCOMPARE(m_platform->helpShown(), (std::vector<std::pair<std::string, int>>{expected, expected}));
        QVERIFY(QString::fromStdString(expected.first).endsWith("/Brenvik.hlp"));
        QVERIFY(QDir::isAbsolutePath(QString::fromStdString(expected.first)));
    }

    void modalFolderChooserCarriesCaptionAndResult() {
        start();
        std::string folder = "/kept";
        QString caption;
        whenModal([&](QWidget* modal) {
            auto* chooser = qobject_cast<DirSelect*>(modal);
            QVERIFY(chooser);
            caption = chooser->windowTitle();
            chooser->Text1->setText("/media/card");
            chooser->Command1->click();
        });
        m_main->chooseFolder("Choose a Loop Folder", folder);
        QCOMPARE(caption, QString("Choose a Loop Folder"));
        QCOMPARE(folder, std::string("/media/card"));
        // Shown without waiting, the chooser keeps the caption it last had.
        m_main->showFolderChooser();
        DirSelect* chooser = m_main->loadedFolderChooser();
        QCOMPARE(chooser->windowTitle(), QString("Choose a Loop Folder"));
        QVERIFY(chooser->isVisible() && !chooser->isModal());
    }

    void menuShortcutsReachTheActiveWindow() {
        start();
        auto* edit = new QLineEdit(m_main->Rep2Wav());
        edit->show();
        QApplication::setActiveWindow(m_main);
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        edit->setText("text");
        edit->selectAll();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(m_platform->helpShown().size(), size_t(1));
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!m_main->isVisible());
    }

private:
    // Plain converter windows with their captions, design sizes and the shared menus.
    void start() {
        ConverterFactories factories;
        factories.wav2Rep = [this] {
            m_loopDirAtWav2RepLoad = m_globals.initLoopDir;
            m_order << "wav2Rep";
            return new ConverterWindow(".WAV to Repeater", QSize(760, 554), "&About Brenvik");
        };
        factories.rep2Wav = [this] {
            m_order << "Rep2Wav";
            return new ConverterWindow("Repeater to .WAV", QSize(760, 457), "&About...");
        };
        m_main = new MDIForm1(m_globals, *m_platform, factories);
        m_main->MDIForm_Load();
    }

    std::unique_ptr<test::TestPlatform> m_platform;
    AppGlobals m_globals;
    QPointer<MDIForm1> m_main;
    std::optional<std::string> m_loopDirAtWav2RepLoad;
    QStringList m_order;
};

QTEST_MAIN(TestMDIForm1)
#include "tst_mdiform1.moc"
