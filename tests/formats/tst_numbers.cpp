#include <QTest>

#include <cmath>
#include <optional>
#include <string>

#include "Numbers.h"
#include "RoutineError.h"

using namespace brenvik;

// Texts typed by the user and the program's own number texts.
class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void parseNumber_data();
    void parseNumber();
    void textToInt16_data();
    void textToInt16();
    void textToInt32_data();
    void textToInt32();
    void leadingNumber_data();
    void leadingNumber();
    void intToText_data();
    void intToText();
    void shortestGeneralDouble_data();
    void shortestGeneralDouble();
    void shortestGeneralFloat_data();
    void shortestGeneralFloat();
    void oneDecimal_data();
    void oneDecimal();
};

void TestNumbers::parseNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "7" << true << 7.0;
    QTest::newRow("leading zeros") << "007" << true << 7.0;
    QTest::newRow("half") << "2.5" << true << 2.5;
    QTest::newRow("blanks around") << "  12 " << true << 12.0;
    QTest::newRow("minus") << "-3" << true << -3.0;
    QTest::newRow("plus") << "+4" << true << 4.0;
    QTest::newRow("thousands comma") << "1,000" << true << 1000.0;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("no integer part") << ".5" << true << 0.5;
    QTest::newRow("hex") << "&HFF" << true << 255.0;
    QTest::newRow("hex 16-bit wraps") << "&HFFFF" << true << -1.0;
    QTest::newRow("octal") << "&O17" << true << 15.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "   " << false << 0.0;
    QTest::newRow("digits then letters") << "12abc" << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("sign alone") << "-" << false << 0.0;
    QTest::newRow("point alone") << "." << false << 0.0;
    QTest::newRow("hex without digits") << "&H" << false << 0.0;
    QTest::newRow("bad hex digit") << "&HG" << false << 0.0;
    QTest::newRow("beyond double") << "1e999" << false << 0.0;
}

void TestNumbers::parseNumber() {
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    const std::optional<double> parsed = brenvik::parseNumber(text.toStdString());
    QCOMPARE(parsed.has_value(), numeric);
    QCOMPARE(isNumeric(text.toStdString()), numeric);
    if (numeric) QCOMPARE(*parsed, value);
}

void TestNumbers::textToInt16_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<int>("value");
    // Halves go to the even neighbour.
    QTest::newRow("2.5 to 2") << "2.5" << false << 2;
    QTest::newRow("3.5 to 4") << "3.5" << false << 4;
    QTest::newRow("-2.5 to -2") << "-2.5" << false << -2;
    QTest::newRow("0.5 to 0") << "0.5" << false << 0;
    QTest::newRow("1.5 to 2") << "1.5" << false << 2;
    QTest::newRow("2.6 to 3") << "2.6" << false << 3;
    QTest::newRow("007 to 7") << "007" << false << 7;
    QTest::newRow("top") << "32767" << false << 32767;
    QTest::newRow("bottom") << "-32768" << false << -32768;
    QTest::newRow("-32768.5 to even -32768") << "-32768.5" << false << -32768;
    QTest::newRow("32767.5 rounds out of range") << "32767.5" << true << 0;
    QTest::newRow("one past top") << "32768" << true << 0;
    QTest::newRow("one past bottom") << "-32769" << true << 0;
    QTest::newRow("not numeric") << "abc" << true << 0;
    QTest::newRow("empty") << "" << true << 0;
}

void TestNumbers::textToInt16() {
    QFETCH(QString, text);
    QFETCH(bool, fails);
    QFETCH(int, value);
    if (fails) {
        QVERIFY_THROWS_EXCEPTION(RoutineError, brenvik::textToInt16(text.toStdString()));
        return;
    }
    QCOMPARE(int(brenvik::textToInt16(text.toStdString())), value);
}

