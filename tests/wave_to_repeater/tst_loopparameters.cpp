// The loop parameters of the ".WAV to Repeater" window's model: tempo, bars and beats, the
// pitch and pan displays. The track rule and the double-click resets are worked through the
// widgets in the window's test.
#include <QTest>

#include <memory>

#include "Wav2RepBench.h"

using namespace brenvik;
using namespace brenvik::test;

class TestLoopParameters : public QObject {
    Q_OBJECT
    std::unique_ptr<Wav2RepBench> m_bench;
    Wav2Rep* w = nullptr;

    QStringList boxes() const {  // Bars, Beats, Division
        QStringList texts;
        for (size_t k = 2; k <= 4; ++k) texts << QString::fromStdString(w->Text1[k].text);
        return texts;
    }

private slots:
    // A tempo table of 40 beats as an accepted wave leaves it: entry i - 1 is 2.5 i (a 16-second
    // loop), the last entry 0; the bar runs from 40 at the top to 0.
    void init() {
        m_bench = std::make_unique<Wav2RepBench>();
        w = &m_bench->window;
        w->maxBeats = 40;
        w->tempoTable.assign(41, 0.0f);
        for (int i = 1; i <= 40; ++i) w->tempoTable[size_t(i - 1)] = 2.5f * static_cast<float>(i);
        w->setTempoMax(0);
        w->setTempoMin(40);
    }

    void tempoChange_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("tempo");
        QTest::addColumn<QString>("bars");
        QTest::addColumn<QList<float>>("choices");
        QTest::newRow("12 beats") << 11 << "30.0" << "12" << QList<float>{12, 6, 4, 3, 0, 2, 0, 0};
        QTest::newRow("top end: no tempo there") << 40 << "0.0" << "41" << QList<float>{41, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("one beat") << 0 << "2.5" << "1" << QList<float>{1, 0, 0, 0, 0, 0, 0, 0};
    }

    // Every new position shows one beat per bar in fourths, whatever the boxes held.
    void tempoChange() {
        QFETCH(int, position);
        QFETCH(QString, tempo);
        QFETCH(QString, bars);
        QFETCH(QList<float>, choices);
        w->setTempoValue(position == 20 ? 21 : 20);
        w->Text1[3].text = "3";
        w->Text1[4].text = "8";
        w->setTempoValue(static_cast<int16_t>(position));
        QCOMPARE(QString::fromStdString(w->Text1[1].text), tempo);
        QCOMPARE(boxes(), (QStringList{bars, "1", "4"}));
        QCOMPARE(QList<float>(w->barChoices.begin(), w->barChoices.end()), choices);
    }

    void scrollBeats_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("shown");  // Bars, Beats, Division
        QTest::newRow("12 beats, 1") << 11 << 1 << QStringList{"6", "2", "4"};
        QTest::newRow("12 beats, 2") << 11 << 2 << QStringList{"4", "3", "4"};
        QTest::newRow("12 beats, 3") << 11 << 3 << QStringList{"3", "4", "4"};
        QTest::newRow("12 beats, 4: eighths") << 11 << 4 << QStringList{"2", "6", "8"};
        QTest::newRow("12 beats, 5: round again") << 11 << 5 << QStringList{"12", "1", "4"};
        QTest::newRow("12 beats, 6") << 11 << 6 << QStringList{"6", "2", "4"};
        QTest::newRow("13 beats (prime), 1") << 12 << 1 << QStringList{"13", "1", "4"};
        QTest::newRow("13 beats (prime), 3") << 12 << 3 << QStringList{"13", "1", "4"};
        QTest::newRow("one beat") << 0 << 1 << QStringList{"1", "1", "4"};
    }

    void scrollBeats() {
        QFETCH(int, position);
        QFETCH(int, clicks);
        QFETCH(QStringList, shown);
        w->setTempoValue(position == 20 ? 21 : 20);  // a real change to the position under test
        w->setTempoValue(static_cast<int16_t>(position));
        const std::string tempo = w->Text1[1].text;
        for (int i = 0; i < clicks; ++i) w->ScrollBeats_Click();
        QCOMPARE(boxes(), shown);
        QCOMPARE(w->Text1[1].text, tempo);  // the tempo box is not touched
    }

    // A tempo change shows one beat per bar but keeps the last choice: the next click goes on
    // from it.
    void scrollCarriesOver() {
        w->setTempoValue(11);
        for (int i = 0; i < 3; ++i) w->ScrollBeats_Click();
        QCOMPARE(m_bench->globals.beatsPerBar, int16_t(4));
        w->setTempoValue(23);
        w->setTempoValue(11);
        QCOMPARE(w->Text1[3].text, std::string("1"));
        w->ScrollBeats_Click();
        QCOMPARE(boxes(), (QStringList{"2", "6", "8"}));
    }

    // Before any tempo change there is nothing to step to: the click changes nothing and returns.
    void scrollWithoutChoices() {
        w->Text1[2].text = "7";
        m_bench->globals.beatsPerBar = 3;
        w->ScrollBeats_Click();
        QCOMPARE(boxes(), (QStringList{"7", "1", "4"}));
        QCOMPARE(m_bench->globals.beatsPerBar, int16_t(3));
    }

    void displays_data() {
        QTest::addColumn<bool>("pan");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("pitch -2400") << false << -2400 << "-24";
        QTest::newRow("pitch -150") << false << -150 << "-1.5";
        QTest::newRow("pitch 5") << false << 5 << "0.05";
        QTest::newRow("pitch 1200") << false << 1200 << "12";
        QTest::newRow("pitch 0") << false << 0 << "0";
        QTest::newRow("pan -35") << true << -35 << "L -35";
        QTest::newRow("pan 35") << true << 35 << "R 35";
        QTest::newRow("pan -100") << true << -100 << "L -100";
        QTest::newRow("pan 100") << true << 100 << "R 100";
        QTest::newRow("pan 0") << true << 0 << "Center";
    }

    // Both channels' displays, each after a real change to the value under test.
    void displays() {
        QFETCH(bool, pan);
        QFETCH(int, value);
        QFETCH(QString, shown);
        using Setter = void (Wav2Rep::*)(int16_t);
        for (Setter set : {pan ? &Wav2Rep::setLeftPan : &Wav2Rep::setLeftPitch,
                           pan ? &Wav2Rep::setRightPan : &Wav2Rep::setRightPitch}) {
            (w->*set)(7);
            (w->*set)(static_cast<int16_t>(value));
        }
        QCOMPARE(QString::fromStdString((pan ? w->LeftPan2 : w->LeftPitch2).text), shown);
        QCOMPARE(QString::fromStdString((pan ? w->RightPan2 : w->RightPitch2).text), shown);
    }

    // A scroll bar holds no Value beyond its ends, and one already at the Value raises nothing.
    void valuesStayInRange() {
        w->setLeftPan(500);
        QCOMPARE(w->LeftPan.value, int16_t(100));
        w->setLeftPitch(-3000);
        QCOMPARE(w->LeftPitch.value, int16_t(-2400));
        w->LeftPan2.text = "untouched";
        w->setLeftPan(100);
        QCOMPARE(w->LeftPan2.text, std::string("untouched"));
        w->setTempoValue(30);
        w->setTempoMin(20);  // a shorter range pulls the Value in and runs the change handling
        QCOMPARE(w->tempoCntrl.value, int16_t(20));
        QCOMPARE(w->Text1[2].text, std::string("21"));
    }
};

QTEST_APPLESS_MAIN(TestLoopParameters)
#include "tst_loopparameters.moc"
