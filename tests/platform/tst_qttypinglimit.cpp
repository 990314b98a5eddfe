// A text box's character limit stops typing but not the program.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include "QtTypingLimit.h"

class TestQtTypingLimit : public QObject {
    Q_OBJECT
private slots:
    // A box limited to 3 characters: the program sets `start` (selected from `select` on when
    // that is not -1), then the user types `typed`, or pastes `clipboard` when there is one.
    void limit_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("select");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("typing stops at the limit") << "" << -1 << "" << "12345" << "123";
        QTest::newRow("program text kept whole, takes no more")
            << "/a/folder/longer/than/the/limit" << -1 << "" << "g" << "/a/folder/longer/than/the/limit";
        QTest::newRow("over-long text can be shortened") << "abcdef" << -1 << "" << "\b" << "abcde";
        QTest::newRow("replacing a selection within the limit") << "123" << 2 << "" << "9" << "129";
        QTest::newRow("paste beyond the limit refused") << "12" << -1 << "345" << "" << "12";
    }
    void limit() {
        QFETCH(QString, start);
        QFETCH(int, select);
        QFETCH(QString, clipboard);
        QFETCH(QString, typed);
        QLineEdit edit;
        brenvik::limitTyping(&edit, 3);
        edit.setText(start);
        if (select >= 0) edit.setSelection(select, int(start.size()) - select);
        if (!clipboard.isEmpty()) {
            QGuiApplication::clipboard()->setText(clipboard);
            QTest::keySequence(&edit, QKeySequence::Paste);
        }
        QTest::keyClicks(&edit, typed);
        QTEST(edit.text(), "expected");
    }
};

QTEST_MAIN(TestQtTypingLimit)
#include "tst_qttypinglimit.moc"
