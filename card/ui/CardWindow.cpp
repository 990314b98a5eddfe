#include "CardWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <optional>
#include <set>

#include "ArrangementUndo.h"
#include "AuditionPanel.h"
#include "BackupStore.h"
#include "BackupsDialog.h"
#include "CardEject.h"
#include "CardLook.h"
#include "CardNames.h"
#include "CardNamesFile.h"
#include "CardTransaction.h"
#include "CardWatcher.h"
#include "DropDialog.h"
#include "Files.h"
#include "Interaction.h"
#include "LoopExport.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "LoopNames.h"
#include "LoopTable.h"
#include "Loudness.h"
#include "Messages.h"
#include "Preferences.h"
#include "QtFocusReturn.h"
#include "QtFocusRing.h"
#include "QtFormLook.h"
#include "RoutineError.h"
#include "SettingsStore.h"
#include "UdisksEject.h"
#include "UserLibrary.h"
#include "WaveformSource.h"

namespace brenvik {

namespace {

const QColor kProblemRow(0xFF, 0xC0, 0xC0);
const QColor kFreeRowText(0x70, 0x70, 0x70);
constexpr double kFreeRowValue = 0;
// Each cell keeps its loop's index in the listing.
constexpr int kLoopRole = Qt::UserRole + 1;
// A Name cell keeps the loop's notes, which the filter looks through.
constexpr int kNotesRole = Qt::UserRole + 3;

// A cell that sorts by the number it holds, not by its text. By loop number a row of free numbers
// lies in its gap between the loops; by any other column such rows come after the loops whichever
// way the table is sorted.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text) { setData(Qt::UserRole, value); }
    bool operator<(const QTableWidgetItem& other) const override {
        const bool free = data(LoopTable::kFreeRole).toBool();
        if (free != other.data(LoopTable::kFreeRole).toBool() && column() != CardWindow::LoopColumn) {
            const bool descending =
                tableWidget() && tableWidget()->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
            return free == descending;
        }
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

// A name cell: by its text as people sort words, rows of free numbers after the loops.
class NameItem : public QTableWidgetItem {
public:
    bool operator<(const QTableWidgetItem& other) const override {
        const bool free = data(LoopTable::kFreeRole).toBool();
        if (free != other.data(LoopTable::kFreeRole).toBool()) {
            const bool descending =
                tableWidget() && tableWidget()->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
            return free == descending;
        }
        return QString::localeAwareCompare(text(), other.text()) < 0;
    }
};

// Minutes of mono (1) or stereo (2) audio the free space takes, the room a loop folder needs
// besides its audio left out.
QString minutesOf(int64_t freeBytes, int channels) {
    const double seconds = static_cast<double>(std::max<int64_t>(0, freeBytes - loop::kSpaceMargin)) /
                           (loop::kTrackBytesPerSecond * channels);
    return QString::number(static_cast<long long>(seconds / 60));
}

QString tracksText(const std::vector<int>& tracks) {
    QStringList parts;
    for (int k : tracks) parts << QString::number(k);
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(QLatin1Char(','));
}

// "LOOP3 has 1 problem:" and the problem below, or "LOOP2 is intact"; then its warnings and how
// loud it plays (nothing when it cannot be played: its problems say why), `measured` being null
// while that is measured; then its notes.
QString detailsOf(const card::LoopSummary& loop, const loudness::LoudnessResult* measured, const std::string& notes) {
    QStringList lines{QString::fromStdString(loop.intact() ? message::loopIntact(loop.name)
                                                           : message::loopProblemCount(loop.name, loop.problems.size()))};
    for (const card::LoopProblem& problem : loop.problems) lines << QString::fromStdString(problem.text());
    for (const std::string& line : loop.warningLines()) lines << QString::fromStdString(line);
    if (!measured)
        lines << QStringLiteral("Loudness measuring...");
    else if (measured->loudness)
        lines << QStringLiteral("Loudness ") +
                     QString::fromStdString(loudnessText(*measured->loudness));
    if (!notes.empty()) lines << QStringLiteral("Notes: ") + QString::fromStdString(notes);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

CardWindow::CardWindow(const Preferences& preferences, Files& files, Interaction& ui,
                       std::vector<std::string> mountRoots, QWidget* parent)
    : QWidget(parent),
      m_preferences(preferences),
      m_files(files),
      m_ui(ui),
      m_mountRoots(std::move(mountRoots)),
      m_folderLabel(whiteLabel(QStringLiteral("folderLabel"), this)),
      m_totalsLabel(whiteLabel(QStringLiteral("totalsLabel"), this)),
      m_namesProgress(whiteLabel(QStringLiteral("namesProgressLabel"), this)),
      m_offerLabel(whiteLabel(QStringLiteral("offerLabel"), this)),
      m_offerButton(greenButton(QStringLiteral("offerButton"), QStringLiteral("Show this Card"), this)),
      m_table(new LoopTable(this)),
      m_filterBox(new QLineEdit(this)),
      m_detailsLabel(whiteLabel(QStringLiteral("detailsLabel"), this)),
      m_undoButton(greenButton(QStringLiteral("undoButton"), QStringLiteral("Undo"), this)),
      m_redoButton(greenButton(QStringLiteral("redoButton"), QStringLiteral("Redo"), this)),
      m_audition(new AuditionPanel(ui, this)),
      m_watcher(new CardWatcher(this)),
      m_actions(files, ui, preferences, this, [this](const std::string& text) { note(text); }),
      m_loudness(new LoudnessMeter(this)),
      m_nameReader(new LoopNameReader([this](const auto& hashed) { takeHashes(hashed); }, this)),
      m_menu(new QMenu(QStringLiteral("&Card"), this)) {
    asRowTable(m_table, QStringLiteral("loopTable"),
               {"Loop", "Name", "Tempo", "Bars", "Beats/Bar", "Beats", "Division", "Length", "Channels", "Tracks", "Files",
                "Size", "Check"});
    setObjectName(QStringLiteral("cardWindow"));
    setWindowTitle(QStringLiteral("Card"));
    paintBackground(this, kCardBackground);

    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    setFocusProxy(m_table);  // the window given the focus gives it to its loops
    // A name may run to 200 characters: the window stays as wide as the other columns need.
    m_table->limitColumn(NameColumn, 24 * m_table->fontMetrics().averageCharWidth());
    // Only the Name cells can be edited: F2, or a double click there instead of opening the loop.
    m_table->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    connect(m_table, &QTableWidget::itemChanged, this, &CardWindow::nameEdited);
    m_filterBox->setObjectName(QStringLiteral("filterBox"));
    m_filterBox->setPlaceholderText(QStringLiteral("Filter"));
    connect(m_filterBox, &QLineEdit::textChanged, this, &CardWindow::applyFilter);
    connect(m_filterBox, &QLineEdit::returnPressed, m_table, qOverload<>(&QWidget::setFocus));
    auto* findAction = new QAction(this);
    findAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    findAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(findAction);
    connect(findAction, &QAction::triggered, this, [this] {
        m_filterBox->setFocus(Qt::ShortcutFocusReason);
        m_filterBox->selectAll();
    });
    m_table->horizontalHeader()->setSortIndicator(LoopColumn, Qt::AscendingOrder);  // as list does
    // A double click or Enter (whatever activates an item on this desktop).
    connect(m_table, &QTableWidget::activated, this, [this](const QModelIndex& index) { openRow(index.row()); });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CardWindow::showDetails);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this, &CardWindow::showDetails);
    connect(m_loudness, &LoudnessMeter::measured, this, &CardWindow::writeDetails);
    m_detailsLabel->setWordWrap(true);
    // Room for a loop with two problems and its loudness, so the table does not jump from one loop
    // to the next.
    m_detailsLabel->setMinimumHeight(4 * m_detailsLabel->fontMetrics().lineSpacing());
    m_detailsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_detailsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(m_watcher, &CardWatcher::changed, this, &CardWindow::refresh);
    m_audition->takeSpaceIn(this);

    auto* refreshButton = greenButton(QStringLiteral("refreshButton"), QStringLiteral("Refresh"), this);
    auto* folderButton = greenButton(QStringLiteral("folderButton"), QStringLiteral("Other Folder..."), this);
    auto* exportButton = greenButton(QStringLiteral("exportButton"), QStringLiteral("Export..."), this);
    connect(refreshButton, &QPushButton::clicked, this, &CardWindow::refresh);
    connect(folderButton, &QPushButton::clicked, this, &CardWindow::chooseOtherFolder);
    auto* backupsButton = greenButton(QStringLiteral("backupsButton"), QStringLiteral("Backups..."), this);
    connect(exportButton, &QPushButton::clicked, this, &CardWindow::exportSelected);
    connect(backupsButton, &QPushButton::clicked, this, &CardWindow::showBackups);
    connect(m_offerButton, &QPushButton::clicked, this, &CardWindow::useOfferedCard);
    connect(m_table, &LoopTable::loopDropped, this, &CardWindow::dropLoop);
    connect(m_table, &LoopTable::filesDropped, this, &CardWindow::writeDroppedWaves);
    auto* copyButton = greenButton(QStringLiteral("copyButton"), QStringLiteral("Copy to Card..."), this);
    auto* deleteButton = greenButton(QStringLiteral("deleteButton"), QStringLiteral("Delete"), this);
    auto* storeButton = greenButton(QStringLiteral("storeButton"), QStringLiteral("All Backups..."), this);
    auto* ejectButton = greenButton(QStringLiteral("ejectButton"), QStringLiteral("&Eject"), this);
    connect(ejectButton, &QPushButton::clicked, this, &CardWindow::ejectCard);
    connect(copyButton, &QPushButton::clicked, this, &CardWindow::copySelected);
    connect(deleteButton, &QPushButton::clicked, this, &CardWindow::deleteSelected);
    connect(m_undoButton, &QPushButton::clicked, this, &CardWindow::undo);
    connect(m_redoButton, &QPushButton::clicked, this, &CardWindow::redo);
    connect(storeButton, &QPushButton::clicked, this, &CardWindow::showStore);
    buildMenu();

    // A deep card path must not keep the window from narrowing: the label gives way (its tooltip
    // keeps the whole path).
    m_folderLabel->setSizePolicy(QSizePolicy::Ignored, m_folderLabel->sizePolicy().verticalPolicy());
    auto* top = new QHBoxLayout;
    top->addWidget(m_folderLabel, 1);
    top->addWidget(refreshButton);
    top->addWidget(folderButton);
    top->addWidget(exportButton);
    top->addWidget(backupsButton);
    auto* offer = new QHBoxLayout;
    offer->addWidget(m_offerLabel, 1);
    offer->addWidget(m_offerButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(offer);
    layout->addWidget(m_filterBox);
    layout->addWidget(m_table, 3);
    auto* arrange = new QHBoxLayout;
    arrange->addWidget(copyButton);
    arrange->addWidget(deleteButton);
    arrange->addWidget(m_undoButton);
    arrange->addWidget(m_redoButton);
    arrange->addStretch(1);
    arrange->addWidget(storeButton);
    arrange->addWidget(ejectButton);
    layout->addLayout(arrange);
    layout->addWidget(m_audition, 2);  // a larger waveform than the converter windows'
    layout->addWidget(m_detailsLabel);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_totalsLabel);
    bottom->addWidget(m_namesProgress, 1);
    m_namesProgress->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_namesProgress->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addLayout(bottom);
    showFocusRing(this);

    m_listing.card = m_preferences.loopFolder;
    refresh();
    m_openingSize = fittingSize();
    resize(m_openingSize);
}

// A name still being edited is dropped with the window.
CardWindow::~CardWindow() { m_table->disconnect(this); }

// The converter windows' menus take none of these keys: they are the Card window's. Delete is
// the table's alone, so that it deletes no loop while a button has the focus.
void CardWindow::buildMenu() {
    m_menu->setObjectName(QStringLiteral("cardMenu"));
    const auto add = [this](const char* name, const QString& caption, const QKeySequence& key, auto slot,
                            Qt::ShortcutContext context = Qt::WidgetWithChildrenShortcut) {
        auto* action = m_menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(context);
        (context == Qt::WidgetShortcut ? static_cast<QWidget*>(m_table) : this)->addAction(action);
        connect(action, &QAction::triggered, this, slot);
    };
    add("moveAction", QStringLiteral("&Move to..."), QKeySequence(Qt::CTRL | Qt::Key_M), &CardWindow::moveSelected);
    add("copyAction", QStringLiteral("&Copy to..."), QKeySequence(Qt::CTRL | Qt::Key_D),
        &CardWindow::copySelectedWithin);
    add("swapAction", QStringLiteral("&Swap with..."), QKeySequence(Qt::CTRL | Qt::Key_T), &CardWindow::swapSelected);
    add("copyToCardAction", QStringLiteral("Copy to C&ard..."), QKeySequence(), &CardWindow::copySelected);
    add("moveToCardAction", QStringLiteral("Move t&o Card..."), QKeySequence(), &CardWindow::moveSelectedToCard);
    m_menu->addSeparator();
    add("deleteAction", QStringLiteral("&Delete"), QKeySequence(QKeySequence::Delete), &CardWindow::deleteSelected,
        Qt::WidgetShortcut);
    add("undoAction", QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), &CardWindow::undo);
    add("redoAction", QStringLiteral("&Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &CardWindow::redo);
    m_menu->actions().last()->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

    // The context menu by mouse, by the Menu key and by Shift+F10, the latter two at the cursor's row.
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_table->viewport()->mapToGlobal(at)); });
    auto* menuKey = new QAction(m_table);
    menuKey->setShortcuts({QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
    menuKey->setShortcutContext(Qt::WidgetShortcut);
    m_table->addAction(menuKey);
    connect(menuKey, &QAction::triggered, this, [this] {
        const QRect row = m_table->visualRect(m_table->currentIndex());
        m_menu->popup(m_table->viewport()->mapToGlobal(row.isValid() ? row.center() : QPoint(0, 0)));
    });
}

// Every column at the width of its texts and the whole totals line, but no smaller than the
// window's design and no larger than the screen.
QSize CardWindow::fittingSize() const {
    const int columns = m_table->widthForColumns();
    const int totals = m_totalsLabel->fontMetrics().horizontalAdvance(m_totalsLabel->text());
    const QMargins margins = layout()->contentsMargins();
    QSize fitting = twipsSize(11400, 6855).expandedTo(
        QSize(std::max(columns, totals) + margins.left() + margins.right(), 0));
    if (const QScreen* shown = screen()) fitting = fitting.boundedTo(shown->availableGeometry().size());
    return fitting;
}

void CardWindow::rememberSizeIn(SettingsStore& store) {
    m_sizeStore = &store;
    const QStringList kept = QString::fromStdString(store.readSetting("CardWindow", "geometry", "")).split('x');
    const QSize size = kept.size() == 2 ? QSize(kept[0].toInt(), kept[1].toInt()) : QSize();
    if (size.isEmpty()) return;
    m_openingSize = screen() ? size.boundedTo(screen()->availableGeometry().size()) : size;
    resize(m_openingSize);
}

// A size that cannot be kept costs the musician nothing but the next opening's size.
void CardWindow::closeEvent(QCloseEvent* event) {
    if (m_sizeStore) {
        try {
            m_sizeStore->writeSetting("CardWindow", "geometry",
                                      std::to_string(width()) + "x" + std::to_string(height()));
        } catch (const std::exception&) {
            m_ui.logFailure("Card", caughtReason());
        }
    }
    QWidget::closeEvent(event);
}

void CardWindow::showCard(std::string folder) {  // a copy: it may be m_listing.card
    // The loops chosen before stay chosen when they are listed again.
    std::set<std::string> kept;
    for (size_t index : selectedLoops()) kept.insert(m_listing.loops[index].folder);
    const card::LoopSummary* current = loopOfRow(m_table->currentRow());
    const std::string currentFolder = current ? current->folder : std::string();

    recoverCard(folder);
    keepNamesOnCard(folder);
    m_listing = card::CardListing{};
    m_listing.card = folder;
    try {
        m_listing = card::listCard(folder, m_files);
    } catch (const std::exception&) {
        // a folder that cannot be read lists no loops
        m_ui.logFailure("Card", caughtReason());
    }
    std::vector<std::string> loopFolders;
    for (const card::LoopSummary& loop : m_listing.loops) loopFolders.push_back(loop.folder);
    m_watcher->watch(m_listing.card, loopFolders);
    m_offered.clear();
    m_offerLabel->hide();
    m_offerButton->hide();
    findNames();
    fillTable(kept, currentFolder);
}

// A change an earlier program left half-done is finished or taken back before the card is
// listed, so the table shows the loops of before or of after it. When that fails, every change
// of the card is refused until it has run: the failure is told once, not at each listing.
void CardWindow::recoverCard(const std::string& folder) {
    std::string card;
    try {
        card = m_files.absolutePath(folder);
    } catch (const std::exception&) {
        return;  // the listing says what is wrong with the folder
    }
    const card::Recovery recovery = card::recoverCardIfFree(m_files, card);
    if (!recovery.line.empty()) note(recovery.line);
    const std::string failure = recovery.failed() ? recovery.line + "\n" + recovery.reason : std::string();
    if (!failure.empty() && failure != m_failureShown)
        m_ui.message(recovery.line, MessageButtons::Ok, MessageIcon::Critical, recovery.reason);
    m_failureShown = failure;
}

// With the names kept on the card, a card opened gives the library the names its file holds, and
// the card listed again (as after every change the window makes) gets them back whenever they
// differ from its file.
void CardWindow::keepNamesOnCard(const std::string& folder) {
    if (!m_preferences.namesOnCard || !m_files.folderExists(folder)) return;  // a card pulled out says so itself
    library::LoopLibrary& library = library::userLibrary(m_files);
    const bool opening = folder != m_namesCard;
    m_namesCard = folder;
    const card::NamesFileOutcome outcome = opening ? card::readNamesFromCard(folder, library, m_files)
                                                   : card::writeNamesToCard(folder, library, m_files, true);
    if (const std::optional<std::string> report = library.takeReport()) note(*report);
    if (!outcome.recovered.empty()) note(outcome.recovered);
    if (!outcome.message.empty() && outcome.found) note(outcome.message);
}

// Sent once the event loop runs again: the window's first listing runs in its constructor,
// before the program has connected the status line.
void CardWindow::note(const std::string& text) {
    QTimer::singleShot(0, this, [this, text = QString::fromStdString(text)] { emit statusMessage(text); });
}

void CardWindow::refresh() {
    showCard(m_listing.card);
    // A card put in since: offered again while the initial loop folder still holds no loops.
    if (m_listing.loops.empty() && m_listing.card == m_preferences.loopFolder) offerMountedCard();
}

void CardWindow::chooseOtherFolder() {
    if (const std::optional<std::string> folder = chooseFolder(message::kChooseCardFolder, m_listing.card))
        showCard(*folder);
}

std::optional<std::string> CardWindow::chooseFolder(const std::string& caption, const std::string& startFolder) {
    return chooseFolderHook ? chooseFolderHook(caption, startFolder) : m_ui.chooseFolder(caption, startFolder);
}

void CardWindow::offerMountedCard() {
    const std::optional<std::string> found = card::findMountedCard(m_files, m_mountRoots);
    if (!found || *found == m_listing.card) return;
    m_offered = *found;
    m_offerLabel->setText(QStringLiteral("A card with loops is mounted at %1").arg(QString::fromStdString(*found)));
    m_offerLabel->show();
    m_offerButton->show();
}

void CardWindow::useOfferedCard() {
    if (!m_offered.empty()) showCard(m_offered);
}

void CardWindow::fillTable(const std::set<std::string>& keptFolders, const std::string& currentFolder) {
    std::optional<QSignalBlocker> quiet(m_table);  // no cell filled here is a name edited
    m_table->setRowCount(0);  // no selection, no cursor until the rows are whole again
    m_table->setSortingEnabled(false);
    m_table->card = QString::fromStdString(m_listing.card);
    m_table->setRowCount(static_cast<int>(m_listing.loops.size()));
    for (int row = 0; row < static_cast<int>(m_listing.loops.size()); ++row) {
        const card::LoopSummary& loop = m_listing.loops[static_cast<size_t>(row)];
        const bool d = loop.described;
        const auto dash = [d](const QString& text) { return d ? text : QStringLiteral("-"); };
        const std::vector<QTableWidgetItem*> cells{
            new NumberItem(QString::number(loop.number), loop.number),
            new NameItem,
            new NumberItem(dash(QString::fromStdString(card::tempoText(loop.tempo))), loop.tempo),
            new NumberItem(dash(QString::fromStdString(message::barsText(loop.beatCount, loop.beatsPerBar))),
                           loop.beatsPerBar > 0 ? double(loop.beatCount) / loop.beatsPerBar : 0),
            new NumberItem(dash(QString::number(loop.beatsPerBar)), loop.beatsPerBar),
            new NumberItem(dash(QString::number(loop.beatCount)), loop.beatCount),
            new NumberItem(dash(QString::number(loop.division)), loop.division),
            new NumberItem(dash(QString::number(loop.seconds, 'f', 1) + " s"), loop.seconds),
            new QTableWidgetItem(dash(QString::fromStdString(loop.channels()))),
            new QTableWidgetItem(tracksText(loop.chosenTracks)),
            new QTableWidgetItem(tracksText(loop.trackFiles)),
            new NumberItem(megabytes(loop.sizeOnDisk), static_cast<double>(loop.sizeOnDisk)),
            new NumberItem(loop.intact() ? QStringLiteral("ok")
                                         : QStringLiteral("%1 problem(s)").arg(loop.problems.size()),
                           static_cast<double>(loop.problems.size()))};
        QStringList problems;
        for (const std::string& line : loop.problemLines()) problems << QString::fromStdString(line);
        for (int column = 0; column < ColumnCount; ++column) {
            QTableWidgetItem* cell = cells[static_cast<size_t>(column)];
            cell->setData(kLoopRole, row);
            if (!loop.intact()) {
                cell->setBackground(kProblemRow);
                cell->setToolTip(problems.join(QLatin1Char('\n')));
            }
            if (column != NameColumn || !m_names) cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
            m_table->setItem(row, column, cell);
        }
        showName(cells[NameColumn], m_loopNames[loop.folder]);
    }
    addFreeRows();
    m_table->setSortingEnabled(true);
    quiet.reset();
    m_table->fitColumnsToTexts();
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (!loopOfRow(row)) continue;  // free numbers
        const std::string& folder = loopOfRow(row)->folder;
        const QModelIndex index = m_table->model()->index(row, LoopColumn);
        if (keptFolders.count(folder))
            m_table->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (folder == currentFolder) m_table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    // A loop just moved or copied is the one selected, at its new number.
    if (const int placed = std::exchange(m_selectAfterListing, 0)) {
        for (int row = 0; row < m_table->rowCount(); ++row)
            if (!m_table->isFreeRow(row) && m_table->numberOfRow(row) == placed)
                m_table->selectionModel()->setCurrentIndex(m_table->model()->index(row, LoopColumn),
                                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    applyFilter();
    showDetails();

    m_folderLabel->setText(QString::fromStdString(m_listing.card));
    m_folderLabel->setToolTip(m_folderLabel->text());
    QString totals = QStringLiteral("%1 loops, %2 loop numbers free").arg(m_listing.loops.size()).arg(m_listing.freeLoopNumbers);
    if (m_listing.lowestFreeLoop) totals += QStringLiteral(" (lowest %1)").arg(*m_listing.lowestFreeLoop);
    totals += QStringLiteral(", free space ") +
              (m_listing.freeSpace ? megabytes(*m_listing.freeSpace) : QStringLiteral("unknown"));
    if (m_listing.freeSpace)
        totals += QStringLiteral(" (%1 min mono, %2 min stereo)")
                      .arg(minutesOf(*m_listing.freeSpace, 1), minutesOf(*m_listing.freeSpace, 2));
    m_totalsLabel->setText(totals);
    showNamesProgress();
    const std::optional<std::string> undoable = card::arrangementToUndo(m_listing.card, m_files);
    m_undoButton->setEnabled(undoable.has_value());
    m_undoButton->setToolTip(undoable ? QStringLiteral("Undo ") + QString::fromStdString(*undoable) : QString());
    const std::optional<std::string> redoable = card::arrangementToRedo(m_listing.card, m_files);
    m_redoButton->setEnabled(redoable.has_value());
    m_redoButton->setToolTip(redoable ? QStringLiteral("Redo ") + QString::fromStdString(*redoable) : QString());
}

// One row for each run of free numbers, a loop dragged onto it going to the first of them.
void CardWindow::addFreeRows() {
    std::set<int> used;
    for (const card::LoopSummary& loop : m_listing.loops) used.insert(loop.number);
    for (int first = loop::kLowestLoop; first <= loop::kHighestLoop; ++first) {
        if (used.count(first)) continue;
        int last = first;
        while (last < loop::kHighestLoop && !used.count(last + 1)) ++last;
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        for (int column = 0; column < ColumnCount; ++column) {
            QTableWidgetItem* cell = column == LoopColumn
                ? new NumberItem(first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last), first)
                : new NumberItem(column == ChannelsColumn ? QStringLiteral("free") : QString(), kFreeRowValue);
            cell->setData(LoopTable::kFreeRole, true);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsDropEnabled);
            cell->setForeground(kFreeRowText);
            m_table->setItem(row, column, cell);
        }
        first = last;
    }
}

const card::LoopSummary* CardWindow::loopOfRow(int row) const {
    const QVariant index = m_table->model()->index(row, LoopColumn).data(kLoopRole);
    const auto at = static_cast<size_t>(index.toInt());
    return index.isValid() && at < m_listing.loops.size() ? &m_listing.loops[at] : nullptr;
}

std::set<size_t> CardWindow::selectedLoops() const {
    std::set<size_t> loops;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows(LoopColumn))
        loops.insert(static_cast<size_t>(index.data(kLoopRole).toInt()));
    return loops;
}

const card::LoopSummary* CardWindow::loopUnderCursor() const {
    const int row = m_table->currentRow();
    return row >= 0 && m_table->selectionModel()->isRowSelected(row, QModelIndex()) ? loopOfRow(row) : nullptr;
}

// The loop under the cursor, when it is selected.
void CardWindow::showDetails() {
    writeDetails();
    // The cursor moves before the selection follows it (and the rows are listed one by one):
    // what plays follows once the selection has settled, so a loop selected while another plays
    // takes over instead of stopping it.
    if (m_listenPending) return;
    m_listenPending = true;
    QTimer::singleShot(0, this, &CardWindow::listenToSelection);
}

void CardWindow::writeDetails() {
    const card::LoopSummary* loop = loopUnderCursor();
    const auto named = loop ? m_loopNames.find(loop->folder) : m_loopNames.end();
    const std::string notes = named != m_loopNames.end() ? named->second.notes() : std::string();
    m_detailsLabel->setText(loop ? detailsOf(*loop, m_loudness->of(loop->folder), notes)
                                 : QString::fromLatin1(message::kNoLoopChosen));
}

// Listening goes on while the same loop stays selected, and switches to another loop as soon as
// it is selected.
void CardWindow::listenToSelection() {
    m_listenPending = false;
    const card::LoopSummary* loop = loopUnderCursor();
    if (!loop) {
        m_audition->clear(message::kNoLoopToPlay);
        return;
    }
    const audition::Preparation prepared = audition::sourceOfLoop(loop->folder);
    m_audition->show(prepared, prepared.source ? std::optional(audition::waveformOfLoop(*prepared.source))
                                               : std::nullopt);
}

void CardWindow::openRow(int row) {
    const card::LoopSummary* loop = loopOfRow(row);
    if (loop && openLoopHook) openLoopHook(loop->folder);
}

void CardWindow::exportSelected() {
    const std::set<size_t> loops = selectedLoops();
    if (loops.empty()) {
        m_ui.message(message::kNoLoopsSelected);
        return;
    }
    const std::optional<std::string> target = chooseFolder(message::kChooseExportFolder, m_preferences.waveFolder);
    if (!target) return;
    // A folder typed into the chooser that is not there yet is made, as a musician expects.
    if (const std::optional<std::string> reason = card::makeExportFolder(m_files, *target)) {
        m_ui.message(message::exportFolderNotCreated(*target), MessageButtons::Ok, MessageIcon::Critical, *reason);
        return;
    }
    const OverwritePolicy mayReplace = askBeforeReplacing(m_ui, message::exportReplaces, MessageButtons::YesNo);
    // A loop with a damaged track is exported only after a Yes to the question that names it.
    const card::DamagedLoopPolicy exportDamaged = [this](const std::string& loopName, const std::string& problems) {
        return m_ui.message(message::exportDamaged(loopName, problems), MessageButtons::YesNo,
                            MessageIcon::Critical) == MessageAnswer::Yes;
    };
    bool allWritten = true;
    {
        const FocusReturn focusReturn(this);
        setEnabled(false);
        for (size_t index : loops) {
            const std::string folder = m_listing.loops[index].folder;
            const std::vector<card::ExportOutcome> outcomes = card::exportLoop(
                folder, *target, m_files, mayReplace, m_ui.progress(), exportDamaged,
                library::CardNames(library::userLibrary(m_files), m_listing.card)
                    .of(folder)
                    .name());
            for (const card::ExportOutcome& outcome : outcomes) {
                // A damaged loop was declined with No: nothing more to say.
                if (!outcome.message.empty() && outcome.result != card::ExportOutcome::Result::Damaged)
                    m_ui.tell(outcome);
                allWritten = allWritten && outcome.result == card::ExportOutcome::Result::Written;
            }
        }
        setEnabled(true);
    }
    refresh();
    if (allWritten) m_ui.message(message::kWriteSucceeded);
}

void CardWindow::showBackups() {
    const std::set<size_t> loops = selectedLoops();
    if (loops.size() != 1) {
        m_ui.message(message::kSelectOneLoop);
        return;
    }
    const int loopNumber = m_listing.loops[*loops.begin()].number;
    if (backup::BackupStore(m_files).listBackups(loopNumber).empty()) {
        m_ui.message(message::noBackupsOf(loopNumber));
        return;
    }
    BackupsDialog dialog(m_listing.card, loopNumber, m_files, m_ui, m_actions, this);
    dialog.exec();
    refresh();
}

std::vector<int> CardWindow::selectedNumbers() const {
    std::vector<int> numbers;
    for (const size_t index : selectedLoops()) numbers.push_back(m_listing.loops[index].number);
    return numbers;
}

void CardWindow::dropLoop(const QString& fromCard, int from, int row, bool copy) {
    arrange(fromCard.toStdString(), from, m_table->numberOfRow(row), copy);
}

void CardWindow::arrange(const std::string& fromCard, int from, int to, bool copy) {
    bool toFree = true;
    for (const card::LoopSummary& loop : m_listing.loops) toFree = toFree && loop.number != to;
    if (m_actions.dropLoop(m_listing.card, fromCard, from, to, toFree, copy)) m_selectAfterListing = to;
    refresh();
}

void CardWindow::moveSelected() { arrangeSelected(Arrangement::Move); }
void CardWindow::copySelectedWithin() { arrangeSelected(Arrangement::Copy); }
void CardWindow::swapSelected() { arrangeSelected(Arrangement::Swap); }

// As a drag of the loop onto the row of the number given.
void CardWindow::arrangeSelected(Arrangement arrangement) {
    const std::set<size_t> loops = selectedLoops();
    if (loops.size() != 1) {
        m_ui.message(message::kSelectOneLoop);
        return;
    }
    const card::LoopSummary& loop = m_listing.loops[*loops.begin()];
    const char* verb = arrangement == Arrangement::Move ? "Move " : arrangement == Arrangement::Copy ? "Copy " : "Swap ";
    const char* to = arrangement == Arrangement::Swap ? " with loop number:" : " to loop number:";
    const int offered = arrangement != Arrangement::Swap && m_listing.lowestFreeLoop ? *m_listing.lowestFreeLoop
                                                                                      : loop.number;
    const std::optional<int> number =
        m_ui.askNumber(verb + loop::loopFolderName(loop.number) + to, offered, loop::kLowestLoop, loop::kHighestLoop);
    if (number) arrange(m_listing.card, loop.number, *number, arrangement == Arrangement::Copy);
}

void CardWindow::writeDroppedWaves(const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& path : paths) files.push_back(path.toStdString());
    m_actions.writeDroppedWaves(m_listing.card, files);
    refresh();
}

