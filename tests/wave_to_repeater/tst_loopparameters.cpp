#include <QTest>

#include <memory>

#include "Wav2RepBench.h"

using namespace brenvik;
using namespace brenvik::test;

class TestLoopParameters : public QObject {
    Q_OBJECT
private slots:
    void init();
    void tempoChange();
    void topEnd();
    void scrollBeats12_data();
    void scrollBeats12();
    void scrollCarriesOver();
    void primeBeats();
    void oneBeat();
    void scrollWithoutChoices();
    void pitchDisplay_data();
    void pitchDisplay();
    void panDisplay_data();
    void panDisplay();
    void trackRule();
    void doubleClickResets();
    void valuesStayInRange();

private:
    std::unique_ptr<Wav2RepBench> m_bench;
    Wav2Rep* w = nullptr;
};

// A tempo table of 40 beats as an accepted wave leaves it: entry i - 1 is 2.5 i (a 16-second
// loop), the last entry 0; the bar runs from 40 at the top to 0.
void TestLoopParameters::init() {
    m_bench = std::make_unique<Wav2RepBench>();
    w = &m_bench->window;
    w->maxBeats = 40;
    w->tempoTable.assign(41, 0.0f);
    for (int i = 1; i <= 40; ++i) w->tempoTable[static_cast<size_t>(i - 1)] = 2.5f * static_cast<float>(i);
    w->setTempoMax(0);
    w->setTempoMin(40);
}

void TestLoopParameters::tempoChange() {
    w->Text1[3].text = "3";
    w->Text1[4].text = "8";
    w->setTempoValue(11);
    QCOMPARE(w->Text1[1].text, std::string("30.0"));  // entry 11: 12 beats
    QCOMPARE(w->Text1[2].text, std::string("12"));
    QCOMPARE(w->Text1[3].text, std::string("1"));
    QCOMPARE(w->Text1[4].text, std::string("4"));
    const std::array<float, 8> expected{12, 6, 4, 3, 0, 2, 0, 0};
    QCOMPARE(w->barChoices, expected);
}

void TestLoopParameters::topEnd() {
    w->setTempoValue(40);
    QCOMPARE(w->Text1[1].text, std::string("0.0"));
    QCOMPARE(w->Text1[2].text, std::string("41"));
}

void TestLoopParameters::scrollBeats12_data() {
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("bars");
    QTest::addColumn<QString>("beats");
    QTest::addColumn<QString>("division");
    QTest::newRow("1") << 1 << "6" << "2" << "4";
    QTest::newRow("2") << 2 << "4" << "3" << "4";
    QTest::newRow("3") << 3 << "3" << "4" << "4";
    QTest::newRow("4") << 4 << "2" << "6" << "8";
    QTest::newRow("5") << 5 << "12" << "1" << "4";
    QTest::newRow("6") << 6 << "6" << "2" << "4";
}

void TestLoopParameters::scrollBeats12() {
    QFETCH(int, clicks);
    QFETCH(QString, bars);
    QFETCH(QString, beats);
    QFETCH(QString, division);
    w->setTempoValue(11);
    for (int i = 0; i < clicks; ++i) w->ScrollBeats_Click();
    QCOMPARE(QString::fromStdString(w->Text1[2].text), bars);
    QCOMPARE(QString::fromStdString(w->Text1[3].text), beats);
    QCOMPARE(QString::fromStdString(w->Text1[4].text), division);
    QCOMPARE(w->Text1[1].text, std::string("30.0"));  // the tempo box is not touched
}

// A tempo change shows one beat per bar but keeps the last choice: the next click goes on from it.
void TestLoopParameters::scrollCarriesOver() {
    w->setTempoValue(11);
    for (int i = 0; i < 3; ++i) w->ScrollBeats_Click();
    QCOMPARE(m_bench->globals.beatsPerBar, int16_t(4));
    w->setTempoValue(23);
    w->setTempoValue(11);
    QCOMPARE(w->Text1[3].text, std::string("1"));
    w->ScrollBeats_Click();
    QCOMPARE(w->Text1[2].text, std::string("2"));
    QCOMPARE(w->Text1[3].text, std::string("6"));
    QCOMPARE(w->Text1[4].text, std::string("8"));
}

