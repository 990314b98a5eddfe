#include "BackupsDialog.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
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

BackupsDialog::BackupsDialog(std::string card, std::optional<int> loopNumber, Files& files, Interaction& ui,
                             ArrangeActions& actions, QWidget* parent)
    : QDialog(parent),
      m_card(std::move(card)),
      m_loopNumber(loopNumber),
      m_files(files),
      m_ui(ui),
      m_actions(actions),
      m_store(files),
      m_cardOrigin(backup::originOf(m_card, std::nullopt, {})),
      m_table(rowTable(QStringLiteral("backupTable"), {"Loop", "Made", "Size", "Check", "Card"}, this)),
      m_overLimit(whiteLabel(QStringLiteral("overLimitLabel"), this)),
      m_target(new QSpinBox(this)) {
    setObjectName(QStringLiteral("backupsDialog"));
    const QString root = QString::fromStdString(m_store.root());
    QLabel* title = whiteLabel(QStringLiteral("titleLabel"), this);
    if (m_loopNumber) {
        const QString loopName = QString::fromStdString(loop::loopFolderName(*m_loopNumber));
        setWindowTitle(QStringLiteral("Backups of %1").arg(loopName));
        title->setText(QStringLiteral("Backups of %1 in %2, this card's first, newest first").arg(loopName, root));
    } else {
        setWindowTitle(QStringLiteral("All Backups"));
        title->setText(QStringLiteral("Every backup in %1, this card's first, newest first").arg(root));
    }
    title->setWordWrap(true);
    paintBackground(this, kCardBackground);
    resize(twipsSize(8400, 4800));

    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_overLimit->setWordWrap(true);
    m_target->setObjectName(QStringLiteral("targetBox"));
    m_target->setRange(loop::kLowestLoop, loop::kHighestLoop);
    m_target->setPrefix(QStringLiteral("into LOOP"));
    m_target->setValue(m_loopNumber.value_or(loop::kLowestLoop));
    // The chosen backup's own number is offered first.
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(m_backups.size()))
            m_target->setValue(m_backups[static_cast<size_t>(row)].backup.loopNumber);
    });

    auto* restoreButton = greenButton(QStringLiteral("restoreButton"), QStringLiteral("Restore"), this);
    auto* closeButton = greenButton(QStringLiteral("closeButton"), QStringLiteral("Close"), this);
    connect(restoreButton, &QPushButton::clicked, this, &BackupsDialog::restoreChosen);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(restoreButton);
    buttons->addWidget(m_target);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_overLimit);
    layout->addLayout(buttons);

    fillTable();
}

QString BackupsDialog::cardText(const backup::StoredBackup& stored) const {
    if (backup::isFromCard(stored, m_cardOrigin)) return QString::fromUtf8(message::kThisCard);
    if (!stored.origin || stored.origin->card.empty()) return QString::fromUtf8(message::kCardNotRecorded);
    return QString::fromStdString(message::fromAnotherCard(stored.origin->card, stored.origin->label));
}

void BackupsDialog::fillTable() {
    std::vector<backup::StoredBackup> found = m_store.listBackups(m_loopNumber);
    backup::putCardFirst(found, m_cardOrigin);
    m_backups.clear();
    {
        // Checking reads every byte of every backup.
        const BusyPointer busy(m_ui);
        for (backup::StoredBackup& stored : found) {
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
        const QString loopName = QString::fromStdString(loop::loopFolderName(listed.backup.loopNumber));
        m_table->setItem(row, LoopColumn, new QTableWidgetItem(loopName));
        m_table->setItem(row, MadeColumn, new QTableWidgetItem(backupTimeText(listed.backup.made)));
        m_table->setItem(row, SizeColumn, new QTableWidgetItem(megabytes(listed.backup.bytes)));
        m_table->setItem(row, CheckColumn, check);
        m_table->setItem(row, CardColumn, new QTableWidgetItem(cardText(listed.backup)));
    }
    m_table->resizeColumnsToContents();
    const int64_t over = m_store.overLimit();
    m_overLimit->setText(over > 0 ? QString::fromStdString(message::storeOverLimit(over, m_store.limit())) : QString());
    m_overLimit->setVisible(over > 0);
}

void BackupsDialog::restoreChosen() {
    const QModelIndexList chosen = m_table->selectionModel()->selectedRows();
    if (chosen.isEmpty()) {
        m_ui.message(message::kNoBackupSelected);
        return;
    }
    const Listed& listed = m_backups[static_cast<size_t>(chosen.front().row())];
    // A backup just found damaged is not offered for the question; the restore checks it again anyway.
    if (!listed.refusal.empty()) {
        m_ui.message(listed.refusal, MessageButtons::Ok, MessageIcon::Critical);
        return;
    }
    m_actions.restoreInto(m_card, listed.backup.folder, listed.backup.loopNumber, m_target->value());
    fillTable();  // the store may hold the card's loop now
}

}  // namespace brenvik