QWidget* CardWindow::previewDrop(const std::vector<std::string>& paths) {
    return m_actions.previewDroppedWaves(m_listing.card, paths);
}

void CardWindow::deleteSelected() {
    m_actions.deleteLoops(m_listing.card, selectedNumbers());
    refresh();
}

void CardWindow::copySelected() { selectedToCard(true); }

void CardWindow::moveSelectedToCard() { selectedToCard(false); }

void CardWindow::selectedToCard(bool copy) {
    const std::vector<int> numbers = selectedNumbers();
    if (numbers.empty()) {
        m_ui.message(message::kNoLoopsSelected);
        return;
    }
    const std::optional<std::string> target =
        chooseFolder(copy ? message::kChooseCopyFolder : message::kChooseMoveFolder, m_listing.card);
    if (!target) return;
    m_actions.toCard(m_listing.card, numbers, *target, copy);
    refresh();
}

void CardWindow::undo() {
    m_actions.undo(m_listing.card);
    refresh();
}

void CardWindow::redo() {
    m_actions.redo(m_listing.card);
    refresh();
}

void CardWindow::showStore() {
    BackupsDialog dialog(m_listing.card, std::nullopt, m_files, m_ui, m_actions, this);
    dialog.exec();
    refresh();
}

// The card is listed again once ejected: it shows gone, as when it is pulled out.
void CardWindow::ejectCard() {
    const card::CardEjection ejection =
        card::ejectCard(m_files, m_listing.card, ejectVolumeHook ? ejectVolumeHook : ejectVolumeHolding);
    if (!ejection.recovered.empty()) note(ejection.recovered);
    m_ui.message(ejection.line, MessageButtons::Ok, ejection.ejected ? MessageIcon::None : MessageIcon::Critical,
                 ejection.reason);
    if (ejection.ejected) refresh();
}

}  // namespace brenvik

