#include "LoopTable.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <optional>
#include <utility>

namespace brenvik {

namespace {

// The loop a drag carries: its card and number.
std::optional<std::pair<QString, int>> draggedLoop(const QMimeData* data) {
    const QStringList parts = QString::fromUtf8(data->data(LoopTable::kLoopMimeType)).split(QLatin1Char('\n'));
    bool isNumber = false;
    const int number = parts.size() == 2 ? parts[1].toInt(&isNumber) : 0;
    if (!isNumber) return std::nullopt;
    return std::make_pair(parts[0], number);
}

QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

}  // namespace

LoopTable::LoopTable(QWidget* parent) : QTableWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(true);
}

int LoopTable::numberOfRow(int row) const {
    const QTableWidgetItem* cell = item(row, 0);
    return cell ? cell->data(kNumberRole).toInt() : 0;
}

bool LoopTable::isFreeRow(int row) const {
    const QTableWidgetItem* cell = item(row, 0);
    return cell && cell->data(kFreeRole).toBool();
}

QStringList LoopTable::mimeTypes() const { return {QString::fromLatin1(kLoopMimeType), QStringLiteral("text/uri-list")}; }

QMimeData* LoopTable::mimeData(const QList<QTableWidgetItem*>& items) const {
    // The row under the pointer goes, also when more are selected.
    const int row = currentRow() >= 0 ? currentRow() : (items.isEmpty() ? -1 : items.front()->row());
    if (row < 0 || isFreeRow(row)) return nullptr;
    auto* carried = new QMimeData;
    carried->setData(kLoopMimeType, (card + QLatin1Char('\n') + QString::number(numberOfRow(row))).toUtf8());
    return carried;
}

Qt::DropActions LoopTable::supportedDropActions() const { return Qt::MoveAction | Qt::CopyAction; }

// The rows stay as they are after a move: the window lists the card again.
void LoopTable::startDrag(Qt::DropActions actions) {
    QMimeData* carried = mimeData(selectedItems());
    if (!carried) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(carried);
    drag->exec(actions, Qt::MoveAction);
}

bool LoopTable::copies(const QDropEvent* event) const {
    const auto loop = draggedLoop(event->mimeData());
    // By the keys held, not by the action proposed: a desktop may propose a copy by default.
    return (event->modifiers() & Qt::ControlModifier) || (loop && loop->first != card);
}

void LoopTable::dragEnterEvent(QDragEnterEvent* event) {
    if (draggedLoop(event->mimeData()) || !localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void LoopTable::dragMoveEvent(QDragMoveEvent* event) {
    QTableWidget::dragMoveEvent(event);  // the indicator
    if (!draggedLoop(event->mimeData())) {
        event->setAccepted(!localFiles(event->mimeData()).isEmpty());
        return;
    }
    if (rowAt(event->position().toPoint().y()) < 0) {
        event->ignore();
        return;
    }
    event->setDropAction(copies(event) ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

// Nothing in the table moves by itself: the window arranges the card and lists it again.
void LoopTable::dropEvent(QDropEvent* event) {
    const auto loop = draggedLoop(event->mimeData());
    const QStringList files = localFiles(event->mimeData());
    const int row = rowAt(event->position().toPoint().y());
    if ((!loop || row < 0) && files.isEmpty()) {
        event->ignore();
        return;
    }
    const bool copy = loop && copies(event);
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    QTimer::singleShot(0, this, [this, loop, files, row, copy] {
        if (loop) emit loopDropped(loop->first, loop->second, row, copy);
        else emit filesDropped(files);
    });
}

void LoopTable::fitColumnsToTexts() {
    std::vector<std::set<QString>> texts(static_cast<size_t>(columnCount()));
    for (int column = 0; column < columnCount(); ++column)
        for (int row = 0; row < rowCount(); ++row)
            if (const QTableWidgetItem* cell = item(row, column)) texts[static_cast<size_t>(column)].insert(cell->text());
    if (texts == m_fittedTexts) return;
    // The last column, stretched to the table's edge, measured at the width of its texts first.
    horizontalHeader()->setStretchLastSection(false);
    resizeColumnsToContents();
    for (const auto& [column, widest] : m_widest)
        if (columnWidth(column) > widest) setColumnWidth(column, widest);
    m_columnsWidth = horizontalHeader()->length();
    horizontalHeader()->setStretchLastSection(true);
    m_fittedTexts = std::move(texts);
}

int LoopTable::widthForColumns() const {
    return 2 * frameWidth() + verticalScrollBar()->sizeHint().width() + m_columnsWidth;
}

}  // namespace brenvik
