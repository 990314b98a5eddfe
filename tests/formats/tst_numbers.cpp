#include <QTest>

#include <optional>
#include <string>

#include "Numbers.h"
#include "RoutineError.h"

using namespace brenvik;

// Texts typed by the user and the program's own number texts.
class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    // parse: parseNumber and isNumeric; int16: textToInt16, which fails with a RoutineError.
    void fromText_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        auto ok = [](const char* function, std::initializer_list<std::pair<const char*, double>> rows) {
            for (auto [text, value] : rows)
                QTest::addRow("%s \"%s\"", function, text) << function << text << true << value;
        };
        auto fails = [](const char* function, std::initializer_list<const char*> texts) {
            for (const char* text : texts)
                QTest::addRow("%s \"%s\"", function, text) << function << text << false << 0.0;
        };
        // &H texts that fit 16 bits are 16-bit two's complement.
        ok("parse", {{"7", 7}, {"007", 7}, {"2.5", 2.5}, {"  12 ", 12}, {"-3", -3}, {"+4", 4}, {"1,000", 1000},
                     {"1e3", 1000}, {".5", 0.5}, {"&HFF", 255}, {"&HFFFF", -1}, {"&O17", 15}});
        fails("parse", {"abc", "", "   ", "12abc", "1e", "-", ".", "&H", "&HG", "1e999"});
        // Halves go to the even neighbour: -32768.5 to -32768, 32767.5 out of range.
        ok("int16", {{"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"0.5", 0}, {"2.6", 3}, {"007", 7},
                     {"32767", 32767}, {"-32768", -32768}, {"-32768.5", -32768}});
        fails("int16", {"32767.5", "32768", "-32769", "abc", ""});
        // &H texts beyond 16 bits are 32-bit: &H10000 is 65536, too large for a loop number.
        ok("parse", {{"&H10000", 65536}, {"&HFFFFFFFF", -1}});
        fails("int16", {"&H10000"});
    }

    void fromText() {
        QFETCH(QString, function);
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        const std::string t = text.toStdString();
        std::optional<double> got;
        try {
            if (function == "parse") {
                got = parseNumber(t);
                QCOMPARE(isNumeric(t), numeric);
            } else {
                got = textToInt16(t);
            }
        } catch (const RoutineError&) {
            QVERIFY(function.startsWith("int"));
        }
        QCOMPARE(got.has_value(), numeric);
        if (numeric) {  // exactly, not within QCOMPARE's tolerance for doubles
            const QString shown = QString("%1 instead of %2").arg(*got, 0, 'g', 17).arg(value, 0, 'g', 17);
            QVERIFY2(*got == value, qPrintable(shown));
        }
    }

    // int: intToText; general: shortestGeneral; oneDecimal.
    void toText_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        auto rows = [](const char* function, std::initializer_list<std::pair<double, const char*>> pairs) {
            for (auto [value, text] : pairs)
                QTest::addRow("%s %g", function, value) << function << value << text;
        };
        rows("int", {{0, "0"}, {16384, "16384"}, {-512, "-512"}, {1052672, "1052672"}});  // no grouping
        // 15 significant digits: the binary noise of 0.1 + 0.2 does not show.
        rows("general", {{-24, "-24"}, {-1.5, "-1.5"}, {0.05, "0.05"}, {22050 / 1000.0, "22.05"},
                         {48000 / 1000.0, "48"}, {8000 / 1000.0, "8"}, {11025 / 1000.0, "11.025"}, {0.0, "0"},
                         {-0.0, "0"}, {0.1 + 0.2, "0.3"}, {1.0 / 3.0, "0.333333333333333"}, {0.00001, "1E-05"},
                         {0.0001, "0.0001"}, {1e15, "1E+15"}, {1e14, "100000000000000"}});
        // One decimal, halves away from zero.
        rows("oneDecimal", {{127.5, "127.5"}, {0, "0.0"}, {240, "240.0"}, {0.5, "0.5"}, {7.25, "7.3"},
                            {-7.25, "-7.3"}, {double(7.24f), "7.2"}, {double(-0.04f), "0.0"}});
    }

    void toText() {
        QFETCH(QString, function);
        QFETCH(double, value);
        QFETCH(QString, text);
        std::string got;
        if (function == "int")
            got = intToText(static_cast<long long>(value));
        else if (function == "general")
            got = shortestGeneral(value);
        else
            got = oneDecimal(static_cast<float>(value));
        QCOMPARE(QString::fromStdString(got), text);
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
