#include "MDIForm1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#include "AppGlobals.h"
#include "BrenvikArt.h"
#include "DirSelect.h"
#include "Platform.h"
#include "Pref.h"
#include "QtFormLook.h"
#include "StartupPreferences.h"
#include "frmAbout.h"

namespace brenvik {
namespace {

constexpr int kHelpCommand = 15;

int nearestPixel(float value) { return static_cast<int>(std::lrint(value)); }

}  // namespace

MDIForm1::MDIForm1(AppGlobals& globals, Platform& platform, ConverterFactories factories,
                   VolumeAccess volumes, QWidget* parent)
    : QMainWindow(parent),
      m_globals(globals),
      m_platform(platform),
      m_factories(std::move(factories)),
      m_volumes(std::move(volumes)),
      m_progressBar(new QProgressBar),
      m_mdiArea(new QMdiArea) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QString::fromLatin1(kAppTitle));
    setWindowIcon(programIcon());

    // The progress bar lies across the top of the client area; the child windows live below it.
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedHeight(twipsToPixels(200));
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    auto* client = new QWidget;
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_mdiArea, 1);
    setCentralWidget(client);
    // The restored size of the design; the platform chooses the position.
    resize(twipsSize(9690, 6165));

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MDIForm1::showMenusOf);
}

// The area outlives this part of the window while QWidget's destructor hides it; it must not
// report activations to a half-destroyed main window.
MDIForm1::~MDIForm1() { disconnect(m_mdiArea, nullptr, this, nullptr); }

void MDIForm1::MDIForm_Load() {
    m_globals.repMode = "mono";
    m_globals.repChannel = "left";
    // The wave-to-Repeater window's own start-up already uses the preferences.
    readPreferences(m_globals, m_platform);

    showMaximized();
    m_wav2Rep = m_factories.wav2Rep ? m_factories.wav2Rep() : nullptr;
    if (m_wav2Rep) adopt(m_wav2Rep)->show();
    m_rep2Wav = m_factories.rep2Wav ? m_factories.rep2Wav() : nullptr;
    if (m_rep2Wav) {
        QMdiSubWindow* frame = adopt(m_rep2Wav);
        frame->show();
        // Shown last, the Repeater-to-wave window is the active child.
        m_mdiArea->setActiveSubWindow(frame);
        showMenusOf(frame);
    }
    stackChildren();
}

QMdiSubWindow* MDIForm1::adopt(ConverterWindow* window) {
    QMdiSubWindow* frame = m_mdiArea->addSubWindow(window);
    frame->setWindowIcon(window->windowIcon().isNull() ? programIcon() : window->windowIcon());
    connect(window, &ConverterWindow::preferencesRequested, this, &MDIForm1::Preferences_Click);
    connect(window, &ConverterWindow::exitRequested, this, &MDIForm1::Exit_Click);
    connect(window, &ConverterWindow::contentsRequested, this, &MDIForm1::Contents_Click);
    connect(window, &ConverterWindow::aboutRequested, this, &MDIForm1::About_Click);
    QMenu* windowMenu = window->windowMenu();
    connect(windowMenu, &QMenu::aboutToShow, this, [this, windowMenu] { fillWindowMenu(windowMenu); });
    fillWindowMenu(windowMenu);
    return frame;
}

QMdiSubWindow* MDIForm1::frameOf(const ConverterWindow* window) const {
    return window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
}

// The main window has no menu of its own: it shows the active converter window's menus. While
// no child is active (the frame lost the focus) the last menus stay.
void MDIForm1::showMenusOf(QMdiSubWindow* frame) {
    auto* window = frame ? qobject_cast<ConverterWindow*>(frame->widget()) : nullptr;
    if (!window) return;
    menuBar()->clear();
    for (QMenu* menu : window->menus()) menuBar()->addMenu(menu);
}

