#include "CardLook.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeZone>

#include "QtFormLook.h"

namespace brenvik {

namespace {
const QColor kButtonColour(0x00, 0x80, 0x00);  // the green of the dialogs' OK
}

QPushButton* greenButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFont(sansFont(9.75, true));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, kButtonColour);
    palette.setColor(QPalette::ButtonText, systemWindowColour());
    button->setPalette(palette);
    button->setAutoFillBackground(true);
    return button;
}

QLabel* whiteLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(sansFont(9.75, true));
    paintText(label, systemWindowColour());
    return label;
}

QTableWidget* rowTable(const QString& name, const QStringList& headers, QWidget* parent) {
    return asRowTable(new QTableWidget(parent), name, headers);
}

QTableWidget* asRowTable(QTableWidget* table, const QString& name, const QStringList& headers) {
    table->setColumnCount(static_cast<int>(headers.size()));
    table->setObjectName(name);
    table->setFont(sansFont(8.25));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// The store names a backup after its UTC time, "20261206T015000Z" (with "-k" for a second one in
// the same second).
QString backupTimeText(const std::string& made) {
    QDateTime time = QDateTime::fromString(QString::fromStdString(made.substr(0, 16)),
                                           QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    if (!time.isValid()) return QString::fromStdString(made);
    time.setTimeZone(QTimeZone::utc());
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString megabytes(int64_t bytes) { return QString::number(static_cast<double>(bytes) / 1e6, 'f', 1) + " MB"; }

}  // namespace brenvik
