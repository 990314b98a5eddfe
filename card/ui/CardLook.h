#pragma once
// The look the Card window and its backups dialog share: the converter windows' dark teal, green
// buttons and bold white labels.
#include <QColor>
#include <QString>
#include <QStringList>
#include <cstdint>

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

// "1.2 MB".
QString megabytes(int64_t bytes);

}  // namespace brenvik
