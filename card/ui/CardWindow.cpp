#include "CardWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>
#include <set>

#include "BackupStore.h"
#include "CardLook.h"
#include "LoopBackupsDialog.h"
#include "LoopExport.h"
#include "Files.h"
#include "Interaction.h"
#include "Messages.h"
#include "Preferences.h"
#include "QtFormLook.h"
#include "RoutineError.h"

namespace brenvik {

namespace {

const QColor kProblemRow(0xFF, 0xC0, 0xC0);

// A cell that sorts by the number it holds, not by its text.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text) { setData(Qt::UserRole, value); }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

QString tracksText(const std::vector<int>& tracks) {
    QStringList parts;
    for (int k : tracks) parts << QString::number(k);
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(QLatin1Char(','));
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
      m_offerLabel(whiteLabel(QStringLiteral("offerLabel"), this)),
      m_offerButton(greenButton(QStringLiteral("offerButton"), QStringLiteral("Show this Card"), this)),
      m_table(rowTable(QStringLiteral("loopTable"),
                       {"Loop", "Tempo", "Bars", "Beats", "Division", "Length", "Channels", "Tracks", "Files",
                        "Size", "Check"},
                       this)) {
    setObjectName(QStringLiteral("cardWindow"));
    setWindowTitle(QStringLiteral("Card"));
    paintBackground(this, kCardBackground);
    resize(twipsSize(11400, 6855));

    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->horizontalHeader()->setSortIndicator(LoopColumn, Qt::AscendingOrder);  // as list does
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openRow(row); });

    auto* refreshButton = greenButton(QStringLiteral("refreshButton"), QStringLiteral("Refresh"), this);
    auto* folderButton = greenButton(QStringLiteral("folderButton"), QStringLiteral("Other Folder..."), this);
    auto* exportButton = greenButton(QStringLiteral("exportButton"), QStringLiteral("Export..."), this);
    connect(refreshButton, &QPushButton::clicked, this, &CardWindow::refresh);
    connect(folderButton, &QPushButton::clicked, this, &CardWindow::chooseOtherFolder);
    auto* backupsButton = greenButton(QStringLiteral("backupsButton"), QStringLiteral("Backups..."), this);
    connect(exportButton, &QPushButton::clicked, this, &CardWindow::exportSelected);
    connect(backupsButton, &QPushButton::clicked, this, &CardWindow::showBackups);
    connect(m_offerButton, &QPushButton::clicked, this, &CardWindow::useOfferedCard);

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
    layout->addWidget(m_table, 1);
    layout->addWidget(m_totalsLabel);

