#include "StoreBackupsDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ArrangeActions.h"
#include "BackupCheck.h"
#include "CardLook.h"
#include "Interaction.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "QtFormLook.h"

namespace brenvik {

StoreBackupsDialog::StoreBackupsDialog(std::string card, Files& files, Interaction& ui, ArrangeActions& actions,
                                       QWidget* parent)
    : QDialog(parent),
      m_card(std::move(card)),
      m_files(files),
      m_ui(ui),
      m_actions(actions),
      m_table(rowTable(QStringLiteral("storeTable"), {"Loop", "Made", "Size", "Check"}, this)),
      m_target(new QSpinBox(this)) {
    setObjectName(QStringLiteral("storeBackupsDialog"));
    setWindowTitle(QStringLiteral("All Backups"));
    paintBackground(this, kCardBackground);
    resize(twipsSize(7200, 4800));

    QLabel* title = whiteLabel(QStringLiteral("titleLabel"), this);
    title->setText(QStringLiteral("Every backup in %1, newest first")
                       .arg(QString::fromStdString(backup::BackupStore(m_files).root())));
    title->setWordWrap(true);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_target->setObjectName(QStringLiteral("targetBox"));
    m_target->setRange(loop::kLowestLoop, loop::kHighestLoop);
    // The chosen backup's own number is offered first.
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(m_backups.size()))
            m_target->setValue(m_backups[static_cast<size_t>(row)].backup.loopNumber);
    });

    QLabel* into = whiteLabel(QStringLiteral("targetLabel"), this);
    into->setText(QStringLiteral("into loop"));
    QHBoxLayout* buttons = restoreButtonRow(this, {into, m_target}, [this] { restoreChosen(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    fillTable();
}

void StoreBackupsDialog::fillTable() {
    m_backups.clear();
    {
        // Checking reads every byte of every backup in the store.
        const BusyPointer busy(m_ui);
        for (backup::StoredBackup& stored : backup::BackupStore(m_files).listBackups()) {
            backup::BackupCheck check = backup::checkBackup(m_files, stored.folder);
            m_backups.push_back({std::move(stored), check.manifest ? std::string() : std::move(check.refusal)});
        }
    }
    m_table->setRowCount(static_cast<int>(m_backups.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const Listed& listed = m_backups[static_cast<size_t>(row)];
        auto* check = new QTableWidgetItem(listed.refusal.empty() ? QStringLiteral("matches its manifest")
                                                                  : QStringLiteral("does not match"));
        check->setToolTip(QString::fromStdString(listed.refusal));
        m_table->setItem(row, LoopColumn,
                         new QTableWidgetItem(QString::fromStdString(loop::loopFolderName(listed.backup.loopNumber))));
        m_table->setItem(row, MadeColumn, new QTableWidgetItem(backupTimeText(listed.backup.made)));
        m_table->setItem(row, SizeColumn, new QTableWidgetItem(megabytes(listed.backup.bytes)));
        m_table->setItem(row, CheckColumn, check);
    }
    m_table->resizeColumnsToContents();
}

void StoreBackupsDialog::restoreChosen() {
    const QModelIndexList chosen = m_table->selectionModel()->selectedRows();
    if (chosen.isEmpty()) {
        m_ui.message(message::kNoBackupSelected);
        return;
    }
    const Listed& listed = m_backups[static_cast<size_t>(chosen.front().row())];
    if (!listed.refusal.empty()) {
        m_ui.message(listed.refusal, MessageButtons::Ok, MessageIcon::Critical);
        return;
    }
    m_actions.restoreInto(m_card, listed.backup.folder, listed.backup.loopNumber, m_target->value());
    fillTable();  // the store may hold the card's loop now
}

}  // namespace brenvik
