// The About box: fixed texts and look, the etched rule, OK, Enter and Esc.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "frmAbout.h"

using namespace brenvik;

class TestFrmAbout : public QObject {
    Q_OBJECT
private slots:
    void fixedTextsAndLook() {
        frmAbout about;
        QCOMPARE(about.windowTitle(), QString("About Brenvik"));
        QCOMPARE((QStringList{about.Label3->text(), about.lblVersion->text(), about.lblDescription->text(),
                              about.cmdOK->text()}),
                 (QStringList{"Brenvik", "Version 1.0", "Electrix Repeater .Wav File Utility", "OK"}));
        // Twips over 15: 8040 x 4665 client, OK at 6240, 3960, 1500, 585.
        QCOMPARE(about.size(), QSize(536, 311));
        QCOMPARE(about.cmdOK->geometry(), QRect(416, 264, 100, 39));
        QCOMPARE(about.Picture1->pixmap().size(), QSize(186, 153));
        QCOMPARE(about.palette().color(QPalette::Window), QColor(0x00, 0x40, 0x40));
        QVERIFY(about.cmdOK->isDefault());
        // The rule: grey line at 2445 twips, white one of two pixels at 2460, on the teal ground.
        const QImage image = about.grab().toImage();
        QCOMPARE(image.pixelColor(100, 163), QColor(0x80, 0x80, 0x80));
        QCOMPARE(image.pixelColor(100, 164), QColor(Qt::white));
        QCOMPARE(image.pixelColor(100, 165), QColor(Qt::white));
        QCOMPARE(image.pixelColor(100, 167), QColor(0x00, 0x40, 0x40));
    }

    void closingDiscardsTheBox_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("enter") << int(Qt::Key_Return);
        QTest::newRow("escape") << int(Qt::Key_Escape);
        QTest::newRow("ok button") << 0;
    }
    void closingDiscardsTheBox() {
        QFETCH(int, key);
        QPointer<frmAbout> about = new frmAbout;
        about->show();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        if (key == 0)
            about->cmdOK->click();
        else
            QTest::keyClick(about, Qt::Key(key));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about.isNull());
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
