#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <tuple>

#include "AboutDialog.h"
#include "BrenvikArt.h"
#include "FolderChooser.h"
#include "Interaction.h"
#include "Preferences.h"
#include "PreferencesDialog.h"
#include "QtFormLook.h"
#include "WindowPlaces.h"

namespace brenvik {
namespace {

// The keys of the windows' places in the store's section "Windows".
constexpr const char* kMainPlace = "main";
constexpr const char* kRepeaterToWavePlace = "repeaterToWave";
constexpr const char* kWaveToRepeaterPlace = "waveToRepeater";

void bringForward(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

MainWindow::MainWindow(Preferences& preferences, Interaction& ui, SettingsStore& store,
                       ConverterFactories factories, VolumeAccess volumes, QWidget* parent)
    : QMainWindow(parent),
      m_preferences(preferences),
      m_ui(ui),
      m_store(store),
      m_factories(std::move(factories)),
      m_volumes(std::move(volumes)),
      m_progressBar(new QProgressBar),
      m_mdiArea(new QMdiArea) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString::fromLatin1(kAppTitle));
    setWindowIcon(programIcon());

    // The progress bar lies across the top of the client area; the child windows live below it.
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedHeight(twipsToPixels(200));
    auto* client = new QWidget;
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_mdiArea, 1);
    setCentralWidget(client);
    // The restored size of the design; the platform chooses the position.
    resize(twipsSize(9690, 6165));

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::showMenusOf);

    // The status line is an addition to the design: it shows only while it has a note.
    QStatusBar* status = statusBar();
    status->setObjectName(QStringLiteral("statusLine"));
    status->hide();
    connect(status, &QStatusBar::messageChanged, status,
            [status](const QString& text) { status->setVisible(!text.isEmpty()); });
}

// The area outlives this part of the window while QWidget's destructor hides it; it must not
// report activations to a half-destroyed main window.
MainWindow::~MainWindow() {
    disconnect(m_mdiArea, nullptr, this, nullptr);
}

void MainWindow::startUp() {
    // The wave-to-Repeater window's own start-up already uses the preferences.
    m_preferences = readPreferences(m_store);
    if (restoreTopLevelPlace(m_store, kMainPlace, *this))
        show();
    else
        showMaximized();
    m_waveToRepeater = m_factories.waveToRepeater();
    adopt(m_waveToRepeater)->show();
    m_repeaterToWave = m_factories.repeaterToWave();
    QMdiSubWindow* frame = adopt(m_repeaterToWave);
    frame->show();
    // Shown last, the Repeater-to-wave window is the active child.
    m_mdiArea->setActiveSubWindow(frame);
    showMenusOf(frame);
    placeChildren();
    m_mdiArea->viewport()->installEventFilter(this);
}

QMdiSubWindow* MainWindow::adopt(ConverterWindow* window) {
    QMdiSubWindow* frame = m_mdiArea->addSubWindow(window);
    frame->setWindowIcon(window->windowIcon().isNull() ? programIcon() : window->windowIcon());
    connect(window, &ConverterWindow::preferencesRequested, this,
            &MainWindow::onPreferencesRequested);
    connect(window, &ConverterWindow::exitRequested, this, &MainWindow::close);
    connect(window, &ConverterWindow::contentsRequested, this, &MainWindow::onContentsRequested);
    connect(window, &ConverterWindow::aboutRequested, this, &MainWindow::onAboutRequested);
    connect(window, &ConverterWindow::cardRequested, this, &MainWindow::onCardRequested);
    connect(window, &ConverterWindow::statusMessage, this, &MainWindow::showStatus);
    QMenu* windowMenu = window->windowMenu();
    connect(windowMenu, &QMenu::aboutToShow, this, [this, window, windowMenu] {
        fillWindowMenu(windowMenu);
        // After the list of child windows: the entry of the Card window.
        if (m_factories.card) {
            windowMenu->addSeparator();
            windowMenu->addAction(window->cardAction());
        }
    });
    return frame;
}

