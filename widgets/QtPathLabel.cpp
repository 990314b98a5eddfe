#include "QtPathLabel.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

namespace brenvik {

void showPath(QLabel* label, const QString& path) {
    const int room =
        label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
    label->setText(QFontMetrics(label->font()).elidedText(path, Qt::ElideMiddle, room));
    label->setToolTip(path);
}

}  // namespace brenvik
