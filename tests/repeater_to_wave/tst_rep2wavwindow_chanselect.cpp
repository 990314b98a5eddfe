// The "Channel Selection" dialog of the Repeater-to-wave window, shown modally for real and
// driven from a zero-delay timer started before its event loop.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ChanSelect.h"
#include "QtPlatform.h"

using namespace brenvik;

namespace {

ChanSelect* shownDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<ChanSelect*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// Runs `user` on the dialog once it is up; `seen` tells whether it was the modal window. A
// dialog the user left open is closed afterwards, so a failing test cannot hang.
std::optional<Channel> showAndDo(std::function<void(ChanSelect&)> user, bool* seen = nullptr) {
    QTimer::singleShot(0, [user, seen] {
        auto* dialog = qobject_cast<ChanSelect*>(QApplication::activeModalWidget());
        if (seen) *seen = dialog != nullptr;
        if (!dialog) dialog = shownDialog();
        if (!dialog) return;
        user(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    return runChanSelect();
}

void click(ChanSelect& dialog, const char* name) {
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    if (button) QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

}  // namespace

class TestChanSelect : public QObject {
    Q_OBJECT
private slots:
    void designState();
    void okTakesTheSelectedChannel_data();
    void okTakesTheSelectedChannel();
    void closeBoxGivesNoChoice();
    void nextShowingStartsWithLeft();
    void platformHookAsksTheDialog();
};

void TestChanSelect::designState() {
    ChanSelect dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("ChanSelect"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Channel Selection"));
    QCOMPARE(dialog.size(), QSize(4815 / 15, 2310 / 15));
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(0x00, 0x40, 0x40));
    QCOMPARE(dialog.font().pointSizeF(), 9.75);

    const auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Load File into ..."));
    QCOMPARE(label->geometry(), QRect(120 / 15, 240 / 15, 2655 / 15, 255 / 15));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));

    const auto* frame = dialog.findChild<QGroupBox*>(QStringLiteral("Frame1"));
    QVERIFY(frame);
    QVERIFY(frame->title().isEmpty());
    QCOMPARE(frame->geometry(), QRect(360 / 15, 600 / 15, 3975 / 15, 975 / 15));

    const auto* left = dialog.findChild<QRadioButton*>(QStringLiteral("Option1"));
    const auto* right = dialog.findChild<QRadioButton*>(QStringLiteral("Option2"));
    QVERIFY(left && right);
    QCOMPARE(left->parentWidget(), frame);
    QCOMPARE(right->parentWidget(), frame);
    QCOMPARE(left->text(), QStringLiteral("Left Channel"));
    QCOMPARE(right->text(), QStringLiteral("Right Channel"));
    QVERIFY(left->isChecked());
    QVERIFY(!right->isChecked());
    QCOMPARE(right->geometry(), QRect(240 / 15, 600 / 15, 2535 / 15, 255 / 15));
    QCOMPARE(right->palette().color(QPalette::WindowText), QColor(Qt::white));
    // The selected option's dot must stand out from its round indicator.
    QVERIFY(left->palette().color(QPalette::Text) != left->palette().color(QPalette::Base));

    const auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), QRect(3120 / 15, 1800 / 15, 1335 / 15, 375 / 15));
    QCOMPARE(ok->palette().color(QPalette::Button), QColor(0x00, 0x80, 0x00));
    QVERIFY(!dialog.choice());
}

void TestChanSelect::okTakesTheSelectedChannel_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("channel");
    QTest::newRow("left as it opens") << QString() << int(Channel::Left);
    QTest::newRow("left clicked") << "Option1" << int(Channel::Left);
    QTest::newRow("right clicked") << "Option2" << int(Channel::Right);
}

void TestChanSelect::okTakesTheSelectedChannel() {
    QFETCH(QString, option);
    QFETCH(int, channel);
    bool seen = false;
    const std::optional<Channel> choice = showAndDo(
        [option](ChanSelect& dialog) {
            if (!option.isEmpty()) click(dialog, qPrintable(option));
            click(dialog, "Command1");
        },
        &seen);
    QVERIFY(seen);
    QCOMPARE(choice, std::optional<Channel>(Channel(channel)));
}

void TestChanSelect::closeBoxGivesNoChoice() {
    bool seen = false;
    const std::optional<Channel> choice = showAndDo(
        [](ChanSelect& dialog) {
            click(dialog, "Option2");
            dialog.close();
        },
        &seen);
    QVERIFY(seen);
    QVERIFY(!choice);
}

void TestChanSelect::nextShowingStartsWithLeft() {
    QCOMPARE(showAndDo([](ChanSelect& dialog) {
                 click(dialog, "Option2");
                 click(dialog, "Command1");
             }),
             std::optional<Channel>(Channel::Right));
    bool leftSelected = false;
    QCOMPARE(showAndDo([&leftSelected](ChanSelect& dialog) {
                 leftSelected = dialog.findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked();
                 click(dialog, "Command1");
             }),
             std::optional<Channel>(Channel::Left));
    QVERIFY(leftSelected);
}

void TestChanSelect::platformHookAsksTheDialog() {
    QtPlatform platform;
    QVERIFY(!platform.chooseChannel());  // nothing plugged in: no choice
    platform.chooseChannelHook = [] {
        return showAndDo([](ChanSelect& dialog) {
            click(dialog, "Option2");
            click(dialog, "Command1");
        });
    };
    QCOMPARE(platform.chooseChannel(), std::optional<Channel>(Channel::Right));
}

QTEST_MAIN(TestChanSelect)
#include "tst_rep2wavwindow_chanselect.moc"