QMdiSubWindow* MainWindow::frameOf(const ConverterWindow* window) const {
    return window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
}

// The main window has no menu of its own: it shows the active converter window's menus. While
// no child is active (the frame lost the focus) the last menus stay; while the Card window is
// active its menus join them.
void MainWindow::showMenusOf(QMdiSubWindow* frame) {
    if (!frame) return;
    const bool card = m_card && frame->widget() == m_card;
    if (auto* window = qobject_cast<ConverterWindow*>(frame->widget())) m_menusShown = window;
    else if (!card) return;
    if (!m_menusShown) return;
    menuBar()->clear();
    for (QMenu* menu : m_menusShown->menus()) {
        if (card && menu == m_menusShown->windowMenu())
            for (QMenu* own : m_card->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) menuBar()->addMenu(own);
        menuBar()->addMenu(menu);
    }
}

// Each converter window where the user left it, or, at the first start, arranged whole in the
// area. Start-up has just shown the window, but a window manager maximises it only after it is
// mapped; until then (or without one) the maximised window fills the screen's work area, and the
// area grows by as much.
void MainWindow::placeChildren() {
    layout()->activate();  // the menu bar just filled takes its height from the area
    QSize area = m_mdiArea->viewport()->size();
    if (windowState() & Qt::WindowMaximized && screen())
        area += screen()->availableGeometry().size() - frameGeometry().size();
    placeChildren(area, true);
}

// Until the user moves or resizes them, the converter windows follow the area while it settles.
void MainWindow::placeChildren(QSize area, bool starting) {
    QMdiSubWindow* top = frameOf(m_repeaterToWave);
    QMdiSubWindow* bottom = frameOf(m_waveToRepeater);
    const auto [topPlace, bottomPlace] =
        arrangeConverters(area, top->sizeHint(), bottom->sizeHint());
    for (const auto& [frame, key, arranged] :
         {std::tuple{top, kRepeaterToWavePlace, topPlace},
          std::tuple{bottom, kWaveToRepeaterPlace, bottomPlace}}) {
        if (!starting) {
            const auto placed = m_placedAt.find(frame);
            if (placed == m_placedAt.end()) continue;
            if (placed->second != frame->geometry()) {
                m_placedAt.erase(placed);  // where the user put it
                continue;
            }
        }
        QRect place = placeFromText(m_store.readSetting(kWindowPlaces, key, {})).value_or(arranged);
        // The area has no scroll bars: a window partly beyond its edge is moved in.
        place.moveLeft(std::max(0, std::min(place.left(), area.width() - place.width())));
        place.moveTop(std::max(0, std::min(place.top(), area.height() - place.height())));
        frame->setGeometry(place);
        m_placedAt[frame] = frame->geometry();
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::Resize && !m_placedAt.empty())
        placeChildren(m_mdiArea->viewport()->size(), false);
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fillWindowMenu(QMenu* menu) {
    menu->clear();
    int number = 1;
    for (QMdiSubWindow* frame : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        QAction* entry = menu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(frame->widget()->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(frame == m_mdiArea->currentSubWindow());
        const QPointer<QMdiSubWindow> target = frame;
        connect(entry, &QAction::triggered, this, [this, target] {
            if (target) activateChild(target);
        });
    }
}

// Choosing a minimised window from the Window list restores it, as the frame's own list does.
void MainWindow::activateChild(QMdiSubWindow* frame) {
    if (frame->isMinimized()) frame->showNormal();
    m_mdiArea->setActiveSubWindow(frame);
}

PreferencesDialog* MainWindow::preferencesDialog() const {
    return m_preferencesDialog;
}

AboutDialog* MainWindow::aboutDialog() const {
    return m_aboutDialog;
}

FolderChooser* MainWindow::folderChooser() {
    if (!m_folderChooser)
        m_folderChooser = new FolderChooser(m_preferences.loopFolder, m_ui, m_volumes, this);
    return m_folderChooser;
}

std::optional<std::string> MainWindow::chooseFolder(const std::string& caption) {
    return folderChooser()->choose(QString::fromStdString(caption));
}

void MainWindow::showFolderChooser() {
    bringForward(folderChooser());
}

std::optional<std::string> MainWindow::chooseFolderFrom(const std::string& caption, const std::string& startFolder) {
    const QPointer<FolderChooser> chooser = new FolderChooser(startFolder, m_ui, m_volumes, this);
    const std::optional<std::string> chosen = chooser->choose(QString::fromStdString(caption));
    delete chooser.data();  // its close box only marked it for deletion
    return chosen;
}

void MainWindow::onPreferencesRequested() {
    if (!m_preferencesDialog)
        m_preferencesDialog = new PreferencesDialog(
            m_preferences, m_store, m_ui, [this] { return folderChooser(); },
            [this](const Preferences& before) {
                for (ConverterWindow* window : {m_waveToRepeater.data(), m_repeaterToWave.data()})
                    if (window) window->applyPreferences(before);
            },
            this);
    bringForward(m_preferencesDialog);
}

void MainWindow::showStatus(const QString& text) {
    statusBar()->showMessage(text, kStatusMs);
}

void MainWindow::onCardRequested() {
    if (!m_factories.card) return;
    if (!m_card) {
        m_card = m_factories.card(*this);
        QMdiSubWindow* frame = m_mdiArea->addSubWindow(m_card);
        frame->setWindowIcon(programIcon());
        frame->resize(frame->sizeHint());  // the Card window's size inside the frame's borders
    }
    auto* frame = qobject_cast<QMdiSubWindow*>(m_card->parentWidget());
    frame->show();
    keepInsideArea(frame);
    activateChild(frame);
    // Down and Space go to the loops at once.
    m_card->setFocus(Qt::ActiveWindowFocusReason);
}

// The area places a new child where it overlaps the others least, which may run past the area's
// edge; the child is moved (and, if need be, shrunk) to lie wholly inside.
void MainWindow::keepInsideArea(QMdiSubWindow* frame) {
    const QRect area = m_mdiArea->viewport()->rect();
    QRect placed = frame->geometry();
    placed.setSize(placed.size().boundedTo(area.size()));
    placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - placed.height()));
    frame->setGeometry(placed);
}

