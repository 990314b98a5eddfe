#include "LoopBackupsDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>
#include <optional>

#include "BackupRows.h"
#include "CardLook.h"
#include "Interaction.h"
#include "LoopReplacement.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "QtFormLook.h"
#include "Restore.h"
#include "RoutineError.h"

namespace brenvik {

LoopBackupsDialog::LoopBackupsDialog(std::string card, int loopNumber, Files& files, Interaction& ui, QWidget* parent)
    : QDialog(parent),
      m_card(std::move(card)),
      m_loopNumber(loopNumber),
      m_files(files),
      m_ui(ui),
      m_store(files),
      m_cardOrigin(backup::originOf(m_card, std::nullopt, {})),
      m_table(rowTable(QStringLiteral("backupTable"), {"Made", "Size", "Check", "Card"}, this)),
      m_overLimit(whiteLabel(QStringLiteral("overLimitLabel"), this)),
      m_restoreAs(new QSpinBox(this)) {
    setObjectName(QStringLiteral("loopBackupsDialog"));
    const QString loopName = QString::fromStdString(loop::loopFolderName(loopNumber));
    setWindowTitle(QStringLiteral("Backups of %1").arg(loopName));
    paintBackground(this, kCardBackground);
    resize(twipsSize(7200, 4200));

    QLabel* title = whiteLabel(QStringLiteral("titleLabel"), this);
    title->setText(QStringLiteral("Backups of %1 in %2, newest first")
                       .arg(loopName, QString::fromStdString(m_store.root())));
    title->setWordWrap(true);

    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_overLimit->setWordWrap(true);
    m_restoreAs->setObjectName(QStringLiteral("restoreAsBox"));
    m_restoreAs->setRange(loop::kLowestLoop, loop::kHighestLoop);
    m_restoreAs->setValue(loopNumber);
    m_restoreAs->setPrefix(QStringLiteral("as LOOP"));

    QHBoxLayout* buttons = restoreButtonRow(this, {m_restoreAs}, [this] { restoreChosen(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_overLimit);
    layout->addLayout(buttons);

    fillTable();
}

void LoopBackupsDialog::fillTable() {
    std::vector<backup::StoredBackup> found = m_store.listBackups(m_loopNumber);
    backup::putCardFirst(found, m_cardOrigin);
    m_backups = checkedBackups(std::move(found), m_files, m_ui);
    showBackupRows(m_table, m_backups, MadeColumn, SizeColumn, CheckColumn);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const ListedBackup& listed = m_backups[static_cast<size_t>(row)];
        const backup::BackupOrigin origin = listed.backup.origin.value_or(backup::BackupOrigin{});
        m_table->setItem(row, CardColumn,
                         new QTableWidgetItem(QString::fromStdString(
                             backup::isFromCard(listed.backup, m_cardOrigin)
                                 ? message::kThisCard
                                 : message::fromAnotherCard(origin.card.empty() ? "?" : origin.card, origin.label))));
    }
    m_table->resizeColumnsToContents();
    const int64_t over = m_store.overLimit();
    m_overLimit->setText(over > 0 ? QString::fromStdString(message::storeOverLimit(over, m_store.limit())) : QString());
    m_overLimit->setVisible(over > 0);
}

void LoopBackupsDialog::restoreChosen() {
    const ListedBackup* chosen = chosenBackup(m_table, m_backups, m_ui);
    if (!chosen) return;
    const ListedBackup& listed = *chosen;
    const int into = m_restoreAs->value();
    const std::string target = m_card + "/" + loop::loopFolderName(into);
    backup::RestoreRequest request{listed.backup.folder, m_card, {m_loopNumber}, false};
    if (into != m_loopNumber) request.as = into;
    if (backup::existingLoopFolder(m_files, target)) {
        if (m_ui.message(message::restoreReplaces(target), MessageButtons::YesNo) != MessageAnswer::Yes) return;
        request.overwrite = true;
    }
    backup::RestoreResult result;
    try {
        const BusyPointer busy(m_ui);
        result = backup::restoreBackup(request, m_store, m_files);
    } catch (const std::exception&) {
        result.message = message::restoreFailed(target);
        result.reason = caughtReason();
    }
    if (!result.restored) {
        m_ui.message(result.message, MessageButtons::Ok, MessageIcon::Critical, result.reason);
        fillTable();  // the store may hold the card's loop now
        return;
    }
    m_ui.message(message::loopRestored(target));
    accept();
}

}  // namespace brenvik
