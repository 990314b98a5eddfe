// A text box's character limit stops typing but not the program.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include "QtTypingLimit.h"

using namespace brenvik;

class TestQtTypingLimit : public QObject {
    Q_OBJECT
private slots:
    void typingStopsAtTheLimit() {
        QLineEdit edit;
        limitTyping(&edit, 3);
        QTest::keyClicks(&edit, "12345");
        QCOMPARE(edit.text(), QString("123"));
    }

    void programmaticTextIsKeptWhole() {
        QLineEdit edit;
        limitTyping(&edit, 3);
        edit.setText("/a/folder/longer/than/the/limit");
        QCOMPARE(edit.text(), QString("/a/folder/longer/than/the/limit"));
    }

    void overLongTextTakesNoMoreButCanBeShortened() {
        QLineEdit edit;
        limitTyping(&edit, 3);
        edit.setText("abcdef");
        edit.end(false);
        QTest::keyClick(&edit, Qt::Key_G);
        QCOMPARE(edit.text(), QString("abcdef"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QString("abcde"));
    }

    void replacingASelectionWithinTheLimitIsAllowed() {
        QLineEdit edit;
        limitTyping(&edit, 3);
        QTest::keyClicks(&edit, "123");
        edit.setSelection(2, 1);
        QTest::keyClick(&edit, Qt::Key_9);
        QCOMPARE(edit.text(), QString("129"));
    }

    void pasteBeyondTheLimitIsRefused() {
        QLineEdit edit;
        limitTyping(&edit, 3);
        QTest::keyClicks(&edit, "12");
        QGuiApplication::clipboard()->setText("345");
        QTest::keySequence(&edit, QKeySequence::Paste);
        QCOMPARE(edit.text(), QString("12"));
    }
};

QTEST_MAIN(TestQtTypingLimit)
#include "tst_qttypinglimit.moc"
