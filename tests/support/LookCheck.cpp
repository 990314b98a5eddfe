#include "LookCheck.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>
#include <QWidget>

namespace brenvik::test {
namespace {

// An antialiased edge that covers exactly half a pixel of a see-through picture comes out with an
// alpha of 127 on some machines and 128 on others, so such a pixel is hashed to the nearest 16th
// of each channel, which the tie never crosses; an opaque pixel is hashed as it is.
QString hashOf(const QImage& picture) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < argb.height(); ++y) {
        QByteArray levels(argb.width() * 4, 0);
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            for (int c = 0; c < 4; ++c) {
                const int level = (line[x] >> (8 * c)) & 0xff;
                levels[4 * x + c] = char(qAlpha(line[x]) == 255 ? level : (level + 8) >> 4);
            }
        hash.addData(levels);
    }
    return QStringLiteral("%1x%2:%3")
        .arg(argb.width())
        .arg(argb.height())
        .arg(QString::fromLatin1(hash.result().toHex().left(12)));
}

bool inLayout(const QLayout* layout, const QWidget* widget) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget || (item->layout() && inLayout(item->layout(), widget)))
            return true;
    }
    return false;
}

// Widgets whose own painting includes text in a font.
bool drawsText(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) return !label->text().isEmpty();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return !button->text().isEmpty();
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) return !group->title().isEmpty();
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
           qobject_cast<const QProgressBar*>(w) || qobject_cast<const QMenuBar*>(w);
}

QString lineOf(QWidget* w, const QWidget* window) {
    QStringList parts{w->objectName(), QString::fromLatin1(w->metaObject()->className())};
    const QWidget* parent = w->parentWidget();
    const bool laidOut = w == window ? w->layout() != nullptr
                                     : parent && parent->layout() && inLayout(parent->layout(), w);
    if (!laidOut) {
        const QRect r = w->geometry();
        parts << (w == window ? QStringLiteral("%1x%2").arg(r.width()).arg(r.height())
                              : QStringLiteral("%1,%2 %3x%4")
                                    .arg(r.x())
                                    .arg(r.y())
                                    .arg(r.width())
                                    .arg(r.height()));
    }
    parts << (w->isVisibleTo(window) ? QStringLiteral("shown") : QStringLiteral("hidden"));
    parts << QStringLiteral("colours %1/%2%3")
                 .arg(w->palette().color(w->backgroundRole()).name(),
                      w->palette().color(w->foregroundRole()).name(),
                      w->autoFillBackground() ? QStringLiteral(" filled") : QString());
    if (w->testAttribute(Qt::WA_SetFont))
        parts << QStringLiteral("font %1 %2%3%4")
                     .arg(w->font().families().join(QLatin1Char('/')))
                     .arg(w->font().pointSizeF())
                     .arg(w->font().bold() ? QStringLiteral(" bold") : QString(),
                          w->font().fixedPitch() ? QStringLiteral(" fixed") : QString());
    if (const auto* frame = qobject_cast<QFrame*>(w); frame && frame->frameShape() != QFrame::NoFrame)
        parts << QStringLiteral("frame %1/%2").arg(frame->frameShape()).arg(frame->frameShadow());
    if (const auto* bar = qobject_cast<QToolBar*>(w))
        parts << QStringLiteral("icons %1x%2").arg(bar->iconSize().width()).arg(bar->iconSize().height());
    if (const auto* button = qobject_cast<QAbstractButton*>(w); button && !button->icon().isNull())
        parts << QStringLiteral("icon ") +
                     hashOf(button->icon().pixmap(button->iconSize()).toImage());
    if (const auto* label = qobject_cast<QLabel*>(w); label && !label->pixmap().isNull())
        parts << QStringLiteral("picture ") + hashOf(label->pixmap().toImage());
    else if (label && !label->text().isEmpty())  // where its text sits, as the form sets it
        parts << QStringLiteral("aligned 0x%1").arg(int(label->alignment()), 0, 16);
    if (w == window && !w->windowIcon().isNull())
        parts << QStringLiteral("window icon ") + hashOf(w->windowIcon().pixmap(32, 32).toImage());
    if (!laidOut && w->isVisibleTo(window) &&
        !drawsText(w)) {  // its own painting, not its children's
        QImage painted(w->size(), QImage::Format_ARGB32);
        painted.fill(Qt::transparent);
        w->render(&painted, {}, {}, QWidget::DrawWindowBackground);
        parts << QStringLiteral("paints ") + hashOf(painted);
    }
    return parts.join(QStringLiteral("; "));
}

}  // namespace

QStringList lookOf(QWidget* window) {
    QStringList lines{lineOf(window, window)};
    for (QWidget* w : window->findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
            !w->isWindow())
            lines << lineOf(w, window);
    for (const QAction* action : window->findChildren<QAction*>())  // the toolbars' pictures
        if (!action->icon().isNull())
            lines << QStringLiteral("%1; QAction; icon %2")
                         .arg(action->objectName(),
                              hashOf(action->icon().pixmap(16, 16).toImage()));
    return lines;
}

QStringList keptLook(const QString& name, const QStringList& present) {
    QFile file(QStringLiteral(BRENVIK_LOOKS_DIR "/") + name + QStringLiteral(".txt"));
    if (qEnvironmentVariableIntValue("BRENVIK_UPDATE_LOOKS") == 1 &&
        file.open(QIODevice::WriteOnly))
        file.write((present.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    file.close();
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("no kept look at ") + file.fileName()};
    QStringList kept = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    kept.removeLast();  // after the last line's newline
    return kept;
}

}  // namespace brenvik::test
