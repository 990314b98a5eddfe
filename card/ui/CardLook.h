#pragma once
// The look the Card window and its Backups dialog share: the converter windows' dark teal, green
// buttons and bold white labels.
#include <QColor>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;

namespace brenvik {

inline const QColor kCardBackground(0x00, 0x40, 0x40);

QPushButton* greenButton(const QString& name, const QString& text, QWidget* parent);
QLabel* whiteLabel(const QString& name, QWidget* parent);
// A read-only table of whole rows under the given column headers, without row numbers.
QTableWidget* rowTable(const QString& name, const QStringList& headers, QWidget* parent);
// The same look given to a table made otherwise.
QTableWidget* asRowTable(QTableWidget* table, const QString& name, const QStringList& headers);

// When a backup of the store was made, in local time: "2026-12-06 02:50:00".
QString backupTimeText(const std::string& made);

// "1.2 MB".
QString megabytes(int64_t bytes);

}  // namespace brenvik
