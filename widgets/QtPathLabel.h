#pragma once
// A path in a label of fixed width: a long one loses its middle, not its end, so the file names
// of two imports in one folder stay apart; the whole path shows as the label's tooltip.
class QLabel;
class QString;

namespace brenvik {

void showPath(QLabel* label, const QString& path);

}  // namespace brenvik