namespace brenvik {

void CardWindow::showNamesProgress() {
    m_namesProgress->setText(
        m_nameReader->reading()
            ? QString::fromStdString(message::readingNames(m_nameReader->done(), m_nameReader->total()))
            : QString());
}

void CardWindow::reportLibrary() {
    if (const std::optional<std::string> report = library::userLibrary(m_files).takeReport()) note(*report);
}

void CardWindow::findNames() {
    m_loopNames.clear();
    m_names.reset();
    library::LoopLibrary& names = library::userLibrary(m_files);
    std::vector<library::SeenFolder> folders;
    for (const card::LoopSummary& loop : m_listing.loops) folders.push_back({loop.folder, loop.fingerprint});
    if (!names.unavailableReason()) {
        m_names = std::make_unique<library::CardNames>(names, m_listing.card);
        m_loopNames = m_names->known(folders);
    }
    reportLibrary();
    if (names.unavailableReason()) m_names.reset();  // the window works on without names
    std::vector<std::string> unknown;
    if (m_names)
        for (const library::SeenFolder& seen : folders)
            if (!m_loopNames[seen.folder].hash) unknown.push_back(seen.folder);
    m_nameReader->read(std::move(unknown));
}

void CardWindow::takeHashes(const std::vector<library::HashedFolder>& hashed) {
    if (!m_names) return;
    const std::map<std::string, library::NamedLoop> found = m_names->remember(hashed);
    reportLibrary();
    for (const auto& [folder, named] : found) m_loopNames[folder] = named;
    for (int row = 0; row < m_table->rowCount(); ++row)
        if (const card::LoopSummary* loop = loopOfRow(row); loop && found.count(loop->folder))
            showName(m_table->item(row, NameColumn), found.at(loop->folder));
    applyFilter();
    showNamesProgress();
    writeDetails();
}

// Shown without telling nameEdited: only the musician's edits rename.
void CardWindow::showName(QTableWidgetItem* cell, const library::NamedLoop& named) {
    const QSignalBlocker quiet(m_table);
    cell->setText(QString::fromStdString(named.name()));
    cell->setData(kNotesRole, QString::fromStdString(named.notes()));
}

// A name refused, or a loop that cannot be read, keeps the name it had; an empty name clears it.
void CardWindow::nameEdited(QTableWidgetItem* cell) {
    const card::LoopSummary* loop = cell->column() == NameColumn ? loopOfRow(cell->row()) : nullptr;
    if (!loop || !m_names) return;
    library::NamedLoop& named = m_loopNames[loop->folder];
    const std::string name = cell->text().toStdString();
    if (name == named.name()) return;
    const std::string loopName = loop::loopFolderName(loop->number);
    if (const std::optional<std::string> refusal = library::nameRefusal(name)) {
        showName(cell, named);
        m_ui.message(*refusal, MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    if (!named.hash) named = m_names->of(loop->folder);
    if (!named.hash) {
        showName(cell, named);
        m_ui.message(message::cannotName(loopName), MessageButtons::Ok, MessageIcon::Warning, named.failure);
        return;
    }
    m_names->library().rename(*named.hash, name);
    named.record = m_names->library().find(*named.hash);
    reportLibrary();
    showName(cell, named);
    applyFilter();
}

// Rows of free numbers only show unfiltered: a filter looks for loops.
void CardWindow::applyFilter() {
    const QString wanted = m_filterBox->text();
    const auto holds = [&wanted](const QString& text) { return text.contains(wanted, Qt::CaseInsensitive); };
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const QTableWidgetItem* name = m_table->item(row, NameColumn);
        const QTableWidgetItem* tempo = m_table->item(row, TempoColumn);
        const bool shown = wanted.isEmpty() ||
                           (!m_table->isFreeRow(row) && name && tempo &&
                            (holds(name->text()) || holds(tempo->text()) || holds(name->data(kNotesRole).toString())));
        m_table->setRowHidden(row, !shown);
    }
}

}  // namespace brenvik