void MainWindow::onContentsRequested() {
    m_ui.showManual();
}

void MainWindow::onAboutRequested() {
    if (!m_aboutDialog) m_aboutDialog = new AboutDialog(this);
    bringForward(m_aboutDialog);
}

// The places of the main window and of the converter windows are kept for the next start (a
// minimised window keeps the place it had before). A store that cannot be written loses only
// them: the program ends all the same.
void MainWindow::keepPlaces() {
    try {
        keepTopLevelPlace(m_store, kMainPlace, *this);
        for (const auto& [window, key] :
             {std::pair{m_repeaterToWave.data(), kRepeaterToWavePlace},
              std::pair{m_waveToRepeater.data(), kWaveToRepeaterPlace}}) {
            QMdiSubWindow* frame = frameOf(window);
            if (frame && !frame->isMinimized() && !frame->isMaximized())
                m_store.writeSetting(kWindowPlaces, key, placeText(frame->geometry()));
        }
    } catch (const std::exception&) {
    }
}

// The converter windows let a close through when the program is ending; then every other window
// of the program, shown or merely hidden, goes too, so nothing outlives the main window. Only the
// windows' places are written, no preference.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_waveToRepeater && m_repeaterToWave) keepPlaces();
    for (ConverterWindow* child : {m_waveToRepeater.data(), m_repeaterToWave.data()})
        if (child) child->setCloseReason(ConverterWindow::CloseReason::ProgramEnding);
    m_mdiArea->closeAllSubWindows();
    QList<QPointer<QWidget>> others;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != this && !qobject_cast<QMenu*>(widget)) others.push_back(widget);
    for (const QPointer<QWidget>& widget : others)
        if (widget) widget->close();
    event->accept();
}

}  // namespace brenvik