void TestLoopParameters::primeBeats() {
    w->setTempoValue(12);
    for (int i = 0; i < 3; ++i) {
        w->ScrollBeats_Click();
        QCOMPARE(w->Text1[2].text, std::string("13"));
        QCOMPARE(w->Text1[3].text, std::string("1"));
        QCOMPARE(w->Text1[4].text, std::string("4"));
    }
}

void TestLoopParameters::oneBeat() {
    w->setTempoValue(5);
    w->setTempoValue(0);
    w->ScrollBeats_Click();
    QCOMPARE(w->Text1[2].text, std::string("1"));
    QCOMPARE(w->Text1[3].text, std::string("1"));
    QCOMPARE(w->Text1[4].text, std::string("4"));
}

// Before any tempo change there is nothing to step to: the click changes nothing and returns.
void TestLoopParameters::scrollWithoutChoices() {
    w->Text1[2].text = "7";
    m_bench->globals.beatsPerBar = 3;
    w->ScrollBeats_Click();
    QCOMPARE(w->Text1[2].text, std::string("7"));
    QCOMPARE(w->Text1[3].text, std::string("1"));
    QCOMPARE(m_bench->globals.beatsPerBar, int16_t(3));
}

void TestLoopParameters::pitchDisplay_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("-2400") << -2400 << "-24";
    QTest::newRow("-150") << -150 << "-1.5";
    QTest::newRow("5") << 5 << "0.05";
    QTest::newRow("1200") << 1200 << "12";
    QTest::newRow("0") << 0 << "0";
}

void TestLoopParameters::pitchDisplay() {
    QFETCH(int, value);
    QFETCH(QString, shown);
    w->setLeftPitch(77);  // a real change to the value under test follows
    w->setRightPitch(77);
    w->setLeftPitch(static_cast<int16_t>(value));
    w->setRightPitch(static_cast<int16_t>(value));
    QCOMPARE(QString::fromStdString(w->LeftPitch2.text), shown);
    QCOMPARE(QString::fromStdString(w->RightPitch2.text), shown);
}

void TestLoopParameters::panDisplay_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("-35") << -35 << "L -35";
    QTest::newRow("35") << 35 << "R 35";
    QTest::newRow("-100") << -100 << "L -100";
    QTest::newRow("100") << 100 << "R 100";
    QTest::newRow("0") << 0 << "Center";
}

void TestLoopParameters::panDisplay() {
    QFETCH(int, value);
    QFETCH(QString, shown);
    w->setLeftPan(7);
    w->setRightPan(7);
    w->setLeftPan(static_cast<int16_t>(value));
    w->setRightPan(static_cast<int16_t>(value));
    QCOMPARE(QString::fromStdString(w->LeftPan2.text), shown);
    QCOMPARE(QString::fromStdString(w->RightPan2.text), shown);
}

// The track one channel holds is closed to the other channel.
void TestLoopParameters::trackRule() {
    auto enabled = [this](int first) {
        std::string states;
        for (int k = first; k < first + 4; ++k) states += w->Option[k].enabled ? '1' : '0';
        return states;
    };
    w->selectOption(3);
    QCOMPARE(enabled(5), std::string("1101"));
    QVERIFY(w->Option[3].selected && !w->Option[1].selected);
    w->selectOption(2);
    QCOMPARE(enabled(5), std::string("1011"));
    w->selectOption(8);
    QCOMPARE(enabled(1), std::string("1110"));
    QVERIFY(w->Option[8].selected && !w->Option[6].selected);
    QCOMPARE(w->leftTrack(), 2);
    QCOMPARE(w->rightTrack(), 4);
}

void TestLoopParameters::doubleClickResets() {
    w->setLeftPan(-40);
    w->setLeftPitch(300);
    w->setRightPan(20);
    w->setRightPitch(-5);
    w->l2_DblClick();
    w->l3_DblClick();
    w->r2_DblClick();
    w->r3_DblClick();
    QCOMPARE(w->LeftPan.value, int16_t(0));
    QCOMPARE(w->LeftPan2.text, std::string("Center"));
    QCOMPARE(w->LeftPitch2.text, std::string("0"));
    QCOMPARE(w->RightPan2.text, std::string("Center"));
    QCOMPARE(w->RightPitch.value, int16_t(0));
    QCOMPARE(w->RightPitch2.text, std::string("0"));
}

// A scroll bar holds no Value beyond its ends, and one already at the Value raises nothing.
void TestLoopParameters::valuesStayInRange() {
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

QTEST_APPLESS_MAIN(TestLoopParameters)
#include "tst_loopparameters.moc"
