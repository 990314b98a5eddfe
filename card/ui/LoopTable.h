#pragma once
// The Card window's table of loops as a place to drag loops about: a row dragged carries its card
// and loop number (to this table, or to the table of a second Card window), and a drop tells on
// which row it landed and whether it copies (Ctrl, or a loop of another card). Waves a file
// manager drops on it are handed on by their paths.
#include <QTableWidget>
#include <map>
#include <set>
#include <vector>

namespace brenvik {

class LoopTable : public QTableWidget {
    Q_OBJECT
public:
    // What a dragged row carries: the card's path, a line break and the loop number.
    static constexpr const char* kLoopMimeType = "application/x-brenvik-loop";
    // The Loop column's cells hold their loop number as this role; a row of free numbers holds
    // its first free number, and true as kFreeRole.
    static constexpr int kNumberRole = Qt::UserRole;
    static constexpr int kFreeRole = Qt::UserRole + 2;

    explicit LoopTable(QWidget* parent = nullptr);

    // The card the table lists, carried by its drags.
    QString card;

    // The loop number of a row and whether it is a row of free numbers.
    int numberOfRow(int row) const;
    bool isFreeRow(int row) const;

    // Fits the columns to their texts, unless every column holds the same texts as when they were
    // last fitted: a refresh of 999 loops, or two of them swapped, leaves the widths as they were
    // (and as the user may have dragged them) without measuring every cell again.
    void fitColumnsToTexts();
    // A column fitted no wider than `widest` pixels (its longer texts cut short).
    void limitColumn(int column, int widest) { m_widest[column] = widest; }
    // The width the table needs to show every column whole beside its vertical scroll bar.
    int widthForColumns() const;

signals:
    // Told once the drop has ended, so that questions may follow it.
    void loopDropped(const QString& fromCard, int fromNumber, int row, bool copy);
    void filesDropped(const QStringList& paths);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    void startDrag(Qt::DropActions actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool copies(const QDropEvent* event) const;

    std::vector<std::set<QString>> m_fittedTexts;  // each column's texts when last fitted
    int m_columnsWidth = 0;                         // of all columns fitted to their texts
    std::map<int, int> m_widest;                    // by column
};

}  // namespace brenvik
