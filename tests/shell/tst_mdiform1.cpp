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
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "AppGlobals.h"
#include "DirSelect.h"
#include "MDIForm1.h"
#include "PlaceholderWindows.h"
#include "Pref.h"
#include "TestPlatform.h"
#include "WhenModal.h"
#include "frmAbout.h"

using namespace brenvik;
using brenvik::test::TestPlatform;
using brenvik::test::whenModal;

class TestMDIForm1 : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_platform.reset(new TestPlatform);
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
        QCOMPARE(m_globals.initLoopDir, std::string("/"));
        QCOMPARE(m_globals.initWaveDir, std::string("/"));
        QCOMPARE(m_globals.crossfadeMs, int16_t(45));
        QCOMPARE(m_globals.autoIncrement, int16_t(1));
        QCOMPARE(m_main->windowTitle(), QString("Brenvik"));
        QVERIFY(m_main->isMaximized());
        QVERIFY(!m_main->windowIcon().isNull());
        QCOMPARE(m_main->ProgressBar1()->minimum(), 0);
        QCOMPARE(m_main->ProgressBar1()->maximum(), 100);
        QCOMPARE(m_main->ProgressBar1()->value(), 0);
        QCOMPARE(m_main->ProgressBar1()->y(), 0);
        QCOMPARE(m_main->ProgressBar1()->height(), 13);
        QVERIFY(m_main->ProgressBar1()->geometry().bottom() < m_main->mdiArea()->geometry().top());
        QVERIFY(m_platform->settingWrites().empty());
        QVERIFY(m_platform->messages().empty());
    }

    void preferencesAreReadBeforeTheConvertersLoad() {
        m_platform->settings()["Startup/intLP"] = "/media/card";
        m_platform->settings()["Startup/intCF"] = "garbage";
        m_platform->settings()["Startup/intAI"] = "0";
        start();
        QCOMPARE(m_loopDirAtWav2RepLoad, std::optional<std::string>("/media/card"));
        QCOMPARE(m_order, (QStringList{"wav2Rep", "Rep2Wav"}));
        QCOMPARE(m_globals.crossfadeMs, int16_t(45));
        QCOMPARE(m_globals.autoIncrement, int16_t(0));
    }

    void repeaterToWaveIsActiveWithItsMenus() {
        start();
        QMdiSubWindow* active = m_main->mdiArea()->currentSubWindow();
        QVERIFY(active);
        QCOMPARE(active->widget(), m_main->Rep2Wav());
        QCOMPARE(active->widget()->windowTitle(), QString("Repeater to .WAV"));
        QCOMPARE(menuTitles(), (QStringList{"&File", "&Window", "&Help"}));
        QCOMPARE(m_main->menuBar()->actions()[0]->menu(), m_main->Rep2Wav()->fileMenu());

        m_main->mdiArea()->setActiveSubWindow(m_main->frameOf(m_main->wav2Rep()));
        QCOMPARE(m_main->menuBar()->actions()[0]->menu(), m_main->wav2Rep()->fileMenu());
    }

    void childrenAreStacked() {
        start();
        // Outer size of the maximised main window, once the window system has applied it; 180
        // twips are 12 pixels.
        QTRY_COMPARE(m_main->frameGeometry().size(), m_main->screen()->availableGeometry().size());
        const QSize outer = m_main->frameGeometry().size();
        const float W = float(outer.width());
        const float H = float(outer.height());
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

    void exitClosesEverythingAndWritesNothing_data() {
        QTest::addColumn<bool>("fromWav2Rep");
        QTest::newRow("Exit in Repeater to .WAV") << false;
        QTest::newRow("Exit in .WAV to Repeater") << true;
    }
    void exitClosesEverythingAndWritesNothing() {
        QFETCH(bool, fromWav2Rep);
        start();
        // Preferences used and hidden by OK; the folder chooser used and hidden by Cancel.
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

        (fromWav2Rep ? wav : rep)->exitAction()->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!m_main->isVisible());
        QVERIFY(rep.isNull());
        QVERIFY(wav.isNull());
        QVERIFY(pref.isNull());
        QVERIFY(chooser.isNull());
        QVERIFY(about.isNull());
        QVERIFY(m_platform->settingWrites().empty());
        for (QWidget* widget : QApplication::topLevelWidgets()) QVERIFY(!widget->isVisible());
    }

    void mainCloseBoxEndsTheProgramToo() {
        start();
        QPointer<ConverterWindow> rep = m_main->Rep2Wav();
        QVERIFY(m_main->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(rep.isNull());
        QVERIFY(m_platform->settingWrites().empty());
    }

    void preferencesTwiceShowsOneDialog() {
        start();
        m_main->Rep2Wav()->preferencesAction()->trigger();
        Pref* first = m_main->preferencesDialog();
        QVERIFY(first && first->isVisible());
        QVERIFY(!first->isModal());
        m_main->wav2Rep()->preferencesAction()->trigger();
        QCOMPARE(m_main->preferencesDialog(), first);
    }

    void preferencesOkSetsTheLoopNumberThroughTheHook() {
        QTemporaryDir card;
        for (const char* name : {"LOOP1", "LOOP2", "LOOP3", "LOOP001"}) QVERIFY(QDir(card.path()).mkdir(name));
        m_platform->settings()["Startup/intLP"] = card.path().toStdString();
        start();
        std::vector<std::string> numbers;
        m_main->setLoopNumberHook([&](const std::string& number) { numbers.push_back(number); });
        m_main->Preferences_Click();
        m_main->preferencesDialog()->Command1->click();
        QCOMPARE(numbers, std::vector<std::string>{"4"});
    }

    void aboutTwiceShowsOneBox() {
        start();
        m_main->Rep2Wav()->aboutAction()->trigger();
        QPointer<frmAbout> first = m_main->aboutBox();
        QVERIFY(first && first->isVisible());
        QVERIFY(!first->isModal());
        m_main->wav2Rep()->aboutAction()->trigger();
        QCOMPARE(m_main->aboutBox(), first.data());
        int shown = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<frmAbout*>(widget) && widget->isVisible()) ++shown;
        QCOMPARE(shown, 1);
        first->cmdOK->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
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
        QCOMPARE(m_platform->helpShown().size(), size_t(2));
        QCOMPARE(m_platform->helpShown()[0], expected);
        QCOMPARE(m_platform->helpShown()[1], expected);
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
        QCOMPARE(m_main->loadedFolderChooser()->windowTitle(), QString("Choose a Loop Folder"));
        QVERIFY(m_main->loadedFolderChooser()->isVisible());
        QVERIFY(!m_main->loadedFolderChooser()->isModal());
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
        QPointer<ConverterWindow> rep = m_main->Rep2Wav();
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!m_main->isVisible());
    }

private:
    void start() {
        ConverterFactories factories;
        factories.wav2Rep = [this] {
            m_loopDirAtWav2RepLoad = m_globals.initLoopDir;
            m_order << "wav2Rep";
            return new PlaceholderWav2Rep;
        };
        factories.rep2Wav = [this] {
            m_order << "Rep2Wav";
            return new PlaceholderRep2Wav;
        };
        m_main = new MDIForm1(m_globals, *m_platform, factories);
        m_main->MDIForm_Load();
    }

    QStringList menuTitles() const {
        QStringList titles;
        for (QAction* action : m_main->menuBar()->actions()) titles << action->text();
        return titles;
    }

    std::unique_ptr<TestPlatform> m_platform;
    AppGlobals m_globals;
    QPointer<MDIForm1> m_main;
    std::optional<std::string> m_loopDirAtWav2RepLoad;
    QStringList m_order;
};

QTEST_MAIN(TestMDIForm1)
#include "tst_mdiform1.moc"
