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

template <typename T>
const T* child(const ChanSelect& dialog, const char* name) {
    const T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no %s", name);
    return found;
}

void click(ChanSelect& dialog, const char* name) {
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    if (button) QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

}  // namespace

class TestChanSelect : public QObject {
    Q_OBJECT
private slots:
    void designState() {
        ChanSelect dialog;
        QCOMPARE((QStringList{dialog.objectName(), dialog.windowTitle()}), (QStringList{"ChanSelect", "Channel Selection"}));
        QCOMPARE(dialog.size(), QSize(4815 / 15, 2310 / 15));
        QCOMPARE(dialog.palette().color(QPalette::Window), QColor(0x00, 0x40, 0x40));
        QCOMPARE(dialog.font().pointSizeF(), 9.75);
        const auto* label = child<QLabel>(dialog, "Label1");
        const auto* frame = child<QGroupBox>(dialog, "Frame1");
        const auto* left = child<QRadioButton>(dialog, "Option1");
        const auto* right = child<QRadioButton>(dialog, "Option2");
        const auto* ok = child<QPushButton>(dialog, "Command1");
        QCOMPARE((QStringList{label->text(), frame->title(), left->text(), right->text(), ok->text()}),
                 (QStringList{"Load File into ...", "", "Left Channel", "Right Channel", "OK"}));
        QCOMPARE((QList<QRect>{label->geometry(), frame->geometry(), right->geometry(), ok->geometry()}),
                 (QList<QRect>{QRect(120 / 15, 240 / 15, 2655 / 15, 255 / 15), QRect(360 / 15, 600 / 15, 3975 / 15, 975 / 15),
                               QRect(240 / 15, 600 / 15, 2535 / 15, 255 / 15),
                               QRect(3120 / 15, 1800 / 15, 1335 / 15, 375 / 15)}));
        QVERIFY(left->parentWidget() == frame && right->parentWidget() == frame);
        QVERIFY(left->isChecked() && !right->isChecked());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(right->palette().color(QPalette::WindowText), QColor(Qt::white));
        // The selected option's dot must stand out from its round indicator.
        QVERIFY(left->palette().color(QPalette::Text) != left->palette().color(QPalette::Base));
        QCOMPARE(ok->palette().color(QPalette::Button), QColor(0x00, 0x80, 0x00));
        QVERIFY(!dialog.choice());
    }

    void choice_data() {
        QTest::addColumn<QString>("option");  // clicked before closing; none: as the dialog opens
        QTest::addColumn<bool>("ok");         // closed with OK, else with its close box
        QTest::addColumn<int>("channel");     // -1: no choice
        QTest::newRow("OK, left as it opens") << QString() << true << int(Channel::Left);
        QTest::newRow("OK, left clicked") << "Option1" << true << int(Channel::Left);
        QTest::newRow("OK, right clicked") << "Option2" << true << int(Channel::Right);
        QTest::newRow("close box, right clicked") << "Option2" << false << -1;
    }

    void choice() {
        QFETCH(QString, option);
        QFETCH(bool, ok);
        QFETCH(int, channel);
        bool seen = false;
        const std::optional<Channel> choice = showAndDo(
            [option, ok](ChanSelect& dialog) {
                if (!option.isEmpty()) click(dialog, qPrintable(option));
                if (ok)
                    click(dialog, "Command1");
                else
                    dialog.close();
            },
            &seen);
        QVERIFY(seen);
        QCOMPARE(choice, channel < 0 ? std::nullopt : std::optional<Channel>(Channel(channel)));
    }

    void nextShowingStartsWithLeft() {
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
};

QTEST_MAIN(TestChanSelect)
#include "tst_rep2wavwindow_chanselect.moc"