    m_listing.card = m_preferences.loopFolder;
    refresh();
}

void CardWindow::showCard(std::string folder) {  // a copy: it may be m_listing.card
    m_listing = card::CardListing{};
    m_listing.card = folder;
    try {
        m_listing = card::listCard(folder, m_files);
    } catch (const std::exception&) {
        // a folder that cannot be read lists no loops
        m_ui.logFailure("Card", caughtReason());
    }
    m_offered.clear();
    m_offerLabel->hide();
    m_offerButton->hide();
    fillTable();
}

void CardWindow::refresh() {
    showCard(m_listing.card);
    // A card put in since: offered again while the initial loop folder still holds no loops.
    if (m_listing.loops.empty() && m_listing.card == m_preferences.loopFolder) offerMountedCard();
}

void CardWindow::chooseOtherFolder() {
    if (const std::optional<std::string> folder = m_ui.chooseFolder(message::kChooseCardFolder, m_listing.card))
        showCard(*folder);
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

void CardWindow::fillTable() {
    m_table->setSortingEnabled(false);
    m_table->setRowCount(static_cast<int>(m_listing.loops.size()));
    for (int row = 0; row < static_cast<int>(m_listing.loops.size()); ++row) {
        const card::LoopSummary& loop = m_listing.loops[static_cast<size_t>(row)];
        const bool d = loop.described;
        const auto dash = [d](const QString& text) { return d ? text : QStringLiteral("-"); };
        const std::vector<QTableWidgetItem*> cells{
            new NumberItem(QString::number(loop.number), loop.number),
            new NumberItem(dash(QString::fromStdString(card::tempoText(loop.tempo))), loop.tempo),
            new NumberItem(dash(QString::number(loop.beatCount)), loop.beatCount),
            new NumberItem(dash(QString::number(loop.beatsPerBar)), loop.beatsPerBar),
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
            cell->setData(Qt::UserRole + 1, QString::fromStdString(loop.folder));
            if (!loop.intact()) {
                cell->setBackground(kProblemRow);
                cell->setToolTip(problems.join(QLatin1Char('\n')));
            }
            m_table->setItem(row, column, cell);
        }
    }
    m_table->setSortingEnabled(true);
    m_table->resizeColumnsToContents();

    m_folderLabel->setText(QString::fromStdString(m_listing.card));
    QString totals = QStringLiteral("%1 loops, %2 loop numbers free").arg(m_listing.loops.size()).arg(m_listing.freeLoopNumbers);
    if (m_listing.lowestFreeLoop) totals += QStringLiteral(" (lowest %1)").arg(*m_listing.lowestFreeLoop);
    totals += QStringLiteral(", free space ") +
              (m_listing.freeSpace ? megabytes(*m_listing.freeSpace) : QStringLiteral("unknown"));
    m_totalsLabel->setText(totals);
}

void CardWindow::openRow(int row) {
    const QTableWidgetItem* cell = m_table->item(row, LoopColumn);
    if (cell && openLoopHook) openLoopHook(cell->data(Qt::UserRole + 1).toString().toStdString());
}

void CardWindow::exportSelected() {
    std::set<std::string> folders;
    for (const QTableWidgetItem* cell : m_table->selectedItems())
        folders.insert(cell->data(Qt::UserRole + 1).toString().toStdString());
    if (folders.empty()) {
        m_ui.message(message::kNoLoopsSelected);
        return;
    }
    const std::optional<std::string> target = m_ui.chooseFolder(message::kChooseExportFolder, m_preferences.waveFolder);
    if (!target) return;
    const OverwritePolicy mayReplace = askBeforeReplacing(m_ui, message::exportReplaces, MessageButtons::YesNo);
    setEnabled(false);
    bool allWritten = true;
    for (const std::string& folder : folders) {
        std::vector<card::ExportOutcome> outcomes;
        try {
            outcomes = card::exportLoop(folder, *target, m_files, mayReplace, m_ui.progress());
        } catch (const std::exception&) {
            outcomes.push_back({card::ExportOutcome::Result::Failed, folder, message::kSaveFailed,
                                MessageIcon::Critical, caughtReason()});
        }
        for (const card::ExportOutcome& outcome : outcomes) {
            if (!outcome.message.empty()) m_ui.tell(outcome);
            allWritten = allWritten && outcome.result == card::ExportOutcome::Result::Written;
        }
    }
    setEnabled(true);
    if (allWritten) m_ui.message(message::kWriteSucceeded);
}

void CardWindow::showBackups() {
    std::set<int> rows;
    for (const QTableWidgetItem* cell : m_table->selectedItems()) rows.insert(cell->row());
    if (rows.size() != 1) {
        m_ui.message(message::kSelectOneLoop);
        return;
    }
    const int loopNumber = static_cast<int>(m_table->item(*rows.begin(), LoopColumn)->data(Qt::UserRole).toDouble());
    if (backup::BackupStore(m_files).listBackups(loopNumber).empty()) {
        m_ui.message(message::noBackupsOf(loopNumber));
        return;
    }
    LoopBackupsDialog dialog(m_listing.card, loopNumber, m_files, m_ui, this);
    dialog.exec();
    refresh();
}

}  // namespace brenvik
