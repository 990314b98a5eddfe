#include "AboutDialog.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "BrenvikArt.h"
#include "QtFocusRing.h"
#include "QtFormLook.h"

namespace brenvik {
namespace {

QLabel* makeLabel(QWidget* owner, const char* name, const char* text, const QFont& font) {
    auto* label = new QLabel(QString::fromLatin1(text), owner);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    paintText(label, systemWindowColour());
    return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Brenvik"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsSize(8040, 4665));
    paintBackground(this, bgrColor(0x00404000));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("pictureLabel"));
    picture->setPixmap(aboutPicture());
    // A picture box shows its picture from the top-left corner and clips what does not fit.
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeTwips(picture, 120, 240, 2655, 2175);
    placeTwips(makeLabel(this, "titleLabel", "Brenvik", sansFont(13.5, true)), 2880, 240, 4815,
               375);
    placeTwips(makeLabel(this, "versionLabel", "Version 1.0", sansFont(8.25)), 2850, 1200, 3885,
               225);
    placeTwips(makeLabel(this, "descriptionLabel", "Electrix Repeater .Wav File Utility",
                         sansFont(9.75, true)),
               2850, 1560, 4725, 330);

    // Both the default button (Enter) and, as the dialog's reject, the cancel button (Esc).
    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    placeTwips(okButton, 6240, 3960, 1500, 585);
    okButton->setDefault(true);
    okButton->setFocus();
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    showFocusRing(this);

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void AboutDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    // The etched rule: a grey line with a white one of 2 pixels just below it.
    const int greyLeft = twipsToPixels(90);
    const int whiteLeft = twipsToPixels(105);
    const int right = twipsToPixels(5654);
    painter.fillRect(QRect(greyLeft, twipsToPixels(2445), right - greyLeft + 1, 1),
                     bgrColor(0x00808080));
    painter.fillRect(QRect(whiteLeft, twipsToPixels(2460), right - whiteLeft + 1, 2), Qt::white);
}

}  // namespace brenvik
