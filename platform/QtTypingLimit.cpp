#include "QtTypingLimit.h"

#include <QLineEdit>
#include <QValidator>

namespace brenvik {
namespace {

// Refuses an edit that makes the text longer than the limit and longer than it was; shortening
// an over-long text set by the program stays possible.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* edit, int maxChars)
        : QValidator(edit), m_maxChars(maxChars), m_lastLength(edit->text().size()) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_lastLength = text.size(); });
    }

    State validate(QString& input, int&) const override {
        if (input.size() > m_maxChars && input.size() > m_lastLength) return Invalid;
        return Acceptable;
    }

private:
    int m_maxChars;
    qsizetype m_lastLength;
};

}  // namespace

void limitTyping(QLineEdit* edit, int maxChars) { edit->setValidator(new TypingLimit(edit, maxChars)); }

}  // namespace brenvik
