#include "QtTypingLimit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace brenvik {
namespace {

// Refuses typed, composed or pasted characters that would make the text longer than the limit
// and longer than it is; shortening an over-long text set by the program stays possible.
class TypingLimit : public QObject {
public:
    TypingLimit(QLineEdit* edit, int maxChars) : QObject(edit), m_edit(edit), m_maxChars(maxChars) {
        edit->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_edit) return false;
        const QString inserted = insertedText(event);
        if (inserted.isEmpty()) return false;
        const qsizetype now = m_edit->text().size();
        const qsizetype after = now - m_edit->selectedText().size() + inserted.size();
        return after > m_maxChars && after > now;
    }

private:
    static QString insertedText(QEvent* event) {
        if (event->type() == QEvent::InputMethod)
            return static_cast<QInputMethodEvent*>(event)->commitString();
        if (event->type() != QEvent::KeyPress) return {};
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) return QGuiApplication::clipboard()->text();
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return {};
        const QString text = key->text();
        return !text.isEmpty() && text.at(0).isPrint() ? text : QString();
    }

    QLineEdit* m_edit;
    int m_maxChars;
};

}  // namespace

void limitTyping(QLineEdit* edit, int maxChars) { new TypingLimit(edit, maxChars); }

}  // namespace brenvik