void TestNumbers::textToInt32_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<qint64>("value");
    QTest::newRow("beyond 16 bits") << "40000" << false << qint64(40000);
    QTest::newRow("top") << "2147483647" << false << qint64(2147483647);
    QTest::newRow("bottom") << "-2147483648" << false << qint64(-2147483648LL);
    QTest::newRow("4.5 to 4") << "4.5" << false << qint64(4);
    QTest::newRow("one past top") << "2147483648" << true << qint64(0);
    QTest::newRow("not numeric") << "x1" << true << qint64(0);
}

void TestNumbers::textToInt32() {
    QFETCH(QString, text);
    QFETCH(bool, fails);
    QFETCH(qint64, value);
    if (fails) {
        QVERIFY_THROWS_EXCEPTION(RoutineError, brenvik::textToInt32(text.toStdString()));
        return;
    }
    QCOMPARE(qint64(brenvik::textToInt32(text.toStdString())), value);
}

void TestNumbers::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("size field") << "16384 bytes" << 16384.0;
    QTest::newRow("negative size field") << "-512 bytes" << -512.0;
    QTest::newRow("blanks first") << "  7" << 7.0;
    QTest::newRow("plus sign") << "+3 x" << 3.0;
    QTest::newRow("second point stops it") << "1.5.5" << 1.5;
    QTest::newRow("no number") << "bytes" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign only") << "- 5" << 0.0;
}

void TestNumbers::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(brenvik::leadingNumber(text.toStdString()), value);
}

void TestNumbers::intToText_data() {
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("pre-buffer") << qint64(16384) << "16384";
    QTest::newRow("negative") << qint64(-512) << "-512";
    QTest::newRow("no grouping") << qint64(1052672) << "1052672";
}

void TestNumbers::intToText() {
    QFETCH(qint64, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(brenvik::intToText(value)), text);
}

void TestNumbers::shortestGeneralDouble_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("-24") << -24.0 << "-24";
    QTest::newRow("-1.5") << -1.5 << "-1.5";
    QTest::newRow("0.05") << 0.05 << "0.05";
    QTest::newRow("22050 / 1000") << 22050 / 1000.0 << "22.05";
    QTest::newRow("48000 / 1000") << 48000 / 1000.0 << "48";
    QTest::newRow("8000 / 1000") << 8000 / 1000.0 << "8";
    QTest::newRow("11025 / 1000") << 11025 / 1000.0 << "11.025";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    // 15 significant digits: the binary noise of 0.1 + 0.2 does not show.
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("a third") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("tiny") << 0.00001 << "1E-05";
    QTest::newRow("small but plain") << 0.0001 << "0.0001";
    QTest::newRow("large") << 1e15 << "1E+15";
    QTest::newRow("large but plain") << 1e14 << "100000000000000";
}

void TestNumbers::shortestGeneralDouble() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(shortestGeneral(value)), text);
}

void TestNumbers::shortestGeneralFloat_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("127.5") << 127.5f << "127.5";
    // 7 significant digits: the single's 0.100000001 shows as 0.1.
    QTest::newRow("0.1") << 0.1f << "0.1";
    QTest::newRow("-24") << -24.0f << "-24";
}

void TestNumbers::shortestGeneralFloat() {
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(shortestGeneral(value)), text);
}

void TestNumbers::oneDecimal_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("default tempo of 4 s stereo") << 127.5f << "127.5";
    QTest::newRow("zero") << 0.0f << "0.0";
    QTest::newRow("whole") << 240.0f << "240.0";
    QTest::newRow("leading zero") << 0.5f << "0.5";
    QTest::newRow("half up") << 7.25f << "7.3";
    QTest::newRow("half away from zero") << -7.25f << "-7.3";
    QTest::newRow("rounds down") << 7.24f << "7.2";
    QTest::newRow("tiny negative") << -0.04f << "0.0";
}

void TestNumbers::oneDecimal() {
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(brenvik::oneDecimal(value)), text);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
