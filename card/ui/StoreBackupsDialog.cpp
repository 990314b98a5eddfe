#include "StoreBackupsDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ArrangeActions.h"
#include "BackupRows.h"
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
    m_backups = checkedBackups(backup::BackupStore(m_files).listBackups(), m_files, m_ui);
    showBackupRows(m_table, m_backups, MadeColumn, SizeColumn, CheckColumn);
    for (int row = 0; row < m_table->rowCount(); ++row)
        m_table->setItem(row, LoopColumn,
                         new QTableWidgetItem(QString::fromStdString(
                             loop::loopFolderName(m_backups[static_cast<size_t>(row)].backup.loopNumber))));
    m_table->resizeColumnsToContents();
}

void StoreBackupsDialog::restoreChosen() {
    const ListedBackup* chosen = chosenBackup(m_table, m_backups, m_ui);
    if (!chosen) return;
    const ListedBackup& listed = *chosen;
    m_actions.restoreInto(m_card, listed.backup.folder, listed.backup.loopNumber, m_target->value());
    fillTable();  // the store may hold the card's loop now
}

}  // namespace brenvik
