#include "frmAbout.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "BrenvikArt.h"
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

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent),
      Picture1(new QLabel(this)),
      Label3(makeLabel(this, "Label3", "Brenvik", sansFont(13.5, true))),
      lblVersion(makeLabel(this, "lblVersion", "Version 1.0", sansFont(8.25))),
      lblDescription(makeLabel(this, "lblDescription", "Electrix Repeater .Wav File Utility",
                               sansFont(9.75, true))),
      cmdOK(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Brenvik"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsSize(8040, 4665));
    paintBackground(this, bgrColor(0x00404000));

    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(aboutPicture());
    // A picture box shows its picture from the top-left corner and clips what does not fit.
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeTwips(Picture1, 120, 240, 2655, 2175);
    placeTwips(Label3, 2880, 240, 4815, 375);
    placeTwips(lblVersion, 2850, 1200, 3885, 225);
    placeTwips(lblDescription, 2850, 1560, 4725, 330);

    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    placeTwips(cmdOK, 6240, 3960, 1500, 585);
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

// Closing discards the box (it deletes itself on close).
void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::paintEvent(QPaintEvent* event) {
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