// Both children W - 180 twips wide; the Repeater-to-wave window 30 % of the main window's outer
// height at the top, the wave-to-Repeater window 60 % below it. Single precision, assigned in
// this order, in pixels (180 twips are 12 pixels).
void MDIForm1::stackChildren() {
    QMdiSubWindow* rep = frameOf(m_rep2Wav);
    QMdiSubWindow* wav = frameOf(m_wav2Rep);
    if (!rep || !wav) return;
    // A window manager maximises the window after it is mapped; until then (or without one)
    // the maximised outer size is the screen's work area.
    QSize outer = frameGeometry().size();
    if (isMaximized() && screen()) outer = outer.expandedTo(screen()->availableGeometry().size());
    const float W = static_cast<float>(outer.width());
    const float H = static_cast<float>(outer.height());
    const int width = nearestPixel(W - static_cast<float>(twipsToPixels(180)));
    rep->resize(width, rep->height());
    wav->resize(width, wav->height());
    rep->resize(rep->width(), nearestPixel(H * 0.3f));
    wav->resize(wav->width(), nearestPixel(H * 0.6f));
    wav->move(0, wav->y());
    wav->move(wav->x(), nearestPixel(H * 0.3f));
    rep->move(0, rep->y());
    rep->move(rep->x(), 0);
}

void MDIForm1::fillWindowMenu(QMenu* menu) {
    menu->clear();
    int number = 1;
    const auto frames = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* frame : frames) {
        QAction* entry =
            menu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(frame->widget()->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(frame == m_mdiArea->currentSubWindow());
        QPointer<QMdiSubWindow> target = frame;
        connect(entry, &QAction::triggered, this, [this, target] {
            if (target) activateChild(target);
        });
    }
}

// Choosing a minimised window from the Window list restores it, as the frame's own list does.
void MDIForm1::activateChild(QMdiSubWindow* frame) {
    if (frame->isMinimized()) frame->showNormal();
    m_mdiArea->setActiveSubWindow(frame);
}

Pref* MDIForm1::preferencesDialog() const { return m_pref; }

DirSelect* MDIForm1::loadedFolderChooser() const { return m_dirSelect; }

frmAbout* MDIForm1::aboutBox() const { return m_about; }

DirSelect* MDIForm1::folderChooser() {
    if (!m_dirSelect) m_dirSelect = new DirSelect(m_globals, m_platform, m_volumes, this);
    return m_dirSelect;
}

void MDIForm1::chooseFolder(const std::string& caption, std::string& chosenFolder) {
    QPointer<DirSelect> chooser = folderChooser();
    chooser->setWindowTitle(QString::fromStdString(caption));
    m_globals.chosenFolder = chosenFolder;
    chooser->showModal();
    chosenFolder = m_globals.chosenFolder;
}

void MDIForm1::showFolderChooser() {
    DirSelect* chooser = folderChooser();
    chooser->show();
    chooser->raise();
    chooser->activateWindow();
}

void MDIForm1::Preferences_Click() {
    if (!m_pref)
        m_pref = new Pref(
            m_globals, m_platform, [this] { return folderChooser(); },
            [this](const std::string& number) {
                if (m_loopNumberHook) m_loopNumberHook(number);
            },
            this);
    m_pref->show();
    m_pref->raise();
    m_pref->activateWindow();
}

void MDIForm1::Exit_Click() { close(); }

// The help file named here is the one the windows have always asked for; the help viewer shows
// the program's own manual for it.
void MDIForm1::Contents_Click() { m_platform.showHelp(m_platform.helpFilePath(), kHelpCommand); }

void MDIForm1::About_Click() {
    if (!m_about) m_about = new frmAbout(this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

// Each converter window is asked with the reason "the main window is closing", which it lets
// through; then every other window of the program, shown or merely hidden, goes too, so nothing
// outlives the main window. No setting is written.
void MDIForm1::closeEvent(QCloseEvent* event) {
    const QList<ConverterWindow*> children = {m_wav2Rep, m_rep2Wav};
    for (ConverterWindow* child : children)
        if (child) child->setUnloadMode(ConverterWindow::UnloadMode::MDIForm);
    m_mdiArea->closeAllSubWindows();
    if (!m_mdiArea->subWindowList().isEmpty()) {
        for (ConverterWindow* child : children)
            if (child) child->setUnloadMode(ConverterWindow::UnloadMode::ControlMenu);
        event->ignore();
        return;
    }
    closeOtherWindows();
    event->accept();
}

void MDIForm1::closeOtherWindows() {
    QList<QPointer<QWidget>> others;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != this && !qobject_cast<QMenu*>(widget)) others.push_back(widget);
    for (const QPointer<QWidget>& widget : others)
        if (widget) widget->close();
}

}  // namespace brenvik
